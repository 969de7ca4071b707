#include "ui/controls/GroupButton.h"

#include "ui/controls/ButtonGroup.h"

namespace TESK {

GroupButton::GroupButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled,
                         int (*scheme)(int base, int check), bool liveOnly, const wchar_t* group)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_toggle(scheme),
      m_strGroupName(group),
      m_bLiveOnly(liveOnly) {
  m_bTabStop = 1;
  m_toggle.state = scheme(enabled ? 0 : 3, 0);
}

int GroupButton::SetImage(UINT id, CString type, int frames) { return LoadImageQuietly(id, type, frames); }

int GroupButton::SetImage(const wchar_t* file, int frames) { return LoadImageQuietly(file, frames); }

int GroupButton::ResetGroupCheck() { return ButtonGroup::Reset(*this, m_bLiveOnly); }

void GroupButton::ClearByGroup() {
  m_toggle.check = 0;
  m_toggle.state = 0;
  UpdateControl(0, 0);
}

void GroupButton::SetControlCheck(int check) {
  m_toggle.check = check;
  m_toggle.state = m_toggle.cell(0, check);
  UpdateControl(0, 0);
}

void GroupButton::ApplyCheck(int check) {
  const bool changed = check != m_toggle.check;
  m_toggle.check = check;
  m_toggle.state = m_toggle.cell(0, check);
  if (changed) {
    ResetGroupCheck();
    UpdateControl(0, 0);
  }
}

int GroupButton::SetCheck(int check) {
  if (m_bEnabled) ApplyCheck(check);
  return m_toggle.check;
}

int GroupButton::SetControlFocus(int focus) { return ToggleInput::Focus(*this, m_bFocused, focus); }

void GroupButton::SetControlEnabled(int enabled) { ToggleInput::Enable(*this, m_toggle, enabled); }

int GroupButton::OnControlMouseMove(UINT, CPoint pt) { return ToggleInput::Move(*this, m_toggle, pt); }

int GroupButton::OnControlLButtonDown(UINT, CPoint pt) { return ToggleInput::Press(*this, m_toggle, pt, m_bFocused); }

int GroupButton::OnControlLButtonUp(UINT, CPoint pt) {
  const ToggleInput::Release release = ToggleInput::Up(*this, m_toggle, pt);
  if (release != ToggleInput::Release::Click) return ToggleInput::Rest(*this, m_toggle, release);
  m_toggle.check = 1;
  ResetGroupCheck();
  const int changed = ToggleInput::Show(*this, m_toggle, 1);
  SendMessageW(NOTIFY_CLICKED, 0, 0);
  return changed;
}

int GroupButton::OnControlKeyDown(UINT key, UINT count, UINT modifiers) {
  if (!ToggleInput::KeyCounts(*this, m_bFocused, key, count, modifiers)) return 0;
  if (m_bEnabled) ApplyCheck(1);
  SendMessageW(NOTIFY_CHECKED, 0, m_toggle.check);
  return 1;
}

}  // namespace TESK
