// Pixel mapping of the bitmap slider along its axis. travel = length - end -
// thumb - start; a zero range or zero travel maps every position to the start.
#pragma once

struct SliderAxis {
    int start;   // margin before the thumb's travel
    int end;     // margin after it
    int length;  // channel length
    int thumb;   // thumb length
    int Travel() const { return length - end - thumb - start; }
};

// Thumb centre pixel of a position.
int SliderCentreOfPos(const SliderAxis& axis, int pos, int minPos, int maxPos);
// Position of a thumb centre pixel (not clamped).
int SliderPosOfCentre(const SliderAxis& axis, int centre, int minPos, int maxPos);
