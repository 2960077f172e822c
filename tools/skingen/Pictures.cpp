#include "Pictures.h"
#include "Shapes.h"
#include <algorithm>
#include <cmath>

using namespace palette;

namespace {

// The Edit page's glyphs, centred on (cx, cy) in a button whose smaller side is s.
void DrawEditGlyph(Canvas& c, double cx, double cy, double s, Glyph glyph, Rgb ink)
{
    const double u = s * 0.1;  // one glyph unit
    auto bar = [&](double x, double y, double w, double h) { c.RoundRect(x, y, w, h, std::min(w, h) * 0.3, ink); };
    auto right = [&](double x, double size) { c.Triangle(x, cy - size, x, cy + size, x + size * 1.5, cy, ink); };
    auto left = [&](double x, double size) { c.Triangle(x, cy - size, x, cy + size, x - size * 1.5, cy, ink); };
    switch (glyph) {
    case Glyph::Open:  // a folder
        bar(cx - 3 * u, cy - 2 * u, 2.4 * u, 1.2 * u);
        bar(cx - 3 * u, cy - 1.3 * u, 6 * u, 4 * u);
        break;
    case Glyph::AutoSplit:  // a wave with a marker
        Stroke(c, {{{cx - 3.2 * u, cy}, {cx - 2.4 * u, cy - 2 * u}, {cx - 1.6 * u, cy + 2 * u}, {cx - 0.8 * u, cy}}},
               u * 0.6, ink);
        Stroke(c, {{{cx + 1 * u, cy}, {cx + 1.8 * u, cy - 1.2 * u}, {cx + 2.6 * u, cy + 1.2 * u}, {cx + 3.2 * u, cy}}},
               u * 0.6, ink);
        bar(cx - 0.25 * u, cy - 3 * u, 0.5 * u, 6 * u);
        break;
    case Glyph::Clear:  // a cross
        Stroke(c, {{{cx - 2 * u, cy - 2 * u}, {cx + 2 * u, cy + 2 * u}}, {{cx + 2 * u, cy - 2 * u}, {cx - 2 * u, cy + 2 * u}}},
               u * 0.8, ink);
        break;
    case Glyph::Split:  // a marker line with a flag
        bar(cx - 0.3 * u, cy - 3 * u, 0.6 * u, 6 * u);
        c.Triangle(cx + 0.3 * u, cy - 3 * u, cx + 0.3 * u, cy - 0.6 * u, cx + 2.4 * u, cy - 1.8 * u, ink);
        break;
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
        c.Ring(cx - 0.6 * u, cy - 0.6 * u, 2.4 * u, 1.7 * u, ink);
        Stroke(c, {{{cx + 1.2 * u, cy + 1.2 * u}, {cx + 2.8 * u, cy + 2.8 * u}}}, u * 0.8, ink);
        bar(cx - 1.7 * u, cy - 0.9 * u, 2.2 * u, 0.6 * u);
        if (glyph == Glyph::ZoomIn) bar(cx - 0.9 * u, cy - 1.7 * u, 0.6 * u, 2.2 * u);
        break;
    case Glyph::Fit:  // |<->|
        bar(cx - 3 * u, cy - 2 * u, 0.6 * u, 4 * u);
        bar(cx + 2.4 * u, cy - 2 * u, 0.6 * u, 4 * u);
        bar(cx - 1.5 * u, cy - 0.3 * u, 3 * u, 0.6 * u);
        left(cx - 1 * u, 1.0 * u);
        right(cx + 1 * u, 1.0 * u);
        break;
    case Glyph::Play:
        right(cx - 1.2 * u, 2.2 * u);
        break;
    case Glyph::Pause:
        bar(cx - 1.6 * u, cy - 2 * u, 1.1 * u, 4 * u);
        bar(cx + 0.5 * u, cy - 2 * u, 1.1 * u, 4 * u);
        break;
    case Glyph::ToStart:
        bar(cx - 2.2 * u, cy - 2 * u, 0.7 * u, 4 * u);
        left(cx + 1.6 * u, 2 * u);
        break;
    case Glyph::ToEnd:
        bar(cx + 1.5 * u, cy - 2 * u, 0.7 * u, 4 * u);
        right(cx - 1.6 * u, 2 * u);
        break;
    case Glyph::Rewind:
        left(cx + 0.2 * u, 1.8 * u);
        left(cx + 2.9 * u, 1.8 * u);
        break;
    case Glyph::Forward:
        right(cx - 0.2 * u, 1.8 * u);
        right(cx - 2.9 * u, 1.8 * u);
        break;
    case Glyph::Effect:  // a spark
        c.Triangle(cx, cy - 2.6 * u, cx - 0.7 * u, cy, cx + 0.7 * u, cy, ink);
        c.Triangle(cx, cy + 2.6 * u, cx - 0.7 * u, cy, cx + 0.7 * u, cy, ink);
        c.Triangle(cx - 2.6 * u, cy, cx, cy - 0.7 * u, cx, cy + 0.7 * u, ink);
        c.Triangle(cx + 2.6 * u, cy, cx, cy - 0.7 * u, cx, cy + 0.7 * u, ink);
        c.Circle(cx + 2 * u, cy - 2 * u, 0.5 * u, ink);
        break;
    case Glyph::Undo:  // an arrow turning back
        Stroke(c, {Arc({cx + 0.3 * u, cy + 0.4 * u}, 2.2 * u, 1.8 * u, 170, -60)}, u * 0.7, ink);
        c.Triangle(cx - 3.2 * u, cy - 0.6 * u, cx - 0.8 * u, cy - 0.6 * u, cx - 2 * u, cy + 1.6 * u, ink);
        break;
    default:
        break;
    }
}

void DrawGlyph(Canvas& c, int ox, int w, int h, Glyph glyph, Rgb ink, double press)
{
    double cx = ox + w / 2.0 + press, cy = h / 2.0 + press, s = std::min(w, h);
    switch (glyph) {
    case Glyph::Record:
        c.Circle(cx, cy, s * 0.17, ink.r > 200 && ink.g < 120 ? ink : MakeRgb(ink.r, ink.g * 2 / 5, ink.b / 3));
        break;
    case Glyph::Stop:
        c.RoundRect(cx - s * 0.14, cy - s * 0.14, s * 0.28, s * 0.28, s * 0.03, ink);
        break;
    case Glyph::Option:
        for (int i = 0; i < 3; ++i) {
            double y = cy - s * 0.12 + i * s * 0.12;
            c.RoundRect(cx - s * 0.17, y - s * 0.02, s * 0.34, s * 0.04, s * 0.02, ink);
            c.Circle(cx + (i - 1) * s * 0.09, y, s * 0.045, ink);
        }
        break;
    case Glyph::Publish:
        c.Ring(cx, cy, s * 0.2, s * 0.05, ink);
        c.Ring(cx, cy, s * 0.13, s * 0.11, MakeRgb(ink.r / 2, ink.g / 2, ink.b / 2));
        break;
    case Glyph::None:
        break;
    default:
        DrawEditGlyph(c, cx, cy, s, glyph, ink);
        break;
    }
}

// One face of a button at x = ox: the state picks the colours.
void ButtonFace(Canvas& c, int ox, int w, int h, bool round, Glyph glyph, int state)
{
    Rgb top = kRaisedHigh, bottom = kPanel, rim = kEmber, ink = kCream;
    double press = 0;
    if (state == 2) { top = MakeRgb(104, 88, 74); bottom = kRaised; rim = kAmber; ink = kAmberLight; }
    if (state == 3) { top = kPanel; bottom = kRaised; rim = kAmberLight; ink = kAmber; press = 1; }
    if (state == 4) { top = kRaised; bottom = kPanel; rim = kGrey; ink = kGrey; }
    if (glyph == Glyph::Record && state != 4) ink = state == 0 ? kRed : MakeRgb(240, 96, 64);
    if (round) {
        double r = std::min(w, h) / 2.0 - 0.5;
        c.Circle(ox + w / 2.0, h / 2.0 + 1, r, kShadow);
        c.Circle(ox + w / 2.0, h / 2.0, r, rim);
        c.CircleGradient(ox + w / 2.0, h / 2.0, r - 3, top, bottom);
        c.Ring(ox + w / 2.0, h / 2.0, r - 3, r - 4.2, MakeRgb(rim.r / 3, rim.g / 3, rim.b / 3));
    } else {
        double r = std::min(w, h) * 0.22;
        c.RoundRect(ox + 0.5, 0.5, w - 1, h - 1, r, rim);
        c.RoundRectGradient(ox + 2, 2, w - 4, h - 4, r - 1.5, top, bottom);
    }
    DrawGlyph(c, ox, w, h, glyph, ink, press);
}

} // namespace

