// The macro page's operations on the main window: the macro list, showing a macro's settings
// and events, the editor, the event list's buttons, saving (store, then the keyboard behind
// the wait dialog) and the captions of the keys that run a macro. UI thread; the worker's
// refresh request is handed to the window's thread.
#include "app/KeyboardDlg.h"

#include <vector>

#include "app/MainWindowBuild.h"
#include "app/WaitDlg.h"
#include "app/pages/MacroRecorder.h"
#include "app/pages/MacroRules.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CImageButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MListBox.h"
#include "ui/core/MObject.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/CRecordList.h"

using namespace TESK;

namespace {

// Macros a store without any starts with, named "M 1" .. "M 10".
constexpr int kFirstMacros = 10;
// Kinds of the mouse-button rows; inserted rows wait this many ms after themselves.
constexpr int kRecordMousePress = 4;
constexpr int kRecordMouseRelease = 5;
constexpr int kInsertedDelay = 10;
// The fixed delay stored with the other delay modes.
constexpr int kDefaultFixedDelay = 10;
// The key function kind that runs a macro (its macro_value is the macro's id).
constexpr int kKeyRunsMacro = 3;
// Language texts: the note that only saving keeps an edit, a new macro's name.
constexpr int kUnsavedNoteText = 365;
constexpr int kNewMacroText = 331;

using mainwindow::Text;

CString Decimal(int value) {
  CString text;
  text.Format(L"%d", value);
  return text;
}


void Check(CRadioButton* radio) {
  if (radio) radio->SetCheck(1);
}

bool IsChecked(const CRadioButton* radio) { return radio && radio->GetCheck() == 1; }

}  // namespace

void KeyboardDef::EnableMacroEditor(bool enable) {
  MControl* const controls[] = {m_comboInsertPos,    m_radioEventKey,      m_radioEventMouse, m_radioEventDelay,
                                m_editEventKey,      m_editEventDelay,     m_comboEventMouse, m_btnInsertEvent,
                                m_btnDeleteMacro,    m_btnRenameMacro,     m_btnExportMacro,  m_btnEditMacroName,
                                m_editPlayTimes,     m_radioDelayRecorded, m_radioDelayNone,  m_radioDelayFixed,
                                m_btnRecordStart,    m_btnRecordStop,      m_btnEventUp,      m_btnEventDown,
                                m_btnEventDelete,    m_recordList,         m_btnSaveMacro};
  for (MControl* control : controls) {
    if (control) control->SetEnabled(enable ? 1 : 0);
  }
}

void KeyboardDlg::RefreshMacroList() {
  // Without a window there is no page to refresh.
  if (!HasHandle()) return;
  PaintManager* engine = GetPaintManager();
  if (engine->IsWindowThread()) {
    FillMacroList();
    return;
  }
  // The worker's requests run whole on the window's thread; one waiting request covers the
  // ones that come while it waits, as it reads the store when it runs.
  if (m_macroRefreshPosted.exchange(true)) return;
  const bool posted = engine->PostCallable([this] {
    m_macroRefreshPosted = false;
    FillMacroList();
  });
  if (!posted) m_macroRefreshPosted = false;
}

void KeyboardDlg::FillMacroList() {
  m_curMacroId = 0;
  if (!m_macroList) return;
  m_macroList->DeleteAllItems();
  if (m_recordList) m_recordList->DeleteAllItems();
  EnableMacroEditor(false);
  ConfigDatabase& store = ConfigDatabase::Instance();
  MacroList macros;
  if (store.GetMacros(macros) == 0) {
    for (int n = 1; n <= kFirstMacros; ++n) store.CreateMacro(L"M " + Decimal(n));
    store.GetMacros(macros);
  }
  if (macros.empty()) return;
  for (const auto& macro : macros) m_macroList->AddString(macro->name, macro->macro_id, 0);
  m_macroList->SetCurSel(0);
  ShowMacro(macros.front()->macro_id);
  EnableMacroEditor(true);
}

void KeyboardDlg::ShowMacro(int macroId) {
  if (m_recordList) m_recordList->DeleteAllItems();
  if (m_comboInsertPos) m_comboInsertPos->SetCurSel(0);
  Check(m_radioEventKey);
  ShowEventKeyEditor();
  if (m_editPlayTimes) m_editPlayTimes->SetControlTitle(L"1");
  Check(m_radioDelayRecorded);
  if (m_editFixedDelay) {
    m_editFixedDelay->SetControlTitle(L"10");
    m_editFixedDelay->SetEnabled(0);
  }
  m_curMacroId = 0;
  ConfigDatabase& store = ConfigDatabase::Instance();
  MACRO_DATA macro;
  if (!store.GetMacro(macroId, macro)) return;
  if (m_editPlayTimes) m_editPlayTimes->SetControlTitle(Decimal(macro.play_times));
  if (macro.delay_type == 2) Check(m_radioDelayNone);
  if (macro.delay_type == 3) {
    Check(m_radioDelayFixed);
    if (m_editFixedDelay) {
      m_editFixedDelay->SetEnabled(1);
      m_editFixedDelay->SetControlTitle(Decimal(macro.delay_time));
    }
  }
  MacroRecordList events;
  store.GetMacroRecords(macroId, events);
  if (!m_recordList) return;
  for (const auto& event : events) m_recordList->AddString(event->desc, event->type, event->value, event->delay_time);
}

