// The advanced-key page's held-key strip in the real program: keys pressed anywhere on the
// system (through the system's input queue, as a keyboard's keys arrive) show a label in the
// strip while the page is shown, and nothing while another page is.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "HeldKey.h"
#include "MessagePump.h"
#include "ProgramHarness.h"
#include "SimChannel.h"
#include "TempFolder.h"

using testsupport::ProgramHarness;
using testsupport::SimChannel;

namespace {

constexpr int kModel = 102;  // Lynt 65
constexpr DWORD kWaitMs = 15000;
constexpr COLORREF kHomeFill = RGB(0x1A, 0x19, 0x1A);
constexpr POINT kFreePoint = {300, 300};  // the home page's fill; a key picture on the pages

// The main tabs: 180 wide from x = 240; the advanced-key page is the third, performance the second.
constexpr POINT kAdvKeyTab = {690, 40};
constexpr POINT kPerfTab = {510, 40};
// The strip's client rectangle starts at (200, 690); its first label cell is 36 px square at
// (10, 10) in it. The point lies inside the cell, clear of its outline and its caption.
constexpr POINT kFirstCell = {200 + 10 + 4, 690 + 10 + 4};
constexpr POINT kSecondCell = {200 + 10 + 46 + 4, 690 + 10 + 4};
constexpr COLORREF kStripFill = RGB(0x39, 0x3B, 0x50);

// A label is a light cell; the strip's fill is dark blue.
bool IsLabel(COLORREF pixel) {
  return pixel != CLR_INVALID && GetRValue(pixel) > 0xC0 && GetGValue(pixel) > 0xC0 && GetBValue(pixel) > 0xC0;
}

class HeldKeysProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    program.SetKeyboards(std::to_string(kModel));
    program.AddEnvironment(channel.Environment(folder.Path() + L"keyboards.state"));
  }
  void TearDown() override {
    testsupport::SendKeyEvent('A', true);  // never leave the key down for the next test
  }

  void StartOnAdvKeyPage() {
    const int instance = program.Start();
    ASSERT_GE(instance, 0);
    ASSERT_NE(nullptr, program.WaitForWindow(kWaitMs, instance));
    ASSERT_TRUE(channel.Connect(kWaitMs));
    ASSERT_NE(0, channel.KeyboardId(kModel));
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return program.ClientPixel(kFreePoint) != kHomeFill && !program.DatabaseFiles().empty(); }, kWaitMs));
    ShowPage(kAdvKeyTab);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFirstCell) == kStripFill; }, kWaitMs))
        << "the empty strip; pixel " << std::hex << program.ClientPixel(kFirstCell);
  }
  void ShowPage(POINT tab) {
    program.Click(tab);
    testsupport::PumpFor(500);
  }
  // One key event through the system's input queue; the program is not in front.
  void Key(bool up) { ASSERT_TRUE(testsupport::SendKeyEvent('A', up)); }
  bool LabelWithin(POINT cell, DWORD ms) {
    return testsupport::PumpUntil([&] { return IsLabel(program.ClientPixel(cell)); }, ms);
  }
  bool FillsWithin(POINT cell, DWORD ms) {
    return testsupport::PumpUntil([&] { return program.ClientPixel(cell) == kStripFill; }, ms);
  }

  testsupport::TempFolder folder{L"held keys program"};
  SimChannel channel;
  ProgramHarness program;
};

TEST_F(HeldKeysProgramTest, AHeldKeyShowsOneLabelThatFadesOnReleaseAndOnlyOnTheAdvancedKeyPage) {
  ASSERT_NO_FATAL_FAILURE(StartOnAdvKeyPage());

  Key(false);
  EXPECT_TRUE(LabelWithin(kFirstCell, 3000)) << "A's label; pixel " << std::hex << program.ClientPixel(kFirstCell);
  Key(false);  // the system's repeat of the held key
  testsupport::PumpFor(500);
  EXPECT_EQ(kStripFill, program.ClientPixel(kSecondCell)) << "a repeat adds no label";
  Key(true);
  EXPECT_TRUE(FillsWithin(kFirstCell, 1000)) << "faded within a second";

  // Pressed again right after a release: the new label first, the fading one beside it.
  Key(false);
  Key(true);
  Key(false);
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] { return IsLabel(program.ClientPixel(kFirstCell)) && program.ClientPixel(kSecondCell) != kStripFill; },
      3000))
      << "two labels";
  Key(true);
  EXPECT_TRUE(FillsWithin(kFirstCell, 2000));
  EXPECT_TRUE(FillsWithin(kSecondCell, 2000));

  // A key pressed on another page and still held gives no label there nor after coming back.
  ShowPage(kPerfTab);
  Key(false);
  testsupport::PumpFor(300);
  ShowPage(kAdvKeyTab);
  EXPECT_TRUE(FillsWithin(kFirstCell, 3000)) << "the page is shown again, empty";
  testsupport::PumpFor(300);
  EXPECT_EQ(kStripFill, program.ClientPixel(kFirstCell)) << "no label from the other page";
  Key(true);
}

}  // namespace
