// CNewWizPage: the base of every wizard page. A child dialog of 750 x 390 with
// three text fonts, a background picture drawn on erase, placement helpers for
// its controls, drag support, and the reaction to a removed capture device.
#pragma once
#include "Bitmap.h"
#include "Font.h"
#include "String.h"
#include "ToolTipCtrl.h"
#include "WizardPage.h"

class CBStatic;
class CNewWizDialog;

class CNewWizPage : public CWizardPage {
public:
    explicit CNewWizPage(UINT templateId = 0, CWnd* parent = nullptr);
    ~CNewWizPage() override;

    void SetHost(CDialog* host) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override {}   // Escape in a page closes nothing

    // Loads the page background (replacing an older one); FALSE when missing.
    BOOL SetBackground(HINSTANCE module, UINT bitmapId);
    // Sets the control's font and moves it; nothing when the control is missing.
    void PlaceControl(UINT id, int x, int y, int width, int height, HFONT font);
    // Like PlaceControl with the width of the control's text; returns that width.
    int PlaceLabel(UINT id, int x, int y, int height, HFONT font);
    // Width of the control's text in its own font (70 when the control is missing).
    int GetTextWidth(UINT id);
    // A 1-pixel frame around the control (3 pixels out left and top, 2 right and bottom).
    void DrawControlFrame(HDC dc, UINT id, COLORREF colour);
    // A page text: drawn over its own section of the page background, in its
    // colour and font, placed at x, y with w x h.
    void PlaceText(CBStatic& text, int x, int y, int w, int h, HFONT font, COLORREF colour);
    // A red note at x 50, y: the label ("Note:") as wide as its text, the note
    // itself beside it up to x 700, both in the medium font.
    void PlaceNote(CBStatic& label, CBStatic& text, int y);
    // The step title, step indicator and buttons of this page in the wizard dialog.
    void ShowStep(const wchar_t* title, int indicator);
    void RegisterDeviceNotify();
    void UnregisterDeviceNotify();
    // WM_DEVICECHANGE with DBT_DEVICEREMOVECOMPLETE: acts when the open capture
    // device is the one removed.
    void CheckRemovedDevice(LPARAM broadcast);
    virtual void OnDeviceRemoved();
    // "The USB device has been disconnected." (or the burn-text module's string 7).
    void ShowDeviceRemovedMessage();
    void CreatePageFonts();

    // "VID_xxxx&PID_xxxx" of a device-interface broadcast, upper case; empty when
    // the broadcast is no device interface or carries no whole identity.
    static CString RemovedDeviceIdentity(const void* broadcast);

    CNewWizDialog* m_pParent = nullptr;  // the host, set at creation
    CFont m_largeFont, m_mediumFont, m_smallFont;
    CBitmap m_background;
    CToolTipCtrl m_ToolTip;
    HDEVNOTIFY m_hDeviceNotify = nullptr;

protected:
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()
};

// Page size inside the wizard dialog.
constexpr int NEWWIZ_PAGE_WIDTH = 750;
constexpr int NEWWIZ_PAGE_HEIGHT = 390;
