// The main window's frame, home page and dispatch in the test process: the control table
// after creation, the home page as drawn, the switch between the home and pages states as
// the simulated keyboard comes and goes, notifications sent as the controls send them, the
// device-change message and the device-setting lists read back from the store.
#include "app/KeyboardDlg.h"

#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/ProgramFolders.h"
#include "device/HidDeviceManager.h"
#include "simkeyboard/SimControl.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CTextButton.h"
#include "ui/controls/MComboBox2.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/Manager.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyLayerCtrl.h"

using simkb::Bus;

namespace {

constexpr DWORD kHomeFill = 0x1A191A;

struct ControlState {
  std::wstring className;
  CRect rect;
  int visible;
  bool operator==(const ControlState& other) const {
    return className == other.className && rect == other.rect && visible == other.visible;
  }
};

// Every control of the window with an id of the frame and the home page.
std::map<UINT, ControlState> ControlTable(KeyboardDlg& dlg) {
  std::map<UINT, ControlState> table;
  for (UINT id = 30; id <= 79; ++id) {
    if (TESK::MControl* control = dlg.GetControl(id)) {
      table[id] = {testsupport::ControlClassName(control), control->GetRect(), control->IsVisible()};
    }
  }
  return table;
}

// A pixel of a skin picture, as 0x00RRGGBB.
DWORD SkinPixel(const wchar_t* name, int x, int y) {
  Gdiplus::Bitmap bitmap((TESK::GetSkinFolder() + name).GetString());
  Gdiplus::Color colour;
  bitmap.GetPixel(x, y, &colour);
  return colour.GetValue() & 0xFFFFFF;
}

DWORD PicturePixel(TESK::MPicture* picture, int x, int y) {
  // The skin's pictures are bitmaps; GDI+ hands them out as images.
  auto* bitmap = static_cast<Gdiplus::Bitmap*>(picture->GetImage());
  if (!bitmap) return 0xFFFFFFFF;
  Gdiplus::Color colour;
  bitmap->GetPixel(x, y, &colour);
  return colour.GetValue() & 0xFFFFFF;
}

// The frame's cases run with the 68-key Lynt 65.
class KeyboardDlgFrameTest : public testsupport::MainWindowFixture {
 protected:
  static constexpr int kModel = 102;
};

TEST_F(KeyboardDlgFrameTest, WithoutAKeyboardTheFrameAndTheHomePageAreBuiltAndPlaced) {
  KeyboardDlg& dlg = Open();
  const std::map<UINT, ControlState> table = ControlTable(dlg);
  struct Row {
    UINT id;
    const wchar_t* className;
    CRect rect;
    int visible;
  };
  const CRect none;
  const Row placed[] = {
      {30, L"MPicture", {0, 0, 1400, 860}, 1},     {31, L"CRoundArea", {0, 0, 1400, 860}, 1},
      {32, L"CRoundArea", {180, 15, 1390, 65}, 1}, {34, L"CRoundArea", {0, 0, 170, 860}, 1},
      {36, L"CRoundArea", {180, 495, 1390, 845}, 1}, {37, L"MImageButton", {50, 30, 130, 110}, 1},
      {38, L"MImageButton", {1350, 25, 1380, 55}, 1}, {40, L"MImageButton", {1315, 25, 1345, 55}, 1},
      {57, L"MText", {20, 170, 170, 200}, 1},       {58, L"KeyLayerCtrl", {20, 210, 170, 330}, 1},
      {67, L"MTabCtrl", {240, 15, 1320, 65}, 0},   {69, L"MTabLayout", {180, 15, 1395, 855}, 0},
      {70, L"MTabLayout", {180, 15, 1395, 855}, 0}, {71, L"MTabLayout", {180, 15, 1395, 855}, 0},
      {72, L"MTabLayout", {180, 15, 1395, 855}, 0}, {73, L"MTabLayout", {180, 15, 1395, 855}, 0},
      {74, L"MTabLayout", {180, 15, 1395, 855}, 0}, {75, L"MTabLayout", {0, 0, 1400, 860}, 1},
      {76, L"CRoundArea", {0, 0, 1400, 860}, 1},    {60, L"CRoundArea", {0, 0, 180, 860}, 1},
      {64, L"MImageButton", {50, 30, 130, 110}, 1}, {59, L"MTabCtrl", {0, 200, 180, 380}, 1},
      {61, L"MTabLayout", {180, 70, 1395, 855}, 1}, {62, L"MTabLayout", {180, 70, 1395, 855}, 0},
      {63, L"MTabLayout", {180, 70, 1395, 855}, 0}, {77, L"MPicture", {566, 130, 816, 294}, 0},
      {78, L"MPicture", {612, 351, 790, 529}, 0},   {79, L"MText", {490, 400, 1090, 460}, 1},
      {65, L"MText", {200, 100, 300, 130}, 1},      {66, L"CTextButton", {300, 100, 500, 130}, 1},
  };
  for (const Row& row : placed) {
    SCOPED_TRACE(row.id);
    ASSERT_EQ(1u, table.count(row.id));
    EXPECT_EQ(std::wstring(row.className), table.at(row.id).className);
    EXPECT_EQ(row.rect, table.at(row.id).rect);
    EXPECT_EQ(row.visible, table.at(row.id).visible);
  }
  const std::map<UINT, const wchar_t*> neverPlaced = {
      {33, L"MText"},       {35, L"CRoundArea"},   {39, L"MImageButton"}, {42, L"MComboBox2"},
      {45, L"MImageButton"}, {46, L"MImageButton"}, {47, L"MImageButton"}, {48, L"CTextButton"},
      {49, L"CTextButton"}, {50, L"MPicture"},     {51, L"MText"},        {53, L"MComboBox2"},
      {56, L"MComboBox2"},  {68, L"CRoundArea"}};
  for (const auto& [id, className] : neverPlaced) {
    SCOPED_TRACE(id);
    ASSERT_EQ(1u, table.count(id)) << "created";
    EXPECT_EQ(std::wstring(className), table.at(id).className);
    EXPECT_EQ(none, table.at(id).rect);
  }
  EXPECT_EQ(46u, table.size()) << "ids 41, 43, 44 and 52 are nobody's; 54 and 55 are the settings page's";
  EXPECT_STREQ(LoadLanString(L"KB.DIALOG", 820).GetString(), dlg.m_textConnectState->GetTitle().GetString());
  EXPECT_EQ(0, dlg.m_btnLogo->IsEnabled()) << "the logo stays disabled";
  EXPECT_EQ(6, dlg.m_tabMain->GetItemCount());
  EXPECT_EQ(0, dlg.m_tabMain->GetSelectItem());
  EXPECT_EQ(3, dlg.m_comboTickRate->GetItemCount());
  EXPECT_EQ(0, dlg.m_comboTickRate->GetCurSel());

  dlg.UISize(CRect(0, 0, kMainWidth, kMainHeight));
  dlg.UISize(CRect(0, 0, kMainWidth, kMainHeight));
  EXPECT_TRUE(table == ControlTable(dlg)) << "placing twice gives the same table";
}

TEST_F(KeyboardDlgFrameTest, TheHomePageIsDrawnOverTheWholeWindowWithTheConnectionText) {
  KeyboardDlg& dlg = Open();
  testsupport::DibSurface surface(kMainWidth, kMainHeight);
  const CRect client(0, 0, kMainWidth, kMainHeight);
  dlg.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
  for (const POINT& free : {POINT{800, 700}, POINT{300, 300}, POINT{1200, 200}}) {
    EXPECT_EQ(kHomeFill, surface.Pixel(free.x, free.y)) << free.x << ", " << free.y;
  }
  const int background = surface.Count(490, 400, 1090, 460, kHomeFill);
  EXPECT_LT(background, 600 * 60 - 50) << "the connection text has ink in its rectangle";
}

TEST_F(KeyboardDlgFrameTest, TheKeyboardsArrivalShowsThePagesOnTheWindowsThreadAndItsRemovalTheHomePage) {
  Open();
  // The pictures must differ where the test looks.
  const POINT probe = {770, 473};
  ASSERT_NE(SkinPixel(L"main_bkg.png", probe.x, probe.y), SkinPixel(L"home_bkg.png", probe.x, probe.y));
  ASSERT_FALSE(InPagesState());

  simkb::Keyboard& keyboard = Plug(kModel);
  // The worker reads the keyboard and asks for the pages; nothing changes until this thread
  // handles the request.
  testsupport::WaitUntil([&] { return m_dlg->m_deviceReady.load() && m_dlg->PendingTasks() == 0; }, 15000);
  Sleep(300);
  EXPECT_FALSE(InPagesState()) << "changed outside the window's thread";
  ASSERT_TRUE(testsupport::PumpUntil([&] { return InPagesState(); }, 5000));
  EXPECT_EQ(m_dlg->m_curTabIndex.load(), m_dlg->m_tabMain->GetSelectItem());
  EXPECT_EQ(SkinPixel(L"main_bkg.png", probe.x, probe.y), PicturePixel(m_dlg->m_picBackground, probe.x, probe.y));

  Bus::Get().Unplug(keyboard);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return m_dlg->m_pageHome->IsVisible() != 0; }, 10000));
  testsupport::PumpUntil([&] { return m_dlg->PendingTasks() == 0; }, 5000);
  testsupport::PumpFor(200);
  EXPECT_FALSE(m_dlg->m_tabMain->IsVisible());
  EXPECT_STREQ(LoadLanString(L"KB.DIALOG", 820).GetString(), m_dlg->m_textConnectState->GetTitle().GetString());
  EXPECT_EQ(SkinPixel(L"home_bkg.png", probe.x, probe.y), PicturePixel(m_dlg->m_picBackground, probe.x, probe.y));
}

