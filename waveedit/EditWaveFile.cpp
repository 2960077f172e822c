#include "EditWaveFile.h"

#include "ByteFile.h"
#include "String.h"
#include "WaveEditMessages.h"
#include "WaveEditXCtrl.h"

#include <cstring>

NV_EditWaveFile::NV_EditWaveFile()
{
    Reset();
    CString face, size;
    face.LoadString(145);
    size.LoadString(146);
    if (face.IsEmpty())
        face = L"MS Sans Serif";
    if (size.IsEmpty())
        size = L"11";
    LOGFONTW lf = {};
    lf.lfHeight = -_wtoi(size);
    lf.lfWeight = 100;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    m_font = CreateFontIndirectW(&lf);
}

NV_EditWaveFile::~NV_EditWaveFile()
{
    if (m_font)
        DeleteObject(m_font);
}

void NV_EditWaveFile::Reset()
{
    m_peak.reset();
    m_points1.clear();
    m_points2.clear();
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        m_tracks.RemoveAll();
    }
    m_pending.clear();
    memset(&m_header, 0, sizeof m_header);
    m_header.dataOffset = 44;
    m_lastScroll = -1;
    m_lastUnit = 0;
    m_scale = 1.0;
    m_loaded = 0;
    m_fileLength = 0;
    SetFormat(0, 16, 1, 0);
    ResetView();
}

int NV_EditWaveFile::ReadWaveHeader(const wchar_t* path)
{
    auto file = OpenByteFile(path, FileMode::ReadShared);
    if (!file)
        return kWaveBad;
    WaveHeaderInfo info;
    const int result = ::ReadWaveHeader(*file, info);
    m_header = info.header;
    m_fileLength = info.fileLength;
    if (result == kWaveOk)
        SetFormat(m_header.channels, m_header.bitsPerSample, m_header.sampleRate, (int32_t)info.dataSize);
    return result;
}

void NV_EditWaveFile::GetWaveFormat(int& channels, int& bits, int& rate, int& dataOffset) const
{
    if (!m_loaded || !m_peak || m_dataSize == 0) {
        channels = 0; bits = 16; rate = 1; dataOffset = 44;
        return;
    }
    channels = m_header.channels;
    bits = m_header.bitsPerSample;
    rate = (int)m_header.sampleRate;
    dataOffset = (int)m_header.dataOffset;
}

bool NV_EditWaveFile::Open(const wchar_t* path)
{
    const int result = ReadWaveHeader(path);
    if (result == kWaveBad) {
        DeleteFileW(path);  // an unusable work copy
        return false;
    }
    if (result != kWaveOk)
        return false;
    m_workPath = path;
    m_loaded = 0;
    m_scroll = 0;
    m_cursor = 0;
    m_points1.clear();
    m_points2.clear();
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        m_tracks.RemoveAll();
    }
    m_pending.clear();
    if (!LoadPeaks()) {
        // Nothing of the failed file stays: a later Close must not write its
        // empty peak data over a good peak file.
        Reset();
        m_workPath.clear();
        return false;
    }
    m_loaded = 1;
    if (m_owner)
        m_owner->NotifyOwner(WM_WAVEEDIT_RESET, 0, 0);
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        m_tracks.InsertOrUpdate(GetTotalFrames(), 0);
        m_tracks.InsertOrUpdate(0, 1);
    }
    Notify(kSplitAdded, 0);
    const std::vector<CTrackData> pending = m_pending;
    for (const CTrackData& d : pending)
        AddSplitPoint(d.position, d.flag);
    return true;
}

void NV_EditWaveFile::Close()
{
    SavePeaks();
    Reset();
    m_workPath.clear();
}

bool NV_EditWaveFile::NewEmpty()
{
    Reset();
    WaveFileHeader empty{};
    m_peak = std::make_unique<NV_Peak>(empty, 0, this);
    m_loaded = 1;
    if (m_owner)
        m_owner->NotifyOwner(WM_WAVEEDIT_RESET, 0, 0);
    return true;
}

bool NV_EditWaveFile::LoadPeaks()
{
    m_peak = std::make_unique<NV_Peak>(m_header, (uint32_t)m_dataSize, this);
    if (m_peak->Load(m_workPath))
        return true;
    NV_WaveEditXCtrl* owner = m_owner;
    return m_peak->Build(m_workPath, [owner](int percent) {
        if (owner)
            owner->OnPeakProgress(percent);
    });
}

bool NV_EditWaveFile::ReloadPeaks(const wchar_t* peakPath)
{
    if (!m_peak)
        return false;
    const bool ok = m_peak->ReloadPeaks(peakPath);
    m_lastScroll = -1;
    return ok;
}

void NV_EditWaveFile::SavePeaks()
{
    if (!m_peak || m_peak->GetPeakPath().empty())
        return;
    m_peak->ReloadPeaks(m_peak->GetPeakPath());
    m_peak->Save();
}

int NV_EditWaveFile::GetSplitPointCount() const
{
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    return m_tracks.GetCount();
}

void NV_EditWaveFile::AddPendingSplitPoint(int32_t frame, int32_t flag)
{
    CTrackData d;
    d.position = frame;
    d.flag = flag & 0xFF;
    m_pending.push_back(d);
}

CTrackList NV_EditWaveFile::GetSplitPoints() const
{
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    return m_tracks;
}

void NV_EditWaveFile::Notify(int kind, int index)
{
    if (m_owner)
        m_owner->NotifyOwner(WM_WAVEEDIT_SPLITCHANGED, (WPARAM)kind, (LPARAM)index);
}

