// Entry point of TAVIR KEYBOARD: prepares the process, keeps it to one instance, chooses the
// language, makes the data folders and runs the main window, whose modal loop is the
// program's main loop; everything on the one UI thread.
#include <windows.h>

#include <objbase.h>
#include <ole2.h>

#include <memory>

#include "app/KeyboardDlg.h"
#include "app/ProgramFolders.h"
#include "app/Startup.h"
#include "app/UserRegistry.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Manager.h"

namespace {

// Brings the running instance's main window, marked by a property named after the device,
// to the front; its owner may have hidden it to the tray.
void ShowRunningInstance(const CString& device) {
  for (HWND hwnd = GetWindow(GetDesktopWindow(), GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
    if (!GetPropW(hwnd, device)) continue;
    SetForegroundWindow(hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    BringWindowToTop(hwnd);
    return;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  if (ShouldBeDpiAware(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetDpiScale())) {
    SetProcessDPIAware();
  }
  LoadAppConfig();
  const CString device = TESK::Manager::GetDeviceName();
  // The running instance's mutex is kept until the process ends.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, device);
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    ShowRunningInstance(device);
    return 0;
  }
  EnableDebugPrivilege();
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
  SelectLanguage();
  TESK::Manager::SetInstance(instance);
  const CString data = GetDataFolder();
  CreateFolderTree(data + L"db");
  DeleteFolderTree(data + L"edit");
  CreateFolderTree(data + L"edit");
  CoInitialize(nullptr);
  OleInitialize(nullptr);
  const int showMode = StartsHidden(commandLine, RunValueExists(), ReadRegistryInt(L"autorun_minimize")) ? SW_HIDE
                                                                                                         : SW_SHOW;
  {
    auto window = std::make_unique<KeyboardDlg>();
    window->CreateAndRun(showMode);
    window->DestroyWindow();
    CoUninitialize();
    OleUninitialize();
    Gdiplus::GdiplusShutdown(gdiplusToken);
  }
  return 1;
}
