// The language switch in the real main window: with a language file of the test's own, whose
// text N reads "T<N>" (some with CJK, one with a surrogate pair), every title, tooltip, list
// item and tab caption of the window shows its text; the lists built from texts are made anew
// (layer lists, advanced keys, light modes); default profile and macro names take the new
// prefix while the store keeps the old names; a missing text or file leaves empty texts. The
// settings page's language list switches through the window's dispatch.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FileBytes.h"
#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "app/Language.h"
#include "app/pages/LightModes.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/ComboBoxBase.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MComboBox2.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MListBox.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MText.h"
#include "ui/core/MControlFont.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeySwitchCtrl.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/LightTypeTab.h"
#include "ui/keyboard/MListBoxEx.h"

using namespace TESK;

namespace {

// Language ids of the tests' own: a full file, one without text 17, and one with no file.
constexpr int kFullLanguage = 9911;
constexpr int kWithout17Language = 9912;
constexpr int kNoFileLanguage = 9913;
constexpr int kLastTextId = 2000;

// Text N of section "KB.DIALOG" in the test's files; "CAPTION" texts read "C<N>".
std::wstring FixtureText(int id) {
  std::wstring text = L"T" + std::to_wstring(id);
  if (id == 562) return text + L" \xD834\xDD1E";     // a character outside the basic plane
  if (id % 10 == 0) return text + L" \x8BBE\x7F6E";  // CJK
  return text;
}
std::wstring FixtureCaption(int id) { return L"C" + std::to_wstring(id); }

void WriteLanguageFile(int language, int missingId) {
  CreateDirectoryW(GetProgramFolder() + L"language", nullptr);
  std::wstring text = L"\xFEFF[CAPTION]\r\n";
  for (int id : {1, 2}) text += std::to_wstring(id) + L"=" + FixtureCaption(id) + L"\r\n";
  text += L"[KB.DIALOG]\r\n";
  for (int id = 1; id <= kLastTextId; ++id) {
    if (id != missingId) text += std::to_wstring(id) + L"=" + FixtureText(id) + L"\r\n";
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  testsupport::WriteFileBytes(std::wstring(LanguageFilePath(language)),
                              std::vector<uint8_t>(bytes, bytes + text.size() * sizeof(wchar_t)));
}

// ---- What every control shows after a switch, by kind ----

struct IdText {
  UINT id;
  int text;
};
struct ListTexts {
  UINT id;
  std::vector<int> items;  // item 0, 1, ...
};
struct TabTexts {
  UINT id;
  std::vector<std::pair<UINT, int>> captions;  // (tab item id, text)
};

// clang-format off
const IdText kTitles[] = {
    {79, 820}, {51, 900},
    {81, 100}, {84, 102},
    {96, 100}, {106, 130}, {107, 131}, {108, 132}, {110, 133},
    {182, 500}, {181, 1401}, {180, 1400}, {120, 100}, {123, 102}, {131, 600}, {134, 601}, {146, 602}, {136, 603},
    {138, 604}, {140, 605}, {135, 1802}, {191, 1800}, {192, 1801},
    {194, 622}, {197, 623}, {198, 624}, {200, 625},
    {315, 1402}, {316, 1403}, {313, 1401}, {312, 1400}, {259, 499}, {260, 526}, {258, 100}, {264, 102}, {314, 500},
    {269, 501}, {271, 505}, {272, 506}, {275, 508}, {277, 509}, {279, 510}, {281, 511}, {282, 512}, {283, 513},
    {285, 514}, {288, 515}, {290, 518}, {294, 517}, {296, 519}, {300, 520}, {302, 521}, {305, 522}, {306, 523},
    {308, 524}, {309, 525}, {276, 526},
    {323, 550}, {325, 551}, {327, 590}, {328, 591}, {330, 590}, {336, 552}, {338, 553}, {339, 554}, {341, 555},
    {342, 556}, {344, 557}, {345, 558}, {346, 559}, {347, 560}, {348, 561}, {349, 562}, {351, 563}, {353, 564},
    {354, 565}, {355, 566}, {358, 567}, {359, 568}, {360, 569}, {362, 570}, {365, 571}, {366, 572}, {367, 573},
    {368, 574}, {370, 575}, {372, 576}, {373, 577}, {374, 578}, {375, 579}, {376, 581}, {378, 582}, {364, 592},
    {333, 1000}, {334, 1001}, {381, 596},
    {217, 296}, {216, 297}, {215, 298}, {256, 299}, {212, 300}, {214, 301}, {219, 302}, {220, 303}, {221, 304},
    {222, 305}, {223, 306}, {227, 310}, {228, 311}, {229, 312}, {230, 31}, {231, 26}, {232, 27}, {233, 33},
    {234, 342}, {236, 316}, {237, 317}, {238, 318}, {239, 319}, {241, 320}, {242, 321}, {243, 322}, {245, 323},
    {255, 329}, {251, 335}, {252, 336}, {253, 337},
};
const IdText kTooltips[] = {
    {40, 3}, {45, 60}, {46, 61}, {47, 62}, {48, 63}, {49, 64},
    {83, 38}, {85, 103}, {86, 104}, {87, 105}, {89, 106}, {88, 107},
    {98, 38}, {99, 104}, {100, 105}, {102, 106}, {101, 107},
    {122, 38}, {124, 103}, {125, 105}, {127, 106}, {126, 107}, {183, 1700}, {184, 1701}, {185, 1702}, {186, 1703},
    {263, 38}, {264, 102}, {265, 103}, {268, 106}, {267, 107}, {289, 516}, {295, 516}, {301, 516},
    {246, 326}, {247, 327}, {248, 312}, {249, 324}, {208, 106}, {207, 107},
};
// The debounce list (54) keeps its three items: the text meant for a fourth has no item.
const ListTexts kItems[] = {
    {53, {70, 71, 72}}, {54, {75, 76, 77}}, {55, {80, 81, 82, 83}}, {56, {85, 86}},
    {90, {108, 109, 110}}, {92, {120, 121, 122, 123, 124, 125, 126}},
    {103, {108, 109, 110}},
    {199, {637, 631, 632, 633, 634, 638, 635, 626, 627, 628, 629, 630}},
    {270, {502, 503, 504}},
    {352, {580}},
    {218, {302, 303}}, {226, {307, 308, 309}},
};
const TabTexts kTabs[] = {
    {67, {{1, 51}, {7, 52}, {2, 53}, {3, 54}, {4, 55}, {6, 56}}},
    {188, {{0, 1750}, {1, 1751}}},
    {317, {{0, 1604}, {1, 1605}, {2, 1606}}},
};
// clang-format on

std::wstring Str(const CString& text) { return text.GetString(); }

// The item count and item texts of a list control of the window's kinds.
std::vector<std::wstring> ItemTexts(MControl* control) {
  std::vector<std::wstring> texts;
  if (auto* combo = dynamic_cast<ComboBoxBase*>(control)) {
    for (int i = 0; i < combo->GetItemCount(); ++i) texts.push_back(Str(combo->GetItemText(i)));
  } else if (auto* layers = dynamic_cast<KeyLayerCtrl*>(control)) {
    for (int i = 0; i < layers->GetItemCount(); ++i) texts.push_back(Str(layers->GetItemText(i)));
  } else if (auto* types = dynamic_cast<KeyTypeTab*>(control)) {
    for (int i = 0; i < types->GetItemCount(); ++i) texts.push_back(Str(types->GetItemText(i)));
  }
  return texts;
}

std::wstring TabCaption(MControl* control, UINT itemId) {
  auto* tabs = dynamic_cast<MTabCtrl*>(control);
  for (int i = 0; tabs && i < tabs->GetItemCount(); ++i) {
    if (tabs->GetItemID(i) == itemId) return Str(tabs->GetItemInfo(i)->text);
  }
  return L"(no tab " + std::to_wstring(itemId) + L")";
}

class LanguageSwitchTest : public testsupport::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    m_savedLanguage = CurrentLanguage.load();
    WriteLanguageFile(kFullLanguage, 0);
    WriteLanguageFile(kWithout17Language, 17);
    DeleteFileW(LanguageFilePath(kNoFileLanguage));
  }
  void TearDown() override {
    CurrentLanguage = m_savedLanguage;
    MainWindowFixture::TearDown();
    DeleteFileW(LanguageFilePath(kFullLanguage));
    DeleteFileW(LanguageFilePath(kWithout17Language));
  }

