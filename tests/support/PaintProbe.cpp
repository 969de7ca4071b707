#include "PaintProbe.h"

namespace testsupport {

int OpenPaintManager::TimerId(TESK::MControl* control, UINT key) const {
  for (const TimerRecord* record : m_timerRecords) {
    if (record->control == control && record->key == key) return static_cast<int>(record->id);
  }
  return -1;
}

bool OpenPaintManager::TimerRunning(TESK::MControl* control, UINT key) const {
  for (const TimerRecord* record : m_timerRecords) {
    if (record->control == control && record->key == key) return !record->killed;
  }
  return false;
}

int PaintHost::OnInitDialog() {
  engine.Init(m_hWnd, this);
  return 1;
}

void PaintHost::OnDestroyMessage(HWND hwnd) { engine.OnDestroyMessage(hwnd); }

LRESULT PaintHost::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++paints;
  if (message == WM_ERASEBKGND) return 1;
  if (const LRESULT handled = engine.OnWindowMessage(message, wParam, lParam)) return handled;
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

LRESULT PaintHost::OnControlUpdate(CRect rect, int redraw, TESK::MControl* control) {
  return engine.OnControlUpdate(rect, redraw, control);
}

SolidControl::SolidControl(TESK::MObject* owner, UINT id, CRect rect, COLORREF c)
    : MControl(owner, id, rect, 1, 1, 1), colour(c) {}

void SolidControl::DrawControl(HDC& dc, CRect) {
  const int cx = m_rect.Width(), cy = m_rect.Height();
  if (!GetUpdate()) {
    UpdateMemDC(dc, cx, cy);
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT all = {0, 0, cx, cy};
    FillRect(m_hCacheDC, &all, brush);
    DeleteObject(brush);
    ++renders;
  }
  BitBlt(dc, m_rect.left, m_rect.top, cx, cy, m_hCacheDC, 0, 0, SRCCOPY);
}

int SolidControl::OnControlTimer() {
  ++ticks;
  if (repaintOnTick) UpdateControl(1, 0);
  return 1;
}

}  // namespace testsupport
