// The main window's upgrade in the test process: the version checks with their status texts,
// notifications and boxes; the firmware upgrade over the simulated keyboard's HID bootloader
// and over the CH375 stand-in; a keyboard found in its bootloader; the popup sweep during a
// flash; every bad package with its message; and the software installer in a child process.
// The download server is the loopback server with the packages of make_zip_fixtures.py; the
// message boxes are answered (and read) by the shared answerer.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BitmapProbe.h"
#include "Ch375Standin.h"
#include "FileBytes.h"
#include "FileProbe.h"
#include "LocalHttpServer.h"
#include "MessageBoxAnswerer.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "ScopedDeviceName.h"
#include "TempFolder.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/ProgramFolders.h"
#include "app/UpdateTipDlg.h"
#include "device/FirmwareFlasherCh375.h"
#include "device/FirmwareFlasherHid.h"
#include "simkeyboard/SimBootloader.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MText.h"
#include "ui/core/MControlFont.h"
#include "ui/core/Manager.h"

using simkb::Bus;
using testsupport::HttpRoute;

namespace {

constexpr char kFirmwareVersionPath[] = "/firmware-upgrade/Lynt%2065/version";
constexpr char kFirmwarePackagePath[] = "/firmware-upgrade///Lynt%2065//firmware-103.zip";
constexpr char kSoftwareVersionPath[] = "/software-upgrade/version";
constexpr char kSoftwarePackagePath[] = "/software-upgrade/TAVIR%20KEYBOARD-1.0.0.10.zip";

std::wstring Fixture(const wchar_t* name) { return testsupport::ExecutableFolder() + L"\\fixtures\\zip\\" + name; }
std::string FixtureBytes(const wchar_t* name) { return testsupport::ReadFileBytes(Fixture(name)); }
std::wstring Text(int id) { return LoadLanString(L"KB.DIALOG", id).GetString(); }
std::wstring NewVersion(const wchar_t* version) { return Text(1053) + L":v" + version; }
std::wstring Question(const wchar_t* version) { return NewVersion(version) + L", " + Text(1054); }

// Packets the keyboard's MI_02 received asking it into its bootloader, since mark.
int EnterPackets(size_t mark) {
  int count = 0;
  for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) {
    if (frame.interfaceNumber == 2 && frame.raw.size() > 1 && frame.raw[1] == 0x5F) ++count;
  }
  return count;
}

BOOL CALLBACK DestroyInputMethodWindow(HWND hwnd, LPARAM) {
  wchar_t className[32] = {};
  GetClassNameW(hwnd, className, ARRAYSIZE(className));
  if (wcsstr(className, L"IME")) DestroyWindow(hwnd);
  return TRUE;
}

class UpgradeFlowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { testsupport::BypassProxies(); }
  void SetUp() override {
    Bus::Get().Reset();
    ASSERT_TRUE(m_server.Start());
  }
  void TearDown() override {
    if (m_dlg.GetSafeHwnd()) m_dlg.DestroyWindow();
    // The main window turns the input method off, which leaves the platform's input-method
    // window on this thread; a later box on another thread then waits on this thread for
    // answers that a test blocked in a join never gives.
    EnumThreadWindows(GetCurrentThreadId(), &DestroyInputMethodWindow, 0);
    Bus::Get().Reset();
    ConfigDatabase::Instance().Close();
    testsupport::DeleteTree(GetDataFolder().GetString());
  }

  // The main window against the loopback server (its settings page holds the status texts and
  // check buttons), once its start-up tasks have run.
  void Open() {
    ASSERT_NE(nullptr, m_dlg.Create(nullptr, TESK::Manager::GetDeviceName(), WS_POPUP, 0,
                                    CRect(0, 0, kMainWidth, kMainHeight)));
    m_dlg.m_softwareUpgradeUrl = m_server.Url("/software-upgrade/").c_str();
    m_dlg.m_firmwareUpgradeUrl = m_server.Url("/firmware-upgrade/").c_str();
    m_dlg.m_softwareVersion = L"1.0.0.9";
    ASSERT_TRUE(testsupport::PumpUntil([&] { return m_dlg.m_startupDone && m_dlg.PendingTasks() == 0; }, 10000));
    // The connection's own tasks (device state, calibration check) end before any upgrade.
    testsupport::PumpFor(300);
  }

  // Runs a check as its button does and waits until the worker enabled the button again.
  bool RunCheck(int task) {
    TESK::MControlFont* button = task == TASK_CHECK_SOFTWARE ? m_dlg.m_btnCheckSoftware : m_dlg.m_btnCheckFirmware;
    button->SetEnabled(0);
    m_dlg.AppendTask(task);
    return testsupport::PumpUntil([&] { return button->IsEnabled() != 0; }, 10000);
  }
  // Agrees to a firmware upgrade as the prompt's OK does; returns when its progress loop has.
  void AgreeToFirmware(WPARAM kind, LPARAM flag) {
    m_boxes.Script({1});
    m_dlg.OnUpgradeNotify(kind, flag);
  }
  std::wstring Status(TESK::MControlFont* text) { return text->GetTitle().GetString(); }
  std::wstring InTemp(const wchar_t* name) { return std::wstring((GetDataFolder() + L"temp\\").GetString()) + name; }
  void ServeFirmware(const std::string& package) {
    m_server.SetRoute(kFirmwareVersionPath, HttpRoute{200, "103"});
    m_server.SetRoute(kFirmwarePackagePath, HttpRoute{200, package});
  }
  // The boxes since the last call, as "title|message".
  std::vector<std::wstring> TakeBoxes() {
    std::vector<std::wstring> texts;
    for (const testsupport::AnsweredBox& box : m_boxes.Boxes()) texts.push_back(box.title + L"|" + box.message);
    m_boxes.Clear();
    return texts;
  }
  static std::wstring Box(int title, const std::wstring& message) { return Text(title) + L"|" + message; }

  testsupport::ScopedDeviceName m_device;
  testsupport::GdiplusSession m_gdiplus;
  testsupport::ProgramInstance m_instance;
  testsupport::LocalHttpServer m_server;
  testsupport::MessageBoxAnswerer m_boxes;
  KeyboardDlg m_dlg;
};

TEST_F(UpgradeFlowTest, SoftwareCheckTable) {
  Open();
  struct Row {
    const char* name;
    HttpRoute answer;
    bool silent;             // the check ends without status or box
    const wchar_t* offered;  // the version the status and the prompt offer; null: text 1052
  };
  const Row rows[] = {
      {"newer by a number", HttpRoute{200, "1.0.0.10"}, false, L"1.0.0.10"},
      {"other shape", HttpRoute{200, "1.0.1"}, false, L"1.0.1"},
      {"older", HttpRoute{200, "1.0.0.8"}, false, nullptr},
      {"10 characters", HttpRoute{200, "1234567890"}, false, L"1234567890"},
      {"11 characters", HttpRoute{200, "12345678901"}, true, nullptr},
      {"a line end", HttpRoute{200, "1.0.2\r\n"}, false, L"1.0.2"},
      {"a path", HttpRoute{200, "..\\x"}, true, nullptr},
      {"a blank", HttpRoute{200, "a b"}, true, nullptr},
      {"not found", HttpRoute{404, "Not Found"}, true, nullptr},
  };
  for (const Row& row : rows) {
    m_server.SetRoute(kSoftwareVersionPath, row.answer);
    m_dlg.m_textSoftwareStatus->SetTitle(L"previous");
    ASSERT_TRUE(RunCheck(TASK_CHECK_SOFTWARE)) << row.name << ": 333 enabled again";
    const std::vector<std::wstring> boxes = TakeBoxes();
    if (row.silent) {
      EXPECT_EQ(L"previous", Status(m_dlg.m_textSoftwareStatus)) << row.name;
      EXPECT_TRUE(boxes.empty()) << row.name;
      continue;
    }
    EXPECT_EQ(row.offered ? NewVersion(row.offered) : Text(1052), Status(m_dlg.m_textSoftwareStatus)) << row.name;
    ASSERT_EQ(1u, boxes.size()) << row.name;
    EXPECT_EQ(Box(1050, row.offered ? Question(row.offered) : Text(1052)), boxes[0]) << row.name;
  }
  EXPECT_EQ(0u, m_dlg.PendingTasks()) << "every prompt was answered with Cancel";
}

