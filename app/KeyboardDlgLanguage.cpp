// The language switch: the language list of the settings page (350) makes the chosen language
// the current one and puts its texts on every control of the main window at once. Most texts
// are a control's title, tooltip, list item or tab caption and come from one table; the lists
// whose items are built from texts are rebuilt (layer lists, advanced keys, light modes) or
// renamed in place (the default names of profiles and macros) between the table's steps.
// Everything runs on the window's thread; the worker hands its own rebuilds of these lists to
// that thread, so they never interleave with a switch.
#include <cwchar>
#include <vector>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/MainWindowBuild.h"
#include "app/UserRegistry.h"
#include "device/DeviceBlocks.h"
#include "ui/controls/ComboBoxBase.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MListBox.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MText.h"
#include "ui/core/MControlFont.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/LightTypeTab.h"
#include "ui/keyboard/MListBoxEx.h"

using namespace TESK;
using mainwindow::CaptionText;
using mainwindow::Text;

namespace {

// What a row of the text table changes on its control.
enum class Put {
  Title,    // the control's title
  Caption,  // the control's title, from section "CAPTION"
  Tooltip,  // the control's tooltip
  Item,     // the text of list item `at` (an index beyond the list changes nothing)
  Tab,      // the caption of the tab whose item id is `at`
};

struct TextRow {
  int step;  // the rows of a step are applied together, in the order of the steps
  UINT id;
  Put put;
  int at;
  int textId;
};

constexpr Put T = Put::Title, C = Put::Caption, P = Put::Tooltip, I = Put::Item, B = Put::Tab;

// clang-format off
const TextRow kTextRows[] = {
    // Frame buttons.
    {2, 40, P, 0, 3}, {2, 45, P, 0, 60}, {2, 46, P, 0, 61}, {2, 47, P, 0, 62}, {2, 48, P, 0, 63}, {2, 49, P, 0, 64},
    // Device-setting lists. The debounce list has three items; its fourth row changes nothing.
    {3, 53, I, 0, 70}, {3, 53, I, 1, 71}, {3, 53, I, 2, 72},
    {3, 54, I, 0, 75}, {3, 54, I, 1, 76}, {3, 54, I, 2, 77}, {3, 54, I, 3, 78},
    {3, 55, I, 0, 80}, {3, 55, I, 1, 81}, {3, 55, I, 2, 82}, {3, 55, I, 3, 83},
    {3, 56, I, 0, 85}, {3, 56, I, 1, 86},
    {4, 79, T, 0, 820}, {4, 51, T, 0, 900},
    // Main tabs by item id.
    {6, 67, B, 1, 51}, {6, 67, B, 7, 52}, {6, 67, B, 2, 53}, {6, 67, B, 3, 54}, {6, 67, B, 4, 55}, {6, 67, B, 6, 56},
    // Key page.
    {7, 81, T, 0, 100}, {7, 84, T, 0, 102},
    {7, 83, P, 0, 38}, {7, 85, P, 0, 103}, {7, 86, P, 0, 104}, {7, 87, P, 0, 105}, {7, 89, P, 0, 106}, {7, 88, P, 0, 107},
    {7, 90, I, 0, 108}, {7, 90, I, 1, 109}, {7, 90, I, 2, 110},
    {7, 92, I, 0, 120}, {7, 92, I, 1, 121}, {7, 92, I, 2, 122}, {7, 92, I, 3, 123}, {7, 92, I, 4, 124},
    {7, 92, I, 5, 125}, {7, 92, I, 6, 126},
    // Advanced-key page.
    {9, 96, T, 0, 100},
    {9, 98, P, 0, 38}, {9, 99, P, 0, 104}, {9, 100, P, 0, 105}, {9, 102, P, 0, 106}, {9, 101, P, 0, 107},
    {9, 103, I, 0, 108}, {9, 103, I, 1, 109}, {9, 103, I, 2, 110},
    {9, 106, T, 0, 130}, {9, 107, T, 0, 131}, {9, 108, T, 0, 132}, {9, 110, T, 0, 133},
    // Lighting page.
    {12, 182, T, 0, 500}, {12, 181, T, 0, 1401}, {12, 180, T, 0, 1400}, {12, 120, T, 0, 100}, {12, 123, T, 0, 102},
    {12, 122, P, 0, 38}, {12, 124, P, 0, 103}, {12, 125, P, 0, 105}, {12, 127, P, 0, 106}, {12, 126, P, 0, 107},
    {12, 131, T, 0, 600}, {12, 134, T, 0, 601}, {12, 146, T, 0, 602}, {12, 136, T, 0, 603}, {12, 138, T, 0, 604},
    {12, 140, T, 0, 605},
    {12, 183, P, 0, 1700}, {12, 184, P, 0, 1701}, {12, 185, P, 0, 1702}, {12, 186, P, 0, 1703},
    {12, 135, T, 0, 1802},
    {12, 188, B, 0, 1750}, {12, 188, B, 1, 1751},
    {12, 191, T, 0, 1800}, {12, 192, T, 0, 1801},
    // Music controls.
    {13, 194, T, 0, 622}, {13, 197, T, 0, 623}, {13, 198, T, 0, 624}, {13, 200, T, 0, 625},
    {13, 199, I, 0, 637}, {13, 199, I, 1, 631}, {13, 199, I, 2, 632}, {13, 199, I, 3, 633}, {13, 199, I, 4, 634},
    {13, 199, I, 5, 638}, {13, 199, I, 6, 635}, {13, 199, I, 7, 626}, {13, 199, I, 8, 627}, {13, 199, I, 9, 628},
    {13, 199, I, 10, 629}, {13, 199, I, 11, 630},
    // Performance page.
    {14, 315, T, 0, 1402}, {14, 316, T, 0, 1403}, {14, 313, T, 0, 1401}, {14, 312, T, 0, 1400}, {14, 259, T, 0, 499},
    {14, 260, T, 0, 526}, {14, 258, T, 0, 100}, {14, 264, T, 0, 102},
    {14, 263, P, 0, 38}, {14, 264, P, 0, 102}, {14, 265, P, 0, 103},
    {14, 314, T, 0, 500},
    {14, 268, P, 0, 106}, {14, 267, P, 0, 107},
    {14, 269, T, 0, 501},
    {14, 270, I, 0, 502}, {14, 270, I, 1, 503}, {14, 270, I, 2, 504},
    {14, 271, T, 0, 505}, {14, 272, T, 0, 506}, {14, 275, T, 0, 508}, {14, 277, T, 0, 509}, {14, 279, T, 0, 510},
    {14, 281, T, 0, 511}, {14, 282, T, 0, 512}, {14, 283, T, 0, 513}, {14, 285, T, 0, 514}, {14, 288, T, 0, 515},
    {14, 289, P, 0, 516},
    {14, 290, T, 0, 518}, {14, 294, T, 0, 517},
    {14, 295, P, 0, 516},
    {14, 296, T, 0, 519}, {14, 300, T, 0, 520},
    {14, 301, P, 0, 516},
    {14, 302, T, 0, 521}, {14, 305, T, 0, 522}, {14, 306, T, 0, 523}, {14, 308, T, 0, 524}, {14, 309, T, 0, 525},
    {14, 276, T, 0, 526},
    {14, 317, B, 0, 1604}, {14, 317, B, 1, 1605}, {14, 317, B, 2, 1606},
    // Settings page. The two status texts go back to "not checked".
    {15, 323, T, 0, 550}, {15, 325, T, 0, 551}, {15, 327, T, 0, 590}, {15, 328, T, 0, 591}, {15, 330, T, 0, 590},
    {15, 336, T, 0, 552}, {15, 338, T, 0, 553}, {15, 339, T, 0, 554}, {15, 341, T, 0, 555}, {15, 342, T, 0, 556},
    {15, 344, T, 0, 557}, {15, 345, T, 0, 558}, {15, 346, T, 0, 559}, {15, 347, T, 0, 560}, {15, 348, T, 0, 561},
    {15, 349, T, 0, 562}, {15, 351, T, 0, 563},
    {15, 352, I, 0, 580},
    {15, 353, T, 0, 564}, {15, 354, T, 0, 565}, {15, 355, T, 0, 566}, {15, 358, T, 0, 567}, {15, 359, T, 0, 568},
    {15, 360, T, 0, 569}, {15, 362, T, 0, 570}, {15, 365, T, 0, 571}, {15, 366, T, 0, 572}, {15, 367, T, 0, 573},
    {15, 368, T, 0, 574}, {15, 370, T, 0, 575}, {15, 372, T, 0, 576}, {15, 373, T, 0, 577}, {15, 374, T, 0, 578},
    {15, 375, T, 0, 579}, {15, 376, T, 0, 581}, {15, 378, T, 0, 582},
    {15, 384, C, 0, 2},
    {15, 364, T, 0, 592}, {15, 333, T, 0, 1000}, {15, 334, T, 0, 1001}, {15, 381, T, 0, 596},
    // Macro page.
    {16, 217, T, 0, 296}, {16, 216, T, 0, 297}, {16, 215, T, 0, 298}, {16, 256, T, 0, 299}, {16, 212, T, 0, 300},
    {16, 214, T, 0, 301},
    {16, 218, I, 0, 302}, {16, 218, I, 1, 303},
    {16, 219, T, 0, 302}, {16, 220, T, 0, 303}, {16, 221, T, 0, 304}, {16, 222, T, 0, 305}, {16, 223, T, 0, 306},
    {16, 226, I, 0, 307}, {16, 226, I, 1, 308}, {16, 226, I, 2, 309},
    {16, 227, T, 0, 310}, {16, 228, T, 0, 311}, {16, 229, T, 0, 312}, {16, 230, T, 0, 31}, {16, 231, T, 0, 26},
    {16, 232, T, 0, 27}, {16, 233, T, 0, 33}, {16, 234, T, 0, 342}, {16, 236, T, 0, 316}, {16, 237, T, 0, 317},
    {16, 238, T, 0, 318}, {16, 239, T, 0, 319}, {16, 241, T, 0, 320}, {16, 242, T, 0, 321}, {16, 243, T, 0, 322},
    {16, 245, T, 0, 323},
    {16, 246, P, 0, 326}, {16, 247, P, 0, 327}, {16, 248, P, 0, 312}, {16, 249, P, 0, 324},
    {16, 255, T, 0, 329}, {16, 251, T, 0, 335}, {16, 252, T, 0, 336}, {16, 253, T, 0, 337},
    {16, 208, P, 0, 106}, {16, 207, P, 0, 107},
};
// clang-format on

constexpr int kLastStep = 17;
// The layer lists' captions: "<1903> <layer> <98>", four layers to an on-board profile.
constexpr int kLayerWordText = 1903, kLayerFnText = 98, kLayersPerProfile = 4;
constexpr int kProfileNameText = 101, kNewMacroText = 331;

// The list-item setter of the control's class; other classes have no items to rename.
void SetItemText(MControl* control, int index, const CString& text) {
  if (auto* combo = dynamic_cast<ComboBoxBase*>(control)) {
    combo->SetItemText(index, text);
  } else if (auto* layers = dynamic_cast<KeyLayerCtrl*>(control)) {
    layers->SetItemText(index, text);
  } else if (auto* types = dynamic_cast<KeyTypeTab*>(control)) {
    types->SetItemText(index, text);
  }
}

// The caption of every tab with that item id, written into the tab's record.
void SetTabCaption(MControl* control, UINT itemId, const CString& text) {
  auto* tabs = dynamic_cast<MTabCtrl*>(control);
  if (!tabs) return;
  for (int i = 0; i < tabs->GetItemCount(); ++i) {
    if (tabs->GetItemID(i) != itemId) continue;
    if (TabItemInfo* item = tabs->GetItemInfo(i)) item->text = text;
  }
}

void Apply(MControl* control, const TextRow& row) {
  switch (row.put) {
    case Put::Title:
    case Put::Caption:
      if (auto* titled = dynamic_cast<MControlFont*>(control)) {
        titled->SetTitle(row.put == Put::Caption ? CaptionText(row.textId) : Text(row.textId));
      }
      break;
    case Put::Tooltip:
      control->SetTooltip(Text(row.textId));
      break;
    case Put::Item:
      SetItemText(control, row.at, Text(row.textId));
      break;
    case Put::Tab:
      SetTabCaption(control, static_cast<UINT>(row.at), Text(row.textId));
      break;
  }
}

}  // namespace

