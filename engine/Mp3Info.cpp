#include "Mp3Info.h"
#include "Id3v2Walk.h"
#include "MpegFrameHeader.h"
#include "MpegScan.h"
#include <dshow.h>
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

struct FrameField {
    const char* v22;
    const char* v23;
    const char* v24;
    int id;
};

const FrameField kFields[] = {
    {"TT2", "TIT2", "TIT2", 1}, {"TRK", "TRCK", "TRCK", 2}, {"TP1", "TPE1", "TPE1", 3}, {"TAL", "TALB", "TALB", 4},
    {"COM", "COMM", "COMM", 5}, {"TYE", "TYER", "TDRC", 6}, {"TCO", "TCON", "TCON", 7}, {"TCM", "TCOM", "TCOM", 8},
    {"TEN", "TENC", "TENC", 9}, {"TXT", "TEXT", "TEXT", 10}, {"TLA", "TLAN", "TLAN", 11},
};

int FieldIdOf(int version, const std::string& frameId)
{
    for (const FrameField& f : kFields) {
        const char* id = version == 220 ? f.v22 : version == 230 ? f.v23 : f.v24;
        if (frameId == id) return f.id;
    }
    return 0;
}

int LeadingNumber(const wchar_t* text)
{
    int v = 0;
    for (const wchar_t* p = text; *p >= L'0' && *p <= L'9' && v < 100000000; ++p) v = v * 10 + (*p - L'0');
    return v;
}

// Text in the ANSI code page in at most `bytes` bytes, never cut inside a
// double-byte character.
std::string AnsiFit(const wchar_t* text, size_t bytes)
{
    std::string out;
    for (const wchar_t* p = text; *p;) {
        int units = (p[0] >= 0xD800 && p[0] <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) ? 2 : 1;
        char buf[8];
        int n = WideCharToMultiByte(CP_ACP, 0, p, units, buf, sizeof buf, nullptr, nullptr);
        if (n <= 0 || out.size() + n > bytes) break;
        out.append(buf, n);
        p += units;
    }
    return out;
}

CString FromAnsi(const BYTE* field, size_t width)
{
    size_t n = 0;
    while (n < width && field[n]) ++n;
    if (n == 0) return CString();
    wchar_t wide[64];
    int w = MultiByteToWideChar(CP_ACP, 0, (const char*)field, (int)n, wide, 64);
    return CString(wide, w > 0 ? w : 0);
}

void PutField(BYTE* field, size_t width, const std::string& text)
{
    memset(field, 0, width);
    memcpy(field, text.data(), text.size() < width ? text.size() : width);
}

void ResetRecord(BYTE* record)
{
    memset(record, 0, 128);
    memcpy(record, "TAG", 3);
}

bool PathUsable(const wchar_t* path)
{
    return path && wcslen(path) > 7;
}

// The ID3v2 header at the start of an open file; false when there is none.
bool ReadTagHeader(CFile& f, Id3v2Header& header)
{
    BYTE bytes[10];
    f.SeekToBegin();
    return f.Read(bytes, 10) == 10 && ParseId3v2Header(bytes, 10, header);
}

// The most of an ID3v2 tag that Open holds: a tag that claims more (a damaged
// or crafted size, or pictures of many MB) is read this far and the frames
// beyond are left out. Text frames come first in the tags writers make.
const uint64_t kMaxTagBytesHeld = 16u << 20;

// The first bytes of an open file: its ID3v2 tag (when it has one) as far as the
// file and kMaxTagBytesHeld allow, in one read for most files. False when the
// file gave fewer bytes than its length promised or the memory was not there.
bool ReadHead(CFile& f, LONGLONG length, std::vector<uint8_t>& head)
{
    const uint64_t firstRead = 16384;
    uint64_t want = (uint64_t)length < firstRead ? (uint64_t)length : firstRead;
    head.resize((size_t)want);
    if (f.Seek(0, CFile::begin) != 0) return false;
    size_t got = want ? f.Read(head.data(), (UINT)want) : 0;
    head.resize(got);
    if (got < want) return false;
    Id3v2Header header;
    if (!ParseId3v2Header(head.data(), head.size(), header)) return true;
    uint64_t needed = std::min<uint64_t>(header.TotalBytes(), 10 + kMaxTagBytesHeld);
    if (needed > (uint64_t)length) needed = (uint64_t)length;
    if (needed <= got) return true;
    try {
        head.resize((size_t)needed);
    } catch (const std::bad_alloc&) {
        head.resize(got);
        return false;
    }
    size_t more = f.Read(head.data() + got, (UINT)(needed - got));
    head.resize(got + more);
    return got + more == needed;
}

} // namespace

