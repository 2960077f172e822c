// The view arithmetic of the wave editor: conversions between pixel columns,
// sample frames and seconds, zoom units, the per-column waveform points and
// the time texts. Portable: no platform types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct WavePoint {
    int32_t column;
    int32_t y;
};

class CWaveView {
public:
    static constexpr int32_t kMinUnit = 128;

    void SetFormat(int channels, int bits, uint32_t rate, int32_t dataSize)
    {
        m_channels = channels;
        m_bits = bits;
        m_rate = rate;
        m_dataSize = dataSize;
    }
    void ResetView()
    {
        m_unit = 512;
        m_scroll = 0;
        m_cursor = 0;
    }

    int GetBlockAlign() const { return m_channels == 0 ? 1 : m_channels * (m_bits / 8); }
    int32_t GetTotalFrames() const { return GetBlockAlign() > 0 ? m_dataSize / GetBlockAlign() : 0; }
    double GetTotalSeconds() const;
    int32_t GetUnit() const { return m_unit; }
    void SetUnit(int32_t unit) { m_unit = unit < kMinUnit ? kMinUnit : unit; }
    int32_t GetCursor() const { return m_cursor; }
    int32_t GetCursorColumn() const { return m_cursor / m_unit - m_scroll; }
    int32_t GetScroll() const { return m_scroll; }
    int32_t GetScrollRange() const;
    uint32_t GetRate() const { return m_rate; }
    int32_t GetDataSize() const { return m_dataSize; }

    double FrameToSeconds(int64_t frame) const;
    int32_t SecondsToFrame(double seconds) const;
    int32_t SecondsToColumn(double seconds) const;
    double ColumnToSeconds(int32_t column) const;
    double GetViewSeconds(int32_t left, int32_t right) const;

    void SetCursorFromColumn(int32_t column);
    void SetCursorFromSeconds(double seconds);
    void SetCursorFrame(int64_t frame);
    // Whether the cursor column lies strictly inside the view; x is its view column.
    bool IsCursorVisible(int32_t width, int32_t& x) const;
    void SetScroll(int32_t column) { m_scroll = column < 0 ? 0 : column; }

    int32_t GetFitUnit(int32_t width) const;
    void ZoomToFitUnit(int32_t width) { m_unit = GetFitUnit(width); }
    void ZoomInUnit();
    int32_t GetMaxUnit(int32_t width) const;
    void ZoomOutUnit(int32_t width);

protected:
    int m_channels = 0, m_bits = 16;
    uint32_t m_rate = 1;
    int32_t m_dataSize = 0;
    int32_t m_unit = 512;
    int32_t m_scroll = 0;
    int32_t m_cursor = 0;
};

// Per-column maximum and minimum of the peak values of a view (two points per
// column, maximum first). valueAt(i) gives peak value i as a signed sample;
// values come in pairs (first and second channel, or sample and unused).
template <class ValueAt>
void ComputeColumnPoints(ValueAt valueAt, size_t valueCount, bool stereo, int32_t unit, int32_t scroll, int32_t width,
                         int32_t centre1, int32_t centre2, double scale, std::vector<WavePoint>& points1,
                         std::vector<WavePoint>& points2)
{
    points1.clear();
    points2.clear();
    if (valueCount < 2 || unit < 128 || scale <= 0)
        return;
    const int64_t g = unit / 128;
    const size_t pairs = valueCount / 2;
    int64_t budget = (int64_t)width + 128;
    int32_t column = 0, acc = 0, inGroup = 0;
    int32_t min1 = 0, max1 = 0, min2 = 0, max2 = 0;
    for (size_t p = (size_t)(g * scroll); p < pairs && budget > 0; ++p) {
        const int32_t y1 = centre1 + (int32_t)(valueAt(2 * p) / scale);
        const int32_t y2 = stereo ? centre2 + (int32_t)(valueAt(2 * p + 1) / scale) : 0;
        if (inGroup == 0) {
            min1 = max1 = y1;
            min2 = max2 = y2;
        } else {
            if (y1 < min1) min1 = y1;
            if (y1 > max1) max1 = y1;
            if (y2 < min2) min2 = y2;
            if (y2 > max2) max2 = y2;
        }
        if (++inGroup < g)
            continue;
        inGroup = 0;
        acc += unit % 128;
        if (acc < unit) {
            points1.push_back({column, max1});
            points1.push_back({column, min1});
            if (stereo) {
                points2.push_back({column, max2});
                points2.push_back({column, min2});
            }
            ++column;
            --budget;
        } else {
            acc = 0;
        }
    }
}

// "hh:mm:ss.hh / hh:mm:ss.hh" of a position and a total, each rounded to
// hundredths before it is split into fields (5.996 s reads 00:00:06.00).
std::wstring FormatTimeText(double seconds, double total);
// "hh : mm : ss.hh", the label of the time ruler.
std::wstring FormatRulerLabel(double seconds);
