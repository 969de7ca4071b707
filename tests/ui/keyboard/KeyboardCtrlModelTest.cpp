// The on-screen keyboard's key records and the operations on them, without a window: a
// recording owner counts the repaint requests.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BitmapProbe.h"
#include "ProbeControl.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/keyboard/SwitchTravel.h"

namespace {

using TESK::KEY_INFO;
using TESK::KeyboardCtrl;

// Opens the picks, which only clicks make otherwise.
class OpenKeyboard : public KeyboardCtrl {
public:
  using KeyboardCtrl::KeyboardCtrl;
  using KeyboardCtrl::m_advPicks;
  using KeyboardCtrl::m_hoverIndex;
  using KeyboardCtrl::m_offsetX;
  using KeyboardCtrl::m_offsetY;
  using KeyboardCtrl::m_pickSlot;
  using KeyboardCtrl::m_pressIndex;
};

class KeyboardModelTest : public ::testing::Test {
protected:
  // Keys A (0x04), B (0x05) and a second A, side by side, each 40 x 40.
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      keyboard.AddKeyItem(L"K", L"D", i == 1 ? 0x05 : 0x04, CRect(i * 50, 0, i * 50 + 40, 40), CString(), 0x232323);
    }
  }
  KEY_INFO& Key(int i) { return *keyboard.GetKeyItems().at(static_cast<size_t>(i)); }
  size_t Repaints() const { return owner.updates.size(); }

  testsupport::GdiplusSession gdiplus;
  testsupport::RecordingOwner owner;
  OpenKeyboard keyboard{&owner, 7, CRect(100, 50, 300, 150), 1};
};

TEST_F(KeyboardModelTest, NewRecordsCarryTheDefaultsAndTheirPlaceInTheList) {
  const std::vector<KEY_INFO*> keys = keyboard.GetKeyItems();
  ASSERT_EQ(3u, keys.size());
  const KEY_INFO& b = *keys[1];
  EXPECT_EQ(1, b.index);
  EXPECT_EQ(0x05, b.key_code);
  EXPECT_EQ(CString(L"K"), b.name);
  EXPECT_EQ(CString(L"D"), b.desc);
  EXPECT_EQ(0, b.type);
  EXPECT_TRUE(b.rect.EqualRect(CRect(50, 0, 90, 40)));
  EXPECT_EQ(0x232323u, b.color);
  EXPECT_EQ(nullptr, b.icon);
  const int block[] = {b.switch_type, b.key_mode, b.key_actuation, b.rt_press, b.rt_release,
                       b.deadzone_state, b.press_deadzone, b.release_deadzone, b.live_travel, b.calib_peak};
  const int expected[] = {0, 0, 36, 2, 5, 0, 2, 5, 0, 0};
  EXPECT_TRUE(std::equal(std::begin(block), std::end(block), std::begin(expected)));
  EXPECT_EQ(3, keyboard.AddKeyItem(L"", L"", 0x06, CRect(), L"no_such_icon.png", 0));
  EXPECT_EQ(nullptr, keyboard.GetKeyItems()[3]->icon) << "a picture that does not load is simply absent";
}

