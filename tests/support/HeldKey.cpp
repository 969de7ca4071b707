#include "HeldKey.h"

namespace testsupport {

bool SendKeyEvent(WORD vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return SendInput(1, &input, sizeof(input)) == 1;
}

bool TapKey(WORD vk) {
  const bool down = SendKeyEvent(vk, false);
  return SendKeyEvent(vk, true) && down;
}

HeldKey::HeldKey(WORD vk) : m_vk(vk), m_sent(SendKeyEvent(vk, false)) {}

HeldKey::~HeldKey() {
  if (m_sent) SendKeyEvent(m_vk, true);
}

bool HeldKey::IsDown() const { return m_sent && (GetAsyncKeyState(m_vk) & 0x8000) != 0; }

}  // namespace testsupport
