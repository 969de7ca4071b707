// The performance page's controls that have no place on screen, notified as the dispatch
// notifies every control, in the main window against the simulated Lynt 80: the profile list
// and menu, the switch-type list, the debug and dead-zone switches and the three reset
// buttons, and all of them without a keyboard profile.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "MenuProbe.h"
#include "MessageBoxAnswerer.h"
#include "PerfPageFixture.h"
#include "app/AppMessages.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"

using namespace TESK;
using namespace perftest;

namespace {

class KeyboardDlgPerfHiddenControlsTest : public PerfPageFixture {
 protected:
  LONG Notify(MControl* control) { return control->SendMessageW(NOTIFY_CLICKED, 0, 0); }
  std::string ActiveProfile(RawDb& db) {
    return std::to_string(db.Number("SELECT profile FROM t_profile_data WHERE status = 1"));
  }
  // The keys' rows after a save begun at mark has reached the keyboard, which holds them too.
  std::map<int, Block> SavedRows(simkb::Keyboard& keyboard, RawDb& db, size_t mark) {
    EXPECT_TRUE(PerfWriteDone(mark));
    std::map<int, Block> rows = StoredRows(db);
    ExpectBlockHoldsRows(keyboard, rows);
    return rows;
  }
};

TEST_F(KeyboardDlgPerfHiddenControlsTest, TheProfileListActivatesTheKeyboardsProfileBehindTheWaitDialog) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  // The keyboard is on its second profile, as its reports have told the window; the list
  // shows the third.
  keyboard.SetActiveProfile(1);
  dlg.m_deviceProfile = 1;
  dlg.m_comboProfilePerf->SelectData(3);
  bool waitShownAtAppend = false;
  int applies = 0;
  dlg.SetTaskObserver([&](int id) {
    if (id != TASK_APPLY_PROFILE) return;
    ++applies;
    waitShownAtAppend = FindWindowW(L"MWindow", L"WaitDlg") != nullptr;
  });
  EXPECT_EQ(1, Notify(dlg.m_comboProfilePerf));
  EXPECT_EQ(1, applies);
  EXPECT_TRUE(waitShownAtAppend) << "the dialog's window existed before the task";
  EXPECT_EQ(nullptr, FindWindowW(L"MWindow", L"WaitDlg")) << "closed by the worker after the task";
  EXPECT_EQ("2", ActiveProfile(db));
  EXPECT_EQ(2, dlg.m_curProfile.load());
  EXPECT_EQ(2, dlg.m_selectedProfile.load());
  EXPECT_EQ(2, dlg.m_comboProfileKeys->GetCurData());
  EXPECT_EQ(2, dlg.m_comboProfileAdv->GetCurData());
}

TEST_F(KeyboardDlgPerfHiddenControlsTest, TheProfileMenuOpensUnderItsButtonWithTheWindowDisabled) {
  OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  LONG result = 0;
  const testsupport::MenuSeen menu =
      testsupport::ProbeMenu(dlg.GetSafeHwnd(), [&] { result = Notify(dlg.m_btnPerfProfileMenu); });
  EXPECT_EQ(1, result);
  ASSERT_TRUE(menu.open);
  EXPECT_FALSE(menu.ownerEnabled);
  EXPECT_EQ((std::vector<UINT>{101, 102, 103}), menu.items);
  EXPECT_TRUE(IsWindowEnabled(dlg.GetSafeHwnd())) << "enabled again once the menu has closed";
}

TEST_F(KeyboardDlgPerfHiddenControlsTest, SwitchTypesDebugModeAndTheResetButtonsReachStoreAndKeyboard) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  const std::map<int, Block> before = StoredRows(db);

  // The switch-type list: the checked keys take the chosen type.
  Check({kKeyA, kKeyS});
  dlg.m_comboSwitchType->SetCurSel(2);
  size_t mark = Bus::Get().Mark();
  EXPECT_EQ(1, Notify(dlg.m_comboSwitchType));
  EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), TakeAppended());
  std::map<int, Block> rows = SavedRows(keyboard, db, mark);
  EXPECT_EQ(2, rows.at(kKeyA)[0]);
  EXPECT_EQ(2, rows.at(kKeyS)[0]);
  EXPECT_EQ(before.at(kKeyA + 1), rows.at(kKeyA + 1)) << "an unchecked key keeps its row";
  EXPECT_EQ("2", Config(db, "switch_type"));

  // The debug switch: stored, shown, and the settings written.
  for (int on : {0, 1}) {
    dlg.m_switchDebugMode->SetCheck(on);
    mark = Bus::Get().Mark();
    EXPECT_EQ(1, Notify(dlg.m_switchDebugMode));
    EXPECT_EQ((std::vector<int>{TASK_WRITE_SETTINGS}), TakeAppended());
    EXPECT_EQ(std::to_string(on), Config(db, "debug_mode"));
    EXPECT_EQ(on == 1, dlg.m_debugMode.load());
    ASSERT_TRUE(Settle());
    const auto frames = Bus::Get().FramesSince(mark);
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end(),
                            [](const simkb::Frame& frame) { return frame.command == CMD_WRITE_CONFIG; }));
  }

  // Button 315: every key type 3.
  mark = Bus::Get().Mark();
  EXPECT_EQ(1, Notify(dlg.m_btnPerfSwitchType));
  rows = SavedRows(keyboard, db, mark);
  for (const auto& [code, row] : rows) EXPECT_EQ(3, row[0]) << code;

  // Button 316: every key back to rapid trigger 75 / 5 / 5, the page showing it.
  dlg.m_switchSensitivity->SetCheck(1);
  mark = Bus::Get().Mark();
  EXPECT_EQ(1, Notify(dlg.m_btnPerfResetRt));
  rows = SavedRows(keyboard, db, mark);
  for (const auto& [code, row] : rows) {
    EXPECT_EQ((Block{3, 1, 75, 5, 5}), Block(row.begin(), row.begin() + 5)) << code;
  }
  EXPECT_EQ("1", Config(db, "perf_rapidtrigger_mode"));
  EXPECT_EQ(1, dlg.m_switchRapidTrigger->GetCheck());
  EXPECT_EQ(0, dlg.m_switchSensitivity->GetCheck());
  EXPECT_EQ(75, dlg.m_keyStroke->GetCurKeyActuation());
  EXPECT_EQ(0, dlg.m_keyboardPerf->GetCheckItemCount());
}

