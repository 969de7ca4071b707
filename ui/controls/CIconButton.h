// CIconButton: a skin-strip button with an icon at its left and a title. It reports
// NOTIFY_CLICKED on every release over it, pressed before or not, and keeps its down look
// after the release until the pointer moves again; it follows the pointer even while pressed.
// Created by the factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/ButtonCells.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CIconButton : public MControlFont {
public:
  CIconButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // The icon strip from the skin folder; 1 when it loaded, else 0 and no icon.
  int SetIconImage(const wchar_t* file, int frames);
  // Stored only: the drawing uses its own corner size.
  void SetFrameSize(int size) { m_nFrameSize = size; }
  void SetTextRect(CRect rect) { m_rcText = rect; }
  int GetState() const { return m_nState; }

private:
  int m_nState;
  int m_nFrameSize;
  ButtonCells::OwnedStrip m_icon;
  CRect m_rcText;
};

}  // namespace TESK
