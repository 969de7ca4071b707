// Raw input for the held-key display: registration for a background window, decoding of real
// WM_INPUT from keys sent through the system's input queue, and the failure paths through
// stand-ins for the system calls.
#include <gtest/gtest.h>

#include <vector>

#include "HeldKey.h"
#include "MessagePump.h"
#include "OwnerWindow.h"
#include "app/pages/InputCalls.h"
#include "app/pages/RawInput.h"

namespace {

using testsupport::OwnerWindow;

class RawInputTest : public ::testing::Test {
protected:
  void SetUp() override {
    // The system hands raw input out while some thread has the foreground; here a window of
    // this process has it, so that no other window gets the keys, and the registered window
    // stays in the background.
    foreground_ = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 240, 300, 200, 30, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(foreground_);
    SetForegroundWindow(foreground_);
    SetFocus(foreground_);
    window_.handler = [this](UINT message, WPARAM, LPARAM lParam, LRESULT&) {
      if (message == WM_INPUT) {
        MACRO_EVENT event;
        DecodeRawInput(reinterpret_cast<HRAWINPUT>(lParam), event);
        if (event.kind == kEventKey) keys_.push_back(event);
      }
      return false;  // the default processing frees the input
    };
  }
  void TearDown() override {
    UnregisterRawInput();
    DestroyWindow(foreground_);
    SystemInputCalls() = savedCalls_;
  }

  // Sends the key's press and release and waits for both to come in (or the time-out).
  void Tap(WORD vk, size_t expected = 2) {
    keys_.clear();
    ASSERT_TRUE(testsupport::TapKey(vk));
    testsupport::PumpUntil([&] { return keys_.size() >= expected; }, 3000);
    testsupport::PumpFor(50);
  }

  HWND foreground_ = nullptr;
  OwnerWindow window_{200, 100};  // shown without activation: raw input reaches it in the background
  std::vector<MACRO_EVENT> keys_;
  InputCalls savedCalls_ = SystemInputCalls();
};

TEST_F(RawInputTest, APressAndReleaseOfALetter) {
  EXPECT_EQ(RegisterRawInput(window_.Window()), window_.Window());
  Tap('A');
  ASSERT_EQ(keys_.size(), 2u);
  EXPECT_EQ(keys_[0].released, 0);
  EXPECT_EQ(keys_[0].code, 'A');
  EXPECT_STREQ(keys_[0].name, L"A");
  EXPECT_EQ(keys_[1].released, 1);
  EXPECT_EQ(keys_[1].code, 'A');
}

TEST_F(RawInputTest, ModifiersAreTheirLeftKeysAndSomeKeysHaveFixedCaptions) {
  struct Case {
    WORD sent;
    int code;
    const wchar_t* caption;
  };
  const Case cases[] = {{VK_SHIFT, VK_LSHIFT, L"Shift"},  {VK_CONTROL, VK_LCONTROL, L"Ctrl"},
                        {VK_MENU, VK_LMENU, L"Alt"},      {VK_PAUSE, VK_PAUSE, L"Pause"},
                        {VK_NUMLOCK, VK_NUMLOCK, L"Num Lock"}, {VK_LWIN, VK_LWIN, L"Windows"}};
  RegisterRawInput(window_.Window());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    Tap(c.sent);
    ASSERT_FALSE(keys_.empty());
    EXPECT_EQ(keys_[0].released, 0);
    EXPECT_EQ(keys_[0].code, c.code);
    EXPECT_STREQ(keys_[0].name, c.caption);
  }
  testsupport::TapKey(VK_NUMLOCK);  // Num Lock as it was
  testsupport::PumpFor(50);
}

TEST_F(RawInputTest, NoKeysComeInOnceUnregistered) {
  RegisterRawInput(window_.Window());
  UnregisterRawInput();
  keys_.clear();
  testsupport::TapKey('A');
  testsupport::PumpFor(300);
  EXPECT_TRUE(keys_.empty());
}

TEST_F(RawInputTest, AnInputThatCannotBeReadLeavesTheEventUntouched) {
  // A made-up handle, as a WM_INPUT posted by anybody would carry.
  MACRO_EVENT event;
  event.kind = 7;
  DecodeRawInput(reinterpret_cast<HRAWINPUT>(static_cast<INT_PTR>(0x1234)), event);
  EXPECT_EQ(event.kind, 7);
}

