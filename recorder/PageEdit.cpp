#include "PageEdit.h"
#include "AmplifyDlg.h"
#include "AudioControls.h"
#include "AudioEffectProgressDlg.h"
#include "AutoSplitDlg.h"
#include "EditWorkSet.h"
#include "FadeInOutDlg.h"
#include "FileDialog.h"
#include "FileLoadingDlg.h"
#include "MainWindowSkinIds.h"
#include "Menu.h"
#include "NosieReductionDlg.h"
#include "PathUtil.h"
#include "PublishDlg.h"
#include "SkinIds.h"
#include "SkinScrollWnd.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "WorkSetSource.h"

namespace {

struct ButtonPlace {
    int id, x, y, w, h;
    WORD bitmap;
    UINT tip;
};
const ButtonPlace kButtons[] = {
    {CPageEdit::IDC_OPEN, 15, 16, 61, 32, IDB_EDIT_OPEN, 175},
    {CPageEdit::IDC_AUTO_SPLIT, 80, 16, 61, 32, IDB_EDIT_AUTOSPLIT, 176},
    {CPageEdit::IDC_CLEAR, 145, 16, 61, 32, IDB_EDIT_CLEAR, 177},
    {CPageEdit::IDC_SPLIT, 427, 16, 112, 40, IDB_EDIT_SPLIT, 178},
    {CPageEdit::IDC_ZOOM_IN, 760, 16, 61, 32, IDB_EDIT_ZOOM_IN, 179},
    {CPageEdit::IDC_ZOOM_OUT, 825, 16, 61, 32, IDB_EDIT_ZOOM_OUT, 180},
    {CPageEdit::IDC_FIT, 890, 16, 61, 32, IDB_EDIT_FIT, 181},
    {CPageEdit::IDC_PLAY, 15, 246, 61, 32, IDB_EDIT_PLAY, 182},
    {CPageEdit::IDC_PAUSE, 80, 246, 61, 32, IDB_EDIT_PAUSE, 183},
    {CPageEdit::IDC_STOP, 145, 246, 61, 32, IDB_EDIT_STOP, 157},
    {CPageEdit::IDC_TO_START, 228, 246, 61, 32, IDB_EDIT_TO_START, 184},
    {CPageEdit::IDC_REWIND, 293, 246, 61, 32, IDB_EDIT_REWIND, 185},
    {CPageEdit::IDC_FORWARD, 358, 246, 61, 32, IDB_EDIT_FORWARD, 186},
    {CPageEdit::IDC_TO_END, 423, 246, 61, 32, IDB_EDIT_TO_END, 187},
    {CPageEdit::IDC_EFFECT, 843, 309, 98, 53, IDB_EDIT_EFFECT, 188},
    {CPageEdit::IDC_UNDO, 843, 365, 98, 53, IDB_EDIT_UNDO, 189},
    {CPageEdit::IDC_PUBLISH, 842, 458, 100, 100, IDB_REC_PUBLISH, 168},
};

int WarnBox(HWND owner, UINT textId, const wchar_t* fallback)
{
    CString text;
    if (!text.LoadString(textId)) text = fallback;
    return ::MessageBoxW(owner, text, g_szWindowTitle, MB_ICONEXCLAMATION);
}

}  // namespace

BEGIN_MESSAGE_MAP(CPageEdit, CNewWizPage)
    ON_BN_CLICKED(IDC_OPEN, OnOpen)
    ON_BN_CLICKED(IDC_SPLIT, OnSplit)
    ON_BN_CLICKED(IDC_ZOOM_OUT, OnZoomOut)
    ON_BN_CLICKED(IDC_ZOOM_IN, OnZoomIn)
    ON_BN_CLICKED(IDC_FIT, OnFit)
    ON_BN_CLICKED(IDC_PLAY, OnPlay)
    ON_BN_CLICKED(IDC_PAUSE, OnPause)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_BN_CLICKED(IDC_TO_START, OnToStart)
    ON_BN_CLICKED(IDC_REWIND, OnRewind)
    ON_BN_CLICKED(IDC_FORWARD, OnForward)
    ON_BN_CLICKED(IDC_TO_END, OnToEnd)
    ON_BN_CLICKED(IDC_CLEAR, OnClear)
    ON_BN_CLICKED(IDC_PUBLISH, OnPublish)
    ON_BN_CLICKED(IDC_AUTO_SPLIT, OnAutoSplit)
    ON_BN_CLICKED(IDC_EFFECT, OnEffectMenu)
    ON_COMMAND(ID_AMPLIFY, OnAmplify)
    ON_COMMAND(ID_FADE, OnFadeInOut)
    ON_COMMAND(ID_NOISE_REDUCTION, OnNoiseReduction)
    ON_COMMAND(ID_NORMALIZE, OnNormalize)
    ON_BN_CLICKED(IDC_UNDO, OnUndo)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CPageEdit::CPageEdit() : CNewWizPage(IDD) {}

