#include "MainWindowFixture.h"

#include "MessagePump.h"
#include "RawDb.h"
#include "TempFolder.h"
#include "app/ProgramFolders.h"
#include "simkeyboard/SimControl.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CTextButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MComboBox2.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/CKeyTestCtrl.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/KeyValueList.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace testsupport {

namespace {

template <typename T>
bool Is(TESK::MControl* control) {
  return dynamic_cast<T*>(control) != nullptr;
}

}  // namespace

std::wstring ControlClassName(TESK::MControl* control) {
  // Every class here is a leaf of the library, so the order of the checks does not matter.
  const struct {
    bool (*is)(TESK::MControl*);
    const wchar_t* name;
  } classes[] = {
      {Is<TESK::MPicture>, L"MPicture"},         {Is<TESK::CRoundArea>, L"CRoundArea"},
      {Is<TESK::MImageButton>, L"MImageButton"}, {Is<TESK::CTextButton>, L"CTextButton"},
      {Is<TESK::MButton>, L"MButton"},           {Is<TESK::MText>, L"MText"},
      {Is<TESK::MComboBox2>, L"MComboBox2"},     {Is<TESK::MComboBox>, L"MComboBox"},
      {Is<TESK::MTabCtrl>, L"MTabCtrl"},         {Is<TESK::MTabLayout>, L"MTabLayout"},
      {Is<TESK::KeyLayerCtrl>, L"KeyLayerCtrl"}, {Is<TESK::KeyboardCtrl>, L"KeyboardCtrl"},
      {Is<TESK::KeyTypeTab>, L"KeyTypeTab"},     {Is<TESK::KeyFuncControl>, L"KeyFuncControl"},
      {Is<TESK::KeyValueList>, L"KeyValueList"}, {Is<TESK::KeyDKSCtrlEx>, L"KeyDKSCtrlEx"},
      {Is<TESK::CKeyTestCtrl>, L"CKeyTestCtrl"},
  };
  for (const auto& entry : classes) {
    if (entry.is(control)) return entry.name;
  }
  return L"?";
}

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
  if (!m_nextCapture) m_nextCapture = std::make_unique<SyntheticCapture>();
  capture = m_nextCapture.get();
  m_dlg = std::make_unique<KeyboardDlg>(std::move(m_nextCapture));
  m_dlg->SetTaskObserver([this](int id) {
    std::lock_guard<std::mutex> lock(m_appendedLock);
    m_appended.push_back({id, GetTickCount64()});
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
  return PumpUntil([&] { return m_dlg->TasksDone(); }, timeoutMs);
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
  std::vector<int> ids;
  for (const AppendedTask& task : TakeAppendedTimed()) ids.push_back(task.id);
  return ids;
}

std::vector<MainWindowFixture::AppendedTask> MainWindowFixture::TakeAppendedTimed() {
  std::lock_guard<std::mutex> lock(m_appendedLock);
  std::vector<AppendedTask> tasks;
  tasks.swap(m_appended);
  return tasks;
}

CString MainWindowFixture::DbFile() { return GetDataFolder() + L"db\\" + m_dlg->m_modelName + L"_datav8.db"; }

std::string MainWindowFixture::KeyRowOf(int layer, int code) {
  RawDb db(DbFile().GetString());
  const auto rows = db.Rows("SELECT macro_type, macro_value, macro_value2, macro_value3, macro_desc FROM "
                            "t_key_macro_data WHERE profile = 1 AND fn_layer = " +
                            std::to_string(layer) + " AND key_code = " + std::to_string(code));
  if (rows.size() != 1) return rows.empty() ? "no row" : "several rows";
  return rows[0][0] + " " + rows[0][1] + " " + rows[0][2] + " " + rows[0][3] + " \"" + rows[0][4] + "\"";
}

std::string MainWindowFixture::KeyMapEntryOf(simkb::Keyboard& keyboard, int layer, int code) {
  constexpr size_t kLayerSize = 512, kEntrySize = 3;
  const size_t index = static_cast<size_t>(m_dlg->m_keyIndexByCode.at(code));
  const simkb::Bytes maps = keyboard.Read(simkb::Area::KeyMaps);
  const size_t at = static_cast<size_t>(layer) * kLayerSize + kEntrySize * index;
  return simkb::ToHex(simkb::Bytes(maps.begin() + at, maps.begin() + at + kEntrySize));
}

CPoint MainWindowFixture::KeyPoint(TESK::KeyboardCtrl* picture, int code) {
  // A few pixels inside the key's top-left corner: the scan finds the corner first. Keys are
  // far wider and higher than the step.
  constexpr int kStep = 5, kInset = 4;
  const CRect area = picture->GetRect();
  for (int y = area.top; y < area.bottom; y += kStep) {
    for (int x = area.left; x < area.right; x += kStep) {
      if (picture->GetKeyCodeByPoint(CPoint(x, y)) == code) return CPoint(x + kInset, y + kInset);
    }
  }
  return CPoint();
}

void MainWindowFixture::ClickKey(TESK::KeyboardCtrl* picture, int code) {
  const CPoint at = KeyPoint(picture, code);
  ASSERT_NE(0, at.x) << "key " << code << " is on the picture";
  picture->OnControlMouseMove(0, at);
  picture->OnControlLButtonDown(MK_LBUTTON, at);
  picture->OnControlLButtonUp(0, at);
}

}  // namespace testsupport
