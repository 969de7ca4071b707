#include "FileDialogDriver.h"

#include <dlgs.h>

namespace testsupport {

namespace {

constexpr DWORD kPollMs = 5;

struct DialogSearch {
  DWORD process;
  std::vector<HWND> found;
};

// Visible dialogs of the searched process with the system's dialog class.
BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != search->process || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t className[16] = {};
  GetClassNameW(hwnd, className, ARRAYSIZE(className));
  if (wcscmp(className, L"#32770") == 0) search->found.push_back(hwnd);
  return TRUE;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t text[512] = {};
  if (hwnd) GetWindowTextW(hwnd, text, ARRAYSIZE(text));
  return text;
}

// The file-name field: an edit, or a combo box with an edit in some versions of the dialog.
HWND FileNameField(HWND dialog) {
  if (HWND edit = GetDlgItem(dialog, edt1)) return edit;
  return GetDlgItem(dialog, cmb13);
}

}  // namespace

FileDialogDriver::FileDialogDriver(std::vector<std::wstring> answers, DWORD process)
    : m_script(answers.begin(), answers.end()), m_process(process ? process : GetCurrentProcessId()) {
  m_thread = std::thread([this] { Run(); });
}

FileDialogDriver::~FileDialogDriver() {
  m_stop = true;
  m_thread.join();
}

void FileDialogDriver::Script(const std::vector<std::wstring>& answers) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_script.insert(m_script.end(), answers.begin(), answers.end());
}

std::vector<SeenFileDialog> FileDialogDriver::Seen() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_seen;
}

void FileDialogDriver::Run() {
  while (!m_stop) {
    DialogSearch search{m_process, {}};
    EnumWindows(&CollectDialog, reinterpret_cast<LPARAM>(&search));
    for (HWND dialog : search.found) Answer(dialog);
    {
      std::lock_guard<std::mutex> lock(m_lock);
      for (auto it = m_answered.begin(); it != m_answered.end();) it = IsWindow(*it) ? std::next(it) : m_answered.erase(it);
    }
    Sleep(kPollMs);
  }
}

void FileDialogDriver::Answer(HWND dialog) {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_answered.count(dialog)) return;
  }
  // Answered once its thread waits in the dialog's loop, with every control in place.
  if (!SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr)) return;
  HWND field = FileNameField(dialog);
  if (!field) {
    // No file-name field: the dialog's question about an existing file.
    if (GetDlgItem(dialog, IDYES)) {
      std::lock_guard<std::mutex> lock(m_lock);
      m_answered.insert(dialog);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDYES)));
    }
    return;
  }
  SeenFileDialog seen;
  seen.title = WindowText(dialog);
  seen.fileType = WindowText(GetDlgItem(dialog, cmb1));
  seen.owner = GetWindow(dialog, GW_OWNER);
  std::wstring answer;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_script.empty()) {
      answer = m_script.front();
      m_script.pop_front();
    }
    m_seen.push_back(seen);
    m_answered.insert(dialog);
  }
  if (answer.empty()) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    return;
  }
  SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.c_str()), SMTO_NORMAL, 1000, nullptr);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

}  // namespace testsupport