CPageEdit::~CPageEdit()
{
    if (m_hScrollSkin) DeleteObject(m_hScrollSkin);
}

void CPageEdit::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    CBButton* buttons[] = {&m_btnOpen, &m_btnAutoSplit, &m_btnClear, &m_btnSplit, &m_btnZoomIn, &m_btnZoomOut,
                           &m_btnFit, &m_btnPlay, &m_btnPause, &m_btnStop, &m_btnToStart, &m_btnRewind,
                           &m_btnForward, &m_btnToEnd, &m_btnEffect, &m_btnUndo, &m_btnPublish};
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; ++i) DDX_Control(dx, kButtons[i].id, *buttons[i]);
    DDX_Control(dx, IDC_VOLUME, m_volume);
    DDX_Control(dx, IDC_TIME, m_time);
    DDX_Control(dx, IDC_TRACKS, m_tracks);
}

BOOL CPageEdit::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    if (m_background.Load(g_hSkinModule, IDB_PAGE_EDIT_BACK)) m_background.SizeWindow(m_hWnd);
    SkinControls();
    LayoutControls();

    if (!m_pEditor) {
        m_pEditor = std::make_unique<NV_WaveEditXCtrl>();
        RECT place = {19, 56, 946, 237};
        if (m_pEditor->Create(WS_CHILD | WS_VISIBLE, place, m_hWnd, IDC_EDITOR)) {
            CWnd* editorWnd = CWnd::FromHandle(m_pEditor->GetHwnd());
            SkinWndScroll(editorWnd, m_hScrollSkin);
            m_pEditor->SetNotifyWnd(m_hWnd);
            m_pEditor->NewDocument();
        } else {
            m_pEditor.reset();
        }
    }
    if (m_pEditor) m_tracks.Bind(m_pEditor.get());

    // The volume follows the speakers; without a mixer range the slider stays off.
    int minimum = 0, maximum = 0, value = 0;
    m_bVolumeKnown = g_MixerControl.GetSpeakerVolume(&minimum, &maximum, &value) && maximum > minimum;
    if (m_bVolumeKnown) {
        m_volume.SetRange(minimum, maximum);
        m_volume.SetPos(value);
        SetVolume(value);
    }
    m_volume.Enable(m_bVolumeKnown);
    UpdateControls(FALSE);
    return TRUE;
}

void CPageEdit::SkinControls()
{
    HINSTANCE skin = g_hSkinModule;
    CBButton* buttons[] = {&m_btnOpen, &m_btnAutoSplit, &m_btnClear, &m_btnSplit, &m_btnZoomIn, &m_btnZoomOut,
                           &m_btnFit, &m_btnPlay, &m_btnPause, &m_btnStop, &m_btnToStart, &m_btnRewind,
                           &m_btnForward, &m_btnToEnd, &m_btnEffect, &m_btnUndo, &m_btnPublish};
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; ++i)
        buttons[i]->LoadBitmaps(skin, kButtons[i].bitmap, kButtons[i].w, kButtons[i].h, false);
    m_volume.SetChannelBitmaps(skin, IDB_REC_VOLUME_CHANNEL, IDB_REC_VOLUME_ACTIVE, FALSE);
    m_volume.SetThumbBitmaps(skin, IDB_REC_VOLUME_THUMB, IDB_REC_VOLUME_THUMB, TRUE, 0xFF000000, 0, 0);
    m_volume.SetMargins(0, 2, 0, 0);
    m_hScrollSkin = ::LoadBitmapW(skin, MAKEINTRESOURCEW(IDB_REC_SCROLL));
    CString face;
    if (!face.LoadString(145)) face = L"Arial";
    m_time.SetBitmap(skin, IDB_REC_TIME_BACK, FALSE);
    m_time.SetTextColor(0x01FEFE);
    m_time.SetFont(face, 16, 700);
}

