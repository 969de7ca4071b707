// The macro page of the real program, with the simulated Lynt 65 behind the control channel
// and keys typed through the system's input queue while a window of the test is in front: a
// recording takes the keys from every program and stores them with their waits, the keyboard
// gets the macro area and a restart keeps both; the page menu's export writes the macro's file
// and its import refuses a file that holds no macro; a keyboard that goes during the macro
// write or during a recording leaves the window answering and the keys free again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FileBytes.h"
#include "FileDialogDriver.h"
#include "FileProbe.h"
#include "ForegroundEdit.h"
#include "HeldKey.h"
#include "MessagePump.h"
#include "ProgramHarness.h"
#include "RawDb.h"
#include "SimChannel.h"
#include "Stopwatch.h"
#include "TempFolder.h"
#include "app/AppMessages.h"

using testsupport::ProgramHarness;
using testsupport::SimChannel;

namespace {

constexpr int kModel = 102;  // Lynt 65
constexpr DWORD kWaitMs = 15000;
constexpr COLORREF kHomeFill = RGB(0x1A, 0x19, 0x1A);
constexpr int kWriteMacros = 0x0D;
constexpr int kMenuImport = 607, kMenuExport = 608;
// The wait between the two A events, and how far the stored wait may be from it.
constexpr int kHeldMs = 250, kHeldSlackMs = 60;

// Points of the main window's client area (1400 x 860).
constexpr POINT kFreePoint = {300, 300};  // the home page's fill; a key picture on the pages
constexpr POINT kMacroTab = {870, 40};    // the fourth of the main tabs, 180 wide from x = 240
// The macro list's rows are 32 high from y = 145; the second row is M 2.
constexpr POINT kSecondMacro = {300, 145 + 32 + 16};
constexpr POINT kRecordButton = {330, 760};  // the stop button takes its place while recording
constexpr POINT kSaveButton = {1320, 765};
// A point of the macro list's frame, a box of its own colour on the macro page only.
constexpr POINT kListFrame = {192, 250};
constexpr COLORREF kBoxFill = RGB(0x38, 0x3A, 0x4F);
// The right end of the list's first row, and the colour of a selected row.
constexpr POINT kFirstMacroEnd = {440, 145 + 16};
constexpr COLORREF kSelectedRow = RGB(0x68, 0x73, 0x89);

// A stored event: kind, key code, wait after it.
struct StoredEvent {
  int type, value, delay;
};

class MacroProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    program.SetKeyboards(std::to_string(kModel));
    program.AddEnvironment(channel.Environment(folder.Path() + L"keyboards.state"));
  }
  void TearDown() override {
    // Never leave a key down for the next test.
    for (WORD vk : {WORD('A'), WORD('1'), WORD('B'), WORD(VK_SHIFT)}) testsupport::SendKeyEvent(vk, true);
  }

  // Starts the program, waits for its keyboard and its ten macros and shows the macro page.
  void StartOnMacroPage() {
    const int instance = program.Start();
    ASSERT_GE(instance, 0);
    ASSERT_NE(nullptr, program.WaitForWindow(kWaitMs, instance));
    ASSERT_TRUE(channel.Connect(kWaitMs));
    keyboard = channel.KeyboardId(kModel);
    ASSERT_NE(0, keyboard);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) != kHomeFill && Macros() == 10; },
                                       kWaitMs))
        << "the pages with the ten macros; " << Macros() << " stored";
    ASSERT_NO_FATAL_FAILURE(ShowMacroPage());
  }
  // Shows the macro page once the list has been filled for the keyboard: the fill selects the
  // first macro and enables the page's buttons, so a recording started before it would look
  // ended.
  void ShowMacroPage() {
    program.Click(kMacroTab);
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] {
          return program.ClientPixel(kListFrame) == kBoxFill && program.ClientPixel(kFirstMacroEnd) == kSelectedRow;
        },
        kWaitMs))
        << "the macro page with the first macro selected; pixels " << std::hex << program.ClientPixel(kListFrame)
        << " " << program.ClientPixel(kFirstMacroEnd);
    ASSERT_TRUE(Quiet());
  }
  void Stop() {
    channel.Disconnect();
    ASSERT_TRUE(program.Post(WM_CLOSE));
    ASSERT_TRUE(program.WaitForExit(kWaitMs).has_value());
  }
  // Waits until the keyboard has heard nothing for a second: the worker is done.
  bool Quiet() { return channel.WaitQuiet(1000, kWaitMs); }
  bool WindowAnswers() {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(program.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
  }
  bool WaitDialogShown() { return program.FindShownWindowTitled(L"MWindow", L"WaitDlg") != nullptr; }

  // ---- The store, by raw SQL; -1 or empty while there is none ----
  std::optional<int> Number(const std::string& sql) {
    const auto files = program.DatabaseFiles();
    if (files.empty()) return std::nullopt;
    return RawDb(files[0]).TryNumber(sql);
  }
  int Macros() { return Number("SELECT COUNT(*) FROM t_macro_data").value_or(-1); }
  int AllEvents() { return Number("SELECT COUNT(*) FROM t_macrorecord").value_or(-1); }
  // The id of the second macro (M 2).
  int SecondMacro() {
    return Number("SELECT macro_id FROM t_macro_data ORDER BY macro_id LIMIT 1 OFFSET 1").value_or(-1);
  }
  std::vector<StoredEvent> Events(int macroId) {
    const auto files = program.DatabaseFiles();
    std::vector<StoredEvent> events;
    if (files.empty()) return events;
    for (const auto& row : RawDb(files[0]).Rows("SELECT type, value, delay_time FROM t_macrorecord WHERE macro_id = " +
                                                std::to_string(macroId) + " ORDER BY record_index")) {
      events.push_back({std::stoi(row[0]), std::stoi(row[1]), std::stoi(row[2])});
    }
    return events;
  }

  size_t MacroFrames(size_t mark) {
    size_t frames = 0;
    for (const simkb::Frame& frame : channel.FramesSince(mark)) frames += frame.command == kWriteMacros;
    return frames;
  }

  // Clicks the record button and waits until the recording runs: the save button is disabled.
  void StartRecording() {
    const COLORREF enabled = program.ClientPixel(kSaveButton);
    program.Click(kRecordButton);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kSaveButton) != enabled; }, kWaitMs))
        << "the save button disabled; pixel " << std::hex << enabled;
  }
  // Clicks the stop button and waits until the recording has ended and its save has reached
  // the keyboard: the save button enabled again and the wait dialog gone.
  void StopRecording(COLORREF enabledSave) {
    program.Click(kRecordButton);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kSaveButton) == enabledSave; }, kWaitMs));
  }

  testsupport::TempFolder folder{L"macro program"};
  SimChannel channel;
  ProgramHarness program;
  int keyboard = 0;
};