TEST_F(KeyboardDlgFrameTest, TheTickRateListStoresItsValueAndTheKeyboardGetsItInTheConfigurationBlock) {
  Connected(kModel);
  const size_t mark = Bus::Get().Mark();
  TakeAppended();
  m_dlg->m_comboTickRate->SetCurSel(2);
  EXPECT_EQ(1, m_dlg->m_comboTickRate->SendMessageW(TESK::NOTIFY_CLICKED, 2, 0));
  EXPECT_EQ((std::vector<int>{TASK_WRITE_SETTINGS}), TakeAppended());
  // The worker's write ends with the bracket's close.
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] {
        const auto frames = Bus::Get().FramesSince(mark);
        return !frames.empty() && frames.back().command == CMD_END;
      },
      5000));

  RawDb db(DbFile().GetString());
  EXPECT_EQ("2", db.Rows("SELECT value FROM t_config_data WHERE profile = 0 AND key = 'tick_rate'").at(0).at(0));
  const int reportRate = db.Number("SELECT value FROM t_config_data WHERE profile = 0 AND key = 'reporte_rate'");
  std::vector<int> commands;
  int written = -1;
  for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) {
    if (frame.command < 0) continue;
    commands.push_back(frame.command);
    if (frame.command == CMD_WRITE_CONFIG && frame.payload.size() > 4) written = frame.payload[4];
  }
  EXPECT_EQ((std::vector<int>{CMD_BEGIN, CMD_READ_CONFIG, CMD_WRITE_CONFIG, CMD_END}), commands);
  EXPECT_EQ(reportRate + 2 * 16, written);
}

