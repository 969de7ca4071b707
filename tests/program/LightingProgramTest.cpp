// The lighting page of the real program, driven by the pointer, with the simulated Lynt 80
// behind the control channel: keys painted in the user mode reach the store and the keyboard's
// colour area, the lighting switch turns the keyboard's light off and back on, and the colours
// and the mode outlive a re-plug and a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "ProgramHarness.h"
#include "RawDb.h"
#include "SimChannel.h"
#include "TempFolder.h"

using testsupport::ProgramHarness;
using testsupport::SimChannel;

namespace {

constexpr int kModel = 103;  // Lynt 80
constexpr int kKeyA = 0x04, kKeyS = 0x16, kSpace = 0x2C;
constexpr DWORD kWaitMs = 15000;
constexpr COLORREF kHomeFill = RGB(0x1A, 0x19, 0x1A);
// The keyboard's configuration block of its first profile: the light mode at byte 8, 0xFF off.
constexpr size_t kModeByte = 8;
constexpr int kUserMode = 0, kLightOff = 0xFF;
// While the lighting page shows, the worker keeps reading the keyboard's profile and live
// colours (bracketed): the page is quiet once nothing else is sent.
const std::vector<int> kIdleReads = {0x01, 0x02, 0x04, 0xDE};

// Points of the main window's client area (1400 x 860).
constexpr POINT kFreePoint = {300, 300};  // the home page's fill; a key picture on the pages
constexpr POINT kLightTab = {1050, 40};   // the main strip's fifth tab
constexpr POINT kPictureOrigin = {280, 100};  // the Lynt 80's layout is as large as the picture
constexpr POINT kSwitch = {342, 555};
constexpr POINT kSwatch157 = {1225, 595};  // the third swatch of the first row: FF 05 05
// The mode strip: 40-pixel tabs after a 20-pixel arrow zone; the user mode is its second tab.
constexpr POINT kUserTab = {384, 595}, kThirdTab = {424, 595};  // left of the tabs' texts
constexpr COLORREF kTabBar = RGB(0x46, 0x4A, 0x55), kTabSelected = RGB(0x46, 0x8E, 0xF7);
constexpr COLORREF kPainted = RGB(0xFF, 0x05, 0x05);
const std::vector<int> kChosen = {kKeyA, kKeyS, kSpace};

class LightingProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    program.SetKeyboards(std::to_string(kModel));
    program.AddEnvironment(channel.Environment(folder.Path() + L"keyboards.state"));
  }

  void StartOnLightingPage() {
    const int instance = program.Start();
    ASSERT_GE(instance, 0);
    ASSERT_NE(nullptr, program.WaitForWindow(kWaitMs, instance));
    ASSERT_TRUE(channel.Connect(kWaitMs));
    keyboard = channel.KeyboardId(kModel);
    ASSERT_NE(0, keyboard);
    ASSERT_TRUE(WaitForPages());
    keys = program.PictureKeys(L"Lynt 80", kPictureOrigin);
    ASSERT_GT(keys.size(), 80u);
    ASSERT_TRUE(Quiet());
    program.Click(kLightTab);
    // The strip is drawn once the page shows; its tabs take the pointer from then on.
    ASSERT_TRUE(testsupport::PumpUntil([&] {
      const COLORREF tab = program.ClientPixel(kThirdTab);
      return tab == kTabBar || tab == kTabSelected;
    }, kWaitMs));
    ASSERT_TRUE(Quiet());
  }
  void Stop() {
    channel.Disconnect();
    ASSERT_TRUE(program.Post(WM_CLOSE));
    ASSERT_TRUE(program.WaitForExit(5000).has_value());
  }
  bool WaitForPages() {
    return testsupport::PumpUntil(
        [&] { return program.ClientPixel(kFreePoint) != kHomeFill && !program.DatabaseFiles().empty(); }, kWaitMs);
  }
  // Waits until the keyboard has been sent nothing but the page's idle reads for a second.
  bool Quiet() { return channel.WaitQuiet(1000, kWaitMs, kIdleReads); }

  int Mode() {
    const simkb::Bytes config = channel.ReadArea(keyboard, "config", kModeByte, 1);
    return config.empty() ? -1 : config[0];
  }
  bool ModeBecomes(int mode) {
    return testsupport::PumpUntil([&] { return Mode() == mode; }, kWaitMs);
  }
  // Every key's colour in the keyboard's colour area of its first profile, as 0x00BBGGRR.
  std::map<int, COLORREF> DeviceColors() {
    std::map<int, COLORREF> colors;
    const simkb::Bytes area = channel.ReadArea(keyboard, "colors", 0, 512);
    if (area.size() < 512) return colors;
    for (const testsupport::PictureKey& key : keys) {
      const size_t at = 3 * static_cast<size_t>(key.index);
      if (at + 2 < area.size()) colors[key.code] = RGB(area[at], area[at + 1], area[at + 2]);
    }
    return colors;
  }
  // The stored per-key colours of profile 1.
  std::map<int, COLORREF> StoredColors() {
    std::map<int, COLORREF> colors;
    const auto files = program.DatabaseFiles();
    if (files.empty()) return colors;
    for (const auto& row : RawDb(files[0]).Rows("SELECT key_code, key_rgb FROM t_userlightrgb_data WHERE profile = 1")) {
      colors[std::stoi(row[0])] = static_cast<COLORREF>(std::stoll(row[1]));
    }
    return colors;
  }
  std::string Stored(const std::string& sql) {
    const auto files = program.DatabaseFiles();
    if (files.empty()) return "";
    const auto rows = RawDb(files[0]).Rows(sql);
    return rows.size() == 1 ? rows[0][0] : "";
  }
  std::string ActiveMode() { return Stored("SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1"); }
  std::string EnableLight() {
    return Stored("SELECT value FROM t_config_data WHERE profile = 1 AND key = 'enable_light'");
  }
  const testsupport::PictureKey* Key(int code) const {
    for (const testsupport::PictureKey& key : keys) {
      if (key.code == code) return &key;
    }
    return nullptr;
  }
  POINT Centre(int code) const {
    const RECT& r = Key(code)->rect;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // A point of the key's fill: near its bottom-left corner, clear of the caption.
  POINT FillPoint(int code) const {
    const RECT& r = Key(code)->rect;
    return {r.left + 5, r.bottom - 5};
  }
  // The colours expected once the chosen keys are painted: every other key as before.
  static std::map<int, COLORREF> WithChosenPainted(std::map<int, COLORREF> colors) {
    for (int code : kChosen) colors[code] = kPainted;
    return colors;
  }

  testsupport::TempFolder folder{L"lighting program"};
  SimChannel channel;
  ProgramHarness program;
  int keyboard = 0;
  std::vector<testsupport::PictureKey> keys;
};

