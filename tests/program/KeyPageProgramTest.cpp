// The key assignment page of the real program, driven by the pointer as a user drives it, with
// the simulated keyboard behind the control channel: what the settings store and the
// keyboard's key maps hold after each step, across a re-plug and a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "MessagePump.h"
#include "ProgramHarness.h"
#include "ProgramKeyboardTest.h"
#include "ui/keyboard/KeyPickerLayout.h"

using testsupport::ProgramHarness;

namespace {

constexpr int kModel = 102;  // Lynt 65
constexpr int kKeyA = 0x04, kKeyQ = 0x14;
constexpr COLORREF kHomeFill = RGB(0x1A, 0x19, 0x1A);
constexpr int kWriteKeymap = 0x09;

// Points of the main window's client area (1400 x 860).
constexpr POINT kKeyPageTab = {330, 40};
constexpr POINT kPresetButton = {1235, 85}, kResetKeyButton = {1275, 85}, kResetLayerButton = {1315, 85};
constexpr POINT kFreePoint = {300, 300};  // the home page's fill; a key picture on the pages
constexpr POINT kPictureOrigin = {280, 100};  // the layout is as large as the picture
constexpr POINT kPickerOrigin = {230, 540};
// The group tabs: 100 x 30 with a gap of 30.
constexpr int kGroupTabLeft = 330, kGroupTabTop = 495, kGroupTabWidth = 100, kGroupTabPitch = 130, kGroupTabHeight = 30;
constexpr int kTilePitch = 60, kTileSize = 55;
constexpr int kLayerTabLeft = 20, kLayerTabTop = 210, kLayerTabHeight = 28;
// The preset menu: 30-pixel items from 2 pixels down; Dvorak is its third item.
constexpr POINT kDvorakItem = {60, 2 + 2 * 30 + 15};

// The centre of a key of the staged layout in the window's client area.
POINT KeyPoint(const ProgramHarness& program, int code) {
  return testsupport::KeyCentre(program.PictureKeys(L"Lynt 65", kPictureOrigin), code);
}

POINT PickerPoint(int usage) {
  const TESK::KeyPickerEntry* entries = TESK::KeyPickerEntries();
  for (int i = 0; i < TESK::kKeyPickerEntryCount; ++i) {
    if (entries[i].usage != usage || entries[i].data != 0) continue;
    const RECT& cell = TESK::KeyPickerFullGeometry().cells[i];
    return {kPickerOrigin.x + (cell.left + cell.right) / 2, kPickerOrigin.y + (cell.top + cell.bottom) / 2};
  }
  return {-1, -1};
}

POINT GroupTab(int group) {
  return {kGroupTabLeft + kGroupTabPitch * group + kGroupTabWidth / 2, kGroupTabTop + kGroupTabHeight / 2};
}

POINT ListTile(int column, int row) {
  return {kPickerOrigin.x + kTilePitch * column + kTileSize / 2, kPickerOrigin.y + kTilePitch * row + kTileSize / 2};
}

POINT LayerTab(int index) { return {kLayerTabLeft + 60, kLayerTabTop + kLayerTabHeight * index + kLayerTabHeight / 2}; }

std::string Hex(const simkb::Bytes& bytes) { return simkb::ToHex(bytes); }

class KeyPageProgramTest : public testsupport::ProgramKeyboardTest {
 protected:
  KeyPageProgramTest() : ProgramKeyboardTest(L"key page program", kModel) {}

  // Starts the program, waits for its keyboard and shows the key page.
  void StartOnKeyPage() {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForPages());
    program.Click(kKeyPageTab);
    Idle();
    ASSERT_GE(IndexOf(kKeyA), 0);
    ASSERT_GE(KeyPoint(program, kKeyA).x, 0);
    ASSERT_TRUE(Quiet());
  }
  bool WaitForPages() {
    return testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) != kHomeFill && Stored(0, kKeyA) != ""; },
                                  kWaitMs);
  }
  // Lets the program take its posted input and the worker write.
  void Idle(DWORD ms = 700) { testsupport::PumpFor(ms); }

  bool EntryBecomes(int layer, int code, const std::string& hex) {
    return testsupport::PumpUntil([&] { return Entry(layer, code) == hex; }, kWaitMs);
  }
};

