// The main window object in the test process, with the simulated keyboard: what creation
// does (window mark, tray tip, stale firmware images, the worker and its start-up task), the
// progress timer, the popup sweep and the shutdown.
#include "app/KeyboardDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "BitmapProbe.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "RawDb.h"
#include "Stopwatch.h"
#include "ScopedDeviceName.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "device/FirmwareFlasherHid.h"
#include "simkeyboard/SimBootloader.h"
#include "app/ProgramFolders.h"
#include "app/UpdateTipDlg.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"
#include "ui/core/Manager.h"

using simkb::Bus;

namespace {


// A window of class "MWindow" with a given title that counts the WM_CLOSE it receives.
class CloseRecorder : public TESK::MDialog {
public:
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CLOSE) {
      ++closes;
      lastClose = wParam;
      return 0;
    }
    return MDialog::OnWindowMessage(message, wParam, lParam);
  }
  int closes = 0;
  WPARAM lastClose = 0;
};

// The settings database in the data folder's "db" (full path), or empty while there is none.
std::wstring FindDatabase() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(GetDataFolder() + L"db\\*.db", &found);
  if (search == INVALID_HANDLE_VALUE) return std::wstring();
  FindClose(search);
  return std::wstring(GetDataFolder().GetString()) + L"db\\" + found.cFileName;
}

class KeyboardDlgTest : public testing::Test {
protected:
  void SetUp() override { Bus::Get().Reset(); }
  void TearDown() override {
    Bus::Get().Reset();
    ConfigDatabase::Instance().Close();
  }
  HWND Create(KeyboardDlg& dlg) {
    return dlg.Create(nullptr, TESK::Manager::GetDeviceName(), WS_POPUP, 0, CRect(0, 0, kMainWidth, kMainHeight));
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
};

TEST_F(KeyboardDlgTest, ConstructionMakesNoWindowAndStartsNoThread) {
  KeyboardDlg dlg;
  EXPECT_EQ(nullptr, dlg.GetSafeHwnd());
  EXPECT_EQ(0, dlg.m_running.load());
  EXPECT_EQ(sizeof(NOTIFYICONDATAW), dlg.TrayIcon().cbSize);
  EXPECT_EQ(3u, dlg.m_bootModelNames.size());
  EXPECT_EQ(-1, dlg.m_advKeyType);
  EXPECT_EQ(1, dlg.m_selectedProfile.load());
}

TEST_F(KeyboardDlgTest, OpeningMarksTheWindowStartsTheWorkerAndRemovesStaleFirmware) {
  testsupport::ScopedDeviceName device;
  const std::wstring longName(200, L'K');
  const CString savedName = TESK::Manager::GetDeviceName();
  Bus::Get().PlugKeyboard(102);
  device.WriteValue(L"DeviceType", L"102");
  // Images 100 ... 110 in both folders; only 100 ... 109 are stale.
  const CString folders[] = {GetProgramFolder() + L"firmware", GetDataFolder() + L"temp"};
  for (const CString& folder : folders) {
    CreateDirectoryW(GetDataFolder(), nullptr);
    CreateDirectoryW(GetDataFolder() + L"db", nullptr);  // the start-up makes it before the window
    CreateDirectoryW(folder, nullptr);
    for (int i = 100; i <= 110; ++i) {
      CString path;
      path.Format(L"%s\\firmware-%d.bin", folder.GetString(), i);
      HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      CloseHandle(file);
    }
  }
  {
    KeyboardDlg dlg;
    ASSERT_NE(nullptr, Create(dlg));
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), GetPropW(dlg.GetSafeHwnd(), device.Name()));
    EXPECT_EQ(1, dlg.m_running.load()) << "the worker runs";
    for (const CString& folder : folders) {
      for (int i = 100; i <= 110; ++i) {
        CString path;
        path.Format(L"%s\\firmware-%d.bin", folder.GetString(), i);
        EXPECT_EQ(i == 110, GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) << std::wstring(path);
      }
    }
    // The start-up task opens the keyboard: the model is remembered and its store made.
    ASSERT_TRUE(testsupport::PumpUntil([&] { return dlg.m_startupDone.load() && dlg.m_deviceReady.load(); }, 10000));
    CString type;
    ASSERT_TRUE(device.ReadValue(L"DeviceType", &type));
    EXPECT_STREQ(L"102", type.GetString());
    dlg.DestroyWindow();
  }
  // Read once the object is gone: the worker has finished its step and the store is closed.
  const std::wstring database = FindDatabase();
  ASSERT_FALSE(database.empty()) << "the model's settings database";
  {
    RawDb raw(database);
    EXPECT_EQ(43, raw.Number("SELECT count(*) FROM t_config_data")) << "the default settings rows";
  }
  for (const CString& folder : folders) {
    CString path;
    path.Format(L"%s\\firmware-110.bin", folder.GetString());
    DeleteFileW(path);
  }

  TESK::Manager::SetDeviceName(longName.c_str());
  {
    KeyboardDlg dlg;
    ASSERT_NE(nullptr, Create(dlg));
    EXPECT_EQ(longName.substr(0, 127), std::wstring(dlg.TrayIcon().szTip)) << "the tip holds 127 characters";
    dlg.DestroyWindow();
  }
  TESK::Manager::SetDeviceName(savedName);
}

