#include "TunletMainFrm.h"
#include "FileDialog.h"
#include "Menu.h"
#include "PlayerProtocol.h"
#include "TunletAboutDlg.h"
#include "TunletResources.h"

namespace {
const UINT_PTR kOwnerCheckTimer = 1;
// Process-wide, built before start-up (it initialises COM for itself).
CMixerControl g_mixer;
}

CMixerControl& CTunletMainFrm::Mixer()
{
    return g_mixer;
}

BEGIN_MESSAGE_MAP(CTunletMainFrm, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_PLAYER_PLAY, OnPlay)
    ON_MESSAGE(WM_PLAYER_PAUSE, OnPause)
    ON_MESSAGE(WM_PLAYER_STOP, OnStop)
    ON_MESSAGE(WM_PLAYER_SEEK, OnSeek)
    ON_MESSAGE(WM_PLAYER_GET_DURATION, OnGetDuration)
    ON_MESSAGE(WM_PLAYER_GET_POSITION, OnGetPosition)
    ON_MESSAGE(WM_PLAYER_GET_STATE, OnGetState)
    ON_MESSAGE(WM_PLAYER_SET_VOLUME, OnSetVolume)
    ON_MESSAGE(WM_PLAYER_SET_GAIN, OnSetGain)
    ON_MESSAGE(WM_PLAYER_SET_NOISE_REDUCTION, OnSetNoiseReduction)
    ON_MESSAGE(WM_PLAYER_OPEN, OnOpen)
    ON_MESSAGE(WM_PLAYER_CLOSE, OnPlayerClose)
    ON_MESSAGE(WM_PLAYER_GRAPHEVENT, OnGraphEvent)
    ON_MESSAGE(WM_TUNLET_NOTIFYICON, OnNotifyIcon)
    ON_COMMAND(ID_TUNLET_ABOUT, OnAbout)
    ON_COMMAND(ID_TUNLET_OPEN, OnOpenFile)
    ON_COMMAND(ID_TUNLET_PLAY, OnMenuPlay)
    ON_COMMAND(ID_TUNLET_PAUSE, OnMenuPause)
    ON_COMMAND(ID_TUNLET_STOP, OnMenuStop)
    ON_COMMAND(ID_TUNLET_EXIT, OnExit)
END_MESSAGE_MAP()

CTunletMainFrm::CTunletMainFrm(const CString& filePath) : m_filePath(filePath)
{
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TUNLET));
    if (RegisterFrameClass(kPlayerWndClass, CS_HREDRAW | CS_VREDRAW, icon))
        Create(kPlayerWndClass, kPlayerWndTitle, WS_DISABLED);
}

int CTunletMainFrm::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1) return -1;
    // Without a mixer the volume message has no effect.
    g_mixer.Open();
    m_notifyWnd = nullptr;
    m_created = true;
    if (m_closeWaiting) PostMessage(WM_CLOSE);
    return 0;
}

void CTunletMainFrm::SetNotifyWnd(HWND wnd)
{
    m_notifyWnd = wnd;
    // A recorder that went away (killed, crashed) must not leave us playing or
    // holding its work file.
    if (wnd) SetTimer(kOwnerCheckTimer, kOwnerCheckMs);
    else KillTimer(kOwnerCheckTimer);
}

void CTunletMainFrm::OnTimer(UINT_PTR id)
{
    if (id != kOwnerCheckTimer) {
        Default();
        return;
    }
    if (m_notifyWnd && !::IsWindow(m_notifyWnd)) {
        m_player.Close();
        CloseSequence();
    }
}

void CTunletMainFrm::CloseSequence()
{
    if (!m_created) {
        m_closeWaiting = true;
        return;
    }
    if (m_closing) return;
    m_closing = true;
    KillTimer(kOwnerCheckTimer);
    // The window read at start: a newer player's owner has rewritten "hMSG" by now.
    if (m_notifyWnd) ::PostMessageW(m_notifyWnd, WM_PLAYER_STATUS, PLAYER_STATUS_CLOSING, 0);
    g_mixer.Close();
    DestroyWindow();
}

void CTunletMainFrm::OnClose()
{
    m_player.Close();
    CloseSequence();
}

LRESULT CTunletMainFrm::OnPlayerClose(WPARAM, LPARAM)
{
    CloseSequence();
    return 0;
}

void CTunletMainFrm::OnExit()
{
    CloseSequence();
}