Canvas Keyed(int w, int h, Rgb under, Rgb key, const std::function<void(Canvas&)>& draw)
{
    // Drawn twice, on the background and on another colour: a pixel that differs
    // between the two (or from the background) was touched by the drawing and
    // keeps its blend with the background; an untouched one becomes the key.
    Canvas picture(w, h, under), probe(w, h, Mix(under, kCream, 0.5));
    draw(picture);
    draw(probe);
    const Rgb untouched = Mix(under, kCream, 0.5);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb p = picture.Get(x, y), q = probe.Get(x, y);
            bool same = p.r == under.r && p.g == under.g && p.b == under.b;
            bool probeSame = q.r == untouched.r && q.g == untouched.g && q.b == untouched.b;
            if (same && probeSame) picture.Set(x, y, key);
        }
    return picture;
}

Canvas ButtonStrip(int w, int h, bool round, Glyph glyph)
{
    Canvas strip(w * 5, h, kCharcoal);
    for (int f : {0, 2, 3, 4}) {
        Canvas face(w, h, kCharcoal);
        ButtonFace(face, 0, w, h, round, glyph, f);
        strip.Blit(face, f * w, 0);
    }
    Canvas mask(w, h);
    if (round) mask.KeyOutsideCircle(w / 2.0, h / 2.0, std::min(w, h) / 2.0, kKeyRed, Rgb{});
    else mask.KeyOutsideRoundRect(0, 0, w, h, std::min(w, h) * 0.22, kKeyRed, Rgb{});
    strip.Blit(mask, w, 0);
    return strip;
}

