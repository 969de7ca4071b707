#include "app/Startup.h"

#include <shellapi.h>
#include <shellscalingapi.h>

#include <cwchar>
#include <string>

#include "app/Language.h"
#include "app/ProgramFolders.h"
#include "app/UserRegistry.h"
#include "storage/XmlDocument.h"
#include "ui/core/Manager.h"

namespace {

constexpr int kFullHdWidth = 1920, kFullHdHeight = 1080;
constexpr int kEnglish = 1033;

}  // namespace

bool ShouldBeDpiAware(int width, int height, int dpiScale) {
  if (width < kFullHdWidth && height < kFullHdHeight) return true;
  return width == kFullHdWidth && height == kFullHdHeight && dpiScale > 125;
}

int DpiToScale(UINT dpi) {
  switch (dpi) {
    case 120:
      return 125;
    case 144:
    case 168:
    case 192:
      return static_cast<int>(dpi);
    default:
      return 100;
  }
}

int GetDpiScale() {
  HMONITOR monitor = MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTONEAREST);
  if (!monitor) return 100;
  UINT dpiX = 96, dpiY = 96;
  HMODULE shcore = LoadLibraryW(L"Shcore.dll");
  if (!shcore) return DpiToScale(dpiX);
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
  auto getDpi = reinterpret_cast<GetDpiForMonitorFn>(
      reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
  int scale = DpiToScale(dpiX);
  if (getDpi) {
    if (SUCCEEDED(getDpi(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY))) {
      scale = DpiToScale(dpiX);
    } else {
      MessageBoxW(nullptr, L"GetDpiForMonitor failed", L"Notification", MB_OK);
      scale = 96;
    }
  }
  FreeLibrary(shcore);
  return scale;
}

int ChooseLanguage(int storedId, int uiLanguage, const std::set<int>& supported, int* store) {
  int id = storedId;
  int toStore = 0;
  if (id == 0) {
    id = uiLanguage;
    toStore = supported.count(id) ? id : kEnglish;
  }
  if (!supported.count(id)) {
    id = kEnglish;
    toStore = kEnglish;
  }
  if (store) *store = toStore;
  return id;
}

void SelectLanguage() {
  int store = 0;
  const int id = ChooseLanguage(GetLanguageId(), GetUserDefaultUILanguage(), SupportedLanguages, &store);
  if (store) SetLanguageId(store);
  CurrentLanguage = id;
}

bool StartsHidden(const wchar_t* commandLine, bool runValueExists, int autorunMinimize) {
  return commandLine && std::wcsstr(commandLine, L"autorun") && runValueExists && autorunMinimize == 1;
}

void LoadAppConfig() {
  SupportedLanguages.clear();
  XmlDocument config;
  if (!config.ReadFromFile(GetExeFolder() + L"\\config.xml", false) || !config.NextElement(L"config")) return;
  config.EnterElement();
  if (config.NextElement(L"language.info")) {
    config.EnterElement();
    while (config.NextElement(L"lan")) SupportedLanguages.insert(std::wcstol(config.GetAttribute(L"value"), nullptr, 10));
    config.LeaveElement();
  }
  if (config.NextElement(L"software")) {
    const CString name = config.GetAttribute(L"name");
    TESK::Manager::SetDeviceName(name);
  }
}

// From the wide module path: an ANSI path fails outside the system code page, and config.xml
// would then be missed (the device name, and with it the settings, would move).
CString GetExeFolder() {
  CString folder = GetProgramFolder();
  const int length = folder.GetLength();
  if (length > 0 && folder[length - 1] == L'\\') folder = folder.Left(length - 1);
  return folder;
}

bool CreateFolderTree(const wchar_t* path) {
  if (!path || !*path) return false;
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  const std::wstring full(path);
  // Every ancestor from the second backslash on: the drive root itself is never made.
  size_t at = full.find(L'\\');
  while (at != std::wstring::npos && (at = full.find(L'\\', at + 1)) != std::wstring::npos) {
    CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
  }
  if (CreateDirectoryW(path, nullptr)) return true;
  const DWORD now = GetFileAttributesW(path);
  return now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFolderTree(const wchar_t* path) {
  if (!path || !*path) return false;
  // The whole path, ended by two zeros: a path cut to a fixed buffer would name another folder.
  std::wstring list(path);
  list.append(2, L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = FOF_MULTIDESTFILES | FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
  return SHFileOperationW(&operation) == 0;
}

bool EnableDebugPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool enabled = false;
  if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
    AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr);
    enabled = GetLastError() == ERROR_SUCCESS;
  }
  CloseHandle(token);
  return enabled;
}

void WriteLog(int, const wchar_t*, ...) {}
