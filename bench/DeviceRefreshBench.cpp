// Benchmark (not a test): a full refresh from the keyboard (task 5) against the simulated
// keyboard, on the first connection of a fresh settings database (with the factory-map
// import) and on the second; prints the wall time and the frames of each command sent.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <map>

#include "RecordingDeviceLink.h"
#include "ScopedDeviceName.h"
#include "TempFolder.h"
#include "app/ProgramFolders.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"

int wmain() {
  testsupport::ScopedDeviceName name;
  const CString dataFolder = GetDataFolder();
  CreateDirectoryW(dataFolder, nullptr);
  CreateDirectoryW(dataFolder + L"db", nullptr);
  simkb::Bus& bus = simkb::Bus::Get();
  bus.Reset();
  bus.PlugKeyboard(102);
  {
    HidDeviceManager hid;
    testsupport::RecordingDeviceLink link(hid);
    link.SetReal({"OpenDevice", "UpdateConnectionState", "GetDeviceProfile", "ReadKeyPerfFromDevice",
                  "ReadLightFromDevice"});
    link.SetAction("RefreshProfiles", [&link] { link.ReadKeyMapsFromDevice(); });
    link.LoadModelsAndConfig();
    link.OpenDevice();
    link.UpdateConnectionState(0);
    int id;
    while (link.TakeTask(&id)) {
    }
    for (const char* run : {"first connection (factory maps imported)", "second connection"}) {
      const size_t mark = bus.Mark();
      const auto start = std::chrono::steady_clock::now();
      link.AppendTask(TASK_READ_DEVICE_STATE);
      link.WorkerStep();
      const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
      std::map<int, int> frames;
      for (const simkb::Frame& frame : bus.FramesSince(mark)) ++frames[frame.command];
      std::printf("%s: %.0f ms\n", run, took.count());
      for (const auto& [command, count] : frames) std::printf("  command 0x%02X: %d frames\n", command, count);
    }
  }
  ConfigDatabase::Instance().Close();
  testsupport::DeleteTree(dataFolder.GetString());
  bus.Reset();
  return 0;
}
