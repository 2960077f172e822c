// CBasePropertyPage: an IPropertyPage shown from a dialog template of the
// module. Derived pages connect to the filter's interfaces and handle their
// controls' messages; every change may go to the filter at once.
#pragma once
#include "Unknown.h"
#include <ocidl.h>
#include <olectl.h>

class CBasePropertyPage : public IPropertyPage, public CUnknown {
public:
    CBasePropertyPage(int dialogId, int titleId);
    ~CBasePropertyPage() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    IUnknown* GetOwnerUnknown() override { return static_cast<IPropertyPage*>(this); }

    // IPropertyPage
    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT cmdShow) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override { return m_dirty ? S_OK : S_FALSE; }
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return E_NOTIMPL; }

    // Hooks for the derived page.
    virtual HRESULT OnConnect(IUnknown* object) { return S_OK; }
    virtual HRESULT OnDisconnect() { return S_OK; }
    virtual HRESULT OnActivate() { return S_OK; }
    virtual HRESULT OnDeactivate() { return S_OK; }
    virtual HRESULT OnApplyChanges() { return S_OK; }
    // Dialog messages; the result goes back from the dialog procedure.
    virtual INT_PTR OnReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND Window() const { return m_hwnd; }

protected:
    void SetDirty();
    bool m_dirty = false;
    HWND m_hwnd = nullptr;
    IPropertyPageSite* m_site = nullptr;
    bool m_connected = false;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    SIZE DialogSize();
    int m_dialogId;
    int m_titleId;
};
