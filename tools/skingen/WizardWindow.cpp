#include "WizardWindow.h"
#include <algorithm>
#include <cmath>
#include "Pictures.h"
#include "RecorderWindow.h"
#include "Shapes.h"
#include "WindowPieces.h"

using namespace palette;

namespace {

const int kWidth = 800, kHeight = 600;
const int kPageX = 25, kPageY = 124, kPageW = 750, kPageH = 390;
const Rgb kBodyTop = {35, 31, 27}, kBodyBottom = {24, 21, 19};
const Rgb kEdgeDark = {13, 11, 10}, kEdgeLight = {74, 64, 56};
const Rgb kPaperTop = {246, 239, 228}, kPaperBottom = {232, 222, 207};
const Rgb kBandTop = {62, 52, 45}, kBandBottom = {42, 36, 32};
const Rgb kInk = {70, 60, 52};

Canvas MakeBackground()
{
    Canvas c(kWidth, kHeight);
    const int bar = 70;
    c.VerticalGradient(0, bar, kWidth, kHeight - bar, kBodyTop, kBodyBottom);
    TitleBar(c, bar);
    // The page sits in a recess.
    c.Fill(kPageX - 2, kPageY - 2, kPageW + 4, kPageH + 4, kEdgeLight);
    c.Fill(kPageX - 2, kPageY - 2, kPageW + 3, kPageH + 3, kEdgeDark);
    c.Fill(kPageX, kPageY, kPageW, kPageH, kPaperTop);
    // The step indicator's seat and the button row's plate.
    c.RoundRect(42, 537, 181, 31, 8, kEdgeDark);
    c.RoundRect(43, 538, 179, 29, 7, MakeRgb(20, 17, 15));
    WindowRim(c);
    return c;
}

const Canvas& Background()
{
    static const Canvas background = MakeBackground();
    return background;
}


void Arrow(Canvas& c, double cx, double cy, bool left, Rgb ink, double s)
{
    double d = left ? -1 : 1;
    Stroke(c, {{{cx - 9 * d + s, cy + s}, {cx + 9 * d + s, cy + s}},
               {{cx + 1 * d + s, cy - 8 + s}, {cx + 9 * d + s, cy + s}, {cx + 1 * d + s, cy + 8 + s}}},
           3.2, ink);
}

void Cross(Canvas& c, double cx, double cy, Rgb ink, double s)
{
    Stroke(c, {{{cx - 7 + s, cy - 7 + s}, {cx + 7 + s, cy + 7 + s}}, {{cx + 7 + s, cy - 7 + s}, {cx - 7 + s, cy + 7 + s}}},
           3.2, ink);
}

void Disc(Canvas& c, double cx, double cy, Rgb ink, double s)
{
    c.Ring(cx + s, cy + s, 13, 10.5, ink);
    c.Circle(cx + s, cy + s, 3.2, ink);
}

void Folder(Canvas& c, double cx, double cy, Rgb ink, double s)
{
    for (int i = -1; i <= 1; ++i) c.Circle(cx + i * 7 + s, cy + 2 + s, 2, ink);
}

Canvas Step4Backdrop()
{
    Canvas c = Crop(Background(), 499, 510, 280, 90);
    c.RoundRect(6, 6, 268, 78, 12, kEdgeDark);
    c.RoundRectGradient(7, 7, 266, 76, 11, MakeRgb(50, 43, 38), MakeRgb(32, 28, 25));
    return c;
}

// What the Step-4 buttons stand on: the window with the backdrop painted in.
const Canvas& Step4Ground()
{
    static const Canvas ground = [] {
        Canvas c = Background();
        c.Blit(Step4Backdrop(), 499, 510);
        return c;
    }();
    return ground;
}

Canvas Decoration()
{
    Canvas strip(27 * 5, 27);
    for (int f = 0; f < 5; ++f) {
        Canvas face = Crop(Background(), 45, 80, 27, 27);
        face.Circle(13.5, 13.5, 10, kEmber);
        face.CircleGradient(13.5, 13.5, 8, kAmberLight, kAmber);
        if (f == 1) {
            face = Canvas(27, 27);
            face.KeyOutsideCircle(13.5, 13.5, 11, kKeyRed, Rgb{});
        }
        strip.Blit(face, f * 27, 0);
    }
    return strip;
}

// A page: paper, with dark bands under the white labels and recesses where
// controls sit.
struct Band {
    double x, y, w, h;
};

Canvas Page(const std::vector<Band>& bands, const std::vector<Band>& wells)
{
    Canvas c(kPageW, kPageH);
    c.VerticalGradient(0, 0, kPageW, kPageH, kPaperTop, kPaperBottom);
    for (const Band& b : bands) {
        c.RoundRect(b.x, b.y + 1, b.w, b.h, 8, MakeRgb(150, 130, 112));
        c.RoundRectGradient(b.x, b.y, b.w, b.h, 8, kBandTop, kBandBottom);
        c.Fill((int)b.x + 10, (int)(b.y + b.h) - 3, (int)b.w - 20, 1, kAmber);
    }
    for (const Band& w : wells) {
        c.RoundRect(w.x - 3, w.y - 3, w.w + 6, w.h + 6, 5, MakeRgb(186, 170, 152));
        c.RoundRect(w.x - 2, w.y - 2, w.w + 4, w.h + 4, 4, MakeRgb(255, 252, 246));
    }
    return c;
}

// A turntable, a cable and a computer: what the device step asks the user to do.
void ConnectionPicture(Canvas& c, double top)
{
    c.RoundRectGradient(110, top, 190, 120, 10, MakeRgb(86, 74, 64), MakeRgb(52, 45, 40));
    c.Circle(185, top + 60, 46, MakeRgb(26, 22, 20));
    c.Ring(185, top + 60, 40, 38, MakeRgb(60, 52, 46));
    c.Circle(185, top + 60, 12, kEmber);
    Stroke(c, {{{260, top + 22}, {248, top + 72}, {222, top + 84}}}, 4, kCream);
    c.RoundRectGradient(470, top - 6, 170, 110, 8, MakeRgb(72, 64, 58), MakeRgb(44, 39, 35));
    c.RoundRect(480, top + 4, 150, 84, 4, MakeRgb(40, 62, 74));
    c.RoundRect(535, top + 104, 60, 18, 3, MakeRgb(64, 56, 50));
    std::vector<Pt> cable = Bezier({300, top + 96}, {360, top + 150}, {420, top + 40}, {470, top + 90});
    Stroke(c, {cable}, 4.5, kAmber);
}

Canvas DevicePage()
{
    Canvas c = Page({}, {});
    ConnectionPicture(c, 170);
    return c;
}

Canvas NoDevicePage()
{
    Canvas c = Page({}, {});
    c.Triangle(375, 150, 300, 290, 450, 290, kRed);
    c.Triangle(375, 170, 318, 278, 432, 278, kCream);
    Stroke(c, {{{375, 198}, {375, 244}}}, 9, kRed);
    c.Circle(375, 262, 5.5, kRed);
    return c;
}

Canvas SelectDevicePage()
{
    Canvas c = Page({{70, 168, 420, 36}}, {{78, 206, 304, 30}});
    // The computer alone, right of the list and the check box's text.
    c.RoundRectGradient(500, 190, 190, 124, 8, MakeRgb(72, 64, 58), MakeRgb(44, 39, 35));
    c.RoundRect(511, 201, 168, 96, 4, MakeRgb(40, 62, 74));
    for (int i = 0; i < 6; ++i) c.Fill(528 + i * 24, 270 - i * 9, 14, 18 + i * 9, i < 4 ? MakeRgb(90, 200, 120) : kAmber);
    c.RoundRect(565, 328, 60, 18, 3, MakeRgb(64, 56, 50));
    return c;
}

Canvas LevelPage()
{
    Canvas c = Page({}, {});
    c.RoundRect(120, 100, 511, 236, 14, MakeRgb(186, 170, 152));
    c.RoundRectGradient(122, 102, 507, 232, 12, MakeRgb(52, 45, 40), MakeRgb(36, 31, 28));
    return c;
}

Canvas SettingsPage()
{
    // The title bars end above the strength text (343, 115) and the folder edit.
    return Page({{255, 76, 420, 38}, {255, 226, 420, 38}}, {{144, 132, 461, 24}, {105, 287, 458, 15}});
}

// A needle meter face: pivot at (h / 2, h / 2 + 50), the scale from -9 (144
// degrees) to +9 (36 degrees), red past +6.
Canvas GaugeFace(bool right)
{
    const int s = 213;
    Canvas c(s, s, MakeRgb(36, 31, 28));
    c.CircleGradient(106.5, 106.5, 104, MakeRgb(70, 61, 54), MakeRgb(30, 26, 23));
    c.CircleGradient(106.5, 106.5, 98, MakeRgb(250, 244, 232), MakeRgb(226, 214, 196));
    const double cx = s / 2.0, cy = (s + 50) / 2.0;
    for (int i = 0; i <= 36; ++i) {
        double value = -9 + i * 0.5;
        double a = (90 - 6 * value) * 3.1415926535 / 180;
        bool major = i % 6 == 0;
        double outer = 1.0, inner = major ? 0.86 : 0.92;
        Rgb ink = value > 6 ? kRed : kInk;
        Stroke(c, {{{cx + 96 * outer * std::cos(a), cy - 80 * outer * std::sin(a)},
                    {cx + 96 * inner * std::cos(a), cy - 80 * inner * std::sin(a)}}},
               major ? 2.4 : 1.3, ink);
    }
    std::vector<Pt> arc, red;
    for (int i = 0; i <= 48; ++i) {
        double value = -9 + i * 18.0 / 48;
        double a = (90 - 6 * value) * 3.1415926535 / 180;
        Pt p = {cx + 96 * std::cos(a), cy - 80 * std::sin(a)};
        (value >= 6 ? red : arc).push_back(p);
    }
    Stroke(c, {arc}, 2, kInk);
    Stroke(c, {red}, 4, kRed);
    c.Circle(s / 2.0, s / 2.0 + 50, 9, MakeRgb(60, 52, 46));
    c.Circle(s / 2.0, s / 2.0 + 50, 4, kAmber);
    // L or R below the pivot.
    const double lx = cx - 5, ly = 172;
    if (!right) Stroke(c, {{{lx, ly}, {lx, ly + 16}, {lx + 10, ly + 16}}}, 2.4, kInk);
    else {
        std::vector<Pt> bowl = {{lx, ly + 16}, {lx, ly}, {lx + 6, ly}};
        Append(bowl, Arc({lx + 6, ly + 4.5}, 4.5, 4.5, 90, -90, 12));
        bowl.push_back({lx, ly + 9});
        Stroke(c, {bowl, {{lx + 5, ly + 9}, {lx + 11, ly + 16}}}, 2.4, kInk);
    }
    return c;
}

// The recording step: wells under the two spectra and the progress bar.
Canvas RecordPage()
{
    return Page({}, {{91, 234, 273, 70}, {386, 234, 273, 70}, {89, 317, 453, 26}});
}

// No disc writer: a disc with a red bar across it.
Canvas NoWriterPage()
{
    Canvas c = Page({}, {});
    c.Circle(375, 230, 80, MakeRgb(186, 170, 152));
    c.Circle(375, 230, 76, MakeRgb(226, 214, 196));
    c.Ring(375, 230, 60, 57, MakeRgb(200, 186, 168));
    c.Circle(375, 230, 18, MakeRgb(150, 130, 112));
    c.Circle(375, 230, 8, kPaperTop);
    Stroke(c, {{{315, 290}, {435, 170}}}, 10, kRed);
    return c;
}

// The burner step: a well behind the writer list and a disc beside the choices.
Canvas BurnerPage()
{
    Canvas c = Page({}, {{210, 109, 300, 22}});
    c.Circle(110, 200, 62, MakeRgb(186, 170, 152));
    c.Circle(110, 200, 58, MakeRgb(226, 214, 196));
    c.Ring(110, 200, 44, 42, MakeRgb(200, 186, 168));
    c.Circle(110, 200, 14, kAmber);
    c.Circle(110, 200, 6, kPaperTop);
    return c;
}

// The disc-writing step: wells under the list, the size meter and the progress bar.
Canvas BurnPage()
{
    return Page({}, {{80, 68, 589, 174}, {80, 256, 479, 7}, {248, 327, 422, 26}});
}

Canvas ExtraPage(bool noDevice)
{
    Canvas c = Page({}, {});
    // The maker's device as a box with a level window.
    c.RoundRectGradient(270, 170, 210, 110, 12, MakeRgb(40, 62, 74), MakeRgb(24, 38, 46));
    c.RoundRect(290, 190, 170, 30, 5, MakeRgb(14, 20, 24));
    for (int i = 0; i < 9; ++i) c.Fill(296 + i * 18, 198, 12, 14, i < 6 ? MakeRgb(90, 200, 120) : kAmber);
    if (noDevice) Cross(c, 375, 250, kRed, 0);
    return c;
}

}  // namespace

