#include "PageEdit.h"
#include "SonelleGlobals.h"

BEGIN_MESSAGE_MAP(CPageEdit, CNewWizPage)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CPageEdit::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    // The page takes the size of its background, skin bitmap 177.
    if (m_background.Attach(LoadBitmapW(g_hSkinModule, MAKEINTRESOURCEW(177)))) {
        BITMAP info = {};
        GetObjectW((HBITMAP)m_background.m_hObject, sizeof(info), &info);
        SetWindowPos((HWND)nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL CPageEdit::OnSetActive()
{
    SetProcessPriority(NORMAL_PRIORITY_CLASS);
    return TRUE;
}

void CPageEdit::OpenFile(const wchar_t* path)
{
    m_strOpened = path;
}

void CPageEdit::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (m_background.m_hObject) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, m_background.m_hObject);
        BITMAP info = {};
        GetObjectW((HBITMAP)m_background.m_hObject, sizeof(info), &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(m_hWnd, &paint);
}
