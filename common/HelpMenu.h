// The help menu of the programs' help button (menu 186 of the resource module)
// and the online-support address it opens.
#pragma once
#include <windows.h>
#include "String.h"

// The popup of menu `menuId`, taken out of its menu so the caller owns it
// (DestroyMenu): the first popup, the second in product kind 5, which also loses
// its "Online support" item (32783). The About item (32780) reads `aboutText`. Null when the
// resource module has no such menu.
HMENU LoadHelpPopup(UINT menuId, int productKind, const wchar_t* aboutText);

// Shows the popup at the help button's top-left corner plus (3, 20), owned by
// `owner`, and destroys it afterwards.
void TrackHelpPopup(HMENU popup, HWND owner, HWND helpButton);

// The support address: `address` with `language` appended when it ends with
// "=", then "&pd=" and the product code.
CString SupportAddress(const CString& address, const CString& language, const wchar_t* productCode);
