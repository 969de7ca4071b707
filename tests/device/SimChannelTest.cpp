// The simulated keyboard's control channel and state file: a probe program runs against the
// drop-in hidapi.dll in a process of its own, and the test drives its bus through the pipe.
#include <windows.h>

#include <fstream>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>
#include <hidapi/hidapi.h>

#include "EnvironmentBlock.h"
#include "SimChannel.h"
#include "TempFolder.h"
#include "simkeyboard/SimBootloader.h"
#include "simkeyboard/SimControl.h"
#include "simkeyboard/SimKeyboard.h"

using simkb::Bus;
using simkb::Bytes;
using testsupport::SimChannel;

namespace {

std::wstring ProbePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"simkeyboard\\SimKeyboardProbe.exe";
}

std::string ReadText(const std::wstring& path) {
  std::ifstream file(std::string(path.begin(), path.end()), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

int CountLines(const std::string& text, const std::string& start) {
  int count = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) count += line.compare(0, start.size(), start) == 0;
  return count;
}

class SimChannelTest : public testing::Test {
 protected:
  void TearDown() override { StopProbe(); }

  // Starts the probe with keyboard 102, this test's channel and the state file (none when
  // empty), and waits for it to be ready.
  bool StartProbe(bool write, const std::wstring& stateFile = L"") {
    StopProbe();
    DeleteFileW(LogFile().c_str());
    testsupport::EnvironmentVariables variables = m_channel.Environment(stateFile);
    variables.emplace_back(L"TAVIR_SIM_KEYBOARDS", L"102");
    std::vector<wchar_t> environment = testsupport::EnvironmentWith(variables);
    std::wstring commandLine = L"\"" + ProbePath() + L"\" \"" + LogFile() + L"\"" + (write ? L" write" : L"");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), nullptr, &startup, &info)) {
      return false;
    }
    CloseHandle(info.hThread);
    m_probe = info.hProcess;
    for (int i = 0; i < 500 && CountLines(Log(), "ready") == 0; ++i) Sleep(20);
    return CountLines(Log(), "ready") == 1 && m_channel.Connect(5000);
  }
  void StopProbe() {
    m_channel.Disconnect();
    if (!m_probe) return;
    TerminateProcess(m_probe, 0);
    WaitForSingleObject(m_probe, 5000);
    CloseHandle(m_probe);
    m_probe = nullptr;
  }
  std::wstring LogFile() const { return m_folder.Path() + L"probe.log"; }
  std::string Log() const { return ReadText(LogFile()); }

  testsupport::TempFolder m_folder{L"sim channel"};
  SimChannel m_channel;
  HANDLE m_probe = nullptr;
};

TEST_F(SimChannelTest, ReadsTheFrameLogAndAreasAndPlugsWithBroadcasts) {
  ASSERT_TRUE(StartProbe(true));
  const int keyboard = m_channel.KeyboardId(102);
  ASSERT_NE(0, keyboard);

  const std::vector<simkb::Frame> frames = m_channel.FramesSince(0);
  ASSERT_EQ(3u, frames.size());
  const int commands[] = {0x01, 0x09, 0x02};
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(commands[i], frames[i].command);
    EXPECT_EQ(1, frames[i].interfaceNumber);
    EXPECT_EQ(keyboard, frames[i].device);
    EXPECT_TRUE(frames[i].replied && frames[i].checksumOk && frames[i].fault.empty());
    EXPECT_EQ(65u, frames[i].raw.size());
  }
  EXPECT_EQ(Bytes({0x10, 0x00, 0x05}), frames[1].payload);
  EXPECT_EQ(3u, m_channel.Mark());
  EXPECT_TRUE(m_channel.FramesSince(3).empty());
  EXPECT_TRUE(m_channel.Problems().empty());

  EXPECT_EQ(Bytes({0x10, 0x00, 0x05}), m_channel.ReadArea(keyboard, "keymaps", 0, 3));
  EXPECT_EQ(12u * 512, m_channel.ReadArea(keyboard, "keymaps").size());
  EXPECT_NE(Bytes({0x10, 0x00, 0x05}), m_channel.ReadArea(keyboard, "factory-maps", 0, 3));

  // Each command answers once the probe's window has had its WM_DEVICECHANGE, one per interface.
  ASSERT_TRUE(m_channel.Unplug(keyboard));
  EXPECT_EQ(3, CountLines(Log(), "removal \\\\?\\hid#vid_19f5&pid_fd51&mi_0")) << Log();
  EXPECT_FALSE(m_channel.Devices().at(0).present);
  ASSERT_TRUE(m_channel.Replug(keyboard));
  EXPECT_EQ(3, CountLines(Log(), "arrival \\\\?\\hid#vid_19f5&pid_fd51&mi_0")) << Log();
  EXPECT_TRUE(m_channel.Devices().at(0).present);

  const int boot = m_channel.PlugBootloader(0x19F5, 0xFF37);
  ASSERT_NE(0, boot);
  EXPECT_EQ(1, CountLines(Log(), "arrival \\\\?\\hid#vid_19f5&pid_ff37&mi_00")) << Log();
  const std::vector<testsupport::SimDevice> devices = m_channel.Devices();
  ASSERT_EQ(2u, devices.size());
  EXPECT_EQ("bootloader", devices[1].kind);
  EXPECT_EQ(0xFF37, devices[1].pid);
  EXPECT_TRUE(m_channel.AddFault(boot, "refuse command=0x80 chunk=2"));
  EXPECT_TRUE(m_channel.AddFault(keyboard, "suppress-reply command=0x09 times=-1"));
  EXPECT_TRUE(m_channel.ClearFaults(keyboard));
}

