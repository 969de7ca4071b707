// A plain window of one colour over the whole primary screen, shown by the test before it starts
// a program whose window then lies on top of it: a screen pixel of that colour belongs to no
// window of the program (a corner cut off by its region, a hidden window). Test thread only;
// it paints while the thread pumps messages.
#pragma once

#include <windows.h>

namespace testsupport {

class Backdrop {
 public:
  explicit Backdrop(COLORREF colour);
  ~Backdrop();
  Backdrop(const Backdrop&) = delete;
  Backdrop& operator=(const Backdrop&) = delete;

  HWND Handle() const { return m_hwnd; }
  COLORREF Colour() const { return m_colour; }

 private:
  COLORREF m_colour;
  HBRUSH m_brush;
  ATOM m_class = 0;
  HWND m_hwnd = nullptr;
};

}  // namespace testsupport
