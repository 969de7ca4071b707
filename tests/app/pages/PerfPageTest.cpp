// The performance page's operations on real controls in a host window, a store in a scratch
// folder and a recording device link (no worker runs: the queued tasks stay to be read). Rows
// and configuration values are read back with raw SQL, never through the store; message boxes
// are the recording shell's.
#include "app/pages/PerfPage.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "RawDb.h"
#include "RecordingDeviceLink.h"
#include "RecordingShell.h"
#include "TempFolder.h"
#include "app/pages/PerfPageDef.h"
#include "app/pages/PerfRules.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CImageButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;
using testsupport::ControlHost;

namespace {

// Keys of the test picture, one row of 50 x 50 cells from the left.
const std::vector<int> kKeys = {41, 4, 22, 7, 9, 0x2C};  // Esc, A, S, D, F, Space
constexpr int kKeyA = 4, kKeyS = 22, kKeyD = 7;
constexpr int kKeySize = 50;

std::vector<int> Ints(const std::vector<std::string>& row) {
  std::vector<int> values;
  for (const std::string& text : row) values.push_back(std::stoi(text));
  return values;
}

class PerfPageTest : public testing::Test {
 protected:
  PerfPageTest() : host(1400, 860) {}

  void SetUp() override {
    ConfigDatabase::Instance().Close();
    temp.MakeSubFolder(L"db");
    ASSERT_TRUE(ConfigDatabase::Instance().Open(temp.Path().c_str(), L"Perf page"));
    for (int profile = 1; profile <= 3; ++profile) ConfigDatabase::Instance().InsertDefaultConfig(profile);
    db = std::make_unique<RawDb>(temp.Path() + L"db\\Perf page_datav8.db");
    link.mainWindow = host.GetSafeHwnd();
    testsupport::ClearMessageBoxes();
    BuildControls();
    page = std::make_unique<PerfPage>(link, def, &host);
  }
  void TearDown() override { ConfigDatabase::Instance().Close(); }

  void BuildControls() {
    const int width = static_cast<int>(kKeys.size()) * kKeySize;
    def.m_keyboardPerf = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 257, CRect(0, 0, width, kKeySize));
    ASSERT_NE(nullptr, def.m_keyboardPerf);
    for (size_t i = 0; i < kKeys.size(); ++i) {
      const int left = static_cast<int>(i) * kKeySize;
      def.m_keyboardPerf->AddKeyItem(L"k", L"k", kKeys[i], CRect(left, 0, left + kKeySize, kKeySize), L"", 0x232323);
    }
    def.m_keyboardPerf->SetWidthAndHeight(width, kKeySize);
    def.m_comboProfilePerf = host.Add<MComboBox>(L"MComboBox", 262, CRect());
    for (int profile = 1; profile <= 3; ++profile) def.m_comboProfilePerf->AddItem(L"profile", profile, L"", 0);
    def.m_comboProfilePerf->SetCurSel(0);
    // The travel picture is made only by a page panel, as on the window's sub-page 318.
    auto* travelPage = host.Add<MTabLayout>(L"MTabLayout", 318, CRect(0, 0, host.width(), host.height()));
    ASSERT_NE(nullptr, travelPage);
    def.m_keyStroke = dynamic_cast<KeyStrokeCtrl2*>(
        travelPage->CreateControl(L"KeyStrokeCtrl2", 276, CRect(200, 590, 700, 680), L"", 1, 1));
    ASSERT_NE(nullptr, def.m_keyStroke);
    def.m_keyStroke->SetKeyStrokeInfo(5, 370);
    def.m_textRapidTriggerHint = Text(283);
    def.m_switchRapidTrigger = Switch(284);
    def.m_textSensitivity = Text(285);
    def.m_switchSensitivity = Switch(286);
    def.m_areaSensitivity = host.Add<CRoundArea>(L"CRoundArea", 287, CRect());
    def.m_textSensitivityPos = Text(288);
    def.m_btnResetSensitivity = host.Add<CImageButton>(L"CImageButton", 289, CRect());
    def.m_textSensitivityHint = Text(290);
    def.m_textSensitivityValue = Text(291);
    def.m_sliderSensitivity = Slider(292);
    def.m_areaRtPress = host.Add<CRoundArea>(L"CRoundArea", 293, CRect());
    def.m_textRtPress = Text(294);
    def.m_btnResetRtPress = host.Add<CImageButton>(L"CImageButton", 295, CRect());
    def.m_textRtPressHint = Text(296);
    def.m_textRtPressValue = Text(297);
    def.m_sliderRtPress = Slider(298);
    def.m_areaRtRelease = host.Add<CRoundArea>(L"CRoundArea", 299, CRect());
    def.m_textRtRelease = Text(300);
    def.m_btnResetRtRelease = host.Add<CImageButton>(L"CImageButton", 301, CRect());
    def.m_textRtReleaseHint = Text(302);
    def.m_textRtReleaseValue = Text(303);
    def.m_sliderRtRelease = Slider(304);
    def.m_textContinuousRt = Text(305);
    def.m_textContinuousRtHint = Text(306);
    def.m_switchContinuousRt = Switch(307);
    def.m_switchBottomRt = Switch(310);
    def.m_areaPerfCover = host.Add<CRoundArea>(L"CRoundArea", 311, CRect(), L"", 0);
  }
  MText* Text(UINT id) { return host.Add<MText>(L"MText", id, CRect()); }
  CSwitchButton* Switch(UINT id) { return host.Add<CSwitchButton>(L"CSwitchButton", id, CRect()); }
  MSlider* Slider(UINT id) {
    auto* slider = host.Add<MSlider>(L"MSlider", id, CRect());
    slider->SetMinProgress(1);
    slider->SetMaxProgress(110);
    return slider;
  }