void NV_EditWaveFile::RepaintOwner()
{
    if (m_owner && m_owner->GetHwnd())
        InvalidateRect(m_owner->GetHwnd(), nullptr, TRUE);
}

void NV_EditWaveFile::AddSplitPoint(int32_t frame, int32_t flag)
{
    int index;
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        index = m_tracks.InsertOrUpdate(frame, flag);
    }
    RepaintOwner();
    if (index >= 0)
        Notify(kSplitAdded, index);
}

void NV_EditWaveFile::AddSplitPointAtCursor()
{
    int32_t flag;
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        flag = m_tracks.GetFlagAt(m_cursor, m_cursor + 1);
    }
    AddSplitPoint(m_cursor, flag);
}

void NV_EditWaveFile::ClearSplitPoints()
{
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        m_tracks.RemoveInterior();
    }
    RepaintOwner();
    Notify(kSplitCleared, 0);
}

int NV_EditWaveFile::FindPointNear(const CTrackList& list, int32_t column) const
{
    const int64_t low = ((int64_t)column - 5 + m_scroll) * m_unit, high = ((int64_t)column + 6 + m_scroll) * m_unit;
    if (high <= 0)
        return CTrackList::kNoPoint;
    return list.FindInRange((int32_t)(low < 0 ? 0 : low), (int32_t)(high > INT32_MAX ? INT32_MAX : high));
}

void NV_EditWaveFile::RemoveSplitPointNear(int32_t column)
{
    int removed = -1;
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        const int p = FindPointNear(m_tracks, column);
        if (p != CTrackList::kNoPoint && !m_tracks.IsFirstOrLast(p)) {
            m_tracks.RemovePoint(p);
            removed = p;
        }
    }
    RepaintOwner();
    if (removed >= 0)
        Notify(kSplitRemoved, removed);
}

void NV_EditWaveFile::ToggleFlagNear(int32_t column)
{
    int index;
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        const int64_t f = ((int64_t)column + m_scroll) * m_unit;
        index = m_tracks.ToggleAt((int32_t)f, (int32_t)(f + m_unit));
    }
    RepaintOwner();
    Notify(kSplitToggled, index);
}

void NV_EditWaveFile::SetTrackFlag(int index, int32_t flag)
{
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        m_tracks.SetFlag(index, flag);
    }
    // The marker band shows the flag.
    RepaintOwner();
}

void NV_EditWaveFile::MoveSplitPoint(int32_t from, int32_t to)
{
    int index = -1, kind = kSplitNothing;
    {
        std::lock_guard<std::recursive_mutex> hold(m_lock);
        const int p = FindPointNear(m_tracks, from);
        const bool stop = p == CTrackList::kNoPoint || (m_tracks.IsLast(p) && to > from) ||
                          (m_tracks.IsFirst(p) && to < from);
        if (!stop) {
            int k;
            index = m_tracks.MovePoint(p, (int32_t)(((int64_t)to + m_scroll) * m_unit), k);
            kind = index >= 0 ? k : kSplitNothing;
        }
    }
    RepaintOwner();
    Notify(kind, kind == kSplitNothing ? -1 : index);
}

bool NV_EditWaveFile::GetDragBounds(int32_t left, int32_t right, int32_t origin, int32_t& low, int32_t& high) const
{
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    const int p = FindPointNear(m_tracks, origin);
    if (p == CTrackList::kNoPoint)
        return false;
    auto column = [this](int32_t frame) { return frame / m_unit - m_scroll; };
    int32_t prev, next;
    low = m_tracks.GetPrevPosition(p, prev) ? column(prev) + 20 : left;
    high = m_tracks.GetNextPosition(p, next) ? column(next) - 20 : column(m_tracks.PositionOf(p));
    if (low < left)
        low = left;
    if (high > right)
        high = right;
    // No room between the neighbours: the drag is refused, points never cross.
    return low <= high;
}

int NV_EditWaveFile::HitTest(int x, int y) const
{
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    const int band = 31, centre = 10 + (band - 10) / 2;
    for (int i = 0; i < m_tracks.GetCount(); ++i) {
        const int32_t c = m_tracks.PositionOf(i) / m_unit - m_scroll;
        if (y >= 0 && y < 10 && std::abs(x - c) <= 5 && !m_tracks.IsFirstOrLast(i))
            return kHitBox;
        if (x - c >= 10 && x - c <= 20 && std::abs(y - centre) <= 5)
            return kHitBox;
    }
    for (int i = 0; i < m_tracks.GetCount(); ++i) {
        const int32_t c = m_tracks.PositionOf(i) / m_unit - m_scroll;
        if (std::abs(x - c) <= 5 && y >= 0 && y <= band)
            return kHitLine;
    }
    return kHitNothing;
}

int NV_EditWaveFile::GetDragMode(int x, int y, bool buttonDown) const
{
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    const int band = 31, centre = 10 + (band - 10) / 2;
    for (int i = 0; i < m_tracks.GetCount(); ++i) {
        const int32_t c = m_tracks.PositionOf(i) / m_unit - m_scroll;
        if (x - c >= 10 && x - c <= 20 && std::abs(y - centre) <= 5)
            return kDragToggle;
    }
    for (int i = 0; i < m_tracks.GetCount(); ++i) {
        const int32_t c = m_tracks.PositionOf(i) / m_unit - m_scroll;
        if (std::abs(x - c) > 5)
            continue;
        if (y >= 0 && y < 10)
            return kDragRemove;
        if (buttonDown)
            return kDragMove;
    }
    return kDragNone;
}
