#include "Shapes.h"
#include <algorithm>
#include <cmath>

void PaintShape(Canvas& c, double x0, double y0, double x1, double y1, const InsideTest& inside,
                const ColourAt& colour)
{
    int ix0 = std::max(0, (int)std::floor(x0)), iy0 = std::max(0, (int)std::floor(y0));
    int ix1 = std::min(c.Width(), (int)std::ceil(x1)), iy1 = std::min(c.Height(), (int)std::ceil(y1));
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    if (inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++hits;
            if (hits) c.Blend(x, y, colour(x, y), hits / 16.0);
        }
}

void PaintShape(Canvas& c, double x0, double y0, double x1, double y1, const InsideTest& inside, Rgb colour)
{
    PaintShape(c, x0, y0, x1, y1, inside, [colour](int, int) { return colour; });
}

void KeyOutside(Canvas& c, const InsideTest& shape, Rgb key, Rgb inside)
{
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) c.Set(x, y, shape(x + 0.5, y + 0.5) ? inside : key);
}

bool InsideRoundRect(double px, double py, double x, double y, double w, double h, double r)
{
    if (px < x || py < y || px > x + w || py > y + h) return false;
    double cx = std::min(std::max(px, x + r), x + w - r), cy = std::min(std::max(py, y + r), y + h - r);
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
}

namespace {
double SegmentDistance2(Pt p, Pt a, Pt b)
{
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::min(std::max(t, 0.0), 1.0);
    double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}
}  // namespace

void Stroke(Canvas& c, const std::vector<std::vector<Pt>>& lines, double width, Rgb colour)
{
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9, r = width / 2;
    for (const auto& line : lines)
        for (Pt p : line) {
            x0 = std::min(x0, p.x - r), y0 = std::min(y0, p.y - r);
            x1 = std::max(x1, p.x + r), y1 = std::max(y1, p.y + r);
        }
    PaintShape(c, x0, y0, x1 + 1, y1 + 1,
               [&](double x, double y) {
                   for (const auto& line : lines) {
                       if (line.size() == 1 && SegmentDistance2({x, y}, line[0], line[0]) <= r * r) return true;
                       for (size_t i = 1; i < line.size(); ++i)
                           if (SegmentDistance2({x, y}, line[i - 1], line[i]) <= r * r) return true;
                   }
                   return false;
               },
               colour);
}

std::vector<Pt> Bezier(Pt a, Pt b, Pt c, Pt d, int steps)
{
    std::vector<Pt> out;
    for (int i = 0; i <= steps; ++i) {
        double t = (double)i / steps, u = 1 - t;
        double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        out.push_back({w0 * a.x + w1 * b.x + w2 * c.x + w3 * d.x, w0 * a.y + w1 * b.y + w2 * c.y + w3 * d.y});
    }
    return out;
}

std::vector<Pt> Arc(Pt centre, double rx, double ry, double from, double to, int steps)
{
    std::vector<Pt> out;
    const double rad = 3.14159265358979323846 / 180;
    for (int i = 0; i <= steps; ++i) {
        double a = (from + (to - from) * i / steps) * rad;
        out.push_back({centre.x + rx * std::cos(a), centre.y - ry * std::sin(a)});
    }
    return out;
}

void Append(std::vector<Pt>& line, const std::vector<Pt>& more)
{
    line.insert(line.end(), more.begin(), more.end());
}

Canvas Crop(const Canvas& c, int x, int y, int w, int h)
{
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (x + i < c.Width() && y + j < c.Height()) out.Set(i, j, c.Get(x + i, y + j));
    return out;
}
