// The test skin: pictures of flat, distinct colours, so that window tests can
// read back which frame or cell a control drew. Shared by the generator (host
// code, no Windows headers) and the tests.
#pragma once

#define IDB_TEST_BUTTON 1001      // 5 frames of 20 x 10; mask frame key-red for x < 5
#define IDB_TEST_CHECK 1002       // 6 frames of 12 x 12, magenta 2-pixel border
#define IDB_TEST_COMBO 1003       // 3 cells of 16 x 27
#define IDB_TEST_CHANNEL 1004     // vertical slider channel 20 x 100
#define IDB_TEST_ACTIVE 1005      // vertical slider active channel 20 x 100
#define IDB_TEST_THUMB 1006       // vertical slider thumb 16 x 10, magenta corners
#define IDB_TEST_GRAPH_BAR 1007   // 10 x 100
#define IDB_TEST_GRAPH_BACK 1008  // 334 x 110
#define IDB_TEST_VOLUME 1009      // 20 x 100: left half empty, right half full
#define IDB_TEST_PROGRESS 1010    // 100 x 20: row 0 empty, row 1 full
#define IDB_TEST_PROGRESS3 1011   // 100 x 40: four rows
#define IDB_TEST_SPIN 1012        // 5 frames of 10 x 20
#define IDB_TEST_HEADER 1013      // 22 x 20, columns coded by part
#define IDB_TEST_SCROLL 1014      // 9 cells of 8 x 8 by 3 rows
#define IDB_TEST_WIDE_BUTTON 1015 // 5 frames of 60 x 24; mask frame all black (no key)

namespace testskin {
struct Colour {
    int r, g, b;
};
// Flat colour of frame (or cell, row) `index` of bitmap `id`; never a key colour.
inline Colour FrameColour(int id, int index)
{
    return Colour{(id % 16) * 13 + 20, (index * 37) % 200 + 30, (index * 11 + id * 7) % 180 + 40};
}
const Colour kMagenta = {255, 0, 255};
const Colour kKeyRed = {255, 0, 0};
}
