// The HID bootloader flasher and the request to enter the bootloader, against the
// simulated keyboard and its bootloader.
#include "device/FirmwareFlasherHid.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FileBytes.h"
#include "ProgressRecorder.h"
#include "RecordingShell.h"
#include "TempFolder.h"
#include "device/HidDeviceManager.h"
#include "simkeyboard/SimBootloader.h"
#include "Stopwatch.h"

using simkb::BootFaultKind;
using simkb::BootFaultRule;
using simkb::Bootloader;
using simkb::Bus;
using testsupport::PatternBytes;

namespace {

constexpr int kVid = 0x19F5;
constexpr int kBootPid = 0xFF37;

BootFaultRule Fault(BootFaultKind kind, int command, int chunk = 0, int times = 1) {
  BootFaultRule rule;
  rule.kind = kind;
  rule.command = command;
  rule.chunk = chunk;
  rule.times = times;
  return rule;
}

class FirmwareFlasherHidTest : public testing::Test {
 protected:
  void SetUp() override {
    Bus::Get().Reset();
    testsupport::ClearMessageBoxes();
  }
  void TearDown() override {
    HidDeviceManager::Instance().SetBootDevice(nullptr);
    Bus::Get().Reset();
  }
  Bootloader& PlugBootloader(int pid = kBootPid) {
    auto bootloader = std::make_unique<Bootloader>(kVid, pid);
    Bootloader& plugged = *bootloader;
    Bus::Get().Plug(std::move(bootloader));
    return plugged;
  }
  std::wstring File(const std::vector<uint8_t>& bytes) {
    return testsupport::WriteFileBytes(m_folder.Path() + L"firmware.bin", bytes);
  }
  bool Flash(const std::wstring& path, int pid = kBootPid) {
    return FirmwareFlasherHid::Instance().FlashFirmware(kVid, pid, path.c_str(), m_progress.Window());
  }
  // Commands of the packets written since mark, in order.
  static std::vector<int> Commands(size_t mark) {
    std::vector<int> commands;
    for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) commands.push_back(frame.command);
    return commands;
  }

  testsupport::TempFolder m_folder;
  testsupport::ProgressRecorder m_progress;
};

TEST_F(FirmwareFlasherHidTest, A100ByteImageIsProgrammedVerifiedAndClosed) {
  Bootloader& bootloader = PlugBootloader();
  const auto image = PatternBytes(100);
  const size_t mark = Bus::Get().Mark();
  EXPECT_TRUE(Flash(File(image)));

  const auto frames = Bus::Get().FramesSince(mark);
  ASSERT_EQ(11u, frames.size());
  const std::vector<uint8_t> start = {0x00, 0x81, 0x07, 0xF5, 0x19, 0x37, 0xFF, 0x00};
  EXPECT_EQ(start, std::vector<uint8_t>(frames[0].raw.begin(), frames[0].raw.begin() + 8));
  const int lengths[] = {32, 32, 32, 4};
  for (int i = 0; i < 4; ++i) {
    for (int command : {0x80, 0x82}) {
      const simkb::Frame& chunk = frames[1 + i + (command == 0x82 ? 4 : 0)];
      EXPECT_EQ(command, chunk.command) << "chunk " << i;
      EXPECT_EQ(lengths[i], chunk.length) << "chunk " << i;
      EXPECT_EQ(32 * i, chunk.offset) << "chunk " << i;
    }
  }
  EXPECT_EQ(0x83, frames[9].command);
  EXPECT_EQ(0x84, frames[10].command);
  EXPECT_EQ(image, bootloader.Flash());
  EXPECT_TRUE(bootloader.Finalised());
  EXPECT_EQ((std::vector<int>{5, 10, 15, 15, 30, 45, 60, 60, 60, 71, 83, 95, 95, 98, 100}), m_progress.Percentages());
  EXPECT_TRUE(testsupport::MessageBoxes().empty());
  EXPECT_TRUE(Bus::Get().Problems().empty());
  EXPECT_EQ(nullptr, HidDeviceManager::Instance().GetBootDevice());
  EXPECT_EQ(0, Bus::Get().OpenHandleCount(bootloader.Path(0)));
}

