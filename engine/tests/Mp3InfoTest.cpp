// CMp3Info on tags built here byte by byte, on files tagged by mutagen (made by the
// native input step), and on damaged tags; the MPEG frame scan on made-up streams
// and real files.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>
#include "Id3v2Walk.h"
#include "Mp3FileCheck.h"
#include "Mp3Info.h"
#include "MpegFrameRun.h"
#include "MpegScan.h"
#include "TestSignal.h"

using namespace testsignal;

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, const void* p, size_t n)
{
    b.insert(b.end(), (const uint8_t*)p, (const uint8_t*)p + n);
}

void PutSyncSafe(Bytes& b, uint32_t v)
{
    for (int s = 21; s >= 0; s -= 7) b.push_back((uint8_t)((v >> s) & 0x7F));
}

void PutBigEndian(Bytes& b, uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) b.push_back((uint8_t)(v >> (8 * i)));
}

// Text in an ID3 encoding: 0 Latin-1, 1 UTF-16 with the given byte-order mark, 2 UTF-16BE, 3 UTF-8.
Bytes EncodeText(int encoding, const std::wstring& text, bool littleEndian = true)
{
    Bytes b{(uint8_t)encoding};
    if (encoding == 0) {
        for (wchar_t c : text) b.push_back((uint8_t)c);
    } else if (encoding == 1 || encoding == 2) {
        bool le = encoding == 1 && littleEndian;
        if (encoding == 1) {
            b.push_back(le ? 0xFF : 0xFE);
            b.push_back(le ? 0xFE : 0xFF);
        }
        for (wchar_t c : text) {
            if (le) { b.push_back((uint8_t)c); b.push_back((uint8_t)(c >> 8)); }
            else { b.push_back((uint8_t)(c >> 8)); b.push_back((uint8_t)c); }
        }
    } else {
        char utf8[1024];
        int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), utf8, sizeof utf8, nullptr, nullptr);
        Put(b, utf8, n);
    }
    return b;
}

struct Frame {
    std::string id;
    Bytes data;
    uint8_t formatFlags = 0;
};

Bytes Frame2(const Frame& f, int major)
{
    Bytes b;
    Put(b, f.id.data(), f.id.size());
    if (major == 2) PutBigEndian(b, (uint32_t)f.data.size(), 3);
    else if (major == 3) PutBigEndian(b, (uint32_t)f.data.size(), 4);
    else PutSyncSafe(b, (uint32_t)f.data.size());
    if (major > 2) {
        b.push_back(0);
        b.push_back(f.formatFlags);
    }
    Put(b, f.data.data(), f.data.size());
    return b;
}

// An ID3v2 tag of the version with the frames and some padding.
Bytes Tag(int major, const std::vector<Frame>& frames, size_t padding = 64, uint8_t flags = 0, const Bytes& extended = {})
{
    Bytes body = extended;
    for (const Frame& f : frames) {
        Bytes fb = Frame2(f, major);
        Put(body, fb.data(), fb.size());
    }
    body.resize(body.size() + padding, 0);
    Bytes tag{'I', 'D', '3', (uint8_t)major, 0, flags};
    PutSyncSafe(tag, (uint32_t)body.size());
    Put(tag, body.data(), body.size());
    return tag;
}

// Identical 417-byte frames: MPEG-1 Layer III, 128 kbps, 44100 Hz, no padding, stereo.
Bytes Frames(int count, uint8_t second = 0xFB)
{
    Bytes b;
    for (int i = 0; i < count; ++i) {
        size_t at = b.size();
        b.resize(at + 417, 0x55);
        b[at] = 0xFF;
        b[at + 1] = second;
        b[at + 2] = 0x90;
        b[at + 3] = 0x00;
    }
    return b;
}

std::wstring WriteFile(const wchar_t* name, const Bytes& bytes)
{
    std::wstring path = TempPath(name);
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

Bytes ReadAll(const std::wstring& path)
{
    Bytes b;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return b;
    uint8_t buf[65536];
    for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) Put(b, buf, n);
    fclose(f);
    return b;
}

