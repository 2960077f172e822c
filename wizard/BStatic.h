// CBStatic: the static text of the wizard's pages. It paints the section of its
// page's background picture that lies under it and then its text over it in its
// own colour, so the text stands on the picture without a box.
#pragma once
#include "Bitmap.h"
#include "Static.h"

class CBStatic : public CStatic {
public:
    CBStatic() = default;

    // The page background to draw from; the page keeps it alive.
    void SetBkBitmap(CBitmap* bitmap) { m_pBackground = bitmap; }
    // The section of the background shown under the control; repaints.
    void SetBkRect(int x, int y, int width, int height);
    // No repaint.
    void SetTextColor(COLORREF colour) { m_crText = colour; }
    // Replaces the text; repaints.
    void SetText(const wchar_t* text);
    const CString& GetText() const { return m_strText; }
    UINT GetTextFormat() const { return m_nFormat; }

    void PreSubclassWindow() override;

protected:
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();

    CBitmap* m_pBackground = nullptr;
    HFONT m_hFont = nullptr;
    int m_nSourceX = 0, m_nSourceY = 0;
    int m_nWidth = 0, m_nHeight = 0;
    UINT m_nFormat = 0;
    COLORREF m_crText = RGB(100, 100, 100);
    CString m_strText;

    DECLARE_MESSAGE_MAP()
};
