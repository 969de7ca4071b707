// The profile files of the main window: the pages' export buttons write the key page's
// selected profile name with the store's profile data to a scrambled file, and their import
// buttons read such a file, checked whole before anything is stored, into a new profile that
// becomes the active one and is applied to the keyboard.
#include "app/KeyboardDlg.h"

#include <windows.h>
#include <commdlg.h>

#include <map>
#include <string>
#include <vector>

#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "app/WaitDlg.h"
#include "app/pages/LightModes.h"
#include "app/pages/MacroRules.h"
#include "app/pages/ProfileFile.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox.h"

namespace {

constexpr int kProfileTitleText = 101;
constexpr int kNotWrittenText = 224;
constexpr int kOneButton = 0;  // the message box's OK alone
// Key rows of these kinds name an advanced key by its id.
constexpr int kFirstAdvKeyKind = 14;
constexpr int kLastAdvKeyKind = 19;
// Room for a long path; the dialogs return nothing longer.
constexpr DWORD kPathChars = 32768;

const wchar_t kExportFilter[] = L"Profile (*.xml)\0*.xml\0";
const wchar_t kImportFilter[] = L"Keyboard Key (*.xml)\0*.xml\0";

// The system's file dialog over owner; an empty path when it was cancelled.
std::wstring AskPath(HWND owner, bool save) {
  std::vector<wchar_t> path(kPathChars, L'\0');
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = save ? kExportFilter : kImportFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathChars;
  dialog.lpstrDefExt = L"xml";
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  return chosen ? std::wstring(path.data()) : std::wstring();
}

void ShowProfileMessage(HWND owner, int textId) {
  ShowMessageBox(owner, LoadLanString(L"KB.DIALOG", textId), LoadLanString(L"KB.DIALOG", kProfileTitleText),
                 kOneButton);
}

// Copies the rows the store handed out as shared objects to the end of out.
template <typename Rows, typename Row>
void AppendCopies(const Rows& rows, std::vector<Row>* out) {
  for (const auto& row : rows) out->push_back(*row);
}

// What an export writes: database profile 1's rows and every macro with its events.
ProfileFileContent StoredProfileContent(const CString& name) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  ProfileFileContent content;
  content.name = name;
  MagneticKeyList advKeys;
  store.GetMagneticKeys(advKeys);
  for (const auto& key : advKeys) {
    ProfileAdvKey adv{*key, {}};
    KeyItemList items;
    store.GetKeyItems(key->macro_id, items);
    AppendCopies(items, &adv.items);
    content.advKeys.push_back(std::move(adv));
  }
  MacroList macros;
  store.GetMacros(macros);
  for (const auto& macro : macros) {
    ProfileMacro entry{*macro, {}};
    MacroRecordList events;
    store.GetMacroRecords(macro->macro_id, events);
    AppendCopies(events, &entry.events);
    content.macros.push_back(std::move(entry));
  }
  KeyMacroList keys;
  store.GetProfileKeyMacros(keys);
  AppendCopies(keys, &content.keys);
  KeyPerfList perfs;
  store.GetKeyPerfs(1, perfs);
  AppendCopies(perfs, &content.perfs);
  LightList lights;
  store.GetLights(1, lights);
  AppendCopies(lights, &content.lights);
  UserLightRgbList colours;
  store.GetUserLightRgbs(1, colours);
  AppendCopies(colours, &content.colours);
  return content;
}

// The number of events of every stored macro, for the macro area's room.
StoredMacroEvents StoredEventCounts() {
  ConfigDatabase& store = ConfigDatabase::Instance();
  StoredMacroEvents counts;
  MacroList macros;
  store.GetMacros(macros);
  for (const auto& macro : macros) {
    MacroRecordList events;
    counts[macro->macro_id] = store.GetMacroRecords(macro->macro_id, events);
  }
  return counts;
}

