#include "Step6Dlg.h"
#include "AudioFileChooser.h"
#include "ConvertFile.h"
#include "DiscSteps.h"
#include "LogFile.h"
#include "Mp3Info.h"
#include "NewWizDialog.h"
#include "PathUtil.h"
#include "PublishFileAdd.h"
#include "PublishItemCheck.h"
#include "PublishConversion.h"
#include "PublishMessages.h"
#include "PublishNames.h"
#include "PublishRowConversion.h"
#include "PublishTags.h"
#include "Registry.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include <dbt.h>
#include <shellapi.h>
#include <cwchar>

BEGIN_MESSAGE_MAP(CStep6Dlg, CNewWizPage)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_BURN, OnBurnClicked)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnListItemChanged)
    ON_WM_TIMER()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const DWORD kReserveKB = 51200;

// A string of the burn-text module (empty without it).
CString BurnText(UINT id)
{
    if (!g_hBurnTextModule) return CString();
    wchar_t buffer[512] = {};
    LoadStringW(g_hBurnTextModule, id, buffer, 512);
    return buffer;
}

// A text used as a printf format, filled with the given numbers.
CString FormatNumbers(const CString& format, double a, double b)
{
    wchar_t buffer[1024] = {};
    _snwprintf(buffer, 1023, format, a, b);
    return buffer;
}
CString FormatCounts(const CString& format, int a, int b)
{
    wchar_t buffer[1024] = {};
    _snwprintf(buffer, 1023, format, a, b);
    return buffer;
}

DiscStepTexts WizardDiscTexts()
{
    DiscStepTexts texts;
    texts.title = g_szWindowTitle;
    texts.notReady = 167;
    texts.notCompatible = 168;
    texts.notWritable = 180;
    texts.tooSmall = 169;
    texts.burnFailed = 170;
    texts.burned = 172;
    return texts;
}

// The audio-CD failures name the installation folder as their title; with the
// burn-text module they say its string 1 instead.
DiscStepTexts AudioFailureTexts()
{
    DiscStepTexts texts = WizardDiscTexts();
    texts.failedTitle = g_szAppPath;
    texts.failedText = BurnText(1);
    return texts;
}

}  // namespace

CStep6Dlg::CStep6Dlg() : CNewWizPage(IDD), m_list(WizardBurnColumns, false), m_converter(new CConvertFile) {}

CStep6Dlg::~CStep6Dlg() = default;

void CStep6Dlg::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_ALBUM_LABEL, m_albumLabel);
    DDX_Control(dx, IDC_ALBUM, m_album);
    DDX_Control(dx, IDC_ADD, m_btnAdd);
    DDX_Control(dx, IDC_REMOVE, m_btnRemove);
    DDX_Control(dx, IDC_LIST, m_list);
    DDX_Control(dx, IDC_SIZE_METER, m_sizeMeter);
    DDX_Control(dx, IDC_SIZE_TEXT, m_sizeText);
    DDX_Control(dx, IDC_STATUS, m_status);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
    DDX_Control(dx, IDC_PERCENT, m_percent);
    DDX_Control(dx, IDC_BURN, m_btnBurn);
}

