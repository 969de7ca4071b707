// The control channel's commands, its WM_DEVICECHANGE broadcasts and its pipe (SimControl.h).
#include "simkeyboard/SimControl.h"

#include <windows.h>
#include <dbt.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>

#include "simkeyboard/SimBootloader.h"
#include "simkeyboard/SimKeyboard.h"

namespace simkb {

namespace {

// ---- Requests ----

using Args = std::vector<std::string>;

std::string Error(const std::string& reason) { return "error " + reason; }

// A whole token as a number, decimal or 0x-hex, optionally negative, within [low, high].
bool Number(const std::string& token, long long low, long long high, long long* value) {
  size_t i = token.size() > 1 && token[0] == '-' ? 1 : 0;
  const bool negative = i == 1;
  int base = 10;
  if (token.size() > i + 2 && token[i] == '0' && (token[i + 1] == 'x' || token[i + 1] == 'X')) base = 16, i += 2;
  if (i >= token.size() || token.size() > 24) return false;
  long long result = 0;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    int digit = 99;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit >= base) return false;
    result = result * base + digit;
    if (result > (1LL << 40)) return false;
  }
  if (negative) result = -result;
  if (result < low || result > high) return false;
  *value = result;
  return true;
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04x", value);
  return text;
}

std::string Dashed(std::string text, char from, char to) {
  for (char& c : text) {
    if (c == from) c = to;
  }
  return text;
}

// The device a request names, or an error text.
Device* DeviceArg(const std::string& token, std::string* error) {
  long long id = 0;
  Device* device = Number(token, 1, 1 << 20, &id) ? Bus::Get().Find(static_cast<int>(id)) : nullptr;
  if (!device) *error = Error("no device " + token);
  return device;
}

// ---- WM_DEVICECHANGE broadcasts ----

// Queued by the bus's change listener (under the bus lock), sent by a thread of its own.
class Notices {
 public:
  static Notices& Get() {
    static Notices* notices = new Notices;  // lives as long as the process: its thread does
    return *notices;
  }
  void Start() {
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_started) return;
    m_started = true;
    CloseHandle(CreateThread(nullptr, 0, &Notices::Run, this, 0, nullptr));
  }
  void Post(bool arrived, const std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> hold(m_lock);
    for (const std::string& path : paths) m_queue.emplace_back(arrived, path);
    m_changed.notify_all();
  }
  // Waits until every queued broadcast has been sent (at most 10 s).
  void Flush() {
    std::unique_lock<std::mutex> hold(m_lock);
    if (!m_started) return;
    m_changed.wait_for(hold, std::chrono::seconds(10), [this] { return m_queue.empty() && !m_sending; });
  }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<Notices*>(self)->Loop();
    return 0;
  }
  void Loop() {
    for (;;) {
      std::pair<bool, std::string> notice;
      {
        std::unique_lock<std::mutex> hold(m_lock);
        m_sending = false;
        m_changed.notify_all();
        m_changed.wait(hold, [this] { return !m_queue.empty(); });
        notice = std::move(m_queue.front());
        m_queue.pop_front();
        m_sending = true;
      }
      Send(notice.first, notice.second);
    }
  }
  static BOOL CALLBACK AddOwnWindow(HWND window, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
  }
  static void Send(bool arrived, const std::string& path) {
    std::vector<HWND> windows;
    EnumWindows(&Notices::AddOwnWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<uint8_t> header = DeviceBroadcast(path);
    for (HWND window : windows) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_DEVICECHANGE, arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                          reinterpret_cast<LPARAM>(header.data()), SMTO_NORMAL, 5000, &result);
    }
  }

  std::mutex m_lock;
  std::condition_variable m_changed;
  std::deque<std::pair<bool, std::string>> m_queue;
  bool m_started = false, m_sending = false;
};

// ---- Commands ----

std::string FrameLine(size_t index, const Frame& frame) {
  std::ostringstream line;
  line << index << " t=" << frame.timeMs << " dev=" << frame.device << " mi=" << frame.interfaceNumber
       << " cmd=" << frame.command << " len=" << frame.length << " off=" << frame.offset << " depth=" << frame.depth
       << " replied=" << frame.replied << " sum=" << frame.checksumOk
       << " fault=" << (frame.fault.empty() ? "-" : Dashed(frame.fault, ' ', '-')) << " raw=" << ToHex(frame.raw);
  return line.str();
}

