// MAirBladder: the balloon tip. A borderless per-pixel-alpha popup that shows a short white
// text on a skinned background next to an anchor point, sizes itself to the text, and hides
// after 5 s (unless its type is 4) or when it loses the focus (unless its mode is 5). The
// window engine owns one per window; it draws itself without an engine. UI thread only.
//
// Its 37 virtual operations are the layout of the library's tip-like windows: MWindow's
// eight, then the handlers below in this order.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// 4: the tip is not hidden by its timer.
enum AIRBLADDER_TYPE : int {};
// Placement relative to the anchor, 1 to 5 (see AutoFit); 4 also centres the text, 5 keeps
// the tip on focus loss.
enum AIRBLADDER_MODE : int {};

class TESK_API MAirBladder : public MWindow {
public:
  MAirBladder();
  ~MAirBladder() override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnInitDialog() override;
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

  // Skin images: from the skin folder, or from a resource of the program. 1 when loaded.
  int LoadBKImage(CString file);
  int LoadBKImage(UINT resourceId, CString type);
  int LoadArrowLImage(CString file);
  int LoadArrowLImage(UINT resourceId, CString type);
  int LoadArrowRImage(CString file);
  int LoadArrowRImage(UINT resourceId, CString type);
  int LoadArrowTImage(CString file);
  int LoadArrowTImage(UINT resourceId, CString type);
  void SetBackMode(enumBackMode mode, int border);

  // Places the tip for text at the anchor and starts its hide timer; 1, or 0 for a null
  // text (nothing changes). The same message twice changes nothing and keeps the timer.
  int SetAirBladderMsg(const wchar_t* text, POINT anchor, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode);

  // The window rectangle for a text of width x textHeight pixels at anchor in mode; empty
  // for a mode outside 1 to 5, never of negative height.
  static CRect FitRect(int mode, POINT anchor, int width, int textHeight);
  // The tip's face: a copy of the first family of fonts or, when it has none, an installed
  // sans-serif face; null when neither exists. The caller owns it.
  static Gdiplus::FontFamily* TipFontFamily(const Gdiplus::FontCollection* fonts);

protected:
  void SetupRegion(int diameter);
  void AutoFit();
  void LoadTempFont();

  struct Picture {
    Gdiplus::Image* image = nullptr;
    int width = 0;
    int height = 0;
  };
  // Replaces picture with the loaded image; 1 when it loaded.
  static int Load(Picture& picture, Gdiplus::Image* loaded);
  // The tip font at 14 pixels, and the height of one of its lines.
  int LineHeight(Gdiplus::Font& font) const;

  CString m_text;
  POINT m_anchor;
  AIRBLADDER_TYPE m_type;
  AIRBLADDER_MODE m_mode;
  Gdiplus::FontFamily* m_pFontFamily;
  Gdiplus::StringFormat* m_pFormat;
  Picture m_background;
  Picture m_arrowTop;
  Picture m_arrowLeft;
  Picture m_arrowRight;
  enumBackMode m_backMode;
  int m_backBorder;
  int m_lineCount;
};

}  // namespace TESK
