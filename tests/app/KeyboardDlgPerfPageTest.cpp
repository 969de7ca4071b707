// The main window's performance page in the test process: its control table and pixels,
// notifications sent as the controls send them against the simulated Lynt 80, the refresh that
// the worker asks for, and a keyboard unplugged in the middle of the page's block write.
// Stored rows are read back with raw SQL; the keyboard's block is read from its memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "BitmapProbe.h"
#include "MainWindowFixture.h"
#include "MessageBoxAnswerer.h"
#include "MessagePump.h"
#include "PerfPageFixture.h"
#include "RawDb.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "device/DeviceBlocks.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CImageButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeySwitchCtrl.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;
using simkb::Area;
using simkb::Bus;
using simkb::Bytes;

namespace {

using namespace perftest;
const POINT kSplitProbe = {786, 800};

class KeyboardDlgPerfPageTest : public perftest::PerfPageFixture {};

template <class T>
bool Is(MControl* control) {
  return dynamic_cast<T*>(control) != nullptr;
}

TEST_F(KeyboardDlgPerfPageTest, ThePageIsBuiltAndPlacedAt1400x860) {
  KeyboardDlg& dlg = Open();
  struct Row {
    UINT id;
    bool (*is)(MControl*);
    CRect rect;
    int visible;
  };
  const CRect none;
  const Row rows[] = {
      {257, Is<KeyboardCtrl>, {280, 100, 1280, 480}, 1},   {261, Is<MPicture>, none, 0},
      {258, Is<MText>, none, 1},                            {262, Is<MComboBox>, none, 1},
      {263, Is<MImageButton>, none, 1},                     {264, Is<MText>, {1100, 70, 1220, 100}, 1},
      {265, Is<MImageButton>, {1220, 70, 1250, 100}, 1},   {315, Is<MButton>, none, 0},
      {316, Is<MButton>, none, 0},                          {268, Is<MImageButton>, none, 1},
      {267, Is<MImageButton>, none, 1},                     {269, Is<MText>, none, 1},
      {270, Is<MComboBox>, none, 1},                        {273, Is<CRoundArea>, {180, 530, 1390, 532}, 1},
      {318, Is<MTabLayout>, {180, 495, 1390, 850}, 1},      {319, Is<MTabLayout>, {180, 495, 1390, 850}, 0},
      {320, Is<MTabLayout>, {180, 495, 1390, 850}, 0},      {317, Is<MTabCtrl>, {565, 495, 1105, 535}, 1},
      {274, Is<CRoundArea>, {785, 532, 787, 845}, 1},       {260, Is<MText>, {200, 590, 320, 620}, 1},
      {275, Is<MText>, none, 1},                            {276, Is<KeyStrokeCtrl2>, {200, 590, 700, 680}, 1},
      {277, Is<MText>, none, 1},                            {278, Is<CSwitchButton>, none, 1},
      {279, Is<MText>, none, 1},                            {280, Is<CSwitchButton>, none, 1},
      {281, Is<MButton>, none, 1},                          {282, Is<MText>, {805, 540, 925, 570}, 1},
      {284, Is<CSwitchButton>, {1085, 540, 1130, 565}, 1},  {283, Is<MText>, {805, 570, 1390, 595}, 1},
      {285, Is<MText>, {805, 600, 1085, 630}, 1},           {286, Is<CSwitchButton>, {1085, 600, 1130, 625}, 1},
      {287, Is<CRoundArea>, none, 1},                       {288, Is<MText>, {805, 643, 890, 668}, 1},
      {289, Is<CImageButton>, {1185, 640, 1210, 665}, 1},   {290, Is<MText>, {805, 665, 1390, 690}, 1},
      {291, Is<MText>, {1100, 640, 1180, 665}, 1},          {292, Is<MSlider>, {895, 643, 1095, 663}, 1},
      {293, Is<CRoundArea>, none, 0},                       {294, Is<MText>, {805, 643, 890, 668}, 0},
      {295, Is<CImageButton>, {1185, 640, 1210, 665}, 0},   {296, Is<MText>, {805, 665, 1390, 690}, 0},
      {297, Is<MText>, {1100, 640, 1180, 665}, 0},          {298, Is<MSlider>, {895, 643, 1095, 663}, 0},
      {299, Is<CRoundArea>, none, 0},                       {300, Is<MText>, {805, 693, 890, 718}, 0},
      {301, Is<CImageButton>, {1185, 690, 1210, 715}, 0},   {302, Is<MText>, {805, 715, 1390, 740}, 0},
      {303, Is<MText>, {1100, 690, 1180, 715}, 0},          {304, Is<MSlider>, {895, 693, 1095, 713}, 0},
      {305, Is<MText>, {805, 750, 925, 775}, 1},            {307, Is<CSwitchButton>, {925, 750, 970, 775}, 1},
      {306, Is<MText>, {805, 780, 1390, 850}, 1},           {308, Is<MText>, {200, 700, 320, 725}, 1},
      {310, Is<CSwitchButton>, {320, 700, 365, 725}, 1},    {309, Is<MText>, {200, 730, 700, 850}, 1},
      {321, Is<KeySwitchCtrl>, {230, 630, 1380, 700}, 1},   {272, Is<MText>, {540, 560, 1040, 660}, 1},
      {271, Is<MButton>, {715, 680, 865, 720}, 1},          {311, Is<CRoundArea>, {180, 495, 1390, 850}, 0},
      {259, Is<MText>, {200, 540, 320, 570}, 1},            {314, Is<MButton>, {340, 540, 440, 570}, 1},
      {313, Is<MButton>, {465, 540, 565, 570}, 1},          {312, Is<MButton>, {590, 540, 690, 570}, 1},
  };
  const auto table = [&] {
    std::vector<std::pair<CRect, int>> states;
    for (const Row& row : rows) {
      MControl* control = dlg.GetControl(row.id);
      states.emplace_back(control ? control->GetRect() : CRect(-1, -1, -1, -1), control ? control->IsVisible() : -1);
    }
    return states;
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    MControl* control = dlg.GetControl(row.id);
    ASSERT_NE(nullptr, control);
    EXPECT_TRUE(row.is(control)) << "class";
    EXPECT_EQ(row.rect, control->GetRect());
    EXPECT_EQ(row.visible, control->IsVisible());
  }
  for (MSlider* slider : {dlg.m_sliderSensitivity, dlg.m_sliderRtPress, dlg.m_sliderRtRelease}) {
    EXPECT_EQ(1, slider->GetMinProgress());
    EXPECT_EQ(110, slider->GetMaxProgress());
  }
  ASSERT_EQ(3, dlg.m_comboSwitchType->GetItemCount());
  for (int item = 0; item < 3; ++item) EXPECT_EQ(item, dlg.m_comboSwitchType->GetItemData(item));
  EXPECT_EQ(0, dlg.m_comboSwitchType->GetCurSel());
  EXPECT_EQ(3, dlg.m_tabPerf->GetItemCount());
  EXPECT_EQ(0, dlg.m_tabPerf->GetSelectItem());
  EXPECT_EQ(KBMODE_PERF, dlg.m_keyboardPerf->GetKeyboardCtrlMode());
  EXPECT_EQ(1, dlg.m_keyStroke->IsRunTimer()) << "the key-travel picture runs on the fine ticks";

  const auto before = table();
  dlg.UISize(CRect(0, 0, kMainWidth, kMainHeight));
  dlg.UISize(CRect(0, 0, kMainWidth, kMainHeight));
  EXPECT_TRUE(before == table()) << "placing twice gives the same table";
}

TEST_F(KeyboardDlgPerfPageTest, EnablingReachesTheFrameAndThePageButNotTheCalibrationButtonOrThePicker) {
  KeyboardDlg& dlg = Open();
  const UINT reached[] = {38,  39,  40,  45,  46,  47,  48,  49,  67,  53,  56,  317, 257, 262, 263, 265, 314,
                          312, 313, 267, 268, 270, 276, 278, 280, 281, 284, 286, 289, 292, 295, 298, 301, 304,
                          307, 310};
  for (int enable : {0, 1}) {
    dlg.EnablePerfControls(enable);
    for (UINT id : reached) EXPECT_EQ(enable, dlg.GetControl(id)->IsEnabled()) << id;
    EXPECT_EQ(1, dlg.m_btnCalibrate->IsEnabled());
    EXPECT_EQ(1, dlg.m_keySwitch->IsEnabled());
  }
}

TEST_F(KeyboardDlgPerfPageTest, TheSubTabsShowTheSplitOnTheTravelPageOnlyAndTheSelectionButtonsOffCalibration) {
  KeyboardDlg& dlg = Open();
  dlg.m_pageHome->SetVisible(0);
  dlg.m_tabMain->SetVisible(1);
  dlg.m_tabMain->SetSelectItem(kPerfTabIndex);
  ASSERT_TRUE(dlg.m_pagePerf->IsVisible());
  const CRect client(0, 0, kMainWidth, kMainHeight);
  const auto pixel = [&] {
    testsupport::DibSurface surface(kMainWidth, kMainHeight);
    dlg.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
    return surface.Pixel(kSplitProbe.x, kSplitProbe.y);
  };
  const std::vector<MControl*> selection = {dlg.m_textPerfSelect, dlg.m_btnPerfSelectAll, dlg.m_btnPerfSelectNone,
                                            dlg.m_btnPerfSelectInvert};
  const struct {
    int item;
    bool split;
    int buttons;
  } cases[] = {{0, true, 1}, {1, false, 1}, {2, false, 0}, {0, true, 1}};
  for (const auto& item : cases) {
    SCOPED_TRACE(item.item);
    dlg.m_tabPerf->SetSelectItem(item.item);
    EXPECT_EQ(item.split, pixel() == 0xAAAAAAu);
    for (MControl* control : selection) EXPECT_EQ(item.buttons, control->IsVisible());
  }
  // The cover lies over the whole lower half in the bottom colour.
  ASSERT_EQ(0xFF24252Au, Manager::m_bottom_bkcolor);
  dlg.m_areaPerfCover->SetVisible(1);
  EXPECT_EQ(0x24252Au, pixel());
}

TEST_F(KeyboardDlgPerfPageTest, DefaultProfilesGetOneRowPerKeyOnceAndTheProfileListHoldsThem) {
  OnPerfPage();
  RawDb db(DbFile().GetString());
  EXPECT_EQ(87, db.Number("SELECT COUNT(*) FROM t_key_perf_data WHERE profile = 3"));
  EXPECT_EQ(87u, m_dlg->m_keyboardPerf->GetKeyItems().size());
  // Profile 3 was never read from the keyboard: its rows are the defaults.
  for (const auto& row : db.Rows("SELECT DISTINCT switch_type, key_mode, key_actuation, rt_press, rt_release, "
                                 "deadzone_state, press_deadzone, release_deadzone FROM t_key_perf_data "
                                 "WHERE profile = 3")) {
    EXPECT_EQ((std::vector<std::string>{"5", "1", "75", "5", "5", "0", "0", "0"}), row);
  }
  m_dlg->CreateDefaultKeyPerfs(3);
  EXPECT_EQ(87, db.Number("SELECT COUNT(*) FROM t_key_perf_data WHERE profile = 3")) << "none a second time";
  ASSERT_EQ(3, m_dlg->m_comboProfilePerf->GetItemCount());
  EXPECT_EQ(db.Number("SELECT profile FROM t_profile_data WHERE status = 1"), m_dlg->m_comboProfilePerf->GetCurData());
}

TEST_F(KeyboardDlgPerfPageTest, RapidTriggerDistancesReachTheCheckedKeysInStoreAndKeyboard) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  const std::map<int, Block> before = StoredRows(db);
  ASSERT_EQ(87u, before.size());

