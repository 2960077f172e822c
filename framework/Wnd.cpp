#include "Wnd.h"
#include "Menu.h"
#include "ScrollBar.h"
#include <unordered_map>
#include <vector>

namespace {

// The procedure below AfxWndProc in a window's chain, kept on the window itself so
// that it outlives any CWnd and any code chained in front of us.
const wchar_t kSuperProp[] = L"Sonelle.SuperProc";

struct ThreadState {
    std::unordered_map<HWND, CWnd*> permanent;
    MSG current = {};
    CWnd* creating = nullptr;   // CWnd waiting for its window in CreateEx / dialog creation
    HHOOK cbtHook = nullptr;
    int modalDepth = 0;
};

ThreadState& State()
{
    static thread_local ThreadState state;
    return state;
}

WNDPROC SuperOf(HWND hWnd) { return (WNDPROC)::GetPropW(hWnd, kSuperProp); }

LRESULT CallSuper(WNDPROC super, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return super ? ::CallWindowProcW(super, hWnd, message, wParam, lParam)
                 : ::DefWindowProcW(hWnd, message, wParam, lParam);
}

// Puts AfxWndProc in the window's chain once; returns the procedure below it.
WNDPROC HookProcedure(HWND hWnd)
{
    if (::GetPropW(hWnd, kSuperProp)) return SuperOf(hWnd);
    WNDPROC old = (WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
    if (old == AfxWndProc) return nullptr;
    ::SetPropW(hWnd, kSuperProp, (HANDLE)old);
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    return old;
}

LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    ThreadState& s = State();
    if (code == HCBT_CREATEWND && s.creating) {
        CWnd* wnd = s.creating;
        s.creating = nullptr;
        wnd->SubclassWindow((HWND)wParam);
    }
    return ::CallNextHookEx(s.cbtHook, code, wParam, lParam);
}

} // namespace

const MSG* AfxGetCurrentMessage() { return &State().current; }

// Installs the creation hook: the next window created on this thread gets `wnd`.
BOOL AfxHookWindowCreate(CWnd* wnd)
{
    ThreadState& s = State();
    if (!s.cbtHook) s.cbtHook = ::SetWindowsHookExW(WH_CBT, CbtHookProc, nullptr, ::GetCurrentThreadId());
    s.creating = wnd;
    return s.cbtHook != nullptr;
}

void AfxUnhookWindowCreate()
{
    ThreadState& s = State();
    if (s.cbtHook) ::UnhookWindowsHookEx(s.cbtHook);
    s.cbtHook = nullptr;
    s.creating = nullptr;
}

int AfxModalDepth() { return State().modalDepth; }

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ThreadState& s = State();
    auto it = s.permanent.find(hWnd);
    if (it == s.permanent.end()) {
        // No CWnd holds this window any more: pass everything below us.
        WNDPROC super = SuperOf(hWnd);
        if (message == WM_NCDESTROY) ::RemovePropW(hWnd, kSuperProp);
        return CallSuper(super, hWnd, message, wParam, lParam);
    }
    CWnd* wnd = it->second;
    MSG saved = s.current;
    s.current.hwnd = hWnd;
    s.current.message = message;
    s.current.wParam = wParam;
    s.current.lParam = lParam;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    s.current = saved;
    if (message == WM_NCDESTROY) {
        auto again = s.permanent.find(hWnd);
        if (again != s.permanent.end() && again->second == wnd) {
            if ((WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == AfxWndProc && wnd->m_pfnSuper)
                ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)wnd->m_pfnSuper);
            ::RemovePropW(hWnd, kSuperProp);
            wnd->Detach();
            wnd->PostNcDestroy();
        }
    }
    return result;
}

const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static thread_local std::vector<std::wstring> names;
    wchar_t name[96];
    swprintf(name, 96, L"Sonelle:%x:%p:%p:%p", classStyle, (void*)cursor, (void*)background, (void*)icon);
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    if (!::GetClassInfoW(module, name, &wc)) {
        wc.style = classStyle;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = module;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        if (!::RegisterClassW(&wc)) return nullptr;
    }
    for (auto& n : names)
        if (n == name) return n.c_str();
    names.emplace_back(name);
    return names.back().c_str();
}