TEST_F(SimChannelTest, TheStateFileCarriesTheKeyboardIntoARestartedProgram) {
  const std::wstring state = m_folder.Path() + L"keyboards.state";
  ASSERT_TRUE(StartProbe(true, state));
  const Bytes written = m_channel.ReadArea(m_channel.KeyboardId(), "keymaps");
  ASSERT_EQ(Bytes({0x10, 0x00, 0x05}), Bytes(written.begin(), written.begin() + 3));

  ASSERT_TRUE(StartProbe(false, state));
  EXPECT_EQ(written, m_channel.ReadArea(m_channel.KeyboardId(), "keymaps"));
  EXPECT_TRUE(m_channel.Problems().empty());

  ASSERT_TRUE(StartProbe(false));
  EXPECT_NE(written, m_channel.ReadArea(m_channel.KeyboardId(), "keymaps")) << "without the file: factory";
}

TEST_F(SimChannelTest, BadRequestsGetAnErrorAndTheChannelGoesOn) {
  ASSERT_TRUE(StartProbe(false));
  {
    // A client that sends half a request and goes without reading the reply.
    HANDLE pipe = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 100 && pipe == INVALID_HANDLE_VALUE; ++i) {
      // The next pipe instance may not be there yet: the server makes it after each connection.
      pipe = CreateFileW(m_channel.PipeName().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      if (pipe == INVALID_HANDLE_VALUE) Sleep(20);
    }
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    DWORD written = 0;
    WriteFile(pipe, "fra", 3, &written, nullptr);
    CloseHandle(pipe);
  }
  struct Case {
    std::string request, error;
  };
  const Case cases[] = {
      {"", "empty request"},
      {"   ", "empty request"},
      {"reboot 1", "unknown command reboot"},
      {std::string("\x01\xff\x7f zz", 6), "unknown command"},
      {"read", "usage: read <id> <area>"},
      {"read 1", "usage: read"},
      {"read 1 nowhere", "no area nowhere"},
      {"read 99 keymaps", "no device 99"},
      {"read -1 keymaps", "no device -1"},
      {"read 1 keymaps 4", "an offset needs a length"},
      {"read 1 keymaps 6000 500", "outside the keymaps area"},
      {"read 1 keymaps 0x 3", "outside"},
      {"frames -1", "bad mark"},
      {"frames 12abc", "bad mark"},
      {"mark now", "usage: mark"},
      {"unplug", "usage: unplug"},
      {"fault 1 melt", "no keyboard fault melt"},
      {"fault 1 suppress-reply nth=", "bad value"},
      {"fault 1 suppress-reply colour=3", "unknown option colour=3"},
      {"fault 1 refuse", "no keyboard fault refuse"},
      {"plug 104", "no model 104"},
      {"plug-boot 0x19f5", "usage: plug-boot"},
      {"plug-boot 0x19f5 0x10000", "bad ids"},
      {"report 1 a1x", "not 1 to 64 bytes"},
      {"report 1 " + std::string(130, '0'), "not 1 to 64 bytes"},
      {std::string(simkb::kMaxRequest + 900, 'x'), "at most 4096"},
  };
  for (const Case& c : cases) {
    const std::string reply = m_channel.CallRaw(c.request);
    EXPECT_EQ(0u, reply.find("error ")) << c.request.substr(0, 40) << " -> " << reply;
    EXPECT_NE(std::string::npos, reply.find(c.error)) << c.request.substr(0, 40) << " -> " << reply;
  }
  EXPECT_TRUE(m_channel.Call("mark").ok);
  EXPECT_EQ(1u, m_channel.Devices().size()) << "no request changed the bus";
}

