// CKeyboardTips: the key tip, a fixed 190 x 100 dark box shown above a key of the on-screen
// keyboard with three centred lines (title, text and a larger value). The keyboard control
// creates it on first use, fills it through SetAirBladderMsg, shows and hides it, and owns
// it; the box itself only moves and repaints. It is opaque and painted with GDI. A focus
// loss hides it (mode 4), as does timer 10. UI thread only.
//
// Its 37 virtual operations are the layout of the library's tip-like windows (MTipWindow).
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiHandles.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/MTipWindow.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CKeyboardTips : public MTipWindow {
public:
  CKeyboardTips();
  ~CKeyboardTips() override;
  int OnInitDialog() override;
  int OnKillFocus(MWindow* next) override;
  int OnPaint() override;

  // Fills the box and, when the title is not empty, moves it above the anchor (the top
  // middle of the key, in screen coordinates) and repaints it. A null text or value stores
  // an empty line. 0 and nothing changes for a null title, or for a null text with the
  // current title; 1 otherwise. The same four arguments again change nothing.
  int SetAirBladderMsg(const wchar_t* title, const wchar_t* text, const wchar_t* value, POINT anchor);
  // The key tips' argument rule: a null title, or a null text with the current title, is refused.
  static bool RefusesMessage(const CString& currentTitle, const wchar_t* title, const wchar_t* text);

  // Paints the box's picture of width x height into dc: the frame, the background and, with
  // a title, the three lines. OnPaint copies it to the window.
  void ComposeTip(HDC dc, int width, int height);

protected:
  void AutoFit();
  void LoadTempFont();
  // The small (14 pixels) and large (18 pixels) fonts of the lines, made on first use.
  HFONT GetGDIFont11();
  HFONT GetGDIFont2();

  CString m_title;
  CString m_text;
  CString m_value;
  POINT m_anchor;
  int m_type;
  int m_mode;
  Gdiplus::FontFamily* m_pFontFamily;
  ScopedGdiObject<HFONT> m_smallFont;
  ScopedGdiObject<HFONT> m_largeFont;
};

}  // namespace TESK
