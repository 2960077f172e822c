// The running time of a recording as the recorder's Record page and the wizard's
// recording step show and limit it. It counts from the moment the recording
// started, not from the first timer tick after it: a requested time is then the
// length of the file, not half a second to a second more.
#pragma once
#include <windows.h>

class CRecordClock {
public:
    // At Record, once the recording runs.
    void Start() { StartAt(GetTickCount()); }
    void StartAt(DWORD nowMs) { m_startMs = nowMs; }
    // Whole seconds since the start; 0.1 during the first second, so that a
    // running recording never reads 0.
    double ElapsedSeconds() const { return ElapsedSecondsAt(GetTickCount()); }
    double ElapsedSecondsAt(DWORD nowMs) const;

private:
    DWORD m_startMs = 0;
};
