// CTunletMainFrm: the player's hidden, disabled main window. It maps the player
// messages onto its playback graph, tells the notify window when it starts and
// closes, and closes itself when that window is gone.
#pragma once
#include "FrameWnd.h"
#include "MixerControl.h"
#include "Tunlet.h"

class CTunletMainFrm : public CFrameWnd {
public:
    // Creates the window; check GetSafeHwnd for success. Delete only a frame whose
    // window failed: a created frame deletes itself when its window is destroyed.
    // The file is set before the window exists: opening the mixer during creation
    // lets COM handle messages sent to the new window, an open among them.
    explicit CTunletMainFrm(const CString& filePath = CString());

    void SetFilePath(const CString& path) { m_filePath = path; }
    const CString& GetFilePath() const { return m_filePath; }
    // The window that receives WM_PLAYER_STATUS and WM_PLAYER_ENDED.
    void SetNotifyWnd(HWND wnd);
    HWND GetNotifyWnd() const { return m_notifyWnd; }
    CTunlet& GetPlayer() { return m_player; }

    // The process's input-mixer control: the volume message sets its speaker
    // volume. The frame opens it when created and closes it when closing.
    static CMixerControl& Mixer();

    // How often the frame checks that its notify window still exists.
    static const UINT kOwnerCheckMs = 1000;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnClose();
    void OnTimer(UINT_PTR id);
    LRESULT OnPlay(WPARAM, LPARAM);
    LRESULT OnPause(WPARAM, LPARAM);
    LRESULT OnStop(WPARAM, LPARAM);
    LRESULT OnSeek(WPARAM, LPARAM);
    LRESULT OnGetDuration(WPARAM, LPARAM);
    LRESULT OnGetPosition(WPARAM, LPARAM);
    LRESULT OnGetState(WPARAM, LPARAM);
    LRESULT OnSetVolume(WPARAM, LPARAM);
    LRESULT OnSetGain(WPARAM, LPARAM);
    LRESULT OnSetNoiseReduction(WPARAM, LPARAM);
    LRESULT OnOpen(WPARAM, LPARAM);
    LRESULT OnPlayerClose(WPARAM, LPARAM);
    LRESULT OnGraphEvent(WPARAM, LPARAM);
    LRESULT OnNotifyIcon(WPARAM, LPARAM);
    void OnAbout();
    void OnOpenFile();
    void OnMenuPlay();
    void OnMenuPause();
    void OnMenuStop();
    void OnExit();

    DECLARE_MESSAGE_MAP()

private:
    // Tells the notify window that the player is closing and destroys the frame.
    void CloseSequence();
    LRESULT Hundredths(BOOL ok, double seconds) const;

    CString m_filePath;
    HWND m_notifyWnd = nullptr;
    CTunlet m_player;
    bool m_closing = false;
    // Until creation ends a close request waits: the window's creator still holds
    // the frame.
    bool m_created = false;
    bool m_closeWaiting = false;
};