// Each by-code operation changes the first key with the code only, reads back through the
// record, and asks for the repaint its row names; an unknown code changes nothing.
TEST_F(KeyboardModelTest, ByCodeOperationsChangeTheFirstKeyWithTheCode) {
  struct Case {
    const char* what;
    std::function<void(int code)> call;
    std::function<int(const KEY_INFO&)> field;
    int expected;
    size_t repaints;
  } cases[] = {
      {"SetKeyColor", [&](int c) { keyboard.SetKeyColor(c, 0x0000FF); }, [](const KEY_INFO& k) { return int(k.color); },
       0x0000FF, 0},
      {"SetKeyCheck", [&](int c) { keyboard.SetKeyCheck(c, 1); }, [](const KEY_INFO& k) { return k.checked; }, 1, 0},
      {"SetKeyItemInfo", [&](int c) { keyboard.SetKeyItemInfo(c, L"Fn", 17, L"tip"); },
       [](const KEY_INFO& k) { return k.type; }, 17, 0},
      {"SetKeyActuation (live)", [&](int c) { keyboard.SetKeyActuation(c, 33); },
       [](const KEY_INFO& k) { return k.live_travel; }, 33, 1},
      {"SetKeyCalibration", [&](int c) { keyboard.SetKeyCalibration(c, 3, 255, 9, 70); },
       [](const KEY_INFO& k) { return k.calib_progress * 1000 + k.calib_peak; }, 255070, 1},
      {"SetKeyPerfInfo (nine)", [&](int c) { keyboard.SetKeyPerfInfo(c, 2, 0x11, 80, 3, 4, 6, 7, 1); },
       [](const KEY_INFO& k) { return k.key_actuation * 100 + k.release_deadzone; }, 8007, 1},
  };
  for (const Case& c : cases) {
    keyboard.ClearItem();  // each case starts from the three fresh keys
    SetUp();
    owner.updates.clear();
    const int before0 = c.field(Key(0)), before2 = c.field(Key(2));
    c.call(0x99);
    EXPECT_EQ(before0, c.field(Key(0))) << c.what << ": an unknown code changes nothing";
    EXPECT_EQ(0u, Repaints()) << c.what << ": an unknown code asks for no repaint";
    c.call(0x04);
    EXPECT_EQ(c.expected, c.field(Key(0))) << c.what;
    EXPECT_EQ(before2, c.field(Key(2))) << c.what << ": only the first key with the code";
    EXPECT_EQ(c.repaints, Repaints()) << c.what;
  }
}

TEST_F(KeyboardModelTest, TheSixArgumentPerformanceSetterChangesEveryKeyWithTheCode) {
  Key(0).key_mode = 0x1F2;
  keyboard.SetKeyPerfInfo(0x04, 3, 70, 8, 9, 1);
  for (int i : {0, 2}) {
    EXPECT_EQ(70, Key(i).key_actuation);
    EXPECT_EQ(8, Key(i).rt_press);
    EXPECT_EQ(9, Key(i).rt_release);
  }
  EXPECT_EQ(0xF3, Key(0).key_mode) << "bits 4-7 stay, bits 8 and up go, the low nibble takes the mode";
  EXPECT_EQ(36, Key(1).key_actuation);
  keyboard.SetKeyPerfInfo(0x04, 0x21, 60, 1, 1, 0);
  EXPECT_EQ(0x21, Key(2).key_mode) << "without the flag the whole mode is stored";
  EXPECT_EQ(9, Key(2).rt_release) << "and the rapid-trigger values stay";

  Key(1).checked = 1;
  Key(1).key_mode = 0x1F2;
  keyboard.SetKeyRapidTrigger(3, 4, 5);
  EXPECT_EQ(0xF3, Key(1).key_mode);
  EXPECT_EQ(0x21, Key(2).key_mode) << "only checked keys";
}

TEST_F(KeyboardModelTest, DeadZoneValuesKeepTheActuationWithinTheSwitchTravel) {
  struct Case {
    int switchType, actuation, press, release, expected;
  } cases[] = {
      {2, 160, 5, 10, 156},  // 332 / 2 - 10
      {9, 160, 5, 10, 160},  // no travel entry: no clamp
      {0, 3, 5, 10, 5},      // below the press dead zone
      {5, 100, 5, 10, 100},
  };
  for (const Case& c : cases) {
    Key(1).checked = 1;
    Key(1).switch_type = c.switchType;
    Key(1).key_actuation = c.actuation;
    keyboard.SetDeadZoneValue(c.press, c.release, 1);
    EXPECT_EQ(c.expected, Key(1).key_actuation) << "switch " << c.switchType << ", actuation " << c.actuation;
    EXPECT_EQ(c.press, Key(1).press_deadzone);
    EXPECT_EQ(c.release, Key(1).release_deadzone);
    EXPECT_EQ(1, Key(1).deadzone_state);
  }
  EXPECT_EQ(36, Key(0).key_actuation) << "an unchecked key is left alone";
  EXPECT_EQ(-1, TESK::SwitchTravel(6));
  EXPECT_EQ(-1, TESK::SwitchTravel(-1));
  EXPECT_EQ(332, TESK::SwitchTravel(2));
}

