#include "WindowSearch.h"

namespace testsupport {

HWND FindOwnedWindow(HWND owner, const wchar_t* className) {
  struct Search {
    HWND owner;
    const wchar_t* className;
    HWND found;
  } search = {owner, className, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (GetWindow(hwnd, GW_OWNER) == s->owner && lstrcmpiW(name, s->className) == 0) s->found = hwnd;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace testsupport
