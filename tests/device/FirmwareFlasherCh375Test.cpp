#include "device/FirmwareFlasherCh375.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "Ch375Standin.h"
#include "ProgressRecorder.h"
#include "RecordingShell.h"
#include "FileBytes.h"
#include "TempFolder.h"

namespace {

using testsupport::PatternBytes;
using Flasher = FirmwareFlasherCh375;

constexpr ULONG kBootId = 0x55E04348;  // both halves name a bootloader

struct Packet {
  uint8_t command;
  ULONG length;
};

std::vector<Packet> Packets(const testsupport::Ch375Standin& standin) {
  std::vector<Packet> packets;
  for (const Ch375StandinWrite& w : standin.Writes()) packets.push_back({w.command, w.length});
  return packets;
}

bool operator==(const Packet& a, const Packet& b) { return a.command == b.command && a.length == b.length; }

std::ostream& operator<<(std::ostream& out, const Packet& p) {
  return out << "{0x" << std::hex << int(p.command) << std::dec << ", " << p.length << "}";
}

class FirmwareFlasherCh375Test : public ::testing::Test {
 protected:
  std::wstring File(const std::vector<uint8_t>& bytes) {
    return testsupport::WriteFileBytes(folder.Path() + L"firmware.bin", bytes);
  }
  // Flashes a file of these bytes through the program's flasher to the recorder window.
  void Flash(const std::vector<uint8_t>& bytes) {
    Flasher::Instance().FlashFirmware(File(bytes).c_str(), progress.Window());
  }

