// Benchmark (not a test): the performance page over a connected simulated keyboard whose
// picture holds the model's keys. Times one single-distance slider release with every key
// checked (applying the distance, the row copy into the store, and the queued write until its
// last chunk has reached the keyboard), and one drag step of the key-travel picture with every
// key checked (the keys' actuation and the page's stored value).
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "ControlHost.h"
#include "RecordingDeviceLink.h"
#include "ScopedDeviceName.h"
#include "TempFolder.h"
#include "app/ProgramFolders.h"
#include "app/pages/PerfPage.h"
#include "app/pages/PerfPageDef.h"
#include "device/DeviceBlocks.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;

namespace {

double Ms(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int wmain() {
  testsupport::ScopedDeviceName name;
  const CString dataFolder = GetDataFolder();
  CreateDirectoryW(dataFolder, nullptr);
  CreateDirectoryW(dataFolder + L"db", nullptr);
  simkb::Bus& bus = simkb::Bus::Get();
  bus.Reset();
  bus.PlugKeyboard(103);  // Lynt 80, 87 keys
  {
    HidDeviceManager hid;
    testsupport::RecordingDeviceLink link(hid);
    link.SetReal({"OpenDevice", "UpdateConnectionState", "GetDeviceProfile", "ReadKeyPerfFromDevice",
                  "ReadLightFromDevice", "WriteKeyPerf"});
    link.LoadModelsAndConfig();
    link.OpenDevice();
    link.UpdateConnectionState(0);
    link.ReadKeyMapsFromDevice();
    int id;
    while (link.TakeTask(&id)) {
    }

    testsupport::ControlHost host(1400, 860);
    link.mainWindow = host.GetSafeHwnd();
    PerfPageDef def;
    def.m_keyboardPerf = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 257, CRect(280, 100, 1280, 480));
    for (const auto& key : link.pictures[KEY_PICTURE_PERF].keys)
      def.m_keyboardPerf->AddKeyItem(key.name, key.desc, key.code, key.rect, L"", 0);
    auto* travelPage = host.Add<MTabLayout>(L"MTabLayout", 318, CRect(0, 0, 1400, 860));
    def.m_keyStroke = dynamic_cast<KeyStrokeCtrl2*>(
        travelPage->CreateControl(L"KeyStrokeCtrl2", 276, CRect(200, 590, 700, 680), L"", 1, 1));
    def.m_keyStroke->SetKeyStrokeInfo(5, 370);
    def.m_switchRapidTrigger = host.Add<CSwitchButton>(L"CSwitchButton", 284, CRect());
    def.m_switchSensitivity = host.Add<CSwitchButton>(L"CSwitchButton", 286, CRect());
    def.m_sliderSensitivity = host.Add<MSlider>(L"MSlider", 292, CRect());
    def.m_sliderSensitivity->SetMinProgress(1);
    def.m_sliderSensitivity->SetMaxProgress(110);
    def.m_textSensitivityValue = host.Add<MText>(L"MText", 291, CRect());
    PerfPage page(link, def, &host);
    page.CreateDefaultKeyPerfs(1);
    page.RefreshPerfPage();
    def.m_keyboardPerf->ResetAllItemCheck(1);
    def.m_switchRapidTrigger->SetCheck(1);
    std::printf("keys on the picture: %zu\n", def.m_keyboardPerf->GetKeyItems().size());

    constexpr int kRuns = 20;
    double release = 0, write = 0, drag = 0;
    for (int run = 0; run < kRuns; ++run) {
      def.m_sliderSensitivity->SetProgress(10 + run);
      auto start = std::chrono::steady_clock::now();
      page.OnSensitivityPosChanged(NOTIFY_CLICKED);
      release += Ms(start);
      start = std::chrono::steady_clock::now();
      link.WorkerStep();  // the queued TASK_WRITE_KEY_PERF, to its last chunk
      write += Ms(start);
      def.m_keyStroke->SetCurKeyActuation(60 + run);
      start = std::chrono::steady_clock::now();
      page.OnGlobalActuationChanged(NOTIFY_CHANGING, 0);
      drag += Ms(start);
    }
    std::printf("slider release (apply, row copy, store): %.2f ms\n", release / kRuns);
    std::printf("queued block write to the last chunk: %.2f ms\n", write / kRuns);
    std::printf("release through the written block: %.2f ms\n", (release + write) / kRuns);
    std::printf("travel picture drag step, every key checked: %.2f ms\n", drag / kRuns);
  }
  ConfigDatabase::Instance().Close();
  testsupport::DeleteTree(dataFolder.GetString());
  bus.Reset();
  return 0;
}
