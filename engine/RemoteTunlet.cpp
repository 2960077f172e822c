#include "RemoteTunlet.h"
#include <shellapi.h>
#include "PlayerProtocol.h"
#include "Registry.h"

namespace {
CString g_appFolder;

// Hundredths cross as integers, truncated toward zero.
LPARAM Hundredths(double value)
{
    return (LPARAM)(long)(value * 100.0);
}
} // namespace

void CRemoteTunlet::SetAppFolder(const CString& folder)
{
    g_appFolder = folder;
    if (!g_appFolder.IsEmpty() && g_appFolder[g_appFolder.GetLength() - 1] != L'\\') g_appFolder += L"\\";
}

CString CRemoteTunlet::GetAppFolder()
{
    return g_appFolder;
}

CRemoteTunlet::CRemoteTunlet() = default;

CRemoteTunlet::~CRemoteTunlet()
{
    m_playerWnd = nullptr;
    if (m_process) ::CloseHandle(m_process);
}

BOOL CRemoteTunlet::IsRunning() const
{
    if (m_playerWnd && ::IsWindow(m_playerWnd)) return TRUE;
    return m_process && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

BOOL CRemoteTunlet::FindPlayer()
{
    m_playerWnd = nullptr;
    if (m_launchFailed) return FALSE;
    // An older player may still be closing when the new one starts: only the
    // window of the process we started counts.
    for (HWND wnd = ::FindWindowExW(nullptr, nullptr, kPlayerWndClass, kPlayerWndTitle); wnd;
         wnd = ::FindWindowExW(nullptr, wnd, kPlayerWndClass, kPlayerWndTitle)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(wnd, &pid);
        if (m_processId == 0 || pid == m_processId) {
            m_playerWnd = wnd;
            break;
        }
    }
    return m_playerWnd != nullptr;
}

BOOL CRemoteTunlet::Launch(const CString& file, HWND notifyWnd)
{
    m_file = file;
    m_notifyWnd = notifyWnd;
    m_playerWnd = nullptr;
    RegWriteDword(HKEY_CURRENT_USER, kPlayerRegKey, kPlayerNotifyValue, (DWORD)HandleToLong(notifyWnd));
    RegWriteString(HKEY_CURRENT_USER, kPlayerRegKey, kPlayerFileValue, file);

    CString program = g_appFolder + kPlayerProgram;
    CString parameter;
    parameter.Format(L"\"%s\"", (const wchar_t*)file);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = program;
    info.lpParameters = parameter;
    info.nShow = SW_SHOWNORMAL;
    if (m_process) ::CloseHandle(m_process);
    m_process = nullptr;
    if (!::ShellExecuteExW(&info) || !info.hProcess) {
        if (info.hProcess) ::CloseHandle(info.hProcess);
        m_processId = 0;
        m_launchFailed = true;
        return FALSE;
    }
    m_processId = ::GetProcessId(info.hProcess);
    m_launchFailed = false;
    m_process = info.hProcess;
    ::Sleep(100);
    // The player may not have its window yet; its WM_PLAYER_STATUS(0) tells the
    // owner when to look again.
    FindPlayer();
    return TRUE;
}

BOOL CRemoteTunlet::Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (result) *result = 0;
    if (!m_playerWnd) return FALSE;
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(m_playerWnd, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                               kSendTimeoutMs, &answer)) {
        // Gone, hung or too slow: a later Play starts a fresh player, which
        // closes this one.
        m_playerWnd = nullptr;
        return FALSE;
    }
    if (result) *result = (LRESULT)answer;
    return TRUE;
}

BOOL CRemoteTunlet::Play()
{
    if (!m_playerWnd) Launch(m_file, m_notifyWnd);
    LRESULT r = 0;
    return Send(WM_PLAYER_PLAY, 0, 0, &r) && r;
}

BOOL CRemoteTunlet::Pause()
{
    LRESULT r = 0;
    return Send(WM_PLAYER_PAUSE, 0, 0, &r) && r;
}

BOOL CRemoteTunlet::Stop()
{
    LRESULT r = 0;
    return Send(WM_PLAYER_STOP, 0, 0, &r) && r;
}

BOOL CRemoteTunlet::Close()
{
    BOOL sent = Send(WM_PLAYER_CLOSE, 0, 0);
    m_playerWnd = nullptr;
    return sent;
}

BOOL CRemoteTunlet::OpenPlain()
{
    LRESULT r = 0;
    return Send(WM_PLAYER_OPEN, PLAYER_OPEN_PLAIN, 0, &r) && r;
}

BOOL CRemoteTunlet::OpenWithAnalyzer()
{
    LRESULT r = 0;
    return Send(WM_PLAYER_OPEN, PLAYER_OPEN_ANALYZER, 0, &r) && r;
}

BOOL CRemoteTunlet::OpenWithNoiseReduction()
{
    LRESULT r = 0;
    return Send(WM_PLAYER_OPEN, PLAYER_OPEN_NOISE_REDUCTION, 0, &r) && r;
}

BOOL CRemoteTunlet::Seek(double seconds)
{
    LRESULT r = 0;
    return Send(WM_PLAYER_SEEK, 0, Hundredths(seconds), &r) && r;
}

BOOL CRemoteTunlet::GetSeconds(UINT message, double* seconds)
{
    LRESULT r = 0;
    BOOL answered = Send(message, 0, 0, &r);
    if (seconds) *seconds = answered ? (double)(long)r / 100.0 : 0.0;
    return answered;
}

BOOL CRemoteTunlet::GetDuration(double* seconds)
{
    return GetSeconds(WM_PLAYER_GET_DURATION, seconds);
}

BOOL CRemoteTunlet::GetPosition(double* seconds)
{
    return GetSeconds(WM_PLAYER_GET_POSITION, seconds);
}

int CRemoteTunlet::GetState()
{
    LRESULT r = 0;
    Send(WM_PLAYER_GET_STATE, 0, 0, &r);
    return (int)r;
}

BOOL CRemoteTunlet::SetVolume(int value)
{
    return Send(WM_PLAYER_SET_VOLUME, 0, (LPARAM)value);
}

BOOL CRemoteTunlet::SetAmplifyGain(float gain)
{
    return Send(WM_PLAYER_SET_GAIN, 0, Hundredths(gain));
}

BOOL CRemoteTunlet::SetNoiseReductionLevel(float level)
{
    return Send(WM_PLAYER_SET_NOISE_REDUCTION, 0, Hundredths(level));
}