TEST_F(UpgradeFlowTest, FirmwareCheckTable) {
  Bus::Get().PlugKeyboard(102);  // release 0x0102
  Open();
  struct Row {
    const char* name;
    HttpRoute answer;
    const wchar_t* offered;  // null: "102" or older, the box says 1052
  };
  const Row rows[] = {
      {"newer", HttpRoute{200, "103"}, L"103"},
      {"equal", HttpRoute{200, "102"}, nullptr},
      {"9 characters", HttpRoute{200, "123456789"}, L"123456789"},
      {"10 characters", HttpRoute{200, "1234567890"}, nullptr},
      {"a path", HttpRoute{200, "..\\x"}, nullptr},
      {"a blank", HttpRoute{200, "a b"}, nullptr},
      {"not found", HttpRoute{404, "Not Found"}, nullptr},
  };
  for (const Row& row : rows) {
    m_server.SetRoute(kFirmwareVersionPath, row.answer);
    ASSERT_TRUE(RunCheck(TASK_CHECK_FIRMWARE)) << row.name << ": 334 enabled again";
    EXPECT_EQ(0u, m_server.LastRequest().rfind(std::string("GET ") + kFirmwareVersionPath + " ", 0)) << row.name;
    EXPECT_EQ(row.offered ? NewVersion(row.offered) : Text(1052), Status(m_dlg.m_textFirmwareStatus)) << row.name;
    const std::vector<std::wstring> boxes = TakeBoxes();
    ASSERT_EQ(1u, boxes.size()) << row.name;
    EXPECT_EQ(Box(1051, row.offered ? Question(row.offered) : Text(1052)), boxes[0]) << row.name;
    EXPECT_EQ(row.offered ? row.offered : L"102", std::wstring(m_dlg.LatestFirmwareVersion().GetString()));
  }
}

TEST_F(UpgradeFlowTest, FirmwareCheckComparesTheReleaseAsHexadecimalAndNoKeyboardAsZero) {
  simkb::KeyboardOptions options;
  options.release = 0x010A;  // "10a", read as 10
  Bus::Get().PlugKeyboard(102, options);
  Open();
  m_server.SetRoute(kFirmwareVersionPath, HttpRoute{200, "102"});
  ASSERT_TRUE(RunCheck(TASK_CHECK_FIRMWARE));
  EXPECT_EQ(std::vector<std::wstring>{Box(1051, Question(L"102"))}, TakeBoxes());

  Bus::Get().Reset();  // the keyboard goes: its release counts as 0
  m_dlg.AppendTask(TASK_DEVICE_REMOVED);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !m_dlg.m_connected && m_dlg.PendingTasks() == 0; }, 10000));
  testsupport::PumpFor(200);
  m_server.SetRoute(kFirmwareVersionPath, HttpRoute{200, "103"});
  ASSERT_TRUE(RunCheck(TASK_CHECK_FIRMWARE));
  EXPECT_EQ(std::vector<std::wstring>{Box(1051, Question(L"103"))}, TakeBoxes());
}

TEST_F(UpgradeFlowTest, FirmwareOverTheHidBootloader) {
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  simkb::Bootloader& boot = simkb::EnterBootloaderOnRequest(keyboard);
  Open();
  ServeFirmware(FixtureBytes(L"firmware-103.zip"));
  const size_t mark = Bus::Get().Mark();
  m_boxes.Script({1});
  m_dlg.AppendTask(TASK_CHECK_FIRMWARE);
  // The prompt's OK runs the progress loop inside the notification; the wait ends after it.
  ASSERT_TRUE(testsupport::PumpUntil([&] { return boot.Finalised() && !m_dlg.RunningProgressDialog(); }, 20000));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Status(m_dlg.m_textFirmwareStatus) == Text(1052); }, 2000));
  EXPECT_EQ(std::vector<std::wstring>{Box(1051, Question(L"103"))}, TakeBoxes()) << "no failure box";
  EXPECT_EQ(1, EnterPackets(mark)) << "MI_02 got the enter packet";
  const std::string image = FixtureBytes(L"firmware-103.bin");
  EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.end()), boot.Flash());
  EXPECT_EQ(100, m_dlg.m_flashProgress.load());
  EXPECT_FALSE(testsupport::FileExists(InTemp(L"firmware-103.zip")));
  EXPECT_FALSE(testsupport::FileExists(InTemp(L"firmware-103.bin")));
  EXPECT_FALSE(m_dlg.m_firmwareUpgrading.load());
  TESK::MDialog* progress = m_dlg.GetUpdateTipDlg();
  ASSERT_NE(nullptr, dynamic_cast<UpdateTipDlg*>(progress)) << "the progress dialog was shown";
  EXPECT_EQ(nullptr, progress->GetSafeHwnd()) << "and closed by the worker";
}