TEST_F(KeyboardModelTest, SwitchTypeOfTheCheckedKeys) {
  EXPECT_EQ(-1, keyboard.GetKeySwicthType()) << "none checked";
  Key(0).checked = Key(2).checked = 1;
  keyboard.SetKeySwitchType(5);
  EXPECT_EQ(5, keyboard.GetKeySwicthType());
  EXPECT_EQ(0, Key(1).switch_type);
  Key(2).switch_type = 2;
  EXPECT_EQ(-2, keyboard.GetKeySwicthType());
  keyboard.SetKeyPerfSwitchType(1);
  EXPECT_EQ(1, keyboard.GetKeySwicthType());
  EXPECT_EQ(1, Key(1).switch_type);
}

TEST_F(KeyboardModelTest, ChecksSelectionAndTheRememberedKey) {
  EXPECT_EQ(-1, keyboard.GetSelectKey()) << "nothing remembered yet";
  keyboard.SetKeyCheck(0x05, 1);
  EXPECT_EQ(0x05, keyboard.GetSelectKey());
  keyboard.ResetAllItemCheck();
  EXPECT_EQ(0, keyboard.GetCheckItemCount());
  EXPECT_EQ(0x05, keyboard.GetSelectKey()) << "remembered after the checks went";
  keyboard.InvertSelectItem();
  EXPECT_EQ(3, keyboard.GetCheckItemCount());
  keyboard.m_pressIndex = 1;
  keyboard.m_advPicks = {{0, 0x04}};
  keyboard.m_pickSlot = 1;
  keyboard.ResetAllItemCheck(0);
  EXPECT_EQ(-1, keyboard.m_pressIndex);
  EXPECT_TRUE(keyboard.m_advPicks.empty());
  EXPECT_EQ(0, keyboard.m_pickSlot);
  Key(2).key_code = 0x1E0;
  Key(2).checked = 1;
  EXPECT_EQ(-1, keyboard.GetSelectKey()) << "a code above 255";

  keyboard.m_pressIndex = 1;
  keyboard.SetAllSelectColor(0x00FF00);
  EXPECT_EQ(0x00FF00u, Key(1).color) << "the pressed key";
  EXPECT_EQ(0x00FF00u, Key(2).color) << "a checked key";
  EXPECT_EQ(0x232323u, Key(0).color);
  owner.updates.clear();
  keyboard.SetLightModeColor(1, 0x0000FF);
  EXPECT_EQ(0x232323u, Key(0).color) << "flag 1 does nothing";
  EXPECT_EQ(0u, Repaints());
  keyboard.SetLightModeColor(0, 0x0000FF);
  EXPECT_EQ(0x0000FFu, Key(0).color);
  EXPECT_EQ(1u, Repaints());
}

TEST_F(KeyboardModelTest, CurrentKeyValuePacksTheAdvancedKeyPicks) {
  keyboard.SetCurrentKeyValue(0x2C);
  EXPECT_EQ(0x2C, keyboard.GetCurrentKeyValue());
  keyboard.SetKeyboardCtrlMode(TESK::KBMODE_ADVKEY);
  struct Case {
    std::vector<std::pair<int, int>> picks;
    int expected;
  } cases[] = {
      {{}, 0},
      {{{0, 0x04}}, 0x04},
      {{{1, 0x2C}}, 0x2C0000},
      {{{0, 0x04}, {1, 0x2C}}, 0x2C0004},
      {{{1, 0x2C}, {0, 0x04}}, 0x2C0004},
      {{{0, 0x04}, {1, 0x2C}, {1, 0x05}}, 0},
  };
  for (const Case& c : cases) {
    keyboard.m_advPicks = c.picks;
    EXPECT_EQ(c.expected, keyboard.GetCurrentKeyValue()) << c.picks.size() << " picks";
  }
  owner.updates.clear();
  keyboard.m_pressIndex = 2;
  keyboard.SetCurrentKeyValue(5);
  EXPECT_EQ(2, keyboard.m_pressIndex);
  EXPECT_EQ(0u, Repaints());
  keyboard.SetCurrentKeyValue(-1);
  EXPECT_EQ(-1, keyboard.m_pressIndex);
  EXPECT_EQ(1u, Repaints());
}

