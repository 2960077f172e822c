// Message maps as tables: each window class lists the messages it handles, each
// entry with a small thunk that unpacks the parameters and calls the handler.
// A class declares DECLARE_MESSAGE_MAP() and defines BEGIN_MESSAGE_MAP(Class, Base)
// ... END_MESSAGE_MAP(); lookups walk from the class's table to its bases'.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CWnd;

typedef LRESULT (*AFX_MSG_THUNK)(CWnd* wnd, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // window message, or WM_REFLECT_BASE + message for reflected ones
    UINT nCode;      // notification code of WM_COMMAND / WM_NOTIFY entries
    UINT nID;        // control id range of WM_COMMAND / WM_NOTIFY entries
    UINT nLastID;
    AFX_MSG_THUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Notifications reflected back to the control that sent them arrive under this offset.
#define WM_REFLECT_BASE 0xBC00
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    virtual const AFX_MSGMAP* GetMessageMap() const; \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, 0, nullptr} \
        }; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap; \
    }

#define AFX_THIS(w) static_cast<ThisClass*>(w)
#define AFX_THUNK [](CWnd* w_, WPARAM wParam, LPARAM lParam) -> LRESULT
#define AFX_UNUSED_PARAMS (void)wParam; (void)lParam

// ---- plain messages -------------------------------------------------------------
#define ON_MESSAGE(msg, fn) \
    {msg, 0, 0, 0, AFX_THUNK { return AFX_THIS(w_)->fn(wParam, lParam); }},
#define ON_REGISTERED_MESSAGE(var, fn) ON_MESSAGE(var, fn)
#define AFX_VOID_ENTRY(msg, call) \
    {msg, 0, 0, 0, AFX_THUNK { AFX_UNUSED_PARAMS; call; return 0; }},

#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, 0, AFX_THUNK { (void)wParam; return AFX_THIS(w_)->OnCreate((LPCREATESTRUCTW)lParam); }},
#define ON_WM_DESTROY() AFX_VOID_ENTRY(WM_DESTROY, AFX_THIS(w_)->OnDestroy())
#define ON_WM_NCDESTROY() AFX_VOID_ENTRY(WM_NCDESTROY, AFX_THIS(w_)->OnNcDestroy())
#define ON_WM_CLOSE() AFX_VOID_ENTRY(WM_CLOSE, AFX_THIS(w_)->OnClose())
#define ON_WM_PAINT() AFX_VOID_ENTRY(WM_PAINT, AFX_THIS(w_)->OnPaint())
#define ON_WM_NCPAINT() AFX_VOID_ENTRY(WM_NCPAINT, AFX_THIS(w_)->OnNcPaint())
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, AFX_THUNK { (void)lParam; return AFX_THIS(w_)->OnEraseBkgnd(CDC::FromHandle((HDC)wParam)); }},
#define ON_WM_TIMER() AFX_VOID_ENTRY(WM_TIMER, AFX_THIS(w_)->OnTimer((UINT_PTR)wParam))
#define ON_WM_SIZE() AFX_VOID_ENTRY(WM_SIZE, AFX_THIS(w_)->OnSize((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam)))
#define ON_WM_MOVE() AFX_VOID_ENTRY(WM_MOVE, AFX_THIS(w_)->OnMove((short)LOWORD(lParam), (short)HIWORD(lParam)))
#define AFX_MOUSE_ENTRY(msg, fn) AFX_VOID_ENTRY(msg, AFX_THIS(w_)->fn((UINT)wParam, CPoint(lParam)))
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MOUSELEAVE() AFX_VOID_ENTRY(WM_MOUSELEAVE, AFX_THIS(w_)->OnMouseLeave())
#define ON_WM_MOUSEWHEEL() \
    {WM_MOUSEWHEEL, 0, 0, 0, AFX_THUNK { return AFX_THIS(w_)->OnMouseWheel(LOWORD(wParam), (short)HIWORD(wParam), CPoint(lParam)); }},