TEST_F(UpgradeFlowTest, FirmwareOverTheCh375BootloaderIsJudgedByItsFinalState) {
  testsupport::Ch375Standin standin;
  ASSERT_TRUE(standin.IsLoaded());
  standin.AddDevice(0, 0x55E04348);
  Bus::Get().PlugKeyboard(102);  // it does not restart: no HID bootloader shows up
  Open();
  ServeFirmware(FixtureBytes(L"firmware-103.zip"));
  m_dlg.SetLatestFirmwareVersion(L"103");
  AgreeToFirmware(2, 1);
  const std::string image = FixtureBytes(L"firmware-103.bin");
  EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.end()), standin.Image(0));
  EXPECT_EQ(FirmwareFlasherCh375::kStateFinished, FirmwareFlasherCh375::Instance().GetState());
  EXPECT_EQ(std::vector<std::wstring>{Box(1051, Question(L"103"))}, TakeBoxes());
  EXPECT_FALSE(m_dlg.m_firmwareUpgrading.load());
  EXPECT_FALSE(testsupport::FileExists(InTemp(L"firmware-103.bin")));

  // The stand-in numbers chunks from its reset: the first run verified chunks 0 and 1.
  standin.SetFault(0x82, 2, CH375_FAULT_STATUS_REFUSED);
  AgreeToFirmware(2, 1);
  EXPECT_EQ(FirmwareFlasherCh375::kStateVerifyFailed, FirmwareFlasherCh375::Instance().GetState());
  EXPECT_EQ((std::vector<std::wstring>{Box(1051, Question(L"103")), Box(1057, Text(1058))}), TakeBoxes());
  EXPECT_TRUE(m_dlg.m_firmwareUpgrading.load()) << "the flag stays after a failed flash";
  EXPECT_TRUE(testsupport::FileExists(InTemp(L"firmware-103.bin"))) << "and so does the image";
}

TEST_F(UpgradeFlowTest, AKeyboardInItsBootloaderAtStartIsOfferedItsModelsNewestFirmware) {
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  simkb::Bootloader& boot = simkb::EnterBootloaderOnRequest(keyboard, 0);
  RequestBootloaderMode(0x19F5, 0xFD51);
  ServeFirmware(FixtureBytes(L"firmware-103.zip"));
  m_boxes.Script({1});
  Open();  // the window's start posts the notification; Open's pumping answers it
  ASSERT_TRUE(testsupport::PumpUntil([&] { return boot.Finalised() && !m_dlg.RunningProgressDialog(); }, 20000));
  EXPECT_EQ(std::vector<std::wstring>{Box(1051, Text(1055))}, TakeBoxes());
  const std::string image = FixtureBytes(L"firmware-103.bin");
  EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.end()), boot.Flash()) << "flashed with its own ids";
  EXPECT_STREQ(L"Lynt 65", m_dlg.m_modelTitle.GetString());

  m_dlg.m_firmwareUpgrading = true;
  m_dlg.OnUpgradeNotify(99, 0);
  testsupport::PumpFor(200);
  EXPECT_TRUE(TakeBoxes().empty()) << "no prompt while a firmware upgrade is under way";
}

