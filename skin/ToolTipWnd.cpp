#include "ToolTipWnd.h"
#include "WindowHook.h"
#include <set>

namespace {
const wchar_t kHookName[] = L"Sonelle.TipParentHook";

std::set<NV_ToolTipWnd*>& LiveTips()
{
    static std::set<NV_ToolTipWnd*> tips;
    return tips;
}

typedef BOOL(WINAPI* SetLayeredAttributesFn)(HWND, COLORREF, BYTE, DWORD);
SetLayeredAttributesFn LayeredAttributes()
{
    // Looked up once, even when it is missing.
    static SetLayeredAttributesFn fn =
        (SetLayeredAttributesFn)::GetProcAddress(::GetModuleHandleW(L"user32"), "SetLayeredWindowAttributes");
    return fn;
}
} // namespace

BEGIN_MESSAGE_MAP(NV_ToolTipWnd, CWnd)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

NV_ToolTipWnd::NV_ToolTipWnd(CWnd* ownerControl, CWnd* tipParent)
    : m_hOwnerControl(ownerControl->m_hWnd), m_hTipParent(tipParent->m_hWnd)
{
    LiveTips().insert(this);
}

NV_ToolTipWnd::~NV_ToolTipWnd()
{
    LiveTips().erase(this);
    if (m_hWnd) DestroyWindow();
}

NV_ToolTipWnd* NV_ToolTipWnd::FromTipParent(HWND tipParent)
{
    if (!tipParent) return nullptr;
    auto* tip = (NV_ToolTipWnd*)::GetWindowLongPtrW(tipParent, GWLP_USERDATA);
    return LiveTips().count(tip) ? tip : nullptr;
}

bool NV_ToolTipWnd::ShowTip(CWnd* ownerControl, CWnd* tipParent, const wchar_t* text, CFont* font,
                            int displaySeconds)
{
    if (!ownerControl || !tipParent || !ownerControl->m_hWnd || !tipParent->m_hWnd) return false;
    if (::GetWindowLongPtrW(tipParent->m_hWnd, GWLP_USERDATA)) {
        NV_ToolTipWnd* tip = FromTipParent(tipParent->m_hWnd);
        if (!tip) return false;  // the slot holds something else
        tip->m_nDisplaySeconds = displaySeconds;
        tip->m_nAlpha = 255;
        tip->m_hOwnerControl = ownerControl->m_hWnd;
        tip->PlaceBelowOwner();
        tip->ShowHide(SW_SHOW);
        return true;
    }
    NV_ToolTipWnd* tip = new NV_ToolTipWnd(ownerControl, tipParent);
    if (!tip->CreateTip(text, font, displaySeconds)) {
        if (FromTipParent(tipParent->m_hWnd) != tip) delete tip;  // else the parent's hook owns it
        return false;
    }
    return true;
}

bool NV_ToolTipWnd::CreateTip(const wchar_t* text, CFont* font, int displaySeconds)
{
    CRect owner;
    ::GetWindowRect(m_hOwnerControl, &owner);
    SIZE extent = {0, 0};
    int length = text ? (int)wcslen(text) : 0;
    if (length) {
        HDC dc = ::GetDC(m_hOwnerControl);
        HGDIOBJ old = font ? ::SelectObject(dc, font->m_hObject) : nullptr;
        ::GetTextExtentPoint32W(dc, text, length, &extent);
        if (old) ::SelectObject(dc, old);
        ::ReleaseDC(m_hOwnerControl, dc);
    }
    int width = extent.cx + 20, height = extent.cy + 10;
    const wchar_t* cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                                             (HBRUSH)::GetStockObject(WHITE_BRUSH));
    if (!CreateEx(WS_EX_TOPMOST, cls, L" ", WS_POPUP | WS_BORDER, owner.left + 20, owner.bottom + 10, width,
                  height, m_hOwnerControl, nullptr))
        return false;

    // Take over the tip parent; its previous procedure is kept with the window.
    ::SetWindowLongPtrW(m_hTipParent, GWLP_USERDATA, (LONG_PTR)this);
    WindowHook::Install(m_hTipParent, kHookName, HookProc);

    CRect client;
    GetClientRect(&client);
    if (!m_text.Create(L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_CENTER | SS_CENTERIMAGE, client, this, kTextId))
        return false;
    m_brush.CreateSolidBrush(RGB(0xFF, 0xFF, 0xDC));
    if (font) m_text.SetFont(font, TRUE);
    m_text.SetWindowText(text ? text : L"");
    m_nDisplaySeconds = displaySeconds;
    ShowHide(SW_SHOW);
    return true;
}

