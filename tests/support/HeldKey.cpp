#include "HeldKey.h"

namespace testsupport {

namespace {

bool SendKey(WORD vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return SendInput(1, &input, sizeof(input)) == 1;
}

}  // namespace

HeldKey::HeldKey(WORD vk) : m_vk(vk), m_sent(SendKey(vk, false)) {}

HeldKey::~HeldKey() {
  if (m_sent) SendKey(m_vk, true);
}

bool HeldKey::IsDown() const { return m_sent && (GetAsyncKeyState(m_vk) & 0x8000) != 0; }

}  // namespace testsupport