  Check({kKeyA, kKeyS});
  EXPECT_EQ(1, Click(dlg.m_switchRapidTrigger, 1));
  EXPECT_EQ(1, Click(dlg.m_switchSensitivity, 1));
  EXPECT_TRUE(dlg.m_sliderRtPress->IsVisible());
  EXPECT_FALSE(dlg.m_sliderSensitivity->IsVisible());
  dlg.m_sliderRtRelease->SetProgress(20);
  ASSERT_TRUE(Settle());
  TakeAppended();
  size_t mark = Bus::Get().Mark();
  EXPECT_EQ(1, Release(dlg.m_sliderRtPress, 10));
  EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), TakeAppended());
  EXPECT_EQ("10", Config(db, "global_rt1_pos"));
  EXPECT_STREQ(L"0.20mm", dlg.m_textRtPressValue->GetTitle().GetString());
  ASSERT_TRUE(PerfWriteDone(mark));
  std::map<int, Block> rows = StoredRows(db);
  for (const auto& [code, row] : rows) {
    SCOPED_TRACE(code);
    Block expected = before.at(code);
    if (code == kKeyA || code == kKeyS) {
      expected[1] = (expected[1] & ~0xF) | 1;
      expected[3] = 10;
      expected[4] = 20;
    }
    EXPECT_EQ(expected, row);
  }
  ExpectBlockHoldsRows(keyboard, rows);

  // Continuous rapid trigger, then one distance for both: the single slider's value.
  EXPECT_EQ(1, Click(dlg.m_switchContinuousRt, 1));
  EXPECT_EQ(2, StoredRows(db).at(kKeyA)[1] & 0xF);
  EXPECT_EQ(1, Click(dlg.m_switchSensitivity, 0));
  dlg.m_sliderSensitivity->SetProgress(7);
  ASSERT_TRUE(Settle());
  mark = Bus::Get().Mark();
  EXPECT_EQ(1, Release(dlg.m_sliderSensitivity, 7));
  ASSERT_TRUE(PerfWriteDone(mark));
  rows = StoredRows(db);
  for (int code : {kKeyA, kKeyS}) {
    EXPECT_EQ((Block{rows.at(code)[0], (before.at(code)[1] & ~0xF) | 2, before.at(code)[2], 7, 7,
                     before.at(code)[5], before.at(code)[6], before.at(code)[7]}),
              rows.at(code));
    EXPECT_EQ(rows.at(code), PictureBlock(dlg.m_keyboardPerf, code));
  }
  ExpectBlockHoldsRows(keyboard, rows);
  std::map<int, int> slots;
  for (const auto& [code, row] : rows) slots[code] = row[0];
  EXPECT_EQ(slots, dlg.PerfSlots()) << "the switch-type map equals the rows after the save";
}

