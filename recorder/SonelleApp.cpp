#include "SonelleApp.h"
#include "EditWorkSet.h"
#include "AppFolder.h"
#include "CmdLineParser.h"
#include "DeferredStartup.h"
#include "FilterCheckerClient.h"
#include "LogFile.h"
#include "PageCapture.h"
#include "PageEdit.h"
#include "RemoteTunlet.h"
#include "ResourceHandle.h"
#include "SonelleDlg.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "SkinModule.h"
#include "StartupLog.h"
#include "SuiteWindows.h"

CString g_szAppPath;
CString g_szWindowTitle;
HINSTANCE g_hResourceModule = nullptr;
HINSTANCE g_hSkinModule = nullptr;
HMODULE g_hExtraModule = nullptr;
HMODULE g_hExtra2Module = nullptr;
const wchar_t g_szRegKey[] = L"software\\Norvane\\NV Sonelle";
UINT g_cfNorvaneFiles = RegisterClipboardFormatW(L"NorvaneFiles");
UINT g_cfNorvaneControl = RegisterClipboardFormatW(L"NorvaneControl");

namespace {
// Modules that LoadModules actually loaded (a fallback to the program is not one).
HMODULE g_loadedResource = nullptr;
HMODULE g_loadedSkin = nullptr;

HMODULE LoadFromAppPath(const wchar_t* format)
{
    return LoadAppModule(g_szAppPath, format);
}
}  // namespace

CSonelleApp::CSonelleApp()
{
    g_szAppPath.Empty();
    g_szWindowTitle.Empty();
}

void CSonelleApp::InitLog()
{
    // The log is opened only once this start has passed the single-instance test.
    ReadLogSwitch(m_lpCmdLine);
}

void CSonelleApp::OpenLog()
{
    OpenSwitchedLog(m_hInstance, L"VODar.log");
}

void CSonelleApp::LoadAppPath()
{
    g_szAppPath = ::LoadAppPath(g_szRegKey);
    // The player program is started from the installation folder.
    CRemoteTunlet::SetAppFolder(g_szAppPath);
}

void CSonelleApp::LoadModules()
{
    g_hResourceModule = m_hInstance;
    g_hSkinModule = m_hInstance;
    g_loadedResource = LoadFromAppPath(L"%sSonelleADV.dll");
    if (!g_loadedResource) g_loadedResource = LoadFromAppPath(L"%sSonelleADVLng.dll");
    if (g_loadedResource) {
        g_hResourceModule = g_loadedResource;
        AfxSetResourceHandle(g_loadedResource);
    }
    g_loadedSkin = LoadFromAppPath(L"%ssSonelleADVSkin.dll");
    if (g_loadedSkin) g_hSkinModule = g_loadedSkin;
    SetSkinModule(g_hSkinModule);  // for the controls that read it themselves
    g_hExtraModule = LoadFromAppPath(L"%sSonelleExtra.dll");
    g_hExtra2Module = LoadFromAppPath(L"%sWavelornExtra.dll");
}

BOOL CSonelleApp::CheckRunning()
{
    CString title;
    title.LoadString(101);
    SuiteTitles titles = ReadSuiteTitles(g_szRegKey, title);
    g_szWindowTitle = titles.advancedName;
    return ClaimSuiteDialog(m_instance, titles);
}

void CSonelleApp::CheckFilterRegistration()
{
    RunComponentCheck(g_szAppPath, g_bDebugSwitch);
}

void CSonelleApp::DeleteTempFiles()
{
    ::DeleteTempFiles(L"nv0");
}

void OnBackToStarter()
{
    StartStarter(g_szAppPath);
}

BOOL CSonelleApp::InitInstance()
{
    AfxEnableControlContainer();
    OleInitialize(nullptr);  // the drop target needs OLE on this thread
    InitLog();
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    LoadAppPath();
    LoadModules();
    if (!CheckRunning()) return FALSE;
    OpenLog();
    LoadSettings();
    // A run ended from outside (killed during an effect) left its Edit-page work
    // files beside the user's file.
    DeleteLeftOverWorkSet();
    NoteStartupStep(L"modules and settings loaded");
    // The component check may start the repair tool; the window need not wait for it.
    CDeferredStartup afterWindow;
    if (g_hExtra2Module)
        afterWindow.Add([this] {
            CheckFilterRegistration();
            NoteStartupStep(L"component check");
        });

    {
        CSonelleDlg dialog;
        dialog.SetPlaceholder(CSonelleDlg::IDC_PLACEHOLDER);
        CPageCapture recordPage;
        CPageEdit editPage;
        recordPage.m_strCmdLine = m_lpCmdLine;
        dialog.AddPage(&recordPage, CPageCapture::IDD);
        dialog.AddPage(&editPage, CPageEdit::IDD);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;

        SaveSettings();
        DeleteTempFiles();
        // The starter may start the wizard at once.
        m_instance.Release();
        OnBackToStarter();
    }
    return FALSE;
}

int CSonelleApp::ExitInstance()
{
    if (g_loadedResource) FreeLibrary(g_loadedResource);
    if (g_hExtraModule) FreeLibrary(g_hExtraModule);
    if (g_loadedSkin) FreeLibrary(g_loadedSkin);
    if (g_hExtra2Module) FreeLibrary(g_hExtra2Module);
    OleUninitialize();
    return CWinApp::ExitInstance();
}
