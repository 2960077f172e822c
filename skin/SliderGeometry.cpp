#include "SliderGeometry.h"

int SliderCentreOfPos(const SliderAxis& axis, int pos, int minPos, int maxPos)
{
    int travel = axis.Travel();
    if (maxPos == minPos || travel == 0) return axis.start + axis.thumb / 2;
    return axis.start + (int)((double)travel * (pos - minPos) / (maxPos - minPos)) + axis.thumb / 2;
}

int SliderPosOfCentre(const SliderAxis& axis, int centre, int minPos, int maxPos)
{
    int travel = axis.Travel();
    if (maxPos == minPos || travel == 0) return minPos;
    return (int)(minPos + (double)(centre - axis.thumb / 2 - axis.start) / travel * (maxPos - minPos));
}
