#include "PreventSleep.h"

void CPreventSleep::PreventSleep(BOOL on)
{
    if (on) {
        if (!m_bScreenSaverSaved) {
            BOOL active = TRUE;
            if (SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) m_bScreenSaverWasActive = active;
            m_bScreenSaverSaved = TRUE;
        }
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
        SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
    } else {
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, m_bScreenSaverWasActive, nullptr, 0);
        SetThreadExecutionState(ES_CONTINUOUS);
    }
}