BOOL CStep6Dlg::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    SetBackground(g_hSkinModule, 163);
    m_btnAdd.LoadBitmaps(g_hSkinModule, 166, 61, 26, false);
    m_btnRemove.LoadBitmaps(g_hSkinModule, 164, 61, 26, false);
    m_btnBurn.LoadBitmaps(g_hSkinModule, 165, 158, 43, false);
    m_btnBurn.SetFont(WizString(102), _wtoi(WizStringOr(104, L"16")), 700);
    m_btnBurn.SetTextColor(RGB(192, 192, 192));
    // The orange hover and pressed faces take a dark caption, as the other steps' buttons do.
    m_btnBurn.SetHoverTextColor(kBlack);
    m_btnBurn.SetPressedTextColor(kBlack);
    m_btnBurn.SetWindowText(WizStringOr(185, L"Burn"));
    m_btnBurn.SetShowText(TRUE);
    PlaceControl(IDC_ADD, 548, 32, 61, 26, nullptr);
    PlaceControl(IDC_REMOVE, 613, 32, 61, 26, nullptr);
    PlaceControl(IDC_BURN, 75, 310, 158, 43, nullptr);
    ::SendMessageW(m_albumLabel.m_hWnd, WM_SETFONT, (WPARAM)m_largeFont.m_hObject, FALSE);
    int w = GetTextWidth(IDC_ALBUM_LABEL);
    PlaceText(m_albumLabel, 80, 36, w, 20, m_largeFont, kBlack);
    PlaceControl(IDC_ALBUM, w + 90, 40, 260, 15, nullptr);
    PlaceText(m_sizeText, 570, 255, 150, 20, m_smallFont, kBlack);
    PlaceText(m_status, 260, 305, 350, 20, m_smallFont, kBlack);
    PlaceText(m_percent, 610, 305, 60, 20, m_smallFont, kBlack);
    PlaceControl(IDC_LIST, 80, 68, 589, 174, nullptr);
    m_sizeMeter.LoadBitmap(g_hSkinModule, 175);
    m_sizeMeter.SetStyle(3);
    m_sizeMeter.SetRangeEx(1, 1000, 700);
    m_sizeMeter.EnableWindow(FALSE);
    PlaceControl(IDC_SIZE_METER, 80, 256, 479, 7, nullptr);
    m_progress.LoadBitmap(g_hSkinModule, 176);
    m_progress.SetStyle(2);
    m_progress.SetRange(1, 100);
    m_progress.EnableWindow(FALSE);
    PlaceControl(IDC_PROGRESS, 248, 327, 422, 26, nullptr);
    m_album.SendMessage(EM_LIMITTEXT, 30);
    m_album.SetTipParent(AfxGetMainWnd());

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    m_ToolTip.AddTool(&m_btnAdd, WizStringOr(196, L"Add Tracks"));
    m_ToolTip.AddTool(&m_btnRemove, WizStringOr(197, L"Remove Tracks"));
    return TRUE;
}

CDiscBurner& CStep6Dlg::Burner()
{
    if (!m_burner) m_burner.reset(new CDiscBurner(m_pParent->DataDisc(), m_pParent->AudioCD()));
    return *m_burner;
}

bool CStep6Dlg::IsMp3Cd() const
{
    return g_WizSettings.nWizOutputType == 1;
}

BOOL CStep6Dlg::OnSetActive()
{
    ShowStep(FillFormat(WizString(153), L"6"), 6);
    m_strAlbumFolder = g_WizSettings.strAlbumFolder;
    m_strAlbumName = g_WizSettings.szAlbumName;
    m_strOutputFolder = RoomiestOutputFolder();
    m_album.SetWindowText(m_strAlbumName);
    // Burn only leads here when a writer exists.
    m_bWriterPresent = TRUE;
    if (m_pParent) {
        m_pParent->EnsureDiscLibrary();
        Burner().SetWriterPresent(true);
    }
    std::vector<CString> recorded = g_WizSettings.recordedFiles;
    g_WizSettings.recordedFiles.clear();
    for (const CString& file : recorded) {
        AddOneFile(file);
        m_ownRecordings.push_back(file);
    }
    m_list.SetByteRate(IsMp3Cd() ? g_WizSettings.nMp3Bitrate * 1000 / 8 : 176400);
    if (m_strAlbumName.IsEmpty()) {
        m_strAlbumName = WizStringOr(154, L"My Music");
        m_album.SetWindowText(m_strAlbumName);
    }
    m_fFreeDisc = m_pParent ? Burner().FreeDiscBytes(Kind()) : 0;
    UpdateSizes();
    RegisterDeviceNotify();
    return TRUE;
}

BOOL CStep6Dlg::OnQueryClose()
{
    lstrcpynW(g_WizSettings.szAlbumName, AlbumText(), 100);
    UnregisterDeviceNotify();
    return TRUE;
}

LRESULT CStep6Dlg::OnWizardBack()
{
    m_album.HideTip();
    return 0;
}

LRESULT CStep6Dlg::OnWizardNext()
{
    m_album.HideTip();
    return 0;
}

CString CStep6Dlg::AlbumText()
{
    wchar_t text[100] = {};
    if (m_album.m_hWnd) ::GetWindowTextW(m_album.m_hWnd, text, 100);
    return text;
}

