// Drawing of the wave document: marker band, time ruler and channel areas,
// all from the peak values and the view state.
#include "EditWaveFile.h"

#include <map>

namespace {

const COLORREF kBackground = RGB(51, 51, 51);
const COLORREF kWave = RGB(85, 255, 0);
const COLORREF kGuide = RGB(150, 150, 150);
const COLORREF kChannelLine = RGB(255, 255, 255);
const COLORREF kStripSelected[3] = {RGB(141, 212, 0), RGB(120, 180, 0), RGB(99, 148, 0)};
const COLORREF kStripPlain[3] = {RGB(90, 90, 90), RGB(72, 72, 72), RGB(55, 55, 55)};
const COLORREF kSplitLine = RGB(128, 128, 128);
const COLORREF kBoxSelected = RGB(249, 210, 0);
const COLORREF kBoxPlain = RGB(226, 226, 226);
const COLORREF kNumberSelected = RGB(10, 10, 10);
const COLORREF kNumberPlain = RGB(250, 250, 250);
const COLORREF kRulerTop = RGB(255, 233, 3), kRulerBody = RGB(255, 180, 0), kRulerLow = RGB(248, 142, 6);
const COLORREF kTick = RGB(107, 69, 4);
const COLORREF kLabel = RGB(10, 10, 10);
const COLORREF kCursorMark = RGB(255, 0, 0);

// Pens made once per paint and freed with it.
class CPens {
public:
    explicit CPens(HDC dc) : m_dc(dc), m_old(SelectObject(dc, GetStockObject(BLACK_PEN))) {}
    ~CPens()
    {
        SelectObject(m_dc, m_old);
        for (auto& p : m_pens)
            DeleteObject(p.second);
    }
    void Use(COLORREF c)
    {
        auto it = m_pens.find(c);
        if (it == m_pens.end())
            it = m_pens.emplace(c, CreatePen(PS_SOLID, 1, c)).first;
        SelectObject(m_dc, it->second);
    }
    void Line(COLORREF c, int x0, int y0, int x1, int y1)
    {
        Use(c);
        MoveToEx(m_dc, x0, y0, nullptr);
        LineTo(m_dc, x1, y1);
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
    std::map<COLORREF, HPEN> m_pens;
};

void FillColour(HDC dc, int left, int top, int right, int bottom, COLORREF c)
{
    RECT r = {left, top, right, bottom};
    SetBkColor(dc, c);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void FilledPolygon(HDC dc, const POINT* pts, int n, COLORREF fill)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, pts, n);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

}  // namespace

void NV_EditWaveFile::Layout(const RECT& client)
{
    const int w = client.right - client.left;
    m_band = {0, 0, w, 31};
    m_ruler = {0, 31, w, 52};
    if (m_header.channels == 2) {
        const int m = (int)(client.bottom - 52) / 2 + 52 - 1;
        m_area1 = {0, 52, w, m};
        m_area2 = {0, m + 2, w, m + 2 + (m - 52)};
    } else {
        m_area1 = {0, 52, w, client.bottom - 1};
        m_area2 = {0, 0, 0, 0};
    }
}

void NV_EditWaveFile::Paint(HDC dc, const RECT& client)
{
    if (m_loaded)
        DrawDocument(dc, client, false);
    else
        DrawEmpty(dc, client);
}

void NV_EditWaveFile::Repaint(HDC dc, const RECT& client)
{
    DrawDocument(dc, client, true);
}

void NV_EditWaveFile::ComputePoints(int width)
{
    const NV_Peak* peak = m_peak.get();
    if (!peak || peak->GetValueCount() == 0) {
        m_points1.clear();
        m_points2.clear();
        return;
    }
    const int c1 = m_area1.top + (m_area1.bottom - m_area1.top) / 2;
    const int c2 = m_area2.top + (m_area2.bottom - m_area2.top) / 2;
    ComputeColumnPoints([peak](size_t i) { return peak->ValueAt(i); }, peak->GetValueCount(), m_header.channels == 2,
                        m_unit, m_scroll, width, c1, c2, m_scale, m_points1, m_points2);
}

void NV_EditWaveFile::DrawDocument(HDC dc, const RECT& client, bool force)
{
    if (m_unit < 128)
        return;
    Layout(client);
    const int h = m_area1.bottom - m_area1.top;
    m_scale = h > 0 ? (m_header.bitsPerSample == 8 ? 255.0 : 65535.0) / h : 1.0;
    const int width = client.right - client.left;
    if (force || m_scroll != m_lastScroll || m_unit != m_lastUnit || m_points1.empty()) {
        ComputePoints(width);
        m_lastScroll = m_scroll;
        m_lastUnit = m_unit;
    }
    DrawBands(dc, client, true);
    DrawWaveform(dc, m_area1, m_points1);
    if (m_header.channels == 2)
        DrawWaveform(dc, m_area2, m_points2);
}

void NV_EditWaveFile::DrawEmpty(HDC dc, const RECT& client)
{
    Layout(client);
    DrawBands(dc, client, false);
}

void NV_EditWaveFile::DrawBands(HDC dc, const RECT& client, bool loaded)
{
    const int width = client.right - client.left;
    FillColour(dc, 0, 0, width, client.bottom - client.top, kBackground);
    DrawMarkerBand(dc, width);
    DrawRuler(dc, width, loaded);
    DrawChannelFrames(dc, width);
}

void NV_EditWaveFile::DrawChannelFrames(HDC dc, int width)
{
    CPens pens(dc);
    pens.Line(kChannelLine, 0, m_area1.bottom + 1, width, m_area1.bottom + 1);
    for (const RECT* a : {&m_area1, &m_area2}) {
        const int h = a->bottom - a->top;
        if (h <= 0)
            continue;
        const int centre = a->top + h / 2;
        pens.Line(kGuide, 0, centre - h * 2 / 10, width, centre - h * 2 / 10);
        pens.Line(kGuide, 0, centre + h * 2 / 10, width, centre + h * 2 / 10);
    }
}

void NV_EditWaveFile::DrawWaveform(HDC dc, const RECT& area, const std::vector<WavePoint>& points)
{
    CPens pens(dc);
    pens.Use(kWave);
    const int centre = area.top + (area.bottom - area.top) / 2;
    MoveToEx(dc, 0, centre, nullptr);
    const int width = area.right - area.left;
    for (size_t i = 0; i + 1 < points.size() && (int)(i / 2) < width; i += 2) {
        LineTo(dc, points[i].column, points[i].y);
        LineTo(dc, points[i + 1].column, points[i + 1].y);
    }
}

void NV_EditWaveFile::DrawMarkerBand(HDC dc, int width)
{
    const int t = 0, b = 31, e = t + 10;
    {
        CPens pens(dc);
        pens.Line(RGB(0, 0, 0), 0, t, width, t);
        pens.Line(RGB(128, 128, 128), 0, t + 1, width, t + 1);
        for (int y = t + 2; y <= 8; ++y)
            pens.Line(RGB(102, 102, 102), 0, y, width, y);
        pens.Line(RGB(77, 77, 77), 0, 9, width, 9);
        pens.Line(RGB(0, 0, 0), 0, 10, width, 10);
    }
    const CTrackList tracks = GetSplitPoints();
    if (tracks.GetCount() == 0)
        return;
    {
        CPens pens(dc);
        for (int i = 0; i <= width; ++i) {
            const int64_t f = (int64_t)m_unit * (i + m_scroll);
            if (f > INT32_MAX)
                break;
            const COLORREF* c = tracks.GetFlagAt((int32_t)f, (int32_t)std::min<int64_t>(f + m_unit, INT32_MAX))
                                    ? kStripSelected : kStripPlain;
            pens.Line(c[0], i, e + 1, i, e + 2);
            pens.Line(c[1], i, e + 2, i, b - 2);
            pens.Line(c[2], i, b - 2, i, b - 1);
        }
    }
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    for (int p = 0; p < tracks.GetCount(); ++p) {
        const int i = (int)((int64_t)tracks.PositionOf(p) / m_unit - m_scroll);
        if (i < -40 || i > width + 10)
            continue;
        const POINT left[8] = {{i - 7, e}, {i, e}, {i, b - 1}, {i - 7, b - 1}, {i - 7, b - 3}, {i - 4, b - 3},
                               {i - 4, e + 2}, {i - 7, e + 2}};
        const POINT right[8] = {{i + 7, e}, {i, e}, {i, b - 1}, {i + 7, b - 1}, {i + 7, b - 3}, {i + 4, b - 3},
                                {i + 4, e + 2}, {i + 7, e + 2}};
        FilledPolygon(dc, left, 8, RGB(255, 255, 255));
        FilledPolygon(dc, right, 8, RGB(255, 255, 255));
        const bool selected = tracks.GetFlag(p) == 1;
        if (!tracks.IsFirstOrLast(p)) {
            const POINT box[4] = {{i - 5, 0}, {i + 6, 0}, {i + 6, 11}, {i - 5, 11}};
            FilledPolygon(dc, box, 4, kBoxSelected);
            CPens pens(dc);
            pens.Line(RGB(0, 0, 0), i - 5, 0, i + 5, 10);
            pens.Line(RGB(0, 0, 0), i + 5, 0, i - 5, 10);
        }
        {
            CPens pens(dc);
            pens.Line(kSplitLine, i, e, i, b);
        }
        const int x = i + 15, y = e + (b - e) / 2;
        const POINT flag[4] = {{x - 5, y - 5}, {x + 6, y - 5}, {x + 6, y + 6}, {x - 5, y + 6}};
        FilledPolygon(dc, flag, 4, selected ? kBoxSelected : kBoxPlain);
        if (selected) {
            const POINT check[6] = {{x - 3, y - 1}, {x - 1, y + 1}, {x + 3, y - 3},
                                    {x + 3, y - 1}, {x - 1, y + 3}, {x - 3, y + 1}};
            FilledPolygon(dc, check, 6, RGB(0, 0, 0));
        }
        wchar_t number[16];
        swprintf(number, 16, L"%02d", p + 1);
        RECT r = {i + 25, e, i + (int)(tracks.GetSpanLength(p) / m_unit) - 10, b};
        SetTextColor(dc, selected ? kNumberSelected : kNumberPlain);
        DrawTextW(dc, number, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    SelectObject(dc, oldFont);
}

void NV_EditWaveFile::DrawRuler(HDC dc, int width, bool loaded)
{
    const int s = 31, r = 52;
    CPens pens(dc);
    pens.Line(kRulerTop, 0, s, width, s);
    for (int y = s + 1; y <= r - 2; ++y)
        pens.Line(kRulerBody, 0, y, width, y);
    pens.Line(kRulerLow, 0, r - 1, width, r - 1);
    pens.Line(RGB(0, 0, 0), 0, r, width, r);
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabel);
    const int32_t totalFrames = GetTotalFrames();
    for (int j = 0; j < width; ++j) {
        const int64_t c = (int64_t)m_scroll + j;
        if (c % 160 == 0) {
            pens.Line(kTick, j, s + 10, j, r);
            const int64_t frame = (int64_t)m_unit * c;
            if (frame < totalFrames && m_rate > 0) {
                const std::wstring label = FormatRulerLabel((double)frame / m_rate);
                RECT lr = {j, r - 17, j + 100, r - 5};
                DrawTextW(dc, label.c_str(), -1, &lr, DT_SINGLELINE | DT_LEFT | DT_NOCLIP);
            }
        }
        if (j >= 1 && c % 10 == 0)
            pens.Line(kTick, j, r, j, r - 5);
    }
    SelectObject(dc, oldFont);
    pens.Line(kTick, 0, r, width, r);
    if (loaded && m_loaded && m_rate > 0) {
        const double t = FrameToSeconds(m_cursor), v = ColumnToSeconds(0), d = GetViewSeconds(0, width);
        if (d > 0 && d + v + 0.5 >= t && v <= t) {
            const int x = (int)((t - v) / d * width);
            const POINT mark[3] = {{x - 8, s}, {x, s + 8}, {x + 8, s}};
            HBRUSH brush = CreateSolidBrush(kCursorMark);
            HGDIOBJ oldBrush = SelectObject(dc, brush);
            pens.Use(kCursorMark);
            Polygon(dc, mark, 3);
            SelectObject(dc, oldBrush);
            DeleteObject(brush);
        }
    }
}