TEST_F(FirmwareFlasherHidTest, EveryOutcomeHasItsResultMessageAndProgress) {
  const std::vector<int> programmed = {5, 10, 15, 15, 30, 45, 60, 60, 60, 71, 83, 95};
  const auto upTo = [&](size_t count) { return std::vector<int>(programmed.begin(), programmed.begin() + count); };
  const auto then = [](std::vector<int> a, std::vector<int> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  enum Bootloaders { kOurs, kNone, kOtherIds };
  struct Case {
    const char* what;
    long fileLength;  // -1: no file
    Bootloaders bootloaders;
    std::vector<BootFaultRule> faults;
    bool result;
    int text;  // message shown, 0 for none
    std::vector<int> percentages;
  } const cases[] = {
      {"one failing write is written again",
       100,
       kOurs,
       {Fault(BootFaultKind::FailWrite, 0x80, 1)},
       true,
       0,
       then(programmed, {95, 98, 100})},
      {"a 9-byte file is a 12-byte image of less than one whole chunk",
       9,
       kOurs,
       {},
       true,
       0,
       {5, 10, 15, 15, 60, 60, 95, 98, 100}},
      {"an end packet refused",
       100,
       kOurs,
       {Fault(BootFaultKind::Refuse, 0x83)},
       true,
       0,
       then(programmed, {95, 98, 100})},
      {"a final packet refused",
       100,
       kOurs,
       {Fault(BootFaultKind::Refuse, 0x84)},
       true,
       0,
       then(programmed, {95, 98, 100})},
      {"start refused", 100, kOurs, {Fault(BootFaultKind::Refuse, 0x81)}, false, 1061, {5, 10}},
      {"a program chunk refused", 100, kOurs, {Fault(BootFaultKind::Refuse, 0x80, 2)}, false, 1062, upTo(6)},
      {"a program chunk not answered", 100, kOurs, {Fault(BootFaultKind::NoReply, 0x80, 1)}, false, 1062, upTo(5)},
      {"a program chunk whose writes fail twice",
       100,
       kOurs,
       {Fault(BootFaultKind::FailWrite, 0x80, 0, 2)},
       false,
       1062,
       upTo(4)},
      {"a verify mismatch", 100, kOurs, {Fault(BootFaultKind::CorruptFlash, 0x80, 1)}, false, 1063, upTo(10)},
      {"a verify chunk not answered", 100, kOurs, {Fault(BootFaultKind::NoReply, 0x82, 3)}, false, 1063, upTo(12)},
      {"no bootloader interface", 100, kNone, {}, false, 1059, {5}},
      {"a bootloader with other ids", 100, kOtherIds, {}, false, 1059, {5}},
      {"an empty file", 0, kOurs, {}, false, 1060, {5, 5}},
      {"a missing file", -1, kOurs, {}, false, 1060, {5, 5}},
      {"an 8-byte file", 8, kOurs, {}, false, 1060, {5, 5}},
      {"an oversize file", 819201, kOurs, {}, false, 1060, {5, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bus::Get().Reset();
    testsupport::ClearMessageBoxes();
    testsupport::ProgressRecorder progress;
    const auto file = PatternBytes(c.fileLength < 0 ? 0 : c.fileLength);
    const std::wstring path = c.fileLength < 0 ? m_folder.Path() + L"missing.bin" : File(file);
    Bootloader* bootloader =
        c.bootloaders == kNone ? nullptr : &PlugBootloader(c.bootloaders == kOurs ? kBootPid : 0xFF30);
    for (const BootFaultRule& rule : c.faults) bootloader->AddFault(rule);

    EXPECT_EQ(c.result, FirmwareFlasherHid::Instance().FlashFirmware(kVid, kBootPid, path.c_str(), progress.Window()));
    EXPECT_EQ(c.percentages, progress.Percentages());
    const auto boxes = testsupport::MessageBoxes();
    if (c.text) {
      ASSERT_EQ(1u, boxes.size());
      EXPECT_STREQ(testsupport::LanText(c.text), boxes[0].message);
      EXPECT_STREQ(testsupport::LanText(1057), boxes[0].title);
      EXPECT_EQ(progress.Window(), boxes[0].owner);
      EXPECT_EQ(0, boxes[0].buttonMode);
    } else {
      EXPECT_TRUE(boxes.empty());
    }
    if (c.text == 1060) {
      EXPECT_TRUE(Bus::Get().Frames().empty()) << "an unusable image sends nothing";
    }
    if (c.result) {
      auto image = file;
      image.resize((file.size() + 3) / 4 * 4, 0);
      EXPECT_EQ(image, bootloader->Flash());
    }
    EXPECT_EQ(nullptr, HidDeviceManager::Instance().GetBootDevice());
    if (bootloader) {
      EXPECT_EQ(0, Bus::Get().OpenHandleCount(bootloader->Path(0)));
    }
    EXPECT_TRUE(Bus::Get().Problems().empty()) << Bus::Get().Problems().front();
  }
}

TEST_F(FirmwareFlasherHidTest, TheKeyboardIsAskedToRestartAndItsBootloaderTakesTheImage) {
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  Bootloader& bootloader = simkb::EnterBootloaderOnRequest(keyboard, 300);
  const size_t mark = Bus::Get().Mark();
  const testsupport::ElapsedTime elapsed;
  RequestBootloaderMode(kVid, 0xFD51);
  const double took = elapsed.Ms();
  EXPECT_GE(took, 2000 - testsupport::kTickStepMs);
  EXPECT_LT(took, 3000);

  const auto frames = Bus::Get().FramesSince(mark);
  ASSERT_EQ(1u, frames.size());
  EXPECT_EQ(2, frames[0].interfaceNumber);
  std::vector<uint8_t> enter(1024, 0);
  enter[1] = 0x5F, enter[2] = 0x06, enter[5] = 0x01, enter[9] = 0x51;
  EXPECT_EQ(enter, frames[0].raw);
  EXPECT_EQ(nullptr, HidDeviceManager::Instance().GetBootDevice());
  EXPECT_EQ(0, Bus::Get().OpenHandleCount(keyboard.Path(2)));

  int vid = 0, pid = 0;
  hid_device* boot = OpenBootloaderDevice(&vid, &pid);
  ASSERT_NE(nullptr, boot);
  EXPECT_EQ(kVid, vid);
  EXPECT_EQ(kBootPid, pid);
  HidDeviceManager::Instance().CloseBootDevice(boot);
  const auto image = PatternBytes(4096);
  EXPECT_TRUE(Flash(File(image), pid));
  EXPECT_EQ(image, bootloader.Flash());
}

TEST_F(FirmwareFlasherHidTest, WithoutTheKeyboardInterfaceTheRequestReturnsAtOnce) {
  Bus::Get().PlugKeyboard(101);
  const size_t mark = Bus::Get().Mark();
  const testsupport::ElapsedTime elapsed;
  RequestBootloaderMode(kVid, 0xFD51);  // a model that is not plugged
  EXPECT_LT(elapsed.Ms(), 500);
  EXPECT_TRUE(Bus::Get().FramesSince(mark).empty());
}

}  // namespace
