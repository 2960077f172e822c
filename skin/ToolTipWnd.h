// NV_ToolTipWnd: a small topmost balloon with one line of text next to a control,
// shown for a few seconds and then faded out and hidden. It is anchored on a tip
// parent (the dialog's main window): the parent's user-data slot points to the
// tip (one tip per parent) and a hook on the parent's window procedure moves the
// tip with the parent and deletes it with the parent.
#pragma once
#include "Controls.h"

class NV_ToolTipWnd : public CWnd {
public:
    static bool ShowTip(CWnd* ownerControl, CWnd* tipParent, const wchar_t* text, CFont* font, int displaySeconds);
    static bool HideOwnerTip(CWnd* wnd);
    // The tip attached to a window, or null.
    static NV_ToolTipWnd* FromTipParent(HWND tipParent);

    bool CreateTip(const wchar_t* text, CFont* font, int displaySeconds);
    void SetDisplaySeconds(int seconds) { m_nDisplaySeconds = seconds; }
    void SetAlpha(int alpha) { m_nAlpha = alpha; }
    int Alpha() const { return m_nAlpha; }
    CString Text() const;
    ~NV_ToolTipWnd() override;

    enum { kTextId = 11, kDisplayTimer = 100, kFadeTimer = 101 };

protected:
    NV_ToolTipWnd(CWnd* ownerControl, CWnd* tipParent);
    void ShowHide(int state);
    void PlaceBelowOwner();   // reuse and every move of the tip parent
    void ApplyAlpha();
    void OnTimer(UINT_PTR id);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    static LRESULT CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hOwnerControl = nullptr;
    HWND m_hTipParent = nullptr;
    CStatic m_text;
    CBrush m_brush;
    int m_nDisplaySeconds = 2;
    int m_nAlpha = 255;
    UINT_PTR m_nDisplayTimer = 0;
    UINT_PTR m_nFadeTimer = 0;

    DECLARE_MESSAGE_MAP()
};
