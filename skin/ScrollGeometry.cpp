#include "ScrollGeometry.h"
#include <algorithm>

namespace {
int Span(const SkinScrollInfo& info) { return info.max - info.min + 1; }
int Range(const SkinScrollInfo& info) { return Span(info) - info.page; }
int Track(int length, int partSize) { return std::max(length - 2 * partSize, 0); }

int ThumbLength(int track, const SkinScrollInfo& info, bool forHitTest)
{
    if (track <= 5 || Span(info) <= 0) return 0;
    if (!forHitTest && Range(info) == 0) return 0;
    int t = (int)((unsigned)info.page * (unsigned)track / (unsigned)Span(info));
    return std::max(t, 6);
}

int ThumbOffset(int track, int thumb, const SkinScrollInfo& info)
{
    int range = Range(info);
    if (range == 0) return (track - thumb) / 2;
    int pos = info.trackPos != -1 ? info.trackPos : info.pos;
    return (pos - info.min) * (track - thumb) / range;
}
} // namespace

SkinScrollLayout LayoutSkinScroll(int length, int partSize, const SkinScrollInfo& info)
{
    SkinScrollLayout layout;
    layout.track = Track(length, partSize);
    layout.arrow = layout.track == 0 ? length / 2 : partSize;
    layout.thumbLength = ThumbLength(layout.track, info, false);
    layout.thumbStart = layout.arrow + ThumbOffset(layout.track, layout.thumbLength, info);
    return layout;
}

SkinScrollPart HitTestSkinScroll(int length, int partSize, const SkinScrollInfo& info, int c)
{
    if (c < 0 || c >= length) return kPartNone;
    int track = Track(length, partSize);
    int arrow = track == 0 ? length / 2 : partSize;
    int thumb = ThumbLength(track, info, true);
    int start = arrow + ThumbOffset(track, thumb, info);
    if (c < arrow) return kPartLineUp;
    if (c >= length - arrow) return kPartLineDown;
    if (c < start) return kPartPageUp;
    if (c < start + thumb) return kPartThumb;
    return kPartPageDown;
}

int DragSkinScroll(int length, int partSize, const SkinScrollInfo& info, int startPos, int delta)
{
    int track = Track(length, partSize);
    int thumb = ThumbLength(track, info, false);
    int travel = track - thumb;
    int pos = startPos + (travel != 0 ? delta * Range(info) / travel : 0);
    int highest = info.max - info.page + 1;
    if (highest < info.min) highest = info.min;
    return std::min(std::max(pos, info.min), highest);
}
