// The advanced-key page of the real program, driven by the pointer as a user drives it, with
// the simulated Lynt 65 behind the control channel: the docked editor opened by the type
// buttons, keys picked on the page's picture, what the settings store and the keyboard's areas
// hold after a save, a restart and a deletion, and the editor across an unplugged keyboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "MessagePump.h"
#include "ProgramHarness.h"
#include "ProgramKeyboardTest.h"
#include "RawDb.h"
#include "app/AppMessages.h"

namespace {

constexpr int kModel = 102;  // Lynt 65
constexpr int kKeyA = 0x04, kKeyB = 0x05;
constexpr COLORREF kHomeFill = RGB(0x1A, 0x19, 0x1A);
constexpr const wchar_t* kEditorTitle = L"CustomKeyDKSDlg";

// Points of the main window's client area (1400 x 860).
constexpr POINT kFreePoint = {300, 300};  // the home page's fill; a key picture on the pages
constexpr POINT kAdvKeyTab = {690, 40};
constexpr POINT kPictureOrigin = {280, 100};  // the layout is as large as the picture
constexpr POINT kDksButton = {515, 513}, kRsButton = {905, 513};
// The list's first tile (its top-left corner at the list's) and its fill: a point above its
// caption and key boxes, and the delete icon in its top-right corner.
constexpr POINT kTileFillPoint = {610 + 100, 560 + 5}, kTileDeleteIcon = {610 + 324, 560 + 10};
constexpr COLORREF kTileFill = RGB(0x39, 0x3B, 0x50);
// Points of the editor panel's client area: Next and Save share the top-right place; the RS
// page's switch.
constexpr POINT kNextOrSave = {1178, 25}, kRsSwitch = {635, 35};

class AdvKeyProgramTest : public testsupport::ProgramKeyboardTest {
 protected:
  AdvKeyProgramTest() : ProgramKeyboardTest(L"advanced key program", kModel) {}

  // Starts the program, waits for its keyboard and shows the advanced-key page.
  void StartOnAdvKeyPage() {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForPages());
    ASSERT_GE(IndexOf(kKeyA), 0);
    ShowPage();
  }
  bool WaitForPages() {
    return testsupport::PumpUntil(
        [&] { return program.ClientPixel(kFreePoint) != kHomeFill && Stored(0, kKeyA) != ""; }, kWaitMs);
  }
  void ShowPage() {
    program.Click(kAdvKeyTab);
    ASSERT_TRUE(Quiet());
  }
  void ClickKey(int code) {
    const POINT at = testsupport::KeyCentre(program.PictureKeys(L"Lynt 65", kPictureOrigin), code);
    ASSERT_GE(at.x, 0) << "key " << code << " on the picture";
    program.Click(at);
  }
  std::vector<HWND> Editors() { return program.FindShownChildrenTitled(kEditorTitle); }
  // Waits for the one editor panel; null when none, or more than one, came.
  HWND WaitForEditor() {
    testsupport::PumpUntil([&] { return !Editors().empty(); }, kWaitMs);
    testsupport::PumpFor(300);  // a second panel would have come by now
    const std::vector<HWND> editors = Editors();
    return editors.size() == 1 ? editors[0] : nullptr;
  }
  bool EditorGoes() {
    return testsupport::PumpUntil([&] { return Editors().empty(); }, kWaitMs);
  }

  // One query's rows on the program's store, each as its columns joined by spaces.
  std::vector<std::string> Query(const std::string& sql) {
    const auto files = program.DatabaseFiles();
    if (files.empty()) return {};
    std::vector<std::string> out;
    for (const auto& row : RawDb(files[0]).Rows(sql)) {
      std::string line;
      for (const std::string& column : row) line += (line.empty() ? "" : " ") + column;
      out.push_back(line);
    }
    return out;
  }
  // The stored advanced keys as "id kind keys key1 key2".
  std::vector<std::string> AdvKeys() {
    return Query(
        "SELECT macro_id, macro_type, key_value, key1_value, key2_value FROM t_magnetic_key_data "
        "ORDER BY macro_id");
  }
  int Items(const std::string& id) {
    return static_cast<int>(Query("SELECT keyitem_id FROM t_key_item_data WHERE macro_id = " + id).size());
  }

  std::string Area(const char* name, size_t length) {
    return simkb::ToHex(channel.ReadArea(keyboard, name, 0, length));
  }
  bool Becomes(const std::function<std::string()>& read, const std::string& expected) {
    return testsupport::PumpUntil([&] { return read() == expected; }, kWaitMs);
  }
  bool TileShown(bool shown) {
    return testsupport::PumpUntil([&] { return (program.ClientPixel(kTileFillPoint) == kTileFill) == shown; }, kWaitMs);
  }
};

