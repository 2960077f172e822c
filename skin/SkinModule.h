// The skin module the application loaded at start (else the program itself):
// controls that are not handed a module read it here.
#pragma once
#include <windows.h>

void SetSkinModule(HINSTANCE module);
HINSTANCE GetSkinModule();
