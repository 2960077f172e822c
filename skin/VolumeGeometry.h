// How much of a volume or progress bar is lit. Integer arithmetic truncated
// toward zero; a zero range lights nothing instead of dividing by zero.
#pragma once

// Style 1 (vertical): lit rows from the bottom of a bar H high.
int VolumeFilledHeight(int height, int value, int range);
// Styles 2 and 3 (horizontal): lit width of a bar W wide; may exceed W when the
// value exceeds the range (the copy then takes only what the bitmap holds).
int ProgressFilledWidth(int width, int value, int range);
