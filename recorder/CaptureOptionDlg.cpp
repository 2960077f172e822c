#include "CaptureOptionDlg.h"
#include "CaptureDeviceEvents.h"
#include "FolderBrowser.h"
#include "PageCapture.h"
#include "RecorderCaptureDevice.h"
#include "Registry.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "WaitCursor.h"

namespace {

const CCaptureOptionDlg::FormatRecord kFormats[] = {{44100, 1, 16}, {44100, 2, 16}, {48000, 1, 16}, {48000, 2, 16}};

bool IsVideoEntry(const CComboBox& combo, int index)
{
    return index >= 0 && combo.GetItemData(index) == 1;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCaptureOptionDlg, CDialog)
    ON_BN_CLICKED(IDC_CHOOSE_FOLDER, OnChooseFolder)
    ON_BN_CLICKED(IDC_PROPERTIES, OnDeviceProperties)
    ON_CBN_CLOSEUP(IDC_DEVICE, OnDeviceChosen)
    ON_WM_CLOSE()
    ON_CBN_CLOSEUP(IDC_FORMAT, OnFormatChosen)
    ON_BN_CLICKED(IDC_NOISE, OnNoiseReduction)
END_MESSAGE_MAP()

CCaptureOptionDlg::CCaptureOptionDlg(CWnd* ownerPage) : CDialog(IDD, ownerPage), m_pOwnerPage(ownerPage) {}

CCaptureOptionDlg::~CCaptureOptionDlg()
{
    if (m_hDeviceNotify) UnregisterDeviceNotification(m_hDeviceNotify);
}

void CCaptureOptionDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_NOISE_LEVEL, m_noiseLevel);
    DDX_Control(dx, IDC_NOISE, m_noise);
    DDX_Control(dx, IDC_FOLDER, m_folder);
    DDX_Control(dx, IDC_PREFIX, m_prefix);
    DDX_Control(dx, IDC_DEVICE, m_device);
    DDX_Control(dx, IDC_FORMAT, m_format);
}

BOOL CCaptureOptionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_folder.SetWindowText(g_Settings.szRecordFolder);
    m_prefix.SetWindowText(g_Settings.szPrefixName);
    m_prefix.SetLimitText(26);
    FillDevices();
    FillFormats();

    m_noise.SetCheck(g_Settings.bNoiseReduction ? BST_CHECKED : BST_UNCHECKED);
    m_noiseLevel.EnableWindow(g_Settings.bNoiseReduction);
    m_noiseLevel.SetRange(0, 300, TRUE);
    // The template asks for automatic ticks: every 50, not at each of the 301 positions.
    m_noiseLevel.SetTicFreq(50);
    m_noiseLevel.SetPos((int)g_Settings.fNoiseReductionValue);
    ApplyNoiseLevel();

    CWnd* webStream = GetDlgItem(IDC_WEB_STREAM);
    if (webStream) {
        webStream->ShowWindow(SONELLE_PRODUCT_KIND == 5 ? SW_HIDE : SW_SHOW);
        webStream->EnableWindow(TRUE);
        webStream->SendMessage(BM_SETCHECK, g_Settings.bAudioStreamRender ? BST_UNCHECKED : BST_CHECKED);
    }
    m_prefix.SetTipParent(this);
    m_hDeviceNotify = RegisterCaptureDeviceEvents(m_hWnd);
    return TRUE;
}