void CPageEdit::LayoutControls()
{
    for (const ButtonPlace& p : kButtons)
        if (HWND control = ::GetDlgItem(m_hWnd, p.id)) ::MoveWindow(control, p.x, p.y, p.w, p.h, FALSE);
    ::MoveWindow(m_volume.m_hWnd, 794, 246, 157, 29, FALSE);
    ::MoveWindow(m_time.m_hWnd, 512, 255, 230, 15, FALSE);
    ::MoveWindow(m_tracks.m_hWnd, 19, 305, 786, 257, FALSE);
    SkinWndScroll(&m_tracks, m_hScrollSkin);

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    for (const ButtonPlace& p : kButtons) {
        CString text;
        text.LoadString(p.tip);
        if (CWnd* control = GetDlgItem(p.id)) m_ToolTip.AddTool(control, text);
    }
}

BOOL CPageEdit::OnSetActive()
{
    int minimum = 0, maximum = 0, value = 0;
    if (m_bVolumeKnown && g_MixerControl.GetSpeakerVolume(&minimum, &maximum, &value)) m_volume.SetPos(value);
    SetProcessPriority(NORMAL_PRIORITY_CLASS);
    return TRUE;
}

void CPageEdit::SetVolume(int value)
{
    if (m_bVolumeKnown) g_MixerControl.SetSpeakerVolume(value);
    if (m_pEditor) m_pEditor->GetPlayer().SetVolume(value);
}

void CPageEdit::UpdateControls(BOOL fileOpen)
{
    m_btnOpen.EnableWindow(TRUE);
    m_btnPublish.EnableWindow(TRUE);
    for (CBButton* b : {&m_btnAutoSplit, &m_btnClear, &m_btnSplit, &m_btnPlay, &m_btnPause, &m_btnStop, &m_btnToStart,
                        &m_btnRewind, &m_btnForward, &m_btnToEnd})
        b->EnableWindow(fileOpen);
    m_btnEffect.EnableWindow(fileOpen);
    m_btnUndo.EnableWindow(fileOpen && m_bUndoAvailable);
    if (fileOpen) {
        UpdateZoomButtons();
    } else {
        for (CBButton* b : {&m_btnZoomIn, &m_btnZoomOut, &m_btnFit}) b->EnableWindow(FALSE);
    }
}

void CPageEdit::UpdateZoomButtons()
{
    if (!m_pEditor) return;
    m_btnZoomIn.EnableWindow(m_pEditor->CanZoom(0));
    m_btnZoomOut.EnableWindow(m_pEditor->CanZoom(1));
    m_btnFit.EnableWindow(m_pEditor->CanZoom(2));
}

// Opening

void CPageEdit::OnOpen()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_PATHMUSTEXIST | OFN_EXPLORER,
                       L"Audio files (*.wav,*.mp3,*.wma)|*.wav;*.mp3;*.wma|Wav files(*.wav)|*.wav|Mp3 files(*.mp3)|"
                       L"*.mp3|All file(*.*)|*.*||",
                       this);
    dialog.m_ofn.lpstrInitialDir = g_Settings.szRecordFolder;
    if (dialog.DoModal() == IDOK) OpenFile(dialog.GetPathName());
}

BOOL CPageEdit::LoadWorkSet(const wchar_t* path, BOOL& cancelled, UINT& refusal)
{
    CFileLoadingDlg loading;
    m_tags.Clear();
    loading.SetSource(path, &m_tags);
    loading.DoModal();
    cancelled = loading.IsCancelled();
    refusal = loading.GetRefusal();
    if (loading.GetResult() == 1) {
        m_strLoadedWorkPath = loading.GetWorkPath();
        m_strLoadedPeakPath = loading.GetPeakPath();
        return TRUE;
    }
    // A failed or cancelled conversion leaves nothing behind.
    DeleteFileW(loading.GetWorkPath());
    DeleteFileW(loading.GetPeakPath());
    DeleteFileW(WorkSetSourcePath(loading.GetWorkPath()));
    return FALSE;
}

