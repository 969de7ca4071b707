#include "MenuProbe.h"

#include "ModalScript.h"
#include "ui/core/MWindow.h"
#include "ui/core/MenuWnd.h"

namespace testsupport {

MenuSeen ProbeMenu(HWND owner, const std::function<void()>& open) {
  MenuSeen seen;
  ModalScript script(nullptr, 5000);
  script.At(300, [&] {
    HWND menuWindow = FindWindowW(L"MWindow", L"Menu Window");
    if (!menuWindow) return;
    seen.open = true;
    seen.ownerEnabled = IsWindowEnabled(owner);
    auto* window = reinterpret_cast<TESK::MWindow*>(GetWindowLongPtrW(menuWindow, GWLP_USERDATA));
    if (auto* menu = dynamic_cast<TESK::MenuWnd*>(window)) {
      for (UINT id = 100; id < 300; ++id) {
        if (menu->GetControl(id)) seen.items.push_back(id);
      }
    }
    PostMessageW(menuWindow, WM_CLOSE, 0, 0);
  });
  open();
  return seen;
}

}  // namespace testsupport
