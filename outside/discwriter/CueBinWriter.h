// An audio-disc image: one BIN file of 2352-byte sectors of 16-bit stereo
// little-endian samples and the CUE sheet that describes its tracks. Each track
// starts on a sector and is padded with silence to a whole sector; tracks after
// the first are preceded by their pregap of stored silence (INDEX 00). Portable C++.
#pragma once
#include "ImageStreams.h"

#include <cstdint>
#include <string>
#include <vector>

namespace discimage {

const uint32_t AudioSectorSize = 2352;
const uint32_t AudioSectorsPerSecond = 75;
const size_t AudioTrackMax = 99;

class CCueBinWriter {
public:
    // A track of `bytes` sample bytes; `pregapSectors` of silence go before it
    // unless it is the first track. False when the disc holds 99 tracks already.
    bool AddTrack(uint64_t bytes, uint32_t pregapSectors);
    size_t TrackCount() const { return m_tracks.size(); }
    void Clear() { m_tracks.clear(); }

    // Sectors of the BIN file.
    uint32_t TotalSectors() const;
    // The CUE sheet naming `binFileName` (no folder).
    std::string CueSheet(const std::string& binFileName) const;
    // Writes the BIN file; track contents are read from `source` in adding order.
    bool WriteBin(IImageSink& sink, IContentSource& source, IWriteProgress& progress) const;

private:
    struct Track {
        uint64_t bytes;
        uint32_t pregap;
    };
    static uint32_t SectorsOf(uint64_t bytes) { return uint32_t((bytes + AudioSectorSize - 1) / AudioSectorSize); }
    std::vector<Track> m_tracks;
};

}  // namespace discimage
