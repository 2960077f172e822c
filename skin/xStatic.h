// CxStatic: an owner-drawn static with a bitmap (or solid colour) background and
// its own word-wrapping text layout; a dropped ".bmp" file becomes its background.
#pragma once
#include "Controls.h"

class CxStatic : public CStatic {
public:
    CxStatic();
    ~CxStatic() override;

    void SetBitmap(HINSTANCE module, UINT bitmapId, BOOL keepSize, COLORREF colour = 0);
    void SetTextColor(COLORREF colour);
    void SetFont(const wchar_t* face, int height, int weight, BOOL redraw = TRUE);
    void SetWindowText(const wchar_t* text);
    void SetWordWrap(BOOL wrap) { m_bWordWrap = wrap; }
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    const CString& Text() const { return m_strText; }
    const CString& BitmapFile() const { return m_strBitmapFile; }
    bool HasBitmap() const { return m_bHasBitmap != FALSE; }
    // The DrawText format the layout uses for a static style and text.
    static UINT TextFormat(DWORD style, const CString& text);

protected:
    void PreSubclassWindow() override;
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(CDC*) { return FALSE; }
    void OnDropFiles(HDROP drop);
    void CopyFont(HFONT font);
    void TakeBitmap(HBITMAP bitmap);

    CString m_strText;
    BOOL m_bWordWrap = TRUE;
    COLORREF m_crText;
    COLORREF m_crBackground;
    CBrush m_brush;
    DWORD m_dwStyle = 0;
    BOOL m_bHasBitmap = FALSE;
    int m_nBitmapId = -1;
    CBitmap m_bitmap;
    BITMAP m_bmInfo = {};
    CString m_strBitmapFile;
    CFont m_font;

    DECLARE_MESSAGE_MAP()
};
