// The device link's worker: pacing, stop and teardown, the task table, the idle poll, the
// queue under two threads, and closing a wait dialog before its modal loop runs.
#include "device/DeviceLink.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <hidapi/hidapi.h>

#include "Stopwatch.h"
#include "BitmapProbe.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "RecordingDeviceLink.h"
#include "RecordingShell.h"
#include "device/DeviceLinkReports.h"
#include "simkeyboard/SimKeyboard.h"
#include "ui/core/MDialog.h"

using simkb::Bus;
using testsupport::RecordingDeviceLink;
using Names = std::vector<std::string>;

namespace {

const Names kRefresh = {"RefreshProfiles",   "RefreshKeyCaptions",    "ReadKeyPerfFromDevice(1)",
                        "RefreshPerfPage",   "ReadLightFromDevice(1)", "RefreshLightModeLists",
                        "InitMusicGrid",     "RefreshDeviceSettings", "RefreshMacroList"};

Names Join(std::initializer_list<Names> parts) {
  Names all;
  for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A hidden dialog with its window made, as a handler registers it before appending its task.
std::unique_ptr<TESK::MDialog> MadeDialog() {
  auto dialog = std::make_unique<TESK::MDialog>();
  dialog->Create(nullptr, L"WaitDlg", WS_POPUP, 0, CRect(0, 0, 60, 40));
  return dialog;
}

bool HasClosePosted(TESK::MDialog* dialog) {
  MSG msg;
  return dialog && PeekMessageW(&msg, dialog->GetSafeHwnd(), TESK::WM_UI_CLOSEDIALOG, TESK::WM_UI_CLOSEDIALOG,
                                PM_NOREMOVE);
}

class DeviceLinkTest : public testing::Test {
 protected:
  void SetUp() override { Bus::Get().Reset(); }
  void TearDown() override { Bus::Get().Reset(); }

  // A fresh link with a ready keyboard (or not), running steps on the test thread.
  std::unique_ptr<RecordingDeviceLink> Link(bool ready) {
    auto link = std::make_unique<RecordingDeviceLink>(m_hid);
    link->m_connected = ready;
    link->m_deviceReady = ready;
    return link;
  }

  // A model 101 keyboard, plugged and opened in the link's HID manager.
  simkb::Keyboard& OpenKeyboard() {
    simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(101);
    m_hid.AddSupportedDevice(0x19F5, 0xFD50, 0x19F5, 0xFF30, L"", 101, 0);
    m_hid.ScanDevices();
    m_hid.SetOpened(true);
    m_hid.SetActiveModelId(101);
    return keyboard;
  }

  testsupport::GdiplusSession m_gdiplus;
  testsupport::ProgramInstance m_instance;
  HidDeviceManager m_hid;
};

TEST_F(DeviceLinkTest, StepsArePacedByThePeriod) {
  for (int spinUs : {5000, 0}) {
    auto link = Link(false);
    link->SetStepSpin(spinUs);
    ASSERT_TRUE(link->Start());
    EXPECT_FALSE(link->Start()) << "a second start while running";
    ASSERT_TRUE(testsupport::PumpUntil([&] { return link->Steps() >= 40; }, 5000));
    link->Stop();
    link->WaitForEnd();
    const std::vector<double> starts = link->Log()->StepStarts();
    std::vector<double> gaps;
    for (size_t i = 1; i < starts.size(); ++i) gaps.push_back(starts[i] - starts[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    if (spinUs) {
      EXPECT_GE(gaps.front(), 5.0) << "a 5 ms step";
      EXPECT_LT(gaps[gaps.size() / 2], 6.0) << "after a 5 ms step the next begins at once";
    } else {
      EXPECT_GE(gaps.front(), 0.95) << "short steps are never closer than the 1 ms period";
    }
  }
}

// A step that waits 3 s for a reply: Stop gives up after about a second, the link's
// destruction waits for the step, and nothing runs after it.
TEST_F(DeviceLinkTest, StopGivesUpAfterASecondAndTeardownWaitsForTheStep) {
  simkb::Keyboard& keyboard = OpenKeyboard();
  simkb::FaultRule delay;
  delay.kind = simkb::FaultKind::DelayReply;
  delay.command = CMD_GET_DEVICE_INFO;
  delay.delayMs = 3000;
  keyboard.AddFault(delay);

  auto link = Link(true);
  std::shared_ptr<testsupport::CallLog> log = link->Log();
  std::atomic<double> replyAt{0};
  link->SetAction("WriteKeyMap", [&] {
    uint8_t frame[COMMAND_REPORT_SIZE] = {0, COMMAND_MARKER, CMD_GET_DEVICE_INFO};
    hid_device* handle = m_hid.GetActiveHandle();
    hid_write(handle, frame, sizeof frame);
    if (hid_read_timeout(handle, frame, sizeof frame, 5000) > 0) replyAt = log->NowMs();
  });
  link->AppendTask(TASK_WRITE_KEYMAP);
  link->AppendTask(TASK_WRITE_LIGHT);
  ASSERT_TRUE(link->Start());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !link->Names().empty(); }, 2000));

  const double stopAt = log->NowMs();
  link->Stop();
  const double stopped = log->NowMs() - stopAt;
  EXPECT_GE(stopped, 900.0);
  EXPECT_LT(stopped, 1500.0);
  link.reset();
  EXPECT_GT(replyAt.load(), stopAt + 2500) << "the step got its reply before the link went";
  EXPECT_EQ(Names{"WriteKeyMap"}, log->Names()) << "no task after the stop";
}

// One row per id: what runs when the keyboard is ready and when it is not.
TEST_F(DeviceLinkTest, TaskTableDispatchesEachId) {
  const Names startup = {"OpenDevice", "UpdateConnectionState(0)", "StartVisualizer"};
  const struct {
    int id;
    Names ready;
    bool needsReady;
    bool closesWait;
    bool endsProgress;
  } rows[] = {
      {TASK_STARTUP, startup, false, false, false},
      {TASK_DEVICE_ARRIVED, {"OpenDevice", "UpdateConnectionState(0)"}, false, false, false},
      {TASK_DEVICE_REMOVED, {"OpenDevice", "UpdateConnectionState(2)"}, false, false, false},
      {TASK_RECONNECT, Join({{"OpenDevice", "UpdateConnectionState(0)"}, kRefresh}), false, false, false},
      {TASK_READ_DEVICE_STATE, Join({{"GetDeviceProfile(0)"}, kRefresh, {"ShowPagesState(1)"}}), true, false, false},
      {TASK_APPLY_PROFILE, {"ApplyProfile"}, true, true, false},
      {TASK_WRITE_KEYMAP, {"WriteKeyMap"}, true, true, false},
      {TASK_WRITE_MACROS, {"WriteMacros"}, true, true, false},
      {TASK_WRITE_LIGHT, {"WriteLightSettings"}, true, false, false},
      {TASK_WRITE_KEY_COLORS, {"WriteKeyColors"}, true, false, false},
      {11, {}, false, false, false},
      {TASK_WRITE_KEY_PERF, {"WriteKeyPerf"}, true, false, false},
      {TASK_WRITE_SETTINGS, {"WriteDeviceSettings"}, true, false, false},
      {TASK_WRITE_CALIBRATION, {"WriteDeviceSettings", "SendCalibrationMode"}, true, false, false},
      {TASK_CHECK_SOFTWARE, {"CheckSoftwareVersion", "EnableCheckSoftwareButton"}, false, false, false},
      {TASK_CHECK_FIRMWARE, {"CheckFirmwareVersion", "EnableCheckFirmwareButton"}, false, false, false},
      {TASK_UPGRADE_SOFTWARE, {"UpgradeSoftware"}, false, false, false},
      {TASK_UPGRADE_FIRMWARE, {"StartWindowTimer(300,200)", "UpgradeFirmware", "StopWindowTimer(300)"}, false,
       false, true},
      {TASK_UPGRADE_FIRMWARE_HID,
       {"StartWindowTimer(300,200)", "UpgradeBootDeviceFirmware", "StopWindowTimer(300)"}, false, false, true},
      {TASK_CHECK_CALIBRATION, {"RecheckCalibration"}, true, false, false},
      {TASK_RECHECK_CALIBRATION, {"RecheckCalibration"}, true, false, false},
      {TASK_WRITE_KEYMAP_ALL, {"WriteKeyMapAllLayers"}, true, true, false},
      {99, {}, false, false, false},
      {-1, {}, false, false, false},
  };
  for (const auto& row : rows) {
    for (bool ready : {true, false}) {
      const std::string name = "id " + std::to_string(row.id) + (ready ? " ready" : " not ready");
      auto link = Link(ready);
      link->RegisterWaitDlg(MadeDialog());
      link->RegisterUpdateTipDlg(MadeDialog());
      link->AppendTask(row.id);
      const double start = link->Log()->NowMs();
      link->WorkerStep();
      const double took = link->Log()->NowMs() - start;
      const bool runs = ready || !row.needsReady;
      EXPECT_EQ(runs ? row.ready : Names{}, link->Names()) << name;
      EXPECT_EQ(0u, link->PendingTasks()) << name;
      EXPECT_EQ(runs && row.closesWait, HasClosePosted(link->GetWaitDlg())) << name;
      EXPECT_EQ(runs && row.endsProgress, HasClosePosted(link->GetUpdateTipDlg())) << name;
      if (runs && row.closesWait) {
        EXPECT_GE(took, 99.0) << name << ": 100 ms after the close";
      }
      if (runs && row.endsProgress) {
        EXPECT_GE(took, 199.0) << name << ": 100 ms before and after the close";
      }
      if (row.id == TASK_READ_DEVICE_STATE && runs) {
        EXPECT_STREQ(testsupport::LanText(820), link->Log()->Calls().back().text) << name;
      }
    }
  }
}

TEST_F(DeviceLinkTest, StartupRunsOnceAndRefreshReadsTheSelectedProfile) {
  auto link = Link(false);
  link->AppendTask(TASK_STARTUP);
  link->AppendTask(TASK_STARTUP);
  link->WorkerStep();
  link->WorkerStep();
  EXPECT_EQ((Names{"OpenDevice", "UpdateConnectionState(0)", "StartVisualizer"}), link->Names());

  link = Link(false);
  link->m_selectedProfile = 3;
  link->RefreshFromDevice();
  const Names names = link->Names();
  ASSERT_EQ(9u, names.size());
  EXPECT_EQ("ReadKeyPerfFromDevice(3)", names[2]);
  EXPECT_EQ("ReadLightFromDevice(3)", names[4]);
}

TEST_F(DeviceLinkTest, IdlePollFollowsConnectionWindowTabAndLightFlags) {
  const RECT window = {0, 0, 1400, 9000};
  const struct {
    const char* name;
    bool connected, shown, minimised;
    int tab;
    uint32_t flags;
    bool foreground;
    RECT foregroundRect;
    Names calls;
  } rows[] = {
      {"not connected", false, true, false, 4, 0x200, false, {}, {}},
      {"other page", true, true, false, 1, 0, false, {}, {"ReadInputReport"}},
      {"other page with music", true, true, false, 1, 0x200, false, {}, {"SendMusicFrame", "ReadInputReport"}},
      {"hidden with music", true, false, false, 4, 0x200, false, {}, {"SendMusicFrame"}},
      {"hidden", true, false, false, 1, 0, false, {}, {}},
      {"lighting page", true, true, false, 4, 0, false, {}, {"GetDeviceProfile(1)", "PollLiveColors"}},
      {"lighting page, music", true, true, false, 4, 0x200, false, {},
       {"SendMusicFrame", "GetDeviceProfile(1)", "PollLiveColors"}},
      {"lighting page, no live colours", true, true, false, 4, 0x100, false, {}, {"GetDeviceProfile(1)"}},
      {"lighting page, minimised", true, true, true, 4, 0, false, {}, {"GetDeviceProfile(1)"}},
      {"foreground 1001 wide", true, true, false, 4, 0, true, {0, 0, 1001, 10}, {"GetDeviceProfile(1)"}},
      {"foreground 1000 wide", true, true, false, 4, 0, true, {0, 0, 1000, 10},
       {"GetDeviceProfile(1)", "PollLiveColors"}},
      {"foreground 8001 tall", true, true, false, 4, 0, true, {0, 0, 10, 8001}, {"GetDeviceProfile(1)"}},
      {"foreground 7999 tall", true, true, false, 4, 0, true, {0, 0, 10, 7999},
       {"GetDeviceProfile(1)", "PollLiveColors"}},
      {"foreground beside the window", true, true, false, 4, 0, true, {1400, 0, 4000, 9000},
       {"GetDeviceProfile(1)", "PollLiveColors"}},
  };
  for (const auto& row : rows) {
    auto link = Link(row.connected);
    link->m_deviceReady = false;  // the poll needs only the connection
    link->shown = row.shown;
    link->minimised = row.minimised;
    link->m_curTab = row.tab;
    link->m_lightModeFlags = row.flags;
    link->mainRect = window;
    link->hasForeground = row.foreground;
    link->foregroundRect = row.foregroundRect;
    link->WorkerStep();
    EXPECT_EQ(row.calls, link->Names()) << row.name;
  }
}

TEST_F(DeviceLinkTest, QueuedIdsRunInOrderOneAStepBeforeAnyPoll) {
  auto link = Link(true);
  const int ids[] = {9, 10, 13, 14, 7, 21, 22, 9, 10, 13};
  {
    auto lock = link->LockTasks();  // all ten at once
    for (int id : ids) link->AppendTask(id);
  }
  ASSERT_TRUE(link->Start());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return link->Names().size() >= 13; }, 3000));
  link->Stop();
  link->WaitForEnd();
  const std::vector<testsupport::LinkCall> calls = link->Log()->Calls();
  const Names expected = {"WriteLightSettings", "WriteKeyColors", "WriteKeyPerf", "WriteDeviceSettings",
                          "WriteKeyMap",        "RecheckCalibration", "RecheckCalibration", "WriteLightSettings",
                          "WriteKeyColors",     "WriteKeyPerf"};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i], calls[i].name) << i;
    if (i) {
      EXPECT_EQ(calls[i - 1].step + 1, calls[i].step) << "one task per step, at " << i;
    }
  }
  for (size_t i = expected.size(); i < calls.size(); ++i) EXPECT_EQ("ReadInputReport", calls[i].name);
  EXPECT_NE(GetCurrentThreadId(), calls[0].thread) << "tasks run on the worker";
}

