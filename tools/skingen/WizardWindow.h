// The wizard's window and pages: background, logo, caption and navigation
// buttons, step indicator, page backgrounds with calm areas under their texts,
// the level step's gauge faces and the settings step's controls.
#pragma once
#include <functional>
#include <map>
#include "Canvas.h"

// Adds the wizard's pictures, under their ids, to a set.
void AddWizardPictures(std::map<int, std::function<Canvas()>>& set);
// The pictures of the test-only extra module: page backgrounds 1004 and 1005.
void AddWizardExtraPictures(std::map<int, std::function<Canvas()>>& set);
