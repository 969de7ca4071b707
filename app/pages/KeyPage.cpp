#include "app/pages/KeyPage.h"

#include "app/AppMessages.h"
#include "app/KeyboardDef.h"
#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "app/WaitDlg.h"
#include "app/pages/AdvKeyTiles.h"
#include "app/pages/KeyAssignment.h"
#include "app/pages/KeyValueListFill.h"
#include "app/pages/PageMenu.h"
#include "app/pages/UniqueName.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/KeyValueList.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

// Language texts of the preset menu (item id, text id).
const PageMenuItems kPresetMenuItems = {{LAYOUT_PRESET_STANDARD, 225}, {LAYOUT_PRESET_MAC, 226},
                                        {LAYOUT_PRESET_DVORAK, 227},   {LAYOUT_PRESET_COLEMAK, 228},
                                        {LAYOUT_PRESET_WORKMAN, 229}};
constexpr int kMessageBoxCancel = 2;

CString Text(int id) { return LoadLanString(L"KB.DIALOG", id); }

void SetCaption(TESK::KeyboardCtrl* picture, int keyCode, const CString& caption, int kind) {
  picture->SetKeyItemInfo(keyCode, caption, kind, caption);
}

}  // namespace

KeyPage::KeyPage(DeviceLink& link, KeyboardDef& controls, std::atomic<int>& curProfile)
    : m_link(link), m_controls(controls), m_curProfile(curProfile) {}

std::vector<TESK::KeyboardCtrl*> KeyPage::LayerPictures() const {
  std::vector<TESK::KeyboardCtrl*> pictures;
  for (TESK::KeyboardCtrl* picture :
       {m_controls.m_keyboardKeys, m_controls.m_keyboardAdv, m_controls.m_keyboardPerf, m_controls.m_keyboardLight}) {
    if (picture) pictures.push_back(picture);
  }
  return pictures;
}

std::vector<TESK::MComboBox*> KeyPage::ProfileCombos() const {
  std::vector<TESK::MComboBox*> combos;
  for (TESK::MComboBox* combo :
       {m_controls.m_comboProfileKeys, m_controls.m_comboProfileAdv, m_controls.m_comboProfilePerf,
        m_controls.m_comboProfileLight, m_controls.m_comboProfileMacro}) {
    if (combo) combos.push_back(combo);
  }
  return combos;
}

void KeyPage::WriteKeyMap() { m_link.AppendTask(TASK_WRITE_KEYMAP); }

// A layer's rows go in one transaction: a preset or a reset changes every key of the layer.
void KeyPage::StoreLayerRows(const std::vector<KEY_MACRO_DATA>& rows) {
  if (!rows.empty()) ConfigDatabase::Instance().UpdateKeyMacros(rows);
}

void KeyPage::CreateDefaultKeyMacros(int profile) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  TESK::KeyboardCtrl* picture = m_controls.m_keyboardKeys;
  if (!picture || store.CountKeyMacros(profile) != 0) return;
  std::vector<std::pair<int, CString>> keys;
  picture->EnterCriSec();
  for (const TESK::KEY_INFO* key : picture->GetKeyItems()) keys.emplace_back(key->key_code, key->name);
  picture->LeaveCriSec();
  if (keys.empty()) return;
  store.InsertKeyMacros(DefaultKeyRows(profile, keys));
}