TEST_F(KeyboardDlgTest, AKeyboardInItsBootloaderAtStartIsReportedAndLeftFree) {
  testsupport::ScopedDeviceName device;
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  simkb::Bootloader& boot = simkb::EnterBootloaderOnRequest(keyboard, 0);
  RequestBootloaderMode(0x19F5, 0xFD51);
  KeyboardDlg dlg;
  ASSERT_NE(nullptr, Create(dlg));
  MSG msg{};
  EXPECT_TRUE(PeekMessageW(&msg, dlg.GetSafeHwnd(), WM_KB_UPGRADE_NOTIFY, WM_KB_UPGRADE_NOTIFY, PM_REMOVE))
      << "posted while the window opened";
  EXPECT_EQ(99u, msg.wParam);
  EXPECT_NE(0u, dlg.m_bootVid.load());
  EXPECT_EQ(0, Bus::Get().OpenHandleCount(boot.Path(0))) << "the probe's handle is closed";
  dlg.DestroyWindow();
}

TEST_F(KeyboardDlgTest, TheProgressTimerClimbsOneStepPerTickTowardsTheReportedValue) {
  testsupport::ScopedDeviceName device;
  KeyboardDlg dlg;
  ASSERT_NE(nullptr, Create(dlg));
  auto progress = std::make_unique<UpdateTipDlg>();
  UpdateTipDlg* shown = progress.get();
  ASSERT_NE(nullptr, shown->Create(dlg.GetSafeHwnd(), L"UpdateTipDlg", WS_POPUP, 0, CRect(0, 0, 391, 71)));
  dlg.RegisterUpdateTipDlg(std::move(progress));
  dlg.m_flashProgress = 40;
  dlg.m_flashState = 2;
  dlg.m_shownProgress = 38;
  const CString caption = LoadLanString(L"KB.DIALOG", kFlashCaptionText + 2);
  for (int expected : {39, 40, 40}) {
    dlg.OnTimer(kProgressTimerId);
    CString text;
    text.Format(L"%s: %d%%", caption.GetString(), expected);
    EXPECT_STREQ(text.GetString(), shown->GetText().GetString());
  }
  dlg.OnTimer(301);
  EXPECT_EQ(40, dlg.m_shownProgress);
  dlg.DestroyWindow();
}

TEST_F(KeyboardDlgTest, ThePopupSweepClosesTheProgramsPopupsAndTheMessageBoxOnlyWhileReady) {
  testsupport::ScopedDeviceName device;
  KeyboardDlg dlg;
  ASSERT_NE(nullptr, Create(dlg));
  dlg.Stop();  // the sweep is called here alone, not by the worker's connection updates
  const wchar_t* const closed[] = {L"WaitDlg", L"UpdateTipDlg", L"CustomKeyDlg", L"Menu Window"};
  std::vector<std::unique_ptr<CloseRecorder>> windows;
  for (const wchar_t* title : closed) {
    windows.push_back(std::make_unique<CloseRecorder>());
    ASSERT_NE(nullptr, windows.back()->Create(nullptr, title, WS_POPUP, 0, CRect(0, 0, 10, 10)));
  }
  CloseRecorder box;
  ASSERT_NE(nullptr, box.Create(nullptr, L"MessageBox", WS_POPUP, 0, CRect(0, 0, 10, 10)));
  CloseRecorder combo;
  ASSERT_NE(nullptr, combo.Create(nullptr, L"ComboWnd", WS_POPUP | WS_VISIBLE, 0, CRect(0, 0, 10, 10)));

  dlg.m_deviceReady = false;
  dlg.CloseAllPopups();
  testsupport::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(0, box.closes) << "no model ready: the message box stays";
  for (const auto& window : windows) EXPECT_EQ(1, window->closes);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsWindowVisible(combo.GetSafeHwnd()); }, 1000)) << "hidden";

  dlg.m_deviceReady = true;
  dlg.CloseAllPopups();
  testsupport::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(1, box.closes);
  EXPECT_EQ(2u, box.lastClose) << "the box ends with Cancel";
  for (auto& window : windows) window->DestroyWindow();
  box.DestroyWindow();
  combo.DestroyWindow();
  dlg.DestroyWindow();
}

