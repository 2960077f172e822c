#include "SuiteWindows.h"
#include "Registry.h"

SuiteTitles ReadSuiteTitles(const wchar_t* regKey, const CString& fallback)
{
    SuiteTitles titles{fallback, fallback, fallback};
    CString value;
    if (RegReadString(HKEY_LOCAL_MACHINE, regKey, L"LanuchName", value, L"")) titles.launchName = value;
    if (RegReadString(HKEY_LOCAL_MACHINE, regKey, L"WizardName", value, L"")) titles.wizardName = value;
    if (RegReadString(HKEY_LOCAL_MACHINE, regKey, L"AdvancedName", value, L"")) titles.advancedName = value;
    return titles;
}

BOOL ActivateRunningSuiteDialog(const SuiteTitles& titles)
{
    for (const CString* name : {&titles.wizardName, &titles.advancedName}) {
        if (HWND running = FindWindowW(L"#32770", *name)) {
            SetForegroundWindow(running);
            return TRUE;
        }
    }
    return FALSE;
}
