// The hook's key rule: the keypad keys the system reports as navigation keys get the keypad's
// codes, from made-up event records and from real typing through the X server.
#include <gtest/gtest.h>

#include <vector>

#include "MessagePump.h"
#include "OwnerWindow.h"
#include "XTestKeys.h"
#include "app/AppMessages.h"
#include "app/pages/InputHook.h"
#include "app/pages/MacroEvent.h"

namespace {

TEST(HookKeyRule, KeypadKeysReportedAsNavigationKeysGetTheKeypadCodes) {
  struct Case {
    const char* name;
    DWORD vk, scan, flags;
    bool released;
    int code;
  };
  const Case cases[] = {
      {"keypad 7 without Num Lock, press", VK_HOME, 71, 0, false, VK_NUMPAD7},
      {"keypad 7 without Num Lock, release", VK_HOME, 71, LLKHF_UP, true, VK_NUMPAD7},
      {"keypad 0 without Num Lock", VK_INSERT, 82, 0, false, VK_NUMPAD0},
      {"keypad decimal without Num Lock", VK_DELETE, 83, 0, false, VK_DECIMAL},
      {"keypad 3 without Num Lock, release", VK_NEXT, 81, LLKHF_UP, true, VK_NUMPAD3},
      {"Home of the navigation block, press", VK_HOME, 71, LLKHF_EXTENDED, false, VK_HOME},
      {"Home of the navigation block, release", VK_HOME, 71, LLKHF_EXTENDED | LLKHF_UP, true, VK_HOME},
      {"keypad Enter, press", VK_RETURN, 28, LLKHF_EXTENDED, false, 108},
      {"keypad Enter, release", VK_RETURN, 28, LLKHF_EXTENDED | LLKHF_UP, true, 108},
      {"main Enter", VK_RETURN, 28, 0, false, VK_RETURN},
      {"injected Home keeps its code", VK_HOME, 71, LLKHF_INJECTED, false, VK_HOME},
      {"a press flagged as release keeps its code", VK_HOME, 71, LLKHF_UP, false, VK_HOME},
      {"a letter", 'A', 30, 0, false, 'A'},
  };
  for (const Case& c : cases) {
    KBDLLHOOKSTRUCT event = {};
    event.vkCode = c.vk;
    event.scanCode = c.scan;
    event.flags = c.flags;
    EXPECT_EQ(HookKeyCode(event, c.released), c.code) << c.name;
  }
}

TEST(HookKeyRule, OnlyKeyPressesAndReleasesWithARecordAreKeyEvents) {
  KBDLLHOOKSTRUCT event = {};
  event.vkCode = 'A';
  event.scanCode = 30;
  const struct {
    WPARAM message;
    int released;
  } keyMessages[] = {{WM_KEYDOWN, 0}, {WM_SYSKEYDOWN, 0}, {WM_KEYUP, 1}, {WM_SYSKEYUP, 1}};
  for (const auto& m : keyMessages) {
    MACRO_EVENT out;
    ASSERT_TRUE(DecodeHookEvent(m.message, &event, out)) << m.message;
    EXPECT_EQ(out.kind, kEventKey);
    EXPECT_EQ(out.released, m.released);
    EXPECT_EQ(out.code, 'A');
    EXPECT_STREQ(out.name, L"A");
  }
  MACRO_EVENT untouched;
  untouched.code = 5;
  EXPECT_FALSE(DecodeHookEvent(WM_CHAR, &event, untouched));
  EXPECT_FALSE(DecodeHookEvent(WM_KEYDOWN, nullptr, untouched));
  EXPECT_EQ(untouched.code, 5);
}

TEST(HookKeyRule, RealKeypadAndNavigationKeysFromTheXServer) {
  testsupport::OwnerWindow window(200, 100);
  struct Event {
    int released, code;
    DWORD scan, flags;
  };
  std::vector<Event> events;
  window.handler = [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_KB_HOOK_INPUT) return false;
    MACRO_EVENT event;
    const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (InputHook::IsDispatchedRecord(lParam) && DecodeHookEvent(wParam, record, event))
      events.push_back({event.released, event.code, record->scanCode, record->flags});
    result = 1;  // nothing of the typing reaches any window
    return true;
  };
  InputHook hook;
  hook.AddTarget(window.Window(), 0, WM_KB_HOOK_INPUT);
  RECT rect;
  GetWindowRect(window.Window(), &rect);
  const POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

  ASSERT_EQ(testsupport::TypeXKeys(middle, {"--numlock-off", "KP_7", "Home", "KP_Enter"}), "ok");
  testsupport::PumpUntil([&] { return events.size() >= 6; }, 2000);

  // The keys as typed; Num Lock may be switched on the way and its own events come and go.
  std::vector<Event> keys;
  for (const Event& e : events) {
    if (e.code != VK_NUMLOCK) keys.push_back(e);
  }
  ASSERT_EQ(keys.size(), 6u);
  const int codes[] = {VK_NUMPAD7, VK_NUMPAD7, VK_HOME, VK_HOME, 108, 108};
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].code, codes[i]) << "event " << i;
    EXPECT_EQ(keys[i].released, static_cast<int>(i % 2)) << "event " << i;
  }
  // The system's own view of the keypad 7: Home's scan code, not extended.
  EXPECT_EQ(keys[0].scan, 71u);
  EXPECT_EQ(keys[0].flags, 0u);
}

}  // namespace