CString KeyboardDlg::ReplaceNamePrefix(const CString& text, std::initializer_list<const wchar_t*> prefixes,
                                       const CString& replacement) {
  for (const wchar_t* prefix : prefixes) {
    const int length = static_cast<int>(wcslen(prefix));
    if (text.GetLength() >= length && text.Left(length) == prefix) return replacement + text.Mid(length);
  }
  return text;
}

int KeyboardDlg::OnLanguageChosen() {
  if (!m_comboLanguage) return 1;
  CurrentLanguage = static_cast<int>(m_comboLanguage->GetCurData());
  SetLanguageId(CurrentLanguage);
  ApplyLanguageTexts();
  return 1;
}

void KeyboardDlg::ApplyLanguageTexts() {
  for (int step = 1; step <= kLastStep; ++step) {
    for (const TextRow& row : kTextRows) {
      if (row.step != step) continue;
      if (MControl* control = GetControl(row.id)) Apply(control, row);
    }
    switch (step) {
      case 1:
        if (m_btnClose) {
          const bool hides = ReadRegistryInt(L"exit_mode") != 0;
          m_btnClose->SetTooltip(Text(hides ? mainwindow::kCloseHidesText : mainwindow::kCloseEndsText));
        }
        break;
      case 4:
        if (m_textFnLayer) m_textFnLayer->SetTitle(DeviceProfileCaption(m_deviceProfile));
        break;
      case 5:
        RelistKeyLayers();
        break;
      case 6:
        if (m_tabMain) m_tabMain->UpdateControl(1, 0);
        break;
      case 8:
        RenameListedProfiles();
        break;
      case 10:
        if (m_advKeyList) m_advKeyList->DeleteAllItems();
        m_keyPage.RefreshKeyCaptions();
        break;
      case 11:
        m_lightPage.ListLightModes(m_curProfile);
        if (m_lightModeList) m_lightModeList->SetCurData(m_lightMode);
        if (m_lightTypeTab) m_lightTypeTab->SetCurData(m_lightMode);
        break;
      case 12:
        if (m_tabLight) m_tabLight->UpdateControl(1, 0);
        break;
      case 14:
        NameSwitchTypes();
        if (m_tabPerf) m_tabPerf->UpdateControl(1, 0);
        break;
      case 17:
        RenameListedMacros();
        break;
      default:
        break;
    }
  }
}

