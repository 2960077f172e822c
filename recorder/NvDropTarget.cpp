#include "NvDropTarget.h"
#include "NvDropDialog.h"

BOOL NvDropTarget::Register(HWND window)
{
    m_window = window;
    return SUCCEEDED(RegisterDragDrop(window, this));
}

void NvDropTarget::Revoke()
{
    if (m_window) RevokeDragDrop(m_window);
    m_window = nullptr;
}

HRESULT STDMETHODCALLTYPE NvDropTarget::QueryInterface(REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE NvDropTarget::AddRef() { return (ULONG)InterlockedIncrement(&m_refs); }

// The dialog owns the target; the count only keeps OLE's references honest.
ULONG STDMETHODCALLTYPE NvDropTarget::Release() { return (ULONG)InterlockedDecrement(&m_refs); }

HRESULT STDMETHODCALLTYPE NvDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    m_data = data;
    *effect = m_dialog->OnDragEnter(data, keys, POINT{point.x, point.y});
    return S_OK;
}

HRESULT STDMETHODCALLTYPE NvDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect)
{
    *effect = m_dialog->OnDragOver(m_data, keys, POINT{point.x, point.y});
    return S_OK;
}

HRESULT STDMETHODCALLTYPE NvDropTarget::DragLeave()
{
    m_dialog->OnDragLeave();
    m_data = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE NvDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    POINT at{point.x, point.y};
    DROPEFFECT allowed = m_dialog->OnDragOver(data, keys, at);
    m_data = nullptr;
    if (allowed == DROPEFFECT_NONE) {
        // A refused drop ends as a drag-leave.
        m_dialog->OnDragLeave();
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    DROPEFFECT done = m_dialog->OnDropEx(data, allowed, *effect, at);
    if (done == (DROPEFFECT)-1) done = m_dialog->OnDrop(data, allowed, at) ? allowed : DROPEFFECT_NONE;
    *effect = done;
    return S_OK;
}
