// CEditWnd2: the native edit window of an editable MComboBox, a superclass "CEditWnd2" of the
// system "Edit" class. Made on the combo's first in-place edit, placed over the combo's text
// area (a popup on the screen when the combo's window is layered), it copies each change of
// its text into the combo's title. The object deletes itself with its window and clears the
// combo's pointer to it; a combo that goes first detaches itself. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/GdiHandles.h"
#include "ui/core/MWindow.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MComboBox;

class TESK_API CEditWnd2 : public MWindow {
public:
  CEditWnd2();
  ~CEditWnd2() override;
  const wchar_t* GetWindowClassName() const override;
  const wchar_t* GetSuperClassName() const override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyMessage(HWND hwnd) override;

  // Creates and shows the window over combo's text area with the keyboard focus and all of
  // the title selected; false when no window could be made.
  bool ShowEdit(MComboBox* combo);
  // A reflected EN_CHANGE: the combo's title follows the text.
  void OnTextChange();
  // The combo is going: nothing is reported to it any more.
  void DetachCombo() { m_pCombo = nullptr; }

  static constexpr int kTextLimit = 60;

private:
  MComboBox* m_pCombo;
  ScopedGdiObject<HBRUSH> m_backBrush;
  int m_bShown;
};

}  // namespace TESK
