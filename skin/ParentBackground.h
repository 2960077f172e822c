// What a control's parent shows behind the control, painted into the control's
// own device context, so that the control can draw over it as if it were
// transparent, whatever the parent's background is (a solid colour, a pattern
// brush, the dialog colour).
#pragma once
#include <windows.h>

// Asks the parent to erase into `dc` with the coordinates shifted, so that the
// part of its background under `control` lands at the control's client origin.
void PaintParentBackground(HWND control, HDC dc);