std::string Mark(const Args&) { return "ok " + std::to_string(Bus::Get().Mark()); }

std::string Frames(const Args& args) {
  long long mark = 0;
  if (!Number(args[1], 0, 1LL << 40, &mark)) return Error("frames: bad mark " + args[1]);
  const std::vector<Frame> frames = Bus::Get().FramesSince(static_cast<size_t>(mark));
  std::string reply = "ok " + std::to_string(frames.size());
  for (size_t i = 0; i < frames.size(); ++i) reply += "\n" + FrameLine(static_cast<size_t>(mark) + i, frames[i]);
  return reply;
}

std::string Problems(const Args&) {
  const std::vector<std::string> problems = Bus::Get().Problems();
  std::string reply = "ok " + std::to_string(problems.size());
  for (const std::string& problem : problems) reply += "\n" + Dashed(problem, '\n', ' ');
  return reply;
}

std::string Devices(const Args&) {
  std::lock_guard<std::recursive_mutex> hold(Bus::Get().Lock());
  const std::vector<Device*> devices = Bus::Get().Devices();
  std::string reply = "ok " + std::to_string(devices.size());
  for (const Device* device : devices) {
    const auto* keyboard = dynamic_cast<const Keyboard*>(device);
    const char* kind = keyboard ? "keyboard" : dynamic_cast<const Bootloader*>(device) ? "bootloader" : "device";
    reply += "\n" + std::to_string(device->Id()) + " " + kind + " vid=" + Hex(device->vid) + " pid=" + Hex(device->pid) +
             " present=" + (device->Present() ? "1" : "0") +
             " model=" + (keyboard ? std::to_string(keyboard->ModelId()) : "-");
  }
  return reply;
}

std::string Read(const Args& args) {
  std::string error;
  Device* device = DeviceArg(args[1], &error);
  if (!device) return error;
  auto* keyboard = dynamic_cast<Keyboard*>(device);
  Area area;
  if (!keyboard) return Error("read: device " + args[1] + " is not a keyboard");
  if (!FindArea(args[2], &area)) return Error("read: no area " + args[2]);
  const Bytes memory = keyboard->Read(area);
  long long offset = 0, length = static_cast<long long>(memory.size());
  if (args.size() == 4) return Error("read: an offset needs a length");
  if (args.size() >= 5 && (!Number(args[3], 0, static_cast<long long>(memory.size()), &offset) ||
                           !Number(args[4], 0, static_cast<long long>(memory.size()) - offset, &length))) {
    return Error("read: " + args[3] + " + " + args[4] + " outside the " + args[2] + " area of " +
                 std::to_string(memory.size()) + " bytes");
  }
  return "ok " + ToHex(Bytes(memory.begin() + offset, memory.begin() + offset + length));
}

std::string Unplug(const Args& args) {
  std::string error;
  Device* device = DeviceArg(args[1], &error);
  if (!device) return error;
  if (args[0] == "unplug") {
    Bus::Get().Unplug(*device);
  } else {
    Bus::Get().Replug(*device);
  }
  Notices::Get().Flush();
  return "ok";
}

std::string Plug(const Args& args) {
  long long model = 0;
  if (!Number(args[1], 101, 103, &model)) return Error("plug: no model " + args[1]);
  const int id = Bus::Get().PlugKeyboard(static_cast<int>(model)).Id();
  Notices::Get().Flush();
  return "ok " + std::to_string(id);
}

std::string PlugBoot(const Args& args) {
  long long vid = 0, pid = 0;
  if (!Number(args[1], 0, 0xFFFF, &vid) || !Number(args[2], 0, 0xFFFF, &pid)) {
    return Error("plug-boot: bad ids " + args[1] + " " + args[2]);
  }
  auto bootloader = std::make_unique<Bootloader>(static_cast<uint16_t>(vid), static_cast<uint16_t>(pid));
  Bootloader& plugged = *bootloader;
  Bus::Get().Plug(std::move(bootloader));
  Notices::Get().Flush();
  return "ok " + std::to_string(plugged.Id());
}

// The options of a fault rule: name=value pairs and the flag then-correct. Each named option
// is stored through its pointer; an option the device's rules do not have is an error.
struct Option {
  const char* name;
  int* value;
  long long low, high;
};

