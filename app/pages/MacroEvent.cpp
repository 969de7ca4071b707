#include "app/pages/MacroEvent.h"

namespace {

struct ScanToKeypad {
  DWORD scan;
  int code;
};

// Scan codes of the keypad's digit and decimal keys and the keypad codes they stand for.
constexpr ScanToKeypad kKeypadKeys[] = {{71, VK_NUMPAD7}, {72, VK_NUMPAD8}, {73, VK_NUMPAD9}, {75, VK_NUMPAD4},
                                        {76, VK_NUMPAD5}, {77, VK_NUMPAD6}, {79, VK_NUMPAD1}, {80, VK_NUMPAD2},
                                        {81, VK_NUMPAD3}, {82, VK_NUMPAD0}, {83, VK_DECIMAL}};

constexpr DWORD kEnterScan = 28;
constexpr int kKeypadEnter = 108;

}  // namespace

int HookKeyCode(const KBDLLHOOKSTRUCT& event, bool released) {
  const DWORD plain = released ? LLKHF_UP : 0;
  const DWORD extended = plain | LLKHF_EXTENDED;
  if (event.flags == plain) {
    for (const ScanToKeypad& key : kKeypadKeys) {
      if (key.scan == event.scanCode) return key.code;
    }
  } else if (event.flags == extended && event.scanCode == kEnterScan) {
    return kKeypadEnter;
  }
  return static_cast<int>(event.vkCode);
}

CString KeyCaption(int code) {
  UINT scan = MapVirtualKeyExW(static_cast<UINT>(code), MAPVK_VK_TO_VSC, GetKeyboardLayout(0));
  // Page Up .. Delete without Select, Print, Execute and Print Screen: the navigation block.
  if (code >= VK_PRIOR && code <= VK_DELETE && !(code >= VK_SELECT && code <= VK_SNAPSHOT)) scan |= 0x100;
  wchar_t text[260] = {};
  GetKeyNameTextW(static_cast<LONG>(scan << 16), text, ARRAYSIZE(text));
  return CString(text);
}

bool DecodeHookEvent(WPARAM message, const KBDLLHOOKSTRUCT* event, MACRO_EVENT& out) {
  if (!event) return false;
  bool released;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      released = false;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      released = true;
      break;
    default:
      return false;
  }
  out.kind = kEventKey;
  out.released = released ? 1 : 0;
  out.code = HookKeyCode(*event, released);
  out.name = KeyCaption(out.code);
  return true;
}