// What the scan sees of a file whose first bytes are in head: the sound after
// the ID3v2 tag, taken from head when it holds it, else read from the file on
// its own (never by holding the tag in between). whole is false when the file
// gave fewer bytes than its length promised.
CMp3Info::ScanInput CMp3Info::ReadScanInput(CFile& f, const std::vector<uint8_t>& head, LONGLONG length, bool& whole)
{
    ScanInput input;
    whole = true;
    input.riff = head.size() >= 4 && memcmp(head.data(), "RIFF", 4) == 0;
    Id3v2Header header;
    const uint64_t start = ParseId3v2Header(head.data(), head.size(), header) ? header.TotalBytes() : 0;
    input.noSound = start >= (uint64_t)length;
    if (input.noSound) return input;
    const uint64_t n = std::min<uint64_t>((uint64_t)length - start, kMpegScanBytes);
    if (start + n <= head.size()) {
        input.sound.assign(head.begin() + (size_t)start, head.begin() + (size_t)(start + n));
        return input;
    }
    input.sound.resize((size_t)n);
    const bool placed = f.Seek((LONGLONG)start, CFile::begin) == (LONGLONG)start;
    const size_t got = placed ? f.Read(input.sound.data(), (UINT)n) : 0;
    input.sound.resize(got);
    whole = got == n;
    return input;
}



CMp3Info::CMp3Info()
{
    Reset();
    v1Kind = v2Version = tagKind = 0;
    memset(v2Header, 0, sizeof v2Header);
}

void CMp3Info::Reset()
{
    ResetRecord(v1Record);
    ResetRecord(v11Record);
    for (FieldSet& s : fieldSets) s = FieldSet();
}

CMp3Info::FieldSet* CMp3Info::CurrentFieldSet()
{
    switch (v2Version) {
    case 220: return &fieldSets[0];
    case 230: return &fieldSets[1];
    case 240: return &fieldSets[2];
    default: return nullptr;
    }
}

BYTE* CMp3Info::CurrentRecord()
{
    return v1Kind == 100 ? v1Record : v1Kind == 110 ? v11Record : nullptr;
}

BOOL CMp3Info::Open(const wchar_t* p)
{
    Reset();
    m_keptScan = KeptScan();
    if (!PathUsable(p)) return FALSE;
    path = p;
    // Size and times are taken before the open: a change after this moment makes
    // ReadMpegInfo read the file again instead of what is kept here.
    WIN32_FILE_ATTRIBUTE_DATA stamp;
    bool stamped = GetFileAttributesExW(p, GetFileExInfoStandard, &stamp) != 0;
    if (!file.Open(p, CFile::modeRead | CFile::shareDenyNone)) return FALSE;
    const LONGLONG length = file.GetLength();
    std::vector<uint8_t> head;
    const bool headWhole = ReadHead(file, length, head);
    bool soundWhole = false;
    ScanInput scan = ReadScanInput(file, head, length, soundWhole);
    BOOL found = FALSE;
    if (length > 9) {
        BOOL v1 = ReadID3v1(length);
        BOOL v2 = ReadID3v2(head, length);
        found = v1 || v2;
    }
    file.Close();
    if (stamped && headWhole && soundWhole) KeepScanInput(scan, stamp);
    if (!found) v1Kind = 110;   // ready for a new ID3v1.1 tag
    return found;
}

BOOL CMp3Info::ReadID3v1(LONGLONG length)
{
    v1Kind = 0;
    // A file shorter than a tag has none.
    if (length < 128 || file.Seek(length - 128, CFile::begin) != length - 128) return FALSE;
    BYTE record[128];
    if (file.Read(record, 128) != 128 || memcmp(record, "TAG", 3) != 0) return FALSE;
    memcpy(v11Record, record, 128);
    v1Kind = 110;
    return TRUE;
}

