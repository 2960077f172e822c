#include "Canvas.h"
#include "Shapes.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

Rgb Mix(Rgb a, Rgb b, double t)
{
    t = std::min(std::max(t, 0.0), 1.0);
    auto m = [t](uint8_t p, uint8_t q) { return (uint8_t)std::lround(p + (q - p) * t); };
    return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Canvas::Canvas(int width, int height, Rgb fill) : m_w(width), m_h(height), m_px((size_t)(width * height), fill) {}

void Canvas::Set(int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < m_w && y < m_h) m_px[(size_t)(y * m_w + x)] = c;
}

void Canvas::Blend(int x, int y, Rgb c, double alpha)
{
    if (x >= 0 && y >= 0 && x < m_w && y < m_h) Set(x, y, Mix(Get(x, y), c, alpha));
}

void Canvas::Fill(int x, int y, int w, int h, Rgb c)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Canvas::VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom)
{
    for (int j = 0; j < h; ++j) Fill(x, y + j, w, 1, Mix(top, bottom, h > 1 ? (double)j / (h - 1) : 0));
}

void Canvas::HorizontalGradient(int x, int y, int w, int h, Rgb left, Rgb right)
{
    for (int i = 0; i < w; ++i) Fill(x + i, y, 1, h, Mix(left, right, w > 1 ? (double)i / (w - 1) : 0));
}

template <class Inside>
void Canvas::Cover(double x0, double y0, double x1, double y1, Inside inside, Rgb c)
{
    PaintShape(*this, x0, y0, x1, y1, inside, c);
}

static bool InRoundRect(double px, double py, double x, double y, double w, double h, double r)
{
    if (px < x || py < y || px > x + w || py > y + h) return false;
    double cx = std::min(std::max(px, x + r), x + w - r), cy = std::min(std::max(py, y + r), y + h - r);
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
}

void Canvas::RoundRect(double x, double y, double w, double h, double r, Rgb c)
{
    Cover(x, y, x + w, y + h, [&](double px, double py) { return InRoundRect(px, py, x, y, w, h, r); }, c);
}

void Canvas::RoundRectGradient(double x, double y, double w, double h, double r, Rgb top, Rgb bottom)
{
    for (int row = (int)std::floor(y); row < (int)std::ceil(y + h); ++row) {
        Rgb c = Mix(top, bottom, (row - y) / std::max(1.0, h - 1));
        Cover(x, row, x + w, row + 1, [&](double px, double py) { return InRoundRect(px, py, x, y, w, h, r); }, c);
    }
}

void Canvas::Circle(double cx, double cy, double radius, Rgb c)
{
    Cover(cx - radius, cy - radius, cx + radius, cy + radius,
          [&](double px, double py) { return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius; }, c);
}

void Canvas::CircleGradient(double cx, double cy, double radius, Rgb top, Rgb bottom)
{
    for (int row = (int)std::floor(cy - radius); row < (int)std::ceil(cy + radius); ++row) {
        Rgb c = Mix(top, bottom, (row - (cy - radius)) / (2 * radius));
        Cover(cx - radius, row, cx + radius, row + 1,
              [&](double px, double py) { return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius; }, c);
    }
}

void Canvas::Ring(double cx, double cy, double outer, double inner, Rgb c)
{
    Cover(cx - outer, cy - outer, cx + outer, cy + outer,
          [&](double px, double py) {
              double d = (px - cx) * (px - cx) + (py - cy) * (py - cy);
              return d <= outer * outer && d >= inner * inner;
          },
          c);
}

void Canvas::Triangle(double x0, double y0, double x1, double y1, double x2, double y2, Rgb c)
{
    auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    Cover(std::min({x0, x1, x2}), std::min({y0, y1, y2}), std::max({x0, x1, x2}), std::max({y0, y1, y2}),
          [&](double px, double py) {
              double a = edge(x0, y0, x1, y1, px, py), b = edge(x1, y1, x2, y2, px, py), d = edge(x2, y2, x0, y0, px, py);
              return (a >= 0 && b >= 0 && d >= 0) || (a <= 0 && b <= 0 && d <= 0);
          },
          c);
}

void Canvas::KeyOutsideRoundRect(double x, double y, double w, double h, double r, Rgb key, Rgb inside)
{
    for (int j = 0; j < m_h; ++j)
        for (int i = 0; i < m_w; ++i) Set(i, j, InRoundRect(i + 0.5, j + 0.5, x, y, w, h, r) ? inside : key);
}

void Canvas::KeyOutsideCircle(double cx, double cy, double radius, Rgb key, Rgb inside)
{
    for (int j = 0; j < m_h; ++j)
        for (int i = 0; i < m_w; ++i) {
            double dx = i + 0.5 - cx, dy = j + 0.5 - cy;
            Set(i, j, dx * dx + dy * dy <= radius * radius ? inside : key);
        }
}

void Canvas::Blit(const Canvas& src, int dx, int dy)
{
    for (int j = 0; j < src.m_h; ++j)
        for (int i = 0; i < src.m_w; ++i) Set(dx + i, dy + j, src.Get(i, j));
}

bool Canvas::SaveBmp(const std::string& path) const
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    int rowBytes = (m_w * 3 + 3) & ~3;
    uint32_t imageSize = (uint32_t)(rowBytes * m_h);
    auto put16 = [f](uint16_t v) { std::fputc(v & 0xFF, f); std::fputc(v >> 8, f); };
    auto put32 = [f](uint32_t v) { for (int i = 0; i < 4; ++i) std::fputc((v >> (8 * i)) & 0xFF, f); };
    std::fputc('B', f);
    std::fputc('M', f);
    put32(54 + imageSize);
    put32(0);
    put32(54);
    put32(40);
    put32((uint32_t)m_w);
    put32((uint32_t)m_h);  // bottom-up
    put16(1);
    put16(24);
    put32(0);
    put32(imageSize);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    std::vector<uint8_t> row((size_t)rowBytes, 0);
    for (int y = m_h - 1; y >= 0; --y) {
        for (int x = 0; x < m_w; ++x) {
            Rgb c = Get(x, y);
            row[(size_t)x * 3] = c.b;
            row[(size_t)x * 3 + 1] = c.g;
            row[(size_t)x * 3 + 2] = c.r;
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}

