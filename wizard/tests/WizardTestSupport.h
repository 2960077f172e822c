// What the wizard's tests share: the process-wide values set as the program
// would set them (installation folder = the test's own folder, the program's own
// resources and skin, a title of this process), a clean user key, and the wizard
// dialog with its nine pages hosted modeless in the test process.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <thread>
#include "AudioCaptureWizDlg.h"
#include "DriverPump.h"
#include "WizPages.h"

namespace wiztest {

extern const wchar_t kKey[];

// Globals as start-up leaves them, the settings record at its defaults, the
// user key removed, product kind 0.
void ResetWizardGlobals();

// The wizard dialog made from template 102 with its pages, first page shown.
struct HostedWizard {
    HostedWizard();
    ~HostedWizard();
    bool Ok() const { return dialog.m_hWnd != nullptr; }
    UINT Active() const { return dialog.GetActivePageID(); }
    CAudioCaptureWizDlg dialog;
    std::unique_ptr<CWizardPages> pages;
};

// Whether a child control is shown (its own style, not its parent's).
bool Shown(HWND parent, int id);
RECT ControlRect(HWND parent, int id);
using drv::Pump;
// Answers the next message box of this process with `button` from a helper
// thread started at construction; Wait gives its text (empty when none came).
class BoxAnswerer {
public:
    BoxAnswerer(int button, DWORD timeoutMs);
    ~BoxAnswerer();
    std::wstring Wait();
    std::wstring title;

private:
    std::wstring m_text;
    std::thread m_thread;
};

}  // namespace wiztest