void CCaptureOptionDlg::FillDevices()
{
    m_device.ResetContent();
    wchar_t names[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
    int count = CCaptureDevice::GetAudioDeviceNames(names);
    for (int i = 0; i < count; ++i) m_device.SetItemData(m_device.AddString(names[i]), 0);
    count = CCaptureDevice::GetVideoDeviceNames(names);
    for (int i = 0; i < count; ++i)
        if (CCaptureDevice::HasAudioPin(names[i])) m_device.SetItemData(m_device.AddString(names[i]), 1);
    int selected = 0;
    for (int i = 0; i < m_device.GetCount(); ++i) {
        CString text;
        m_device.GetLBText(i, text);
        if (wcscmp(text, g_Settings.szAudioDeviceName) == 0) {
            selected = i;
            break;
        }
    }
    m_device.SetCurSel(m_device.GetCount() ? selected : -1);
}

void CCaptureOptionDlg::FillFormats()
{
    FreeFormats();
    for (const FormatRecord& f : kFormats) {
        CString text;
        text.Format(L"%dHz  %dbit  %s", f.rate, f.bits, f.channels == 1 ? L"Mono" : L"Stereo");
        int index = m_format.AddString(text);
        m_format.SetItemData(index, (DWORD_PTR)new FormatRecord(f));
    }
    m_format.SetCurSel(0);
    for (int i = 0; i < m_format.GetCount(); ++i) {
        const FormatRecord* f = (const FormatRecord*)m_format.GetItemData(i);
        if (f && (DWORD)f->rate == g_Settings.nSamplerate && (DWORD)f->channels == g_Settings.nChannel &&
            (DWORD)f->bits == g_Settings.nBitsPerSample)
            m_format.SetCurSel(i);
    }
}

void CCaptureOptionDlg::FreeFormats()
{
    if (!m_format.m_hWnd) return;
    for (int i = 0; i < m_format.GetCount(); ++i) {
        delete (FormatRecord*)m_format.GetItemData(i);
        m_format.SetItemData(i, 0);
    }
    m_format.ResetContent();
}

void CCaptureOptionDlg::ApplyNoiseLevel()
{
    int p = m_noiseLevel.GetPos();
    g_Settings.fNoiseReductionValue = (float)p;
    CString text;
    text.Format(L"%3.1f", p / 10.0 - 15.0);
    SetDlgItemText(IDC_NOISE_TEXT, text);
    g_CaptureDevice.SetNoiseReduction(g_Settings.bNoiseReduction != 0, p / 10.0f);
}

void CCaptureOptionDlg::OnNoiseReduction()
{
    g_Settings.bNoiseReduction = m_noise.GetCheck() == BST_CHECKED;
    m_noiseLevel.EnableWindow(g_Settings.bNoiseReduction);
    g_CaptureDevice.SetNoiseReduction(g_Settings.bNoiseReduction, g_Settings.fNoiseReductionValue / 10.0f);
}

void CCaptureOptionDlg::OnDeviceChosen()
{
    int index = m_device.GetCurSel();
    if (index < 0) return;
    CString name;
    m_device.GetLBText(index, name);
    bool video = IsVideoEntry(m_device, index);
    CWaitCursor wait;
    int renderMode = g_Settings.bAudioStreamRender ? 1 : 2;
    HWND owner = m_pOwnerPage ? m_pOwnerPage->m_hWnd : m_hWnd;
    BOOL opened = video ? g_CaptureDevice.ResetDevice(owner, name, L"", renderMode)
                        : g_CaptureDevice.ResetDevice(owner, L"", name, renderMode);
    if (opened && g_CaptureDevice.m_bInit) {
        if (m_pOwnerPage) {
            m_pOwnerPage->KillTimer(CPageCapture::TIMER_LEVEL);
            m_pOwnerPage->SetTimer(CPageCapture::TIMER_LEVEL, 500);
        }
        lstrcpynW(g_Settings.szAudioDeviceName, name, 100);
        return;
    }
    CString text;
    text.LoadString(111);
    ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_ICONERROR);
}

void CCaptureOptionDlg::OnFormatChosen()
{
    int index = m_format.GetCurSel();
    const FormatRecord* f = index >= 0 ? (const FormatRecord*)m_format.GetItemData(index) : nullptr;
    if (!f) return;
    g_Settings.nSamplerate = (DWORD)f->rate;
    g_Settings.nChannel = (DWORD)f->channels;
    g_Settings.nBitsPerSample = (DWORD)f->bits;
}