int KeyboardDlg::OnMacroSelected(int code) {
  if (code != NOTIFY_CLICKED) return 1;
  if (!m_macroList) return 0;
  const int selected = m_macroList->GetCurSel();
  if (selected < 0) {
    EnableMacroEditor(false);
    if (m_recordList) m_recordList->DeleteAllItems();
    return 0;
  }
  EnableMacroEditor(true);
  ShowMacro(static_cast<int>(m_macroList->GetItemData(selected)));
  return 1;
}

void KeyboardDlg::ShowOneEventEditor(MControl* shown) {
  MControl* const editors[] = {m_editEventKey, m_comboEventMouse, m_editEventDelay};
  for (MControl* editor : editors) {
    if (editor) editor->SetVisible(editor == shown ? 1 : 0);
  }
}

int KeyboardDlg::ShowEventKeyEditor() {
  if (m_editEventKey) m_editEventKey->SetControlTitle(L"");
  ShowOneEventEditor(m_editEventKey);
  return 1;
}

int KeyboardDlg::ShowEventMouseEditor() {
  if (m_comboEventMouse) m_comboEventMouse->SetCurSel(0);
  ShowOneEventEditor(m_comboEventMouse);
  return 1;
}

int KeyboardDlg::ShowEventDelayEditor() {
  if (m_editEventDelay) m_editEventDelay->SetControlTitle(L"");
  ShowOneEventEditor(m_editEventDelay);
  return 1;
}

int KeyboardDlg::OnDelayModeChosen(bool fixedDelay) {
  if (m_editFixedDelay) m_editFixedDelay->SetEnabled(fixedDelay ? 1 : 0);
  return 1;
}

// ---- The event list's buttons ----

int KeyboardDlg::InsertMacroEvent() {
  if (!m_recordList) return 0;
  const int rows = m_recordList->GetItemCount();
  const int selected = m_recordList->GetCurSel();
  // Before the selected row, or after it; without a selection, or after the last row, at the end.
  int at = -1;
  if (selected >= 0 && selected < rows) {
    if (IsChecked(m_radioInsertAtCursor)) {
      at = selected;
    } else if (selected + 1 < rows) {
      at = selected + 1;
    }
  }
  CString name;
  int press = kRecordKeyPress, release = kRecordKeyRelease, code = m_lastEventCode;
  if (IsChecked(m_radioEventMouse)) {
    press = kRecordMousePress;
    release = kRecordMouseRelease;
    if (m_comboEventMouse) {
      name = m_comboEventMouse->GetTitleEx();
      code = static_cast<int>(m_comboEventMouse->GetCurData());
    }
  } else if (IsChecked(m_radioEventDelay)) {
    // The delay type inserts no row; an empty field refuses it altogether.
    if (!m_editEventDelay || m_editEventDelay->GetControlTitle().IsEmpty()) return 0;
    press = 0;
  } else if (m_editEventKey) {
    name = m_editEventKey->GetControlTitle();
  }
  if (press) {
    m_recordList->InsertString(at, name, press, code, kInsertedDelay);
    m_recordList->InsertString(at < 0 ? -1 : at + 1, name, release, code, kInsertedDelay);
  }
  SaveMacroEvents();
  return 1;
}

int KeyboardDlg::MoveMacroEventUp() {
  if (!m_recordList) return 0;
  const int selected = m_recordList->GetCurSel();
  if (selected < 1) return 0;
  m_recordList->SwapItem(selected, selected - 1);
  m_recordList->SetCurSel(selected - 1);
  m_recordList->InvalidateRect(nullptr, 0);
  ShowUnsavedNote();
  return 1;
}

int KeyboardDlg::MoveMacroEventDown() {
  if (!m_recordList) return 0;
  const int selected = m_recordList->GetCurSel();
  if (selected < 0) return 0;
  if (selected + 1 < m_recordList->GetItemCount()) {
    m_recordList->SwapItem(selected, selected + 1);
    m_recordList->SetCurSel(selected + 1);
  }
  m_recordList->InvalidateRect(nullptr, 0);
  ShowUnsavedNote();
  return 1;
}

int KeyboardDlg::DeleteMacroEvent() {
  if (!m_recordList) return 0;
  const int selected = m_recordList->GetCurSel();
  if (selected < 0) return 0;
  m_recordList->DeleteItem(selected);
  // The row that followed takes the selection.
  m_recordList->SetCurSel(selected);
  ShowUnsavedNote();
  return 1;
}

int KeyboardDlg::ClearMacroEvents() {
  if (m_recordList) m_recordList->DeleteAllItems();
  ShowUnsavedNote();
  return 1;
}

int KeyboardDlg::OnMacroEventEdited(int code) {
  if (code == NOTIFY_EDITEND) ShowUnsavedNote();
  return 1;
}

void KeyboardDlg::ShowUnsavedNote() { SetMessage(Text(kUnsavedNoteText), CRect(), MSG_LEVEL_INFO); }

