// The full travel of each switch type the keyboards are fitted with, in 0.01 mm. Key
// positions (actuation point, rapid-trigger distances, dead zones) count in 0.02 mm steps,
// so half an entry is that switch's deepest position in steps. The keyboard controls and
// the program's performance page read the one table through SwitchTravel.
#pragma once

namespace TESK {

constexpr int SWITCH_TRAVEL_TABLE[6] = {400, 400, 332, 400, 360, 370};
constexpr int SWITCH_TYPE_COUNT = 6;

// The switch type's full travel in 0.01 mm; -1 (no entry) for a type outside 0..5, which a
// device reply or a stored row may carry.
constexpr int SwitchTravel(int switchType) {
  return switchType >= 0 && switchType < SWITCH_TYPE_COUNT ? SWITCH_TRAVEL_TABLE[switchType] : -1;
}

}  // namespace TESK
