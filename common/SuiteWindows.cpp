#include "SuiteWindows.h"
#include "Registry.h"
#include <shellapi.h>

SuiteTitles ReadSuiteTitles(const wchar_t* regKey, const CString& fallback)
{
    SuiteTitles titles{fallback, fallback, fallback};
    // An empty stored title counts as none: it would match any untitled dialog.
    CString value;
    if (RegReadString(HKEY_LOCAL_MACHINE, regKey, L"LanuchName", value, L"") && !value.IsEmpty())
        titles.launchName = value;
    if (RegReadString(HKEY_LOCAL_MACHINE, regKey, L"WizardName", value, L"") && !value.IsEmpty())
        titles.wizardName = value;
    if (RegReadString(HKEY_LOCAL_MACHINE, regKey, L"AdvancedName", value, L"") && !value.IsEmpty())
        titles.advancedName = value;
    return titles;
}

BOOL ActivateRunningSuiteDialog(const SuiteTitles& titles)
{
    for (const CString* name : {&titles.wizardName, &titles.advancedName}) {
        if (name->IsEmpty()) continue;  // FindWindow would take any untitled dialog
        if (HWND running = FindWindowW(L"#32770", *name)) {
            SetForegroundWindow(running);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL ClaimSuiteDialog(CSingleInstance& instance, const SuiteTitles& titles)
{
    auto activate = [&titles] { return ActivateRunningSuiteDialog(titles); };
    // Holding the name, a dialog of a copy that does not know it can still be open.
    return instance.Claim(L"NV Sonelle dialogs", activate) && !activate();
}

BOOL ClaimStarter(CSingleInstance& instance, const SuiteTitles& titles)
{
    if (!instance.Claim(L"NV Sonelle starter", [&titles] { return ActivateRunningStarter(titles); })) return FALSE;
    return !ActivateRunningSuiteDialog(titles) && !ActivateRunningStarter(titles);
}

CString StarterCaption(const CString& launchName)
{
    CString caption;
    caption.Format(L"%s Starter", (const wchar_t*)launchName);
    return caption;
}

BOOL ActivateRunningStarter(const SuiteTitles& titles)
{
    if (titles.launchName.IsEmpty()) return FALSE;
    HWND running = FindWindowW(L"#32770", StarterCaption(titles.launchName));
    if (!running) return FALSE;
    SetForegroundWindow(running);
    return TRUE;
}

void AddAboutToSystemMenu(HWND window, UINT id, const wchar_t* text)
{
    if (!text || !*text) return;
    if (HMENU system = ::GetSystemMenu(window, FALSE)) {
        AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(system, MF_STRING, id, text);
    }
}

void SetProgramIcon(HWND window, HICON icon)
{
    if (!icon) return;
    SendMessageW(window, WM_SETICON, ICON_BIG, (LPARAM)icon);
    SendMessageW(window, WM_SETICON, ICON_SMALL, (LPARAM)icon);
    // The class too: what asks the class and not the window (the shell's fallback)
    // finds the program's icon. The dialog class is this process's own copy.
    SetClassLongPtrW(window, GCLP_HICON, (LONG_PTR)icon);
    SetClassLongPtrW(window, GCLP_HICONSM, (LONG_PTR)icon);
}

bool IsHelpKey(const MSG* msg)
{
    return msg->message == WM_KEYDOWN && msg->wParam == VK_F1;
}

void DrawIconCentred(HWND window, HDC dc, HICON icon)
{
    RECT client;
    GetClientRect(window, &client);
    DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
             (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, icon);
}

void CentreWithRoundCorners(HWND window, SIZE size)
{
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXFULLSCREEN) - size.cx) / 2,
                 (GetSystemMetrics(SM_CYFULLSCREEN) - size.cy) / 2, size.cx, size.cy, SWP_NOZORDER);
    SetWindowRgn(window, CreateRoundRectRgn(0, 0, size.cx, size.cy, 3, 3), TRUE);
}

void OpenUserGuide(const CString& appPath, HWND owner)
{
    CString guide;
    guide.Format(L"%sSonelleUserGuide.pdf", (const wchar_t*)appPath);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = L"open";
    info.lpFile = guide;
    info.nShow = SW_SHOWNORMAL;
    info.hwnd = owner;
    ShellExecuteExW(&info);
}
