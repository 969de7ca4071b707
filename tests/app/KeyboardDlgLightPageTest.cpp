// The lighting page in the real main window: its controls as built and placed, the page's
// notifications through the window's dispatch, and what reaches the store (read with raw SQL)
// and the simulated keyboard's memory (configuration bytes 8 to 16, the colour area).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <map>
#include <set>
#include <thread>
#include <atomic>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "TempFolder.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/pages/LightModes.h"
#include "app/pages/MusicStyles.h"
#include "device/HidDeviceManager.h"
#include "simkeyboard/SimKeyboard.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/keyboard/LightTypeTab.h"

using namespace TESK;

namespace {

std::string N(long long value) { return std::to_string(value); }

class LightPageWindowTest : public testsupport::MainWindowFixture {
 protected:
  // Connected, with the lighting page shown as the user opens it.
  KeyboardDlg& OnLightingPage() {
    keyboard = &Connected();
    KeyboardDlg& dlg = *m_dlg;
    dlg.m_tabMain->SetSelectItem(kLightTabIndex);
    EXPECT_TRUE(WaitIdle());
    db = std::make_unique<RawDb>(DbFile().GetString());
    TakeAppended();
    return dlg;
  }
  // The mode chosen on the tabs, as a click on the tab does.
  void ChooseMode(int mode) {
    m_dlg->m_lightTypeTab->SetCurData(mode);
    Notify(m_dlg->m_lightTypeTab);
  }
  void Notify(MControl* control, UINT code = NOTIFY_CLICKED) {
    ASSERT_NE(nullptr, control);
    control->SendMessageW(code, 0, 0);
    EXPECT_TRUE(WaitIdle());
    testsupport::PumpFor(50);  // the refreshes the tasks posted
  }
  // Bytes 8 to 16 of the on-board profile's configuration block.
  std::vector<int> LightBytes(int deviceProfile = 0) {
    const simkb::Bytes config = keyboard->Read(simkb::Area::Config);
    std::vector<int> bytes;
    for (int i = 8; i <= 16; ++i) bytes.push_back(config[static_cast<size_t>(deviceProfile * 64 + i)]);
    return bytes;
  }
  // The colour of a key in the keyboard's colour area as 0xRRGGBB; -1 for a key it has no
  // place for.
  int DeviceColor(int code, int deviceProfile = 0) {
    const auto index = m_dlg->m_keyIndexByCode.find(code);
    if (index == m_dlg->m_keyIndexByCode.end()) return -1;
    const simkb::Bytes colors = keyboard->Read(simkb::Area::Colors);
    const size_t at = static_cast<size_t>(deviceProfile * 512 + 3 * index->second);
    return colors[at] << 16 | colors[at + 1] << 8 | colors[at + 2];
  }
  int Column(const std::string& column, int mode, int profile = 1) {
    return db->Number("SELECT " + column + " FROM t_light_data WHERE profile = " + N(profile) + " AND mode = " + N(mode));
  }
  std::string EnableLight(int profile = 1) {
    const auto rows =
        db->Rows("SELECT value FROM t_config_data WHERE profile = " + N(profile) + " AND key = 'enable_light'");
    return rows.empty() ? "no row" : rows[0][0];
  }
  std::map<int, int> KeyRows(int profile = 1) {
    std::map<int, int> rows;
    for (const auto& row :
         db->Rows("SELECT key_code, key_rgb FROM t_userlightrgb_data WHERE userlight_id = " + N(profile))) {
      rows[std::stoi(row[0])] = std::stoi(row[1]);
    }
    return rows;
  }
  std::map<int, COLORREF> PictureColors() {
    std::map<int, COLORREF> colors;
    for (const KEY_INFO* key : m_dlg->m_keyboardLight->GetKeyItems()) colors[key->key_code] = key->color;
    return colors;
  }
  // The key's box in window client coordinates: its layout rectangle moved by the picture's
  // offset, which is found once through the picture's own hit test on the key A.
  CRect KeyBox(int code) {
    KeyboardCtrl* picture = m_dlg->m_keyboardLight;
    std::map<int, CRect> layout;
    for (const KEY_INFO* key : picture->GetKeyItems()) layout[key->key_code] = key->rect;
    if (!offsetFound) {
      const CRect area = picture->GetRect(), a = layout.at(kProbeKey);
      CPoint hit(-1, -1);
      for (int y = area.top; y < area.bottom && hit.x < 0; y += 10) {
        for (int x = area.left; x < area.right && hit.x < 0; x += 10) {
          if (picture->GetKeyCodeByPoint(CPoint(x, y)) == kProbeKey) hit = CPoint(x, y);
        }
      }
      int left = hit.x, top = hit.y;
      while (picture->GetKeyCodeByPoint(CPoint(left - 1, hit.y)) == kProbeKey) --left;
      while (picture->GetKeyCodeByPoint(CPoint(hit.x, top - 1)) == kProbeKey) --top;
      offset = CPoint(left - a.left, top - a.top);
      offsetFound = true;
    }
    CRect box = layout.at(code);
    box.OffsetRect(offset.x, offset.y);
    return box;
  }
  // The window as drawn, as 0xRRGGBB pixels.
  std::unique_ptr<testsupport::DibSurface> Shot() {
    m_dlg->ShowWindow(SW_SHOW);
    RedrawWindow(m_dlg->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testsupport::PumpFor(300);
    auto surface = std::make_unique<testsupport::DibSurface>(kMainWidth, kMainHeight);
    EXPECT_TRUE(surface->CopyFromWindow(m_dlg->GetSafeHwnd()));
    return surface;
  }

  static constexpr int kLightTabIndex = 4;  // the strip's fifth tab, item id 4
  static constexpr int kProbeKey = 4;
  bool offsetFound = false;
  CPoint offset;
  simkb::Keyboard* keyboard = nullptr;
  std::unique_ptr<RawDb> db;
};

CRect RectOf(KeyboardDlg& dlg, UINT id) {
  MControl* control = dlg.GetControl(id);
  return control ? control->GetRect() : CRect(-1, -1, -1, -1);
}

}  // namespace

TEST_F(LightPageWindowTest, BuiltAndPlacedAtTheWindowSize) {
  KeyboardDlg& dlg = Open();
  const struct {
    UINT id;
    CRect rect;
  } places[] = {
      {119, CRect(280, 100, 1280, 480)},  {129, CRect(790, 532, 792, 845)},  {188, CRect(665, 495, 965, 535)},
      {189, CRect(180, 495, 1390, 850)},  {190, CRect(180, 495, 1390, 850)}, {133, CRect(190, 580, 570, 830)},
      {149, CRect(800, 800, 822, 830)},   {152, CRect(830, 802, 895, 826)},  {154, CRect(1030, 802, 1095, 826)},
      {125, CRect(1260, 70, 1290, 100)},  {128, CRect(180, 530, 1390, 532)}, {148, CRect(850, 580, 1030, 760)},
      {199, CRect(820, 710, 1100, 740)},  {201, CRect(820, 780, 1100, 820)},
  };
  for (const auto& place : places) EXPECT_EQ(place.rect, RectOf(dlg, place.id)) << place.id;
  // The swatches: a 5 x 5 grid of 30 px cells on a 40 px pitch, with their colours.
  for (int n = 0; n < kLightColorButtons; ++n) {
    const int x = 1130 + 40 * (n % 5), y = 580 + 40 * (n / 5);
    EXPECT_EQ(CRect(x, y, x + 30, y + 30), RectOf(dlg, 155 + n)) << 155 + n;
  }
  const std::map<UINT, COLORREF> swatches = {{155, 0x0CC0FF}, {157, 0x0505FF}, {167, 0xFFFFFF}, {179, 0xFF3704}};
  for (const auto& [id, color] : swatches) EXPECT_EQ(color, dlg.ColorButton(static_cast<int>(id))->GetColor()) << id;
  // The direction radios share two rectangles.
  for (UINT id : {141u, 143u, 183u, 185u}) EXPECT_EQ(CRect(320, 770, 373, 802), RectOf(dlg, id)) << id;
  for (UINT id : {142u, 144u, 184u, 186u}) EXPECT_EQ(CRect(400, 770, 453, 802), RectOf(dlg, id)) << id;

  // Starting states.
  EXPECT_EQ(L"255", dlg.m_editRed->GetEditText());
  EXPECT_EQ(L"0", dlg.m_editGreen->GetEditText());
  EXPECT_EQ(L"0", dlg.m_editBlue->GetEditText());
  const std::map<UINT, int> sliders = {{137, 50}, {139, 4}, {197, 3}, {201, 5}};
  for (const auto& [id, position] : sliders) {
    EXPECT_EQ(position, dynamic_cast<MSlider*>(dlg.GetControl(id))->GetProgress()) << id;
  }
  const std::vector<std::pair<int, long>> styles = {{637, 0},  {631, 6}, {632, 7}, {633, 8}, {634, 9}, {638, 11},
                                                     {635, 10}, {626, 1}, {627, 2}, {628, 3}, {629, 4}, {630, 5}};
  ASSERT_EQ(static_cast<int>(styles.size()), dlg.m_comboMusicColor->GetItemCount());
  for (int i = 0; i < static_cast<int>(styles.size()); ++i) {
    EXPECT_EQ(LoadLanString(L"KB.DIALOG", styles[i].first), dlg.m_comboMusicColor->GetItemText(i)) << i;
    EXPECT_EQ(styles[i].second, dlg.m_comboMusicColor->GetItemData(i)) << i;
  }
  EXPECT_EQ(0, dlg.m_comboMusicColor->GetCurSel());
  for (UINT id : {133u, 146u, 194u, 195u, 196u, 197u, 198u, 199u, 200u, 201u}) {
    EXPECT_FALSE(dlg.GetControl(id)->IsVisible()) << id;
  }

  // Laid out again at the same size, nothing moves.
  std::map<UINT, CRect> before;
  for (UINT id = 119; id <= 201; ++id) before[id] = RectOf(dlg, id);
  CRect client;
  GetClientRect(dlg.GetSafeHwnd(), &client);
  dlg.UISize(client);
  for (UINT id = 119; id <= 201; ++id) EXPECT_EQ(before[id], RectOf(dlg, id)) << id;

  // The arrows are one group, the in/out and rotation radios another.
  dlg.m_radioDirDown->SetCheck(1);
  dlg.m_radioDirIn->SetCheck(1);
  dlg.m_radioDirLeft->SetCheck(1);
  EXPECT_EQ(1, dlg.m_radioDirLeft->GetCheck());
  for (CRadioButton* cleared : {dlg.m_radioDirRight, dlg.m_radioDirUp, dlg.m_radioDirDown}) {
    EXPECT_EQ(0, cleared->GetCheck());
  }
  EXPECT_EQ(1, dlg.m_radioDirIn->GetCheck());
}

TEST_F(LightPageWindowTest, NewProfilesGetTheirModesAndTheTabsListThem) {
  KeyboardDlg& dlg = OnLightingPage();
  // Profile 1 took the keyboard's own light settings; the others keep a new profile's.
  for (int profile : {1, 2, 3}) {
    EXPECT_EQ(25, db->Number("SELECT COUNT(*) FROM t_light_data WHERE profile = " + N(profile))) << profile;
  }
  for (int profile : {2, 3}) {
    SCOPED_TRACE(profile);
    EXPECT_EQ(100, Column("brightness", 1, profile));
    EXPECT_EQ(4, Column("speed", 1, profile));
    EXPECT_EQ(1, db->Number("SELECT mode FROM t_light_data WHERE profile = " + N(profile) + " AND status = 1"));
  }
  // The model's brightness range reached the slider.
  EXPECT_EQ(4, dlg.m_sliderBrightness->GetMaxProgress());
  EXPECT_EQ(24, dlg.m_lightTypeTab->GetLightCount());
  for (int i = 0; i < dlg.m_lightTypeTab->GetLightCount(); ++i) EXPECT_NE(LIGHT_MODE_OFF, dlg.m_lightTypeTab->GetItemData(i));
  EXPECT_EQ(3, dlg.m_comboProfileLight->GetItemCount());
  EXPECT_EQ(1, dlg.m_comboProfileLight->GetCurData());
}

TEST_F(LightPageWindowTest, HandlersStoreAndWriteTheModeSettings) {
  KeyboardDlg& dlg = OnLightingPage();
  ChooseMode(6);  // brightness, speed, left/right, colour and colourful
  EXPECT_EQ(6, LightBytes()[0]);

  dlg.m_sliderBrightness->SetProgress(3);
  Notify(dlg.m_sliderBrightness);
  dlg.m_sliderSpeed->SetProgress(1);
  Notify(dlg.m_sliderSpeed);
  Notify(dlg.m_radioDirRight);
  EXPECT_EQ(3, Column("brightness", 6));
  EXPECT_EQ(1, Column("speed", 6));
  EXPECT_EQ(0, Column("direction", 6));
  std::vector<int> bytes = LightBytes();
  EXPECT_EQ((std::vector<int>{6, 3, 3, 0}), std::vector<int>(bytes.begin(), bytes.begin() + 4));

  // Unchecking colourful gives pure red; a swatch with colourful checked unchecks it.
  dlg.m_checkColorful->SetCheck(0);
  Notify(dlg.m_checkColorful);
  EXPECT_EQ(0, Column("colorful", 6));
  EXPECT_EQ(0x0000FF, Column("color_value", 6));
  EXPECT_EQ(L"255", dlg.m_editRed->GetEditText());
  dlg.m_checkColorful->SetCheck(1);
  Notify(dlg.m_checkColorful);
  Notify(dlg.ColorButton(165));
  EXPECT_EQ(0, dlg.m_checkColorful->GetCheck());
  EXPECT_EQ(0x00FF89, Column("color_value", 6));
  bytes = LightBytes();
  EXPECT_EQ((std::vector<int>{0, 0, 0x89, 0xFF, 0x00}), std::vector<int>(bytes.begin() + 4, bytes.end()))
      << "colourful, index, then the colour as R G B";

  // An edit above 255 is cut back and applied.
  dlg.m_editBlue->SetEditText(L"300");
  Notify(dlg.m_editBlue, NOTIFY_TEXTCHANGED);
  EXPECT_EQ(L"255", dlg.m_editBlue->GetEditText());
  EXPECT_EQ(0xFFFF89, Column("color_value", 6));

  // Off sends 0xFF and keeps the stored mode; on brings it back.
  dlg.m_switchLight->SetCheck(0);
  Notify(dlg.m_switchLight);
  EXPECT_EQ(0xFF, LightBytes()[0]);
  EXPECT_EQ("0", EnableLight());
  EXPECT_EQ(6, db->Number("SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1"));
  dlg.m_switchLight->SetCheck(1);
  Notify(dlg.m_switchLight);
  EXPECT_EQ(6, LightBytes()[0]);
  EXPECT_EQ("1", EnableLight());

  // Showing the lighting tab again writes the light once.
  dlg.m_tabMain->SetSelectItem(0);
  TakeAppended();
  dlg.m_tabMain->SetSelectItem(kLightTabIndex);
  EXPECT_EQ((std::vector<int>{TASK_WRITE_LIGHT}), TakeAppended());
}

TEST_F(LightPageWindowTest, UserModePaintsTheChosenKeysOnPictureStoreAndKeyboard) {
  KeyboardDlg& dlg = OnLightingPage();
  ChooseMode(LIGHT_MODE_USER);
  const std::vector<int> chosen = {4, 22, 44};  // A, S and the space bar
  for (int code : chosen) dlg.m_keyboardLight->SetKeyCheck(code, 1);
  const auto before = PictureColors();
  std::map<int, int> deviceBefore;
  for (const auto& key : before) deviceBefore[key.first] = DeviceColor(key.first);
  Notify(dlg.ColorButton(157));

  const auto picture = PictureColors();
  const auto rows = KeyRows();
  EXPECT_EQ(picture.size(), rows.size()) << "one row per key";
  for (int code : chosen) EXPECT_EQ(0xFF0505, DeviceColor(code)) << code;
  const auto shot = Shot();
  for (const auto& [code, color] : picture) {
    const bool painted = std::find(chosen.begin(), chosen.end(), code) != chosen.end();
    SCOPED_TRACE(code);
    EXPECT_EQ(painted ? 0x0505FFu : before.at(code), color);
    EXPECT_EQ(static_cast<int>(color), rows.at(code));
    EXPECT_EQ(painted ? 0xFF0505 : deviceBefore.at(code), DeviceColor(code));
  }
  for (int code : chosen) {
    const CRect box = KeyBox(code);
    EXPECT_EQ(0xFF0505u, shot->Pixel(box.left + 5, box.bottom - 5)) << code;
  }
  const COLORREF b = before.at(5);
  EXPECT_EQ(static_cast<DWORD>(GetRValue(b) << 16 | GetGValue(b) << 8 | GetBValue(b)),
            shot->Pixel(KeyBox(5).left + 5, KeyBox(5).bottom - 5))
      << "B keeps its colour";

  // In another mode the swatch is the mode's colour, stored and written.
  ChooseMode(2);
  Notify(dlg.ColorButton(157));
  EXPECT_EQ(0x0505FF, Column("color_value", 2));
  const std::vector<int> bytes = LightBytes();
  EXPECT_EQ((std::vector<int>{2, 0xFF, 0x05, 0x05}), (std::vector<int>{bytes[0], bytes[6], bytes[7], bytes[8]}));

  // The reset goes back to mode 1 without per-key rows; the modes keep their values.
  dlg.m_sliderBrightness->SetProgress(2);
  Notify(dlg.m_sliderBrightness);
  Notify(dlg.m_btnLightClear);
  EXPECT_EQ(1, db->Number("SELECT mode FROM t_light_data WHERE profile = 1 AND status = 1"));
  EXPECT_TRUE(KeyRows().empty());
  EXPECT_EQ(2, Column("brightness", 2));
  EXPECT_EQ(1, LightBytes()[0]);
}

TEST_F(LightPageWindowTest, APresetGoesToTheKeyboardsProfileEvenWhenAnotherIsCurrent) {
  KeyboardDlg& dlg = OnLightingPage();
  testsupport::TempFolder temp;
  const std::wstring file = temp.Path() + L"default_light.xml";
  std::ofstream(Utf8Of(file), std::ios::binary)
      << "<preconfig_prpfile><key_light2><item key_code=\"4\" key_rgb=\"#FF8000\"/>"
         "<item key_code=\"22\" key_rgb=\"#00FF00\"/></key_light2></preconfig_prpfile>";
  dlg.m_lightPage.SetPresetFile(file.c_str());
  const auto firstRows = KeyRows(1);

  // The keyboard is on its second on-board profile; a refresh left profile 1 current.
  keyboard->SetActiveProfile(1);
  dlg.m_deviceProfile = 1;
  dlg.m_curProfile = 1;
  PostMessageW(dlg.GetSafeHwnd(), WM_KB_LIGHT_MENU, 0, 203);
  testsupport::PumpFor(300);
  ASSERT_TRUE(WaitIdle());

  EXPECT_EQ((std::map<int, int>{{4, 0x0080FF}, {22, 0x00FF00}}), KeyRows(2));
  EXPECT_EQ(firstRows, KeyRows(1));
  EXPECT_EQ(0xFF8000, DeviceColor(4, 1));
  EXPECT_EQ(0x00FF00, DeviceColor(22, 1));
  EXPECT_EQ(0x0080FFu, PictureColors().at(4));
  EXPECT_EQ(0u, PictureColors().at(5));
  EXPECT_EQ(LIGHT_MODE_USER, LightBytes(1)[0]);
}

// The worker asks for the page's refreshes; they run on the window's thread, whole.
TEST_F(LightPageWindowTest, TheWorkersRefreshesRunOnTheWindowsThread) {
  KeyboardDlg& dlg = OnLightingPage();
  const int shownMode = dlg.m_lightTypeTab->GetCurData();
  ASSERT_NE(6, shownMode);
  db->Exec("UPDATE t_light_data SET status = 0 WHERE profile = 1");
  db->Exec("UPDATE t_light_data SET status = 1, brightness = 2 WHERE profile = 1 AND mode = 6");
  std::thread([&] { dlg.RefreshLightModeLists(); }).join();
  EXPECT_EQ(shownMode, dlg.m_lightTypeTab->GetCurData()) << "nothing changed off the window's thread";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return dlg.m_lightTypeTab->GetCurData() == 6; }, 5000));
  EXPECT_EQ(2, dlg.m_sliderBrightness->GetProgress());
  EXPECT_TRUE(dlg.m_radioDirLeft->IsVisible()) << "the mode's controls";

  db->Exec("UPDATE t_light_data SET brightness = 1 WHERE profile = 1 AND mode = 6");
  std::thread([&] { dlg.RefreshLightPage(); }).join();
  EXPECT_EQ(2, dlg.m_sliderBrightness->GetProgress()) << "nothing changed off the window's thread";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return dlg.m_sliderBrightness->GetProgress() == 1; }, 5000));
}