std::vector<Frame> TextFrames(int major, int encoding, const std::wstring& title, bool littleEndian = true)
{
    bool v2 = major == 2;
    return {
        {v2 ? "TT2" : "TIT2", EncodeText(encoding, title, littleEndian)},
        {v2 ? "TP1" : "TPE1", EncodeText(encoding, L"The Artist", littleEndian)},
        {v2 ? "TAL" : "TALB", EncodeText(encoding, L"An Album", littleEndian)},
        {v2 ? "TRK" : "TRCK", EncodeText(encoding, L"7/12", littleEndian)},
        {v2 ? "TCO" : "TCON", EncodeText(encoding, L"(17)", littleEndian)},
        {v2 ? "TYE" : major == 3 ? "TYER" : "TDRC", EncodeText(encoding, major == 4 ? L"2006-05-01" : L"2006", littleEndian)},
    };
}

struct EncodingCase {
    int major, encoding;
    bool littleEndian;
};

class Id3v2Encodings : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(Id3v2Encodings, FieldsComeBackAsWideText)
{
    const EncodingCase& c = GetParam();
    std::wstring title = c.encoding == 0 ? L"Caf\u00e9 \u00c5\u00ff" : L"Caf\u00e9 \u65e5\u672c \u0416";
    Bytes file = Tag(c.major, TextFrames(c.major, c.encoding, title, c.littleEndian));
    Bytes sound = Frames(20);
    Put(file, sound.data(), sound.size());
    std::wstring path = WriteFile(L"id3enc.mp3", file);
    CMp3Info info;
    ASSERT_TRUE(info.Open(path.c_str()));
    EXPECT_EQ(info.v2Version, c.major * 10 + 200);
    EXPECT_EQ(info.v1Kind, 0);
    info.tagKind = 2;
    CString text;
    ASSERT_TRUE(info.GetTitle(text));
    EXPECT_EQ(std::wstring(text.GetString()), title);
    ASSERT_TRUE(info.GetArtist(text));
    EXPECT_STREQ(text.GetString(), L"The Artist");
    ASSERT_TRUE(info.GetAlbum(text));
    EXPECT_STREQ(text.GetString(), L"An Album");
    int year = 0;
    ASSERT_TRUE(info.GetYear(year));
    EXPECT_EQ(year, 2006);
    const CMp3Info::FieldSet& set = info.fieldSets[c.major - 2];
    EXPECT_EQ(set.track, 7);
    EXPECT_EQ(set.genre, 0);   // "(17)" has no number at its start
    DeleteFileW(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Table, Id3v2Encodings,
                         ::testing::Values(EncodingCase{2, 0, true}, EncodingCase{2, 1, true}, EncodingCase{2, 1, false},
                                           EncodingCase{3, 0, true}, EncodingCase{3, 1, true}, EncodingCase{3, 1, false},
                                           EncodingCase{4, 0, true}, EncodingCase{4, 1, true}, EncodingCase{4, 1, false},
                                           EncodingCase{4, 2, true}, EncodingCase{4, 3, true}),
                         [](const ::testing::TestParamInfo<EncodingCase>& i) {
                             return "v2" + std::to_string(i.param.major) + "_enc" + std::to_string(i.param.encoding) +
                                    (i.param.littleEndian ? "" : "_be");
                         });

TEST(Mp3Info, OnlyAnId3v23TagGetsAnId3v11TagAppended)
{
    Bytes file = Tag(3, TextFrames(3, 0, L"Converted Title"));
    Bytes sound = Frames(10);
    Put(file, sound.data(), sound.size());
    std::wstring path = WriteFile(L"v23only.mp3", file);
    CMp3Info info;
    ASSERT_TRUE(info.Open(path.c_str()));
    EXPECT_EQ(info.v2Version, 230);
    EXPECT_EQ(info.v1Kind, 0);
    info.tagKind = 2;
    ASSERT_TRUE(info.ConvertToID3v1(110));
    info.tagKind = 1;
    ASSERT_TRUE(info.WriteID3v1());
    Bytes after = ReadAll(path);
    ASSERT_EQ(after.size(), file.size() + 128);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), after.begin()));
    const uint8_t* v1 = after.data() + file.size();
    EXPECT_EQ(memcmp(v1, "TAG", 3), 0);
    EXPECT_STREQ((const char*)v1 + 3, "Converted Title");
    EXPECT_EQ(memcmp(v1 + 93, "2006", 4), 0);
    EXPECT_EQ(v1[125], 0);
    EXPECT_EQ(v1[126], 7);
    DeleteFileW(path.c_str());
}

