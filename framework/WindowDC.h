// Device contexts of a window for the lifetime of the object: CPaintDC inside
// WM_PAINT (BeginPaint/EndPaint), CClientDC for the client area, CWindowDC for
// the whole window.
#pragma once
#include "Wnd.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd) : m_hWndOwner(wnd->m_hWnd) { Attach(::BeginPaint(m_hWndOwner, &m_ps)); }
    ~CPaintDC() override { Detach(); ::EndPaint(m_hWndOwner, &m_ps); }
    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWndOwner;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd) : m_hWndOwner(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWndOwner)); }
    ~CClientDC() override { ::ReleaseDC(m_hWndOwner, Detach()); }

private:
    HWND m_hWndOwner;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd) : m_hWndOwner(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWndOwner)); }
    ~CWindowDC() override { ::ReleaseDC(m_hWndOwner, Detach()); }

private:
    HWND m_hWndOwner;
};
