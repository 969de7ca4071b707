#include "ui/keyboard/KeyMTCtrl.h"

#include <iterator>

namespace TESK {

namespace {

constexpr KeySlotLayout kLayouts[] = {
    {2, {10, 5, 80, 45}, 0, 55, false, false},
    {4, {10, 5, 70, 65}, 0, 0, true, true},
};

}  // namespace

KeyMTCtrl::KeyMTCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : KeySlotRow(owner, id, rect, visible, enabled, kLayouts, std::size(kLayouts)) {}

KeyMTCtrl::~KeyMTCtrl() = default;

}  // namespace TESK
