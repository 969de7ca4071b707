// CEditWindow: the system edit control, superclassed as "FSEditWindow", laid over a drawn
// control's text area so the user can change that control's title in place (list rows).
// It is filled with the owner's title and all selected; every change of its text becomes
// the owner's title and is reported to the owner's parent as NOTIFY_TEXTCHANGED.
//
// Lifetime: the owner creates it on the heap, sets colours and limits, calls ShowEdit and
// registers the address of its own pointer to it; the owner ends it only by destroying its
// window. After the window's last message the object clears the registered pointer and
// deletes itself, so the owner never deletes it. An owner that goes first calls ReleaseOwner
// before destroying the window: nothing is called on it afterwards. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/Geometry.h"
#include "ui/core/GdiHandles.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MWindow.h"
#include "ui/core/NativeEdit.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MControlFont;

class TESK_API CEditWindow : public MWindow {
public:
  CEditWindow();

  // Overrides in MWindow's slot order.
  ~CEditWindow() override;
  const wchar_t* GetWindowClassName() const override;  // "FSEditWindow"
  const wchar_t* GetSuperClassName() const override;   // "Edit"
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyMessage(HWND hwnd) override;

  // Creates and shows the window over text (in the engine window's client coordinates); an
  // empty text area means the owner's rectangle narrowed by 6 on each side, one line of the
  // owner's font high, centred.
  void ShowEdit(MControlFont* owner, CRect text);
  int SetColor(COLORREF background, COLORREF text);
  void SetNumberOnly(int numberOnly) { m_bNumberOnly = numberOnly; }
  void SetLimitText(int limit) { m_nTextLimit = limit; }
  // The owner's pointer to this window, set to null at the window's end.
  void SetOwnerPointer(CEditWindow** pointer) { m_ppOwnerPointer = pointer; }
  void ReleaseOwner();
  // The owner's face at its size + 6 as a cell height, made on first use; owned.
  HFONT GetEditFont();
  // A changed text becomes the owner's title and is reported: 1; 0 while inactive or without
  // an owner.
  int OnTextChange();

  static constexpr UINT kBlinkTimer = 6553;

  // The in-place edit of a drawn list: how it looks and what it accepts.
  struct InPlace {
    COLORREF background;
    Gdiplus::ARGB text;  // the owner's text colour
    int numberOnly;
    int limit;  // characters; 0 keeps the default
  };
  // Opens owner's in-place edit over area (engine window's client coordinates) holding
  // text, the caret at its end and the keyboard focus in it: a new window registered in
  // slot while slot is null, else the open one moved there. False (slot null) when no
  // window could be made.
  static bool OpenInPlace(CEditWindow*& slot, MControlFont* owner, CRect area, const wchar_t* text,
                          const InPlace& look);
  // Ends owner's in-place edit as the owner goes: nothing is called on the owner afterwards.
  static void CloseInPlace(CEditWindow*& slot);

private:
  MControlFont* m_pOwner;
  EditColorBrush m_brush;
  int m_bActive;
  int m_bBlink;
  int m_bPassword;
  int m_bReadOnly;
  int m_bNumberOnly;
  int m_nTextLimit;
  UINT m_passwordChar;
  COLORREF m_backColor;
  COLORREF m_textColor;
  ScopedGdiObject<HFONT> m_font;
  CEditWindow** m_ppOwnerPointer;
};

}  // namespace TESK