LRESULT CTunletMainFrm::OnPlay(WPARAM, LPARAM)
{
    return m_player.Play();
}

LRESULT CTunletMainFrm::OnPause(WPARAM, LPARAM)
{
    return m_player.Pause();
}

LRESULT CTunletMainFrm::OnStop(WPARAM, LPARAM)
{
    return m_player.Stop();
}

LRESULT CTunletMainFrm::OnSeek(WPARAM, LPARAM lParam)
{
    return m_player.SetPosition((double)(long)lParam / 100.0);
}

LRESULT CTunletMainFrm::Hundredths(BOOL ok, double seconds) const
{
    return ok ? (LRESULT)(long)(seconds * 100.0) : 0;
}

LRESULT CTunletMainFrm::OnGetDuration(WPARAM, LPARAM)
{
    double seconds = 0.0;
    BOOL ok = m_player.GetDuration(&seconds);
    return Hundredths(ok, seconds);
}

LRESULT CTunletMainFrm::OnGetPosition(WPARAM, LPARAM)
{
    double seconds = 0.0;
    BOOL ok = m_player.GetPosition(&seconds);
    return Hundredths(ok, seconds);
}

LRESULT CTunletMainFrm::OnGetState(WPARAM, LPARAM)
{
    return m_player.GetState();
}

LRESULT CTunletMainFrm::OnSetVolume(WPARAM, LPARAM lParam)
{
    // The control clamps the value to its bounds.
    g_mixer.SetSpeakerVolume((int)lParam);
    return 0;
}

LRESULT CTunletMainFrm::OnSetGain(WPARAM, LPARAM lParam)
{
    m_player.SetAnalyzerGain((float)((double)(long)lParam / 100.0));
    return 0;
}

LRESULT CTunletMainFrm::OnSetNoiseReduction(WPARAM, LPARAM lParam)
{
    m_player.SetNoiseReductionLevel((float)((double)(long)lParam / 100.0));
    return 0;
}

LRESULT CTunletMainFrm::OnOpen(WPARAM wParam, LPARAM)
{
    switch (wParam) {
    case PLAYER_OPEN_PLAIN: return m_player.OpenPlain(m_filePath, m_hWnd);
    case PLAYER_OPEN_ANALYZER: return m_player.OpenWithAnalyzer(m_filePath, m_hWnd);
    case PLAYER_OPEN_NOISE_REDUCTION: return m_player.OpenWithNoiseReduction(m_filePath, m_hWnd);
    default: return 0;
    }
}

LRESULT CTunletMainFrm::OnGraphEvent(WPARAM wParam, LPARAM lParam)
{
    HWND self = m_hWnd;
    long code = m_player.DrainEvents();
    // A message pumped while draining may have closed (and deleted) the frame.
    if (CWnd::FromHandlePermanent(self) != this) return 0;
    if (CTunlet::IsEndEvent(code) && m_notifyWnd && !m_closing)
        ::PostMessageW(m_notifyWnd, WM_PLAYER_ENDED, 0, 0);
    return DefWindowProc(WM_PLAYER_GRAPHEVENT, wParam, lParam);
}

LRESULT CTunletMainFrm::OnNotifyIcon(WPARAM, LPARAM lParam)
{
    if (lParam != WM_RBUTTONDOWN) return 0;
    CMenu menu;
    if (!menu.LoadMenu(IDR_TUNLET_POPUP)) return 0;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup) return 0;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    SetForegroundWindow();
    SetCapture();
    popup->TrackPopupMenu(TPM_CENTERALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
    ::ReleaseCapture();
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessage(WM_NULL);
    return 0;
}

void CTunletMainFrm::OnAbout()
{
    CTunletAboutDlg dlg(m_filePath, this);
    dlg.DoModal();
}

void CTunletMainFrm::OnOpenFile()
{
    CFileDialog dlg(TRUE, nullptr, L"*.wav", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    L"Wav files (*.wav)|*.wav|Mp3 files(*.mp3)|*.mp3|All file(*.*)|*.*||", this);
    if (dlg.DoModal() != IDOK) return;
    m_filePath = dlg.GetPathName();
    m_player.OpenPlain(m_filePath, m_hWnd);
}

void CTunletMainFrm::OnMenuPlay()
{
    m_player.Play();
}

void CTunletMainFrm::OnMenuPause()
{
    m_player.Pause();
}

void CTunletMainFrm::OnMenuStop()
{
    m_player.Stop();
}
