// The main window's held-key display of the advanced-key page, fed by raw input.
#include "app/KeyboardDlg.h"

#include "app/pages/KeyCodeMap.h"
#include "app/pages/RawInput.h"
#include "ui/keyboard/CKeyTestCtrl.h"

void KeyboardDlg::OnKeyTestRawInput(HRAWINPUT input) {
  if (!m_rawInputToken) return;
  MACRO_EVENT event;
  DecodeRawInput(input, event);
  if (event.kind != kEventKey) return;
  const KeyCodeMap& codes = KeyCodeMap::Instance();
  const int usage = codes.VirtualKeyToUsage(&event.code);
  if (event.released) {
    m_heldKeys.erase(usage);
    if (m_keyTestCtrl) m_keyTestCtrl->RemoveKey(usage);
    return;
  }
  // The system repeats a held key's press: only the first one adds a label.
  if (!m_heldKeys.emplace(usage, 1).second) return;
  CString caption;
  codes.UsageToKeyName(caption, usage);
  if (m_keyTestCtrl) m_keyTestCtrl->AddKey(caption, usage);
}

void KeyboardDlg::StartKeyTestInput() {
  if (m_rawInputToken) UnregisterRawInput();
  m_rawInputToken = RegisterRawInput(GetSafeHwnd());
}

void KeyboardDlg::StopKeyTestInput() {
  if (m_rawInputToken) {
    UnregisterRawInput();
    m_rawInputToken = nullptr;
  }
  if (m_keyTestCtrl) m_keyTestCtrl->ClearList();
  m_heldKeys.clear();
}
