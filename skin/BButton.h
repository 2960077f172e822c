// CBButton: the owner-drawn push button of the skinned dialogs, painted from a
// strip of five frames (normal, mask, hover, pressed, disabled); the mask frame's
// pure-red pixels are cut out of the window region.
#pragma once
#include "Controls.h"

class CBButton : public CButton {
public:
    CBButton();
    ~CBButton() override;

    bool LoadBitmaps(HINSTANCE module, WORD bitmapId, int frameWidth, int frameHeight, bool single);
    void SetFont(const wchar_t* face, int height, int weight);
    void SetShowText(BOOL show) { m_bShowText = show ? 1 : 0; }
    void SetTextColor(COLORREF colour);
    void SetHoverTextColor(COLORREF colour) { m_crHover = colour; }
    void SetPressedTextColor(COLORREF colour) { m_crPressed = colour; }
    void SetDisabledTextColor(COLORREF colour) { m_crDisabled = colour; }
    void SetDisabledFrame(int selector) { m_nDisabledFrame = selector; }
    void ResetHover();
    bool UpdateWindowRegion();

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    BOOL PreTranslateMessage(MSG* msg) override { return CButton::PreTranslateMessage(msg); }

    // State, for the owners' tests.
    bool IsHover() const { return m_bHover != 0; }
    bool IsPressed() const { return m_bPressed != 0; }
    COLORREF GetHoverTextColor() const { return m_crHover; }
    COLORREF GetPressedTextColor() const { return m_crPressed; }

protected:
    void PreSubclassWindow() override;
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void ClipToWindowRegion(CDC* dc);

    CString m_strCaption;
    BYTE m_bShowText = 0;
    HCURSOR m_hCursor = nullptr;
    CFont* m_pFont = nullptr;
    // What SetFont was given, for a smaller copy when a caption is wider than the button.
    CString m_strFontFace;
    int m_nFontHeight = 0, m_nFontWeight = 0;
    CBitmap m_bmpNormal, m_bmpMask, m_bmpDisabled, m_bmpHover, m_bmpPressed;
    BYTE m_bLoaded = 0;
    BYTE m_bPressed = 0;
    BYTE m_bHover = 0;
    int m_nWidth = 0, m_nHeight = 0;
    int m_nDisabledFrame = 3;
    COLORREF m_crKey = RGB(255, 0, 0);
    COLORREF m_crNormal = RGB(255, 255, 255), m_crHover = RGB(255, 255, 255);
    COLORREF m_crPressed = RGB(255, 255, 255), m_crDisabled = RGB(255, 255, 255);

    DECLARE_MESSAGE_MAP()
};
