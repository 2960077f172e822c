#include "WizardTestSupport.h"
#include "Driver.h"
#include "ResourceHandle.h"
#include "WizGlobals.h"
#include "WizSettings.h"

namespace wiztest {

const wchar_t kKey[] = L"software\\Norvane\\NV Sonelle";

void ResetWizardGlobals()
{
    g_szAppPath = drv::OwnFolder().c_str();
    g_szWindowTitle = (L"Wizard Test " + std::to_wstring(GetCurrentProcessId())).c_str();
    g_hResourceModule = g_hSkinModule = GetModuleHandleW(nullptr);
    AfxSetResourceHandle(GetModuleHandleW(nullptr));
    g_hExtraModule = g_hBurnTextModule = nullptr;
    g_strDeviceName = L"RIFBOX";
    g_strNoteText.Empty();
    g_WizSettings = DefaultWizSettings();
    g_WizProduct = WizProduct{};
    drv::RegDeleteTree(HKEY_CURRENT_USER, kKey);
}

HostedWizard::HostedWizard() : pages(new CWizardPages)
{
    pages->AddTo(dialog);
    dialog.Create(CAudioCaptureWizDlg::IDD, nullptr);
}

HostedWizard::~HostedWizard()
{
    if (dialog.m_hWnd) dialog.DestroyWindow();
}

bool Shown(HWND parent, int id)
{
    HWND control = GetDlgItem(parent, id);
    return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE);
}

RECT ControlRect(HWND parent, int id)
{
    RECT rc = {};
    HWND control = GetDlgItem(parent, id);
    if (!control) return rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

BoxAnswerer::BoxAnswerer(int button, DWORD timeoutMs)
    : m_thread([this, button, timeoutMs] {
          drv::MessageBoxInfo box = drv::WaitForMessageBox(GetCurrentProcessId(), timeoutMs);
          if (!box.window) return;
          // Read again while the box may still be filling in its text.
          for (int i = 0; i < 40 && box.text.empty(); ++i) {
              Sleep(50);
              box.text = drv::ControlText(box.window, 0xFFFF);
          }
          m_text = box.text;
          title = box.title;
          drv::AnswerMessageBox(box, button);
      })
{
}

BoxAnswerer::~BoxAnswerer()
{
    if (m_thread.joinable()) m_thread.join();
}

std::wstring BoxAnswerer::Wait()
{
    if (m_thread.joinable()) m_thread.join();
    return m_text;
}

}  // namespace wiztest