TEST_F(DeviceLinkTest, TwoThreadsAppendingLoseAndReorderNothing) {
  auto link = Link(false);
  constexpr int kEach = 10000;
  std::atomic<int> appending{2};
  std::vector<int> taken;
  std::thread taker([&] {
    int id;
    while (appending > 0 || link->PendingTasks() > 0) {
      if (link->TakeTask(&id)) taken.push_back(id);
    }
  });
  auto append = [&](int base) {
    for (int i = 0; i < kEach; ++i) link->AppendTask(base + i);
    --appending;
  };
  std::thread first(append, 100000), second(append, 200000);
  first.join();
  second.join();
  taker.join();
  ASSERT_EQ(2u * kEach, taken.size());
  int next[2] = {100000, 200000};
  for (int id : taken) {
    int& expected = next[id >= 200000];
    ASSERT_EQ(expected, id) << "each thread's ids in order, each once";
    ++expected;
  }
}

// The worker closes the wait dialog before its handler reaches the modal loop: the loop
// must still end at once with 1.
TEST_F(DeviceLinkTest, CloseBeforeTheModalLoopEndsTheLoop) {
  auto link = Link(true);
  ASSERT_TRUE(link->Start());
  for (int round = 0; round < 200; ++round) {
    link->RegisterWaitDlg(MadeDialog());
    TESK::MDialog* dialog = link->GetWaitDlg();
    ASSERT_NE(nullptr, dialog->GetSafeHwnd());
    link->AppendTask(TASK_APPLY_PROFILE);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return HasClosePosted(dialog); }, 2000)) << "round " << round;
    const DWORD start = GetTickCount();
    EXPECT_EQ(1u, dialog->ShowModal(SW_HIDE)) << "round " << round;
    EXPECT_LT(GetTickCount() - start, 500u) << "round " << round;
  }
  link->Stop();
  link->WaitForEnd();
}

