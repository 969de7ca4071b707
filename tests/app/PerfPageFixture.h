// The performance page's window tests share this: the main window on its performance page
// with the simulated Lynt 80, the stored rows and configuration values read with raw SQL, the
// picture's blocks, and the keyboard's performance block compared with the rows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "app/KeyboardDlg.h"
#include "device/DeviceBlocks.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/core/MObject.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace perftest {

using simkb::Area;
using simkb::Bus;
using simkb::Bytes;
using TESK::CSwitchButton;
using TESK::KeyboardCtrl;
using TESK::MSlider;
using TESK::NOTIFY_CLICKED;

constexpr int kKeyA = 4, kKeyS = 22;
constexpr int kPerfTabIndex = 1;  // the performance page's place on the main tab strip

// (switch_type, key_mode, key_actuation, rt_press, rt_release, deadzone_state, press_deadzone,
// release_deadzone) of every stored row of profile 1, by key code.
using Block = std::vector<int>;
inline std::map<int, Block> StoredRows(RawDb& db) {
  std::map<int, Block> rows;
  for (const auto& row : db.Rows("SELECT key_code, switch_type, key_mode, key_actuation, rt_press, rt_release, "
                                 "deadzone_state, press_deadzone, release_deadzone FROM t_key_perf_data "
                                 "WHERE profile = 1")) {
    Block block;
    for (size_t i = 1; i < row.size(); ++i) block.push_back(std::stoi(row[i]));
    rows[std::stoi(row[0])] = block;
  }
  return rows;
}

inline std::string Config(RawDb& db, const char* key) {
  const auto rows =
      db.Rows(std::string("SELECT value FROM t_config_data WHERE profile = 1 AND key = '") + key + "'");
  return rows.empty() ? "(none)" : rows[0][0];
}

// The picture's block of a key, in the order of StoredRows.
inline Block PictureBlock(KeyboardCtrl* picture, int code) {
  int type = 0, mode = 0, actuation = 0, press = 0, release = 0, pressDz = 0, releaseDz = 0, state = 0;
  picture->GetKeyPerfInfo(code, type, mode, actuation, press, release, pressDz, releaseDz, state);
  return {type, mode, actuation, press, release, state, pressDz, releaseDz};
}

inline Bytes EntryOf(const Block& block) {
  KEY_PERF_DATA row;
  row.switch_type = block[0];
  row.key_mode = block[1];
  row.key_actuation = block[2];
  row.rt_press = block[3];
  row.rt_release = block[4];
  row.deadzone_state = block[5];
  row.press_deadzone = block[6];
  row.release_deadzone = block[7];
  uint8_t entry[kPerfEntrySize] = {};
  EncodePerfEntry(row, entry);
  return Bytes(entry, entry + kPerfEntrySize);
}

inline Bytes Slice(const Bytes& bytes, size_t offset, size_t length) {
  return Bytes(bytes.begin() + offset, bytes.begin() + offset + length);
}

class PerfPageFixture : public testsupport::MainWindowFixture {
 protected:
  // The keyboard connected, the performance page shown on its first sub-page, no task left.
  simkb::Keyboard& OnPerfPage() {
    simkb::Keyboard& keyboard = Connected();
    m_dlg->m_tabMain->SetSelectItem(kPerfTabIndex);
    EXPECT_TRUE(Settle());
    TakeAppended();
    return keyboard;
  }
  // Checks exactly these keys, as clicks on the picture do, and reports the selection.
  void Check(std::initializer_list<int> codes) {
    m_dlg->m_keyboardPerf->ResetAllItemCheck(0);
    for (int code : codes) m_dlg->m_keyboardPerf->SetKeyCheck(code, 1);
    m_dlg->m_keyboardPerf->SendMessageW(NOTIFY_CLICKED, 0, 0);
  }
  // A switch clicked: its new state, then its notification.
  LONG Click(CSwitchButton* button, int check) {
    button->SetCheck(check);
    return button->SendMessageW(NOTIFY_CLICKED, 0, 0);
  }
  LONG Release(MSlider* slider, int value) {
    slider->SetProgress(value);
    return slider->SendMessageW(NOTIFY_CLICKED, 0, 0);
  }
  // Pumps until a block write begun after mark has ended its bracket with all its chunks.
  bool PerfWriteDone(size_t mark) {
    return testsupport::PumpUntil([&] { return LastBracketFrames(mark, CMD_WRITE_KEY_PERF) == 19; }, 10000);
  }
  // Every stored row of the keyboard's keys is its entry in the keyboard's block.
  void ExpectBlockHoldsRows(simkb::Keyboard& keyboard, const std::map<int, Block>& rows) {
    const Bytes block = keyboard.Read(Area::Perf);
    int compared = 0;
    for (const auto& [code, row] : rows) {
      const auto index = m_dlg->m_keyIndexByCode.find(code);
      if (index == m_dlg->m_keyIndexByCode.end() || index->second >= kDeviceKeys) continue;
      ++compared;
      EXPECT_EQ(EntryOf(row), Slice(block, static_cast<size_t>(kPerfEntrySize) * index->second, kPerfEntrySize))
          << "key " << code;
    }
    EXPECT_GT(compared, 80);
  }
};

}  // namespace perftest
