// Free-form shapes for the larger pictures: any inside-test, painted with any
// colour function, and strokes along polylines (for glyphs and lettering).
// Host-side code, like Canvas.
#pragma once
#include <functional>
#include <vector>
#include "Canvas.h"

struct Pt {
    double x, y;
};

typedef std::function<bool(double x, double y)> InsideTest;
typedef std::function<Rgb(int x, int y)> ColourAt;

// Paints every pixel of the box [x0, x1) x [y0, y1) by its coverage (4 x 4 samples).
void PaintShape(Canvas& c, double x0, double y0, double x1, double y1, const InsideTest& inside,
                const ColourAt& colour);
void PaintShape(Canvas& c, double x0, double y0, double x1, double y1, const InsideTest& inside, Rgb colour);
// Pixels whose centre lies outside the shape become `key`, the others `inside`.
void KeyOutside(Canvas& c, const InsideTest& shape, Rgb key, Rgb inside);

bool InsideRoundRect(double px, double py, double x, double y, double w, double h, double radius);

// A round-capped stroke of the given width along each polyline.
void Stroke(Canvas& c, const std::vector<std::vector<Pt>>& lines, double width, Rgb colour);
// Points of a cubic curve (end points included).
std::vector<Pt> Bezier(Pt a, Pt b, Pt c, Pt d, int steps = 24);
// Points of an arc; angles in degrees, counter-clockwise on screen (y down).
std::vector<Pt> Arc(Pt centre, double rx, double ry, double from, double to, int steps = 32);
void Append(std::vector<Pt>& line, const std::vector<Pt>& more);

// A copy of the rectangle (x, y, w, h) of `c`.
Canvas Crop(const Canvas& c, int x, int y, int w, int h);