// The worker sweeps at connection updates while the window's thread may be waiting for the
// worker's end without handling messages (the shutdown): the sweep must not need an answer
// from that thread.
TEST_F(KeyboardDlgTest, ThePopupSweepFromAnotherThreadNeedsNoAnswerFromTheWindowsThread) {
  testsupport::ScopedDeviceName device;
  KeyboardDlg dlg;
  ASSERT_NE(nullptr, Create(dlg));
  dlg.Stop();
  CloseRecorder wait;
  ASSERT_NE(nullptr, wait.Create(nullptr, L"WaitDlg", WS_POPUP, 0, CRect(0, 0, 10, 10)));
  std::atomic<bool> swept{false};
  std::thread sweep([&] {
    dlg.CloseAllPopups();
    swept = true;
  });
  EXPECT_TRUE(testsupport::WaitUntil([&] { return swept.load(); }, 10000)) << "the sweep waited for this thread";
  testsupport::PumpUntil([&] { return swept.load(); }, 10000);  // a sweep that waits is answered here
  sweep.join();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return wait.closes == 1; }, 1000));
  wait.DestroyWindow();
  dlg.DestroyWindow();
}

// From the worker, the sweep leaves the progress dialog's registration to the window's thread.
TEST_F(KeyboardDlgTest, ThePopupSweepFromTheWorkerDropsTheProgressDialogOnTheWindowsThread) {
  testsupport::ScopedDeviceName device;
  KeyboardDlg dlg;
  ASSERT_NE(nullptr, Create(dlg));
  dlg.Stop();
  auto progress = std::make_unique<UpdateTipDlg>();
  ASSERT_NE(nullptr, progress->Create(dlg.GetSafeHwnd(), L"UpdateTipDlg", WS_POPUP, 0, CRect(0, 0, 391, 71)));
  dlg.RegisterUpdateTipDlg(std::move(progress));
  std::thread([&] { dlg.CloseAllPopups(); }).join();
  EXPECT_NE(nullptr, dlg.GetUpdateTipDlg()) << "kept until the window's thread runs the step";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return dlg.GetUpdateTipDlg() == nullptr; }, 2000));
  dlg.DestroyWindow();
}

// The start-up task asks the keyboard for its info text and every answer comes 3 s late: the
// worker's step waits for it, on the simulated bus's clock.
TEST_F(KeyboardDlgTest, ShutdownReturnsAfterASecondWhileAStepWaitsAndDestructionWaitsForTheStep) {
  testsupport::ScopedDeviceName device;
  constexpr uint32_t kReplyDelayMs = 3000;
  simkb::FaultRule late;
  late.kind = simkb::FaultKind::DelayReply;
  late.command = 0x03;
  late.delayMs = kReplyDelayMs;
  late.times = -1;
  Bus::Get().PlugKeyboard(102).AddFault(late);
  auto dlg = std::make_unique<KeyboardDlg>();
  ASSERT_NE(nullptr, Create(*dlg));
  uint32_t askedAt = 0;
  ASSERT_TRUE(testsupport::WaitUntil(
      [&] {
        for (const simkb::Frame& frame : Bus::Get().Frames()) {
          if (frame.command == 0x03) {
            askedAt = frame.timeMs;
            return true;
          }
        }
        return false;
      },
      5000));
  const testsupport::ElapsedTime stopping;
  dlg->DestroyWindow();
  EXPECT_GE(stopping.Ms(), 1000 - testsupport::kTickStepMs) << "the worker is given its second";
  EXPECT_FALSE(dlg->m_deviceReady.load()) << "returned while the step still waits for its answer";
  EXPECT_EQ(nullptr, dlg->GetSafeHwnd());
  dlg.reset();
  EXPECT_GE(Bus::Get().NowMs(), askedAt + kReplyDelayMs) << "the object outlived the waiting step";
}

TEST_F(KeyboardDlgTest, DestroyWindowTwiceRemovesTheTrayIconOnce) {
  testsupport::ScopedDeviceName device;
  KeyboardDlg dlg;
  ASSERT_NE(nullptr, Create(dlg));
  EXPECT_NE(nullptr, dlg.TrayIcon().hIcon);
  dlg.DestroyWindow();
  EXPECT_EQ(nullptr, dlg.TrayIcon().hIcon);
  EXPECT_EQ(nullptr, dlg.GetSafeHwnd());
  dlg.DestroyWindow();  // a second time: nothing left to do, nothing fails
  EXPECT_EQ(0, dlg.m_running.load());
}

}  // namespace
