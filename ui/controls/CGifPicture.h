// CGifPicture: an animated image (a GIF of several frames) scaled to the control. While
// running, every fifth multimedia tick of the window shows the next frame, whatever delays
// the file stores; with mouse-move activation the animation runs only while the pointer is
// over the control and rests on frame 0 otherwise. The image comes from the window engine's
// cache and is shared with every control of the window that shows the same file, so its
// active frame is chosen again at each drawing; the control never deletes it.
//
// Threads: ticks arrive on the multimedia timer thread under the engine's tick lock; the
// running state and current frame are changed under that lock from other threads too. The
// image itself is only touched while drawing, on the window's thread.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CGifPicture : public MControlFont {
public:
  CGifPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~CGifPicture() override;

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlTimer() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  using MControlFont::SetImage;
  // Takes the file from the engine's cache and counts its frames; always 0. An image with
  // no frame dimension leaves the control without an image.
  int SetImage(const wchar_t* file, int frames) override;

  // Starts (run nonzero) or stops the animation at frame; 0 and nothing changed for an
  // image of fewer than 2 frames, else 1.
  int SetRunState(int run, int frame);
  void SetMouseMoveActive(bool active) { m_bMouseMoveActive = active; }
  int IsAnimate() const { return m_nGifFrames > 1; }
  // Makes frame index (checked against the count) the image's active frame.
  void SelectActiveFrame(int index);
  // Makes the frame after the last one chosen here active, wrapping to 0.
  void ActiveNextFrame();

  int GetFrameCount() const { return m_nGifFrames; }
  int GetCurrentFrame() const { return m_nCurrentFrame; }
  int IsRunning() const { return m_bRunning; }

protected:
  // Counts the frames of the image along its first frame dimension.
  void OnSetImage();

private:
  // Frame and running changes from any thread, under the engine's tick lock when there is
  // an engine; repaint (with redraw when the frame shown changes) when visible.
  void ChangeState(int run, int frame);

  int m_nGifFrames;
  int m_nNextFrame;
  GUID m_dimension;
  int m_nCurrentFrame;
  bool m_bMouseMoveActive;
  int m_nTick;
};

}  // namespace TESK