void AddWizardPictures(std::map<int, std::function<Canvas()>>& set)
{
    set[130] = [] { return Background(); };
    set[131] = [] { return WindowLogo(Background()); };
    set[152] = [] { return Step4Backdrop(); };
    set[137] = [] { return ProgressBar(173, 23, 2); };
    set[187] = [] { return Decoration(); };
    set[134] = [] { return CaptionStrip(Background(), CaptionGlyph::Help, 653); };
    set[135] = [] { return CaptionStrip(Background(), CaptionGlyph::Minimize, 696); };
    set[138] = [] { return CaptionStrip(Background(), CaptionGlyph::Exit, 739); };
    set[132] = [] { return PillStrip(Background(), 550, 523, 98, 58, [](Canvas& c, Rgb ink, double s) { Arrow(c, 49, 28, true, ink, s); }); };
    set[136] = [] { return PillStrip(Background(), 655, 523, 98, 58, [](Canvas& c, Rgb ink, double s) { Arrow(c, 49, 28, false, ink, s); }); };
    set[186] = [] { return PillStrip(Background(), 654, 523, 98, 58, [](Canvas& c, Rgb ink, double s) { Cross(c, 49, 28, ink, s); }); };
    set[183] = [] { return PillStrip(Step4Ground(), 581, 523, 88, 58, [](Canvas& c, Rgb ink, double s) { Arrow(c, 44, 28, true, ink, s); }); };
    set[184] = [] { return PillStrip(Step4Ground(), 676, 523, 88, 58, [](Canvas& c, Rgb ink, double s) { Disc(c, 44, 28, ink, s); }); };
    set[185] = [] { return PillStrip(Step4Ground(), 516, 523, 58, 58, [](Canvas& c, Rgb ink, double s) { Cross(c, 29, 28, ink, s); }); };
    set[177] = [] { return DevicePage(); };
    set[194] = [] { return NoDevicePage(); };
    set[204] = [] { return SelectDevicePage(); };
    set[178] = [] { return LevelPage(); };
    set[179] = [] { return SettingsPage(); };
    set[192] = [] { return GaugeFace(true); };
    set[193] = [] { return GaugeFace(false); };
    set[140] = [] {
        return PillStrip(Crop(LevelPage(), 0, 0, kPageW, kPageH), 321, 328, 106, 26, [](Canvas&, Rgb, double) {});
    };
    set[144] = [] {
        return PillStrip(SettingsPage(), 581, 282, 61, 26, [](Canvas& c, Rgb ink, double s) { Folder(c, 30, 11, ink, s); });
    };
    set[146] = [] { return SliderThumb(13, 24, false); };
    set[147] = [] { return SliderChannel(461, 24, false, false); };
    set[148] = [] { return SliderChannel(461, 24, false, true); };
    set[153] = [] { return CheckStrip(24); };
    set[180] = [] { return CheckStrip(24); };
    set[161] = [] { return ComboArrow(16, 27); };
    set[149] = [] { return RecordPage(); };
    set[198] = [] { return NoWriterPage(); };
    set[159] = [] { return BurnerPage(); };
    set[160] = [] { return PillStrip(BurnerPage(), 520, 109, 61, 26, [](Canvas&, Rgb, double) {}); };
    set[158] = [] { return CheckStrip(20); };
    set[163] = [] { return BurnPage(); };
    set[166] = [] { return PillStrip(BurnPage(), 548, 32, 61, 26, [](Canvas& c, Rgb ink, double) {
        c.Fill(24, 12, 13, 3, ink);
        c.Fill(29, 7, 3, 13, ink);
    }); };
    set[164] = [] { return PillStrip(BurnPage(), 613, 32, 61, 26, [](Canvas& c, Rgb ink, double) { c.Fill(24, 12, 13, 3, ink); }); };
    set[165] = [] { return PillStrip(BurnPage(), 75, 310, 158, 43, [](Canvas&, Rgb, double) {}); };
    set[175] = [] { return ProgressBar(479, 7, 4); };
    set[176] = [] { return ProgressBar(422, 26, 2); };
    set[155] = [] { return ButtonStrip(188, 43, false, Glyph::None); };
    set[156] = [] { return ProgressBar(453, 26, 2); };
    set[157] = [] { return SpinStrip(16, 24); };
    set[189] = [] { return GraphBack(273, 70, 8, 66); };
    set[201] = [] { return GraphBar(8, 66); };
    set[202] = [] { return GraphBar(8, 66); };
}

void AddWizardExtraPictures(std::map<int, std::function<Canvas()>>& set)
{
    set[1004] = [] { return ExtraPage(true); };
    set[1005] = [] { return ExtraPage(false); };
}
