#include "FlatHeaderCtrl.h"

BEGIN_MESSAGE_MAP(CFlatHeaderCtrl, CHeaderCtrl)
    ON_WM_CREATE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

namespace {
// Columns of the skin bitmap: left edge, fill and right edge, normal then hot.
const int kLeftEdge = 0, kFill = 5, kRightEdge = 6;
const int kHotLeftEdge = 11, kHotFill = 16, kHotRightEdge = 17;
const int kEdgeWidth = 5;
}

CFlatHeaderCtrl::CFlatHeaderCtrl() = default;

int CFlatHeaderCtrl::OnCreate(LPCREATESTRUCTW cs)
{
    int result = CHeaderCtrl::OnCreate(cs);
    m_hParentList = cs ? cs->hwndParent : ::GetParent(m_hWnd);
    m_crBackground = ::GetSysColor(COLOR_BTNFACE);
    FitWidth();
    return result;
}

void CFlatHeaderCtrl::PreSubclassWindow()
{
    CHeaderCtrl::PreSubclassWindow();
    m_hParentList = ::GetParent(m_hWnd);
    m_crBackground = ::GetSysColor(COLOR_BTNFACE);
    FitWidth();
}

void CFlatHeaderCtrl::FitWidth()
{
    if (!m_hParentList) return;
    CRect parent, self;
    ::GetClientRect(m_hParentList, &parent);
    GetWindowRect(&self);
    SetWindowPos((HWND) nullptr, 0, 0, parent.Width(), self.Height(),
                 SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CFlatHeaderCtrl::SetBitmap(HINSTANCE module, UINT id)
{
    bool ok = m_skin.Load(module, id);
    if (m_hWnd) Invalidate(TRUE);
    return ok;
}

int CFlatHeaderCtrl::SetSortImage(int column, BOOL ascending)
{
    int previous = m_nSortColumn;
    m_nSortColumn = column;
    m_bSortAscending = ascending;
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    if (GetItem(column, &item) && !(item.fmt & HDF_BITMAP)) {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(column, &item);
    }
    Invalidate(TRUE);
    return previous;
}

LRESULT CFlatHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN) m_bButtonDown = 1;
    else if (message == WM_LBUTTONUP) m_bButtonDown = 0;
    return CHeaderCtrl::WindowProc(message, wParam, lParam);
}

void CFlatHeaderCtrl::OnWindowPosChanged(WINDOWPOS* pos)
{
    CHeaderCtrl::OnWindowPosChanged(pos);
    Invalidate(FALSE);
}

void CFlatHeaderCtrl::CopyColumn(CDC* dc, CDC* skin, int destX, int top, int width, int srcX)
{
    dc->BitBlt(destX, top, width, m_skin.m_nHeight, skin, srcX, 0, SRCCOPY);
}

void CFlatHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    int bh = m_skin.m_nHeight;
    if (client.Height() > bh) dc.FillSolidRect(&client, m_crBackground);
    if (!m_skin.m_bLoaded) return;
    CDC skin;
    skin.CreateCompatibleDC(&dc);
    CBitmap* oldSkin = skin.SelectObject(&m_skin.m_bitmap);
    int top = client.bottom - bh;
    for (int x = client.left; x < client.right; ++x) CopyColumn(&dc, &skin, x, top, 1, kFill);

    CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    int count = GetItemCount();
    CRect last;
    for (int i = 0; i < count; ++i) {
        CRect item;
        GetItemRect(i, &item);
        last = item;
        bool hot = m_bHover && i == m_nHotColumn;
        int itemTop = item.bottom - bh;
        for (int x = item.left; x < item.right; ++x) CopyColumn(&dc, &skin, x, itemTop, 1, hot ? kHotFill : kFill);
        CopyColumn(&dc, &skin, item.left, itemTop, kEdgeWidth, hot ? kHotLeftEdge : kLeftEdge);
        CopyColumn(&dc, &skin, item.right - kEdgeWidth, itemTop, kEdgeWidth, hot ? kHotRightEdge : kRightEdge);

        HFONT font = m_bOwnFont ? (HFONT)m_font.m_hObject : (HFONT)SendMessage(WM_GETFONT);
        HGDIOBJ oldFont = font ? dc.SelectObject((HGDIOBJ)font) : nullptr;
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_HEADER;
        dis.itemID = (UINT)i;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = 0;
        dis.hDC = dc.m_hDC;
        dis.hwndItem = m_hWnd;
        dis.rcItem = item;
        DrawItem(&dis);
        if (oldFont) dc.SelectObject(oldFont);
        if (i > 0) {
            CPen* oldPen = dc.SelectObject(&white);
            dc.MoveTo(item.left, item.top + 1);
            dc.LineTo(item.left, item.bottom);
            dc.SelectObject(oldPen);
        }
    }
    if (count > 0) {
        CPen* oldPen = dc.SelectObject(&white);
        dc.MoveTo(last.right, last.top + 1);
        dc.LineTo(last.right, last.bottom);
        dc.SelectObject(oldPen);
    }
    skin.SelectObject(oldSkin);
}

void CFlatHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CDC* dc = CDC::FromHandle(dis->hDC);
    int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    CRect rc = dis->rcItem;
    dc->IntersectClipRect(&rc);
    wchar_t text[255] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = 255;
    GetItem((int)dis->itemID, &item);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (item.fmt & HDF_CENTER) format |= DT_CENTER;
    else if (item.fmt & HDF_RIGHT) format |= DT_RIGHT;
    int R = rc.right;
    if (dis->itemState == ODS_SELECTED) {
        rc.left += 1;
        rc.right += 1;
        rc.top += 2;
    }
    bool sorted = (int)dis->itemID == m_nSortColumn;
    if (sorted) rc.right -= 3 * m_nTextMargin;
    rc.left += m_nTextMargin;
    rc.right -= m_nTextMargin;
    dc->SetTextColor(RGB(255, 255, 255));
    if (!rc.IsRectEmpty()) dc->DrawText(text, -1, &rc, format);
    if (sorted) {
        // A small triangle, drawn pixel by pixel: up for ascending, down for descending.
        static const int kHalfWidths[5] = {0, 1, 2, 3, 4};
        int y0 = dis->rcItem.top + m_nTextMargin - 1;
        for (int row = 0; row < 5; ++row) {
            int half = m_bSortAscending ? kHalfWidths[row] : kHalfWidths[4 - row];
            for (int x = R - 12 - half; x <= R - 12 + half; ++x) dc->SetPixelV(x, y0 + row, kArrow);
        }
    }
    dc->RestoreDC(saved);
}

void CFlatHeaderCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_bButtonDown) return;  // nothing at all, not even the default
    CHeaderCtrl::OnMouseMove(flags, point);
    if ((flags & MK_LBUTTON) && !m_bHover) return;
    m_nHotColumn = -1;
    for (int i = 0, n = GetItemCount(); i < n; ++i) {
        CRect item;
        GetItemRect(i, &item);
        if (item.PtInRect(point)) {
            m_nHotColumn = i;
            break;
        }
    }
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner) owner = ::GetParent(m_hWnd);
    if (::GetCapture() != m_hWnd && ::GetActiveWindow() && owner) {
        m_bHover = 1;
        if (flags & MK_LBUTTON) m_bPressed = 1;
        if (m_nHotColumn != m_nLastHotColumn) Invalidate(TRUE);
    } else {
        POINT screen = point;
        ClientToScreen(&screen);
        HWND under = ::WindowFromPoint(screen);
        if (under != m_hWnd && m_bHover) {
            m_bHover = 0;
            m_bPressed = 0;
            if (m_nHotColumn != m_nLastHotColumn) Invalidate(TRUE);
        }
    }
    m_nLastHotColumn = m_nHotColumn;
}
