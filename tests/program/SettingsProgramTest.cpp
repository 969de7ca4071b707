// The settings page of the real program, driven by the pointer: the autorun and close-button
// choices as the registry and the next start see them, restoring the factory defaults with the
// simulated keyboard behind the control channel, and the version checks and the bootloader
// prompt against the program's own upgrade server, which a test machine cannot reach.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "MessagePump.h"
#include "ProgramHarness.h"
#include "RawDb.h"
#include "SimChannel.h"
#include "TempFolder.h"
#include "UserValues.h"
#include "app/AppMessages.h"

using testsupport::ProgramHarness;
using testsupport::SimChannel;

namespace {

constexpr int kModel = 102;  // Lynt 65
constexpr DWORD kWaitMs = 15000;
constexpr COLORREF kHomeFill = RGB(0x1A, 0x19, 0x1A);
constexpr int kFactoryReset = 0xEE;
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Points of the main window's client area (1400 x 860).
constexpr POINT kSettingsTab = {1230, 40};
constexpr POINT kFreePoint = {300, 300};  // the home page's fill; a page elsewhere
constexpr POINT kCloseButton = {1365, 40};
constexpr POINT kAutorun = {360, 395}, kExitToTray = {960, 275}, kRestoreDefaults = {1275, 782};
constexpr POINT kCheckSoftware = {600, 122}, kCheckFirmware = {1200, 122};
// The check boxes' pictures: the left end of 354 and 355.
constexpr RECT kAutorunBox = {200, 380, 240, 410}, kMinimisedBox = {210, 420, 250, 450};
// The language list (350) and the rows of its drop-down, which opens 2 px under it.
constexpr POINT kLanguageList = {350, 285};
constexpr int kDropDownRowHeight = 30, kDropDownInset = 2;
// What a language shows: the main tab strip and the labels of the settings page's left column
// (software version, language, autorun).
constexpr RECT kLanguageAreas[] = {
    {240, 15, 1320, 65}, {200, 95, 320, 128}, {200, 228, 320, 262}, {200, 348, 320, 382},
};

class SettingsProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    program.SetKeyboards(std::to_string(kModel));
    program.AddEnvironment(channel.Environment(folder.Path() + L"keyboards.state"));
  }
  void TearDown() override { RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, program.DeviceName().c_str()); }

  // Starts an instance, waits for its keyboard's pages and shows the settings page.
  void StartOnSettingsPage(int expectedInstance = 0) {
    ASSERT_EQ(expectedInstance, program.Start());
    ASSERT_NE(nullptr, program.WaitForWindow(kWaitMs, expectedInstance));
    ASSERT_TRUE(channel.Connect(kWaitMs));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) != kHomeFill; }, kWaitMs))
        << "the keyboard's pages";
    program.Click(kSettingsTab);
    Idle();
    // Under load the page comes late: its autorun switch must show and hold still first.
    std::vector<COLORREF> last;
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] {
          const std::vector<COLORREF> now = Pixels(kAutorunBox);
          const bool settled = now == last && !now.empty() && now.front() != kHomeFill;
          last = now;
          Idle(300);
          return settled;
        },
        kWaitMs))
        << "the settings page";
  }
  void Idle(DWORD ms = 700) { testsupport::PumpFor(ms); }

  std::vector<COLORREF> Pixels(const RECT& area) const {
    std::vector<COLORREF> pixels;
    for (LONG y = area.top; y < area.bottom; y += 2) {
      for (LONG x = area.left; x < area.right; x += 2) pixels.push_back(program.ClientPixel({x, y}));
    }
    return pixels;
  }
  // The language areas, each once they all hold still (the pointer parked off the window) and
  // differ from `before`: a switch holds the window's thread, so the old picture holds still
  // meanwhile. Empty when that did not come within the time.
  using Areas = std::vector<std::vector<COLORREF>>;
  Areas LanguageAreas(const Areas& before = {}) {
    program.ParkPointer();
    const auto capture = [&] {
      Areas areas;
      for (const RECT& area : kLanguageAreas) {
        areas.push_back(program.ClientPixels(area));
        if (areas.back().empty()) return Areas();
      }
      return areas;
    };
    Areas last = capture(), now;
    const bool still = testsupport::PumpUntil(
        [&] {
          Idle(300);
          now = capture();
          const bool same = !now.empty() && now == last && now != before;
          last = now;
          return same;
        },
        kWaitMs);
    return still ? now : Areas();
  }
  // Opens the language list and chooses its row (0 "简体中文", 1 "English") as the pointer does.
  void ChooseLanguageRow(int row) {
    program.Click(kLanguageList);
    HWND dropDown = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return (dropDown = program.FindShownWindowTitled(L"MWindow", L"ComboWnd")) != nullptr; }, kWaitMs))
        << "the drop-down";
    RECT client = {};
    GetClientRect(dropDown, &client);
    const int y = kDropDownInset + kDropDownRowHeight * row + kDropDownRowHeight / 2;
    // The rows take clicks only once they are drawn, which comes late under load: the click
    // is made again until the choice closes the drop-down.
    EXPECT_TRUE(testsupport::PumpUntil(
        [&] {
          if (!IsWindow(dropDown) || !IsWindowVisible(dropDown)) return true;
          testsupport::PostClick(dropDown, {client.right / 2, y});
          Idle(500);
          return false;
        },
        kWaitMs))
        << "the drop-down closed";
  }
  // The areas in which two captures differ, with the number of pixels and the rows and
  // columns (client coordinates) they span; empty when they are equal.
  static std::string Differences(const Areas& a, const Areas& b) {
    if (a.size() != b.size()) return "no capture";
    std::string found;
    for (size_t n = 0; n < a.size(); ++n) {
      const RECT& area = kLanguageAreas[n];
      const LONG width = area.right - area.left;
      size_t count = 0;
      RECT box = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
      for (size_t i = 0; i < a[n].size() && i < b[n].size(); ++i) {
        if (a[n][i] == b[n][i]) continue;
        ++count;
        const LONG x = area.left + static_cast<LONG>(i) % width, y = area.top + static_cast<LONG>(i) / width;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
      }
      if (count == 0) continue;
      found += "area " + std::to_string(n) + ": " + std::to_string(count) + " pixels in x " + std::to_string(box.left) +
               ".." + std::to_string(box.right) + ", y " + std::to_string(box.top) + ".." +
               std::to_string(box.bottom) + "; ";
    }
    return found;
  }
  void Quit() {
    channel.Disconnect();
    ASSERT_TRUE(program.Post(WM_KB_QUIT, 0, kQuitMagic));
    ASSERT_TRUE(program.WaitForExit(kWaitMs).has_value());
  }

  std::optional<std::wstring> RunValue() const {
    return testsupport::ReadUserValue(kRunKey, program.DeviceName().c_str());
  }
  // The program's message box, shown, within the time; null when none came.
  HWND WaitForMessageBox(DWORD timeoutMs, int instance = 0) {
    HWND box = nullptr;
    testsupport::PumpUntil(
        [&] {
          box = program.FindWindowTitled(L"MWindow", L"MessageBox", instance);
          return box && IsWindowVisible(box);
        },
        timeoutMs);
    return box && IsWindowVisible(box) ? box : nullptr;
  }
  // Answers a shown box: 1 OK, 2 Cancel; true once it is gone.
  bool Answer(HWND box, int answer) {
    Idle(300);
    PostMessageW(box, WM_CLOSE, answer, 0);
    return testsupport::PumpUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
  }
  bool FramesToSince(int device, size_t mark, int command = -1) {
    for (const simkb::Frame& frame : channel.FramesSince(mark)) {
      if (frame.device == device && (command < 0 || frame.command == command)) return true;
    }
    return false;
  }

  testsupport::TempFolder folder{L"settings program"};
  SimChannel channel;
  ProgramHarness program;
};