// ---- Music lighting ----

namespace {

class MusicLightingWindowTest : public LightPageWindowTest {
 protected:
  int MusicColumn(const std::string& column, int profile = 1) {
    return db->Number("SELECT " + column + " FROM t_musiclayer_data WHERE profile = " + N(profile));
  }
  // A control's value chosen as the user does, through the window's dispatch.
  void Choose(MComboBox* combo, long data) {
    ASSERT_GE(combo->SelectData(data), 0) << data;
    Notify(combo);
  }
  void Slide(MSlider* slider, int position) {
    slider->SetProgress(position);
    Notify(slider);
  }
  // A key's colour in the keyboard's last music frame, as 0xRRGGBB.
  int MusicAreaColor(int code) {
    const simkb::Bytes frame = keyboard->Read(simkb::Area::Music);
    const size_t at = 3 * static_cast<size_t>(m_dlg->m_keyIndexByCode.at(code));
    return frame[at] << 16 | frame[at + 1] << 8 | frame[at + 2];
  }
  // The usages on the key matrix that have a place in the keyboard's frames.
  std::vector<int> MatrixKeys() {
    std::vector<int> keys;
    for (int r = 0; r < m_dlg->m_rowCount; ++r) {
      for (int c = 0; c < m_dlg->m_colCount; ++c) {
        const int usage = m_dlg->m_keyMatrix[r][c];
        if (usage != 0 && m_dlg->m_keyIndexByCode.count(usage)) keys.push_back(usage);
      }
    }
    return keys;
  }
  static int MusicFramesSince(size_t mark) {
    int frames = 0;
    for (const simkb::Frame& frame : simkb::Bus::Get().FramesSince(mark)) frames += frame.command == CMD_WRITE_MUSIC_FRAME;
    return frames;
  }
};

TEST_F(MusicLightingWindowTest, SettingsShowTheProfilesRowAndReachTheVisualizerAndTheStore) {
  KeyboardDlg& dlg = OnLightingPage();
  Visualizer& visualizer = dlg.m_visualizer;
  // A new profile's settings, on the controls and in the visualizer; mode 1 keeps it paused.
  EXPECT_EQ(2, dlg.m_comboMusicMode->GetCurData());
  EXPECT_EQ(4, dlg.m_sliderMusicSensitivity->GetProgress());
  EXPECT_EQ(0, dlg.m_comboMusicColor->GetCurData());
  EXPECT_EQ(5, dlg.m_sliderMusicSpeed->GetProgress());
  EXPECT_EQ(2, visualizer.m_foreStyle);
  EXPECT_EQ(800, visualizer.m_gain);
  EXPECT_EQ(0, visualizer.m_backStyle);
  EXPECT_EQ(100, visualizer.m_backBrightness);
  EXPECT_FALSE(visualizer.m_active);
  EXPECT_FALSE(dlg.m_comboMusicMode->IsVisible());

  ChooseMode(LIGHT_MODE_MUSIC);
  TakeAppended();
  EXPECT_TRUE(visualizer.m_active);
  for (UINT id = 194; id <= 201; ++id) EXPECT_TRUE(dlg.GetControl(id)->IsVisible()) << id;

  Choose(dlg.m_comboMusicMode, 5);
  Slide(dlg.m_sliderMusicSensitivity, 1);
  Choose(dlg.m_comboMusicColor, 7);
  Slide(dlg.m_sliderMusicSpeed, 2);
  EXPECT_EQ((std::vector<int>{5, 1, 7, 2}), (std::vector<int>{MusicColumn("foremode"), MusicColumn("fore_amplitude"),
                                                              MusicColumn("backmode"), MusicColumn("backb_right")}));
  EXPECT_EQ(5, visualizer.m_foreStyle);
  EXPECT_EQ(200, visualizer.m_gain);
  EXPECT_EQ(7, visualizer.m_backStyle);
  EXPECT_EQ(40, visualizer.m_backBrightness);
  EXPECT_TRUE(visualizer.m_active);
  EXPECT_TRUE(TakeAppended().empty()) << "the music settings write nothing to the keyboard";

  // A refresh shows the stored row again; a stored sensitivity beyond the range is capped.
  db->Exec("UPDATE t_musiclayer_data SET fore_amplitude = 9 WHERE profile = 1");
  dlg.RefreshLightModeLists();
  testsupport::PumpFor(50);
  EXPECT_EQ(40, visualizer.m_backBrightness);
  EXPECT_EQ(2, dlg.m_sliderMusicSpeed->GetProgress());
  EXPECT_EQ(7, dlg.m_comboMusicColor->GetCurData());
  EXPECT_EQ(5, dlg.m_sliderMusicSensitivity->GetProgress());
  EXPECT_EQ(1000, visualizer.m_gain);
  EXPECT_TRUE(visualizer.m_active) << "still the music mode";

  ChooseMode(1);
  EXPECT_FALSE(visualizer.m_active);
  EXPECT_FALSE(dlg.m_comboMusicMode->IsVisible());
}

TEST_F(MusicLightingWindowTest, AFrameIsSampledPerKeyOntoThePictureAndTheKeyboardAndADarkOneIsNotSent) {
  KeyboardDlg& dlg = OnLightingPage();  // mode 1: the visualizer is paused and no frame goes out
  StopAndDrain();                       // this thread takes the worker's place
  Visualizer& visualizer = dlg.m_visualizer;
  // Every pixel its own colour: red = column, green = row, blue 1.
  for (int y = 0; y < kMusicHeight; ++y) {
    for (int x = 0; x < kMusicWidth; ++x) (*visualizer.m_drawFrame)[y][x] = 0x010000u | y << 8 | x;
  }
  visualizer.PublishFrame();
  // A matrix place with a usage the picture does not have changes nothing.
  int emptyRow = -1, emptyColumn = -1;
  for (int r = 0; r < dlg.m_rowCount && emptyRow < 0; ++r) {
    for (int c = 0; c < dlg.m_colCount && emptyRow < 0; ++c) {
      if (dlg.m_keyMatrix[r][c] == 0) emptyRow = r, emptyColumn = c;
    }
  }
  ASSERT_GE(emptyRow, 0);
  dlg.m_keyMatrix[emptyRow][emptyColumn] = 0xF0;
  const auto before = PictureColors();

  size_t mark = simkb::Bus::Get().Mark();
  dlg.SendMusicFrame();
  EXPECT_GT(LastBracketFrames(mark, CMD_WRITE_MUSIC_FRAME), 0);
  int columns[kMusicGridColumns], rows[kMusicGridRows];
  dlg.m_music.Grid(columns, rows);
  const auto picture = PictureColors();
  int sampled = 0;
  for (int r = 0; r < dlg.m_rowCount; ++r) {
    for (int c = 0; c < dlg.m_colCount; ++c) {
      const int usage = dlg.m_keyMatrix[r][c];
      if (usage == 0 || !picture.count(usage)) continue;
      ++sampled;
      EXPECT_EQ(0x010000u | rows[r] << 8 | columns[c], picture.at(usage)) << usage;
      if (dlg.m_keyIndexByCode.count(usage)) {
        EXPECT_EQ(columns[c] << 16 | rows[r] << 8 | 1, MusicAreaColor(usage)) << usage;
      }
    }
  }
  EXPECT_EQ(87, sampled) << "every key of the layout";
  EXPECT_EQ(before.size(), picture.size());
  EXPECT_FALSE(picture.count(0xF0));

  // Nothing above 1: shown, not sent.
  for (auto& row : *visualizer.m_drawFrame) std::fill(std::begin(row), std::end(row), 1u);
  visualizer.PublishFrame();
  mark = simkb::Bus::Get().Mark();
  dlg.SendMusicFrame();
  EXPECT_EQ(0, MusicFramesSince(mark));
  EXPECT_EQ(1u, PictureColors().at(kProbeKey));
}

TEST_F(MusicLightingWindowTest, TheMusicModeLightsTheKeyboardFromTheBackgroundAndStopsWithAnotherMode) {
  KeyboardDlg& dlg = OnLightingPage();
  ChooseMode(LIGHT_MODE_MUSIC);
  Choose(dlg.m_comboMusicColor, 6);  // white
  Slide(dlg.m_sliderMusicSpeed, 5);
  // Silence: the frames are the background alone, white at full brightness (254 a channel).
  const std::vector<int> keys = MatrixKeys();
  ASSERT_EQ(87u, keys.size());
  const bool lit = testsupport::PumpUntil(
      [&] { return std::all_of(keys.begin(), keys.end(), [&](int code) { return MusicAreaColor(code) == 0xFEFEFE; }); },
      2000);
  EXPECT_TRUE(lit);

  ChooseMode(1);
  testsupport::PumpFor(100);  // a frame sampled before the mode changed may still go out
  const size_t mark = simkb::Bus::Get().Mark();
  testsupport::PumpFor(400);
  EXPECT_EQ(0, MusicFramesSince(mark));
}

TEST_F(MusicLightingWindowTest, AKeyboardUnpluggedInAFrameLeavesTheWorkerFreeAndFramesResumeAfterItsReturn) {
  KeyboardDlg& dlg = OnLightingPage();
  ChooseMode(LIGHT_MODE_MUSIC);
  Choose(dlg.m_comboMusicColor, 6);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return MusicAreaColor(kProbeKey) == 0xFEFEFE; }, 2000));
  simkb::FaultRule unplug;
  unplug.kind = simkb::FaultKind::RemoveDevice;
  unplug.command = CMD_WRITE_MUSIC_FRAME;
  unplug.nth = 3;
  keyboard->AddFault(unplug);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return dlg.m_pageHome->IsVisible() != 0; }, 5000));
  EXPECT_TRUE(WaitIdle(3000)) << "the tasks the removal queued ran";

  keyboard->ClearFaults();
  keyboard->Write(simkb::Area::Music, 0, simkb::Bytes(384, 0));
  simkb::Bus::Get().Replug(*keyboard);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return InPagesState() && dlg.PendingTasks() == 0; }, 15000));
  EXPECT_EQ(LIGHT_MODE_MUSIC, dlg.m_lightMode.load()) << "the keyboard kept the music mode";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return MusicAreaColor(kProbeKey) == 0xFEFEFE; }, 3000))
      << "frames again, with the stored white background";
}

