// Answers the program's message boxes ("MessageBox" windows of this process, whichever thread
// shows them) from a thread of its own, and records what each one said: its title and message
// texts, its owner and the thread that showed it. Each box is answered once, with the next of
// the scripted answers (WM_CLOSE with 1 for OK or 2 for Cancel), or with the default answer
// when the script is used up. Polls every few milliseconds; the destructor stops the thread.
// TextIds reports which language texts the boxes showed.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>
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

// The language text ids of a box's message and title; 0 where no text of the range matched.
struct BoxTextIds {
  int message = 0;
  int title = 0;
  bool operator==(const BoxTextIds& other) const { return message == other.message && title == other.title; }
};
inline void PrintTo(const BoxTextIds& ids, std::ostream* out) {
  *out << "message " << ids.message << ", title " << ids.title;
}

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
  // For each box so far, the ids from first to last whose text (textOf) equals its message
  // and its title (the lowest such id).
  std::vector<BoxTextIds> TextIds(const std::function<std::wstring(int)>& textOf, int first, int last) const;
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
