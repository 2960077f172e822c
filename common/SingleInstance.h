// One running copy per user logon: a named mutex taken at the very start, so a
// start that comes before the first copy's window exists is refused as well.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

class CSingleInstance {
public:
    CSingleInstance() = default;
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;
    ~CSingleInstance() { Release(); }

    // TRUE when this process now holds `name`. While another process holds it,
    // `activateRunning` is asked (every 100 ms, for up to waitMs) to bring that
    // copy's window to the front: FALSE once it did (or when the time is up); TRUE
    // when the other copy ended meanwhile.
    BOOL Claim(const wchar_t* name, const std::function<BOOL()>& activateRunning, DWORD waitMs = 10000);
    // Lets the next copy start (also done by the destructor).
    void Release();

    // "Local\<base> <logon SID>": the same for every program of one logon session.
    static std::wstring LogonName(const wchar_t* base);

private:
    HANDLE m_mutex = nullptr;
};
