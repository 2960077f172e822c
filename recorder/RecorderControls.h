// The skinned controls the recorder's dialogs use. Until the skinned control
// library is part of the build, plain controls with the same operations stand in
// (they draw the platform's look and ignore the skin settings).
#pragma once
#if SONELLE_HAVE_SKIN
#include "BButton.h"
#include "Label.h"
#else
#include "Button.h"
#include "Static.h"

class CBButton : public CButton {
public:
    bool LoadBitmaps(HINSTANCE, UINT, int, int, bool) { return false; }
    void SetFont(const wchar_t*, int, int) {}
    void SetShowText(BOOL) {}
    void SetTextColor(COLORREF) {}
    void SetHoverTextColor(COLORREF) {}
    void SetPressedTextColor(COLORREF) {}
    void SetDisabledTextColor(COLORREF) {}
    void SetDisabledFrame(int) {}
    void ResetHover() {}
};

class CLabel : public CStatic {
public:
    CLabel& SetTextColor(COLORREF) { return *this; }
    CLabel& SetFontSize(int) { return *this; }
    CLabel& SetFontUnderline(BOOL) { return *this; }
    CLabel& SetLink(BOOL) { return *this; }
    CLabel& SetLinkCursor(HCURSOR) { return *this; }
};
#endif
