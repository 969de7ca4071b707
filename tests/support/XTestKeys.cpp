#include "XTestKeys.h"

#include <algorithm>
#include <cstdlib>

namespace testsupport {

namespace {

// The Unix path of the source tree, which ctest names, and its form on Wine's drive Z:.
std::string SourceDir() {
  const char* dir = std::getenv("TAVIR_SOURCE_DIR");
  return dir ? dir : "";
}

std::wstring OnDriveZ(const std::string& unixPath) {
  std::wstring path = L"Z:";
  for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return path;
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Pumps this thread's messages until the marker file exists or the deadline passes.
bool PumpUntilFile(const std::wstring& path, ULONGLONG deadline) {
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)),
                              QS_ALLINPUT);
  }
}

}  // namespace

std::string TypeXKeys(POINT at, const std::vector<std::string>& steps, DWORD timeoutMs) {
  static unsigned runs = 0;
  const std::string marker =
      "/tmp/tavir-xkeys-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs) + ".txt";
  const std::wstring markerPath = OnDriveZ(marker);
  DeleteFileW(markerPath.c_str());

  std::wstring command = L"\"" + OnDriveZ(SourceDir() + "/tests/support/xtest/xkeys.py") + L"\" " + Widen(marker) +
                         L" " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y);
  for (const std::string& step : steps) command += L" " + Widen(step);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return "the key script could not be started (error " + std::to_string(GetLastError()) + ")";
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);

  if (!PumpUntilFile(markerPath, GetTickCount64() + timeoutMs)) return "the key script did not finish in time";
  std::string result;
  HANDLE file = CreateFileW(markerPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char text[512];
    DWORD read = 0;
    if (ReadFile(file, text, sizeof(text), &read, nullptr)) result.assign(text, read);
    CloseHandle(file);
  }
  DeleteFileW(markerPath.c_str());
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  return result;
}

}  // namespace testsupport
