// InputHook: the system's low-level keyboard hook, forwarded to windows. Each key event is
// sent (SendMessageW) to the registered target windows in registration order; a target that
// answers non-zero swallows the key, and no window of any program gets it.
//
// Owned by whoever creates it (the main window while recording, capturing a key or
// calibrating; the key test dialog while it is open); the owner deletes it, never from
// inside a target's answer. UI thread only: the hook procedure runs on the thread that
// installed the hook, inside that thread's message retrieval.
//
// The process keeps one system hook. Installing (every AddTarget) removes it and sets it
// again, so it is first in the system's chain, and makes this object the current one, whose
// targets the hook serves. Objects that overlap stack up: when the current object uninstalls
// or is deleted, the one installed before it that is still installed serves again; the last
// one to uninstall removes the system hook. A refused hook is not reported: the object counts
// as installed and receives nothing.
#pragma once

#include <windows.h>

#include <vector>

struct HOOK_TARGET {
  HWND hwnd;
  int enabled;   // always 1
  UINT message;  // sent to hwnd with the event's keyboard message and KBDLLHOOKSTRUCT*
};

class InputHook {
public:
  InputHook() = default;
  // Uninstalls when installed; the targets go with the object.
  ~InputHook();
  InputHook(const InputHook&) = delete;
  InputHook& operator=(const InputHook&) = delete;

  // Installs the hook (again) and registers the target; the same window and message are kept
  // once. The middle argument is not looked at. Returns 1.
  int AddTarget(HWND hwnd, int unused, UINT message);
  // Removes this object's hook when installed; the targets stay. Returns 1.
  int Uninstall();
  // Forgets every target.
  void ClearTargets();

  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  // Sends one event to the targets whose windows exist, in order, until one answers non-zero;
  // 1 then, else 0. Walks a copy, so a target may register, clear or uninstall meanwhile.
  int Dispatch(WPARAM wParam, LPARAM lParam);

  // Whether record is the event record of a dispatch now running: the hook's message may also
  // come from another process, whose lParam must not be read.
  static bool IsDispatchedRecord(LPARAM record);

  bool IsInstalled() const { return m_installed; }
  const std::vector<HOOK_TARGET>& Targets() const { return m_targets; }

private:
  std::vector<HOOK_TARGET> m_targets;
  bool m_installed = false;
};
