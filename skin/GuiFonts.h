// The skinned dialogs' text fonts: the stock GUI font with the skin's face and
// heights. A font that cannot be made is the stock GUI font itself.
#pragma once
#include "Font.h"

// fonts[i] gets height -heights[i] and weight weights[i]; `face` is cut to the
// 31 characters a face name holds.
void CreateGuiFonts(const wchar_t* face, const int* heights, const int* weights, CFont** fonts, int count);