TEST_F(KeyboardDlgPerfPageTest, RefusedInputChangesNeitherStoreNorKeyboard) {
  OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  testsupport::MessageBoxAnswerer boxes(1);
  const std::wstring noKey = std::wstring(LoadLanString(L"KB.DIALOG", 1600).GetString()) + L"|" +
                             LoadLanString(L"KB.DIALOG", 1601).GetString();
  const std::map<int, Block> rows = StoredRows(db);
  const size_t mark = Bus::Get().Mark();
  const auto nothingNew = [&] {
    EXPECT_TRUE(TakeAppended().empty());
    EXPECT_EQ(rows, StoredRows(db));
    for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) {
      EXPECT_NE(CMD_WRITE_KEY_PERF, frame.command);
      EXPECT_NE(CMD_WRITE_CONFIG, frame.command);
    }
  };
  const auto lastBox = [&] {
    const auto answered = boxes.Boxes();
    if (answered.empty()) return std::wstring();
    EXPECT_EQ(dlg.GetSafeHwnd(), answered.back().owner) << "owned by the main window";
    return answered.back().title + L"|" + answered.back().message;
  };

  // No key checked: a box, the switch back as it was; the sliders leave a note instead.
  Check({});
  EXPECT_EQ(0, Click(dlg.m_switchRapidTrigger, 1));
  EXPECT_EQ(0, dlg.m_switchRapidTrigger->GetCheck());
  EXPECT_EQ(noKey, lastBox());
  boxes.Clear();
  EXPECT_EQ(0, dlg.m_keyStroke->SendMessageW(NOTIFY_CLICKED, 0, 0));
  EXPECT_EQ(noKey, lastBox());
  boxes.Clear();
  EXPECT_EQ(0, dlg.m_keySwitch->SendMessageW(NOTIFY_PARTCLICKED, 0, 0));
  EXPECT_EQ(noKey, lastBox());
  boxes.Clear();
  EXPECT_EQ(0, Release(dlg.m_sliderSensitivity, 40));
  EXPECT_EQ(0u, boxes.Count());
  nothingNew();

  // Calibration mode, then no page profile: refused even with a key checked.
  Check({kKeyA});
  dlg.m_calibrationMode = true;
  EXPECT_EQ(0, Release(dlg.m_sliderSensitivity, 41));
  EXPECT_EQ(0, dlg.m_btnResetSensitivity->SendMessageW(NOTIFY_CLICKED, 0, 0));
  dlg.m_calibrationMode = false;
  dlg.m_deviceProfile = -1;
  EXPECT_EQ(0, Release(dlg.m_sliderSensitivity, 42));
  EXPECT_EQ(0, Click(dlg.m_switchBottomRt, 1));
  dlg.m_deviceProfile = 0;
  EXPECT_EQ(0u, boxes.Count());
  nothingNew();
}

