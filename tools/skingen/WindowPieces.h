// Buttons that the 800 x 600 windows (the wizard's and the starter's) share,
// drawn over what lies under them in the window's background.
#pragma once
#include <functional>
#include "Canvas.h"
#include "RecorderWindow.h"

// Five frames over what lies under the button at (x, y) of `under`: normal,
// mask (red outside the pill), hover, pressed, disabled. `glyph` draws the
// button's sign in the given ink, shifted by `shift` when pressed.
Canvas PillStrip(const Canvas& under, int x, int y, int w, int h,
                 const std::function<void(Canvas&, Rgb ink, double shift)>& glyph);

// A round caption button (39 x 39) at (x, 14) of `background`.
Canvas CaptionStrip(const Canvas& background, CaptionGlyph glyph, int x);

// The dark title bar over rows 0 .. bar - 1 with an amber hairline closing it,
// brightest in the middle; row `bar` gets the dark line under it.
void TitleBar(Canvas& c, int bar);
// The window's rim: light above and left, dark below and right.
void WindowRim(Canvas& c);
// The product mark and name at the window's top left, over `background`.
Canvas WindowLogo(const Canvas& background);