void CPageEdit::OpenFile(const wchar_t* path)
{
    if (!m_pEditor || !path || !*path) return;
    m_tracks.DeleteAllRows();
    m_tracks.Invalidate();
    m_pEditor->CloseFile();
    DeleteWorkSet(m_strLoadedWorkPath, TRUE);
    NoteWorkSet(nullptr);
    m_strWorkPath.Empty();
    m_strLoadedWorkPath.Empty();
    m_strLoadedPeakPath.Empty();
    m_bFileOpen = FALSE;
    m_bUndoAvailable = FALSE;
    UpdateControls(FALSE);

    // A work file of another open would be emptied by the writer and deleted by
    // the next open: refused like a file that cannot be opened.
    if (IsWorkFilePath(path)) {
        WarnBox(m_hWnd, 131, L"Error opening file!");
        return;
    }
    // The platform is not asked how long a file plays here: its parser can take
    // minutes, and the loading dialog asks it on a thread of its own.
    UINT refusal = CheckBeforeOpening(path, GetFreeDiskSpaceKB(path), nullptr);
    if (refusal) {
        WarnBox(m_hWnd, refusal, RefusalText(refusal));
        return;
    }
    BOOL cancelled = FALSE;
    // The conversion writes beside the file (a tag-less MP3 copy's work files
    // go to the temporary folder, which the exit empties).
    NoteWorkSet(SiblingPath(path, L".tmw"));
    if (!LoadWorkSet(path, cancelled, refusal)) {
        NoteWorkSet(nullptr);
        if (!refusal) refusal = kOpenErrorMessage;
        if (!cancelled) WarnBox(m_hWnd, refusal, RefusalText(refusal));
        m_tracks.Invalidate();
        m_strLoadedWorkPath.Empty();
        m_strLoadedPeakPath.Empty();
        UpdateControls(FALSE);
        return;
    }
    NoteWorkSet(m_strLoadedWorkPath);
    m_strWorkPath = m_strLoadedWorkPath;
    bool opened = m_pEditor->OpenFile(path, m_strWorkPath, m_hWnd) && m_pEditor->LaunchPlayer(m_strWorkPath);
    m_tracks.Invalidate();
    if (!opened) {
        WarnBox(m_hWnd, 131, L"Error opening file!");
        UpdateControls(FALSE);
        return;
    }
    m_bUndoAvailable = FALSE;
    m_bFileOpen = TRUE;
    UpdateControls(TRUE);
}

// Editor buttons

void CPageEdit::OnSplit()
{
    if (m_pEditor) m_pEditor->GetDocument().AddSplitPointAtCursor();
}

void CPageEdit::OnClear()
{
    if (m_pEditor) m_pEditor->GetDocument().ClearSplitPoints();
}

void CPageEdit::OnZoomIn()
{
    if (!m_pEditor) return;
    m_pEditor->ZoomIn();
    UpdateZoomButtons();
}

void CPageEdit::OnZoomOut()
{
    if (!m_pEditor) return;
    m_pEditor->ZoomOut();
    UpdateZoomButtons();
}

void CPageEdit::OnFit()
{
    if (!m_pEditor) return;
    m_pEditor->ZoomToFit();
    UpdateZoomButtons();
}

void CPageEdit::OnPlay()
{
    if (m_pEditor) m_pEditor->Play();
}

void CPageEdit::OnPause()
{
    if (m_pEditor) m_pEditor->Pause();
}

void CPageEdit::OnStop()
{
    if (m_pEditor) m_pEditor->Stop();
}

void CPageEdit::OnToStart()
{
    if (m_pEditor) m_pEditor->GoToStart();
}

void CPageEdit::OnRewind()
{
    if (m_pEditor) m_pEditor->Rewind5s();
}

void CPageEdit::OnForward()
{
    if (m_pEditor) m_pEditor->Forward5s();
}

void CPageEdit::OnToEnd()
{
    if (m_pEditor) m_pEditor->GoToEnd();
}

// Effects

void CPageEdit::OnEffectMenu()
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_EFFECT_MENU)) return;
    HMENU popup = ::GetSubMenu(menu, 0);
    if (!popup) return;
    CRect button;
    m_btnEffect.GetWindowRect(&button);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, button.left, button.top + 55, 0, m_hWnd, nullptr);
}

BOOL CPageEdit::HasSpaceForEffect() const
{
    return FileSizeBytes(m_strWorkPath) / 1024 + kEditReserveKB <= GetFreeDiskSpaceKB(m_strWorkPath);
}

