#include "NewWizPage.h"
#include "SkinModule.h"
#include "BStatic.h"
#include "CaptureDevice.h"
#include "DC.h"
#include "GuiFonts.h"
#include "NewWizDialog.h"
#include "WizGlobals.h"
#include <dbt.h>
#include <cstddef>
#include <cwchar>

// KSCATEGORY_CAPTURE: the device interfaces of capture devices.
static const GUID kCaptureCategory = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

BEGIN_MESSAGE_MAP(CNewWizPage, CWizardPage)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CNewWizPage::CNewWizPage(UINT templateId, CWnd* parent) : CWizardPage(templateId, parent) {}

CNewWizPage::~CNewWizPage()
{
    UnregisterDeviceNotify();
}

void CNewWizPage::SetHost(CDialog* host)
{
    m_pParent = static_cast<CNewWizDialog*>(host);
}

BOOL CNewWizPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreatePageFonts();
    SetWindowPos((HWND)nullptr, 0, 0, NEWWIZ_PAGE_WIDTH, NEWWIZ_PAGE_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CNewWizPage::CreatePageFonts()
{
    const int heights[3] = {_wtoi(WizString(124)), _wtoi(WizString(125)), _wtoi(WizString(126))};
    const int weights[3] = {550, 500, 100};
    CFont* fonts[3] = {&m_largeFont, &m_mediumFont, &m_smallFont};
    CreateGuiFonts(WizString(102), heights, weights, fonts, 3);
}

BOOL CNewWizPage::PreTranslateMessage(MSG* msg)
{
    if (m_ToolTip.m_hWnd && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST)
        m_ToolTip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CNewWizPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE && wParam == DBT_DEVICEREMOVECOMPLETE) CheckRemovedDevice(lParam);
    return CWizardPage::WindowProc(message, wParam, lParam);
}

BOOL CNewWizPage::SetBackground(HINSTANCE module, UINT bitmapId)
{
    m_background.DeleteObject();
    return m_background.Attach(LoadSkinBitmap(module, bitmapId));
}

