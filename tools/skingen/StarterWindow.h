// The starter's window: background (a pattern brush of the whole window), logo,
// caption buttons and the two large launch buttons; and the program's icon.
#pragma once
#include <functional>
#include <map>
#include "Canvas.h"

// Adds the starter's pictures (129 to 135), under their ids, to a set.
void AddStarterPictures(std::map<int, std::function<Canvas()>>& set);
// The starter's program icon, drawn at `size` pixels (see Icons.h).
void StarterIcon(Canvas& c, int size);
