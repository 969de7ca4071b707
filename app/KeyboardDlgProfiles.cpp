// The main window's profile lists: the refresh that the device link runs after a connection
// or a profile switch reads the stored profiles (creating the three defaults on a new store)
// and fills the pages' profile lists with them, the active one selected; the profile menus'
// new, delete and rename; and the apply task that brings the active profile to the keyboard.
#include "app/KeyboardDlg.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "app/WaitDlg.h"
#include "app/pages/LightModes.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox.h"
#include "ui/keyboard/KeyLayerCtrl.h"

namespace {

constexpr int kProfileNameText = 101;
constexpr int kLastProfileText = 220;
constexpr int kDeleteProfileTitle = 221;
constexpr int kOneButton = 0;  // the message box's OK alone
// All three advanced-key sections of the key map.
constexpr int kAllAdvKeySections = 7;
// The profile menus' items.
constexpr int kMenuNewProfile = 101;
constexpr int kMenuDeleteProfile = 102;
constexpr int kMenuRenameProfile = 103;
// The profile list a rename edits, by main tab: key page, advanced keys, performance, macros,
// lighting.
constexpr std::pair<int, int> kProfileComboOfTab[] = {{1, 82}, {2, 97}, {7, 262}, {3, 205}, {4, 121}};
// The keyboard's key tables are read again while fewer entries than this have arrived.
constexpr size_t kKnownKeyTable = 20;
constexpr DWORD kKeyTableRetryMs[] = {100, 1000};

CString DefaultProfileName() { return LoadLanString(L"KB.DIALOG", kProfileNameText); }

// A stored default name follows the language in force: its prefix is replaced.
CString DisplayName(const CString& stored) {
  return KeyboardDlg::ReplaceNamePrefix(stored, {L"配置方案", L"Profile"}, DefaultProfileName());
}

}  // namespace

std::vector<TESK::MComboBox*> KeyboardDlg::ProfileCombos() const {
  return {m_comboProfileKeys, m_comboProfileAdv, m_comboProfilePerf, m_comboProfileLight, m_comboProfileMacro};
}

std::vector<TESK::MComboBox*> KeyboardDlg::BuiltProfileCombos() const {
  std::vector<TESK::MComboBox*> combos = ProfileCombos();
  combos.erase(std::remove(combos.begin(), combos.end(), nullptr), combos.end());
  return combos;
}

void KeyboardDlg::CreateDefaultProfiles() {
  ConfigDatabase& store = ConfigDatabase::Instance();
  for (int number = 1; number <= 3; ++number) {
    PROFILE_DATA row;
    row.type = 1;
    row.name.Format(L"%s %d", DefaultProfileName().GetString(), number);
    const int id = store.InsertProfile(row);
    if (id <= 0) continue;
    // The key rows are made for the first profile only.
    if (number == 1) CreateDefaultKeyMacros(id);
    CreateDefaultKeyPerfs(id);
    CreateDefaultLightRows(id);
    store.InsertDefaultConfig(id);
    if (number == 1) store.SetActiveProfile(id);
  }
}

void KeyboardDlg::RefreshProfiles() {
  m_fnLayer = 0;
  OnWindowThread([this] {
    for (TESK::KeyLayerCtrl* strip : {m_keyLayerShell, m_keyLayerAdv}) {
      if (strip) strip->SetSelectKeyLayer(0);
    }
  });
  ConfigDatabase& store = ConfigDatabase::Instance();
  ProfileList profiles;
  store.GetProfiles(profiles);
  if (profiles.empty()) {
    CreateDefaultProfiles();
    store.GetProfiles(profiles);
  }
  std::vector<std::pair<CString, int>> items;
  for (const auto& profile : profiles) items.emplace_back(DisplayName(profile->name), profile->profile);
  const int active = store.GetActiveProfile();
  m_curProfile = active;
  m_selectedProfile = active;
  OnWindowThread([this, items, active] {
    for (TESK::MComboBox* combo : ProfileCombos()) {
      if (!combo) continue;
      combo->DelAllItems();
      for (const auto& [name, id] : items) combo->AddItem(name, id, nullptr, Gdiplus::Color(0));
      combo->SelectData(active);
    }
  });

  ReadKeyMapsFromDevice();
  for (DWORD wait : kKeyTableRetryMs) {
    if (m_defaultCodeByIndex.size() >= kKnownKeyTable || !PauseUnlessStopping(wait)) break;
    ReadKeyMapsFromDevice();
  }
}

void KeyboardDlg::ApplyProfile() {
  RefreshKeyCaptions();
  RefreshPerfPage();
  RefreshLightModeLists();
  m_advKeyWriteMask = kAllAdvKeySections;
  WriteMacros();
  WriteKeyMap();
  WriteKeyColors();
  WriteLightSettings();
  WriteKeyPerf();
}

