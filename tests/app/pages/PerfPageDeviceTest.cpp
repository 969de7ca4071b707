// The performance page against the simulated keyboard: the page's picture holds the connected
// model's keys, a slider release stores the checked keys' distances, and the queued write
// puts exactly those keys' entries into the keyboard's performance area.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "ControlHost.h"
#include "DeviceLinkFixture.h"
#include "app/pages/PerfPage.h"
#include "app/pages/PerfPageDef.h"
#include "device/DeviceBlocks.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;
using simkb::Area;
using simkb::Bus;
using simkb::Bytes;
using testsupport::RecordingDeviceLink;
using testsupport::Slice;

namespace {

class PerfPageDeviceTest : public testsupport::DeviceLinkFixture {};

TEST_F(PerfPageDeviceTest, SliderReleaseReachesTheCheckedKeysEntriesOnly) {
  simkb::Keyboard& keyboard = Connect();
  RecordingDeviceLink& link = *m_link;
  link.SetReal({"WriteKeyPerf"});
  link.ReadKeyMapsFromDevice();  // the key indexes of the keyboard's block
  testsupport::ControlHost host(1400, 860);
  PerfPageDef def;
  def.m_keyboardPerf = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 257, CRect(0, 0, 1000, 380));
  ASSERT_NE(nullptr, def.m_keyboardPerf);
  const auto& keys = link.pictures[KEY_PICTURE_PERF].keys;
  ASSERT_FALSE(keys.empty());
  for (const auto& key : keys) def.m_keyboardPerf->AddKeyItem(key.name, key.desc, key.code, key.rect, L"", 0);
  def.m_switchRapidTrigger = host.Add<CSwitchButton>(L"CSwitchButton", 284, CRect());
  def.m_switchSensitivity = host.Add<CSwitchButton>(L"CSwitchButton", 286, CRect());
  def.m_sliderSensitivity = host.Add<MSlider>(L"MSlider", 292, CRect());
  def.m_sliderSensitivity->SetMinProgress(1);
  def.m_sliderSensitivity->SetMaxProgress(110);
  def.m_textSensitivityValue = host.Add<MText>(L"MText", 291, CRect());
  link.m_deviceProfile = 0;
  PerfPage page(link, def, &host);
  page.CreateDefaultKeyPerfs(1);
  page.RefreshPerfPage();
  testsupport::Drain(link);
  std::map<int, std::pair<int, int>> before;  // key -> (press, release) as loaded
  {
    KeyPerfList loaded;
    ConfigDatabase::Instance().GetKeyPerfs(1, loaded);
    for (const auto& row : loaded) before[row->key_code] = {row->rt_press, row->rt_release};
  }

  constexpr int kA = 4, kS = 22;
  def.m_keyboardPerf->SetKeyCheck(kA, 1);
  def.m_keyboardPerf->SetKeyCheck(kS, 1);
  def.m_switchRapidTrigger->SetCheck(1);
  def.m_switchSensitivity->SetCheck(0);
  def.m_sliderSensitivity->SetProgress(20);
  ASSERT_EQ(1, page.OnSensitivityPosChanged(NOTIFY_CLICKED));
  ASSERT_EQ((std::vector<int>{TASK_WRITE_KEY_PERF}), testsupport::Drain(link));
  KeyPerfList rows;
  ConfigDatabase::Instance().GetKeyPerfs(1, rows);
  ASSERT_EQ(keys.size(), rows.size());
  std::map<int, int> slots;
  for (const auto& row : rows) slots[row->key_code] = row->switch_type;
  EXPECT_EQ(slots, link.PerfSlots()) << "the map follows the rows after the save";

  const size_t mark = Bus::Get().Mark();
  link.WriteKeyPerf();
  EXPECT_EQ(19u, FramesOf(mark, CMD_WRITE_KEY_PERF).size());
  const Bytes after = keyboard.Read(Area::Perf);
  int written = 0;
  for (const auto& row : rows) {
    const auto index = link.m_keyIndexByCode.find(row->key_code);
    if (index == link.m_keyIndexByCode.end() || index->second >= kDeviceKeys) continue;
    uint8_t entry[kPerfEntrySize] = {};
    EncodePerfEntry(*row, entry);
    ++written;
    const size_t offset = static_cast<size_t>(kPerfEntrySize) * index->second;
    EXPECT_EQ(Bytes(entry, entry + kPerfEntrySize), Slice(after, offset, kPerfEntrySize)) << row->key_code;
    const bool checked = row->key_code == kA || row->key_code == kS;
    EXPECT_EQ(checked ? std::make_pair(20, 20) : before.at(row->key_code),
              std::make_pair(row->rt_press, row->rt_release))
        << row->key_code;
  }
  EXPECT_GT(written, 2);
  const Bytes entryA = Slice(after, kPerfEntrySize * link.m_keyIndexByCode.at(kA), kPerfEntrySize);
  EXPECT_EQ(entryA, Slice(after, kPerfEntrySize * link.m_keyIndexByCode.at(kS), kPerfEntrySize));
}

}  // namespace
