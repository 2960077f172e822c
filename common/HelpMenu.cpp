#include "HelpMenu.h"
#include "ResourceHandle.h"

namespace {
const UINT kAboutItem = 32780, kSupportItem = 32783;
}  // namespace

HMENU LoadHelpPopup(UINT menuId, int productKind, const wchar_t* aboutText)
{
    HMENU menu = LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(menuId));
    if (!menu) return nullptr;
    const bool kind5 = productKind == 5;
    int index = kind5 && ::GetSubMenu(menu, 1) ? 1 : 0;
    HMENU popup = ::GetSubMenu(menu, index);
    // Taken out of its menu bar, the popup outlives it.
    if (popup) RemoveMenu(menu, (UINT)index, MF_BYPOSITION);
    DestroyMenu(menu);
    if (!popup) return nullptr;
    ModifyMenuW(popup, kAboutItem, MF_BYCOMMAND | MF_STRING, kAboutItem, aboutText);
    if (kind5) DeleteMenu(popup, kSupportItem, MF_BYCOMMAND);
    return popup;
}

void TrackHelpPopup(HMENU popup, HWND owner, HWND helpButton)
{
    if (!popup) return;
    RECT button = {};
    GetWindowRect(helpButton, &button);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, button.left + 3, button.top + 20, 0, owner, nullptr);
    DestroyMenu(popup);
}

CString SupportAddress(const CString& address, const CString& language, const wchar_t* productCode)
{
    CString full = address;
    if (!full.IsEmpty() && full[full.GetLength() - 1] == L'=') full += language;
    full += L"&pd=";
    full += productCode;
    return full;
}
