// The simulated machine and keyboard; the design is described in SimKeyboard.h.
#include "simkeyboard/SimKeyboard.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include <hidapi/hidapi.h>

#include "SimKeyTables.h"

// hidapi's opaque device type: which interface of which device a handle opened.
struct hid_device_ {
  simkb::Device* device;
  int interfaceNumber;
  std::string path;
  bool removed;
};

namespace simkb {
namespace {

enum : uint8_t {
  kBegin = 0x01, kEnd = 0x02, kInfo = 0x03, kReadStatus = 0x04, kReadConfig = 0x05,
  kWriteConfig = 0x06, kReadKeymap = 0x07, kReadKeyFunctions = 0x08, kWriteKeymap = 0x09,
  kReadColors = 0x0A, kWriteColors = 0x0B, kWriteMacros = 0x0D, kReadPerf = 0xA0,
  kWritePerf = 0xA1, kWriteDks = 0xA3, kWriteAdv = 0xA5, kWriteTgl = 0xA7, kCalibOn = 0xA8,
  kCalibOff = 0xA9, kMusic = 0xDD, kLive = 0xDE, kReset = 0xEE,
};

constexpr int kReportLength = 65;
constexpr int kMaxPayload = 56;

// Where each command reads or writes, and whether it is a read.
struct CommandArea {
  uint8_t command;
  Area area;
  bool read;
};
constexpr CommandArea kCommandAreas[] = {
    {kReadConfig, Area::Config, true},        {kWriteConfig, Area::Config, false},
    {kReadKeymap, Area::FactoryMaps, true},   {kReadKeyFunctions, Area::KeyMaps, true},
    {kWriteKeymap, Area::KeyMaps, false},     {kReadColors, Area::Colors, true},
    {kWriteColors, Area::Colors, false},      {kWriteMacros, Area::Macros, false},
    {kReadPerf, Area::Perf, true},            {kWritePerf, Area::Perf, false},
    {kWriteDks, Area::Dks, false},            {kWriteAdv, Area::AdvKeys, false},
    {kWriteTgl, Area::Tgl, false},            {kMusic, Area::Music, false},
    {kLive, Area::Live, true},
};

struct AreaSize {
  Area area;
  size_t size;
};
constexpr AreaSize kAreaSizes[] = {
    {Area::Status, 16},       {Area::Calibration, 256}, {Area::Config, 3 * 64},
    {Area::FactoryMaps, 12 * 512}, {Area::KeyMaps, 12 * 512}, {Area::Colors, 3 * 512},
    {Area::Macros, 0x1800},   {Area::Perf, 3 * 1024},   {Area::Dks, 3 * 768},
    {Area::AdvKeys, 3 * 256}, {Area::Tgl, 3 * 128},     {Area::Music, 384},
    {Area::Live, 384},
};

const char* AreaName(Area area) {
  static const char* const names[] = {"status", "calibration", "config", "factory maps", "key maps",
                                      "colours", "macros", "performance", "DKS", "advanced keys",
                                      "TGL", "music", "live colours"};
  return names[static_cast<int>(area)];
}

constexpr const char* kAreaKeys[] = {"status", "calibration", "config", "factory-maps", "keymaps", "colors",
                                     "macros", "perf", "dks", "adv-keys", "tgl", "music", "live"};

// Commands the program sends without a CMD_BEGIN / CMD_END bracket.
bool IsUnbracketed(uint8_t command) {
  return command == kInfo || command == kCalibOn || command == kCalibOff || command == kReset;
}

std::string Describe(const char* format, int a, int b = 0, int c = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

// The default key-table entry of a HID usage, as the keyboard stores it.
void DefaultEntry(uint8_t usage, uint8_t* entry) {
  if (usage >= 0xE0 && usage <= 0xE7) {
    entry[0] = 0x10, entry[1] = static_cast<uint8_t>(1u << (usage - 0xE0)), entry[2] = 0;
  } else if (usage == 0xFF) {
    entry[0] = 0xF0, entry[1] = 0xFF, entry[2] = 0;
  } else {
    entry[0] = 0x10, entry[1] = 0, entry[2] = usage;
  }
}

const ModelTable& FindModel(int modelId) {
  for (const ModelTable& model : kModelTables) {
    if (model.modelId == modelId) return model;
  }
  std::fprintf(stderr, "simulated keyboard: no model %d\n", modelId);
  std::abort();
}

}  // namespace

const char* FaultName(FaultKind kind) {
  static const char* const names[kFaultKinds] = {"suppress reply", "delay reply", "wrong marker",
                                                 "wrong command echo", "wrong length echo",
                                                 "wrong offset echo", "fail write", "unsolicited first",
                                                 "corrupt data", "remove device"};
  return names[static_cast<int>(kind)];
}

const char* AreaKey(Area area) { return kAreaKeys[static_cast<int>(area)]; }

bool FindArea(const std::string& key, Area* area) {
  for (size_t i = 0; i < sizeof kAreaKeys / sizeof kAreaKeys[0]; ++i) {
    if (key == kAreaKeys[i]) {
      *area = static_cast<Area>(i);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Device

std::string Device::Path(int interfaceNumber) const {
  for (const InterfaceInfo& info : m_interfaces) {
    if (info.number == interfaceNumber) return info.path;
  }
  return {};
}

void Device::QueueInput(int interfaceNumber, Bytes report, uint32_t delayMs) {
  std::lock_guard<std::recursive_mutex> hold(m_bus->m_lock);
  m_bus->m_queues[{m_id, interfaceNumber}].push_back({std::move(report), m_bus->NowTick() + delayMs});
  m_bus->m_arrived.notify_all();
}

void Device::RemoveSelf() {
  if (!m_present) return;
  m_bus->Detach(*this);
  m_bus->Notify(false, *this);
}

// ---------------------------------------------------------------------------------------------
// Keyboard

Keyboard::Keyboard(const ModelTable& model, const KeyboardOptions& options)
    : m_model(model), m_options(options) {
  pid = options.pid ? options.pid : model.pid;
  release = options.release;
  hasProduct = options.hasProduct;
  std::string name = model.name;
  product = options.product.empty() ? std::wstring(name.begin(), name.end()) : options.product;
  if (m_options.info.empty()) m_options.info = name + ",Mar 15 2024,V1.02";
  m_interfaces = {{0, 0x01, 0x06, 9, 2, {}}, {1, 0xFF60, 0x01, 65, 65, {}}, {2, 0x01, 0x00, 9, 9, {}}};

  for (const AreaSize& size : kAreaSizes) m_factory[size.area] = Bytes(size.size, 0);
  Bytes& maps = m_factory[Area::FactoryMaps];
  Bytes& calibration = m_factory[Area::Calibration];
  Bytes& config = m_factory[Area::Config];
  Bytes& colors = m_factory[Area::Colors];
  Bytes& perf = m_factory[Area::Perf];
  for (int p = 0; p < 3; ++p) {
    uint8_t* block = &config[p * 64];
    for (int i = 0; i < 32; ++i) block[i] = static_cast<uint8_t>(0xC0 + p * 0x20 + i);
    const uint8_t used[] = {0x14, 2, 0, 0x20, 1, 4, 2, 0, 0, 0, 0xFF, 0x80, 0x20};  // bytes 4..16
    std::memcpy(block + 4, used, sizeof used);
  }
  for (int i = 0; i < model.keyCount; ++i) {
    const ModelKey& key = model.keys[i];
    const int k = key.keyIndex;
    calibration[k] = 0xFF;
    for (int layer = 0; layer < 12; ++layer) {
      uint8_t* entry = &maps[layer * 512 + 3 * k];
      if (layer % 4 == 0) {
        DefaultEntry(key.usage, entry);
      } else if (layer % 4 == 1 && key.usage >= 0x1E && key.usage <= 0x2E && key.usage != 0x28 &&
                 key.usage != 0x29 && key.usage != 0x2A && key.usage != 0x2B && key.usage != 0x2C) {
        // Fn layers put F1..F12 on the number row (1..0, -, =).
        const int position = key.usage <= 0x27 ? key.usage - 0x1E : key.usage - 0x2D + 10;
        DefaultEntry(static_cast<uint8_t>(0x3A + position), entry);
      }
    }
    for (int p = 0; p < 3; ++p) {
      uint8_t* color = &colors[p * 512 + 3 * k];
      color[0] = static_cast<uint8_t>(0xFF - key.col * 12);         // red
      color[1] = static_cast<uint8_t>(0x30 + key.row * 0x28);       // green
      color[2] = static_cast<uint8_t>(0x40 + p * 0x50);             // blue
      const uint8_t entry[8] = {1, 0, 59, 0, 4, 0, 4, 0};  // actuation 60, rapid trigger 5 / 5
      std::memcpy(&perf[p * 1024 + 8 * k], entry, sizeof entry);
    }
  }
  ResetToFactory();
}

int Keyboard::ModelId() const { return m_model.modelId; }

void Keyboard::ResetToFactory() {
  m_memory = m_factory;
  m_memory[Area::KeyMaps] = m_factory[Area::FactoryMaps];
  m_calibration = false;
}

Bytes Keyboard::Read(Area area) const {
  std::lock_guard<std::recursive_mutex> hold(m_bus->Lock());
  return area == Area::Live ? LiveColors() : m_memory.at(area);
}

Bytes Keyboard::Factory(Area area) const {
  if (area == Area::KeyMaps) return m_factory.at(Area::FactoryMaps);
  return m_factory.at(area);
}

void Keyboard::Write(Area area, size_t offset, const Bytes& bytes) {
  std::lock_guard<std::recursive_mutex> hold(m_bus->Lock());
  Bytes& memory = m_memory.at(area);
  for (size_t i = 0; i < bytes.size() && offset + i < memory.size(); ++i) memory[offset + i] = bytes[i];
  m_bus->SaveState();
}

bool Keyboard::Restore(Area area, const Bytes& bytes) {
  auto found = m_memory.find(area);
  if (area == Area::Live || found == m_memory.end() || found->second.size() != bytes.size()) return false;
  found->second = bytes;
  return true;
}

void Keyboard::SetActiveProfile(int profile) { Write(Area::Status, 8, {static_cast<uint8_t>(profile)}); }

bool Keyboard::CalibrationOn() const {
  std::lock_guard<std::recursive_mutex> hold(m_bus->Lock());
  return m_calibration;
}

int Keyboard::Depth() const {
  std::lock_guard<std::recursive_mutex> hold(m_bus->Lock());
  return m_depth;
}

void Keyboard::SetInfoText(const std::string& text) {
  std::lock_guard<std::recursive_mutex> hold(m_bus->Lock());
  m_options.info = text;
}

void Keyboard::AddFault(const FaultRule& rule) {
  std::lock_guard<std::recursive_mutex> hold(m_bus->Lock());
  m_faults.push_back(rule);
}

void Keyboard::ClearFaults() {
  std::lock_guard<std::recursive_mutex> hold(m_bus->Lock());
  m_faults.clear();
}

Bytes Keyboard::LiveColors() const {
  const Bytes& status = m_memory.at(Area::Status);
  const int p = std::min<int>(status[8], 2);
  const Bytes& colors = m_memory.at(Area::Colors);
  return Bytes(colors.begin() + p * 512, colors.begin() + p * 512 + 384);
}

void Keyboard::QueueTravel(uint8_t type, uint8_t b1, uint8_t b2, uint16_t travel, uint16_t fullTravel) {
  Bytes report(64, 0);
  report[0] = 0xA0, report[1] = type, report[2] = b1, report[3] = b2;
  report[6] = static_cast<uint8_t>(travel >> 8), report[7] = static_cast<uint8_t>(travel);
  report[14] = static_cast<uint8_t>(fullTravel >> 8), report[15] = static_cast<uint8_t>(fullTravel);
  QueueRaw(report);
}

void Keyboard::QueueLayerState(int fnLayer, int profile) {
  Bytes report(64, 0);
  report[0] = 0xA1, report[1] = static_cast<uint8_t>(fnLayer), report[2] = static_cast<uint8_t>(profile);
  QueueRaw(report);
}

void Keyboard::QueueProfileSwitched() {
  Bytes report(64, 0);
  report[0] = 0xA2;
  QueueRaw(report);
}

void Keyboard::QueueRaw(const Bytes& report) { QueueInput(1, report); }

void Keyboard::SetInterfaceHandler(int interfaceNumber, InterfaceHandler handler) {
  std::lock_guard<std::recursive_mutex> hold(m_bus->Lock());
  m_handlers[interfaceNumber] = std::move(handler);
}

bool Keyboard::OnWrite(int interfaceNumber, const Bytes& report, Frame& frame) {
  auto handler = m_handlers.find(interfaceNumber);
  if (handler != m_handlers.end() && handler->second) {
    handler->second(*this, interfaceNumber, report);
    return true;
  }
  if (interfaceNumber != 1) return true;  // logged, nothing answers

  frame.command = report[2];
  frame.length = report[5];
  frame.offset = report[6] | (report[7] << 8);
  // Faults that act before the keyboard sees the frame.
  FaultRule* applied = nullptr;
  for (FaultRule& rule : m_faults) {
    if (rule.command >= 0 && rule.command != frame.command) continue;
    ++rule.seen;
    if (rule.seen < std::max(rule.nth, 1)) continue;
    if (rule.times >= 0 && rule.applied >= rule.times) continue;
    ++rule.applied;
    applied = &rule;
    break;
  }
  if (applied) frame.fault = FaultName(applied->kind);
  if (applied && applied->kind == FaultKind::FailWrite) return false;

  Bytes reply = HandleCommand(report, frame);
  frame.payload.assign(report.begin() + 9, report.begin() + 9 + std::min(std::max(frame.length, 0), kMaxPayload));

  if (applied && applied->kind == FaultKind::RemoveDevice) {
    RemoveSelf();
    return true;
  }
  const bool silent = m_bus->NowTick() < m_silentUntil && frame.command != kReset;
  if (reply.empty() || silent || (m_options.strict && !frame.problems.empty()) ||
      (applied && applied->kind == FaultKind::SuppressReply)) {
    if (silent) frame.fault = frame.fault.empty() ? "rebooting" : frame.fault;
    return true;
  }
  uint32_t delay = 0;
  if (applied) {
    Bytes bad = reply;
    bool sendBad = true;
    switch (applied->kind) {
      case FaultKind::DelayReply: delay = applied->delayMs; sendBad = false; break;
      case FaultKind::WrongMarker: bad[0] = 0xAB; break;
      case FaultKind::WrongCommandEcho: bad[1] = static_cast<uint8_t>(bad[1] + 1); break;
      case FaultKind::WrongLengthEcho: bad[4] = static_cast<uint8_t>(bad[4] + 1); break;
      case FaultKind::WrongOffsetEcho: bad[5] = static_cast<uint8_t>(bad[5] + 1); break;
      case FaultKind::CorruptData:
        for (size_t i = 8; i < bad.size(); ++i) bad[i] = static_cast<uint8_t>(~bad[i]);
        break;
      case FaultKind::UnsolicitedFirst:
        for (int i = 0; i < applied->count; ++i) {
          Bytes layer(64, 0);
          layer[0] = 0xA1, layer[2] = m_memory[Area::Status][8];
          QueueInput(1, layer);
        }
        sendBad = false;
        break;
      default: sendBad = false; break;
    }
    if (sendBad) {
      QueueInput(1, bad);
      frame.replied = true;
      if (!applied->thenCorrect) return true;
    }
  }
  QueueInput(1, reply, delay);
  frame.replied = true;
  return true;
}

// Checks and executes one configuration frame; returns the reply (64 bytes; empty for none).
Bytes Keyboard::HandleCommand(const Bytes& report, Frame& frame) {
  const uint8_t command = report[2];
  const int length = report[5];
  const int offset = frame.offset;
  unsigned sum = 0;
  for (size_t i = 5; i < report.size() && i <= 64; ++i) sum += report[i];
  frame.checksumOk = (sum & 0xFF) == report[4];
  if (report[1] != 0x55) frame.problems.push_back(Describe("marker 0x%02X instead of 0x55", report[1]));
  if (!frame.checksumOk) {
    frame.problems.push_back(Describe("checksum 0x%02X, bytes 5..64 sum to 0x%02X", report[4], sum & 0xFF));
  }
  if (length > kMaxPayload) frame.problems.push_back(Describe("length %d above 56", length));
  if (report[3] != 0 || report[8] != 0) {
    frame.problems.push_back(Describe("bytes 3 and 8 must be 0 (0x%02X, 0x%02X)", report[3], report[8]));
  }
  for (int i = 9 + std::min(length, kMaxPayload); i < kReportLength; ++i) {
    if (report[i] != 0) {
      frame.problems.push_back(Describe("payload byte %d beyond the length %d is not 0", i, length));
      break;
    }
  }
  if (!IsUnbracketed(command) && command != kBegin && command != kEnd && m_depth == 0) {
    frame.problems.push_back(Describe("command 0x%02X outside CMD_BEGIN / CMD_END", command));
  }

  Bytes reply(64, 0);
  reply[0] = 0xAA;
  reply[1] = command;
  for (int i = 0; i < 4; ++i) reply[4 + i] = report[5 + i];
  const int used = std::min(length, kMaxPayload);

  bool changed = false;
  auto area = [&](Area which, bool read) {
    changed = changed || (!read && which != Area::Music);
    const size_t size = m_memory.at(which).size();
    if (static_cast<size_t>(offset) + used > size) {
      char text[160];
      std::snprintf(text, sizeof text, "command 0x%02X: offset %d + length %d outside the %s area (%zu bytes)",
                    command, offset, length, AreaName(which), size);
      frame.problems.push_back(text);
    }
    Bytes source = which == Area::Live ? LiveColors() : Bytes();
    Bytes& memory = which == Area::Live ? source : m_memory.at(which);
    for (int i = 0; i < used && static_cast<size_t>(offset + i) < memory.size(); ++i) {
      if (read) {
        reply[8 + i] = memory[offset + i];
      } else {
        memory[offset + i] = report[9 + i];
      }
    }
  };

  switch (command) {
    case kBegin:
      ++m_depth;
      break;
    case kEnd:
      if (m_depth == 0) {
        frame.problems.push_back("CMD_END at bracket depth 0");
      } else {
        --m_depth;
      }
      break;
    case kInfo: {
      const size_t n = std::min<size_t>(m_options.info.size(), kMaxPayload);
      reply[4] = static_cast<uint8_t>(m_options.info.size());
      reply[5] = static_cast<uint8_t>(m_options.info.size() >> 8);
      std::memcpy(&reply[8], m_options.info.data(), n);
      break;
    }
    case kReadStatus:
      area(length == 16 && offset == 0 ? Area::Status : Area::Calibration, true);
      break;
    case kCalibOn:
    case kCalibOff:
      m_calibration = command == kCalibOn;
      break;
    case kReset:
      ResetToFactory();
      m_depth = 0;
      m_silentUntil = m_bus->NowTick() + m_options.resetSilenceMs;
      changed = true;
      break;
    default: {
      const CommandArea* known = nullptr;
      for (const CommandArea& entry : kCommandAreas) {
        if (entry.command == command) known = &entry;
      }
      if (!known) {
        frame.problems.push_back(Describe("unknown command 0x%02X", command));
        reply.clear();
        break;
      }
      area(known->area, known->read);
      break;
    }
  }
  frame.depth = m_depth;
  if (changed) m_bus->SaveState();
  return reply;
}

// ---------------------------------------------------------------------------------------------
// Bus

Bus::Bus() : m_epoch(NowTick()) {}
Bus::~Bus() = default;

Bus& Bus::Get() {
  static Bus bus;
  return bus;
}

uint64_t Bus::NowTick() const {
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t Bus::NowMs() const { return static_cast<uint32_t>(NowTick() - m_epoch); }

void Bus::Reset() {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  for (auto& handle : m_handles) handle->removed = true, handle->device = nullptr;
  m_devices.clear();
  m_later.clear();
  m_queues.clear();
  m_frames.clear();
  m_problems.clear();
  m_unopenable.clear();
  m_listener = nullptr;
  m_stateFile.clear();
  m_stateRecords.clear();
  m_failInit = 0;
  m_arrived.notify_all();
}

Keyboard& Bus::PlugKeyboard(int modelId, const KeyboardOptions& options) {
  auto keyboard = std::make_unique<Keyboard>(FindModel(modelId), options);
  Keyboard& result = *keyboard;
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  for (const auto& device : m_devices) {
    const auto* other = dynamic_cast<const Keyboard*>(device.get());
    if (other && other->ModelId() == modelId) ++result.m_ordinal;
  }
  result.m_bus = this;
  LoadState(result);
  Plug(std::move(keyboard));
  return result;
}

std::vector<std::string> Bus::Plug(std::unique_ptr<Device> device) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  device->m_bus = this;
  device->m_id = m_nextId++;
  Device& plugged = *device;
  m_devices.push_back(std::move(device));
  return Replug(plugged);
}

void Bus::PlugLater(std::unique_ptr<Device> device, uint32_t delayMs) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  m_later.emplace_back(NowTick() + delayMs, std::move(device));
}

void Bus::Attach(Device& device) {
  // Windows-style interface paths, lower case, unique per plugging.
  static int instance = 0x1A2B;
  ++instance;
  for (InterfaceInfo& info : device.m_interfaces) {
    char path[200];
    std::snprintf(path, sizeof path,
                  "\\\\?\\hid#vid_%04x&pid_%04x&mi_%02d#7&%x&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                  device.vid, device.pid, info.number, instance);
    info.path = path;
  }
  device.m_present = true;
}

void Bus::Detach(Device& device) {
  device.m_present = false;
  for (auto& handle : m_handles) {
    if (handle->device == &device) handle->removed = true;
  }
  for (const InterfaceInfo& info : device.m_interfaces) m_queues.erase({device.m_id, info.number});
  m_arrived.notify_all();
}

std::vector<std::string> Bus::Unplug(Device& device) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  const bool wasPresent = device.m_present;
  Detach(device);
  if (wasPresent) Notify(false, device);
  std::vector<std::string> paths;
  for (const InterfaceInfo& info : device.m_interfaces) paths.push_back(info.path);
  return paths;
}

std::vector<std::string> Bus::Replug(Device& device) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  if (device.m_present) {
    Detach(device);
    Notify(false, device);
  }
  Attach(device);
  Notify(true, device);
  std::vector<std::string> paths;
  for (const InterfaceInfo& info : device.m_interfaces) paths.push_back(info.path);
  return paths;
}

void Bus::Notify(bool arrived, const Device& device) {
  if (!m_listener) return;
  std::vector<std::string> paths;
  for (const InterfaceInfo& info : device.m_interfaces) paths.push_back(info.path);
  m_listener(arrived, paths);
}

std::vector<Device*> Bus::Devices() const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  std::vector<Device*> devices;
  for (const auto& device : m_devices) devices.push_back(device.get());
  return devices;
}

Device* Bus::Find(int id) const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  for (const auto& device : m_devices) {
    if (device->m_id == id) return device.get();
  }
  return nullptr;
}

void Bus::SetChangeListener(ChangeListener listener) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  m_listener = std::move(listener);
}