  testsupport::Ch375Standin standin;
  testsupport::ProgressRecorder progress;
  testsupport::TempFolder folder;
};

TEST_F(FirmwareFlasherCh375Test, AnImageIsErasedProgrammedVerifiedAndEnded) {
  standin.AddDevice(0, kBootId);
  const auto file = PatternBytes(130);  // loads as a 132-byte image
  Flash(file);

  EXPECT_EQ(Flasher::kStateFinished, Flasher::Instance().GetState());
  EXPECT_EQ((std::vector<int>{5, 10, 80, 90, 95, 100}), progress.Percentages());
  const std::vector<Packet> expected = {{0x81, 4},  {0x80, 64}, {0x80, 64}, {0x80, 16},
                                        {0x82, 64}, {0x82, 64}, {0x82, 16}, {0x83, 4}};
  EXPECT_EQ(expected, Packets(standin));
  auto image = file;
  image.resize(132, 0);
  EXPECT_EQ(image, standin.Image(0));
  const Ch375StandinCounters counters = standin.Counters();
  EXPECT_EQ(1u, counters.exclusiveCalls);
  EXPECT_EQ(1u, counters.timeoutCalls);
  EXPECT_EQ(7u, counters.statusReads);
  EXPECT_EQ(0u, counters.violations) << standin.FirstViolation();
  EXPECT_TRUE(testsupport::MessageBoxes().empty());
}

TEST_F(FirmwareFlasherCh375Test, A130ByteImageGoesAsChunksOf60And60And10) {
  standin.AddDevice(0, kBootId);
  HANDLE device = Flasher::Instance().OpenFirstDevice();
  ASSERT_NE(INVALID_HANDLE_VALUE, device);
  uint8_t packet[kCh375PacketSize];
  ULONG length = BuildCh375ControlPacket(packet, CH375_CMD_ERASE);
  ASSERT_TRUE(Ch375Library::Instance().WriteData(device, packet, &length));
  length = 2;
  ASSERT_TRUE(Ch375Library::Instance().ReadData(device, packet, &length));

  const auto image = PatternBytes(130);
  EXPECT_TRUE(Flasher::Instance().WriteImage(device, CH375_CMD_PROGRAM, image.data(), 130));
  CloseHandle(device);
  const auto writes = standin.Writes();
  ASSERT_EQ(4u, writes.size());
  const struct {
    ULONG written;
    unsigned size;
    unsigned offset;
  } chunks[] = {{64, 60, 0}, {64, 60, 60}, {14, 10, 120}};
  for (int i = 0; i < 3; ++i) {
    const Ch375StandinWrite& w = writes[i + 1];
    EXPECT_EQ(chunks[i].written, w.length) << "chunk " << i;
    EXPECT_EQ(chunks[i].size, w.lengthByte) << "chunk " << i;
    EXPECT_EQ(chunks[i].offset, w.offsetLow | w.offsetHigh << 8u) << "chunk " << i;
  }
  EXPECT_EQ(image, standin.Image(0));
  EXPECT_EQ(0u, standin.Counters().violations) << standin.FirstViolation();
}

// Only the low 16 bits of an offset travel; the chunks go on past 64 KiB to the end.
TEST_F(FirmwareFlasherCh375Test, OffsetsWrapAt64KiBAndTheWholeImageArrives) {
  standin.AddDevice(0, kBootId);
  const auto image = PatternBytes(70000);
  Flash(image);

  EXPECT_EQ(Flasher::kStateFinished, Flasher::Instance().GetState());
  const auto writes = standin.Writes();
  bool sawF0FF = false, saw2C00 = false;
  for (size_t i = 0; i + 1 < writes.size(); ++i) {
    if (writes[i].command != 0x80 || writes[i].offsetLow != 0xF0 || writes[i].offsetHigh != 0xFF) continue;
    sawF0FF = true;
    saw2C00 = writes[i + 1].command == 0x80 && writes[i + 1].offsetLow == 0x2C && writes[i + 1].offsetHigh == 0x00;
  }
  EXPECT_TRUE(sawF0FF);
  EXPECT_TRUE(saw2C00);
  EXPECT_EQ(0u, standin.Counters().violations) << standin.FirstViolation();
  EXPECT_EQ(image, standin.Image(0));
}

TEST_F(FirmwareFlasherCh375Test, EveryFailureEndsInItsStateWithItsProgress) {
  enum Setup { kBootloader, kNoDevice, kOtherDevice, kUnopenableName };
  struct Case {
    const char* what;
    Setup setup;
    long imageLength;  // -1: the file is missing
    uint8_t faultCommand;
    ULONG faultChunk;
    Ch375StandinFault fault;
    int state;
    std::vector<int> percentages;
    size_t writes;  // packets the bootloader received
  } const cases[] = {
      {"erase refused", kBootloader, 130, 0x81, 0, CH375_FAULT_STATUS_REFUSED, 4, {5, 10, 10}, 1},
      {"erase write failing", kBootloader, 130, 0x81, 0, CH375_FAULT_WRITE_FAILS, 4, {5, 10, 10}, 1},
      {"program status not zero", kBootloader, 130, 0x80, 1, CH375_FAULT_STATUS_REFUSED, 6, {5, 10, 80, 15}, 3},
      {"program write failing", kBootloader, 130, 0x80, 0, CH375_FAULT_WRITE_FAILS, 6, {5, 10, 80, 15}, 2},
      {"verify answered 01 00", kBootloader, 130, 0x82, 2, CH375_FAULT_STATUS_REFUSED, 8, {5, 10, 80, 90, 60}, 7},
      {"verify status unreadable", kBootloader, 130, 0x82, 0, CH375_FAULT_READ_FAILS, 8, {5, 10, 80, 90, 60}, 5},
      {"end write failing", kBootloader, 130, 0x83, 0, CH375_FAULT_WRITE_FAILS, 9, {5, 10, 80, 90, 95, 95}, 8},
      {"no device", kNoDevice, 130, 0, 0, CH375_FAULT_NONE, 1, {5}, 0},
      {"only a device of another kind", kOtherDevice, 130, 0, 0, CH375_FAULT_NONE, 1, {5}, 0},
      {"a name that does not open", kUnopenableName, 130, 0, 0, CH375_FAULT_NONE, 4, {5, 10, 10}, 0},
      {"an image of 8 bytes", kBootloader, 8, 0, 0, CH375_FAULT_NONE, 2, {5, 5}, 0},
      {"an empty file", kBootloader, 0, 0, 0, CH375_FAULT_NONE, 2, {5, 5}, 0},
      {"a missing file", kBootloader, -1, 0, 0, CH375_FAULT_NONE, 2, {5, 5}, 0},
      {"an oversize file", kBootloader, 819201, 0, 0, CH375_FAULT_NONE, 2, {5, 5}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::Ch375Standin bootloader;  // a fresh stand-in per case
    testsupport::ProgressRecorder recorder;
    if (c.setup == kBootloader) bootloader.AddDevice(0, kBootId);
    if (c.setup == kOtherDevice) bootloader.AddDevice(0, 0x12345678);
    if (c.setup == kUnopenableName) bootloader.AddDevice(0, kBootId, "\\\\.\\NoSuchCh375Device");
    if (c.fault != CH375_FAULT_NONE) bootloader.SetFault(c.faultCommand, c.faultChunk, c.fault);
    // The good image of the case before must not be sent again when this file fails to load.
    const std::wstring path = c.imageLength < 0 ? folder.Path() + L"missing.bin" : File(PatternBytes(c.imageLength));
    Flasher::Instance().FlashFirmware(path.c_str(), recorder.Window());

    EXPECT_EQ(c.state, Flasher::Instance().GetState());
    EXPECT_EQ(c.percentages, recorder.Percentages());
    EXPECT_EQ(c.writes, bootloader.Writes().size());
    EXPECT_EQ(0u, bootloader.Counters().violations) << bootloader.FirstViolation();
  }
  EXPECT_TRUE(testsupport::MessageBoxes().empty());
}

TEST_F(FirmwareFlasherCh375Test, TheScanCountsOnlyBootloadersWhoseNamesFit) {
  const std::string longName(300, 'x');
  standin.AddDevice(0, 0x12345678);                    // not a bootloader
  standin.AddDevice(1, 0x00004348, "");                // a bootloader without a name
  standin.AddDevice(2, 0x55E00000, longName.c_str());  // a name that does not fit a slot
  standin.AddDevice(3, kBootId);                       // the one to flash
  EXPECT_TRUE(Flasher::Instance().FindDevices());
  const Ch375StandinCounters scan = standin.Counters();
  for (ULONG i = 0; i < 4; ++i) {
    EXPECT_EQ(1u, scan.opens[i]) << "device " << i;
    EXPECT_EQ(1u, scan.closes[i]) << "device " << i;
  }

  Flash(PatternBytes(64));
  EXPECT_EQ(Flasher::kStateFinished, Flasher::Instance().GetState());
  for (const Ch375StandinWrite& w : standin.Writes()) EXPECT_EQ(3u, w.deviceIndex);
  EXPECT_EQ(PatternBytes(64), standin.Image(3));
}

TEST_F(FirmwareFlasherCh375Test, WithoutTheLibraryThereIsNoDeviceAndNothingBreaks) {
  Ch375Library absent(L"NoSuchCh375Library.DLL");
  EXPECT_FALSE(absent.IsLoaded());
  EXPECT_EQ(INVALID_HANDLE_VALUE, absent.OpenDevice(0));
  EXPECT_EQ(nullptr, absent.GetDeviceName(0));
  EXPECT_EQ(0u, absent.GetUsbId(0));
  uint8_t buffer[64] = {};
  ULONG length = 4;
  EXPECT_FALSE(absent.WriteData(nullptr, buffer, &length));
  EXPECT_FALSE(absent.ReadData(nullptr, buffer, &length));
  EXPECT_FALSE(absent.SetDeviceNotify(0, nullptr, nullptr));
  absent.CloseDevice(0);

  standin.AddDevice(0, kBootId);  // present in the stand-in, but this flasher cannot reach it
  auto flasher = std::make_unique<Flasher>(absent);
  EXPECT_FALSE(flasher->FindDevices());
  flasher->FlashFirmware(File(PatternBytes(130)).c_str(), progress.Window());
  EXPECT_EQ(Flasher::kStateStarted, flasher->GetState());
  EXPECT_EQ(std::vector<int>{5}, progress.Percentages());
  EXPECT_TRUE(standin.Writes().empty());
}

// The library calls its arrival callback on a thread of its own, which scans from there.
std::atomic<DWORD> g_callbackThread{0};
std::atomic<int> g_callbackFound{-1};
void WINAPI OnCh375Arrival(ULONG eventCode) {
  g_callbackThread = GetCurrentThreadId();
  g_callbackFound = eventCode == 3 && FirmwareFlasherCh375::Instance().FindDevices() ? 1 : 0;
}

TEST_F(FirmwareFlasherCh375Test, TheArrivalCallbackScansOnTheLibrarysThread) {
  ASSERT_TRUE(Ch375Library::Instance().SetDeviceNotify(0, nullptr, OnCh375Arrival));
  standin.AddDevice(5, kBootId);
  const DWORD thread = standin.FireNotify(3);
  EXPECT_NE(0u, thread);
  EXPECT_NE(GetCurrentThreadId(), thread);
  EXPECT_EQ(thread, g_callbackThread.load());
  EXPECT_EQ(1, g_callbackFound.load());
  EXPECT_EQ(0u, standin.Counters().violations) << standin.FirstViolation();
}

}  // namespace
