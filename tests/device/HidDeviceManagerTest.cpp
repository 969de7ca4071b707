// HidDeviceManager against the simulated keyboard.
#include "device/HidDeviceManager.h"

#include <windows.h>

#include <cstring>
#include <memory>

#include <gtest/gtest.h>
#include <hidapi/hidapi.h>

#include "simkeyboard/SimKeyboard.h"
#include "Stopwatch.h"

using simkb::Bus;
using simkb::FaultKind;
using simkb::FaultRule;
using simkb::Keyboard;

namespace {

FaultRule Fault(FaultKind kind, int command, int times = 1, bool thenCorrect = false) {
  FaultRule rule;
  rule.kind = kind;
  rule.command = command;
  rule.times = times;
  rule.thenCorrect = thenCorrect;
  return rule;
}

struct Frame65 {
  uint8_t bytes[65] = {};
  Frame65(uint8_t command, uint8_t length = 0, uint16_t offset = 0) {
    bytes[1] = 0x55, bytes[2] = command, bytes[5] = length;
    bytes[6] = static_cast<uint8_t>(offset), bytes[7] = static_cast<uint8_t>(offset >> 8);
  }
};

class HidDeviceManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    Bus::Get().Reset();
    m_manager = std::make_unique<HidDeviceManager>();
    const int pids[] = {0xFD50, 0xFD51, 0xFD52};
    const int boots[] = {0xFF30, 0xFF37, 0xFF38};
    for (int i = 0; i < 3; ++i) m_manager->AddSupportedDevice(0x19F5, pids[i], 0x19F5, boots[i], L"", 101 + i, 0);
  }
  void TearDown() override {
    m_manager.reset();
    Bus::Get().Reset();
  }
  // The program's device-open routine, then the connection routine's choice of model.
  void Open(int activeModel) {
    m_manager->ClearActiveHandle();
    m_manager->CloseAll();
    m_manager->ScanDevices();
    m_manager->SetOpened(true);
    m_manager->SetActiveModelId(activeModel);
  }

  std::unique_ptr<HidDeviceManager> m_manager;
};

TEST_F(HidDeviceManagerTest, ScanKeepsOnlyTheConfigurationInterface) {
  Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  Open(102);
  std::vector<HID_DEVICE_RECORD*> records;
  ASSERT_TRUE(m_manager->GetOpenDevices(records));
  ASSERT_EQ(1u, records.size());
  const HID_DEVICE_RECORD& record = *records[0];
  EXPECT_EQ(0, record.index);
  EXPECT_EQ(0x19F5, record.vid);
  EXPECT_EQ(0xFD51, record.pid);
  EXPECT_STREQ(keyboard.ConfigPath().c_str(), record.path);
  EXPECT_STREQ(L"Lynt 65", record.productString);
  EXPECT_EQ(0x0102, record.releaseNumber);
  EXPECT_EQ(102, record.modelId);
  EXPECT_EQ(0, m_manager->GetActiveDeviceState());
  EXPECT_EQ(record.handle, m_manager->GetActiveHandle());
  EXPECT_EQ(1, m_manager->FindDevice(0x19F5, 0xFD51, L""));
  EXPECT_EQ(-1, m_manager->FindDevice(0x19F5, 0xFD51, L"Other"));
  EXPECT_EQ(1, Bus::Get().OpenHandleCount(keyboard.ConfigPath()));
  EXPECT_EQ(0, Bus::Get().OpenHandleCount(keyboard.Path(0))) << "rejected interfaces are closed again";
  EXPECT_EQ(0, Bus::Get().OpenHandleCount(keyboard.Path(2)));

  m_manager->SetActiveModelId(0);
  ASSERT_TRUE(m_manager->GetOpenDevices(records));
  EXPECT_EQ(1u, records.size()) << "active model 0 lists every record";
  EXPECT_EQ(nullptr, m_manager->GetActiveHandle()) << "but no record has model 0";
  EXPECT_EQ(-1, m_manager->GetActiveDeviceState());

  m_manager->CloseAll();
  EXPECT_EQ(0, Bus::Get().OpenHandleCount(keyboard.ConfigPath()));
}