void Bus::FailInit(int times) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  m_failInit = times;
}

int Bus::InitCalls() const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  return m_initCalls;
}

int Bus::ExitCalls() const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  return m_exitCalls;
}

void Bus::SetUnopenable(const std::string& path, bool unopenable) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  m_unopenable.erase(std::remove(m_unopenable.begin(), m_unopenable.end(), path), m_unopenable.end());
  if (unopenable) m_unopenable.push_back(path);
}

bool Bus::IsOpen(const hid_device_* handle) const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  for (const auto& open : m_handles) {
    if (open.get() == handle) return true;
  }
  return false;
}

int Bus::OpenHandleCount(const std::string& path) const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  return static_cast<int>(std::count_if(m_handles.begin(), m_handles.end(),
                                        [&](const auto& handle) { return handle->path == path; }));
}

int Bus::CloseCount() const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  return m_closeCount;
}

size_t Bus::Mark() const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  return m_frames.size();
}

std::vector<Frame> Bus::FramesSince(size_t mark) const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  if (mark >= m_frames.size()) return {};
  return std::vector<Frame>(m_frames.begin() + static_cast<std::ptrdiff_t>(mark), m_frames.end());
}

std::vector<std::string> Bus::Problems() const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  return m_problems;
}

void Bus::ClearLog() {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  m_frames.clear();
  m_problems.clear();
}

