// MAirBladder: the balloon tip. A borderless per-pixel-alpha popup that shows a short white
// text on a skinned background next to an anchor point, sizes itself to the text, and hides
// after 5 s (unless its type is 4) or when it loses the focus (unless its mode is 5). The
// window engine owns one per window; it draws itself without an engine. UI thread only.
//
// Its 37 virtual operations are the layout of the library's tip-like windows (MTipWindow).
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/MTipWindow.h"
#include "ui/core/PaintManager.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// 4: the tip is not hidden by its timer.
enum AIRBLADDER_TYPE : int {};
// Placement relative to the anchor, 1 to 5 (see AutoFit); 4 also centres the text, 5 keeps
// the tip on focus loss.
enum AIRBLADDER_MODE : int {};

class TESK_API MAirBladder : public MTipWindow {
public:
  MAirBladder();
  ~MAirBladder() override;
  int OnInitDialog() override;
  int OnKillFocus(MWindow* next) override;
  int OnPaint() override;

  // Arrow images: from the skin folder, or from a resource of the program. 1 when loaded.
  int LoadArrowLImage(CString file);
  int LoadArrowLImage(UINT resourceId, CString type);
  int LoadArrowRImage(CString file);
  int LoadArrowRImage(UINT resourceId, CString type);
  int LoadArrowTImage(CString file);
  int LoadArrowTImage(UINT resourceId, CString type);

  // Places the tip for text at the anchor and starts its hide timer; 1, or 0 for a null
  // text (nothing changes). The same message twice changes nothing and keeps the timer.
  int SetAirBladderMsg(const wchar_t* text, POINT anchor, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode);

  // The window rectangle for a text of width x textHeight pixels at anchor in mode; empty
  // for a mode outside 1 to 5, never of negative height.
  static CRect FitRect(int mode, POINT anchor, int width, int textHeight);

protected:
  void AutoFit();
  void LoadTempFont();
  // The tip font at 14 pixels, and the height of one of its lines.
  int LineHeight(Gdiplus::Font& font) const;

  CString m_text;
  POINT m_anchor;
  AIRBLADDER_TYPE m_type;
  AIRBLADDER_MODE m_mode;
  Gdiplus::FontFamily* m_pFontFamily;
  SkinPicture m_arrowTop;
  SkinPicture m_arrowLeft;
  SkinPicture m_arrowRight;
  int m_lineCount;
};

}  // namespace TESK