// Stores the file's sections over the new profile's default rows. The file's advanced keys
// get new ids; key rows that named them follow.
void StoreProfileSections(const ProfileFileContent& content, int profile) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  std::map<int, int> newAdvKeyIds;
  for (const ProfileAdvKey& adv : content.advKeys) {
    MAGNETIC_KEY_DATA key = adv.key;
    key.profile = profile;
    key.name.Empty();
    key.key_value = 0;
    const int id = store.InsertMagneticKey(key);
    if (id <= 0) continue;
    newAdvKeyIds[adv.key.macro_id] = id;
    for (KEY_ITEM_DATA item : adv.items) {
      item.macro_id = id;
      store.InsertKeyItem(item);
    }
  }
  for (const ProfileMacro& macro : content.macros) {
    store.UpdateMacro(macro.macro);
    store.DeleteMacroRecords(macro.macro.macro_id);
    for (const MACRO_RECORD& event : macro.events) store.InsertMacroRecord(event);
  }
  std::vector<KEY_MACRO_DATA> keys = content.keys;
  for (KEY_MACRO_DATA& key : keys) {
    key.profile = profile;
    const auto renamed = newAdvKeyIds.find(key.macro_value);
    if (key.macro_type >= kFirstAdvKeyKind && key.macro_type <= kLastAdvKeyKind && renamed != newAdvKeyIds.end()) {
      key.macro_value = renamed->second;
    }
  }
  store.UpdateKeyMacros(keys);
  std::vector<KEY_PERF_DATA> perfs = content.perfs;
  for (KEY_PERF_DATA& perf : perfs) perf.profile = profile;
  store.UpdateKeyPerfs(perfs);
  for (const LIGHT_DATA& light : content.lights) {
    LIGHT_DATA row;
    if (!store.GetLight(profile, light.mode, row)) continue;
    row.brightness = light.brightness;
    row.speed = light.speed;
    row.direction = light.direction;
    row.colorful = light.colorful;
    row.colorindex = light.colorindex;
    row.color_value = light.color_value;
    row.status = light.status;
    store.UpdateLight(light.mode, row);
  }
  std::vector<USERLIGHTRGB_DATA> colours = content.colours;
  for (USERLIGHTRGB_DATA& colour : colours) {
    colour.profile = profile;
    colour.userlight_id = profile;
  }
  store.InsertUserLightRgbs(colours);
}

}  // namespace

void KeyboardDlg::ExportProfile() {
  if (!m_comboProfileKeys) return;
  const int position = m_comboProfileKeys->GetCurSel();
  if (position < 0) return;
  const std::wstring path = AskPath(GetSafeHwnd(), true);
  if (path.empty()) return;
  const ProfileFileContent content = StoredProfileContent(m_comboProfileKeys->GetItemText(position));
  if (!WriteProfileFile(path.c_str(), content, m_curModelId)) ShowProfileMessage(GetSafeHwnd(), kNotWrittenText);
}

void KeyboardDlg::ImportProfile() {
  const std::wstring path = AskPath(GetSafeHwnd(), false);
  if (path.empty()) return;
  ProfileFileContent content;
  const ProfileFileVerdict verdict =
      ReadProfileFile(path.c_str(), m_curModelId, StoredEventCounts(), kMacroAreaEvents, content);
  if (verdict != ProfileFileVerdict::kAccepted) {
    ShowProfileMessage(GetSafeHwnd(), ProfileFileRefusalText(verdict));
    return;
  }
  ConfigDatabase& store = ConfigDatabase::Instance();
  PROFILE_DATA row;
  row.type = 1;
  row.name = content.name;
  const int profile = store.InsertProfile(row);
  if (profile <= 0) return;
  CreateDefaultKeyMacros(profile);
  CreateDefaultKeyPerfs(profile);
  CreateDefaultLightRows(profile);
  store.InsertDefaultConfig(profile);
  store.SetActiveProfile(profile);
  StoreProfileSections(content, profile);

  AppendProfileToLists(content.name, profile);
  RefreshMacroList();
  // The dialog's window exists before the task is queued, so the worker's close is never lost.
  RunWaitDialog(*this, GetSafeHwnd(), TASK_APPLY_PROFILE);
}
