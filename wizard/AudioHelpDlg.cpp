#include "AudioHelpDlg.h"
#include "CaptureDevice.h"
#include "WizGlobals.h"
#include "WizSettings.h"

BEGIN_MESSAGE_MAP(CAudioHelpDlg, CDialog)
    ON_WM_HSCROLL()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_PROPERTIES, OnProperties)
END_MESSAGE_MAP()

void CAudioHelpDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_LEVEL, m_level);
}

BOOL CAudioHelpDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_level.SetRange(1, 50, FALSE);
    m_level.SetPos(g_WizSettings.nLevel);
    UpdateGain();
    for (UINT id : {IDC_PROPERTIES, IDC_TEXT1, IDC_TEXT2}) {
        HWND control = ::GetDlgItem(m_hWnd, (int)id);
        if (!control) continue;
        int length = ::GetWindowTextLengthW(control);
        CString text;
        ::GetWindowTextW(control, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
        text = WithDeviceName(text);
        if (id == IDC_TEXT2 && g_WizProduct.IsSoundCardKind()) text += L"(e.g. PC sound card)";
        ::SetWindowTextW(control, text);
    }
    return TRUE;
}

void CAudioHelpDlg::UpdateGain()
{
    g_WizSettings.nLevel = m_level.GetPos();
    float gain = g_WizSettings.nLevel / 10.0f;
    CaptureDevice().SetAnalyzerGain(TRUE, gain);
    CString text;
    text.Format(L"%3.1f", gain);
    SetDlgItemText(IDC_GAIN_TEXT, text);
}

BOOL CAudioHelpDlg::PreTranslateMessage(MSG* msg)
{
    BOOL handled = CDialog::PreTranslateMessage(msg);
    if ((msg->message == WM_LBUTTONUP || msg->message == WM_KEYDOWN) && msg->hwnd == m_level.m_hWnd) UpdateGain();
    return handled;
}

void CAudioHelpDlg::OnHScroll(UINT code, UINT, CScrollBar*)
{
    // The end of every drag, click or key also counts: the level follows the keys
    // without lagging one press behind.
    if (code == SB_THUMBPOSITION || code == SB_ENDSCROLL) UpdateGain();
}

void CAudioHelpDlg::OnProperties()
{
    CaptureDevice().ShowAudioDeviceProperties();
}

HBRUSH CAudioHelpDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    HBRUSH brush = CDialog::OnCtlColor(dc, wnd, kind);
    if (kind == CTLCOLOR_STATIC && wnd && wnd->m_hWnd) {
        int id = ::GetDlgCtrlID(wnd->m_hWnd);
        if (id == IDC_BLUE1 || id == IDC_BLUE2) ::SetTextColor(dc->m_hDC, RGB(0, 64, 255));
    }
    return brush;
}
