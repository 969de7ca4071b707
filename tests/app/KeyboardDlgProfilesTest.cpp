// The profile lists of the main window in the test process: new, delete and rename through
// the pages' menu items and list notifications, what the store and the lists hold after each,
// and the apply task's writes as the simulated keyboard receives them.
#include "app/KeyboardDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileDialogDriver.h"
#include "FileProbe.h"
#include "MainWindowFixture.h"
#include "MenuProbe.h"
#include "MessageBoxAnswerer.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "TempFolder.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/pages/MacroRules.h"
#include "app/pages/ProfileFile.h"
#include "storage/ConfigDatabase.h"
#include "device/HidDeviceManager.h"
#include "simkeyboard/SimKeyboard.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
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
  // A page's import or export button as the button reports its click.
  void Click(int id) { dlg().OnMessage(id, TESK::NOTIFY_CLICKED, 0, 0); }
  // A profile's stored rows of a table (those that where selects), one line each, without
  // their own ids and the profile column.
  std::vector<std::string> RowsOf(const std::string& table, const std::string& columns, int profile,
                                  const std::string& where = "1") {
    std::vector<std::string> out;
    for (const auto& row : RawDb(DbFile().GetString())
                               .Rows("SELECT " + columns + " FROM " + table + " WHERE profile = " +
                                     std::to_string(profile) + " AND " + where + " ORDER BY " + columns)) {
      std::string line;
      for (const std::string& value : row) line += value + ",";
      out.push_back(line);
    }
    return out;
  }
  // The first line where two row lists differ, or "" when they are equal.
  static std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (size_t i = 0; i < a.size() || i < b.size(); ++i) {
      const std::string left = i < a.size() ? a[i] : "(none)", right = i < b.size() ? b[i] : "(none)";
      if (left != right) return left + " against " + right;
    }
    return "";
  }
  // Every table's row count: a refused import changes none.
  std::string Counts() {
    std::string out;
    RawDb db(DbFile().GetString());
    for (const char* table : {"t_profile_data", "t_key_macro_data", "t_key_perf_data", "t_magnetic_key_data",
                              "t_key_item_data", "t_macrorecord", "t_light_data", "t_userlightrgb_data",
                              "t_config_data"}) {
      out += std::string(table) + "=" + std::to_string(db.Number(std::string("SELECT count(*) FROM ") + table)) + " ";
    }
    return out;
  }
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

