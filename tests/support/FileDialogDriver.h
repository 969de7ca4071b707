// Drives the system's open and save file dialogs of a process (this one, or the real program
// that a ProgramHarness started) from a thread of its own, as a user would: each dialog that
// shows is answered once with the next scripted answer, a path typed into its file-name field
// and confirmed, or Cancel. A question the dialog asks about an existing file is answered with
// Yes. Records what each dialog showed: its title, the text of its file-type list and its
// owner. Polls every few milliseconds; the destructor stops the thread.
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

struct SeenFileDialog {
  std::wstring title;
  std::wstring fileType;  // the selected entry of the file-type list
  HWND owner = nullptr;
};

class FileDialogDriver {
 public:
  // An empty answer cancels the dialog; answers beyond the script cancel too. The dialogs
  // answered are those of the process with that id (0: this process).
  explicit FileDialogDriver(std::vector<std::wstring> answers = {}, DWORD process = 0);
  ~FileDialogDriver();
  FileDialogDriver(const FileDialogDriver&) = delete;
  FileDialogDriver& operator=(const FileDialogDriver&) = delete;

  void Script(const std::vector<std::wstring>& answers);
  std::vector<SeenFileDialog> Seen() const;

 private:
  void Run();
  void Answer(HWND dialog);

  mutable std::mutex m_lock;
  std::deque<std::wstring> m_script;
  std::vector<SeenFileDialog> m_seen;
  std::set<HWND> m_answered;
  const DWORD m_process;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

}  // namespace testsupport
