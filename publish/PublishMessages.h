// Messages of the publish steps to their dialog.
#pragma once
#include <windows.h>

#ifndef WM_MERGE_DONE
#define WM_MERGE_DONE (WM_USER + 450)   // wParam 1 = merged, 0 = failed or cancelled
#endif
// The disc libraries end a write on their own thread; the burner posts this so
// the end-of-write work runs on the dialog's thread. wParam status (1 = failed),
// lParam the disc kind (BurnKindData, BurnKindAudio).
#define WM_DISC_BURN_DONE (WM_USER + 452)
