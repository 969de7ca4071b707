// CTextButton: a button that is only its title, drawn in one colour per state (normal is the
// control's text colour). Input as MButton without cursor changes, except that a click is
// reported before the button takes its hover state. Created by the factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CTextButton : public MControlFont {
public:
  CTextButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // The four state colours; re-renders.
  void SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color down, Gdiplus::Color disabled);
  int GetState() const { return m_nState; }

private:
  int m_nState;
  Gdiplus::ARGB m_hoverColor;
  Gdiplus::ARGB m_downColor;
  Gdiplus::ARGB m_disabledColor;
};

}  // namespace TESK