void KeyboardDlg::RelistKeyLayers() {
  KeyLayerCtrl* const strips[] = {m_keyLayerShell, m_keyLayerAdv};
  for (KeyLayerCtrl* strip : strips) {
    if (strip) strip->ClearAllItems();
  }
  const int profile = m_deviceProfile;
  if (IsDeviceProfile(profile)) {
    // The texts are arguments of the format, never the format.
    const CString word = Text(kLayerWordText), fn = Text(kLayerFnText);
    for (int layer = kLayersPerProfile * profile; layer < kLayersPerProfile * (profile + 1); ++layer) {
      CString caption;
      caption.Format(L"%s %d %s", word.GetString(), layer, fn.GetString());
      for (KeyLayerCtrl* strip : strips) {
        if (strip) strip->AddKeyLayer(caption, layer);
      }
    }
  }
  // The strips keep showing the layer the pages show.
  for (KeyLayerCtrl* strip : strips) {
    if (strip) strip->SetSelectKeyLayer(m_fnLayer);
  }
  if (m_keyLayerShell) m_keyLayerShell->UpdateControl(1, 0);
}

void KeyboardDlg::RenameListedProfiles() {
  if (!m_comboProfileKeys) return;
  const CString name = Text(kProfileNameText);
  const std::vector<MComboBox*> combos = ProfileCombos();
  for (int i = 0; i < m_comboProfileKeys->GetItemCount(); ++i) {
    const CString text = ReplaceNamePrefix(m_comboProfileKeys->GetItemText(i), {L"配置方案", L"Profile"}, name);
    for (MComboBox* combo : combos) {
      if (combo) combo->SetItemText(i, text);
    }
  }
}

void KeyboardDlg::RenameListedMacros() {
  if (!m_macroList) return;
  const CString name = Text(kNewMacroText);
  for (int i = 0; i < m_macroList->GetItemCount(); ++i) {
    const CString text = m_macroList->GetItemText(i);
    const CString renamed = ReplaceNamePrefix(text, {L"New Macro", L"新建巨集", L"新建宏"}, name);
    if (renamed != text) m_macroList->ModifyItemString(i, renamed);
  }
}