TEST_F(KeyboardDlgFrameTest, NotificationsReachTheirHandlersByIdAndCode) {
  Connected(kModel);
  StopAndDrain();
  KeyboardDlg& dlg = *m_dlg;

  dlg.m_comboTachyonMode->SetCurSel(1);
  dlg.m_comboTachyonMode->SendMessageW(TESK::NOTIFY_CLICKED, 1, 0);
  CString stored;
  ASSERT_TRUE(ConfigDatabase::Instance().GetConfigValue(0, L"perf_tachyon_mode", stored));
  EXPECT_STREQ(L"1", stored.GetString());
  EXPECT_EQ((std::vector<int>{TASK_WRITE_SETTINGS}), StopAndDrain());

  // The strip's order and the page ids it stands for; entering and leaving the performance
  // page each write the settings once, entering the lighting page writes its light once; raw input is registered for the window only while the
  // advanced-key page is shown.
  const struct {
    int index, tab;
    size_t writes;
    bool rawInput;
  } tabs[] = {{1, 7, 1, false}, {2, 2, 1, true},  {3, 3, 0, false},
              {4, 4, 1, false}, {5, 6, 0, false}, {0, 1, 0, false}};
  dlg.m_tabMain->SetVisible(1);
  for (const auto& tab : tabs) {
    SCOPED_TRACE(tab.index);
    dlg.m_tabMain->SetSelectItem(tab.index);
    EXPECT_EQ(tab.tab, dlg.m_curTab.load());
    EXPECT_EQ(tab.index, dlg.m_curTabIndex.load());
    EXPECT_EQ(tab.writes, StopAndDrain().size());
    EXPECT_EQ(tab.rawInput ? dlg.GetSafeHwnd() : nullptr, dlg.m_rawInputToken);
  }

  dlg.m_pageHome->SetVisible(0);
  EXPECT_EQ(1, dlg.m_btnLogo->SendMessageW(TESK::NOTIFY_CLICKED, 0, 0));
  EXPECT_FALSE(dlg.m_tabMain->IsVisible());
  EXPECT_TRUE(dlg.m_pageHome->IsVisible());
  EXPECT_EQ(SkinPixel(L"home_bkg.png", 770, 473), PicturePixel(dlg.m_picBackground, 770, 473));

  EXPECT_EQ(0, dlg.OnMessage(999, TESK::NOTIFY_CLICKED, 0, 0));
  EXPECT_EQ(0, dlg.OnMessage(40, TESK::NOTIFY_PRESSED, 0, 0)) << "only a click acts";
  dlg.ShowWindow(SW_SHOW);
  EXPECT_EQ(1, dlg.m_btnMin->SendMessageW(TESK::NOTIFY_CLICKED, 0, 0));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return IsIconic(dlg.GetSafeHwnd()) != 0; }, 2000)) << "minimised";
}

