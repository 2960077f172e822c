#include "NvDropDialog.h"
#include "NvDropTarget.h"
#include <cwchar>

BEGIN_MESSAGE_MAP(NvDropDialog, CDialog)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_NCDESTROY()
    ON_WM_COPYDATA()
    ON_MESSAGE(WM_DROPDLG_REGISTRY, OnDropDlgRegistry)
END_MESSAGE_MAP()

NvDropDialog::NvDropDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

NvDropDialog::~NvDropDialog()
{
    delete m_dropTarget;
}

HWND NvDropDialog::OwnerFromCommandLine(const wchar_t* commandLine)
{
    const wchar_t* found = commandLine ? wcsstr(commandLine, L"/owner=") : nullptr;
    if (!found) return nullptr;
    unsigned int value = 0;
    if (swscanf(found + 7, L"%x", &value) != 1) return nullptr;
    return static_cast<HWND>(LongToHandle((LONG)value));
}

BOOL NvDropDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_dropTarget = new NvDropTarget(this);
    m_dropTarget->Register(m_hWnd);
    m_owner = OwnerFromCommandLine(GetCommandLineW());
    m_leftRegistry = FALSE;

    wchar_t path[512] = {};
    GetModuleFileNameW(nullptr, path, 512);
    const wchar_t* slash = wcsrchr(path, L'\\');
    m_programFileName = slash ? slash + 1 : path;

    if (m_owner) SendDropRegistration(m_owner, m_hWnd, m_programFileName);
    return TRUE;
}

DROPEFFECT NvDropDialog::OnDragOver(IDataObject*, DWORD, POINT)
{
    return m_acceptDrops ? DefaultDropEffect() : DROPEFFECT_NONE;
}

DROPEFFECT NvDropDialog::OnDragEnter(IDataObject* data, DWORD keys, POINT point)
{
    return OnDragOver(data, keys, point);
}

void NvDropDialog::OnClose()
{
    LeaveRegistry();
    Default();
}

// Windows that end without WM_CLOSE (an exit button, the finish step) leave the
// registry too, so no owner keeps a dead window.
void NvDropDialog::OnDestroy()
{
    LeaveRegistry();
    Default();
}

void NvDropDialog::LeaveRegistry()
{
    if (m_leftRegistry) return;
    m_leftRegistry = TRUE;
    if (m_owner) {
        ::PostMessageW(m_owner, WM_DROPDLG_REGISTRY, DROPDLG_UNREGISTER, reinterpret_cast<LPARAM>(m_hWnd));
    } else {
        for (int i = 0; i < g_DropWindows.GetCount(); ++i)
            ::PostMessageW(DropRecordWindow(g_DropWindows.GetAt(i)), WM_DROPDLG_REGISTRY, DROPDLG_OWNERCLOSING, 0);
        g_DropWindows.RemoveAll();
    }
}

void NvDropDialog::OnNcDestroy()
{
    if (m_dropTarget) {
        m_dropTarget->Revoke();
        delete m_dropTarget;
        m_dropTarget = nullptr;
    }
    Default();
}

BOOL NvDropDialog::OnCopyData(CWnd*, COPYDATASTRUCT* data)
{
    return g_DropWindows.RegisterFromCopyData(data);
}

LRESULT NvDropDialog::OnDropDlgRegistry(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case DROPDLG_REGISTER:
        g_DropWindows.RegisterFromBlock(reinterpret_cast<HGLOBAL>(lParam));
        break;
    case DROPDLG_UNREGISTER:
        if (lParam) g_DropWindows.RemoveWindow(reinterpret_cast<HWND>(lParam));
        break;
    case DROPDLG_DROPFILES:
        // A drop handle is only meaningful in the process that made it.
        if (lParam && TakePostedHandle(reinterpret_cast<HANDLE>(lParam)))
            OnDropFiles(reinterpret_cast<HDROP>(lParam));
        break;
    case DROPDLG_DROPOTHER:
        if (lParam) OnDropOther(lParam);
        break;
    case DROPDLG_OWNERCLOSING:
        m_owner = nullptr;
        break;
    }
    return 0;
}
