// The wave document behind the editor window: one open PCM work WAV, a copy of
// its header, its peak values, the view state and the split points. It never
// reads sample data itself; everything drawn comes from the peak values.
// Split-point changes may come from the automatic-split worker: the list is
// guarded by a lock that painting takes too, and notifications are sent after
// the lock is released.
#pragma once
#include "PeakFile.h"
#include "TrackList.h"
#include "WaveHeader.h"
#include "WaveView.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class NV_WaveEditXCtrl;

class NV_EditWaveFile : public CWaveView, public IPeakOwner {
public:
    NV_EditWaveFile();
    ~NV_EditWaveFile() override;

    void SetOwner(NV_WaveEditXCtrl* owner) { m_owner = owner; }

    bool Open(const wchar_t* path);
    void Close();
    bool NewEmpty();
    int ReadWaveHeader(const wchar_t* path);
    bool IsSupportedWave() const { return ::IsSupportedWave(m_header); }
    bool LoadPeaks();
    bool ReloadPeaks(const wchar_t* peakPath);
    void SavePeaks();
    void GetWaveFormat(int& channels, int& bits, int& rate, int& dataOffset) const;
    const WaveFileHeader& GetHeader() const { return m_header; }
    const std::wstring& GetWorkPath() const { return m_workPath; }
    void SetWorkPath(const wchar_t* path) { m_workPath = path; }
    bool IsLoaded() const { return m_loaded != 0; }
    const NV_Peak* GetPeak() const { return m_peak.get(); }

    // Split points (each change repaints the owner and is notified to it).
    void AddSplitPoint(int32_t frame, int32_t flag);
    void AddSplitPointAtCursor();
    void ClearSplitPoints();
    void RemoveSplitPointNear(int32_t column);
    void ToggleFlagNear(int32_t column);
    void SetTrackFlag(int index, int32_t flag);
    void MoveSplitPoint(int32_t fromColumn, int32_t toColumn);
    bool GetDragBounds(int32_t left, int32_t right, int32_t origin, int32_t& low, int32_t& high) const;
    int HitTest(int x, int y) const;
    int GetDragMode(int x, int y, bool buttonDown) const;
    // A copy of the split points, taken under the lock.
    CTrackList GetSplitPoints() const;

    // IPeakOwner
    int GetSplitPointCount() const override;
    void AddPendingSplitPoint(int32_t frame, int32_t flag) override;

    // Drawing into a memory DC of the client rectangle.
    void Paint(HDC dc, const RECT& client);
    void Repaint(HDC dc, const RECT& client);
    void Layout(const RECT& client);
    const RECT& GetMarkerBand() const { return m_band; }
    const RECT& GetChannelArea(int channel) const { return channel == 0 ? m_area1 : m_area2; }
    size_t GetPointCount() const { return m_points1.size(); }
    const std::vector<WavePoint>& GetPoints(int channel) const { return channel == 0 ? m_points1 : m_points2; }

private:
    void Reset();
    void Notify(int kind, int index);
    void RepaintOwner();
    int FindPointNear(const CTrackList& list, int32_t column) const;
    void DrawDocument(HDC dc, const RECT& client, bool force);
    void DrawEmpty(HDC dc, const RECT& client);
    void DrawBands(HDC dc, const RECT& client, bool loaded);
    void DrawMarkerBand(HDC dc, int width);
    void DrawRuler(HDC dc, int width, bool loaded);
    void DrawChannelFrames(HDC dc, int width);
    void DrawWaveform(HDC dc, const RECT& area, const std::vector<WavePoint>& points);
    void ComputePoints(int width);

    std::wstring m_workPath;
    int32_t m_lastScroll = -1, m_lastUnit = 0;
    WaveFileHeader m_header{};
    int m_loaded = 0;
    std::vector<WavePoint> m_points1, m_points2;
    NV_WaveEditXCtrl* m_owner = nullptr;
    std::unique_ptr<NV_Peak> m_peak;
    mutable std::recursive_mutex m_lock;  // guards m_tracks
    CTrackList m_tracks;
    HFONT m_font = nullptr;
    std::vector<CTrackData> m_pending;
    double m_scale = 1.0;
    uint64_t m_fileLength = 0;
    RECT m_band{}, m_ruler{}, m_area1{}, m_area2{};
};
