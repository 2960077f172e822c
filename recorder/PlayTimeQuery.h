// How long a file plays, asked of the platform on a thread of its own: its
// parser can take minutes over a damaged or crafted file, and the window that
// asks must keep answering (its Cancel above all). The window gets a message
// when the answer is there; a window that stops waiting lets the thread finish
// on its own, and the answer goes nowhere.
#pragma once
#include <windows.h>
#include <memory>

class CPlayTimeQuery {
public:
    CPlayTimeQuery() = default;
    ~CPlayTimeQuery() { Abandon(); }
    CPlayTimeQuery(const CPlayTimeQuery&) = delete;
    CPlayTimeQuery& operator=(const CPlayTimeQuery&) = delete;

    // Starts asking about `path`; `notify` is posted `message` when done. FALSE
    // when no thread could be started.
    BOOL Start(const wchar_t* path, HWND notify, UINT message);
    // The play time in seconds once the message came; 0 when the platform
    // could not tell it.
    double Seconds() const;
    // Stops waiting: no message is posted any more.
    void Abandon();

    // What the asking thread shares with the asker; the thread holds it as long as it runs.
    struct State;

private:
    std::shared_ptr<State> m_state;
};
