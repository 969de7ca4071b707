// ButtonGroup: exclusive groups of radio, select, layer and colour buttons and of the
// sensitivity tiles (DPIControl). A group is the buttons of one class name (GetClassNameW,
// compared exactly) and one group name among the controls of the same container: the owner
// control's children, or, for an owner that is not a control (a dialog), the control list of
// the button's window engine. Checking a member unchecks the others, which are repainted but
// not notified. The walk visits a copy of the list taken under its lock (members removed
// meanwhile are skipped), so no list lock is held while members repaint. Window's thread only.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/MControl.h"

namespace TESK {

namespace ButtonGroup {

// The controls of button's container; false without an owner, or without a window engine
// for an owner that is not a control.
bool Members(MControl& button, std::vector<MControl*>& members);

// Unchecks the other members of button's group (with liveOnly, only visible and enabled
// ones) through their ClearByGroup; 1, or 0 without a container.
template <class Button>
int Reset(Button& button, bool liveOnly) {
  std::vector<MControl*> members;
  if (!Members(button, members)) return 0;
  for (MControl* entry : members) {
    if (!entry || entry->IsRemoved() || entry == &button || !entry->IsClass(button.GetClassNameW())) continue;
    auto* other = dynamic_cast<Button*>(entry);
    if (!other || other->GetGroupName() != button.GetGroupName()) continue;
    if (liveOnly && !(other->IsVisible() && other->IsEnabled())) continue;
    other->ClearByGroup();
  }
  return 1;
}

}  // namespace ButtonGroup

}  // namespace TESK