  // Default rows for every key of the picture, loaded onto the page.
  void LoadDefaults(int profile = 1) {
    page->CreateDefaultKeyPerfs(profile);
    page->RefreshPerfPage();
  }
  void Check(std::initializer_list<int> codes) {
    def.m_keyboardPerf->ResetAllItemCheck(0);
    for (int code : codes) def.m_keyboardPerf->SetKeyCheck(code, 1);
  }
  // (switch_type, key_mode, key_actuation, rt_press, rt_release, deadzone_state, press_deadzone,
  // release_deadzone) of a stored row.
  std::vector<int> Row(int code, int profile = 1) {
    const auto rows = db->Rows("SELECT switch_type, key_mode, key_actuation, rt_press, rt_release, deadzone_state, "
                               "press_deadzone, release_deadzone FROM t_key_perf_data WHERE profile = " +
                               std::to_string(profile) + " AND key_code = " + std::to_string(code));
    return rows.empty() ? std::vector<int>{} : Ints(rows[0]);
  }
  std::string Config(const char* key, int profile = 1) {
    const auto rows = db->Rows(std::string("SELECT value FROM t_config_data WHERE profile = ") +
                               std::to_string(profile) + " AND key = '" + key + "'");
    return rows.empty() ? "" : rows[0][0];
  }
  void SetConfig(const wchar_t* key, const wchar_t* value, int profile = 1) {
    ConfigDatabase::Instance().SetConfigValue(profile, key, value);
  }
  // Everything a refused handler must leave alone.
  std::vector<std::string> StoreState() {
    std::vector<std::string> state;
    for (const auto& row : db->Rows("SELECT profile, key, value FROM t_config_data ORDER BY profile, key"))
      state.push_back(row[0] + row[1] + "=" + row[2]);
    for (const auto& row : db->Rows("SELECT * FROM t_key_perf_data ORDER BY perf_id")) {
      std::string line;
      for (const auto& value : row) line += value + ",";
      state.push_back(line);
    }
    return state;
  }
  // The queued task ids, taken.
  std::vector<int> Tasks() {
    std::vector<int> tasks;
    for (int task = 0; link.TakeTask(&task);) tasks.push_back(task);
    return tasks;
  }
  CString Caption(MText* text) { return text->GetTitle(); }

  testsupport::TempFolder temp{L"perf page"};
  ControlHost host;
  testsupport::RecordingDeviceLink link;
  PerfPageDef def;
  std::unique_ptr<PerfPage> page;
  std::unique_ptr<RawDb> db;
};