TEST_F(HidDeviceManagerTest, TwoKeyboardsUnopenableInterfacesAndAnEmptyTable) {
  Keyboard& a = Bus::Get().PlugKeyboard(101);
  Keyboard& b = Bus::Get().PlugKeyboard(103);
  Bus::Get().SetUnopenable(a.ConfigPath());
  Open(103);
  std::vector<HID_DEVICE_RECORD*> records;
  m_manager->SetActiveModelId(0);
  ASSERT_TRUE(m_manager->GetOpenDevices(records));
  ASSERT_EQ(1u, records.size());
  EXPECT_STREQ(b.ConfigPath().c_str(), records[0]->path);

  Bus::Get().Unplug(a);
  Bus::Get().Unplug(b);
  Open(101);
  EXPECT_FALSE(m_manager->GetOpenDevices(records));
  EXPECT_EQ(-1, m_manager->GetActiveDeviceState());
  Frame65 frame(CMD_BEGIN);
  EXPECT_FALSE(m_manager->SendCommand(frame.bytes));
  EXPECT_FALSE(m_manager->RequestData(frame.bytes));
  EXPECT_EQ(L"0.0", CString(m_manager->GetFirmwareVersionText()));
  EXPECT_EQ(0, m_manager->GetFirmwareVersion());
}

TEST_F(HidDeviceManagerTest, BracketedTransferPassesTheKeyboardsChecks) {
  Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  Open(102);
  Frame65 begin(CMD_BEGIN), read(CMD_READ_CONFIG, 32, 64), perf(CMD_READ_KEY_PERF, 16, 1024 + 56 * 18);
  ASSERT_TRUE(m_manager->SendCommand(begin.bytes));
  ASSERT_TRUE(m_manager->RequestData(read.bytes));
  const simkb::Bytes config = keyboard.Read(simkb::Area::Config);
  EXPECT_EQ(0, std::memcmp(read.bytes + 8, &config[64], 32)) << "read data starts at reply byte 8";

  Frame65 write(CMD_WRITE_CONFIG, 32, 64);
  std::memcpy(write.bytes + 9, read.bytes + 8, 32);
  write.bytes[9 + 8] = 5;  // light mode
  ASSERT_TRUE(m_manager->SendCommand(write.bytes));
  EXPECT_EQ(5, keyboard.Read(simkb::Area::Config)[64 + 8]);
  ASSERT_TRUE(m_manager->RequestData(perf.bytes));
  Frame65 end(CMD_END);
  ASSERT_TRUE(m_manager->SendCommand(end.bytes));

  EXPECT_TRUE(Bus::Get().Problems().empty()) << Bus::Get().Problems().front();
  EXPECT_EQ(0, keyboard.Depth());
}

TEST_F(HidDeviceManagerTest, SendCommandSkipsUnsolicitedReportsRetriesAndGivesUp) {
  Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  Open(102);
  FaultRule unsolicited = Fault(FaultKind::UnsolicitedFirst, CMD_BEGIN);
  unsolicited.count = 2;
  keyboard.AddFault(unsolicited);
  Frame65 begin(CMD_BEGIN);
  EXPECT_TRUE(m_manager->SendCommand(begin.bytes));
  EXPECT_EQ(0xAA, begin.bytes[0]);
  EXPECT_EQ(CMD_BEGIN, begin.bytes[1]);

  keyboard.AddFault(Fault(FaultKind::FailWrite, CMD_END, 1));
  size_t mark = Bus::Get().Mark();
  Frame65 end(CMD_END);
  EXPECT_TRUE(m_manager->SendCommand(end.bytes)) << "one failed write is retried";
  EXPECT_EQ(2u, Bus::Get().FramesSince(mark).size());

  keyboard.AddFault(Fault(FaultKind::FailWrite, CMD_BEGIN, 2));
  Frame65 again(CMD_BEGIN);
  EXPECT_FALSE(m_manager->SendCommand(again.bytes)) << "two failed writes give false";

  keyboard.AddFault(Fault(FaultKind::SuppressReply, CMD_END, -1));
  Frame65 silent(CMD_END);
  Frame65 sent = silent;
  mark = Bus::Get().Mark();
  const testsupport::ElapsedTime elapsed;
  EXPECT_FALSE(m_manager->SendCommand(silent.bytes));
  const double took = elapsed.Ms();
  EXPECT_GE(took, 700 - testsupport::kTickStepMs);
  EXPECT_LE(took, 1500);
  sent.bytes[4] = silent.bytes[4];  // the checksum byte is filled in by the manager
  EXPECT_EQ(0, std::memcmp(sent.bytes, silent.bytes, 65)) << "the caller's frame stays as sent";
  EXPECT_EQ(2u, Bus::Get().FramesSince(mark).size()) << "the frame goes out once more before giving up";
}

