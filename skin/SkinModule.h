// The skin module the application loaded at start (else the program itself):
// controls that are not handed a module read it here.
#pragma once
#include <windows.h>

void SetSkinModule(HINSTANCE module);
HINSTANCE GetSkinModule();

// A skin picture by id: from the given module, else from the program's own copy.
// A skin module that lacks some pictures then still shows the program's ones
// instead of blank controls. The caller owns the bitmap; null when neither has it.
HBITMAP LoadSkinBitmap(HINSTANCE module, UINT id, UINT loadFlags = 0);
// The module that LoadSkinBitmap takes the picture from (null when neither has it),
// for callers that need the resource itself.
HINSTANCE FindSkinBitmapModule(HINSTANCE module, UINT id);