CString CStep6Dlg::RoomiestOutputFolder()
{
    // Removable and network drives are not asked: no "insert a disk" prompt.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    wchar_t best = 0;
    DWORD bestKB = 0;
    for (wchar_t c = L'c'; c <= L'z'; ++c) {
        wchar_t root[4] = {c, L':', L'\\', 0};
        if (GetDriveTypeW(root) != DRIVE_FIXED) continue;
        wchar_t drive[3] = {c, L':', 0};
        DWORD freeKB = GetFreeDiskSpaceKB(drive);
        if (freeKB > bestKB) {
            bestKB = freeKB;
            best = c;
        }
    }
    SetErrorMode(oldMode);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    CString folder;
    if (!best || towlower(temp[0]) == best) folder = temp;
    else folder.Format(L"%c:\\", best);
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\') folder += L"\\";
    return folder;
}

// Rows

BOOL CStep6Dlg::AddOneFile(const CString& path)
{
    AddFileTexts texts;
    texts.owner = m_hWnd;
    texts.title = g_szWindowTitle;
    texts.openError = WizStringOr(166, L"Error opening file!");
    texts.copyExtension = L".mp3";
    return AddListedFile(m_list, path, texts);
}

void CStep6Dlg::AddFiles(const std::vector<CString>& paths)
{
    for (const CString& path : paths) {
        Sleep(0);
        AddOneFile(path);
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    UpdateSizes();
}

void CStep6Dlg::OnAdd()
{
    m_album.HideTip();
    const std::vector<CString> paths = ChooseAudioFiles(m_hWnd, m_strAlbumFolder);
    if (!paths.empty()) AddFiles(paths);
}

void CStep6Dlg::RemoveSelected()
{
    std::vector<CString>& recorded = g_WizSettings.recordedFiles;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        if (!(m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED)) continue;
        const PublishItemData* item = m_list.Record(row);
        if (!item) continue;
        for (size_t i = recorded.size(); i-- > 0;)
            if (_wcsicmp(recorded[i], item->UserPath()) == 0) recorded.erase(recorded.begin() + (long)i);
    }
    m_list.RemoveSelected();
    UpdateSizes();
}

void CStep6Dlg::OnRemove()
{
    RemoveSelected();
}

void CStep6Dlg::OnListItemChanged(NMHDR*, LRESULT* result)
{
    UpdateSizes();
    *result = 0;
}

void CStep6Dlg::UpdateSizes()
{
    if (!m_hWnd) return;
    const double projected = m_list.GetTotalSize();
    CString text;
    text.Format(L"%5.1f / %5.1fMB", projected / 1048576.0, m_fFreeDisc / 1048576.0);
    m_sizeText.SetText(text);
    m_sizeMeter.SetRangeEx(1, 1000, (int)(m_fFreeDisc / 1048576.0));
    m_sizeMeter.SetValue((int)(projected / 1048576.0));
}

void CStep6Dlg::OnPaint()
{
    Default();
    HDC dc = ::GetDC(m_hWnd);
    DrawControlFrame(dc, IDC_ALBUM, RGB(128, 95, 2));
    ::ReleaseDC(m_hWnd, dc);
}

// Burn

void CStep6Dlg::OnBurnClicked()
{
    m_album.HideTip();
    if (m_bBusy) {
        StopBurn();
        SetBusyState(BusyIdle);
    } else {
        SetBusyState(StartBurn() ? BusyConverting : BusyIdle);
    }
}

std::vector<double> CStep6Dlg::OutputBytes() const
{
    std::vector<double> bytes;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const PublishItemData* item = m_list.Record(row);
        if (item && const_cast<CPublishListCtrl&>(m_list).GetCheck(row)) bytes.push_back(item->playTime * m_list.GetByteRate());
    }
    return bytes;
}