TEST(Mp3Info, AnExistingId3v1TagIsRewrittenInPlace)
{
    Bytes file = Frames(10);
    Bytes v1(128, 0);
    memcpy(v1.data(), "TAGOld title", 12);
    Put(file, v1.data(), v1.size());
    std::wstring path = WriteFile(L"hasv1.mp3", file);
    CMp3Info info;
    ASSERT_TRUE(info.Open(path.c_str()));
    EXPECT_EQ(info.v1Kind, 110);
    info.tagKind = 1;
    CString title;
    ASSERT_TRUE(info.GetTitle(title));
    EXPECT_STREQ(title.GetString(), L"Old title");
    ASSERT_TRUE(info.SetYear(2006));
    EXPECT_FALSE(info.SetYear(10000));
    ASSERT_TRUE(info.SetTitle(L"A title of thirty-five characters!!", L"03"));
    ASSERT_TRUE(info.SetAlbum(L"Album"));
    ASSERT_TRUE(info.SetGenre(255));
    ASSERT_TRUE(info.WriteID3v1());
    Bytes after = ReadAll(path);
    ASSERT_EQ(after.size(), file.size());
    const uint8_t* tag = after.data() + after.size() - 128;
    EXPECT_EQ(std::string((const char*)tag + 3, 30), std::string("A title of thirty-five chara03"));
    EXPECT_EQ(std::string((const char*)tag + 93, 4), "2006");
    EXPECT_NE(tag[97], '\0' + 1);   // no terminator written after the year's four characters
    EXPECT_EQ(tag[127], 255);
    DeleteFileW(path.c_str());
}

TEST(Mp3Info, FilesShorterThanATagHaveNoId3v1AndGetOneAppended)
{
    Bytes file(100, 0x11);
    memcpy(file.data(), "TAG", 3);   // at the start of a 100-byte file, not a tag
    std::wstring path = WriteFile(L"short.mp3", file);
    CMp3Info info;
    EXPECT_FALSE(info.Open(path.c_str()));
    EXPECT_EQ(info.v1Kind, 110);   // ready for a new tag
    info.tagKind = 1;
    ASSERT_TRUE(info.SetTitle(L"Short", L""));
    ASSERT_TRUE(info.WriteID3v1());
    Bytes after = ReadAll(path);
    ASSERT_EQ(after.size(), 228u);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), after.begin()));
    EXPECT_EQ(memcmp(after.data() + 100, "TAGShort", 8), 0);
    DeleteFileW(path.c_str());
}

TEST(Mp3Info, AnsiFieldsAreNeverCutInsideADoubleByteCharacter)
{
    // In the code page 1252 every character is one byte; the cut is at 30 bytes.
    CMp3Info info;
    info.v1Kind = 110;
    info.tagKind = 1;
    ASSERT_TRUE(info.SetAlbum(L"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"
                              L"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9xyz"));
    EXPECT_EQ(info.v11Record[63], 0xE9);
    EXPECT_EQ(info.v11Record[92], 0xE9);
    EXPECT_EQ(info.v11Record[93], 0);   // the year field is untouched
}

TEST(Mp3Info, CommentsFramesAndTagOptions)
{
    // A COMM frame: language, description, then the comment itself.
    Bytes comm = EncodeText(0, L"");
    comm.resize(1);
    Put(comm, "engdesc\0the comment", 19);
    Frame compressed{"TALB", EncodeText(0, L"hidden"), 0x80};
    Bytes ext;
    PutBigEndian(ext, 6, 4);
    ext.resize(10, 0);
    Bytes file = Tag(3, {{"TIT2", EncodeText(0, L"Title")}, {"COMM", comm}, compressed}, 16, 0x40, ext);
    Bytes sound = Frames(5);
    Put(file, sound.data(), sound.size());
    std::wstring path = WriteFile(L"options.mp3", file);
    CMp3Info info;
    ASSERT_TRUE(info.Open(path.c_str()));
    EXPECT_STREQ(info.fieldSets[1].title.GetString(), L"Title");
    EXPECT_STREQ(info.fieldSets[1].comment.GetString(), L"the comment");
    EXPECT_STREQ(info.fieldSets[1].album.GetString(), L"");   // compressed frames are left out
    DeleteFileW(path.c_str());
}