void CCaptureOptionDlg::OnWebStreamChanged()
{
    CWnd* box = GetDlgItem(IDC_WEB_STREAM);
    if (!box) return;
    g_Settings.bAudioStreamRender = box->SendMessage(BM_GETCHECK) == BST_CHECKED ? 0 : 1;
    CWaitCursor wait;
    int renderMode = g_Settings.bAudioStreamRender ? 1 : 2;
    HWND owner = m_pOwnerPage ? m_pOwnerPage->m_hWnd : m_hWnd;
    if (IsVideoEntry(m_device, m_device.GetCurSel()))
        g_CaptureDevice.ResetDevice(owner, g_Settings.szAudioDeviceName, L"", renderMode);
    else
        g_CaptureDevice.ResetDevice(owner, L"", g_Settings.szAudioDeviceName, renderMode);
}

void CCaptureOptionDlg::OnDeviceProperties()
{
    if (IsVideoEntry(m_device, m_device.GetCurSel())) g_CaptureDevice.ShowVideoDeviceProperties();
    else g_CaptureDevice.ShowAudioDeviceProperties();
}

void CCaptureOptionDlg::OnChooseFolder()
{
    CString folder = g_Settings.szRecordFolder;
    if (folder.GetLength() > 0 && folder[folder.GetLength() - 1] == L'\\') folder = folder.Left(folder.GetLength() - 1);
    int limit = (int)m_prefix.GetLimitText();
    int maxLength = 239 - (m_prefix.GetWindowTextLength() > limit ? 2 * limit : limit);
    CString question, warning;
    question.LoadString(106);
    warning.LoadString(107);
    CPathDialog dialog(TRUE, nullptr, nullptr, folder, nullptr, maxLength, question, warning);
    if (dialog.DoModal() != 1) return;
    UseFolder(dialog.GetPathName());
}

BOOL CCaptureOptionDlg::UseFolder(const CString& chosen)
{
    BOOL canAddFolder = FALSE, canAddFile = FALSE;
    CheckFolderAccess(chosen, &canAddFolder, &canAddFile);
    if (!canAddFolder || !canAddFile) {
        CString text;
        if (!text.LoadString(201)) text = L"You do not have permissions to save in this directory.";
        text.AppendFormat(L"\r\n\r\n\"%s\"", (const wchar_t*)chosen);
        ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_ICONEXCLAMATION);
        return FALSE;
    }
    CString folder = chosen;
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\') folder += L"\\";
    RegWriteString(HKEY_CURRENT_USER, g_szRegKey, L"RecordOutFolder", folder);
    m_folder.SetWindowText(folder);
    lstrcpynW(g_Settings.szRecordFolder, folder, 260);
    return TRUE;
}

void CCaptureOptionDlg::OnOK()
{
    CString prefix;
    m_prefix.GetWindowText(prefix);
    lstrcpynW(g_Settings.szPrefixName, prefix, 260);
    g_Settings.bNoiseReduction = m_noise.GetCheck() == BST_CHECKED;
    g_Settings.fNoiseReductionValue = (float)m_noiseLevel.GetPos();
    FreeFormats();
    EndDialog(IDOK);
}

void CCaptureOptionDlg::OnCancel()
{
    FreeFormats();
    EndDialog(IDCANCEL);
}

BOOL CCaptureOptionDlg::PreTranslateMessage(MSG* msg)
{
    BOOL handled = CDialog::PreTranslateMessage(msg);
    if (m_noiseLevel.m_hWnd && msg->hwnd == m_noiseLevel.m_hWnd &&
        (msg->message == WM_LBUTTONUP || msg->message == WM_KEYDOWN))
        ApplyNoiseLevel();
    return handled;
}

LRESULT CCaptureOptionDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_WEB_STREAM) {
            OnWebStreamChanged();
            return 1;
        }
        break;
    case WM_HSCROLL:
        if ((HWND)lParam == m_noiseLevel.m_hWnd && LOWORD(wParam) == SB_THUMBPOSITION) ApplyNoiseLevel();
        break;
    case WM_DEVICECHANGE: {
        if (wParam != DBT_DEVICEREMOVECOMPLETE) break;
        CString identity = VidPidOfBroadcast((const DEV_BROADCAST_HDR*)lParam);
        if (!identity.IsEmpty() && g_CaptureDevice.IsSameDevice(identity)) {
            FillDevices();
            FillFormats();
            OnDeviceChosen();
        }
        break;
    }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
