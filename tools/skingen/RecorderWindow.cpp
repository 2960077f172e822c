#include "RecorderWindow.h"
#include <algorithm>
#include <cmath>
#include "Pictures.h"
#include "Shapes.h"
#include "../../recorder/MainWindowSkinIds.h"

using namespace palette;

namespace {

const Rgb kBarTop = {54, 46, 40}, kBarBottom = {39, 34, 30};
const Rgb kBodyTop = {35, 31, 27}, kBodyBottom = {24, 21, 19};
const Rgb kEdgeDark = {13, 11, 10}, kEdgeLight = {74, 64, 56};
const Rgb kPageTop = {38, 33, 29}, kPageBottom = {30, 26, 23};
const Rgb kWellTop = {20, 17, 15}, kWellBottom = {25, 22, 19};
const Rgb kPlateTop = {47, 41, 36}, kPlateBottom = {36, 31, 28};

// The window background is drawn once; the pieces drawn over it copy from it.
const Canvas& Background()
{
    static const Canvas background = MainBackground();
    return background;
}

// A recess around the rectangle of a control: dark upper edge, light lower edge.
void Well(Canvas& c, double x, double y, double w, double h, double r)
{
    c.RoundRect(x - 2, y - 1, w + 4, h + 3, r + 2, kEdgeLight);
    c.RoundRect(x - 2, y - 2, w + 4, h + 3, r + 2, kEdgeDark);
    c.RoundRectGradient(x - 1, y - 1, w + 2, h + 2, r + 1, kWellTop, kWellBottom);
}

// A raised surface: light upper edge, dark lower edge.
void Plate(Canvas& c, double x, double y, double w, double h, double r)
{
    c.RoundRect(x, y + 1, w, h, r, kEdgeDark);
    c.RoundRect(x, y, w, h, r, MakeRgb(66, 57, 50));
    c.RoundRectGradient(x + 1, y + 1, w - 2, h - 2, r - 1, kPlateTop, kPlateBottom);
}

// A round seat for a big round button.
void Socket(Canvas& c, double cx, double cy, double r)
{
    c.Circle(cx, cy + 1, r + 2, kEdgeLight);
    c.Circle(cx, cy, r + 2, kEdgeDark);
    c.CircleGradient(cx, cy, r + 1, kWellTop, kWellBottom);
}

Canvas PageBase()
{
    Canvas c(MAIN_PAGE_WIDTH, MAIN_PAGE_HEIGHT);
    c.VerticalGradient(0, 0, c.Width(), c.Height(), kPageTop, kPageBottom);
    return c;
}

// Lettering of the product name: strokes in units of the x-height, measured
// down from the capital height (0) to the base line (1.45).
typedef std::vector<std::vector<Pt>> Glyph2;
const double kBase = 1.45, kMid = 0.95;

Glyph2 LetterS()
{
    std::vector<Pt> s = Bezier({0.80, 0.22}, {0.72, 0.07}, {0.58, 0.0}, {0.43, 0.0});
    Append(s, Bezier({0.43, 0.0}, {0.22, 0.0}, {0.08, 0.12}, {0.08, 0.32}));
    Append(s, Bezier({0.08, 0.32}, {0.08, 0.56}, {0.34, 0.62}, {0.46, 0.67}));
    Append(s, Bezier({0.46, 0.67}, {0.64, 0.74}, {0.84, 0.83}, {0.84, 1.07}));
    Append(s, Bezier({0.84, 1.07}, {0.84, 1.31}, {0.64, 1.45}, {0.42, 1.45}));
    Append(s, Bezier({0.42, 1.45}, {0.24, 1.45}, {0.09, 1.37}, {0.02, 1.21}));
    return {s};
}
Glyph2 LetterO() { return {Arc({0.5, kMid}, 0.5, 0.5, 0, 360, 48)}; }
Glyph2 LetterN()
{
    std::vector<Pt> arch = Bezier({0, 0.80}, {0.06, 0.56}, {0.24, 0.45}, {0.45, 0.45});
    Append(arch, Bezier({0.45, 0.45}, {0.74, 0.45}, {0.88, 0.60}, {0.88, 0.86}));
    arch.push_back({0.88, kBase});
    return {{{0, 0.45}, {0, kBase}}, arch};
}
Glyph2 LetterE()
{
    std::vector<Pt> bowl = {{0.0, kMid}, {1.0, kMid}};
    Append(bowl, Arc({0.5, kMid}, 0.5, 0.5, 0, 318, 48));
    return {bowl};
}
Glyph2 LetterL() { return {{{0, 0}, {0, kBase}}}; }

// Draws "Sonelle" from (x, capTop) with x-height `em`; returns the right end.
double Wordmark(Canvas& c, double x, double capTop, double em, Rgb ink)
{
    const struct {
        Glyph2 (*glyph)();
        double width;
    } letters[] = {{LetterS, 0.84}, {LetterO, 1.0}, {LetterN, 0.88}, {LetterE, 1.0},
                   {LetterL, 0.0},  {LetterL, 0.0}, {LetterE, 1.0}};
    const double stroke = 0.2, gap = 0.34;
    std::vector<std::vector<Pt>> all;
    for (const auto& letter : letters) {
        for (auto line : letter.glyph()) {
            for (Pt& p : line) p = {x + p.x * em, capTop + p.y * em};
            all.push_back(line);
        }
        x += (letter.width + stroke + gap) * em;
    }
    Stroke(c, all, stroke * em, ink);
    return x - (stroke + gap) * em;
}

}  // namespace

