// NvDropDialog: the dialog base under the page framework. It registers an OLE drop
// target (no drop is accepted unless switched on) and takes part in the registry of
// cooperating windows: started with "/owner=<hex window>", it registers with that
// owner; without owner it keeps the windows that registered with it.
#pragma once
#include "Dialog.h"
#include "DropRecord.h"
#include <ole2.h>

class NvDropTarget;

// The drop effect of an OLE drag (DROPEFFECT_NONE, _COPY, _MOVE, _LINK).
typedef DWORD DROPEFFECT;

class NvDropDialog : public CDialog {
public:
    explicit NvDropDialog(UINT templateId, CWnd* parent = nullptr);
    ~NvDropDialog() override;

    BOOL OnInitDialog() override;

    // Drag operations, forwarded by the drop target.
    virtual DROPEFFECT OnDragOver(IDataObject* data, DWORD keys, POINT point);
    virtual DROPEFFECT DefaultDropEffect() { return DROPEFFECT_MOVE; }
    virtual void OnDropFiles(HDROP) {}
    virtual void OnDropOther(LPARAM) {}
    virtual DROPEFFECT OnDragEnter(IDataObject* data, DWORD keys, POINT point);
    virtual DROPEFFECT OnDropEx(IDataObject*, DROPEFFECT, DROPEFFECT, POINT) { return (DROPEFFECT)-1; }
    virtual BOOL OnDrop(IDataObject*, DROPEFFECT, POINT) { return FALSE; }
    virtual void OnDragLeave() {}

    HWND GetOwnerWindow() const { return m_owner; }
    const CString& GetProgramFileName() const { return m_programFileName; }
    void SetAcceptDrops(BOOL accept) { m_acceptDrops = accept; }

    // "/owner=1a2b" anywhere in the command line gives window 0x1A2B; none gives null.
    static HWND OwnerFromCommandLine(const wchar_t* commandLine);

protected:
    void OnClose();
    void OnDestroy();
    void OnNcDestroy();
    void LeaveRegistry();
    LRESULT OnDropDlgRegistry(WPARAM wParam, LPARAM lParam);
    BOOL OnCopyData(CWnd* sender, COPYDATASTRUCT* data);

    NvDropTarget* m_dropTarget = nullptr;
    CString m_programFileName;
    HWND m_owner = nullptr;
    BOOL m_acceptDrops = FALSE;
    BOOL m_leftRegistry = FALSE;

    DECLARE_MESSAGE_MAP()
};
