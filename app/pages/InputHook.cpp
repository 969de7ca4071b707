#include "app/pages/InputHook.h"

#include <algorithm>

#include "app/pages/InputCalls.h"

namespace {

// The process's hook and its installed objects, oldest first: the last one is current.
HHOOK g_hook = nullptr;
std::vector<InputHook*> g_installed;
// The event records of the dispatches now running (a target's answer may pump messages and
// let a nested event through).
std::vector<LPARAM> g_dispatching;

void RemoveSystemHook() {
  if (g_hook) SystemInputCalls().unhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

}  // namespace

InputHook::~InputHook() { Uninstall(); }

int InputHook::AddTarget(HWND hwnd, int, UINT message) {
  RemoveSystemHook();
  g_installed.erase(std::remove(g_installed.begin(), g_installed.end(), this), g_installed.end());
  g_hook = SystemInputCalls().setWindowsHookEx(WH_KEYBOARD_LL, HookProc, GetModuleHandleW(nullptr), 0);
  g_installed.push_back(this);
  m_installed = true;

  const bool known = std::any_of(m_targets.begin(), m_targets.end(), [&](const HOOK_TARGET& target) {
    return target.enabled && target.hwnd == hwnd && target.message == message;
  });
  if (!known) m_targets.push_back({hwnd, 1, message});
  return 1;
}

int InputHook::Uninstall() {
  if (!m_installed) return 1;
  m_installed = false;
  g_installed.erase(std::remove(g_installed.begin(), g_installed.end(), this), g_installed.end());
  if (g_installed.empty()) RemoveSystemHook();
  return 1;
}

void InputHook::ClearTargets() { m_targets.clear(); }

LRESULT CALLBACK InputHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && !g_installed.empty() && g_installed.back()->Dispatch(wParam, lParam)) return 1;
  return SystemInputCalls().callNextHookEx(g_hook, code, wParam, lParam);
}

int InputHook::Dispatch(WPARAM wParam, LPARAM lParam) {
  const std::vector<HOOK_TARGET> targets = m_targets;
  g_dispatching.push_back(lParam);
  int swallowed = 0;
  for (const HOOK_TARGET& target : targets) {
    if (!target.enabled || !IsWindow(target.hwnd)) continue;
    if (SendMessageW(target.hwnd, target.message, wParam, lParam)) {
      swallowed = 1;
      break;
    }
  }
  g_dispatching.pop_back();
  return swallowed;
}

bool InputHook::IsDispatchedRecord(LPARAM record) {
  return record && std::find(g_dispatching.begin(), g_dispatching.end(), record) != g_dispatching.end();
}
