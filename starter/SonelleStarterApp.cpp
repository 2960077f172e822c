#include "SonelleStarterApp.h"
#include "AppFolder.h"
#include "DeferredStartup.h"
#include "FilterCheckerClient.h"
#include "LogFile.h"
#include "Registry.h"
#include "ResourceHandle.h"
#include "SkinModule.h"
#include "SonelleStarterDlg.h"
#include "StarterGlobals.h"
#include "StartupLog.h"
#include "SuiteWindows.h"

const wchar_t g_szRegKey[] = L"software\\Norvane\\NV Sonelle";
CString g_strTitleBase;
CString g_szAppPath;
HINSTANCE g_hResourceModule = nullptr;
HINSTANCE g_hSkinModule = nullptr;
HMODULE g_hExtraModule = nullptr;

BOOL CSonelleStarterApp::CheckRunning()
{
    // No module is loaded yet: string 101 is the program's own.
    CString title;
    title.LoadString(101);
    SuiteTitles titles = ReadSuiteTitles(g_szRegKey, title);
    g_strTitleBase = titles.launchName;
    if (!ClaimStarter(m_instance, titles)) return FALSE;
    // Only a start that goes on opens the log: opening moves the old one to the
    // backups, and that one is the running starter's.
    OpenSwitchedLog(m_hInstance, L"RUZovizov.log");
    DebugPrint(L"LanuchName: [%s]", (const wchar_t*)titles.launchName);
    DebugPrint(L"WizardName: [%s]", (const wchar_t*)titles.wizardName);
    DebugPrint(L"AdvancedName: [%s]", (const wchar_t*)titles.advancedName);

    CString stored;
    RegReadString(HKEY_LOCAL_MACHINE, g_szRegKey, L"AppPath", stored, L"");
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    DebugPrint(L"AppPath: [%s] --reg", (const wchar_t*)stored);
    DebugPrint(L"AppPath: [%s] --cur", current);
    g_szAppPath = LoadAppPath(g_szRegKey);
    return TRUE;
}

void CSonelleStarterApp::LoadModules()
{
    g_hResourceModule = g_hSkinModule = m_hInstance;
    m_loadedResource = LoadAppModule(g_szAppPath, L"%sRUZovizov.dll");
    if (!m_loadedResource) m_loadedResource = LoadAppModule(g_szAppPath, L"%sRUZovizovLng.dll");
    if (m_loadedResource) {
        g_hResourceModule = m_loadedResource;
        AfxSetResourceHandle(m_loadedResource);
    }
    m_loadedSkin = LoadAppModule(g_szAppPath, L"%sRUZovizovSkin.dll");
    if (m_loadedSkin) g_hSkinModule = m_loadedSkin;
    SetSkinModule(g_hSkinModule);
    g_hExtraModule = LoadAppModule(g_szAppPath, L"%sSonelleExtra.dll");
    if (!g_hExtraModule) g_hExtraModule = LoadAppModule(g_szAppPath, L"%sSonelleExtraS.dll");
}

void CSonelleStarterApp::CheckFilterRegistration()
{
    RunComponentCheck(g_szAppPath, g_bDebugSwitch);
}

BOOL CSonelleStarterApp::InitInstance()
{
    AfxEnableControlContainer();
    ReadLogSwitch(m_lpCmdLine);
    if (!CheckRunning()) return FALSE;
    LoadModules();
    NoteStartupStep(L"modules loaded");
    // The check may start the repair tool; the window need not wait for it.
    CDeferredStartup afterWindow;
    afterWindow.Add([this] {
        CheckFilterRegistration();
        NoteStartupStep(L"component check");
    });
    {
        CSonelleStarterDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    return FALSE;
}

int CSonelleStarterApp::ExitInstance()
{
    if (m_loadedResource) {
        AfxSetResourceHandle(m_hInstance);
        FreeLibrary(m_loadedResource);
    }
    if (m_loadedSkin) FreeLibrary(m_loadedSkin);
    if (g_hExtraModule) FreeLibrary(g_hExtraModule);
    m_loadedResource = m_loadedSkin = g_hExtraModule = nullptr;
    g_hResourceModule = g_hSkinModule = m_hInstance;
    return CWinApp::ExitInstance();
}
