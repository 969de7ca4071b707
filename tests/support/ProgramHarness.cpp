#include "ProgramHarness.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <regex>

#include "ControlHost.h"
#include "EnvironmentBlock.h"
#include "FileProbe.h"
#include "MessagePump.h"
#include "UserValues.h"
#include "WindowSearch.h"

namespace testsupport {

namespace {

constexpr wchar_t kProgramFile[] = L"TAVIR KEYBOARD.exe";
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kKeyboardsVariable[] = L"TAVIR_SIM_KEYBOARDS";
constexpr UINT kKilledCode = 0xDEAD;

std::atomic<int> g_serial{0};

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The staged program folder with the simulated keyboard: build/<arch>/program-sim, beside the
// test executables' folder build/<arch>/bin.
std::wstring StagedProgramFolder() {
  wchar_t module[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, module, ARRAYSIZE(module));
  std::wstring folder = module;
  folder.erase(folder.rfind(L'\\') + 1);
  return folder + L"..\\program-sim\\";
}

// Copies a folder's content into an existing folder. Files are hard-linked where the file
// system allows it (nothing in the copy is written in place), else copied.
bool CopyTree(const std::wstring& from, const std::wstring& to) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((from + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ok = CreateDirectoryW((to + name).c_str(), nullptr) && CopyTree(from + name + L"\\", to + name + L"\\") && ok;
    } else if (!CreateHardLinkW((to + name).c_str(), (from + name).c_str(), nullptr)) {
      ok = CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) && ok;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return ok;
}

bool WriteText(const std::wstring& path, const std::string& text) {
  DeleteFileW(path.c_str());  // a hard link: the staged file stays as it is
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  CloseHandle(file);
  return ok;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The program's per-user data folder under a device name, ending in a backslash.
std::wstring DataFolderOf(const std::wstring& name) {
  wchar_t base[MAX_PATH + 1] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
  return std::wstring(base) + L"\\" + name + L" Files\\";
}

COLORREF ScreenPixel(POINT screen) {
  HDC dc = GetDC(nullptr);
  if (!dc) return CLR_INVALID;
  const COLORREF colour = GetPixel(dc, screen.x, screen.y);
  ReleaseDC(nullptr, dc);
  return colour;
}

}  // namespace

ProgramHarness::ProgramHarness() : m_folder(L"_Programm_键盘_é") {
  wchar_t name[64];
  swprintf(name, ARRAYSIZE(name), L"TavirProgram %lu-%d", GetCurrentProcessId(), ++g_serial);
  m_ownName = name;
  m_deviceName = m_ownName;
  if (!CopyTree(StagedProgramFolder(), ProgramFolder())) ADD_FAILURE() << "the staged program-sim folder was not copied";
  SetConfigFile(ConfigFile::Own);
}

ProgramHarness::~ProgramHarness() {
  for (size_t i = 0; i < m_instances.size(); ++i) {
    Kill(static_cast<int>(i));
    CloseHandle(m_instances[i].process);
  }
  for (const Trace& trace : m_traces) {
    if (!trace.keyExisted) {
      RegDeleteTreeW(HKEY_CURRENT_USER, (L"SOFTWARE\\" + trace.name).c_str());
      RegDeleteKeyW(HKEY_CURRENT_USER, (L"SOFTWARE\\" + trace.name).c_str());
    }
    if (!trace.folderExisted) {
      const std::wstring folder = DataFolderOf(trace.name);
      DeleteTree(folder.substr(0, folder.size() - 1));
    }
  }
  for (const std::wstring& name : m_runValues) RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, name.c_str());
}

void ProgramHarness::SetConfigFile(ConfigFile kind) {
  const std::wstring path = ProgramFolder() + L"config.xml";
  m_deviceName = kind == ConfigFile::Own ? m_ownName : kFallbackName;
  switch (kind) {
    case ConfigFile::Own: {
      const std::string name(m_ownName.begin(), m_ownName.end());  // ASCII by construction
      WriteText(path,
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n<language.info default_lan=\"1033\">\n"
                "<lan value=\"1033\"/>\n<lan value=\"2052\"/>\n</language.info>\n<software name=\"" +
                    name +
                    "\" version=\"1.0.0.1\">\n<website url=\"https://www.example.com/\"/>\n"
                    "<store url=\"https://store.example.com/\"/>\n"
                    "<upgrade url=\"https://download.example.com/software-upgrade/\"/>\n</software>\n</config>\n");
      break;
    }
    case ConfigFile::Missing:
      DeleteFileW(path.c_str());
      break;
    case ConfigFile::NotXml:
      WriteText(path, "this is no <config");
      break;
  }
}

void ProgramHarness::RemoveFromProgram(const std::wstring& relative) { DeleteTree(ProgramFolder() + relative); }

std::wstring ProgramHarness::KeyPath() const { return L"SOFTWARE\\" + m_deviceName; }

std::optional<std::wstring> ProgramHarness::ReadValue(const wchar_t* value) const {
  return ReadUserValue(KeyPath(), value);
}

void ProgramHarness::WriteValue(const wchar_t* value, const wchar_t* text) const {
  WriteUserValue(KeyPath(), value, text);
}

void ProgramHarness::DeleteValue(const wchar_t* value) const {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, KeyPath().c_str(), value);
}

