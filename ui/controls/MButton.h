// MButton: the push button of the library: a 4-frame skin strip (normal, hover, down,
// disabled) nine-sliced into each state cell, with its title centred on it. A press reports
// NOTIFY_PRESSED and a release over a pressed button NOTIFY_CLICKED to the owner; the button
// shows the hand cursor while the pointer is over it. An icon strip may be loaded and is kept
// (owned by the button) for derived looks; this one does not draw it. Created by the
// factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/ButtonCells.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MButton : public MControlFont {
public:
  MButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // The icon strip from the skin folder; 1 when it loaded, else 0 and no icon.
  int SetIconImage(const wchar_t* file, int frames);
  // The nine-slice corner size; no repaint.
  void SetFrameSize(int size) { m_nFrameSize = size; }
  // The title's box within a cell (empty: the whole cell); no repaint.
  void SetTextRect(CRect rect) { m_rcText = rect; }
  // 0 normal, 1 hover, 2 down, 3 disabled.
  int GetState() const { return m_nState; }

protected:
  int m_nState;
  int m_nFrameSize;
  ButtonCells::OwnedStrip m_icon;
  CRect m_rcText;
};

}  // namespace TESK
