#include "ListCtrl.h"

int CListCtrl::InsertColumn(int col, const wchar_t* heading, int format, int width, int subItem)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = format;
    column.pszText = const_cast<wchar_t*>(heading);
    if (width != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    if (subItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = subItem;
    }
    return (int)SendMessage(LVM_INSERTCOLUMNW, (WPARAM)col, (LPARAM)&column);
}

int CListCtrl::InsertItem(int index, const wchar_t* text, int image)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    item.iImage = image;
    return InsertItem(&item);
}

int CListCtrl::GetItemText(int index, int subItem, wchar_t* buffer, int length) const
{
    LVITEMW item = {};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = length;
    return (int)SendMessage(LVM_GETITEMTEXTW, (WPARAM)index, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int index, int subItem) const
{
    std::wstring buffer(256, L'\0');
    for (;;) {
        int got = GetItemText(index, subItem, &buffer[0], (int)buffer.size());
        if (got < (int)buffer.size() - 1) {
            buffer.resize((size_t)(got > 0 ? got : 0));
            return CString(buffer);
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

BOOL CListCtrl::SetItemText(int index, int subItem, const wchar_t* text)
{
    LVITEMW item = {};
    item.iSubItem = subItem;
    item.pszText = const_cast<wchar_t*>(text);
    return (BOOL)SendMessage(LVM_SETITEMTEXTW, (WPARAM)index, (LPARAM)&item);
}

DWORD_PTR CListCtrl::GetItemData(int index) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = (LPARAM)data;
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)index, (LPARAM)&item);
}

BOOL CListCtrl::GetItemRect(int index, RECT* rc, UINT code) const
{
    rc->left = (LONG)code;
    return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)index, (LPARAM)rc);
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int code, RECT* rc) const
{
    rc->top = subItem;
    rc->left = code;
    return (BOOL)SendMessage(LVM_GETSUBITEMRECT, (WPARAM)index, (LPARAM)rc);
}

int CListCtrl::HitTest(POINT p, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt = p;
    int index = HitTest(&info);
    if (flags) *flags = info.flags;
    return index;
}

CImageList* CListCtrl::CreateDragImage(int index, POINT* upperLeft)
{
    HIMAGELIST list = (HIMAGELIST)SendMessage(LVM_CREATEDRAGIMAGE, (WPARAM)index, (LPARAM)upperLeft);
    if (!list) return nullptr;
    CImageList* image = new CImageList;
    image->Attach(list);
    return image;
}
