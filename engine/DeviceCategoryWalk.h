// Walks the devices of one DirectShow device category (system device enumerator)
// with their property bags; shared by the capture device and the DirectSound map.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <functional>
#include "String.h"

// Calls visit(moniker, bag) for every device whose property bag can be read, in
// enumeration order, until visit returns false. Returns the enumerator's error,
// S_FALSE for an empty category, S_OK otherwise.
HRESULT WalkDeviceCategory(REFCLSID category,
                           const std::function<bool(IMoniker* moniker, IPropertyBag* bag)>& visit);

// A string or integer value of a property bag; FALSE when absent or of another type.
BOOL ReadBagString(IPropertyBag* bag, const wchar_t* name, CString& value);
BOOL ReadBagInt(IPropertyBag* bag, const wchar_t* name, int& value);