int KeyPage::RefreshKeyCaptions() {
  const std::vector<TESK::KeyboardCtrl*> pictures = LayerPictures();
  for (TESK::KeyboardCtrl* picture : pictures) picture->ResetTipKey();
  KeyMacroList rows;
  ConfigDatabase::Instance().GetLayerKeyMacros(m_link.m_fnLayer, rows);
  for (const auto& row : rows) {
    for (TESK::KeyboardCtrl* picture : pictures) SetCaption(picture, row->key_code, row->macro_desc, row->macro_type);
  }
  for (TESK::KeyboardCtrl* picture : pictures) picture->UpdateControl(1, 0);

  const AdvKeyLayer advanced = ReadAdvKeyLayer(rows);
  if (TESK::KeyDKSCtrlEx* list = m_controls.m_advKeyList) {
    list->DeleteAllItems();
    for (const AdvKeyTile& tile : advanced.tiles) {
      if (tile.pair) {
        list->AddItem1(tile.caption, tile.caption2, tile.kind, tile.macroId, tile.detail, tile.macroId);
      } else {
        list->AddItem(tile.caption, tile.kind, tile.keys[0], tile.keys[1], tile.keys[2], tile.keys[3], tile.macroId);
      }
    }
  }
  // Advanced keys are drawn on the key pictures of the two key pages only.
  for (const AdvKeyCaption& caption : advanced.captions) {
    for (TESK::KeyboardCtrl* picture : {m_controls.m_keyboardKeys, m_controls.m_keyboardAdv}) {
      if (picture) SetCaption(picture, caption.keyCode, caption.caption, caption.kind);
    }
  }
  if (m_controls.m_keyboardAdv) m_controls.m_keyboardAdv->UpdateControl(1, 0);
  if (m_controls.m_advKeyCount) {
    CString count;
    count.Format(L"%02d", advanced.count);
    m_controls.m_advKeyCount->SetTitle(count);
  }
  return 1;
}

int KeyPage::ApplyKeyValueToKey() { return AssignFunction(Source::ListClick); }
int KeyPage::ApplyKeyFuncToKey() { return AssignFunction(Source::PickerClick); }
int KeyPage::OnKeyFunctionDropped() { return AssignFunction(Source::Drop); }

int KeyPage::AssignFunction(Source source) {
  TESK::KeyboardCtrl* keys = m_controls.m_keyboardKeys;
  if (!keys) return 0;
  int keyCode = 0;
  if (source == Source::Drop) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(m_link.GetMainWindowHandle(), &cursor);
    keyCode = keys->GetKeyCodeByPoint(CPoint(cursor.x, cursor.y));
  } else {
    keyCode = keys->GetCurrentKeyValue();
  }
  if (keyCode < 1) return 0;
  const int layer = m_link.m_fnLayer;
  if (IsLockedKey(layer, m_link.m_deviceProfile, keyCode)) return 1;

  bool stored = false;
  KEY_MACRO_DATA row = ReadKeyRow(layer, keyCode, &stored);
  const int group = source == Source::PickerClick || !m_controls.m_keyTypeTab
                        ? 0
                        : m_controls.m_keyTypeTab->GetSelectItem();
  if (group == 0) {
    int reserved = 0, code = 0, data = 0, extra = 0;
    CString label;
    if (!m_controls.m_keyFuncPicker || !m_controls.m_keyFuncPicker->GetCurItemData(reserved, code, data, extra, label)) {
      return 1;
    }
    SetPickerFunction(row, code, data, extra, label);
  } else {
    CString caption;
    if (!m_controls.m_keyValueList) return 1;
    const unsigned long value = m_controls.m_keyValueList->GetSelectKeyValue(caption);
    // Without a selected entry the list gives no caption: nothing to assign.
    if (caption.IsEmpty()) return 1;
    SetListFunction(row, group, static_cast<int>(value), caption);
  }
  if (source == Source::Drop && row.macro_desc.IsEmpty()) return 1;
  // A key without a row on this layer has nothing the keyboard would get: nothing changes.
  if (!stored) return 1;
  ConfigDatabase::Instance().UpdateKeyMacro(row);
  if (source == Source::ListClick) {
    SetCaption(keys, keyCode, row.macro_desc, row.macro_type);
    keys->UpdateControl(1, 0);
  } else {
    RefreshKeyCaptions();
  }
  WriteKeyMap();
  return 1;
}

void KeyPage::ResetKeyToDefault(int keyCode) {
  const int layer = m_link.m_fnLayer;
  KEY_MACRO_DATA row = ReadKeyRow(layer, keyCode);
  std::vector<KEY_MACRO_DATA> rows;
  ResetKeyRow(row, layer, &rows);
  rows.push_back(row);
  for (const KEY_MACRO_DATA& changed : rows) ConfigDatabase::Instance().UpdateKeyMacro(changed);
  RefreshKeyCaptions();
  WriteKeyMap();
}

