// Test support: a class that this process sees as not registered while a
// CUnregisteredClass lives. Creating it fails with REGDB_E_CLASSNOTREG, as when
// its module is missing from the registry, while the prefix's registration stays
// in place for the other test programs. (Wine's COM activation does not follow
// a private HKEY_CLASSES_ROOT: docs/wine.md.)
#pragma once
#include <windows.h>

class CUnregisteredClass {
public:
    explicit CUnregisteredClass(REFCLSID clsid);
    ~CUnregisteredClass();
    CUnregisteredClass(const CUnregisteredClass&) = delete;
    CUnregisteredClass& operator=(const CUnregisteredClass&) = delete;
    bool Ok() const { return m_cookie != 0; }

private:
    bool m_com = false;
    DWORD m_cookie = 0;
};
