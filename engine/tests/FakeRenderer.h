// A monitoring renderer for the capture-device tests that fails on request: its
// Pause fails the next `failPauses` times, so a start of the graph fails part-way
// the way a real renderer that loses its device does. It takes any PCM and
// drops it. Registered under its class id while a CFakeRendererClass lives.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <atomic>

// {6B1E2C90-31D4-4C0A-9E52-170D8A442110}
const CLSID CLSID_FakeFailingRenderer = {0x6b1e2c90, 0x31d4, 0x4c0a, {0x9e, 0x52, 0x17, 0x0d, 0x8a, 0x44, 0x21, 0x10}};

struct FakeRendererControl {
    std::atomic<int> failPauses{0};   // Pause calls still to fail
    std::atomic<int> failedPauses{0}; // Pause calls that failed
};
extern FakeRendererControl g_fakeRenderer;

class CFakeRendererClass {
public:
    CFakeRendererClass();
    ~CFakeRendererClass();
    bool Ok() const { return m_cookie != 0; }

private:
    bool m_com = false;
    DWORD m_cookie = 0;
    IClassFactory* m_factory = nullptr;
};
