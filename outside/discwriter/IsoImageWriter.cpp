#include "IsoImageWriter.h"
#include "DiscNames.h"

#include <algorithm>
#include <cstring>

namespace discimage {
namespace {

const uint32_t FirstPathTable = 19;   // four path tables, one sector each
const uint32_t FirstDirectory = 23;
const size_t CopyBlockSectors = 32;

void Both16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v); p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 8); p[3] = uint8_t(v);
}

void Both32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        p[i] = uint8_t(v >> (8 * i));
        p[7 - i] = uint8_t(v >> (8 * i));
    }
}

void Le32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i)); }
void Be32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[3 - i] = uint8_t(v >> (8 * i)); }

// A text field: 8-bit characters padded with blanks, or UCS-2 big-endian
// padded with UCS-2 blanks (an odd field keeps a last zero byte).
void TextField(uint8_t* p, size_t bytes, const std::u16string& text, bool ucs2)
{
    if (!ucs2) {
        memset(p, ' ', bytes);
        for (size_t i = 0; i < text.size() && i < bytes; ++i) p[i] = uint8_t(text[i]);
        return;
    }
    memset(p, 0, bytes);
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        const char16_t c = i / 2 < text.size() ? text[i / 2] : u' ';
        p[i] = uint8_t(c >> 8);
        p[i + 1] = uint8_t(c);
    }
}

std::u16string Widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

struct UtcTime {
    int year, month, day, hour, minute, second;
};

UtcTime ToUtc(std::time_t t)
{
    std::tm tm{};
#ifdef _WIN32
    gmtime_s(&tm, &t);
#else
    gmtime_r(&t, &tm);
#endif
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// The 17-character date of a volume descriptor, UTC (offset 0).
void LongDate(uint8_t* p, const UtcTime* t)
{
    char text[20];
    if (t)
        snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d00", t->year, t->month, t->day, t->hour,
                 t->minute, t->second);
    else
        memcpy(text, "0000000000000000", 17);
    memcpy(p, text, 16);
    p[16] = 0;
}

// One directory record; returns its length.
size_t DirectoryRecord(uint8_t* p, uint32_t extent, uint32_t size, bool folder,
                       const std::vector<uint8_t>& id, const UtcTime& t)
{
    const size_t length = 33 + id.size() + (id.size() % 2 == 0 ? 1 : 0);
    memset(p, 0, length);
    p[0] = uint8_t(length);
    Both32(p + 2, extent);
    Both32(p + 10, size);
    p[18] = uint8_t(t.year - 1900);
    p[19] = uint8_t(t.month);
    p[20] = uint8_t(t.day);
    p[21] = uint8_t(t.hour);
    p[22] = uint8_t(t.minute);
    p[23] = uint8_t(t.second);
    p[25] = folder ? 2 : 0;
    Both16(p + 28, 1);
    p[32] = uint8_t(id.size());
    if (!id.empty()) memcpy(p + 33, id.data(), id.size());
    return length;
}

std::vector<uint8_t> IsoId(const std::string& name) { std::string s = name + ";1"; return {s.begin(), s.end()}; }

std::vector<uint8_t> JolietId(const std::u16string& name)
{
    std::vector<uint8_t> id;
    for (char16_t c : name) {
        id.push_back(uint8_t(c >> 8));
        id.push_back(uint8_t(c));
    }
    return id;
}

size_t RecordLength(size_t idBytes) { return 33 + idBytes + (idBytes % 2 == 0 ? 1 : 0); }

// Records never cross a sector: the sectors a list of record lengths needs.
uint32_t SectorsFor(const std::vector<size_t>& lengths)
{
    uint32_t sectors = 1;
    size_t used = 0;
    for (size_t length : lengths) {
        if (used + length > DataSectorSize) {
            ++sectors;
            used = 0;
        }
        used += length;
    }
    return sectors;
}

}  // namespace

