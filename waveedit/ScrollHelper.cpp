#include "ScrollHelper.h"

void CScrollHelper::SetDisplaySize(int cx, int cy)
{
    m_displayX = cx;
    m_displayY = cy;
    if (m_wnd && IsWindow(m_wnd))
        UpdateScrollInfo();
}

void CScrollHelper::UpdateScrollInfo()
{
    if (!m_wnd)
        return;
    RECT r;
    GetClientRect(m_wnd, &r);
    const int w = r.right - r.left, old = m_posX;
    if (w < m_displayX) {
        if (m_pageX > 0)
            m_posX = (int)((long long)m_posX * w / m_pageX);
        m_pageX = w;
        if (m_posX > m_displayX - w)
            m_posX = m_displayX - w;
        if (m_posX < 0)
            m_posX = 0;
    } else {
        m_pageX = 0;
        m_posX = 0;
    }
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, w < m_displayX ? m_displayX - 1 : 0,
                     (UINT)m_pageX, m_posX, 0};
    SetScrollInfo(m_wnd, SB_HORZ, &si, TRUE);
    if (old != m_posX)
        ScrollWindow(m_wnd, old - m_posX, 0, nullptr, nullptr);
}

void CScrollHelper::SetScrollPosH(int pos)
{
    m_posX = pos;
    UpdateScrollInfo();
}

void CScrollHelper::Scroll(int bar, int& pos, int page, int display, UINT code)
{
    int delta = 0;
    switch (code) {
    case SB_LINELEFT: delta = -60; break;
    case SB_LINERIGHT: delta = 60; break;
    case SB_PAGELEFT: delta = -page; break;
    case SB_PAGERIGHT: delta = page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO si = {sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(m_wnd, bar, &si);
        delta = si.nTrackPos - pos;
        break;
    }
    default: return;
    }
    int next = pos + delta;
    if (next > display - page)
        next = display - page;
    if (next < 0)
        next = 0;
    if (next == pos)
        return;
    const int moved = pos - next;
    pos = next;
    SetScrollPos(m_wnd, bar, pos, TRUE);
    if (bar == SB_HORZ)
        ScrollWindow(m_wnd, moved, 0, nullptr, nullptr);
    else
        ScrollWindow(m_wnd, 0, moved, nullptr, nullptr);
}

void CScrollHelper::OnHScroll(UINT code)
{
    Scroll(SB_HORZ, m_posX, m_pageX, m_displayX, code);
}

void CScrollHelper::OnVScroll(UINT code)
{
    Scroll(SB_VERT, m_posY, m_pageY, m_displayY, code);
}

bool CScrollHelper::OnMouseWheel(short delta)
{
    int minPos = 0, maxPos = 0;
    GetScrollRange(m_wnd, SB_VERT, &minPos, &maxPos);
    if (minPos == maxPos)
        return false;
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL) {
        OnVScroll(delta > 0 ? SB_PAGEUP : SB_PAGEDOWN);
        return true;
    }
    int steps = delta / 120 * (int)lines / 3;
    if (steps < 0)
        steps = -steps;
    if (steps < 1)
        steps = 1;
    for (int i = 0; i < steps; ++i)
        OnVScroll(delta > 0 ? SB_LINEUP : SB_LINEDOWN);
    return true;
}
