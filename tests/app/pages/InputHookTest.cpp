// The low-level keyboard hook with keys sent through the system's input queue: targets in
// registration order, swallowing, overlapping hook objects, targets that change the hook
// while it dispatches, foreign hook messages and a refused hook.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "HeldKey.h"
#include "MessagePump.h"
#include "OwnerWindow.h"
#include "app/AppMessages.h"
#include "app/pages/InputCalls.h"
#include "app/pages/InputHook.h"

namespace {

using testsupport::OwnerWindow;

// What a target saw of the key A: which window, the keyboard message.
struct Seen {
  HWND window;
  WPARAM message;
  bool operator==(const Seen& o) const { return window == o.window && message == o.message; }
};

class InputHookTest : public ::testing::Test {
protected:
  void SetUp() override {
    // A window of another kind that has the keyboard focus: the keys that pass end up in it.
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 240, 300, 200, 30, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(edit_);
    SetForegroundWindow(edit_);
    SetFocus(edit_);
    testsupport::PumpFor(50);
  }
  void TearDown() override {
    DestroyWindow(edit_);
    SystemInputCalls() = savedCalls_;
  }

  // The window answers the hook's message with answer and notes the events of the key A; its
  // extra step runs first (a target that changes the hook during the walk).
  void Answer(OwnerWindow& window, LRESULT answer, std::function<void()> extra = {}) {
    HWND hwnd = window.Window();
    window.handler = [this, hwnd, answer, extra](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      if (message != WM_KB_HOOK_INPUT) return false;
      result = 0;
      if (!InputHook::IsDispatchedRecord(lParam)) return true;
      if (reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode != 'A') return true;
      seen_.push_back({hwnd, wParam});
      if (extra) extra();
      result = answer;
      return true;
    };
  }

  // Types A and waits until the targets have seen `events` events of it and the edit holds
  // `chars` characters, then a little longer for anything unexpected.
  void TypeA(size_t events, int chars) {
    ASSERT_TRUE(testsupport::TapKey('A'));
    testsupport::PumpUntil([&] { return seen_.size() >= events && GetWindowTextLengthW(edit_) >= chars; }, 3000);
    testsupport::PumpFor(100);
  }

  std::wstring EditText() {
    wchar_t text[64] = {};
    GetWindowTextW(edit_, text, 64);
    return text;
  }

