// UpgradeButton: a skin-strip push button that can carry a red badge at its top right corner
// telling that an update is waiting (any non-zero status). Input as MButton without cursor
// changes. Created by the panel factory, always enabled; window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API UpgradeButton : public MControlFont {
public:
  UpgradeButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // 0: no badge; re-renders when it changes.
  void SetUpgradeStatus(int status);
  int GetUpgradeStatus() const { return m_nUpgradeStatus; }
  void SetFrameSize(int size) { m_nFrameSize = size; }
  int GetState() const { return m_nState; }

private:
  void DrawBadge(Gdiplus::Graphics& g, int x0);

  int m_nState;
  int m_nFrameSize;
  int m_nUpgradeStatus;
};

}  // namespace TESK