Canvas CheckStrip(int box)
{
    return Keyed(box * 6, box, kUnderControls, kKeyMagenta, [box](Canvas& strip) {
        for (int f = 0; f < 6; ++f) {
            bool checked = f % 2 == 0, pushed = f == 2 || f == 3, disabled = f >= 4;
            double ox = f * box;
            Rgb rim = disabled ? kGrey : pushed ? kAmberLight : kEmber;
            strip.RoundRect(ox + 1, 1, box - 2, box - 2, box * 0.22, rim);
            strip.RoundRectGradient(ox + 2.5, 2.5, box - 5, box - 5, box * 0.16, pushed ? kPanel : kRaised, kCharcoal);
            if (checked) {
                Rgb ink = disabled ? kGrey : kAmber;
                double s = box;
                strip.Triangle(ox + s * 0.22, s * 0.50, ox + s * 0.42, s * 0.72, ox + s * 0.42, s * 0.58, ink);
                strip.Triangle(ox + s * 0.42, s * 0.72, ox + s * 0.80, s * 0.28, ox + s * 0.42, s * 0.58, ink);
                strip.Triangle(ox + s * 0.22, s * 0.50, ox + s * 0.30, s * 0.44, ox + s * 0.42, s * 0.58, ink);
                strip.Triangle(ox + s * 0.80, s * 0.28, ox + s * 0.72, s * 0.24, ox + s * 0.42, s * 0.58, ink);
            }
        }
    });
}