TEST_F(KeyboardDlgPerfPageTest, TheSwitchPickerSetsTheCheckedKeysTypeForTheListedProfile) {
  OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  testsupport::MessageBoxAnswerer boxes(1);
  const std::map<int, Block> before = StoredRows(db);
  Check({kKeyA});
  dlg.m_keyStroke->SetCurKeyActuation(180);
  EXPECT_EQ(1, dlg.m_keySwitch->SendMessageW(NOTIFY_PARTCLICKED, 0, 1));
  ASSERT_EQ(1u, boxes.Count());
  EXPECT_EQ(std::wstring(LoadLanString(L"KB.DIALOG", 1602).GetString()), boxes.Boxes()[0].title);
  EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), TakeAppended());
  const int profile = static_cast<int>(dlg.m_comboProfilePerf->GetCurData());
  EXPECT_EQ(db.Number("SELECT profile FROM t_profile_data WHERE status = 1"), profile);
  EXPECT_EQ("2", db.Rows("SELECT value FROM t_config_data WHERE key = 'switch_type' AND profile = " +
                         std::to_string(profile))
                     .at(0)
                     .at(0));
  const Block row = StoredRows(db).at(kKeyA);
  EXPECT_EQ(2, row[0]);
  EXPECT_EQ(166, row[2]) << "the actuation point within half of the type's 332";
  EXPECT_EQ(before.at(kKeyS), StoredRows(db).at(kKeyS)) << "an unchecked key keeps its row";
}