  // Connected, with the worker stopped so that nothing it posts rebuilds a list meanwhile.
  KeyboardDlg& ConnectedAndStill() {
    Connected();
    EXPECT_TRUE(Settle());
    StopAndDrain();
    testsupport::PumpFor(100);
    return *m_dlg;
  }
  void Switch(int language, const wchar_t* exitMode = L"0") {
    device.WriteValue(L"exit_mode", exitMode);
    CurrentLanguage = language;
    m_dlg->ApplyLanguageTexts();
  }

  // Every title, tooltip, item and tab caption of the tables that differs from `text` of its id,
  // as "id: what shows (what was expected)".
  std::vector<std::wstring> Differences(const std::function<std::wstring(int)>& text) {
    KeyboardDlg& dlg = *m_dlg;
    std::vector<std::wstring> found;
    const auto check = [&](UINT id, const std::wstring& what, const std::wstring& shown, const std::wstring& expected) {
      if (shown != expected)
        found.push_back(std::to_wstring(id) + L" " + what + L": " + shown + L" (" + expected + L")");
    };
    for (const IdText& row : kTitles) {
      auto* control = dynamic_cast<MControlFont*>(dlg.GetControl(row.id));
      check(row.id, L"title", control ? Str(control->GetTitle()) : L"(none)", text(row.text));
    }
    for (const IdText& row : kTooltips) {
      MControl* control = dlg.GetControl(row.id);
      check(row.id, L"tooltip", control ? Str(control->GetTooltip()) : L"(none)", text(row.text));
    }
    for (const ListTexts& row : kItems) {
      std::vector<std::wstring> shown = ItemTexts(dlg.GetControl(row.id));
      shown.resize(std::max(shown.size(), row.items.size()), L"(no item)");
      for (size_t i = 0; i < row.items.size(); ++i)
        check(row.id, L"item " + std::to_wstring(i), shown[i], text(row.items[i]));
    }
    for (const TabTexts& row : kTabs) {
      for (const auto& [item, textId] : row.captions) {
        check(row.id, L"tab " + std::to_wstring(item), TabCaption(dlg.GetControl(row.id), item), text(textId));
      }
    }
    for (int i = 0; i < 4; ++i) {
      check(276, L"switch " + std::to_wstring(i), Str(dlg.m_keyStroke->GetSwitchName(i)), text(1450 + i));
      check(321, L"switch " + std::to_wstring(i), Str(dlg.m_keySwitch->GetSwitchName(i)), text(1450 + i));
    }
    check(38, L"tooltip", Str(dlg.m_btnClose->GetTooltip()), text(17));
    check(57, L"title", Str(dlg.m_textFnLayer->GetTitle()), text(94));
    return found;
  }

