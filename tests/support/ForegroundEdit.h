// A window of the test in front of every other, for tests of what reaches "another program"
// while the program under test watches the keyboard: a topmost native edit with the keyboard
// focus, which counts every key message it receives (so a key that types nothing, as Shift,
// counts as well) and keeps what is typed. Keys reach it while the test's thread pumps.
// Used on the test's thread; destroyed with the object.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

class ForegroundEdit {
 public:
  // Created at a screen point clear of the program's window, brought to the front.
  explicit ForegroundEdit(POINT at = {0, 1040});
  ~ForegroundEdit();
  ForegroundEdit(const ForegroundEdit&) = delete;
  ForegroundEdit& operator=(const ForegroundEdit&) = delete;

  HWND Handle() const { return m_edit; }
  // Makes it the foreground window with the keyboard focus again.
  void Front() const;
  // Key messages (down and up, system keys too) received since it was made.
  int KeyMessages() const { return m_keyMessages; }
  std::wstring Text() const;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_edit = nullptr;
  WNDPROC m_editProc = nullptr;
  int m_keyMessages = 0;
};

}  // namespace testsupport
