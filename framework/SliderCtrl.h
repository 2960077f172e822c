// CSliderCtrl: the platform's trackbar.
#pragma once
#include "Wnd.h"

class CSliderCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(TRACKBAR_CLASSW, nullptr, style, rect, parent, id);
    }
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, minPos);
        SendMessage(TBM_SETRANGEMAX, redraw, maxPos);
    }
    void GetRange(int& minPos, int& maxPos) const
    {
        minPos = (int)SendMessage(TBM_GETRANGEMIN);
        maxPos = (int)SendMessage(TBM_GETRANGEMAX);
    }
    int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int SetPageSize(int size) { return (int)SendMessage(TBM_SETPAGESIZE, 0, size); }
    int SetLineSize(int size) { return (int)SendMessage(TBM_SETLINESIZE, 0, size); }
    void SetTicFreq(int freq) { SendMessage(TBM_SETTICFREQ, (WPARAM)freq); }
};
