// The part of a program's start-up the user need not wait for (registering the
// filter modules, the component check, the audio set-up): it runs once the main
// window is up and painted, or earlier when something needs it first, such as a
// page about to build its first graph. Each object holds the steps of its owner
// (the application, a dialog) and drops those not yet run when it goes; steps run
// once, in the order the objects were made and the steps added, on the
// user-interface thread.
#pragma once
#include <windows.h>
#include <functional>
#include <vector>

class CDeferredStartup {
public:
    CDeferredStartup();
    ~CDeferredStartup();
    CDeferredStartup(const CDeferredStartup&) = delete;
    CDeferredStartup& operator=(const CDeferredStartup&) = delete;

    void Add(std::function<void()> step);
    BOOL HasPending() const { return !m_steps.empty(); }

    // Runs every object's pending steps from a timer of the window: the thread's
    // queue hands out timer messages only when no window of it waits to be painted.
    static void RunAfterFirstPaint(HWND window);
    // Runs every object's pending steps now (nothing when called from a step).
    static void RunAllNow();

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    std::vector<std::function<void()>> m_steps;
};
