// The advanced-key page's held keys in the main window object: raw input of keys sent through
// the system's input queue reaches the window's WM_INPUT row and the strip of held keys while
// the main tabs show the page.
//
// Each key is followed until the window in front has received it: the system queues a key's
// raw input before the key itself, so by then the strip shows everything the key did, also
// when the answer is "nothing", however slow the machine is.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "ControlHost.h"
#include "HeldKey.h"
#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "OwnerWindow.h"
#include "app/KeyboardDlg.h"
#include "app/pages/InputCalls.h"
#include "app/pages/RawInput.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/keyboard/CKeyTestCtrl.h"

namespace {

using TESK::CKeyTestCtrl;
using TESK::KEY_LABEL_ITEM;

constexpr int kUsageA = 4;
// Places of the main tab strip: the advanced-key page and another page.
constexpr int kAdvKeysIndex = 2;
constexpr int kOtherIndex = 3;
constexpr DWORD kKeyWaitMs = 20000;  // a key through a loaded machine

class KeyboardDlgKeyTestTest : public testsupport::MainWindowFixture {
protected:
  KeyboardDlgKeyTestTest() : host(300, 200), front(200, 30) {}

  void SetUp() override {
    MainWindowFixture::SetUp();
    // Opened once the worker's start-up step is over: nothing of it runs beside the keys.
    Open();
    ASSERT_NE(nullptr, m_dlg->m_tabMain);
    m_dlg->m_tabMain->SetVisible(1);
    auto* page = host.Add<TESK::MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    ASSERT_NE(nullptr, page);
    box = dynamic_cast<CKeyTestCtrl*>(page->CreateControl(L"CKeyTestCtrl", 109, CRect(10, 10, 210, 110), L"", 1, 1));
    ASSERT_NE(nullptr, box);
    m_dlg->m_keyTestCtrl = box;
    // Raw input is handed out while a thread has the foreground: a window of this process has
    // it, takes the keys typed and counts them.
    front.handler = [this](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
      if ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam == 'A') ++keysInFront;
      return false;
    };
    SetForegroundWindow(front.Window());
    SetFocus(front.Window());
  }
  void TearDown() override {
    if (m_dlg) m_dlg->m_keyTestCtrl = nullptr;
    // The window object goes first, its worker ended, then the keyboard bus and the store.
    MainWindowFixture::TearDown();
    SystemInputCalls() = savedCalls;
    UnregisterRawInput();
  }

  void ShowTab(int index) { m_dlg->m_tabMain->SetSelectItem(index); }
  std::vector<int> Alphas() {
    std::vector<int> alphas;
    for (const KEY_LABEL_ITEM& label : box->GetLabels()) alphas.push_back(label.alpha);
    return alphas;
  }
  // Sends a key event and pumps until the window in front has it; then the strip shows
  // `labels` (a label's alpha: 255 held, below once fading).
  void Send(WORD vk, bool up, const std::vector<int>& labels) {
    const int before = keysInFront;
    ASSERT_TRUE(testsupport::SendKeyEvent(vk, up));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return keysInFront > before; }, kKeyWaitMs)) << "the key arrived";
    testsupport::PumpUntil([&] { return Alphas() == labels; }, 1000);
    EXPECT_EQ(labels, Alphas());
  }

  testsupport::ControlHost host;
  testsupport::OwnerWindow front;
  CKeyTestCtrl* box = nullptr;
  int keysInFront = 0;
  InputCalls savedCalls = SystemInputCalls();
};

TEST_F(KeyboardDlgKeyTestTest, AHeldKeyShowsOneLabelUntilReleasedAndAgainWhenPressedAgain) {
  ShowTab(kAdvKeysIndex);
  EXPECT_EQ(m_dlg->GetSafeHwnd(), m_dlg->m_rawInputToken);
  Send('A', false, {255});
  ASSERT_EQ(box->GetLabels().size(), 1u);
  EXPECT_EQ(box->GetLabels()[0].key, kUsageA);
  EXPECT_STREQ(box->GetLabels()[0].name, L"A");
  Send('A', false, {255});  // the system's repeat of the held key
  Send('A', true, {251});  // the release starts the fade
  Send('A', false, {251, 255});  // pressed again before the label is gone: a second label
  Send('A', true, {251, 251});
  EXPECT_TRUE(m_dlg->m_heldKeys.empty());
}

TEST_F(KeyboardDlgKeyTestTest, WithoutTheTokenKeysAreNotShown) {
  ShowTab(kAdvKeysIndex);
  m_dlg->m_rawInputToken = nullptr;  // registered, but the page is not shown
  Send('A', false, {});
  Send('A', true, {});
}

TEST_F(KeyboardDlgKeyTestTest, LeavingThePageEmptiesTheStripAndForgetsHeldKeys) {
  ShowTab(kAdvKeysIndex);
  Send('A', false, {255});
  ShowTab(kOtherIndex);
  EXPECT_EQ(nullptr, m_dlg->m_rawInputToken);
  EXPECT_TRUE(Alphas().empty());
  EXPECT_TRUE(m_dlg->m_heldKeys.empty()) << "A was released off the page";
  Send('A', true, {});
  Send('A', false, {});  // no raw input off the page

  ShowTab(kAdvKeysIndex);
  Send('A', true, {});
  Send('A', false, {255});
  Send('A', true, {251});
}

// Registration calls as the system sees them: (flags, target) of the keyboard entry.
std::vector<std::pair<DWORD, HWND>> g_calls;
BOOL WINAPI RecordRegistration(PCRAWINPUTDEVICE devices, UINT count, UINT) {
  if (count == 2) g_calls.push_back({devices[1].dwFlags, devices[1].hwndTarget});
  return TRUE;
}

TEST_F(KeyboardDlgKeyTestTest, EnteringThePageAgainReplacesTheRegistration) {
  SystemInputCalls().registerRawInputDevices = RecordRegistration;
  g_calls.clear();
  const HWND window = m_dlg->GetSafeHwnd();
  m_dlg->StartKeyTestInput();
  m_dlg->StartKeyTestInput();
  m_dlg->StopKeyTestInput();
  m_dlg->StopKeyTestInput();
  const std::vector<std::pair<DWORD, HWND>> expected = {{RIDEV_INPUTSINK, window},
                                                         {RIDEV_REMOVE, nullptr},
                                                         {RIDEV_INPUTSINK, window},
                                                         {RIDEV_REMOVE, nullptr}};
  EXPECT_EQ(g_calls, expected);
}

}  // namespace
