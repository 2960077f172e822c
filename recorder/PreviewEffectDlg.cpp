#include "PreviewEffectDlg.h"
#include "PlayerProtocol.h"

BEGIN_MESSAGE_MAP(CPreviewEffectDlg, CDialog)
    ON_BN_CLICKED(IDC_PREVIEW, OnPreview)
END_MESSAGE_MAP()

void CPreviewEffectDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SLIDER, m_slider);
}

BOOL CPreviewEffectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpSlider();
    Update();
    m_player.Launch(m_strFile, m_hWnd);
    return TRUE;
}

void CPreviewEffectDlg::OnPreview()
{
    CString caption;
    if (!m_bPreview) {
        if (!caption.LoadString(157)) caption = L"Stop";
        SetDlgItemText(IDC_PREVIEW, caption);
        m_bPreview = TRUE;
        m_player.Seek(m_fStartTime);
        m_player.Play();
    } else {
        if (!caption.LoadString(160)) caption = L"Preview";
        SetDlgItemText(IDC_PREVIEW, caption);
        m_bPreview = FALSE;
        m_player.Stop();
    }
}

void CPreviewEffectDlg::OnOK()
{
    m_player.Close();
    CDialog::OnOK();
}

void CPreviewEffectDlg::OnCancel()
{
    m_player.Close();
    CDialog::OnCancel();
}

LRESULT CPreviewEffectDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PLAYER_STATUS:
        if (wParam == 0) {
            if (m_player.FindPlayer()) OpenPreviewGraph();
        } else {
            m_player.ForgetPlayer();
        }
        return 0;
    case WM_PLAYER_ENDED: {
        CString caption;
        if (!caption.LoadString(160)) caption = L"Preview";
        SetDlgItemText(IDC_PREVIEW, caption);
        m_bPreview = FALSE;
        return 0;
    }
    case WM_HSCROLL:
        if ((HWND)lParam == m_slider.m_hWnd) {
            UINT code = LOWORD(wParam);
            // Released, moved by a key or set to a position; not on every drag step.
            if (code != TB_THUMBTRACK) Update();
            return 0;
        }
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
