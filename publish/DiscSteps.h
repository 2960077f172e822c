// The disc steps of a publish run with their messages, shared by the publish
// dialog and the wizard's burn page: the writer list, the disc check before
// converting and before writing, the start of a data or audio write, and the
// report at its end. Each caller passes its own string ids and title.
#pragma once
#include "Controls.h"
#include "DiscBurner.h"

#include <vector>

struct DiscStepTexts {
    CString title;            // message-box title
    UINT notReady = 0;        // no writer or no disc
    UINT notCompatible = 0;   // not a CD-R or CD-RW
    UINT notWritable = 0;     // no free blocks
    UINT tooSmall = 0;        // not enough room
    UINT burnFailed = 0;      // a write that did not start or failed
    UINT burned = 0;          // a write that ended well
    // When set, a failed write says this instead of `burnFailed`, under this title.
    CString failedText, failedTitle;
};

// Fills `list` with the writers' names and selects the one named `preferred`
// (without regard to case), else the first. The selection, -1 without writers.
int FillDriveList(CComboBox& list, CDiscBurner& burner, const CString& preferred);

// The disc check before converting and before writing: refusals name their reason (information icon).
// `itemBytes` holds the projected bytes of each output.
BOOL CheckDisc(HWND owner, CDiscBurner& burner, BurnKind kind, const std::vector<double>& itemBytes,
               const DiscStepTexts& texts);

// Checks the disc again, lays out `files` and starts the write; its end comes to
// `owner` as WM_DISC_BURN_DONE. A write that does not start shows `burnFailed`.
// `names` (when given) are the files' names on the disc.
BOOL BurnDataDisc(HWND owner, CDiscBurner& burner, const std::vector<CString>& files,
                  const std::vector<double>& itemBytes, const CString& album, const DiscStepTexts& texts,
                  const std::vector<CString>* names = nullptr);
BOOL BurnAudioDisc(HWND owner, CDiscBurner& burner, const std::vector<CString>& files,
                   const std::vector<double>& itemBytes, unsigned char burnMode, const DiscStepTexts& texts);

// The end of a write (WM_DISC_BURN_DONE): the failure with its sense fields, or
// the success, each followed by `extra`; then the disc is ejected.
void ReportBurnEnd(HWND owner, CDiscBurner& burner, BurnKind kind, int status, const DiscStepTexts& texts,
                   const CString& extra = CString());

// The status line of a write: "<prefix> %05.2f/%05.2f MB" with the written and
// the total megabytes (the same figures as the percentage beside it).
CString BurnProgressText(const CString& prefix, const BurnProgress& progress);

// "<prefix>\nSenseKey : %2x, ASC : %2x, ASCQ : %2x"
CString BurnFailureText(const CString& prefix, unsigned long errorCode);
