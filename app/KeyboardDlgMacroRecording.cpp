// Recording a macro and capturing one key for the event editor, both through the low-level
// keyboard hook: the hook's events reach the window as WM_KB_HOOK_INPUT and are swallowed while
// either runs. A recording ends with the stop button, with its budget used up (after the hook's
// call has returned: stopping saves behind the wait dialog) or, without saving, when the
// window closes its popups. UI thread only.
#include "app/KeyboardDlg.h"

#include "app/AppMessages.h"
#include "app/MainWindowBuild.h"
#include "app/UIMessageBox.h"
#include "app/pages/MacroRules.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MListBox.h"
#include "ui/core/MObject.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/CRecordList.h"

using namespace TESK;

namespace {

// Language texts of the budget's message boxes: title, refused, nearly used up.
constexpr int kBudgetTitleText = 360;
constexpr int kBudgetRefusedText = 361;
constexpr int kBudgetLowText = 362;
// Below the first budget a recording is refused; below the second it starts after a warning.
constexpr int kRefusedBudget = 10;
constexpr int kLowBudget = 20;

// What a recording takes from the user: the frame's buttons, device lists and page tabs, the
// page's profile controls, the macro list and the editor (the stop button stays).
constexpr UINT kRecordingInputIds[] = {38,  39,  40,  45,  46,  47,  48,  49,  53,  54,  55,  56,  67,
                                       205, 206, 207, 208, 213, 218, 221, 222, 223, 224, 225, 226, 227,
                                       228, 229, 230, 231, 232, 233, 235, 237, 238, 239, 246, 247, 248,
                                       254, 255};

void ShowBudgetBox(int textId) {
  ShowMessageBox(nullptr, mainwindow::Text(textId), mainwindow::Text(kBudgetTitleText), CUIMessageBox::kOneButton);
}

}  // namespace

void KeyboardDlg::EnableRecordingControls(bool enable) {
  for (UINT id : kRecordingInputIds) {
    if (MControl* control = GetControl(id)) control->SetEnabled(enable ? 1 : 0);
  }
}

void KeyboardDlg::StartMacroHook(int state) {
  m_inputHook.reset();
  m_recordStopPosted = false;
  m_recordState = state;
  m_inputHook = std::make_unique<InputHook>();
  m_inputHook->AddTarget(GetSafeHwnd(), 1, WM_KB_HOOK_INPUT);
}

void KeyboardDlg::EndMacroHook() {
  m_inputHook.reset();
  m_recordState = kRecordIdle;
  m_recordStopPosted = false;
  m_macroRecorder.Stop();
}

int KeyboardDlg::StartMacroRecording() {
  const int listed = m_macroList ? m_macroList->GetItemCount() : 0;
  const int budget = MacroRecordBudget(listed, ConfigDatabase::Instance().CountAllMacroRecords());
  if (budget < kRefusedBudget) {
    ShowBudgetBox(kBudgetRefusedText);
    return 0;
  }
  if (budget < kLowBudget) ShowBudgetBox(kBudgetLowText);
  m_macroRecorder.Start(ChosenDelayMode(), ChosenFixedDelay(), budget);
  if (m_btnRecordStart) m_btnRecordStart->SetVisible(0);
  if (m_btnRecordStop) m_btnRecordStop->SetVisible(1);
  EnableRecordingControls(false);
  if (m_recordList) m_recordList->DeleteAllItems();
  StartMacroHook(kRecording);
  return 1;
}

void KeyboardDlg::EndMacroRecording() {
  if (m_btnRecordStart) m_btnRecordStart->SetVisible(1);
  if (m_btnRecordStop) m_btnRecordStop->SetVisible(0);
  EndMacroHook();
  EnableRecordingControls(true);
}

int KeyboardDlg::StopMacroRecording() {
  if (m_recordState != kRecording) return 0;
  EndMacroRecording();
  // Saving also brings the captions of the keys that run the macro up to date.
  SaveMacroEvents();
  return 1;
}

void KeyboardDlg::EndMacroInputWithoutSaving() {
  if (m_recordState == kRecording) EndMacroRecording();
  if (m_recordState == kCapturingKey) EndMacroHook();
}

LRESULT KeyboardDlg::OnHookedInputEvent(WPARAM message, LPARAM record) {
  // The message may come from another process: only the record of the dispatch now running is read.
  if (!InputHook::IsDispatchedRecord(record) || m_recordState == kRecordIdle) return 0;
  MACRO_EVENT event;
  if (!m_macroRecorder.DecodeHookInput(message, reinterpret_cast<const KBDLLHOOKSTRUCT*>(record), event)) return 1;
  if (m_recordState == kRecording) {
    AppendRecordedEvent(event);
  } else {
    m_lastEventCode = event.code;
    if (m_editEventKey) m_editEventKey->SetControlTitle(event.name);
  }
  // Every key is swallowed while the page listens.
  return 1;
}

void KeyboardDlg::AppendRecordedEvent(const MACRO_EVENT& event) {
  // Events that come while the posted stop waits are swallowed, not recorded.
  if (!m_recordList || m_recordStopPosted) return;
  const RecordedStep step = m_macroRecorder.Record(event, m_macroClock());
  if (!step.append) return;
  if (step.previousDelay) m_recordList->UpdateDelayTime(step.previousDelay);
  const int rows = m_recordList->AddString(step.name, step.kind, step.code, 0) + 1;
  if (!m_macroRecorder.IsOverBudget(rows)) return;
  // The hook's dispatch is on the stack: its object may not go, and the save's wait dialog and
  // the message box may not run inside the hook's call. Both come once the call has returned.
  m_recordStopPosted = true;
  const bool posted = GetPaintManager()->PostCallable([this] {
    if (!m_recordStopPosted) return;
    StopMacroRecording();
    ShowBudgetBox(kBudgetLowText);
  });
  if (!posted) m_recordStopPosted = false;
}

int KeyboardDlg::OnEventKeyCapture(int code) {
  if (code == NOTIFY_EDITBEGIN) {
    if (m_recordState == kRecording) return 1;
    if (m_editEventKey) m_editEventKey->SetControlTitle(L"");
    m_macroRecorder.ForgetHeldKeys();
    StartMacroHook(kCapturingKey);
  } else if (code == NOTIFY_EDITEND && m_recordState == kCapturingKey) {
    EndMacroHook();
  }
  return 1;
}
