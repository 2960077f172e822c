#include "PropertyPage.h"

CBasePropertyPage::CBasePropertyPage(int dialogId, int titleId) : m_dialogId(dialogId), m_titleId(titleId) {}

CBasePropertyPage::~CBasePropertyPage()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    if (m_site)
        m_site->Release();
}

HRESULT CBasePropertyPage::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IPropertyPage)
        return GetInterface(static_cast<IPropertyPage*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBasePropertyPage::SetPageSite(IPropertyPageSite* site)
{
    if (site) {
        if (m_site)
            return E_UNEXPECTED;
        m_site = site;
        m_site->AddRef();
    } else {
        if (!m_site)
            return E_UNEXPECTED;
        m_site->Release();
        m_site = nullptr;
    }
    return S_OK;
}

INT_PTR CALLBACK CBasePropertyPage::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CBasePropertyPage* page = nullptr;
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        page = reinterpret_cast<CBasePropertyPage*>(lParam);
        if (page)
            page->m_hwnd = hwnd;
        return TRUE;
    }
    page = reinterpret_cast<CBasePropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!page)
        return FALSE;
    return page->OnReceiveMessage(hwnd, msg, wParam, lParam);
}

INT_PTR CBasePropertyPage::OnReceiveMessage(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

SIZE CBasePropertyPage::DialogSize()
{
    SIZE size = {0, 0};
    HWND probe = CreateDialogParamW(DShowModuleInstance(), MAKEINTRESOURCEW(m_dialogId), GetDesktopWindow(),
                                    &CBasePropertyPage::DialogProc, 0);
    if (probe) {
        RECT rc;
        GetWindowRect(probe, &rc);
        size.cx = rc.right - rc.left;
        size.cy = rc.bottom - rc.top;
        DestroyWindow(probe);
    }
    return size;
}

STDMETHODIMP CBasePropertyPage::GetPageInfo(PROPPAGEINFO* info)
{
    if (!info)
        return E_POINTER;
    wchar_t title[128] = {};
    LoadStringW(DShowModuleInstance(), m_titleId, title, 128);
    size_t bytes = (wcslen(title) + 1) * sizeof(wchar_t);
    LPOLESTR copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!copy)
        return E_OUTOFMEMORY;
    memcpy(copy, title, bytes);
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = copy;
    info->size = DialogSize();
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::SetObjects(ULONG count, IUnknown** objects)
{
    if (count == 1) {
        if (!objects || !objects[0])
            return E_POINTER;
        if (m_connected) {
            OnDisconnect();
            m_connected = false;
        }
        HRESULT hr = OnConnect(objects[0]);
        m_connected = SUCCEEDED(hr);
        return hr;
    }
    if (count == 0) {
        if (!m_connected)
            return S_OK;
        m_connected = false;
        return OnDisconnect();
    }
    return E_UNEXPECTED;
}

STDMETHODIMP CBasePropertyPage::Activate(HWND parent, LPCRECT rect, BOOL)
{
    if (!rect)
        return E_POINTER;
    if (m_hwnd)
        return E_UNEXPECTED;
    HWND hwnd = CreateDialogParamW(DShowModuleInstance(), MAKEINTRESOURCEW(m_dialogId), parent,
                                   &CBasePropertyPage::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd)
        return E_OUTOFMEMORY;
    // The template's style may say popup; inside a frame the page is a child.
    SetWindowLongPtrW(hwnd, GWL_STYLE, (GetWindowLongPtrW(hwnd, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
    SetParent(hwnd, parent);
    m_hwnd = hwnd;
    OnActivate();
    Move(rect);
    return Show(SW_SHOWNORMAL);
}

STDMETHODIMP CBasePropertyPage::Deactivate()
{
    if (!m_hwnd)
        return E_UNEXPECTED;
    OnDeactivate();
    HWND hwnd = m_hwnd;
    m_hwnd = nullptr;
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    DestroyWindow(hwnd);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Show(UINT cmdShow)
{
    if (!m_hwnd)
        return E_UNEXPECTED;
    if (cmdShow != SW_SHOW && cmdShow != SW_SHOWNORMAL && cmdShow != SW_HIDE)
        return E_INVALIDARG;
    ShowWindow(m_hwnd, cmdShow);
    InvalidateRect(m_hwnd, nullptr, TRUE);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Move(LPCRECT rect)
{
    if (!rect)
        return E_POINTER;
    if (!m_hwnd)
        return E_UNEXPECTED;
    MoveWindow(m_hwnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Apply()
{
    if (!m_connected)
        return E_UNEXPECTED;
    if (!m_dirty)
        return S_OK;
    HRESULT hr = OnApplyChanges();
    if (SUCCEEDED(hr))
        m_dirty = false;
    return hr;
}

void CBasePropertyPage::SetDirty()
{
    m_dirty = true;
    if (m_site)
        m_site->OnStatusChange(PROPPAGESTATUS_DIRTY);
}
