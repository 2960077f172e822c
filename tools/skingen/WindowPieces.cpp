#include "WindowPieces.h"
#include <algorithm>
#include <cmath>
#include "Pictures.h"
#include "Shapes.h"

using namespace palette;

namespace {
const Rgb kEdgeDark = {13, 11, 10};
const Rgb kBarTop = {54, 46, 40}, kBarBottom = {39, 34, 30};
}  // namespace

Canvas PillStrip(const Canvas& under, int x, int y, int w, int h,
                 const std::function<void(Canvas&, Rgb ink, double shift)>& glyph)
{
    const Canvas base = Crop(under, x, y, w, h);
    const double r = std::min(w, h) * 0.3;
    Canvas strip(w * 5, h);
    for (int state : {0, 2, 3, 4}) {
        Canvas f = base;
        Rgb rim = MakeRgb(110, 94, 80), top = MakeRgb(78, 67, 58), bottom = MakeRgb(46, 40, 36), ink = kCream;
        double shift = 0;
        if (state == 2) rim = MakeRgb(252, 224, 176), top = MakeRgb(250, 212, 150), bottom = kAmber, ink = MakeRgb(42, 30, 22);
        if (state == 3) rim = kAmberLight, top = MakeRgb(96, 56, 32), bottom = MakeRgb(70, 42, 26), ink = kAmberLight, shift = 1;
        if (state == 4) rim = MakeRgb(70, 62, 55), top = MakeRgb(50, 44, 39), bottom = MakeRgb(40, 35, 31), ink = MakeRgb(98, 91, 84);
        f.RoundRect(1, 2, w - 2, h - 3, r, kEdgeDark);
        f.RoundRect(1, 1, w - 2, h - 3, r, rim);
        f.RoundRectGradient(2.5, 2.5, w - 5, h - 6, r - 1.5, top, bottom);
        glyph(f, ink, shift);
        strip.Blit(f, state * w, 0);
    }
    Canvas mask(w, h);
    mask.KeyOutsideRoundRect(1, 1, w - 2, h - 2, r, kKeyRed, Rgb{});
    strip.Blit(mask, w, 0);
    return strip;
}

Canvas CaptionStrip(const Canvas& background, CaptionGlyph glyph, int x)
{
    const Canvas under = Crop(background, x, 14, 39, 39);
    Canvas strip(39 * 5, 39);
    for (int state : {0, 2, 3, 4}) {
        Canvas f = under;
        RecorderCaptionFace(f, glyph, state);
        strip.Blit(f, state * 39, 0);
    }
    Canvas mask(39, 39);
    KeyOutside(mask, [](double px, double py) { return (px - 19.5) * (px - 19.5) + (py - 19.5) * (py - 19.5) <= 17 * 17; },
               kKeyRed, Rgb{});
    strip.Blit(mask, 39, 0);
    return strip;
}


void TitleBar(Canvas& c, int bar)
{
    const int w = c.Width();
    c.VerticalGradient(0, 0, w, bar, kBarTop, kBarBottom);
    for (int x = 0; x < w; ++x) {
        double t = std::min(1.0, std::abs(x - w / 2) / (w / 2 + 20.0));
        c.Set(x, bar - 1, Mix(Mix(kAmber, kBarBottom, 0.35), kBarBottom, t * t));
        c.Set(x, bar, Mix(Mix(kEmber, kEdgeDark, 0.55), kEdgeDark, t));
    }
}

void WindowRim(Canvas& c)
{
    const int w = c.Width(), h = c.Height();
    c.Fill(0, 0, w, 1, MakeRgb(104, 90, 78));
    c.Fill(0, 0, 1, h, MakeRgb(84, 73, 64));
    c.Fill(0, h - 1, w, 1, MakeRgb(10, 9, 8));
    c.Fill(w - 1, 0, 1, h, MakeRgb(14, 12, 11));
}

Canvas WindowLogo(const Canvas& background)
{
    Canvas c = Crop(background, 3, 0, 300, 66);
    RecorderMark(c, 34, 34);
    RecorderWordmark(c, 70, 18, 19.5, kCream);
    return c;
}
