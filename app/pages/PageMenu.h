// The pages' popup menus: a "Menu Window" owned by the main window, just under a page button,
// listing language texts with their item ids. The chosen item comes back to the owner as the
// page's notify message with the item id in lParam. UI thread only.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace TESK {
class MControl;
}

// (item id, language text id of its caption), in menu order.
using PageMenuItems = std::vector<std::pair<int, int>>;

// The profile menu of the pages: new, delete and rename profile (items 101, 102, 103).
extern const PageMenuItems kProfileMenuItems;

// The menus' usual least width; some pages ask for a wider one.
constexpr int kPageMenuWidth = 120;

// Opens the menu at the button's left edge, 30 px below its top (owner's client coordinates),
// at least width pixels wide, and runs it: with disableOwner the owner is disabled while it is
// open (ShowModal), else it stays usable (ShowModal2). Returns when the menu has closed;
// always 1.
int ShowPageMenu(HWND owner, const TESK::MControl* button, UINT notifyMessage, const PageMenuItems& items,
                 bool disableOwner, int width = kPageMenuWidth);
