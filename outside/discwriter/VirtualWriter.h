// The writers that the disc libraries offer here: virtual drives described by
// "DiscWriter.ini" beside the libraries, read afresh at every drive query so a
// test (or a person) changes the disc by rewriting the file.
//
//   [Writer1]
//   Name=Image Writer        ; what GetDriveName reports
//   Medium=cdr               ; none, cdr, cdrw, cdr-written, cdrw-written, cdrom
//   Blocks=359849            ; sectors of a blank disc
//   Speed=0                  ; n x 75 sectors per second, 0 = as fast as possible
//   ImageFolder=C:\Images    ; where images go (default Documents\Disc Images)
//   FailAtBlock=0            ; a write fails on reaching this sector (0 = never)
//   FailCode=0x030C00        ; the error code reported then
//   LastImage=...            ; written back: the last image made
//
// Without the file there is one writer with a blank CD-R; a file without
// "Writer" sections means no writer at all.
//
// SONELLE_DISC_WRITER_INI, when set, names the file instead (a test program's own).
#pragma once
#include <windows.h>
#include <string>
#include <vector>

enum class DiscMedium { None, Cdr, Cdrw, CdrWritten, CdrwWritten, Cdrom };

// Disc kinds as the libraries report them.
const unsigned char DiscKindNone = 0, DiscKindCdRom = 1, DiscKindCdR = 2, DiscKindCdRw = 3;
const unsigned long DefaultDiscBlocks = 359849;   // an 80-minute CD-R
const unsigned long WriteErrorCode = 0x030C00;    // medium error, write error
const wchar_t* const WriterIniVariable = L"SONELLE_DISC_WRITER_INI";

struct VirtualWriter {
    std::wstring section;
    std::wstring name;
    DiscMedium medium = DiscMedium::Cdr;
    unsigned long blocks = DefaultDiscBlocks;
    unsigned long speed = 0;
    std::wstring imageFolder;
    unsigned long failAtBlock = 0;
    unsigned long failCode = WriteErrorCode;

    unsigned char Kind() const;
    bool Blank() const { return medium == DiscMedium::Cdr || medium == DiscMedium::Cdrw; }
    unsigned long FreeBlocks() const { return Blank() ? blocks : 0; }
};

class CVirtualWriters {
public:
    // The ini beside the module that holds this code, or the one the variable names.
    static std::wstring IniPath();
    static std::vector<VirtualWriter> Read();
    // Writer `index` as the file says now; false when there is no such writer.
    static bool Find(unsigned char index, VirtualWriter& writer);
    // Writes back a writer's medium ("written" after a burn, none after an eject)
    // and the image it made last; makes the file when there was none.
    static void StoreMedium(const VirtualWriter& writer, DiscMedium medium);
    static void StoreLastImage(const VirtualWriter& writer, const std::wstring& image);
    static const wchar_t* MediumName(DiscMedium medium);
    static DiscMedium WrittenForm(DiscMedium medium);
};
