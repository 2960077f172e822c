// Messages of the wave editor window and its document.
#pragma once
#include <windows.h>

#define WM_WAVEEDIT_RESET (WM_USER + 500)         // document -> editor, handled inside the editor
#define WM_WAVEEDIT_SPLITCHANGED (WM_USER + 501)  // wParam kind, lParam split-point index
#define WM_WAVEEDIT_TIMETEXT (WM_USER + 502)      // lParam: const wchar_t* time text
#define WM_WAVEEDIT_PEAKPROGRESS (WM_USER + 503)  // lParam: percent of the peak build
#define WM_WAVEEDIT_STATUS (WM_USER + 1000)       // lParam: const wchar_t* status text
#define WM_WAVEEDIT_PLAYSTOPPED (WM_USER + 301)
#define WM_SKINSCROLL_POSITION (WM_USER + 45)     // wParam WM_HSCROLL, lParam thumb position
#define WM_PLAYER_STATUS (WM_USER + 240)

// Kinds of WM_WAVEEDIT_SPLITCHANGED.
enum SplitChangeKind { kSplitNothing = 0, kSplitAdded = 1, kSplitRemoved = 2, kSplitMoved = 3, kSplitToggled = 4,
                       kSplitCleared = 5 };

// Mouse hit codes of the marker band (posted as WM_SETCURSOR hit codes).
enum WaveHitCode { kHitNothing = 1024, kHitLine = 1025, kHitBox = 1026 };
// Drag modes of a press in the marker band.
enum WaveDragMode { kDragNone = 0, kDragRemove = 2, kDragMove = 3, kDragToggle = 4 };
