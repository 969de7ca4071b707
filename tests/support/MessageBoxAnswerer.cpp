#include "MessageBoxAnswerer.h"

#include <cwchar>

#include "ui/core/MControlFont.h"
#include "ui/core/MDialog.h"

namespace testsupport {

namespace {

constexpr DWORD kPollMs = 5;
constexpr UINT kTitleId = 31, kMessageId = 32;

BOOL CALLBACK CollectBox(HWND hwnd, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t className[16] = {}, title[16] = {};
  GetClassNameW(hwnd, className, ARRAYSIZE(className));
  GetWindowTextW(hwnd, title, ARRAYSIZE(title));
  if (wcscmp(className, L"MWindow") == 0 && wcscmp(title, L"MessageBox") == 0) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  }
  return TRUE;
}

// The text of one of the box's controls; the box waits in its modal loop meanwhile.
bool ControlText(HWND box, UINT id, std::wstring* text) {
  auto* dialog = dynamic_cast<TESK::MDialog*>(reinterpret_cast<TESK::MWindow*>(GetWindowLongPtrW(box, GWLP_USERDATA)));
  auto* control = dialog ? dynamic_cast<TESK::MControlFont*>(dialog->GetControl(id)) : nullptr;
  if (!control) return false;
  *text = control->GetTitle().GetString();
  return true;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(int defaultAnswer) : m_default(defaultAnswer) {
  m_thread = std::thread([this] { Run(); });
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  m_stop = true;
  m_thread.join();
}

void MessageBoxAnswerer::Script(std::initializer_list<int> answers) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_script.insert(m_script.end(), answers.begin(), answers.end());
}

void MessageBoxAnswerer::SetDefaultAnswer(int answer) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_default = answer;
}

std::vector<AnsweredBox> MessageBoxAnswerer::Boxes() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_boxes;
}

std::vector<BoxTextIds> MessageBoxAnswerer::TextIds(const std::function<std::wstring(int)>& textOf, int first,
                                                   int last) const {
  std::vector<BoxTextIds> ids;
  for (const AnsweredBox& box : Boxes()) {
    BoxTextIds found;
    for (int id = first; id <= last; ++id) {
      const std::wstring text = textOf(id);
      if (text.empty()) continue;
      if (!found.message && text == box.message) found.message = id;
      if (!found.title && text == box.title) found.title = id;
    }
    ids.push_back(found);
  }
  return ids;
}

size_t MessageBoxAnswerer::Count() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_boxes.size();
}

void MessageBoxAnswerer::Clear() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_boxes.clear();
  m_script.clear();
}

void MessageBoxAnswerer::Run() {
  while (!m_stop) {
    std::vector<HWND> boxes;
    EnumWindows(&CollectBox, reinterpret_cast<LPARAM>(&boxes));
    for (HWND box : boxes) Answer(box);
    {
      // Boxes that are gone may hand their handle to a later box.
      std::lock_guard<std::mutex> lock(m_lock);
      for (auto it = m_answered.begin(); it != m_answered.end();) it = IsWindow(*it) ? std::next(it) : m_answered.erase(it);
    }
    Sleep(kPollMs);
  }
}

void MessageBoxAnswerer::Answer(HWND box) {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_answered.count(box)) return;
  }
  AnsweredBox record;
  // The box shows before its controls are made: a sent message is answered once its thread
  // waits in the modal loop, with every control in place.
  if (!SendMessageTimeoutW(box, WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr)) return;
  if (!ControlText(box, kTitleId, &record.title) || !ControlText(box, kMessageId, &record.message)) return;
  record.owner = GetWindow(box, GW_OWNER);
  record.thread = GetWindowThreadProcessId(box, nullptr);
  {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_script.empty()) {
      record.answer = m_default;
    } else {
      record.answer = m_script.front();
      m_script.pop_front();
    }
    m_answered.insert(box);
    m_boxes.push_back(record);
  }
  PostMessageW(box, WM_CLOSE, static_cast<WPARAM>(record.answer), 0);
}

}  // namespace testsupport