BOOL CMp3Info::ReadID3v2(const std::vector<uint8_t>& head, LONGLONG length)
{
    v2Version = 0;
    Id3v2Header header;
    if (!ParseId3v2Header(head.data(), head.size(), header)) return FALSE;
    memcpy(v2Header, head.data(), 10);
    v2Version = header.major * 10 + 200;
    // Never more than the file holds, whatever the header claims.
    uint64_t body = header.size;
    if (body > (uint64_t)(length - 10)) body = (uint64_t)(length - 10);
    if (body > head.size() - 10) body = head.size() - 10;
    int savedKind = tagKind;
    tagKind = 2;
    WalkId3v2Frames(header, head.data() + 10, (size_t)body, [&](const std::string& id, const uint8_t* data, size_t size) {
        int field = FieldIdOf(v2Version, id);
        if (field == 0) return;
        int encoding = data[0];
        textEncoding = encoding == 0 ? 101 : encoding == 1 ? 102 : encoding == 3 ? 103 : 100;
        const uint8_t* text = data + 1;
        size_t textBytes = size - 1;
        if (field == 5) {
            // Comment: language code and short description come before the text.
            if (textBytes < 3) return;
            size_t used = 0;
            DecodeId3Text(encoding, text + 3, textBytes - 3, &used);
            text += 3 + used;
            textBytes -= 3 + used;
        }
        SetField(field, DecodeId3Text(encoding, text, textBytes).c_str());
    });
    tagKind = savedKind;
    return TRUE;
}

void CMp3Info::KeepScanInput(const ScanInput& input, const WIN32_FILE_ATTRIBUTE_DATA& stamp)
{
    m_keptScan.kept = true;
    m_keptScan.path = path.GetString();
    m_keptScan.stamp = stamp;
    m_keptScan.input = input;
}

const CMp3Info::ScanInput* CMp3Info::KeptScanFor(const wchar_t* p) const
{
    if (!m_keptScan.kept || !p || m_keptScan.path != p) return nullptr;
    // Looking up a file's size and times costs a small part of opening it.
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!GetFileAttributesExW(p, GetFileExInfoStandard, &now)) return nullptr;
    const WIN32_FILE_ATTRIBUTE_DATA& was = m_keptScan.stamp;
    const bool same = now.dwFileAttributes == was.dwFileAttributes && now.nFileSizeHigh == was.nFileSizeHigh &&
                      now.nFileSizeLow == was.nFileSizeLow && CompareFileTime(&now.ftLastWriteTime, &was.ftLastWriteTime) == 0 &&
                      CompareFileTime(&now.ftCreationTime, &was.ftCreationTime) == 0;
    return same ? &m_keptScan.input : nullptr;
}

BOOL CMp3Info::ScanInput::Verdict() const
{
    return !riff && !noSound && !sound.empty() && LooksLikeMpegAudio(sound.data(), sound.size());
}

BOOL CMp3Info::GetTitle(CString& title)
{
    if (tagKind == 1 && CurrentRecord()) {
        title = FromAnsi(CurrentRecord() + 3, 30);
        return TRUE;
    }
    if (tagKind == 2 && CurrentFieldSet()) {
        title = CurrentFieldSet()->title;
        return TRUE;
    }
    return FALSE;
}

BOOL CMp3Info::GetArtist(CString& artist)
{
    if (tagKind == 1 && CurrentRecord()) {
        artist = FromAnsi(CurrentRecord() + 33, 30);
        return TRUE;
    }
    if (tagKind == 2 && CurrentFieldSet()) {
        artist = CurrentFieldSet()->artist;
        return TRUE;
    }
    return FALSE;
}

BOOL CMp3Info::GetAlbum(CString& album)
{
    if (tagKind == 1 && CurrentRecord()) {
        album = FromAnsi(CurrentRecord() + 63, 30);
        return TRUE;
    }
    if (tagKind == 2 && CurrentFieldSet()) {
        album = CurrentFieldSet()->album;
        return TRUE;
    }
    return FALSE;
}

BOOL CMp3Info::GetYear(int& year)
{
    if (tagKind == 1 && CurrentRecord()) {
        char text[5] = {};
        memcpy(text, CurrentRecord() + 93, 4);
        year = atoi(text);
        return TRUE;
    }
    if (tagKind == 2 && CurrentFieldSet()) {
        year = CurrentFieldSet()->year;
        return TRUE;
    }
    return FALSE;
}