TEST_F(KeyboardDlgFrameTest, OnlyInterfaceArrivalsAndRemovalsReachTheDeviceLink) {
  simkb::Keyboard& keyboard = Connected(kModel);
  StopAndDrain();
  HWND hwnd = m_dlg->GetSafeHwnd();
  const auto header = simkb::DeviceBroadcast(keyboard.ConfigPath());
  const auto lParam = reinterpret_cast<LPARAM>(header.data());
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  const struct {
    const char* name;
    WPARAM event;
    LPARAM header;
    std::vector<int> queued;
  } cases[] = {
      {"device nodes changed", DBT_DEVNODES_CHANGED, 0, {}},
      {"a volume", DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume), {}},
      {"no header", DBT_DEVICEARRIVAL, 0, {}},
      {"an interface arrives", DBT_DEVICEARRIVAL, lParam, {TASK_DEVICE_ARRIVED}},
      {"an interface goes", DBT_DEVICEREMOVECOMPLETE, lParam, {TASK_DEVICE_REMOVED}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(0, SendMessageW(hwnd, WM_DEVICECHANGE, c.event, c.header));
    EXPECT_EQ(c.queued, StopAndDrain());
  }
}

TEST_F(KeyboardDlgFrameTest, StoredDeviceSettingsSelectTheirListItems) {
  Connected(kModel);
  StopAndDrain();
  ConfigDatabase& store = ConfigDatabase::Instance();
  ASSERT_TRUE(store.SetConfigValue(0, L"tick_rate", L"1"));
  ASSERT_TRUE(store.SetConfigValue(0, L"perf_tachyon_mode", L"1"));
  m_dlg->RefreshDeviceSettings();
  EXPECT_EQ(1, m_dlg->m_comboTickRate->GetCurSel());
  EXPECT_EQ(1, m_dlg->m_comboTachyonMode->GetCurSel());
  ASSERT_TRUE(store.SetConfigValue(0, L"tick_rate", L"2"));
  m_dlg->RefreshDeviceSettings();
  EXPECT_EQ(2, m_dlg->m_comboTickRate->GetCurSel());
}

}  // namespace
