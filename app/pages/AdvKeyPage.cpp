#include "app/pages/AdvKeyPage.h"

#include "app/AppMessages.h"
#include "app/KeyboardDef.h"
#include "app/pages/AdvKeyBinding.h"
#include "app/pages/AdvancedKeyValues.h"
#include "app/pages/CustomKeyDKSDlg.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "app/pages/KeyPage.h"
#include "app/pages/PageMenu.h"
#include "app/pages/PerfPage.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MImageButton.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

constexpr UINT kFirstTypeButton = 113;
// The editor docks over the lower part of the page: 180 from the left, 330 high, 10 from the
// right and bottom edges of the window's client area.
constexpr int kEditorLeft = 180, kEditorHeight = 330, kEditorMargin = 10;
// The profile menu under button 98 is wider than the key page's.
constexpr int kProfileMenuWidth = 230;

bool IsAdvancedKind(int kind) { return kind >= MACRO_TYPE_DKS && kind <= MACRO_TYPE_OKS; }
bool IsPairKind(int kind) { return kind >= MACRO_TYPE_RS && kind <= MACRO_TYPE_OKS; }

}  // namespace

void KeyboardDef::EnableAdvKeyTypeButtons(int on) {
  for (TESK::MButton* button : {m_btnAdvDks, m_btnAdvMt, m_btnAdvTgl, m_btnAdvRs, m_btnAdvSocd, m_btnAdvOks}) {
    if (button) button->SetEnabled(on);
  }
}

AdvKeyPage::AdvKeyPage(DeviceLink& link, KeyboardDef& controls, KeyPage& keys, PerfPage& perf, int& type,
                       std::unique_ptr<CustomKeyDKSDlg>& editor)
    : m_link(link), m_controls(controls), m_keys(keys), m_perf(perf), m_type(type), m_editor(editor) {}

// ---- The editor ----

void AdvKeyPage::FreeEditor() {
  if (!m_editor) return;
  m_editor->DestroyWindow();
  m_editor.reset();
}

int AdvKeyPage::CreateEditor(int kind, unsigned keyValue, int id, int intro) {
  FreeEditor();
  m_controls.EnableAdvKeyTypeButtons(0);
  m_editor = std::make_unique<CustomKeyDKSDlg>();
  if (IsAdvancedKind(kind)) m_editor->SetKeyTarget(kind - kAdvKeyKindOffset, kind, keyValue, id, intro);
  HWND owner = m_link.GetMainWindowHandle();
  RECT client{};
  ::GetClientRect(owner, &client);
  const CRect rect(kEditorLeft, client.bottom - kEditorHeight, client.right - kEditorMargin,
                   client.bottom - kEditorMargin);
  if (m_editor->Create(owner, rect)) return 1;
  // No window, no panel to close later: the buttons must not stay disabled for it.
  m_editor.reset();
  m_controls.EnableAdvKeyTypeButtons(1);
  return 0;
}

int AdvKeyPage::OpenEditor(int type) { return CreateEditor(type, 0, 0, 1); }

void AdvKeyPage::CloseEditor() {
  m_type = 0;
  m_controls.EnableAdvKeyTypeButtons(1);
  FreeEditor();
  ResetPicture();
}

void AdvKeyPage::ResetPicture() {
  TESK::KeyboardCtrl* picture = m_controls.m_keyboardAdv;
  if (!picture) return;
  picture->ResetAllItemCheck(0);
  picture->SetAdvkeyType(-1);
  picture->SetAdvKeySelectFlag(1);
}

void AdvKeyPage::CheckPair(int pair) {
  TESK::KeyboardCtrl* picture = m_controls.m_keyboardAdv;
  if (!picture) return;
  picture->SetKeyCheck(pair & 0xFFFF, 1);
  picture->SetKeyCheck((pair >> 16) & 0xFFFF, 1);
  picture->UpdateControl(1, 0);
}

int AdvKeyPage::OnTypeButton(UINT controlId) {
  if (IsMessageBoxOpen()) return 0;
  m_type = MACRO_TYPE_DKS + static_cast<int>(controlId - kFirstTypeButton);
  if (TESK::KeyboardCtrl* picture = m_controls.m_keyboardAdv) {
    picture->SetAdvkeyType(m_type);
    picture->SetAdvKeySelectFlag(1);
  }
  OpenEditor(m_type);
  return 1;
}

int AdvKeyPage::OnCancelled() {
  m_controls.EnableAdvKeyTypeButtons(1);
  ResetPicture();
  m_type = 0;
  return 1;
}

int AdvKeyPage::OnEditorPageShown() {
  if (m_controls.m_keyboardAdv) m_controls.m_keyboardAdv->SetAdvKeySelectFlag(0);
  return 1;
}

