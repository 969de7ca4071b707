// The performance page's preset menu in the main window against the simulated Lynt 80: each
// preset reaches every key in the store and in the keyboard's block from keys of mixed types,
// modes and dead zones with none checked, and the page shows it; items that name no preset
// and a keyboard without a profile change nothing; the button opens the menu under itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "ModalScript.h"
#include "PerfPageFixture.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MText.h"
#include "ui/core/MControlFont.h"
#include "ui/core/MWindow.h"
#include "ui/core/MenuWnd.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"

using namespace TESK;
using namespace perftest;

namespace {

constexpr int kKeyD = 7;

struct Preset {
  int item;
  int mode, actuation, press, release;
  const wchar_t* pressText;  // shown with separate distances
  const wchar_t* releaseText;
};
const Preset kPresets[] = {
    {201, 1, 75, 5, 5, L"0.10mm", L"0.10mm"}, {202, 1, 50, 5, 5, L"0.10mm", L"0.10mm"},
    {203, 0, 90, 0, 0, nullptr, nullptr},     {204, 1, 10, 1, 1, L"0.02mm", L"0.02mm"},
    {206, 1, 16, 1, 2, L"0.02mm", L"0.04mm"},
};

class KeyboardDlgPerfPresetsTest : public PerfPageFixture {
 protected:
  // Keys of mixed switch types, modes and dead zones stored and written, and page values away
  // from every preset's: continuous and bottom rapid trigger on, separate distances.
  void MixKeys() {
    KeyboardCtrl* keys = m_dlg->m_keyboardPerf;
    keys->ResetAllItemCheck(0);
    keys->SetKeyPerfInfo(kKeyA, 2, 0x12, 30, 3, 7, 4, 10, 1);
    keys->SetKeyPerfInfo(kKeyS, 0, 0x20, 120, 9, 9, 0, 0, 0);
    keys->SetKeyPerfInfo(kKeyD, 4, 0x02, 60, 20, 30, 6, 6, 1);
    m_dlg->m_perfPage.SaveKeyPerf();
    const struct {
      const wchar_t* key;
      const wchar_t* value;
    } config[] = {{L"perf_continuerapidtrigger_mode", L"1"}, {L"perf_bottomrapidtrigger_mode", L"1"},
                  {L"perf_sensitivity_mode", L"0"},          {L"global_sensitivity_pos", L"33"},
                  {L"switch_type", L"2"},                    {L"perf_rapidtrigger_mode", L"1"}};
    for (const auto& value : config) ConfigDatabase::Instance().SetConfigValue(1, value.key, value.value);
    m_dlg->m_perfPage.RefreshPerfPage();
    ASSERT_TRUE(Settle());
    TakeAppended();
    ASSERT_EQ(1, m_dlg->m_switchContinuousRt->GetCheck());
    ASSERT_EQ(1, m_dlg->m_switchBottomRt->GetCheck());
  }
  LRESULT Choose(int item) { return SendMessageW(m_dlg->GetSafeHwnd(), WM_KB_PERF_MENU, 0, item); }
  static bool ConfigWritten(size_t mark) {
    const auto frames = Bus::Get().FramesSince(mark);
    return std::any_of(frames.begin(), frames.end(),
                       [](const simkb::Frame& frame) { return frame.command == CMD_WRITE_CONFIG; });
  }
};

TEST_F(KeyboardDlgPerfPresetsTest, EachPresetReachesEveryKeyInStoreAndKeyboardAndThePageShowsIt) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  for (const Preset& preset : kPresets) {
    SCOPED_TRACE(preset.item);
    ASSERT_NO_FATAL_FAILURE(MixKeys());
    const std::map<int, Block> before = StoredRows(db);
    ASSERT_EQ(87u, before.size());
    const size_t mark = Bus::Get().Mark();
    EXPECT_EQ(1, Choose(preset.item));
    EXPECT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), TakeAppended()) << "no settings write";
    ASSERT_TRUE(PerfWriteDone(mark));

    const std::map<int, Block> rows = StoredRows(db);
    for (const auto& [code, row] : rows) {
      const Block& old = before.at(code);
      EXPECT_EQ((Block{old[0], (old[1] & ~0xF) | preset.mode, preset.actuation, preset.press, preset.release, 0, 0, 0}),
                row)
          << "key " << code;
    }
    ExpectBlockHoldsRows(keyboard, rows);
    EXPECT_FALSE(ConfigWritten(mark));

    const std::string number[] = {std::to_string(preset.mode), std::to_string(preset.actuation),
                                  std::to_string(preset.press), std::to_string(preset.release)};
    EXPECT_EQ(number[0], Config(db, "perf_rapidtrigger_mode"));
    EXPECT_EQ(number[1], Config(db, "global_key_actuation"));
    EXPECT_EQ(number[2], Config(db, "global_rt1_pos"));
    EXPECT_EQ(number[3], Config(db, "global_rt2_pos"));
    EXPECT_EQ("0", Config(db, "perf_continuerapidtrigger_mode"));
    EXPECT_EQ("0", Config(db, "perf_bottomrapidtrigger_mode"));
    EXPECT_EQ("0", Config(db, "perf_sensitivity_mode"));
    EXPECT_EQ("33", Config(db, "global_sensitivity_pos"));
    EXPECT_EQ("2", Config(db, "switch_type"));

    EXPECT_EQ(0, dlg.m_switchContinuousRt->GetCheck());
    EXPECT_EQ(0, dlg.m_switchBottomRt->GetCheck());
    EXPECT_EQ(preset.mode, dlg.m_switchRapidTrigger->GetCheck());
    EXPECT_EQ(preset.actuation, dlg.m_keyStroke->GetCurKeyActuation());
    EXPECT_EQ(preset.mode, dlg.m_switchSensitivity->IsVisible()) << "the rapid-trigger group";
    EXPECT_EQ(preset.mode, dlg.m_sliderRtPress->IsVisible()) << "separate distances, with rapid trigger only";
    EXPECT_EQ(0, dlg.m_sliderSensitivity->IsVisible());
    if (preset.mode == 0) continue;
    EXPECT_EQ(preset.press, dlg.m_sliderRtPress->GetProgress());
    EXPECT_EQ(preset.release, dlg.m_sliderRtRelease->GetProgress());
    EXPECT_STREQ(preset.pressText, dlg.m_textRtPressValue->GetTitle().GetString());
    EXPECT_STREQ(preset.releaseText, dlg.m_textRtReleaseValue->GetTitle().GetString());
  }
}

