// DllRegisterServer / DllUnregisterServer of a filter module: COM server keys
// (InprocServer32, ThreadingModel "Both") for every class of the table, and
// the filters in the DirectShow filter category through IFilterMapper2.
#pragma once
#include "ClassFactory.h"

// Our filters are registered with this merit so that the graph's intelligent
// connect never inserts them on its own; programs add them by class id.
const DWORD DSHOW_MERIT_DO_NOT_USE = 0x00200000;

HRESULT DShowRegisterServer(const CFactoryTemplate* templates, int count, bool doRegister);