TEST_F(MusicLightingWindowTest, EveryFrameSampledWhileTheBackgroundFlipsIsOneWholePicture) {
  KeyboardDlg& dlg = OnLightingPage();
  Visualizer& visualizer = dlg.m_visualizer;
  visualizer.m_backBrightness = 100;
  visualizer.m_active = true;  // drawing, though mode 1 sends nothing to the keyboard
  visualizer.RequestCaptureRestart();  // wakes its thread from the idle wait
  std::atomic<bool> flipping{true};
  std::thread flipper([&] {
    for (int i = 0; flipping; ++i) {
      visualizer.m_backStyle = i % 2 ? 6 : 7;  // white, red
      Sleep(2);
    }
  });
  std::set<COLORREF> seen;
  int mixed = 0;
  std::vector<std::pair<int, COLORREF>> colors;
  for (int i = 0; i < 10000; ++i) {
    bool lit = false;
    ASSERT_TRUE(dlg.m_music.SampleFrame(colors, lit));
    ASSERT_FALSE(colors.empty());
    for (const auto& key : colors) mixed += key.second != colors.front().second;
    seen.insert(colors.front().second);
    if (i % 20 == 0) Sleep(1);  // the samples span many frames
  }
  flipping = false;
  flipper.join();
  visualizer.m_active = false;
  EXPECT_EQ(0, mixed);
  EXPECT_GE(seen.size(), 2u) << "both backgrounds were sampled";
}

}  // namespace