TEST_F(KeyboardDlgPerfPresetsTest, ItemsWithoutAPresetAndAKeyboardWithoutProfileChangeNothing) {
  OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  ASSERT_NO_FATAL_FAILURE(MixKeys());
  const std::map<int, Block> rows = StoredRows(db);
  const auto config = db.Rows("SELECT profile, key, value FROM t_config_data ORDER BY profile, key");
  const size_t mark = Bus::Get().Mark();
  EXPECT_EQ(1, Choose(205));
  EXPECT_EQ(1, Choose(999));
  dlg.m_deviceProfile = -1;
  EXPECT_EQ(1, Choose(201));
  dlg.m_deviceProfile = 0;
  testsupport::PumpFor(300);
  EXPECT_TRUE(TakeAppended().empty());
  EXPECT_EQ(rows, StoredRows(db));
  EXPECT_EQ(config, db.Rows("SELECT profile, key, value FROM t_config_data ORDER BY profile, key"));
  EXPECT_TRUE(Bus::Get().FramesSince(mark).empty());
  EXPECT_EQ(1, dlg.m_switchContinuousRt->GetCheck());
}

TEST_F(KeyboardDlgPerfPresetsTest, TheProfileMenusItemsReachTheProfileOperations) {
  OnPerfPage();
  RawDb db(DbFile().GetString());
  ASSERT_EQ(3, db.Number("SELECT COUNT(*) FROM t_profile_data"));
  EXPECT_EQ(1, Choose(101)) << "a new profile";
  EXPECT_EQ(4, db.Number("SELECT COUNT(*) FROM t_profile_data"));
  EXPECT_EQ(4, m_dlg->m_comboProfilePerf->GetItemCount());
}

TEST_F(KeyboardDlgPerfPresetsTest, TheButtonOpensTheMenuUnderItWithTheWindowUsableAndItsFourthItemApplies204) {
  OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  RawDb db(DbFile().GetString());
  POINT expected = {1220, 100};
  ClientToScreen(dlg.GetSafeHwnd(), &expected);

  HWND menuWindow = nullptr;
  RECT menuRect = {};
  std::vector<std::wstring> captions;
  BOOL ownerEnabled = FALSE;
  testsupport::ModalScript script(nullptr, 5000);
  script.At(300, [&] {
    menuWindow = FindWindowW(L"MWindow", L"Menu Window");
    if (!menuWindow) return;
    GetWindowRect(menuWindow, &menuRect);
    ownerEnabled = IsWindowEnabled(dlg.GetSafeHwnd());
    auto* menu = dynamic_cast<MenuWnd*>(reinterpret_cast<MWindow*>(GetWindowLongPtrW(menuWindow, GWLP_USERDATA)));
    if (!menu) return;
    // The items from the top down.
    std::vector<std::pair<int, UINT>> order;
    for (UINT id = 200; id <= 210; ++id) {
      if (MControl* item = menu->GetControl(id)) order.emplace_back(item->GetRect().top, id);
    }
    std::sort(order.begin(), order.end());
    for (const auto& entry : order) {
      captions.push_back(std::to_wstring(entry.second) + L" " +
                         static_cast<MControlFont*>(menu->GetControl(entry.second))->GetTitle().GetString());
    }
    testsupport::ClickWindow(menuWindow, menu->GetControl(204)->GetRect().CenterPoint());
  });
  script.At(4000, [] {
    if (HWND open = FindWindowW(L"MWindow", L"Menu Window")) PostMessageW(open, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(1, dlg.m_btnPerfPresets->SendMessageW(NOTIFY_CLICKED, 0, 0));
  ASSERT_NE(nullptr, menuWindow) << "the menu was open";
  EXPECT_EQ(expected.x, menuRect.left);
  EXPECT_EQ(expected.y, menuRect.top);
  EXPECT_TRUE(ownerEnabled);
  const auto text = [](int id) { return std::wstring(LoadLanString(L"KB.DIALOG", id).GetString()); };
  EXPECT_EQ((std::vector<std::wstring>{L"201 " + text(261), L"202 " + text(262), L"203 " + text(263),
                                       L"204 " + text(264), L"206 " + text(266)}),
            captions);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Config(db, "global_key_actuation") == "10"; }, 3000))
      << "the chosen item comes back to the window";
  ASSERT_TRUE(Settle());
  for (const auto& [code, row] : StoredRows(db)) EXPECT_EQ((Block{row[0], 1, 10, 1, 1, 0, 0, 0}), row) << code;
}

}  // namespace
