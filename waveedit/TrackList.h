// Split points of the open recording. Consecutive points delimit tracks; the flag
// of point n says whether track n (point n .. point n + 1) is selected.
// Portable: no platform types, so it also builds natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct CTrackData {
    int32_t position = 0;  // sample frames from the start of the data
    int32_t flag = 0;      // 1 = the track that starts here is selected
};

// A "point" is the index of a split point; kNoPoint stands for none.
class CTrackList {
public:
    static constexpr int kNoPoint = -1;
    enum MoveKind { kNothing = 0, kAdded = 1, kMoved = 3 };

    virtual ~CTrackList() = default;

    int InsertOrUpdate(int32_t position, int32_t flag);
    int FindInRange(int32_t low, int32_t high) const;
    int ToggleAt(int32_t low, int32_t high);
    int32_t GetFlagAt(int32_t low, int32_t high) const;
    int SetFlag(int index, int32_t flag);
    int32_t GetFlag(int point) const;
    bool GetTrack(int n, int32_t& start, int32_t& end, int32_t& flag) const;
    void RemovePoint(int point);
    void RemoveInterior();
    int MovePoint(int point, int32_t newPosition, int& kind);
    void RemoveAll() { m_points.clear(); }
    int IndexOf(int point) const { return IsValid(point) ? point : kNoPoint; }
    bool IsFirstOrLast(int point) const;
    bool IsFirst(int point) const { return IsValid(point) && point == 0; }
    bool IsLast(int point) const { return IsValid(point) && point == GetCount() - 1; }
    bool GetPrevPosition(int point, int32_t& position) const;
    bool GetNextPosition(int point, int32_t& position) const;
    int32_t GetSpanLength(int point) const;
    int32_t GetFirstPosition() const { return m_points.empty() ? 0 : m_points.front().position; }
    int32_t GetLastPosition() const { return m_points.empty() ? 0 : m_points.back().position; }
    int GetCount() const { return (int)m_points.size(); }

    const CTrackData& At(int point) const { return m_points[(size_t)point]; }
    int32_t PositionOf(int point) const { return m_points[(size_t)point].position; }
    // Whether positions strictly increase from head to tail.
    bool IsOrdered() const;

private:
    bool IsValid(int point) const { return point >= 0 && point < GetCount(); }
    // The point p with position(p) <= frame < position(next), or kNoPoint.
    int FindContaining(int32_t frame) const;
    int InsertAt(int index, int32_t position, int32_t flag);

    std::vector<CTrackData> m_points;
};
