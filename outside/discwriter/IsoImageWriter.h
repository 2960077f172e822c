// A finalised data-disc image: ISO 9660 level 1 with a Joliet (UCS-2 level 3)
// supplementary descriptor, all files in the root folder. Portable C++.
//
// Sectors: 0-15 system area, 16 primary descriptor, 17 Joliet descriptor,
// 18 terminator, 19-22 the four one-entry path tables, then the primary root
// folder, the Joliet root folder and the files, each from a sector start.
#pragma once
#include "ImageStreams.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace discimage {

const uint32_t DataSectorSize = 2048;

class CIsoImageWriter {
public:
    void SetLabel(const std::u16string& label) { m_label = label; }
    void SetTime(std::time_t when) { m_time = when; }
    // Names as the caller gives them; they are made valid and unique by Layout.
    void AddFile(const std::u16string& longName, const std::u16string& shortName, uint64_t size);
    size_t FileCount() const { return m_files.size(); }
    void Clear();

    // Places everything; returns the image's size in sectors.
    uint32_t Layout();
    uint32_t TotalSectors() const { return m_totalSectors; }

    // Writes the laid-out image; entries are read from `source` in adding order.
    // False on a refused write, a short source or an abandon by `progress`.
    bool Write(IImageSink& sink, IContentSource& source, IWriteProgress& progress);

    // After Layout: the names and places chosen (for tests and logs).
    struct Placed {
        std::string isoName;        // "NAME.EXT"
        std::u16string jolietName;
        uint64_t size = 0;
        uint32_t extent = 0;
    };
    const std::vector<Placed>& Files() const { return m_placed; }

private:
    struct Entry {
        std::u16string longName, shortName;
        uint64_t size;
    };
    std::vector<uint8_t> PrimaryDescriptor(bool joliet) const;
    std::vector<uint8_t> PathTable(bool joliet, bool bigEndian) const;
    std::vector<uint8_t> Directory(bool joliet) const;
    uint32_t DirectorySectors(bool joliet) const;

    std::u16string m_label;
    std::time_t m_time = 0;
    std::vector<Entry> m_files;
    std::vector<Placed> m_placed;
    uint32_t m_primaryRoot = 0, m_primaryRootSectors = 0;
    uint32_t m_jolietRoot = 0, m_jolietRootSectors = 0;
    uint32_t m_totalSectors = 0;
};

}  // namespace discimage
