#include "ui/controls/ButtonInput.h"

#include "ui/core/MControl.h"

namespace TESK {

namespace ButtonInput {

namespace {

bool Inside(const MControl& button, CPoint pt) {
  const CRect rect = button.GetRect();
  return rect.PtInRect(pt) != 0;
}

}  // namespace

void SetCursorFor(bool inside) { ::SetCursor(::LoadCursorW(nullptr, inside ? IDC_HAND : IDC_ARROW)); }

int Change(MControl& button, int& state, int next) {
  if (next == state) return 0;
  state = next;
  button.UpdateControl(0, 0);
  return 1;
}

int Enable(MControl& button, int& state, int enabled) {
  if (enabled == button.IsEnabled()) return 0;
  button.MControl::SetControlEnabled(enabled);
  return Change(button, state, enabled ? BUTTON_NORMAL : BUTTON_DISABLED);
}

int Move(MControl& button, int& state, CPoint pt, Cursor cursor) {
  if (!button.IsEnabled() || state == BUTTON_DOWN) return 0;
  const bool inside = Inside(button, pt);
  if (cursor == Cursor::Hand) SetCursorFor(inside);
  return Change(button, state, inside ? BUTTON_HOVER : BUTTON_NORMAL);
}

int Press(MControl& button, int& state, CPoint pt, Cursor cursor) {
  if (!button.IsEnabled() || !Inside(button, pt)) return 0;
  if (cursor == Cursor::Hand) SetCursorFor(true);
  const int changed = Change(button, state, BUTTON_DOWN);
  button.SendMessageW(NOTIFY_PRESSED, 0, 0);
  return changed;
}

Release Up(MControl& button, int& state, CPoint pt) {
  if (!button.IsEnabled()) return Release::Unchanged;
  const bool inside = Inside(button, pt);
  const bool click = inside && state == BUTTON_DOWN;
  if (!Change(button, state, inside ? BUTTON_HOVER : BUTTON_NORMAL)) return Release::Unchanged;
  return click ? Release::Click : Release::Changed;
}

int Click(MControl& button, int& state, CPoint pt) {
  const Release release = Up(button, state, pt);
  if (release == Release::Click) button.SendMessageW(NOTIFY_CLICKED, 0, 0);
  return release == Release::Unchanged ? 0 : 1;
}

}  // namespace ButtonInput

}  // namespace TESK
