#include "DropWindow.h"

#include <algorithm>

namespace testsupport {

DropWindow::~DropWindow() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

int DropWindow::OnInitDialog() {
  engine.Init(m_hWnd, this);
  return 1;
}

void DropWindow::OnDestroyMessage(HWND hwnd) { engine.OnDestroyMessage(hwnd); }

LRESULT DropWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONUP) seen.push_back("up");
  if (message == TESK::WM_UI_DROP) seen.push_back("drop");
  if (message == TESK::WM_UI_DRAGOVER) seen.push_back("over");
  if (message == STM_SETIMAGE) {
    seen.push_back("image");
    HBITMAP previous = image;
    image = reinterpret_cast<HBITMAP>(lParam);
    return takesImage ? reinterpret_cast<LRESULT>(previous) : 0;
  }
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

bool DropWindow::Dropped() const { return std::find(seen.begin(), seen.end(), "drop") != seen.end(); }

}  // namespace testsupport
