// The tag fields of the file open in the Edit page, for its Publish items; the
// loading dialog fills them from the file's ID3 tag.
#pragma once
#include "String.h"

struct EditTagRecord {
    CString album, artist, title, text1, text2;
    int year = 0, number1 = 0, number2 = 0;
    CString text3;
    void Clear() { *this = EditTagRecord(); }
};
