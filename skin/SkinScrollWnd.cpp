#include "SkinScrollWnd.h"
#include "WindowHook.h"
#include <set>

namespace {
const wchar_t kHookName[] = L"Sonelle.SkinScrollHook";

std::set<CSkinScrollWnd*>& LiveFrames()
{
    static std::set<CSkinScrollWnd*> frames;
    return frames;
}
} // namespace

BEGIN_MESSAGE_MAP(CSkinScrollWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_MESSAGE(WM_SKINSCROLL_POSITION, OnSkinPosition)
    ON_MESSAGE(WM_SKINSCROLL_LAYOUT, OnSkinLayout)
    ON_WM_TIMER()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinScrollWnd::CSkinScrollWnd() { LiveFrames().insert(this); }
CSkinScrollWnd::~CSkinScrollWnd() { LiveFrames().erase(this); }

CSkinScrollWnd* CSkinScrollWnd::FromWrapped(HWND hWnd)
{
    auto* frame = (CSkinScrollWnd*)::GetWindowLongPtrW(hWnd, GWLP_USERDATA);
    return LiveFrames().count(frame) ? frame : nullptr;
}

CSkinScrollWnd* SkinWndScroll(CWnd* wnd, HBITMAP skin)
{
    if (!wnd || !wnd->m_hWnd) return nullptr;
    CSkinScrollWnd* frame = new CSkinScrollWnd;
    if (!frame->Attach(wnd, skin)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

LRESULT CSkinScrollWnd::CLimitWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool notification = message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM ||
                        message == WM_MEASUREITEM || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
    HWND frame = ::GetParent(m_hWnd);
    HWND dialog = frame ? ::GetParent(frame) : nullptr;
    if (notification && dialog) return ::SendMessageW(dialog, message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CSkinScrollWnd::Attach(CWnd* wnd, HBITMAP skin)
{
    HWND target = wnd->m_hWnd;
    BITMAP bm = {};
    if (skin) ::GetObjectW(skin, sizeof(bm), &bm);
    m_nPartSize = bm.bmWidth / 9;
    m_hSkin = skin;
    HWND parent = ::GetParent(target);
    CRect rc;
    ::GetWindowRect(target, &rc);
    ::MapWindowPoints(nullptr, parent, (POINT*)&rc, 2);
    int id = ::GetDlgCtrlID(target);
    DWORD style = (DWORD)::GetWindowLongPtrW(target, GWL_STYLE);
    DWORD exStyle = (DWORD)::GetWindowLongPtrW(target, GWL_EXSTYLE);

    DWORD frameStyle = (style & WS_VISIBLE) ? WS_CHILD | WS_VISIBLE : WS_CHILD;
    int innerW = rc.Width(), innerH = rc.Height();
    if (style & WS_BORDER) {
        ::SetWindowLongPtrW(target, GWL_STYLE, style & ~WS_BORDER);
        frameStyle |= WS_BORDER;
        innerW -= 2 * ::GetSystemMetrics(SM_CXBORDER);
        innerH -= 2 * ::GetSystemMetrics(SM_CXBORDER);
    }
    rc.right += 1;
    rc.bottom += 1;
    innerW += 1;
    innerH += 1;
    DWORD frameEx = 0;
    if (exStyle & WS_EX_TOOLWINDOW) frameEx |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    if (exStyle & WS_EX_CLIENTEDGE) {
        ::SetWindowLongPtrW(target, GWL_EXSTYLE, exStyle & ~WS_EX_CLIENTEDGE);
        frameEx |= WS_EX_CLIENTEDGE;
        innerW -= 2 * ::GetSystemMetrics(SM_CXEDGE);
        innerH -= 2 * ::GetSystemMetrics(SM_CXEDGE);
    }
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CreateEx(frameEx, cls, L"SkinScrollBarFrame", frameStyle, rc.left, rc.top, rc.Width(), rc.Height(), parent,
                  (HMENU)(INT_PTR)id))
        return false;
    m_limit.CreateEx(0, cls, L"LIMIT", WS_CHILD | WS_VISIBLE, CRect(0, 0, innerW, innerH), this, kLimitId);
    m_barHorz.CreateEx(0, L"SCROLLBAR", nullptr, WS_CHILD | SBS_HORZ, CRect(0, 0, m_nPartSize, m_nPartSize), this, kHorzId);
    m_barVert.CreateEx(0, L"SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, CRect(0, 0, m_nPartSize, m_nPartSize), this, kVertId);
    m_barHorz.SetBitmap(skin);
    m_barVert.SetBitmap(skin);

    m_hWrapped = target;
    ::SetParent(target, m_limit.m_hWnd);
    ::SetWindowLongPtrW(target, GWLP_USERDATA, (LONG_PTR)this);
    WindowHook::Install(target, kHookName, HookProc);
    ::SetWindowPos(target, nullptr, 0, 0, innerW, innerH, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_nTimer = SetTimer(kSyncTimer, 500);
    return true;
}

void CSkinScrollWnd::Detach()
{
    HWND target = m_hWrapped;
    if (!target) return;
    m_hWrapped = nullptr;
    HWND parent = ::GetParent(m_hWnd);
    CRect rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, parent, (POINT*)&rc, 2);
    ::SetParent(target, parent);
    ::SetWindowPos(target, nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowLongPtrW(target, GWLP_USERDATA, 0);
}

void CSkinScrollWnd::SyncBar(CSkinScrollBar& bar, int which, bool onlyWhenChanged)
{
    if (!m_hWrapped || !bar.m_hWnd) return;
    SCROLLINFO si = {sizeof(si), SIF_ALL};
    if (!::GetScrollInfo(m_hWrapped, which, &si)) return;
    const SkinScrollInfo& mine = bar.Info();
    bool changed = si.nMax != mine.max || si.nMin != mine.min || si.nPos != mine.pos || (int)si.nPage != mine.page;
    if (onlyWhenChanged && !changed) return;
    si.fMask = SIF_ALL;
    ::SendMessageW(bar.m_hWnd, SBM_SETSCROLLINFO, TRUE, (LPARAM)&si);
    bar.EnableWindow(si.nMax >= (int)si.nPage);
}

LRESULT CALLBACK CSkinScrollWnd::HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSkinScrollWnd* frame = FromWrapped(hWnd);
    if (message == WM_DESTROY) {
        // Detach first, so that the window ends where it began.
        WNDPROC previous = WindowHook::Previous(hWnd, kHookName);
        WindowHook::Remove(hWnd, kHookName, HookProc);
        if (frame) {
            frame->Detach();
            frame->DestroyWindow();
            delete frame;
        }
        return previous ? ::CallWindowProcW(previous, hWnd, message, wParam, lParam)
                        : ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    LRESULT result = WindowHook::CallPrevious(hWnd, kHookName, message, wParam, lParam);
    if (!frame || frame->m_bInScroll) return result;
    DWORD style = (DWORD)::GetWindowLongPtrW(hWnd, GWL_STYLE);
    if (message == WM_ERASEBKGND) {
        if (style & WS_VSCROLL) frame->SyncBar(frame->m_barVert, SB_VERT, true);
        if (style & WS_HSCROLL) frame->SyncBar(frame->m_barHorz, SB_HORZ, true);
    } else if (message == WM_NCCALCSIZE && wParam) {
        NCCALCSIZE_PARAMS* p = (NCCALCSIZE_PARAMS*)lParam;
        RECT& client = p->rgrc[0];
        int c = ::GetSystemMetrics(SM_CXVSCROLL), A = frame->m_nPartSize;
        bool left = (::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
        // The window's own bars shrink to the skin bars' thickness, and LIMIT clips them away.
        if (style & WS_VSCROLL) {
            if (left) client.left += A - c;
            else client.right += c - A;
        }
        if (style & WS_HSCROLL) client.bottom += c - A;
        // The proposed client rectangle is in the coordinates of LIMIT, the window's
        // parent; the skin bars are children of the frame.
        CRect inFrame(client);
        ::MapWindowPoints(::GetParent(hWnd), frame->m_hWnd, (POINT*)&inFrame, 2);
        int cr = inFrame.right, cb = inFrame.bottom, cLeft = inFrame.left;
        if (style & WS_VSCROLL) {
            CRect bar = left ? CRect(cLeft - A, 0, cLeft, cb) : CRect(cr, 0, cr + A, cb);
            frame->m_barVert.MoveWindow(&bar);
            frame->m_barVert.ShowWindow(SW_SHOW);
        } else {
            frame->m_barVert.ShowWindow(SW_HIDE);
        }
        if (style & WS_HSCROLL) {
            CRect bar = left ? CRect(cLeft, cb, cr, cb + A) : CRect(0, cb, cr, cb + A);
            frame->m_barHorz.MoveWindow(&bar);
            frame->m_barHorz.ShowWindow(SW_SHOW);
        } else {
            frame->m_barHorz.ShowWindow(SW_HIDE);
        }
        frame->m_nCorner = ((style & WS_VSCROLL) && (style & WS_HSCROLL)) ? (left ? 1 : 2) : 0;
        frame->PostMessage(WM_SKINSCROLL_LAYOUT, style & WS_VSCROLL, left ? WS_EX_LEFTSCROLLBAR : 0);
    }
    return result;
}

void CSkinScrollWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (cx && cy && m_hWrapped) ::MoveWindow(m_hWrapped, 0, 0, cx, cy, TRUE);
}

void CSkinScrollWnd::Forward(UINT message, UINT code, UINT pos, CSkinScrollBar& bar, int which)
{
    m_bInScroll = TRUE;
    if (m_hWrapped) ::SendMessageW(m_hWrapped, message, MAKEWPARAM(code, pos), 0);
    m_bInScroll = FALSE;
    if (code != SB_THUMBTRACK) SyncBar(bar, which, false);
}

void CSkinScrollWnd::OnVScroll(UINT code, UINT pos, CScrollBar*) { Forward(WM_VSCROLL, code, pos, m_barVert, SB_VERT); }
void CSkinScrollWnd::OnHScroll(UINT code, UINT pos, CScrollBar*) { Forward(WM_HSCROLL, code, pos, m_barHorz, SB_HORZ); }

LRESULT CSkinScrollWnd::OnSkinPosition(WPARAM wParam, LPARAM lParam)
{
    m_bInScroll = TRUE;
    if (m_hWrapped) ::SendMessageW(m_hWrapped, WM_SKINSCROLL_POSITION, wParam, lParam);
    m_bInScroll = FALSE;
    return 0;
}

LRESULT CSkinScrollWnd::OnSkinLayout(WPARAM, LPARAM lParam)
{
    m_bInScroll = TRUE;
    CRect limit;
    GetClientRect(&limit);
    bool horz = m_barHorz.m_hWnd && m_barHorz.IsWindowVisible();
    bool vert = m_barVert.m_hWnd && m_barVert.IsWindowVisible();
    bool left = lParam != 0;
    int A = m_nPartSize, shift = 0;
    if (horz) limit.bottom -= A;
    if (vert) {
        if (left) {
            limit.left += A;
            shift = A;
        } else {
            limit.right -= A;
        }
    }
    m_limit.MoveWindow(&limit);
    if (m_hWrapped) {
        CRect client;
        GetClientRect(&client);
        ::SetWindowPos(m_hWrapped, nullptr, -shift, 0, client.Width(), client.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_bInScroll = FALSE;
    return 0;
}

void CSkinScrollWnd::OnTimer(UINT_PTR id)
{
    if (id != kSyncTimer) return;
    if (m_barVert.m_hWnd && m_barVert.IsWindowVisible() && !m_barVert.IsDragging()) SyncBar(m_barVert, SB_VERT, true);
    if (m_barHorz.m_hWnd && m_barHorz.IsWindowVisible() && !m_barHorz.IsDragging()) SyncBar(m_barHorz, SB_HORZ, true);
}

void CSkinScrollWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_nCorner || !m_hSkin) return;
    CRect client;
    GetClientRect(&client);
    int A = m_nPartSize;
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hSkin);
    if (m_nCorner == 2) dc.BitBlt(client.right - A, client.bottom - A, A, A, &mem, 8 * A, 0, SRCCOPY);
    else dc.BitBlt(client.left, client.bottom - A, A, A, &mem, 8 * A, A, SRCCOPY);
    ::SelectObject(mem.m_hDC, old);
}
