#include "app/pages/MacroRules.h"

#include <algorithm>

#include "ui/controls/CSpinButton.h"

namespace {

constexpr int kMinPlayCount = 1;
constexpr int kMaxPlayCount = 99;
constexpr int kMaxFixedDelay = 65535;

}  // namespace

int MacroRecordBudget(int macros, int storedEvents) {
  return std::min(2 * (325 - macros - storedEvents), kMacroAreaEvents - storedEvents);
}

int PlayCountFromField(const wchar_t* text) {
  return std::clamp(TESK::ParseSpinValue(text), kMinPlayCount, kMaxPlayCount);
}

int FixedDelayFromField(const wchar_t* text) {
  return std::clamp(TESK::ParseSpinValue(text), 0, kMaxFixedDelay);
}