// The keyboard's macro area (one copy) as the events of a macro that starts at the first
// event offset, each "delay kind code" with the delay as the keyboard stores it.
std::vector<std::string> AreaEvents(const simkb::Bytes& area, size_t start, size_t count) {
  std::vector<std::string> events;
  for (size_t i = 0; i < count && start + 4 * i + 3 < area.size(); ++i) {
    const uint8_t* e = area.data() + start + 4 * i;
    char text[32];
    snprintf(text, sizeof text, "%d %02X %02X", e[0] | e[1] << 8, e[2], e[3]);
    events.push_back(text);
  }
  return events;
}

TEST_F(MacroProgramTest, ARecordingTakesTheKeysFromEveryWindowAndIsStoredWrittenAndKeptAcrossARestart) {
  ASSERT_NO_FATAL_FAILURE(StartOnMacroPage());
  const int macro = SecondMacro();
  ASSERT_GT(macro, 0);
  program.Click(kSecondMacro);
  testsupport::ForegroundEdit edit;
  const COLORREF enabledSave = program.ClientPixel(kSaveButton);
  ASSERT_NO_FATAL_FAILURE(StartRecording());

  // A down, 250 ms, A up, then Shift+1. Each SendInput returns once the program's hook has
  // taken the event, so the stored wait lies between the two calls' bounds.
  testsupport::ElapsedTime clock;
  ASSERT_TRUE(testsupport::SendKeyEvent('A', false));
  const double downReturned = clock.Ms();
  while (clock.Ms() < downReturned + kHeldMs) Sleep(1);
  const double upSent = clock.Ms();
  ASSERT_TRUE(testsupport::SendKeyEvent('A', true));
  const double upReturned = clock.Ms();
  for (const auto& key : {std::make_pair(WORD(VK_SHIFT), false), std::make_pair(WORD('1'), false),
                          std::make_pair(WORD('1'), true), std::make_pair(WORD(VK_SHIFT), true)}) {
    ASSERT_TRUE(testsupport::SendKeyEvent(key.first, key.second));
  }
  testsupport::PumpFor(300);

  const size_t mark = channel.Mark();
  ASSERT_NO_FATAL_FAILURE(StopRecording(enabledSave));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Events(macro).size() == 6; }, kWaitMs)) << Events(macro).size();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return MacroFrames(mark) > 0 && !WaitDialogShown(); }, kWaitMs))
      << "the macro area written and the wait dialog closed";
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(0, edit.KeyMessages()) << "the window in front got none of the keys";
  EXPECT_EQ(L"", edit.Text());

  const std::vector<StoredEvent> events = Events(macro);
  ASSERT_EQ(6u, events.size());
  const int expected[][2] = {{2, 65}, {3, 65}, {2, 225}, {2, 49}, {3, 49}, {3, 225}};
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(expected[i][0], events[i].type) << "event " << i;
    EXPECT_EQ(expected[i][1], events[i].value) << "event " << i;
  }
  // The wait as the program measured it can only lie between what the test's calls allow:
  // from A down's return to A up's call, and at most from A down's call to A up's return.
  const double shortest = upSent - downReturned, longest = upReturned;
  EXPECT_GE(events[0].delay, static_cast<int>(shortest - testsupport::kTickStepMs));
  EXPECT_LE(events[0].delay, static_cast<int>(longest + testsupport::kTickStepMs));
  if (longest <= kHeldMs + kHeldSlackMs) {
    EXPECT_NEAR(kHeldMs, events[0].delay, kHeldSlackMs) << "the held A's wait";
  }

  // One copy of the keyboard's area: M 1 has no events, so M 2's pointer and events follow the
  // 64 bytes of pointers; the last event carries the end mark.
  const simkb::Bytes area = channel.ReadArea(keyboard, "macros", 0, 64 + 4 * 6);
  ASSERT_EQ(64u + 24u, area.size());
  EXPECT_EQ(64, area[2] | area[3] << 8) << "M 2's pointer";
  const char* kinds[] = {"42 04", "02 04", "41 02", "42 1E", "02 1E", "81 02"};
  std::vector<std::string> wanted;
  for (size_t i = 0; i < events.size(); ++i) {
    wanted.push_back(std::to_string(events[i].delay < 1 ? 1 : events[i].delay) + " " + kinds[i]);
  }
  EXPECT_EQ(wanted, AreaEvents(area, 64, 6));

  ASSERT_NO_FATAL_FAILURE(Stop());
  ASSERT_NO_FATAL_FAILURE(StartOnMacroPage());
  const std::vector<StoredEvent> kept = Events(macro);
  ASSERT_EQ(events.size(), kept.size()) << "the restart keeps the events";
  for (size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(events[i].delay, kept[i].delay) << "event " << i;
  EXPECT_EQ(area, channel.ReadArea(keyboard, "macros", 0, 64 + 4 * 6)) << "and the keyboard its area";

  // The page menu's export of the selected M 2 through the save dialog.
  program.Click(kSecondMacro);
  const DWORD process = [&] {
    DWORD id = 0;
    GetWindowThreadProcessId(program.Window(), &id);
    return id;
  }();
  const std::wstring exported = folder.Path() + L"m2.xml";
  {
    testsupport::FileDialogDriver dialogs({exported}, process);
    ASSERT_TRUE(program.Post(WM_KB_MACRO_MENU, 0, kMenuExport));
    EXPECT_TRUE(testsupport::PumpUntil(
        [&] { return testsupport::ReadFileBytes(exported).find("</macro>") != std::string::npos; }, kWaitMs));
  }
  const std::string file = testsupport::ReadFileBytes(exported);
  EXPECT_NE(std::string::npos, file.find("name=\"M 2\"")) << file;
  size_t at = 0;
  for (const StoredEvent& event : events) {
    const std::string item = "type=\"" + std::to_string(event.type) + "\" value=\"" + std::to_string(event.value) +
                             "\" delay_time=\"" + std::to_string(event.delay) + "\"";
    at = file.find(item, at);
    EXPECT_NE(std::string::npos, at) << item << " in order in " << file;
    if (at == std::string::npos) break;
  }

  // The import of a file that holds no macro: the message, and nothing stored or written.
  const std::wstring hostile = folder.Path() + L"hostile.xml";
  const std::string profileRoot = "<?xml version=\"1.0\"?><profile><macroinfo name=\"X\"/></profile>";
  testsupport::WriteFileBytes(hostile, std::vector<uint8_t>(profileRoot.begin(), profileRoot.end()));
  ASSERT_TRUE(Quiet());
  const size_t importMark = channel.Mark();
  {
    testsupport::FileDialogDriver dialogs({hostile}, process);
    ASSERT_TRUE(program.Post(WM_KB_MACRO_MENU, 0, kMenuImport));
    HWND box = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return (box = program.FindShownWindowTitled(L"MWindow", L"MessageBox")) != nullptr; }, kWaitMs))
        << "the refusal's message";
    EXPECT_EQ(1u, dialogs.Seen().size());
    PostMessageW(box, WM_CLOSE, 1, 0);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kWaitMs));
  }
  EXPECT_EQ(10, Macros());
  EXPECT_EQ(6, AllEvents());
  EXPECT_EQ(0u, MacroFrames(importMark)) << "nothing for the keyboard";
  EXPECT_TRUE(WindowAnswers());
}

