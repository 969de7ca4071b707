#include "MainWindowFixture.h"

#include "MessagePump.h"
#include "TempFolder.h"
#include "app/ProgramFolders.h"
#include "simkeyboard/SimControl.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/core/Manager.h"

namespace testsupport {

void MainWindowFixture::SetUp() {
  simkb::Bus::Get().Reset();
  CreateDirectoryW(GetDataFolder(), nullptr);
  CreateDirectoryW(GetDataFolder() + L"db", nullptr);
}

void MainWindowFixture::TearDown() {
  if (m_dlg) m_dlg->DestroyWindow();
  m_dlg.reset();
  simkb::Bus::Get().Reset();
  ConfigDatabase::Instance().Close();
  DeleteTree(GetDataFolder().GetString());
}

KeyboardDlg& MainWindowFixture::Open() {
  m_dlg = std::make_unique<KeyboardDlg>();
  m_dlg->SetTaskObserver([this](int id) {
    std::lock_guard<std::mutex> lock(m_appendedLock);
    m_appended.push_back(id);
  });
  EXPECT_NE(nullptr, m_dlg->Create(nullptr, TESK::Manager::GetDeviceName(), WS_POPUP, 0,
                                   CRect(0, 0, kMainWidth, kMainHeight)));
  EXPECT_TRUE(PumpUntil([&] { return m_dlg->m_startupDone.load() && m_dlg->PendingTasks() == 0; }, 10000));
  PumpFor(200);
  return *m_dlg;
}

simkb::Keyboard& MainWindowFixture::Plug(int model) {
  simkb::BroadcastDeviceChanges();
  simkb::Keyboard& keyboard = simkb::Bus::Get().PlugKeyboard(model);
  EXPECT_TRUE(PumpUntil([&] { return m_dlg->PendingTasks() > 0 || m_dlg->m_connected.load(); }, 5000))
      << "the arrival reached the window";
  return keyboard;
}

simkb::Keyboard& MainWindowFixture::Connected(int model) {
  Open();
  simkb::Keyboard& keyboard = Plug(model);
  EXPECT_TRUE(PumpUntil([&] { return InPagesState() && m_dlg->PendingTasks() == 0; }, 15000));
  PumpFor(200);
  return keyboard;
}

bool MainWindowFixture::InPagesState() { return !m_dlg->m_pageHome->IsVisible() && m_dlg->m_tabMain->IsVisible(); }

std::vector<int> MainWindowFixture::StopAndDrain() {
  m_dlg->Stop();
  m_dlg->WaitForEnd();
  std::vector<int> ids;
  int id;
  while (m_dlg->TakeTask(&id)) ids.push_back(id);
  return ids;
}

bool MainWindowFixture::WaitIdle(DWORD timeoutMs) {
  return PumpUntil([&] { return m_dlg->PendingTasks() == 0; }, timeoutMs);
}

bool MainWindowFixture::Settle(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  if (!WaitIdle(timeoutMs)) return false;
  size_t frames = simkb::Bus::Get().Mark(), before;
  do {
    if (GetTickCount() - start > timeoutMs) return false;
    before = frames;
    PumpFor(250);
    frames = simkb::Bus::Get().Mark();
  } while (frames != before);
  return true;
}

int MainWindowFixture::LastBracketFrames(size_t mark, int command) {
  int frames = -1, open = -1;
  for (const simkb::Frame& frame : simkb::Bus::Get().FramesSince(mark)) {
    if (frame.command == CMD_BEGIN) {
      open = 0;
    } else if (frame.command == CMD_END) {
      if (open > 0) frames = open;
      open = -1;
    } else if (frame.command == command && open >= 0) {
      ++open;
    }
  }
  return frames;
}

std::vector<int> MainWindowFixture::TakeAppended() {
  std::lock_guard<std::mutex> lock(m_appendedLock);
  std::vector<int> ids;
  ids.swap(m_appended);
  return ids;
}

CString MainWindowFixture::DbFile() { return GetDataFolder() + L"db\\" + m_dlg->m_modelName + L"_datav8.db"; }

}  // namespace testsupport