TEST_F(KeyboardDlgProfilesTest, AnExportedProfileImportsAsANewActiveProfileAndExportsToTheSameBytes) {
  Connected();
  ASSERT_TRUE(WaitIdle());
  TakeAppended();
  // A DKS key on A, so that the key row's reference must follow the advanced key's new id.
  ConfigDatabase& store = ConfigDatabase::Instance();
  MAGNETIC_KEY_DATA dks;
  dks.profile = 1, dks.macro_type = 14, dks.key1_value = 4, dks.key1_name = L"A";
  const int dksId = store.InsertMagneticKey(dks);
  ASSERT_GT(dksId, 0);
  KEY_ITEM_DATA item;
  item.macro_id = dksId, item.trigger_state1 = 0x1E0A, item.key_value = 4, item.key_name = L"A";
  store.InsertKeyItem(item);
  KEY_MACRO_DATA key;
  ASSERT_TRUE(store.GetKeyMacro(0, 4, key));
  key.macro_type = 14, key.macro_value = dksId, key.macro_desc = L"DKS";
  store.UpdateKeyMacros({key});

  testsupport::TempFolder folder(L"profile files");
  const std::wstring first = folder.Path() + L"first.xml", second = folder.Path() + L"second.xml";
  testsupport::FileDialogDriver dialogs({L"", first});
  Click(89);  // cancelled: nothing is written
  EXPECT_TRUE(testsupport::ListTree(folder.Path()).empty());
  Click(89);
  ASSERT_FALSE(testsupport::ReadFileBytes(first).empty());
  ProfileFileContent written;
  ASSERT_EQ(ProfileFileVerdict::kAccepted, ReadProfileFile(first.c_str(), 103, {}, kMacroAreaEvents, written));
  EXPECT_EQ(P(1), Utf8(written.name.GetString()));

  dialogs.Script({first});
  Click(88);
  EXPECT_EQ(P(1) + "=1 " + P(2) + "=2 " + P(3) + "=3 *" + P(1) + "=4 ", Stored());
  EXPECT_EQ(P(1) + "=1 " + P(2) + "=2 " + P(3) + "=3 *" + P(1) + "=4 ", Lists());
  EXPECT_EQ(std::vector<int>{TASK_APPLY_PROFILE}, TakeAppended());
  EXPECT_EQ(nullptr, FindWindowW(nullptr, L"WaitDlg"));
  // The new profile holds the file's values; its DKS key is a copy under a new id.
  const std::string keyColumns = "fn_layer, key_code, macro_type, macro_value, macro_value2, macro_value3, macro_desc";
  const int newId = RawDb(DbFile().GetString()).Number("SELECT macro_id FROM t_magnetic_key_data WHERE profile = 4");
  EXPECT_NE(dksId, newId);
  EXPECT_EQ("14 " + std::to_string(newId),
            RawDb(DbFile().GetString())
                .Rows("SELECT macro_type || ' ' || macro_value FROM t_key_macro_data WHERE profile = 4 AND "
                      "fn_layer = 0 AND key_code = 4")
                .at(0)
                .at(0));
  EXPECT_EQ(7690, RawDb(DbFile().GetString())
                      .Number("SELECT trigger_state1 FROM t_key_item_data WHERE macro_id = " + std::to_string(newId)));
  // The rows of the twelve layers every profile has; the file's other rows match none of them.
  std::vector<std::string> profile1Keys = RowsOf("t_key_macro_data", keyColumns, 1, "fn_layer < 12");
  for (std::string& line : profile1Keys) {
    if (line.find("0,4,14,") == 0) line = "0,4,14," + std::to_string(newId) + ",0,0,DKS,";
  }
  EXPECT_EQ("", FirstDifference(profile1Keys, RowsOf("t_key_macro_data", keyColumns, 4, "fn_layer < 12")));
  const std::string perfColumns = "key_code, switch_type, key_mode, key_actuation, rt_press, rt_release, "
                                  "deadzone_state, press_deadzone, release_deadzone";
  EXPECT_EQ("", FirstDifference(RowsOf("t_key_perf_data", perfColumns, 1), RowsOf("t_key_perf_data", perfColumns, 4)));

  // The imported profile selected on the key page exports to the same bytes.
  dialogs.Script({second});
  Click(89);
  EXPECT_TRUE(testsupport::ReadFileBytes(first) == testsupport::ReadFileBytes(second)) << "the same bytes";

  const auto seen = dialogs.Seen();
  ASSERT_EQ(4u, seen.size());
  EXPECT_EQ(L"Profile (*.xml)", seen[0].fileType);
  EXPECT_EQ(L"Keyboard Key (*.xml)", seen[2].fileType);
  for (const auto& dialog : seen) EXPECT_EQ(dlg().GetSafeHwnd(), dialog.owner);
}

TEST_F(KeyboardDlgProfilesTest, ARefusedFileSaysWhyAndChangesNothing) {
  Connected();
  ASSERT_TRUE(WaitIdle());
  TakeAppended();
  testsupport::TempFolder folder(L"profile files");
  const std::wstring plain = folder.Path() + L"plain.xml";
  {
    XmlDocument doc;
    BuildProfileDocument(ProfileFileContent{}, 103, doc);
    ASSERT_TRUE(doc.WriteToFile(plain.c_str(), false));  // readable XML, but not scrambled
  }
  const std::string counts = Counts(), lists = Lists();
  testsupport::MessageBoxAnswerer boxes(1);
  testsupport::FileDialogDriver dialogs({plain, L""});
  Click(267);
  Click(267);  // cancelled: no message
  EXPECT_EQ((std::vector<testsupport::BoxTextIds>{{222, 101}}), boxes.TextIds(TextOf, 101, 300));
  EXPECT_EQ(counts, Counts());
  EXPECT_EQ(lists, Lists());
  EXPECT_TRUE(TakeAppended().empty());
}

}  // namespace

namespace {

// The messages the pages' profile menus report their items with.
struct ProfileMenuCase {
  const char* page;
  UINT message;
};
constexpr ProfileMenuCase kProfileMenus[] = {
    {"key and macro pages", WM_KB_PAGE_MENU},
    {"advanced-key page", WM_KB_PROFILE_MENU},
    {"performance page", WM_KB_PERF_MENU},
    {"lighting page", WM_KB_LIGHT_MENU},
};

}  // namespace

