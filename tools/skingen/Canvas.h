// A small RGB raster with the drawing the skin pictures need, written as a
// 24-bit Windows bitmap file. Host-side code: no Windows headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

inline Rgb MakeRgb(int r, int g, int b) { return Rgb{(uint8_t)r, (uint8_t)g, (uint8_t)b}; }
Rgb Mix(Rgb a, Rgb b, double t);  // a at t = 0, b at t = 1

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = Rgb{});
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    Rgb Get(int x, int y) const { return m_px[(size_t)(y * m_w + x)]; }
    void Set(int x, int y, Rgb c);
    void Blend(int x, int y, Rgb c, double alpha);
    void Fill(int x, int y, int w, int h, Rgb c);
    void VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
    void HorizontalGradient(int x, int y, int w, int h, Rgb left, Rgb right);
    // Anti-aliased filled shapes (coverage by 4 x 4 supersampling).
    void RoundRect(double x, double y, double w, double h, double radius, Rgb c);
    void RoundRectGradient(double x, double y, double w, double h, double radius, Rgb top, Rgb bottom);
    void Circle(double cx, double cy, double radius, Rgb c);
    void CircleGradient(double cx, double cy, double radius, Rgb top, Rgb bottom);
    void Ring(double cx, double cy, double outer, double inner, Rgb c);
    void Triangle(double x0, double y0, double x1, double y1, double x2, double y2, Rgb c);
    // Hard-edged key colour outside a shape (for masks and transparent keys).
    void KeyOutsideRoundRect(double x, double y, double w, double h, double radius, Rgb key, Rgb inside);
    void KeyOutsideCircle(double cx, double cy, double radius, Rgb key, Rgb inside);
    void Blit(const Canvas& src, int dx, int dy);
    bool SaveBmp(const std::string& path) const;

private:
    template <class Inside>
    void Cover(double x0, double y0, double x1, double y1, Inside inside, Rgb c);
    int m_w, m_h;
    std::vector<Rgb> m_px;
};
