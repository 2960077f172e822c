// Video devices of the capture graph: a video capture device used for its sound,
// the maker's capture boxes whose audio input needs the box's video running, and
// the crossbars in front of both.
#include "CaptureDevice.h"
#include "CaptureBoxTable.h"
#include "CrossbarRouter.h"
#include "DeviceCategoryWalk.h"
#include "PlatformGuids.h"

namespace {

// PhysConn_Video_Composite: the engine always routes the composite connector,
// which also routes the audio connector that belongs to it.
const long kCompositeVideo = PhysConn_Video_Composite;

bool IsAnalogVideoIn(IPin* pin)
{
    CComPtr<IKsPropertySet> props;
    if (FAILED(pin->QueryInterface(IID_IKsPropertySet, (void**)&props)) || !props) return false;
    GUID category = GUID_NULL;
    DWORD returned = 0;
    if (FAILED(props->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof category,
                          &returned)))
        return false;
    return returned == sizeof category && category == PIN_CATEGORY_ANALOGVIDEOIN;
}

} // namespace

void CCaptureDevice::DeleteCrossbarRouter()
{
    delete m_crossbar;
    m_crossbar = nullptr;
    m_routeCount = 0;
}

void CCaptureDevice::RemoveVideoBranch(IBaseFilter*& filter)
{
    if (!filter) return;
    if (m_graph) {
        m_util.RemoveDownstream(filter);
        m_graph->RemoveFilter(filter);
    }
    ReleaseFilter(filter);
}

void CCaptureDevice::BringInUpstreamFilters(IBaseFilter* filter)
{
    CComPtr<IAMStreamConfig> config;
    m_builder->FindInterface(&PIN_CATEGORY_CAPTURE, nullptr, filter, IID_IAMStreamConfig, (void**)&config);
}

BOOL CCaptureDevice::SetUpCrossbar(IBaseFilter* filter)
{
    DeleteCrossbarRouter();
    if (!filter) return FALSE;
    CPinWalk walk(filter);
    for (;;) {
        CComPtr<IPin> pin = walk.Next();
        if (!pin) return FALSE;
        PIN_DIRECTION dir;
        if (FAILED(pin->QueryDirection(&dir)) || dir != PINDIR_INPUT || !IsAnalogVideoIn(pin)) continue;
        HRESULT hr = E_FAIL;
        m_crossbar = new CCrossbarRouter(pin, &hr);
        if (FAILED(hr)) return FALSE;   // the router stays, without routes
        m_crossbar->GetInputCount(&m_routeCount);
        return TRUE;
    }
}

BOOL CCaptureDevice::RouteCrossbarToType(long physicalType)
{
    if (!m_crossbar) return FALSE;
    for (int i = 0; i < m_routeCount; ++i) {
        int type = 0;
        if (SUCCEEDED(m_crossbar->GetInputType(i, &type)) && type == physicalType) {
            m_crossbar->SetInputIndex(i);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CCaptureDevice::SetVideoDevice(const wchar_t* name)
{
    // Whatever the previous video device held (its crossbars among it) goes first.
    RemoveVideoBranch(m_videoSource);
    DeleteCrossbarRouter();
    if (m_videoNull) {
        if (m_graph) m_graph->RemoveFilter(m_videoNull);
        ReleaseFilter(m_videoNull);
    }
    if (FAILED(BindDevice(CLSID_VideoInputDeviceCategory, name, &m_videoSource, nullptr)) || !m_videoSource) return FALSE;
    if (FAILED(m_graph->AddFilter(m_videoSource, L"Video Capture"))) return FALSE;
    BringInUpstreamFilters(m_videoSource);
    SetUpCrossbar(m_videoSource);
    if (FAILED(m_util.AddFilterByCLSID(CLSID_NullRenderer, &m_videoNull, L"NULL Renderer"))) return FALSE;
    m_builder->RenderStream(&PIN_CATEGORY_CAPTURE, nullptr, m_videoSource, nullptr, m_videoNull);
    RouteCrossbarToType(kCompositeVideo);
    return TRUE;
}

void CCaptureDevice::LookUpCaptureBox()
{
    wchar_t names[DeviceListSize][DeviceNameLength] = {};
    int count = GetVideoDeviceNames(names);
    CString box;
    // The last box listed wins.
    for (int i = 0; i < count; ++i)
        if (IsCaptureBoxName(names[i])) box = names[i];
    if (box.IsEmpty()) return;

    if (m_util.FindDeviceFilter(box, &m_boxSource, CLSID_VideoInputDeviceCategory) != S_OK || !m_boxSource) return;
    if (FAILED(m_graph->AddFilter(m_boxSource, CaptureBoxFilterName))) return;
    BringInUpstreamFilters(m_boxSource);
    SetUpCrossbar(m_boxSource);
    if (FAILED(m_util.AddFilterByCLSID(CLSID_NullRenderer, &m_videoNull, L"NULL Renderer"))) return;
    m_util.ConnectFilters(m_boxSource, 0, m_videoNull, 0);
    RouteCrossbarToType(kCompositeVideo);
}

BOOL CCaptureDevice::FindCaptureBoxDevice(CString& name)
{
    name = L"NO DEVICE";
    wchar_t videoNames[DeviceListSize][DeviceNameLength] = {};
    int videoCount = GetVideoDeviceNames(videoNames);
    if (videoCount == 0) return FALSE;
    bool boxWithoutAudio = false;
    for (int i = 0; i < videoCount; ++i) {
        if (!IsCaptureBoxName(videoNames[i])) continue;
        if (HasAudioPin(videoNames[i])) {
            name = videoNames[i];
            return TRUE;
        }
        boxWithoutAudio = true;
    }
    if (!boxWithoutAudio) return FALSE;
    // The box's sound comes through its own USB audio input.
    wchar_t audioNames[DeviceListSize][DeviceNameLength] = {};
    int audioCount = GetAudioDeviceNames(audioNames);
    for (int i = 0; i < audioCount; ++i) {
        CString upper = audioNames[i];
        upper.MakeUpper();
        if (upper.Find(L"USB") >= 0 || upper.Find(L" US") >= 0) {
            name = audioNames[i];
            return TRUE;
        }
    }
    return FALSE;
}
