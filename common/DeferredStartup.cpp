#include "DeferredStartup.h"
#include "StartupLog.h"
#include <algorithm>

namespace {
const UINT_PTR kStartupTimer = 0x5D17;
bool g_running = false;

// The objects alive, oldest first (user-interface thread only). Made on first use:
// an application object may hold one before this file's statics exist.
std::vector<CDeferredStartup*>& Objects()
{
    static std::vector<CDeferredStartup*> objects;
    return objects;
}
}  // namespace

CDeferredStartup::CDeferredStartup()
{
    Objects().push_back(this);
}

CDeferredStartup::~CDeferredStartup()
{
    std::vector<CDeferredStartup*>& objects = Objects();
    objects.erase(std::remove(objects.begin(), objects.end(), this), objects.end());
}

void CDeferredStartup::Add(std::function<void()> step)
{
    m_steps.push_back(std::move(step));
}

void CDeferredStartup::RunAfterFirstPaint(HWND window)
{
    if (!window || !SetTimer(window, kStartupTimer, USER_TIMER_MINIMUM, &CDeferredStartup::OnTimer)) RunAllNow();
}

void CALLBACK CDeferredStartup::OnTimer(HWND window, UINT, UINT_PTR id, DWORD)
{
    KillTimer(window, id);
    NoteStartupStep(L"window up and painted");
    RunAllNow();
}

void CDeferredStartup::RunAllNow()
{
    // A step may pump messages and so meet the timer, or wait for registrations:
    // the steps already under way are not started again.
    if (g_running) return;
    g_running = true;
    // A step may end its owner (a dialog closed from a message box): look the
    // object up again before each step.
    std::vector<CDeferredStartup*>& objects = Objects();
    bool ran = false;
    for (size_t i = 0; i < objects.size(); ++i) {
        while (i < objects.size() && !objects[i]->m_steps.empty()) {
            CDeferredStartup* owner = objects[i];
            std::function<void()> step = std::move(owner->m_steps.front());
            owner->m_steps.erase(owner->m_steps.begin());
            step();
            ran = true;
        }
    }
    g_running = false;
    if (ran) NoteStartupStep(L"start-up done");
}
