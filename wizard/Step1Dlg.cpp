#include "Step1Dlg.h"
#include "AudioCaptureWizApp.h"
#include "CaptureDevice.h"
#include "DSoundEnumerator.h"
#include "FilterRegistration.h"
#include "NewWizDialog.h"
#include "StdioFile.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include <vector>

namespace {
const COLORREF kBlack = RGB(0, 0, 0);
}

void CStep1Dlg::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_MAIN_TEXT, m_mainText);
    DDX_Control(dx, IDC_NOTE_LABEL, m_noteLabel);
    DDX_Control(dx, IDC_NOTE_TEXT, m_noteText);
}

BOOL CStep1Dlg::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    if (!(g_hExtraModule && SetBackground(g_hExtraModule, 1005))) SetBackground(g_hSkinModule, 177);
    PlaceText(m_mainText, 50, 16, 680, 60, m_largeFont, kBlack);
    m_mainText.SetBkRect(50, 16, 700, 60);
    PlaceNote(m_noteLabel, m_noteText, 76);
    if (!g_strNoteText.IsEmpty()) m_mainText.SetText(g_strNoteText);
    return TRUE;
}

BOOL CStep1Dlg::OnSetActive()
{
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    ShowStep(FillFormat(WizString(148), g_WizProduct.IsSoundCardKind() ? L"1-1" : L"1"), 1);
    return TRUE;
}

BOOL CStep1Dlg::OnKillActive()
{
    if (CaptureDevice().m_bInit) CaptureDevice().Close();
    return TRUE;
}

LRESULT CStep1Dlg::OnWizardBack()
{
    return g_WizProduct.IsSoundCardKind() ? -1 : IDD;
}

LRESULT CStep1Dlg::OnWizardNext()
{
    if (!DetectDevice()) return PAGE_NO_DEVICE;
    return g_WizProduct.IsSoundCardKind() ? PAGE_SELECT_DEVICE : PAGE_LEVEL;
}

BOOL CStep1Dlg::DetectDevice()
{
    CCaptureDevice& device = CaptureDevice();
    if (device.m_bInit) device.Close();

    wchar_t audio[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
    wchar_t video[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
    int audioCount = CCaptureDevice::GetAudioDeviceNames(audio);
    int videoCount = CCaptureDevice::GetVideoDeviceNames(video);
    std::vector<CString> candidates;
    for (int i = 0; i < audioCount; ++i) candidates.push_back(audio[i]);
    for (int i = 0; i < videoCount; ++i)
        if (CCaptureDevice::HasAudioPin(video[i])) candidates.push_back(video[i]);

    auto namedDevice = [&]() -> CString {
        for (const CString& name : candidates) {
            CString upper = name;
            upper.MakeUpper();
            if (upper.Find(L"RIFBOX") >= 0) return name;
        }
        return CString();
    };

    CString chosen;
    if (g_WizProduct.usbDeviceSearch) {
        CDSoundEnumerator dsound;
        dsound.Enumerate();
        chosen = dsound.FindKnownUsbDevice();
        if (chosen.IsEmpty()) chosen = namedDevice();
        if (chosen.IsEmpty()) {
            CString box;
            if (CCaptureDevice::FindCaptureBoxDevice(box)) chosen = box;
        }
        if (chosen.IsEmpty()) chosen = ReadDeviceFile();
    } else {
        chosen = namedDevice();
        if (chosen.IsEmpty() && audioCount > 0) chosen = audio[0];
    }
    // Nothing to record from: the no-device page explains what to do.
    if (chosen.IsEmpty()) return FALSE;
    lstrcpynW(g_WizSettings.szAudioDeviceName, chosen, 100);

    if (g_WizProduct.IsSoundCardKind()) return TRUE;

    WaitForFilterRegistration();
    const bool viaVideo = CCaptureDevice::HasAudioPin(chosen) != FALSE;
    if (!device.InitFilterGraph(m_hWnd, viaVideo ? (const wchar_t*)chosen : L"", viaVideo ? L"" : (const wchar_t*)chosen, 0))
        return FALSE;
    device.SetAnalyzerGain(TRUE, g_WizSettings.nLevel / 10.0f);
    device.SetStartMute(100, 0.1f);
    return device.StartRendering();
}

CString CStep1Dlg::ReadDeviceFile()
{
    CString path;
    path.Format(L"%sDevice.txt", (const wchar_t*)g_szAppPath);
    CStdioFile file;
    CString line;
    if (file.Open(path, CFile::modeRead | CFile::shareDenyRead | CFile::typeText)) {
        file.ReadString(line);
        file.Close();
    }
    return line;
}
