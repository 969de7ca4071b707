// Flashes an image of the largest size the flashers accept (819,200 bytes) through the
// simulated HID bootloader and through the stand-in CH375 bootloader, and prints for each
// how long the flash took and how many packets went to the bootloader.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "Ch375Standin.h"
#include "FileBytes.h"
#include "Stopwatch.h"
#include "TempFolder.h"
#include "device/FirmwareFlasherCh375.h"
#include "device/FirmwareFlasherHid.h"
#include "simkeyboard/SimBootloader.h"

namespace {

void Report(const char* path, bool ok, double seconds, size_t packets) {
  std::printf("%-28s %s  %7.2f s  %6zu packets  %7.1f us/packet\n", path, ok ? "ok    " : "FAILED", seconds, packets,
              packets ? seconds * 1e6 / static_cast<double>(packets) : 0.0);
}

}  // namespace

int wmain() {
  testsupport::TempFolder folder;
  const auto image = testsupport::PatternBytes(kFirmwareImageCapacity);
  const std::wstring path = testsupport::WriteFileBytes(folder.Path() + L"firmware.bin", image);
  std::printf("image of %zu bytes\n", image.size());

  simkb::Bus& bus = simkb::Bus::Get();
  bus.Reset();
  auto owned = std::make_unique<simkb::Bootloader>(0x19F5, 0xFF37);
  simkb::Bootloader& bootloader = *owned;
  bus.Plug(std::move(owned));
  bool ok = false;
  double seconds =
      testsupport::MicrosecondsPerCall(
          1, [&](int) { ok = FirmwareFlasherHid::Instance().FlashFirmware(0x19F5, 0xFF37, path.c_str(), nullptr); }) /
      1e6;
  Report("HID bootloader (simulated)", ok && bootloader.Flash() == image, seconds, bus.Frames().size());
  bus.Reset();

  testsupport::Ch375Standin standin;
  standin.AddDevice(0, 0x55E04348);
  seconds = testsupport::MicrosecondsPerCall(
                1, [&](int) { FirmwareFlasherCh375::Instance().FlashFirmware(path.c_str(), nullptr); }) /
            1e6;
  ok = FirmwareFlasherCh375::Instance().GetState() == FirmwareFlasherCh375::kStateFinished;
  Report("CH375 bootloader (stand-in)", ok && standin.Image(0) == image, seconds, standin.Writes().size());
  return 0;
}
