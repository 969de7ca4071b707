#include "simkeyboard/SimBootloader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "SimKeyTables.h"

namespace simkb {

namespace {

constexpr int kBootReportLength = 1024;
constexpr uint32_t kFlashCapacity = 1024 * 1024;
constexpr uint8_t kEnter = 0x5F, kProgram = 0x80, kStart = 0x81, kVerify = 0x82, kEnd = 0x83, kFinal = 0x84;

uint32_t Le16(const Bytes& report, size_t at) { return report[at] | report[at + 1] << 8; }
uint32_t Le32(const Bytes& report, size_t at) { return Le16(report, at) | Le16(report, at + 2) << 16; }

std::string Describe(const char* format, unsigned a, unsigned b = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

const char* BootFaultName(BootFaultKind kind) {
  static const char* const names[kBootFaultKinds] = {"refuse", "no reply", "fail write", "corrupt flash"};
  return names[static_cast<int>(kind)];
}

Bootloader::Bootloader(uint16_t bootVid, uint16_t bootPid) {
  vid = bootVid;
  pid = bootPid;
  product = L"Bootloader";
  InterfaceInfo boot;
  boot.number = 0;
  boot.usagePage = 0xFF00;
  boot.usage = 1;
  boot.inputLength = boot.outputLength = kBootReportLength;
  m_interfaces.push_back(boot);
}

void Bootloader::AddFault(const BootFaultRule& rule) {
  std::lock_guard<std::recursive_mutex> hold(Bus::Get().Lock());
  m_faults.push_back(rule);
}

void Bootloader::ClearFaults() {
  std::lock_guard<std::recursive_mutex> hold(Bus::Get().Lock());
  m_faults.clear();
}

Bytes Bootloader::Flash() const {
  std::lock_guard<std::recursive_mutex> hold(Bus::Get().Lock());
  return m_flash;
}

bool Bootloader::Started() const {
  std::lock_guard<std::recursive_mutex> hold(Bus::Get().Lock());
  return m_started;
}

bool Bootloader::Ended() const {
  std::lock_guard<std::recursive_mutex> hold(Bus::Get().Lock());
  return m_ended;
}

bool Bootloader::Finalised() const {
  std::lock_guard<std::recursive_mutex> hold(Bus::Get().Lock());
  return m_finalised;
}

int Bootloader::Packets(uint8_t command) const {
  std::lock_guard<std::recursive_mutex> hold(Bus::Get().Lock());
  auto found = m_packets.find(command);
  return found == m_packets.end() ? 0 : found->second;
}

BootFaultRule* Bootloader::FaultFor(uint8_t command, int chunk, bool failWrite) {
  for (BootFaultRule& rule : m_faults) {
    if ((rule.kind == BootFaultKind::FailWrite) != failWrite) continue;
    if ((rule.command >= 0 && rule.command != command) || chunk < rule.chunk) continue;
    if (rule.times >= 0 && rule.applied >= rule.times) continue;
    ++rule.applied;
    return &rule;
  }
  return nullptr;
}

bool Bootloader::OnWrite(int, const Bytes& report, Frame& frame) {
  const uint8_t command = report[1];
  frame.command = command;
  frame.length = report[2];
  if (report.size() != kBootReportLength) frame.problems.push_back(Describe("packet of %u bytes", report.size()));
  if (report[0] != 0) frame.problems.push_back(Describe("report id %u", report[0]));

  int& count = m_packets[command];
  if (FaultFor(command, count, true)) {
    frame.fault = BootFaultName(BootFaultKind::FailWrite);
    return false;
  }
  const int chunk = count++;
  bool accepted = Handle(report, frame);
  if (BootFaultRule* fault = FaultFor(command, chunk, false)) {
    switch (fault->kind) {
      case BootFaultKind::Refuse:
        frame.fault = BootFaultName(fault->kind);
        accepted = false;
        break;
      case BootFaultKind::NoReply:
        frame.fault = BootFaultName(fault->kind);
        return true;
      case BootFaultKind::CorruptFlash:
        frame.fault = BootFaultName(fault->kind);
        if (command == kProgram && frame.offset >= 0)
          m_flash[frame.offset] = static_cast<uint8_t>(~m_flash[frame.offset]);
        break;
      case BootFaultKind::FailWrite:
        break;
    }
  }
  Bytes reply(kBootReportLength - 1, 0);
  reply[1] = accepted ? 0x00 : 0x01;
  QueueInput(0, reply);
  frame.replied = true;
  return true;
}

// Checks and carries out one packet; true when it is accepted.
bool Bootloader::Handle(const Bytes& report, Frame& frame) {
  const auto problem = [&](const std::string& text) {
    frame.problems.push_back(text);
    return false;
  };
  switch (report[1]) {
    case kStart:
      if (report[2] != 0x07 || Le16(report, 3) != vid || Le16(report, 5) != pid || report[7] != 0) {
        return problem(Describe("start packet for %04X:%04X", Le16(report, 3), Le16(report, 5)));
      }
      m_started = true;
      m_ended = m_finalised = false;
      m_flash.clear();
      m_programNext = m_verifyNext = 0;
      return true;
    case kProgram:
    case kVerify:
      return HandleChunk(report, frame, report[1] == kVerify);
    case kEnd:
    case kFinal:
      if (report[2] != 0x01) return problem(Describe("closing packet 0x%02X with byte 2 = %u", report[1], report[2]));
      if (!m_started) return problem("closing packet before start");
      if (report[1] == kFinal && !m_ended) return problem("final packet before end");
      (report[1] == kEnd ? m_ended : m_finalised) = true;
      return true;
    default:
      return problem(Describe("unknown command 0x%02X", report[1]));
  }
}

bool Bootloader::HandleChunk(const Bytes& report, Frame& frame, bool verify) {
  const uint32_t length = report[2];
  const uint32_t offset = Le32(report, 3);
  frame.offset = static_cast<int>(offset);
  const auto problem = [&](const std::string& text) {
    frame.problems.push_back(text);
    return false;
  };
  if (length < 1 || length > 32) return problem(Describe("chunk length %u", length));
  frame.payload.assign(report.begin() + 7, report.begin() + 7 + length);
  if (std::any_of(report.begin() + 7 + length, report.end(), [](uint8_t b) { return b != 0; })) {
    return problem("bytes after the chunk are not zero");
  }
  if (!m_started) return problem("chunk before start");
  uint32_t& next = verify ? m_verifyNext : m_programNext;
  if (offset != next) return problem(Describe("chunk at offset %u where %u was due", offset, next));
  if (offset + length > kFlashCapacity) return problem("chunk beyond the flash");
  next += length;
  if (verify)
    return offset + length <= m_flash.size() &&
           std::equal(frame.payload.begin(), frame.payload.end(), m_flash.begin() + offset);
  if (m_flash.size() < offset + length) m_flash.resize(offset + length, 0xFF);
  std::copy(frame.payload.begin(), frame.payload.end(), m_flash.begin() + offset);
  return true;
}

Bootloader& EnterBootloaderOnRequest(Keyboard& keyboard, uint32_t delayMs) {
  auto bootloader =
      std::make_shared<std::unique_ptr<Bootloader>>(std::make_unique<Bootloader>(kVendorId, keyboard.Model().bootPid));
  Bootloader& result = **bootloader;
  keyboard.SetInterfaceHandler(2, [bootloader, delayMs](Keyboard& self, int, const Bytes& report) {
    if (report.size() < 2 || report[1] != kEnter || !*bootloader) return;
    Bus::Get().Unplug(self);
    Bus::Get().PlugLater(std::move(*bootloader), delayMs);
  });
  return result;
}

}  // namespace simkb
