// The wave editor window: shows one recording from its peak values, lets the
// user place the cursor, zoom, scroll, and add, move, remove and select split
// points with the mouse, and reports every change to its notify window.
#pragma once
#include "BmpDC.h"
#include "EditWaveFile.h"
#include "RemoteTunlet.h"
#include "ScrollHelper.h"
#include "WaveEditMessages.h"

#include <windows.h>

#include <string>

class NV_WaveEditXCtrl {
public:
    static constexpr const wchar_t* kClassName = L"NV_WaveEditXCtrl";

    NV_WaveEditXCtrl();
    virtual ~NV_WaveEditXCtrl();

    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    HWND GetHwnd() const { return m_hwnd; }
    void SetNotifyWnd(HWND wnd) { m_notify = wnd; }

    bool NewDocument();
    bool OpenFile(const wchar_t* displayPath, const wchar_t* workPath, HWND progressWnd);
    void CloseFile();
    bool ReloadFile(const wchar_t* wavPath, const wchar_t* peakPath);

    // Playback through the player program, from the cursor; the cursor follows
    // the player's position on timer 256.
    bool LaunchPlayer(const wchar_t* wavPath);
    void ClosePlayer();
    void Play();
    void Pause();
    void Stop();
    void Rewind5s() { MoveFromPlayer(-5.0); }
    void Forward5s() { MoveFromPlayer(5.0); }
    CRemoteTunlet& GetPlayer() { return m_player; }
    // The time text last sent to the notify window.
    const std::wstring& GetTimeText() const { return m_timeText; }
    bool IsPlaying() const { return m_playTimer != 0; }

    void SetCursorPos(int64_t frame);
    void GoToStart() { SetCursorPos(0); }
    void GoToEnd() { SetCursorPos(m_doc.GetTotalFrames()); }
    void ZoomIn() { Zoom(true); }
    void ZoomOut() { Zoom(false); }
    void ZoomToFit();
    bool CanZoom(int what) const;  // 0 in, 1 out, 2 fit

    std::wstring GetFileTitle() const;
    FILETIME GetSourceFileTime() const;
    virtual void OnDraw(HDC dc, const RECT& rect);

    NV_EditWaveFile& GetDocument() { return m_doc; }
    bool IsLoaded() const { return m_loaded; }
    bool IsBuildingPeaks() const { return m_building; }
    int GetDragMode() const { return m_dragMode; }

    // The document's notifications: the reset is handled here, every other
    // message goes to the notify window.
    void NotifyOwner(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPeakProgress(int percent);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    int ClientWidth() const;
    const RECT& MarkerBand();
    void OnLButtonDown(int x, int y);
    void OnMouseMove(int x, int y, bool leftDown);
    void OnLButtonUp(int x, int y);
    void CursorFollows(int column);  // cursor line, time text and status text
    void SendTimeText(int column);
    void SendTimeText(const std::wstring& text);
    void SendStatus(int column);
    void ScrollToFrame(int64_t frame);
    void Zoom(bool in);
    bool HoldInDragBounds(int& x) const;
    void OnPlayTimer();
    void MoveFromPlayer(double seconds);
    void KillPlayTimer();
    int64_t SecondsToFrame(double seconds) const;

    HWND m_hwnd = nullptr;
    bool m_loaded = false;
    HCURSOR m_arrow = nullptr, m_resize = nullptr, m_hand = nullptr;
    NV_EditWaveFile m_doc;
    CScrollHelper* m_scroll = nullptr;
    HWND m_notify = nullptr;
    HWND m_progress = nullptr;
    int m_dragX = -100, m_dragY = -100, m_dragMode = 0;
    std::wstring m_displayPath;
    bool m_tracking = false;
    bool m_building = false;  // a peak build is running; clicks and opens wait
    CRemoteTunlet m_player;
    UINT_PTR m_playTimer = 0;
    bool m_playPending = false;  // Play waits for a new player to open the file
    std::wstring m_timeText;
    static constexpr UINT_PTR kPlayTimer = 256;
};