void CIsoImageWriter::AddFile(const std::u16string& longName, const std::u16string& shortName, uint64_t size)
{
    m_files.push_back({longName, shortName, size});
}

void CIsoImageWriter::Clear()
{
    m_files.clear();
    m_placed.clear();
    m_totalSectors = 0;
}

uint32_t CIsoImageWriter::DirectorySectors(bool joliet) const
{
    std::vector<size_t> lengths{34, 34};
    for (const Placed& f : m_placed)
        lengths.push_back(joliet ? RecordLength(f.jolietName.size() * 2) : RecordLength(f.isoName.size() + 2));
    return SectorsFor(lengths);
}

uint32_t CIsoImageWriter::Layout()
{
    std::vector<std::u16string> longNames, shortNames;
    for (const Entry& e : m_files) {
        longNames.push_back(e.longName);
        shortNames.push_back(e.shortName);
    }
    const std::vector<std::string> iso = MakeIsoNames(shortNames);
    const std::vector<std::u16string> joliet = MakeJolietNames(longNames);
    m_placed.clear();
    for (size_t i = 0; i < m_files.size(); ++i) m_placed.push_back({iso[i], joliet[i], m_files[i].size, 0});

    m_primaryRoot = FirstDirectory;
    m_primaryRootSectors = DirectorySectors(false);
    m_jolietRoot = m_primaryRoot + m_primaryRootSectors;
    m_jolietRootSectors = DirectorySectors(true);
    uint32_t next = m_jolietRoot + m_jolietRootSectors;
    for (Placed& f : m_placed) {
        f.extent = next;   // an empty file points at the next free sector and takes none
        next += uint32_t((f.size + DataSectorSize - 1) / DataSectorSize);
    }
    m_totalSectors = next;
    return m_totalSectors;
}

std::vector<uint8_t> CIsoImageWriter::PrimaryDescriptor(bool joliet) const
{
    std::vector<uint8_t> d(DataSectorSize, 0);
    uint8_t* p = d.data();
    p[0] = joliet ? 2 : 1;
    memcpy(p + 1, "CD001", 5);
    p[6] = 1;
    TextField(p + 8, 32, u"", joliet);
    TextField(p + 40, 32, joliet ? m_label.substr(0, 16) : Widen(MakeIsoVolumeId(m_label)), joliet);
    Both32(p + 80, m_totalSectors);
    if (joliet) memcpy(p + 88, "%/E", 3);   // UCS-2 level 3
    Both16(p + 120, 1);
    Both16(p + 124, 1);
    Both16(p + 128, DataSectorSize);
    Both32(p + 132, 10);   // the root's path-table entry alone
    const uint32_t tables = FirstPathTable + (joliet ? 2 : 0);
    Le32(p + 140, tables);
    Be32(p + 148, tables + 1);
    const UtcTime t = ToUtc(m_time);
    const uint32_t root = joliet ? m_jolietRoot : m_primaryRoot;
    const uint32_t rootSectors = joliet ? m_jolietRootSectors : m_primaryRootSectors;
    DirectoryRecord(p + 156, root, rootSectors * DataSectorSize, true, {0}, t);
    TextField(p + 190, 128, u"", joliet);   // volume set
    TextField(p + 318, 128, u"", joliet);   // publisher
    TextField(p + 446, 128, u"", joliet);   // data preparer
    TextField(p + 574, 128, u"", joliet);   // application
    TextField(p + 702, 37, u"", joliet);    // copyright, abstract, bibliographic files
    TextField(p + 739, 37, u"", joliet);
    TextField(p + 776, 37, u"", joliet);
    LongDate(p + 813, &t);
    LongDate(p + 830, &t);
    LongDate(p + 847, nullptr);
    LongDate(p + 864, nullptr);
    p[881] = 1;
    return d;
}

