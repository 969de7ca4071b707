#include "DeviceLinkFixture.h"

namespace testsupport {

const simkb::ModelTable& SimModel(int modelId) {
  for (const simkb::ModelTable& model : simkb::kModelTables) {
    if (model.modelId == modelId) return model;
  }
  return simkb::kModelTables[0];
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A device-interface broadcast of WM_DEVICECHANGE for a path.
std::vector<uint8_t> Broadcast(const std::string& path) {
  const std::wstring name = Wide(path);
  std::vector<uint8_t> bytes(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + name.size() * sizeof(wchar_t), 0);
  auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
  header->dbcc_size = static_cast<DWORD>(bytes.size());
  header->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  wcscpy(header->dbcc_name, name.c_str());
  return bytes;
}

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

}  // namespace testsupport
