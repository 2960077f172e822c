#include "GetMediaPlayTime.h"
#include "GraphDump.h"

CGetMediaPlayTime::CGetMediaPlayTime()
{
    m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
}

CGetMediaPlayTime::~CGetMediaPlayTime()
{
    m_graph.Release();
    if (m_comInitialized) CoUninitialize();
}

BOOL CGetMediaPlayTime::Open(const wchar_t* path)
{
    if (!path) return FALSE;
    m_graph.Release();
    // The path goes to the platform as it is, whatever its length.
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&m_graph)))
        return FALSE;
    CComPtr<IMediaSeeking> seeking;
    if (FAILED(m_graph->QueryInterface(IID_IMediaSeeking, (void**)&seeking))) return FALSE;
    if (FAILED(m_graph->RenderFile(path, nullptr))) return FALSE;
    if (FAILED(seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME))) return FALSE;
    LONGLONG duration = 0;
    m_duration = SUCCEEDED(seeking->GetDuration(&duration)) ? duration / 1e7 : 0.0;
    CGraphDump().Dump(m_graph);
    return TRUE;
}
