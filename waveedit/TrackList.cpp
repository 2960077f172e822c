#include "TrackList.h"

#include <cstdint>

int CTrackList::InsertAt(int index, int32_t position, int32_t flag)
{
    CTrackData d;
    d.position = position;
    d.flag = flag;
    m_points.insert(m_points.begin() + index, d);
    return index;
}

int CTrackList::InsertOrUpdate(int32_t position, int32_t flag)
{
    int i = 0;
    for (; i < GetCount(); ++i) {
        if (m_points[(size_t)i].position == position) {
            m_points[(size_t)i].flag = flag;
            return -1;
        }
        if (m_points[(size_t)i].position > position)
            break;
    }
    return InsertAt(i, position, flag);
}

int CTrackList::FindInRange(int32_t low, int32_t high) const
{
    for (int i = 0; i < GetCount(); ++i) {
        int32_t p = m_points[(size_t)i].position;
        if (p >= low && p < high)
            return i;
        if (p >= high)
            break;
    }
    return kNoPoint;
}

int CTrackList::FindContaining(int32_t frame) const
{
    for (int i = 0; i + 1 < GetCount(); ++i) {
        if (m_points[(size_t)i].position <= frame && frame < m_points[(size_t)i + 1].position)
            return i;
    }
    return kNoPoint;
}

int CTrackList::ToggleAt(int32_t low, int32_t high)
{
    if (FindInRange(low, high) != kNoPoint)
        return -1;
    int p = FindContaining(low);
    if (p == kNoPoint)
        return -1;
    CTrackData& d = m_points[(size_t)p];
    d.flag = d.flag != 1 ? 1 : 0;
    return p;
}

int32_t CTrackList::GetFlagAt(int32_t low, int32_t high) const
{
    int inside = FindInRange(low, high);
    if (inside != kNoPoint)
        low = m_points[(size_t)inside].position;
    int p = FindContaining(low);
    return p == kNoPoint ? 0 : m_points[(size_t)p].flag;
}

int CTrackList::SetFlag(int index, int32_t flag)
{
    if (!IsValid(index))
        return -1;
    m_points[(size_t)index].flag = flag;
    return index;
}

int32_t CTrackList::GetFlag(int point) const
{
    return IsValid(point) ? m_points[(size_t)point].flag : 0;
}

bool CTrackList::GetTrack(int n, int32_t& start, int32_t& end, int32_t& flag) const
{
    if (!IsValid(n)) {
        start = end = flag = 0;
        return false;
    }
    start = m_points[(size_t)n].position;
    flag = m_points[(size_t)n].flag;
    end = n + 1 < GetCount() ? m_points[(size_t)n + 1].position : start;
    return true;
}

void CTrackList::RemovePoint(int point)
{
    if (!IsValid(point) || IsFirstOrLast(point))
        return;
    CTrackData& prev = m_points[(size_t)point - 1];
    prev.flag = (prev.flag != 0 || m_points[(size_t)point].flag != 0) ? 1 : 0;
    m_points.erase(m_points.begin() + point);
}

void CTrackList::RemoveInterior()
{
    if (m_points.empty())
        return;
    m_points.front().flag = 1;
    if (m_points.size() > 2)
        m_points.erase(m_points.begin() + 1, m_points.end() - 1);
}

int CTrackList::MovePoint(int point, int32_t newPosition, int& kind)
{
    kind = kNothing;
    if (!IsValid(point))
        return -1;
    const bool hasPrev = point > 0, hasNext = point + 1 < GetCount();
    CTrackData& d = m_points[(size_t)point];
    if (hasPrev && hasNext) {
        // The caller's drag bounds keep the point between its neighbours; a
        // position that would break the order is refused rather than stored.
        if (newPosition <= m_points[(size_t)point - 1].position ||
            newPosition >= m_points[(size_t)point + 1].position)
            return -1;
        d.position = newPosition;
        kind = kMoved;
        return point;
    }
    if (hasPrev) {  // the end point: cut off an unselected track at the end
        if (newPosition >= d.position || newPosition <= m_points[(size_t)point - 1].position)
            return -1;
        d.flag = 0;
        kind = kAdded;
        return InsertAt(point, newPosition, 0);
    }
    // the start point: the beginning becomes an unselected track
    if (newPosition <= d.position || (hasNext && newPosition >= m_points[(size_t)point + 1].position))
        return -1;
    int32_t oldFlag = d.flag;
    d.flag = 0;
    kind = kAdded;
    return InsertAt(point + 1, newPosition, oldFlag);
}

bool CTrackList::IsFirstOrLast(int point) const
{
    return !IsValid(point) || point == 0 || point == GetCount() - 1;
}

bool CTrackList::GetPrevPosition(int point, int32_t& position) const
{
    if (!IsValid(point) || point == 0)
        return false;
    position = m_points[(size_t)point - 1].position;
    return true;
}

bool CTrackList::GetNextPosition(int point, int32_t& position) const
{
    if (!IsValid(point) || point + 1 >= GetCount())
        return false;
    position = m_points[(size_t)point + 1].position;
    return true;
}

int32_t CTrackList::GetSpanLength(int point) const
{
    int32_t next;
    if (!GetNextPosition(point, next))
        return 0;
    // Positions are frames of one file, but a list read from a damaged file
    // may hold any values: the span never overflows.
    const int64_t span = (int64_t)next - m_points[(size_t)point].position;
    return span > INT32_MAX ? INT32_MAX : span < INT32_MIN ? INT32_MIN : (int32_t)span;
}

bool CTrackList::IsOrdered() const
{
    for (size_t i = 1; i < m_points.size(); ++i)
        if (m_points[i - 1].position >= m_points[i].position)
            return false;
    return true;
}
