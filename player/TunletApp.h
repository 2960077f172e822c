// CTunletApp: the player's application object. It closes an older player, creates
// the hidden frame and tells the recorder's notify window that it has started.
#pragma once
#include "WinApp.h"

class CTunletApp : public CWinApp {
public:
    CTunletApp();
    BOOL InitInstance() override;

    // The command line without the double quotes at its ends.
    static CString FileFromCommandLine(const wchar_t* commandLine);
    // Asks every running player of another process to close, waiting a bounded time
    // for each (a hung one must not hang this player).
    static void CloseOlderPlayers();
    static const UINT kCloseWaitMs = 5000;
};
