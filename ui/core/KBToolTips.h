// KBToolTips: a bare key tip that keeps the key tip's interface and shows nothing: it checks
// its arguments and stores no text, and paints nothing. Part of the library's offer, used by
// nobody. Its window becomes a tool window without frame when created. UI thread only.
//
// Its 13 virtual operations: MWindow's eight, then the five below in this order.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"
#include "ui/core/SkinPicture.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API KBToolTips : public MWindow {
public:
  KBToolTips();
  ~KBToolTips() override;
  KBToolTips(const KBToolTips&) = delete;
  KBToolTips& operator=(const KBToolTips&) = delete;

  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual LONG OnUserCloseWindow(UINT wParam, LONG lParam);
  virtual void CloseWindow();
  virtual int OnCreate(CREATESTRUCTW* create);
  virtual int OnSize(UINT type, int cx, int cy);
  virtual int OnPaint();

  // The background, from the skin folder; 1 when loaded.
  int LoadBKImage(CString file);
  // 0 for a null title, or a null text with the current title; otherwise 1 (nothing is kept).
  int SetAirBladderMsg(const wchar_t* title, const wchar_t* text, const wchar_t* value, POINT anchor);

protected:
  CString m_title;
  CString m_text;
  CString m_value;
  POINT m_anchor;
  int m_type;
  int m_mode;
  Gdiplus::FontFamily* m_pFontFamily;
  Gdiplus::StringFormat* m_pFormat;
  SkinPicture m_background;
  enumBackMode m_backMode;
  int m_backBorder;
};

}  // namespace TESK