// The mark beside the name: a ring holding a short burst of level bars.
void Mark(Canvas& c, double cx, double cy, double scale)
{
    const double k = scale;
    c.Circle(cx, cy + 1.5 * k, 24 * k, kEdgeDark);
    c.CircleGradient(cx, cy, 23.5 * k, kAmberLight, kEmber);
    c.CircleGradient(cx, cy, 19.5 * k, MakeRgb(28, 24, 21), MakeRgb(40, 34, 30));
    const double heights[] = {7, 14, 22, 28, 22, 14, 7};
    for (int i = 0; i < 7; ++i) {
        double h = heights[i] * k, bx = cx + ((i - 3) * 4.6 - 1.4) * k;
        c.RoundRect(bx, cy - h / 2, 2.8 * k, h, 1.4 * k, Mix(kAmberLight, kEmber, std::abs(i - 3) / 3.0));
    }
}

namespace {

// The page buttons: two pills, each centred in its frame (where the caption is
// drawn) and clear of the part where the two frames overlap, so neither covers
// the other whatever order they are painted in.
bool InTab(bool, double px, double py, double inset)
{
    const double x = 61 + inset, y = 3 + inset, w = 185 - 2 * inset, h = 40 - 2 * inset;
    return InsideRoundRect(px, py, x, y, w, h, 14 - inset);
}

void TabFace(Canvas& c, bool left, int state)
{
    // Captions: grey on the idle face, near-black on the hover face, yellow on the
    // pressed face and on the face of the shown page (the disabled frame).
    Rgb rim = MakeRgb(96, 83, 72), top = MakeRgb(74, 64, 56), bottom = MakeRgb(47, 41, 37);
    if (state == 2) rim = MakeRgb(252, 224, 176), top = MakeRgb(250, 212, 150), bottom = kAmber;
    if (state == 3) rim = kAmberLight, top = MakeRgb(96, 56, 32), bottom = MakeRgb(70, 42, 26);
    if (state == 4) rim = kAmber, top = MakeRgb(84, 56, 38), bottom = MakeRgb(50, 36, 28);
    const int w = MAIN_TAB_WIDTH, h = MAIN_TAB_HEIGHT;
    PaintShape(c, 0, 0, w, h + 1, [&](double x, double y) { return InTab(left, x, y - 1.2, 0); }, kEdgeDark);
    PaintShape(c, 0, 0, w, h, [&](double x, double y) { return InTab(left, x, y, 0); }, rim);
    PaintShape(c, 0, 0, w, h, [&](double x, double y) { return InTab(left, x, y, 1.3); },
               [&](int, int y) { return Mix(top, bottom, (y - 4) / 36.0); });
    // A soft sheen along the top.
    PaintShape(c, 0, 0, w, h, [&](double x, double y) { return y < 8 && InTab(left, x, y, 1.3); },
               [&](int, int y) { return Mix(Mix(top, kCream, 0.18), top, (y - 4) / 4.0); });
    if (state == 4) {
        PaintShape(c, 0, 0, w, h, [&](double x, double y) { return y >= 36 && y <= 39.5 && InTab(left, x, y, 6); },
                   [&](int x, int) { return Mix(kAmberLight, kEmber, std::abs(x - 153.5) / 90.0); });
    }
}

void CaptionFace(Canvas& c, CaptionGlyph glyph, int state)
{
    const double cx = 19.5, cy = 19.5;
    Rgb rim = MakeRgb(98, 85, 74), top = MakeRgb(72, 63, 56), bottom = MakeRgb(44, 39, 35), ink = MakeRgb(226, 214, 200);
    double shift = 0;
    if (state == 2) {
        rim = MakeRgb(252, 224, 176), top = MakeRgb(250, 212, 150), bottom = kAmber, ink = MakeRgb(42, 30, 22);
        if (glyph == CaptionGlyph::Exit) top = MakeRgb(236, 118, 80), bottom = kRed, rim = MakeRgb(248, 170, 130), ink = kCream;
    }
    if (state == 3) rim = kAmberLight, top = MakeRgb(96, 56, 32), bottom = MakeRgb(70, 42, 26), ink = kAmberLight, shift = 1;
    if (state == 4) rim = MakeRgb(70, 62, 55), top = MakeRgb(50, 44, 39), bottom = MakeRgb(40, 35, 31), ink = MakeRgb(98, 91, 84);
    c.Circle(cx, cy + 1.2, 16, kEdgeDark);
    c.Circle(cx, cy, 15.6, rim);
    c.CircleGradient(cx, cy, 14.3, top, bottom);
    const double s = shift, w = 2.6;
    switch (glyph) {
    case CaptionGlyph::Minimize:
        Stroke(c, {{{13.5 + s, 24 + s}, {25.5 + s, 24 + s}}}, w, ink);
        break;
    case CaptionGlyph::Exit:
        Stroke(c, {{{14.5 + s, 14.5 + s}, {24.5 + s, 24.5 + s}}, {{24.5 + s, 14.5 + s}, {14.5 + s, 24.5 + s}}}, w, ink);
        break;
    case CaptionGlyph::Help: {
        std::vector<Pt> hook = Arc({19.5 + s, 15.8 + s}, 4.6, 4.3, 165, -50, 24);
        Pt end = hook.back();
        Append(hook, Bezier(end, {end.x - 1.8, end.y + 1.1}, {19.5 + s, 20.6 + s}, {19.5 + s, 22.6 + s}, 8));
        Stroke(c, {hook}, w, ink);
        Stroke(c, {{{19.5 + s, 26.8 + s}}}, 3.3, ink);
        break;
    }
    }
}

}  // namespace

