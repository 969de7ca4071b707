// The macro page's files and menu: exporting the selected macro to a file and importing the
// macro of a file as a new one (the format is MacroFile's), duplicating a macro and the page
// menu's items. A file that is refused, and an export that could not be written, are told to
// the user; a cancelled dialog is not. UI thread only.
#include "app/KeyboardDlg.h"

#include <commdlg.h>
#include <shlwapi.h>

#include "app/AppMessages.h"
#include "app/MainWindowBuild.h"
#include "app/UIMessageBox.h"
#include "app/pages/MacroFile.h"
#include "app/pages/MacroRules.h"
#include "app/pages/PageMenu.h"
#include "app/pages/UniqueName.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MListBox.h"

using namespace TESK;
using mainwindow::Text;

namespace {

// Language texts: no macro selected, the files' title, an export not written.
constexpr int kSelectMacroText = 340;
constexpr int kMacroFilesTitle = 341;
constexpr int kNotWrittenText = 343;

// Menu items of the macro page.
constexpr int kMenuNewMacro = 600;
constexpr int kMenuDeleteMacro = 605;
constexpr int kMenuRememberMacro = 606;
constexpr int kMenuImportMacro = 607;
constexpr int kMenuExportMacro = 608;
constexpr int kMenuRenameMacro = 609;
constexpr int kMenuDuplicateMacro = 610;

// The system's file dialog for one XML file: the chosen path, or false when cancelled. The
// process's current folder stays where it was.
bool ChooseMacroFile(HWND owner, bool save, CString& path) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = save ? L"Macro (*.xml)\0*.xml\0" : L"Macros (*.xml)\0*.xml\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"xml";
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (save ? 0 : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return false;
  path = file;
  return true;
}

}  // namespace

void KeyboardDlg::ShowMacroFileMessage(int textId) {
  ShowMessageBox(GetSafeHwnd(), Text(textId), Text(kMacroFilesTitle), CUIMessageBox::kOneButton);
}

int KeyboardDlg::ExportMacro() {
  const int macroId = SelectedMacroId();
  if (macroId < 1) {
    MessageBoxW(GetSafeHwnd(), Text(kSelectMacroText), Text(kMacroFilesTitle), MB_OK);
    return 0;
  }
  CString path;
  if (!ChooseMacroFile(GetSafeHwnd(), true, path)) return 0;
  ConfigDatabase& store = ConfigDatabase::Instance();
  MacroFileContent content;
  store.GetMacro(macroId, content.macro);
  MacroRecordList events;
  store.GetMacroRecords(macroId, events);
  for (const auto& event : events) content.events.push_back(*event);
  if (!WriteMacroFile(path, content)) {
    ShowMacroFileMessage(kNotWrittenText);
    return 0;
  }
  return 1;
}

int KeyboardDlg::ImportMacro() {
  CString path;
  if (!ChooseMacroFile(GetSafeHwnd(), false, path) || !PathFileExistsW(path)) return 0;
  ConfigDatabase& store = ConfigDatabase::Instance();
  MacroFileContent content;
  const int room = kMacroAreaEvents - store.CountAllMacroRecords();
  const MacroFileVerdict verdict = ReadMacroFile(path, room > 0 ? room : 0, content);
  if (verdict != MacroFileVerdict::kAccepted) {
    ShowMacroFileMessage(MacroFileRefusalText(verdict));
    return 1;
  }
  content.macro.link_count = 0;
  const int macroId = store.InsertMacro(content.macro);
  if (macroId < 1) return 1;
  for (MACRO_RECORD& event : content.events) event.macro_id = macroId;
  if (!content.events.empty()) store.InsertMacroRecords(content.events);
  // Listed, not selected: the keyboard gets it with the next save of the macros.
  AddListedMacro(content.macro.name, macroId);
  return 1;
}

CString KeyboardDlg::MakeUniqueMacroName(const CString& base) {
  return MakeUniqueName(base, ItemTexts(m_macroList));
}

int KeyboardDlg::DuplicateMacro() {
  if (m_curMacroId < 1) return 0;
  ConfigDatabase& store = ConfigDatabase::Instance();
  MACRO_DATA copy;
  if (!store.GetMacro(m_curMacroId, copy)) return 0;
  copy.name = MakeUniqueMacroName(copy.name + L" -");
  const int copyId = store.InsertMacro(copy);
  if (copyId < 1) return 1;
  AddListedMacro(copy.name, copyId);
  MacroRecordList events;
  store.GetMacroRecords(m_curMacroId, events);
  std::vector<MACRO_RECORD> copied;
  for (const auto& event : events) {
    copied.push_back(*event);
    copied.back().macro_id = copyId;
  }
  if (!copied.empty()) store.InsertMacroRecords(copied);
  return 1;
}

int KeyboardDlg::EditMacroName() {
  if (m_macroList) m_macroList->ShowEdit();
  return 1;
}

int KeyboardDlg::OnMacroPageMenuCommand(int item) {
  switch (item) {
    case kMenuNewMacro:
      return NewMacro();
    case kMenuDeleteMacro:
      return DeleteMacro();
    case kMenuRememberMacro:
      return RememberSelectedMacro();
    case kMenuImportMacro:
      return ImportMacro();
    case kMenuExportMacro:
      return ExportMacro();
    case kMenuRenameMacro:
      return EditMacroName();
    case kMenuDuplicateMacro:
      return DuplicateMacro();
    default:
      return 1;
  }
}

int KeyboardDlg::ShowMacroPageProfileMenu() {
  ShowPageMenu(GetSafeHwnd(), m_btnMacroProfileMenu, WM_KB_PAGE_MENU, kProfileMenuItems, true);
  return 0;
}
