// CSliderPicture: a picture that slides into its rectangle on the window's multimedia ticks
// and hides itself once the slide is over. SetRun starts a slide in from the left edge, from
// the top or from the right edge; each step moves a hundredth of the control's width (or
// height), at least a pixel, and the part not yet covered shows a plain light fill. The
// slide is drawn straight onto the window's surface; the cached drawing holds the picture
// laid out like MPicture (modes 0 to 4). The control owns the picture it loads.
//
// Threads: ticks arrive on the multimedia timer thread under the engine's tick lock, which
// SetRun takes too; a step invalidates the control's rectangle in the window directly.
#pragma once

#include <windows.h>

#include "ui/controls/PictureShow.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// Where a slide comes from; other values move nothing.
enum SLIDER_MODE {
  SLIDER_MODE_LEFT = 1,   // position 0 up to the width
  SLIDER_MODE_TOP = 2,    // position from the top edge down to the bottom edge (window coordinates)
  SLIDER_MODE_RIGHT = 3,  // position from the right edge down to the left edge (window coordinates)
};

class TESK_API CSliderPicture : public MControlFont {
public:
  CSliderPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~CSliderPicture() override;

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlTimer() override;
  // The picture; no repaint.
  int SetImage(UINT id, CString type, int frames) override;
  int SetImage(const wchar_t* file, int frames) override;

  int SetShowMode(enumShowMode mode, int parameter);
  int SetShowModeMID(int left, int top, int right, int bottom);
  // Starts (run nonzero) or stops a slide of that mode from its start; returns the running
  // flag, which a disabled control keeps unchanged.
  int SetRun(int run, SLIDER_MODE mode);
  int IsRunning() const { return m_bRunning; }
  int GetPosition() const { return m_nPosition; }

private:
  PictureShow m_show;
  SLIDER_MODE m_slideMode;
  int m_nTick;
  int m_nTicksPerStep;
  int m_nPosition;
  int m_nTarget;
};

}  // namespace TESK