void KeyPage::ResetLayerToDefault() {
  const int layer = m_link.m_fnLayer;
  KeyMacroList stored;
  ConfigDatabase::Instance().GetLayerKeyMacros(layer, stored);
  std::vector<KEY_MACRO_DATA> rows;
  for (const auto& row : stored) {
    KEY_MACRO_DATA reset = *row;
    ResetKeyRow(reset, layer, &rows);
    rows.push_back(reset);
  }
  StoreLayerRows(rows);
  if (!stored.empty()) RefreshKeyCaptions();
  WriteKeyMap();
}

int KeyPage::ConfirmResetLayer(int messageText, int titleText) {
  const int answer =
      ShowMessageBox(m_link.GetMainWindowHandle(), Text(messageText), Text(titleText), CUIMessageBox::kTwoButtons);
  if (answer == kMessageBoxCancel) return 0;
  ResetLayerToDefault();
  return 1;
}

void KeyPage::ApplyLayoutPreset(int presetId) {
  const LayoutPreset* preset = FindLayoutPreset(presetId);
  if (!preset) return;
  KeyMacroList stored;
  ConfigDatabase::Instance().GetLayerKeyMacros(m_link.m_fnLayer, stored);
  if (stored.empty()) return;
  std::vector<KEY_MACRO_DATA> rows;
  rows.reserve(stored.size());
  for (const auto& row : stored) {
    rows.push_back(*row);
    SetPresetFunction(rows.back(), *preset);
  }
  StoreLayerRows(rows);
  RefreshKeyCaptions();
  WriteKeyMap();
}

int KeyPage::OnKeyLayerChanged(int layerId) {
  m_link.m_fnLayer = layerId;
  if (m_controls.m_keyLayerAdv) m_controls.m_keyLayerAdv->SetSelectKeyLayer(layerId);
  return RefreshKeyCaptions();
}

int KeyPage::OnAdvKeyLayerChanged(int layerId) {
  m_link.m_fnLayer = layerId;
  if (m_controls.m_keyLayerKeys) m_controls.m_keyLayerKeys->SetSelectKeyLayer(layerId);
  return RefreshKeyCaptions();
}

int KeyPage::OnProfileListChanged(TESK::MComboBox* chosen) {
  if (!chosen) return 0;
  const int profile = static_cast<int>(chosen->GetCurData());
  if (profile < 1) return 0;
  m_curProfile = profile;
  m_link.m_selectedProfile = profile;
  ConfigDatabase::Instance().SetActiveProfile(profile);
  for (TESK::MComboBox* combo : ProfileCombos()) {
    if (combo != chosen) combo->SelectData(profile);
  }
  // The dialog's window exists before the task is queued, so the worker's close is never lost.
  RunWaitDialog(m_link, m_link.GetMainWindowHandle(), TASK_APPLY_PROFILE);
  return 1;
}

int KeyPage::ShowKeyPageProfileMenu() {
  return ShowPageMenu(m_link.GetMainWindowHandle(), m_controls.m_btnKeyProfileMenu, WM_KB_PAGE_MENU,
                      kProfileMenuItems, true);
}

int KeyPage::ShowKeyPresetMenu() {
  return ShowPageMenu(m_link.GetMainWindowHandle(), m_controls.m_btnKeyPresets, WM_KB_PAGE_MENU,
                      kPresetMenuItems, false);
}

int KeyPage::OnKeyPageMenuCommand(int itemId) {
  ApplyLayoutPreset(itemId);
  return 1;
}

int KeyPage::FillKeyValueList(int group) {
  return ::FillKeyValueList(m_controls.m_keyFuncPicker, m_controls.m_keyValueList, group);
}

CString MakeUniqueComboName(const CString& prefix, TESK::MComboBox* combo) {
  return MakeUniqueName(prefix, ItemTexts(combo));
}