std::vector<CEffectTrack> CPageEdit::EffectTracks() const
{
    std::vector<CEffectTrack> tracks;
    for (int i = 0; i < m_tracks.GetItemCount(); ++i)
        if (const AudioTrackRecord* r = m_tracks.Row(i))
            tracks.push_back({r->startFrame, r->startFrame + r->frameCount, r->selected});
    return tracks;
}

double CPageEdit::FirstSelectedSeconds() const
{
    for (int i = 0; i < m_tracks.GetItemCount(); ++i)
        if (const AudioTrackRecord* r = m_tracks.Row(i))
            if (r->selected && r->sampleRate > 0) return (double)r->startFrame / r->sampleRate;
    return 0.0;
}

BOOL CPageEdit::AskEffectParams(CDialog& dialog)
{
    // The dialog previews through a player of its own.
    m_pEditor->ClosePlayer();
    if (dialog.DoModal() != IDOK) {
        m_pEditor->LaunchPlayer(m_strWorkPath);
        return FALSE;
    }
    if (!HasSpaceForEffect()) {
        WarnBox(m_hWnd, 108, L"Hard disk is full.");
        m_pEditor->LaunchPlayer(m_strWorkPath);
        return FALSE;
    }
    return TRUE;
}

void CPageEdit::OnAmplify()
{
    if (!m_pEditor) return;
    CAmplifyDlg dialog;
    dialog.SetFile(m_strWorkPath);
    dialog.SetStartTime(FirstSelectedSeconds());
    if (!AskEffectParams(dialog)) return;
    AmplifyParam param;
    param.gain = dialog.m_fGain;
    param.tracks = EffectTracks();
    RunEffect(kAmplify, &param);
}

void CPageEdit::OnNoiseReduction()
{
    if (!m_pEditor) return;
    CNosieReductionDlg dialog;
    dialog.SetFile(m_strWorkPath);
    dialog.SetStartTime(FirstSelectedSeconds());
    if (!AskEffectParams(dialog)) return;
    NoiseReductionParam param;
    param.level = dialog.m_fLevel;
    param.tracks = EffectTracks();
    RunEffect(kNoiseReduction, &param);
}

void CPageEdit::OnFadeInOut()
{
    if (!m_pEditor) return;
    CFadeInOutDlg dialog;
    if (!AskEffectParams(dialog)) return;
    FadeInOutParam param;
    param.fadeIn = dialog.m_bFadeIn;
    param.fadeOut = dialog.m_bFadeOut;
    param.duration = (float)dialog.m_nDuration;
    param.selectedTracksOnly = 1;
    param.tracks = EffectTracks();
    RunEffect(kFade, &param);
}