Canvas ComboArrow(int w, int h)
{
    Canvas strip(w * 3, h, kPanel);
    for (int cell = 0; cell < 3; ++cell) {
        int ox = cell * w;
        strip.VerticalGradient(ox, 0, w, h, cell == 1 ? kPanel : kRaised, cell == 1 ? kRaised : kPanel);
        Rgb ink = cell == 2 ? kGrey : cell == 1 ? kAmberLight : kAmber;
        double cx = ox + w / 2.0, cy = h / 2.0 + (cell == 1 ? 1 : 0);
        strip.Triangle(cx - 4, cy - 2, cx + 4, cy - 2, cx, cy + 3, ink);
    }
    return strip;
}

Canvas SliderChannel(int w, int h, bool vertical, bool active)
{
    Canvas c(w, h, kCharcoal);
    int thickness = 7;
    if (vertical) {
        double x = (w - thickness) / 2.0;
        c.RoundRect(x - 1, 1, thickness + 2, h - 2, 4, kShadow);
        if (active) c.RoundRectGradient(x, 2, thickness, h - 4, 3.5, kAmberLight, kEmber);
        else c.RoundRect(x, 2, thickness, h - 4, 3.5, kPanel);
        for (int y = 8; y < h - 6; y += 12) c.Fill(1, y, 4, 1, kGrey), c.Fill(w - 5, y, 4, 1, kGrey);
    } else {
        double y = (h - thickness) / 2.0;
        c.RoundRect(1, y - 1, w - 2, thickness + 2, 4, kShadow);
        if (active) {
            Canvas lit(w, h, kCharcoal);
            c.RoundRect(2, y, w - 4, thickness, 3.5, kEmber);
            for (int x = 2; x < w - 2; ++x)
                for (int j = 0; j < h; ++j)
                    if (c.Get(x, j).r == kEmber.r && c.Get(x, j).g == kEmber.g)
                        c.Set(x, j, Mix(kEmber, kAmberLight, (double)x / w));
        } else {
            c.RoundRect(2, y, w - 4, thickness, 3.5, kPanel);
        }
    }
    return c;
}

Canvas SliderThumb(int w, int h, bool vertical)
{
    return Keyed(w, h, kUnderControls, kKeyMagenta, [=](Canvas& knob) {
        knob.RoundRect(0, 0, w, h, std::min(w, h) * 0.35, kShadow);
        knob.RoundRectGradient(1, 1, w - 2, h - 2, std::min(w, h) * 0.3, kAmberLight, kEmber);
        if (vertical) knob.Fill(3, h / 2, w - 6, 1, kCharcoal);
        else knob.Fill(w / 2, 3, 1, h - 6, kCharcoal);
    });
}

Canvas GraphBar(int w, int h)
{
    Canvas c(w, h, kCharcoal);
    for (int y = 0; y < h; ++y) {
        double t = (double)y / (h - 1);  // 0 at the top
        Rgb lit = t < 0.25 ? Mix(kRed, kEmber, t / 0.25) : Mix(kEmber, kAmberLight, (t - 0.25) / 0.75);
        bool gap = y % 3 == 2;
        c.Fill(0, y, w, 1, gap ? Mix(lit, kCharcoal, 0.7) : lit);
    }
    return c;
}

Canvas GraphBack(int w, int h, int barWidth, int barHeight)
{
    Canvas c(w, h, kCharcoal);
    c.VerticalGradient(0, 0, w, h, kPanel, kCharcoal);
    for (int y = 0; y < barHeight; y += barHeight / 4) c.Fill(0, y, w, 1, MakeRgb(52, 45, 40));
    for (int i = 0; i < 30; ++i) {
        int x = 2 + i * (barWidth + 1);
        for (int y = 0; y < barHeight; ++y)
            if (y % 3 != 2) c.Fill(x, y, barWidth, 1, MakeRgb(50, 42, 37));
    }
    c.Fill(0, h - 1, w, 1, kEmber);
    return c;
}

