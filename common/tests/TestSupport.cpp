#include "TestSupport.h"
#include "File.h"
#include <shlobj.h>

std::string ReadFileBytes(const std::wstring& path)
{
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone)) return std::string();
    std::string out;
    char buf[65536];
    while (UINT got = file.Read(buf, sizeof(buf))) out.append(buf, got);
    return out;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    CFile file;
    return file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite) &&
           file.Write(bytes.data(), (UINT)bytes.size());
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ProgramFolder()
{
    wchar_t buf[MAX_PATH];
    GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring s(buf);
    return s.substr(0, s.rfind(L'\\') + 1);
}

std::wstring DocumentsFolder()
{
    wchar_t buf[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, buf, CSIDL_PERSONAL, FALSE);
    return buf;
}

std::wstring MakeTempFolder(const wchar_t* tag)
{
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring folder = std::wstring(tmp) + L"SonelleTest_" + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    DeleteTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void DeleteTree(const std::wstring& folder)
{
    // By hand rather than through the shell: paths here may pass MAX_PATH.
    std::wstring base = folder;
    while (!base.empty() && base.back() == L'\\') base.pop_back();
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = base + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteTree(path);
            else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(base.c_str());
}

namespace {
bool StartProgram(const std::wstring& exe, const std::wstring& args, DWORD flags, PROCESS_INFORMATION& pi)
{
    // A bare name is a program of the test folder; a full path is used as it is.
    std::wstring path = exe.size() > 1 && exe[1] == L':' ? exe : ProgramFolder() + exe;
    std::wstring cmd = L"\"" + path + L"\"";
    if (!args.empty()) cmd += L" " + args;
    STARTUPINFOW si = {sizeof(si)};
    return CreateProcessW(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi) != 0;
}
} // namespace

int RunProgram(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs)
{
    PROCESS_INFORMATION pi = {};
    if (!StartProgram(exe, args, 0, pi)) return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    else TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return (int)code;
}

std::vector<std::string> RunProgramCollectDebugStrings(const std::wstring& exe, const std::wstring& args)
{
    std::vector<std::string> strings;
    PROCESS_INFORMATION pi = {};
    if (!StartProgram(exe, args, DEBUG_ONLY_THIS_PROCESS, pi)) return strings;
    DEBUG_EVENT ev;
    // A busy machine may take seconds between two events: wait until the process
    // has ended or the deadline has passed, not only until one wait times out.
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 60000) {
        if (!WaitForDebugEvent(&ev, 500)) continue;
        DWORD status = DBG_CONTINUE;
        if (ev.dwDebugEventCode == OUTPUT_DEBUG_STRING_EVENT) {
            const auto& info = ev.u.DebugString;
            std::vector<char> buf((size_t)info.nDebugStringLength * (info.fUnicode ? 2 : 1) + 2, 0);
            SIZE_T got = 0;
            ReadProcessMemory(pi.hProcess, info.lpDebugStringData, buf.data(), buf.size() - 2, &got);
            if (info.fUnicode) {
                std::wstring w((const wchar_t*)buf.data());
                strings.push_back(std::string(w.begin(), w.end()));
            } else {
                strings.push_back(buf.data());
            }
        } else if (ev.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
                   ev.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
            status = DBG_EXCEPTION_NOT_HANDLED;
        } else if (ev.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && ev.u.CreateProcessInfo.hFile) {
            CloseHandle(ev.u.CreateProcessInfo.hFile);
        } else if (ev.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && ev.u.LoadDll.hFile) {
            CloseHandle(ev.u.LoadDll.hFile);
        }
        ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, status);
        if (ev.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) break;
    }
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return strings;
}

std::vector<std::string> SplitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) { lines.push_back(text.substr(start)); break; }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
