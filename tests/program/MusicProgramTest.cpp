// The music light mode of the real program, driven by the pointer, with the simulated Lynt 80
// behind the control channel. Wine captures no sound here, so the music picture is the
// background alone: white at full brightness reaches every matrix key of the keyboard's music
// area, another mode stops the frames, and the program still ends normally.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
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
constexpr DWORD kWaitMs = 15000;
constexpr COLORREF kHomeFill = RGB(0x1A, 0x19, 0x1A);
constexpr int kLightModeMusic = 128, kLightModeFirst = 1, kLightModeOff = 255;
constexpr int kWriteMusicFrame = 0xDD;
constexpr int kWhiteBackground = 6;

// Points of the main window's client area (1400 x 860).
constexpr POINT kFreePoint = {300, 300};  // the home page's fill; a key picture on the pages
constexpr POINT kLightTab = {1050, 40};
// The strip of light-mode tabs: 40 x 30 tabs, eight to a row, between 20-pixel paging zones.
constexpr RECT kModeStrip = {320, 580, 690, 610};
constexpr int kStripZone = 20, kStripTab = 40, kStripColumns = 8;
// The music controls (194-201), in their places on the page.
constexpr RECT kMusicControls[] = {{820, 540, 980, 570},  {820, 575, 1100, 605}, {820, 610, 1020, 640},
                                   {820, 645, 1100, 685}, {820, 675, 1020, 705}, {820, 710, 1100, 740},
                                   {820, 745, 1020, 775}, {820, 780, 1100, 820}};
constexpr POINT kBackgroundList = {960, 725};  // 199
constexpr POINT kBrightnessEnd = {1098, 800};  // 201's last position
// The background list's drop-down: white is its second row.
constexpr int kWhiteRow = 1;

class MusicProgramTest : public testing::Test {
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
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return program.ClientPixel(kFreePoint) != kHomeFill && !program.DatabaseFiles().empty(); }, kWaitMs));
    ASSERT_TRUE(channel.WaitQuiet(1000, kWaitMs));
    db = std::make_unique<RawDb>(program.DatabaseFiles()[0]);
    program.Click(kLightTab);
  }

  // The stored active light mode of the first profile; 0 while it cannot be read.
  int ActiveMode() {
    return db->TryNumber("SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1").value_or(0);
  }
  std::string MusicRow() {
    const auto rows = db->Rows("SELECT backmode, backb_right FROM t_musiclayer_data WHERE profile = 1");
    return rows.empty() ? "" : rows[0][0] + " " + rows[0][1];
  }
  // Picks a mode on the strip as a user does: pages to its row, then clicks its tab. The strip
  // lists the profile's modes but "off" in the store's order. Its tabs answer the pointer once
  // the strip has been laid out (at its first paint after the page was shown or its list was
  // filled), so the clicks are repeated until the store holds the mode.
  void ChooseMode(int mode) {
    std::vector<int> modes;
    for (const auto& row : db->Rows("SELECT mode FROM t_light_data WHERE profile = 1 ORDER BY rowid")) {
      if (std::stoi(row[0]) != kLightModeOff) modes.push_back(std::stoi(row[0]));
    }
    const auto at = std::find(modes.begin(), modes.end(), mode);
    ASSERT_NE(modes.end(), at) << mode;
    const int index = static_cast<int>(at - modes.begin());
    const int y = (kModeStrip.top + kModeStrip.bottom) / 2;
    const int rows = static_cast<int>(modes.size()) / kStripColumns + 1;
    bool chosen = false;
    for (int attempt = 0; attempt < 5 && !chosen; ++attempt) {
      // Back to the first row (paging stops there), then forward to the mode's.
      for (int i = 0; i < rows; ++i) program.Click({kModeStrip.left + kStripZone / 2, y});
      for (int i = 0; i < index / kStripColumns; ++i) program.Click({kModeStrip.right - kStripZone / 2, y});
      program.Click({kModeStrip.left + kStripZone + (index % kStripColumns) * kStripTab + kStripTab / 2, y});
      chosen = testsupport::PumpUntil([&] { return ActiveMode() == mode; }, 3000);
    }
    std::string stored;
    for (const auto& row : db->Rows("SELECT mode, status FROM t_light_data WHERE profile = 1 ORDER BY rowid")) {
      stored += " " + row[0] + ":" + row[1];
    }
    EXPECT_TRUE(chosen) << "mode " << mode << ", stored (mode:status)" << stored;
  }
  // Picks a row of the background list's drop-down as a user does. Its rows answer the pointer
  // once the list has been drawn, so the row is clicked again (the drop-down opened again if it
  // closed) until the store holds the row's background.
  void ChooseBackgroundRow(int row, int background) {
    bool chosen = false;
    for (int attempt = 0; attempt < 5 && !chosen; ++attempt) {
      HWND list = program.FindShownWindowTitled(L"MWindow", L"ComboWnd");
      if (!list) {
        program.Click(kBackgroundList);
        testsupport::PumpUntil(
            [&] { return (list = program.FindShownWindowTitled(L"MWindow", L"ComboWnd")) != nullptr; }, 5000);
      }
      if (!list) continue;
      testsupport::PumpFor(300);
      RECT listRect;
      GetClientRect(list, &listRect);
      const LPARAM at = MAKELPARAM(listRect.right / 2, 2 + row * 30 + 15);
      PostMessageW(list, WM_MOUSEMOVE, 0, at);
      PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(list, WM_LBUTTONUP, 0, at);
      chosen = testsupport::PumpUntil([&] { return MusicRow().rfind(std::to_string(background) + " ", 0) == 0; }, 3000);
    }
    ASSERT_TRUE(chosen) << "background row " << row << ", stored " << MusicRow();
  }
  // Whether the keyboard's music area holds FE FE FE at every matrix key's index.
  bool EveryMatrixKeyWhite() {
    const simkb::Bytes area = channel.ReadArea(keyboard, "music");
    int keys = 0;
    for (const testsupport::PictureKey& key : program.PictureKeys(L"Lynt 80", {0, 0})) {
      if (key.row < 0) continue;
      const size_t at = 3 * static_cast<size_t>(key.index);
      if (at + 3 > area.size() || area[at] != 0xFE || area[at + 1] != 0xFE || area[at + 2] != 0xFE) return false;
      ++keys;
    }
    return keys > 80;
  }
  int MusicFramesSince(size_t mark) {
    const auto frames = channel.FramesSince(mark);
    return static_cast<int>(std::count_if(frames.begin(), frames.end(),
                                          [](const simkb::Frame& f) { return f.command == kWriteMusicFrame; }));
  }
  // The screen's colours on a grid over a control's place.
  std::vector<COLORREF> Look(const RECT& place) {
    std::vector<COLORREF> look;
    for (int y = place.top + 3; y < place.bottom - 3; y += 6) {
      for (int x = place.left + 3; x < place.right - 3; x += 6) look.push_back(program.ClientPixel({x, y}));
    }
    return look;
  }
  // A control drawn where another look was: its text, face or bar now shows (more than one colour).
  bool DrawnOver(const RECT& place, const std::vector<COLORREF>& before) {
    const std::vector<COLORREF> now = Look(place);
    return now != before && std::count(now.begin(), now.end(), now.front()) != static_cast<long>(now.size());
  }

  testsupport::TempFolder folder{L"music program"};
  SimChannel channel;
  ProgramHarness program;
  std::unique_ptr<RawDb> db;
  int keyboard = 0;
};

