// The performance page's calibration run in the main window against the simulated Lynt 80:
// the button starts and ends it (picture mode, button, enabling, the keyboard hook that
// swallows every key, the keyboard's calibration mode and its samples on the picture), and
// the popup closing ends a run from the worker.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HeldKey.h"
#include "PerfPageFixture.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/pages/InputCalls.h"
#include "app/pages/InputHook.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/keyboard/KeySwitchCtrl.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;
using namespace perftest;

namespace {

constexpr UINT kPageControls[] = {38,  39,  40,  45,  46,  47,  48,  49,  67,  53,  56,  317, 257, 262, 263, 265, 314,
                                  312, 313, 267, 268, 270, 276, 278, 280, 281, 284, 286, 289, 292, 295, 298, 301, 304,
                                  307, 310};
constexpr uint8_t kCalibrationBits = 0x0C;

std::wstring Text(int id) { return LoadLanString(L"KB.DIALOG", id).GetString(); }

// The system hooks the process holds, counted around the real calls.
InputCalls g_realCalls;
int g_liveHooks = 0;
HHOOK WINAPI CountingSetHook(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId) {
  HHOOK hook = g_realCalls.setWindowsHookEx(idHook, proc, module, threadId);
  if (hook) ++g_liveHooks;
  return hook;
}
BOOL WINAPI CountingUnhook(HHOOK hook) {
  --g_liveHooks;
  return g_realCalls.unhookWindowsHookEx(hook);
}

// A key's record on the picture (the picture keeps it while the page lives).
const KEY_INFO* KeyOf(KeyboardCtrl* picture, int code) {
  for (const KEY_INFO* key : picture->GetKeyItems()) {
    if (key->key_code == code) return key;
  }
  return nullptr;
}

class KeyboardDlgPerfCalibrationTest : public PerfPageFixture {
 protected:
  void SetUp() override {
    PerfPageFixture::SetUp();
    g_realCalls = SystemInputCalls();
    g_liveHooks = 0;
    SystemInputCalls().setWindowsHookEx = CountingSetHook;
    SystemInputCalls().unhookWindowsHookEx = CountingUnhook;
  }
  void TearDown() override {
    if (m_edit) DestroyWindow(m_edit);
    PerfPageFixture::TearDown();
    SystemInputCalls() = g_realCalls;
  }

  LONG ClickCalibrate() { return m_dlg->m_btnCalibrate->SendMessageW(NOTIFY_CLICKED, 0, 0); }

  // The page's state that a run changes: picture mode, button text and colour, enabling.
  void ExpectRunShown(bool running) {
    KeyboardDlg& dlg = *m_dlg;
    EXPECT_EQ(running ? KBMODE_PERFCHECK : KBMODE_PERF, dlg.m_keyboardPerf->GetKeyboardCtrlMode());
    EXPECT_EQ(Text(running ? 271 : 270), dlg.m_btnCalibrate->GetTitle().GetString());
    EXPECT_EQ(running ? 0xFFE74250u : 0xFFFFFFFFu, dlg.m_btnCalibrate->GetTextColor());
    for (UINT id : kPageControls) EXPECT_EQ(running ? 0 : 1, dlg.GetControl(id)->IsEnabled()) << id;
    EXPECT_EQ(1, dlg.m_btnCalibrate->IsEnabled());
    EXPECT_EQ(1, dlg.m_keySwitch->IsEnabled());
    EXPECT_EQ(running, dlg.m_calibrating.load());
    EXPECT_EQ(running, dlg.m_calibrationMode.load());
  }

  // The calibration commands and the byte of the configuration writes' switches, in order,
  // since mark: "on", "off", or "config" with the calibration bits ("config+") or without.
  static std::vector<std::string> CalibrationFrames(size_t mark) {
    std::vector<std::string> frames;
    for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) {
      if (frame.command == CMD_CALIBRATION_ON) frames.push_back("on");
      if (frame.command == CMD_CALIBRATION_OFF) frames.push_back("off");
      if (frame.command == CMD_WRITE_CONFIG && frame.payload.size() > 7) {
        frames.push_back((frame.payload[7] & kCalibrationBits) == kCalibrationBits ? "config+" : "config");
      }
    }
    return frames;
  }

  // A native edit of the test process in front, with the keyboard focus.
  void EditInFront() {
    m_edit = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 240, 300, 200, 30,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(m_edit);
    SetForegroundWindow(m_edit);
    SetFocus(m_edit);
    testsupport::PumpFor(100);
  }
  // Types A and pumps until the edit holds `length` characters or a while has passed.
  int TypeA(int length) {
    EXPECT_TRUE(testsupport::TapKey('A'));
    testsupport::PumpUntil([&] { return GetWindowTextLengthW(m_edit) >= length; }, 2000);
    testsupport::PumpFor(200);
    return GetWindowTextLengthW(m_edit);
  }

  HWND m_edit = nullptr;
};

