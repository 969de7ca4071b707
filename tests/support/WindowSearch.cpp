#include "WindowSearch.h"

#include <cwchar>

namespace testsupport {

namespace {

struct Search {
  HWND owner;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchOwnedWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (GetWindow(hwnd, GW_OWNER) == search->owner && lstrcmpiW(name, search->className) == 0) search->found = hwnd;
  return search->found == nullptr;
}

BOOL CALLBACK MatchVisibleWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (IsWindowVisible(hwnd) && lstrcmpiW(name, search->className) == 0) search->found = hwnd;
  return search->found == nullptr;
}

BOOL CALLBACK MatchVisibleTree(HWND top, LPARAM param) {
  MatchVisibleWindow(top, param);
  auto* search = reinterpret_cast<Search*>(param);
  if (!search->found) EnumChildWindows(top, MatchVisibleWindow, param);
  return search->found == nullptr;
}

struct ProcessSearch {
  DWORD process;
  const wchar_t* className;
  const wchar_t* title;
  bool shownOnly;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ProcessSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != search->process || (search->shownOnly && !IsWindowVisible(hwnd))) return TRUE;
  wchar_t name[64] = {}, title[512] = {};
  GetClassNameW(hwnd, name, 64);
  GetWindowTextW(hwnd, title, 512);
  if (wcscmp(name, search->className) == 0 && (!search->title || wcscmp(title, search->title) == 0)) {
    search->found = hwnd;
  }
  return search->found == nullptr;
}

}  // namespace

HWND FindVisibleWindow(const wchar_t* className) {
  Search search = {nullptr, className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchVisibleTree, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindOwnedWindow(HWND owner, const wchar_t* className) {
  Search search = {owner, className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchOwnedWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title, bool shownOnly) {
  ProcessSearch search = {processId, className, title, shownOnly, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace testsupport
