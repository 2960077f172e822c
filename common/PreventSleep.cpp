#include "PreventSleep.h"
#include "Registry.h"

const wchar_t* const CPreventSleep::kSavedValue = L"ScreenSaverActiveBeforeRun";

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
            // A value left in the registry is the user's, from a run that ended
            // without giving it back: what the screen shows now is that run's "off".
            DWORD saved = 0;
            if (RegReadDword(HKEY_CURRENT_USER, m_regKey, kSavedValue, saved, 0xFFFFFFFF)) {
                m_bScreenSaverWasActive = saved != 0;
            } else {
                BOOL active = TRUE;
                if (SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) m_bScreenSaverWasActive = active;
                RegWriteDword(HKEY_CURRENT_USER, m_regKey, kSavedValue, m_bScreenSaverWasActive ? 1 : 0);
            }
            m_bScreenSaverSaved = TRUE;
        }
        SetScreenSaverActive(FALSE);
        SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
    } else {
        SetScreenSaverActive(m_bScreenSaverWasActive);
        SetThreadExecutionState(ES_CONTINUOUS);
        // Given back: nothing is left for the next run to repair.
        if (m_bScreenSaverSaved) RegDeleteValueOf(HKEY_CURRENT_USER, m_regKey, kSavedValue);
        m_bScreenSaverSaved = FALSE;
    }
}
