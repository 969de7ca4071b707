// Answers the program's message boxes ("MessageBox" windows of this process, whichever thread
// shows them) from a thread of its own, and records what each one said: its title and message
// texts, its owner and the thread that showed it. Each box is answered once, with the next of
// the scripted answers (WM_CLOSE with 1 for OK or 2 for Cancel), or with the default answer
// when the script is used up. Polls every few milliseconds; the destructor stops the thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct AnsweredBox {
  std::wstring title;
  std::wstring message;
  HWND owner = nullptr;
  DWORD thread = 0;
  int answer = 0;
};

class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(int defaultAnswer = 2);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  // Answers for the next boxes, in order.
  void Script(std::initializer_list<int> answers);
  void SetDefaultAnswer(int answer);
  std::vector<AnsweredBox> Boxes() const;
  size_t Count() const;
  void Clear();

 private:
  void Run();
  void Answer(HWND box);

  mutable std::mutex m_lock;  // guards everything below but the thread and the stop flag
  std::deque<int> m_script;
  int m_default;
  std::vector<AnsweredBox> m_boxes;
  std::set<HWND> m_answered;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

}  // namespace testsupport