void RecorderMark(Canvas& c, double cx, double cy) { Mark(c, cx, cy); }

Canvas AboutPicture()
{
    Canvas c(48, 48, kPanel);  // the About box's face
    Mark(c, 24, 23.5, 0.92);
    return c;
}
double RecorderWordmark(Canvas& c, double x, double capTop, double em, Rgb ink) { return Wordmark(c, x, capTop, em, ink); }
void RecorderCaptionFace(Canvas& c, CaptionGlyph glyph, int state) { CaptionFace(c, glyph, state); }

Canvas MainBackground()
{
    const int w = MAIN_WINDOW_WIDTH, h = MAIN_WINDOW_HEIGHT, bar = MAIN_PAGE_Y - 3;
    Canvas c(w, h);
    c.VerticalGradient(0, 0, w, bar, kBarTop, kBarBottom);
    c.VerticalGradient(0, bar, w, h - bar, kBodyTop, kBodyBottom);
    // A warm glow behind the page buttons.
    const double gx = MAIN_RIGHT_TAB_X + 30.5, gy = 46, rx = 330, ry = 44;
    for (int y = 0; y < bar; ++y)
        for (int x = 0; x < w; ++x) {
            double d = ((x - gx) * (x - gx)) / (rx * rx) + ((y - gy) * (y - gy)) / (ry * ry);
            if (d < 1) c.Blend(x, y, kEmber, 0.16 * (1 - d) * (1 - d));
        }
    // An amber hairline closes the bar, brightest under the page buttons.
    for (int x = 0; x < w; ++x) {
        double t = std::min(1.0, std::abs(x - gx) / 480.0);
        c.Set(x, bar - 1, Mix(Mix(kAmber, kBarBottom, 0.35), kBarBottom, t * t));
        c.Set(x, bar, Mix(Mix(kEmber, kEdgeDark, 0.55), kEdgeDark, t));
    }
    // The page sits in a recess.
    const int px = MAIN_PAGE_X, py = MAIN_PAGE_Y, pw = MAIN_PAGE_WIDTH, ph = MAIN_PAGE_HEIGHT;
    c.Fill(px - 2, py - 2, pw + 4, ph + 4, kEdgeLight);
    c.Fill(px - 2, py - 2, pw + 3, ph + 3, kEdgeDark);
    c.Fill(px - 1, py - 1, pw + 1, ph + 1, MakeRgb(18, 16, 14));
    c.Fill(px, py, pw, ph, kPageTop);
    // Window rim: light above and left, dark below and right.
    c.Fill(0, 0, w, 1, MakeRgb(104, 90, 78));
    c.Fill(0, 0, 1, h, MakeRgb(84, 73, 64));
    c.Fill(0, h - 1, w, 1, MakeRgb(10, 9, 8));
    c.Fill(w - 1, 0, 1, h, MakeRgb(14, 12, 11));
    // A small jewel between the page buttons.
    PaintShape(c, gx - 6, 40, gx + 6, 52,
               [&](double x, double y) { return std::abs(x - gx) + std::abs(y - gy + 0.5) <= 4.5; }, kAmber);
    PaintShape(c, gx - 6, 40, gx + 6, 52,
               [&](double x, double y) { return std::abs(x - gx) + std::abs(y - gy + 0.5) <= 2.2; }, kAmberLight);
    return c;
}

