// The recorder's main window and its two pages: background, title, caption
// buttons, page buttons and page backgrounds. The pieces that sit on the
// background carry the background under their cut-out parts, so they fit it
// pixel for pixel whether or not the window region clips them.
#pragma once
#include <functional>
#include <map>
#include "Canvas.h"

Canvas MainBackground();
// The product mark (a ring of 24 x scale pixels holding level bars) centred at cx, cy.
void Mark(Canvas& c, double cx, double cy, double scale = 1);
Canvas MainTitle();
enum class CaptionGlyph { Help, Minimize, Exit };
Canvas CaptionButtonStrip(CaptionGlyph glyph, int x);
// The two page buttons form one split pill: the left one at x 259, the right at 505.
Canvas PageTabStrip(bool left);
Canvas RecordPageBackground();
Canvas EditPageBackground();
// The publish dialog's background, 880 x 556.
Canvas PublishDialogBackground();

// Pieces the wizard's window shares: the product mark, the name in its
// lettering (returns its right end) and the caption button faces (state 0
// normal, 2 hover, 3 pressed, 4 disabled).
void RecorderMark(Canvas& c, double cx, double cy);
// The About box's picture (235): the mark, 48 x 48 on the box's face.
Canvas AboutPicture();
double RecorderWordmark(Canvas& c, double x, double capTop, double em, Rgb ink);
void RecorderCaptionFace(Canvas& c, CaptionGlyph glyph, int state);

// Adds these pictures, under their ids, to the recorder's set.
void AddRecorderWindowPictures(std::map<int, std::function<Canvas()>>& set);
