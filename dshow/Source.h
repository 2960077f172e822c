// CSource and CSourceStream: a push source whose output pins each deliver
// samples from a streaming thread of their own. The filter's state changes
// reach the thread as commands (init, pause, run, stop, exit). A live source
// delivers nothing while paused and reports VFW_S_CANT_CUE.
#pragma once
#include "BaseFilter.h"
#include "OutputPin.h"
#include "WorkerThread.h"
#include <vector>

class CSourceStream;

class CSource : public CBaseFilter {
public:
    CSource(const wchar_t* name, REFCLSID clsid, bool live = false);
    ~CSource() override;

    int GetPinCount() override;
    CBasePin* GetPin(int n) override;
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;

    bool IsLive() const { return m_live; }
    // Streams add themselves; the filter deletes them.
    void AddStream(CSourceStream* stream);

protected:
    CCritSec m_csFilter;
    std::vector<CSourceStream*> m_streams;
    bool m_live;
};

class CSourceStream : public CBaseOutputPin, protected CWorkerThread {
public:
    enum Command : DWORD { CMD_INIT, CMD_PAUSE, CMD_RUN, CMD_STOP, CMD_EXIT };

    CSourceStream(CSource* filter, const wchar_t* name);

    // Fills one sample: S_OK delivers it, S_FALSE ends the stream, an error aborts it.
    virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
    // On the streaming thread: before the first sample and after the last.
    virtual HRESULT OnThreadCreate() { return S_OK; }
    virtual HRESULT OnThreadDestroy() { return S_OK; }
    // Each time delivery (re)starts.
    virtual HRESULT OnThreadStartPlay() { return S_OK; }

    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT Run(REFERENCE_TIME start) override;
    HRESULT PauseFromRun() override;

protected:
    DWORD ThreadProc() override;
    // Delivers until a command arrives or the stream ends; true when it ended.
    bool DoBufferProcessingLoop();

    CSource* m_source;
};
