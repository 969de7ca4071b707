// Fills an on-screen keyboard from a layout the way the program's model selection does.
#pragma once

#include "layouts/LayoutFile.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace testsupport {

// The key colour the program gives every key it adds.
constexpr int kLayoutKeyColour = 0x232323;

// ClearItem, then every key in file order (its name, desc, code and rectangle, no icon,
// colour 0x232323), then SetWidthAndHeight with the layout's size.
void FillKeyboard(TESK::KeyboardCtrl& keyboard, const Layout& layout);

// A key's rectangle in layout coordinates, as the program builds it from the file.
CRect LayoutRect(const LayoutKey& key);

}  // namespace testsupport
