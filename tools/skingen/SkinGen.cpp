// skingen SET OUTDIR: draws the bitmaps of one skin set into OUTDIR as
// "<id>.bmp" and writes "<SET>.rc", the resource script that names them.
// Sets: "recorder" (the recorder's skin and icons), "wizard" (the wizard's skin and icon),
// "wizardextra" (the test-only extra module's pictures), "starter" (the
// starter's skin), "test" (flat colours for the tests), and the program icons
// "player" and "startericon" ("128.ico").
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include "Canvas.h"
#include "Icons.h"
#include "Pictures.h"
#include "RecorderWindow.h"
#include "StarterWindow.h"
#include "WizardWindow.h"
#include "../../skin/SkinIds.h"
#include "../../skin/tests/TestSkin.h"

namespace {

typedef std::map<int, std::function<Canvas()>> PictureSet;

void AddEditPagePictures(PictureSet& set)
{
    const struct { int id, w, h; Glyph glyph; } buttons[] = {
        {IDB_EDIT_UNDO, 98, 53, Glyph::Undo},       {IDB_EDIT_AUTOSPLIT, 61, 32, Glyph::AutoSplit},
        {IDB_EDIT_CLEAR, 61, 32, Glyph::Clear},     {IDB_EDIT_EFFECT, 98, 53, Glyph::Effect},
        {IDB_EDIT_TO_START, 61, 32, Glyph::ToStart}, {IDB_EDIT_REWIND, 61, 32, Glyph::Rewind},
        {IDB_EDIT_TO_END, 61, 32, Glyph::ToEnd},    {IDB_EDIT_FORWARD, 61, 32, Glyph::Forward},
        {IDB_EDIT_PAUSE, 61, 32, Glyph::Pause},     {IDB_EDIT_PLAY, 61, 32, Glyph::Play},
        {IDB_EDIT_STOP, 61, 32, Glyph::Stop},       {IDB_EDIT_OPEN, 61, 32, Glyph::Open},
        {IDB_EDIT_SPLIT, 112, 40, Glyph::Split},    {IDB_EDIT_FIT, 61, 32, Glyph::Fit},
        {IDB_EDIT_ZOOM_IN, 61, 32, Glyph::ZoomIn},  {IDB_EDIT_ZOOM_OUT, 61, 32, Glyph::ZoomOut},
    };
    for (const auto& b : buttons) {
        int w = b.w, h = b.h;
        Glyph glyph = b.glyph;
        set[b.id] = [w, h, glyph] { return ButtonStrip(w, h, false, glyph); };
    }
}

PictureSet RecorderSet()
{
    return {
        {IDB_REC_GRAPH_BAR, [] { return GraphBar(10, 213); }},
        {IDB_REC_STOP, [] { return ButtonStrip(86, 86, true, Glyph::Stop); }},
        {IDB_REC_OPTION, [] { return ButtonStrip(86, 86, true, Glyph::Option); }},
        {IDB_REC_RECORD, [] { return ButtonStrip(86, 86, true, Glyph::Record); }},
        {IDB_REC_PUBLISH, [] { return ButtonStrip(100, 100, true, Glyph::Publish); }},
        {IDB_REC_PROGRESS, [] { return ProgressBar(459, 7, 2); }},
        {IDB_REC_SPIN, [] { return SpinStrip(15, 21); }},
        {IDB_REC_LEVEL_THUMB, [] { return SliderThumb(25, 13, true); }},
        {IDB_REC_LEVEL_BAR, [] { return VolumeBar(34, 219); }},
        {IDB_REC_LIST_HEADER, [] { return HeaderSkin(22); }},
        {IDB_REC_TIME_BACK, [] { return TimeDisplayBack(230, 15); }},
        {IDB_REC_SCROLL, [] { return ScrollSkin(16); }},
        {IDB_REC_COMBO_ARROW, [] { return ComboArrow(16, 27); }},
        {IDB_REC_DISC_METER, [] { return ProgressBar(679, 7, 4); }},
        {IDB_REC_LEVEL_ACTIVE, [] { return SliderChannel(29, 203, true, true); }},
        {IDB_REC_LEVEL_CHANNEL, [] { return SliderChannel(29, 203, true, false); }},
        {IDB_REC_VOLUME_CHANNEL, [] { return SliderChannel(157, 29, false, false); }},
        {IDB_REC_VOLUME_ACTIVE, [] { return SliderChannel(157, 29, false, true); }},
        {IDB_REC_VOLUME_THUMB, [] { return SliderThumb(13, 25, false); }},
        {IDB_REC_PUBLISH_PROGRESS, [] { return ProgressBar(641, 26, 2); }},
        {IDB_REC_CHECK_MP3FILE, [] { return CheckStrip(20); }},
        {IDB_REC_CHECK_AUDIOCD, [] { return CheckStrip(20); }},
        {IDB_REC_CHECK_MP3CD, [] { return CheckStrip(20); }},
        {IDB_REC_GRAPH_LEFT, [] { return GraphBack(334, 217, 10, 213); }},
        {IDB_PROGRESS_CANCEL, [] { return TextButtonStrip(91, 26); }},
        {IDB_PROGRESS_BACK, [] { return ProgressDialogBack(467, 76); }},
        {IDB_PROGRESS_BAR, [] { return ProgressBar(341, 26, 2); }},
        {IDB_REC_GRAPH_RIGHT, [] { return GraphBack(334, 217, 10, 213); }},
        {IDB_PUB_BACKGROUND, [] { return PublishDialogBackground(); }},
        {IDB_PUB_MP3_SETTING, [] { return ButtonStrip(61, 26, false, Glyph::None); }},
        {IDB_PUB_EJECT, [] { return ButtonStrip(61, 26, false, Glyph::None); }},
        {IDB_PUB_FOLDER, [] { return ButtonStrip(61, 26, false, Glyph::None); }},
        {IDB_PUB_REMOVE, [] { return ButtonStrip(61, 26, false, Glyph::None); }},
        {IDB_PUB_ADD, [] { return ButtonStrip(61, 26, false, Glyph::None); }},
        {IDB_PUB_START, [] { return ButtonStrip(138, 43, false, Glyph::None); }},
        {IDB_PUB_CLOSE, [] { return ButtonStrip(94, 29, false, Glyph::None); }},
    };
}

Rgb Flat(int id, int index)
{
    testskin::Colour c = testskin::FrameColour(id, index);
    return MakeRgb(c.r, c.g, c.b);
}

// A strip of `frames` flat frames of w x h.
Canvas FlatStrip(int id, int frames, int w, int h)
{
    Canvas c(w * frames, h);
    for (int i = 0; i < frames; ++i) c.Fill(i * w, 0, w, h, Flat(id, i));
    return c;
}

PictureSet TestSet()
{
    const Rgb red = MakeRgb(255, 0, 0), magenta = MakeRgb(255, 0, 255);
    return {
        {IDB_TEST_BUTTON, [=] {
             Canvas c = FlatStrip(IDB_TEST_BUTTON, 5, 20, 10);
             c.Fill(20, 0, 20, 10, Rgb{});
             c.Fill(20, 0, 5, 10, red);
             return c;
         }},
        {IDB_TEST_WIDE_BUTTON, [] {
             Canvas c = FlatStrip(IDB_TEST_WIDE_BUTTON, 5, 60, 24);
             c.Fill(60, 0, 60, 24, Rgb{});
             return c;
         }},
        {IDB_TEST_CHECK, [=] {
             Canvas c = FlatStrip(IDB_TEST_CHECK, 6, 12, 12);
             for (int i = 0; i < 6; ++i) {
                 c.Fill(i * 12, 0, 12, 2, magenta);
                 c.Fill(i * 12, 10, 12, 2, magenta);
                 c.Fill(i * 12, 0, 2, 12, magenta);
                 c.Fill(i * 12 + 10, 0, 2, 12, magenta);
             }
             return c;
         }},
        {IDB_TEST_COMBO, [] { return FlatStrip(IDB_TEST_COMBO, 3, 16, 27); }},
        {IDB_TEST_CHANNEL, [] { return FlatStrip(IDB_TEST_CHANNEL, 1, 20, 100); }},
        {IDB_TEST_ACTIVE, [] { return FlatStrip(IDB_TEST_ACTIVE, 1, 20, 100); }},
        {IDB_TEST_THUMB, [=] {
             Canvas c = FlatStrip(IDB_TEST_THUMB, 1, 16, 10);
             c.Set(0, 0, magenta);
             c.Set(15, 0, magenta);
             c.Set(0, 9, magenta);
             c.Set(15, 9, magenta);
             return c;
         }},
        {IDB_TEST_GRAPH_BAR, [] { return FlatStrip(IDB_TEST_GRAPH_BAR, 1, 10, 100); }},
        {IDB_TEST_GRAPH_BACK, [] { return FlatStrip(IDB_TEST_GRAPH_BACK, 1, 334, 110); }},
        {IDB_TEST_VOLUME, [] { return FlatStrip(IDB_TEST_VOLUME, 2, 10, 100); }},
        {IDB_TEST_PROGRESS, [] {
             Canvas c(100, 20);
             c.Fill(0, 0, 100, 10, Flat(IDB_TEST_PROGRESS, 0));
             c.Fill(0, 10, 100, 10, Flat(IDB_TEST_PROGRESS, 1));
             return c;
         }},
        {IDB_TEST_PROGRESS3, [] {
             Canvas c(100, 40);
             for (int r = 0; r < 4; ++r) c.Fill(0, r * 10, 100, 10, Flat(IDB_TEST_PROGRESS3, r));
             return c;
         }},
        {IDB_TEST_SPIN, [] {
             Canvas c(50, 20);
             for (int f = 0; f < 5; ++f) {
                 c.Fill(f * 10, 0, 10, 10, Flat(IDB_TEST_SPIN, f * 2));
                 c.Fill(f * 10, 10, 10, 10, Flat(IDB_TEST_SPIN, f * 2 + 1));
             }
             return c;
         }},
        {IDB_TEST_HEADER, [] {
             Canvas c(22, 20);
             const int parts[6][2] = {{0, 5}, {5, 1}, {6, 5}, {11, 5}, {16, 1}, {17, 5}};
             for (int p = 0; p < 6; ++p) c.Fill(parts[p][0], 0, parts[p][1], 20, Flat(IDB_TEST_HEADER, p));
             return c;
         }},
        {IDB_TEST_SCROLL, [] {
             Canvas c(72, 24);
             for (int row = 0; row < 3; ++row)
                 for (int cell = 0; cell < 9; ++cell) c.Fill(cell * 8, row * 8, 8, 8, Flat(IDB_TEST_SCROLL, row * 9 + cell));
             return c;
         }},
    };
}

bool WriteText(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    return f && std::fputs(text.c_str(), f) >= 0 && std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen recorder|wizard|wizardextra|starter|test|player|startericon OUTDIR\n");
        return 2;
    }
    std::string set = argv[1], out = argv[2];
    if (set == "player" || set == "startericon") {
        std::string icon = out + "/128.ico";
        if (!SaveIcon(icon, set == "player" ? IconDrawing(PlayerIcon) : IconDrawing(StarterIcon)) ||
            !WriteText(out + "/" + set + ".rc", "// Generated by skingen; do not edit.\n128 ICON \"" + icon + "\"\n")) {
            std::fprintf(stderr, "skingen: cannot write the icon into %s\n", out.c_str());
            return 1;
        }
        return 0;
    }
    PictureSet pictures;
    if (set == "recorder") pictures = RecorderSet();
    else if (set == "test") pictures = TestSet();
    else if (set == "wizard") AddWizardPictures(pictures);
    else if (set == "wizardextra") AddWizardExtraPictures(pictures);
    else if (set == "starter") AddStarterPictures(pictures);
    else {
        std::fprintf(stderr, "skingen: unknown set %s\n", set.c_str());
        return 2;
    }
    if (set == "recorder") AddRecorderWindowPictures(pictures), AddEditPagePictures(pictures);
    std::string rc = "// Generated by skingen; do not edit.\n";
    for (auto& entry : pictures) {
        std::string file = out + "/" + std::to_string(entry.first) + ".bmp";
        if (!entry.second().SaveBmp(file)) {
            std::fprintf(stderr, "skingen: cannot write %s\n", file.c_str());
            return 1;
        }
        rc += std::to_string(entry.first) + " BITMAP \"" + file + "\"\n";
    }
    if (set == "recorder" || set == "wizard") {
        for (auto& entry : set == "recorder" ? RecorderIcons() : WizardIcons()) {
            std::string file = out + "/" + std::to_string(entry.first) + ".ico";
            if (!SaveIcon(file, entry.second)) {
                std::fprintf(stderr, "skingen: cannot write %s\n", file.c_str());
                return 1;
            }
            rc += std::to_string(entry.first) + " ICON \"" + file + "\"\n";
        }
    }
    std::string rcPath = out + "/" + set + ".rc";
    FILE* f = std::fopen(rcPath.c_str(), "wb");
    if (!f || std::fputs(rc.c_str(), f) < 0 || std::fclose(f) != 0) {
        std::fprintf(stderr, "skingen: cannot write %s\n", rcPath.c_str());
        return 1;
    }
    return 0;
}
