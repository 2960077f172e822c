#include "CueBinWriter.h"

#include <algorithm>
#include <cstdio>

namespace discimage {
namespace {

const size_t CopyBlockSectors = 32;

std::string Msf(uint32_t sector)
{
    char text[16];
    snprintf(text, sizeof text, "%02u:%02u:%02u", sector / (60 * AudioSectorsPerSecond),
             sector / AudioSectorsPerSecond % 60, sector % AudioSectorsPerSecond);
    return text;
}

}  // namespace

bool CCueBinWriter::AddTrack(uint64_t bytes, uint32_t pregapSectors)
{
    if (m_tracks.size() >= AudioTrackMax) return false;
    m_tracks.push_back({bytes, m_tracks.empty() ? 0u : pregapSectors});
    return true;
}

uint32_t CCueBinWriter::TotalSectors() const
{
    uint32_t total = 0;
    for (const Track& t : m_tracks) total += t.pregap + SectorsOf(t.bytes);
    return total;
}

std::string CCueBinWriter::CueSheet(const std::string& binFileName) const
{
    std::string cue = "FILE \"" + binFileName + "\" BINARY\r\n";
    uint32_t at = 0;
    for (size_t i = 0; i < m_tracks.size(); ++i) {
        char line[64];
        snprintf(line, sizeof line, "  TRACK %02u AUDIO\r\n", unsigned(i + 1));
        cue += line;
        if (m_tracks[i].pregap > 0) {
            cue += "    INDEX 00 " + Msf(at) + "\r\n";
            at += m_tracks[i].pregap;
        }
        cue += "    INDEX 01 " + Msf(at) + "\r\n";
        at += SectorsOf(m_tracks[i].bytes);
    }
    return cue;
}

bool CCueBinWriter::WriteBin(IImageSink& sink, IContentSource& source, IWriteProgress& progress) const
{
    std::vector<uint8_t> block(CopyBlockSectors * AudioSectorSize);
    uint32_t written = 0;
    for (size_t i = 0; i < m_tracks.size(); ++i) {
        std::fill(block.begin(), block.end(), uint8_t(0));
        for (uint32_t left = m_tracks[i].pregap; left > 0;) {
            const uint32_t n = std::min<uint32_t>(left, CopyBlockSectors);
            if (!sink.Write(block.data(), size_t(n) * AudioSectorSize)) return false;
            left -= n;
            written += n;
            if (!progress.SectorsWritten(written)) return false;
        }
        if (!source.Open(i)) return false;
        uint64_t left = m_tracks[i].bytes;
        bool ok = true;
        while (ok && left > 0) {
            const size_t want = size_t(std::min<uint64_t>(left, block.size()));
            size_t got = 0;
            while (got < want) {
                const size_t n = source.Read(&block[got], want - got);
                if (n == 0) break;
                got += n;
            }
            if (got < want) {
                ok = false;
                break;
            }
            left -= got;
            const size_t padded = (got + AudioSectorSize - 1) / AudioSectorSize * AudioSectorSize;
            std::fill(block.begin() + got, block.begin() + padded, uint8_t(0));
            ok = sink.Write(block.data(), padded);
            written += uint32_t(padded / AudioSectorSize);
            ok = ok && progress.SectorsWritten(written);
        }
        source.Close();
        if (!ok) return false;
    }
    return true;
}

}  // namespace discimage
