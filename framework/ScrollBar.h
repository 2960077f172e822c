#pragma once
#include "Wnd.h"

class CScrollBar : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"SCROLLBAR", nullptr, style, rect, parent, id);
    }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw); }
    void GetScrollRange(int* minPos, int* maxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos); }
    BOOL SetScrollInfo(SCROLLINFO* info, BOOL redraw = TRUE) { return CWnd::SetScrollInfo(SB_CTL, info, redraw); }
    BOOL GetScrollInfo(SCROLLINFO* info, UINT mask = SIF_ALL) const { return CWnd::GetScrollInfo(SB_CTL, info, mask); }
    void ShowScrollBar(BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, show); }
    BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, arrows); }
};