#define ON_WM_NCLBUTTONDOWN() AFX_VOID_ENTRY(WM_NCLBUTTONDOWN, AFX_THIS(w_)->OnNcLButtonDown((UINT)wParam, CPoint(lParam)))
#define ON_WM_SETCURSOR() \
    {WM_SETCURSOR, 0, 0, 0, AFX_THUNK { return AFX_THIS(w_)->OnSetCursor(CWnd::FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam)); }},
#define ON_WM_NCHITTEST() \
    {WM_NCHITTEST, 0, 0, 0, AFX_THUNK { (void)wParam; return AFX_THIS(w_)->OnNcHitTest(CPoint(lParam)); }},
#define ON_WM_KEYDOWN() AFX_VOID_ENTRY(WM_KEYDOWN, AFX_THIS(w_)->OnKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_KEYUP() AFX_VOID_ENTRY(WM_KEYUP, AFX_THIS(w_)->OnKeyUp((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_CHAR() AFX_VOID_ENTRY(WM_CHAR, AFX_THIS(w_)->OnChar((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_SYSKEYDOWN() AFX_VOID_ENTRY(WM_SYSKEYDOWN, AFX_THIS(w_)->OnSysKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_SETFOCUS() AFX_VOID_ENTRY(WM_SETFOCUS, AFX_THIS(w_)->OnSetFocus(CWnd::FromHandle((HWND)wParam)))
#define ON_WM_KILLFOCUS() AFX_VOID_ENTRY(WM_KILLFOCUS, AFX_THIS(w_)->OnKillFocus(CWnd::FromHandle((HWND)wParam)))
#define ON_WM_ENABLE() AFX_VOID_ENTRY(WM_ENABLE, AFX_THIS(w_)->OnEnable((BOOL)wParam))
#define ON_WM_SHOWWINDOW() AFX_VOID_ENTRY(WM_SHOWWINDOW, AFX_THIS(w_)->OnShowWindow((BOOL)wParam, (UINT)lParam))
#define ON_WM_ACTIVATE() \
    AFX_VOID_ENTRY(WM_ACTIVATE, AFX_THIS(w_)->OnActivate(LOWORD(wParam), CWnd::FromHandle((HWND)lParam), HIWORD(wParam)))
#define ON_WM_GETDLGCODE() \
    {WM_GETDLGCODE, 0, 0, 0, AFX_THUNK { AFX_UNUSED_PARAMS; return AFX_THIS(w_)->OnGetDlgCode(); }},
#define ON_WM_NCCALCSIZE() \
    AFX_VOID_ENTRY(WM_NCCALCSIZE, AFX_THIS(w_)->OnNcCalcSize((BOOL)wParam, (NCCALCSIZE_PARAMS*)lParam))
#define ON_WM_WINDOWPOSCHANGING() AFX_VOID_ENTRY(WM_WINDOWPOSCHANGING, AFX_THIS(w_)->OnWindowPosChanging((WINDOWPOS*)lParam))
#define ON_WM_WINDOWPOSCHANGED() AFX_VOID_ENTRY(WM_WINDOWPOSCHANGED, AFX_THIS(w_)->OnWindowPosChanged((WINDOWPOS*)lParam))
#define ON_WM_GETMINMAXINFO() AFX_VOID_ENTRY(WM_GETMINMAXINFO, AFX_THIS(w_)->OnGetMinMaxInfo((MINMAXINFO*)lParam))
#define ON_WM_DROPFILES() AFX_VOID_ENTRY(WM_DROPFILES, AFX_THIS(w_)->OnDropFiles((HDROP)wParam))
#define AFX_SCROLL_ENTRY(msg, fn) \
    AFX_VOID_ENTRY(msg, AFX_THIS(w_)->fn(LOWORD(wParam), HIWORD(wParam), (CScrollBar*)CWnd::FromHandle((HWND)lParam)))
