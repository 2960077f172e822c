// Test support: a video capture box and the crossbars in front of it, which Wine
// does not have.
//
// The crossbar answers IAMCrossbar over analog pins (inputs first, then outputs)
// and notes every Route call. The box has an analog video input (pin category
// analog video in), an analog audio input, a capture pin streaming small video
// frames and optionally an audio pin. When it joins a graph it adds and connects
// its own crossbars, innermost first (Windows' builder does this through the
// pins' mediums; Wine's adds none). Its audio pin carries the test tone only
// while its video runs and its crossbars route a composite connector with the
// audio that belongs to it; otherwise it streams silence.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <mutex>
#include <string>
#include <utility>
#include <vector>
#include "ComPtr.h"

struct FakeCrossbarPin {
    std::wstring name;
    long type;      // PhysConn_*
    long related;   // index of the related pin of the same side, -1 for none
};

struct FakeCrossbarSpec {
    std::vector<FakeCrossbarPin> inputs;
    std::vector<FakeCrossbarPin> outputs;
    // Composite, S-Video and Tuner inputs with their audio connectors; video and
    // audio decoder outputs.
    static FakeCrossbarSpec Standard();
    // One video and one audio input, as a crossbar behind another one.
    static FakeCrossbarSpec Inner();
};

// A crossbar filter (one reference for the caller).
CComPtr<IBaseFilter> CreateFakeCrossbar(const FakeCrossbarSpec& spec);
// The Route calls the crossbar has had, as (output, input) pairs.
std::vector<std::pair<long, long>> CrossbarRouteLog(IBaseFilter* crossbar);
void ClearCrossbarRouteLog(IBaseFilter* crossbar);

struct FakeBoxSpec {
    bool audioPin = true;
    // Crossbars the box connects when it joins a graph, innermost first: the
    // first feeds the box, each further one feeds the one before through its
    // first video output and that output's related audio output.
    std::vector<CComPtr<IBaseFilter>> crossbars;
};

// A capture box filter (one reference for the caller).
CComPtr<IBaseFilter> CreateFakeCaptureBox(const FakeBoxSpec& spec);
// Whether the box's audio pin now carries the tone (its video runs and composite
// is routed).
bool FakeBoxCarriesTone(IBaseFilter* box);
// Boxes of this process not yet destroyed.
int FakeCaptureBoxesAlive();

// The box's class, for registration in the video-input category.
extern const CLSID CLSID_FakeCaptureBox;
// Serves CLSID_FakeCaptureBox in this process while it lives; every instance it
// makes is a box as the given description says.
class CFakeCaptureBoxClass {
public:
    explicit CFakeCaptureBoxClass(FakeBoxSpec spec);
    ~CFakeCaptureBoxClass();
    bool Ok() const { return m_cookie != 0; }

private:
    class CFactory;
    CFactory* m_factory;
    bool m_com = false;
    DWORD m_cookie = 0;
};
