// Keeps the screen saver off and the display on while a program records, and
// gives back afterwards what it found.
#pragma once
#include <windows.h>

class CPreventSleep {
public:
    // TRUE: screen saver off (not saved to the profile), display kept on. FALSE:
    // the screen saver as it was at the first TRUE, the display request dropped.
    void PreventSleep(BOOL on);

private:
    BOOL m_bScreenSaverSaved = FALSE;
    BOOL m_bScreenSaverWasActive = TRUE;
};
