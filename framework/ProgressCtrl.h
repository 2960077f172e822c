#pragma once
#include "Wnd.h"

class CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(PROGRESS_CLASSW, nullptr, style, rect, parent, id);
    }
    void SetRange32(int low, int high) { SendMessage(PBM_SETRANGE32, (WPARAM)low, high); }
    void SetRange(short low, short high) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(low, high)); }
    int SetPos(int pos) { return (int)SendMessage(PBM_SETPOS, (WPARAM)pos); }
    int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT); }
    int SetStep(int step) { return (int)SendMessage(PBM_SETSTEP, (WPARAM)step); }
};
