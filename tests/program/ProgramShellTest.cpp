// The real program's ways out and its tray icon: the close button, the quit message and the
// tray menu's exit end the process with 0; with "exit_mode" 1 the close button only hides the
// window, which the tray icon brings back and whose right-button release opens the menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "MessagePump.h"
#include "ProgramHarness.h"
#include "app/AppMessages.h"

using testsupport::ProgramHarness;

namespace {

constexpr DWORD kWindowWaitMs = 10000;
constexpr DWORD kExitWaitMs = 5000;
constexpr DWORD kShowWaitMs = 5000;
// Client points of the title-bar buttons (1400 x 860 window).
constexpr POINT kCloseButton = {1365, 40};
constexpr POINT kMinimiseButton = {1330, 40};
constexpr wchar_t kMenuClass[] = L"#32768";

bool HasVisibleMenu(const ProgramHarness& program) {
  HWND menu = program.FindWindowOfClass(kMenuClass);
  return menu && IsWindowVisible(menu);
}

TEST(ProgramShellTest, TheCloseButtonTheQuitMessageAndTheTrayExitEndTheProgramWithZero) {
  const struct {
    const char* name;
    std::function<void(ProgramHarness&)> end;
  } cases[] = {
      {"close button, exit_mode missing", [](ProgramHarness& program) { program.Click(kCloseButton); }},
      {"quit message",
       [](ProgramHarness& program) {
         // wParam 610 is no quit: the minimise click posted after it still finds the program.
         program.Post(WM_KB_QUIT, kQuitMagic, 0);
         program.Click(kMinimiseButton);
         EXPECT_TRUE(testsupport::PumpUntil([&] { return IsIconic(program.Window()) != FALSE; }, kShowWaitMs));
         EXPECT_TRUE(program.IsRunning());
         program.Post(WM_KB_QUIT, 0, kQuitMagic);
       }},
      {"tray menu's exit", [](ProgramHarness& program) { program.Post(WM_COMMAND, kTrayExitCommand); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramHarness program;
    ASSERT_EQ(0, program.Start());
    ASSERT_NE(nullptr, program.WaitForWindow(kWindowWaitMs));
    c.end(program);
    EXPECT_EQ(0u, program.WaitForExit(kExitWaitMs).value_or(0xFFFF));
  }
}

// With "exit_mode" 1 the close button hides the window; the icon's left press shows it again,
// its right press does nothing and its right release opens the menu.
TEST(ProgramShellTest, ClosedToTheTrayItShowsAgainFromTheIconWhoseRightReleaseOpensTheMenu) {
  ProgramHarness program;
  program.WriteValue(L"exit_mode", L"1");
  ASSERT_EQ(0, program.Start());
  HWND window = program.WaitForWindow(kWindowWaitMs);
  ASSERT_NE(nullptr, window);
  ASSERT_TRUE(IsWindowVisible(window));

  program.Click(kCloseButton);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsWindowVisible(window); }, kShowWaitMs)) << "hidden";
  EXPECT_TRUE(program.IsRunning());

  // Handled in order: once the left press has shown the window, the right press is done too.
  program.Post(WM_KB_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
  program.Post(WM_KB_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, kShowWaitMs)) << "shown";
  EXPECT_FALSE(HasVisibleMenu(program)) << "a right press opens no menu";

  program.Post(WM_KB_TRAY_NOTIFY, 0, WM_RBUTTONUP);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return HasVisibleMenu(program); }, kShowWaitMs)) << "the tray menu";
}

}  // namespace