void KeyboardDlg::ActivateAndApplyProfile(int profile) {
  ConfigDatabase::Instance().SetActiveProfile(profile);
  // The dialog's window exists before the task is queued, so the worker's close is never lost.
  RunWaitDialog(*this, GetSafeHwnd(), TASK_APPLY_PROFILE);
}

void KeyboardDlg::AppendProfileToLists(const CString& name, int profile) {
  int position = -1;
  for (TESK::MComboBox* combo : BuiltProfileCombos()) {
    const int added = combo->AddItem(name, profile, nullptr, Gdiplus::Color(0));
    if (position < 0) position = added;
  }
  for (TESK::MComboBox* combo : BuiltProfileCombos()) combo->SetCurSel(position);
}

void KeyboardDlg::NewProfile() {
  if (!m_comboProfileKeys) return;
  ConfigDatabase& store = ConfigDatabase::Instance();
  PROFILE_DATA row;
  row.type = 1;
  row.name = MakeUniqueComboName(DefaultProfileName(), m_comboProfileKeys);
  const int id = store.InsertProfile(row);
  if (id <= 0) return;
  CreateDefaultKeyMacros(id);
  CreateDefaultKeyPerfs(id);
  CreateDefaultLightRows(id);
  store.InsertDefaultConfig(id);
  AppendProfileToLists(row.name, id);
  ActivateAndApplyProfile(id);
}

void KeyboardDlg::DeleteProfile() {
  if (!m_comboProfileKeys) return;
  if (m_comboProfileKeys->GetItemCount() <= 1) {
    ShowMessageBox(GetSafeHwnd(), LoadLanString(L"KB.DIALOG", kLastProfileText),
                   LoadLanString(L"KB.DIALOG", kDeleteProfileTitle), kOneButton);
    return;
  }
  const int position = m_comboProfileKeys->GetCurSel();
  if (position < 0) return;
  const int id = static_cast<int>(m_comboProfileKeys->GetItemData(position));
  if (!ConfigDatabase::Instance().DeleteProfile(id)) return;
  for (TESK::MComboBox* combo : BuiltProfileCombos()) combo->DeleteItem(position);
  const int next = m_comboProfileKeys->GetItemCount() == 1 ? 0 : position - 1;
  for (TESK::MComboBox* combo : BuiltProfileCombos()) combo->SetCurSel(next);
  if (m_comboProfileKeys->GetCurSel() < 0) {
    for (TESK::MComboBox* combo : BuiltProfileCombos()) combo->SetCurSel(0);
  }
  ActivateAndApplyProfile(static_cast<int>(m_comboProfileKeys->GetCurData()));
}

TESK::MComboBox* KeyboardDlg::ProfileComboWithId(int controlId) const {
  for (TESK::MComboBox* combo : BuiltProfileCombos()) {
    if (combo && static_cast<int>(combo->GetControlID()) == controlId) return combo;
  }
  return nullptr;
}

void KeyboardDlg::BeginRenameProfile() {
  int controlId = 0;
  for (const auto& [tab, id] : kProfileComboOfTab) {
    if (tab == m_curTab) controlId = id;
  }
  TESK::MComboBox* combo = ProfileComboWithId(controlId);
  if (!combo) return;
  combo->ShowEdit();
  SetFocusControl(combo);
}

int KeyboardDlg::OnProfileRenamed(int controlId, int code) {
  if (code != TESK::NOTIFY_EDITEND || !m_comboProfileKeys) return 0;
  const int position = m_comboProfileKeys->GetCurSel();
  if (position < 0) return 0;
  const int id = static_cast<int>(m_comboProfileKeys->GetItemData(position));
  TESK::MComboBox* edited = ProfileComboWithId(controlId);
  if (!edited) edited = m_comboProfileKeys;
  const CString text = edited->GetTitleEx();
  ConfigDatabase& store = ConfigDatabase::Instance();
  if (text.IsEmpty()) {
    CString stored;
    if (store.GetProfileName(id, stored)) edited->SetItemText(position, stored);
    return 0;
  }
  store.RenameProfile(id, text);
  for (TESK::MComboBox* combo : BuiltProfileCombos()) combo->SetItemText(position, text);
  return 1;
}

bool KeyboardDlg::RunProfileMenuItem(int itemId) {
  switch (itemId) {
    case kMenuNewProfile:
      NewProfile();
      return true;
    case kMenuDeleteProfile:
      DeleteProfile();
      return true;
    case kMenuRenameProfile:
      BeginRenameProfile();
      return true;
    default:
      return false;
  }
}
