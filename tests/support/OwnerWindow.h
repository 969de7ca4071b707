// OwnerWindow: a plain top-level window that stands in for a program window owning docked
// panels (child windows of its client area) or receiving the program's messages: shown
// without activation at a fixed place on the screen, it records the program's own messages
// (WM_USER and above) that reach it, in order, and lets a test answer any message itself.
// UI thread only; Received pumps the thread's queue, bounded.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace testsupport {

struct ReceivedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const ReceivedMessage& o) const {
    return message == o.message && wParam == o.wParam && lParam == o.lParam;
  }
};

class OwnerWindow {
public:
  OwnerWindow(int width, int height);
  ~OwnerWindow();
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;

  HWND Window() const { return m_window; }
  // Dispatches what is queued for the thread (at most timeoutMs), then every message of
  // WM_USER and above received since the last Clear, oldest first.
  std::vector<ReceivedMessage> Received(DWORD timeoutMs = 200);
  void Clear() { m_received.clear(); }

  // Called for every message the window gets, after it is recorded: returning true makes
  // result the window's answer; false leaves the message to the default processing.
  std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> handler;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window = nullptr;
  std::vector<ReceivedMessage> m_received;
};

}  // namespace testsupport
