// The main window's profile lists: the refresh that the device link runs after a connection
// or a profile switch reads the stored profiles (creating the three defaults on a new store)
// and fills the pages' profile lists with them, the active one selected.
#include "app/KeyboardDlg.h"

#include <utility>
#include <vector>

#include "app/Language.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox.h"
#include "ui/keyboard/KeyLayerCtrl.h"

namespace {

constexpr int kProfileNameText = 101;
// The keyboard's key tables are read again while fewer entries than this have arrived.
constexpr size_t kKnownKeyTable = 20;
constexpr DWORD kKeyTableRetryMs[] = {100, 1000};

CString DefaultProfileName() { return LoadLanString(L"KB.DIALOG", kProfileNameText); }

// A stored default name follows the language in force: its prefix is replaced.
CString DisplayName(const CString& stored) {
  for (const wchar_t* prefix : {L"配置方案", L"Profile"}) {
    const int length = static_cast<int>(wcslen(prefix));
    if (stored.GetLength() >= length && stored.Left(length) == prefix) {
      return DefaultProfileName() + stored.Mid(length);
    }
  }
  return stored;
}

}  // namespace

std::vector<TESK::MComboBox*> KeyboardDlg::ProfileCombos() const {
  return {m_comboProfileKeys, m_comboProfileAdv, m_comboProfilePerf};
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