TEST(Mp3Info, UnsynchronisationIsUndone)
{
    // A Latin-1 title with 0xFF followed by a byte that would look like a sync: stored as FF 00 E0.
    Bytes raw = {0, 'A', 0xFF, 0xE0, 'B'};
    Bytes stored = {0, 'A', 0xFF, 0x00, 0xE0, 'B'};
    Bytes v23 = Tag(3, {{"TIT2", stored}}, 8, 0x80);
    // In 2.3 the frame size counts the resynchronised bytes.
    v23[10 + 7] = (uint8_t)raw.size();
    Put(v23, Frames(3).data(), 3 * 417);
    std::wstring path = WriteFile(L"unsync.mp3", v23);
    CMp3Info info;
    ASSERT_TRUE(info.Open(path.c_str()));
    EXPECT_EQ(std::wstring(info.fieldSets[1].title.GetString()), std::wstring(L"A\u00ff\u00e0B"));
    Bytes v24 = Tag(4, {{"TIT2", stored, 0x02}});
    Put(v24, Frames(3).data(), 3 * 417);
    path = WriteFile(L"unsync.mp3", v24);
    CMp3Info info4;
    ASSERT_TRUE(info4.Open(path.c_str()));
    EXPECT_EQ(std::wstring(info4.fieldSets[2].title.GetString()), std::wstring(L"A\u00ff\u00e0B"));
    DeleteFileW(path.c_str());
}

TEST(Mp3Info, StripCopiesFromTheTagsEndAndKeepsAnExistingDestination)
{
    // A 2048-byte tag whose picture holds FF FB, then the sound.
    Bytes picture(1900, 0x20);
    picture[100] = 0xFF;
    picture[101] = 0xFB;
    Bytes apic = {0};
    Put(apic, "image/png\0\x03\0", 12);
    Put(apic, picture.data(), picture.size());
    Bytes tag = Tag(3, {{"TIT2", EncodeText(0, L"x")}, {"APIC", apic}}, 0);
    size_t padding = 2048 - (tag.size() - 10);
    tag = Tag(3, {{"TIT2", EncodeText(0, L"x")}, {"APIC", apic}}, padding);
    ASSERT_EQ(tag.size(), 2058u);
    Bytes sound = Frames(30);
    Bytes file = tag;
    Put(file, sound.data(), sound.size());
    std::wstring src = WriteFile(L"strip_src.mp3", file);
    std::wstring dst = TempPath(L"strip_dst.mp3");
    DeleteFileW(dst.c_str());
    CMp3Info info;
    ASSERT_TRUE(info.Open(src.c_str()));
    ASSERT_TRUE(info.StripID3v2(src.c_str(), dst.c_str()));
    EXPECT_STREQ(info.path.GetString(), dst.c_str());
    Bytes copy = ReadAll(dst);
    EXPECT_EQ(copy.size(), file.size() - 2058);
    EXPECT_EQ(copy, sound);
    // An existing destination is left as it is.
    WriteFile(L"strip_dst.mp3", Bytes{'k', 'e', 'e', 'p'});
    CMp3Info again;
    EXPECT_FALSE(again.StripID3v2(src.c_str(), dst.c_str()));
    EXPECT_EQ(ReadAll(dst), (Bytes{'k', 'e', 'e', 'p'}));
    // Junk after the tag: the sound begins at the first two frames in a row.
    Bytes junky = tag;
    Put(junky, "\xFF\xFB\x90\x00junk", 8);
    Put(junky, sound.data(), sound.size());
    src = WriteFile(L"strip_src.mp3", junky);
    DeleteFileW(dst.c_str());
    CMp3Info third;
    ASSERT_TRUE(third.StripID3v2(src.c_str(), dst.c_str()));
    EXPECT_EQ(ReadAll(dst), sound);
    DeleteFileW(src.c_str());
    DeleteFileW(dst.c_str());
}

TEST(Mp3Info, AWrongTagSizeReadsNothingPastTheFile)
{
    // The header claims 256 MB on a file of a few hundred bytes.
    Bytes file = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
    Bytes frame = Frame2({"TIT2", EncodeText(0, L"Still read")}, 3);
    Put(file, frame.data(), frame.size());
    std::wstring path = WriteFile(L"hugesize.mp3", file);
    CMp3Info info;
    ASSERT_TRUE(info.Open(path.c_str()));
    EXPECT_STREQ(info.fieldSets[1].title.GetString(), L"Still read");
    DeleteFileW(path.c_str());
}