// A fresh bus for the test, and a fresh one after it: the change listener below must not
// outlive the test that installs it.
struct FreshBus {
  FreshBus() { Bus::Get().Reset(); }
  ~FreshBus() { Bus::Get().Reset(); }
};

// The channel's commands run in-process too (HandleControlRequest), without a pipe.
TEST(SimControlTest, FaultRulesAndPluggingsThroughTheCommands) {
  const FreshBus fresh;
  std::vector<std::string> heard;
  Bus::Get().SetChangeListener([&](bool arrived, const std::vector<std::string>& paths) {
    heard.push_back((arrived ? "arrival " : "removal ") + paths.at(0));
  });
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(101);
  const std::string id = std::to_string(keyboard.Id());
  EXPECT_EQ("ok", simkb::HandleControlRequest("fault " + id + " suppress-reply command=0x03 times=1"));
  hid_device* handle = hid_open_path(keyboard.ConfigPath().c_str());
  ASSERT_NE(nullptr, handle);
  std::vector<uint8_t> info(65, 0);
  info[1] = 0x55, info[2] = 0x03;
  unsigned char reply[64];
  hid_write(handle, info.data(), info.size());
  EXPECT_EQ(0, hid_read_timeout(handle, reply, sizeof reply, 30));
  hid_write(handle, info.data(), info.size());
  EXPECT_EQ(64, hid_read_timeout(handle, reply, sizeof reply, 30));
  EXPECT_EQ("suppress reply", Bus::Get().Frames().at(0).fault);
  EXPECT_EQ("ok", simkb::HandleControlRequest("report " + id + " a10201"));
  ASSERT_EQ(64, hid_read_timeout(handle, reply, sizeof reply, 30));
  EXPECT_EQ(0xA1, reply[0]);
  EXPECT_EQ(0x02, reply[1]);
  EXPECT_EQ(0x01, reply[2]);
  EXPECT_EQ(0, reply[3]);

  EXPECT_EQ("ok", simkb::HandleControlRequest("fault " + id + " remove-device"));
  hid_write(handle, info.data(), info.size());
  ASSERT_EQ(2u, heard.size());
  EXPECT_EQ(0u, heard[1].find("removal \\\\?\\hid#vid_19f5&pid_fd50&mi_00")) << heard[1];
  hid_close(handle);

  const std::string boot = simkb::HandleControlRequest("plug-boot 0x19f5 0xff30");
  ASSERT_EQ(0u, boot.find("ok ")) << boot;
  EXPECT_EQ("ok", simkb::HandleControlRequest("fault " + boot.substr(3) + " no-reply times=-1"));
  EXPECT_EQ(0u, simkb::HandleControlRequest("fault " + boot.substr(3) + " suppress-reply").find("error "));
  EXPECT_EQ(0u, heard.back().find("arrival \\\\?\\hid#vid_19f5&pid_ff30&mi_00")) << heard.back();
}

TEST(SimControlTest, AStateFileThatCannotBeReadLeavesTheFactoryState) {
  const FreshBus fresh;
  testsupport::TempFolder folder(L"sim state");
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"not a state file", "hello\nkeyboard 102 0\ncolors 00\n"},
      {"an area of the wrong size", "tavir simulated keyboards 1\nkeyboard 102 0\ncolors 0102\n"},
      {"hex that is not hex", "tavir simulated keyboards 1\nkeyboard 102 0\ncolors zz\n"},
      {"an unknown area", "tavir simulated keyboards 1\nkeyboard 102 0\nlights 00\n"},
  };
  for (const Case& c : cases) {
    const std::wstring path = folder.Path() + L"bad.state";
    std::ofstream(std::string(path.begin(), path.end()), std::ios::binary) << c.text;
    Bus::Get().Reset();
    Bus::Get().SetStateFile(path);
    simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
    EXPECT_EQ(keyboard.Factory(simkb::Area::Colors), keyboard.Read(simkb::Area::Colors)) << c.name;
    EXPECT_EQ(1u, Bus::Get().Problems().size()) << c.name;
    // The next write replaces the file with a readable one.
    keyboard.Write(simkb::Area::Colors, 0, {7});
    Bus::Get().Reset();
    Bus::Get().SetStateFile(path);
    EXPECT_EQ(7, Bus::Get().PlugKeyboard(102).Read(simkb::Area::Colors).at(0)) << c.name;
    EXPECT_TRUE(Bus::Get().Problems().empty()) << c.name;
  }
}

}  // namespace
