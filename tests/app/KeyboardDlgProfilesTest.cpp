// The profile lists of the main window in the test process: new, delete and rename through
// the pages' menu items and list notifications, what the store and the lists hold after each,
// and the apply task's writes as the simulated keyboard receives them.
#include "app/KeyboardDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "MessageBoxAnswerer.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "device/HidDeviceManager.h"
#include "simkeyboard/SimKeyboard.h"
#include "ui/controls/MComboBox.h"
#include "ui/core/MObject.h"

using simkb::Bus;

namespace {

constexpr int kMenuNew = 101, kMenuDelete = 102, kMenuRename = 103;  // the profile menus' items
constexpr int kConfigRowsPerProfile = 43;

std::wstring TextOf(int id) { return LoadLanString(L"KB.DIALOG", id).GetString(); }
std::string Utf8(const std::wstring& text) {
  std::string out(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.pop_back();
  return out;
}

class KeyboardDlgProfilesTest : public testsupport::MainWindowFixture {
 protected:
  KeyboardDlg& dlg() { return *m_dlg; }

  // Each built list as "name=id ..." with the selected item marked "*"; all must agree.
  std::string Lists() {
    std::string first;
    for (TESK::MComboBox* combo : dlg().BuiltProfileCombos()) {
      std::string items;
      for (int i = 0; i < combo->GetItemCount(); ++i) {
        items += (i == combo->GetCurSel() ? "*" : "") + Utf8(combo->GetItemText(i).GetString()) + "=" +
                 std::to_string(combo->GetItemData(i)) + " ";
      }
      if (first.empty()) first = items;
      EXPECT_EQ(first, items) << "list " << combo->GetControlID();
    }
    return first;
  }
  // The stored profiles as "name=id" with the active one marked "*".
  std::string Stored() {
    RawDb db(DbFile().GetString());
    std::string out;
    for (const auto& row : db.Rows("SELECT profile, name, status FROM t_profile_data WHERE type = 1 ORDER BY profile")) {
      out += (row[2] == "1" ? "*" : "") + row[1] + "=" + row[0] + " ";
    }
    return out;
  }
  // A profile menu item as the page's menu posts it; the wait dialog's loop runs inside.
  LRESULT Menu(int item) { return SendMessageW(dlg().GetSafeHwnd(), WM_KB_PAGE_MENU, 0, item); }
  void Select(int position) {
    for (TESK::MComboBox* combo : dlg().BuiltProfileCombos()) combo->SetCurSel(position);
  }
  std::string P(int n) { return Utf8(TextOf(101)) + " " + std::to_string(n); }
};

TEST_F(KeyboardDlgProfilesTest, NewAndDeleteKeepTheListsAndTheStoreTogetherAndApplyTheSelectedProfile) {
  Connected();
  ASSERT_TRUE(WaitIdle());
  TakeAppended();
  ASSERT_EQ("*" + P(1) + "=1 " + P(2) + "=2 " + P(3) + "=3 ", Lists());

  // The middle one deleted: the one before it is selected and applied.
  Select(1);
  Menu(kMenuDelete);
  EXPECT_EQ("*" + P(1) + "=1 " + P(3) + "=3 ", Lists());
  EXPECT_EQ("*" + P(1) + "=1 " + P(3) + "=3 ", Stored());
  EXPECT_EQ(std::vector<int>{TASK_APPLY_PROFILE}, TakeAppended());
  EXPECT_EQ(nullptr, FindWindowW(nullptr, L"WaitDlg")) << "the worker closed the wait dialog";

  // A new profile takes the first free number, comes last, is selected everywhere and active,
  // with its own default rows, and the keyboard gets the whole profile in order.
  const size_t mark = Bus::Get().Mark();
  Menu(kMenuNew);
  EXPECT_EQ(P(1) + "=1 " + P(3) + "=3 *" + P(2) + "=4 ", Lists());
  EXPECT_EQ(P(1) + "=1 " + P(3) + "=3 *" + P(2) + "=4 ", Stored());
  EXPECT_EQ(4, dlg().m_comboProfileKeys->GetCurData());
  EXPECT_EQ(std::vector<int>{TASK_APPLY_PROFILE}, TakeAppended());
  RawDb db(DbFile().GetString());
  EXPECT_EQ(12 * 87, db.Number("SELECT count(*) FROM t_key_macro_data WHERE profile = 4 AND fn_layer < 12"));
  EXPECT_EQ(87, db.Number("SELECT count(*) FROM t_key_perf_data WHERE profile = 4"));
  EXPECT_EQ(25, db.Number("SELECT count(*) FROM t_light_data WHERE profile = 4")) << "one row per light mode";
  EXPECT_EQ(kConfigRowsPerProfile, db.Number("SELECT count(*) FROM t_config_data WHERE profile = 4"));
  std::vector<int> order;
  for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) {
    for (int command : {CMD_WRITE_MACROS, CMD_WRITE_KEYMAP, CMD_WRITE_KEY_COLORS, CMD_WRITE_CONFIG, CMD_WRITE_KEY_PERF}) {
      if (frame.command == command && (order.empty() || order.back() != command)) order.push_back(command);
    }
  }
  EXPECT_EQ((std::vector<int>{CMD_WRITE_MACROS, CMD_WRITE_KEYMAP, CMD_WRITE_KEY_COLORS, CMD_WRITE_CONFIG,
                              CMD_WRITE_KEY_PERF}),
            order);
  EXPECT_EQ(7, dlg().m_advKeyWriteMask.load()) << "every advanced-key section";

  // The first of three deleted: the new first; the last of two: the one before it.
  Select(0);
  Menu(kMenuDelete);
  EXPECT_EQ("*" + P(3) + "=3 " + P(2) + "=4 ", Lists());
  EXPECT_EQ("*" + P(3) + "=3 " + P(2) + "=4 ", Stored());
  Select(1);
  Menu(kMenuDelete);
  EXPECT_EQ("*" + P(3) + "=3 ", Lists());
  EXPECT_EQ("*" + P(3) + "=3 ", Stored());
  TakeAppended();

  // The last profile stays: a message box says so and nothing changes.
  testsupport::MessageBoxAnswerer boxes(1);
  Menu(kMenuDelete);
  EXPECT_EQ((std::vector<testsupport::BoxTextIds>{{220, 221}}), boxes.TextIds(TextOf, 200, 300));
  EXPECT_EQ(dlg().GetSafeHwnd(), boxes.Boxes().at(0).owner);
  EXPECT_EQ("*" + P(3) + "=3 ", Lists());
  EXPECT_EQ("*" + P(3) + "=3 ", Stored());
  EXPECT_TRUE(TakeAppended().empty());
}

TEST_F(KeyboardDlgProfilesTest, AProfileThatCannotBeStoredChangesNothing) {
  Connected();
  ASSERT_TRUE(WaitIdle());
  TakeAppended();
  RawDb(DbFile().GetString())
      .Exec("CREATE TRIGGER refuse BEFORE INSERT ON t_profile_data BEGIN SELECT RAISE(ABORT, 'full'); END");
  const std::string lists = Lists(), stored = Stored();
  const int keyRows = RawDb(DbFile().GetString()).Number("SELECT count(*) FROM t_key_macro_data");
  Menu(kMenuNew);
  EXPECT_EQ(lists, Lists());
  EXPECT_EQ(stored, Stored());
  EXPECT_EQ(keyRows, RawDb(DbFile().GetString()).Number("SELECT count(*) FROM t_key_macro_data"));
  EXPECT_TRUE(TakeAppended().empty()) << "no apply, so no wait dialog";
}

TEST_F(KeyboardDlgProfilesTest, ARenameEndsInEveryListAndTheStoreAndAnEmptyNamePutsTheStoredOneBack) {
  Connected();
  ASSERT_TRUE(WaitIdle());
  Select(1);
  // The rename opens the list of the page shown; no page, no edit.
  dlg().m_curTab = 0;
  Menu(kMenuRename);
  EXPECT_EQ(nullptr, dlg().m_comboProfilePerf->GetEditWindow());
  dlg().m_curTab = 7;
  Menu(kMenuRename);
  EXPECT_NE(nullptr, dlg().m_comboProfilePerf->GetEditWindow()) << "the performance page's list edits";
  dlg().m_comboProfilePerf->HideEdit();

  TESK::MComboBox* edited = dlg().m_comboProfilePerf;
  const std::string before = Stored();
  edited->SetEditText(L"Fast");
  edited->SendMessageW(TESK::NOTIFY_TEXTCHANGED, 0, 0);
  EXPECT_EQ(before, Stored()) << "only the edit's end renames";
  edited->SendMessageW(TESK::NOTIFY_EDITEND, 0, 0);
  EXPECT_EQ("" + P(1) + "=1 *Fast=2 " + P(3) + "=3 ", Lists());
  EXPECT_EQ("*" + P(1) + "=1 Fast=2 " + P(3) + "=3 ", Stored());

  edited->SetEditText(L"");
  EXPECT_EQ(0, dlg().OnProfileRenamed(262, TESK::NOTIFY_EDITEND));
  EXPECT_STREQ(L"Fast", edited->GetItemText(1).GetString()) << "the stored name is back";
  EXPECT_EQ("*" + P(1) + "=1 Fast=2 " + P(3) + "=3 ", Stored());
}

}  // namespace