TEST(PerfRules, ConfigTextsReadAsWholeIntegersElseZero) {
  const std::vector<std::pair<const wchar_t*, int>> cases = {
      {L"10", 10}, {L"-3", -3}, {L" 7 ", 7}, {L"", 0}, {L"abc", 0}, {L"12abc", 0}, {L"99999999999", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(value, ParseConfigInt(text)) << static_cast<const wchar_t*>(text);
}

TEST(PerfRules, CaptionsModesAndPickerRows) {
  EXPECT_STREQ(L"0.02mm", PositionCaption(1));
  EXPECT_STREQ(L"1.50mm", PositionCaption(75));
  EXPECT_STREQ(L"2.20mm", PositionCaption(110));
  EXPECT_EQ(0, RapidTriggerModeOf(false, true));
  EXPECT_EQ(1, RapidTriggerModeOf(true, false));
  EXPECT_EQ(2, RapidTriggerModeOf(true, true));
  EXPECT_EQ(5, PickerSwitchType(0));
  EXPECT_EQ(2, PickerSwitchType(1));
  EXPECT_EQ(-1, PickerSwitchType(2));
  EXPECT_EQ(-1, PickerSwitchType(-1));
}

TEST_F(PerfPageTest, DefaultRowsOncePerProfileInKeyOrder) {
  page->CreateDefaultKeyPerfs(2);
  const auto rows = db->Rows("SELECT key_code FROM t_key_perf_data WHERE profile = 2 ORDER BY perf_id");
  ASSERT_EQ(kKeys.size(), rows.size());
  for (size_t i = 0; i < kKeys.size(); ++i) EXPECT_EQ(std::to_string(kKeys[i]), rows[i][0]);
  EXPECT_EQ((std::vector<int>{5, 1, 75, 5, 5, 0, 0, 0}), Row(kKeyA, 2));
  def.m_keyboardPerf->SetKeyPerfInfo(kKeyA, 2, 0, 50, 9, 9, 0, 0, 0);
  page->CreateDefaultKeyPerfs(2);
  EXPECT_EQ(kKeys.size(), db->Rows("SELECT * FROM t_key_perf_data WHERE profile = 2").size()) << "none a second time";
  EXPECT_TRUE(Row(kKeyA, 1).empty()) << "other profiles untouched";
}

TEST_F(PerfPageTest, RefreshPutsStoredValuesOnThePageAndIntoThePicture) {
  page->CreateDefaultKeyPerfs(1);
  ConfigDatabase& store = ConfigDatabase::Instance();
  KEY_PERF_DATA row = DefaultKeyPerf(1, kKeyS);
  row.switch_type = 2;
  row.key_mode = 0x12;
  row.key_actuation = 60;
  store.UpdateKeyPerfs({row});
  SetConfig(kPerfRapidTriggerMode, L"1");
  SetConfig(kPerfSensitivityMode, L"0");
  SetConfig(kPerfContinuousMode, L"1");
  SetConfig(kPerfGlobalActuation, L"90");
  SetConfig(kPerfRtPressPos, L"10");
  SetConfig(kPerfRtReleasePos, L"20");
  SetConfig(kPerfSwitchType, L"2");
  page->RefreshPerfPage();

  EXPECT_EQ(1, def.m_switchRapidTrigger->GetCheck());
  EXPECT_EQ(1, def.m_switchSensitivity->GetCheck());
  EXPECT_EQ(1, def.m_switchContinuousRt->GetCheck());
  EXPECT_EQ(0, def.m_switchBottomRt->GetCheck());
  EXPECT_TRUE(def.m_sliderRtPress->IsVisible());
  EXPECT_FALSE(def.m_sliderSensitivity->IsVisible());
  EXPECT_EQ(10, def.m_sliderRtPress->GetProgress());
  EXPECT_EQ(20, def.m_sliderRtRelease->GetProgress());
  EXPECT_STREQ(L"0.40mm", Caption(def.m_textRtReleaseValue));
  EXPECT_EQ(90, def.m_keyStroke->GetCurKeyActuation());
  EXPECT_TRUE(link.m_debugMode);
  int type = 0, mode = 0, actuation = 0, press = 0, release = 0, pd = 0, rd = 0, state = 0;
  def.m_keyboardPerf->GetKeyPerfInfo(kKeyS, type, mode, actuation, press, release, pd, rd, state);
  EXPECT_EQ(2, type);
  EXPECT_EQ(0x12, mode);
  EXPECT_EQ(60, actuation);
  const auto slots = link.PerfSlots();
  EXPECT_EQ(kKeys.size(), slots.size());
  EXPECT_EQ(2, slots.at(kKeyS));

  // Rapid trigger off hides the group and both distance sets.
  SetConfig(kPerfRapidTriggerMode, L"0");
  page->RefreshPerfPage();
  EXPECT_EQ(0, def.m_switchRapidTrigger->GetCheck());
  for (MControl* control : std::vector<MControl*>{def.m_switchSensitivity, def.m_textContinuousRtHint,
                                                  def.m_sliderSensitivity, def.m_sliderRtPress, def.m_sliderRtRelease})
    EXPECT_FALSE(control->IsVisible()) << control->GetControlID();
}

// Two distances: the press slider's release stores its key and gives the checked keys the
// mode of the switches and both distances; other keys keep theirs.
TEST_F(PerfPageTest, PressSliderReleaseAppliesBothDistancesToCheckedKeys) {
  for (const bool continuous : {false, true}) {
    SCOPED_TRACE(continuous);
    SetConfig(kPerfRtPressPos, L"5");
    LoadDefaults();
    Tasks();
    Check({kKeyA, kKeyS});
    def.m_switchRapidTrigger->SetCheck(1);
    def.m_switchSensitivity->SetCheck(1);
    def.m_switchContinuousRt->SetCheck(continuous ? 1 : 0);
    def.m_sliderRtPress->SetProgress(10);
    def.m_sliderRtRelease->SetProgress(20);
    EXPECT_EQ(1, page->OnRtPressPosChanged(NOTIFY_CHANGING));
    EXPECT_STREQ(L"0.20mm", Caption(def.m_textRtPressValue));
    EXPECT_EQ("5", Config("global_rt1_pos")) << "a drag stores nothing";
    EXPECT_TRUE(Tasks().empty());
    EXPECT_EQ(1, page->OnRtPressPosChanged(NOTIFY_CLICKED));
    EXPECT_EQ("10", Config("global_rt1_pos"));
    const int mode = continuous ? 2 : 1;
    EXPECT_EQ((std::vector<int>{5, mode, 75, 10, 20, 0, 0, 0}), Row(kKeyA));
    EXPECT_EQ((std::vector<int>{5, mode, 75, 10, 20, 0, 0, 0}), Row(kKeyS));
    EXPECT_EQ((std::vector<int>{5, 1, 75, 5, 5, 0, 0, 0}), Row(kKeyD));
    EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), Tasks());
    db->Exec("DELETE FROM t_key_perf_data");
  }
}