// The reading stand-in: the size it gives when asked, and what the read then returns.
UINT g_sizeAnswer = 0, g_readAnswer = 0;

UINT WINAPI FakeRead(HRAWINPUT, UINT, LPVOID data, PUINT size, UINT) {
  if (!data) {
    *size = g_sizeAnswer;
    return 0;
  }
  auto* raw = static_cast<RAWINPUT*>(data);
  if (*size >= sizeof(RAWINPUTHEADER)) raw->header.dwType = RIM_TYPEKEYBOARD;
  if (*size >= sizeof(RAWINPUT)) raw->data.keyboard.VKey = 'B';
  return g_readAnswer;
}

TEST_F(RawInputTest, AnEmptyShortOrFailedReadLeavesTheEventUntouched) {
  SystemInputCalls().getRawInputData = FakeRead;
  const UINT full = sizeof(RAWINPUT);
  const struct {
    const char* name;
    UINT size, read;
    int kind;
  } cases[] = {
      {"size 0", 0, 0, 7},
      {"read shorter than asked", full, full - 4, 7},
      {"read fails", full, static_cast<UINT>(-1), 7},
      {"asked size too small for a key", sizeof(RAWINPUTHEADER), sizeof(RAWINPUTHEADER), 7},
      {"a full read", full, full, kEventKey},
  };
  for (const auto& c : cases) {
    g_sizeAnswer = c.size;
    g_readAnswer = c.read;
    MACRO_EVENT event;
    event.kind = 7;
    DecodeRawInput(reinterpret_cast<HRAWINPUT>(static_cast<INT_PTR>(1)), event);
    EXPECT_EQ(event.kind, c.kind) << c.name;
  }
}

// The registration stand-in: records every call and answers from a script.
struct Registration {
  RAWINPUTDEVICE devices[2];
  UINT count;
};
std::vector<Registration> g_registrations;
std::vector<BOOL> g_registrationAnswers;

BOOL WINAPI FakeRegister(PCRAWINPUTDEVICE devices, UINT count, UINT) {
  Registration r = {};
  for (UINT i = 0; i < count && i < 2; ++i) r.devices[i] = devices[i];
  r.count = count;
  g_registrations.push_back(r);
  const size_t n = g_registrations.size() - 1;
  return n < g_registrationAnswers.size() ? g_registrationAnswers[n] : TRUE;
}

TEST_F(RawInputTest, ARefusedRegistrationIsTriedOnceMoreThenLeft) {
  SystemInputCalls().registerRawInputDevices = FakeRegister;
  const HWND hwnd = window_.Window();
  const struct {
    const char* name;
    std::vector<BOOL> answers;
    size_t calls;
  } cases[] = {{"accepted", {TRUE}, 1}, {"refused once", {FALSE, TRUE}, 2}, {"refused twice", {FALSE, FALSE}, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool remove : {false, true}) {
      g_registrations.clear();
      g_registrationAnswers = c.answers;
      if (remove) {
        UnregisterRawInput();
      } else {
        EXPECT_EQ(RegisterRawInput(hwnd), hwnd);
      }
      ASSERT_EQ(g_registrations.size(), c.calls);
      for (const Registration& r : g_registrations) {
        ASSERT_EQ(r.count, 2u);
        const DWORD flags = remove ? RIDEV_REMOVE : RIDEV_INPUTSINK;
        const HWND target = remove ? nullptr : hwnd;
        const USHORT usages[2] = {2, 6};  // mouse, keyboard
        for (int i = 0; i < 2; ++i) {
          EXPECT_EQ(r.devices[i].usUsagePage, 1);
          EXPECT_EQ(r.devices[i].usUsage, usages[i]);
          EXPECT_EQ(r.devices[i].dwFlags, flags);
          EXPECT_EQ(r.devices[i].hwndTarget, target);
        }
      }
    }
  }
  g_registrations.clear();
  EXPECT_EQ(RegisterRawInput(nullptr), nullptr);
  EXPECT_TRUE(g_registrations.empty());
}

}  // namespace
