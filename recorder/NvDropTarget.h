// The OLE drop target of a drop dialog: forwards the platform's drag calls to the
// dialog, which refuses every drag while it does not accept drops.
#pragma once
#include <windows.h>
#include <ole2.h>

class NvDropDialog;

class NvDropTarget : public IDropTarget {
public:
    explicit NvDropTarget(NvDropDialog* dialog) : m_dialog(dialog) {}
    virtual ~NvDropTarget() = default;

    BOOL Register(HWND window);
    void Revoke();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    NvDropDialog* m_dialog;
    HWND m_window = nullptr;
    IDataObject* m_data = nullptr;  // during a drag only
    LONG m_refs = 1;
};
