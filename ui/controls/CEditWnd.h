// CEditWnd: the native edit window of an MEdit field, shown over the field's text area
// while the user types. It shares the window class "FSEditWindow" with CEditWindow. Every
// change of its text becomes the field's title (NOTIFY_TEXTCHANGED); losing the keyboard
// focus reports NOTIFY_EDITEND; typed characters are swallowed while the field says so.
//
// Lifetime: the field creates it on the heap and keeps it (SetEditWindow) across hidings;
// the window's end clears the field's pointer and deletes the object, so the field only
// destroys the window. A field that goes first calls ReleaseOwner before destroying the
// window, after which nothing is called on the field. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/MWindow.h"
#include "ui/core/NativeEdit.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MEdit;

class TESK_API CEditWnd : public MWindow {
public:
  CEditWnd();

  // Overrides in MWindow's slot order.
  ~CEditWnd() override;
  const wchar_t* GetWindowClassName() const override;  // "FSEditWindow"
  const wchar_t* GetSuperClassName() const override;   // "Edit"
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyMessage(HWND hwnd) override;

  // Creates the window over the field's text area with the field's modes, filled with its
  // title, focused and all selected.
  void ShowEdit(MEdit* field);
  // A changed text becomes the field's title, is reported (26) and redrawn; only once shown.
  void OnTextChange();
  void ReleaseOwner() { m_pOwner = nullptr; }

private:
  MEdit* m_pOwner;
  EditColorBrush m_brush;
  int m_bShown;
};

}  // namespace TESK
