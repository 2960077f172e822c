#include "SkinScrollBar.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CSkinScrollBar, CScrollBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSELEAVE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
// Cells of the skin bitmap: vertical bar 0..3, horizontal bar 4..7, corner 8.
const int kCellUp = 0, kCellDown = 1, kCellThumb = 2, kCellTrack = 3, kHorizontal = 4;
}

CSkinScrollBar::CSkinScrollBar() = default;

void CSkinScrollBar::SetBitmap(HBITMAP bitmap)
{
    m_hSkin = bitmap;
    BITMAP bm = {};
    if (bitmap) ::GetObjectW(bitmap, sizeof(bm), &bm);
    m_nPartSize = bm.bmWidth / 9;
    m_nBitmapHeight = bm.bmHeight;
    if (!m_hWnd) return;
    CRect rc;
    GetWindowRect(&rc);
    if (IsVertical()) SetWindowPos((HWND) nullptr, 0, 0, m_nPartSize, rc.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else SetWindowPos((HWND) nullptr, 0, 0, rc.Width(), m_nPartSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CSkinScrollBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SBM_SETSCROLLINFO) {
        const SCROLLINFO* si = (const SCROLLINFO*)lParam;
        if (si->fMask & SIF_PAGE) m_info.page = (int)si->nPage;
        if (si->fMask & SIF_POS) m_info.pos = si->nPos;
        if (si->fMask & SIF_RANGE) {
            m_info.min = si->nMin;
            m_info.max = si->nMax;
        }
        if (wParam && m_hWnd) {
            CClientDC dc(this);
            DrawTrackAndThumb(&dc);
        }
        return 1;
    }
    if (message == SBM_GETSCROLLINFO) {
        SCROLLINFO* si = (SCROLLINFO*)lParam;
        if (si->fMask & SIF_PAGE) si->nPage = (UINT)m_info.page;
        if (si->fMask & SIF_POS) si->nPos = m_info.pos;
        if (si->fMask & SIF_TRACKPOS) si->nTrackPos = m_info.trackPos;
        if (si->fMask & SIF_RANGE) {
            si->nMin = m_info.min;
            si->nMax = m_info.max;
        }
        return 1;
    }
    if (message == WM_LBUTTONDBLCLK) return 0;
    return CScrollBar::WindowProc(message, wParam, lParam);
}

void CSkinScrollBar::OnSize(UINT type, int cx, int cy)
{
    CScrollBar::OnSize(type, cx, cy);
    m_nLength = IsVertical() ? cy : cx;
}

CRect CSkinScrollBar::PartRect(int start, int length) const
{
    return IsVertical() ? CRect(0, start, m_nPartSize, start + length) : CRect(start, 0, start + length, m_nPartSize);
}

void CSkinScrollBar::DrawCell(CDC* dc, int cell, int row, int start, int length, bool tile, bool keepEnds)
{
    if (!m_hSkin || length <= 0) return;
    int A = m_nPartSize;
    if (!IsVertical()) cell += kHorizontal;
    int sx = cell * A, sy = row * A;
    CDC mem;
    mem.CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hSkin);
    bool vertical = IsVertical();
    auto blit = [&](int at, int len, int from, int fromLen) {
        if (len <= 0) return;
        if (vertical) {
            if (len == fromLen) dc->BitBlt(0, at, A, len, &mem, sx, sy + from, SRCCOPY);
            else dc->StretchBlt(0, at, A, len, &mem, sx, sy + from, A, fromLen, SRCCOPY);
        } else {
            if (len == fromLen) dc->BitBlt(at, 0, len, A, &mem, sx + from, sy, SRCCOPY);
            else dc->StretchBlt(at, 0, len, A, &mem, sx + from, sy, fromLen, A, SRCCOPY);
        }
    };
    if (!tile) {
        blit(start, length, 0, A);
    } else {
        int ends = keepEnds && length > 6 && A > 6 ? 3 : 0;
        blit(start, ends, 0, ends);
        int middle = A - 2 * ends;
        for (int at = start + ends; at < start + length - ends; at += middle)
            blit(at, std::min(middle, start + length - ends - at), ends, std::min(middle, start + length - ends - at));
        blit(start + length - ends, ends, A - ends, ends);
    }
    ::SelectObject(mem.m_hDC, old);
}

void CSkinScrollBar::DrawArrow(CDC* dc, int part, int row)
{
    SkinScrollLayout layout = LayoutSkinScroll(m_nLength, m_nPartSize, m_info);
    if (part == kPartLineUp) DrawCell(dc, kCellUp, row, 0, layout.arrow, false, false);
    else if (part == kPartLineDown) DrawCell(dc, kCellDown, row, m_nLength - layout.arrow, layout.arrow, false, false);
}

void CSkinScrollBar::DrawTrackAndThumb(CDC* dc)
{
    SkinScrollLayout layout = LayoutSkinScroll(m_nLength, m_nPartSize, m_info);
    int trackEnd = m_nLength - layout.arrow;
    DrawCell(dc, kCellTrack, 0, layout.arrow, layout.thumbStart - layout.arrow, true, false);
    DrawCell(dc, kCellTrack, 0, layout.thumbStart + layout.thumbLength, trackEnd - layout.thumbStart - layout.thumbLength, true, false);
    DrawCell(dc, kCellThumb, 0, layout.thumbStart, layout.thumbLength, true, true);
}

void CSkinScrollBar::OnPaint()
{
    CPaintDC dc(this);
    if (!m_hSkin) return;
    DrawArrow(&dc, kPartLineUp, m_nHotPart == kPartLineUp ? 1 : 0);
    DrawArrow(&dc, kPartLineDown, m_nHotPart == kPartLineDown ? 1 : 0);
    DrawTrackAndThumb(&dc);
}

