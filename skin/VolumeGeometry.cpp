#include "VolumeGeometry.h"

int VolumeFilledHeight(int height, int value, int range) { return height * (value * range / 100) / 100; }

int ProgressFilledWidth(int width, int value, int range)
{
    if (range == 0) return 0;
    return (int)((long long)value * width / range);
}
