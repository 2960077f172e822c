// CToolTipCtrl: the platform's tooltip control.
#pragma once
#include "Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    BOOL AddTool(CWnd* wnd, const wchar_t* text, const RECT* rc = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
    void UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR toolId = 0);
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    int SetMaxTipWidth(int width) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
    void SetDelayTime(DWORD kind, int time) { SendMessage(TTM_SETDELAYTIME, kind, time); }

private:
    void FillTool(TOOLINFOW& info, CWnd* wnd, UINT_PTR toolId) const;
};
