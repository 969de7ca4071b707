#include "RecordingShell.h"

#include <atomic>
#include <mutex>

#include "app/Language.h"
#include "app/UIMessageBox.h"

namespace {

std::mutex g_lock;
std::vector<testsupport::MessageBoxCall> g_boxes;
std::atomic<bool> g_languageFileMissing{false};

}  // namespace

int ShowMessageBox(HWND owner, const CString& message, const CString& title, int buttonMode) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_boxes.push_back({owner, message, title, buttonMode});
  return 1;
}

CString LoadLanString(const wchar_t* section, int textId) {
  CString text;
  if (g_languageFileMissing) return text;
  text.Format(L"%s#%d", section ? section : L"", textId);
  return text;
}

namespace testsupport {

std::vector<MessageBoxCall> MessageBoxes() {
  std::lock_guard<std::mutex> lock(g_lock);
  return g_boxes;
}

void ClearMessageBoxes() {
  std::lock_guard<std::mutex> lock(g_lock);
  g_boxes.clear();
}

CString LanText(int textId) { return LoadLanString(L"KB.DIALOG", textId); }

LanguageFileMissing::LanguageFileMissing() { g_languageFileMissing = true; }
LanguageFileMissing::~LanguageFileMissing() { g_languageFileMissing = false; }

}  // namespace testsupport