Canvas MainTitle()
{
    Canvas c = Crop(Background(), 3, 0, 250, MAIN_PAGE_Y - 5);
    Mark(c, 36, 38);
    double right = Wordmark(c, 74, 22, 19.5, kCream);
    // The name's underline fades out to the right.
    for (int x = 76; x < (int)right + 14; ++x)
        c.Blend(x, 58, kAmber, 0.85 * (1 - (x - 76) / (right + 14 - 76)));
    return c;
}

// A strip of five frames for a button at (x, y) of the window: the faces are drawn
// over the background they cover, the mask keys out what lies outside `shape`.
static Canvas StripOverBackground(int x, int y, int w, int h, const std::function<void(Canvas&, int)>& face,
                                  const InsideTest& shape)
{
    const Canvas under = Crop(Background(), x, y, w, h);
    Canvas strip(w * 5, h);
    for (int state : {0, 2, 3, 4}) {
        Canvas frame = under;
        face(frame, state);
        strip.Blit(frame, state * w, 0);
    }
    Canvas mask(w, h);
    KeyOutside(mask, shape, palette::kKeyRed, Rgb{});
    strip.Blit(mask, w, 0);
    return strip;
}

Canvas CaptionButtonStrip(CaptionGlyph glyph, int x)
{
    const int s = MAIN_CAPTION_BUTTON_SIZE;
    return StripOverBackground(
        x, MAIN_CAPTION_BUTTON_Y, s, s, [glyph](Canvas& c, int state) { CaptionFace(c, glyph, state); },
        [](double px, double py) { return (px - 19.5) * (px - 19.5) + (py - 19.5) * (py - 19.5) <= 17 * 17; });
}

Canvas PageTabStrip(bool left)
{
    return StripOverBackground(
        left ? MAIN_LEFT_TAB_X : MAIN_RIGHT_TAB_X, MAIN_TAB_Y, MAIN_TAB_WIDTH, MAIN_TAB_HEIGHT,
        [left](Canvas& c, int state) { TabFace(c, left, state); },
        [left](double px, double py) { return InTab(left, px, py, -0.6); });
}

// A page background: raised plates, recesses where controls sit, round seats for
// the big round buttons, over the page's base.
struct PagePart {
    enum Kind { PlateAt, WellAt, SocketAt } kind;
    double x, y, w, h, r;  // a socket: centre x, y and radius r
};

static Canvas PageBackground(const std::vector<PagePart>& parts)
{
    Canvas c = PageBase();
    for (const PagePart& p : parts) {
        if (p.kind == PagePart::PlateAt) Plate(c, p.x, p.y, p.w, p.h, p.r);
        if (p.kind == PagePart::WellAt) Well(c, p.x, p.y, p.w, p.h, p.r);
        if (p.kind == PagePart::SocketAt) Socket(c, p.x, p.y, p.r);
    }
    return c;
}