bool NV_ToolTipWnd::HideOwnerTip(CWnd* wnd)
{
    if (!wnd || !wnd->m_hWnd) return false;
    if (!::GetWindowLongPtrW(wnd->m_hWnd, GWLP_USERDATA)) return true;
    NV_ToolTipWnd* tip = FromTipParent(wnd->m_hWnd);
    if (!tip) return false;
    tip->ShowHide(SW_HIDE);
    return true;
}

CString NV_ToolTipWnd::Text() const { return m_text.m_hWnd ? m_text.GetWindowText() : CString(); }

void NV_ToolTipWnd::ShowHide(int state)
{
    if (!m_hWnd) return;
    if (m_nDisplayTimer) KillTimer(m_nDisplayTimer);
    if (m_nFadeTimer) KillTimer(m_nFadeTimer);
    m_nDisplayTimer = m_nFadeTimer = 0;
    if (state == SW_SHOW) {
        ModifyStyle(0, WS_VISIBLE);
        ShowWindow(SW_SHOW);
        RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ApplyAlpha();
        m_nDisplayTimer = SetTimer(kDisplayTimer, (UINT)m_nDisplaySeconds * 1000);
    } else {
        ShowWindow(SW_HIDE);
        ModifyStyle(WS_VISIBLE, 0);
    }
}

void NV_ToolTipWnd::PlaceBelowOwner()
{
    if (!m_hWnd) return;
    CRect owner, self;
    ::GetWindowRect(m_hOwnerControl, &owner);
    GetWindowRect(&self);
    MoveWindow(owner.left + 20, owner.top + 20, self.Width(), self.Height(), TRUE);
}

void NV_ToolTipWnd::ApplyAlpha()
{
    SetLayeredAttributesFn fn = LayeredAttributes();
    if (!fn) return;
    ::SetLastError(0);
    ModifyStyleEx(0, WS_EX_LAYERED);
    if (::GetLastError() == 0) fn(m_hWnd, RGB(255, 255, 255), (BYTE)m_nAlpha, LWA_COLORKEY | LWA_ALPHA);
}

void NV_ToolTipWnd::OnTimer(UINT_PTR id)
{
    if (id == kDisplayTimer) {
        KillTimer(kDisplayTimer);
        m_nDisplayTimer = 0;
        m_nFadeTimer = SetTimer(kFadeTimer, 10);
    } else if (id == kFadeTimer) {
        --m_nAlpha;
        if (m_nAlpha > 0) {
            ApplyAlpha();
        } else {
            // The fade has ended: the tip goes away instead of lingering invisible.
            KillTimer(kFadeTimer);
            m_nFadeTimer = 0;
            ShowHide(SW_HIDE);
        }
    }
    CWnd::OnTimer(id);
}

HBRUSH NV_ToolTipWnd::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    CRect tip, control;
    GetWindowRect(&tip);
    if (wnd) wnd->GetWindowRect(&control);
    CBrush* old = dc->SelectObject(&m_brush);
    dc->SetBrushOrg(tip.left - control.left, tip.top - control.top);
    dc->SetBkMode(TRANSPARENT);
    if (kind != CTLCOLOR_STATIC) {
        dc->SetTextColor(RGB(0, 0, 0));
    } else if (wnd && wnd->GetDlgCtrlID() == kTextId) {
        // Neither is pure white, which the layered window keys out.
        dc->SetBkColor(RGB(0xFE, 0xFF, 0xFF));
        dc->SetTextColor(RGB(0x0A, 0x0A, 0x0A));
    }
    dc->SelectObject(old);
    return (HBRUSH)m_brush.m_hObject;
}

LRESULT CALLBACK NV_ToolTipWnd::HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Every message goes on to the parent's own procedure, whatever the user data says.
    LRESULT result = WindowHook::CallPrevious(hWnd, kHookName, message, wParam, lParam);
    NV_ToolTipWnd* tip = FromTipParent(hWnd);
    if (message == WM_DESTROY) {
        WindowHook::Remove(hWnd, kHookName, HookProc);
        if (tip) {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            delete tip;
        }
    } else if (message == WM_MOVE && tip) {
        tip->PlaceBelowOwner();
    }
    return result;
}