BOOL CMp3Info::SetTitle(const wchar_t* title, const wchar_t* suffix)
{
    if (!title) return FALSE;
    if (tagKind == 1 && CurrentRecord()) {
        std::wstring t = title;
        if (v1Kind == 110 && t.size() > 30) t = t.substr(0, 28) + (suffix ? suffix : L"");
        PutField(CurrentRecord() + 3, 30, AnsiFit(t.c_str(), 30));
        return TRUE;
    }
    if (tagKind == 2 && CurrentFieldSet()) {
        CurrentFieldSet()->title = title;
        return TRUE;
    }
    return FALSE;
}

BOOL CMp3Info::SetAlbum(const wchar_t* album)
{
    if (!album) return FALSE;
    if (tagKind == 1 && CurrentRecord()) {
        PutField(CurrentRecord() + 63, 30, AnsiFit(album, 30));
        return TRUE;
    }
    if (tagKind == 2 && CurrentFieldSet()) {
        CurrentFieldSet()->album = album;
        return TRUE;
    }
    return FALSE;
}

BOOL CMp3Info::SetYear(int year)
{
    if (year > 9999 || year < 0) return FALSE;
    if (tagKind == 1 && CurrentRecord()) {
        char text[8];
        int n = snprintf(text, sizeof text, "%d", year);
        BYTE* field = CurrentRecord() + 93;
        memset(field, 0, 4);
        memcpy(field, text, n);
        return TRUE;
    }
    if (tagKind == 2 && CurrentFieldSet()) {
        CurrentFieldSet()->year = year;
        return TRUE;
    }
    return FALSE;
}

BOOL CMp3Info::SetGenre(int genre)
{
    if (tagKind == 1 && CurrentRecord()) {
        CurrentRecord()[127] = (BYTE)(genre & 0xFF);
        return TRUE;
    }
    if (tagKind == 2 && CurrentFieldSet()) {
        CurrentFieldSet()->genre = genre;
        return TRUE;
    }
    return FALSE;
}

BOOL CMp3Info::SetField(int id, const wchar_t* text)
{
    FieldSet* set = CurrentFieldSet();
    if (tagKind != 2 || !set || !text) return FALSE;
    switch (id) {
    case 1: set->title = text; break;
    case 2: set->track = LeadingNumber(text); break;
    case 3: set->artist = text; break;
    case 4: set->album = text; break;
    case 5: set->comment = text; break;
    case 6: set->year = LeadingNumber(text); break;
    case 7: set->genre = LeadingNumber(text); break;
    case 8: set->composer = text; break;
    case 9: set->encoder = text; break;
    case 10: set->lyricist = text; break;
    case 11: set->language = text; break;
    default: return FALSE;
    }
    return TRUE;
}

BOOL CMp3Info::ConvertToID3v1(int kind)
{
    if (tagKind == 1) return v1Kind == 100 || v1Kind == 110;
    FieldSet* set = CurrentFieldSet();
    if (tagKind != 2 || !set) return FALSE;
    if (kind == 220) return TRUE;
    if (kind != 110) return FALSE;
    ResetRecord(v11Record);
    PutField(v11Record + 3, 30, AnsiFit(set->title, 29));
    PutField(v11Record + 33, 30, AnsiFit(set->artist, 29));
    PutField(v11Record + 63, 30, AnsiFit(set->album, 29));
    if (set->year > 0) {
        char text[16];
        snprintf(text, sizeof text, "%d", set->year);
        memcpy(v11Record + 93, text, strlen(text) < 4 ? strlen(text) : 4);
    }
    PutField(v11Record + 97, 28, AnsiFit(set->comment, 27));
    v11Record[125] = 0;
    v11Record[126] = (BYTE)set->track;
    v11Record[127] = (BYTE)set->genre;
    v1Kind = 110;
    return TRUE;
}

