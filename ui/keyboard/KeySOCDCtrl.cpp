#include "ui/keyboard/KeySOCDCtrl.h"

#include <iterator>

namespace TESK {

namespace {

constexpr KeySlotLayout kLayouts[] = {
    {6, {10, 5, 70, 65}, 75, 0, false, false},
    {8, {10, 5, 70, 65}, 75, 0, false, false},
    {10, {10, 5, 70, 65}, 75, 0, false, false},
};

}  // namespace

KeySOCDCtrl::KeySOCDCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : KeySlotRow(owner, id, rect, visible, enabled, kLayouts, std::size(kLayouts)) {}

KeySOCDCtrl::~KeySOCDCtrl() = default;

}  // namespace TESK
