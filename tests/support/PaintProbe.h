// Probes for the window engine's painting: an engine whose inner state tests may read, a
// window that hosts it as the dialogs do (every message and its controls' repaint requests
// go to the engine), and a control that fills its rectangle with one colour from
// its cached drawing and counts how often it was rendered and ticked.
#pragma once

#include <windows.h>

#include <atomic>

#include "ui/core/MControl.h"
#include "ui/core/MObject.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"

namespace testsupport {

class OpenPaintManager : public TESK::PaintManager {
public:
  using PaintManager::AttachControl;
  using PaintManager::m_bCaretOn;
  using PaintManager::m_mTimerId;
  using PaintManager::m_overlayAlpha;
  using PaintManager::m_overlayProgress;
  using PaintManager::m_overlayRect;
  using PaintManager::m_overlayTarget;
  using PaintManager::m_overlayText;
  using PaintManager::m_tickControls;
  using PaintManager::m_timerCounter;
  using PaintManager::m_timerRecords;
  // The window-timer id of a control's key, or -1.
  int TimerId(TESK::MControl* control, UINT key) const;
  // Whether that timer is set and not stopped.
  bool TimerRunning(TESK::MControl* control, UINT key) const;
  // As if the system tracked the pointer (a hidden window gets no mouse tracking).
  void ArmTracking() { m_bTracking = 1; }
};

class PaintHost : public TESK::MWindow, public TESK::MObject {
public:
  int OnInitDialog() override;
  void OnDestroyMessage(HWND hwnd) override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, TESK::MControl* control) override;

  OpenPaintManager engine;
  std::atomic<int> paints{0};  // WM_PAINT messages received
};

class SolidControl : public TESK::MControl {
public:
  SolidControl(TESK::MObject* owner, UINT id, CRect rect, COLORREF colour);
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlTimer() override;

  COLORREF colour;
  bool repaintOnTick = false;  // a tick asks for a repaint of the control (timer thread)
  std::atomic<int> renders{0};
  std::atomic<int> ticks{0};
};

}  // namespace testsupport
