// CFlatHeaderCtrl: the header of the skinned lists, painted from one skin
// bitmap (edges and fill, normal and hot), with white column text, white
// separators and a sort arrow.
#pragma once
#include "BmpInfo.h"
#include "Controls.h"

class CFlatHeaderCtrl : public CHeaderCtrl {
public:
    CFlatHeaderCtrl();
    bool SetBitmap(HINSTANCE module, UINT id);
    int SetSortImage(int column, BOOL ascending);
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    int SortColumn() const { return m_nSortColumn; }
    // The sort arrow in the skin's light amber: black would vanish on the dark header.
    static const COLORREF kArrow = RGB(245, 199, 126);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW cs);
    void OnWindowPosChanged(WINDOWPOS* pos);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);
    void FitWidth();
    void CopyColumn(CDC* dc, CDC* skin, int destX, int top, int width, int srcX);

    BOOL m_bOwnFont = FALSE;
    CFont m_font;
    BOOL m_bSortAscending = FALSE;
    int m_nTextMargin = 6;
    int m_nSortColumn = -1;
    HWND m_hParentList = nullptr;
    CBmpInfo m_skin;
    COLORREF m_crBackground = 0;
    BYTE m_bHover = 0, m_bPressed = 0;
    int m_nHotColumn = -1, m_nLastHotColumn = -1;
    BYTE m_bButtonDown = 0;

    DECLARE_MESSAGE_MAP()
};
