// Only in the drop-in hidapi.dll, when it loads: the state file that TAVIR_SIM_STATE names is
// taken up, the keyboards that TAVIR_SIM_KEYBOARDS lists (model ids separated by commas, default
// "102") are plugged, so the program finds a keyboard when it runs against the simulator, and
// the control channel is served on the pipe TAVIR_SIM_CHANNEL names (SimControl.h).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "simkeyboard/SimControl.h"
#include "simkeyboard/SimKeyboard.h"

namespace {

std::wstring Variable(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, ARRAYSIZE(value));
  return n > 0 && n < ARRAYSIZE(value) ? value : L"";
}

void PlugFromEnvironment() {
  std::wstring list = Variable(L"TAVIR_SIM_KEYBOARDS");
  std::string models = list.empty() ? "102" : std::string(list.begin(), list.end());
  size_t start = 0;
  while (start < models.size()) {
    size_t end = models.find(',', start);
    if (end == std::string::npos) end = models.size();
    const int model = std::atoi(models.substr(start, end - start).c_str());
    if (model == 101 || model == 102 || model == 103) simkb::Bus::Get().PlugKeyboard(model);
    start = end + 1;
  }
}

// The channel's threads run this module's code until the process ends: it is never unloaded.
void ServeChannel() {
  const std::wstring pipe = Variable(simkb::kChannelVariable);
  if (pipe.empty()) return;
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&ServeChannel), &self);
  simkb::StartControlChannel(pipe);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    simkb::Bus::Get().SetStateFile(Variable(simkb::kStateVariable));
    PlugFromEnvironment();
    ServeChannel();
  }
  return TRUE;
}
