// Holds a key down through the system's input queue (SendInput), as a user's finger does, so
// that code reading the asynchronous key state (GetAsyncKeyState) sees it. The key goes up
// when the scope ends, also when the test fails on the way.
#pragma once

#include <windows.h>

namespace testsupport {

// One key event through the system's input queue (SendInput); true when the system took it.
bool SendKeyEvent(WORD vk, bool up);
// A press and a release of the key.
bool TapKey(WORD vk);

class HeldKey {
public:
  explicit HeldKey(WORD vk);
  ~HeldKey();
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;

  // Whether the system took the key press and reports the key down.
  bool IsDown() const;

private:
  WORD m_vk;
  bool m_sent;
};

}  // namespace testsupport
