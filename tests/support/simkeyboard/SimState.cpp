// The simulated keyboards' state file (see SimKeyboard.h): one text record per keyboard,
//   tavir simulated keyboards 1
//   keyboard <model> <ordinal>
//   <area key> <hex of the whole area>
// loaded when a keyboard is plugged and written whole after every change of memory.
#include <windows.h>

#include <cstdio>
#include <sstream>

#include "simkeyboard/SimKeyboard.h"

namespace simkb {

namespace {

constexpr char kStateHeader[] = "tavir simulated keyboards 1";

// The areas a record keeps: the factory maps never change, music frames and live colours are
// passing display data.
bool Kept(Area area) { return area != Area::FactoryMaps && area != Area::Music && area != Area::Live; }

std::string ReadWholeFile(const std::wstring& path, bool* found) {
  std::string text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  *found = file != INVALID_HANDLE_VALUE;
  if (!*found) return text;
  char buffer[16384];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

// Writes beside the file and moves it into place, so the file is never half written.
bool ReplaceWholeFile(const std::wstring& path, const std::string& text) {
  const std::wstring temporary = path + L".new";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  CloseHandle(file);
  return ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace

std::string ToHex(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text(bytes.size() * 2, '0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    text[2 * i] = digits[bytes[i] >> 4];
    text[2 * i + 1] = digits[bytes[i] & 15];
  }
  return text;
}

bool FromHex(const std::string& text, Bytes* bytes) {
  const auto value = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (text.size() % 2) return false;
  Bytes result(text.size() / 2);
  for (size_t i = 0; i < result.size(); ++i) {
    const int high = value(text[2 * i]), low = value(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    result[i] = static_cast<uint8_t>(high << 4 | low);
  }
  *bytes = std::move(result);
  return true;
}

void Bus::SetStateFile(const std::wstring& path) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  m_stateFile = path;
  m_stateRecords.clear();
  if (path.empty()) return;
  bool found = false;
  std::istringstream text(ReadWholeFile(path, &found));
  std::string line;
  if (!found) return;
  if (!std::getline(text, line) || line != kStateHeader) {
    AddProblem("state file: not a state file, starting from the factory state");
    return;
  }
  std::vector<std::string>* record = nullptr;
  for (int number = 2; std::getline(text, line); ++number) {
    int model = 0, ordinal = 0;
    char rest = 0;
    if (std::sscanf(line.c_str(), "keyboard %d %d%c", &model, &ordinal, &rest) == 2) {
      record = &m_stateRecords[{model, ordinal}];
      record->clear();
    } else if (record && !line.empty()) {
      record->push_back(line);
    } else if (!line.empty()) {
      AddProblem("state file line " + std::to_string(number) + ": outside a keyboard record");
    }
  }
}

std::wstring Bus::StateFile() const {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  return m_stateFile;
}

void Bus::LoadState(Keyboard& keyboard) {
  auto found = m_stateRecords.find({keyboard.ModelId(), keyboard.Ordinal()});
  if (m_stateFile.empty() || found == m_stateRecords.end()) return;
  for (const std::string& line : found->second) {
    const size_t space = line.find(' ');
    Area area;
    Bytes bytes;
    if (space == std::string::npos || !FindArea(line.substr(0, space), &area) || !Kept(area) ||
        !FromHex(line.substr(space + 1), &bytes) || !keyboard.Restore(area, bytes)) {
      AddProblem("state file: keyboard " + std::to_string(keyboard.ModelId()) + " record line \"" +
                 line.substr(0, 40) + "\" ignored");
    }
  }
}

void Bus::SaveState() {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  if (m_stateFile.empty()) return;
  for (const auto& device : m_devices) {
    const auto* keyboard = dynamic_cast<const Keyboard*>(device.get());
    if (!keyboard) continue;
    std::vector<std::string>& record = m_stateRecords[{keyboard->ModelId(), keyboard->Ordinal()}];
    record.clear();
    for (int i = 0; i <= static_cast<int>(Area::Live); ++i) {
      const Area area = static_cast<Area>(i);
      if (Kept(area)) record.push_back(std::string(AreaKey(area)) + " " + ToHex(keyboard->m_memory.at(area)));
    }
  }
  std::string text = std::string(kStateHeader) + "\n";
  for (const auto& [key, lines] : m_stateRecords) {
    text += "keyboard " + std::to_string(key.first) + " " + std::to_string(key.second) + "\n";
    for (const std::string& line : lines) text += line + "\n";
  }
  if (!ReplaceWholeFile(m_stateFile, text)) AddProblem("state file: could not be written");
}

}  // namespace simkb