  int m_savedLanguage = 1033;
};

TEST_F(LanguageSwitchTest, EveryControlShowsItsTextOfTheNewLanguage) {
  KeyboardDlg& dlg = ConnectedAndStill();
  ASSERT_EQ(0, dlg.m_deviceProfile.load());
  Switch(kFullLanguage);
  EXPECT_EQ(std::vector<std::wstring>{}, Differences(FixtureText));
  EXPECT_EQ(FixtureCaption(2), Str(dlg.m_textAppCaption->GetTitle())) << "section CAPTION";
  EXPECT_EQ(3, dlg.m_comboDebounce->GetItemCount()) << "no fourth item is added";

  // A tooltip follows exit_mode; a file lacking the text leaves the close button without one.
  const struct {
    int language;
    const wchar_t* exitMode;
    std::wstring tooltip;
  } closeCases[] = {
      {kFullLanguage, L"1", FixtureText(16)},
      {kWithout17Language, L"1", FixtureText(16)},
      {kWithout17Language, L"0", L""},
  };
  for (const auto& c : closeCases) {
    Switch(c.language, c.exitMode);
    EXPECT_EQ(c.tooltip, Str(dlg.m_btnClose->GetTooltip())) << c.language << " exit_mode " << c.exitMode;
  }
}

TEST_F(LanguageSwitchTest, WithoutALanguageFileEveryTextIsEmpty) {
  KeyboardDlg& dlg = ConnectedAndStill();
  Switch(kFullLanguage);
  Switch(kNoFileLanguage);
  EXPECT_EQ(std::vector<std::wstring>{}, Differences([](int) { return std::wstring(); }));
  EXPECT_EQ(L"", Str(dlg.m_textAppCaption->GetTitle()));
  EXPECT_EQ(L" 0 ", Str(dlg.m_keyLayerShell->GetItemText(0))) << "the layer caption's number alone";
}

