// Dialog backgrounds painted with a skin bitmap as a pattern brush, lined up
// with the dialog whichever control asks for it.
#pragma once
#include <windows.h>

// A pattern brush of bitmap resource `id` of `module` (the packed DIB itself, so
// the pattern keeps its colours); null when the module lacks the bitmap.
HBRUSH CreateBitmapPatternBrush(HINSTANCE module, UINT id);

// For WM_CTLCOLOR*: shifts the brush origin by the control's offset in the
// dialog, so the control's background continues the dialog's, and makes text
// backgrounds transparent.
void AlignPatternToDialog(HDC dc, HWND dialog, HWND control);