TEST_F(HidDeviceManagerTest, RequestDataDropsRepliesWithWrongEchoes) {
  Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  Open(102);
  Frame65 begin(CMD_BEGIN);
  ASSERT_TRUE(m_manager->SendCommand(begin.bytes));
  for (FaultKind kind : {FaultKind::WrongCommandEcho, FaultKind::WrongLengthEcho, FaultKind::WrongOffsetEcho,
                         FaultKind::WrongMarker}) {
    keyboard.AddFault(Fault(kind, CMD_READ_KEY_COLORS, 1, /*thenCorrect=*/true));
    Frame65 read(CMD_READ_KEY_COLORS, 56, 56);
    EXPECT_TRUE(m_manager->RequestData(read.bytes)) << static_cast<int>(kind);
    EXPECT_EQ(keyboard.Read(simkb::Area::Colors)[56], read.bytes[8]);
  }

  keyboard.AddFault(Fault(FaultKind::SuppressReply, CMD_READ_KEY_COLORS, 1));
  Frame65 read(CMD_READ_KEY_COLORS, 56, 0);
  read.bytes[64] = 0x77;  // beyond what RequestData sends
  Frame65 sent = read;
  const size_t mark = Bus::Get().Mark();
  const testsupport::ElapsedTime elapsed;
  EXPECT_FALSE(m_manager->RequestData(read.bytes));
  const double took = elapsed.Ms();
  EXPECT_GE(took, 140 - testsupport::kTickStepMs);
  EXPECT_LE(took, 600);
  sent.bytes[4] = read.bytes[4];  // the checksum byte is filled in by the manager
  EXPECT_EQ(0, std::memcmp(sent.bytes, read.bytes, 65)) << "the caller's frame stays as sent";
  const auto frames = Bus::Get().FramesSince(mark);
  ASSERT_EQ(1u, frames.size());
  EXPECT_EQ(0, frames[0].raw[64]) << "byte 64 is neither sent";
  EXPECT_TRUE(frames[0].checksumOk) << "nor summed";
  Frame65 end(CMD_END);
  m_manager->SendCommand(end.bytes);
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

TEST_F(HidDeviceManagerTest, NothingIsSentWhileTheOpenedFlagIsClear) {
  Bus::Get().PlugKeyboard(102);
  Open(102);
  m_manager->SetOpened(false);
  const size_t mark = Bus::Get().Mark();
  Frame65 begin(CMD_BEGIN), read(CMD_READ_CONFIG, 32, 0);
  EXPECT_FALSE(m_manager->SendCommand(begin.bytes));
  EXPECT_FALSE(m_manager->RequestData(read.bytes));
  EXPECT_EQ(L"0.0", CString(m_manager->GetFirmwareVersionText()));
  EXPECT_TRUE(Bus::Get().FramesSince(mark).empty());
}

TEST_F(HidDeviceManagerTest, FailedHidInitIsRetriedAtTheNextEnumeration) {
  Bus::Get().PlugKeyboard(102);
  Bus::Get().FailInit(2);
  const int before = Bus::Get().InitCalls();
  HidDeviceManager manager;
  manager.AddSupportedDevice(0x19F5, 0xFD51, 0x19F5, 0xFF37, L"", 102, 0);
  manager.ScanDevices();
  std::vector<HID_DEVICE_RECORD*> records;
  EXPECT_FALSE(manager.GetOpenDevices(records)) << "no interfaces while hidapi is not initialised";
  manager.ScanDevices();
  EXPECT_TRUE(manager.GetOpenDevices(records));
  EXPECT_EQ(before + 3, Bus::Get().InitCalls());
}

TEST(FirmwareCaptionTest, FormatsReleaseAndDate) {
  struct Case {
    const wchar_t* info;
    int release;
    const wchar_t* caption;
  };
  const Case cases[] = {
      {L"X,Mar 15 2024,Y", 0x102, L"V1.02(2024-03-15)"},
      {L"Vx,Feb 03 2023,abc", 0x10A, L"V1.0a(2023-02-03)"},
      {L"Lynt 65 Dec build", 0x102, L"V1.02(0000-12-00)"},  // no comma: month from the whole text
      {L"A,Sep 30 2021", 0x231, L"V2.31(0000-09-00)"},       // one comma: no date part
  };
  for (const Case& c : cases) EXPECT_STREQ(c.caption, FormatFirmwareCaption(c.info, c.release)) << c.info;
  EXPECT_EQ(1, MonthNameToNumber(L"no month here"));
  EXPECT_EQ(3, MonthNameToNumber(L"Dec,Mar")) << "months are tried in calendar order";
}

TEST_F(HidDeviceManagerTest, FirmwareCaptionFromTheKeyboard) {
  simkb::KeyboardOptions options;
  options.release = 0x10A;
  Keyboard& keyboard = Bus::Get().PlugKeyboard(102, options);
  Open(102);
  m_manager->GetActiveHandle();
  EXPECT_STREQ(L"V1.0a(2024-03-15)", m_manager->GetFirmwareVersionText());
  EXPECT_EQ(0x10A, m_manager->GetFirmwareVersion());

  const std::string sixty(60, 'x'), sixtyOne(61, 'y');
  keyboard.SetInfoText(sixty);  // 60 announced, 56 delivered: only what arrived is read
  EXPECT_STREQ(CString(sixty.substr(0, 56).c_str()), m_manager->ReadDeviceInfo(m_manager->GetActiveHandle()));
  keyboard.SetInfoText(sixtyOne);
  EXPECT_STREQ(L"", m_manager->ReadDeviceInfo(m_manager->GetActiveHandle()));

  keyboard.AddFault(Fault(FaultKind::SuppressReply, CMD_GET_DEVICE_INFO, -1));
  const testsupport::ElapsedTime elapsed;
  EXPECT_STREQ(L"0.0", m_manager->GetFirmwareVersionText());
  EXPECT_GE(elapsed.Ms(), 5000 - testsupport::kTickStepMs) << "five attempts, a second apart";
}

// A bootloader interface as the flasher looks for it (usage page 0xFF00, usage 1).
class FakeBootloader : public simkb::Device {
 public:
  FakeBootloader(uint16_t bootPid, uint16_t usagePage) {
    pid = bootPid;
    m_interfaces = {{0, usagePage, 1, 1025, 1025, {}}};
  }

 protected:
  bool OnWrite(int, const simkb::Bytes&, simkb::Frame&) override { return true; }
};

TEST_F(HidDeviceManagerTest, BootloaderLookupAndClosingAHandleItDoesNotHold) {
  Bus::Get().Plug(std::make_unique<FakeBootloader>(0xFF30, 0x0001));  // wrong usage page
  Bus::Get().Plug(std::make_unique<FakeBootloader>(0xFF38, 0xFF00));  // not looked for here
  int vid = 0, pid = 0;
  EXPECT_EQ(nullptr, OpenBootloaderDevice(&vid, &pid));
  EXPECT_EQ(0, pid);
  Bus::Get().Plug(std::make_unique<FakeBootloader>(0xFF37, 0xFF00));
  hid_device* boot = OpenBootloaderDevice(&vid, &pid);
  ASSERT_NE(nullptr, boot);
  EXPECT_EQ(0x19F5, vid);
  EXPECT_EQ(0xFF37, pid);

  uint8_t packet[1024] = {};
  EXPECT_FALSE(m_manager->TransferBootPacket(packet)) << "no boot device";
  ASSERT_EQ(nullptr, m_manager->GetBootDevice());
  m_manager->CloseBootDevice(boot);
  EXPECT_FALSE(Bus::Get().IsOpen(boot)) << "closed although the manager held no boot device";

  hid_device* held = OpenHidDeviceByUsage(0x19F5, 0xFF38, 0xFF00, 1);
  ASSERT_NE(nullptr, held);
  m_manager->SetBootDevice(held);
  m_manager->CloseBootDevice(held);
  EXPECT_FALSE(Bus::Get().IsOpen(held));
  EXPECT_EQ(nullptr, m_manager->GetBootDevice());
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

}  // namespace