TEST_F(PerfPageTest, OneDistanceGivesTheSingleSliderToPressAndRelease) {
  LoadDefaults();
  Check({kKeyA});
  def.m_switchRapidTrigger->SetCheck(1);
  def.m_switchSensitivity->SetCheck(0);
  def.m_sliderSensitivity->SetProgress(33);
  def.m_sliderRtPress->SetProgress(10);
  def.m_sliderRtRelease->SetProgress(20);
  EXPECT_EQ(1, page->OnRtPressPosChanged(NOTIFY_CLICKED));
  EXPECT_EQ((std::vector<int>{5, 1, 75, 33, 33, 0, 0, 0}), Row(kKeyA));
}

TEST_F(PerfPageTest, SliderAtZeroIsRaisedOnlyWithACheckedKey) {
  LoadDefaults();
  Tasks();
  SetConfig(kPerfSensitivityPos, L"0");
  page->RefreshPerfPage();
  ASSERT_EQ(0, def.m_sliderSensitivity->GetProgress());
  const auto before = StoreState();
  EXPECT_EQ(0, page->OnSensitivityPosChanged(NOTIFY_CLICKED));
  EXPECT_EQ(0, def.m_sliderSensitivity->GetProgress()) << "without a checked key the slider keeps 0";
  EXPECT_EQ(before, StoreState());
  EXPECT_TRUE(Tasks().empty());
  EXPECT_TRUE(testsupport::MessageBoxes().empty()) << "the note, not the box";

  Check({kKeyA});
  EXPECT_EQ(1, page->OnSensitivityPosChanged(NOTIFY_CHANGING));
  EXPECT_EQ(1, def.m_sliderSensitivity->GetProgress());
  EXPECT_STREQ(L"0.02mm", Caption(def.m_textSensitivityValue));
}