TEST_F(KeyPageProgramTest, AKeysNewFunctionIsStoredAndWrittenAndOutlivesARePlugAndARestart) {
  ASSERT_NO_FATAL_FAILURE(StartOnKeyPage());
  EXPECT_EQ("2 4 \"A\"", Stored(0, kKeyA));
  program.Click(KeyPoint(program, kKeyA));
  program.Click(PickerPoint(0x05));
  EXPECT_TRUE(EntryBecomes(0, kKeyA, "100005")) << Entry(0, kKeyA);
  EXPECT_EQ("2 5 \"B\"", Stored(0, kKeyA));

  ASSERT_TRUE(channel.Unplug(keyboard));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) == kHomeFill; }, kWaitMs))
      << "the home page";
  ASSERT_TRUE(channel.Replug(keyboard));
  EXPECT_TRUE(WaitForPages());
  Idle();
  EXPECT_EQ("2 5 \"B\"", Stored(0, kKeyA));
  EXPECT_EQ("100005", Entry(0, kKeyA));

  ASSERT_NO_FATAL_FAILURE(StopProgram());
  ASSERT_NO_FATAL_FAILURE(StartOnKeyPage());
  EXPECT_EQ("2 5 \"B\"", Stored(0, kKeyA));
  EXPECT_EQ("100005", Entry(0, kKeyA));

  // FN2 from the Fn group, then the reset button.
  program.Click(KeyPoint(program, kKeyA));
  program.Click(GroupTab(3));
  Idle(300);
  program.Click(ListTile(2, 1));  // the "Reset" tile ends the first row
  EXPECT_TRUE(EntryBecomes(0, kKeyA, "f0ff02")) << Entry(0, kKeyA);
  EXPECT_EQ("12 767 \"FN2\"", Stored(0, kKeyA));
  program.Click(kResetKeyButton);
  EXPECT_TRUE(EntryBecomes(0, kKeyA, "100004")) << Entry(0, kKeyA);
  EXPECT_EQ("2 4 \"A\"", Stored(0, kKeyA));

  // Dvorak from the preset menu turns Q into the apostrophe key.
  program.Click(kPresetButton);
  HWND menu = nullptr;
  ASSERT_TRUE(testsupport::PumpUntil([&] { return (menu = program.FindShownWindowTitled(L"MWindow", L"Menu Window")) != nullptr; },
                                     5000));
  Idle(300);
  const LPARAM item = MAKELPARAM(kDvorakItem.x, kDvorakItem.y);
  PostMessageW(menu, WM_MOUSEMOVE, 0, item);
  PostMessageW(menu, WM_LBUTTONDOWN, MK_LBUTTON, item);
  PostMessageW(menu, WM_LBUTTONUP, 0, item);
  EXPECT_TRUE(EntryBecomes(0, kKeyQ, "100034")) << Entry(0, kKeyQ);
  EXPECT_EQ("2 52 \"'\"", Stored(0, kKeyQ));

  // Layer 1 from the window's layer tabs, and a change there.
  program.Click(LayerTab(1));
  Idle(300);
  program.Click(KeyPoint(program, kKeyA));
  program.Click(GroupTab(0));
  Idle(300);
  program.Click(PickerPoint(0x05));
  EXPECT_TRUE(EntryBecomes(1, kKeyA, "100005")) << Entry(1, kKeyA);
  EXPECT_EQ("2 5 \"B\"", Stored(1, kKeyA));

  // The layer reset asks: Cancel keeps the layer, OK resets it.
  program.Click(kResetLayerButton);
  ASSERT_TRUE(program.AnswerMessageBox(2));
  Idle();
  EXPECT_EQ("2 5 \"B\"", Stored(1, kKeyA));
  program.Click(kResetLayerButton);
  ASSERT_TRUE(program.AnswerMessageBox(1));
  const std::string factory = Hex(channel.ReadArea(keyboard, "factory-maps", 512 + 3 * IndexOf(kKeyA), 3));
  EXPECT_TRUE(EntryBecomes(1, kKeyA, factory)) << Entry(1, kKeyA) << " against the factory's " << factory;
}

TEST_F(KeyPageProgramTest, AKeyboardThatStopsAnsweringTheKeyMapKeepsTheWindowAnsweringAndGetsTheWholeLayerLater) {
  ASSERT_NO_FATAL_FAILURE(StartOnKeyPage());
  ASSERT_TRUE(channel.AddFault(keyboard, "suppress-reply command=" + std::to_string(kWriteKeymap) + " times=-1"));
  program.Click(KeyPoint(program, kKeyA));
  program.Click(PickerPoint(0x05));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Stored(0, kKeyA) == "2 5 \"B\""; }, kWaitMs));
  DWORD_PTR result = 0;
  EXPECT_NE(0, SendMessageTimeoutW(program.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
      << "the window answers";
  EXPECT_EQ("100004", Entry(0, kKeyA)) << "the keyboard took nothing";

  ASSERT_TRUE(channel.ClearFaults(keyboard));
  ASSERT_TRUE(channel.Unplug(keyboard));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) == kHomeFill; }, kWaitMs));
  ASSERT_TRUE(channel.Replug(keyboard));
  ASSERT_TRUE(WaitForPages());
  program.Click(kKeyPageTab);
  Idle();
  // The next change on the layer writes every key of it.
  const size_t mark = channel.Mark();
  program.Click(KeyPoint(program, kKeyQ));
  program.Click(PickerPoint(0x06));
  EXPECT_TRUE(EntryBecomes(0, kKeyQ, "100006")) << Entry(0, kKeyQ);
  // Chunks in order from the layer's start up to its end.
  const auto wholeLayer = [&] {
    size_t next = 0;
    for (const simkb::Frame& frame : channel.FramesSince(mark)) {
      if (frame.command != kWriteKeymap) continue;
      if (static_cast<size_t>(frame.offset) != next) return false;
      next += frame.payload.size();
    }
    return next == 512;
  };
  EXPECT_TRUE(testsupport::PumpUntil(wholeLayer, kWaitMs));
}

}  // namespace