// The sweep comes from the worker at a connection update, and on the window's thread at the
// tray menu's exit (then it runs inside the progress loop itself).
TEST_F(UpgradeFlowTest, APopupSweepDuringAFlashClosesTheProgressDialogWithoutFreeingItUnderItsLoop) {
  simkb::Bootloader* boot = &simkb::EnterBootloaderOnRequest(Bus::Get().PlugKeyboard(102));
  Open();
  ServeFirmware(FixtureBytes(L"firmware-103.zip"));
  for (bool onWindowThread : {false, true}) {
    SCOPED_TRACE(onWindowThread ? "on the window's thread" : "from the worker");
    if (onWindowThread) {
      // The first flash left a bootloader behind: a keyboard of its own for the second.
      Bus::Get().Reset();
      boot = &simkb::EnterBootloaderOnRequest(Bus::Get().PlugKeyboard(102));
    }
    m_dlg.SetLatestFirmwareVersion(L"103");
    // The sweep, while the keyboard restarts into its bootloader.
    std::thread sweep([&] {
      testsupport::WaitUntil([&] { return m_dlg.RunningProgressDialog() != nullptr; }, 10000);
      Sleep(300);
      if (onWindowThread) {
        m_dlg.GetPaintManager()->PostCallable([&] { m_dlg.CloseAllPopups(); });
      } else {
        m_dlg.CloseAllPopups();
      }
    });
    AgreeToFirmware(2, 1);
    sweep.join();
    EXPECT_EQ(nullptr, m_dlg.RunningProgressDialog());
    EXPECT_TRUE(testsupport::PumpUntil([&] { return m_dlg.GetUpdateTipDlg() == nullptr; }, 2000))
        << "forgotten, and freed after its loop returned";
    // The flash goes on without its dialog.
    EXPECT_TRUE(testsupport::PumpUntil([&] { return m_dlg.PendingTasks() == 0 && !m_dlg.m_firmwareUpgrading; }, 20000));
    EXPECT_TRUE(boot->Finalised());
    m_boxes.Clear();
  }
}

TEST_F(UpgradeFlowTest, BadFirmwarePackagesEachSayWhyAndLeaveTheKeyboardAlone) {
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  simkb::EnterBootloaderOnRequest(keyboard);
  Open();
  const std::string good = FixtureBytes(L"firmware-103.zip");
  HttpRoute cut{200, good};
  cut.cutAfter = good.size() / 2;
  struct Row {
    const char* name;
    HttpRoute package;
    const wchar_t* version;
    int text;
    bool staleImage;  // an image of the expected name planted in temp first
  };
  const Row rows[] = {
      {"cut half-way", cut, L"103", 1056, false},
      {"not a zip", HttpRoute{200, FixtureBytes(L"notzip.zip")}, L"103", 1064, false},
      {"entries leaving the folder", HttpRoute{200, FixtureBytes(L"firmware-escape.zip")}, L"103", 1064, false},
      {"corrupt image entry", HttpRoute{200, FixtureBytes(L"firmware-corrupt.zip")}, L"103", 1064, false},
      {"image of 8 bytes", HttpRoute{200, FixtureBytes(L"firmware-short.zip")}, L"103", 1060, false},
      {"image of 819,201 bytes", HttpRoute{200, FixtureBytes(L"firmware-huge.zip")}, L"103", 1060, false},
      {"empty version", HttpRoute{200, good}, L"", 1064, false},
      {"stale image and a failing package", HttpRoute{200, FixtureBytes(L"notzip.zip")}, L"103", 1064, true},
  };
  const std::wstring program = GetProgramFolder().GetString();
  const std::wstring data = GetDataFolder().GetString();
  for (const Row& row : rows) {
    ServeFirmware("");
    m_server.SetRoute(kFirmwarePackagePath, row.package);
    if (row.staleImage) {
      CreateDirectoryW((GetDataFolder() + L"temp").GetString(), nullptr);
      const std::string image = FixtureBytes(L"firmware-103.bin");
      testsupport::WriteFileBytes(InTemp(L"firmware-103.bin"), std::vector<uint8_t>(image.begin(), image.end()));
    }
    std::vector<std::wstring> before = testsupport::ListTree(program), dataBefore = testsupport::ListTree(data);
    const std::string lastRequest = m_server.LastRequest();
    const size_t mark = Bus::Get().Mark();
    m_dlg.SetLatestFirmwareVersion(row.version);
    AgreeToFirmware(2, 1);
    EXPECT_EQ((std::vector<std::wstring>{Box(1051, Question(row.version)), Box(1057, Text(row.text))}), TakeBoxes())
        << row.name;
    EXPECT_EQ(0, EnterPackets(mark)) << row.name << ": the keyboard was not asked into its bootloader";
    EXPECT_FALSE(m_dlg.m_firmwareUpgrading.load()) << row.name;
    EXPECT_FALSE(testsupport::FileExists(InTemp(L"firmware-103.bin"))) << row.name << ": nothing left to flash";
    EXPECT_EQ(nullptr, m_dlg.RunningProgressDialog()) << row.name;
    ASSERT_NE(nullptr, m_dlg.GetUpdateTipDlg()) << row.name;
    EXPECT_EQ(nullptr, m_dlg.GetUpdateTipDlg()->GetSafeHwnd()) << row.name << ": the progress dialog closed";
    if (row.version[0] == 0) {
      EXPECT_EQ(lastRequest, m_server.LastRequest()) << "no request for an empty version";
    }
    EXPECT_EQ(before, testsupport::ListTree(program)) << row.name;
    // The data folder changes only inside temp.
    auto outsideTemp = [](std::vector<std::wstring> tree) {
      tree.erase(std::remove_if(tree.begin(), tree.end(), [](const std::wstring& e) { return e.rfind(L"temp\\", 0) == 0; }),
                 tree.end());
      return tree;
    };
    EXPECT_EQ(outsideTemp(dataBefore), outsideTemp(testsupport::ListTree(data))) << row.name;
  }
}

