// Tessamo.exe: opened by the wizard after an audio-CD write failed. It lists the
// disc writers the disc libraries offer and lets the user choose how audio CDs
// are written; the choice is stored as "BurnMode" under the suite's user key,
// which the wizard reads before every audio-CD write (it never writes it).
// OK stores the mode, Cancel and closing leave it as it was.
#include <windows.h>
#include "NVDataCDDVD.h"

namespace {

const wchar_t kKey[] = L"software\\Norvane\\NV Sonelle";
const int kWriters = 1001, kModes = 1002;

struct Mode {
    DWORD value;
    const wchar_t* name;
};
const Mode kModeList[] = {{1, L"Track at once"}, {2, L"Session at once"}, {3, L"Disc at once"}};
const DWORD kDefaultMode = 3;

DWORD ReadBurnMode()
{
    DWORD value = 0, size = sizeof(value), type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return kDefaultMode;
    LONG read = RegQueryValueExW(key, L"BurnMode", nullptr, &type, (BYTE*)&value, &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS && type == REG_DWORD ? value : kDefaultMode;
}

bool WriteBurnMode(DWORD value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG written = RegSetValueExW(key, L"BurnMode", 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

void FillWriters(HWND dialog)
{
    CNVDataCDDVD library;
    library.Initialize();
    const unsigned char count = library.GetDriveCount();
    for (unsigned char i = 0; i < count; ++i) {
        const char* name = library.GetDriveName(i);
        wchar_t wide[260] = L"";
        MultiByteToWideChar(CP_ACP, 0, name ? name : "", -1, wide, 260);
        SendDlgItemMessageW(dialog, kWriters, LB_ADDSTRING, 0, (LPARAM)wide);
    }
    if (count == 0) SendDlgItemMessageW(dialog, kWriters, LB_ADDSTRING, 0, (LPARAM)L"(no disc writer)");
    library.Uninitialize();
}

void FillModes(HWND dialog)
{
    const DWORD current = ReadBurnMode();
    int selected = -1, fallback = 0;
    for (int i = 0; i < (int)(sizeof(kModeList) / sizeof(kModeList[0])); ++i) {
        SendDlgItemMessageW(dialog, kModes, CB_ADDSTRING, 0, (LPARAM)kModeList[i].name);
        SendDlgItemMessageW(dialog, kModes, CB_SETITEMDATA, i, kModeList[i].value);
        if (kModeList[i].value == current) selected = i;
        if (kModeList[i].value == kDefaultMode) fallback = i;
    }
    // A stored mode this tool does not know shows the default until OK stores a known one.
    SendDlgItemMessageW(dialog, kModes, CB_SETCURSEL, selected >= 0 ? selected : fallback, 0);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FillWriters(dialog);
        FillModes(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            LRESULT at = SendDlgItemMessageW(dialog, kModes, CB_GETCURSEL, 0, 0);
            if (at != CB_ERR) WriteBurnMode((DWORD)SendDlgItemMessageW(dialog, kModes, CB_GETITEMDATA, at, 0));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(100), nullptr, DialogProc, 0) == IDOK ? 0 : 1;
}
