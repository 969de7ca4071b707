// A stand-in for the program's installer, packed into the software upgrade's test package:
// started by the program, it writes the marker file "<its own path>.ran" holding "ran" and
// ends with exit code 0. It takes no arguments, as the program passes none.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  wcscat(path, L".ran");
  HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(marker, "ran", 3, &written, nullptr);
  CloseHandle(marker);
  return 0;
}
