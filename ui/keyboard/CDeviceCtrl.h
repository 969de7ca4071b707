// CDeviceCtrl: a device tile: the device's picture (the first frame of a strip loaded from a
// path as given) with its name, the title, under it (show mode 0) or, in a wide tile filled
// with the back colour, the picture at the left and the name beside it (other show modes).
// Only an active device (status not 0) takes the mouse: a press tells the owner
// NOTIFY_PRESSED (0, 0), a release inside NOTIFY_CLICKED (0, 0), and the tile shows its
// pressed look, drawn one pixel lower right, while hovered or pressed. Both looks are drawn
// once into two cells of the cached surface. Made by both factories ("CDeviceCtrl"); window's
// thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CDeviceCtrl : public MControlFont {
public:
  CDeviceCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~CDeviceCtrl() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  // The picture from the file at path (not the skin folder), frames side by side. Repaints;
  // 0 when it does not load (the tile then shows no picture).
  int SetImage(const wchar_t* path, int frames) override;
  using MControlFont::SetImage;

  void SetBackColor(Gdiplus::Color colour) { m_backColor = colour.GetValue(); }  // no repaint
  void SetDeviceStatus(int status);
  int GetDeviceStatus() const { return m_nStatus; }
  void SetShowMode(int mode);
  // 0 normal, 1 hovered, 2 pressed.
  int GetMouseState() const { return m_nMouseState; }

private:
  // The mouse state becomes state; the other cell shows when it changed.
  void ChangeState(int state);
  void RenderCell(Gdiplus::Graphics& g, int cell);
  // The mouse is taken only by an enabled tile of an active device.
  bool TakesMouse() const { return m_bEnabled && m_nStatus != 0; }

  Gdiplus::ARGB m_backColor;
  int m_nStatus;
  int m_nMouseState;
  int m_nShowMode;
  std::unique_ptr<Gdiplus::Image> m_picture;
  int m_nPictureWidth;  // one frame's
  int m_nPictureHeight;
  int m_nPictureFrames;
};

}  // namespace TESK