BOOL CStep6Dlg::StartBurn()
{
    const int type = g_WizSettings.nWizOutputType;
    if (type != 0 && type != 1) return FALSE;
    const bool audio = type == 0;

    ItemCheckPrompts prompts;
    prompts.owner = m_hWnd;
    prompts.title = g_szWindowTitle;
    prompts.noFileId = 174;
    // Split recordings often end in a short file: a refusal always says why.
    prompts.shortTracks = [this](const std::vector<int>&) {
        CString module = BurnText(15);
        if (!module.IsEmpty())
            return ::MessageBoxW(m_hWnd, FormatNumbers(module, 4.0, 4.0), g_szWindowTitle, MB_RETRYCANCEL | MB_ICONSTOP) ==
                   IDRETRY;
        ::MessageBoxW(m_hWnd, FormatNumbers(WizString(205), 4.0, 4.0), g_szWindowTitle, MB_ICONSTOP);
        return false;
    };
    prompts.tooManyTracks = [this](int checked) {
        CString module = BurnText(14);
        CString format = module.IsEmpty() ? WizString(206) : module;
        ::MessageBoxW(m_hWnd, FormatCounts(format, 99, checked - 99), g_szWindowTitle, MB_ICONSTOP);
    };
    if (!CheckItems(m_list, audio, prompts)) return FALSE;
    UpdateSizes();

    if (!m_bWriterPresent) {
        ::MessageBoxW(m_hWnd, WizStringOr(167, L"Device or disc not ready. Please check and try again."), g_szWindowTitle,
                      MB_ICONSTOP);
        return FALSE;
    }
    const double projected = m_list.GetTotalSize();
    if ((double)GetFreeDiskSpaceKB(m_strOutputFolder) < (double)(long long)(projected / 1024) + kReserveKB) {
        ::MessageBoxW(m_hWnd, WizStringOr(158, L"Hard disk is full."), g_szWindowTitle, MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_strAlbumName = AlbumText();
    if (!publish::IsValidName(m_strAlbumName.str())) {
        ::MessageBoxW(m_hWnd, WizStringOr(175, L"Cannot use the album name.  Please use different name."), g_szWindowTitle,
                      MB_ICONSTOP);
        return FALSE;
    }
    m_strAlbumPath = m_strOutputFolder + m_strAlbumName + L"\\";
    m_bMadeAlbumPath = !PathIsFolder(m_strAlbumPath) && CreateDirectoryW(m_strAlbumPath, nullptr);
    if (!CheckDisc(m_hWnd, Burner(), Kind(), OutputBytes(), WizardDiscTexts())) {
        DeleteConverted();
        return FALSE;
    }

    m_convertList.clear();
    m_nCurrentRow = 0;
    m_bConversionDone = FALSE;
    m_btnBurn.SetWindowText(WizStringOr(182, L"Stop"));
    m_btnBurn.Invalidate();
    m_bBusy = TRUE;
    Mp3OutputSettings mp3;
    mp3.bitrate = g_WizSettings.nMp3Bitrate;
    mp3.sampleRate = g_WizSettings.nMp3SampleRate;
    mp3.channels = g_WizSettings.nMp3Channel;
    m_converter->SetMp3Settings(mp3);
    ConvertFrom(0);
    return m_bBusy;
}

void CStep6Dlg::ConvertFrom(int firstRow)
{
    RowConversion steps;
    steps.converting = WizStringOr(176, L"Convert :");
    steps.failedText = WizStringOr(177, L"File conversion error.");
    steps.start = [this](int row, PublishItemData&) {
        m_nCurrentRow = row;
        return ConvertRow(row);
    };
    steps.status = [this](const CString& text) { SetStatus(text); };
    if (StartNextRowConversion(m_list, firstRow, steps) < 0) FinishConversion();
}

bool CStep6Dlg::IsOwnRecording(const CString& path) const
{
    for (const CString& recorded : m_ownRecordings)
        if (_wcsicmp(recorded, path) == 0) return true;
    return false;
}

BOOL CStep6Dlg::ConvertRow(int row)
{
    PublishItemData* item = m_list.Record(row);
    m_strCurrentOutput.Empty();
    KillTimer(kConvertTimer);
    const bool mp3 = IsMp3Cd();
    // An MP3 CD takes MP3 files as they are.
    if (mp3 && item->kind == PublishKindFile && CMp3Info().ReadMpegInfo(item->sourcePath)) {
        m_convertList.push_back({0, item->sourcePath});
        // Written as it is. Only the wizard's own recordings take the album's tag;
        // a file the user added keeps its own (nothing is written into it).
        if (IsOwnRecording(item->sourcePath)) m_strCurrentOutput = item->sourcePath;
        SetTimer(kUnchangedTimer, 100);
        return TRUE;
    }
    std::wstring name = publish::OutputFileName(m_strAlbumPath.str(), item->rowIndex, item->trackName.str(),
                                                m_list.GetFileTitle(row).str(), mp3 ? L".mp3" : L".wav");
    // A conversion never replaces a file that is already there, nor a source.
    std::vector<CString> made;
    for (const CConvertFilelist& entry : m_convertList)
        if (entry.converted == 1) made.push_back(entry.path);
    const CString output = StartItemConversion(*m_converter, m_hWnd, *item, name, mp3, [&](const std::wstring& n) {
                               return OutputNameTaken(m_list, made, n);
                           }).c_str();
    if (output.IsEmpty()) return FALSE;
    m_convertList.push_back({1, output});
    if (mp3) m_strCurrentOutput = output;
    SetTimer(kConvertTimer, 500);
    return TRUE;
}

void CStep6Dlg::OnConvertEvent()
{
    const long result = m_converter->WaitForCompletion();
    if (!m_bBusy || m_bConversionDone) return;
    if (result == 1) {
        SetProgress(100);
        m_converter->Close();
        if (!m_strCurrentOutput.IsEmpty()) WriteTags(m_list, m_nCurrentRow, m_strAlbumName, m_strCurrentOutput, CString());
        ConvertFrom(m_nCurrentRow + 1);
    } else if (result == 3) {
        // What a failed conversion left is not written to the disc.
        m_converter->Close();
        if (!m_convertList.empty() && m_convertList.back().converted == 1) {
            DeleteFileW(m_convertList.back().path);
            m_convertList.pop_back();
        }
        ConvertFrom(m_nCurrentRow + 1);
    }
}

void CStep6Dlg::FinishConversion()
{
    m_converter->Close();
    KillTimer(kConvertTimer);
    m_bConversionDone = TRUE;
    std::vector<CString> files;
    std::vector<double> bytes;
    for (const CConvertFilelist& entry : m_convertList) {
        files.push_back(entry.path);
        bytes.push_back(double(FileSizeBytes(entry.path)));
    }
    SetStatus(WizStringOr(179, L"Waiting ..."));
    BOOL started = FALSE;
    if (!files.empty()) {
        if (IsMp3Cd()) {
            started = BurnDataDisc(m_hWnd, Burner(), files, bytes, m_strAlbumName, WizardDiscTexts());
            if (started) SetTimer(kDataTimer, 100);
        } else {
            // The burn-option tool may have changed the write mode since the start.
            DWORD mode = (DWORD)g_WizSettings.nBurnMode;
            if (RegReadDword(HKEY_CURRENT_USER, g_szRegKey, L"BurnMode", mode, mode)) g_WizSettings.nBurnMode = (int)mode;
            if (CheckDisc(m_hWnd, Burner(), BurnKindAudio, bytes, WizardDiscTexts())) {
                started = BurnAudioDisc(m_hWnd, Burner(), files, bytes, (unsigned char)(g_WizSettings.nBurnMode & 0xFF),
                                        AudioFailureTexts());
                if (started) SetTimer(kAudioTimer, 100);
                else if (g_hBurnTextModule) OpenBurnOptions();
            }
        }
    }
    if (started) {
        SetBusyState(BusyWriting);
        return;
    }
    StopBurn();
    SetBusyState(BusyIdle);
}

void CStep6Dlg::ShowBurnProgress(BurnKind kind)
{
    ShowBurnFigures(Burner().Progress(kind));
}

// The percentage and the megabytes always come from one reading.
void CStep6Dlg::ShowBurnFigures(const BurnProgress& progress)
{
    SetProgress(progress.percent);
    SetStatus(BurnProgressText(WizStringOr(171, L"CD Burning :   "), progress));
}

void CStep6Dlg::OnBurnDone(int status, BurnKind kind)
{
    KillTimer(kind == BurnKindData ? kDataTimer : kAudioTimer);
    if (status != 1) ShowBurnFigures(Burner().Completed(kind));
    const bool options = status == 1 && kind == BurnKindAudio && g_hBurnTextModule;
    ReportBurnEnd(m_hWnd, Burner(), kind, status, options ? AudioFailureTexts() : WizardDiscTexts());
    if (options) OpenBurnOptions();
    AfterWriting();
}

void CStep6Dlg::OpenBurnOptions()
{
    CString program = g_szAppPath + L"Tessamo.exe";
    ShellExecuteW(m_hWnd, L"open", program, nullptr, nullptr, SW_SHOWNORMAL);
}

void CStep6Dlg::AfterWriting()
{
    KillTimer(kDataTimer);
    KillTimer(kAudioTimer);
    SetBusyState(BusyIdle);
    m_btnBurn.SetWindowText(WizStringOr(185, L"Burn"));
    m_btnBurn.Invalidate();
    m_bBusy = FALSE;
    DeleteConverted();
    SetProgress(0);
    SetStatus(L"");
}

void CStep6Dlg::StopBurn()
{
    KillTimer(kConvertTimer);
    KillTimer(kUnchangedTimer);
    m_nCurrentRow = m_list.GetItemCount();
    m_btnBurn.SetWindowText(WizStringOr(185, L"Burn"));
    m_btnBurn.Invalidate();
    m_bBusy = FALSE;
    m_converter->Stop();
    m_converter->Close();
    DeleteConverted();
    SetProgress(0);
    SetStatus(L"");
}

// Only what this page wrote goes: the converted files and its own album folder
// once it is empty. Sources written unchanged stay.
void CStep6Dlg::DeleteConverted()
{
    for (const CConvertFilelist& entry : m_convertList)
        if (entry.converted == 1) DeleteFileW(entry.path);
    m_convertList.clear();
    if (m_bMadeAlbumPath && RemoveDirectoryW(m_strAlbumPath)) m_bMadeAlbumPath = false;
}

void CStep6Dlg::SetBusyState(int state)
{
    if (m_pParent) m_pParent->SetBusy(state);
    m_nBusyState = state;
    m_btnAdd.EnableWindow(state == BusyIdle);
    m_btnRemove.EnableWindow(state == BusyIdle);
    m_btnBurn.EnableWindow(state != BusyWriting);
    m_list.EnableMouse(state == BusyIdle);
}

void CStep6Dlg::SetProgress(int percent)
{
    if (percent == m_nShownPercent) return;
    m_nShownPercent = percent;
    CString text;
    text.Format(L"%02d%%", percent);
    m_percent.SetText(text);
    m_progress.SetValue(percent);
}

void CStep6Dlg::SetStatus(const CString& text)
{
    m_status.SetText(text);
}

void CStep6Dlg::OnTimer(UINT_PTR id)
{
    switch (id) {
    case kConvertTimer:
        SetProgress(m_converter->GetConvertPercent());
        break;
    case kUnchangedTimer:
        KillTimer(kUnchangedTimer);
        if (m_bBusy) {
            if (!m_strCurrentOutput.IsEmpty())
                WriteTags(m_list, m_nCurrentRow, m_strAlbumName, m_strCurrentOutput, CString());
            ConvertFrom(m_nCurrentRow + 1);
        }
        break;
    case kDataTimer:
        ShowBurnProgress(BurnKindData);
        break;
    case kAudioTimer:
        ShowBurnProgress(BurnKindAudio);
        break;
    }
    Default();
}

LRESULT CStep6Dlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONVERT_GRAPHEVENT) {
        OnConvertEvent();
        return 0;
    }
    if (message == WM_DISC_BURN_DONE) {
        OnBurnDone((int)wParam, (BurnKind)lParam);
        return 0;
    }
    if (message == WM_DEVICECHANGE && (wParam == 0x8000 || wParam == 0x8004) && lParam) {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
        if (header->dbch_devicetype == DBT_DEVTYP_VOLUME &&
            (reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam)->dbcv_flags & DBTF_MEDIA) && m_pParent) {
            m_fFreeDisc = Burner().FreeDiscBytes(Kind());
            UpdateSizes();
        }
    }
    return CNewWizPage::WindowProc(message, wParam, lParam);
}
