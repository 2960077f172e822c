// The four COM server exports every filter module has, over its class table.
// A module whose registration does more (a device category entry, say) writes
// its own exports instead.
#pragma once
#include "ClassFactory.h"
#include "Registration.h"

#define DSHOW_MODULE_EXPORTS(templates)                                                               \
    extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid,         \
                                                                               REFIID riid, void** ppv) \
    {                                                                                                   \
        return DShowGetClassObject(templates, int(sizeof templates / sizeof templates[0]), clsid, riid, \
                                   ppv);                                                                \
    }                                                                                                   \
    extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow()                          \
    {                                                                                                   \
        return DShowCanUnloadNow();                                                                     \
    }                                                                                                   \
    extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer()                        \
    {                                                                                                   \
        return DShowRegisterServer(templates, int(sizeof templates / sizeof templates[0]), true);       \
    }                                                                                                   \
    extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer()                      \
    {                                                                                                   \
        return DShowRegisterServer(templates, int(sizeof templates / sizeof templates[0]), false);      \
    }
