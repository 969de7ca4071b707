#include "app/pages/MacroRecorder.h"

namespace {

// Keys whose layout names differ between systems or are missing get a fixed caption (null:
// the layout's), and the modifiers are stored as their keyboard usage (0: the key's code).
struct HookKeyLook {
  int code;
  const wchar_t* caption;
  int stored;
};
constexpr HookKeyLook kHookKeyLooks[] = {
    {VK_PAUSE, L"Pause", 0},
    {VK_SNAPSHOT, L"Print Screen", 0},
    {VK_LWIN, L"Windows", 227},
    {VK_RWIN, L"RWindows", 231},
    {VK_APPS, L"Application", 0},
    {VK_NUMLOCK, L"Num Lock", 0},
    {VK_SHIFT, nullptr, 225},
    {VK_LSHIFT, L"Shift", 225},
    {VK_RSHIFT, L"RShift", 229},
    {VK_CONTROL, nullptr, 224},
    {VK_LCONTROL, L"Ctrl", 224},
    {VK_RCONTROL, L"RCtrl", 228},
    {VK_MENU, nullptr, 226},
    {VK_LMENU, L"Alt", 226},
    {VK_RMENU, L"RAlt", 230},
    {VK_BROWSER_BACK, L"Web-Backward", 0},
    {VK_BROWSER_FORWARD, L"Web-Forward", 0},
    {VK_BROWSER_REFRESH, L"Web-Refresh", 0},
    {VK_BROWSER_STOP, L"Web-Stop", 0},
    {VK_BROWSER_SEARCH, L"Web-Search", 0},
    {VK_BROWSER_FAVORITES, L"Web-Favorites", 0},
    {VK_BROWSER_HOME, L"Web-Home", 0},
    {VK_VOLUME_MUTE, L"Vol Mute", 0},
    {VK_VOLUME_DOWN, L"Vol Down", 0},
    {VK_VOLUME_UP, L"Vol Up", 0},
    {VK_MEDIA_NEXT_TRACK, L"Next Track", 0},
    {VK_MEDIA_PREV_TRACK, L"Prev Track", 0},
    {VK_MEDIA_STOP, L"Stop", 0},
    {VK_MEDIA_PLAY_PAUSE, L"Play/Pause", 0},
    {VK_LAUNCH_MAIL, L"EMail", 0},
    {VK_LAUNCH_MEDIA_SELECT, L"Multimedia", 0},
    {VK_LAUNCH_APP1, L"My Computer", 0},
    {VK_LAUNCH_APP2, L"Calculator", 0},
};

}  // namespace

void MacroRecorder::Start(int delayMode, int fixedDelay, int budget) {
  m_delayMode = delayMode;
  m_fixedDelay = fixedDelay;
  m_budget = budget;
  m_lastEventTime = 0;
  m_heldKeys.clear();
}

bool MacroRecorder::DecodeHookInput(WPARAM message, const KBDLLHOOKSTRUCT* event, MACRO_EVENT& out) {
  MACRO_EVENT decoded;
  if (!DecodeHookEvent(message, event, decoded)) return false;
  const int key = decoded.code;
  for (const HookKeyLook& look : kHookKeyLooks) {
    if (look.code != key) continue;
    if (look.caption) decoded.name = look.caption;
    if (look.stored) decoded.code = look.stored;
    break;
  }
  // Held keys are tracked by the stored code, so Shift reported generically and as the left
  // Shift is one key.
  if (decoded.released) {
    m_heldKeys.erase(decoded.code);
  } else if (!m_heldKeys.insert(decoded.code).second) {
    decoded.kind = kEventRepeat;
  }
  out = decoded;
  return true;
}

RecordedStep MacroRecorder::Record(const MACRO_EVENT& event, long long nowMs) {
  RecordedStep step;
  if (event.kind != kEventKey) return step;
  // The delay belongs to the event before this one: the wait between the two.
  int delay = TakeEventDelay(nowMs);
  if (m_delayMode == kDelayFixed) delay = m_fixedDelay;
  if (m_delayMode != kDelayNone) step.previousDelay = delay;
  step.append = true;
  step.name = event.name;
  step.kind = event.released ? kRecordKeyRelease : kRecordKeyPress;
  step.code = event.code;
  return step;
}

int MacroRecorder::TakeEventDelay(long long nowMs) {
  int delay = 0;
  if (m_lastEventTime != 0) {
    const long long elapsed = nowMs - m_lastEventTime;
    delay = (elapsed < 0 || elapsed > kMaxRecordedDelay) ? kMaxRecordedDelay : static_cast<int>(elapsed);
  }
  m_lastEventTime = nowMs;
  return delay;
}

long long MacroRecorder::NowMs() {
  FILETIME now = {};
  GetSystemTimeAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>(ticks / 10000);  // 100-ns ticks
}
