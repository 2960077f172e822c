#include "RecordTime.h"

void RecordTimeFields::Step(int field, int delta, unsigned longest)
{
    int* values[3] = {&hours, &minutes, &seconds};
    const int weights[3] = {3600, 60, 1};
    if (field < 0 || field > 2) return;
    int& value = *values[field];
    if (delta >= 1) {
        if (value < FieldTop(field) && (long long)Total() + weights[field] <= (long long)longest) ++value;
    } else if (delta <= -1) {
        if (value > 0) --value;
    }
}

void RecordTimeFields::LimitHours(unsigned longest)
{
    int top = (int)(longest / 3600);
    if (hours >= top) {
        hours = top;
        if ((long long)Total() > (long long)longest) hours = top > 0 ? top - 1 : 0;
    }
    if (hours < 0) hours = 0;
}

void RecordTimeFields::LimitMinutes(unsigned longest)
{
    int top = hours == (int)(longest / 3600) ? (int)(longest / 60 % 60) : 59;
    if (minutes > top) minutes = top;
    if (minutes < 0) minutes = 0;
}

void RecordTimeFields::LimitSeconds(unsigned longest)
{
    bool atLongest = hours * 60 + minutes == (int)(longest / 60);
    int top = atLongest ? (int)(longest % 60) : 59;
    if (seconds > top) seconds = top;
    if (seconds < 0) seconds = 0;
}

bool RecordTimeFields::FitTo(unsigned longest)
{
    int total = Total();
    if (total == 0 || (unsigned)total <= longest) return false;
    hours = (int)(longest / 3600);
    minutes = (int)(longest / 60 % 60);
    seconds = (int)(longest % 60);
    return true;
}

CString ElapsedText(unsigned seconds)
{
    unsigned inDay = seconds % 86400;
    CString text;
    text.Format(L"%02u : %02u : %02u", inDay / 3600, inDay / 60 % 60, inDay % 60);
    return text;
}
