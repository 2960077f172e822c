#include "SonelleApp.h"
#include "CmdLineParser.h"
#include "LogFile.h"
#include "PageCapture.h"
#include "PageEdit.h"
#include "Registry.h"
#include "ResourceHandle.h"
#include "SonelleDlg.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include <shellapi.h>
#include <vector>

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
    CString path;
    path.Format(format, (const wchar_t*)g_szAppPath);
    return LoadLibraryW(path);
}
}  // namespace

CSonelleApp::CSonelleApp()
{
    g_szAppPath.Empty();
    g_szWindowTitle.Empty();
}

void CSonelleApp::InitLog()
{
    CCmdLineParser parser;
    if (!parser.Parse(m_lpCmdLine, '/', ':')) return;
    if (parser.HasKey(L"NV_Log")) {
        g_bDebugSwitch = TRUE;
        LogInit(m_hInstance, L"VODar.log", LOG_FOLDER_DOCUMENTS, TRUE, LOG_LEVEL_DEFAULT);
    }
    DebugPrint(L"NV_Log param setting...");
}

void CSonelleApp::LoadAppPath()
{
    // A missing "AppPath" means the program's own folder (written back when the
    // key may be written): the current directory is wherever the user started it.
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    CString def(own);
    def = def.Left(def.ReverseFind(L'\\') + 1);

    CString stored;
    g_szAppPath = RegReadString(HKEY_LOCAL_MACHINE, g_szRegKey, L"AppPath", stored, def) ? stored : def;
    if (g_szAppPath.IsEmpty() || g_szAppPath[g_szAppPath.GetLength() - 1] != L'\\') {
        CString withSlash;
        withSlash.Format(L"%s\\", (const wchar_t*)g_szAppPath);
        g_szAppPath = withSlash;
    }
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
    g_hExtraModule = LoadFromAppPath(L"%sSonelleExtra.dll");
    g_hExtra2Module = LoadFromAppPath(L"%sWavelornExtra.dll");
}

BOOL CSonelleApp::CheckRunning()
{
    CString title;
    title.LoadString(101);
    g_szWindowTitle = title;
    CString launchName = title, wizardName = title, advancedName = title, value;
    if (RegReadString(HKEY_LOCAL_MACHINE, g_szRegKey, L"LanuchName", value, L"")) launchName = value;
    if (RegReadString(HKEY_LOCAL_MACHINE, g_szRegKey, L"WizardName", value, L"")) wizardName = value;
    if (RegReadString(HKEY_LOCAL_MACHINE, g_szRegKey, L"AdvancedName", value, L"")) {
        advancedName = value;
        g_szWindowTitle = value;
    }
    for (const CString* name : {&wizardName, &advancedName}) {
        if (HWND running = FindWindowW(L"#32770", *name)) {
            SetForegroundWindow(running);
            return FALSE;
        }
    }
    return TRUE;
}

void CSonelleApp::CheckFilterRegistration()
{
    // The component check comes with the filter-checker client of the foundations.
}

void CSonelleApp::DeleteTempFiles()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    CString folder;
    folder.Format(L"%sTmpF\\", temp);
    CreateDirectoryW(folder, nullptr);

    CString base = folder.Left(folder.GetLength() - 1);
    CString pattern;
    pattern.Format(base.GetLength() && base[base.GetLength() - 1] == L'\\' ? L"%s*.%s" : L"%s\\*.%s",
                   (const wchar_t*)base, L"nv0");
    std::vector<CString> found;
    found.reserve(10);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern, &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L"..")) continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            found.push_back(CString(folder) + data.cFileName);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    for (const CString& path : found) DeleteFileW(path);
}

void OnBackToStarter()
{
    CString path;
    path.Format(L"%s%s", (const wchar_t*)g_szAppPath, L"SonelleStarter.exe");
    DebugPrint(L"OnBackToStarter [%s]", (const wchar_t*)path);
    // A missing starter is noted, never shown: the user is leaving anyway.
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        DebugPrint(L"OnBackToStarter: no starter at [%s]", (const wchar_t*)path);
        return;
    }
    ShellExecuteW(nullptr, L"open", path, L"/NOINTRO", nullptr, SW_SHOWNORMAL);
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
    LoadSettings();
    if (g_hExtra2Module) CheckFilterRegistration();

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
