// The performance page's calibration run and preset menu in the real program, driven by the
// pointer, with the simulated Lynt 80 behind the control channel: the run switches the keyboard
// into its calibration mode, shows the keyboard's samples on the keys and keeps every key
// press from every program until it ends; a preset reaches every key's entry in the
// keyboard and outlives a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeldKey.h"
#include "MessagePump.h"
#include "ProgramHarness.h"
#include "ProgramKeyboardTest.h"

namespace {

constexpr int kModel = 103;  // Lynt 80
constexpr int kKeyA = 0x04, kKeyS = 0x16;
constexpr COLORREF kHomeFill = RGB(0x1A, 0x19, 0x1A);
constexpr int kCalibrationOn = 0xA8, kCalibrationOff = 0xA9;
constexpr size_t kEntry = 8, kEntries = 128;  // the keyboard's performance block of a profile

// Points of the main window's client area (1400 x 860).
constexpr POINT kFreePoint = {300, 300};  // the home page's fill; a key picture on the pages
constexpr POINT kPerfTab = {510, 40};
constexpr POINT kCalibrationSubTab = {1015, 515};  // the third of the performance page's sub-tabs
constexpr POINT kCalibrateButton = {790, 700};
constexpr POINT kPresetButton = {1235, 85};
// The preset menu: 30-pixel items from 2 pixels down; 204 is its fourth item.
constexpr POINT kFourthPreset = {60, 2 + 3 * 30 + 15};
constexpr POINT kPictureOrigin = {280, 100};  // the Lynt 80's layout is as large as the picture
// A key's fill in the calibration picture: calibrated, calibrating.
constexpr COLORREF kCalibrated = RGB(0x21, 0xA9, 0x39), kCalibrating = RGB(0xFF, 0xD7, 0x00);

// A travel report of a key with its calibration progress (see the device link's decoding).
simkb::Bytes CalibrationSample(int code, int progress) {
  simkb::Bytes report(64, 0);
  report[0] = 0xA0, report[1] = 0x10, report[3] = static_cast<uint8_t>(code);
  report[7] = 0x10, report[14] = 0x01, report[15] = 0x05;
  report[10] = static_cast<uint8_t>(progress);
  return report;
}

class PerfCalibrationProgramTest : public testsupport::ProgramKeyboardTest {
 protected:
  PerfCalibrationProgramTest() : ProgramKeyboardTest(L"perf calibration program", kModel) {}
  void TearDown() override {
    testsupport::SendKeyEvent('A', true);
    if (edit) DestroyWindow(edit);
  }

  void StartOnPerfPage() {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return program.ClientPixel(kFreePoint) != kHomeFill && !program.DatabaseFiles().empty(); }, kWaitMs));
    keys = program.PictureKeys(L"Lynt 80", kPictureOrigin);
    ASSERT_GT(keys.size(), 80u);
    program.Click(kPerfTab);
    ASSERT_TRUE(Quiet());
  }
  // The last calibration command the keyboard heard since mark; 0 for none.
  int LastCalibrationCommand(size_t mark) {
    int last = 0;
    for (const simkb::Frame& frame : channel.FramesSince(mark)) {
      if (frame.command == kCalibrationOn || frame.command == kCalibrationOff) last = frame.command;
    }
    return last;
  }
  POINT FillPoint(int code) const {
    for (const testsupport::PictureKey& key : keys) {
      // Below the key's caption, which takes its top 16 pixels.
      if (key.code == code) return {(key.rect.left + key.rect.right) / 2, key.rect.top + 36};
    }
    return {-1, -1};
  }
  // A native edit of the test in front, with the keyboard focus; types A into it and tells the
  // length of its text once it has had the time to arrive.
  void EditInFront() {
    edit = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 600, 200, 30, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(edit);
    SetForegroundWindow(edit);
    SetFocus(edit);
    testsupport::PumpFor(200);
  }
  int TypeA(int length) {
    EXPECT_TRUE(testsupport::TapKey('A'));
    testsupport::PumpUntil([&] { return GetWindowTextLengthW(edit) >= length; }, 3000);
    testsupport::PumpFor(300);
    return GetWindowTextLengthW(edit);
  }
  // Whether every key's entry in the keyboard's first profile block holds hex after its two
  // type bytes.
  bool EveryEntryIs(const std::string& hex) {
    const simkb::Bytes block = channel.ReadArea(keyboard, "perf", 0, kEntry * kEntries);
    if (block.size() < kEntry * kEntries) return false;
    int compared = 0;
    for (const testsupport::PictureKey& key : keys) {
      if (key.index < 0 || static_cast<size_t>(key.index) >= kEntries) continue;
      const auto at = block.begin() + static_cast<long>(kEntry * key.index);
      if (simkb::ToHex(simkb::Bytes(at + 2, at + kEntry)) != hex) return false;
      ++compared;
    }
    return compared > 80;
  }

  std::vector<testsupport::PictureKey> keys;
  HWND edit = nullptr;
};

TEST_F(PerfCalibrationProgramTest, ARunSwallowsKeysAndShowsSamplesAndAPresetOutlivesARestart) {
  ASSERT_NO_FATAL_FAILURE(StartOnPerfPage());
  program.Click(kCalibrationSubTab);
  testsupport::PumpFor(500);

  size_t mark = channel.Mark();
  program.Click(kCalibrateButton);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return LastCalibrationCommand(mark) == kCalibrationOn; }, kWaitMs))
      << "the keyboard in calibration mode";
  ASSERT_TRUE(channel.QueueReport(keyboard, CalibrationSample(kKeyA, 255)));
  ASSERT_TRUE(channel.QueueReport(keyboard, CalibrationSample(kKeyS, 100)));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(FillPoint(kKeyA)) == kCalibrated; }, kWaitMs))
      << std::hex << program.ClientPixel(FillPoint(kKeyA));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(FillPoint(kKeyS)) == kCalibrating; }, kWaitMs))
      << std::hex << program.ClientPixel(FillPoint(kKeyS));

  ASSERT_NO_FATAL_FAILURE(EditInFront());
  EXPECT_EQ(0, TypeA(1)) << "no program got the key";
  mark = channel.Mark();
  program.Click(kCalibrateButton);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return LastCalibrationCommand(mark) == kCalibrationOff; }, kWaitMs))
      << "the keyboard left calibration mode";
  SetForegroundWindow(edit);
  SetFocus(edit);
  EXPECT_EQ(1, TypeA(1)) << "the key types again";
  DestroyWindow(edit);
  edit = nullptr;

  // The fourth preset: actuation 10, press and release 1, stored as one less.
  program.Click(kPresetButton);
  HWND menu = nullptr;
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] { return (menu = program.FindShownWindowTitled(L"MWindow", L"Menu Window")) != nullptr; },
      5000));
  testsupport::PumpFor(300);
  const LPARAM item = MAKELPARAM(kFourthPreset.x, kFourthPreset.y);
  PostMessageW(menu, WM_MOUSEMOVE, 0, item);
  PostMessageW(menu, WM_LBUTTONDOWN, MK_LBUTTON, item);
  PostMessageW(menu, WM_LBUTTONUP, 0, item);
  const std::string preset = "090000000000";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return EveryEntryIs(preset); }, kWaitMs));
  ASSERT_TRUE(Quiet());

  ASSERT_NO_FATAL_FAILURE(StopProgram());
  ASSERT_NO_FATAL_FAILURE(StartOnPerfPage());
  EXPECT_TRUE(EveryEntryIs(preset)) << "unchanged after a restart";
}

}  // namespace