TEST_F(KeyboardDlgProfilesTest, EveryPagesProfileMenuCreatesAndDeletesProfiles) {
  Connected();
  ASSERT_TRUE(WaitIdle());
  TakeAppended();
  const std::string start = Stored();
  for (const ProfileMenuCase& menu : kProfileMenus) {
    SCOPED_TRACE(menu.page);
    EXPECT_EQ(1, SendMessageW(dlg().GetSafeHwnd(), menu.message, 0, kMenuNew));
    const int added = RawDb(DbFile().GetString()).Number("SELECT max(profile) FROM t_profile_data WHERE type = 1");
    EXPECT_EQ(P(1) + "=1 " + P(2) + "=2 " + P(3) + "=3 *" + P(4) + "=" + std::to_string(added) + " ", Stored());
    EXPECT_EQ(std::vector<int>{TASK_APPLY_PROFILE}, TakeAppended());
    EXPECT_EQ(1, SendMessageW(dlg().GetSafeHwnd(), menu.message, 0, kMenuDelete));
    EXPECT_EQ(P(1) + "=1 " + P(2) + "=2 *" + P(3) + "=3 ", Stored()) << "the one before the deleted one";
    EXPECT_EQ(std::vector<int>{TASK_APPLY_PROFILE}, TakeAppended());
    Select(0);
    dlg().m_comboProfileKeys->SendMessageW(TESK::NOTIFY_CLICKED, 0, 0);
    ASSERT_EQ(start, Stored());
    TakeAppended();
  }
}

TEST_F(KeyboardDlgProfilesTest, TheMacroPagesProfileListAndMenuActAsTheOtherPages) {
  Connected();
  ASSERT_TRUE(WaitIdle());
  TakeAppended();
  // The macro page's list chooses the profile for every page and applies it.
  dlg().m_comboProfileMacro->SetCurSel(2);
  dlg().m_comboProfileMacro->SendMessageW(TESK::NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ(P(1) + "=1 " + P(2) + "=2 *" + P(3) + "=3 ", Stored());
  EXPECT_EQ("" + P(1) + "=1 " + P(2) + "=2 *" + P(3) + "=3 ", Lists()) << "every list shows it";
  EXPECT_EQ(std::vector<int>{TASK_APPLY_PROFILE}, TakeAppended());
  EXPECT_EQ(nullptr, FindWindowW(nullptr, L"WaitDlg"));

  // The macro and lighting pages' menu buttons open the profile menu with the window disabled.
  for (TESK::MControl* button : {static_cast<TESK::MControl*>(dlg().m_btnMacroProfileMenu),
                                 static_cast<TESK::MControl*>(dlg().m_btnLightProfileMenu)}) {
    SCOPED_TRACE(button->GetControlID());
    const testsupport::MenuSeen menu = testsupport::ProbeMenu(
        dlg().GetSafeHwnd(), [&] { dlg().OnMessage(button->GetControlID(), TESK::NOTIFY_CLICKED, 0, 0); });
    ASSERT_TRUE(menu.open);
    EXPECT_FALSE(menu.ownerEnabled);
    EXPECT_EQ((std::vector<UINT>{101, 102, 103}), menu.items);
    EXPECT_TRUE(IsWindowEnabled(dlg().GetSafeHwnd()));
  }
}

TEST_F(KeyboardDlgProfilesTest, AKeyboardThatStopsAnsweringDuringAnImportsApplyLeavesTheWindowAndTheNewProfile) {
  simkb::Keyboard& keyboard = Connected();
  ASSERT_TRUE(WaitIdle());
  TakeAppended();
  testsupport::TempFolder folder(L"profile files");
  const std::wstring file = folder.Path() + L"profile.xml";
  testsupport::FileDialogDriver dialogs({file});
  Click(89);
  ASSERT_FALSE(testsupport::ReadFileBytes(file).empty());

  // From the import's first frame on the keyboard answers nothing.
  simkb::FaultRule silent;
  silent.kind = simkb::FaultKind::SuppressReply;
  silent.times = -1;
  keyboard.AddFault(silent);
  dialogs.Script({file});
  const DWORD start = GetTickCount();
  Click(88);
  EXPECT_LT(GetTickCount() - start, 20000u) << "the wait dialog gave up with the device link's time-outs";
  EXPECT_EQ(nullptr, FindWindowW(nullptr, L"WaitDlg"));
  DWORD_PTR answer = 0;
  EXPECT_NE(0, SendMessageTimeoutW(dlg().GetSafeHwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer))
      << "the window answers";
  EXPECT_EQ(P(1) + "=1 " + P(2) + "=2 " + P(3) + "=3 *" + P(1) + "=4 ", Stored()) << "the new profile stays";
  EXPECT_EQ(P(1) + "=1 " + P(2) + "=2 " + P(3) + "=3 *" + P(1) + "=4 ", Lists());
  keyboard.ClearFaults();
}