TEST_F(SettingsProgramTest, AutorunAndTheTrayCloseReachTheRegistryAndTheNextStartShowsThem) {
  program.SetRunValue(false);
  ASSERT_NO_FATAL_FAILURE(StartOnSettingsPage());
  const std::vector<COLORREF> autorunOff = Pixels(kAutorunBox), minimisedOff = Pixels(kMinimisedBox);
  Idle(300);
  ASSERT_EQ(autorunOff, Pixels(kAutorunBox)) << "the page was drawn before the first look";

  program.Click(kAutorun);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return RunValue().has_value(); }, kWaitMs));
  EXPECT_EQ(L"\"" + program.ProgramFolder() + L"TAVIR KEYBOARD.exe\" -autorun", RunValue().value_or(L"(none)"));
  program.Click(kExitToTray);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ReadValue(L"exit_mode") == L"1"; }, kWaitMs));

  HWND window = program.Window();
  program.Click(kCloseButton);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsWindowVisible(window); }, kWaitMs)) << "hidden";
  EXPECT_TRUE(program.IsRunning());

  channel.Disconnect();
  ASSERT_TRUE(program.Post(WM_KB_QUIT, 0, kQuitMagic));
  ASSERT_TRUE(program.WaitForExit(kWaitMs).has_value());
  ASSERT_NO_FATAL_FAILURE(StartOnSettingsPage(1));
  EXPECT_NE(autorunOff, Pixels(kAutorunBox)) << "354 checked";
  EXPECT_NE(minimisedOff, Pixels(kMinimisedBox)) << "355 enabled";
}

