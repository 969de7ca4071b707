// DownloadButton: a skin-strip push button that becomes a progress bar while a download runs:
// with a progress above 0 the strip's second frame fills that share of the control over its
// first frame, under the percentage, whatever the pointer does. Input as MButton without
// cursor changes. Created by the panel factory, always enabled; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/ButtonCells.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API DownloadButton : public MControlFont {
public:
  DownloadButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // The percentage shown; above 0 the progress look. Re-renders when it changes.
  void SetDownloadProcess(int percent);
  int GetDownloadProcess() const { return m_nProgress; }
  // As MButton's (the icon is kept, not drawn; the text rectangle is kept, not used).
  int SetIconImage(const wchar_t* file, int frames);
  void SetFrameSize(int size) { m_nFrameSize = size; }
  void SetTextRect(CRect rect) { m_rcText = rect; }
  int GetState() const { return m_nState; }

private:
  void DrawProgress(Gdiplus::Graphics& g);

  int m_nState;
  int m_nFrameSize;
  ButtonCells::OwnedStrip m_icon;
  CRect m_rcText;
  int m_nProgress;
};

}  // namespace TESK