std::string ParseOptions(const Args& args, const std::vector<Option>& options, bool* thenCorrect) {
  for (size_t i = 3; i < args.size(); ++i) {
    if (thenCorrect && args[i] == "then-correct") {
      *thenCorrect = true;
      continue;
    }
    const size_t equals = args[i].find('=');
    const Option* option = nullptr;
    for (const Option& candidate : options) {
      if (equals != std::string::npos && args[i].compare(0, equals, candidate.name) == 0 &&
          equals == std::strlen(candidate.name)) {
        option = &candidate;
      }
    }
    long long value = 0;
    if (!option) return Error("fault: unknown option " + args[i]);
    if (!Number(args[i].substr(equals + 1), option->low, option->high, &value)) {
      return Error("fault: bad value in " + args[i]);
    }
    *option->value = static_cast<int>(value);
  }
  return {};
}

std::string Fault(const Args& args) {
  std::string error;
  Device* device = DeviceArg(args[1], &error);
  if (!device) return error;
  const std::string kind = Dashed(args[2], '-', ' ');
  if (auto* keyboard = dynamic_cast<Keyboard*>(device)) {
    FaultRule rule;
    int kindIndex = -1;
    for (int i = 0; i < kFaultKinds; ++i) {
      if (kind == FaultName(static_cast<FaultKind>(i))) kindIndex = i;
    }
    if (kindIndex < 0) return Error("fault: no keyboard fault " + args[2]);
    rule.kind = static_cast<FaultKind>(kindIndex);
    int delay = 0;
    error = ParseOptions(args,
                         {{"command", &rule.command, -1, 255}, {"nth", &rule.nth, 0, 1 << 30},
                          {"times", &rule.times, -1, 1 << 30}, {"delay", &delay, 0, 600000},
                          {"count", &rule.count, 0, 1000}},
                         &rule.thenCorrect);
    if (!error.empty()) return error;
    rule.delayMs = static_cast<uint32_t>(delay);
    keyboard->AddFault(rule);
    return "ok";
  }
  if (auto* bootloader = dynamic_cast<Bootloader*>(device)) {
    BootFaultRule rule;
    int kindIndex = -1;
    for (int i = 0; i < kBootFaultKinds; ++i) {
      if (kind == BootFaultName(static_cast<BootFaultKind>(i))) kindIndex = i;
    }
    if (kindIndex < 0) return Error("fault: no bootloader fault " + args[2]);
    rule.kind = static_cast<BootFaultKind>(kindIndex);
    error = ParseOptions(args,
                         {{"command", &rule.command, -1, 255}, {"chunk", &rule.chunk, 0, 1 << 30},
                          {"times", &rule.times, -1, 1 << 30}},
                         nullptr);
    if (!error.empty()) return error;
    bootloader->AddFault(rule);
    return "ok";
  }
  return Error("fault: device " + args[1] + " takes no faults");
}

std::string ClearFaults(const Args& args) {
  std::string error;
  Device* device = DeviceArg(args[1], &error);
  if (!device) return error;
  if (auto* keyboard = dynamic_cast<Keyboard*>(device)) keyboard->ClearFaults();
  if (auto* bootloader = dynamic_cast<Bootloader*>(device)) bootloader->ClearFaults();
  return "ok";
}

std::string Report(const Args& args) {
  std::string error;
  Device* device = DeviceArg(args[1], &error);
  if (!device) return error;
  auto* keyboard = dynamic_cast<Keyboard*>(device);
  Bytes report;
  if (!keyboard) return Error("report: device " + args[1] + " is not a keyboard");
  if (!FromHex(args[2], &report) || report.empty() || report.size() > 64) {
    return Error("report: not 1 to 64 bytes of hex");
  }
  report.resize(64, 0);
  keyboard->QueueRaw(report);
  return "ok";
}

struct Command {
  const char* name;
  size_t minArgs, maxArgs;  // after the command's name
  std::string (*run)(const Args&);
  const char* usage;
};

