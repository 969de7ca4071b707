#include "app/pages/PageMenu.h"

#include "app/Language.h"
#include "ui/core/MControl.h"
#include "ui/core/MenuWnd.h"

namespace {

// Items 30 px high, the menu dropped 30 px below the button's top.
constexpr int kMenuDrop = 30, kMenuItemHeight = 30;

}  // namespace

const PageMenuItems kProfileMenuItems = {{101, 35}, {102, 30}, {103, 33}};

int ShowPageMenu(HWND owner, const TESK::MControl* button, UINT notifyMessage, const PageMenuItems& items,
                 bool disableOwner, int width) {
  const CRect rect = button ? button->GetRect() : CRect();
  POINT at{rect.left, rect.top + kMenuDrop};
  ClientToScreen(owner, &at);
  TESK::MenuWnd menu(nullptr);
  if (!menu.Create(owner, CPoint(at.x, at.y), notifyMessage, CString(), kMenuItemHeight, width,
                   TESK::BACK_MODE_FRAME)) {
    return 1;
  }
  for (const auto& item : items) {
    menu.AddMenu(LoadLanString(L"KB.DIALOG", item.second), static_cast<UINT>(item.first), CString(), 0, -1);
  }
  if (disableOwner) {
    menu.ShowModal(1);
  } else {
    menu.ShowModal2(1);
  }
  return 1;
}
