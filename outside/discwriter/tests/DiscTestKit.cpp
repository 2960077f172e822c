#include "DiscTestKit.h"
#include "../VirtualWriter.h"

#include <shellapi.h>
#include <cmath>
#include <cstdio>

namespace disctest {

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

namespace {

std::wstring Variable(const wchar_t* name, bool* set)
{
    wchar_t value[MAX_PATH * 2] = L"";
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    *set = length > 0 && length < MAX_PATH * 2;
    return *set ? value : L"";
}

// One file per test process, in the sandbox's temporary folder: programs that run
// side by side (ctest -j, the picture scripts) share the libraries' folder.
std::wstring ProcessWriterIni()
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"DiscWriter-" + std::to_wstring(GetCurrentProcessId()) + L".ini";
}

}  // namespace

CWriterIni::CWriterIni() : m_path(ProcessWriterIni())
{
    m_previous = Variable(WriterIniVariable, &m_hadPrevious);
    SetEnvironmentVariableW(WriterIniVariable, m_path.c_str());
    DeleteFileW(m_path.c_str());
}

CWriterIni::~CWriterIni()
{
    DeleteFileW(m_path.c_str());
    // Programs the tests start later find their own file beside their libraries.
    SetEnvironmentVariableW(WriterIniVariable, m_hadPrevious ? m_previous.c_str() : nullptr);
}

void CWriterIni::AddWriter(const std::vector<std::wstring>& lines)
{
    const std::wstring section = L"Writer" + std::to_wstring(++m_count);
    for (const std::wstring& line : lines) {
        const size_t eq = line.find(L'=');
        WritePrivateProfileStringW(section.c_str(), line.substr(0, eq).c_str(), line.substr(eq + 1).c_str(),
                                   m_path.c_str());
    }
    if (lines.empty()) WritePrivateProfileStringW(section.c_str(), L"Name", L"", m_path.c_str());
}

void CWriterIni::WriteEmpty() { WriteBytes(m_path, {'\r', '\n'}); }

std::wstring CWriterIni::Value(int writer, const wchar_t* key) const
{
    wchar_t buffer[1024] = L"";
    GetPrivateProfileStringW((L"Writer" + std::to_wstring(writer)).c_str(), key, L"", buffer, 1024, m_path.c_str());
    return buffer;
}

std::wstring FreshFolder(const std::wstring& name)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name;
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr) &&
                                      done == bytes.size());
    CloseHandle(file);
    return ok;
}

std::vector<unsigned char> ReadBytes(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    bytes.resize(size_t(size.QuadPart));
    DWORD done = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    bytes.resize(done);
    CloseHandle(file);
    return bytes;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

static void Put16(std::vector<unsigned char>& v, unsigned x) { v.push_back(x & 255); v.push_back((x >> 8) & 255); }
static void Put32(std::vector<unsigned char>& v, unsigned x) { Put16(v, x & 0xFFFF); Put16(v, x >> 16); }

std::vector<unsigned char> MakeWav(double seconds, int rate, int channels, int bits, int seed)
{
    const unsigned frames = unsigned(seconds * rate + 0.5);
    const unsigned block = unsigned(channels * bits / 8);
    std::vector<unsigned char> v;
    for (char c : std::string("RIFF")) v.push_back(c);
    Put32(v, 36 + frames * block);
    for (char c : std::string("WAVEfmt ")) v.push_back(c);
    Put32(v, 16);
    Put16(v, 1);
    Put16(v, channels);
    Put32(v, rate);
    Put32(v, rate * block);
    Put16(v, block);
    Put16(v, bits);
    for (char c : std::string("data")) v.push_back(c);
    Put32(v, frames * block);
    for (unsigned i = 0; i < frames; ++i) {
        for (int ch = 0; ch < channels; ++ch) {
            // Never an exact zero, so padding is told apart from sound.
            const double s = 0.4 * sin(2 * 3.14159265 * (220.0 * seed + 110 * ch) * i / rate);
            if (bits == 16) {
                int x = int(s * 32767);
                if (x == 0) x = 1;
                Put16(v, unsigned(x) & 0xFFFF);
            } else {
                v.push_back((unsigned char)(128 + int(s * 127) + (s == 0 ? 1 : 0)));
            }
        }
    }
    return v;
}

void CBurnWaiter::Callback(int status, void* context)
{
    CBurnWaiter* self = static_cast<CBurnWaiter*>(context);
    // Taken only after the start call let go of it; a call from inside the start
    // call on its own thread is let through and recorded.
    bool early = false;
    if (self->m_startLock.try_lock_for(std::chrono::seconds(10))) {
        early = self->m_inStart;
        self->m_startLock.unlock();
    } else {
        early = true;
    }
    std::lock_guard<std::mutex> lock(self->m_lock);
    self->m_duringStart = self->m_duringStart || early;
    ++self->m_calls;
    self->m_status = status;
    self->m_thread = GetCurrentThreadId();
    self->m_done.notify_all();
}

bool CBurnWaiter::WaitDone(DWORD ms)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_done.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_calls > 0; });
}

}  // namespace disctest
