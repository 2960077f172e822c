// CRemoteTunlet: the recorder's side of the hidden playback program. It starts
// Tunlet.exe on a file and drives it with the player messages (PlayerProtocol.h).
// Every call runs on the owner's user-interface thread and waits for the player
// at most a few seconds: a hung or vanished player never freezes the owner.
#pragma once
#include <windows.h>
#include "String.h"

class CRemoteTunlet {
public:
    CRemoteTunlet();
    // Forgets the player; does not close it.
    virtual ~CRemoteTunlet();
    CRemoteTunlet(const CRemoteTunlet&) = delete;
    CRemoteTunlet& operator=(const CRemoteTunlet&) = delete;

    // The folder Tunlet.exe is started from, ending in "\"; each program sets it
    // at start-up (the engine cannot see the programs' own globals).
    static void SetAppFolder(const CString& folder);
    static CString GetAppFolder();
    // How long one message may take the player before the call gives up.
    static const UINT kSendTimeoutMs = 5000;

    // The player window of the process Launch started (any player when this
    // object started none); FALSE when there is none.
    BOOL FindPlayer();
    // Starts the player on the file; it will report to notifyWnd.
    BOOL Launch(const CString& file, HWND notifyWnd);

    // Launches with the stored file when no player is known, then plays.
    BOOL Play();
    BOOL Pause();
    BOOL Stop();
    BOOL Close();
    BOOL OpenPlain();
    BOOL OpenWithAnalyzer();
    BOOL OpenWithNoiseReduction();
    BOOL Seek(double seconds);
    // FALSE (and 0.0) when no player answered.
    BOOL GetDuration(double* seconds);
    BOOL GetPosition(double* seconds);
    int GetState();
    BOOL SetVolume(int value);
    BOOL SetAmplifyGain(float gain);
    BOOL SetNoiseReductionLevel(float level);

    HWND GetPlayerWnd() const { return m_playerWnd; }
    // TRUE while a player can answer or is still starting: its window is known
    // and exists, or the process Launch started has not ended. FALSE once that
    // player is gone (closed, crashed or killed) or none was started.
    BOOL IsRunning() const;
    // Forgets the player window (its owner learnt that the player closed).
    void ForgetPlayer() { m_playerWnd = nullptr; }

private:
    // Sends to the known player; FALSE when there is none or it did not answer,
    // in which case the window is forgotten and the next Play starts a new one.
    BOOL Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
    BOOL GetSeconds(UINT message, double* seconds);

    HWND m_playerWnd = nullptr;
    CString m_file;
    HWND m_notifyWnd = nullptr;
    DWORD m_processId = 0;      // of the player this object started; 0 before any launch
    HANDLE m_process = nullptr; // that process, to tell a starting player from a vanished one
    bool m_launchFailed = false;
};
