// A nearly full disk for tests: one of the sandbox's tiny volumes (drives U:, V:
// and W:, one per test program; see scripts/sandbox.sh) filled by a filler file
// until only a given number of bytes is free. Everything on the volume is removed again with the object.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

class CFullVolume {
public:
    CFullVolume(wchar_t drive, uint64_t leaveFreeBytes);
    ~CFullVolume();
    CFullVolume(const CFullVolume&) = delete;
    CFullVolume& operator=(const CFullVolume&) = delete;

    // False when the sandbox has no such small volume; Why() says what is missing.
    bool Ok() const { return m_ok; }
    const std::string& Why() const { return m_why; }
    std::wstring Path(const wchar_t* name) const { return m_root + name; }
    uint64_t FreeBytes() const;

private:
    void Clear();
    std::wstring m_root;
    bool m_ok = false;
    std::string m_why;
};