// A tag that claims more than Open holds (here a 20 MB picture-sized frame) is
// read only so far: the frames before the bound are read, the one after it is
// not, and the frame scan still finds the sound after the whole tag.
TEST(Mp3Info, ATagIsHeldOnlyUpToABoundAndTheSoundIsScannedAfterIt)
{
    const uint32_t bigFrame = 20u << 20;
    Bytes early = Frame2({"TALB", EncodeText(0, L"Early album")}, 3);
    Bytes late = Frame2({"TIT2", EncodeText(0, L"Late title")}, 3);
    const uint32_t body = (uint32_t)early.size() + 10 + bigFrame + (uint32_t)late.size() + 64;
    Bytes head = {'I', 'D', '3', 3, 0, 0};
    PutSyncSafe(head, body);
    Put(head, early.data(), early.size());
    Put(head, "PRIV", 4);
    PutBigEndian(head, bigFrame, 4);
    head.push_back(0);
    head.push_back(0);
    Bytes tail = late;
    tail.resize(tail.size() + 64, 0);
    Bytes sound = Frames(12);
    Put(tail, sound.data(), sound.size());
    // The big frame's data is left as a gap of zeros: written at once, even here.
    std::wstring path = TempPath(L"bigtag.mp3");
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_TRUE(f);
    fwrite(head.data(), 1, head.size(), f);
    fseek(f, (long)(head.size() + bigFrame), SEEK_SET);
    fwrite(tail.data(), 1, tail.size(), f);
    fclose(f);

    CMp3Info info;
    ASSERT_TRUE(info.Open(path.c_str()));
    EXPECT_EQ(230, info.v2Version);
    EXPECT_STREQ(L"Early album", info.fieldSets[1].album.GetString());
    EXPECT_STREQ(L"", info.fieldSets[1].title.GetString()) << "the tag was read past the bound";
    EXPECT_TRUE(info.ReadMpegInfo(path.c_str())) << "the sound after the tag is not found after Open";
    EXPECT_TRUE(CMp3Info().ReadMpegInfo(path.c_str())) << "the sound after the tag is not found";
    DeleteFileW(path.c_str());
}