TEST_F(MusicProgramTest, TheMusicModeLightsEveryMatrixKeyWithTheBackgroundUntilAnotherMode) {
  ASSERT_NO_FATAL_FAILURE(StartOnLightingPage());
  ASSERT_NO_FATAL_FAILURE(ChooseMode(kLightModeFirst));  // the music controls hidden
  testsupport::PumpFor(500);
  std::vector<std::vector<COLORREF>> before;
  for (const RECT& place : kMusicControls) before.push_back(Look(place));
  ASSERT_NO_FATAL_FAILURE(ChooseMode(kLightModeMusic));
  for (size_t i = 0; i < std::size(kMusicControls); ++i) {
    EXPECT_TRUE(testsupport::PumpUntil([&] { return DrawnOver(kMusicControls[i], before[i]); }, kWaitMs))
        << "control " << 194 + i;
  }

  // White at full brightness: the background list's second row, the brightness slider's end.
  ASSERT_NO_FATAL_FAILURE(ChooseBackgroundRow(kWhiteRow, kWhiteBackground));
  program.Click(kBrightnessEnd);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return MusicRow() == std::to_string(kWhiteBackground) + " 5"; }, kWaitMs))
      << MusicRow();
  // No sound is captured: every frame is the background. The bound leaves room for a loaded
  // machine; the frames' pace is the benchmark's business.
  EXPECT_TRUE(testsupport::PumpUntil([&] { return EveryMatrixKeyWhite(); }, 5000));

  ASSERT_NO_FATAL_FAILURE(ChooseMode(kLightModeFirst));
  // A frame sampled before the change may still go out; then none for a second.
  bool stopped = false;
  for (int i = 0; i < 10 && !stopped; ++i) {
    const size_t mark = channel.Mark();
    testsupport::PumpFor(1000);
    stopped = MusicFramesSince(mark) == 0;
  }
  EXPECT_TRUE(stopped) << "music frames after another mode";

  channel.Disconnect();
  ASSERT_TRUE(program.Post(WM_CLOSE));
  EXPECT_EQ(1u, program.WaitForExit(kWaitMs).value_or(0xFFFF)) << "a closed main window ends the run with 1";
}

}  // namespace
