// LoadingWnd: the busy window. A borderless per-pixel-alpha popup with a skinned background,
// a logo, an animated GIF strip of 232 x 58 pixels stepped by window timer 100 (a frame every
// second tick) and a four-cell close button. A release on the close button posts message
// 1524 (WM_USER + 500) to the parent; the window never closes itself, and WM_UI_CLOSEDIALOG
// leaves it open: the parent destroys it. The object belongs to its creator and outlives its
// window. UI thread only.
//
// Its 37 virtual operations are the layout of the library's tip-like windows (MTipWindow).
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/MTipWindow.h"
#include "ui/core/SkinPicture.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// Posted to the loading window's parent when its close button is released on.
constexpr UINT WM_UI_LOADINGCLOSE = WM_USER + 500;

class TESK_API LoadingWnd : public MTipWindow {
public:
  LoadingWnd();
  ~LoadingWnd() override;
  int OnInitDialog() override;
  LONG OnUserCloseWindow(UINT wParam, LONG lParam) override;
  void CloseWindow() override;
  int OnMouseMove(UINT keys, CPoint pt) override;
  int OnMouseLeave(UINT wParam, LONG lParam) override;
  int OnLButtonDown(UINT keys, CPoint pt) override;
  int OnLButtonUp(UINT keys, CPoint pt) override;
  int OnKillFocus(MWindow* next) override;
  int OnPaint() override;
  void OnTimer(UINT id) override;
  int OnClose() override;
  int PostNcDestroy() override;
  int OnDestroy() override;

  // Loads the animation and the logo and creates the window "Loading Window" in rect.
  HWND CreateDlg(HWND parent, CRect rect);
  // The animation, from the skin folder: its frame count when it has frames, else none.
  // Always 0.
  int LoadGifImage(CString file);
  // One of the 19 extra frames (index 0 to 18), from the skin folder; 1 when loaded, 0 when
  // not or for an index outside the table.
  int LoadAnimateImage(CString file, int index);

  // Paints the window's picture of width x height into dc, which has a 32-bit surface
  // selected: background, logo, the current animation frame and the close button's cell.
  // The timer pushes the same picture to the layered window.
  void ComposeWindow(HDC dc, int width, int height);

  static constexpr int kExtraFrames = 19;

protected:
  void DrawWindow();
  bool InCloseButton(CPoint pt) const;
  void StopAnimation() { m_running = 0; }

  CString m_fontName;
  SkinPicture m_logo;
  SkinPicture m_animation;
  int m_frameCount;
  int m_running;
  SkinPicture m_extraFrames[kExtraFrames];
  SkinPicture m_closeButton;
  int m_closeCellWidth;
  int m_closeCellHeight;
  CRect m_closeRect;
  int m_closeState;  // 0 normal, 1 hover, 2 pressed
  int m_tracking;    // a mouse tracking request is pending
  int m_currentFrame;
  int m_frameLimit;
  int m_tickCount;
  int m_ticksPerFrame;
};

}  // namespace TESK