TEST_F(KeyboardDlgPerfHiddenControlsTest, TheDeadZoneSwitchNeedsACheckedKeyAndTheActuationResetSavesNothing) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  testsupport::MessageBoxAnswerer boxes(1);
  const std::map<int, Block> before = StoredRows(db);

  // No key checked: the click is undone and nothing is stored.
  Check({});
  dlg.m_switchDeadZone->SetCheck(1);
  EXPECT_EQ(0, Notify(dlg.m_switchDeadZone));
  EXPECT_EQ(0, dlg.m_switchDeadZone->GetCheck());
  EXPECT_EQ(0u, boxes.Count()) << "a note, not a box";
  EXPECT_TRUE(TakeAppended().empty());
  EXPECT_EQ("0", Config(db, "dead_zone"));

  Check({kKeyA});
  dlg.m_switchDeadZone->SetCheck(1);
  size_t mark = Bus::Get().Mark();
  EXPECT_EQ(1, Notify(dlg.m_switchDeadZone));
  EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), TakeAppended());
  const std::map<int, Block> rows = SavedRows(keyboard, db, mark);
  EXPECT_EQ(1, rows.at(kKeyA)[5]) << "dead zones on";
  EXPECT_EQ(dlg.m_keyStroke->GetCurKeyActuation(), rows.at(kKeyA)[2]);
  EXPECT_EQ(before.at(kKeyS), rows.at(kKeyS));
  EXPECT_EQ("1", Config(db, "dead_zone"));
  EXPECT_EQ("12", Config(db, "dead_zone_topvalue"));
  EXPECT_EQ("12", Config(db, "dead_zone_bottomvalue"));
  EXPECT_EQ(std::to_string(rows.at(kKeyA)[2]), Config(db, "global_key_actuation"));

  // The actuation reset: every key at 26 on the picture only.
  Check({kKeyS});
  ASSERT_TRUE(Settle());
  mark = Bus::Get().Mark();
  EXPECT_EQ(1, Notify(dlg.m_btnResetActuation));
  testsupport::PumpFor(300);
  for (const KEY_INFO* key : dlg.m_keyboardPerf->GetKeyItems()) EXPECT_EQ(26, key->key_actuation) << key->key_code;
  EXPECT_EQ(26, dlg.m_keyStroke->GetCurKeyActuation());
  EXPECT_EQ(0, dlg.m_keyboardPerf->GetCheckItemCount());
  EXPECT_EQ("26", Config(db, "global_key_actuation"));
  EXPECT_EQ(rows, StoredRows(db)) << "the rows wait for the next save";
  EXPECT_TRUE(TakeAppended().empty());
  EXPECT_TRUE(Bus::Get().FramesSince(mark).empty());
}

TEST_F(KeyboardDlgPerfHiddenControlsTest, WithoutAKeyboardProfileEveryHiddenControlRefuses) {
  OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  Check({kKeyA});
  const std::map<int, Block> rows = StoredRows(db);
  const auto config = db.Rows("SELECT profile, key, value FROM t_config_data ORDER BY profile, key");
  const std::string active = ActiveProfile(db);
  dlg.m_deviceProfile = -1;
  dlg.m_switchDeadZone->SetCheck(1);
  dlg.m_switchDebugMode->SetCheck(1);
  for (MControl* control : std::vector<MControl*>{dlg.m_comboProfilePerf, dlg.m_btnPerfProfileMenu, dlg.m_comboSwitchType,
                                                 dlg.m_switchDebugMode, dlg.m_switchDeadZone, dlg.m_btnResetActuation,
                                                 dlg.m_btnPerfSwitchType, dlg.m_btnPerfResetRt}) {
    EXPECT_EQ(0, Notify(control)) << control->GetControlID();
  }
  dlg.m_deviceProfile = 0;
  EXPECT_EQ(nullptr, FindWindowW(L"MWindow", L"Menu Window"));
  EXPECT_TRUE(TakeAppended().empty());
  EXPECT_EQ(rows, StoredRows(db));
  EXPECT_EQ(config, db.Rows("SELECT profile, key, value FROM t_config_data ORDER BY profile, key"));
  EXPECT_EQ(active, ActiveProfile(db));
  EXPECT_EQ(1, dlg.m_keyboardPerf->GetCheckItemCount());
}

}  // namespace
