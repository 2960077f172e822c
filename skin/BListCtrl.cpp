#include "BListCtrl.h"
#include "SkinModule.h"

UINT CBListCtrl::s_headerBitmapId = 166;

BEGIN_MESSAGE_MAP(CBListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

CBListCtrl::CBListCtrl() = default;

CBListCtrl::~CBListCtrl() { delete m_pImageList; }

void CBListCtrl::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    HWND header = (HWND)SendMessage(LVM_GETHEADER);
    if (header && m_header.SubclassWindow(header)) {
        m_header.SetBitmap(GetSkinModule(), s_headerBitmapId);
        m_header.SetSortImage(0, FALSE);
    }
    delete m_pImageList;
    m_pImageList = new CImageList;
    m_pImageList->Create(16, 16, ILC_COLOR32, 1, 1);
    SetImageList(m_pImageList, LVSIL_SMALL);
    // A language module without the row icons leaves the program's own ones.
    for (UINT id : {145u, 144u}) {
        HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
        if (!icon) icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
        m_pImageList->Add(icon);
    }
    SetBkColor(kBackground);
    SetTextBkColor(kBackground);
    SetTextColor(kText);
    SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    SetSkinnedCheckBoxes();
}

void CBListCtrl::SetSkinnedCheckBoxes()
{
    // The rows' check boxes in the skin's colours (the platform's white boxes
    // glare on the dark rows): state image 1 unchecked, 2 checked.
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 2, 0);
    if (!images) return;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    for (int checked = 0; checked < 2; ++checked) {
        HBITMAP picture = ::CreateCompatibleBitmap(screen, 16, 16);
        HGDIOBJ old = ::SelectObject(dc, picture);
        RECT all = {0, 0, 16, 16}, box = {2, 2, 14, 14}, face = {3, 3, 13, 13};
        HBRUSH row = ::CreateSolidBrush(kBackground), rim = ::CreateSolidBrush(kCheckRim),
               inside = ::CreateSolidBrush(kCheckFace);
        ::FillRect(dc, &all, row);
        ::FillRect(dc, &box, rim);
        ::FillRect(dc, &face, inside);
        if (checked) {
            HPEN pen = ::CreatePen(PS_SOLID, 2, kCheckMark);
            HGDIOBJ oldPen = ::SelectObject(dc, pen);
            POINT tick[3] = {{5, 8}, {7, 10}, {11, 5}};
            ::Polyline(dc, tick, 3);
            ::SelectObject(dc, oldPen);
            ::DeleteObject(pen);
        }
        ::SelectObject(dc, old);
        ImageList_Add(images, picture, nullptr);
        ::DeleteObject(picture);
        ::DeleteObject(row);
        ::DeleteObject(rim);
        ::DeleteObject(inside);
    }
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    HIMAGELIST previous = (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, LVSIL_STATE, (LPARAM)images);
    if (previous) ImageList_Destroy(previous);
}

LRESULT CBListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_bMouseEnabled) {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            return 1;
        case WM_KEYDOWN:
        case WM_CHAR:
            // Scrolling keys still scroll; keys that select, check or edit do not.
            if (message == WM_KEYDOWN && (wParam == VK_PRIOR || wParam == VK_NEXT)) break;
            return 0;
        case LVM_EDITLABELW:
        case LVM_EDITLABELA:
            return 0;
        }
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}

void CBListCtrl::OnCustomDraw(NMHDR* hdr, LRESULT* result)
{
    NMLVCUSTOMDRAW* cd = (NMLVCUSTOMDRAW*)hdr;
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT:
        // Selected rows are painted in our colours: the drawing state loses its
        // selected and focus bits, the row's own selection stays as it is.
        if (GetItemState((int)cd->nmcd.dwItemSpec, LVIS_SELECTED) & LVIS_SELECTED) {
            cd->clrText = kSelectedText;
            cd->clrTextBk = kSelectedBackground;
            cd->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
        }
        *result = CDRF_NOTIFYPOSTPAINT;
        return;
    default:
        *result = CDRF_DODEFAULT;
    }
}

BOOL CBListCtrl::TranslateScroll(UINT message, WPARAM wParam)
{
    int code = LOWORD(wParam);
    if (code != SB_LINEUP && code != SB_LINEDOWN && code != SB_THUMBPOSITION && code != SB_THUMBTRACK) return FALSE;
    CRect client;
    GetClientRect(&client);
    SCROLLINFO h = {sizeof(h), SIF_ALL}, v = {sizeof(v), SIF_ALL};
    ::GetScrollInfo(m_hWnd, SB_HORZ, &h);
    ::GetScrollInfo(m_hWnd, SB_VERT, &v);
    long long width = h.nPage ? (long long)(h.nMax + 1) * client.Width() / (long long)h.nPage : client.Width();
    long long height = v.nPage ? (long long)(v.nMax + 1) * client.Height() / (long long)v.nPage : client.Height();
    long long hRange = h.nMax + 1 > 0 ? h.nMax + 1 : 1, vRange = v.nMax + 1 > 0 ? v.nMax + 1 : 1;
    int target = (int)HIWORD(wParam);
    long long dx, dy;
    if (message == WM_VSCROLL) {
        dx = h.nPos * width / hRange;
        dy = code == SB_LINEUP ? -10 : code == SB_LINEDOWN ? 10 : (target - v.nPos) * height / vRange;
    } else {
        dx = code == SB_LINEUP ? -10 : code == SB_LINEDOWN ? 10 : (target - h.nPos) * width / hRange;
        dy = v.nPos * height / vRange;
    }
    SendMessage(LVM_SCROLL, (WPARAM)dx, (LPARAM)dy);
    return TRUE;
}