// A buffer that ends right at an inaccessible page: any read past its end faults.
class GuardedBytes {
public:
    explicit GuardedBytes(const Bytes& bytes)
    {
        size_t pages = (bytes.size() + 4095) / 4096 + 1;
        m_base = (uint8_t*)VirtualAlloc(nullptr, pages * 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(m_base + (pages - 1) * 4096, 4096, PAGE_NOACCESS, &old);
        m_data = m_base + (pages - 1) * 4096 - bytes.size();
        memcpy(m_data, bytes.data(), bytes.size());
    }
    ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    const uint8_t* Data() const { return m_data; }

private:
    uint8_t* m_base;
    uint8_t* m_data;
};

TEST(Mp3Info, TenThousandDamagedTagsAreWalkedWithinTheirBytes)
{
    std::mt19937 random(20261211);
    std::vector<Bytes> seeds;
    for (int major = 2; major <= 4; ++major) {
        seeds.push_back(Tag(major, TextFrames(major, 1, L"Seed \u00e9")));
        seeds.push_back(Tag(major, TextFrames(major, 3, L"UTF-8 seed"), 0, 0x40 | 0x80,
                            major == 3 ? Bytes{0, 0, 0, 6, 0, 0, 0, 0, 0, 0} : Bytes{0, 0, 0, 6, 1, 0}));
    }
    size_t frames = 0;
    for (int i = 0; i < 10000; ++i) {
        Bytes tag = seeds[i % seeds.size()];
        int damage = 1 + random() % 8;
        for (int d = 0; d < damage; ++d) tag[random() % tag.size()] = (uint8_t)random();
        if (random() % 4 == 0) tag.resize(random() % tag.size());
        GuardedBytes guarded(tag);
        Id3v2Header header;
        if (!ParseId3v2Header(guarded.Data(), tag.size(), header)) continue;
        WalkId3v2Frames(header, guarded.Data() + 10, tag.size() - 10,
                        [&](const std::string&, const uint8_t* data, size_t size) {
                            ++frames;
                            for (int enc = 0; enc < 4; ++enc) DecodeId3Text(enc, data, size);
                        });
    }
    EXPECT_GT(frames, 10000u);
    // The same through files: Open never fails hard and never reads past the file,
    // and the scan right after it (from the bytes Open read) says what a scan of
    // the file alone says.
    int mpeg = 0;
    for (int i = 0; i < 300; ++i) {
        Bytes tag = seeds[i % seeds.size()];
        for (int d = 0; d < 4; ++d) tag[random() % tag.size()] = (uint8_t)random();
        if (i % 2) Put(tag, Frames(12).data(), 12 * 417);
        std::wstring path = WriteFile(L"damaged.mp3", tag);
        CMp3Info info;
        info.Open(path.c_str());
        BOOL afterOpen = info.ReadMpegInfo(path.c_str());
        EXPECT_EQ(afterOpen, CMp3Info().ReadMpegInfo(path.c_str())) << "file " << i;
        mpeg += afterOpen ? 1 : 0;
    }
    EXPECT_GT(mpeg, 50);
    DeleteFileW(TempPath(L"damaged.mp3").c_str());
}

TEST(MpegScan, ThePartsCases)
{
    // A stream of identical 417-byte frames is found on the 0xFB pass.
    Bytes stream = Frames(12);
    EXPECT_FALSE(ScanMpegHeaders(stream.data(), stream.size(), 0xFA));
    EXPECT_TRUE(ScanMpegHeaders(stream.data(), stream.size(), 0xFB));
    // Six headers are not enough: the seventh completes the series.
    EXPECT_FALSE(ScanMpegHeaders(stream.data(), 6 * 417, 0xFB));
    EXPECT_TRUE(ScanMpegHeaders(stream.data(), 7 * 417, 0xFB));
    Bytes zeros(8192, 0);
    EXPECT_FALSE(LooksLikeMpegAudio(zeros.data(), zeros.size()));
    Bytes bad = Frames(12);
    bad[2] = 0xF0;   // bitrate index 15 in the first header
    EXPECT_FALSE(ScanMpegHeaders(bad.data(), bad.size(), 0xFB));
}

// The quick test before the platform is asked about a file named MP3: frames
// of changing bitrate (variable-bitrate files) pass, as do frames after junk;
// random bytes, zeros and a run cut short do not.
TEST(MpegFrameRun, VariableBitratesPassRandomBytesDoNot)
{
    Bytes vbr;
    const uint8_t bitrateIndexes[] = {9, 11, 5, 14, 9, 7};   // 128, 192, 64, 320, 128, 96 kbit/s
    for (uint8_t index : bitrateIndexes) {
        const size_t at = vbr.size();
        const int kbps[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
        vbr.resize(at + 144 * 1000 * kbps[index] / 44100, 0x33);
        vbr[at] = 0xFF; vbr[at + 1] = 0xFB; vbr[at + 2] = (uint8_t)(index << 4); vbr[at + 3] = 0x40;
    }
    EXPECT_TRUE(HasMpegFrameRun(vbr.data(), vbr.size()));
    EXPECT_FALSE(LooksLikeMpegAudio(vbr.data(), vbr.size())) << "the wizard's stricter scan";
    Bytes afterJunk(3000, 0xFF);
    Put(afterJunk, vbr.data(), vbr.size());
    EXPECT_TRUE(HasMpegFrameRun(afterJunk.data(), afterJunk.size()));
    EXPECT_FALSE(HasMpegFrameRun(vbr.data(), 417 + 626 + 208 + 3)) << "three frames are no run";
    Bytes zeros(100000, 0);
    EXPECT_FALSE(HasMpegFrameRun(zeros.data(), zeros.size()));
    std::mt19937 random(27);
    for (int i = 0; i < 200; ++i) {
        Bytes noise(70000);
        for (uint8_t& b : noise) b = (uint8_t)random();
        ASSERT_FALSE(HasMpegFrameRun(noise.data(), noise.size())) << "noise " << i;
    }
    // Files: the sound after an ID3v2 tag is looked at.
    Bytes tagged = Tag(3, {{"TIT2", EncodeText(0, L"x")}});
    Put(tagged, vbr.data(), vbr.size());
    std::wstring path = WriteFile(L"vbrrun.mp3", tagged);
    EXPECT_TRUE(FileHasMpegFrameRun(path.c_str()));
    DeleteFileW(path.c_str());
    EXPECT_FALSE(FileHasMpegFrameRun(path.c_str()));
}

TEST(MpegScan, FilesWavTagsAndLimits)
{
    CMp3Info info;
    Bytes riff = {'R', 'I', 'F', 'F'};
    Put(riff, Frames(12).data(), 12 * 417);
    std::wstring path = WriteFile(L"scan.mp3", riff);
    EXPECT_FALSE(info.ReadMpegInfo(path.c_str()));
    // The sound after a 30 KB tag is found (the scan starts after the tag).
    Bytes tagged = Tag(3, {{"APIC", Bytes(30000, 0x20)}});
    Put(tagged, Frames(12).data(), 12 * 417);
    path = WriteFile(L"scan.mp3", tagged);
    EXPECT_TRUE(info.ReadMpegInfo(path.c_str()));
    // Frames that begin only after the first 10000 bytes of sound are not looked for.
    Bytes late(12000, 0);
    Put(late, Frames(12).data(), 12 * 417);
    path = WriteFile(L"scan.mp3", late);
    EXPECT_FALSE(info.ReadMpegInfo(path.c_str()));
    EXPECT_FALSE(info.ReadMpegInfo(TempPath(L"no such file.mp3").c_str()));
    DeleteFileW(path.c_str());
}

void SetWriteTime(const std::wstring& path, const FILETIME& time)
{
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFileTime(h, nullptr, nullptr, &time);
    CloseHandle(h);
}

FILETIME WriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

FILETIME SecondsLater(FILETIME t, int seconds)
{
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    v.QuadPart += (ULONGLONG)seconds * 10000000;
    return {v.LowPart, v.HighPart};
}

// The scan right after Open uses the bytes Open read only while the file is the
// one Open saw: a file rewritten, replaced or removed in between is looked at anew.
struct ChangeCase {
    const char* name;
    bool mpegAtOpen;
    enum { Unchanged, SameSizeLater, OtherSize, Removed, OtherPath } change;
    bool expected;
};

class ScanAfterOpen : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ScanAfterOpen, SeesTheFileAsItIsNow)
{
    const ChangeCase& c = GetParam();
    Bytes mpeg = Tag(3, TextFrames(3, 0, L"Kept"));
    Put(mpeg, Frames(12).data(), 12 * 417);
    const Bytes zeros(mpeg.size(), 0);
    std::wstring path = WriteFile(L"changing.mp3", c.mpegAtOpen ? mpeg : zeros);
    std::wstring other = WriteFile(L"other.mp3", c.mpegAtOpen ? zeros : mpeg);
    CMp3Info info;
    info.Open(path.c_str());
    const FILETIME opened = WriteTime(path);
    std::wstring scanned = path;
    switch (c.change) {
    case ChangeCase::Unchanged: break;
    case ChangeCase::SameSizeLater:
        // Other bytes of the same length; the write time moves on as any write moves it.
        WriteFile(L"changing.mp3", c.mpegAtOpen ? zeros : mpeg);
        SetWriteTime(path, SecondsLater(opened, 2));
        break;
    case ChangeCase::OtherSize: {
        Bytes riff = {'R', 'I', 'F', 'F'};
        Put(riff, mpeg.data(), mpeg.size());
        WriteFile(L"changing.mp3", c.mpegAtOpen ? riff : Frames(30));
        break;
    }
    case ChangeCase::Removed: DeleteFileW(path.c_str()); break;
    case ChangeCase::OtherPath: scanned = other; break;
    }
    EXPECT_EQ(info.ReadMpegInfo(scanned.c_str()), c.expected ? TRUE : FALSE);
    DeleteFileW(path.c_str());
    DeleteFileW(other.c_str());
}

INSTANTIATE_TEST_SUITE_P(Mp3Info, ScanAfterOpen, ::testing::Values(
    ChangeCase{"MpegUnchanged", true, ChangeCase::Unchanged, true},
    ChangeCase{"ZerosUnchanged", false, ChangeCase::Unchanged, false},
    ChangeCase{"MpegRewrittenAsZeros", true, ChangeCase::SameSizeLater, false},
    ChangeCase{"ZerosRewrittenAsMpeg", false, ChangeCase::SameSizeLater, true},
    ChangeCase{"MpegReplacedByRiff", true, ChangeCase::OtherSize, false},
    ChangeCase{"ZerosReplacedByFrames", false, ChangeCase::OtherSize, true},
    ChangeCase{"MpegRemoved", true, ChangeCase::Removed, false},
    ChangeCase{"OtherPathZeros", true, ChangeCase::OtherPath, false},
    ChangeCase{"OtherPathMpeg", false, ChangeCase::OtherPath, true}),
    [](const ::testing::TestParamInfo<ChangeCase>& i) { return std::string(i.param.name); });

// Files from the native input step (lame and mutagen).
std::wstring Fixture(const wchar_t* name)
{
    std::wstring folder = FixtureFolder();
    return folder.empty() ? L"" : folder + name;
}

std::wstring Utf8(const std::string& s)
{
    wchar_t wide[1024];
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), (int)s.size(), wide, 1024);
    return std::wstring(wide, n > 0 ? n : 0);
}

