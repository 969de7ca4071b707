// A small program that runs against the drop-in hidapi.dll (it lives beside it in
// bin/simkeyboard), for tests of the simulated keyboard's control channel in another process.
//   SimKeyboardProbe.exe <log file> [write]
// With "write" it changes key A of layer 0 on the first keyboard to B (10 00 05) in one
// CMD_BEGIN / CMD_WRITE_KEYMAP / CMD_END bracket. Then it writes "ready" to the log, and every
// WM_DEVICECHANGE its window gets as "arrival <path>" or "removal <path>". It ends after a
// minute, should the test that started it not end it first.
#include <windows.h>
#include <dbt.h>

#include <string>
#include <vector>

#include <hidapi/hidapi.h>

namespace {

std::wstring g_log;

void Log(const std::string& line) {
  HANDLE file = CreateFileW(g_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// One configuration request and its reply.
void Request(hid_device* device, uint8_t command, std::vector<uint8_t> payload = {}) {
  std::vector<uint8_t> frame(65, 0);
  frame[1] = 0x55, frame[2] = command, frame[5] = static_cast<uint8_t>(payload.size());
  for (size_t i = 0; i < payload.size(); ++i) frame[9 + i] = payload[i];
  unsigned sum = 0;
  for (int i = 5; i < 65; ++i) sum += frame[i];
  frame[4] = static_cast<uint8_t>(sum);
  hid_write(device, frame.data(), frame.size());
  unsigned char reply[64];
  hid_read_timeout(device, reply, sizeof reply, 200);
}

void WriteKeyB() {
  hid_device_info* list = hid_enumerate(0x19F5, 0);
  for (hid_device_info* info = list; info; info = info->next) {
    if (info->interface_number != 1) continue;
    if (hid_device* device = hid_open_path(info->path)) {
      Request(device, 0x01);
      Request(device, 0x09, {0x10, 0x00, 0x05});
      Request(device, 0x02);
      hid_close(device);
    }
    break;
  }
  hid_free_enumeration(list);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEVICECHANGE && lParam &&
      reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam)->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam);
    const std::wstring path = header->dbcc_name;
    Log((wParam == DBT_DEVICEARRIVAL ? "arrival " : "removal ") + std::string(path.begin(), path.end()));
    return TRUE;
  }
  if (message == WM_TIMER) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 2) return 2;
  g_log = args[1];
  const bool write = count > 2 && std::wstring(args[2]) == L"write";
  LocalFree(args);

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"SimKeyboardProbe";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, L"SimKeyboardProbe", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance,
                                nullptr);
  if (!window) return 3;
  SetTimer(window, 1, 60000, nullptr);

  hid_init();
  if (write) WriteKeyB();
  Log("ready");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  hid_exit();
  return 0;
}
