// The classes each of the suite's filter modules registers, by module file name:
// what the start-up looks for before it registers a module again.
#pragma once
#include <windows.h>

struct SuiteFilterModuleClasses {
    const wchar_t* module;
    const CLSID* classes[2];   // unused slots are null
};

// The entry of the module named (case ignored), or null for a module not known here.
const SuiteFilterModuleClasses* FindSuiteFilterModuleClasses(const wchar_t* moduleName);