Canvas RecordPageBackground()
{
    Canvas c = PageBackground({
        // Meters: two band graphs, two level bars and the input-level slider.
        {PagePart::PlateAt, 9, 8, 811, 240, 9},
        {PagePart::WellAt, 20, 20, 334, 217, 3},
        {PagePart::WellAt, 403, 20, 334, 217, 3},
        {PagePart::WellAt, 367, 19, 17, 219, 3},
        {PagePart::WellAt, 750, 19, 17, 219, 3},
        {PagePart::WellAt, 781, 15, 29, 203, 5},
        // Status line with the progress bar, then the recorded files.
        {PagePart::WellAt, 14, 254, 802, 22, 6},
        {PagePart::WellAt, 19, 305, 786, 257, 3},
        // Right column: recording time, REC, Stop, Option and Publish.
        {PagePart::PlateAt, 823, 8, 135, 566, 10},
        {PagePart::WellAt, 836, 70, 112, 24, 4},
        {PagePart::SocketAt, 892, 156, 0, 0, 43},
        {PagePart::SocketAt, 892, 262, 0, 0, 43},
        {PagePart::SocketAt, 892, 368, 0, 0, 43},
        {PagePart::SocketAt, 892, 508, 0, 0, 50},
    });
    // The recording-time fields draw dark text, so they sit on a light face; the
    // separators of hours, minutes and seconds sit between them.
    c.Fill(838, 72, 88, 20, kCream);
    for (double x : {864.0, 895.0}) {
        c.Circle(x, 79, 1.3, kGrey);
        c.Circle(x, 85, 1.3, kGrey);
    }
    return c;
}

Canvas EditPageBackground()
{
    return PageBackground({
        // Tool row above the wave, the wave itself, the transport row below it
        // with the time display and the volume slider.
        {PagePart::PlateAt, 9, 8, 948, 44, 9},
        {PagePart::WellAt, 19, 56, 927, 181, 3},
        {PagePart::PlateAt, 9, 241, 948, 42, 9},
        {PagePart::WellAt, 510, 253, 234, 19, 4},
        {PagePart::WellAt, 794, 246, 157, 29, 6},
        // Tracks, and the effect column beside them.
        {PagePart::WellAt, 19, 305, 786, 257, 3},
        {PagePart::PlateAt, 823, 296, 135, 278, 10},
        {PagePart::SocketAt, 892, 508, 0, 0, 50},
    });
}

// The publish dialog: the page's base in the dialog's size, a title plate, the
// settings plate, wells for the writer list, the item list, the size meter and
// the progress bar, and the plate of the run's controls.
Canvas PublishDialogBackground()
{
    Canvas c(880, 556);
    c.VerticalGradient(0, 0, c.Width(), c.Height(), kPageTop, kPageBottom);
    Plate(c, 10, 6, 860, 40, 9);
    // The title is set in black: it sits on a light face.
    c.RoundRectGradient(98, 9, 688, 33, 6, kCream, MakeRgb(214, 200, 182));
    Plate(c, 10, 50, 860, 158, 9);
    Well(c, 189, 97, 366, 30, 4);
    Well(c, 44, 209, 795, 182, 3);
    Well(c, 44, 398, 687, 13, 4);
    Plate(c, 10, 422, 860, 80, 9);
    Well(c, 195, 455, 649, 32, 6);
    return c;
}

void AddRecorderWindowPictures(std::map<int, std::function<Canvas()>>& set)
{
    set[IDB_MAIN_BACKGROUND] = [] { return Background(); };
    set[IDB_MAIN_TITLE] = [] { return MainTitle(); };
    set[IDB_MAIN_HELP] = [] { return CaptionButtonStrip(CaptionGlyph::Help, MAIN_HELP_X); };
    set[IDB_MAIN_MINIMIZE] = [] { return CaptionButtonStrip(CaptionGlyph::Minimize, MAIN_MINIMIZE_X); };
    set[IDB_MAIN_EXIT] = [] { return CaptionButtonStrip(CaptionGlyph::Exit, MAIN_EXIT_X); };
    set[IDB_MAIN_LEFT_TAB] = [] { return PageTabStrip(true); };
    set[IDB_MAIN_RIGHT_TAB] = [] { return PageTabStrip(false); };
    set[IDB_PAGE_RECORD_BACK] = [] { return RecordPageBackground(); };
    set[IDB_PAGE_EDIT_BACK] = [] { return EditPageBackground(); };
    set[IDB_ABOUT_PICTURE] = [] { return AboutPicture(); };
}
