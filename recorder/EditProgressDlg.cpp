#include "EditProgressDlg.h"
#include "SkinIds.h"
#include "SonelleGlobals.h"

BEGIN_MESSAGE_MAP(CEditProgressDlg, CDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CEditProgressDlg::CEditProgressDlg(UINT nameId) : CDialog(IDD)
{
    m_strName.LoadString(nameId);
}

void CEditProgressDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
    DDX_Control(dx, IDC_STATUS, m_status);
}

BOOL CEditProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_progress.SetRange(0, 100);
    HINSTANCE skin = g_hSkinModule;
    if (!m_background.Load(skin, IDB_PROGRESS_BACK)) m_background.Load(GetModuleHandleW(nullptr), IDB_PROGRESS_BACK);
    m_progress.LoadBitmap(skin, IDB_PROGRESS_BAR);
    m_progress.SetStyle(2);
    CString face, height;
    if (!face.LoadString(145)) face = L"Arial";
    int size = height.LoadString(150) ? _wtoi(height) : 12;
    m_btnCancel.LoadBitmaps(skin, IDB_PROGRESS_CANCEL, 91, 26, false);
    m_btnCancel.SetFont(face, size ? size : 12, 700);
    m_btnCancel.SetShowText(TRUE);
    m_btnCancel.SetTextColor(RGB(10, 10, 10));
    if (m_font.CreateFont(-(size ? size : 12), 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0, face))
        m_status.SendMessage(WM_SETFONT, (WPARAM)m_font.m_hObject, FALSE);

    // At the screen position of the dialog's own client point (270, 250), sized to its picture.
    POINT at = {270, 250};
    ::ClientToScreen(m_hWnd, &at);
    SIZE size2 = m_background.IsLoaded() ? m_background.GetSize() : SIZE{467, 76};
    ::SetWindowPos(m_hWnd, nullptr, at.x, at.y, size2.cx, size2.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    ::MoveWindow(m_status.m_hWnd, 14, 6, 437, 20, FALSE);
    ::MoveWindow(m_progress.m_hWnd, 14, 38, 341, 26, FALSE);
    ::MoveWindow(m_btnCancel.m_hWnd, 362, 38, 91, 26, FALSE);
    ShowPercent(0);
    return TRUE;
}

void CEditProgressDlg::ShowPercent(int p)
{
    if (p == m_nLastPercent) return;
    m_nLastPercent = p;
    m_progress.SetValue(p);
    CString text;
    text.Format(L"%s  -  %d %%", (const wchar_t*)m_strName, p);
    m_status.SetWindowText(text);
}

void CEditProgressDlg::OnCancel()
{
    CString format, question;
    if (!format.LoadString(154)) format = L"Do you want to disable \"%s\"?";
    question.Format(format, (const wchar_t*)m_strName);
    if (::MessageBoxW(m_hWnd, question, g_szWindowTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) OnCancelConfirmed();
}

void CEditProgressDlg::OnLButtonDown(UINT, CPoint)
{
    // The borderless dialog is dragged by its body.
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

HBRUSH CEditProgressDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    HBRUSH brush = m_background.GetBrush();
    if (!brush) return CDialog::OnCtlColor(dc, wnd, kind);
    if (wnd && kind != CTLCOLOR_DLG) {
        CRect dialog, control;
        GetWindowRect(&dialog);
        wnd->GetWindowRect(&control);
        SetBrushOrgEx(dc->m_hDC, dialog.left - control.left, dialog.top - control.top, nullptr);
    }
    dc->SetBkMode(TRANSPARENT);
    if (wnd && wnd->GetDlgCtrlID() == IDC_STATUS) dc->SetTextColor(RGB(254, 254, 1));
    return brush;
}
