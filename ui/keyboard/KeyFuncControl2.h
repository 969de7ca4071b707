// KeyFuncControl2: the keyboard-shaped key picker in its compact layout (30-pixel keys, 242
// px of content) for the advanced-key editor. It is a KeyFuncControl with its own cells,
// labels ("Insert", "Menu") and corner radius; its vertical bar never shows, though the
// wheel still moves the cells by the spare height. Besides the release's NOTIFY_CLICKED,
// a press inside reports NOTIFY_PRESSED (wParam: the selected index, -1 for a gap). Its
// selection is the base's, so KeyFuncControl::GetCurItemData answers with it. Made by both
// factories ("KeyFuncControl2"); window thread only.
#pragma once

#include <windows.h>

#include "ui/core/TeskApi.h"
#include "ui/keyboard/KeyFuncControl.h"

namespace TESK {

class TESK_API KeyFuncControl2 : public KeyFuncControl {
public:
  KeyFuncControl2(MObject* owner, UINT id, CRect rect, int visible);

  ~KeyFuncControl2() override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
};

}  // namespace TESK
