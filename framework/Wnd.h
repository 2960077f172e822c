// CWnd: one window. A per-thread handle map ties window handles to their CWnd;
// subclassing puts our window procedure in front of the window's own and keeps
// the procedure below it in a window property, so a window stays correct when
// other code chains its procedure on top of ours, or when a CWnd lets go while
// such code is still in front. Messages go through the class's message map;
// unhandled ones reach the procedure below (Default). WM_COMMAND, WM_NOTIFY,
// WM_CTLCOLOR* and WM_DRAWITEM are offered to the sending control first.
// The user-data slot (GWLP_USERDATA) is left to the windows' own code.
#pragma once
#include <windows.h>
#include "DC.h"
#include "Geometry.h"
#include "MessageMap.h"
#include "String.h"

class CMenu;
class CScrollBar;

// The message the thread is handling now (what Default passes on).
const MSG* AfxGetCurrentMessage();

// Registers (once) a window class with these attributes and returns its name.
const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                   HICON icon = nullptr);

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    bool operator==(const CWnd& other) const { return m_hWnd == other.m_hWnd; }
    bool operator!=(const CWnd& other) const { return m_hWnd != other.m_hWnd; }

    // Handle map: the CWnd attached to a window, or a temporary wrapper.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    virtual BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU idOrMenu, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, void* param = nullptr);
    virtual BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();

    // Overridables.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification this window sent to its parent, offered back to it first.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Offers the current message to the control hWndChild (reflection).
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* result = nullptr);
    // PreTranslateMessage of every window from msg->hwnd up to (and including) stop.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
    // Our own modal loop; ends when EndModalLoop is called.
    int RunModalLoop();
    virtual void EndModalLoop(int result);
    BOOL ContinueModal() const { return m_bContinueModal; }

    LRESULT Default();

    // Window state.
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return (int)::SetWindowLongPtrW(m_hWnd, GWLP_ID, id); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsChild(const CWnd* wnd) const { return ::IsChild(m_hWnd, wnd ? wnd->m_hWnd : nullptr); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    int GetWindowText(wchar_t* buffer, int max) const { return ::GetWindowTextW(m_hWnd, buffer, max); }
    void GetWindowText(CString& text) const;
    CString GetWindowText() const { CString s; GetWindowText(s); return s; }
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetFont(CFont* font, BOOL redraw = TRUE)
    {
        SendMessage(WM_SETFONT, (WPARAM)(font ? font->m_hObject : nullptr), redraw);
    }
    CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
    HICON SetIcon(HICON icon, BOOL big) { return (HICON)SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, (LPARAM)icon); }

    // Geometry.
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    void GetWindowRect(RECT* rc) const { ::GetWindowRect(m_hWnd, rc); }
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(RECT* rc) const;
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(RECT* rc) const;
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
    void MoveWindow(const RECT* rc, BOOL repaint = TRUE)
    {
        MoveWindow(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, repaint);
    }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int w, int h, UINT flags);
    BOOL SetWindowPos(HWND after, int x, int y, int w, int h, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after, x, y, w, h, flags);
    }
    void CenterWindow(CWnd* alternateOwner = nullptr);
    int SetWindowRgn(HRGN rgn, BOOL redraw) { return ::SetWindowRgn(m_hWnd, rgn, redraw); }
    int GetWindowRgn(HRGN rgn) const { return ::GetWindowRgn(m_hWnd, rgn); }
    CWnd* ChildWindowFromPoint(POINT p) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, p)); }
    static CWnd* WindowFromPoint(POINT p) { return FromHandle(::WindowFromPoint(p)); }

    // Painting.
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rc, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rc, erase); }
    void InvalidateRgn(CRgn* rgn, BOOL erase = TRUE) { ::InvalidateRgn(m_hWnd, rgn ? (HRGN)rgn->m_hObject : nullptr, erase); }
    void ValidateRect(const RECT* rc) { ::ValidateRect(m_hWnd, rc); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(const RECT* rc = nullptr, CRgn* rgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, rc, rgn ? (HRGN)rgn->m_hObject : nullptr, flags);
    }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

    // Focus, capture, activation.
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    static CWnd* FindWindow(const wchar_t* className, const wchar_t* windowName)
    {
        return FromHandle(::FindWindowW(className, windowName));
    }

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }
    void SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* ok = nullptr, BOOL isSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, id, ok, isSigned);
    }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
    int MessageBox(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK);

    // Timers belong to the window; elapse in milliseconds.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    // Scrolling.
    BOOL SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw); }
    void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, bar, show); }
    void ScrollWindow(int dx, int dy, const RECT* rc = nullptr, const RECT* clip = nullptr)
    {
        ::ScrollWindow(m_hWnd, dx, dy, rc, clip);
    }

    void DragAcceptFiles(BOOL accept = TRUE) { ::DragAcceptFiles(m_hWnd, accept); }
    CMenu* GetMenu() const;
    CMenu* GetSystemMenu(BOOL revert) const;
    BOOL SetMenu(CMenu* menu);

    // Used by the temporary-wrapper maps only.
    void AttachTemporary(HWND hWnd) { m_hWnd = hWnd; }
    void DetachTemporary() { m_hWnd = nullptr; }

protected:
    // Default handlers: each passes the message on (Default) unless noted.
    int OnCreate(LPCREATESTRUCTW) { return (int)Default(); }
    void OnDestroy() { Default(); }
    void OnNcDestroy() { Default(); }
    void OnClose() { Default(); }
    void OnPaint() { Default(); }
    void OnNcPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnMove(int, int) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnMouseLeave() { Default(); }
    BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
    void OnNcLButtonDown(UINT, CPoint) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    LRESULT OnNcHitTest(CPoint) { return Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnEnable(BOOL) { Default(); }
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    UINT OnGetDlgCode() { return (UINT)Default(); }
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
    void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    void OnDropFiles(HDROP) { Default(); }
    void OnHScroll(UINT, UINT, CScrollBar* bar);
    void OnVScroll(UINT, UINT, CScrollBar* bar);
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnContextMenu(CWnd*, CPoint) { Default(); }
    void OnCaptureChanged(CWnd*) { Default(); }
    BOOL OnDeviceChange(UINT, DWORD_PTR) { return (BOOL)Default(); }
    BOOL OnQueryEndSession() { return (BOOL)Default(); }
    BOOL OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
    BOOL OnHelpInfo(HELPINFO*) { return (BOOL)Default(); }
    HCURSOR OnQueryDragIcon() { return (HCURSOR)Default(); }
    // Reflects to the control first; a control that answers decides the brush.
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id);
    // Handles a reflected notification through the message map's *_REFLECT entries.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    WNDPROC m_pfnSuper = nullptr;     // the procedure below ours, when subclassed
    BOOL m_bContinueModal = FALSE;
    int m_nModalResult = -1;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;
    friend BOOL AfxHookWindowCreate(CWnd*);
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