constexpr Command kCommands[] = {
    {"mark", 0, 0, &Mark, "mark"},
    {"frames", 1, 1, &Frames, "frames <mark>"},
    {"problems", 0, 0, &Problems, "problems"},
    {"devices", 0, 0, &Devices, "devices"},
    {"read", 2, 4, &Read, "read <id> <area> [<offset> <length>]"},
    {"unplug", 1, 1, &Unplug, "unplug <id>"},
    {"replug", 1, 1, &Unplug, "replug <id>"},
    {"plug", 1, 1, &Plug, "plug <model>"},
    {"plug-boot", 2, 2, &PlugBoot, "plug-boot <vid> <pid>"},
    {"fault", 2, 9, &Fault, "fault <id> <kind> [name=value ...] [then-correct]"},
    {"clear-faults", 1, 1, &ClearFaults, "clear-faults <id>"},
    {"report", 2, 2, &Report, "report <id> <hex>"},
};

// ---- The pipe ----

DWORD WINAPI ServeConnection(void* handle) {
  HANDLE pipe = handle;
  std::string request;
  char buffer[kMaxRequest];
  for (;;) {
    DWORD got = 0;
    if (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr)) {
      request.append(buffer, got);
    } else if (GetLastError() == ERROR_MORE_DATA) {
      request.append(buffer, got);  // the rest of an over-long message follows; it is refused
      continue;
    } else {
      break;  // the client went
    }
    const std::string reply = request.size() > kMaxRequest
                                  ? Error("request of " + std::to_string(request.size()) + " bytes, at most " +
                                          std::to_string(kMaxRequest))
                                  : HandleControlRequest(request);
    request.clear();
    DWORD written = 0;
    if (!WriteFile(pipe, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr)) break;
  }
  DisconnectNamedPipe(pipe);
  CloseHandle(pipe);
  return 0;
}

HANDLE NewPipeInstance(const std::wstring& name, bool first) {
  return CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
                          PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 1 << 16,
                          kMaxRequest, 0, nullptr);
}

struct Listener {
  std::wstring name;
  HANDLE next;
};

// Waits for clients, one pipe instance at a time; each connected instance is served by a thread.
DWORD WINAPI Listen(void* param) {
  std::unique_ptr<Listener> listener(static_cast<Listener*>(param));
  for (HANDLE pipe = listener->next; pipe != INVALID_HANDLE_VALUE; pipe = NewPipeInstance(listener->name, false)) {
    if (ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) {
      HANDLE thread = CreateThread(nullptr, 0, &ServeConnection, pipe, 0, nullptr);
      if (thread) {
        CloseHandle(thread);
        continue;
      }
    }
    CloseHandle(pipe);
  }
  return 0;
}

}  // namespace

std::string HandleControlRequest(const std::string& request) {
  Args args;
  std::istringstream words(request);
  for (std::string word; words >> word;) args.push_back(word);
  if (args.empty()) return Error("empty request");
  for (const Command& command : kCommands) {
    if (args[0] != command.name) continue;
    if (args.size() - 1 < command.minArgs || args.size() - 1 > command.maxArgs) {
      return Error(std::string("usage: ") + command.usage);
    }
    return command.run(args);
  }
  return Error("unknown command " + args[0].substr(0, 40));
}

std::vector<uint8_t> DeviceBroadcast(const std::string& path) {
  const std::wstring name(path.begin(), path.end());
  std::vector<uint8_t> bytes(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + name.size() * sizeof(wchar_t), 0);
  auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
  header->dbcc_size = static_cast<DWORD>(bytes.size());
  header->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  header->dbcc_classguid = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};  // HID
  std::memcpy(header->dbcc_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
  return bytes;
}

void BroadcastDeviceChanges() {
  Notices::Get().Start();
  Bus::Get().SetChangeListener(
      [](bool arrived, const std::vector<std::string>& paths) { Notices::Get().Post(arrived, paths); });
}

bool StartControlChannel(const std::wstring& pipeName) {
  const std::wstring prefix = L"\\\\.\\pipe\\";
  const std::wstring name = pipeName.compare(0, prefix.size(), prefix) == 0 ? pipeName : prefix + pipeName;
  HANDLE first = NewPipeInstance(name, true);
  if (first == INVALID_HANDLE_VALUE) {
    Bus::Get().AddProblem("control channel: the pipe " + std::string(name.begin(), name.end()) +
                          " cannot be created (error " + std::to_string(GetLastError()) + ")");
    return false;
  }
  BroadcastDeviceChanges();
  HANDLE thread = CreateThread(nullptr, 0, &Listen, new Listener{name, first}, 0, nullptr);
  if (!thread) return false;
  CloseHandle(thread);
  return true;
}

}  // namespace simkb