TEST_F(DeviceLinkTest, FactoryResetSendsTheResetAloneThenRefreshesAfterThreeSeconds) {
  simkb::Keyboard& keyboard = OpenKeyboard();
  keyboard.Write(simkb::Area::Config, 0, {0x12});
  auto link = Link(true);
  link->RegisterWaitDlg(MadeDialog());
  const size_t mark = Bus::Get().Mark();
  const uint32_t busStart = Bus::Get().NowMs();
  const double start = link->Log()->NowMs();
  link->AppendTask(TASK_FACTORY_RESET);
  link->WorkerStep();

  const std::vector<simkb::Frame> frames = Bus::Get().FramesSince(mark);
  ASSERT_EQ(1u, frames.size());
  EXPECT_EQ(CMD_FACTORY_RESET, frames[0].command);
  EXPECT_EQ(0, frames[0].depth) << "no bracket";
  EXPECT_TRUE(Bus::Get().Problems().empty());
  EXPECT_NE(0x12, keyboard.Read(simkb::Area::Config)[0]) << "the keyboard restored its defaults";
  const std::vector<testsupport::LinkCall> calls = link->Log()->Calls();
  ASSERT_FALSE(calls.empty());
  // The three seconds are waited by the system tick, which may end them one step early.
  EXPECT_GE(calls[0].timeMs - start, (frames[0].timeMs - busStart) + 3000.0 - testsupport::kTickStepMs);
  EXPECT_EQ(Join({{"GetDeviceProfile(0)"}, kRefresh}), link->Names());
  EXPECT_TRUE(HasClosePosted(link->GetWaitDlg()));
}

}  // namespace

