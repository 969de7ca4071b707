// MProgress: a horizontal progress bar. It draws from a background and a foreground image of
// the window's image cache (12-px unscaled caps), else from a two-frame strip, else as a thin
// line with a filled bar under it, and may show "<title><value>%" above the bar. In running
// mode the value cycles 0 ... maximum - 1, one step every third multimedia tick, for work of
// unknown length. The images belong to the engine's cache.
//
// Threads: setters on the window's thread; OnControlTimer on the multimedia timer thread,
// where it only advances the value and hands a re-render request to the engine.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MProgress : public MControlFont {
public:
  MProgress(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlTimer() override;

  // Ignored while disabled; cut to the maximum; a new value >= 0 is stored and re-rendered.
  // Returns the progress.
  int SetProgress(int progress);
  int GetProgress() const { return m_nProgress; }
  // Stored only: the progress is neither clamped nor repainted.
  void SetMaxProgress(int maximum) { m_nMaxProgress = maximum; }
  int GetMaxProgress() const { return m_nMaxProgress; }
  void EnableShowText(int show) { m_bShowText = show; }

  // Images from the engine's cache: a skin file of one frame, or a "PNG" resource of the
  // program. False without an engine or when the image does not load.
  bool SetBackGroundImage(CString name);
  bool SetBackGroundImage(UINT id);
  bool SetForeGroundImage(CString name);
  bool SetForeGroundImage(UINT id);

  // Starts (run 1) or stops the cycling, optionally at value (0 ... maximum). Disabled bars
  // change nothing. Returns the running flag.
  int SetRun(int run, int value);
  int IsRun() const { return m_bRunning; }

private:
  struct BarImage {
    Gdiplus::Image* image = nullptr;
    int frameWidth = 0;
    int height = 0;
  };
  bool TakeCachedImage(BarImage& slot, ImgResInfo* info);
  // Fill width for the current value, within 0 ... width; 0 for a maximum that is not positive.
  int FillWidth(int width) const;
  void DrawBar(Gdiplus::Graphics& g, int width, int height, int fill);

  int m_nProgress;
  int m_nMaxProgress;
  int m_nTickCount;
  int m_nTicksPerStep;
  int m_nCapWidth;
  int m_bShowText;
  int m_nStripHeight;
  Gdiplus::ARGB m_lineColor;
  Gdiplus::ARGB m_fillColor;
  BarImage m_back;
  BarImage m_fore;
};

}  // namespace TESK
