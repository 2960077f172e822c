#include "SingleInstance.h"
#include <sddl.h>
#include <vector>

namespace {

// The logon SID of this process's token, else the user's SID; "" when neither.
std::wstring LogonSidText()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return L"";
    std::wstring text;
    auto textOf = [&text](PSID sid) {
        wchar_t* s = nullptr;
        if (sid && ConvertSidToStringSidW(sid, &s)) {
            text = s;
            LocalFree(s);
        }
    };
    DWORD bytes = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &bytes);
    if (bytes) {
        std::vector<BYTE> buffer(bytes);
        if (GetTokenInformation(token, TokenGroups, buffer.data(), bytes, &bytes)) {
            const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
            for (DWORD i = 0; i < groups->GroupCount && text.empty(); ++i)
                if ((groups->Groups[i].Attributes & SE_GROUP_LOGON_ID) == SE_GROUP_LOGON_ID) textOf(groups->Groups[i].Sid);
        }
    }
    if (text.empty()) {
        bytes = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &bytes);
        if (bytes) {
            std::vector<BYTE> buffer(bytes);
            if (GetTokenInformation(token, TokenUser, buffer.data(), bytes, &bytes))
                textOf(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
        }
    }
    CloseHandle(token);
    return text;
}

}  // namespace

std::wstring CSingleInstance::LogonName(const wchar_t* base)
{
    std::wstring name = std::wstring(L"Local\\") + base;
    const std::wstring sid = LogonSidText();
    if (!sid.empty()) name += L" " + sid;
    return name;
}

BOOL CSingleInstance::Claim(const wchar_t* name, const std::function<BOOL()>& activateRunning, DWORD waitMs)
{
    Release();
    m_mutex = CreateMutexW(nullptr, FALSE, LogonName(name).c_str());
    // Without a mutex there is nothing to share: the window search alone decides.
    if (!m_mutex) return !activateRunning();
    const DWORD start = GetTickCount();
    for (;;) {
        // Abandoned: the holder was killed, so this copy is the only one.
        DWORD got = WaitForSingleObject(m_mutex, 0);
        if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) return TRUE;
        if (activateRunning() || GetTickCount() - start >= waitMs) break;
        // The first copy is still starting: its window gets its title a moment later.
        got = WaitForSingleObject(m_mutex, 100);
        if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) return TRUE;
    }
    CloseHandle(m_mutex);
    m_mutex = nullptr;
    return FALSE;
}

void CSingleInstance::Release()
{
    if (!m_mutex) return;
    ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
    m_mutex = nullptr;
}
