#include "PreventSleep.h"

namespace {

// Sets the screen saver and reads it back. Wine's X11 display driver keeps the
// change in its queue to the X server until the next request that waits for an
// answer; a program that ends right after giving the screen saver back would
// otherwise lose it. The read is that request.
void SetScreenSaverActive(BOOL active)
{
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active, nullptr, 0);
    BOOL now = active;
    SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &now, 0);
}

}  // namespace

void CPreventSleep::PreventSleep(BOOL on)
{
    if (on) {
        if (!m_bScreenSaverSaved) {
            BOOL active = TRUE;
            if (SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) m_bScreenSaverWasActive = active;
            m_bScreenSaverSaved = TRUE;
        }
        SetScreenSaverActive(FALSE);
        SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
    } else {
        SetScreenSaverActive(m_bScreenSaverWasActive);
        SetThreadExecutionState(ES_CONTINUOUS);
    }
}
