// The program's side of the key records: it walks the on-screen keyboard's KEY_INFO records
// after GetKeyItems, holding the control's lock, so the record's layout and its strings must
// agree across the library's boundary.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "layouts/KeyboardFill.h"
#include "layouts/LayoutFile.h"
#include "ui/keyboard/KeyboardCtrl.h"

using TESK::KEY_INFO;
using TESK::KeyboardCtrl;

namespace {

#define KEY_FIELDS_IN_ORDER(a, b) (offsetof(KEY_INFO, a) < offsetof(KEY_INFO, b))
static_assert(offsetof(KEY_INFO, index) == 0, "index comes first");
static_assert(KEY_FIELDS_IN_ORDER(index, key_code) && KEY_FIELDS_IN_ORDER(key_code, name) &&
                  KEY_FIELDS_IN_ORDER(name, desc) && KEY_FIELDS_IN_ORDER(desc, type) &&
                  KEY_FIELDS_IN_ORDER(type, tip_text) && KEY_FIELDS_IN_ORDER(tip_text, tip_value) &&
                  KEY_FIELDS_IN_ORDER(tip_value, rect) && KEY_FIELDS_IN_ORDER(rect, checked) &&
                  KEY_FIELDS_IN_ORDER(checked, reserved) && KEY_FIELDS_IN_ORDER(reserved, color) &&
                  KEY_FIELDS_IN_ORDER(color, icon) && KEY_FIELDS_IN_ORDER(icon, icon_width) &&
                  KEY_FIELDS_IN_ORDER(icon_width, icon_height) && KEY_FIELDS_IN_ORDER(icon_height, switch_type) &&
                  KEY_FIELDS_IN_ORDER(switch_type, key_mode) && KEY_FIELDS_IN_ORDER(key_mode, key_actuation) &&
                  KEY_FIELDS_IN_ORDER(key_actuation, rt_press) && KEY_FIELDS_IN_ORDER(rt_press, rt_release) &&
                  KEY_FIELDS_IN_ORDER(rt_release, deadzone_state) &&
                  KEY_FIELDS_IN_ORDER(deadzone_state, press_deadzone) &&
                  KEY_FIELDS_IN_ORDER(press_deadzone, release_deadzone) &&
                  KEY_FIELDS_IN_ORDER(release_deadzone, live_travel) &&
                  KEY_FIELDS_IN_ORDER(live_travel, calib_travel) &&
                  KEY_FIELDS_IN_ORDER(calib_travel, calib_progress) &&
                  KEY_FIELDS_IN_ORDER(calib_progress, calib_info) && KEY_FIELDS_IN_ORDER(calib_info, calib_peak) &&
                  KEY_FIELDS_IN_ORDER(calib_peak, reserved2),
              "the record's fields keep their order");
#undef KEY_FIELDS_IN_ORDER
static_assert(sizeof(KEY_INFO::index) == 4 && sizeof(KEY_INFO::key_code) == 4 && sizeof(KEY_INFO::rect) == 16 &&
                  sizeof(KEY_INFO::color) == 4 && sizeof(KEY_INFO::icon) == sizeof(void*) &&
                  sizeof(KEY_INFO::reserved2) == 4,
              "the record's fields keep their sizes");

TEST(KeyInfoTest, RecordsAddedThroughTheLibraryReadBackUnderTheLock) {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::ControlHost host(1400, 860);
  auto* keyboard = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 80, CRect(280, 100, 1280, 480));
  ASSERT_NE(nullptr, keyboard);
  const testsupport::Layout layout = testsupport::ReadLayout(testsupport::LayoutPath("Lynt 80"));
  ASSERT_EQ(87u, layout.keys.size());
  testsupport::FillKeyboard(*keyboard, layout);

  // The walk of the program's own loops: lock, pointers, records, unlock.
  keyboard->EnterCriSec();
  const std::vector<KEY_INFO*> keys = keyboard->GetKeyItems();
  ASSERT_EQ(layout.keys.size(), keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    const testsupport::LayoutKey& expected = layout.keys[i];
    EXPECT_EQ(static_cast<int>(i), keys[i]->index);
    EXPECT_EQ(expected.code, keys[i]->key_code);
    EXPECT_EQ(CString(expected.name.c_str()), keys[i]->name);
    EXPECT_EQ(CString(expected.desc.c_str()), keys[i]->desc);
    EXPECT_TRUE(keys[i]->rect.EqualRect(testsupport::LayoutRect(expected))) << i;
    EXPECT_EQ(static_cast<COLORREF>(testsupport::kLayoutKeyColour), keys[i]->color);
    // A caption the program writes into a record is freed by the library later.
    keys[i]->name = L"Program's caption";
    // Setters take the lock again on the same thread.
    keyboard->SetKeyItemInfo(expected.code, keys[i]->name, 2, L"");
  }
  keyboard->LeaveCriSec();
  keyboard->ClearItem();
  EXPECT_TRUE(keyboard->GetKeyItems().empty());
}

}  // namespace
