// The program's own modal message box: a title, a message of several lines and one or two
// buttons, drawn by the library. ShowMessageBox creates the box, runs its modal loop on the
// calling thread and frees it; the window's title is "MessageBox", so other code can find
// and close it (WM_CLOSE with wParam 2 gives Cancel).
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/MDialog.h"

// Shows a modal message box on the calling thread and returns when it closes: 1 for OK
// (the first button), 2 for Cancel (the second button, or a box closed from outside).
// buttonMode 0 shows one button, 4 shows OK and Cancel; other modes show no button, and
// such a box ends only from outside. A null owner gives an unowned box.
int ShowMessageBox(HWND owner, const CString& message, const CString& title, int buttonMode);

class CUIMessageBox : public TESK::MDialog {
 public:
  // Control ids: the title, the message and the two buttons.
  enum : UINT { kTitleId = 31, kMessageId = 32, kOkId = 33, kCancelId = 34 };
  // Button modes.
  enum : int { kOneButton = 0, kTwoButtons = 4 };

  CUIMessageBox(const CString& title, const CString& message, int buttonMode);

  int OnInitDialog() override;
  void InitUI(CRect client) override;
  void UISize(CRect client) override;
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
  int OnDestroy() override;

 private:
  CString m_title;
  CString m_message;
  int m_buttonMode;
};
