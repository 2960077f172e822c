#include "PlayTimeQuery.h"
#include <mutex>
#include <string>
#include "GetMediaPlayTime.h"

struct CPlayTimeQuery::State {
    std::wstring path;
    std::mutex lock;
    HWND notify = nullptr;   // null once the asker stopped waiting
    UINT message = 0;
    double seconds = 0.0;
};

namespace {

DWORD WINAPI AskPlatform(void* param)
{
    // The thread holds the state as long as it runs, whatever the asker does.
    std::unique_ptr<std::shared_ptr<CPlayTimeQuery::State>> held((std::shared_ptr<CPlayTimeQuery::State>*)param);
    CPlayTimeQuery::State& state = **held;
    double seconds = 0.0;
    {
        CGetMediaPlayTime time;
        if (time.Open(state.path.c_str()) && time.GetPlayTime() > 0) seconds = time.GetPlayTime();
    }
    std::lock_guard<std::mutex> guard(state.lock);
    state.seconds = seconds;
    if (state.notify) PostMessageW(state.notify, state.message, 0, 0);
    return 0;
}

}  // namespace

BOOL CPlayTimeQuery::Start(const wchar_t* path, HWND notify, UINT message)
{
    Abandon();
    auto state = std::make_shared<State>();
    state->path = path ? path : L"";
    state->notify = notify;
    state->message = message;
    auto* held = new std::shared_ptr<State>(state);
    HANDLE thread = CreateThread(nullptr, 0, AskPlatform, held, 0, nullptr);
    if (!thread) {
        delete held;
        return FALSE;
    }
    CloseHandle(thread);
    m_state = state;
    return TRUE;
}

double CPlayTimeQuery::Seconds() const
{
    if (!m_state) return 0.0;
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->seconds;
}

void CPlayTimeQuery::Abandon()
{
    if (!m_state) return;
    {
        std::lock_guard<std::mutex> guard(m_state->lock);
        m_state->notify = nullptr;
    }
    m_state.reset();
}