const InterfaceInfo* Bus::FindPath(const std::string& path, Device** device) const {
  for (const auto& candidate : m_devices) {
    if (!candidate->m_present) continue;
    for (const InterfaceInfo& info : candidate->m_interfaces) {
      if (info.path == path) {
        *device = candidate.get();
        return &info;
      }
    }
  }
  return nullptr;
}

int Bus::HidInit() {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  ++m_initCalls;
  if (m_failInit > 0) {
    --m_failInit;
    return -1;
  }
  return 0;
}

int Bus::HidExit() {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  ++m_exitCalls;
  return 0;
}

static wchar_t* CopyWide(const std::wstring& text) {
  wchar_t* copy = static_cast<wchar_t*>(std::calloc(text.size() + 1, sizeof(wchar_t)));
  std::wmemcpy(copy, text.c_str(), text.size());
  return copy;
}

hid_device_info* Bus::Enumerate(unsigned short vid, unsigned short pid) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  for (auto later = m_later.begin(); later != m_later.end();) {
    if (later->first > NowTick()) {
      ++later;
      continue;
    }
    Plug(std::move(later->second));
    later = m_later.erase(later);
  }
  hid_device_info* first = nullptr;
  hid_device_info** next = &first;
  for (const auto& device : m_devices) {
    if (!device->m_present || (vid && device->vid != vid) || (pid && device->pid != pid)) continue;
    for (const InterfaceInfo& info : device->m_interfaces) {
      auto* item = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
      item->path = _strdup(info.path.c_str());
      item->vendor_id = device->vid;
      item->product_id = device->pid;
      item->serial_number = CopyWide(L"");
      item->release_number = device->release;
      item->manufacturer_string = CopyWide(L"TAVIR");
      item->product_string = device->hasProduct ? CopyWide(device->product) : nullptr;
      item->usage_page = info.usagePage;
      item->usage = info.usage;
      item->interface_number = info.number;
      item->bus_type = HID_API_BUS_USB;
      *next = item;
      next = &item->next;
    }
  }
  return first;
}

