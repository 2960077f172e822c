#include "StarterWindow.h"
#include <cmath>
#include "Pictures.h"
#include "Shapes.h"
#include "WindowPieces.h"

using namespace palette;

namespace {

const int kWidth = 800, kHeight = 600, kBar = 70;
const int kWizardX = 101, kAdvancedX = 422, kButtonY = 108, kButtonW = 278, kButtonH = 208;
const Rgb kPaperTop = {246, 239, 228}, kPaperBottom = {228, 217, 201};

Canvas MakeBackground()
{
    Canvas c(kWidth, kHeight);
    // Light paper under the texts (the descriptions are drawn in the system's
    // dark text colour), a dark title bar above.
    c.VerticalGradient(0, kBar, kWidth, kHeight - kBar, kPaperTop, kPaperBottom);
    TitleBar(c, kBar);
    // Each launch button sits in a soft recess; a rule separates the two columns.
    for (int x : {kWizardX, kAdvancedX}) {
        c.RoundRect(x - 6, kButtonY - 5, kButtonW + 12, kButtonH + 12, 62, MakeRgb(214, 200, 182));
        c.RoundRect(x - 5, kButtonY - 4, kButtonW + 10, kButtonH + 10, 61, MakeRgb(236, 226, 212));
    }
    for (int y = 340; y < 560; ++y) c.Set(400, y, Mix(MakeRgb(196, 180, 160), kPaperBottom, std::abs(y - 450) / 110.0));
    // Amber underlines below the two headings.
    for (int x : {103, 424}) {
        for (int i = 0; i < 200; ++i) c.Blend(x + i, 389, kAmber, 0.9 * (1 - i / 200.0));
    }
    WindowRim(c);
    return c;
}

const Canvas& Background()
{
    static const Canvas background = MakeBackground();
    return background;
}

// Three steps rising to a star: one step after the other.
void StepsGlyph(Canvas& c, Rgb ink, double s)
{
    const double x0 = 72 + s, base = 150 + s;
    for (int i = 0; i < 3; ++i) c.RoundRect(x0 + i * 40, base - (i + 1) * 30, 36, (i + 1) * 30, 4, ink);
    const double cx = 208 + s, cy = 62 + s, outer = 22, inner = 9;
    std::vector<Pt> star;
    for (int i = 0; i < 10; ++i) {
        double a = (-90 + i * 36) * 3.14159265358979 / 180;
        double r = i % 2 ? inner : outer;
        star.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    for (int i = 0; i < 10; i += 2) {
        const Pt& a = star[(size_t)i];
        const Pt& b = star[(size_t)(i + 1) % 10];
        const Pt& d = star[(size_t)(i + 9) % 10];
        c.Triangle(cx, cy, d.x, d.y, a.x, a.y, kAmber);
        c.Triangle(cx, cy, a.x, a.y, b.x, b.y, kAmber);
    }
    Stroke(c, {{{x0, base + 12}, {x0 + 116, base + 12}}}, 3, ink);
}

// A sound wave with a record dot and three sliders: record, edit, publish.
void StudioGlyph(Canvas& c, Rgb ink, double s)
{
    std::vector<Pt> wave;
    for (int i = 0; i <= 120; ++i) {
        double x = 50 + i * 1.5, t = i / 120.0;
        double envelope = std::sin(t * 3.14159265358979);
        wave.push_back({x + s, 72 + s + 30 * envelope * std::sin(t * 6.2831853 * 5)});
    }
    Stroke(c, {wave}, 3.2, ink);
    c.Circle(228 + s, 72 + s, 15, kRed);
    c.Circle(228 + s, 72 + s, 6, MakeRgb(255, 214, 200));
    for (int i = 0; i < 3; ++i) {
        double x = 80 + i * 60 + s, knob = 132 + ((i * 17) % 3) * 9 + s;
        Stroke(c, {{{x, 118 + s}, {x, 170 + s}}}, 3, ink);
        c.RoundRect(x - 10, knob - 6, 20, 12, 4, kAmber);
    }
}

}  // namespace

void AddStarterPictures(std::map<int, std::function<Canvas()>>& set)
{
    set[130] = [] { return Background(); };
    set[235] = [] { return AboutPicture(); };
    set[134] = [] { return WindowLogo(Background()); };
    set[132] = [] { return CaptionStrip(Background(), CaptionGlyph::Help, 653); };
    set[133] = [] { return CaptionStrip(Background(), CaptionGlyph::Minimize, 696); };
    set[131] = [] { return CaptionStrip(Background(), CaptionGlyph::Exit, 739); };
    set[129] = [] { return PillStrip(Background(), kWizardX, kButtonY, kButtonW, kButtonH, StepsGlyph); };
    set[135] = [] { return PillStrip(Background(), kAdvancedX, kButtonY, kButtonW, kButtonH, StudioGlyph); };
}

void StarterIcon(Canvas& c, int size)
{
    const double k = size / 32.0;
    c.Circle(16 * k, 16 * k, 15 * k, kCharcoal);
    c.CircleGradient(16 * k, 16 * k, 13.5 * k, kAmberLight, kEmber);
    // Two doors side by side: the two ways into the suite.
    c.RoundRect(8 * k, 9 * k, 7 * k, 14 * k, 1.5 * k, kCream);
    c.RoundRect(17 * k, 9 * k, 7 * k, 14 * k, 1.5 * k, kCream);
    c.Circle(13 * k, 16 * k, 1 * k, kEmber);
    c.Circle(19 * k, 16 * k, 1 * k, kEmber);
}
