// Resource and command ids of the player program.
#pragma once

#define IDD_TUNLET_ABOUT 100
#define IDI_TUNLET 128
#define IDR_TUNLET_POPUP 129

#define IDC_ABOUT_PATH 1002
#define IDC_ABOUT_PRODUCT 1035
#define IDC_ABOUT_VERSION 1036

#define IDS_TUNLET_PRODUCT 103   // deliberately absent from the string table

#define ID_TUNLET_EXIT 32775
#define ID_TUNLET_ABOUT 32777
#define ID_TUNLET_OPEN 32778
#define ID_TUNLET_PLAY 32779
#define ID_TUNLET_PAUSE 32780
#define ID_TUNLET_STOP 32781

// The callback message of a notification-area icon; the popup menu opens on a
// right-button press.
#define WM_TUNLET_NOTIFYICON (WM_USER + 100)