TEST_F(AdvKeyProgramTest, ASavedDksKeyIsStoredWrittenAndShownAcrossARestartAndItsDeletionGivesTheKeyBack) {
  ASSERT_NO_FATAL_FAILURE(StartOnAdvKeyPage());
  EXPECT_TRUE(TileShown(false));

  // The DKS button opens the editor on its introduction; Next without a key only tells so.
  program.Click(kDksButton);
  HWND editor = WaitForEditor();
  ASSERT_NE(nullptr, editor);
  testsupport::PostClick(editor, kNextOrSave);
  ASSERT_TRUE(program.AnswerMessageBox(1));
  EXPECT_EQ(1u, Editors().size());
  EXPECT_TRUE(AdvKeys().empty());

  // A from the picture, Next, and Save with the editor's own depths and actions.
  ASSERT_NO_FATAL_FAILURE(ClickKey(kKeyA));
  testsupport::PumpFor(300);
  testsupport::PostClick(editor, kNextOrSave);
  testsupport::PumpFor(500);
  testsupport::PostClick(editor, kNextOrSave);
  ASSERT_TRUE(EditorGoes());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return AdvKeys().size() == 1; }, kWaitMs));
  const std::string id = AdvKeys()[0].substr(0, AdvKeys()[0].find(' '));
  EXPECT_EQ(id + " 14 4 7690 2590", AdvKeys()[0]) << "kind, key, 0x1E0A and 0x0A1E";
  EXPECT_EQ(4, Items(id));
  EXPECT_TRUE(Becomes([&] { return Stored(0, kKeyA); }, "14 " + id + " \"DKS\"")) << Stored(0, kKeyA);
  EXPECT_TRUE(Becomes([&] { return Area("dks", 4); }, "0a1e1e0a")) << Area("dks", 4);
  EXPECT_TRUE(Becomes([&] { return Entry(0, kKeyA).substr(0, 2); }, "90")) << Entry(0, kKeyA);
  EXPECT_TRUE(TileShown(true));
  ASSERT_TRUE(Quiet());

  // A restart keeps the rows, the tile and the keyboard's areas.
  const std::string entry = Entry(0, kKeyA);
  ASSERT_NO_FATAL_FAILURE(StopProgram());
  ASSERT_NO_FATAL_FAILURE(StartOnAdvKeyPage());
  EXPECT_EQ(1u, AdvKeys().size());
  EXPECT_EQ(4, Items(id));
  EXPECT_EQ("14 " + id + " \"DKS\"", Stored(0, kKeyA));
  EXPECT_TRUE(TileShown(true));
  EXPECT_EQ("0a1e1e0a", Area("dks", 4));
  EXPECT_EQ(entry, Entry(0, kKeyA));

  // The tile's delete icon: the key and its actions go, A is A again, in the store and the keyboard.
  program.Click(kTileDeleteIcon);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return AdvKeys().empty(); }, kWaitMs));
  EXPECT_EQ(0, Items(id));
  EXPECT_TRUE(Becomes([&] { return Stored(0, kKeyA); }, "2 4 \"A\"")) << Stored(0, kKeyA);
  EXPECT_TRUE(Becomes([&] { return Entry(0, kKeyA); }, "100004")) << Entry(0, kKeyA);
  EXPECT_TRUE(Becomes([&] { return Area("dks", 4); }, "00000000")) << Area("dks", 4);
  EXPECT_TRUE(TileShown(false));
  EXPECT_TRUE(Editors().empty());
}

TEST_F(AdvKeyProgramTest, AnRsPairIsBoundAndTheEditorGoesWithTheKeyboardAndComesBackWithIt) {
  ASSERT_NO_FATAL_FAILURE(StartOnAdvKeyPage());

  // RS pressed twice: one editor. A and B from the picture, the switch on, Save.
  program.Click(kRsButton);
  program.Click(kRsButton);
  HWND editor = WaitForEditor();
  ASSERT_NE(nullptr, editor);
  ASSERT_NO_FATAL_FAILURE(ClickKey(kKeyA));
  ASSERT_NO_FATAL_FAILURE(ClickKey(kKeyB));
  testsupport::PumpFor(300);
  testsupport::PostClick(editor, kNextOrSave);
  testsupport::PumpFor(500);
  testsupport::PostClick(editor, kRsSwitch);
  testsupport::PumpFor(300);
  testsupport::PostClick(editor, kNextOrSave);
  ASSERT_TRUE(EditorGoes());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return AdvKeys().size() == 1; }, kWaitMs));
  const std::string id = AdvKeys()[0].substr(0, AdvKeys()[0].find(' '));
  EXPECT_EQ(id + " 17 " + std::to_string(kKeyA | kKeyB << 16) + " 1 655370", AdvKeys()[0]) << "the switch on";
  EXPECT_TRUE(Becomes([&] { return Stored(0, kKeyA); }, "17 " + id + " \"RS\"")) << Stored(0, kKeyA);
  EXPECT_EQ("17 " + id + " \"RS\"", Stored(0, kKeyB));
  EXPECT_TRUE(Becomes([&] { return Area("adv-keys", 12); }, "100004100005100005100004")) << Area("adv-keys", 12);
  ASSERT_TRUE(Quiet());

  // Another process asks for an editor of a kind there is none of: the editor opens as it starts.
  ASSERT_TRUE(program.Post(WM_KB_ADVKEY_ADD, 99, 0));
  ASSERT_NE(nullptr, WaitForEditor());

  // The keyboard goes with the editor open: so does the editor. Back, the DKS button opens one.
  ASSERT_TRUE(channel.Unplug(keyboard));
  EXPECT_TRUE(EditorGoes());
  EXPECT_TRUE(testsupport::PumpUntil([&] { return program.ClientPixel(kFreePoint) == kHomeFill; }, kWaitMs))
      << "the home page";
  ASSERT_TRUE(channel.Replug(keyboard));
  ASSERT_TRUE(WaitForPages());
  ASSERT_NO_FATAL_FAILURE(ShowPage());
  program.Click(kDksButton);
  EXPECT_NE(nullptr, WaitForEditor());
}

}  // namespace
