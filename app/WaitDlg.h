// WaitDlg: the small animated window that blocks the user while the worker carries out a
// task. RunWaitDialog is the one way the pages show it: the dialog's window exists and is
// registered with the link before the task is queued, so the worker's close (DoOK, from its
// thread) is never lost, however quickly the task ends. Its window title is "WaitDlg".
#pragma once

#include <windows.h>

#include "ui/core/MDialog.h"

class DeviceLink;

class WaitDlg : public TESK::MDialog {
 public:
  enum : UINT { kAnimationId = 30 };
  static constexpr int kSize = 102;

  // Creates the window, kSize square, centred on the owner's window rectangle.
  HWND CreateCentered(HWND owner);
  // Creates the window centred on the owner and runs its modal loop until it closes.
  UINT ShowCentered(HWND owner);

  int OnInitDialog() override;
  void InitUI(CRect client) override;
  void UISize(CRect client) override;
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
  int OnDestroy() override;
};

// Shows a wait dialog over owner while the worker runs taskId (UI thread): under the task
// lock the previous wait dialog is freed and the new one, whose window already exists, is
// registered, then the task is appended; then the dialog's modal loop runs. The dialog
// stays registered after its loop ends, until the next wait dialog replaces it. Returns the
// loop's result (1 when the worker closed it).
UINT RunWaitDialog(DeviceLink& link, HWND owner, int taskId);