void ProgramHarness::SetRunValue(bool present) {
  if (present) {
    m_runValues.insert(m_deviceName);
    const std::wstring command = L"\"" + ProgramFolder() + kProgramFile + L"\" -autorun";
    WriteUserValue(kRunKey, m_deviceName.c_str(), command.c_str());
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, m_deviceName.c_str());
  }
}

std::wstring ProgramHarness::DataFolder() const { return DataFolderOf(m_deviceName); }

bool ProgramHarness::PlantDataFile(const std::wstring& relative) const {
  const std::wstring path = DataFolder() + relative;
  for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
  return WriteText(path, "");
}

std::vector<std::wstring> ProgramHarness::DatabaseFiles() const {
  std::vector<std::wstring> files;
  const std::wstring folder = DataFolder() + L"db\\";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*.db").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files.push_back(folder + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return files;
}

void ProgramHarness::Remember(const std::wstring& name) {
  for (const Trace& trace : m_traces) {
    if (trace.name == name) return;
  }
  HKEY key = nullptr;
  const bool keyExisted =
      RegOpenKeyExW(HKEY_CURRENT_USER, (L"SOFTWARE\\" + name).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (key) RegCloseKey(key);
  // Our own name is always the test's: whatever is left from an earlier run goes too.
  const bool own = name == m_ownName;
  m_traces.push_back({name, keyExisted && !own, Exists(DataFolderOf(name)) && !own});
}

int ProgramHarness::Start(const std::wstring& arguments) {
  Remember(m_deviceName);
  std::wstring commandLine = L"\"" + ProgramFolder() + kProgramFile + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  EnvironmentVariables variables = m_environment;
  variables.emplace_back(kKeyboardsVariable, Widen(m_keyboards));
  std::vector<wchar_t> environment = EnvironmentWith(variables);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                      environment.data(), ProgramFolder().c_str(), &startup, &info)) {
    return -1;
  }
  CloseHandle(info.hThread);
  m_instances.push_back({info.hProcess, info.dwProcessId});
  return static_cast<int>(m_instances.size()) - 1;
}

