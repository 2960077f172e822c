// CGetMediaPlayTime: the play time of a media file in seconds, from the
// duration of the playback graph the platform builds for it. Callers open one
// file, read the time and let the object go.
#pragma once
#include <windows.h>
#include <dshow.h>
#include "ComPtr.h"

class CGetMediaPlayTime {
public:
    CGetMediaPlayTime();
    virtual ~CGetMediaPlayTime();
    CGetMediaPlayTime(const CGetMediaPlayTime&) = delete;
    CGetMediaPlayTime& operator=(const CGetMediaPlayTime&) = delete;

    BOOL Open(const wchar_t* path);
    double GetPlayTime() const { return m_duration; }

private:
    CComPtr<IGraphBuilder> m_graph;
    double m_duration = 0.0;
    bool m_comInitialized = false;
};
