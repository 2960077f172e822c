#include "Icons.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>
#include "Pictures.h"
#include "RecorderWindow.h"

using namespace palette;

namespace {

const int kSizes[] = {16, 24, 32, 48};

struct Rgba {
    uint8_t b, g, r, a;  // the order of a 32-bit icon image
};

// Coverage from the two renderings: on black a pixel is c * a, on white
// c * a + 255 * (1 - a).
std::vector<Rgba> Render(const IconDrawing& draw, int size)
{
    Canvas onBlack(size, size, MakeRgb(0, 0, 0)), onWhite(size, size, MakeRgb(255, 255, 255));
    draw(onBlack, size);
    draw(onWhite, size);
    std::vector<Rgba> pixels((size_t)(size * size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb b = onBlack.Get(x, y), w = onWhite.Get(x, y);
            int spread = ((w.r - b.r) + (w.g - b.g) + (w.b - b.b)) / 3;
            int alpha = std::max(0, std::min(255, 255 - spread));
            auto unblend = [alpha](int v) { return alpha ? std::min(255, v * 255 / alpha) : 0; };
            pixels[(size_t)(y * size + x)] = Rgba{(uint8_t)unblend(b.b), (uint8_t)unblend(b.g), (uint8_t)unblend(b.r),
                                                  (uint8_t)alpha};
        }
    return pixels;
}

void Put16(std::vector<uint8_t>& out, unsigned v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, unsigned v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One icon image: BITMAPINFOHEADER with twice the height, the colour rows bottom
// up, then the 1-bit AND mask (set where the pixel is fully transparent).
std::vector<uint8_t> IconImage(const std::vector<Rgba>& pixels, int size)
{
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, (unsigned)size);
    Put32(out, (unsigned)size * 2);
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const Rgba& p = pixels[(size_t)(y * size + x)];
            out.insert(out.end(), {p.b, p.g, p.r, p.a});
        }
    int maskRow = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row((size_t)maskRow, 0);
        for (int x = 0; x < size; ++x)
            if (pixels[(size_t)(y * size + x)].a == 0) row[(size_t)(x / 8)] |= (uint8_t)(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

void ProgramIcon(Canvas& c, int size)
{
    Mark(c, size / 2.0, size / 2.0 - size / 64.0, size / 50.0);
}

// A page with a folded corner; `ink` draws what it holds.
void Page(Canvas& c, int size, const std::function<void(double k)>& ink)
{
    const double k = size / 16.0;
    c.RoundRect(2.5 * k, 0.5 * k, 11 * k, 15 * k, 1.2 * k, kShadow);
    c.RoundRectGradient(3.2 * k, 1.2 * k, 9.6 * k, 13.6 * k, 0.8 * k, kCream, MakeRgb(214, 200, 182));
    c.Triangle(9.5 * k, 1.2 * k, 12.8 * k, 1.2 * k, 12.8 * k, 4.5 * k, kShadow);
    c.Triangle(9.5 * k, 1.2 * k, 9.5 * k, 4.5 * k, 12.8 * k, 4.5 * k, MakeRgb(190, 172, 150));
    ink(k);
}

void SoundFileIcon(Canvas& c, int size)
{
    Page(c, size, [&](double k) {
        const double heights[] = {2, 5, 8, 4, 7, 3};
        for (int i = 0; i < 6; ++i) {
            double h = heights[i] * k, x = (4.4 + i * 1.35) * k;
            c.RoundRect(x, 9.2 * k - h / 2, 0.9 * k, h, 0.45 * k, i % 2 ? kEmber : kRed);
        }
    });
}

void TrackIcon(Canvas& c, int size)
{
    const double k = size / 16.0;
    c.Circle(8 * k, 8.4 * k, 7.4 * k, kShadow);
    c.CircleGradient(8 * k, 8 * k, 7 * k, kAmberLight, kEmber);
    c.Circle(8 * k, 8 * k, 2.6 * k, kCharcoal);
    c.Circle(8 * k, 8 * k, 1.1 * k, kCream);
    c.Ring(8 * k, 8 * k, 5.4 * k, 4.9 * k, MakeRgb(250, 214, 160));
}

}  // namespace

bool SaveIcon(const std::string& path, const IconDrawing& draw)
{
    std::vector<std::vector<uint8_t>> images;
    for (int size : kSizes) images.push_back(IconImage(Render(draw, size), size));
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, (unsigned)images.size());
    unsigned offset = 6 + 16 * (unsigned)images.size();
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back((uint8_t)kSizes[i]);
        out.push_back((uint8_t)kSizes[i]);
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, (unsigned)images[i].size());
        Put32(out, offset);
        offset += (unsigned)images[i].size();
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

void PlayerIcon(Canvas& c, int size)
{
    const double k = size / 32.0;
    c.Circle(16 * k, 16.6 * k, 15 * k, palette::kCharcoal);
    c.CircleGradient(16 * k, 16 * k, 13.5 * k, palette::kAmberLight, palette::kEmber);
    c.Triangle(12 * k, 8.5 * k, 12 * k, 23.5 * k, 24 * k, 16 * k, palette::kCream);
}

std::map<int, IconDrawing> RecorderIcons()
{
    return {{128, ProgramIcon}, {144, SoundFileIcon}, {145, TrackIcon}};
}

std::map<int, IconDrawing> WizardIcons()
{
    return {{128, ProgramIcon}};
}