void CSkinScrollBar::Send(UINT code, int pos, bool withPos)
{
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return;
    WPARAM wParam = withPos ? MAKEWPARAM(code, (WORD)pos) : code;
    ::SendMessageW(parent, IsVertical() ? WM_VSCROLL : WM_HSCROLL, wParam, (LPARAM)m_hWnd);
}

void CSkinScrollBar::OnLButtonDown(UINT flags, CPoint point)
{
    SetCapture();
    int part = HitTestSkinScroll(m_nLength, m_nPartSize, m_info, Along(point));
    if (part == kPartThumb) {
        m_ptPress = point;
        m_info.trackPos = m_nStartPos = m_info.pos;
        m_bDragging = TRUE;
        return;
    }
    m_nPressedPart = part;
    if (part == kPartLineUp || part == kPartPageUp) {
        m_info.pos = std::max(m_info.pos - 1, m_info.min);
        Send(SB_LINEUP, m_info.pos);
    } else if (part == kPartLineDown || part == kPartPageDown) {
        m_info.pos = std::min(m_info.pos + 1, m_info.max);
        Send(SB_LINEDOWN, m_info.pos);
    }
    m_nDelayTimer = SetTimer(kDelayTimer, 500);
    m_bPaused = FALSE;
    CClientDC dc(this);
    DrawArrow(&dc, part, 2);
    (void)flags;
}

void CSkinScrollBar::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_bLeaveTracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        m_bLeaveTracking = ::TrackMouseEvent(&tme);
    }
    CClientDC dc(this);
    if (m_bDragging) {
        int delta = Along(point) - Along(m_ptPress);
        int pos = DragSkinScroll(m_nLength, m_nPartSize, m_info, m_nStartPos, delta);
        if (pos != m_info.trackPos) {
            m_info.trackPos = pos;
            DrawTrackAndThumb(&dc);
            HWND parent = ::GetParent(m_hWnd);
            if (parent) ::SendMessageW(parent, WM_SKINSCROLL_POSITION, IsVertical() ? WM_VSCROLL : WM_HSCROLL, pos);
            Send(SB_THUMBTRACK, pos);
        }
        return;
    }
    int part = HitTestSkinScroll(m_nLength, m_nPartSize, m_info, Along(point));
    if (m_nPressedPart == kPartNone) {
        if (part != m_nHotPart) {
            int previous = m_nHotPart;
            m_nHotPart = part;
            if (previous == kPartLineUp || previous == kPartLineDown) DrawArrow(&dc, previous, 0);
            if (part == kPartLineUp || part == kPartLineDown) DrawArrow(&dc, part, 1);
            if (part == kPartThumb || previous == kPartThumb) DrawTrackAndThumb(&dc);
        }
    } else {
        m_bPaused = part != m_nPressedPart;
        if (m_nPressedPart == kPartLineUp || m_nPressedPart == kPartLineDown)
            DrawArrow(&dc, m_nPressedPart, m_bPaused ? 0 : 2);
    }
    (void)flags;
}

void CSkinScrollBar::OnLButtonUp(UINT, CPoint)
{
    ::ReleaseCapture();
    if (m_bDragging) {
        m_bDragging = FALSE;
        Send(SB_THUMBPOSITION, m_info.trackPos);
        m_info.trackPos = -1;
        CClientDC dc(this);
        DrawTrackAndThumb(&dc);
        return;
    }
    if (m_bRepeating) {
        KillTimer(kRepeatTimer);
        m_bRepeating = FALSE;
    } else if (m_nDelayTimer) {
        KillTimer(kDelayTimer);
    }
    m_nDelayTimer = 0;
    int pressed = m_nPressedPart;
    m_nPressedPart = kPartNone;
    if (pressed == kPartLineUp || pressed == kPartLineDown) {
        CClientDC dc(this);
        DrawArrow(&dc, pressed, 0);
    }
}

void CSkinScrollBar::OnMouseLeave()
{
    m_bLeaveTracking = FALSE;
    OnMouseMove(0, CPoint(-1, -1));
}

void CSkinScrollBar::RepeatStep()
{
    if (m_bPaused) return;
    switch (m_nPressedPart) {
    case kPartLineUp:
        if (m_info.pos == m_info.min) KillTimer(kRepeatTimer);
        else Send(SB_LINEUP, 0, false);
        break;
    case kPartLineDown:
        if (m_info.pos == m_info.max) KillTimer(kRepeatTimer);
        else Send(SB_LINEDOWN, 0, false);
        break;
    case kPartPageUp:
    case kPartPageDown: {
        POINT p;
        ::GetCursorPos(&p);
        ScreenToClient(&p);
        if (HitTestSkinScroll(m_nLength, m_nPartSize, m_info, Along(CPoint(p))) == kPartThumb) KillTimer(kRepeatTimer);
        else Send(m_nPressedPart == kPartPageUp ? SB_PAGEUP : SB_PAGEDOWN, 0, false);
        break;
    }
    default:
        break;
    }
}

void CSkinScrollBar::OnTimer(UINT_PTR id)
{
    if (id == kDelayTimer) {
        KillTimer(kDelayTimer);
        m_nDelayTimer = 0;
        m_bRepeating = TRUE;
        m_nRepeatTimer = SetTimer(kRepeatTimer, 100);
        RepeatStep();
    } else if (id == kRepeatTimer) {
        RepeatStep();
    }
}
