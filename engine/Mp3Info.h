// CMp3Info: the ID3 tags of one MP3 file (ID3v1/1.1 at its end, ID3v2.2/2.3/2.4
// at its start), the main fields of either, an ID3v1.1 tag written back, a copy
// without the ID3v2 tag, and the test whether a file is MPEG audio at all
// (ReadMpegInfo). Built on the stack for one file and one task; callers read and
// set the public members directly.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "File.h"
#include "String.h"

class CMp3Info {
public:
    struct FieldSet {
        CString title, artist, album, comment, composer, encoder, lyricist, language;
        int year = 0, genre = 0, track = 0;
    };

    CMp3Info();

    BOOL Open(const wchar_t* path);

    BOOL GetTitle(CString& title);
    BOOL GetArtist(CString& artist);
    BOOL GetAlbum(CString& album);
    BOOL GetYear(int& year);

    BOOL SetTitle(const wchar_t* title, const wchar_t* suffix);
    BOOL SetAlbum(const wchar_t* album);
    BOOL SetYear(int year);
    BOOL SetGenre(int genre);
    BOOL SetField(int id, const wchar_t* text);

    BOOL ConvertToID3v1(int kind);
    BOOL WriteID3v1();
    BOOL StripID3v2(const wchar_t* src, const wchar_t* dst);
    // Right after Open of the same path, the scan looks at the bytes Open read
    // instead of opening the file again (opening is what tag reading costs),
    // unless the file's size, times or attributes have changed since.
    BOOL ReadMpegInfo(const wchar_t* path);
    static BOOL CanRender(const wchar_t* path);

    CString path;
    CFile file;
    int v1Kind = 0;       // 100 ID3v1, 110 ID3v1.1, 0 none
    int v2Version = 0;    // 220, 230, 240, 0 none
    int tagKind = 0;      // 1 the ID3v1 record of v1Kind, 2 the ID3v2 field set of v2Version
    BYTE v1Record[128];
    BYTE v11Record[128];
    BYTE v2Header[10];
    FieldSet fieldSets[3];
    int textEncoding = 100;   // 101 ISO-8859-1, 102 UTF-16 with byte-order mark, 103 UTF-8, 100 other

private:
    // What the frame scan looks at in a file: whether it is a RIFF file, and the
    // first bytes of its sound (after any ID3v2 tag).
    struct ScanInput {
        bool riff = false;
        bool noSound = true;
        std::vector<uint8_t> sound;
        BOOL Verdict() const;
    };
    // The scan input of the file Open read, kept for ReadMpegInfo on the same
    // path, with the file's size and times when Open saw it.
    struct KeptScan {
        bool kept = false;
        std::wstring path;
        WIN32_FILE_ATTRIBUTE_DATA stamp = {};
        ScanInput input;
    };

    void Reset();
    BOOL ReadID3v1(LONGLONG length);
    BOOL ReadID3v2(const std::vector<uint8_t>& head, LONGLONG length);
    static ScanInput ReadScanInput(CFile& f, const std::vector<uint8_t>& head, LONGLONG length, bool& whole);
    void KeepScanInput(const ScanInput& input, const WIN32_FILE_ATTRIBUTE_DATA& stamp);
    const ScanInput* KeptScanFor(const wchar_t* path) const;
    FieldSet* CurrentFieldSet();
    BYTE* CurrentRecord();

    KeptScan m_keptScan;
};
