#include "DataExchange.h"
#include "Wnd.h"
#include <cwchar>
#include <cwctype>

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    m_hWndLastControl = control;
    return control;
}

void CDataExchange::Fail()
{
    if (!m_bFailed && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        wchar_t cls[16] = {};
        ::GetClassNameW(m_hWndLastControl, cls, 16);
        if (!_wcsicmp(cls, L"Edit")) ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    m_bFailed = TRUE;
}

void AfxSetWindowText(HWND hWnd, const wchar_t* text)
{
    if (!hWnd) return;
    CString current = CWnd::FromHandle(hWnd)->GetWindowText();
    if (current != (text ? text : L"")) ::SetWindowTextW(hWnd, text);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (dx->m_bFailed || control.m_hWnd) return;
    HWND hWnd = dx->PrepareCtrl(id);
    if (hWnd) control.SubclassWindow(hWnd);
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    if (dx->m_bFailed) return;
    HWND hWnd = dx->PrepareCtrl(id);
    if (!hWnd) return;
    if (dx->m_bSaveAndValidate) value = CWnd::FromHandle(hWnd)->GetWindowText();
    else AfxSetWindowText(hWnd, value);
}

namespace {
// Whole text must be a number (blanks around it allowed).
bool ParseLong(const CString& text, bool isSigned, long long& out)
{
    const wchar_t* s = text.GetString();
    while (iswspace(*s)) ++s;
    if (!*s) return false;
    wchar_t* end = nullptr;
    long long v = wcstoll(s, &end, 10);
    if (end == s) return false;
    while (iswspace(*end)) ++end;
    if (*end) return false;
    if (!isSigned && (*s == L'-' || v < 0 || v > 0xFFFFFFFFLL)) return false;
    if (isSigned && (v < INT_MIN || v > INT_MAX)) return false;
    out = v;
    return true;
}

template <class T>
void ExchangeNumber(CDataExchange* dx, int id, T& value, bool isSigned, const wchar_t* format)
{
    if (dx->m_bFailed) return;
    HWND hWnd = dx->PrepareCtrl(id);
    if (!hWnd) return;
    if (dx->m_bSaveAndValidate) {
        long long v = 0;
        if (ParseLong(CWnd::FromHandle(hWnd)->GetWindowText(), isSigned, v)) value = (T)v;
        else dx->Fail();
    } else {
        CString text;
        text.Format(format, value);
        AfxSetWindowText(hWnd, text);
    }
}
} // namespace

void DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeNumber(dx, id, value, true, L"%d"); }
void DDX_Text(CDataExchange* dx, int id, UINT& value) { ExchangeNumber(dx, id, value, false, L"%u"); }

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    if (dx->m_bFailed) return;
    HWND hWnd = dx->PrepareCtrl(id);
    if (!hWnd) return;
    if (dx->m_bSaveAndValidate) value = (int)::SendMessageW(hWnd, BM_GETCHECK, 0, 0);
    else ::SendMessageW(hWnd, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    if (dx->m_bFailed) return;
    HWND hWnd = dx->PrepareCtrl(id);
    if (!hWnd) return;
    if (dx->m_bSaveAndValidate) value = -1;
    int index = 0;
    do {
        LRESULT code = ::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0);
        if (code & DLGC_RADIOBUTTON) {
            if (dx->m_bSaveAndValidate) {
                if (::SendMessageW(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                ::SendMessageW(hWnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
    } while (hWnd && !(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_GROUP));
}
