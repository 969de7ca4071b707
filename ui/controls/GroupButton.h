// GroupButton: what radio, select and layer buttons share: a check state kept in a group in
// which at most one member is checked by the user (ButtonGroup), the press, release, focus and
// key steps, and a strip from the engine's cache set without a repaint. A click or a counting
// key (Space with the focus flag, or the hot key) checks the button and unchecks the rest of
// its group; the click reports NOTIFY_CLICKED, the key NOTIFY_CHECKED with the check state.
// A derived class names itself (GetClassNameW, which the group compares) and draws its cells.
// No virtual operations of its own. Window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/ToggleInput.h"
#include "ui/core/CString.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API GroupButton : public MControlFont {
public:
  int SetControlFocus(int focus) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;
  // The strip from the engine's cache; no repaint. 1, or 0 without an engine or image.
  int SetImage(UINT id, CString type, int frames) override;
  int SetImage(const wchar_t* file, int frames) override;

  int GetCheck() const { return m_toggle.check; }
  // Nothing while disabled; on a change the group is cleared. The check state.
  int SetCheck(int check);
  // The check state and its cell, without the enabled test and without the group walk.
  void SetControlCheck(int check);
  // Unchecks the other members of the group; 1, or 0 without a container.
  int ResetGroupCheck();
  void SetGroupName(const wchar_t* name) { m_strGroupName = name ? name : L""; }
  CString GetGroupName() const { return m_strGroupName; }
  // The cell shown.
  int GetState() const { return m_toggle.state; }
  // Unchecked by another member's walk: normal cell, repainted, not notified.
  void ClearByGroup();

protected:
  // scheme maps (base state, check) to the cell; liveOnly: the walk skips hidden and
  // disabled members.
  GroupButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled,
              int (*scheme)(int base, int check), bool liveOnly, const wchar_t* group);
  // The check state and its resting cell; on a change the group walk and a repaint.
  void ApplyCheck(int check);

  ToggleInput::Toggle m_toggle;
  CString m_strGroupName;
  bool m_bLiveOnly;
};

}  // namespace TESK