BOOL CNewWizPage::OnEraseBkgnd(CDC* dc)
{
    if (!m_background.m_hObject) return (BOOL)Default();
    HDC memory = CreateCompatibleDC(dc->m_hDC);
    HGDIOBJ old = SelectObject(memory, m_background.m_hObject);
    RECT client;
    GetClientRect(&client);
    BitBlt(dc->m_hDC, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return TRUE;
}

// Dragging a free part of the page drags the wizard.
void CNewWizPage::OnLButtonDown(UINT, CPoint point)
{
    Default();
    if (m_pParent) m_pParent->PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

void CNewWizPage::PlaceControl(UINT id, int x, int y, int width, int height, HFONT font)
{
    HWND control = ::GetDlgItem(m_hWnd, (int)id);
    if (!control) return;
    if (font) ::SendMessageW(control, WM_SETFONT, (WPARAM)font, FALSE);
    ::MoveWindow(control, x, y, width, height, TRUE);
}

int CNewWizPage::PlaceLabel(UINT id, int x, int y, int height, HFONT font)
{
    HWND control = ::GetDlgItem(m_hWnd, (int)id);
    if (!control) return 70;
    if (font) ::SendMessageW(control, WM_SETFONT, (WPARAM)font, FALSE);
    int width = GetTextWidth(id);
    ::MoveWindow(control, x, y, width, height, TRUE);
    return width;
}

// Measured with the font the label draws with: the default font of a fresh
// device context is smaller than the page fonts and would cut large labels.
int CNewWizPage::GetTextWidth(UINT id)
{
    HWND control = ::GetDlgItem(m_hWnd, (int)id);
    if (!control) return 70;
    int length = ::GetWindowTextLengthW(control);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = nullptr;
    if (HFONT font = (HFONT)::SendMessageW(control, WM_GETFONT, 0, 0)) old = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    if (old) SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return length * (metrics.tmAveCharWidth + 2);
}

void CNewWizPage::DrawControlFrame(HDC dc, UINT id, COLORREF colour)
{
    HWND control = ::GetDlgItem(m_hWnd, (int)id);
    if (!control) return;
    RECT rc;
    ::GetWindowRect(control, &rc);
    ScreenToClient(&rc);
    rc.left -= 3;
    rc.top -= 3;
    rc.right += 2;
    rc.bottom += 2;
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rc, brush);
    DeleteObject(brush);
}

void CNewWizPage::PlaceText(CBStatic& text, int x, int y, int w, int h, HFONT font, COLORREF colour)
{
    if (!text.m_hWnd) return;
    text.SetBkBitmap(&m_background);
    text.SetBkRect(x, y, w, h);
    text.SetTextColor(colour);
    PlaceControl((UINT)text.GetDlgCtrlID(), x, y, w, h, font);
}

void CNewWizPage::PlaceNote(CBStatic& label, CBStatic& text, int y)
{
    const COLORREF red = RGB(250, 10, 10);
    if (!label.m_hWnd) return;
    ::SendMessageW(label.m_hWnd, WM_SETFONT, (WPARAM)m_mediumFont.m_hObject, FALSE);
    int w = GetTextWidth((UINT)label.GetDlgCtrlID());
    PlaceText(label, 50, y, w, 40, m_mediumFont, red);
    PlaceText(text, w + 50, y, 650 - w, 40, m_mediumFont, red);
}

void CNewWizPage::ShowStep(const wchar_t* title, int indicator)
{
    if (!m_pParent) return;
    m_pParent->SetStepTitle(title);
    m_pParent->SetStepIndicator(indicator);
    m_pParent->LayoutButtons(m_nDialogID);
}

void CNewWizPage::RegisterDeviceNotify()
{
    if (m_hDeviceNotify) return;
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = 32;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureCategory;
    m_hDeviceNotify = RegisterDeviceNotificationW(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void CNewWizPage::UnregisterDeviceNotify()
{
    if (!m_hDeviceNotify) return;
    UnregisterDeviceNotification(m_hDeviceNotify);
    m_hDeviceNotify = nullptr;
}

CString CNewWizPage::RemovedDeviceIdentity(const void* broadcast)
{
    if (!broadcast) return CString();
    const auto* header = static_cast<const DEV_BROADCAST_HDR*>(broadcast);
    if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return CString();
    const auto* device = static_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(broadcast);
    const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (device->dbcc_size <= nameOffset) return CString();
    // The name ends with the broadcast, terminated or not.
    size_t capacity = (device->dbcc_size - nameOffset) / sizeof(wchar_t);
    CString name(device->dbcc_name, (int)wcsnlen(device->dbcc_name, capacity));
    int guid = name.Find(L"#{");
    if (guid >= 0) name = name.Left(guid);
    name.MakeUpper();
    int vid = name.Find(L"VID_");
    if (vid < 0) return CString();
    name = name.Mid(vid);
    int pid = name.Find(L"PID_");
    if (pid < 0 || name.GetLength() < pid + 8) return CString();
    return name.Left(pid + 8);
}

void CNewWizPage::CheckRemovedDevice(LPARAM broadcast)
{
    CString identity = RemovedDeviceIdentity((const void*)broadcast);
    if (!identity.IsEmpty() && CaptureDevice().IsSameDevice(identity)) OnDeviceRemoved();
}

void CNewWizPage::OnDeviceRemoved()
{
    CCaptureDevice& device = CaptureDevice();
    if (device.m_bInit) device.StopRendering();
    device.Close();
    ShowDeviceRemovedMessage();
}

void CNewWizPage::ShowDeviceRemovedMessage()
{
    CString text = L"The USB device has been disconnected.";
    if (g_hBurnTextModule) {
        wchar_t buffer[260] = {};
        LoadStringW(g_hBurnTextModule, 7, buffer, 260);
        text = buffer;
    }
    ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_ICONERROR);
}