TEST_F(UpgradeFlowTest, BadSoftwarePackagesEachSayWhy) {
  Open();
  struct Row {
    const char* name;
    HttpRoute package;
    const wchar_t* version;
    int text;
  };
  const Row rows[] = {
      {"not found", HttpRoute{404, "Not Found"}, L"1.0.0.10", 1056},
      {"no installer in it", HttpRoute{200, FixtureBytes(L"software-noinstaller.zip")}, L"1.0.0.10", 1064},
      {"empty version", HttpRoute{200, FixtureBytes(L"software-1.0.0.10.zip")}, L"", 1064},
  };
  for (const Row& row : rows) {
    m_server.SetRoute(kSoftwarePackagePath, row.package);
    m_dlg.SetLatestSoftwareVersion(row.version);
    m_boxes.Script({1});
    m_dlg.OnUpgradeNotify(1, 1);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return m_boxes.Count() == 2; }, 10000)) << row.name;
    EXPECT_EQ((std::vector<std::wstring>{Box(1050, Question(row.version)), Box(1050, Text(row.text))}), TakeBoxes())
        << row.name;
    EXPECT_FALSE(testsupport::FileExists(InTemp(L"TAVIR KEYBOARD-1.0.0.10.exe"))) << row.name;
  }
}

// The installer replaces the program: the upgrade runs in a child process (the test program
// started again by gtest), which must end with code 0 once the installer has started.
TEST_F(UpgradeFlowTest, TheSoftwareUpgradeStartsTheInstallerAndEndsTheProgram) {
  // Parent and child use one data folder: the child takes the parent's device name.
  wchar_t shared[64] = {};
  if (!GetEnvironmentVariableW(L"TAVIR_UPGRADE_DEVICE", shared, ARRAYSIZE(shared))) {
    SetEnvironmentVariableW(L"TAVIR_UPGRADE_DEVICE", m_device.Name());
    wcsncpy(shared, m_device.Name(), ARRAYSIZE(shared) - 1);
  }
  TESK::Manager::SetDeviceName(shared);
  const std::wstring installer = InTemp(L"TAVIR KEYBOARD-1.0.0.10.exe");
  testsupport::DeleteTree((installer + L".ran").c_str());
  Open();
  m_server.SetRoute(kSoftwarePackagePath, HttpRoute{200, FixtureBytes(L"software-1.0.0.10.zip")});
  m_dlg.SetLatestSoftwareVersion(L"1.0.0.10");
  EXPECT_EXIT(
      {
        m_dlg.AppendTask(TASK_UPGRADE_SOFTWARE);
        testsupport::PumpFor(15000);
        std::exit(3);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_TRUE(testsupport::PumpUntil([&] { return testsupport::FileExists(installer + L".ran"); }, 10000))
      << "the installer ran";
  EXPECT_FALSE(testsupport::FileExists(InTemp(L"TAVIR KEYBOARD-1.0.0.10.zip"))) << "the package is gone";
  TESK::Manager::SetDeviceName(m_device.Name());
}

}  // namespace