// The layer lists hold the on-board profile's four layers, the shown layer selected; the
// advanced-key page's list then has its first three items renamed like the key page's.
TEST_F(LanguageSwitchTest, TheLayerListsAreMadeForTheOnBoardProfile) {
  KeyboardDlg& dlg = ConnectedAndStill();
  const auto layer = [](int n) { return FixtureText(1903) + L" " + std::to_wstring(n) + L" " + FixtureText(98); };
  const struct {
    int deviceProfile, fnLayer;
    std::vector<std::pair<int, std::wstring>> shell, adv;  // (id, caption)
  } cases[] = {
      {1,
       5,
       {{4, layer(4)}, {5, layer(5)}, {6, layer(6)}, {7, layer(7)}},
       {{4, FixtureText(108)}, {5, FixtureText(109)}, {6, FixtureText(110)}, {7, layer(7)}}},
      {2,
       8,
       {{8, layer(8)}, {9, layer(9)}, {10, layer(10)}, {11, layer(11)}},
       {{8, FixtureText(108)}, {9, FixtureText(109)}, {10, FixtureText(110)}, {11, layer(11)}}},
      {5, 0, {}, {}},
      {-1, 0, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.deviceProfile);
    dlg.m_deviceProfile = c.deviceProfile;
    dlg.m_fnLayer = c.fnLayer;
    Switch(kFullLanguage);
    const auto listed = [](KeyLayerCtrl* strip) {
      std::vector<std::pair<int, std::wstring>> items;
      for (int i = 0; i < strip->GetItemCount(); ++i)
        items.emplace_back(strip->GetItemID(i), Str(strip->GetItemText(i)));
      return items;
    };
    EXPECT_EQ(c.shell, listed(dlg.m_keyLayerShell));
    EXPECT_EQ(c.adv, listed(dlg.m_keyLayerAdv));
    if (!c.shell.empty()) {
      EXPECT_EQ(c.fnLayer, dlg.m_keyLayerShell->GetSelectKeyLayerID());
      EXPECT_EQ(c.fnLayer, dlg.m_keyLayerAdv->GetSelectKeyLayerID());
    }
    EXPECT_EQ(FixtureText(c.deviceProfile == 1   ? 95
                          : c.deviceProfile == 2 ? 96
                                                 : 94),
              Str(dlg.m_textFnLayer->GetTitle()));
  }
}

TEST_F(LanguageSwitchTest, TheAdvancedKeyAndLightModeListsAreMadeFromTheStore) {
  KeyboardDlg& dlg = ConnectedAndStill();
  // A stale tile that the store does not hold, and one stored MT key on the shown layer.
  dlg.m_advKeyList->AddItem(L"stale", 15, L"", L"", L"", L"", 999);
  MAGNETIC_KEY_DATA adv;
  adv.profile = 1;
  adv.macro_type = 15;
  adv.key_value = 0x04;
  const int id = ConfigDatabase::Instance().InsertMagneticKey(adv);
  KEY_MACRO_DATA row;
  ASSERT_TRUE(ConfigDatabase::Instance().GetKeyMacro(0, 0x04, row));
  row.macro_type = 15, row.macro_value = id, row.macro_desc = L"MT";
  ConfigDatabase::Instance().UpdateKeyMacro(row);

  // The light modes of the current profile 2, of which two rows are gone and one is "off".
  RawDb db(DbFile().GetString());
  db.Exec(
      "DELETE FROM t_light_data WHERE profile = 2 AND light_id IN (SELECT light_id FROM t_light_data "
      "WHERE profile = 2 ORDER BY light_id LIMIT 2)");
  db.Exec(
      "UPDATE t_light_data SET mode = 255 WHERE light_id = (SELECT MAX(light_id) FROM t_light_data WHERE profile = 2)");
  std::vector<std::pair<int, std::wstring>> stored;
  for (const auto& r : db.Rows("SELECT mode, name FROM t_light_data WHERE profile = 2 ORDER BY light_id")) {
    if (std::stoi(r[0]) != LIGHT_MODE_OFF) stored.emplace_back(std::stoi(r[0]), FixtureText(std::stoi(r[1])));
  }
  ASSERT_GE(stored.size(), 2u);
  dlg.m_curProfile = 2;
  dlg.m_lightMode = stored[1].first;

  Switch(kFullLanguage);

  EXPECT_EQ(80, dlg.m_advKeyList->GetContentHeight()) << "one line of tiles";
  dlg.m_advKeyList->SetSelectValue(999);
  EXPECT_EQ(0, dlg.m_advKeyList->GetMacroValue()) << "the stale tile is gone";
  dlg.m_advKeyList->SetSelectValue(id);
  EXPECT_EQ(id, dlg.m_advKeyList->GetMacroValue());

  std::vector<std::pair<int, std::wstring>> listed, tabs;
  for (int i = 0; i < dlg.m_lightModeList->GetItemCount(); ++i) {
    listed.emplace_back(dlg.m_lightModeList->GetItemData(i), Str(dlg.m_lightModeList->GetItemText(i)));
  }
  for (int i = 0; i < dlg.m_lightTypeTab->GetLightCount(); ++i) {
    tabs.emplace_back(dlg.m_lightTypeTab->GetItemData(i), Str(dlg.m_lightTypeTab->GetItemText(i)));
  }
  EXPECT_EQ(stored, listed);
  EXPECT_EQ(stored, tabs);
  EXPECT_EQ(stored[1].first, dlg.m_lightModeList->GetCurData());
  EXPECT_EQ(stored[1].first, dlg.m_lightTypeTab->GetCurData());
}

