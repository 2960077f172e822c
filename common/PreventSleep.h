// Keeps the screen saver off and the display on while a program records, and
// gives back afterwards what the user had.
#pragma once
#include <windows.h>

class CPreventSleep {
public:
    // regKey: the program's key under HKEY_CURRENT_USER, where the user's screen
    // saver setting waits while it is switched off, so that a run that was killed
    // does not leave it off for good: the next run gives back that value.
    explicit CPreventSleep(const wchar_t* regKey) : m_regKey(regKey) {}

    // TRUE: screen saver off (not saved to the profile), display kept on. FALSE:
    // the user's screen saver given back, the display request dropped.
    void PreventSleep(BOOL on);

    // The value that holds the user's setting while the screen saver is off.
    static const wchar_t* const kSavedValue;

private:
    const wchar_t* m_regKey;
    BOOL m_bScreenSaverSaved = FALSE;
    BOOL m_bScreenSaverWasActive = TRUE;
};
