#include "BComboBox.h"
#include "SkinModule.h"
#include "StripFrame.h"

BEGIN_MESSAGE_MAP(CBComboBox, CComboBox)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_ENABLE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_CONTROL_REFLECT(CBN_KILLFOCUS, OnKillFocusReflect)
END_MESSAGE_MAP()

namespace {
const int kArrowWidth = 16;
const int kArrowCellHeight = 27;  // the arrow cell is centred for this height
}

CBComboBox::CBComboBox(HINSTANCE module, WORD arrowBitmapId)
    : m_nArrowId(arrowBitmapId), m_crBorder(::GetSysColor(COLOR_3DDKSHADOW))
{
    m_hArrow = LoadSkinBitmap(module, arrowBitmapId);
}

CBComboBox::~CBComboBox()
{
    for (HBITMAP cell : m_hCells)
        if (cell) ::DeleteObject(cell);
    if (m_hBackground) ::DeleteObject(m_hBackground);
    if (m_hArrow) ::DeleteObject(m_hArrow);
}

void CBComboBox::PreSubclassWindow()
{
    if (!IsWindowEnabled()) {
        m_bDisabled = 1;
        m_nCell = 2;
    }
    m_hFont = (HFONT)::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (LONG_PTR)(GetStyle() | 0x0B));
    CComboBox::PreSubclassWindow();
}

BOOL CBComboBox::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_LBUTTONDBLCLK && msg->hwnd == m_hWnd) msg->message = WM_LBUTTONDOWN;
    return CComboBox::PreTranslateMessage(msg);
}

void CBComboBox::CutCells()
{
    if (!m_hArrow) return;
    BITMAP bm = {};
    ::GetObjectW(m_hArrow, sizeof(bm), &bm);
    int cellWidth = bm.bmWidth / 3;
    for (int i = 0; i < 3; ++i) {
        if (m_hCells[i]) ::DeleteObject(m_hCells[i]);
        m_hCells[i] = CopyStripFrame(m_hArrow, i, cellWidth, bm.bmHeight);
    }
}

void CBComboBox::BuildBackground()
{
    if (m_hBackground) ::DeleteObject(m_hBackground);
    CRect client;
    GetClientRect(&client);
    HDC screen = ::GetDC(nullptr);
    HDC dst = ::CreateCompatibleDC(screen);
    m_hBackground = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
    HGDIOBJ oldDst = ::SelectObject(dst, m_hBackground);
    HWND parent = ::GetParent(m_hWnd);
    if (m_hParentBrush && parent) {
        CRect parentRect, self;
        ::GetWindowRect(parent, &parentRect);
        GetWindowRect(&self);
        HDC tmp = ::CreateCompatibleDC(screen);
        HBITMAP whole = ::CreateCompatibleBitmap(screen, parentRect.Width(), parentRect.Height());
        HGDIOBJ oldTmp = ::SelectObject(tmp, whole);
        ::SetBrushOrgEx(tmp, 0, 0, nullptr);
        RECT all = {0, 0, parentRect.Width(), parentRect.Height()};
        ::FillRect(tmp, &all, m_hParentBrush);
        ::BitBlt(dst, 0, 0, client.Width(), client.Height(), tmp, self.left - parentRect.left,
                 self.top - parentRect.top, SRCCOPY);
        ::SelectObject(tmp, oldTmp);
        ::DeleteObject(whole);
        ::DeleteDC(tmp);
    } else {
        RECT all = {0, 0, client.Width(), client.Height()};
        HBRUSH white = (HBRUSH)::GetStockObject(WHITE_BRUSH);
        ::FillRect(dst, &all, white);
    }
    ::SelectObject(dst, oldDst);
    ::DeleteDC(dst);
    ::ReleaseDC(nullptr, screen);
}

void CBComboBox::DrawCell(CDC* dc, int cell)
{
    CRect client;
    GetClientRect(&client);
    m_nClientWidth = client.Width();
    CDC mem;
    mem.CreateCompatibleDC(dc);
    if (m_hBackground) {
        HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hBackground);
        dc->BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
        ::SelectObject(mem.m_hDC, old);
    }
    int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    if (m_hFont) dc->SelectObject((HGDIOBJ)m_hFont);
    wchar_t text[255] = {};
    ::GetWindowTextW(m_hWnd, text, 255);
    dc->SetTextColor(m_bDisabled ? ::GetSysColor(COLOR_BTNSHADOW) : m_crText);
    CRect textRect = client;
    textRect.left += 4;
    // The text is drawn as it is: no round trip through the ANSI code page.
    dc->DrawText(text, -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    dc->RestoreDC(saved);

    if (cell >= 0 && cell < 3 && m_hCells[cell]) {
        int d = (client.Height() - kArrowCellHeight) / 2;
        int destY = d > 0 ? d : 0;
        int srcY = d > 0 ? 0 : -d;
        HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hCells[cell]);
        dc->BitBlt(client.Width() - kArrowWidth, destY, kArrowWidth, client.Height(), &mem, 0, srcY, SRCCOPY);
        ::SelectObject(mem.m_hDC, old);
    }
    CPen pen(PS_SOLID, 1, m_crBorder);
    CPen* oldPen = dc->SelectObject(&pen);
    int R = client.Width() - 1, B = client.Height();
    dc->MoveTo(0, 0);
    dc->LineTo(R, 0);
    dc->MoveTo(0, 0);
    dc->LineTo(0, B - 1);
    dc->MoveTo(0, B - 1);
    dc->LineTo(R, B - 1);
    dc->MoveTo(R, 0);
    dc->LineTo(R, B);
    dc->MoveTo(R - kArrowWidth, 0);
    dc->LineTo(R - kArrowWidth, B);
    dc->SelectObject(oldPen);
}

void CBComboBox::ShowCell(int cell)
{
    m_nCell = cell;
    if (m_bRebuild) return;  // nothing prepared yet: the first paint draws it
    CClientDC dc(this);
    DrawCell(&dc, cell);
}

void CBComboBox::OnPaint()
{
    CPaintDC dc(this);
    if (m_bRebuild) {
        CutCells();
        BuildBackground();
        m_bRebuild = 0;
    }
    BuildBackground();
    DrawCell(&dc, m_nCell);
}

void CBComboBox::OnEnable(BOOL enable)
{
    m_bDisabled = enable ? 0 : 1;
    ShowCell(enable ? 0 : 2);
    CComboBox::OnEnable(enable);
}

void CBComboBox::OnLButtonDown(UINT flags, CPoint point)
{
    m_bPressed = 1;
    CRect client;
    GetClientRect(&client);
    ShowCell(client.PtInRect(point) ? 1 : 0);
    CComboBox::OnLButtonDown(flags, point);
}

void CBComboBox::OnLButtonUp(UINT flags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) ShowCell(0);
    CComboBox::OnLButtonUp(flags, point);
}

void CBComboBox::OnMouseMove(UINT flags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) ShowCell(0);
    CComboBox::OnMouseMove(flags, point);
}

void CBComboBox::OnKillFocusReflect()
{
    // The reflected notification is ours; the combo box itself has nothing to do here.
    ShowCell(m_bDisabled ? 2 : 0);
}
