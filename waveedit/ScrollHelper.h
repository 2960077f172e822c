// Scroll bars of a window whose content is wider than its client area.
// Positions and sizes count pixel columns.
#pragma once
#include <windows.h>

class CScrollHelper {
public:
    void AttachWnd(HWND wnd) { m_wnd = wnd; }
    void SetDisplaySize(int cx, int cy);
    void UpdateScrollInfo();
    void SetScrollPosH(int pos);
    void OnHScroll(UINT code);
    void OnVScroll(UINT code);
    bool OnMouseWheel(short delta);
    int GetPageWidth() const { return m_pageX; }
    int GetScrollPosH() const { return m_posX; }
    int GetDisplayWidth() const { return m_displayX; }

private:
    void Scroll(int bar, int& pos, int page, int display, UINT code);

    HWND m_wnd = nullptr;
    int m_pageX = 1, m_pageY = 1, m_displayX = 1, m_displayY = 1, m_posX = 1, m_posY = 1;
};
