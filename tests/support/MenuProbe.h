// Looks at a page's popup menu while its modal loop runs: a step of a ModalScript finds the
// "Menu Window", notes its item ids and whether its owner was enabled, and closes it, so the
// call that opened the menu returns. UI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace testsupport {

struct MenuSeen {
  bool open = false;
  BOOL ownerEnabled = TRUE;
  std::vector<UINT> items;  // the ids 100 to 299 the menu holds, in id order
};

// Runs open(), which shows a menu owned by owner, and reports what the menu showed.
MenuSeen ProbeMenu(HWND owner, const std::function<void()>& open);

}  // namespace testsupport
