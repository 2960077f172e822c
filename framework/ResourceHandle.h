// The module that texts, templates and bitmaps are loaded from: the program's own
// resources until start-up switches it to a language or skin module.
#pragma once
#include <windows.h>

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
HINSTANCE AfxGetInstanceHandle();
