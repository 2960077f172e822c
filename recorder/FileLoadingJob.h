// CFileLoadingJob: the part of loading a file for the Edit page whose time the
// platform's parsers decide: the tag step with the playback check of the
// tag-less copy, the building of the conversion graph and the conversion. It
// runs on a thread of its own, so the loading dialog's Cancel answers at once.
// A job the dialog abandons stops its graph and, once the graph has let go,
// deletes the work files and the copy it made, in the background; the user's
// file is only read. A job whose files may be those of a job still ending (the
// same name: "Talk.wav" and "Talk.mp3" share "Talk.tmw", any two "Talk.mp3"
// share their tag-less copy) waits on its own thread until that one has ended,
// so an old job's clean-up never removes what a new one made.
#pragma once
#include <windows.h>
#include <memory>
#include "EditTagRecord.h"
#include "String.h"

class CFileLoadingJob {
public:
    struct Outcome {
        int result = 0;   // 1 when the work set is ready
        CString workPath, peakPath;
        BOOL wroteWav = FALSE, wrotePeak = FALSE;
        EditTagRecord tags;
    };

    CFileLoadingJob() = default;
    ~CFileLoadingJob() { Abandon(); }
    CFileLoadingJob(const CFileLoadingJob&) = delete;
    CFileLoadingJob& operator=(const CFileLoadingJob&) = delete;

    // Starts loading `source`; `notify` is posted `message` when the job is done.
    // FALSE when no thread could be started.
    BOOL Start(const wchar_t* source, HWND notify, UINT message);
    // The conversion's progress, 0 to 100.
    int Percent() const;
    // What the job did, once the message came.
    Outcome Result() const;
    // Stops waiting: no message is posted any more, the job stops and cleans up
    // on its own thread.
    void Abandon();
    // Waits until every job that was started has ended, abandoned ones included;
    // FALSE when one still runs after `timeoutMs`.
    static BOOL WaitForAll(DWORD timeoutMs);

    // What the job's thread shares with the dialog; the thread holds it as long as it runs.
    struct State;

private:
    std::shared_ptr<State> m_state;
};