Canvas VolumeBar(int w, int h)
{
    Canvas c(w, h, kCharcoal);
    int half = w / 2;
    Canvas lit = GraphBar(half - 4, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 2; x < half - 2; ++x) {
            bool gap = y % 3 == 2;
            c.Set(x, y, gap ? kCharcoal : MakeRgb(52, 44, 39));
            c.Set(half + x, y, lit.Get(x - 2, y));
        }
    }
    return c;
}

Canvas ProgressBar(int w, int rowHeight, int rows)
{
    Canvas c(w, rowHeight * rows, kCharcoal);
    auto track = [&](int row, Rgb from, Rgb to, bool lit) {
        int y = row * rowHeight;
        c.RoundRect(0, y, w, rowHeight, rowHeight / 2.0, kShadow);
        if (lit) {
            for (int x = 1; x < w - 1; ++x) {
                Rgb col = Mix(from, to, (double)x / w);
                for (int j = 1; j < rowHeight - 1; ++j) c.Set(x, y + j, Mix(col, kAmberLight, j == 1 ? 0.4 : 0));
            }
        } else {
            c.RoundRect(1, y + 1, w - 2, rowHeight - 2, (rowHeight - 2) / 2.0, kPanel);
        }
    };
    if (rows == 2) {
        track(0, kPanel, kPanel, false);
        track(1, kEmber, kAmber, true);
    } else {
        track(0, kRed, MakeRgb(240, 96, 64), true);  // beyond the mark
        track(1, kPanel, kPanel, false);              // empty
        for (int r = 2; r < rows - 1; ++r) track(r, kPanel, kPanel, false);
        track(rows - 1, kEmber, kAmber, true);        // up to the mark
    }
    return c;
}

Canvas SpinStrip(int w, int h)
{
    Canvas strip(w * 5, h, kPanel);
    for (int f = 0; f < 5; ++f) {
        int ox = f * w;
        Rgb face = f == 3 ? kPanel : f == 2 ? kRaisedHigh : kRaised;
        Rgb ink = f == 4 ? kGrey : f == 3 ? kAmberLight : f == 2 ? kAmberLight : kAmber;
        int hh = h / 2;
        strip.VerticalGradient(ox, 0, w, hh, face, kPanel);
        strip.VerticalGradient(ox, hh, w, h - hh, face, kPanel);
        strip.Fill(ox, hh, w, 1, kCharcoal);
        double cx = ox + w / 2.0;
        strip.Triangle(cx - 4, hh * 0.7, cx + 4, hh * 0.7, cx, hh * 0.25, ink);
        strip.Triangle(cx - 4, hh + hh * 0.3, cx + 4, hh + hh * 0.3, cx, hh + hh * 0.75, ink);
    }
    return strip;
}

Canvas HeaderSkin(int h)
{
    Canvas c(22, h, kPanel);
    for (int hot = 0; hot < 2; ++hot) {
        int ox = hot * 11;
        Rgb top = hot ? MakeRgb(104, 80, 60) : kRaisedHigh, bottom = hot ? kEmber : kRaised;
        c.VerticalGradient(ox, 0, 11, h, top, bottom);
        c.Fill(ox, h - 1, 11, 1, kAmber);
        c.Fill(ox, 0, 11, 1, hot ? kAmberLight : MakeRgb(110, 96, 84));
        c.Fill(ox, 1, 1, h - 2, MakeRgb(96, 84, 74));          // left edge highlight
        c.Fill(ox + 10, 1, 1, h - 2, kShadow);                 // right edge shade
    }
    return c;
}