hid_device_* Bus::Open(const char* path) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  Device* device = nullptr;
  const InterfaceInfo* info = path ? FindPath(path, &device) : nullptr;
  if (!info || std::find(m_unopenable.begin(), m_unopenable.end(), path) != m_unopenable.end()) {
    return nullptr;
  }
  m_handles.push_back(std::unique_ptr<hid_device_>(new hid_device_{device, info->number, path, false}));
  return m_handles.back().get();
}

int Bus::Write(hid_device_* handle, const unsigned char* data, size_t length) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  if (!handle || !IsOpen(handle) || handle->removed || !data || length == 0) return -1;
  Device& device = *handle->device;
  const InterfaceInfo* info = nullptr;
  for (const InterfaceInfo& candidate : device.m_interfaces) {
    if (candidate.number == handle->interfaceNumber) info = &candidate;
  }
  // hidapi pads a short write to the output report length and reports that length written.
  Bytes report(data, data + length);
  if (report.size() < static_cast<size_t>(info->outputLength)) report.resize(info->outputLength, 0);
  Frame frame;
  frame.timeMs = NowMs();
  frame.device = device.Id();
  frame.interfaceNumber = info->number;
  frame.raw = report;
  const bool ok = device.OnWrite(handle->interfaceNumber, report, frame);
  for (const std::string& problem : frame.problems) {
    AddProblem(Describe("device %d MI_%02d frame %d: ", device.Id(), frame.interfaceNumber,
                        static_cast<int>(m_frames.size())) + problem);
  }
  m_frames.push_back(std::move(frame));
  return ok ? static_cast<int>(report.size()) : -1;
}

