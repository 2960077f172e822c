// CSkinScrollBar: a scroll bar drawn from a skin bitmap of nine square cells
// (arrows, thumb and track of both directions, the corner) in rows for normal,
// hover and pressed. It keeps its own scroll information and reports to the
// frame (its parent) as a scroll bar does, plus WM_SKINSCROLL_POSITION.
#pragma once
#include "Controls.h"
#include "ScrollGeometry.h"

#define WM_SKINSCROLL_POSITION (WM_USER + 45)
#define WM_SKINSCROLL_LAYOUT (WM_USER + 100)

class CSkinScrollBar : public CScrollBar {
public:
    CSkinScrollBar();
    void SetBitmap(HBITMAP bitmap);
    bool IsVertical() const { return (GetStyle() & SBS_VERT) != 0; }
    bool IsDragging() const { return m_bDragging != FALSE; }
    const SkinScrollInfo& Info() const { return m_info; }
    int PartSize() const { return m_nPartSize; }

    enum { kRepeatTimer = 100, kDelayTimer = 200 };

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseLeave();
    void OnTimer(UINT_PTR id);

    int Along(CPoint p) const { return IsVertical() ? p.y : p.x; }
    void Send(UINT code, int pos, bool withPos = true);
    void RepeatStep();
    void DrawArrow(CDC* dc, int part, int row);
    void DrawTrackAndThumb(CDC* dc);
    void DrawCell(CDC* dc, int cell, int row, int start, int length, bool tile, bool keepEnds);
    CRect PartRect(int start, int length) const;

    HBITMAP m_hSkin = nullptr;
    int m_nPartSize = 0, m_nBitmapHeight = 0;
    int m_nLength = 0;
    SkinScrollInfo m_info;
    BOOL m_bDragging = FALSE;
    CPoint m_ptPress;
    int m_nStartPos = 0;
    int m_nPressedPart = kPartNone;
    int m_nHotPart = kPartNone;
    BOOL m_bPaused = FALSE;
    BOOL m_bLeaveTracking = FALSE;
    UINT_PTR m_nDelayTimer = 0, m_nRepeatTimer = 0;
    BOOL m_bRepeating = FALSE;

    DECLARE_MESSAGE_MAP()
};
