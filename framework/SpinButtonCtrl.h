// CSpinButtonCtrl: the platform's up-down control.
#pragma once
#include "Wnd.h"

class CSpinButtonCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(UPDOWN_CLASSW, nullptr, style, rect, parent, id);
    }
    void SetRange32(int low, int high) { SendMessage(UDM_SETRANGE32, (WPARAM)low, high); }
    void SetRange(short low, short high) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(high, low)); }
    void GetRange32(int& low, int& high) const { SendMessage(UDM_GETRANGE32, (WPARAM)&low, (LPARAM)&high); }
    int SetPos32(int pos) { return (int)SendMessage(UDM_SETPOS32, 0, pos); }
    int GetPos32(BOOL* error = nullptr) const { return (int)SendMessage(UDM_GETPOS32, 0, (LPARAM)error); }
    int SetPos(int pos) { return SetPos32(pos); }
    int GetPos() const { return GetPos32(); }
    CWnd* SetBuddy(CWnd* buddy) { return FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)(buddy ? buddy->m_hWnd : nullptr))); }
    CWnd* GetBuddy() const { return FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
};
