#include "DragDropListCtrl.h"
#include "DropReorder.h"

BEGIN_MESSAGE_MAP(CDragDropListCtrl, CBListCtrl)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, OnBeginDrag)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
const UINT_PTR kScrollTimer = 1;
const int kProbeX = 8;  // rows are found under this x, whatever column the pointer is in

bool BeforeVista()
{
    OSVERSIONINFOW info = {sizeof(info)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    return info.dwMajorVersion < 6;
}

// The list control's rows, for the shared reordering steps.
class ListRows : public RowMover {
public:
    explicit ListRows(CListCtrl& list) : m_list(list) {}
    int Count() const override { return m_list.GetItemCount(); }
    void CopyRow(int from, int to) override
    {
        wchar_t text[259] = {};
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = from;
        item.pszText = text;
        item.cchTextMax = 259;
        item.stateMask = LVIS_STATEIMAGEMASK | LVIS_DROPHILITED | LVIS_SELECTED | LVIS_FOCUSED;
        m_list.GetItem(&item);
        BOOL checked = m_list.GetCheck(from);
        m_list.SetItemState(from, 0, LVIS_SELECTED);
        item.iItem = to;
        int at = m_list.InsertItem(&item);
        if (at < 0) return;
        m_list.SetCheck(at, checked);
        int source = from >= at ? from + 1 : from;
        CHeaderCtrl* header = m_list.GetHeaderCtrl();
        int columns = header ? header->GetItemCount() : 1;
        for (int c = 1; c < columns; ++c) {
            wchar_t sub[259] = {};
            m_list.GetItemText(source, c, sub, 259);
            m_list.SetItemText(at, c, sub);
        }
    }
    void DeleteRow(int index) override { m_list.DeleteItem(index); }

private:
    CListCtrl& m_list;
};
} // namespace

CDragDropListCtrl::CDragDropListCtrl() = default;

CDragDropListCtrl::~CDragDropListCtrl()
{
    delete m_pDragImage;
    if (m_hWnd && m_nScrollTimer) KillTimer(kScrollTimer);
}

void CDragDropListCtrl::KillScrollTimer()
{
    if (m_nScrollTimer) KillTimer(kScrollTimer);
    m_nScrollTimer = 0;
    m_nScrollDirection = 0;
}

void CDragDropListCtrl::OnBeginDrag(NMHDR* hdr, LRESULT* result)
{
    NMLISTVIEW* lv = (NMLISTVIEW*)hdr;
    *result = 0;
    m_nHighlighted = -1;
    m_nSavedState = 0;
    m_nDropIndex = -1;  // a drop that never met a row moves nothing
    m_dragged.clear();
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) m_dragged.push_back(i);
    if (GetStyle() & LVS_SINGLESEL) {
        m_dwSavedStyle = GetStyle();
        ModifyStyle(LVS_SINGLESEL, 0);
    }
    if (m_dragged.empty()) return;

    delete m_pDragImage;
    m_pDragImage = nullptr;
    CRect bounds;
    for (int i : m_dragged) {
        CRect row;
        GetItemRect(i, &row, LVIR_BOUNDS);
        if (bounds.IsRectEmpty()) bounds = row;
        else bounds.UnionRect(&bounds, &row);
    }
    CHeaderCtrl* header = GetHeaderCtrl();
    if (header && header->GetItemCount() > 0) {
        CRect first;
        header->GetItemRect(0, &first);
        bounds.left += first.Width();
    }
    // One picture of all dragged rows on green, which the image list keys out.
    CClientDC screen(this);
    HBITMAP picture = ::CreateCompatibleBitmap(screen.m_hDC, bounds.Width(), bounds.Height());
    {
        CDC image;
        image.CreateCompatibleDC(&screen);
        HGDIOBJ old = ::SelectObject(image.m_hDC, picture);
        image.FillSolidRect(0, 0, bounds.Width(), bounds.Height(), RGB(0, 255, 0));
        for (int i : m_dragged) {
            POINT upperLeft = {};
            CImageList* rowImage = CreateDragImage(i, &upperLeft);
            if (!rowImage) continue;
            CRect row;
            GetItemRect(i, &row, LVIR_BOUNDS);
            rowImage->Draw(&image, 0, CPoint(row.left - bounds.left, row.top - bounds.top), ILD_NORMAL);
            delete rowImage;
        }
        ::SelectObject(image.m_hDC, old);
    }
    m_pDragImage = new CImageList;
    m_pDragImage->Create(bounds.Width(), bounds.Height(), ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddMasked(m_pDragImage->m_hImageList, picture, RGB(0, 255, 0));
    ::DeleteObject(picture);

    POINT hot = lv->ptAction;
    hot.x -= bounds.left;
    hot.y -= bounds.top;
    m_pDragImage->BeginDrag(0, hot);
    POINT action = lv->ptAction;
    ClientToScreen(&action);
    CImageList::DragEnter(::GetDesktopWindow(), action);
    CImageList::DragMove(action);
    SetCapture();
}