TEST_F(KeyboardDlgPerfPageTest, BottomRapidTriggerWritesTheSettingsBlockBeforeThePerformanceBlock) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  const size_t mark = Bus::Get().Mark();
  EXPECT_EQ(1, Click(dlg.m_switchBottomRt, 1));
  EXPECT_EQ((std::vector<int>{TASK_WRITE_SETTINGS, TASK_WRITE_KEY_PERF}), TakeAppended());
  ASSERT_TRUE(PerfWriteDone(mark));
  EXPECT_EQ("1", Config(db, "perf_bottomrapidtrigger_mode"));
  const std::map<int, Block> rows = StoredRows(db);
  for (const auto& [code, row] : rows) {
    EXPECT_EQ(1, row[5]) << code;
    EXPECT_EQ(10, row[7]) << code;
  }
  ExpectBlockHoldsRows(keyboard, rows);
  std::vector<int> order;
  int switches = -1;
  for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) {
    if (frame.command != CMD_WRITE_CONFIG && frame.command != CMD_WRITE_KEY_PERF) continue;
    if (order.empty() || order.back() != frame.command) order.push_back(frame.command);
    if (frame.command == CMD_WRITE_CONFIG && frame.payload.size() > 7) switches = frame.payload[7];
  }
  EXPECT_EQ((std::vector<int>{CMD_WRITE_CONFIG, CMD_WRITE_KEY_PERF}), order);
  EXPECT_EQ(2, switches & 2) << "the bottom rapid-trigger flag";
}

TEST_F(KeyboardDlgPerfPageTest, TheWorkersRefreshRunsOnTheWindowsThread) {
  OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  ConfigDatabase::Instance().SetConfigValue(1, L"global_sensitivity_pos", L"33");
  const int shown = dlg.m_sliderSensitivity->GetProgress();
  ASSERT_NE(33, shown);
  std::thread([&] { dlg.RefreshPerfPage(); }).join();
  EXPECT_EQ(shown, dlg.m_sliderSensitivity->GetProgress()) << "nothing changed off the window's thread";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return dlg.m_sliderSensitivity->GetProgress() == 33; }, 5000));
  EXPECT_STREQ(L"0.66mm", dlg.m_textSensitivityValue->GetTitle().GetString());
}