TEST_F(KeyboardModelTest, DeletingAPickAnswersTheSlotItFreed) {
  struct Case {
    std::vector<std::pair<int, int>> picks;
    int code, expected;
    size_t left;
  } cases[] = {
      {{{0, 0x04}, {1, 0x05}}, 0x04, 0, 1},
      {{{0, 0x04}, {1, 0x05}}, 0x05, 1, 1},
      {{{1, 0x05}}, 0x05, 0, 0},  // the only pick
      {{{0, 0x04}}, 0x2C, -1, 1},  // no such pick while picks remain
      {{}, 0x2C, 0, 0},
  };
  for (const Case& c : cases) {
    keyboard.m_advPicks = c.picks;
    EXPECT_EQ(c.expected, keyboard.DeleteSelectItem(c.code)) << c.picks.size() << " picks, code " << c.code;
    EXPECT_EQ(c.left, keyboard.m_advPicks.size());
  }
  keyboard.m_advPicks = {{0, 4}};
  keyboard.m_pickSlot = 1;
  keyboard.ClearSelectItem();
  EXPECT_EQ(0, keyboard.GetSelectKeyCount());
  EXPECT_EQ(0, keyboard.m_pickSlot);
}

TEST_F(KeyboardModelTest, LayoutIsCentredAndHitTestedInWindowCoordinates) {
  keyboard.SetWidthAndHeight(141, 40);
  EXPECT_EQ(29, keyboard.m_offsetX) << "(200 - 141) / 2";
  EXPECT_EQ(30, keyboard.m_offsetY);
  keyboard.SetWidthAndHeight(300, 141);
  EXPECT_EQ(-50, keyboard.m_offsetX) << "a layout larger than the control";
  EXPECT_EQ(-20, keyboard.m_offsetY) << "(100 - 141) / 2 rounds towards zero";
  keyboard.SetWidthAndHeight(140, 40);
  // Key B at (50, 0, 90, 40) + offsets (30, 30) + the control's corner (100, 50).
  EXPECT_EQ(0x05, keyboard.GetKeyCodeByPoint(CPoint(180, 80)));
  EXPECT_EQ(0x05, keyboard.GetKeyCodeByPoint(CPoint(219, 119)));
  EXPECT_EQ(0, keyboard.GetKeyCodeByPoint(CPoint(220, 80))) << "the right edge is outside";
  EXPECT_EQ(0, keyboard.GetKeyCodeByPoint(CPoint(175, 80))) << "the gap";
  keyboard.SetRect(CRect(0, 0, 0, 0));
  EXPECT_EQ(30, keyboard.m_offsetX) << "an empty rectangle keeps the offsets";
  keyboard.SetRect(CRect(100, 50, 400, 150));
  EXPECT_EQ(80, keyboard.m_offsetX) << "a new rectangle centres the layout again";

  keyboard.DragMove(CPoint(180 + 50, 80));
  EXPECT_EQ(1, keyboard.m_hoverIndex);
  keyboard.ClearItem();
  EXPECT_EQ(-1, keyboard.m_hoverIndex);
  EXPECT_EQ(0, keyboard.GetKeyCodeByPoint(CPoint(230, 80)));
  EXPECT_TRUE(keyboard.GetKeyItems().empty());
}

TEST_F(KeyboardModelTest, TextsTipsAndCalibrationReset) {
  keyboard.SetKeyDesc(0x05, L"Five");
  EXPECT_EQ(CString(L"Five"), Key(1).name);
  EXPECT_EQ(CString(L"Five"), Key(1).desc);
  keyboard.SetTipKey(0x05, L"t", L"v");
  EXPECT_EQ(CString(L"v"), Key(1).tip_value);
  keyboard.ResetTipKey();
  EXPECT_TRUE(Key(1).tip_text.IsEmpty() && Key(1).tip_value.IsEmpty());
  keyboard.SetKeyCalibration(0x05, 3, 10, 1, 70);
  keyboard.SetKeyCalibration(0x05, 1, 11, 2, 40);
  EXPECT_EQ(70, Key(1).calib_peak) << "a running maximum";
  EXPECT_EQ(11, Key(1).calib_progress);
  keyboard.ResetKeyCalibration();
  EXPECT_EQ(0, Key(1).calib_peak + Key(1).calib_progress + Key(1).calib_travel + Key(1).calib_info);
}

}  // namespace