// ---- Saving ----

int KeyboardDlg::SelectedMacroId() {
  if (!m_macroList) return 0;
  const int selected = m_macroList->GetCurSel();
  if (selected < 0) return 0;
  return static_cast<int>(m_macroList->GetItemData(selected));
}

int KeyboardDlg::SaveMacroEvents() {
  // Saving during a recording ends it first; the stop saves.
  if (m_recordState == kRecording) return StopMacroRecording();
  const int macroId = SelectedMacroId();
  if (macroId < 1) return 0;
  ConfigDatabase& store = ConfigDatabase::Instance();
  store.DeleteMacroRecords(macroId);
  std::vector<MACRO_RECORD> records;
  if (m_recordList) {
    for (const RecordItem* item : m_recordList->GetRecordItems()) {
      MACRO_RECORD record;
      record.macro_id = macroId;
      record.type = item->kind;
      record.record_index = static_cast<int>(records.size());
      record.value = item->code;
      record.delay_time = item->delay;
      record.desc = item->name;
      records.push_back(record);
    }
  }
  if (!records.empty()) store.InsertMacroRecords(records);
  SaveMacroSettings();
  RefreshMacroKeyCaptions();
  return 1;
}

void KeyboardDlg::SaveMacroSettings() {
  const int macroId = SelectedMacroId();
  if (macroId < 1) return;
  MACRO_DATA macro;
  macro.macro_id = macroId;
  macro.play_times = PlayCountFromField(m_editPlayTimes ? m_editPlayTimes->GetControlTitle() : CString());
  if (m_editPlayTimes) m_editPlayTimes->SetControlTitle(Decimal(macro.play_times));
  macro.delay_type = ChosenDelayMode();
  macro.delay_time = macro.delay_type == kDelayFixed ? ChosenFixedDelay() : kDefaultFixedDelay;
  ConfigDatabase::Instance().UpdateMacro(macro);
  // The window is the wait dialog's owner; the worker closes it when the write has ended.
  RunWaitDialog(*this, GetSafeHwnd(), TASK_WRITE_MACROS);
}

int KeyboardDlg::ChosenDelayMode() {
  if (IsChecked(m_radioDelayNone)) return kDelayNone;
  if (IsChecked(m_radioDelayFixed)) return kDelayFixed;
  return kDelayRecorded;
}

int KeyboardDlg::ChosenFixedDelay() {
  return FixedDelayFromField(m_editFixedDelay ? m_editFixedDelay->GetControlTitle() : CString());
}

void KeyboardDlg::RefreshMacroKeyCaptions() {
  const int macroId = SelectedMacroId();
  ConfigDatabase& store = ConfigDatabase::Instance();
  const int events = store.CountMacroRecords(macroId);
  CString caption;
  if (events < 1) {
    caption.Format(L"M%d", macroId);
  } else {
    caption.Format(L"M%d\n(%d)", macroId, events);
  }
  KeyMacroList keys;
  store.GetAllKeyMacros(keys);
  std::vector<KEY_MACRO_DATA> changed;
  for (const auto& key : keys) {
    if (key->macro_type != kKeyRunsMacro || key->macro_value != macroId) continue;
    key->macro_desc = caption;
    changed.push_back(*key);
  }
  // One batch for all keys of all profiles.
  if (!changed.empty()) store.UpdateKeyMacros(changed);
  RefreshKeyCaptions();
}

// ---- Macros ----

void KeyboardDlg::AddListedMacro(const CString& name, int macroId) {
  if (m_macroList) m_macroList->AddString(name, macroId, 0);
}

int KeyboardDlg::NewMacro() {
  const int count = m_macroList ? m_macroList->GetItemCount() : 0;
  CString name;
  name.Format(L"%s %d", Text(kNewMacroText).GetString(), count + 1);
  const int macroId = ConfigDatabase::Instance().CreateMacro(name);
  if (macroId > 0 && m_macroList) {
    AddListedMacro(name, macroId);
    m_macroList->SetCurSel(m_macroList->GetItemCount() - 1);
    ShowMacro(macroId);
    EnableMacroEditor(true);
  }
  RefreshMacroKeyCaptions();
  return 1;
}

int KeyboardDlg::DeleteMacro() {
  if (!m_macroList) return 0;
  const int selected = m_macroList->GetCurSel();
  if (selected < 0) return 0;
  const int macroId = static_cast<int>(m_macroList->GetItemData(selected));
  if (macroId > 0 && ConfigDatabase::Instance().DeleteMacro(macroId)) {
    m_macroList->DeleteItem(selected);
    m_macroList->SetCurSel(selected - 1);
    if (m_recordList) m_recordList->DeleteAllItems();
  }
  if (m_macroList->GetItemCount() == 0) EnableMacroEditor(false);
  RefreshMacroKeyCaptions();
  return 1;
}

int KeyboardDlg::RememberSelectedMacro() {
  const int macroId = SelectedMacroId();
  if (!m_macroList || m_macroList->GetCurSel() < 0) return 0;
  m_curMacroId = macroId;
  return 1;
}
