// CPhotoFrame: a photo laid out like MPicture (modes 0 to 4) under a nine-slice overlay
// frame, reacting to the mouse: normal, hover while the pointer is over it, pressed while
// the left button is held on it. A press reports NOTIFY_PRESSED and a release over a pressed
// frame NOTIFY_CLICKED to the owner. The cached drawing holds one cell per state side by
// side, so a state change only chooses another cell. The overlay strip gives each state
// its own frame (normal 0, hover 1, pressed 2, the last frame where the strip is shorter).
// The frame owns the photo and the overlay it loads. Created by the factories; UI thread only.
#pragma once

#include <windows.h>

#include "ui/controls/PictureShow.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CPhotoFrame : public MControlFont {
public:
  CPhotoFrame(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~CPhotoFrame() override;

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  // The overlay strip; no repaint.
  int SetImage(UINT id, CString type, int frames) override;
  int SetImage(const wchar_t* file, int frames) override;

  // The photo, with its frame width (width / frames); 1 when it loaded; no repaint.
  int SetPhotoFrame(const wchar_t* file, int frames);
  int SetPhotoFrame(UINT id, CString type, int frames);
  int SetShowMode(enumShowMode mode, int parameter);
  int SetShowModeMID(int left, int top, int right, int bottom);
  // 0 normal, 1 hover, 2 pressed.
  int GetState() const { return m_nState; }

private:
  // Moves to state; 0 when it is the current one, else 1 and a repaint without re-render.
  int ChangeState(int state);

  Gdiplus::Image* m_pPhoto;
  int m_nPhotoWidth;
  int m_nPhotoHeight;
  int m_nState;
  PictureShow m_show;
};

}  // namespace TESK
