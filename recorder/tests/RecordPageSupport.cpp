#include "RecordPageSupport.h"
#include <mmsystem.h>
#include "Driver.h"
#include "ModuleLoader.h"
#include "RecorderCaptureDevice.h"
#include "SkinModule.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "DSoundDeviceDouble.h"
#include "TestSignal.h"
#include "WaveInId.h"

const wchar_t* const kFedUsbPath =
    L"\\\\?\\USB#VID_0D8C&PID_0121&MI_00#6&1a2b&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
const wchar_t* const kOtherUsbPath = L"\\\\?\\USB#VID_0C76&PID_1606#5&77&0#{65e8773d-8f56-11d0-a3b9-00a0c9223196}";
const wchar_t* const kFedUsbVidPid = L"VID_0D8C&PID_0121";

namespace {


void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(dir + name + L"\\");
            else DeleteFileW((dir + name).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(dir.substr(0, dir.size() - 1).c_str());
}

}  // namespace

void FakeUsbDevices(CDSoundEnumerator& enumerator)
{
    static int feed = testsignal::WaveInId(testsignal::CaptureDeviceName);
    enumerator.AddCaptureDevice(MakeDSoundDevice(feed, kFedUsbPath));
    enumerator.AddCaptureDevice(MakeDSoundDevice(feed + 100, kOtherUsbPath));
}

void Click(CWnd& page, int id)
{
    page.PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(page.m_hWnd, id));
}

std::wstring Text(CWnd& page, int id)
{
    wchar_t text[256] = {};
    ::GetDlgItemTextW(page.m_hWnd, id, text, 256);
    return text;
}

std::vector<BYTE> RemovalBroadcast(const std::wstring& devicePath)
{
    size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (devicePath.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> buffer(size);
    auto* b = (DEV_BROADCAST_DEVICEINTERFACE_W*)buffer.data();
    b->dbcc_size = (DWORD)size;
    b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    memcpy(b->dbcc_name, devicePath.c_str(), (devicePath.size() + 1) * sizeof(wchar_t));
    return buffer;
}

CDialogAnswerer::CDialogAnswerer(int buttonId, DWORD timeoutMs)
    : m_thread([this, buttonId, timeoutMs] {
          for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
              HWND dialog = nullptr;
              while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr) {
                  DWORD pid = 0;
                  GetWindowThreadProcessId(dialog, &pid);
                  HWND button = GetDlgItem(dialog, buttonId);
                  if (pid != GetCurrentProcessId() || !IsWindowVisible(dialog) || !button) continue;
                  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), (LPARAM)button);
                  m_answered = true;
                  return;
              }
              Sleep(20);
          }
      })
{
}

CMessageBoxAnswerer::CMessageBoxAnswerer() : CMessageBoxAnswerer(nullptr) {}

CMessageBoxAnswerer::CMessageBoxAnswerer(std::function<void(const std::wstring& text)> seen) : m_seen(std::move(seen))
{
    InitializeCriticalSection(&m_lock);
    m_thread = std::thread([this] {
        while (!m_stop) {
            drv::MessageBoxInfo box = drv::WaitForMessageBox(GetCurrentProcessId(), 50);
            if (!box.window) continue;
            EnterCriticalSection(&m_lock);
            m_texts.push_back(box.text);
            LeaveCriticalSection(&m_lock);
            if (m_seen) m_seen(box.text);
            drv::AnswerMessageBox(box, IDOK);
            // The box needs a moment to go; never count it twice.
            for (int i = 0; i < 100 && IsWindow(box.window); ++i) Sleep(10);
        }
    });
}

CMessageBoxAnswerer::~CMessageBoxAnswerer()
{
    m_stop = true;
    m_thread.join();
    DeleteCriticalSection(&m_lock);
}

std::vector<std::wstring> CMessageBoxAnswerer::Texts()
{
    EnterCriticalSection(&m_lock);
    std::vector<std::wstring> texts = m_texts;
    LeaveCriticalSection(&m_lock);
    return texts;
}

void RecordPageFixture::SetUpTestSuite()
{
    for (const wchar_t* m : {L"SonelleCapture.ax", L"Vossel.ax", L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax"})
        ASSERT_TRUE(testsignal::RegisterModule(m)) << m;
    g_hSkinModule = g_hResourceModule = GetModuleHandleW(nullptr);
    SetSkinModule(g_hSkinModule);
    g_szWindowTitle = L"Record Page Test";
}

void RecordPageFixture::SetUp()
{
    static int count = 0;
    folder = testsignal::TempPath((L"RecordPage" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                   std::to_wstring(++count)).c_str()) + L"\\";
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    lstrcpynW(g_Settings.szRecordFolder, folder.c_str(), 260);
    lstrcpynW(g_Settings.szPrefixName, L"Take", 260);
    lstrcpynW(g_Settings.szAudioDeviceName, testsignal::CaptureDeviceName, 100);
    g_Settings.nSamplerate = 44100;
    g_Settings.nChannel = 2;
    g_Settings.nBitsPerSample = 16;
    g_Settings.nLevel = 10;
    g_Settings.bNoiseReduction = FALSE;
    g_Settings.fNoiseReductionValue = 150;
    g_Settings.bAudioStreamRender = 1;
    host.SetPlaceholder(1006);
    host.AddPage(&page, CPageCapture::IDD);
    ASSERT_TRUE(host.Create(102, nullptr));
}

void RecordPageFixture::TearDown()
{
    if (host.m_hWnd) host.DestroyWindow();
    g_CaptureDevice.Close();
    CDSoundEnumerator::SetDeviceSource(nullptr);
    Pump(50);
    RemoveTree(folder);
}

bool RecordPageFixture::Open(DWORD timeoutMs)
{
    if (!host.SetActivePage(CPageCapture::IDD)) return false;
    return PumpUntil([] { return g_CaptureDevice.m_bInit && g_CaptureDevice.IsPreviewing(); }, timeoutMs);
}