// Default names take the new language's prefix in every profile list and in the macro list;
// names of the user's own stay, and the store keeps every name as it was.
TEST_F(LanguageSwitchTest, DefaultProfileAndMacroNamesTakeTheNewPrefixOnlyInTheLists) {
  KeyboardDlg& dlg = ConnectedAndStill();
  RawDb db(DbFile().GetString());
  const std::vector<std::wstring> profileNames = {L"Profile 2", L"配置方案 3", L"Mine"};
  const std::vector<std::wstring> macroNames = {L"New Macro 3", L"新建巨集 2", L"新建宏 1", L"M 4", L"New Macros"};
  const auto names = [&](const std::string& sql) {
    std::vector<std::string> rows;
    for (const auto& r : db.Rows(sql)) rows.push_back(r[0]);
    return rows;
  };
  // The key page's list drives all five; another list's differing text is overwritten.
  for (MComboBox* combo : dlg.BuiltProfileCombos()) {
    combo->DelAllItems();
    for (size_t i = 0; i < profileNames.size(); ++i) {
      const std::wstring text = combo == dlg.m_comboProfileAdv && i == 2 ? L"Profile 9" : profileNames[i];
      combo->AddItem(text.c_str(), static_cast<long>(i + 1), nullptr, Gdiplus::Color(0));
    }
  }
  db.Exec("DELETE FROM t_macro_data");
  for (const std::wstring& name : macroNames) ConfigDatabase::Instance().CreateMacro(name.c_str());
  dlg.FillMacroList();
  const std::vector<std::string> storedProfiles = names("SELECT name FROM t_profile_data ORDER BY profile");
  const std::vector<std::string> storedMacros = names("SELECT name FROM t_macro_data ORDER BY macro_id");

  Switch(kFullLanguage);

  const std::wstring profile = FixtureText(101), macro = FixtureText(331);
  ASSERT_EQ(5u, dlg.BuiltProfileCombos().size());
  for (MComboBox* combo : dlg.BuiltProfileCombos()) {
    EXPECT_EQ((std::vector<std::wstring>{profile + L" 2", profile + L" 3", L"Mine"}), ItemTexts(combo))
        << combo->GetControlID();
  }
  std::vector<std::wstring> macros;
  for (int i = 0; i < dlg.m_macroList->GetItemCount(); ++i) macros.push_back(Str(dlg.m_macroList->GetItemText(i)));
  EXPECT_EQ((std::vector<std::wstring>{macro + L" 3", macro + L" 2", macro + L" 1", L"M 4", macro + L"s"}), macros);

  EXPECT_EQ(storedProfiles, names("SELECT name FROM t_profile_data ORDER BY profile"));
  EXPECT_EQ(storedMacros, names("SELECT name FROM t_macro_data ORDER BY macro_id"));
}

// The settings page's language list: the chosen language is current, remembered and shown.
TEST_F(LanguageSwitchTest, ChoosingALanguageInTheListSwitchesAndRemembersIt) {
  KeyboardDlg& dlg = ConnectedAndStill();
  std::vector<std::wstring> labels;
  for (long language : {2052L, 1033L}) {
    SCOPED_TRACE(language);
    const int index = dlg.m_comboLanguage->FindData(language);
    ASSERT_LE(0, index);
    dlg.m_comboLanguage->SetCurSel(index);
    EXPECT_EQ(1, dlg.m_comboLanguage->SendMessageW(NOTIFY_CLICKED, index, 0));
    EXPECT_EQ(language, CurrentLanguage.load());
    CString stored;
    EXPECT_TRUE(device.ReadValue(L"LCID", &stored));
    EXPECT_EQ(std::to_wstring(language), Str(stored));
    EXPECT_EQ(Str(LoadLanString(L"KB.DIALOG", 562)), Str(dlg.m_textLanguage->GetTitle()));
    EXPECT_EQ(Str(LoadLanString(L"KB.DIALOG", 56)), TabCaption(dlg.m_tabMain, 6));
    labels.push_back(Str(dlg.m_textLanguage->GetTitle()));
  }
  EXPECT_NE(labels[0], labels[1]) << "the shipped languages differ";
}

}  // namespace
