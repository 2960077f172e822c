#include "WaveView.h"
#include "ClockText.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

double CWaveView::GetTotalSeconds() const
{
    const double perSecond = (double)GetBlockAlign() * (double)m_rate;
    return perSecond > 0 ? (double)m_dataSize / perSecond : 0.0;
}

int32_t CWaveView::GetScrollRange() const
{
    const int32_t r = GetTotalFrames() / m_unit;
    return r < 1 ? 1 : r;
}

double CWaveView::FrameToSeconds(int64_t frame) const
{
    if (frame < 0)
        frame = 0;
    return m_rate == 0 ? 0.0 : (double)frame / (double)m_rate;
}

int32_t CWaveView::SecondsToFrame(double seconds) const
{
    if (seconds < 0)
        seconds = 0;
    const double f = (double)m_rate * seconds;
    return f > 2147483647.0 ? 2147483647 : (int32_t)f;
}

int32_t CWaveView::SecondsToColumn(double seconds) const
{
    const double c = seconds * (double)m_rate / (double)m_unit;
    return c < 0 ? 0 : (int32_t)c;
}

double CWaveView::ColumnToSeconds(int32_t column) const
{
    int64_t frame = ((int64_t)m_scroll + column) * m_unit;
    const int64_t limit = (int64_t)m_unit * (GetTotalFrames() / m_unit);
    if (frame > limit)
        frame = limit;
    if (frame < 0)
        frame = 0;
    return m_rate == 0 ? 0.0 : (double)frame / (double)m_rate;
}

double CWaveView::GetViewSeconds(int32_t left, int32_t right) const
{
    if (m_rate == 0)
        return 0.0;
    return (double)right * m_unit / m_rate - (double)(left + 1) * m_unit / m_rate;
}

void CWaveView::SetCursorFrame(int64_t frame)
{
    const int64_t total = GetTotalFrames();
    m_cursor = (int32_t)(frame < 0 ? 0 : (frame > total ? total : frame));
}

void CWaveView::SetCursorFromColumn(int32_t column)
{
    SetCursorFrame(((int64_t)column + m_scroll) * m_unit);
}

void CWaveView::SetCursorFromSeconds(double seconds)
{
    SetCursorFrame(SecondsToFrame(seconds));
}

bool CWaveView::IsCursorVisible(int32_t width, int32_t& x) const
{
    const int32_t c = m_cursor / m_unit;
    if (m_scroll < c && c < m_scroll + width - 1) {
        x = c - m_scroll;
        return true;
    }
    return false;
}

int32_t CWaveView::GetFitUnit(int32_t width) const
{
    if (width <= 0)
        return kMinUnit;
    const double q = std::trunc((double)GetTotalFrames() / (double)width);
    return (q >= 127 && q <= 2147483646.0) ? (int32_t)q + 1 : kMinUnit;
}

void CWaveView::ZoomInUnit()
{
    const int32_t k = (m_unit / 2 + 127) / 128;
    m_unit = k == 0 ? kMinUnit : 128 * k;
}

int32_t CWaveView::GetMaxUnit(int32_t width) const
{
    int32_t grid = width > 0 ? (GetTotalFrames() / width) / 128 * 128 : 0;
    if (grid < kMinUnit)
        grid = kMinUnit;
    const int32_t fit = GetFitUnit(width);
    return fit > grid ? fit : grid;
}

void CWaveView::ZoomOutUnit(int32_t width)
{
    const int32_t max = GetMaxUnit(width);
    const int64_t next = ((int64_t)2 * m_unit + 127) / 128 * 128;
    m_unit = next < max ? (int32_t)next : max;
}


std::wstring FormatTimeText(double seconds, double total)
{
    return ClockText(seconds, true, L":") + L" / " + ClockText(total, true, L":");
}

std::wstring FormatRulerLabel(double seconds)
{
    return ClockText(seconds, true, L" : ");
}
