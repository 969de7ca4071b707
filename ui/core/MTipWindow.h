// MTipWindow: the common base of the library's tip-like popups (the balloon tip MAirBladder,
// the key tip CKeyboardTips and the busy window LoadingWnd). It fixes their 37 virtual
// operations, MWindow's eight and then the handlers below in this order, which windows of
// the family override by position; it translates window messages into those handlers and
// holds what all three carry: a nine-slice background picture, the stored background mode
// and border, and a string format. The windows draw themselves without a window engine.
// The object belongs to its creator and outlives its window. UI thread only.
//
// Defaults are the balloon tip's: a tool window without frame, a rounded region on every
// size change, mouse and key handlers that do nothing, WM_UI_CLOSEDIALOG posting WM_CLOSE,
// and timer 10 and focus loss hiding the window.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"
#include "ui/core/SkinPicture.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MTipWindow : public MWindow {
public:
  // A string format of flags 0x1800 (no wrapping, trailing spaces measured) with the given
  // horizontal and vertical alignment.
  MTipWindow(Gdiplus::StringAlignment alignment, Gdiplus::StringAlignment lineAlignment);
  ~MTipWindow() override;
  MTipWindow(const MTipWindow&) = delete;
  MTipWindow& operator=(const MTipWindow&) = delete;

  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual LONG OnUserCloseWindow(UINT wParam, LONG lParam);
  virtual void CloseWindow();
  virtual int OnCreate(CREATESTRUCTW* create);
  virtual int OnSize(UINT type, int cx, int cy);
  virtual int OnMouseMove(UINT keys, CPoint pt);
  virtual int OnMouseLeave(UINT wParam, LONG lParam);
  virtual int OnMouseHover(UINT wParam, LONG lParam);
  virtual int OnMouseWheel(UINT keys, short delta, CPoint pt);
  virtual int OnLButtonDown(UINT keys, CPoint pt);
  virtual int OnLButtonUp(UINT keys, CPoint pt);
  virtual int OnLButtonDblClk(UINT keys, CPoint pt);
  virtual int OnRButtonDown(UINT keys, CPoint pt);
  virtual int OnRButtonUp(UINT keys, CPoint pt);
  virtual int OnRButtonDblClk(UINT keys, CPoint pt);
  virtual int OnKeyDown(UINT key, UINT count, UINT flags);
  virtual int OnNcHitTest(CPoint pt);
  virtual int OnGetMinMaxInfo(MINMAXINFO* info);
  virtual int OnNcCalcSize(int calcValidRects, NCCALCSIZE_PARAMS* params);
  virtual int OnNcActivate(int active);
  virtual int OnSetFocus(MWindow* previous);
  virtual int OnKillFocus(MWindow* next);
  virtual int OnWindowPosChanging(WINDOWPOS* pos);
  virtual int OnWindowPosChanged(WINDOWPOS* pos);
  virtual int OnPaint();
  virtual void OnTimer(UINT id);
  virtual int OnNcPaint();
  virtual int OnClose();
  virtual int PostNcDestroy();
  virtual int OnDestroy();

  // The background: from the skin folder, or from a resource of the program. 1 when loaded.
  int LoadBKImage(CString file);
  int LoadBKImage(UINT resourceId, CString type);
  void SetBackMode(enumBackMode mode, int border);

  // The tips' face: a copy of the first family of fonts or, when it has none, of the
  // library's fall-back face (FallbackFontFamily); null when neither exists. The caller owns it.
  static Gdiplus::FontFamily* TipFontFamily(const Gdiplus::FontCollection* fonts);

protected:
  // The face embedded in the library (resource 106, "ttf"), or an installed one; the caller
  // owns the family. The embedded collection is read once and kept for the process.
  static Gdiplus::FontFamily* NewEmbeddedFontFamily();

  // A rounded-rectangle region of the window's size with the given corner diameter.
  void SetupRegion(int diameter);
  // Focus loss: hides the window unless keepShown, and stops the hide timer; returns 1.
  int HideOnFocusLoss(bool keepShown);
  // Composes the client's picture with compose, into a memory DC that holds a 32-bit
  // surface of the client's size (transparent to begin with), and pushes it to the window:
  // as a per-pixel-alpha layered window, or copied onto an opaque one. Nothing while
  // minimised or without a client area.
  void PaintClient(const std::function<void(HDC dc, int width, int height)>& compose, bool layered);

  Gdiplus::StringFormat* m_pFormat;
  SkinPicture m_background;
  enumBackMode m_backMode;
  int m_backBorder;
};

}  // namespace TESK
