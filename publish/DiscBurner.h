// The disc side of publishing, shared by the publish dialog and the wizard's
// burn page: the writer list, the free space of the disc in the writer, the
// disc checks made before converting and before writing, and the data-disc and
// audio-disc write sequences on the two disc libraries. Texts and message boxes
// stay with the callers (each has its own strings and titles).
#pragma once
#include "NVAudioCD.h"
#include "NVDataCDDVD.h"
#include "String.h"

#include <functional>
#include <vector>

const int DataBlockBytes = 2048;
const int AudioBlockBytes = 2352;
const unsigned long DiscReserveBlocks = 150;   // added to every need, taken from every free figure
enum BurnKind { BurnKindData = 1, BurnKindAudio = 2 };

enum class DiscCheck {
    Ok,
    NotReady,        // no writer, or no disc
    NotCompatible,   // not a CD-R or CD-RW the writer takes (ejected)
    NotWritable,     // no free blocks (ejected)
    TooSmall,        // the disc stays in
};

struct BurnProgress {
    int percent = 0;
    double writtenMB = 0, totalMB = 0;
};

class CDiscBurner {
public:
    CDiscBurner(CNVDataCDDVD& data, CNVAudioCD& audio) : m_data(data), m_audio(audio) {}

    // The writers' names; `selected` := the one equal to `preferred` without
    // regard to case, else 0 (-1 without writers).
    std::vector<CString> DriveNames(const CString& preferred, int& selected);
    bool WriterPresent() const { return m_writerPresent; }
    void SetWriterPresent(bool present) { m_writerPresent = present; }
    // Chooses writer `index` on both libraries; returns its name.
    CString ChooseDrive(int index);

    // Free bytes of the disc in the writer for the output kind (0 without a
    // writable disc).
    double FreeDiscBytes(BurnKind kind);
    // The checks before converting and before writing. Audio: every track takes
    // its 2352-byte sectors and 150 more.
    DiscCheck CheckData(double projectedBytes);
    DiscCheck CheckAudio(const std::vector<double>& trackBytes);

    // After a passed check: lays out and starts the write; the end comes to
    // `owner` as WM_DISC_BURN_DONE. False when the library did not start.
    // `names` (when given) are the files' names on the disc, else their own.
    bool BurnData(HWND owner, const std::vector<CString>& files, const CString& album,
                  const std::vector<CString>* names = nullptr);
    // Files the audio library refuses are logged and left out.
    bool BurnAudio(HWND owner, const std::vector<CString>& files, unsigned char burnMode);

    BurnProgress Progress(BurnKind kind);
    // The figures of a write that ended well: all of it written, 100 %.
    BurnProgress Completed(BurnKind kind);
    unsigned long ErrorCode(BurnKind kind);
    void Eject(BurnKind kind);

    // "SenseKey : %2x, ASC : %2x, ASCQ : %2x" of a library error code.
    static CString SenseText(unsigned long code);

private:
    DiscCheck CheckBlocks(unsigned long neededBlocks);
    static void OnDataBurnDone(int status, void* context);
    static void OnAudioBurnDone(int status, void* context);

    CNVDataCDDVD& m_data;
    CNVAudioCD& m_audio;
    HWND m_owner = nullptr;
    bool m_writerPresent = false;
};
