// The device link's test fixture: a device name, registry key and data folder of the test's
// own, a hidden window standing in for the main window, a fresh simulated bus, and a
// recording link whose device-open and connection routines run for real. Plus helpers that
// build device-change broadcasts and read the recorder's log.
#pragma once

#include <windows.h>
#include <dbt.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingDeviceLink.h"
#include "ScopedDeviceName.h"
#include "SimKeyTables.h"
#include "TempFolder.h"
#include "app/ProgramFolders.h"
#include "device/DeviceLink.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"

namespace testsupport {

const simkb::ModelTable& SimModel(int modelId);
std::wstring Wide(const std::string& text);
// A device-interface broadcast of WM_DEVICECHANGE for a path, and its header.
std::vector<uint8_t> Broadcast(const std::string& path);
const DEV_BROADCAST_HDR* Header(const std::vector<uint8_t>& bytes);
// Takes every queued task id, in order.
std::vector<int> Drain(DeviceLink& link);
// The last recorded call of a name (an empty call when there is none), and how many there were.
LinkCall Last(RecordingDeviceLink& link, const std::string& name);
int Count(RecordingDeviceLink& link, const std::string& name);
// length bytes of a simulator area from offset.
simkb::Bytes Slice(const simkb::Bytes& bytes, size_t offset, size_t length);

class DeviceLinkFixture : public testing::Test {
 protected:
  void SetUp() override {
    simkb::Bus::Get().Reset();
    m_dataFolder = GetDataFolder();
    CreateDirectoryW(m_dataFolder, nullptr);
    CreateDirectoryW(m_dataFolder + L"db", nullptr);
    m_window = CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    m_link.reset();
    m_hid.reset();
    ConfigDatabase::Instance().Close();
    testsupport::DeleteTree(m_dataFolder.GetString());
    DestroyWindow(m_window);
    simkb::Bus::Get().Reset();
  }

  // A link whose device open and connection routines run for real, with its models loaded.
  RecordingDeviceLink& NewLink() {
    m_link.reset();
    m_hid = std::make_unique<HidDeviceManager>();
    m_link = std::make_unique<RecordingDeviceLink>(*m_hid);
    m_link->SetReal({"OpenDevice", "UpdateConnectionState"});
    m_link->mainWindow = m_window;
    m_link->LoadModelsAndConfig();
    return *m_link;
  }

  bool TakePosted(UINT message, WPARAM* wParam) {
    MSG msg;
    if (!PeekMessageW(&msg, m_window, message, message, PM_REMOVE)) return false;
    *wParam = msg.wParam;
    return true;
  }

  std::wstring ProgramFile(const wchar_t* relative) const {
    return std::wstring(GetProgramFolder().GetString()) + relative;
  }

  // A model 101 keyboard, plugged and connected: its store open, the pictures built, the reads
  // real, and the profile refresh of the pages reading the key maps.
  simkb::Keyboard& Connect();
  std::wstring DbFile() const { return std::wstring(m_dataFolder.GetString()) + L"db\\Lynt 30_datav8.db"; }
  // Every row of every table of the model's store, without the generated ids, in a stable order.
  std::vector<std::string> Dump();
  // The frames of one command since a mark of the bus's log.
  std::vector<simkb::Frame> FramesOf(size_t mark, int command);

  testsupport::ScopedDeviceName m_name;
  CString m_dataFolder;
  HWND m_window = nullptr;
  std::unique_ptr<HidDeviceManager> m_hid;
  std::unique_ptr<RecordingDeviceLink> m_link;
};

}  // namespace testsupport