TEST_F(PerfPageTest, ResetButtonsSetTheirSliderToOneAndSave) {
  using Reset = int (PerfPage::*)();
  const struct {
    Reset reset;
    MSlider* PerfPageDef::*slider;
    MText* PerfPageDef::*text;
    const char* key;
  } cases[] = {{&PerfPage::ResetSensitivityPos, &PerfPageDef::m_sliderSensitivity, &PerfPageDef::m_textSensitivityValue,
                "global_sensitivity_pos"},
               {&PerfPage::ResetRtPressPos, &PerfPageDef::m_sliderRtPress, &PerfPageDef::m_textRtPressValue,
                "global_rt1_pos"},
               {&PerfPage::ResetRtReleasePos, &PerfPageDef::m_sliderRtRelease, &PerfPageDef::m_textRtReleaseValue,
                "global_rt2_pos"}};
  LoadDefaults();
  Tasks();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    def.m_keyboardPerf->ResetAllItemCheck(0);
    const auto before = StoreState();
    EXPECT_EQ(0, (page.get()->*c.reset)());
    EXPECT_EQ(before, StoreState());
    Check({kKeyA});
    (def.*c.slider)->SetProgress(40);
    EXPECT_EQ(1, (page.get()->*c.reset)());
    EXPECT_EQ(1, (def.*c.slider)->GetProgress());
    EXPECT_STREQ(L"0.02mm", Caption(def.*c.text));
    EXPECT_EQ("1", Config(c.key));
    EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), Tasks());
  }
}

TEST_F(PerfPageTest, RapidTriggerOffUnchecksContinuousAndGivesModeZero) {
  LoadDefaults();
  SetConfig(kPerfContinuousMode, L"1");
  Check({kKeyA});
  def.m_switchRapidTrigger->SetCheck(0);
  def.m_switchContinuousRt->SetCheck(1);
  EXPECT_EQ(1, page->OnRapidTriggerSwitch());
  EXPECT_EQ(0, def.m_switchContinuousRt->GetCheck());
  EXPECT_EQ("0", Config("perf_rapidtrigger_mode"));
  EXPECT_EQ("1", Config("perf_continuerapidtrigger_mode"));
  EXPECT_EQ(0, Row(kKeyA)[1]);
  EXPECT_EQ(1, Row(kKeyS)[1]);
  EXPECT_FALSE(def.m_switchSensitivity->IsVisible());

  def.m_switchRapidTrigger->SetCheck(1);
  EXPECT_EQ(1, page->OnRapidTriggerSwitch());
  EXPECT_EQ("1", Config("perf_rapidtrigger_mode"));
  EXPECT_TRUE(def.m_switchSensitivity->IsVisible());
  EXPECT_EQ(1, Row(kKeyA)[1]);
}

TEST_F(PerfPageTest, NoCheckedKeyShowsTheBoxAndUndoesTheRapidTriggerClick) {
  LoadDefaults();
  Tasks();
  const auto before = StoreState();
  def.m_switchRapidTrigger->SetCheck(0);  // the click turned it off
  EXPECT_EQ(0, page->OnRapidTriggerSwitch());
  EXPECT_EQ(1, def.m_switchRapidTrigger->GetCheck());
  EXPECT_EQ(0, page->OnGlobalActuationChanged(NOTIFY_CLICKED, 0));
  EXPECT_EQ(0, page->OnSwitchTypeSelected(NOTIFY_PARTCLICKED, 0));
  const auto boxes = testsupport::MessageBoxes();
  ASSERT_EQ(3u, boxes.size());
  for (const auto& box : boxes) {
    EXPECT_STREQ(testsupport::LanText(1600), box.title);
    EXPECT_STREQ(testsupport::LanText(1601), box.message);
    EXPECT_EQ(host.GetSafeHwnd(), box.owner);
  }
  EXPECT_EQ(before, StoreState());
  EXPECT_TRUE(Tasks().empty());
}

// Calibration mode, an open message box or no device profile: the guarded handlers refuse and
// nothing is stored or queued.
TEST_F(PerfPageTest, GuardsRefuseWithoutAnyChange) {
  LoadDefaults();
  Check({kKeyA});
  def.m_switchRapidTrigger->SetCheck(1);
  def.m_switchContinuousRt->SetCheck(1);
  def.m_switchBottomRt->SetCheck(1);
  Tasks();
  const auto before = StoreState();
  const std::vector<std::pair<const char*, std::function<int()>>> guarded = {
      {"actuation", [&] { return page->OnGlobalActuationChanged(NOTIFY_CLICKED, 0); }},
      {"rapid trigger", [&] { return page->OnRapidTriggerSwitch(); }},
      {"sensitivity", [&] { return page->OnSensitivitySwitch(); }},
      {"slider", [&] { return page->OnSensitivityPosChanged(NOTIFY_CLICKED); }},
      {"reset", [&] { return page->ResetRtReleasePos(); }}};
  auto expectRefused = [&](const char* state) {
    for (const auto& [name, handler] : guarded) EXPECT_EQ(0, handler()) << state << ": " << name;
    EXPECT_EQ(before, StoreState()) << state;
    EXPECT_TRUE(Tasks().empty()) << state;
  };
  link.m_calibrationMode = true;
  expectRefused("calibration");
  link.m_calibrationMode = false;
  {
    HWND other = CreateWindowExA(0, "STATIC", "MessageBox", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(IsMessageBoxOpen()) << "a window of another class does not count";
    DestroyWindow(other);
    // The host is a top-level window of the library's class: titled as the message box, it is one.
    SetWindowTextA(host.GetSafeHwnd(), "MessageBox");
    expectRefused("message box");
    SetWindowTextA(host.GetSafeHwnd(), "host");
  }
  link.m_deviceProfile = -1;
  expectRefused("no profile");
  EXPECT_EQ(0, page->OnContinuousRtSwitch());
  EXPECT_EQ(0, page->OnBottomRtSwitch());
  page->SaveKeyPerf();
  page->SaveRapidTrigger();
  page->RefreshPerfPage();
  EXPECT_EQ(before, StoreState());
  EXPECT_TRUE(Tasks().empty());
  EXPECT_TRUE(testsupport::MessageBoxes().empty());
}

TEST_F(PerfPageTest, ActuationDragStoresThePageValueAndTheReleaseSaves) {
  LoadDefaults();
  Tasks();
  Check({kKeyA});
  def.m_keyStroke->SetCurKeyActuation(120);
  EXPECT_EQ(1, page->OnGlobalActuationChanged(NOTIFY_CHANGING, 999));
  EXPECT_EQ("120", Config("global_key_actuation"));
  EXPECT_EQ(75, Row(kKeyA)[2]) << "a drag saves no row";
  EXPECT_TRUE(Tasks().empty());
  EXPECT_EQ(1, page->OnGlobalActuationChanged(NOTIFY_CLICKED, 0));
  EXPECT_EQ(120, Row(kKeyA)[2]);
  EXPECT_EQ(75, Row(kKeyS)[2]);
  EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), Tasks());
}

TEST_F(PerfPageTest, SwitchPickerRowsSetTypeAndLowerTheActuation) {
  const struct {
    int row, type, actuation;
  } cases[] = {{0, 5, 185}, {1, 2, 166}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    LoadDefaults();
    Tasks();
    testsupport::ClearMessageBoxes();
    Check({kKeyA, kKeyS});
    def.m_keyStroke->SetKeyStrokeInfo(0, 400);
    def.m_keyStroke->SetCurKeyActuation(190);
    EXPECT_EQ(1, page->OnSwitchTypeSelected(NOTIFY_CLICKED, c.row)) << "other codes do nothing";
    EXPECT_TRUE(testsupport::MessageBoxes().empty());
    EXPECT_EQ(1, page->OnSwitchTypeSelected(NOTIFY_PARTCLICKED, c.row));
    ASSERT_EQ(1u, testsupport::MessageBoxes().size());
    EXPECT_STREQ(testsupport::LanText(1602), testsupport::MessageBoxes()[0].title);
    EXPECT_EQ(c.actuation, def.m_keyStroke->GetCurKeyActuation());
    EXPECT_EQ((std::vector<int>{c.type, 1, c.actuation, 5, 5, 0, 0, 0}), Row(kKeyA));
    EXPECT_EQ((std::vector<int>{c.type, 1, c.actuation, 5, 5, 0, 0, 0}), Row(kKeyS));
    EXPECT_EQ((std::vector<int>{5, 1, 75, 5, 5, 0, 0, 0}), Row(kKeyD));
    EXPECT_EQ(std::to_string(c.type), Config("switch_type"));
    EXPECT_EQ(c.type, link.PerfSlots().at(kKeyA));
    EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), Tasks());
    db->Exec("DELETE FROM t_key_perf_data");
  }
  // The picker's profile, not the page's, takes "switch_type"; a row the picker lacks is refused.
  LoadDefaults();
  Check({kKeyA});
  def.m_comboProfilePerf->SetCurSel(2);
  EXPECT_EQ(1, page->OnSwitchTypeSelected(NOTIFY_PARTCLICKED, 1));
  EXPECT_EQ("2", Config("switch_type", 3));
  EXPECT_EQ(0, page->OnSwitchTypeSelected(NOTIFY_PARTCLICKED, 2));
}

TEST_F(PerfPageTest, BottomRapidTriggerGivesEveryKeyItsDeadZoneAndWritesSettingsFirst) {
  LoadDefaults();
  Tasks();
  Check({kKeyA});
  def.m_keyStroke->SetCurKeyActuation(185);
  def.m_switchBottomRt->SetCheck(1);
  EXPECT_EQ(1, page->OnBottomRtSwitch());
  EXPECT_EQ("1", Config("perf_bottomrapidtrigger_mode"));
  for (int code : kKeys) {
    EXPECT_EQ(1, Row(code)[5]) << code;
    EXPECT_EQ(10, Row(code)[7]) << code;
  }
  EXPECT_EQ(def.m_keyStroke->GetCurKeyActuation(), Row(kKeyA)[2]);
  EXPECT_LT(Row(kKeyA)[2], 185) << "the picture brought the point within its bound";
  EXPECT_EQ(75, Row(kKeyS)[2]);
  EXPECT_EQ((std::vector<int>{TASK_WRITE_SETTINGS, TASK_WRITE_KEY_PERF}), Tasks());

  def.m_switchBottomRt->SetCheck(0);
  EXPECT_EQ(1, page->OnBottomRtSwitch());
  EXPECT_EQ("0", Config("perf_bottomrapidtrigger_mode"));
  EXPECT_EQ(0, Row(kKeyS)[5]);
  EXPECT_EQ(0, Row(kKeyS)[7]);
}

TEST_F(PerfPageTest, SelectionShowsTheKeyAndCoversMixedSwitchTypes) {
  LoadDefaults();
  def.m_keyboardPerf->SetKeyPerfInfo(kKeyA, 5, 0x11, 80, 5, 5, 0, 0, 0);
  def.m_keyboardPerf->SetKeyPerfInfo(kKeyS, 2, 0x01, 70, 8, 30, 0, 0, 0);
  def.m_keyboardPerf->SetKeyPerfInfo(kKeyD, 5, 0x10, 60, 5, 5, 0, 0, 0);
  const auto before = StoreState();

  Check({kKeyA});
  EXPECT_EQ(1, page->OnPerfKeySelection(NOTIFY_CLICKED));
  EXPECT_FALSE(def.m_areaPerfCover->IsVisible());
  EXPECT_EQ(1, def.m_switchRapidTrigger->GetCheck());
  EXPECT_EQ(0, def.m_switchSensitivity->GetCheck());
  EXPECT_TRUE(def.m_sliderSensitivity->IsVisible());
  EXPECT_FALSE(def.m_sliderRtPress->IsVisible());
  EXPECT_EQ(5, def.m_sliderSensitivity->GetProgress());
  EXPECT_STREQ(L"0.10mm", Caption(def.m_textSensitivityValue));
  EXPECT_EQ(80, def.m_keyStroke->GetCurKeyActuation());

  Check({kKeyA, kKeyS});
  EXPECT_EQ(1, page->OnPerfKeySelection(NOTIFY_CLICKED));
  EXPECT_TRUE(def.m_areaPerfCover->IsVisible());
  Check({kKeyS});
  EXPECT_EQ(1, page->OnPerfKeySelection(NOTIFY_CLICKED));
  EXPECT_FALSE(def.m_areaPerfCover->IsVisible());
  EXPECT_EQ(1, def.m_switchSensitivity->GetCheck());
  EXPECT_TRUE(def.m_sliderRtRelease->IsVisible());
  EXPECT_EQ(30, def.m_sliderRtRelease->GetProgress());

  Check({kKeyD});
  EXPECT_EQ(1, page->OnPerfKeySelection(NOTIFY_CLICKED));
  EXPECT_EQ(0, def.m_switchRapidTrigger->GetCheck());
  EXPECT_FALSE(def.m_switchSensitivity->IsVisible());
  EXPECT_FALSE(def.m_sliderSensitivity->IsVisible());
  EXPECT_FALSE(def.m_sliderRtRelease->IsVisible());
  EXPECT_EQ(before, StoreState()) << "a selection stores nothing";
}

// Values a hostile profile import may leave: loading, selecting and saving neither crash nor
// hand the travel picture a switch type the table lacks.
TEST_F(PerfPageTest, BadStoredValuesLoadSelectAndSave) {
  page->CreateDefaultKeyPerfs(1);
  KEY_PERF_DATA row = DefaultKeyPerf(1, kKeyA);
  row.switch_type = 9;
  row.key_mode = 0xFF;
  row.key_actuation = 0;
  ConfigDatabase::Instance().UpdateKeyPerfs({row});
  for (const wchar_t* type : {L"9", L"-1"}) {
    for (const wchar_t* position : {L"500", L"-3", L"abc"}) {
      SetConfig(kPerfSwitchType, type);
      SetConfig(kPerfRtPressPos, position);
      def.m_keyStroke->SetKeyStrokeInfo(2, 332);
      def.m_keyStroke->SetCurKeyActuation(300);
      page->RefreshPerfPage();
      Check({kKeyA});
      EXPECT_EQ(1, page->OnPerfKeySelection(NOTIFY_CLICKED));
      EXPECT_EQ(1, page->OnRtPressPosChanged(NOTIFY_CLICKED));
    }
  }
  EXPECT_EQ(9, Row(kKeyA)[0]) << "the value is kept and saved as stored";
  EXPECT_EQ(9, link.PerfSlots().at(kKeyA));
  EXPECT_EQ(0xF0 | 1, Row(kKeyA)[1]);
}

TEST_F(PerfPageTest, EnablingReachesTheFrameThenThePageButNotCalibrationOrPicker) {
  auto* frameButton = host.Add<CImageButton>(L"CImageButton", 38, CRect());
  def.m_btnCalibrate = host.Add<MButton>(L"MButton", 271, CRect());
  page->EnablePerfControls(0, {frameButton});
  for (MControl* control : std::vector<MControl*>{frameButton, def.m_keyboardPerf, def.m_keyStroke,
                                                  def.m_comboProfilePerf, def.m_switchRapidTrigger,
                                                  def.m_sliderRtRelease, def.m_btnResetSensitivity,
                                                  def.m_switchBottomRt})
    EXPECT_FALSE(control->IsEnabled()) << control->GetControlID();
  EXPECT_TRUE(def.m_btnCalibrate->IsEnabled());
  page->EnablePerfControls(1, {frameButton});
  EXPECT_TRUE(frameButton->IsEnabled());
  EXPECT_TRUE(def.m_switchBottomRt->IsEnabled());
}

}  // namespace