bool ProgramHarness::IsRunning(int instance) const {
  if (instance < 0 || instance >= static_cast<int>(m_instances.size())) return false;
  return WaitForSingleObject(m_instances[instance].process, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ProgramHarness::WaitForExit(DWORD timeoutMs, int instance) {
  if (instance < 0 || instance >= static_cast<int>(m_instances.size())) return std::nullopt;
  if (!PumpUntil([&] { return !IsRunning(instance); }, timeoutMs)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(m_instances[instance].process, &code);
  return code;
}

void ProgramHarness::Kill(int instance) {
  if (!IsRunning(instance)) return;
  TerminateProcess(m_instances[instance].process, kKilledCode);
  WaitForSingleObject(m_instances[instance].process, 10000);
}

HWND ProgramHarness::WaitForWindow(DWORD timeoutMs, int instance) {
  if (instance < 0 || instance >= static_cast<int>(m_instances.size())) return nullptr;
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  HWND found = nullptr;
  PumpUntil(
      [&] {
        found = FindProcessWindow(m_instances[instance].id, L"MWindow", m_deviceName.c_str());
        return found != nullptr || !IsRunning(instance);
      },
      timeoutMs);
  // The window exists from its creation on; its start (region, place, first task) is done
  // once the program waits for input in its main loop.
  if (found) {
    const ULONGLONG now = GetTickCount64();
    WaitForInputIdle(m_instances[instance].process, now < deadline ? static_cast<DWORD>(deadline - now) : 0);
  }
  m_window = found;
  return m_window;
}

std::vector<PictureKey> ProgramHarness::PictureKeys(const std::wstring& layout, POINT pictureOrigin) const {
  const std::string text = ReadFileBytes(ProgramFolder() + L"layouts\\" + layout + L".xml");
  const std::regex key(
      "<key code=\"([0-9A-Fa-f]+)\"[^>]*key_index=\"(\\d+)\"[^>]*rect_left=\"(\\d+)\" rect_top=\"(\\d+)\" "
      "rect_width=\"(\\d+)\" rect_height=\"(\\d+)\"(?: row_col=\"(\\d+),(\\d+)\")?");
  std::vector<PictureKey> keys;
  for (std::sregex_iterator it(text.begin(), text.end(), key), end; it != end; ++it) {
    const std::smatch& m = *it;
    const int left = pictureOrigin.x + std::stoi(m[3]), top = pictureOrigin.y + std::stoi(m[4]);
    keys.push_back(
        {std::stoi(m[1], nullptr, 16), std::stoi(m[2]), {left, top, left + std::stoi(m[5]), top + std::stoi(m[6])}});
    if (m[7].matched) keys.back().row = std::stoi(m[7]), keys.back().col = std::stoi(m[8]);
  }
  return keys;
}

POINT KeyCentre(const std::vector<PictureKey>& keys, int code) {
  for (const PictureKey& key : keys) {
    if (key.code == code) return {(key.rect.left + key.rect.right) / 2, (key.rect.top + key.rect.bottom) / 2};
  }
  return {-1, -1};
}

HWND ProgramHarness::FindWindowOfClass(const wchar_t* className, int instance) const {
  if (instance < 0 || instance >= static_cast<int>(m_instances.size())) return nullptr;
  return FindProcessWindow(m_instances[instance].id, className, nullptr);
}

HWND ProgramHarness::FindWindowTitled(const wchar_t* className, const wchar_t* title, int instance) const {
  if (instance < 0 || instance >= static_cast<int>(m_instances.size())) return nullptr;
  return FindProcessWindow(m_instances[instance].id, className, title);
}

HWND ProgramHarness::FindShownWindowTitled(const wchar_t* className, const wchar_t* title) const {
  DWORD process = 0;
  if (!m_window || !GetWindowThreadProcessId(m_window, &process)) return nullptr;
  return FindProcessWindow(process, className, title, true);
}

namespace {

struct ChildSearch {
  const wchar_t* title;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectShownChild(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<ChildSearch*>(context);
  wchar_t text[128] = {};
  GetWindowTextW(child, text, 128);
  if (IsWindowVisible(child) && wcscmp(text, search->title) == 0) search->found.push_back(child);
  return TRUE;
}

}  // namespace

std::vector<HWND> ProgramHarness::FindShownChildrenTitled(const wchar_t* title) const {
  ChildSearch search{title, {}};
  if (m_window) EnumChildWindows(m_window, &CollectShownChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ProgramHarness::AnswerMessageBox(WPARAM answer, DWORD timeoutMs) const {
  HWND box = nullptr;
  if (!PumpUntil([&] { return (box = FindShownWindowTitled(L"MWindow", L"MessageBox")) != nullptr; }, timeoutMs)) {
    return false;
  }
  // The box's own loop takes a moment to start after the window shows.
  PumpFor(300);
  PostMessageW(box, WM_CLOSE, answer, 0);
  return PumpUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs);
}

bool ProgramHarness::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  return m_window && PostMessageW(m_window, message, wParam, lParam);
}

void ProgramHarness::Click(POINT client) const {
  if (m_window) PostClick(m_window, client);
}

COLORREF ProgramHarness::ClientPixel(POINT client) const {
  if (!m_window) return CLR_INVALID;
  POINT screen = client;
  ClientToScreen(m_window, &screen);
  return ScreenPixel(screen);
}

std::vector<COLORREF> ProgramHarness::ClientPixels(const RECT& client) const {
  const int width = client.right - client.left, height = client.bottom - client.top;
  POINT origin = {client.left, client.top};
  if (!m_window || width <= 0 || height <= 0 || !ClientToScreen(m_window, &origin)) return {};
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<COLORREF> pixels;
  if (memory && bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
      const auto* rgb = static_cast<const DWORD*>(bits);
      pixels.reserve(static_cast<size_t>(width) * height);
      for (int i = 0; i < width * height; ++i) {
        const DWORD p = rgb[i];  // 0x00RRGGBB
        pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
      }
    }
    SelectObject(memory, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

void ProgramHarness::ParkPointer() const {
  RECT rect = {};
  if (!m_window || !GetWindowRect(m_window, &rect)) return;
  // Left of the window when there is room, else below it.
  if (rect.left > 10) {
    SetCursorPos(rect.left - 10, rect.top + 10);
  } else {
    SetCursorPos(rect.left + 10, rect.bottom + 10);
  }
  PostMessageW(m_window, WM_MOUSELEAVE, 0, 0);
}

COLORREF ProgramHarness::WindowPixel(POINT window) const {
  RECT rect;
  if (!m_window || !GetWindowRect(m_window, &rect)) return CLR_INVALID;
  return ScreenPixel({rect.left + window.x, rect.top + window.y});
}

}  // namespace testsupport
