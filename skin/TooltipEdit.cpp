#include "TooltipEdit.h"
#include "FileNameFilter.h"
#include "ToolTipWnd.h"

namespace {

void ShowRefusalTip(CWnd* edit, CWnd* tipParent)
{
    if (!tipParent) return;
    NV_ToolTipWnd::ShowTip(edit, tipParent, FileNameTipText(), edit->GetFont(), 2);
}

// Typed characters: a forbidden one becomes 0 (nothing is typed) and the tip shows.
void FilterTypedChar(CWnd* edit, CWnd* tipParent, MSG* msg)
{
    if (msg->message == WM_CHAR && msg->hwnd == edit->m_hWnd && IsForbiddenFileNameChar((wchar_t)msg->wParam)) {
        msg->wParam = 0;
        ShowRefusalTip(edit, tipParent);
    }
}

// Shared by both edits: characters that arrive without the dialog loop, and
// pasted text, are filtered in the window procedure. Returns true when handled.
bool FilterInWindowProc(CWnd* edit, CWnd* tipParent, UINT message, WPARAM& wParam, LRESULT& result)
{
    if (message == WM_CHAR && IsForbiddenFileNameChar((wchar_t)wParam)) {
        ShowRefusalTip(edit, tipParent);
        result = 0;
        return true;
    }
    if (message != WM_PASTE) return false;
    CString pasted;
    if (::OpenClipboard(edit->m_hWnd)) {
        HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
        if (const wchar_t* text = data ? (const wchar_t*)::GlobalLock(data) : nullptr) {
            pasted = text;
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
    }
    CString kept = RemoveForbiddenFileNameChars(pasted);
    if (kept == pasted) return false;  // nothing to refuse: the edit pastes as usual
    edit->SendMessage(EM_REPLACESEL, TRUE, (LPARAM)kept.GetString());
    ShowRefusalTip(edit, tipParent);
    result = 0;
    return true;
}

} // namespace

BOOL CTooltipEdit::PreTranslateMessage(MSG* msg)
{
    FilterTypedChar(this, m_pTipParent, msg);
    return CBEdit::PreTranslateMessage(msg);
}

LRESULT CTooltipEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (FilterInWindowProc(this, m_pTipParent, message, wParam, result)) return result;
    return CBEdit::WindowProc(message, wParam, lParam);
}

void CTooltipEdit::HideTip()
{
    if (m_pTipParent) NV_ToolTipWnd::HideOwnerTip(AfxGetMainWnd());
}

BOOL CTooltipEdit1::PreTranslateMessage(MSG* msg)
{
    FilterTypedChar(this, m_pTipParent, msg);
    return CEdit::PreTranslateMessage(msg);
}

LRESULT CTooltipEdit1::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (FilterInWindowProc(this, m_pTipParent, message, wParam, result)) return result;
    return CEdit::WindowProc(message, wParam, lParam);
}

BEGIN_MESSAGE_MAP(CColumEdit, CEdit)
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

void CColumEdit::OnWindowPosChanging(WINDOWPOS* pos)
{
    pos->x = m_nLeft;
    pos->cx = m_nWidth;
    CEdit::OnWindowPosChanging(pos);
}
