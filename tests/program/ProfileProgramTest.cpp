// The profiles of the real program, driven by the page menus' items as another process can
// post them, with the simulated keyboard behind the control channel: what the settings store
// holds, what the keyboard receives, and what a restart keeps.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "ProgramHarness.h"
#include "ProgramKeyboardTest.h"
#include "RawDb.h"
#include "app/AppMessages.h"

namespace {

constexpr int kModel = 102;  // Lynt 65
constexpr int kMenuNew = 101, kMenuDelete = 102;  // the profile menus' items
constexpr int kWriteMacros = 0x0D, kWriteKeyPerf = 0xA1;

class ProfileProgramTest : public testsupport::ProgramKeyboardTest {
 protected:
  ProfileProgramTest() : ProgramKeyboardTest(L"profile program", kModel) {}

  // Starts the program and waits until its keyboard's store holds the profiles.
  void Start() {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Profiles() != ""; }, kWaitMs));
    ASSERT_TRUE(Quiet());
  }
  // The stored profiles as their ids, the active one marked "*"; "" while there is no store.
  std::string Profiles() {
    const auto files = program.DatabaseFiles();
    if (files.empty()) return "";
    std::string out;
    for (const auto& row : RawDb(files[0]).Rows("SELECT profile, status FROM t_profile_data WHERE type = 1 "
                                                "ORDER BY profile")) {
      out += (row[1] == "1" ? "*" : "") + row[0] + " ";
    }
    return out;
  }
  bool ProfilesBecome(const std::string& expected) {
    return testsupport::PumpUntil([&] { return Profiles() == expected; }, kWaitMs);
  }
  // The commands the keyboard received since mark, each once, in the order first seen.
  std::vector<int> Commands(size_t mark, std::initializer_list<int> of) {
    std::vector<int> seen;
    for (const simkb::Frame& frame : channel.FramesSince(mark)) {
      for (int command : of) {
        if (frame.command == command && std::find(seen.begin(), seen.end(), command) == seen.end()) {
          seen.push_back(command);
        }
      }
    }
    return seen;
  }
};

TEST_F(ProfileProgramTest, ANewProfileIsAppliedAndKeptAcrossARestartAndTheLastOneCannotBeDeleted) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ("*1 2 3 ", Profiles());

  const size_t mark = channel.Mark();
  ASSERT_TRUE(program.Post(WM_KB_PAGE_MENU, 0, kMenuNew));
  EXPECT_TRUE(ProfilesBecome("1 2 3 *4 ")) << Profiles();
  // The row is stored before the wait dialog opens and the apply starts: on a loaded machine the
  // keyboard can be silent for a while in between, so the frames are waited for, not a pause.
  const std::vector<int> applied{kWriteMacros, kWriteKeyPerf};
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Commands(mark, {kWriteMacros, kWriteKeyPerf}) == applied; }, kWaitMs))
      << "the new profile was applied to the keyboard";
  ASSERT_TRUE(Quiet());
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] { return program.FindShownWindowTitled(L"MWindow", L"WaitDlg") == nullptr; }, kWaitMs))
      << "the wait dialog closed";

  ASSERT_NO_FATAL_FAILURE(StopProgram());
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ("1 2 3 *4 ", Profiles()) << "the restart keeps the new profile active";

  // Deleting the selected profile until one is left; once more shows the message instead.
  for (const char* left : {"1 2 *3 ", "1 *2 ", "*1 "}) {
    ASSERT_TRUE(program.Post(WM_KB_PAGE_MENU, 0, kMenuDelete));
    EXPECT_TRUE(ProfilesBecome(left)) << Profiles();
    ASSERT_TRUE(Quiet());
  }
  ASSERT_TRUE(program.Post(WM_KB_PAGE_MENU, 0, kMenuDelete));
  ASSERT_TRUE(program.AnswerMessageBox(1));
  EXPECT_EQ("*1 ", Profiles());
}

}  // namespace
