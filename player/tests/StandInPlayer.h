// Windows of the player's class and title inside the test process: one that
// records the player messages it receives, and one whose thread hangs.
#pragma once
#include <windows.h>
#include <thread>
#include <vector>
#include "FrameWnd.h"
#include "PlayerProtocol.h"
#include "PlayerTestSupport.h"

namespace playertest {

struct Sent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A stand-in player window: records every player message and answers `answer`.
class CRecordingPlayer {
public:
    CRecordingPlayer()
    {
        // The player's own class (the hosted frames of other tests share it).
        CFrameWnd::RegisterFrameClass(kPlayerWndClass, CS_HREDRAW | CS_VREDRAW);
        m_hWnd = CreateWindowExW(0, kPlayerWndClass, kPlayerWndTitle, WS_DISABLED, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)Proc);
    }
    ~CRecordingPlayer() { DestroyWindow(m_hWnd); }

    HWND m_hWnd = nullptr;
    std::vector<Sent> sent;
    LRESULT answer = 1;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<CRecordingPlayer*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (self && message >= WM_PLAYER_PLAY && message <= WM_PLAYER_CLOSE) {
            self->sent.push_back({message, wParam, lParam});
            return self->answer;
        }
        return DefWindowProcW(hWnd, message, wParam, lParam);
    }
};

// A player window whose thread has stopped handling messages.
class CHungPlayer {
public:
    CHungPlayer()
    {
        m_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([this, created] {
            CRecordingPlayer player;
            m_hWnd = player.m_hWnd;
            SetEvent(created);
            WaitForSingleObject(m_release, INFINITE);
            PumpFor(50);
        });
        WaitForSingleObject(created, 5000);
        CloseHandle(created);
    }
    ~CHungPlayer()
    {
        SetEvent(m_release);
        m_thread.join();
        CloseHandle(m_release);
    }
    HWND m_hWnd = nullptr;

private:
    HANDLE m_release;
    std::thread m_thread;
};

} // namespace playertest