TEST_F(MacroProgramTest, AKeyboardGoneDuringTheMacroWriteOrARecordingLeavesTheWindowAnsweringAndTheKeysFree) {
  ASSERT_NO_FATAL_FAILURE(StartOnMacroPage());
  const int macro = SecondMacro();
  program.Click(kSecondMacro);
  testsupport::ForegroundEdit edit;

  // The keyboard removes itself at the second frame of the macro area written after the stop.
  ASSERT_NO_FATAL_FAILURE(StartRecording());
  ASSERT_TRUE(testsupport::TapKey('A'));
  ASSERT_TRUE(channel.AddFault(keyboard, "remove-device command=" + std::to_string(kWriteMacros) + " nth=2"));
  const size_t mark = channel.Mark();
  program.Click(kRecordButton);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Events(macro).size() == 2; }, kWaitMs)) << Events(macro).size();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return MacroFrames(mark) >= 2; }, kWaitMs));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) == kHomeFill; }, kWaitMs))
      << "the window went back to its home page";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !WaitDialogShown(); }, kWaitMs)) << "the wait dialog closed";
  EXPECT_TRUE(WindowAnswers());
  EXPECT_EQ(2u, Events(macro).size()) << "the rows stay";
  EXPECT_EQ(0, edit.KeyMessages());

  // Back, recording again, and the keyboard goes: the keys reach the window in front again.
  ASSERT_TRUE(channel.ClearFaults(keyboard));
  ASSERT_TRUE(channel.Replug(keyboard));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) != kHomeFill; }, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(ShowMacroPage());
  program.Click(kSecondMacro);
  ASSERT_NO_FATAL_FAILURE(StartRecording());
  edit.Front();
  ASSERT_TRUE(testsupport::TapKey('A'));
  testsupport::PumpFor(300);
  EXPECT_EQ(0, edit.KeyMessages()) << "swallowed while recording";
  ASSERT_TRUE(channel.Unplug(keyboard));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) == kHomeFill; }, kWaitMs));
  edit.Front();
  ASSERT_TRUE(testsupport::TapKey('B'));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return edit.Text() == L"b"; }, kWaitMs)) << "the key typed";
  EXPECT_TRUE(WindowAnswers());
  EXPECT_EQ(2u, Events(macro).size()) << "a recording ended by the keyboard's going saves nothing";
}

}  // namespace