int Bus::Read(hid_device_* handle, unsigned char* data, size_t length, int timeoutMs) {
  std::unique_lock<std::recursive_mutex> hold(m_lock);
  if (!handle || !IsOpen(handle) || !data) return -1;
  // A negative time-out means "wait for ever" in hidapi; bound it so a test cannot hang.
  const uint64_t deadline = NowTick() + static_cast<uint64_t>(timeoutMs < 0 ? 60000 : timeoutMs);
  for (;;) {
    if (handle->removed) return -1;
    auto& queue = m_queues[{handle->device->Id(), handle->interfaceNumber}];
    const uint64_t now = NowTick();
    if (!queue.empty() && queue.front().visibleAt <= now) {
      Bytes report = std::move(queue.front().report);
      queue.pop_front();
      int inputLength = 0;
      for (const InterfaceInfo& info : handle->device->m_interfaces) {
        if (info.number == handle->interfaceNumber) inputLength = info.inputLength;
      }
      const size_t n = std::min({length, report.size(), static_cast<size_t>(std::max(inputLength - 1, 0))});
      std::memcpy(data, report.data(), n);
      return static_cast<int>(n);
    }
    if (now >= deadline) return 0;
    uint64_t wakeAt = deadline;
    if (!queue.empty()) wakeAt = std::min(wakeAt, queue.front().visibleAt);
    m_arrived.wait_for(hold, std::chrono::milliseconds(wakeAt - now));
  }
}

void Bus::Close(hid_device_* handle) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  auto found = std::find_if(m_handles.begin(), m_handles.end(),
                            [&](const auto& open) { return open.get() == handle; });
  if (found == m_handles.end()) {
    AddProblem("hid_close of a handle that is not open");
    return;
  }
  m_handles.erase(found);
  ++m_closeCount;
}

int Bus::ReportLengths(const char* path, int* input, int* output) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  Device* device = nullptr;
  const InterfaceInfo* info = path ? FindPath(path, &device) : nullptr;
  if (!info || std::find(m_unopenable.begin(), m_unopenable.end(), path) != m_unopenable.end()) return -1;
  if (input) *input = info->inputLength;
  if (output) *output = info->outputLength;
  return 0;
}

void Bus::AddProblem(const std::string& problem) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  m_problems.push_back(problem);
}

}  // namespace simkb