// Choosing the other language in the list switches the running window: it is remembered for the
// next start and the window then looks as a fresh start in that language does, both ways.
TEST_F(SettingsProgramTest, ALanguageChosenInTheListLooksAsAFreshStartInIt) {
  program.WriteValue(L"LCID", L"2052");
  ASSERT_NO_FATAL_FAILURE(StartOnSettingsPage());
  const Areas chinese = LanguageAreas();
  ASSERT_FALSE(chinese.empty()) << "a still picture";
  ASSERT_NO_FATAL_FAILURE(Quit());
  program.WriteValue(L"LCID", L"1033");
  ASSERT_NO_FATAL_FAILURE(StartOnSettingsPage(1));
  const Areas english = LanguageAreas();
  ASSERT_FALSE(english.empty());
  ASSERT_NE("", Differences(chinese, english)) << "the languages look different";

  ASSERT_NO_FATAL_FAILURE(ChooseLanguageRow(0));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ReadValue(L"LCID") == L"2052"; }, kWaitMs));
  const Areas switched = LanguageAreas(english);
  EXPECT_EQ("", Differences(chinese, switched)) << "switched to Chinese";

  ASSERT_NO_FATAL_FAILURE(ChooseLanguageRow(1));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ReadValue(L"LCID") == L"1033"; }, kWaitMs));
  EXPECT_EQ("", Differences(english, LanguageAreas(switched))) << "switched back to English";
}

// The store is made anew and the keyboard reset while the wait dialog is up: the reset's
// answer is held back so that the dialog stays long enough to be seen.
TEST_F(SettingsProgramTest, RestoringDefaultsResetsTheKeyboardUnderTheWaitDialogAndLeavesThreeProfiles) {
  ASSERT_NO_FATAL_FAILURE(StartOnSettingsPage());
  const int keyboard = channel.KeyboardId(kModel);
  ASSERT_NE(0, keyboard);
  ASSERT_EQ(1u, program.DatabaseFiles().size());
  {
    RawDb db(program.DatabaseFiles()[0]);
    db.Exec("INSERT INTO t_profile_data (type, name, status) VALUES (0, 'fourth', 0)");
    ASSERT_EQ(4, db.Number("SELECT COUNT(*) FROM t_profile_data"));
  }
  ASSERT_TRUE(channel.AddFault(keyboard, "delay-reply command=" + std::to_string(kFactoryReset) + " delay=1500"));
  const size_t mark = channel.Mark();
  program.Click(kRestoreDefaults);
  HWND box = WaitForMessageBox(kWaitMs);
  ASSERT_NE(nullptr, box);
  ASSERT_TRUE(Answer(box, 1));

  HWND wait = nullptr;
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] { return (wait = program.FindWindowTitled(L"MWindow", L"WaitDlg")) && IsWindowVisible(wait); }, kWaitMs))
      << "the wait dialog";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return FramesToSince(keyboard, mark, kFactoryReset); }, kWaitMs));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsWindow(wait) || !IsWindowVisible(wait); }, kWaitMs))
      << "closed after the reset";
  EXPECT_EQ(L"0", program.ReadValue(L"exit_mode").value_or(L"(none)"));
  const auto profiles = [&] {
    const auto files = program.DatabaseFiles();
    return files.size() == 1 ? RawDb(files[0]).Number("SELECT COUNT(*) FROM t_profile_data") : -1;
  };
  EXPECT_TRUE(testsupport::PumpUntil([&] { return profiles() == 3; }, kWaitMs)) << profiles();
}

// Without an answer from the server the firmware check finds the keyboard's firmware current
// and says so; the software check ends silently and its button answers again.
TEST_F(SettingsProgramTest, TheVersionChecksAnswerWithoutTheServer) {
  ASSERT_NO_FATAL_FAILURE(StartOnSettingsPage());
  program.Click(kCheckSoftware);
  EXPECT_EQ(nullptr, WaitForMessageBox(5000)) << "the software check shows nothing";
  program.Click(kCheckSoftware);
  EXPECT_EQ(nullptr, WaitForMessageBox(5000));

  program.Click(kCheckFirmware);
  HWND box = WaitForMessageBox(60000);
  ASSERT_NE(nullptr, box) << "the firmware is current";
  EXPECT_TRUE(Answer(box, 1));
  EXPECT_TRUE(program.IsRunning());
}

// A bootloader in place of the keyboard is offered the newest firmware; its download fails on
// a machine without the server, which the user is told, and the bootloader is left alone.
TEST_F(SettingsProgramTest, ABootloaderIsOfferedTheFirmwareAndAFailedDownloadLeavesItAlone) {
  program.SetKeyboards("0");
  ASSERT_EQ(0, program.Start());
  ASSERT_NE(nullptr, program.WaitForWindow(kWaitMs));
  ASSERT_TRUE(channel.Connect(kWaitMs));
  const size_t mark = channel.Mark();
  const int bootloader = channel.PlugBootloader(0x19F5, 0xFF37);
  ASSERT_NE(0, bootloader);
  HWND prompt = WaitForMessageBox(kWaitMs);
  ASSERT_NE(nullptr, prompt) << "the bootloader prompt";
  ASSERT_TRUE(Answer(prompt, 1));
  HWND failed = WaitForMessageBox(60000);
  ASSERT_NE(nullptr, failed) << "the download failed";
  EXPECT_TRUE(Answer(failed, 1));
  EXPECT_FALSE(FramesToSince(bootloader, mark)) << "nothing was sent to the bootloader";
  EXPECT_TRUE(program.IsRunning());
}

}  // namespace
