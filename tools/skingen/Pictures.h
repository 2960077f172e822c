// The skin's pictures, one function per kind, in the suite's dark-and-warm look:
// charcoal surfaces, amber and ember accents, cream highlights.
#pragma once
#include <functional>
#include "Canvas.h"

namespace palette {
const Rgb kKeyRed = {255, 0, 0};       // button region key
const Rgb kKeyMagenta = {255, 0, 255}; // check box and slider thumb key
const Rgb kShadow = {18, 15, 13};
const Rgb kCharcoal = {30, 26, 23};
const Rgb kPanel = {43, 37, 33};
const Rgb kRaised = {62, 54, 48};
const Rgb kRaisedHigh = {84, 73, 64};
const Rgb kAmber = {232, 150, 58};
const Rgb kAmberLight = {245, 199, 126};
const Rgb kEmber = {196, 98, 45};
const Rgb kRed = {217, 72, 43};
const Rgb kCream = {243, 233, 220};
const Rgb kGrey = {110, 104, 98};
// What the keyed pictures (check boxes, slider thumbs) stand on: the pages and
// slider channels around them.
const Rgb kUnderControls = kCharcoal;
}

// A picture with a transparent key colour: `draw` paints on the background the
// picture will stand on, so anti-aliased edges blend with that, never with the
// key; every pixel the drawing did not touch becomes the key.
Canvas Keyed(int w, int h, Rgb under, Rgb key, const std::function<void(Canvas&)>& draw);

enum class Glyph { None, Record, Stop, Option, Publish,
                   // The Edit page's tools and transport.
                   Open, AutoSplit, Clear, Split, ZoomIn, ZoomOut, Fit, Play, Pause, ToStart, Rewind, Forward,
                   ToEnd, Effect, Undo };

// Five frames side by side: normal, mask (red outside the shape), hover, pressed, disabled.
Canvas ButtonStrip(int w, int h, bool round, Glyph glyph);
// Six frames of a box: checked, unchecked, both pushed, both disabled; magenta around.
Canvas CheckStrip(int box);
// Three cells: normal, pressed, disabled down arrows.
Canvas ComboArrow(int w, int h);
Canvas SliderChannel(int w, int h, bool vertical, bool active);
// A knob on magenta (the key colour is read from pixel 0, 0).
Canvas SliderThumb(int w, int h, bool vertical);
Canvas GraphBar(int w, int h);
Canvas GraphBack(int w, int h, int barWidth, int barHeight);
// Left half empty, right half lit.
Canvas VolumeBar(int w, int h);
// Rows of equal height: `rows` 2 = empty, full; 4 = second segment, empty, (unused), first segment.
Canvas ProgressBar(int w, int rowHeight, int rows);
// Five frames of up and down arrows: normal, -, hover, pressed, disabled.
Canvas SpinStrip(int w, int h);
// Header columns: left edge 0..4, fill 5, right edge 6..10, then the same hot at 11.
Canvas HeaderSkin(int h);
// Nine cells (arrows, thumb and track of both directions, corner) by three rows.
Canvas ScrollSkin(int a);
// A light, flat button for dark caption text (the progress dialogs' Cancel).
Canvas TextButtonStrip(int w, int h);
// The small progress dialogs' background: a framed plate with a well for the status text.
Canvas ProgressDialogBack(int w, int h);
// A sunken display strip for light text (the Edit page's time display).
Canvas TimeDisplayBack(int w, int h);
