// The real program started as a process of its own from a copy of its folder with the
// simulated keyboard: its window on the screen, what it stores, how it ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Backdrop.h"
#include "MessagePump.h"
#include "ProgramHarness.h"
#include "RawDb.h"

using testsupport::ProgramHarness;

namespace {

constexpr COLORREF kBackdropColour = RGB(255, 0, 255);
constexpr DWORD kWindowWaitMs = 10000;
constexpr DWORD kConnectWaitMs = 10000;
constexpr DWORD kExitWaitMs = 5000;

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether the program stored the keyboard it connected to.
bool Connected(const ProgramHarness& program) { return program.ReadValue(L"DeviceType") == L"102"; }

TEST(ProgramStartTest, OpensCentredWithRoundedCornersStoresItsStateAndEndsWithOneOnClose) {
  testsupport::Backdrop backdrop(kBackdropColour);
  ProgramHarness program;
  ASSERT_TRUE(program.PlantDataFile(L"edit\\left-over.txt"));
  ASSERT_EQ(0, program.Start());
  HWND window = program.WaitForWindow(kWindowWaitMs);
  ASSERT_NE(nullptr, window) << "no main window within 10 s";
  EXPECT_TRUE(IsWindowVisible(window));

  RECT rect;
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_EQ(1400, rect.right - rect.left);
  EXPECT_EQ(860, rect.bottom - rect.top);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_EQ((monitor.rcWork.left + monitor.rcWork.right) / 2, (rect.left + rect.right) / 2) << "centred";
  EXPECT_EQ((monitor.rcWork.top + monitor.rcWork.bottom) / 2, (rect.top + rect.bottom) / 2);

  // The top-left corner lies outside the rounded region: the backdrop shows through there,
  // while the window paints its inside.
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] { return program.WindowPixel({700, 430}) != kBackdropColour && program.WindowPixel({4, 4}) == kBackdropColour; },
      5000))
      << std::hex << "corner " << program.WindowPixel({4, 4}) << ", middle " << program.WindowPixel({700, 430});
  EXPECT_NE(window, WindowFromPoint({rect.left + 4, rect.top + 4}));

  EXPECT_TRUE(testsupport::PumpUntil([&] { return Connected(program); }, kConnectWaitMs)) << "the keyboard connects";
  EXPECT_EQ(L"1033", program.ReadValue(L"LCID").value_or(L"(none)"));
  EXPECT_FALSE(IsFile(program.DataFolder() + L"edit\\left-over.txt")) << "the edit folder is emptied at start";
  EXPECT_TRUE(IsFolder(program.DataFolder() + L"edit"));
  EXPECT_TRUE(IsFolder(program.DataFolder() + L"db"));

  // The connected model's settings database is made after the model is stored.
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !program.DatabaseFiles().empty(); }, kConnectWaitMs));

  ASSERT_TRUE(program.Post(WM_CLOSE));
  EXPECT_EQ(1u, program.WaitForExit(kExitWaitMs).value_or(0xFFFF)) << "a closed main window ends the run with 1";

  const auto databases = program.DatabaseFiles();
  ASSERT_EQ(1u, databases.size());
  HANDLE exclusive = CreateFileW(databases[0].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, exclusive) << "the program closed its database";
  CloseHandle(exclusive);
  RawDb raw(databases[0]);
  EXPECT_EQ(43, raw.TryNumber("SELECT count(*) FROM t_config_data WHERE profile = 0").value_or(-1))
      << "the default device settings rows";
}

// Started at log-on with the Run value and "autorun_minimize" 1, the program runs hidden; a second
// start shows that window again and ends at once with 0.
TEST(ProgramStartTest, AnAutomaticStartRunsHiddenAndASecondStartShowsItAndEndsWithZero) {
  ProgramHarness program;
  program.SetRunValue(true);
  program.WriteValue(L"autorun_minimize", L"1");
  ASSERT_EQ(0, program.Start(L"-autorun"));
  HWND window = program.WaitForWindow(kWindowWaitMs);
  ASSERT_NE(nullptr, window);
  EXPECT_FALSE(IsWindowVisible(window)) << "only the tray icon shows";

  ASSERT_EQ(1, program.Start());
  EXPECT_EQ(0u, program.WaitForExit(kExitWaitMs, 1).value_or(0xFFFF)) << "the second instance gives way";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, 2000))
      << "the first instance's window is shown again";
  EXPECT_TRUE(program.IsRunning(0));
}

// Spoilt installations still open the window and connect the keyboard; without a readable
// config.xml the program runs under the library's fallback name, in English.
TEST(ProgramStartTest, MissingOrBrokenFilesStillOpenTheWindowAndConnect) {
  const struct {
    const char* name;
    testsupport::ConfigFile config;
    const wchar_t* removed;
    bool fallbackName;
  } cases[] = {
      {"no config.xml", testsupport::ConfigFile::Missing, nullptr, true},
      {"config.xml is not XML", testsupport::ConfigFile::NotXml, nullptr, true},
      {"no language folder", testsupport::ConfigFile::Own, L"language", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramHarness program;
    program.SetConfigFile(c.config);
    if (c.removed) program.RemoveFromProgram(c.removed);
    EXPECT_EQ(c.fallbackName, program.DeviceName() == ProgramHarness::kFallbackName);
    // The fallback name's key may hold a model from an earlier run: only a fresh one counts.
    program.DeleteValue(L"DeviceType");
    ASSERT_EQ(0, program.Start());
    HWND window = program.WaitForWindow(kWindowWaitMs);
    ASSERT_NE(nullptr, window) << "no window titled " << testing::PrintToString(program.DeviceName());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Connected(program); }, kConnectWaitMs));
    if (c.fallbackName) {
      EXPECT_EQ(L"1033", program.ReadValue(L"LCID").value_or(L"(none)"));
    }
    ASSERT_TRUE(program.Post(WM_CLOSE));
    EXPECT_EQ(1u, program.WaitForExit(kExitWaitMs).value_or(0xFFFF));
  }
}

}  // namespace