#define ON_WM_HSCROLL() AFX_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() AFX_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)
#define ON_WM_SYSCOMMAND() AFX_VOID_ENTRY(WM_SYSCOMMAND, AFX_THIS(w_)->OnSysCommand((UINT)wParam, lParam))
#define ON_WM_CONTEXTMENU() AFX_VOID_ENTRY(WM_CONTEXTMENU, AFX_THIS(w_)->OnContextMenu(CWnd::FromHandle((HWND)wParam), CPoint(lParam)))
#define ON_WM_CAPTURECHANGED() AFX_VOID_ENTRY(WM_CAPTURECHANGED, AFX_THIS(w_)->OnCaptureChanged(CWnd::FromHandle((HWND)lParam)))
#define ON_WM_DEVICECHANGE() \
    {WM_DEVICECHANGE, 0, 0, 0, AFX_THUNK { return AFX_THIS(w_)->OnDeviceChange((UINT)wParam, (DWORD_PTR)lParam); }},
#define ON_WM_QUERYENDSESSION() \
    {WM_QUERYENDSESSION, 0, 0, 0, AFX_THUNK { AFX_UNUSED_PARAMS; return AFX_THIS(w_)->OnQueryEndSession(); }},
#define ON_WM_COPYDATA() \
    {WM_COPYDATA, 0, 0, 0, AFX_THUNK { return AFX_THIS(w_)->OnCopyData(CWnd::FromHandle((HWND)wParam), (COPYDATASTRUCT*)lParam); }},
#define ON_WM_HELPINFO() \
    {WM_HELPINFO, 0, 0, 0, AFX_THUNK { (void)wParam; return AFX_THIS(w_)->OnHelpInfo((HELPINFO*)lParam); }},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, 0, AFX_THUNK { AFX_UNUSED_PARAMS; return (LRESULT)AFX_THIS(w_)->OnQueryDragIcon(); }},
// Every WM_CTLCOLOR* message; the handler gets the control kind (CTLCOLOR_*).
#define ON_WM_CTLCOLOR() \
    {WM_CTLCOLOR, 0, 0, 0, AFX_THUNK { return (LRESULT)AFX_THIS(w_)->OnCtlColor(CDC::FromHandle((HDC)wParam), \
        CWnd::FromHandle((HWND)lParam), AfxGetCurrentMessage()->message - WM_CTLCOLORMSGBOX); }},
#define ON_WM_DRAWITEM() \
    AFX_VOID_ENTRY(WM_DRAWITEM, AFX_THIS(w_)->OnDrawItem((int)wParam, (LPDRAWITEMSTRUCT)lParam))

// ---- commands and notifications -------------------------------------------------
#define ON_COMMAND(id, fn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(id), AFX_THUNK { AFX_UNUSED_PARAMS; AFX_THIS(w_)->fn(); return 0; }},
#define ON_COMMAND_RANGE(first, last, fn) \
    {WM_COMMAND, 0, (UINT)(first), (UINT)(last), AFX_THUNK { (void)lParam; AFX_THIS(w_)->fn(LOWORD(wParam)); return 0; }},
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AFX_THUNK { AFX_UNUSED_PARAMS; AFX_THIS(w_)->fn(); return 0; }},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), \
     AFX_THUNK { (void)wParam; LRESULT r_ = 0; AFX_THIS(w_)->fn((NMHDR*)lParam, &r_); return r_; }},
#define ON_NOTIFY_RANGE(code, first, last, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(first), (UINT)(last), \
     AFX_THUNK { LRESULT r_ = 0; AFX_THIS(w_)->fn((UINT)wParam, (NMHDR*)lParam, &r_); return r_; }},

// ---- notifications reflected to the control that sent them ------------------------
#define ON_CONTROL_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, AFX_THUNK { AFX_UNUSED_PARAMS; AFX_THIS(w_)->fn(); return 0; }},
#define ON_NOTIFY_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0, \
     AFX_THUNK { (void)wParam; LRESULT r_ = 0; AFX_THIS(w_)->fn((NMHDR*)lParam, &r_); return r_; }},
// HBRUSH CtlColor(CDC*, UINT kind); a null brush leaves the message to the parent.
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, \
     AFX_THUNK { return (LRESULT)AFX_THIS(w_)->CtlColor(CDC::FromHandle((HDC)wParam), (UINT)lParam); }},
#define ON_WM_DRAWITEM_REFLECT() \
    AFX_VOID_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, AFX_THIS(w_)->DrawItem((LPDRAWITEMSTRUCT)lParam))
