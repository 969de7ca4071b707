// CTimerButton: a skin-strip push button that, once started, counts ten seconds down in its
// caption ("Resend(7s)") on the window engine's multimedia ticks and then clicks itself
// (NOTIFY_CLICKED). A click by the user ends the countdown. It shows a dotted frame while it
// has the focus. Input as MButton without cursor changes. Created by the factories; the
// countdown's ticks run on the multimedia timer's thread, everything else on the window's.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CTimerButton : public MControlFont {
public:
  CTimerButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  void SetControlEnabled(int enabled) override;
  int OnControlTimer() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Starts (1) or stops (0) the countdown from now; a disabled button keeps its running flag,
  // which is returned. Otherwise returns run.
  int SetRun(int run);
  int IsRun() const { return m_bRun; }
  void SetFrameSize(int size) { m_nFrameSize = size; }
  int GetState() const { return m_nState; }

protected:
  // The caption: the title, or while running the title with the seconds left.
  CString Caption() const;

  int m_nState;
  int m_nFrameSize;
  // Running, the tick count of the start and of the last refresh (GetTickCount milliseconds).
  volatile int m_bRun;
  DWORD m_dwStartTick;
  DWORD m_dwRefreshTick;
};

}  // namespace TESK
