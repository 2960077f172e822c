// CSkinScrollWnd: a frame that takes an existing window's place, id and border,
// holds the window inside a clip child "LIMIT" that hides the window's own scroll
// bars, and shows two CSkinScrollBar controls in their place. The window keeps
// scrolling itself; the frame keeps the skin bars in step and forwards their
// scroll messages to it. SkinWndScroll wraps a window.
#pragma once
#include "SkinScrollBar.h"

class CSkinScrollWnd : public CWnd {
public:
    CSkinScrollWnd();
    ~CSkinScrollWnd() override;
    bool Attach(CWnd* wnd, HBITMAP skin);
    CSkinScrollBar& HorizontalBar() { return m_barHorz; }
    CSkinScrollBar& VerticalBar() { return m_barVert; }
    HWND Wrapped() const { return m_hWrapped; }
    int CornerMode() const { return m_nCorner; }
    // The frame of a wrapped window, or null.
    static CSkinScrollWnd* FromWrapped(HWND hWnd);

    enum { kHorzId = 100, kVertId = 101, kLimitId = 200, kSyncTimer = 100 };

protected:
    static LRESULT CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();
    void SyncBar(CSkinScrollBar& bar, int which, bool onlyWhenChanged);
    void OnSize(UINT type, int cx, int cy);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    LRESULT OnSkinPosition(WPARAM wParam, LPARAM lParam);
    LRESULT OnSkinLayout(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    void Forward(UINT message, UINT code, UINT pos, CSkinScrollBar& bar, int which);

    class CLimitWnd : public CWnd {
    protected:
        // Notifications of the wrapped window go on to the dialog, where they belong.
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    int m_nPartSize = 16;
    CSkinScrollBar m_barHorz, m_barVert;
    CLimitWnd m_limit;
    HBITMAP m_hSkin = nullptr;
    BOOL m_bInScroll = FALSE;
    int m_nCorner = 0;
    UINT_PTR m_nTimer = 0;
    HWND m_hWrapped = nullptr;

    DECLARE_MESSAGE_MAP()
};

CSkinScrollWnd* SkinWndScroll(CWnd* wnd, HBITMAP skin);
