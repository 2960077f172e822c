// The requested recording time of the recorder's Record page and of the
// wizard's recording step (hours, minutes and seconds in three edits with one
// spin button), kept within the longest recording the disk allows, and the
// elapsed-time text both show.
#pragma once
#include "String.h"

struct RecordTimeFields {
    int hours = 0, minutes = 0, seconds = 0;

    int Total() const { return hours * 3600 + minutes * 60 + seconds; }
    // One spin step on field 0 (hours), 1 (minutes) or 2 (seconds): up only
    // below the field's top and while the total stays within `longest`; down
    // only above 0.
    void Step(int field, int delta, unsigned longest);
    // After typing into one edit: that field is cut so the whole time fits
    // `longest` where it can (hours first, then minutes, then seconds against
    // what the longer fields leave); negative values become 0.
    void LimitHours(unsigned longest);
    void LimitMinutes(unsigned longest);
    void LimitSeconds(unsigned longest);
    // A set time (not 0) longer than `longest` becomes `longest`; true when it changed.
    bool FitTo(unsigned longest);
    // The top of a field's spin range: 23 for hours, 59 for the others.
    static int FieldTop(int field) { return field == 0 ? 23 : 59; }
};

// "HH : MM : SS", the hours within a day.
CString ElapsedText(unsigned seconds);
