#include "Step3Dlg.h"
#include "CaptureDevice.h"
#include "FolderBrowser.h"
#include "WizGlobals.h"
#include "WizSettings.h"

BEGIN_MESSAGE_MAP(CStep3Dlg, CNewWizPage)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowseFolder)
    ON_BN_CLICKED(IDC_NOISE_CHECK, OnNoiseSwitch)
    ON_MESSAGE(WM_SLIDER_TRACKING, OnSliderMessage)
    ON_MESSAGE(WM_SLIDER_RELEASED, OnSliderMessage)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
}

CStep3Dlg::CStep3Dlg() : CNewWizPage(IDD), m_noiseCheck(g_hSkinModule, 180, 24) {}

void CStep3Dlg::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_NOISE_CHECK, m_noiseCheck);
    DDX_Control(dx, IDC_SLIDER, m_slider);
    DDX_Control(dx, IDC_FOLDER, m_folder);
    DDX_Control(dx, IDC_BROWSE, m_btnBrowse);
    DDX_Control(dx, IDC_NOISE_LABEL, m_noiseLabel);
    DDX_Control(dx, IDC_LESS, m_less);
    DDX_Control(dx, IDC_MORE, m_more);
    DDX_Control(dx, IDC_LEVEL_TEXT, m_levelText);
    DDX_Control(dx, IDC_FOLDER_LABEL, m_folderLabel);
}

BOOL CStep3Dlg::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    SetBackground(g_hSkinModule, 179);
    PlaceControl(IDC_NOISE_CHECK, 270, 83, 24, 24, nullptr);
    PlaceText(m_noiseLabel, 300, 86, 340, 36, m_largeFont, kWhite);
    PlaceText(m_less, 38, 135, 100, 20, m_mediumFont, kBlack);
    m_slider.SetChannelBitmaps(g_hSkinModule, 147, 148, FALSE);
    m_slider.SetThumbBitmaps(g_hSkinModule, 146, 146, TRUE, 0xFF000000, 0, 0);
    PlaceControl(IDC_SLIDER, 144, 132, 461, 24, nullptr);
    PlaceText(m_more, 612, 135, 100, 20, m_mediumFont, kBlack);
    PlaceText(m_levelText, 343, 115, 60, 15, m_mediumFont, kBlack);
    PlaceText(m_folderLabel, 310, 236, 340, 36, m_largeFont, kWhite);
    m_folder.RecreateWithStyle(WS_HSCROLL | ES_AUTOHSCROLL, 0);
    PlaceControl(IDC_FOLDER, 105, 287, 458, 15, nullptr);
    m_btnBrowse.LoadBitmaps(g_hSkinModule, 144, 61, 26, false);
    PlaceControl(IDC_BROWSE, 581, 282, 61, 26, nullptr);
    return TRUE;
}

BOOL CStep3Dlg::OnSetActive()
{
    ShowStep(FillFormat(WizString(150), L"3"), 3);
    WizSettings& s = g_WizSettings;
    if (s.bNoiseReduction < 0) s.bNoiseReduction = 0;
    if (s.nNoiseReductionValue < 0) s.nNoiseReductionValue = 0;
    m_slider.SetRange(0, 300, FALSE);
    m_noiseCheck.SendMessage(BM_SETCHECK, s.bNoiseReduction ? 1 : 0);
    m_slider.SetPos(s.nNoiseReductionValue);
    m_slider.Enable(s.bNoiseReduction);
    m_folder.SetWindowText(s.strRecordFolder);
    UpdateNoiseLevel();
    RegisterDeviceNotify();
    return TRUE;
}

BOOL CStep3Dlg::OnQueryClose()
{
    WizSettings& s = g_WizSettings;
    s.bNoiseReduction = m_noiseCheck.SendMessage(BM_GETCHECK) == BST_CHECKED;
    s.nNoiseReductionValue = m_slider.GetPos();
    wchar_t folder[260] = {};
    ::GetWindowTextW(m_folder.m_hWnd, folder, 260);
    s.strRecordFolder = folder;
    UnregisterDeviceNotify();
    return TRUE;
}

void CStep3Dlg::UpdateNoiseLevel()
{
    int value = m_slider.GetPos();
    float level = value / 10.0f;
    CString text;
    text.Format(L"%3.1f", level - 15.0f);
    m_levelText.SetText(text);
    g_WizSettings.nNoiseReductionValue = value;
    CaptureDevice().SetNoiseReduction(g_WizSettings.bNoiseReduction, level);
}

LRESULT CStep3Dlg::OnSliderMessage(WPARAM wParam, LPARAM)
{
    if (wParam == IDC_SLIDER) UpdateNoiseLevel();
    return 0;
}

void CStep3Dlg::OnNoiseSwitch()
{
    g_WizSettings.bNoiseReduction = m_noiseCheck.SendMessage(BM_GETCHECK) == BST_CHECKED;
    m_slider.Enable(g_WizSettings.bNoiseReduction);
    CaptureDevice().SetNoiseReduction(g_WizSettings.bNoiseReduction, g_WizSettings.nNoiseReductionValue / 10.0f);
}

void CStep3Dlg::OnPaint()
{
    Default();
    HDC dc = ::GetDC(m_hWnd);
    DrawControlFrame(dc, IDC_FOLDER, RGB(128, 95, 2));
    ::ReleaseDC(m_hWnd, dc);
}

BOOL CStep3Dlg::AcceptFolder(const CString& chosen)
{
    BOOL canAddFolder = TRUE, canAddFile = TRUE;
    CheckFolderAccess(chosen, &canAddFolder, &canAddFile);
    if (canAddFolder && canAddFile) {
        CString folder = chosen;
        if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\') folder += L"\\";
        g_WizSettings.strRecordFolder = folder;
        m_folder.SetWindowText(folder);
        return TRUE;
    }
    CString warning = WizString(186);
    if (warning.IsEmpty()) warning = L"You do not have permissions to save in this directory.";
    CString text = warning + L"\n\n\"" + chosen + L"\"";
    ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_ICONEXCLAMATION);
    return FALSE;
}

void CStep3Dlg::OnBrowseFolder()
{
    CString start = g_WizSettings.strRecordFolder;
    while (start.GetLength() > 3 && start[start.GetLength() - 1] == L'\\') start = start.Left(start.GetLength() - 1);
    CPathDialog dialog(TRUE, nullptr, nullptr, start, nullptr, 119, WizString(155), WizString(156));
    if (dialog.DoModal() != 1) return;
    AcceptFolder(dialog.GetPathName());
}