// ---- handle map -----------------------------------------------------------------

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (::IsWindow(m_hWnd)) DestroyWindow();
        else Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto& map = State().permanent;
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd)) return wnd;
    return framework_detail::TempFromHandle<CWnd, HWND>(hWnd);
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) return FALSE;
    m_hWnd = hWnd;
    State().permanent[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd) {
        auto& map = State().permanent;
        auto it = map.find(hWnd);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    m_pfnSuper = HookProcedure(hWnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = parent ? ::GetDlgItem(parent->m_hWnd, id) : nullptr;
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    if (!hWnd) return nullptr;
    // Only when nobody chained in front of us can the old procedure go back;
    // otherwise AfxWndProc stays in the chain and forwards everything.
    if ((WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == AfxWndProc) {
        WNDPROC super = SuperOf(hWnd);
        if (super) {
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)super);
            ::RemovePropW(hWnd, kSuperProp);
        }
    }
    Detach();
    return hWnd;
}

// ---- creation -------------------------------------------------------------------

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU idOrMenu, void* param)
{
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = (LONG)style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = ::GetModuleHandleW(nullptr);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx,
                                  cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    if (!hWnd) {
        if (m_hWnd) Detach();
        return FALSE;
    }
    return m_hWnd == hWnd;
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)id, param);
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return cs.lpszClass != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    HWND hWnd = m_hWnd;
    BOOL ok = ::DestroyWindow(hWnd);
    // A window destroyed without passing WM_NCDESTROY through us (attached only).
    if (m_hWnd == hWnd && FromHandlePermanent(hWnd) == this) Detach();
    return ok;
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

// ---- dispatch -------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallSuper(m_pfnSuper, m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& m = State().current;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CWnd::FindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id)
{
    const bool command = message == WM_COMMAND || message == WM_NOTIFY ||
                         message == WM_REFLECT_BASE + WM_COMMAND || message == WM_REFLECT_BASE + WM_NOTIFY;
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage != message) continue;
            if (!command) return e;
            if (e->nCode != code) continue;
            if (message == WM_COMMAND || message == WM_NOTIFY) {
                if (id < e->nID || id > e->nLastID) continue;
            }
            return e;
        }
    }
    return nullptr;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT r = 0;
        if (!OnNotify(wParam, lParam, &r)) return FALSE;
        *result = r;
        return TRUE;
    }
    UINT key = (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ? WM_CTLCOLOR : message;
    if (const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), key, 0, 0)) {
        *result = e->pfn(this, wParam, lParam);
        return TRUE;
    }
    // Messages that belong to a control first go back to it, as their default.
    if (key == WM_CTLCOLOR) {
        *result = (LRESULT)OnCtlColor(CDC::FromHandle((HDC)wParam), FromHandle((HWND)lParam),
                                      message - WM_CTLCOLORMSGBOX);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        OnDrawItem((int)wParam, (LPDRAWITEMSTRUCT)lParam);
        *result = TRUE;
        return TRUE;
    }
    if ((message == WM_HSCROLL || message == WM_VSCROLL) && lParam) {
        return ReflectLastMsg((HWND)lParam, result);
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    if (lParam && ReflectLastMsg((HWND)lParam)) return TRUE;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), WM_COMMAND, code, id);
    // Accelerators arrive with code 1 and run the same commands as menus.
    if (!e && !lParam && code == 1) e = FindMessageEntry(GetMessageMap(), WM_COMMAND, 0, id);
    if (!e) return FALSE;
    e->pfn(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    NMHDR* hdr = (NMHDR*)lParam;
    if (!hdr) return FALSE;
    if (hdr->hwndFrom && ReflectLastMsg(hdr->hwndFrom, result)) return TRUE;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), WM_NOTIFY, hdr->code, (UINT)hdr->idFrom);
    if (!e) return FALSE;
    *result = e->pfn(this, (WPARAM)hdr->idFrom, lParam);
    return TRUE;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* result)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    if (!child) return FALSE;
    const MSG& m = State().current;
    LRESULT ignored = 0;
    return child->OnChildNotify(m.message, m.wParam, m.lParam, result ? result : &ignored);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const AFX_MSGMAP* map = GetMessageMap();
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(map, WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
        if (!e) return FALSE;
        LRESULT brush = e->pfn(this, wParam, (LPARAM)(message - WM_CTLCOLORMSGBOX));
        if (!brush) return FALSE;
        *result = brush;
        return TRUE;
    }
    if (message == WM_COMMAND) {
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(map, WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
        if (!e) return FALSE;
        e->pfn(this, wParam, lParam);
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* hdr = (NMHDR*)lParam;
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(map, WM_REFLECT_BASE + WM_NOTIFY, hdr->code, 0);
        if (!e) return FALSE;
        *result = e->pfn(this, wParam, lParam);
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(map, WM_REFLECT_BASE + message, 0, 0);
    if (!e) return FALSE;
    *result = e->pfn(this, wParam, lParam);
    return TRUE;
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT)
{
    LRESULT result = 0;
    if (wnd && ReflectLastMsg(wnd->m_hWnd, &result)) return (HBRUSH)result;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT dis)
{
    if (dis && dis->CtlType != ODT_MENU && ReflectLastMsg(dis->hwndItem)) return;
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* bar)
{
    if (bar && ReflectLastMsg(bar->m_hWnd)) return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* bar)
{
    if (bar && ReflectLastMsg(bar->m_hWnd)) return;
    Default();
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND hWnd = msg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (hWnd == stop) break;
    }
    return FALSE;
}