Canvas ScrollSkin(int a)
{
    Canvas c(a * 9, a * 3, kCharcoal);
    for (int row = 0; row < 3; ++row) {
        Rgb face = row == 0 ? kRaised : row == 1 ? kRaisedHigh : kEmber;
        Rgb ink = row == 0 ? kAmber : kAmberLight;
        int y = row * a;
        auto arrowCell = [&](int cell, int dir) {  // 0 up, 1 down, 2 left, 3 right
            int x = cell * a;
            c.Fill(x, y, a, a, kCharcoal);
            c.RoundRectGradient(x + 1, y + 1, a - 2, a - 2, 3, face, kPanel);
            double cx = x + a / 2.0, cy = y + a / 2.0, s = a * 0.22;
            if (dir == 0) c.Triangle(cx - s, cy + s * 0.6, cx + s, cy + s * 0.6, cx, cy - s * 0.7, ink);
            if (dir == 1) c.Triangle(cx - s, cy - s * 0.6, cx + s, cy - s * 0.6, cx, cy + s * 0.7, ink);
            if (dir == 2) c.Triangle(cx + s * 0.6, cy - s, cx + s * 0.6, cy + s, cx - s * 0.7, cy, ink);
            if (dir == 3) c.Triangle(cx - s * 0.6, cy - s, cx - s * 0.6, cy + s, cx + s * 0.7, cy, ink);
        };
        arrowCell(0, 0);
        arrowCell(1, 1);
        arrowCell(4, 2);
        arrowCell(5, 3);
        // Thumbs: rounded ends within 3 pixels, a plain middle that tiles.
        c.Fill(2 * a, y, a, a, kCharcoal);
        c.RoundRectGradient(2 * a + 2, y, a - 4, a, 3, kAmber, kEmber);
        c.Fill(6 * a, y, a, a, kCharcoal);
        c.RoundRectGradient(6 * a, y + 2, a, a - 4, 3, kAmber, kEmber);
        // Tracks.
        c.Fill(3 * a, y, a, a, kCharcoal);
        c.Fill(3 * a + a / 2 - 1, y, 2, a, kPanel);
        c.Fill(7 * a, y, a, a, kCharcoal);
        c.Fill(7 * a, y + a / 2 - 1, a, 2, kPanel);
        c.Fill(8 * a, y, a, a, kCharcoal);
    }
    return c;
}

Canvas TimeDisplayBack(int w, int h)
{
    Canvas c(w, h, kShadow);
    c.RoundRect(0, 0, w, h, 3, MakeRgb(58, 50, 44));                // rim
    c.RoundRectGradient(1, 1, w - 2, h - 2, 2.5, kShadow, kCharcoal);  // sunken face
    c.Fill(3, h - 2, w - 6, 1, MakeRgb(70, 52, 38));                 // warm lower lip
    return c;
}

Canvas TextButtonStrip(int w, int h)
{
    Canvas strip(w * 5, h, kCharcoal);
    const Rgb tops[5] = {kAmberLight, {}, MakeRgb(250, 216, 160), kAmber, kGrey};
    const Rgb bottoms[5] = {kAmber, {}, kAmberLight, kEmber, kRaised};
    for (int f : {0, 2, 3, 4}) {
        strip.RoundRect(f * w + 0.5, 0.5, w - 1, h - 1, h * 0.3, kEmber);
        strip.RoundRectGradient(f * w + 1.5, 1.5, w - 3, h - 3, h * 0.3 - 1, tops[f], bottoms[f]);
    }
    Canvas mask(w, h);
    mask.KeyOutsideRoundRect(0, 0, w, h, h * 0.3, kKeyRed, Rgb{});
    strip.Blit(mask, w, 0);
    return strip;
}

Canvas ProgressDialogBack(int w, int h)
{
    Canvas c(w, h, kShadow);
    c.Fill(0, 0, w, h, kEmber);
    c.VerticalGradient(2, 2, w - 4, h - 4, kRaised, kCharcoal);
    c.RoundRect(10, 4, w - 20, 24, 4, kShadow);
    c.RoundRectGradient(11, 5, w - 22, 22, 3.5, kCharcoal, kPanel);
    return c;
}
