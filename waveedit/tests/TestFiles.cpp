#include "TestFiles.h"

#include "ByteFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstring>

void PutU16(Bytes& b, uint16_t v) { b.push_back((uint8_t)v); b.push_back((uint8_t)(v >> 8)); }
void PutU32(Bytes& b, uint32_t v) { PutU16(b, (uint16_t)v); PutU16(b, (uint16_t)(v >> 16)); }
void PutId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

void PutChunk(Bytes& b, const char* id, const Bytes& data, bool pad)
{
    PutId(b, id);
    PutU32(b, (uint32_t)data.size());
    b.insert(b.end(), data.begin(), data.end());
    if (pad && (data.size() & 1))
        b.push_back(0);
}

Bytes FmtChunkData(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t extraBytes)
{
    Bytes f;
    PutU16(f, tag);
    PutU16(f, channels);
    PutU32(f, rate);
    PutU32(f, rate * channels * (bits / 8));
    PutU16(f, (uint16_t)(channels * (bits / 8)));
    PutU16(f, bits);
    if (extraBytes >= 2) {
        PutU16(f, (uint16_t)(extraBytes - 2));
        f.resize(f.size() + extraBytes - 2, 0);
    }
    return f;
}

Bytes RiffWave(const Bytes& chunks)
{
    Bytes b;
    PutId(b, "RIFF");
    PutU32(b, (uint32_t)(chunks.size() + 4));
    PutId(b, "WAVE");
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

Bytes PlainWav(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples)
{
    Bytes c;
    PutChunk(c, "fmt ", FmtChunkData(1, channels, rate, bits));
    PutChunk(c, "data", samples);
    return RiffWave(c);
}

Bytes Samples16(const std::vector<int16_t>& v)
{
    Bytes b(v.size() * 2);
    memcpy(b.data(), v.data(), b.size());
    return b;
}

std::wstring TempPath(const std::wstring& name)
{
    static std::wstring folder = [] {
#ifdef _WIN32
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        std::wstring f = std::wstring(tmp) + L"waveedit_tests_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(f.c_str(), nullptr);
#else
        // Native builds (sanitizers): the same files under /tmp.
        std::wstring f = L"/tmp/waveedit_tests_" + std::to_wstring(getpid()) + L"/";
        mkdir(NarrowPath(f).c_str(), 0700);
#endif
        return f;
    }();
    return folder + name;
}

void WriteBytes(const std::wstring& path, const Bytes& b)
{
    auto f = OpenByteFile(path, FileMode::CreateExclusive);
    if (f && !b.empty())
        f->Write(b.data(), b.size());
}

Bytes ReadBytes(const std::wstring& path)
{
    Bytes b;
    auto f = OpenByteFile(path, FileMode::ReadShared);
    if (!f)
        return b;
    b.resize((size_t)f->Length());
    b.resize(f->Read(b.data(), b.size()));
    return b;
}

uint32_t GetU32At(const Bytes& b, size_t o)
{
    return b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | ((uint32_t)b[o + 3] << 24);
}
