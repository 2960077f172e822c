// Process-wide values of the wizard, set once during start-up and read by the
// wizard dialog and every page.
#pragma once
#include <windows.h>
#include "String.h"

class CCaptureDevice;
class CMixerControl;
class CCoreAudioCtrl;

// Fixed when the program is built: the product kind (0 or 4: any sound card,
// the selection page is offered; other values: the maker's USB capture device,
// and 5 also drops "Online support" from the help menu) and the USB device
// search. One value so that tests can try the other kinds.
struct WizProduct {
    int kind = 0;
    bool usbDeviceSearch = false;
    // 0 and 4 name ordinary sound cards.
    bool IsSoundCardKind() const { return kind == 0 || kind == 4; }
};
extern WizProduct g_WizProduct;

extern CString g_szAppPath;          // installation folder, always ending in "\"
extern CString g_szWindowTitle;      // the "WizardName" title: caption and message-box title
extern HINSTANCE g_hResourceModule;  // language module, or the program itself
extern HINSTANCE g_hSkinModule;      // skin bitmaps, or the program itself
extern HMODULE g_hExtraModule;       // "SonelleExtra.dll" or null
extern HMODULE g_hBurnTextModule;    // "SonelleExtra3.dll" or null
extern CString g_strDeviceName;      // the maker's USB device in page texts ("RIFBOX")
extern CString g_strNoteText;        // replaces the device step's main text when set
extern const wchar_t g_szRegKey[];   // "software\Norvane\NV Sonelle", machine and user key

// The one capture device of the process.
CCaptureDevice& CaptureDevice();
// The input mixer and the mute keeper of the process (the keeper works through
// the process's one core-audio library instance).
CMixerControl& MixerControl();
CCoreAudioCtrl& CoreAudioCtrl();

// A resource string of the current resource module (empty when missing).
CString WizString(UINT id);
// The same, or `fallback` when the module lacks it.
CString WizStringOr(UINT id, const wchar_t* fallback);
// `text` with every "RIFBOX" replaced by the device name.
CString WithDeviceName(const CString& text);
// A text that is used as a printf format with one "%s": the first "%s" is
// replaced by `argument` literally, so a "%" in either text is harmless.
CString FillFormat(const CString& format, const wchar_t* argument);
