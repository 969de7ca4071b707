#include "DeviceLinkFixture.h"

#include "RawDb.h"
#include "simkeyboard/SimControl.h"

namespace testsupport {

const simkb::ModelTable& SimModel(int modelId) {
  for (const simkb::ModelTable& model : simkb::kModelTables) {
    if (model.modelId == modelId) return model;
  }
  return simkb::kModelTables[0];
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A device-interface broadcast of WM_DEVICECHANGE for a path, as the simulator sends it.
std::vector<uint8_t> Broadcast(const std::string& path) { return simkb::DeviceBroadcast(path); }

const DEV_BROADCAST_HDR* Header(const std::vector<uint8_t>& bytes) {
  return reinterpret_cast<const DEV_BROADCAST_HDR*>(bytes.data());
}

std::vector<int> Drain(DeviceLink& link) {
  std::vector<int> ids;
  int id;
  while (link.TakeTask(&id)) ids.push_back(id);
  return ids;
}

// The last recorded call of a name (an empty call when there is none).
LinkCall Last(RecordingDeviceLink& link, const std::string& name) {
  LinkCall found;
  for (const LinkCall& call : link.Log()->Calls()) {
    if (call.name == name) found = call;
  }
  return found;
}

int Count(RecordingDeviceLink& link, const std::string& name) {
  int count = 0;
  for (const LinkCall& call : link.Log()->Calls()) count += call.name == name;
  return count;
}

simkb::Bytes Slice(const simkb::Bytes& bytes, size_t offset, size_t length) {
  return simkb::Bytes(bytes.begin() + offset, bytes.begin() + offset + length);
}

simkb::Keyboard& DeviceLinkFixture::Connect() {
  simkb::Keyboard& keyboard = simkb::Bus::Get().PlugKeyboard(101);
  RecordingDeviceLink& link = NewLink();
  link.SetReal({"GetDeviceProfile", "PollLiveColors", "ReadKeyPerfFromDevice", "ReadLightFromDevice"});
  link.SetAction("RefreshProfiles", [&link] { link.ReadKeyMapsFromDevice(); });
  link.OpenDevice();
  link.UpdateConnectionState(0);
  Drain(link);
  link.Log()->Clear();
  return keyboard;
}

std::vector<std::string> DeviceLinkFixture::Dump() {
  RawDb raw(DbFile());
  std::vector<std::string> dump;
  for (const auto& table : raw.Rows("SELECT name FROM sqlite_master WHERE type='table' AND name LIKE 't\\_%' "
                                    "ESCAPE '\\' ORDER BY name")) {
    std::string columns;
    for (const auto& column : raw.Rows("PRAGMA table_info(" + table[0] + ")")) {
      if (column[5] != "0") continue;  // the primary key
      columns += (columns.empty() ? "" : ", ") + column[1];
    }
    for (const auto& row : raw.Rows("SELECT " + columns + " FROM " + table[0] + " ORDER BY " + columns)) {
      std::string line = table[0] + ":";
      for (const std::string& value : row) line += " " + value;
      dump.push_back(line);
    }
  }
  return dump;
}

std::vector<simkb::Frame> DeviceLinkFixture::FramesOf(size_t mark, int command) {
  std::vector<simkb::Frame> frames;
  for (const simkb::Frame& frame : simkb::Bus::Get().FramesSince(mark)) {
    if (frame.command == command) frames.push_back(frame);
  }
  return frames;
}

}  // namespace testsupport