// ---- The picture and the list ----

int AdvKeyPage::OnKeyboardNotify(int code) {
  if (code != TESK::NOTIFY_CLICKED && code != TESK::NOTIFY_RCLICKED) return 1;
  TESK::KeyboardCtrl* picture = m_controls.m_keyboardAdv;
  if (!picture) return 0;
  const int key = picture->GetCurrentKeyValue();
  if (IsAdvancedKind(m_type)) {
    if (m_editor) m_editor->SetSocdKeys(static_cast<unsigned>(key));
    return 1;
  }
  if (key <= 0) return 0;
  // A key without a row on this layer reads as no function: it opens nothing.
  KEY_MACRO_DATA row;
  if (!ConfigDatabase::Instance().GetKeyMacro(m_link.m_fnLayer, key, row)) row = KEY_MACRO_DATA();
  if (m_controls.m_advKeyList) m_controls.m_advKeyList->SetSelectValue(row.macro_value);
  picture->SetAdvKeySelectFlag(0);
  if (IsPairKind(row.macro_type)) CheckPair(row.macro_value2);
  if (IsAdvancedKind(row.macro_type)) CreateEditor(row.macro_type, static_cast<unsigned>(key), row.macro_value, 0);
  return 1;
}

int AdvKeyPage::OnListNotify(int code) {
  TESK::KeyDKSCtrlEx* list = m_controls.m_advKeyList;
  if (code == TESK::NOTIFY_CLICKED) {
    const int id = list ? list->GetMacroValue() : 0;
    MAGNETIC_KEY_DATA adv;
    if (!ConfigDatabase::Instance().GetMagneticKey(id, adv)) adv = MAGNETIC_KEY_DATA();
    if (m_controls.m_keyboardAdv) m_controls.m_keyboardAdv->SetCurrentKeyValue(adv.key_value);
    CheckPair(adv.key_value);
    CreateEditor(adv.macro_type, static_cast<unsigned>(adv.key_value), id, 0);
    return 1;
  }
  if (code == TESK::NOTIFY_ITEMICON) {
    DeleteSelected();
    m_controls.EnableAdvKeyTypeButtons(1);
    m_type = 0;
    ResetPicture();
  }
  return 1;
}

bool AdvKeyPage::DeleteSelected() {
  TESK::KeyDKSCtrlEx* list = m_controls.m_advKeyList;
  const int id = list ? list->GetMacroValue() : 0;
  if (id <= 0 || !ConfigDatabase::Instance().DeleteMagneticKey(id)) return false;
  list->DeleteItem(list->GetSelectItem());
  const std::vector<KEY_MACRO_DATA> rows = RowsFreedByDeletedAdvKey(id);
  if (!rows.empty()) ConfigDatabase::Instance().UpdateKeyMacros(rows);
  m_keys.RefreshKeyCaptions();
  // Every layer may have named the key, and its slot goes from every area.
  m_link.AppendTask(TASK_WRITE_KEYMAP_ALL);
  return true;
}

// ---- The editor's results ----

int AdvKeyPage::OnApplied(int id) {
  m_controls.EnableAdvKeyTypeButtons(1);
  m_type = 0;
  if (id > 0) {
    if (m_controls.m_keyboardAdv) m_controls.m_keyboardAdv->ResetAllItemCheck(0);
    MAGNETIC_KEY_DATA adv;
    if (!ConfigDatabase::Instance().GetMagneticKey(id, adv)) adv = MAGNETIC_KEY_DATA();
    const AdvKeyBinding binding = BindAdvancedKey(id, adv, m_link.m_fnLayer);
    if (binding.mask >= 0) m_link.m_advKeyWriteMask = binding.mask;
    if (!binding.perf.empty()) {
      if (TESK::KeyboardCtrl* perf = m_controls.m_keyboardPerf) {
        const int low = adv.key2_value & 0xFFFF, high = (adv.key2_value >> 16) & 0xFFFF;
        for (const AdvKeyBinding::Perf& key : binding.perf) {
          perf->SetKeyPerfInfo(key.keyCode, key.mode, adv.reserved, low, high, 0);
        }
      }
      m_perf.SaveKeyPerf();
    }
    if (!binding.rows.empty()) ConfigDatabase::Instance().UpdateKeyMacros(binding.rows);
  }
  m_link.AppendTask(TASK_WRITE_KEYMAP);
  m_keys.RefreshKeyCaptions();
  ResetPicture();
  return 1;
}

// ---- Profile menu ----

int AdvKeyPage::ShowProfileMenu() {
  return ShowPageMenu(m_link.GetMainWindowHandle(), m_controls.m_btnAdvProfileMenu, WM_KB_PROFILE_MENU,
                      kProfileMenuItems, true, kProfileMenuWidth);
}
