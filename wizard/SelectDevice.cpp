#include "SelectDevice.h"
#include "CaptureDevice.h"
#include "DropDownList.h"
#include "FilterRegistration.h"
#include "NewWizDialog.h"
#include "WaitCursor.h"
#include "WizGlobals.h"
#include "WizSettings.h"

BEGIN_MESSAGE_MAP(CSelectDevice, CNewWizPage)
    ON_CBN_SELCHANGE(IDC_DEVICE_LIST, OnSelectDevice)
    ON_BN_CLICKED(IDC_STREAM_CHECK, OnStreamRender)
END_MESSAGE_MAP()

namespace {
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// Starts monitoring on a freshly opened device.
BOOL StartMonitoring(CCaptureDevice& device)
{
    device.SetAnalyzerGain(TRUE, g_WizSettings.nLevel / 10.0f);
    device.SetStartMute(100, 0.1f);
    return device.StartRendering();
}
}  // namespace

CSelectDevice::CSelectDevice()
    : CNewWizPage(IDD), m_deviceList(g_hSkinModule, 161), m_streamCheck(g_hSkinModule, 153, 24)
{
}

void CSelectDevice::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_TEXT, m_text);
    DDX_Control(dx, IDC_LIST_LABEL, m_listLabel);
    DDX_Control(dx, IDC_STREAM_TEXT, m_streamText);
    DDX_Control(dx, IDC_DEVICE_LIST, m_deviceList);
    DDX_Control(dx, IDC_STREAM_CHECK, m_streamCheck);
}

BOOL CSelectDevice::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    SetBackground(g_hSkinModule, 204);
    PlaceText(m_text, 50, 40, 650, 100, m_largeFont, kBlack);
    PlaceText(m_listLabel, 78, 173, 400, 30, m_mediumFont, kWhite);
    PlaceText(m_streamText, 103, 254, 280, 100, m_smallFont, kBlack);
    m_deviceList.SetBorderColor(0);
    m_deviceList.SetParentBrush(nullptr);
    m_deviceList.SetTextColor(0);
    PlaceControl(IDC_DEVICE_LIST, 78, 206, 304, 30, nullptr);
    FitDropDownList(m_deviceList.m_hWnd);
    PlaceControl(IDC_STREAM_CHECK, 75, 249, 24, 26, nullptr);
    return TRUE;
}

int CSelectDevice::RenderMode() const
{
    if (g_WizProduct.kind == 5) return 0;
    return g_WizSettings.bAudioStreamRender ? 1 : 2;
}

BOOL CSelectDevice::OnSetActive()
{
    ShowStep(FillFormat(WizString(201), L"1-2"), 1);
    FillDeviceList();
    if (g_WizProduct.kind != 5) m_streamCheck.SendMessage(BM_SETCHECK, g_WizSettings.bAudioStreamRender ? 0 : 1);
    WaitForFilterRegistration();
    // A saved device that cannot be opened shows nothing: the list stays usable.
    OpenDevice(g_WizSettings.szAudioDeviceName, m_bVideoDevice, RenderMode(), FALSE);
    return TRUE;
}

LRESULT CSelectDevice::OnWizardBack()
{
    CCaptureDevice& device = CaptureDevice();
    if (device.m_bInit) {
        device.StopRecord();
        device.Close();
    }
    return 129;
}

