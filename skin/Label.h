// CLabel: a static with its own text colour and font that can act as a link:
// clicking it opens its own text with the shell.
#pragma once
#include "Controls.h"

class CLabel : public CStatic {
public:
    CLabel();
    ~CLabel() override;
    CLabel& SetTextColor(COLORREF colour);
    CLabel& SetFontSize(int size);
    CLabel& SetFontUnderline(BOOL underline);
    CLabel& SetLink(BOOL link);
    CLabel& SetLinkCursor(HCURSOR cursor);

protected:
    void PreSubclassWindow() override;
    HBRUSH CtlColor(CDC* dc, UINT kind);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnLButtonDown(UINT flags, CPoint point);
    void ReconstructFont();
    void RedrawNow();

    COLORREF m_crText;
    CBrush m_brush;
    LOGFONTW m_lf = {};
    CFont m_font;
    BOOL m_bLink = TRUE;
    HCURSOR m_hCursor = nullptr;

    DECLARE_MESSAGE_MAP()
};
