// UpdateTipDlg: the progress window of a software or firmware upgrade, a caption with the
// percentage over a progress bar. Created and shown modally on the UI thread by the upgrade
// flow; the worker only closes it (MDialog::DoOK). Its window title is "UpdateTipDlg".
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/MDialog.h"

namespace TESK {
class MProgress;
class MText;
}  // namespace TESK

class UpdateTipDlg : public TESK::MDialog {
 public:
  enum : UINT { kCaptionId = 30, kProgressId = 31 };

  UpdateTipDlg();

  // Creates the window centred on the screen and runs its modal loop until it closes.
  UINT ShowCentered(HWND owner);
  // Only creates the window, centred: a caller whose worker may close the dialog creates it
  // before it queues the work, and runs the loop (ShowModal) after.
  bool CreateCentered(HWND owner);
  // Shows "<caption>: <percent>%" and puts the bar at percent. Before the controls exist
  // only the text is kept.
  void SetProgress(int percent, const CString& caption);
  CString GetText() const { return m_text; }

  int OnInitDialog() override;
  void InitUI(CRect client) override;
  void UISize(CRect client) override;
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;

 private:
  TESK::MText* m_caption;
  TESK::MProgress* m_progress;
  CString m_text;
};