void CSelectDevice::FillDeviceList()
{
    m_deviceList.SendMessage(CB_RESETCONTENT);
    int selection = 0, position = 0;
    wchar_t audio[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
    wchar_t video[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
    int audioCount = CCaptureDevice::GetAudioDeviceNames(audio);
    for (int i = 0; i < audioCount; ++i, ++position) {
        m_deviceList.SendMessage(CB_INSERTSTRING, (WPARAM)position, (LPARAM)audio[i]);
        m_deviceList.SendMessage(CB_SETITEMDATA, (WPARAM)position, 0);
        if (!wcscmp(audio[i], g_WizSettings.szAudioDeviceName)) {
            m_bVideoDevice = FALSE;
            selection = position;
        }
    }
    int videoCount = CCaptureDevice::GetVideoDeviceNames(video);
    for (int i = 0; i < videoCount; ++i) {
        if (!CCaptureDevice::HasAudioPin(video[i])) continue;
        m_deviceList.SendMessage(CB_INSERTSTRING, (WPARAM)position, (LPARAM)video[i]);
        m_deviceList.SendMessage(CB_SETITEMDATA, (WPARAM)position, 1);
        if (!wcscmp(video[i], g_WizSettings.szAudioDeviceName)) {
            m_bVideoDevice = TRUE;
            selection = position;
        }
        ++position;
    }
    m_deviceList.SendMessage(CB_SETCURSEL, (WPARAM)selection);
}

BOOL CSelectDevice::OpenDevice(const wchar_t* name, BOOL video, int renderMode, BOOL reset)
{
    CCaptureDevice& device = CaptureDevice();
    const wchar_t* videoName = video ? name : L"";
    const wchar_t* audioName = video ? L"" : name;
    if (reset) return device.ResetDevice(m_hWnd, videoName, audioName, renderMode);
    if (!device.InitFilterGraph(m_hWnd, videoName, audioName, renderMode)) return FALSE;
    return StartMonitoring(device);
}

void CSelectDevice::SelectByName(const CString& name)
{
    int found = (int)m_deviceList.SendMessage(CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(const wchar_t*)name);
    m_deviceList.SendMessage(CB_SETCURSEL, (WPARAM)(found >= 0 ? found : -1));
}

void CSelectDevice::RestoreDevice(const CString& name, BOOL video)
{
    ::MessageBoxW(m_hWnd, WizString(199), g_szWindowTitle, MB_ICONERROR);
    // The failed change has closed the device: the one that was open comes back.
    m_bVideoDevice = video;
    if (!name.IsEmpty() && !CaptureDevice().m_bInit) OpenDevice(name, video, RenderMode(), FALSE);
    SelectByName(name);
}

void CSelectDevice::OnSelectDevice()
{
    CWaitCursor wait;
    int position = (int)m_deviceList.SendMessage(CB_GETCURSEL);
    if (position < 0) return;
    const BOOL previousVideo = m_bVideoDevice;
    const CString previous = g_WizSettings.szAudioDeviceName;
    BOOL video = m_deviceList.SendMessage(CB_GETITEMDATA, (WPARAM)position) == 1;
    int length = (int)m_deviceList.SendMessage(CB_GETLBTEXTLEN, (WPARAM)position);
    CString text;
    m_deviceList.SendMessage(CB_GETLBTEXT, (WPARAM)position, (LPARAM)text.GetBuffer(length + 1));
    text.ReleaseBuffer();
    if (text == previous) return;
    m_bVideoDevice = video;
    if (OpenDevice(text, video, RenderMode(), TRUE)) {
        lstrcpynW(g_WizSettings.szAudioDeviceName, text, 100);
        return;
    }
    RestoreDevice(previous, previousVideo);
}

void CSelectDevice::OnStreamRender()
{
    CWaitCursor wait;
    const BOOL monitoringWasOn = g_WizSettings.bAudioStreamRender;
    const BOOL checked = m_streamCheck.SendMessage(BM_GETCHECK) == BST_CHECKED;
    g_WizSettings.bAudioStreamRender = checked ? FALSE : TRUE;
    const CString name = g_WizSettings.szAudioDeviceName;
    if (OpenDevice(name, m_bVideoDevice, checked ? 2 : 1, TRUE)) return;
    // The device stays as it was heard before.
    g_WizSettings.bAudioStreamRender = monitoringWasOn;
    m_streamCheck.SendMessage(BM_SETCHECK, monitoringWasOn ? 0 : 1);
    RestoreDevice(name, m_bVideoDevice);
}
