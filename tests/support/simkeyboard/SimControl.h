// The simulated keyboard's control channel: what a test harness asks of the simulated bus
// inside a running program (the drop-in hidapi.dll), over a named pipe.
//
// The drop-in DLL serves it when the environment variable TAVIR_SIM_CHANNEL names a pipe
// ("\\.\pipe\..."; a bare name gets that prefix). Each connection gets its own thread; a
// request is one pipe message of text (at most kMaxRequest bytes): a command and its
// arguments separated by spaces, numbers decimal or 0x-hex. The reply is one message: a first
// line "ok", "ok <value>" or "error <reason>", then data lines. Bad requests get an error
// reply and the connection stays open.
//
//   mark                          ok <frames logged so far>
//   frames <mark>                 ok <n>; a line per frame since the mark:
//                                 <index> t=<ms> dev=<id> mi=<n> cmd=<c> len=<l> off=<o> depth=<d>
//                                 replied=<0|1> sum=<0|1> fault=<name with '-' for ' ', or -> raw=<hex>
//   problems                      ok <n>; a line per problem the bus recorded
//   devices                       ok <n>; per device: <id> <keyboard|bootloader|device> vid=<hex>
//                                 pid=<hex> present=<0|1> model=<id, or ->
//   read <id> <area> [<offset> <length>]
//                                 ok <hex>: the area (see AreaKey) or a part of it
//   unplug <id>, replug <id>      ok, once WM_DEVICECHANGE reached the program's windows
//   plug <model>                  ok <id>: a keyboard of model 101, 102 or 103, state file loaded
//   plug-boot <vid> <pid>         ok <id>: a bootloader with those ids
//   fault <id> <kind> [command=<c>] [nth=<n>] [times=<n>] [delay=<ms>] [count=<n>] [then-correct]
//                                 a keyboard fault (FaultName with '-' for ' ': suppress-reply,
//                                 delay-reply, ..., remove-device); on a bootloader the kinds are
//                                 refuse, no-reply, fail-write, corrupt-flash with command=, chunk=,
//                                 times=
//   clear-faults <id>             ok
//   report <id> <hex>             ok: an input report (without report id, at most 64 bytes) queued on
//                                 the keyboard's configuration interface, as the keyboard sends its
//                                 layer (A1), profile (A2) and travel (A0) reports
//
// Plugging and unplugging reach the program's top-level windows as WM_DEVICECHANGE with a
// device-interface header per interface path, as Windows broadcasts them to a window that
// registered for HID notifications; a keyboard that removes itself (remove-device) or a device
// plugged later is broadcast the same way. The broadcasts are sent from a thread of their own,
// never under the bus lock, so a window's handler may call hidapi.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace simkb {

constexpr size_t kMaxRequest = 4096;
constexpr wchar_t kChannelVariable[] = L"TAVIR_SIM_CHANNEL";
constexpr wchar_t kStateVariable[] = L"TAVIR_SIM_STATE";

// Carries out one request on Bus::Get() and returns the reply text.
std::string HandleControlRequest(const std::string& request);

// A WM_DEVICECHANGE device-interface header (DEV_BROADCAST_DEVICEINTERFACE_W, HID class) for a
// path, as the bytes the message's lParam points to.
std::vector<uint8_t> DeviceBroadcast(const std::string& path);

// Broadcasts the bus's pluggings to this process's top-level windows from now on (until
// Bus::Reset), from the broadcasting thread: a thread that owns such windows keeps pumping
// messages while it plugs or unplugs.
void BroadcastDeviceChanges();

// BroadcastDeviceChanges, and serves the pipe. False when the pipe cannot be created (another process serves the name); the
// problem is recorded on the bus.
bool StartControlChannel(const std::wstring& pipeName);

}  // namespace simkb
