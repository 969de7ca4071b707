// Only in the drop-in hidapi.dll: plugs the keyboards that the environment variable
// TAVIR_SIM_KEYBOARDS lists (model ids separated by commas, default "102") when the DLL
// loads, so the program finds a keyboard when it runs against the simulator.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "simkeyboard/SimKeyboard.h"

namespace {
void PlugFromEnvironment() {
  char list[256] = {};
  const DWORD n = GetEnvironmentVariableA("TAVIR_SIM_KEYBOARDS", list, sizeof list);
  std::string models = n > 0 && n < sizeof list ? list : "102";
  size_t start = 0;
  while (start < models.size()) {
    size_t end = models.find(',', start);
    if (end == std::string::npos) end = models.size();
    const int model = std::atoi(models.substr(start, end - start).c_str());
    if (model == 101 || model == 102 || model == 103) simkb::Bus::Get().PlugKeyboard(model);
    start = end + 1;
  }
}
}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) PlugFromEnvironment();
  return TRUE;
}
