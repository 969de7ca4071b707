#include "WindowSearch.h"

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

}  // namespace testsupport