void CPageEdit::OnNormalize()
{
    if (!m_pEditor) return;
    CString caption, text;
    if (!caption.LoadString(162)) caption = L"Normalize";
    if (!text.LoadString(205)) text = L"Do you want to start ?";
    if (::MessageBoxW(m_hWnd, text, caption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (!HasSpaceForEffect()) {
        WarnBox(m_hWnd, 108, L"Hard disk is full.");
        return;
    }
    m_pEditor->ClosePlayer();
    NormalizeParam param;
    param.targetLevel = g_Settings.nNormalizeValue / 1000.0f;
    param.tracks = EffectTracks();
    RunEffect(kNormalize, &param);
}

void CPageEdit::RunEffect(int kind, const void* param)
{
    CAudioEffectProgressDlg runner;
    runner.SetEffect(kind, m_strWorkPath);
    switch (kind) {
    case kAmplify: runner.SetAmplifyParam((const AmplifyParam*)param); break;
    case kNormalize: runner.SetNormalizeParam((const NormalizeParam*)param); break;
    case kFade: runner.SetFadeParam((const FadeInOutParam*)param); break;
    case kNoiseReduction: runner.SetNoiseParam((const NoiseReductionParam*)param); break;
    }
    runner.DoModal();
    if (runner.GetResult() == 1) {
        m_pEditor->ReloadFile(runner.GetOutputPath(), runner.GetOutputPeakPath());
        m_bUndoAvailable = TRUE;
        m_btnEffect.EnableWindow(TRUE);
        m_btnUndo.EnableWindow(TRUE);
        m_strWorkPath = runner.GetOutputPath();
    } else {
        DeleteFileW(runner.GetOutputPath());
        DeleteFileW(runner.GetOutputPeakPath());
        m_pEditor->LaunchPlayer(m_strWorkPath);
    }
}

void CPageEdit::OnUndo()
{
    if (!m_pEditor || !m_bUndoAvailable) return;
    m_pEditor->ReloadFile(m_strLoadedWorkPath, m_strLoadedPeakPath);
    // Every effect output of the chain goes with its peak file, the last one
    // and the one before it: nothing can return to them. The view shows the
    // loaded peak file.
    DeleteEffectOutputs(m_strLoadedWorkPath);
    m_strWorkPath = m_strLoadedWorkPath;
    m_bUndoAvailable = FALSE;
    m_btnEffect.EnableWindow(TRUE);
    m_btnUndo.EnableWindow(FALSE);
}

void CPageEdit::OnAutoSplit()
{
    if (!m_pEditor) return;
    m_pEditor->Stop();
    CAutoSplitDlg dialog;
    dialog.SetDocument(m_pEditor.get(), m_strWorkPath);
    dialog.DoModal();
}

// Publish

std::vector<PublishItemData> CPageEdit::PublishItems() const
{
    std::vector<PublishItemData> items;
    for (int i = 0; i < m_tracks.GetItemCount(); ++i) {
        const AudioTrackRecord* r = m_tracks.Row(i);
        if (!r || !m_tracks.GetCheck(i)) continue;
        PublishItemData item;
        item.kind = PublishKindTrack;
        item.sourcePath = m_strWorkPath;
        item.playTime = r->sampleRate > 0 ? (double)r->frameCount / r->sampleRate : 0.0;
        item.checked = r->selected;
        item.nameFixed = 0;
        if (!m_tags.album.IsEmpty()) {
            item.album = m_tags.album;
            item.year = m_tags.year;
        } else {
            FILETIME utc, local;
            utc.dwLowDateTime = (DWORD)r->date;
            utc.dwHighDateTime = (DWORD)((uint64_t)r->date >> 32);
            SYSTEMTIME when = {};
            if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &when)) item.year = when.wYear;
        }
        item.trackName = r->trackName;
        item.rowIndex = r->trackNumber;
        item.track = *r;
        items.push_back(item);
    }
    return items;
}

void CPageEdit::OnPublish()
{
    if (m_pEditor) m_pEditor->Stop();
    RunPublishDialog(PublishItems());
}

// Leaving and closing

BOOL CPageEdit::OnQueryClose()
{
    if (m_pEditor) m_pEditor->Stop();
    return TRUE;
}

BOOL CPageEdit::OnKillActive()
{
    m_tracks.Bind(nullptr);
    m_pEditor.reset();
    if (m_tracks.m_hWnd) m_tracks.DeleteAllRows();
    DeleteWorkSet(m_strLoadedWorkPath, TRUE);
    NoteWorkSet(nullptr);
    return TRUE;
}

LRESULT CPageEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_WAVEEDIT_TIMETEXT:
        // The text comes from our own editor, never through the message's
        // pointer: any process can send this number. It goes through the window
        // text, so other programs read what the page shows.
        if (m_pEditor) ::SetWindowTextW(m_time.m_hWnd, m_pEditor->GetTimeText().c_str());
        return 0;
    case WM_WAVEEDIT_SPLITCHANGED:
        if ((int)lParam >= 0) m_tracks.Update((int)wParam, (int)lParam);
        return 0;
    case WM_SLIDER_TRACKING:
        if (wParam == IDC_VOLUME && m_bVolumeKnown) SetVolume((int)lParam);
        return 0;
    }
    return CNewWizPage::WindowProc(message, wParam, lParam);
}

void CPageEdit::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    m_background.Paint(dc);
    EndPaint(m_hWnd, &paint);
}

HBRUSH CPageEdit::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    HBRUSH brush = m_background.GetBrush();
    if (!brush || !wnd) return CNewWizPage::OnCtlColor(dc, wnd, kind);
    if (kind != CTLCOLOR_DLG) {
        CRect page, control;
        GetWindowRect(&page);
        wnd->GetWindowRect(&control);
        SetBrushOrgEx(dc->m_hDC, page.left - control.left, page.top - control.top, nullptr);
    }
    dc->SetBkMode(TRANSPARENT);
    return brush;
}
