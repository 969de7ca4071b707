#include "ui/controls/ButtonGroup.h"

#include "ui/core/PaintManager.h"

namespace TESK {

namespace ButtonGroup {

bool Members(MControl& button, std::vector<MControl*>& members) {
  MObject* owner = button.GetParantObject();
  if (!owner) return false;
  if (auto* container = dynamic_cast<MControl*>(owner)) {
    members = container->CopyControls();
    return true;
  }
  // A dialog or another window object: its controls are the engine's.
  PaintManager* engine = button.GetManager();
  if (!engine) return false;
  members = engine->CopyControls();
  return true;
}

}  // namespace ButtonGroup

}  // namespace TESK
