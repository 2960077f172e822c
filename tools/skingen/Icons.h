// Icons of the programs, written as Windows icon files (32-bit images with
// alpha, several sizes): drawn on black and on white, the two renderings give
// each pixel's coverage, so edges blend with whatever the icon lands on.
#pragma once
#include <functional>
#include <map>
#include <string>
#include "Canvas.h"

// Draws one icon into a square canvas of `size` pixels.
typedef std::function<void(Canvas&, int size)> IconDrawing;

bool SaveIcon(const std::string& path, const IconDrawing& draw);

// The recorder's icons by resource id: 128 the program, 144 a recorded sound
// file, 145 a track (the list rows' images).
std::map<int, IconDrawing> RecorderIcons();
// The wizard's icons: 128, the same program mark (both are the recorder's product).
std::map<int, IconDrawing> WizardIcons();
// The player's program icon: a play sign on an amber disc.
void PlayerIcon(Canvas& c, int size);