std::vector<uint8_t> CIsoImageWriter::PathTable(bool joliet, bool bigEndian) const
{
    std::vector<uint8_t> d(DataSectorSize, 0);
    const uint32_t root = joliet ? m_jolietRoot : m_primaryRoot;
    d[0] = 1;   // identifier length: the root's single zero byte
    if (bigEndian) {
        Be32(&d[2], root);
        d[7] = 1;
    } else {
        Le32(&d[2], root);
        d[6] = 1;
    }
    return d;
}

std::vector<uint8_t> CIsoImageWriter::Directory(bool joliet) const
{
    const uint32_t root = joliet ? m_jolietRoot : m_primaryRoot;
    const uint32_t sectors = joliet ? m_jolietRootSectors : m_primaryRootSectors;
    std::vector<uint8_t> d(size_t(sectors) * DataSectorSize, 0);
    const UtcTime t = ToUtc(m_time);
    size_t at = 0;
    at += DirectoryRecord(&d[at], root, sectors * DataSectorSize, true, {0}, t);
    at += DirectoryRecord(&d[at], root, sectors * DataSectorSize, true, {1}, t);

    // Records are sorted by identifier, as readers that search folders expect.
    std::vector<const Placed*> order;
    for (const Placed& f : m_placed) order.push_back(&f);
    std::sort(order.begin(), order.end(), [joliet](const Placed* a, const Placed* b) {
        return joliet ? a->jolietName < b->jolietName : a->isoName < b->isoName;
    });
    for (const Placed* f : order) {
        const std::vector<uint8_t> id = joliet ? JolietId(f->jolietName) : IsoId(f->isoName);
        if (at % DataSectorSize + RecordLength(id.size()) > DataSectorSize)
            at = (at / DataSectorSize + 1) * DataSectorSize;
        at += DirectoryRecord(&d[at], f->extent, uint32_t(f->size), false, id, t);
    }
    return d;
}

bool CIsoImageWriter::Write(IImageSink& sink, IContentSource& source, IWriteProgress& progress)
{
    uint32_t written = 0;
    auto put = [&](const std::vector<uint8_t>& bytes) {
        if (!sink.Write(bytes.data(), bytes.size())) return false;
        written += uint32_t(bytes.size() / DataSectorSize);
        return progress.SectorsWritten(written);
    };
    if (!put(std::vector<uint8_t>(16 * DataSectorSize, 0))) return false;
    if (!put(PrimaryDescriptor(false)) || !put(PrimaryDescriptor(true))) return false;
    std::vector<uint8_t> terminator(DataSectorSize, 0);
    terminator[0] = 255;
    memcpy(&terminator[1], "CD001", 5);
    terminator[6] = 1;
    if (!put(terminator)) return false;
    if (!put(PathTable(false, false)) || !put(PathTable(false, true)) || !put(PathTable(true, false)) ||
        !put(PathTable(true, true)))
        return false;
    if (!put(Directory(false)) || !put(Directory(true))) return false;

    std::vector<uint8_t> block(CopyBlockSectors * DataSectorSize);
    for (size_t i = 0; i < m_placed.size(); ++i) {
        uint64_t left = m_placed[i].size;
        if (left == 0) continue;
        if (!source.Open(i)) return false;
        while (left > 0) {
            const size_t want = size_t(std::min<uint64_t>(left, block.size()));
            size_t got = 0;
            while (got < want) {
                const size_t n = source.Read(&block[got], want - got);
                if (n == 0) break;
                got += n;
            }
            if (got < want) {   // the file shrank since it was measured
                source.Close();
                return false;
            }
            left -= got;
            const size_t padded = (got + DataSectorSize - 1) / DataSectorSize * DataSectorSize;
            std::fill(block.begin() + got, block.begin() + padded, uint8_t(0));
            if (!sink.Write(block.data(), padded)) {
                source.Close();
                return false;
            }
            written += uint32_t(padded / DataSectorSize);
            if (!progress.SectorsWritten(written)) {
                source.Close();
                return false;
            }
        }
        source.Close();
    }
    return written == m_totalSectors;
}

}  // namespace discimage