namespace {

// ---- The keyboard's own input reports ----

TEST(DeviceLinkReportsTest, TravelScalesByTheFullTravelReferenceAndNeverDividesByZero) {
  const struct {
    uint16_t raw, reference;
    int travel;
  } cases[] = {{0x0100, 0x0105, 40}, {0x0090, 0x0105, 22}, {0x00E0, 0x0105, 35}, {0x00E6, 0x0105, 35},
               {0x00F0, 0x0105, 37}, {0xFFFF, 0x0105, 40}, {0x0100, 0x0005, -1}, {0x0100, 0x0000, -1}};
  for (const auto& c : cases) {
    uint8_t d[kInputReportSize] = {INPUT_TRAVEL};
    d[6] = static_cast<uint8_t>(c.raw >> 8), d[7] = static_cast<uint8_t>(c.raw);
    d[14] = static_cast<uint8_t>(c.reference >> 8), d[15] = static_cast<uint8_t>(c.reference);
    EXPECT_EQ(c.travel, DecodeReportTravel(d)) << c.raw << " of " << c.reference;
  }
  uint8_t d[kInputReportSize] = {INPUT_TRAVEL};
  d[11] = 1, d[12] = 23, d[13] = 4;
  d[16] = 0x01, d[17] = 0x00, d[18] = 0x01, d[19] = 0x30;
  EXPECT_EQ(1234, DecodeCalibrationDigits(d));
  EXPECT_EQ(0x30, DecodeCalibrationOffset(d));
}

bool Contains(const Names& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TEST_F(DeviceLinkTest, TravelReportsReachThePerformancePicturesOnlyOnItsPage) {
  simkb::Keyboard& keyboard = OpenKeyboard();
  auto link = Link(true);
  link->m_curTab = 7;
  link->m_debugMode = true;
  keyboard.QueueTravel(0x10, 0x00, 0x04, 0x00F0, 0x0105);  // key A at 37
  link->DeviceLink::ReadInputReport();
  EXPECT_EQ((Names{"SetKeyStrokeActuation(37)", "SetPerfKeyActuation(4,40)"}), link->Names())
      << "36 to 39 show as fully pressed on the key picture";

  link->Log()->Clear();
  link->m_calibrating = true;
  simkb::Bytes report(64, 0);
  report[0] = INPUT_TRAVEL, report[1] = 0x10, report[3] = 0x04, report[6] = 0x00, report[7] = 0x90;
  report[10] = 7, report[11] = 1, report[12] = 23, report[13] = 4, report[14] = 0x01, report[15] = 0x05;
  report[17] = 0x10, report[19] = 0x40;
  keyboard.QueueRaw(report);
  link->DeviceLink::ReadInputReport();
  EXPECT_EQ((Names{"SetPerfKeyCalibration(4,22,7,1234,48)"}), link->Names());

  link->Log()->Clear();
  link->m_curTab = 0;
  link->m_calibrationMode = true;
  keyboard.QueueTravel(0x10, 0x00, 0x04, 0x0100, 0x0105);
  link->DeviceLink::ReadInputReport();
  keyboard.QueueTravel(0x10, 0x00, 0x04, 0x0100, 0x0005);  // a reference that leaves nothing to divide by
  link->m_curTab = 7;
  link->DeviceLink::ReadInputReport();
  EXPECT_TRUE(link->Names().empty()) << "dropped off the page; nothing shown for a bad reference";
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

TEST_F(DeviceLinkTest, LayerAndProfileReportsFollowTheKeyboard) {
  simkb::Keyboard& keyboard = OpenKeyboard();
  auto link = Link(true);
  link->m_curTab = 1;
  link->m_deviceProfile = 0;
  link->m_fnLayer = 0;
  keyboard.QueueLayerState(2, 0);
  link->DeviceLink::ReadInputReport();
  EXPECT_EQ((Names{"SelectKeyLayer(2)", "RedrawKeyLayers", "RefreshKeyCaptions"}), link->Names())
      << "a new layer of the same profile only changes the selected tab";
  EXPECT_EQ(2, link->m_fnLayer.load());

  link->Log()->Clear();
  keyboard.QueueLayerState(5, 1);
  link->DeviceLink::ReadInputReport();
  const Names names = link->Names();
  EXPECT_EQ(1, link->m_deviceProfile.load());
  EXPECT_EQ(5, link->m_fnLayer.load()) << "the reported layer, not the profile's first";
  EXPECT_EQ(4, std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.rfind("AddKeyLayer", 0) == 0; }));
  EXPECT_TRUE(Contains(names, "RefreshPerfPage")) << "the profile's per-key performance is read";
  const auto lastSelect = std::find(names.rbegin(), names.rend(), "SelectKeyLayer(5)");
  EXPECT_NE(names.rend(), lastSelect);

  link->Log()->Clear();
  keyboard.QueueProfileSwitched();
  link->DeviceLink::ReadInputReport();
  const Names refreshed = link->Names();
  ASSERT_FALSE(refreshed.empty());
  EXPECT_EQ("GetDeviceProfile(0)", refreshed.front());
  EXPECT_TRUE(Contains(refreshed, "ReadKeyPerfFromDevice(2)")) << "the keyboard's profile, not the selected one";
  EXPECT_TRUE(Contains(refreshed, "RefreshMacroList"));
}

TEST_F(DeviceLinkTest, CalibrationModeIsSentAgainEvery1900MsOnThePerformancePage) {
  OpenKeyboard();
  auto link = Link(true);
  link->m_curTab = 7;
  link->m_calibrationMode = true;
  link->DeviceLink::ReadInputReport();  // the first check only starts the clock
  EXPECT_FALSE(Contains(link->Names(), "SendCalibrationMode"));
  Sleep(1950);
  link->DeviceLink::ReadInputReport();
  EXPECT_EQ((Names{"SendCalibrationMode"}), link->Names());
  link->DeviceLink::ReadInputReport();
  EXPECT_EQ((Names{"SendCalibrationMode"}), link->Names()) << "not again before another 1900 ms";
}
