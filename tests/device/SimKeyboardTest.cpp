// The simulated keyboard's own behaviour, through the hidapi functions the program calls.
#include <windows.h>

#include <gtest/gtest.h>
#include <hidapi/hidapi.h>

#include "simkeyboard/SimKeyboard.h"
#include "Stopwatch.h"

using simkb::Bus;
using simkb::FaultKind;
using simkb::Keyboard;

namespace {

class SimKeyboardTest : public testing::Test {
 protected:
  void SetUp() override { Bus::Get().Reset(); }
  void TearDown() override {
    for (hid_device* handle : m_open) hid_close(handle);
    Bus::Get().Reset();
  }
  hid_device* Open(const std::string& path) {
    hid_device* handle = hid_open_path(path.c_str());
    if (handle) m_open.push_back(handle);
    return handle;
  }
  // A well-formed request: marker, command, checksum over bytes 5..64.
  static std::vector<uint8_t> Request(uint8_t command, uint8_t length, uint16_t offset) {
    std::vector<uint8_t> frame(65, 0);
    frame[1] = 0x55, frame[2] = command, frame[5] = length;
    frame[6] = static_cast<uint8_t>(offset), frame[7] = static_cast<uint8_t>(offset >> 8);
    unsigned sum = 0;
    for (int i = 5; i < 65; ++i) sum += frame[i];
    frame[4] = static_cast<uint8_t>(sum);
    return frame;
  }
  std::vector<hid_device*> m_open;
};

TEST_F(SimKeyboardTest, EnumeratesThreeInterfacesPerKeyboardWithWindowsStylePaths) {
  Keyboard& a = Bus::Get().PlugKeyboard(102);
  simkb::KeyboardOptions noProduct;
  noProduct.hasProduct = false;
  Bus::Get().PlugKeyboard(101, noProduct);
  hid_device_info* list = hid_enumerate(0, 0);
  int count = 0, configs = 0;
  for (hid_device_info* info = list; info; info = info->next, ++count) {
    const std::string path = info->path;
    EXPECT_EQ(path, CharLowerA(std::string(path).data())) << "paths are lower case";
    EXPECT_EQ(0x19F5, info->vendor_id);
    EXPECT_EQ(0x0102, info->release_number);
    if (info->interface_number == 1) {
      ++configs;
      EXPECT_EQ(0xFF00, info->usage_page & 0xFF00);
      EXPECT_NE(0xFF00, info->usage_page);
      EXPECT_EQ(1, info->usage);
    }
    if (info->product_id == 0xFD50) {
      EXPECT_EQ(nullptr, info->product_string);
    } else {
      EXPECT_STREQ(L"Lynt 65", info->product_string);
    }
  }
  hid_free_enumeration(list);
  EXPECT_EQ(6, count);
  EXPECT_EQ(2, configs);
  EXPECT_NE(std::string::npos, a.ConfigPath().find("hid#vid_19f5&pid_fd51&mi_01#"));

  Bus::Get().SetUnopenable(a.ConfigPath());
  EXPECT_EQ(nullptr, Open(a.ConfigPath()));
  EXPECT_EQ(nullptr, Open("\\\\?\\hid#vid_19f5&pid_0000&mi_01#absent"));
  EXPECT_NE(nullptr, Open(a.Path(0)));
}

TEST_F(SimKeyboardTest, PadsShortWritesStripsReportIdAndReallyWaits) {
  Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  hid_device* handle = Open(keyboard.ConfigPath());
  ASSERT_NE(nullptr, handle);
  std::vector<uint8_t> info = Request(0x03, 0, 0);
  EXPECT_EQ(65, hid_write(handle, info.data(), 40)) << "written length is the padded report";
  const auto frames = Bus::Get().Frames();
  ASSERT_EQ(1u, frames.size());
  EXPECT_EQ(65u, frames[0].raw.size());
  EXPECT_TRUE(frames[0].checksumOk);

  unsigned char reply[80] = {};
  EXPECT_EQ(64, hid_read_timeout(handle, reply, sizeof reply, 100)) << "report id stripped";
  EXPECT_EQ(0xAA, reply[0]);
  EXPECT_EQ(0x03, reply[1]);

  const testsupport::ElapsedTime elapsed;
  EXPECT_EQ(0, hid_read_timeout(handle, reply, sizeof reply, 120));
  EXPECT_GE(elapsed.Ms(), 100) << "an empty read takes its time-out";

  keyboard.QueueProfileSwitched();
  EXPECT_EQ(10, hid_read_timeout(handle, reply, 10, 0)) << "a short buffer gets what fits";
  EXPECT_EQ(0xA2, reply[0]);
}

TEST_F(SimKeyboardTest, RecordsProblemsAndAnswersNothingInStrictMode) {
  struct Case {
    const char* name;
    std::vector<uint8_t> frame;
  };
  std::vector<uint8_t> badSum = Request(0x05, 32, 0);
  badSum[4] ^= 1;
  std::vector<uint8_t> badMarker = Request(0x05, 32, 0);
  badMarker[1] = 0x54;
  const Case cases[] = {
      {"checksum", badSum},
      {"marker", badMarker},
      {"length above 56", Request(0x05, 57, 0)},
      {"past the configuration area", Request(0x05, 32, 3 * 64)},
      {"outside a bracket", Request(0x0A, 56, 0)},
      {"END at depth 0", Request(0x02, 0, 0)},
  };
  for (bool strict : {false, true}) {
    for (const Case& c : cases) {
      Bus::Get().Reset();
      simkb::KeyboardOptions options;
      options.strict = strict;
      Keyboard& keyboard = Bus::Get().PlugKeyboard(103, options);
      hid_device* handle = Open(keyboard.ConfigPath());
      if (std::string(c.name) != "outside a bracket" && std::string(c.name) != "END at depth 0") {
        std::vector<uint8_t> begin = Request(0x01, 0, 0);
        hid_write(handle, begin.data(), begin.size());
        unsigned char drop[64];
        hid_read_timeout(handle, drop, sizeof drop, 50);
      }
      const size_t mark = Bus::Get().Mark();
      hid_write(handle, c.frame.data(), c.frame.size());
      const auto frames = Bus::Get().FramesSince(mark);
      ASSERT_EQ(1u, frames.size());
      EXPECT_EQ(1u, frames[0].problems.size()) << c.name;
      EXPECT_FALSE(Bus::Get().Problems().empty()) << c.name;
      unsigned char reply[64] = {};
      EXPECT_EQ(strict ? 0 : 64, hid_read_timeout(handle, reply, sizeof reply, 30)) << c.name;
      EXPECT_EQ(!strict, frames[0].replied) << c.name;
    }
  }
}

TEST_F(SimKeyboardTest, RemovalInTheMiddleOfATransactionFailsTheHandle) {
  Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  simkb::FaultRule removal;
  removal.kind = FaultKind::RemoveDevice;
  removal.command = 0x05;
  keyboard.AddFault(removal);
  hid_device* handle = Open(keyboard.ConfigPath());
  std::vector<uint8_t> begin = Request(0x01, 0, 0), read = Request(0x05, 32, 0);
  unsigned char reply[64];
  ASSERT_EQ(65, hid_write(handle, begin.data(), begin.size()));
  ASSERT_EQ(64, hid_read_timeout(handle, reply, sizeof reply, 50));
  EXPECT_EQ(65, hid_write(handle, read.data(), read.size()));
  EXPECT_EQ(-1, hid_read_timeout(handle, reply, sizeof reply, 50));
  EXPECT_EQ(-1, hid_write(handle, begin.data(), begin.size()));
  EXPECT_EQ(nullptr, hid_enumerate(0, 0));

  const std::string before = keyboard.ConfigPath();
  const auto paths = Bus::Get().Replug(keyboard);
  ASSERT_EQ(3u, paths.size());
  EXPECT_NE(before, paths[1]) << "plugged again under a new instance path";
  EXPECT_EQ(nullptr, Open(before));
  EXPECT_NE(nullptr, Open(paths[1]));
}

TEST_F(SimKeyboardTest, FactoryResetRestoresTheFactoryStateAndActsOutAReboot) {
  simkb::KeyboardOptions options;
  options.resetSilenceMs = 300;
  Keyboard& keyboard = Bus::Get().PlugKeyboard(101, options);
  hid_device* handle = Open(keyboard.ConfigPath());
  keyboard.Write(simkb::Area::Colors, 0, {1, 2, 3});
  ASSERT_NE(keyboard.Factory(simkb::Area::Colors), keyboard.Read(simkb::Area::Colors));
  unsigned char reply[64];
  std::vector<uint8_t> reset = Request(0xEE, 0, 0), info = Request(0x03, 0, 0);
  hid_write(handle, reset.data(), reset.size());
  EXPECT_EQ(64, hid_read_timeout(handle, reply, sizeof reply, 50));
  EXPECT_EQ(keyboard.Factory(simkb::Area::Colors), keyboard.Read(simkb::Area::Colors));
  hid_write(handle, info.data(), info.size());
  EXPECT_EQ(0, hid_read_timeout(handle, reply, sizeof reply, 50)) << "silent while rebooting";
  Sleep(300);
  hid_write(handle, info.data(), info.size());
  EXPECT_EQ(64, hid_read_timeout(handle, reply, sizeof reply, 50));
}

TEST_F(SimKeyboardTest, DelayedReplyArrivesLate) {
  Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  simkb::FaultRule delay;
  delay.kind = FaultKind::DelayReply;
  delay.delayMs = 150;
  keyboard.AddFault(delay);
  hid_device* handle = Open(keyboard.ConfigPath());
  std::vector<uint8_t> info = Request(0x03, 0, 0);
  unsigned char reply[64];
  hid_write(handle, info.data(), info.size());
  EXPECT_EQ(0, hid_read_timeout(handle, reply, sizeof reply, 50));
  EXPECT_EQ(64, hid_read_timeout(handle, reply, sizeof reply, 300));
  EXPECT_EQ("delay reply", Bus::Get().Frames().back().fault);
}

TEST_F(SimKeyboardTest, DropInDllServesTheSameKeyboard) {
  SetEnvironmentVariableW(L"TAVIR_SIM_KEYBOARDS", L"103");
  HMODULE dll = LoadLibraryW(L"simkeyboard\\hidapi.dll");  // tests run in the build's bin folder
  ASSERT_NE(nullptr, dll);
  using EnumerateFn = hid_device_info* (*)(unsigned short, unsigned short);
  using FreeFn = void (*)(hid_device_info*);
  using LengthsFn = int (*)(const char*, int*, int*);
  auto enumerate = reinterpret_cast<EnumerateFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "hid_enumerate")));
  auto release = reinterpret_cast<FreeFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "hid_free_enumeration")));
  auto lengths = reinterpret_cast<LengthsFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "tavir_hid_get_report_lengths")));
  ASSERT_TRUE(enumerate && release && lengths);
  hid_device_info* list = enumerate(0x19F5, 0);
  int interfaces = 0, input = 0, output = 0;
  for (hid_device_info* info = list; info; info = info->next, ++interfaces) {
    EXPECT_EQ(0xFD52, info->product_id);
    if (info->interface_number == 1) {
      EXPECT_EQ(0, lengths(info->path, &input, &output));
    }
  }
  release(list);
  EXPECT_EQ(3, interfaces);
  EXPECT_EQ(65, input);
  EXPECT_EQ(65, output);
  FreeLibrary(dll);
  SetEnvironmentVariableW(L"TAVIR_SIM_KEYBOARDS", nullptr);
}

}  // namespace
