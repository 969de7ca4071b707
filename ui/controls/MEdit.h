// MEdit: the library's text field. Idle, it draws itself from a four-cell face (normal,
// hover, focused, disabled) with its title, or a grey tip while the title is empty, and an
// optional icon at the right edge with its own states. While the user edits it, a CEditWnd
// lies over the text area with the keyboard focus and every change is copied into the title.
// Modes: password, multi-line, read-only, digits only, typed characters off, text limit,
// password character, edit colours and font (read by the edit window when it is created).
// It is a tab stop: gaining the engine's focus opens the edit, losing it closes it.
// Notifications (wParam, lParam 0): 1 press / Space, 2 release / Space, 9 icon press,
// 26 text changed, 29 edit ended, 30 edit began, 31 icon release.
//
// Owns the icon image, the edit font and (through its window) the edit window. UI thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/core/CString.h"
#include "ui/core/GdiHandles.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CEditWnd;

class TESK_API MEdit : public MControlFont {
public:
  MEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled);
  ~MEdit() override;

  // Overrides in their base slot order.
  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  void SetControlRect(CRect rect) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;
  // A changed, non-null text becomes the title and the open window's text, and is redrawn.
  void SetControlTitle(const wchar_t* text) override;
  // Ends an edit in progress, then gives the title.
  CString GetControlTitle() override;

  // Modes: plain stores, read by the edit window when it is created and by the face when it
  // is rebuilt; none asks for a repaint.
  void EnablePassWord(int enable) { m_bPassword = enable; }
  int IsPassWordMode() const { return m_bPassword; }
  void EnableMultLine(int enable) { m_bMultiLine = enable; }
  int IsMultLineMode() const { return m_bMultiLine; }
  void SetReadOnly(int readOnly) { m_bReadOnly = readOnly; }
  int IsReadOnly() const { return m_bReadOnly; }
  void SetNumberOnly(int numberOnly) { m_bNumberOnly = numberOnly; }
  int IsNumberOnly() const { return m_bNumberOnly; }
  void EnableCharMessage(int enable) { m_bCharMessage = enable; }
  int GetCharMessage() const { return m_bCharMessage; }
  void SetLimitText(int limit) { m_nLimitText = limit; }
  int GetLimitText() const { return m_nLimitText; }
  void SetPassWordChar(wchar_t ch) { m_passwordChar = ch; }
  wchar_t GetPassWordChar() const { return m_passwordChar; }
  void SetEditBKColor(COLORREF color) { m_editBackColor = color; }
  COLORREF GetEditBKColor() const { return m_editBackColor; }
  void SetTipInfo(const wchar_t* tip) { m_strTip = tip ? tip : L""; }
  void SetEditWindow(CEditWnd* window) { m_pEditWnd = window; }

  // Text.
  // The open window's text while it is shown, else the title.
  CString GetEditText();
  // The title, when different; no repaint. A null text changes nothing.
  void SetEditText(const wchar_t* text);
  CString GetTitleEx() const { return m_strTitle; }

  // Appearance. The icon strip comes from the skin folder; frames below 1 count as 1.
  int SetIconImage(const wchar_t* file, int frames);
  void SetTextRect(CRect rect);
  CRect GetTextRect();
  // The text area in window coordinates, computed again when none is stored or recompute is set.
  CRect CalcTextRect(int recompute);
  void SetEditFont(const wchar_t* face, int size, int bold, int underline, int italic);
  void SetEditFont();
  // The edit font, made from the control's face on first use; owned.
  HFONT GetDefaultFont();
  COLORREF GetEditTextColor() const;

  // Editing.
  void ShowEdit();
  void HideEdit();
  int IsEditFocused();
  HWND GetEditHwnd();

protected:
  void Repaint(int rebuild);
  // The icon area at the right edge for the current rectangle.
  void PlaceIcon();
  bool InIcon(CPoint pt) const;
  // Text of one face cell: the title (or password characters) in the text colour, else the tip in grey.
  void DrawCellText(HDC dc, int cell);

  CString m_strTip;
  int m_bPassword;
  int m_bMultiLine;
  int m_bReadOnly;
  int m_bNumberOnly;
  int m_bCharMessage;
  int m_nLimitText;
  wchar_t m_passwordChar;
  COLORREF m_editBackColor;
  ScopedGdiObject<HFONT> m_editFont;
  int m_nState;
  int m_nFaceBorder;
  std::unique_ptr<Gdiplus::Image> m_pIconImage;
  int m_nIconFrameWidth;
  int m_nIconHeight;
  int m_nIconFrames;
  RECT m_rcIcon;
  RECT m_rcText;
  int m_bFixedText;
  int m_nIconState;
  CEditWnd* m_pEditWnd;
};

}  // namespace TESK
