// Dialog data exchange: DoDataExchange moves values between members and controls
// in one direction (m_bSaveAndValidate). Setting a control's text is skipped when
// the text is already equal, so EN_CHANGE handlers that call UpdateData(FALSE)
// do not recurse.
#pragma once
#include <windows.h>
#include "String.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bFailed = FALSE;

    HWND PrepareCtrl(int id);
    // Validation failed: focus the last control; later exchanges do nothing.
    void Fail();
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// A group of radio buttons starting at id (up to the next WS_GROUP): index of the
// checked one, -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);

// Sets a window's text unless it already has exactly that text.
void AfxSetWindowText(HWND hWnd, const wchar_t* text);