namespace {

// A stored colour (0x00BBGGRR) as the keyboard's colour area reads with DeviceColor (0xRRGGBB).
int AsDeviceColor(int stored) { return (stored & 0xFF) << 16 | (stored & 0xFF00) | (stored >> 16 & 0xFF); }

// Whether the keyboard took a frame of command since mark.
bool SentSince(size_t mark, int command) {
  for (const simkb::Frame& frame : simkb::Bus::Get().FramesSince(mark)) {
    if (frame.command == command) return true;
  }
  return false;
}

}  // namespace

TEST_F(LightPageWindowTest, AKeyboardThatStopsAnsweringItsConfigurationReadGetsNoWriteAndTheNextChangeWritesAll) {
  KeyboardDlg& dlg = OnLightingPage();
  ChooseMode(6);
  ASSERT_TRUE(Settle());
  const std::vector<int> before = LightBytes();
  const simkb::Bytes config = keyboard->Read(simkb::Area::Config);
  simkb::FaultRule silent;
  silent.kind = simkb::FaultKind::SuppressReply;
  silent.command = CMD_READ_CONFIG;
  silent.times = -1;
  keyboard->AddFault(silent);

  size_t mark = simkb::Bus::Get().Mark();
  const DWORD start = GetTickCount();
  dlg.m_sliderBrightness->SetProgress(2);
  Notify(dlg.m_sliderBrightness);
  EXPECT_LT(GetTickCount() - start, 2000u) << "the worker gave up on the read soon";
  EXPECT_TRUE(SentSince(mark, CMD_READ_CONFIG));
  EXPECT_FALSE(SentSince(mark, CMD_WRITE_CONFIG)) << "no block of zeros written over the keyboard's own bytes";
  EXPECT_EQ(config, keyboard->Read(simkb::Area::Config));
  EXPECT_EQ(2, Column("brightness", 6)) << "the store keeps the change";
  EXPECT_EQ(2, dlg.m_sliderBrightness->GetProgress());
  EXPECT_TRUE(InPagesState());

  // Answering again, the next change writes the mode with both values.
  keyboard->ClearFaults();
  mark = simkb::Bus::Get().Mark();
  dlg.m_sliderSpeed->SetProgress(1);
  Notify(dlg.m_sliderSpeed);
  EXPECT_TRUE(SentSince(mark, CMD_WRITE_CONFIG));
  std::vector<int> expected = before;
  expected[1] = 2, expected[2] = 3;
  EXPECT_EQ(expected, LightBytes());
  const simkb::Bytes after = keyboard->Read(simkb::Area::Config);
  for (size_t i = 0; i < 64; ++i) {
    if (i < 8 || i > 16) {
      EXPECT_EQ(config[i], after[i]) << "byte " << i << " of the block is the keyboard's own";
    }
  }
}