TEST(Mp3Info, ReadsMutagensTagsAlike)
{
    std::wstring list = Fixture(L"expected.txt");
    if (list.empty()) GTEST_SKIP() << "no fixture folder (run through ctest)";
    FILE* f = _wfopen(list.c_str(), L"rb");
    ASSERT_NE(f, nullptr) << "the native input step made no files";
    char line[2048];
    int files = 0;
    while (fgets(line, sizeof line, f)) {
        std::vector<std::string> parts;
        std::string s = line;
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        for (size_t at = 0;;) {
            size_t bar = s.find('|', at);
            parts.push_back(s.substr(at, bar - at));
            if (bar == std::string::npos) break;
            at = bar + 1;
        }
        ASSERT_EQ(parts.size(), 6u);
        std::wstring path = Fixture(Utf8(parts[0]).c_str());
        CMp3Info info;
        ASSERT_TRUE(info.Open(path.c_str())) << parts[0];
        info.tagKind = 2;
        CString text;
        info.GetTitle(text);
        EXPECT_EQ(std::wstring(text.GetString()), Utf8(parts[1])) << parts[0];
        info.GetArtist(text);
        EXPECT_EQ(std::wstring(text.GetString()), Utf8(parts[2])) << parts[0];
        info.GetAlbum(text);
        EXPECT_EQ(std::wstring(text.GetString()), Utf8(parts[3])) << parts[0];
        int year = 0;
        info.GetYear(year);
        EXPECT_EQ(year, atoi(parts[4].c_str())) << parts[0];
        EXPECT_EQ(info.fieldSets[info.v2Version / 10 - 22].track, atoi(parts[5].c_str())) << parts[0];
        EXPECT_STREQ(info.fieldSets[info.v2Version / 10 - 22].comment.GetString(), L"a comment") << parts[0];
        EXPECT_TRUE(info.ReadMpegInfo(path.c_str())) << parts[0];
        ++files;
    }
    fclose(f);
    EXPECT_EQ(files, 5);
}

