// Skin pictures come as horizontal strips of equal frames (normal, hover,
// pressed, ...). The controls keep each frame as a bitmap of its own.
#pragma once
#include <windows.h>

// A new bitmap, frameWidth x frameHeight, holding frame `index` of `strip`
// (counted from the left); a negative index gives a blank bitmap of that size.
HBITMAP CopyStripFrame(HBITMAP strip, int index, int frameWidth, int frameHeight);
