// The key page's function group view: a real picker and list from the factories, filled
// group by group, with macro counts from a store in a scratch folder; the list's content is
// read back the way a user finds it, by clicking every place a tile can lie.
#include "app/pages/KeyValueListFill.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "RecordingShell.h"
#include "TempFolder.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MTabLayout.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyValueList.h"

using namespace TESK;
using testsupport::ControlHost;

namespace {

constexpr UINT kPickerId = 93, kListId = 94;
// 10 tiles to a row, 5 rows: room for the longest group with its "Reset" row break.
const CRect kListRect(10, 10, 610, 310);

struct Tile {
  unsigned long value;
  std::wstring caption;
  bool operator==(const Tile& o) const { return value == o.value && caption == o.caption; }
};

std::ostream& operator<<(std::ostream& out, const Tile& t) {
  return out << "{0x" << std::hex << t.value << std::dec << ", \"" << CString(t.caption.c_str()).GetString() << "\"}";
}

class KeyValueListFillTest : public testing::Test {
protected:
  KeyValueListFillTest() : host(640, 330) {}

  void SetUp() override {
    ConfigDatabase::Instance().Close();
    temp.MakeSubFolder(L"db");
    ASSERT_TRUE(ConfigDatabase::Instance().Open(temp.Path().c_str(), L"Fill test"));
    auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    ASSERT_NE(nullptr, page);
    picker = dynamic_cast<KeyFuncControl*>(page->CreateControl(L"KeyFuncControl", kPickerId, kListRect, L"", 1, 1));
    list = host.Add<KeyValueList>(L"KeyValueList", kListId, kListRect);
    ASSERT_NE(nullptr, picker);
    ASSERT_NE(nullptr, list);
    picker->InitItemInfo();
  }
  void TearDown() override { ConfigDatabase::Instance().Close(); }

  // Every tile of the list in index order, found by clicking each place of the 60-pixel grid.
  std::vector<Tile> Listed() {
    testsupport::DibSurface surface(host.width(), host.height());
    host.Compose(surface);  // the paint places the tiles
    std::map<int, Tile> found;
    for (int y = kListRect.top; y + 55 <= kListRect.bottom; y += 60) {
      for (int x = kListRect.left; x + 55 <= kListRect.right; x += 60) {
        host.ClearJournal();
        host.Click(CPoint(x + 27, y + 27));
        const std::vector<testsupport::HostEvent> events = host.Events();
        for (const auto& e : events) {
          if (e.kind != testsupport::HostEvent::Notification) continue;
          CString caption;
          const unsigned long value = list->GetSelectKeyValue(caption);
          found[static_cast<int>(e.wParam)] = Tile{value, caption.GetString()};
        }
      }
    }
    std::vector<Tile> tiles;
    for (const auto& entry : found) tiles.push_back(entry.second);
    EXPECT_EQ(found.empty() ? 0 : found.rbegin()->first + 1, static_cast<int>(tiles.size())) << "indexes without a tile";
    return tiles;
  }
  bool NothingSelected() {
    CString caption = L"untouched";
    return list->GetSelectKeyValue(caption) == 0xFFFFFFFFul && caption == L"untouched";
  }
  static std::wstring Lan(int id) { return testsupport::LanText(id).GetString(); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::TempFolder temp{L"fill"};
  ControlHost host;
  KeyFuncControl* picker = nullptr;
  KeyValueList* list = nullptr;
};

TEST_F(KeyValueListFillTest, EachGroupListsItsEntriesInOrder) {
  const struct {
    int group;
    size_t count;
    Tile first, last;
    std::vector<std::pair<size_t, Tile>> spots;
  } groups[] = {
      {1, 20, {0x183, L"Player"}, {0x18A, L"Email"}, {{8, {0x6F, L"Screen Bright+"}}}},
      {2, 22, {104, L"F13"}, {136, L"かな"}, {{12, {50, L"NUHS"}}, {16, {248, L"Reset"}}, {17, {139, L"無変換"}}}},
      {3, 17, {1, L"Lock"}, {0x1BFF, L"FN11"}, {{1, {2, L"Win\nLock"}}, {5, {0x00FF, Lan(150)}}, {6, {0x1FF, L"FN1"}}}},
      {4, 17, {46, L"RGB Mode-"}, {62, L"Color"}, {{4, {51, L"Bright-"}}, {5, {50, L"Bright+"}}}},
      {5, 10, {1, L"M1"}, {10, L"M10"}, {{1, {2, L"M2"}}}},
      {6, 8, {1, Lan(151)}, {6, Lan(158)}, {{4, {7, Lan(155)}}}},
  };
  for (const auto& g : groups) {
    EXPECT_EQ(1, FillKeyValueList(picker, list, g.group)) << g.group;
    EXPECT_EQ(0, picker->IsVisible()) << g.group;
    EXPECT_EQ(1, list->IsVisible()) << g.group;
    EXPECT_TRUE(NothingSelected()) << g.group;
    const std::vector<Tile> tiles = Listed();
    ASSERT_EQ(g.count, tiles.size()) << "group " << g.group;
    EXPECT_EQ(g.first, tiles.front()) << "group " << g.group;
    EXPECT_EQ(g.last, tiles.back()) << "group " << g.group;
    for (const auto& spot : g.spots) EXPECT_EQ(spot.second, tiles[spot.first]) << "group " << g.group;
  }

  // Group 0 is the picker; any other number shows the list empty.
  EXPECT_EQ(1, FillKeyValueList(picker, list, 0));
  EXPECT_EQ(1, picker->IsVisible());
  EXPECT_EQ(0, list->IsVisible());
  EXPECT_TRUE(NothingSelected());
  for (int group : {9, 7, -1}) {
    EXPECT_EQ(1, FillKeyValueList(picker, list, group));
    EXPECT_EQ(0, picker->IsVisible()) << group;
    EXPECT_EQ(1, list->IsVisible()) << group;
    EXPECT_TRUE(NothingSelected()) << group << ": index 0 of an empty list names no tile";
    EXPECT_TRUE(Listed().empty()) << group;
  }
  EXPECT_EQ(1, FillKeyValueList(nullptr, nullptr, 3)) << "no controls, nothing done";
}

TEST_F(KeyValueListFillTest, MacroTilesShowTheirStoredEventCounts) {
  std::vector<MACRO_RECORD> events(3);
  for (int i = 0; i < 3; ++i) {
    events[i].macro_id = 2;
    events[i].record_index = i;
    events[i].type = 1;
    events[i].value = 4 + i;
  }
  ConfigDatabase::Instance().InsertMacroRecords(events);
  ASSERT_EQ(3, ConfigDatabase::Instance().CountMacroRecords(2));
  FillKeyValueList(picker, list, 5);
  std::vector<Tile> expected;
  for (int n = 1; n <= 10; ++n) expected.push_back({static_cast<unsigned long>(n), L"M" + std::to_wstring(n)});
  expected[1].caption = L"M2\n(3)";
  EXPECT_EQ(expected, Listed());

  // Counts that cannot be read show the bare numbers.
  ConfigDatabase::Instance().Close();
  FillKeyValueList(picker, list, 5);
  expected[1].caption = L"M2";
  EXPECT_EQ(expected, Listed());
}

}  // namespace
