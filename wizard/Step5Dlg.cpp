#include "Step5Dlg.h"
#include "DiscSteps.h"
#include "DropDownList.h"
#include "NewWizDialog.h"
#include "WizGlobals.h"
#include "WizSettings.h"

BEGIN_MESSAGE_MAP(CStep5Dlg, CNewWizPage)
    ON_WM_TIMER()
    ON_CBN_SELCHANGE(IDC_WRITERS, OnWriterChanged)
    ON_BN_CLICKED(IDC_AUDIO_CD, OnAudioCd)
    ON_BN_CLICKED(IDC_MP3_CD, OnMp3Cd)
    ON_BN_CLICKED(IDC_EJECT, OnEject)
END_MESSAGE_MAP()

namespace {
const COLORREF kBlack = RGB(0, 0, 0);
}

CStep5Dlg::CStep5Dlg()
    : CNewWizPage(IDD), m_writers(g_hSkinModule, 161), m_audioCheck(g_hSkinModule, 158, 20),
      m_mp3Check(g_hSkinModule, 158, 20)
{
}

void CStep5Dlg::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_DEVICE_LABEL, m_deviceLabel);
    DDX_Control(dx, IDC_WRITERS, m_writers);
    DDX_Control(dx, IDC_EJECT, m_btnEject);
    DDX_Control(dx, IDC_HINT, m_hint);
    DDX_Control(dx, IDC_FORMAT_LABEL, m_formatLabel);
    DDX_Control(dx, IDC_AUDIO_CD, m_audioCheck);
    DDX_Control(dx, IDC_MP3_CD, m_mp3Check);
    DDX_Control(dx, IDC_AUDIO_LABEL, m_audioLabel);
    DDX_Control(dx, IDC_MP3_LABEL, m_mp3Label);
}

BOOL CStep5Dlg::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    SetBackground(g_hSkinModule, 159);
    PlaceText(m_deviceLabel, 200, 83, 500, 20, m_largeFont, kBlack);
    PlaceText(m_hint, 200, 185, 300, 20, m_mediumFont, kBlack);
    PlaceText(m_formatLabel, 200, 285, 300, 20, m_largeFont, kBlack);
    m_btnEject.LoadBitmaps(g_hSkinModule, 160, 61, 26, false);
    m_btnEject.SetFont(WizString(102), _wtoi(WizString(126)), 700);
    m_btnEject.SetTextColor(kBlack);
    m_btnEject.SetHoverTextColor(kBlack);
    m_btnEject.SetPressedTextColor(kBlack);
    m_btnEject.SetShowText(TRUE);
    PlaceControl(IDC_EJECT, 520, 109, 61, 26, nullptr);
    m_writers.SetBorderColor(RGB(128, 95, 2));
    PlaceControl(IDC_WRITERS, 210, 109, 300, 100, m_mediumFont);
    FitDropDownList(m_writers.m_hWnd);
    PlaceControl(IDC_AUDIO_CD, 211, 315, 20, 20, nullptr);
    ::SendMessageW(m_audioLabel.m_hWnd, WM_SETFONT, (WPARAM)m_mediumFont.m_hObject, FALSE);
    int w = GetTextWidth(IDC_AUDIO_LABEL);
    PlaceText(m_audioLabel, 241, 317, w, 20, m_mediumFont, kBlack);
    PlaceControl(IDC_MP3_CD, w + 261, 315, 20, 20, nullptr);
    PlaceText(m_mp3Label, w + 286, 317, 200, 20, m_mediumFont, kBlack);
    ShowOutputType();

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    CString eject = WizString(195);
    m_ToolTip.AddTool(&m_btnEject, eject.IsEmpty() ? CString(L"Eject") : eject);
    return TRUE;
}

BOOL CStep5Dlg::OnSetActive()
{
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    ShowStep(FillFormat(WizString(152), L"5"), 5);
    ShowOutputType();
    SetTimer(kFillTimer, 100);
    return TRUE;
}

void CStep5Dlg::OnTimer(UINT_PTR id)
{
    if (id == kFillTimer) {
        KillTimer(kFillTimer);
        FillWriters();
    }
    Default();
}

void CStep5Dlg::FillWriters()
{
    if (!m_pParent) return;
    CDiscBurner burner(m_pParent->DataDisc(), m_pParent->AudioCD());
    int selected = FillDriveList(m_writers, burner, g_WizSettings.strBurnDeviceName);
    if (selected >= 0) ChooseWriter(selected);
    m_writers.Invalidate();
    m_bListFilled = TRUE;
}

void CStep5Dlg::ChooseWriter(int index)
{
    if (!m_pParent || index < 0) return;
    CDiscBurner burner(m_pParent->DataDisc(), m_pParent->AudioCD());
    g_WizSettings.strBurnDeviceName = burner.ChooseDrive(index);
}

void CStep5Dlg::OnWriterChanged()
{
    ChooseWriter(m_writers.GetCurSel());
}

void CStep5Dlg::ShowOutputType()
{
    const bool mp3 = g_WizSettings.nWizOutputType == 1;
    m_audioCheck.SendMessage(BM_SETCHECK, mp3 ? BST_UNCHECKED : BST_CHECKED);
    m_mp3Check.SendMessage(BM_SETCHECK, mp3 ? BST_CHECKED : BST_UNCHECKED);
}

void CStep5Dlg::OnAudioCd()
{
    g_WizSettings.nWizOutputType = 0;
    ShowOutputType();
}

void CStep5Dlg::OnMp3Cd()
{
    g_WizSettings.nWizOutputType = 1;
    ShowOutputType();
}

void CStep5Dlg::OnEject()
{
    if (m_pParent) m_pParent->DataDisc().UnloadMedium();
}
