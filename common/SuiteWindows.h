// The machine-wide titles of the suite's programs and the single-instance test:
// the recorder and the wizard each run once, and neither starts while the other's
// dialog is open.
#pragma once
#include <windows.h>
#include "SingleInstance.h"
#include "String.h"

struct SuiteTitles {
    CString launchName;    // "LanuchName": the starter
    CString wizardName;    // "WizardName": the wizard's dialog
    CString advancedName;  // "AdvancedName": the recorder's dialog
};

// Reads the three titles from the machine key regKey, in that order; each one
// that cannot be read, or is stored empty, keeps `fallback` (nothing is written back).
SuiteTitles ReadSuiteTitles(const wchar_t* regKey, const CString& fallback);

// Brings an open wizard or recorder dialog to the front (the wizard's is looked
// for first); TRUE when one was found. A running starter does not count, and an
// empty title matches nothing.
BOOL ActivateRunningSuiteDialog(const SuiteTitles& titles);

// The single-instance test of the recorder and the wizard (one name for both),
// made before anything else: TRUE when this start goes on and holds the name in
// `instance`; FALSE when another copy runs (its dialog is brought to the front).
BOOL ClaimSuiteDialog(CSingleInstance& instance, const SuiteTitles& titles);
// The starter's test: one starter, and none while a wizard or recorder dialog is open.
BOOL ClaimStarter(CSingleInstance& instance, const SuiteTitles& titles);

// The starter's caption: "<launchName> Starter".
CString StarterCaption(const CString& launchName);
// Brings a running starter's dialog to the front; TRUE when one was found.
BOOL ActivateRunningStarter(const SuiteTitles& titles);

// The programs' main windows: the About item of the system menu (a separator and
// item `id` with `text`, nothing when the text is empty), the program icon drawn
// in the middle of a minimised window, and the user guide opened from the
// installation folder ("<appPath>SonelleUserGuide.pdf"; failures are ignored).
void AddAboutToSystemMenu(HWND window, UINT id, const wchar_t* text);
// The program icon as the window's big and small icon and its class's.
void SetProgramIcon(HWND window, HICON icon);
// The help key (F1) pressed: the programs open their user guide.
bool IsHelpKey(const MSG* msg);
void DrawIconCentred(HWND window, HDC dc, HICON icon);
// The borderless main windows: `size`, in the middle of the screen's full-screen
// area, clipped to a rectangle with corners of 3 pixels.
void CentreWithRoundCorners(HWND window, SIZE size);
void OpenUserGuide(const CString& appPath, HWND owner);
