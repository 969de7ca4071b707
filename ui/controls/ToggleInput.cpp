#include "ui/controls/ToggleInput.h"

#include "ui/core/MControl.h"

namespace TESK {

namespace ToggleInput {

namespace {

constexpr int kDisabled = 3;
constexpr int kSelected = 2;

}  // namespace

int EightCells(int base, int check) { return base + (check ? 4 : 0); }

int SelectCells(int base, int check) { return base == kDisabled ? kDisabled : check ? kSelected : base; }

int SetCell(MControl& button, Toggle& toggle, int cell) {
  if (cell == toggle.state) return 0;
  toggle.state = cell;
  button.UpdateControl(0, 0);
  return 1;
}

int Show(MControl& button, Toggle& toggle, int base) { return SetCell(button, toggle, toggle.cell(base, toggle.check)); }

int Enable(MControl& button, Toggle& toggle, int enabled) {
  if (enabled == button.IsEnabled()) return 0;
  button.MControl::SetControlEnabled(enabled);
  return Show(button, toggle, enabled ? 0 : kDisabled);
}

int Move(MControl& button, Toggle& toggle, CPoint pt) {
  if (!button.IsEnabled() || toggle.pressing) return 0;
  return Show(button, toggle, button.GetRect().PtInRect(pt) ? 1 : 0);
}

int Press(MControl& button, Toggle& toggle, CPoint pt, int& focused) {
  if (!button.IsEnabled() || !button.GetRect().PtInRect(pt)) return 0;
  toggle.pressing = 1;
  if (toggle.check) focused = 1;
  return Show(button, toggle, 2);
}

Release Up(MControl& button, Toggle& toggle, CPoint pt) {
  const int pressed = toggle.pressing;
  toggle.pressing = 0;
  if (!button.IsEnabled()) return Release::Ignored;
  if (!button.GetRect().PtInRect(pt)) return Release::Outside;
  return pressed ? Release::Click : Release::Inside;
}

int SetCheck(MControl& button, Toggle& toggle, int check) {
  if (!button.IsEnabled()) return toggle.check;
  const bool changed = check != toggle.check;
  toggle.check = check;
  toggle.state = toggle.cell(0, check);
  if (changed) button.UpdateControl(0, 0);
  return toggle.check;
}

int Rest(MControl& button, Toggle& toggle, Release release) {
  if (release == Release::Ignored) return 0;
  return Show(button, toggle, release == Release::Outside ? 0 : 1);
}

int ToggleOnRelease(MControl& button, Toggle& toggle, Release release) {
  if (release != Release::Click) return Rest(button, toggle, release);
  toggle.check = toggle.check ? 0 : 1;
  const int changed = Show(button, toggle, 1);
  button.SendMessageW(NOTIFY_CLICKED, 0, 0);
  return changed;
}

int Focus(MControl& button, int& focused, int focus) {
  button.MControl::SetControlFocus(focus);
  if (!button.IsVisible() || !button.IsEnabled()) return 0;
  focused = focus;
  button.UpdateControl(1, 0);
  return 1;
}

bool KeyCounts(MControl& button, int focused, UINT key, UINT count, UINT modifiers) {
  if (button.MControl::OnControlKeyDown(key, count, modifiers)) return true;
  return focused && key == VK_SPACE && modifiers == 0;
}

}  // namespace ToggleInput

}  // namespace TESK
