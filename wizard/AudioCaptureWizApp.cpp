#include "AudioCaptureWizApp.h"
#include "AppFolder.h"
#include "AudioCaptureWizDlg.h"
#include "CmdLineParser.h"
#include "LogFile.h"
#include "ResourceHandle.h"
#include "StartupLog.h"
#include "SuiteWindows.h"
#include "WizGlobals.h"
#include "WizPages.h"
#include "WizSettings.h"

namespace {
HMODULE LoadFromAppPath(const wchar_t* format)
{
    return LoadAppModule(g_szAppPath, format);
}

CString ModuleString(HMODULE module, UINT id)
{
    wchar_t text[260] = {};
    LoadStringW(module, id, text, 260);
    return text;
}
}  // namespace

void CAudioCaptureWizApp::InitLog()
{
    // The log is opened only once this start has passed the single-instance test.
    ReadLogSwitch(m_lpCmdLine);
}

BOOL CAudioCaptureWizApp::LoadGlobalValue()
{
    // No module is loaded yet: string 101 is the program's own.
    CString title = WizString(101);
    SuiteTitles titles = ReadSuiteTitles(g_szRegKey, title);
    g_WizSettings.strLaunchName = titles.launchName;
    g_WizSettings.strWizardName = titles.wizardName;
    g_WizSettings.strAdvancedName = titles.advancedName;
    g_szWindowTitle = titles.wizardName;
    if (!ClaimSuiteDialog(m_instance, titles)) return FALSE;
    OpenSwitchedLog(m_hInstance, L"REVor.log");

    g_szAppPath = LoadAppPath(g_szRegKey);
    LoadSettings();
    return TRUE;
}

void CAudioCaptureWizApp::LoadModules()
{
    g_hResourceModule = m_hInstance ? m_hInstance : GetModuleHandleW(nullptr);
    g_hSkinModule = g_hResourceModule;
    m_loadedResource = LoadFromAppPath(L"%sSonelleWiz.dll");
    if (!m_loadedResource) m_loadedResource = LoadFromAppPath(L"%sSonelleWizLng.dll");
    if (m_loadedResource) {
        g_hResourceModule = m_loadedResource;
        AfxSetResourceHandle(m_loadedResource);
    }
    m_loadedSkin = LoadFromAppPath(L"%sSonelleWizSkin.dll");
    if (m_loadedSkin) g_hSkinModule = m_loadedSkin;
    g_hExtraModule = LoadFromAppPath(L"%sSonelleExtra.dll");
    if (g_hExtraModule) {
        g_strDeviceName = ModuleString(g_hExtraModule, 1);
        g_strNoteText = ModuleString(g_hExtraModule, 2);
    }
    g_hBurnTextModule = LoadFromAppPath(L"%sSonelleExtra3.dll");
}

void CAudioCaptureWizApp::LoadSettings()
{
    LoadWizSettings();
}

void CAudioCaptureWizApp::SaveSettings()
{
    SaveWizSettings();
}

void CAudioCaptureWizApp::DeleteTempFiles()
{
    ::DeleteTempFiles(L"mp3");
}

void CAudioCaptureWizApp::OnBackToStarter()
{
    StartStarter(g_szAppPath);
}

BOOL CAudioCaptureWizApp::InitInstance()
{
    AfxEnableControlContainer();
    InitLog();
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    if (!LoadGlobalValue()) {
        DebugPrint(L"LoadGlobalValue error");
        return FALSE;
    }
    LoadModules();
    NoteStartupStep(L"modules and settings loaded");
    {
        CAudioCaptureWizDlg dialog;
        CWizardPages pages;
        pages.AddTo(dialog);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    SaveSettings();
    DeleteTempFiles();
    // The starter may start the recorder at once.
    m_instance.Release();
    OnBackToStarter();
    return FALSE;
}

void CAudioCaptureWizApp::FreeModules()
{
    if (m_loadedResource) {
        AfxSetResourceHandle(GetModuleHandleW(nullptr));
        FreeLibrary(m_loadedResource);
    }
    if (g_hExtraModule) FreeLibrary(g_hExtraModule);
    if (m_loadedSkin) FreeLibrary(m_loadedSkin);
    if (g_hBurnTextModule) FreeLibrary(g_hBurnTextModule);
    m_loadedResource = m_loadedSkin = g_hExtraModule = g_hBurnTextModule = nullptr;
    g_hResourceModule = g_hSkinModule = GetModuleHandleW(nullptr);
}

int CAudioCaptureWizApp::ExitInstance()
{
    FreeModules();
    return CWinApp::ExitInstance();
}