TEST_F(LightPageWindowTest, AKeyboardUnpluggedInTheColourWriteFreesTheWorkerAndIsShownAsItIsAfterItsReturn) {
  KeyboardDlg& dlg = OnLightingPage();
  ChooseMode(LIGHT_MODE_USER);
  ASSERT_TRUE(Settle());
  // One key the first two chunks carry and one that comes later.
  int early = 0, late = 0;
  for (const auto& [code, index] : dlg.m_keyIndexByCode) {
    if (!early && index < 30 && PictureColors().count(code)) early = code;
    if (!late && index > 60 && PictureColors().count(code)) late = code;
  }
  ASSERT_TRUE(early && late);
  const int lateBefore = DeviceColor(late);
  ASSERT_NE(0xFF0505, DeviceColor(early));
  ASSERT_NE(0xFF0505, lateBefore);
  simkb::FaultRule unplug;
  unplug.kind = simkb::FaultKind::RemoveDevice;
  unplug.command = CMD_WRITE_KEY_COLORS;
  unplug.nth = 3;
  keyboard->AddFault(unplug);

  dlg.m_keyboardLight->SetKeyCheck(early, 1);
  dlg.m_keyboardLight->SetKeyCheck(late, 1);
  dlg.ColorButton(157)->SendMessageW(NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ(0x0505FF, KeyRows().at(late)) << "stored before the write";
  ASSERT_TRUE(testsupport::PumpUntil([&] { return dlg.m_pageHome->IsVisible() != 0; }, 5000));
  const DWORD unplugged = GetTickCount();
  ASSERT_TRUE(WaitIdle(3000));
  EXPECT_LT(GetTickCount() - unplugged, 1500u) << "the worker is free soon after";
  EXPECT_EQ(0xFF0505, DeviceColor(early)) << "the first chunks arrived";
  EXPECT_EQ(lateBefore, DeviceColor(late)) << "the rest did not";

  // Back again, the keyboard is the master copy: store and picture show what it holds.
  keyboard->ClearFaults();
  simkb::Bus::Get().Replug(*keyboard);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return InPagesState() && dlg.PendingTasks() == 0; }, 15000));
  ASSERT_TRUE(Settle());
  dlg.m_tabMain->SetSelectItem(kLightTabIndex);
  ASSERT_TRUE(Settle());
  testsupport::PumpFor(100);
  const auto rows = KeyRows();
  EXPECT_EQ(0x0505FF, rows.at(early));
  for (const auto& [code, color] : rows) {
    if (DeviceColor(code) >= 0) {
      EXPECT_EQ(DeviceColor(code), AsDeviceColor(color)) << "stored " << code;
    }
  }
  for (const auto& [code, color] : PictureColors()) {
    if (DeviceColor(code) >= 0) {
      EXPECT_EQ(DeviceColor(code), AsDeviceColor(static_cast<int>(color))) << "shown " << code;
    }
  }
  EXPECT_EQ(LIGHT_MODE_USER, LightBytes()[0]);
}
