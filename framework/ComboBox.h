#pragma once
#include "Wnd.h"

class CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"COMBOBOX", nullptr, style, rect, parent, id);
    }
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)index); }
    int AddString(const wchar_t* text) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)text); }
    int InsertString(int index, const wchar_t* text) { return (int)SendMessage(CB_INSERTSTRING, (WPARAM)index, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)SendMessage(CB_DELETESTRING, index); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int FindStringExact(int start, const wchar_t* text) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)text);
    }
    int SelectString(int start, const wchar_t* text) { return (int)SendMessage(CB_SELECTSTRING, (WPARAM)start, (LPARAM)text); }
    int GetLBTextLen(int index) const { return (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)index); }
    void GetLBText(int index, CString& text) const;
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)index); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(CB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
    int SetItemHeight(int index, UINT height) { return (int)SendMessage(CB_SETITEMHEIGHT, (WPARAM)index, height); }
    void LimitText(int max) { SendMessage(CB_LIMITTEXT, (WPARAM)max); }

    // Owner-drawn combo boxes paint their items here (WM_DRAWITEM reflected from the parent).
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *result = TRUE;
        return TRUE;
    }
};