TEST(Mp3Info, LameFileWithA200KBTagIsMpegAudioAndStripsToItsFrames)
{
    std::wstring path = Fixture(L"lame_bigtag.mp3");
    if (path.empty()) GTEST_SKIP() << "no fixture folder (run through ctest)";
    CMp3Info info;
    ASSERT_TRUE(info.Open(path.c_str()));
    EXPECT_EQ(info.v2Version, 230);
    EXPECT_TRUE(info.ReadMpegInfo(path.c_str()));
    std::wstring dst = TempPath(L"bigtag_stripped.mp3");
    DeleteFileW(dst.c_str());
    ASSERT_TRUE(info.StripID3v2(path.c_str(), dst.c_str()));
    Mp3FileInfo frames;
    ASSERT_TRUE(ReadMp3Frames(dst, frames));
    EXPECT_FALSE(frames.startsWithId3);
    EXPECT_GT(frames.frames.size(), 100u);
    DeleteFileW(dst.c_str());
}

TEST(Mp3Info, OurId3v1TagIsReadByMutagen)
{
    std::wstring folder = FixtureFolder();
    if (folder.empty()) GTEST_SKIP() << "no fixture folder (run through ctest)";
    std::wstring path = folder + L"our_v1.mp3";
    Bytes sound = Frames(40);
    WriteFile(L"our_v1.mp3", sound);
    CopyFileW(TempPath(L"our_v1.mp3").c_str(), path.c_str(), FALSE);
    CMp3Info info;
    info.Open(path.c_str());
    info.tagKind = 1;
    ASSERT_TRUE(info.SetTitle(L"Caf\u00e9 Song", L""));
    ASSERT_TRUE(info.SetAlbum(L"Our Album"));
    ASSERT_TRUE(info.SetYear(2006));
    ASSERT_TRUE(info.SetGenre(255));
    ASSERT_TRUE(info.WriteID3v1());
    AddOracleCheck(L"our_v1.mp3", "decode=0 v1title=Caf\xc3\xa9_Song v1album=Our_Album v1year=2006");
}

} // namespace
