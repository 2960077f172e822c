#include "Mp3FileCheck.h"
#include <windows.h>
#include <cstdio>
#include <cstring>

namespace testsignal {

bool ReadMp3Frames(const std::wstring& path, Mp3FileInfo& info)
{
    info = Mp3FileInfo();
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return false;
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    info.fileSize = bytes.size();
    info.startsWithId3 = bytes.size() >= 3 && memcmp(bytes.data(), "ID3", 3) == 0;
    info.endsWithId3v1 = bytes.size() >= 128 && memcmp(bytes.data() + bytes.size() - 128, "TAG", 3) == 0;
    size_t at = 0;
    Mp3Frame frame;
    while (ParseMpegFrameHeader(bytes.data() + at, bytes.size() - at, frame.header) &&
           at + frame.header.frameBytes <= bytes.size()) {
        frame.offset = at;
        frame.mainDataBegin = MpegMainDataBegin(bytes.data() + at, bytes.size() - at, frame.header);
        if (info.frames.empty()) {
            size_t tag = at + 4 + (frame.header.crc ? 2 : 0) + frame.header.SideInfoBytes();
            info.firstFrameIsInfo = tag + 4 <= bytes.size() &&
                                    (memcmp(&bytes[tag], "Xing", 4) == 0 || memcmp(&bytes[tag], "Info", 4) == 0);
        }
        info.frames.push_back(frame);
        at += frame.header.frameBytes;
    }
    info.framedBytes = at;
    return true;
}

std::wstring FixtureFolder()
{
    wchar_t unixPath[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"SONELLE_FIXTURES", unixPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return L"";
    std::wstring path = L"Z:";
    for (DWORD i = 0; i < n; ++i) path += unixPath[i] == L'/' ? L'\\' : unixPath[i];
    if (path.back() != L'\\') path += L'\\';
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

void AddOracleCheck(const std::wstring& name, const std::string& checks)
{
    std::wstring folder = FixtureFolder();
    if (folder.empty()) return;
    FILE* f = _wfopen((folder + L"oracle-checks.txt").c_str(), L"ab");
    if (!f) return;
    char narrow[MAX_PATH];
    WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    fprintf(f, "%s|%s\n", narrow, checks.c_str());
    fclose(f);
}

} // namespace testsignal
