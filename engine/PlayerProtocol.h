// The window-message protocol between the recorder (CRemoteTunlet) and the hidden
// playback program Tunlet.exe, and the values both sides meet by. Both programs
// include this one header, so the numbers cannot drift apart.
#pragma once
#include <windows.h>

// Recorder to player (SendMessage). Positions, gains and levels cross as integers
// in hundredths.
#define WM_PLAYER_PLAY (WM_USER + 1)
#define WM_PLAYER_PAUSE (WM_USER + 2)
#define WM_PLAYER_STOP (WM_USER + 3)
#define WM_PLAYER_SEEK (WM_USER + 4)              // lParam: seconds * 100
#define WM_PLAYER_GET_DURATION (WM_USER + 5)      // result: seconds * 100
#define WM_PLAYER_GET_POSITION (WM_USER + 6)      // result: seconds * 100
#define WM_PLAYER_GET_STATE (WM_USER + 7)         // result: 0 stopped, 1 paused, 2 running
#define WM_PLAYER_SET_VOLUME (WM_USER + 8)        // lParam: 0 to 65535
#define WM_PLAYER_SET_GAIN (WM_USER + 16)         // lParam: gain * 100
#define WM_PLAYER_SET_NOISE_REDUCTION (WM_USER + 17)  // lParam: level * 100
#define WM_PLAYER_OPEN (WM_USER + 224)            // wParam: one of PlayerOpenKind
#define WM_PLAYER_CLOSE (WM_USER + 239)

// Player to the notify window ("hMSG", PostMessage).
#define WM_PLAYER_STATUS (WM_USER + 240)          // wParam: one of PlayerStatus
#define WM_PLAYER_ENDED (WM_USER + 241)

// Inside the player: the playback graph's event notification.
#define WM_PLAYER_GRAPHEVENT (WM_USER + 50)

enum PlayerOpenKind { PLAYER_OPEN_PLAIN = 0, PLAYER_OPEN_ANALYZER = 1, PLAYER_OPEN_NOISE_REDUCTION = 2 };
enum PlayerStatus { PLAYER_STATUS_STARTED = 0, PLAYER_STATUS_CLOSING = 1 };

// The player's hidden frame.
const wchar_t kPlayerWndClass[] = L"NVTunletFrame";
const wchar_t kPlayerWndTitle[] = L"NVTunlet";
// Handshake values under HKEY_CURRENT_USER.
const wchar_t kPlayerRegKey[] = L"software\\Norvane\\Tunlet";
const wchar_t kPlayerNotifyValue[] = L"hMSG";
const wchar_t kPlayerFileValue[] = L"File";
// The program, in the application folder.
const wchar_t kPlayerProgram[] = L"Tunlet.exe";