TEST_F(LightingProgramTest, KeysPaintedInTheUserModeReachStoreAndKeyboardAndOutliveARePlugAndARestart) {
  ASSERT_NO_FATAL_FAILURE(StartOnLightingPage());
  for (int code : kChosen) ASSERT_NE(nullptr, Key(code)) << code;

  program.Click(kUserTab);
  ASSERT_TRUE(ModeBecomes(kUserMode)) << Mode();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kUserTab) == kTabSelected; }, kWaitMs));
  ASSERT_TRUE(Quiet());
  const std::map<int, COLORREF> deviceBefore = DeviceColors();
  ASSERT_EQ(keys.size(), deviceBefore.size());
  for (const auto& [code, color] : deviceBefore) ASSERT_NE(kPainted, color) << code;

  // A click on a key of the picture selects it; the swatch then paints the selected keys.
  for (int code : kChosen) program.Click(Centre(code));
  testsupport::PumpFor(300);
  program.Click(kSwatch157);
  const std::map<int, COLORREF> painted = WithChosenPainted(deviceBefore);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return DeviceColors() == painted; }, kWaitMs)) << "the colour area";
  ASSERT_TRUE(Quiet());
  // One row per key of the picture, the colours the keyboard holds.
  const std::map<int, COLORREF> stored = StoredColors();
  EXPECT_EQ(painted, stored);
  EXPECT_EQ(std::to_string(keys.size()), Stored("SELECT COUNT(*) FROM t_userlightrgb_data WHERE profile = 1"));
  for (int code : kChosen) {
    EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(FillPoint(code)) == kPainted; }, kWaitMs))
        << code << " shows " << std::hex << program.ClientPixel(FillPoint(code));
  }

  // The switch: off sends the off mode and keeps the stored one; on sends it again.
  program.Click(kSwitch);
  EXPECT_TRUE(ModeBecomes(kLightOff)) << Mode();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return EnableLight() == "0"; }, kWaitMs));
  EXPECT_EQ("0", ActiveMode());
  ASSERT_TRUE(Quiet());
  program.Click(kSwitch);
  EXPECT_TRUE(ModeBecomes(kUserMode)) << Mode();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return EnableLight() == "1"; }, kWaitMs));
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(painted, DeviceColors());
  EXPECT_EQ(stored, StoredColors());

  // Unplugged and back: the keyboard and the store keep the mode and the colours.
  ASSERT_TRUE(channel.Unplug(keyboard));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) == kHomeFill; }, kWaitMs))
      << "the home page";
  ASSERT_TRUE(channel.Replug(keyboard));
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(kUserMode, Mode());
  EXPECT_EQ(painted, DeviceColors());
  EXPECT_EQ(stored, StoredColors());
  EXPECT_EQ("0", ActiveMode());
  EXPECT_EQ("1", EnableLight());

  // A restart shows the user mode and the painted keys.
  ASSERT_NO_FATAL_FAILURE(Stop());
  ASSERT_NO_FATAL_FAILURE(StartOnLightingPage());
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kUserTab) == kTabSelected; }, kWaitMs))
      << std::hex << program.ClientPixel(kUserTab);
  EXPECT_NE(kTabSelected, program.ClientPixel(kThirdTab));
  for (int code : kChosen) {
    EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(FillPoint(code)) == kPainted; }, kWaitMs))
        << code << " shows " << std::hex << program.ClientPixel(FillPoint(code));
  }
  EXPECT_NE(kPainted, program.ClientPixel(FillPoint(0x05))) << "B is not painted";
  EXPECT_EQ(kUserMode, Mode());
  EXPECT_EQ(painted, DeviceColors());
  EXPECT_EQ(stored, StoredColors());
}

}  // namespace
