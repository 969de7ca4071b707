#include "ModalScript.h"

#include <map>

namespace testsupport {

namespace {

// The pending steps by timer id (thread timers carry no user data).
std::map<UINT_PTR, std::function<void()>>& Steps() {
  static std::map<UINT_PTR, std::function<void()>> steps;
  return steps;
}

}  // namespace

ModalScript::ModalScript(HWND watched, DWORD watchdogMs) {
  At(watchdogMs, [watched] {
    if (IsWindow(watched)) PostMessageW(watched, WM_CLOSE, kWatchdogResult, 0);
  });
}

ModalScript::~ModalScript() {
  for (UINT_PTR id : m_timers) {
    KillTimer(nullptr, id);
    Steps().erase(id);
  }
}

void ModalScript::At(DWORD ms, std::function<void()> step) {
  const UINT_PTR id = SetTimer(nullptr, 0, ms, Fire);
  if (!id) return;
  Steps()[id] = std::move(step);
  m_timers.push_back(id);
}

void CALLBACK ModalScript::Fire(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto it = Steps().find(id);
  if (it == Steps().end()) return;
  std::function<void()> step = std::move(it->second);
  Steps().erase(it);
  step();
}

}  // namespace testsupport