int CWnd::RunModalLoop()
{
    ThreadState& s = State();
    ++s.modalDepth;
    m_bContinueModal = TRUE;
    HWND self = m_hWnd;
    while (m_bContinueModal) {
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Idle: temporary wrappers go when no outer handler can still hold one.
            if (s.modalDepth == 1) AfxDeleteTempMaps();
            if (m_bContinueModal) ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            m_bContinueModal = FALSE;
            break;
        }
        if (!WalkPreTranslateTree(self, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (!::IsWindow(self)) m_bContinueModal = FALSE;
    }
    --s.modalDepth;
    return m_nModalResult;
}

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_bContinueModal) {
        m_bContinueModal = FALSE;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
}

// ---- helpers --------------------------------------------------------------------

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (LONG_PTR)changed);
    if (swpFlags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetExStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, (LONG_PTR)changed);
    if (swpFlags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring buffer((size_t)length + 1, L'\0');
    int got = ::GetWindowTextW(m_hWnd, &buffer[0], length + 1);
    buffer.resize((size_t)(got > 0 ? got : 0));
    text = CString(buffer);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (!item) return 0;
    FromHandle(item)->GetWindowText(text);
    return text.GetLength();
}

void CWnd::ClientToScreen(RECT* rc) const
{
    ::ClientToScreen(m_hWnd, (POINT*)&rc->left);
    ::ClientToScreen(m_hWnd, (POINT*)&rc->right);
}

void CWnd::ScreenToClient(RECT* rc) const
{
    ::ScreenToClient(m_hWnd, (POINT*)&rc->left);
    ::ScreenToClient(m_hWnd, (POINT*)&rc->right);
}

BOOL CWnd::SetWindowPos(const CWnd* after, int x, int y, int w, int h, UINT flags)
{
    return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, w, h, flags);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    RECT self, area;
    ::GetWindowRect(m_hWnd, &self);
    HWND owner = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) owner = ::GetParent(m_hWnd);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
        if (GetStyle() & WS_CHILD) ::MapWindowPoints(nullptr, owner, (POINT*)&area, 2);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    int w = self.right - self.left, h = self.bottom - self.top;
    int x = (area.left + area.right - w) / 2;
    int y = (area.top + area.bottom - h) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type)
{
    return ::MessageBoxW(m_hWnd, text, caption ? caption : L"", type);
}

BOOL CWnd::SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw)
{
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) const
{
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }
BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }
