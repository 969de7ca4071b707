// The lighting page's operations on real controls in a host window, a store in a scratch folder
// and a recording device link (no worker runs: the queued tasks stay to be read). Rows are read
// back with raw SQL, never through the store.
#include "app/pages/LightPage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "RawDb.h"
#include "RecordingDeviceLink.h"
#include "TempFolder.h"
#include "app/pages/LightModes.h"
#include "app/pages/LightPageDef.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/CirclePalette.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/keyboard/LightTypeTab.h"
#include "ui/keyboard/MListBoxEx.h"

using namespace TESK;
using testsupport::ControlHost;

namespace {

// Keys of the test picture, one row of 40 x 40 cells.
const std::vector<int> kKeyCodes = {41, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr int kKeySize = 40;

std::string N(int value) { return std::to_string(value); }

class LightPageTest : public testing::Test {
 protected:
  LightPageTest() : host(1400, 860) {}

  void SetUp() override {
    ConfigDatabase::Instance().Close();
    temp.MakeSubFolder(L"db");
    ASSERT_TRUE(ConfigDatabase::Instance().Open(temp.Path().c_str(), L"Light page"));
    ConfigDatabase::Instance().InsertDefaultConfig(1);
    db = std::make_unique<RawDb>(temp.Path() + L"db\\Light page_datav8.db");

    const int width = static_cast<int>(kKeyCodes.size()) * kKeySize;
    def.m_keyboardLight = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 119, CRect(0, 0, width, kKeySize));
    ASSERT_NE(nullptr, def.m_keyboardLight);
    for (size_t i = 0; i < kKeyCodes.size(); ++i) {
      const int left = static_cast<int>(i) * kKeySize;
      def.m_keyboardLight->AddKeyItem(L"k", L"k", kKeyCodes[i], CRect(left, 0, left + kKeySize, kKeySize), L"",
                                      0x232323);
    }
    def.m_keyboardLight->SetWidthAndHeight(width, kKeySize);
    def.m_btnLightSelectNone = host.Add<MButton>(L"MButton", 180, CRect(710, 70, 785, 95));
    def.m_btnLightSelectInvert = host.Add<MButton>(L"MButton", 181, CRect(610, 70, 685, 95));
    def.m_btnLightSelectAll = host.Add<MButton>(L"MButton", 182, CRect(510, 70, 585, 95));
    def.m_textLightMode = host.Add<MText>(L"MText", 193, CRect(320, 620, 720, 650));
    def.m_switchLight = host.Add<CSwitchButton>(L"CSwitchButton", 132, CRect(320, 540, 364, 570));
    // The page's panel makes the controls of the panel factory.
    auto* panel = host.Add<MTabLayout>(L"MTabLayout", 71, CRect(0, 0, host.width(), host.height()));
    ASSERT_NE(nullptr, panel);
    def.m_lightModeList =
        dynamic_cast<MListBoxEx*>(panel->CreateControl(L"MListBoxEx", 133, CRect(190, 580, 570, 830), L"", 0, 1));
    def.m_lightTypeTab =
        dynamic_cast<LightTypeTab*>(panel->CreateControl(L"LightTypeTab", 187, CRect(320, 580, 690, 610), L"", 1, 1));
    ASSERT_NE(nullptr, def.m_lightModeList);
    ASSERT_NE(nullptr, def.m_lightTypeTab);
    ASSERT_NE(nullptr, def.m_switchLight);
    def.m_textColorful = host.Add<MText>(L"MText", 135, CRect(1130, 540, 1260, 570));
    def.m_checkColorful = host.Add<CCheckButton>(L"CCheckButton", 145, CRect(1260, 540, 1290, 570));
    def.m_palette = host.Add<CirclePalette>(L"CirclePalette", 148, CRect(850, 580, 1030, 760));
    def.m_editRed = host.Add<MEdit>(L"MEdit", 152, CRect(830, 802, 895, 826), L"255");
    def.m_editGreen = host.Add<MEdit>(L"MEdit", 153, CRect(930, 802, 995, 826), L"0");
    def.m_editBlue = host.Add<MEdit>(L"MEdit", 154, CRect(1030, 802, 1095, 826), L"0");
    for (int n = 0; n < kLightColorButtons; ++n) {
      const int x = 1130 + 40 * (n % 5), y = 580 + 40 * (n / 5);
      def.m_btnColor[n] = host.Add<CColorButton>(L"CColorButton", 155 + n, CRect(x, y, x + 30, y + 30));
      ASSERT_NE(nullptr, def.m_btnColor[n]);
      def.m_btnColor[n]->SetColor(kLightSwatchColors[n]);
    }
    def.m_textBrightness = host.Add<MText>(L"MText", 136, CRect(180, 670, 280, 700));
    def.m_sliderBrightness = host.Add<MSlider>(L"MSlider", 137, CRect(320, 677, 550, 705));
    def.m_textSpeed = host.Add<MText>(L"MText", 138, CRect(180, 720, 280, 750));
    def.m_sliderSpeed = host.Add<MSlider>(L"MSlider", 139, CRect(320, 727, 550, 750));
    def.m_sliderBrightness->SetMaxProgress(100);
    def.m_sliderSpeed->SetMaxProgress(4);
    def.m_textDirection = host.Add<MText>(L"MText", 140, CRect(180, 770, 280, 800));
    const UINT radioIds[8] = {141, 142, 143, 144, 183, 184, 185, 186};
    CRadioButton** radios[8] = {&def.m_radioDirLeft, &def.m_radioDirRight, &def.m_radioDirUp, &def.m_radioDirDown,
                                &def.m_radioDirIn,   &def.m_radioDirOut,   &def.m_radioDirCw, &def.m_radioDirCcw};
    for (int i = 0; i < 8; ++i) {
      const int x = 320 + 80 * (i % 2);
      *radios[i] = host.Add<CRadioButton>(L"CRadioButton", radioIds[i], CRect(x, 770, x + 53, 802));
      ASSERT_NE(nullptr, *radios[i]);
    }
    def.m_textMusicMode = host.Add<MText>(L"MText", 194, CRect(820, 540, 980, 570), L"", 0);
    def.m_sliderMusicSpeed = host.Add<MSlider>(L"MSlider", 201, CRect(820, 780, 1100, 820), L"", 0);

    page = std::make_unique<LightPage>(link, def, curProfile);
    page->SetPresetFile((temp.Path() + L"default_light.xml").c_str());
    CreateDefaultLightRows(1);
    CreateDefaultLightRows(2);
    ConfigDatabase::Instance().InsertDefaultConfig(2);
  }
  void TearDown() override {
    page.reset();
    db.reset();
    ConfigDatabase::Instance().Close();
  }

  std::vector<int> Tasks() {
    std::vector<int> tasks;
    int task = 0;
    while (link.TakeTask(&task)) tasks.push_back(task);
    return tasks;
  }
  // A column of the (profile, mode) row.
  int Column(const std::string& column, int mode, int profile = 1) {
    return db->Number("SELECT " + column + " FROM t_light_data WHERE profile = " + N(profile) + " AND mode = " + N(mode));
  }
  std::string EnableLight(int profile = 1) {
    const auto rows =
        db->Rows("SELECT value FROM t_config_data WHERE profile = " + N(profile) + " AND key = 'enable_light'");
    return rows.empty() ? "no row" : rows[0][0];
  }
  // The stored per-key colours of a profile as "code:colour" in key-code order.
  std::vector<std::string> KeyRows(int profile = 1) {
    std::vector<std::string> out;
    for (const auto& row : db->Rows("SELECT key_code, key_rgb, profile FROM t_userlightrgb_data WHERE userlight_id = " +
                                    N(profile) + " ORDER BY key_code")) {
      out.push_back(row[0] + ":" + row[1] + (row[2] == N(profile) ? "" : " profile " + row[2]));
    }
    return out;
  }
  COLORREF KeyColor(int code) {
    for (const KEY_INFO* key : def.m_keyboardLight->GetKeyItems()) {
      if (key->key_code == code) return key->color;
    }
    return 0xDEAD;
  }
  CPoint KeyCentre(int code) {
    for (size_t i = 0; i < kKeyCodes.size(); ++i) {
      if (kKeyCodes[i] == code) return CPoint(static_cast<int>(i) * kKeySize + kKeySize / 2, kKeySize / 2);
    }
    return CPoint(-1, -1);
  }
  std::vector<std::string> Edits() {
    return {Utf8(def.m_editRed->GetEditText()), Utf8(def.m_editGreen->GetEditText()),
            Utf8(def.m_editBlue->GetEditText())};
  }
  static std::string Utf8(const CString& text) { return Utf8Of(text.GetString()); }
  // The page shown for the mode, as the tabs would select it.
  void ChooseMode(int mode) {
    def.m_lightTypeTab->SetCurData(mode);
    page->OnLightModeSelected(NOTIFY_CLICKED);
    Tasks();
  }
  void WritePresets(const std::string& text) {
    std::ofstream(Utf8Of(temp.Path() + L"default_light.xml"), std::ios::binary) << text;
  }

  testsupport::TempFolder temp;
  ControlHost host;
  LightPageDef def;
  testsupport::RecordingDeviceLink link;
  std::atomic<int> curProfile{0};
  std::unique_ptr<LightPage> page;
  std::unique_ptr<RawDb> db;
};

}  // namespace

// ---- Pure rules ----

TEST(ParseRgbTextTest, ComponentsByLength) {
  const struct {
    const wchar_t* text;
    COLORREF color;
  } cases[] = {
      {L"#FF8000", 0x0080FF}, {L"#00FF00", 0x00FF00}, {L"#ABC", 0x000CAB},  {L"#12345", 0x053412},
      {L"#1", 0},             {L"", 0},               {L"#", 0},           {L"#GGHHII", 0},
      {L"#1234567", 0},       {L"#1G2345", 0x452301}, {L"#ff", 0x0000FF},  {L"#abcd", 0x00CDAB},
  };
  for (const auto& c : cases) EXPECT_EQ(c.color, ParseRgbText(c.text)) << Utf8Of(c.text);
}

TEST_F(LightPageTest, NewProfileHasTheModeTableWithModeOneActive) {
  EXPECT_EQ(25, db->Number("SELECT COUNT(*) FROM t_light_data WHERE profile = 1"));
  EXPECT_EQ(1, db->Number("SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1"));
  EXPECT_EQ(1, db->Number("SELECT COUNT(*) FROM t_light_data WHERE profile = 1 AND status = 1"));
  EXPECT_EQ(25, db->Number("SELECT COUNT(*) FROM t_light_data WHERE profile = 1 AND brightness = 100 AND speed = 4 "
                           "AND direction = 0 AND colorful = 1 AND color_value = 255"));
  EXPECT_EQ(0x0B3, Column("config_func", 10));
  EXPECT_EQ(1, db->Number("SELECT COUNT(*) FROM t_musiclayer_data WHERE profile = 1 AND name = 'Music' AND "
                          "foremode = 2"));
  // A profile with rows, even too few, is left alone.
  db->Exec("DELETE FROM t_light_data WHERE profile = 1 AND mode > 2");
  CreateDefaultLightRows(1);
  EXPECT_EQ(3, db->Number("SELECT COUNT(*) FROM t_light_data WHERE profile = 1"));
  EXPECT_EQ(1, db->Number("SELECT COUNT(*) FROM t_musiclayer_data WHERE profile = 1"));
}

TEST_F(LightPageTest, ListsShowTwentyFourModesAndTheActiveOne) {
  page->RefreshLightModeLists();
  EXPECT_EQ(24, def.m_lightModeList->GetLightCount());
  EXPECT_EQ(1, def.m_lightTypeTab->GetCurData());
  EXPECT_EQ(1, def.m_lightModeList->GetCurData());
  EXPECT_EQ(1, link.m_lightMode);
  EXPECT_EQ(1, def.m_switchLight->GetCheck());
  EXPECT_EQ(100, def.m_sliderBrightness->GetProgress());
  EXPECT_EQ(4, def.m_sliderSpeed->GetProgress());
  EXPECT_EQ(0x003u, link.m_lightModeFlags);

  db->Exec("UPDATE t_config_data SET value = '0' WHERE profile = 1 AND key = 'enable_light'");
  page->RefreshLightModeLists();
  EXPECT_EQ(0, def.m_switchLight->GetCheck());
  EXPECT_EQ(LIGHT_MODE_OFF, link.m_lightMode);
  EXPECT_EQ(1, def.m_lightTypeTab->GetCurData());
}

// Which controls each mode shows.
TEST_F(LightPageTest, EachModeShowsItsControls) {
  page->RefreshLightModeLists();
  struct Shown {
    int mode;
    bool brightness, speed, colorful, colour, user, music;
    CRadioButton* first;  // the direction pair's first button; null: no direction
  };
  const Shown table[] = {
      {LIGHT_MODE_MUSIC, false, false, false, false, false, true, nullptr},
      {LIGHT_MODE_USER, true, false, false, true, true, false, nullptr},
      {1, true, true, false, false, false, false, nullptr},
      {2, true, false, true, true, false, false, nullptr},
      {5, true, true, false, false, false, false, nullptr},
      {6, true, true, true, true, false, false, def.m_radioDirLeft},
      {7, true, true, true, true, false, false, def.m_radioDirUp},
      {8, true, true, true, true, false, false, def.m_radioDirIn},
      {10, true, true, true, true, false, false, def.m_radioDirCw},
      {22, true, true, true, true, false, false, nullptr},
  };
  CRadioButton* radios[] = {def.m_radioDirLeft, def.m_radioDirRight, def.m_radioDirUp, def.m_radioDirDown,
                            def.m_radioDirIn,   def.m_radioDirOut,   def.m_radioDirCw, def.m_radioDirCcw};
  for (const Shown& s : table) {
    SCOPED_TRACE("mode " + N(s.mode));
    ChooseMode(s.mode);
    EXPECT_EQ(static_cast<uint32_t>(Column("config_func", s.mode)), link.m_lightModeFlags);
    EXPECT_EQ(s.brightness, def.m_sliderBrightness->IsVisible() != 0);
    EXPECT_EQ(s.brightness, def.m_textBrightness->IsVisible() != 0);
    EXPECT_EQ(s.speed, def.m_sliderSpeed->IsVisible() != 0);
    EXPECT_EQ(s.colorful, def.m_checkColorful->IsVisible() != 0);
    EXPECT_EQ(s.colour, def.m_palette->IsVisible() != 0);
    EXPECT_EQ(s.colour, def.m_btnColor[24]->IsVisible() != 0);
    EXPECT_EQ(s.colour, def.m_editBlue->IsVisible() != 0);
    EXPECT_EQ(s.user, def.m_btnLightSelectAll->IsVisible() != 0);
    EXPECT_EQ(s.music, def.m_textMusicMode->IsVisible() != 0);
    EXPECT_EQ(s.music, def.m_sliderMusicSpeed->IsVisible() != 0);
    EXPECT_EQ(s.first != nullptr, def.m_textDirection->IsVisible() != 0);
    for (int i = 0; i < 8; ++i) {
      const bool pairShown = s.first && (radios[i] == s.first || (i % 2 == 1 && radios[i - 1] == s.first));
      EXPECT_EQ(pairShown, radios[i]->IsVisible() != 0) << "radio " << i;
    }
    EXPECT_EQ(s.mode, db->Number("SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1"));
  }
  // Several direction bits: the first of left/right, top/bottom, within/outside, rotation wins.
  db->Exec("UPDATE t_light_data SET config_func = 204 WHERE profile = 1 AND mode = 3");  // 0x0CC
  ChooseMode(3);
  EXPECT_TRUE(def.m_radioDirLeft->IsVisible());
  EXPECT_FALSE(def.m_radioDirUp->IsVisible());
  EXPECT_FALSE(def.m_radioDirIn->IsVisible());
  EXPECT_FALSE(def.m_radioDirCw->IsVisible());
}

TEST_F(LightPageTest, SelectingAModeStoresItAndQueuesItsWrites) {
  page->RefreshLightModeLists();
  link.m_deviceProfile = 1;  // the keyboard's second on-board profile: database profile 2
  page->RefreshLightModeLists();
  def.m_lightTypeTab->SetCurData(4);
  EXPECT_EQ(1, page->OnLightModeSelected(NOTIFY_CLICKED));
  EXPECT_EQ(2, curProfile);
  EXPECT_EQ(1, Column("status", 4, 2));
  EXPECT_EQ(0, Column("status", 1, 2));
  EXPECT_EQ(1, Column("status", 1, 1));
  EXPECT_EQ(std::vector<int>({TASK_WRITE_LIGHT}), Tasks());
  def.m_lightTypeTab->SetCurData(LIGHT_MODE_USER);
  page->OnLightModeSelected(NOTIFY_CLICKED);
  EXPECT_EQ(std::vector<int>({TASK_WRITE_LIGHT, TASK_WRITE_KEY_COLORS}), Tasks());
  // Other codes do nothing.
  def.m_lightTypeTab->SetCurData(3);
  page->OnLightModeSelected(1);
  EXPECT_EQ(LIGHT_MODE_USER, link.m_lightMode);
  EXPECT_TRUE(Tasks().empty());
}

TEST_F(LightPageTest, SingleValuesAreStoredForTheShownMode) {
  page->RefreshLightModeLists();
  ChooseMode(6);
  def.m_sliderBrightness->SetProgress(40);
  page->OnLightBrightnessChanged();
  def.m_sliderSpeed->SetProgress(1);
  page->OnLightSpeedChanged();
  EXPECT_EQ(40, Column("brightness", 6));
  EXPECT_EQ(1, Column("speed", 6));
  EXPECT_EQ(100, Column("brightness", 5));
  for (int id : {141, 143, 183, 185}) {
    page->OnLightDirectionChanged(id);
    EXPECT_EQ(1, Column("direction", 6)) << id;
    page->OnLightDirectionChanged(id + 1);
    EXPECT_EQ(0, Column("direction", 6)) << id + 1;
  }
  EXPECT_EQ(std::vector<int>(10, TASK_WRITE_LIGHT), Tasks());
  // Without the mode's row nothing is stored or queued.
  db->Exec("DELETE FROM t_light_data WHERE profile = 1 AND mode = 6");
  page->OnLightBrightnessChanged();
  page->OnLightDirectionChanged(141);
  page->OnLightColorButton(157);
  EXPECT_TRUE(Tasks().empty());
}

TEST_F(LightPageTest, UncheckingColorfulStoresRed) {
  page->RefreshLightModeLists();
  ChooseMode(4);
  db->Exec("UPDATE t_light_data SET color_value = 65280 WHERE profile = 1 AND mode = 4");
  ASSERT_EQ(1, def.m_checkColorful->GetCheck());
  def.m_checkColorful->SetCheck(0);
  page->OnLightColorfulChanged(NOTIFY_CLICKED);
  EXPECT_EQ(0, Column("colorful", 4));
  EXPECT_EQ(0x0000FF, Column("color_value", 4));
  EXPECT_EQ(std::vector<std::string>({"255", "0", "0"}), Edits());
  EXPECT_EQ(0x0000FFu, KeyColor(8));
  def.m_checkColorful->SetCheck(1);
  page->OnLightColorfulChanged(NOTIFY_CLICKED);
  EXPECT_EQ(1, Column("colorful", 4));
}

// Each colour source in a colourful mode stores the colour and drops the colourful flag.
TEST_F(LightPageTest, ColourSourcesUncheckColorful) {
  page->RefreshLightModeLists();
  const struct {
    const char* source;
    std::function<void()> act;
    COLORREF color;
  } cases[] = {
      {"palette", [&] { page->OnLightColorPicked(); }, def.m_palette->GetSelectColor()},
      {"button 160", [&] { page->OnLightColorButton(160); }, 0x12FBFF},
      {"green edit", [&] {
         def.m_editGreen->SetEditText(L"128");
         page->OnLightGreenEdit(NOTIFY_TEXTCHANGED);
       }, 0x0080FF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    db->Exec("UPDATE t_light_data SET colorful = 1 WHERE profile = 1 AND mode = 9");
    ChooseMode(9);
    def.m_editRed->SetEditText(L"255");
    def.m_editGreen->SetEditText(L"0");
    def.m_editBlue->SetEditText(L"0");
    ASSERT_EQ(1, def.m_checkColorful->GetCheck());
    c.act();
    EXPECT_EQ(0, def.m_checkColorful->GetCheck());
    EXPECT_EQ(0, Column("colorful", 9));
    EXPECT_EQ(static_cast<int>(c.color), Column("color_value", 9));
    EXPECT_EQ(c.color, KeyColor(41));
    EXPECT_EQ(std::vector<std::string>({N(RedOf(c.color)), N(GreenOf(c.color)), N(BlueOf(c.color))}), Edits());
    const auto tasks = Tasks();
    EXPECT_FALSE(tasks.empty());
    for (int task : tasks) EXPECT_EQ(TASK_WRITE_LIGHT, task);
  }
}

TEST_F(LightPageTest, ColourEditsAreClamped) {
  page->RefreshLightModeLists();
  ChooseMode(LIGHT_MODE_USER);
  ChooseMode(2);
  def.m_checkColorful->SetCheck(0);
  const struct {
    const wchar_t* typed;
    const char* shown;
    int red;
  } cases[] = {{L"300", "255", 255}, {L"-5", "0", 0}, {L"abc", "abc", 0}, {L"17", "17", 17}};
  for (const auto& c : cases) {
    def.m_editRed->SetEditText(c.typed);
    page->OnLightRedEdit(NOTIFY_TEXTCHANGED);
    EXPECT_EQ(c.shown, Utf8(def.m_editRed->GetEditText()));
    EXPECT_EQ(c.red, Column("color_value", 2) & 0xFF);
  }
  Tasks();
  page->OnLightRedEdit(NOTIFY_CLICKED);
  EXPECT_TRUE(Tasks().empty());
}

TEST_F(LightPageTest, SwitchOffAndOnKeepsTheMode) {
  page->RefreshLightModeLists();
  ChooseMode(7);
  def.m_switchLight->SetCheck(0);
  page->OnLightEnableSwitch();
  EXPECT_EQ("0", EnableLight());
  EXPECT_EQ(LIGHT_MODE_OFF, link.m_lightMode);
  EXPECT_FALSE(def.m_sliderBrightness->IsVisible());
  EXPECT_EQ(std::vector<int>({TASK_WRITE_LIGHT}), Tasks());
  // Showing the tab again while off: one write, the stored mode kept.
  page->OnLightModeSelected(NOTIFY_CLICKED);
  EXPECT_EQ(std::vector<int>({TASK_WRITE_LIGHT}), Tasks());
  EXPECT_EQ(1, Column("status", 7));
  def.m_switchLight->SetCheck(1);
  page->OnLightEnableSwitch();
  EXPECT_EQ("1", EnableLight());
  EXPECT_EQ(7, link.m_lightMode);
  EXPECT_TRUE(def.m_sliderSpeed->IsVisible());
}

TEST_F(LightPageTest, UserModePaintsOnlySelectedKeys) {
  page->RefreshLightModeLists();
  ChooseMode(LIGHT_MODE_USER);
  for (int code : {4, 6, 9}) def.m_keyboardLight->SetKeyCheck(code, 1);
  page->OnLightColorButton(157);
  for (int code : kKeyCodes) {
    const bool chosen = code == 4 || code == 6 || code == 9;
    EXPECT_EQ(chosen ? 0x0505FFu : 0u, KeyColor(code)) << code;
  }
  const auto rows = KeyRows();
  ASSERT_EQ(kKeyCodes.size(), rows.size());
  EXPECT_EQ("4:" + N(0x0505FF), rows[0]);
  EXPECT_EQ("5:0", rows[1]);
  EXPECT_EQ(std::vector<int>({TASK_WRITE_KEY_COLORS}), Tasks());
  // The stored colours come back on the next refresh.
  def.m_keyboardLight->ResetAllItemsColor(0x123456);
  page->RefreshLightPage();
  EXPECT_EQ(0x0505FFu, KeyColor(6));
  EXPECT_EQ(0u, KeyColor(5));
  // A save from the picture stores the colours it shows.
  def.m_keyboardLight->SetKeyColor(5, 0x111111);
  page->SaveUserLightColors(NOTIFY_CLICKED);
  EXPECT_EQ("5:" + N(0x111111), KeyRows()[1]);
  EXPECT_EQ(std::vector<int>({TASK_WRITE_KEY_COLORS}), Tasks());
}

TEST_F(LightPageTest, OtherModesPaintEveryKey) {
  page->RefreshLightModeLists();
  ChooseMode(2);
  def.m_keyboardLight->SetKeyCheck(4, 1);
  page->OnLightColorButton(157);
  for (int code : kKeyCodes) EXPECT_EQ(0x0505FFu, KeyColor(code)) << code;
  EXPECT_EQ(0x0505FF, Column("color_value", 2));
  EXPECT_TRUE(KeyRows().empty());
  page->SaveUserLightColors(NOTIFY_CLICKED);
  EXPECT_TRUE(KeyRows().empty());
}

TEST_F(LightPageTest, SelectionButtons) {
  page->RefreshLightModeLists();
  ChooseMode(LIGHT_MODE_USER);
  page->OnLightSelectButton(182);
  EXPECT_EQ(static_cast<int>(kKeyCodes.size()), def.m_keyboardLight->GetCheckItemCount());
  page->OnLightSelectButton(180);
  EXPECT_EQ(0, def.m_keyboardLight->GetCheckItemCount());
  def.m_keyboardLight->SetKeyCheck(4, 1);
  page->OnLightSelectButton(181);
  EXPECT_EQ(static_cast<int>(kKeyCodes.size()) - 1, def.m_keyboardLight->GetCheckItemCount());
}

TEST_F(LightPageTest, ResetReturnsToModeOneAndKeepsValues) {
  page->RefreshLightModeLists();
  ChooseMode(LIGHT_MODE_USER);
  def.m_keyboardLight->SetKeyCheck(4, 1);
  page->OnLightColorButton(157);
  db->Exec("UPDATE t_light_data SET brightness = 30, speed = 2 WHERE profile = 1");
  db->Exec("UPDATE t_config_data SET value = '0' WHERE profile = 1 AND key = 'enable_light'");
  def.m_switchLight->SetCheck(0);
  Tasks();
  page->ClearUserLightColors();
  EXPECT_EQ(1, Column("status", 1));
  EXPECT_EQ(1, link.m_lightMode);
  EXPECT_EQ(1, def.m_lightTypeTab->GetCurData());
  EXPECT_EQ(1, def.m_switchLight->GetCheck());
  EXPECT_EQ("1", EnableLight());
  EXPECT_TRUE(KeyRows().empty());
  EXPECT_EQ(0u, KeyColor(4));
  EXPECT_EQ(25, db->Number("SELECT COUNT(*) FROM t_light_data WHERE profile = 1 AND brightness = 30 AND speed = 2"));
  EXPECT_EQ(std::vector<int>({TASK_WRITE_LIGHT}), Tasks());
}

TEST_F(LightPageTest, PresetPaintsNamedKeysInTheUserMode) {
  WritePresets(
      "<?xml version=\"1.0\"?>\n<preconfig_prpfile>\n"
      " <key_light1><item key_code=\"4\" key_rgb=\"#FFFFFF\"/></key_light1>\n"
      " <key_light2>\n"
      "  <item key_code=\"4\" key_rgb=\"#FF0000\"/><item key_code=\"6\" key_rgb=\"#00FF00\"/>\n"
      "  <other key_code=\"7\" key_rgb=\"#0000FF\"/><item key_code=\"zz\" key_rgb=\"#0000FF\"/>\n"
      "  <item key_code=\"9\" key_rgb=\"#QQQQQQ\"/>\n"
      " </key_light2>\n"
      "</preconfig_prpfile>\n");
  page->RefreshLightModeLists();
  link.m_deviceProfile = 1;
  curProfile = 1;  // left on another profile by a refresh: the preset still goes to the keyboard's
  def.m_keyboardLight->ResetAllItemsColor(0x777777);
  EXPECT_EQ(1, page->ApplyLightPreset(203));
  EXPECT_EQ(std::vector<std::string>({"0:" + N(0xFF0000), "4:255", "6:" + N(0x00FF00), "9:0"}), KeyRows(2));
  EXPECT_TRUE(KeyRows(1).empty());
  EXPECT_EQ(2, curProfile);
  EXPECT_EQ(0x0000FFu, KeyColor(4));
  EXPECT_EQ(0x00FF00u, KeyColor(6));
  EXPECT_EQ(0u, KeyColor(7));
  EXPECT_EQ(0u, KeyColor(41));
  EXPECT_EQ(LIGHT_MODE_USER, link.m_lightMode);
  EXPECT_EQ(1, Column("status", LIGHT_MODE_USER, 2));
  EXPECT_EQ(std::vector<int>({TASK_WRITE_LIGHT, TASK_WRITE_KEY_COLORS}), Tasks());
}

TEST_F(LightPageTest, BadPresetFilesChangeNothing) {
  page->RefreshLightModeLists();
  ChooseMode(LIGHT_MODE_USER);
  def.m_keyboardLight->SetKeyCheck(4, 1);
  page->OnLightColorButton(157);
  ChooseMode(3);
  const auto before = KeyRows();
  const struct {
    const char* name;
    const char* text;  // null: no file
    int id;
  } cases[] = {
      {"no file", nullptr, 202},
      {"not XML", "this is <not xml", 202},
      {"no root", "<other><key_light1><item key_code=\"4\" key_rgb=\"#FFFFFF\"/></key_light1></other>", 202},
      {"no preset", "<preconfig_prpfile><key_light1><item key_code=\"4\" key_rgb=\"#FFFFFF\"/></key_light1>"
                    "</preconfig_prpfile>", 204},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileW((temp.Path() + L"default_light.xml").c_str());
    if (c.text) WritePresets(c.text);
    page->ApplyLightPreset(c.id);
    EXPECT_EQ(before, KeyRows());
    EXPECT_EQ(3, link.m_lightMode);
    EXPECT_EQ(0x0505FFu, KeyColor(4));
    EXPECT_TRUE(Tasks().empty());
  }
}

TEST_F(LightPageTest, BadStoredValuesStillLoad) {
  db->Exec("UPDATE t_light_data SET status = 0 WHERE profile = 1");
  db->Exec("UPDATE t_light_data SET brightness = 999, direction = 7, color_value = -1, config_func = 65535, "
           "colorful = 0 WHERE profile = 1 AND mode = 6");
  db->Exec("INSERT INTO t_userlightrgb_data (profile, userlight_id, key_code, key_rgb) VALUES (1, 1, 300, 5)");
  page->RefreshLightModeLists();  // no active mode: mode 0 is shown
  ChooseMode(6);
  EXPECT_TRUE(def.m_radioDirRight->GetCheck());
  def.m_sliderSpeed->SetProgress(2);
  page->OnLightSpeedChanged();
  EXPECT_EQ(2, Column("speed", 6));
  db->Exec("UPDATE t_light_data SET status = 0 WHERE profile = 1");
  db->Exec("UPDATE t_light_data SET status = 1, mode = 300 WHERE profile = 1 AND mode = 22");
  link.m_lightMode = 300;
  page->RefreshLightPage();
  page->OnLightColorButton(160);
  page->OnLightBrightnessChanged();
}