void CDragDropListCtrl::SetTarget(int index)
{
    if (index < 0 || index >= GetItemCount()) return;
    if (m_nHighlighted >= 0) SetItemState(m_nHighlighted, m_nSavedState, LVIS_SELECTED);
    m_nSavedState = GetItemState(index, LVIS_SELECTED);
    m_nHighlighted = index;
    SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
    m_nDropIndex = index;
    UpdateWindow();
}

void CDragDropListCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_pDragImage) {
        KillScrollTimer();
        CBListCtrl::OnMouseMove(flags, point);
        return;
    }
    POINT screenPoint = point;
    ClientToScreen(&screenPoint);
    CImageList::DragMove(screenPoint);
    if (BeforeVista()) CImageList::DragLeave(::GetDesktopWindow());

    CRect window;
    GetWindowRect(&window);
    POINT probe = {window.left + kProbeX, screenPoint.y};
    if (::WindowFromPoint(probe) == m_hWnd) {
        int row = HitTest(CPoint(kProbeX, point.y));
        if (row >= 0) SetTarget(row);
    }
    CRect client;
    GetClientRect(&client);
    CHeaderCtrl* header = GetHeaderCtrl();
    if (header) {
        CRect h;
        header->GetWindowRect(&h);
        client.top += h.Height();
    }
    int direction = point.y < client.top ? 1 : point.y > client.bottom ? 2 : 0;
    if (direction) {
        if (!m_nScrollTimer) m_nScrollTimer = SetTimer(kScrollTimer, 100);
        m_nScrollDirection = direction;
    } else {
        KillScrollTimer();
    }
    CImageList::DragEnter(::GetDesktopWindow(), screenPoint);
    CBListCtrl::OnMouseMove(flags, point);
}

void CDragDropListCtrl::OnTimer(UINT_PTR id)
{
    if (id != kScrollTimer || !m_pDragImage) {
        CBListCtrl::OnTimer(id);
        return;
    }
    CImageList::DragShowNolock(FALSE);
    SendMessage(WM_VSCROLL, m_nScrollDirection == 1 ? SB_LINEUP : SB_LINEDOWN, 0);
    SetTarget(m_nScrollDirection == 1 ? m_nDropIndex - 1 : m_nDropIndex + 1);
    CImageList::DragShowNolock(TRUE);
}

void CDragDropListCtrl::DropRows()
{
    if (m_nHighlighted >= 0 && m_nHighlighted < GetItemCount())
        SetItemState(m_nHighlighted, m_nSavedState, LVIS_SELECTED);
    m_nHighlighted = -1;
    if (m_nDropIndex < 0) return;  // the pointer never met a row: nothing moves
    ListRows rows(*this);
    MoveDraggedRows(rows, m_dragged, m_nDropIndex);
}

void CDragDropListCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_pDragImage) {
        KillScrollTimer();
        ::ReleaseCapture();
        CImageList::DragLeave(::GetDesktopWindow());
        CImageList::EndDrag();
        delete m_pDragImage;
        m_pDragImage = nullptr;
        DropRows();
        if (m_dwSavedStyle) {
            ModifyStyle(0, m_dwSavedStyle & LVS_SINGLESEL);
            m_dwSavedStyle = 0;
        }
    }
    CBListCtrl::OnLButtonUp(flags, point);
}
