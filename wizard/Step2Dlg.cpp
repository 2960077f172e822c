#include "Step2Dlg.h"
#include "AnalyzerRecord.h"
#include "AudioHelpDlg.h"
#include "CaptureDevice.h"
#include "WizGlobals.h"
#include <cwchar>

BEGIN_MESSAGE_MAP(CStep2Dlg, CNewWizPage)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_GAIN_HELP, OnHelp)
END_MESSAGE_MAP()

namespace {
const COLORREF kBlack = RGB(0, 0, 0);
}

void CStep2Dlg::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_GAIN_HELP, m_btnHelp);
    DDX_Control(dx, IDC_LEFT_GAUGE, m_leftGauge);
    DDX_Control(dx, IDC_RIGHT_GAUGE, m_rightGauge);
    DDX_Control(dx, IDC_TEXT, m_text);
    DDX_Control(dx, IDC_NOTE_LABEL, m_noteLabel);
    DDX_Control(dx, IDC_NOTE_TEXT, m_noteText);
    DDX_Control(dx, IDC_HINT, m_hint);
}

BOOL CStep2Dlg::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    SetBackground(g_hSkinModule, 178);
    m_btnHelp.LoadBitmaps(g_hSkinModule, 140, 106, 26, false);
    m_btnHelp.SetFont(WizString(102), _wtoi(WizString(126)), 700);
    m_btnHelp.SetTextColor(kBlack);
    m_btnHelp.SetHoverTextColor(kBlack);
    m_btnHelp.SetPressedTextColor(kBlack);
    m_btnHelp.SetWindowText(WizString(184));
    m_btnHelp.SetShowText(TRUE);
    PlaceControl(IDC_GAIN_HELP, 321, 328, 106, 26, nullptr);
    m_leftGauge.LoadBitmap(g_hSkinModule, 193);
    m_rightGauge.LoadBitmap(g_hSkinModule, 192);
    PlaceControl(IDC_LEFT_GAUGE, 135, 110, 213, 213, nullptr);
    PlaceControl(IDC_RIGHT_GAUGE, 403, 110, 213, 213, nullptr);
    PlaceText(m_text, 50, 20, 650, 50, m_largeFont, kBlack);
    PlaceNote(m_noteLabel, m_noteText, 55);
    PlaceText(m_hint, 50, 365, 650, 40, m_mediumFont, kBlack);
    return TRUE;
}

BOOL CStep2Dlg::OnSetActive()
{
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    ShowStep(FillFormat(WizString(149), L"2"), 2);
    m_leftGauge.Start();
    m_rightGauge.Start();
    m_leftGauge.m_fValue = -9.0f;
    m_rightGauge.m_fValue = -9.0f;
    m_nLevelTimer = SetTimer(kLevelTimer, 300);
    RegisterDeviceNotify();
    return TRUE;
}

BOOL CStep2Dlg::OnQueryClose()
{
    if (m_nLevelTimer) KillTimer(kLevelTimer);
    m_nLevelTimer = 0;
    UnregisterDeviceNotify();
    return TRUE;
}

LRESULT CStep2Dlg::OnWizardBack()
{
    CCaptureDevice& device = CaptureDevice();
    if (device.m_bInit) {
        device.StopRecord();
        device.Close();
    }
    return g_WizProduct.IsSoundCardKind() ? 203 : 129;
}

BOOL CStep2Dlg::UpdateLevels()
{
    AnalyzerRecord record = {};
    if (!CaptureDevice().GetAnalyzerData(reinterpret_cast<BYTE*>(&record))) return FALSE;
    m_leftGauge.m_fValue = NV_VolumeGauge::ValueFromLevel(record.leftLevelDb);
    m_rightGauge.m_fValue = NV_VolumeGauge::ValueFromLevel(record.rightLevelDb);
    return TRUE;
}

void CStep2Dlg::OnTimer(UINT_PTR id)
{
    if (id == kLevelTimer) UpdateLevels();
    Default();
}

void CStep2Dlg::OnHelp()
{
    CAudioHelpDlg help(this);
    help.DoModal();
}