  HWND edit_ = nullptr;
  std::vector<Seen> seen_;
  InputCalls savedCalls_ = SystemInputCalls();
  OwnerWindow first_{200, 100};
  OwnerWindow second_{200, 100};
};

TEST_F(InputHookTest, TargetsAnswerInRegistrationOrderAndANonZeroAnswerSwallowsTheKey) {
  struct Case {
    const char* name;
    LRESULT firstAnswer, secondAnswer;
    bool bothAsked;
    const wchar_t* typed;
  };
  const Case cases[] = {
      {"first passes, second swallows", 0, 1, true, L""},
      {"both pass", 0, 0, true, L"a"},
      {"first swallows, second is not asked", 1, 0, false, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seen_.clear();
    SetWindowTextW(edit_, L"");
    InputHook hook;
    hook.AddTarget(first_.Window(), 0, WM_KB_HOOK_INPUT);
    hook.AddTarget(second_.Window(), 0, WM_KB_HOOK_INPUT);
    Answer(first_, c.firstAnswer);
    Answer(second_, c.secondAnswer);
    TypeA(c.bothAsked ? 4 : 2, c.typed[0] ? 1 : 0);
    const HWND a = first_.Window(), b = second_.Window();
    const std::vector<Seen> expected =
        c.bothAsked ? std::vector<Seen>{{a, WM_KEYDOWN}, {b, WM_KEYDOWN}, {a, WM_KEYUP}, {b, WM_KEYUP}}
                    : std::vector<Seen>{{a, WM_KEYDOWN}, {a, WM_KEYUP}};
    EXPECT_EQ(seen_, expected);
    EXPECT_EQ(EditText(), c.typed);
  }
}

TEST_F(InputHookTest, ATargetRegisteredTwiceIsKeptOnce) {
  InputHook hook;
  hook.AddTarget(first_.Window(), 0, WM_KB_HOOK_INPUT);
  hook.AddTarget(first_.Window(), 7, WM_KB_HOOK_INPUT);
  EXPECT_EQ(hook.Targets().size(), 1u);
  Answer(first_, 1);
  TypeA(2, 0);
  EXPECT_EQ(seen_, (std::vector<Seen>{{first_.Window(), WM_KEYDOWN}, {first_.Window(), WM_KEYUP}}));
}

TEST_F(InputHookTest, ATargetWhoseWindowIsGoneIsSkipped) {
  auto gone = std::make_unique<OwnerWindow>(200, 100);
  InputHook hook;
  hook.AddTarget(gone->Window(), 0, WM_KB_HOOK_INPUT);
  hook.AddTarget(second_.Window(), 0, WM_KB_HOOK_INPUT);
  gone.reset();
  Answer(second_, 1);
  TypeA(2, 0);
  EXPECT_EQ(seen_, (std::vector<Seen>{{second_.Window(), WM_KEYDOWN}, {second_.Window(), WM_KEYUP}}));
  EXPECT_EQ(EditText(), L"");
}

TEST_F(InputHookTest, OverlappingHookObjectsServeTheLatestOneStillInstalled) {
  Answer(first_, 1);
  Answer(second_, 1);
  auto older = std::make_unique<InputHook>();
  auto newer = std::make_unique<InputHook>();
  older->AddTarget(first_.Window(), 0, WM_KB_HOOK_INPUT);
  newer->AddTarget(second_.Window(), 0, WM_KB_HOOK_INPUT);
  TypeA(2, 0);
  EXPECT_EQ(seen_, (std::vector<Seen>{{second_.Window(), WM_KEYDOWN}, {second_.Window(), WM_KEYUP}}));

  seen_.clear();
  newer.reset();
  TypeA(2, 0);
  EXPECT_EQ(seen_, (std::vector<Seen>{{first_.Window(), WM_KEYDOWN}, {first_.Window(), WM_KEYUP}}));
  EXPECT_EQ(EditText(), L"");

  seen_.clear();
  older.reset();
  TypeA(0, 1);
  EXPECT_TRUE(seen_.empty());
  EXPECT_EQ(EditText(), L"a");
}

TEST_F(InputHookTest, TheOlderObjectGoingFirstLeavesTheNewerOneServing) {
  Answer(first_, 1);
  Answer(second_, 1);
  auto older = std::make_unique<InputHook>();
  InputHook newer;
  older->AddTarget(first_.Window(), 0, WM_KB_HOOK_INPUT);
  newer.AddTarget(second_.Window(), 0, WM_KB_HOOK_INPUT);
  older.reset();
  TypeA(2, 0);
  EXPECT_EQ(seen_, (std::vector<Seen>{{second_.Window(), WM_KEYDOWN}, {second_.Window(), WM_KEYUP}}));
}

TEST_F(InputHookTest, ATargetMayChangeTheHookWhileItDispatches) {
  OwnerWindow third(200, 100);
  Answer(third, 0);
  const HWND a = first_.Window(), b = second_.Window(), c3 = third.Window();
  struct Case {
    const char* name;
    std::function<void(InputHook&)> change;
    std::vector<Seen> expected;  // the press still reaches the targets there were when it began
  };
  const Case cases[] = {
      {"clears the targets", [](InputHook& hook) { hook.ClearTargets(); }, {{a, WM_KEYDOWN}, {b, WM_KEYDOWN}}},
      {"uninstalls the hook", [](InputHook& hook) { hook.Uninstall(); }, {{a, WM_KEYDOWN}, {b, WM_KEYDOWN}}},
      {"registers another target", [&](InputHook& hook) { hook.AddTarget(c3, 0, WM_KB_HOOK_INPUT); },
       {{a, WM_KEYDOWN}, {b, WM_KEYDOWN}, {a, WM_KEYUP}, {b, WM_KEYUP}, {c3, WM_KEYUP}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seen_.clear();
    SetWindowTextW(edit_, L"");
    InputHook hook;
    hook.AddTarget(a, 0, WM_KB_HOOK_INPUT);
    hook.AddTarget(b, 0, WM_KB_HOOK_INPUT);
    bool changed = false;
    Answer(first_, 0, [&] {
      if (!changed) c.change(hook);
      changed = true;
    });
    Answer(second_, 0);
    TypeA(c.expected.size(), 1);
    EXPECT_EQ(seen_, c.expected);
    EXPECT_EQ(EditText(), L"a");
  }
}

TEST_F(InputHookTest, AHookMessageFromElsewhereIsRefusedWithoutReadingItsPointer) {
  InputHook hook;
  hook.AddTarget(first_.Window(), 0, WM_KB_HOOK_INPUT);
  Answer(first_, 1);
  // Another thread's SendMessage arrives as another process's would: lParam is a number that
  // points at nothing here.
  LRESULT answer = -1;
  HWND target = first_.Window();
  std::thread sender([&] { answer = SendMessageW(target, WM_KB_HOOK_INPUT, WM_KEYDOWN, 0x10); });
  testsupport::PumpUntil([&] { return answer != -1; }, 2000);
  sender.join();
  EXPECT_EQ(answer, 0);
  EXPECT_TRUE(seen_.empty());
  EXPECT_FALSE(InputHook::IsDispatchedRecord(0x10));
}

// Counted stand-ins for the hook calls: they pass on to the system or refuse.
int g_hooksSet = 0, g_hooksRemoved = 0;
bool g_refuseHook = false;

HHOOK WINAPI CountedSetHook(int id, HOOKPROC proc, HINSTANCE module, DWORD thread) {
  ++g_hooksSet;
  return g_refuseHook ? nullptr : SetWindowsHookExW(id, proc, module, thread);
}

BOOL WINAPI CountedUnhook(HHOOK hook) {
  ++g_hooksRemoved;
  return UnhookWindowsHookEx(hook);
}

TEST_F(InputHookTest, TheProcessKeepsOneSystemHookWhateverTheObjects) {
  g_hooksSet = g_hooksRemoved = 0;
  g_refuseHook = false;
  SystemInputCalls().setWindowsHookEx = CountedSetHook;
  SystemInputCalls().unhookWindowsHookEx = CountedUnhook;
  {
    InputHook older, newer;
    older.AddTarget(first_.Window(), 0, WM_KB_HOOK_INPUT);
    older.AddTarget(second_.Window(), 0, WM_KB_HOOK_INPUT);
    newer.AddTarget(second_.Window(), 0, WM_KB_HOOK_INPUT);
    // Each registration sets the hook again, first in the chain.
    EXPECT_EQ(g_hooksSet, 3);
    EXPECT_EQ(g_hooksSet - g_hooksRemoved, 1);
    older.Uninstall();
    EXPECT_EQ(g_hooksSet - g_hooksRemoved, 1);
    older.Uninstall();
    newer.Uninstall();
    EXPECT_EQ(g_hooksSet - g_hooksRemoved, 0);
  }
  EXPECT_EQ(g_hooksSet - g_hooksRemoved, 0);
}

TEST_F(InputHookTest, ARefusedHookDispatchesNothingAndUninstallsHarmlessly) {
  g_hooksSet = g_hooksRemoved = 0;
  g_refuseHook = true;
  SystemInputCalls().setWindowsHookEx = CountedSetHook;
  SystemInputCalls().unhookWindowsHookEx = CountedUnhook;
  Answer(first_, 1);
  {
    InputHook hook;
    hook.AddTarget(first_.Window(), 0, WM_KB_HOOK_INPUT);
    EXPECT_TRUE(hook.IsInstalled());
    TypeA(0, 1);
    EXPECT_TRUE(seen_.empty());
    EXPECT_EQ(EditText(), L"a");
    hook.Uninstall();
    EXPECT_FALSE(hook.IsInstalled());
  }
  EXPECT_EQ(g_hooksSet, 1);
  EXPECT_EQ(g_hooksRemoved, 0);
  g_refuseHook = false;
}

}  // namespace
