// KeyTestDlg: the key test. A window of a whole keyboard's picture (KeyboardTestCtrl) in which
// every key the user presses turns green while held and red once released; the keys come from
// the low-level keyboard hook (InputHook), so keys such as Alt+Tab or the Windows keys are
// tested without acting while the dialog is in front, and reach other windows otherwise.
// The picture's keys carry USB usages: keyboard-page usages for keys, and the consumer usage
// + kMediaKeyOffset for the media keys, so that a media key and the key with the same
// keyboard usage (Mute and Left Alt are both 0xE2) each mark their own key.
//
// The opener owns the object and runs its loop; the hook lives from OnInitDialog to Close.
// UI thread only: the hook's events arrive on it.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/core/MDialog.h"

class InputHook;

namespace TESK {
class CRoundArea;
class KeyboardTestCtrl;
class MButton;
class MText;
}  // namespace TESK

class KeyTestDlg : public TESK::MDialog {
 public:
  enum : UINT { kTitleId = 30, kTitleBarId = 31, kPictureId = 32, kResetId = 33, kCloseId = 34 };
  static constexpr int kWidth = 1400, kHeight = 650;
  static constexpr int kLayoutWidth = 1186, kLayoutHeight = 420;
  static constexpr int kMediaKeyOffset = 0x10000;

  KeyTestDlg();
  ~KeyTestDlg() override;

  // Creates the window (title "KeyTestDlg", popup, kWidth x kHeight) owned by owner, centred;
  // false when it cannot be created.
  bool CreateCentered(HWND owner);

  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnInitDialog() override;
  void InitUI(CRect client) override;
  void UISize(CRect client) override;
  // A click on 33 clears the marks, on 34 closes; 1 for a click, 0 for any other code.
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;

  // Removes the hook and ends the loop. 1.
  int Close();
  // A hook event (WM_KB_HOOK_INPUT): marks the key while the dialog is in front and answers
  // non-zero, so the key goes no further; 0 lets it go on. A record that is not the event the
  // hook dispatches now is never read.
  int OnHookInput(WPARAM message, LPARAM record);
  // The picture's 143 keys in the layout's coordinates.
  void BuildTestLayout();

  TESK::KeyboardTestCtrl* Picture() const { return m_picture; }

 private:
  void AddTestKey(const wchar_t* label, int code, CRect rect);

  TESK::MText* m_title = nullptr;
  TESK::CRoundArea* m_titleBar = nullptr;
  TESK::KeyboardTestCtrl* m_picture = nullptr;
  TESK::MButton* m_reset = nullptr;
  TESK::MButton* m_close = nullptr;
  std::unique_ptr<InputHook> m_hook;
};