BOOL CMp3Info::WriteID3v1()
{
    if (!PathUsable(path)) return FALSE;
    if (tagKind != 1) return TRUE;
    BYTE* record = CurrentRecord();
    if (!record) return FALSE;
    m_keptScan.kept = false;   // the file changes here
    CFile out;
    if (!out.Open(path, CFile::modeReadWrite | CFile::shareDenyNone)) return FALSE;   // never created here
    LONGLONG length = out.GetLength();
    BOOL overwrite = FALSE;
    if (length >= 128) {
        BYTE head[3];
        out.Seek(length - 128, CFile::begin);
        overwrite = out.Read(head, 3) == 3 && memcmp(head, "TAG", 3) == 0;
    }
    out.Seek(overwrite ? length - 128 : length, CFile::begin);
    BOOL ok = out.Write(record, 128);
    out.Close();
    return ok;
}

BOOL CMp3Info::StripID3v2(const wchar_t* src, const wchar_t* dst)
{
    CString source = (src && *src) ? CString(src) : path;
    if (!dst || GetFileAttributesW(source) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesW(dst) != INVALID_FILE_ATTRIBUTES)
        return FALSE;
    path = dst;
    if (!PathUsable(source)) return FALSE;
    CFile in;
    if (!in.Open(source, CFile::modeRead | CFile::shareDenyNone)) return FALSE;
    LONGLONG length = in.GetLength();
    // The source's own tag, not the one the last Open read.
    Id3v2Header header;
    LONGLONG tagEnd = ReadTagHeader(in, header) ? (LONGLONG)header.TotalBytes() : 0;
    if (tagEnd > length) tagEnd = length;
    // The sound begins at the first of two frame headers in a row after the tag.
    LONGLONG start = tagEnd;
    const size_t kSearch = 20480;
    std::vector<uint8_t> look(kSearch + 8192);
    in.Seek(tagEnd, CFile::begin);
    size_t got = in.Read(look.data(), (UINT)look.size());
    for (size_t i = 0; i < kSearch && i + 4 <= got; ++i) {
        MpegFrameHeader first, second;
        if (!ParseMpegFrameHeader(&look[i], got - i, first)) continue;
        size_t next = i + first.frameBytes;
        if (next + 4 <= got && ParseMpegFrameHeader(&look[next], got - next, second) &&
            second.version == first.version && second.layer == first.layer &&
            second.sampleRate == first.sampleRate) {
            start = tagEnd + (LONGLONG)i;
            break;
        }
    }
    CFile out;
    if (!out.Open(dst, CFile::modeWrite | CFile::modeCreate | CFile::shareDenyWrite)) return FALSE;
    BOOL ok = in.Seek(start, CFile::begin) == start;
    std::vector<uint8_t> block(1 << 20);
    for (LONGLONG left = length - start; ok && left > 0;) {
        UINT n = in.Read(block.data(), (UINT)(left < (LONGLONG)block.size() ? left : (LONGLONG)block.size()));
        if (n == 0) { ok = FALSE; break; }
        ok = out.Write(block.data(), n);
        left -= n;
    }
    out.Close();
    if (!ok) DeleteFileW(dst);
    return ok;
}

BOOL CMp3Info::ReadMpegInfo(const wchar_t* p)
{
    // Right after Open of the same unchanged file, its bytes are at hand.
    if (const ScanInput* kept = KeptScanFor(p)) return kept->Verdict();
    CFile in;
    if (!p || !in.Open(p, CFile::modeRead | CFile::shareDenyNone)) return FALSE;
    ScanInput input;
    BYTE head[512] = {};
    UINT n = in.Read(head, sizeof head);
    input.riff = n >= 4 && memcmp(head, "RIFF", 4) == 0;
    if (input.riff) return FALSE;
    // The scan looks at the sound, after any ID3v2 tag (pictures can fill many KB).
    Id3v2Header header;
    LONGLONG start = ParseId3v2Header(head, n, header) ? (LONGLONG)header.TotalBytes() : 0;
    input.noSound = start >= in.GetLength();
    if (input.noSound || in.Seek(start, CFile::begin) != start) return FALSE;
    input.sound.resize(kMpegScanBytes);
    input.sound.resize(in.Read(input.sound.data(), (UINT)input.sound.size()));
    return input.Verdict();
}

BOOL CMp3Info::CanRender(const wchar_t* p)
{
    HRESULT init = CoInitialize(nullptr);
    BOOL ok = FALSE;
    IGraphBuilder* graph = nullptr;
    if (p && SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                        (void**)&graph))) {
        ok = SUCCEEDED(graph->RenderFile(p, nullptr));
        graph->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return ok;
}
