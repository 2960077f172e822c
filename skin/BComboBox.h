// CBComboBox: paints the closed field of a drop-down list so that it blends into
// a skinned dialog: the parent's background, the text, a 16-pixel arrow cell
// (normal, pressed, disabled) from a skin bitmap and a 1-pixel frame.
#pragma once
#include "Controls.h"

class CBComboBox : public CComboBox {
public:
    CBComboBox(HINSTANCE module, WORD arrowBitmapId);
    ~CBComboBox() override;

    void SetBorderColor(COLORREF colour) { m_crBorder = colour; }
    void SetParentBrush(HBRUSH brush) { m_hParentBrush = brush; }
    void SetTextColor(COLORREF colour) { m_crText = colour; }
    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    int CurrentCell() const { return m_nCell; }

protected:
    void PreSubclassWindow() override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnEnable(BOOL enable);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnKillFocusReflect();

    void CutCells();
    void BuildBackground();
    void DrawCell(CDC* dc, int cell);
    void ShowCell(int cell);

    HFONT m_hFont = nullptr;
    HBRUSH m_hParentBrush = nullptr;
    COLORREF m_crText = RGB(0, 0, 0);
    BYTE m_bDisabled = 0;
    int m_nCell = 0;
    WORD m_nArrowId;
    int m_nClientWidth = 0;
    HBITMAP m_hArrow = nullptr;
    HBITMAP m_hCells[3] = {};
    HBITMAP m_hBackground = nullptr;
    BYTE m_bPressed = 0;
    BYTE m_bRebuild = 1;
    COLORREF m_crBorder;

    DECLARE_MESSAGE_MAP()
};