TEST_F(KeyboardDlgPerfCalibrationTest, ARunLocksThePageSwallowsKeysAndShowsTheKeyboardsSamples) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  dlg.m_tabPerf->SetSelectItem(2);
  dlg.SetPerfKeyCalibration(kKeyA, 20, 100, 7, 9);
  // A hook held from before (a recording) gives way to the run's.
  dlg.m_inputHook = std::make_unique<InputHook>();
  dlg.m_inputHook->AddTarget(dlg.GetSafeHwnd(), 0, WM_KB_HOOK_INPUT);
  // The worker reads the keyboard's reports while the window is shown.
  dlg.ShowWindow(SW_SHOWNA);
  ASSERT_NO_FATAL_FAILURE(EditInFront());

  size_t mark = Bus::Get().Mark();
  EXPECT_EQ(1, ClickCalibrate());
  EXPECT_EQ((std::vector<int>{TASK_WRITE_CALIBRATION}), TakeAppended());
  ExpectRunShown(true);
  const KEY_INFO* keyA = KeyOf(dlg.m_keyboardPerf, kKeyA);
  ASSERT_NE(nullptr, keyA);
  EXPECT_EQ(0, keyA->calib_progress) << "the samples were cleared";
  ASSERT_TRUE(dlg.m_inputHook);
  EXPECT_EQ(1, g_liveHooks);
  EXPECT_TRUE(dlg.m_inputHook->IsInstalled());
  ASSERT_EQ(1u, dlg.m_inputHook->Targets().size());
  EXPECT_EQ(dlg.GetSafeHwnd(), dlg.m_inputHook->Targets()[0].hwnd);
  EXPECT_EQ(WM_KB_HOOK_SWALLOW, dlg.m_inputHook->Targets()[0].message);
  ASSERT_TRUE(Settle());
  EXPECT_EQ((std::vector<std::string>{"config+", "on"}), CalibrationFrames(mark));

  // A sample of key A: travel 0x80 of 0x105, progress 200, digits 1 2 3, offset 0x30 - 0x10.
  simkb::Bytes report(64, 0);
  report[0] = 0xA0, report[1] = 0x10, report[3] = 0x04;
  report[6] = 0x00, report[7] = 0x80, report[14] = 0x01, report[15] = 0x05;
  report[10] = 200, report[11] = 1, report[12] = 2, report[13] = 3;
  report[17] = 0x10, report[19] = 0x30;
  keyboard.QueueRaw(report);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return keyA->calib_progress == 200; }, 3000));
  EXPECT_EQ(123, keyA->calib_info);
  EXPECT_EQ(0x20, keyA->calib_peak);
  EXPECT_EQ(0x80 * 40 / (0x105 - 5), keyA->calib_travel);

  EXPECT_EQ(0, TypeA(1)) << "the key reached no window";

  mark = Bus::Get().Mark();
  EXPECT_EQ(1, ClickCalibrate());
  const auto tasks = TakeAppendedTimed();
  ASSERT_EQ(2u, tasks.size());
  EXPECT_EQ(TASK_WRITE_CALIBRATION, tasks[0].id);
  EXPECT_EQ(TASK_CHECK_CALIBRATION, tasks[1].id);
  EXPECT_GE(tasks[1].at - tasks[0].at, 500u) << "the keyboard is checked after it left the mode";
  ExpectRunShown(false);
  EXPECT_FALSE(dlg.m_inputHook) << "no hook object is left";
  EXPECT_EQ(0, g_liveHooks) << "nor a system hook: the stand-in went at the start";
  ASSERT_TRUE(Settle());
  const auto frames = CalibrationFrames(mark);
  ASSERT_GE(frames.size(), 2u);
  EXPECT_EQ((std::vector<std::string>{"config", "off"}), std::vector<std::string>(frames.begin(), frames.begin() + 2));
  EXPECT_EQ(1, TypeA(1)) << "the key types again";
}

TEST_F(KeyboardDlgPerfCalibrationTest, ThePopupClosingFromTheWorkerEndsARunOnTheWindowsThread) {
  simkb::Keyboard& keyboard = OnPerfPage();
  KeyboardDlg& dlg = *m_dlg;
  // Outside a run it leaves the page and the calibration alone.
  std::thread([&] { dlg.CloseAllPopups(); }).join();
  testsupport::PumpFor(200);
  for (int id : TakeAppended()) {
    EXPECT_NE(TASK_WRITE_CALIBRATION, id);
    EXPECT_NE(TASK_RECHECK_CALIBRATION, id);
  }
  EXPECT_EQ(Text(505), dlg.m_btnCalibrate->GetTitle().GetString());

  for (bool debug : {true, false}) {
    SCOPED_TRACE(debug);
    EXPECT_EQ(1, ClickCalibrate());
    ASSERT_TRUE(Settle());
    TakeAppended();
    dlg.m_debugMode = debug;
    dlg.m_switchDebugMode->SetCheck(debug ? 0 : 1);
    if (debug) {
      // The keyboard unplugged: the worker's connection change closes the popups.
      Bus::Get().Unplug(keyboard);
      ASSERT_TRUE(testsupport::PumpUntil([&] { return !dlg.m_calibrating; }, 5000));
    } else {
      std::thread([&] { dlg.CloseAllPopups(); }).join();
      EXPECT_TRUE(dlg.m_calibrating) << "the run ends on the window's thread";
      ASSERT_TRUE(testsupport::PumpUntil([&] { return !dlg.m_calibrating; }, 5000));
    }
    ExpectRunShown(false);
    EXPECT_FALSE(dlg.m_inputHook);
    EXPECT_EQ(debug ? 1 : 0, dlg.m_switchDebugMode->GetCheck());
    testsupport::PumpFor(200);
    std::vector<int> calibration;
    for (int id : TakeAppended()) {
      if (id == TASK_WRITE_CALIBRATION || id == TASK_RECHECK_CALIBRATION) calibration.push_back(id);
    }
    EXPECT_EQ((std::vector<int>{TASK_WRITE_CALIBRATION, TASK_RECHECK_CALIBRATION}), calibration);
    if (debug) {
      Bus::Get().Replug(keyboard);
      ASSERT_TRUE(testsupport::PumpUntil([&] { return InPagesState() && dlg.PendingTasks() == 0; }, 15000));
      dlg.m_tabMain->SetSelectItem(kPerfTabIndex);
      ASSERT_TRUE(Settle());
    }
  }
}

}  // namespace
