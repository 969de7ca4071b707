#include "SimChannel.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <sstream>

#include "MessagePump.h"
#include "simkeyboard/SimControl.h"

namespace testsupport {

namespace {

constexpr int kReportLength = 65;
constexpr int kMaxPayload = 56;

// The value of "name=value" among a frame line's words.
bool Field(const std::vector<std::string>& words, const char* name, std::string* value) {
  const std::string prefix = std::string(name) + "=";
  for (const std::string& word : words) {
    if (word.compare(0, prefix.size(), prefix) == 0) {
      *value = word.substr(prefix.size());
      return true;
    }
  }
  return false;
}

bool IntField(const std::vector<std::string>& words, const char* name, long long* value) {
  std::string text;
  if (!Field(words, name, &text) || text.empty()) return false;
  char* end = nullptr;
  *value = std::strtoll(text.c_str(), &end, 10);
  return *end == '\0';
}

}  // namespace

std::wstring SimChannel::UniquePipeName() {
  static std::atomic<int> counter{0};
  return L"\\\\.\\pipe\\tavir-sim-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

std::vector<std::pair<std::wstring, std::wstring>> SimChannel::Environment(const std::wstring& stateFile) const {
  return {{simkb::kChannelVariable, m_name}, {simkb::kStateVariable, stateFile}};
}

SimChannel::SimChannel(std::wstring pipeName) : m_name(std::move(pipeName)) {}

SimChannel::~SimChannel() { Disconnect(); }

bool SimChannel::Connect(DWORD timeoutMs) {
  Disconnect();
  const DWORD start = GetTickCount();
  for (;;) {
    m_pipe = CreateFileW(m_name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (m_pipe != INVALID_HANDLE_VALUE) break;
    if (GetTickCount() - start >= timeoutMs) return false;
    // Not there yet (the program is starting), or every instance is busy: try again shortly.
    if (GetLastError() == ERROR_PIPE_BUSY) WaitNamedPipeW(m_name.c_str(), 100);
    Sleep(20);
  }
  DWORD mode = PIPE_READMODE_MESSAGE;
  if (!SetNamedPipeHandleState(m_pipe, &mode, nullptr, nullptr)) {
    Disconnect();
    return false;
  }
  return true;
}

void SimChannel::Disconnect() {
  if (m_pipe != INVALID_HANDLE_VALUE) CloseHandle(m_pipe);
  m_pipe = INVALID_HANDLE_VALUE;
}

std::string SimChannel::CallRaw(const std::string& request) {
  DWORD written = 0;
  if (m_pipe == INVALID_HANDLE_VALUE ||
      !WriteFile(m_pipe, request.data(), static_cast<DWORD>(request.size()), &written, nullptr)) {
    Disconnect();
    return "error not connected";
  }
  std::string reply;
  char buffer[16384];
  for (;;) {
    DWORD got = 0;
    if (ReadFile(m_pipe, buffer, sizeof buffer, &got, nullptr)) {
      reply.append(buffer, got);
      return reply;
    }
    if (GetLastError() != ERROR_MORE_DATA) break;
    reply.append(buffer, got);
  }
  Disconnect();
  return "error not connected";
}

SimReply SimChannel::Call(const std::string& request) {
  const std::string text = CallRaw(request);
  SimReply reply;
  std::istringstream lines(text);
  std::string first;
  std::getline(lines, first);
  reply.ok = first == "ok" || first.compare(0, 3, "ok ") == 0;
  const size_t space = first.find(' ');
  reply.head = space == std::string::npos ? "" : first.substr(space + 1);
  for (std::string line; std::getline(lines, line);) reply.lines.push_back(line);
  return reply;
}

size_t SimChannel::Mark() {
  const SimReply reply = Call("mark");
  return reply.ok ? static_cast<size_t>(std::strtoull(reply.head.c_str(), nullptr, 10)) : 0;
}

bool SimChannel::WaitQuiet(DWORD quietMs, DWORD timeoutMs, const std::vector<int>& ignoredCommands) {
  size_t last = Mark();
  DWORD since = GetTickCount();
  const auto counts = [&](const simkb::Frame& frame) {
    return std::find(ignoredCommands.begin(), ignoredCommands.end(), frame.command) == ignoredCommands.end();
  };
  return PumpUntil(
      [&] {
        const size_t now = Mark();
        if (now != last) {
          bool heard = ignoredCommands.empty();
          if (!heard) {
            const std::vector<simkb::Frame> frames = FramesSince(last);
            heard = std::any_of(frames.begin(), frames.end(), counts);
          }
          last = now;
          if (heard) since = GetTickCount();
        }
        return GetTickCount() - since > quietMs;
      },
      timeoutMs);
}

std::vector<simkb::Frame> SimChannel::FramesSince(size_t mark) {
  std::vector<simkb::Frame> frames;
  const SimReply reply = Call("frames " + std::to_string(mark));
  for (const std::string& line : reply.lines) {
    simkb::Frame frame;
    if (ParseFrameLine(line, &frame)) frames.push_back(std::move(frame));
  }
  return frames;
}

std::vector<std::string> SimChannel::Problems() { return Call("problems").lines; }

std::vector<SimDevice> SimChannel::Devices() {
  std::vector<SimDevice> devices;
  for (const std::string& line : Call("devices").lines) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) fields.push_back(word);
    SimDevice device;
    std::string text;
    if (fields.size() < 2) continue;
    device.id = std::atoi(fields[0].c_str());
    device.kind = fields[1];
    if (Field(fields, "vid", &text)) device.vid = static_cast<uint16_t>(std::strtoul(text.c_str(), nullptr, 16));
    if (Field(fields, "pid", &text)) device.pid = static_cast<uint16_t>(std::strtoul(text.c_str(), nullptr, 16));
    device.present = Field(fields, "present", &text) && text == "1";
    if (Field(fields, "model", &text)) device.model = std::atoi(text.c_str());
    devices.push_back(device);
  }
  return devices;
}

int SimChannel::KeyboardId(int model) {
  for (const SimDevice& device : Devices()) {
    if (device.kind == "keyboard" && (model == 0 || device.model == model)) return device.id;
  }
  return 0;
}

simkb::Bytes SimChannel::ReadArea(int device, const std::string& area) {
  simkb::Bytes bytes;
  const SimReply reply = Call("read " + std::to_string(device) + " " + area);
  if (!reply.ok || !simkb::FromHex(reply.head, &bytes)) bytes.clear();
  return bytes;
}

simkb::Bytes SimChannel::ReadArea(int device, const std::string& area, size_t offset, size_t length) {
  simkb::Bytes bytes;
  const SimReply reply =
      Call("read " + std::to_string(device) + " " + area + " " + std::to_string(offset) + " " + std::to_string(length));
  if (!reply.ok || !simkb::FromHex(reply.head, &bytes)) bytes.clear();
  return bytes;
}

bool SimChannel::Unplug(int device) { return Call("unplug " + std::to_string(device)).ok; }

bool SimChannel::Replug(int device) { return Call("replug " + std::to_string(device)).ok; }

int SimChannel::PlugKeyboard(int model) {
  const SimReply reply = Call("plug " + std::to_string(model));
  return reply.ok ? std::atoi(reply.head.c_str()) : 0;
}

int SimChannel::PlugBootloader(uint16_t vid, uint16_t pid) {
  const SimReply reply = Call("plug-boot " + std::to_string(vid) + " " + std::to_string(pid));
  return reply.ok ? std::atoi(reply.head.c_str()) : 0;
}

bool SimChannel::AddFault(int device, const std::string& rule) {
  return Call("fault " + std::to_string(device) + " " + rule).ok;
}

bool SimChannel::ClearFaults(int device) { return Call("clear-faults " + std::to_string(device)).ok; }

bool SimChannel::QueueReport(int device, const simkb::Bytes& report) {
  return Call("report " + std::to_string(device) + " " + simkb::ToHex(report)).ok;
}

bool ParseFrameLine(const std::string& line, simkb::Frame* frame) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  long long time = 0, device = 0, mi = 0, command = 0, length = 0, offset = 0, depth = 0, replied = 0, sum = 0;
  std::string fault, raw;
  if (!IntField(words, "t", &time) || !IntField(words, "dev", &device) || !IntField(words, "mi", &mi) ||
      !IntField(words, "cmd", &command) || !IntField(words, "len", &length) || !IntField(words, "off", &offset) ||
      !IntField(words, "depth", &depth) || !IntField(words, "replied", &replied) || !IntField(words, "sum", &sum) ||
      !Field(words, "fault", &fault) || !Field(words, "raw", &raw) || !simkb::FromHex(raw, &frame->raw)) {
    return false;
  }
  frame->timeMs = static_cast<uint32_t>(time);
  frame->device = static_cast<int>(device);
  frame->interfaceNumber = static_cast<int>(mi);
  frame->command = static_cast<int>(command);
  frame->length = static_cast<int>(length);
  frame->offset = static_cast<int>(offset);
  frame->depth = static_cast<int>(depth);
  frame->replied = replied != 0;
  frame->checksumOk = sum != 0;
  frame->fault = fault == "-" ? "" : fault;
  for (char& c : frame->fault) {
    if (c == '-') c = ' ';
  }
  frame->payload.clear();
  if (frame->interfaceNumber == 1 && frame->command >= 0 && frame->raw.size() >= kReportLength) {
    const int used = std::min(std::max(frame->length, 0), kMaxPayload);
    frame->payload.assign(frame->raw.begin() + 9, frame->raw.begin() + 9 + used);
  }
  return true;
}

}  // namespace testsupport
