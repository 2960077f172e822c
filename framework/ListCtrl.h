// CListCtrl: the platform's list view, with the report-view calls the lists use.
#pragma once
#include "HeaderCtrl.h"
#include "ImageList.h"
#include "Wnd.h"

class CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_LISTVIEWW, nullptr, style, rect, parent, id);
    }
    CHeaderCtrl* GetHeaderCtrl() const { return (CHeaderCtrl*)FromHandle((HWND)SendMessage(LVM_GETHEADER)); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
    BOOL SetBkColor(COLORREF c) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, c); }
    BOOL SetTextColor(COLORREF c) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, c); }
    BOOL SetTextBkColor(COLORREF c) { return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, c); }
    COLORREF GetBkColor() const { return (COLORREF)SendMessage(LVM_GETBKCOLOR); }
    COLORREF GetTextColor() const { return (COLORREF)SendMessage(LVM_GETTEXTCOLOR); }
    HIMAGELIST SetImageList(CImageList* list, int kind)
    {
        return (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)(list ? list->m_hImageList : nullptr));
    }

    int InsertColumn(int col, const wchar_t* heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int col) { return (BOOL)SendMessage(LVM_DELETECOLUMN, (WPARAM)col); }
    int GetColumnWidth(int col) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)col); }
    BOOL SetColumnWidth(int col, int width) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)col, width); }

    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    int InsertItem(int index, const wchar_t* text, int image = -1);
    int InsertItem(LVITEMW* item) { return (int)SendMessage(LVM_INSERTITEMW, 0, (LPARAM)item); }
    BOOL GetItem(LVITEMW* item) const { return (BOOL)SendMessage(LVM_GETITEMW, 0, (LPARAM)item); }
    BOOL SetItem(const LVITEMW* item) { return (BOOL)SendMessage(LVM_SETITEMW, 0, (LPARAM)item); }
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)index); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    CString GetItemText(int index, int subItem) const;
    int GetItemText(int index, int subItem, wchar_t* buffer, int length) const;
    BOOL SetItemText(int index, int subItem, const wchar_t* text);
    DWORD_PTR GetItemData(int index) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    UINT GetItemState(int index, UINT mask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)index, mask); }
    BOOL SetItemState(int index, UINT state, UINT mask);
    BOOL GetCheck(int index) const { return ((GetItemState(index, LVIS_STATEIMAGEMASK) >> 12) - 1) > 0; }
    BOOL SetCheck(int index, BOOL check = TRUE)
    {
        return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    int GetNextItem(int start, int flags) const { return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)start, flags); }
    UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT); }
    int GetSelectionMark() const { return (int)SendMessage(LVM_GETSELECTIONMARK); }
    BOOL GetItemRect(int index, RECT* rc, UINT code) const;
    BOOL GetSubItemRect(int index, int subItem, int code, RECT* rc) const;
    int HitTest(POINT p, UINT* flags = nullptr) const;
    int HitTest(LVHITTESTINFO* info) const { return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)info); }
    int SubItemHitTest(LVHITTESTINFO* info) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)info); }
    BOOL EnsureVisible(int index, BOOL partialOK) { return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)index, partialOK); }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE); }
    BOOL RedrawItems(int first, int last) { return (BOOL)SendMessage(LVM_REDRAWITEMS, (WPARAM)first, last); }
    BOOL Update(int index) { return (BOOL)SendMessage(LVM_UPDATE, (WPARAM)index); }
    BOOL Scroll(SIZE size) { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)size.cx, size.cy); }
    CWnd* EditLabel(int index) { return FromHandle((HWND)SendMessage(LVM_EDITLABELW, (WPARAM)index)); }
    CWnd* GetEditControl() const { return FromHandle((HWND)SendMessage(LVM_GETEDITCONTROL)); }
    // The caller owns the returned image list (delete it).
    CImageList* CreateDragImage(int index, POINT* upperLeft);
};
