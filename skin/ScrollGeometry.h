// Geometry of a skinned scroll bar along its axis: two arrows, the track before
// and after the thumb, and the thumb. A zero range centres a zero-length thumb;
// a bar too short for two arrows shares its length between them.
#pragma once

struct SkinScrollInfo {
    int min = 0, max = 0, page = 0, pos = 0, trackPos = -1;
};

enum SkinScrollPart { kPartNone = -1, kPartLineUp = 0, kPartLineDown = 1, kPartPageUp = 2, kPartPageDown = 3, kPartThumb = 5 };

struct SkinScrollLayout {
    int track = 0;      // length between the arrows
    int arrow = 0;      // length of each arrow
    int thumbStart = 0; // thumb position along the axis
    int thumbLength = 0;
};

SkinScrollLayout LayoutSkinScroll(int length, int partSize, const SkinScrollInfo& info);
// The part under a coordinate along the axis (kPartNone outside the bar).
SkinScrollPart HitTestSkinScroll(int length, int partSize, const SkinScrollInfo& info, int coordinate);
// Track position while dragging the thumb `delta` pixels from where the drag
// began at `startPos`, clamped to [min, max - page + 1].
int DragSkinScroll(int length, int partSize, const SkinScrollInfo& info, int startPos, int delta);
