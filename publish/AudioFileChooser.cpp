#include "AudioFileChooser.h"
#include <commdlg.h>
#include <cwchar>

std::vector<CString> ChooseAudioFiles(HWND owner, const wchar_t* folder)
{
    // Room for a few thousand names.
    std::vector<wchar_t> answer(130501, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = L"Audio files (*.wav,*.mp3,*.wma)\0*.wav;*.mp3;*.wma\0\0";
    ofn.lpstrFile = answer.data();
    ofn.nMaxFile = DWORD(answer.size());
    ofn.lpstrInitialDir = folder;
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&ofn)) return {};
    return SelectedPaths(answer.data());
}

std::vector<CString> SelectedPaths(const wchar_t* answer)
{
    std::vector<CString> paths;
    if (!answer || !*answer) return paths;
    const wchar_t* p = answer + wcslen(answer) + 1;
    if (!*p) {
        paths.push_back(answer);
        return paths;
    }
    CString folder = answer;
    if (folder.Right(1) != L"\\") folder += L"\\";
    for (; *p; p += wcslen(p) + 1) paths.push_back(folder + p);
    return paths;
}
