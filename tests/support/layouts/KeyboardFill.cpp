#include "layouts/KeyboardFill.h"

namespace testsupport {

CRect LayoutRect(const LayoutKey& key) { return CRect(key.left, key.top, key.left + key.width, key.top + key.height); }

void FillKeyboard(TESK::KeyboardCtrl& keyboard, const Layout& layout) {
  keyboard.ClearItem();
  for (const LayoutKey& key : layout.keys) {
    keyboard.AddKeyItem(key.name.c_str(), key.desc.c_str(), key.code, LayoutRect(key), CString(), kLayoutKeyColour);
  }
  keyboard.SetWidthAndHeight(layout.width, layout.height);
}

}  // namespace testsupport
