// The HID bootloader of the simulated keyboards (see SimKeyboard.h for the bus and devices).
//
// A `Bootloader` is a device with one interface (number 0, usage page 0xFF00, usage 1, input
// and output reports of 1024 bytes with the id byte) that speaks the firmware protocol:
// 0x81 start (byte 2 = 7, bytes 3-6 its own VID and PID little-endian), then 0x80 program
// chunks (byte 2 = length 1..32, bytes 3-6 offset little-endian, the data from byte 7, zeros
// after it) placed one after another from offset 0, then 0x82 verify chunks over the same
// offsets, compared with what was programmed, then 0x83 end and 0x84 final (byte 2 = 1).
// Every packet is answered with a report whose bytes 0 and 1 are 0 when it was accepted and
// 0x00 0x01 when not. A packet out of order or malformed is a problem in the frame and the
// bus's problem list, and is refused. The programmed bytes are kept for comparison.
// `EnterBootloaderOnRequest` makes a keyboard act out the restart: the enter packet (byte 1
// 0x5F) written to its MI_02 unplugs the keyboard, and its bootloader appears a little later.
// Everything runs under the bus lock like the rest of the simulator.
#pragma once

#include "simkeyboard/SimKeyboard.h"

namespace simkb {

enum class BootFaultKind {
  Refuse,        // answered 0x00 0x01
  NoReply,       // nothing is answered
  FailWrite,     // hid_write returns -1; the bootloader never sees the packet
  CorruptFlash,  // a program chunk is stored with its first byte inverted, and accepted
};

// A fault's name as the frame log records it ("refuse", ...).
const char* BootFaultName(BootFaultKind kind);
constexpr int kBootFaultKinds = static_cast<int>(BootFaultKind::CorruptFlash) + 1;

struct BootFaultRule {
  BootFaultKind kind = BootFaultKind::Refuse;
  int command = -1;  // -1: any command
  int chunk = 0;     // from the chunk-th packet of that command (from 0; failed writes do not count)
  int times = 1;     // packets it applies to; -1: every one from then on
  int applied = 0;   // bookkeeping
};

class Bootloader : public Device {
 public:
  Bootloader(uint16_t vid, uint16_t pid);

  void AddFault(const BootFaultRule& rule);
  void ClearFaults();
  // The programmed bytes, from offset 0 to the end of the furthest chunk.
  Bytes Flash() const;
  bool Started() const;
  bool Ended() const;
  bool Finalised() const;
  // Packets that reached the bootloader (writes that failed are not counted).
  int Packets(uint8_t command) const;

 protected:
  bool OnWrite(int interfaceNumber, const Bytes& report, Frame& frame) override;

 private:
  bool Handle(const Bytes& report, Frame& frame);
  bool HandleChunk(const Bytes& report, Frame& frame, bool verify);
  BootFaultRule* FaultFor(uint8_t command, int chunk, bool failWrite);

  std::vector<BootFaultRule> m_faults;
  std::map<uint8_t, int> m_packets;
  Bytes m_flash;
  uint32_t m_programNext = 0, m_verifyNext = 0;
  bool m_started = false, m_ended = false, m_finalised = false;
};

// Arms keyboard to restart into its bootloader: the enter packet on MI_02 unplugs it, and a
// bootloader with VID 0x19F5 and the model's bootloader PID is plugged delayMs later. Returns
// that bootloader, owned by the bus (valid until Bus::Reset).
Bootloader& EnterBootloaderOnRequest(Keyboard& keyboard, uint32_t delayMs = 300);

}  // namespace simkb
