// Small helpers shared by the common tests: real files, real processes.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// Folder of the running test program, ending in "\".
std::wstring ProgramFolder();
// The user's Documents folder, without trailing "\".
std::wstring DocumentsFolder();
// A fresh, empty folder under the temporary folder, ending in "\".
std::wstring MakeTempFolder(const wchar_t* tag);
void DeleteTree(const std::wstring& folder);
// Runs a program of the test folder (or a full path) with arguments and returns its exit code, or
// -1 when it could not be started or did not end in time.
int RunProgram(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs = 60000);
// Runs it under the debugger and returns every debug string it sent.
std::vector<std::string> RunProgramCollectDebugStrings(const std::wstring& exe, const std::wstring& args);
// Lines of a CR LF text (the last, empty piece after the final CR LF is dropped).
std::vector<std::string> SplitCrLf(const std::string& text);