TEST_F(KeyboardDlgPerfPageTest, RefreshesFromAnotherThreadWhileTheSliderIsDraggedEndShowingTheStore) {
  OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  Check({kKeyA});
  Click(dlg.m_switchRapidTrigger, 1);
  Click(dlg.m_switchSensitivity, 0);
  std::atomic<bool> done{false};
  std::thread refresher([&] {
    for (int i = 0; i < 1000; ++i) dlg.RefreshPerfPage();
    done = true;
  });
  // Drags of the single-distance slider, each ending in a release that queues the block write.
  for (int step = 0; !done || step < 40; ++step) {
    dlg.m_sliderSensitivity->SetProgress(1 + step % 110);
    dlg.m_sliderSensitivity->SendMessageW(NOTIFY_CHANGING, 0, 0);
    if (step % 8 == 7) dlg.m_sliderSensitivity->SendMessageW(NOTIFY_CLICKED, 0, 0);
    testsupport::PumpFor(2);
  }
  refresher.join();
  ASSERT_TRUE(Settle());
  EXPECT_EQ(std::stoi(Config(db, "global_sensitivity_pos")), dlg.m_sliderSensitivity->GetProgress());
  const std::map<int, Block> rows = StoredRows(db);
  std::map<int, int> slots;
  for (const auto& [code, row] : rows) {
    EXPECT_EQ(row, PictureBlock(dlg.m_keyboardPerf, code)) << code;
    slots[code] = row[0];
  }
  EXPECT_EQ(slots, dlg.PerfSlots());
}

TEST_F(KeyboardDlgPerfPageTest, AKeyboardUnpluggedInTheBlockWriteIsWrittenWholeAfterItsReturn) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  Check({kKeyA});
  Click(dlg.m_switchRapidTrigger, 1);
  Click(dlg.m_switchSensitivity, 0);
  ASSERT_TRUE(Settle());
  simkb::FaultRule unplug;
  unplug.kind = simkb::FaultKind::RemoveDevice;
  unplug.command = CMD_WRITE_KEY_PERF;
  unplug.nth = 5;
  keyboard.AddFault(unplug);

  const DWORD start = GetTickCount();
  EXPECT_EQ(1, Release(dlg.m_sliderSensitivity, 30));
  EXPECT_LT(GetTickCount() - start, 500u) << "the handler only queues the write";
  ASSERT_TRUE(testsupport::PumpUntil([&] { return dlg.m_pageHome->IsVisible() != 0; }, 5000));
  const DWORD unplugged = GetTickCount();
  ASSERT_TRUE(WaitIdle(3000));
  EXPECT_LT(GetTickCount() - unplugged, 1500u) << "the worker is free soon after";

  keyboard.ClearFaults();
  Bus::Get().Replug(keyboard);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return InPagesState() && dlg.PendingTasks() == 0; }, 15000));
  testsupport::PumpFor(300);
  RawDb db(DbFile().GetString());
  const std::map<int, Block> rows = StoredRows(db);
  ExpectBlockHoldsRows(keyboard, rows);
  for (const auto& [code, row] : rows) EXPECT_EQ(row, PictureBlock(dlg.m_keyboardPerf, code)) << code;

  dlg.m_tabMain->SetSelectItem(kPerfTabIndex);
  ASSERT_TRUE(Settle());
  Check({kKeyA});
  Click(dlg.m_switchRapidTrigger, 1);
  ASSERT_TRUE(Settle());
  const size_t mark = Bus::Get().Mark();
  EXPECT_EQ(1, Release(dlg.m_sliderSensitivity, 31));
  ASSERT_TRUE(PerfWriteDone(mark));
  EXPECT_EQ(31, StoredRows(db).at(kKeyA)[3]);
  ExpectBlockHoldsRows(keyboard, StoredRows(db));
}

}  // namespace
