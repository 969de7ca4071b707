// The advanced-key editor docked in a stand-in main window that records what the panel posts
// to it, with a store in a scratch folder read back by raw SQL: the introduction page and
// Next, what Save stores for each kind, stored keys opened and saved again, picks, list
// entries and drops into the slots, Cancel, and hostile stored rows. Clicks are real mouse
// messages at the controls' rectangles.
#include "app/pages/CustomKeyDKSDlg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "DropWindow.h"
#include "OwnerWindow.h"
#include "ProgramInstance.h"
#include "RawDb.h"
#include "RecordingShell.h"
#include "TempFolder.h"
#include "app/AppMessages.h"
#include "app/pages/AdvancedKeyValues.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MText.h"
#include "ui/core/CIDropTarget.h"
#include "ui/keyboard/KeyDKSCtrl.h"
#include "ui/keyboard/KeyMTCtrl.h"
#include "ui/keyboard/KeyPickerLayout.h"
#include "ui/keyboard/KeySOCDCtrl.h"
#include "ui/keyboard/KeyValueList.h"

using namespace TESK;
using testsupport::ReceivedMessage;
using Rows = std::vector<std::vector<std::string>>;

namespace {

// Where the main window docks the panel in its 1400 x 860 client area.
const CRect kPanelRect(180, 860 - 330, 1400 - 10, 860 - 10);
constexpr int R = 1210;  // the panel's width
constexpr unsigned kKeyA = 0x04, kKeyC = 0x06, kKeyD = 0x07;

// The pack and unpack functions both sides of the store use.
TEST(AdvancedKeyValuesTest, PackingsReadBackWhatTheyWrite) {
  EXPECT_EQ(0x1E0A, PackDksDepths(10, 30));
  EXPECT_EQ(0x0A1E, PackDksDepths(30, 10));
  EXPECT_EQ(0x0A30, PackDksDepths(0x130, 0x20A)) << "only the low bytes";
  for (int n = 0; n < 2; ++n) EXPECT_EQ(n ? 0x1E : 0x0A, DksDepthOf(0x1E0A, n));
  EXPECT_EQ(CString(L"2.5mm"), DksDepthCaption(25));
  const CString names[] = {L"A", L"", L"C", L"D"};
  EXPECT_EQ(CString(L"A+C+D"), JoinKeyNames(names, 4));
  EXPECT_EQ(CString(L""), JoinKeyNames(names + 1, 1));
  EXPECT_EQ(0x21, PackSocdStart(0x20, true));
  EXPECT_EQ(0x30, PackSocdStart(0x3F, false));
  EXPECT_EQ(0x11, PackOksStart(0x10));
  EXPECT_EQ(0x31, PackOksStart(0x30));
  EXPECT_EQ(2, StartRadioOf(0x21));
  EXPECT_TRUE(SocdSwitchOf(0x21));
  EXPECT_FALSE(SocdSwitchOf(0x70));
  EXPECT_EQ(0x00140014, PackOksFirstDepth(20));
  int position = -1;
  EXPECT_TRUE(OksFirstDepthOf(0x00140014, position));
  EXPECT_EQ(20, position);
  position = -1;
  EXPECT_FALSE(OksFirstDepthOf(0x00100014, position));
  EXPECT_EQ(-1, position);
  EXPECT_EQ(CString(L"2.20mm"), DepthCaption(110));
  EXPECT_EQ(CString(L"0.10mm"), DepthCaption(5));
  EXPECT_EQ(CString(L"350ms"), HoldTimeCaption(350));
}

class CustomKeyDKSDlgTest : public testing::Test {
protected:
  // OLE for the drops (the panel's engine registers as drop target at creation).
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  CustomKeyDKSDlgTest() : owner(1400, 860) {}

  void SetUp() override {
    ConfigDatabase::Instance().Close();
    temp.MakeSubFolder(L"db");
    ASSERT_TRUE(ConfigDatabase::Instance().Open(temp.Path().c_str(), L"Adv test"));
    testsupport::ClearMessageBoxes();
  }
  void TearDown() override {
    panel.reset();
    ConfigDatabase::Instance().Close();
  }

  CustomKeyDKSDlg* Open(int mode, unsigned key, int id, int intro) {
    panel.reset();
    owner.Received();
    owner.Clear();
    panel = std::make_unique<CustomKeyDKSDlg>();
    panel->SetKeyTarget(mode, mode + 13, key, id, intro);
    EXPECT_NE(nullptr, panel->Create(owner.Window(), kPanelRect));
    ::UpdateWindow(panel->GetSafeHwnd());
    return panel.get();
  }
  template <class T>
  T* Get(UINT id) {
    return dynamic_cast<T*>(panel->GetControl(id));
  }
  // A click at a point of the panel (its client coordinates), after a paint placed the items.
  void ClickAt(CPoint pt) {
    ::RedrawWindow(panel->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    testsupport::ClickWindow(panel->GetSafeHwnd(), pt);
  }
  void Click(UINT id) {
    MControl* control = panel->GetControl(id);
    ASSERT_NE(nullptr, control) << id;
    ClickAt(control->GetRect().CenterPoint());
  }
  // Save clicked: the id WM_KB_ADVKEY_APPLIED reports, -1 when nothing was posted.
  int Save() {
    owner.Clear();
    Click(CustomKeyDKSDlg::kSaveId);
    for (const ReceivedMessage& m : owner.Received()) {
      if (m.message == WM_KB_ADVKEY_APPLIED && m.wParam == 0) return static_cast<int>(m.lParam);
    }
    return -1;
  }
  std::wstring DbFile() const { return temp.Path() + L"db\\Adv test_datav8.db"; }
  // profile, name, key_value, fn_layer, macro_type, key1_value, key2_value, key1_name, key2_name, reserved
  std::vector<std::string> Row(int id) {
    RawDb raw(DbFile());
    const Rows rows = raw.Rows("SELECT profile, name, key_value, fn_layer, macro_type, key1_value, key2_value, "
                               "key1_name, key2_name, reserved FROM t_magnetic_key_data WHERE macro_id = " +
                               std::to_string(id));
    return rows.empty() ? std::vector<std::string>{} : rows[0];
  }
  int RowCount() { return RawDb(DbFile()).Number("SELECT COUNT(*) FROM t_magnetic_key_data"); }
  // trigger_state1..4, key_value, key_name of the advanced key's items, in order.
  Rows Items(int id) {
    return RawDb(DbFile()).Rows("SELECT trigger_state1, trigger_state2, trigger_state3, trigger_state4, key_value, "
                                "key_name FROM t_key_item_data WHERE macro_id = " + std::to_string(id) +
                                " ORDER BY keyitem_id");
  }
  int Store(int type, unsigned key, int key1, int key2, const wchar_t* name1, const wchar_t* name2, int reserved) {
    MAGNETIC_KEY_DATA row;
    row.profile = 1;
    row.key_value = static_cast<int>(key);
    row.macro_type = type;
    row.key1_value = key1;
    row.key2_value = key2;
    row.key1_name = name1;
    row.key2_name = name2;
    row.reserved = reserved;
    return ConfigDatabase::Instance().InsertMagneticKey(row);
  }
  void StoreItem(int id, int mask, int value, const wchar_t* name) {
    KEY_ITEM_DATA item;
    item.macro_id = id;
    item.trigger_state1 = mask;
    item.key_value = value;
    item.key_name = name;
    ConfigDatabase::Instance().InsertKeyItem(item);
  }
  CString Title(UINT id) {
    auto* text = Get<MControlFont>(id);
    return text ? text->GetTitle() : CString(L"<none>");
  }
  int Progress(UINT id) {
    auto* slider = Get<MSlider>(id);
    return slider ? slider->GetProgress() : -1;
  }
  struct Slot {
    CString text;
    int value, extra;
  };
  Slot GridSlot(int n) {
    Slot s{L"untouched", -1, -1};
    Get<KeyDKSCtrl>(CustomKeyDKSDlg::kGridId)->GetItemValue(n, s.text, s.value, s.extra);
    return s;
  }
  Slot MtSlot(int n) {
    Slot s{L"untouched", -1, -1};
    Get<KeyMTCtrl>(CustomKeyDKSDlg::kKeySlotsId)->GetItemValue(n, s.text, s.value, s.extra);
    return s;
  }
  // The middle of a kind tab (90 x 30, 120 px apart from x 30) and of a list tile (55 x 55,
  // 60 px apart from (10, 60)).
  static CPoint Tab(int index) { return CPoint(30 + 120 * index + 45, 15); }
  static CPoint Tile(int x, int y) { return CPoint(10 + 60 * x + 27, 60 + 60 * y + 27); }
  // MT slots (type 2) in the panel: (10, 5) and (10, 60) of the control at (830, 95).
  static CPoint MtSlotAt(int n) { return CPoint(830 + 45, 95 + 25 + 55 * n); }
  // F1 of the compact picker at (10, 60).
  static CPoint PickerF1() {
    const RECT& cell = KeyPickerCompactGeometry().cells[1];
    return CPoint(10 + (cell.left + cell.right) / 2, 60 + (cell.top + cell.bottom) / 2);
  }
  // The grid's cell in the panel (grid at (760, 50)).
  CPoint GridCell(int index) {
    const CPoint corner = Get<KeyDKSCtrl>(CustomKeyDKSDlg::kGridId)->GetItemPoint(index);
    return CPoint(corner.x + 15, corner.y + 15);
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::TempFolder temp;
  testsupport::OwnerWindow owner;
  std::unique_ptr<CustomKeyDKSDlg> panel;
};

TEST_F(CustomKeyDKSDlgTest, NextNeedsTheKeysOfTheModeAndThenBuildsTheEditingPage) {
  const unsigned values[] = {0, 0x4, 0x00070000, 0x00070004};
  for (int mode = 1; mode <= 6; ++mode) {
    for (unsigned value : values) {
      const std::string name = "mode " + std::to_string(mode) + ", keys " + std::to_string(value);
      Open(mode, 0, 0, 1);
      ASSERT_NE(nullptr, panel->GetControl(CustomKeyDKSDlg::kNextId)) << name;
      EXPECT_EQ(nullptr, panel->GetControl(CustomKeyDKSDlg::kSaveId)) << name;
      panel->SetSocdKeys(value);
      testsupport::ClearMessageBoxes();
      owner.Clear();
      Click(CustomKeyDKSDlg::kNextId);
      const bool accepted = mode <= 3 ? value > 0 : (value & 0xFFFF) && (value >> 16);
      const auto boxes = testsupport::MessageBoxes();
      if (!accepted) {
        ASSERT_EQ(1u, boxes.size()) << name;
        EXPECT_EQ(testsupport::LanText(2100), boxes[0].message) << name;
        EXPECT_EQ(testsupport::LanText(2101), boxes[0].title) << name;
        EXPECT_EQ(owner.Window(), boxes[0].owner) << name;
        EXPECT_EQ(nullptr, panel->GetControl(CustomKeyDKSDlg::kSaveId)) << name << ": nothing changes";
        EXPECT_TRUE(panel->GetControl(CustomKeyDKSDlg::kNextId)->IsVisible()) << name;
        EXPECT_TRUE(owner.Received().empty()) << name;
        continue;
      }
      EXPECT_TRUE(boxes.empty()) << name;
      for (UINT id : {30u, 31u, 32u, 33u, 34u, 35u}) {
        EXPECT_FALSE(panel->GetControl(id)->IsVisible()) << name << ": introduction control " << id;
      }
      EXPECT_EQ(CRect(R - 130, 10, R - 70, 40), panel->GetControl(CustomKeyDKSDlg::kCancelId)->GetRect()) << name;
      ASSERT_NE(nullptr, panel->GetControl(CustomKeyDKSDlg::kSaveId)) << name;
      EXPECT_EQ(panel->GetControl(CustomKeyDKSDlg::kNextId)->GetRect(),
                panel->GetControl(CustomKeyDKSDlg::kSaveId)->GetRect()) << name;
      EXPECT_EQ((std::vector<ReceivedMessage>{{WM_UI_DRAGOVER, 0, 0}}), owner.Received()) << name;
      const UINT editor = mode == 1 ? UINT{CustomKeyDKSDlg::kGridId} : mode <= 3 ? UINT{CustomKeyDKSDlg::kKeySlotsId} : 0u;
      if (editor) {
        EXPECT_NE(nullptr, panel->GetControl(editor)) << name;
      }
    }
  }

  // The picks on the main window's picture show in the chooser.
  Open(5, 0, 0, 1);
  panel->SetSocdKeys(kKeyA | kKeyD << 16);
  auto* chooser = Get<KeySOCDCtrl>(CustomKeyDKSDlg::kChooserId);
  const wchar_t* names[] = {L"A", L"D"};
  for (int n = 0; n < 2; ++n) {
    CString text;
    int value = 0, extra = -1;
    chooser->GetItemValue(n, text, value, extra);
    EXPECT_EQ(CString(names[n]), text);
    EXPECT_EQ(n ? kKeyD : kKeyA, static_cast<unsigned>(value));
  }
}

TEST_F(CustomKeyDKSDlgTest, SaveStoresEachKindAndReportsTheNewId) {
  const std::string a = std::to_string(kKeyA), ad = std::to_string(kKeyA | kKeyD << 16);
  // A new DKS key saved unchanged: the grid's default depths and actions.
  Open(1, kKeyA, 0, 0);
  int id = Save();
  ASSERT_GT(id, 0);
  EXPECT_EQ((std::vector<std::string>{"1", "", a, "0", "14", std::to_string(0x1E0A), std::to_string(0x0A1E), "", "", a}),
            Row(id));
  // Empty slots bind no key (value 0), whatever the grid built them with.
  EXPECT_EQ((Rows{{"255", "0", "0", "0", "0", ""}, {"0", "0", "0", "0", "0", ""}, {"0", "0", "0", "0", "0", ""},
                  {"0", "0", "0", "0", "0", ""}}),
            Items(id));
  EXPECT_FALSE(::IsWindow(panel->GetSafeHwnd())) << "Save closes the panel";

  // DKS slots A, (empty), C, D: their names joined.
  Open(1, kKeyA, 0, 0);
  auto* grid = Get<KeyDKSCtrl>(CustomKeyDKSDlg::kGridId);
  grid->SetItemValue(0, L"A", kKeyA, 2);
  grid->SetItemValue(2, L"C", kKeyC, 2);
  grid->SetItemValue(3, L"D", kKeyD, 2);
  id = Save();
  EXPECT_EQ("A+C+D", Row(id)[7]);
  EXPECT_EQ((std::vector<std::string>{"A", std::to_string(kKeyA)}),
            (std::vector<std::string>{Items(id)[0][5], Items(id)[0][4]}));
  EXPECT_EQ("0", Items(id)[1][4]) << "the empty slot";

  // MT: F13 from the extra keys into slot 0, a media entry into slot 1, hold 35.
  Open(2, kKeyA, 0, 0);
  ClickAt(MtSlotAt(0));
  ClickAt(Tab(2));
  ClickAt(Tile(0, 0));
  ClickAt(MtSlotAt(1));
  ClickAt(Tab(1));
  ClickAt(Tile(0, 0));
  EXPECT_EQ(2, MtSlot(0).extra) << "an extra key";
  EXPECT_EQ(6, MtSlot(1).extra) << "a media function";
  Get<MSlider>(CustomKeyDKSDlg::kHoldSliderId)->SetProgress(35);
  panel->OnMessage(CustomKeyDKSDlg::kHoldSliderId, NOTIFY_CHANGING, 35, 0);
  EXPECT_EQ(CString(L"350ms"), Title(CustomKeyDKSDlg::kHoldCaptionId));
  id = Save();
  EXPECT_EQ((std::vector<std::string>{"1", "", a, "0", "15", "104", std::to_string(0x183), "F13", "Player", "350"}),
            Row(id));

  // MT with slot 1 empty: nothing stored, nothing posted, the panel stays.
  const int rows = RowCount();
  Open(2, kKeyA, 0, 0);
  Get<KeyMTCtrl>(CustomKeyDKSDlg::kKeySlotsId)->SetItemValue(0, L"B", 5, 2);
  EXPECT_EQ(-1, Save());
  EXPECT_EQ(rows, RowCount());
  EXPECT_TRUE(::IsWindow(panel->GetSafeHwnd()));

  // TGL with its one slot.
  Open(3, kKeyA, 0, 0);
  Get<KeyMTCtrl>(CustomKeyDKSDlg::kKeySlotsId)->SetItemValue(0, L"B", 5, 2);
  id = Save();
  EXPECT_EQ((std::vector<std::string>{"1", "", a, "0", "16", "5", "0", "B", "", "0"}), Row(id));

  // RS with the switch on and the depth at 100.
  Open(4, kKeyA | kKeyD << 16, 0, 0);
  Click(CustomKeyDKSDlg::kRsSwitchId);
  EXPECT_EQ(1, Get<CSwitchButton>(CustomKeyDKSDlg::kRsSwitchId)->GetCheck());
  Get<MSlider>(99)->SetProgress(100);
  panel->OnMessage(99, NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ(CString(L"2.00mm"), Title(100));
  id = Save();
  EXPECT_EQ((std::vector<std::string>{"1", "", ad, "0", "17", "1", std::to_string(0x000A000A), "", "", "100"}), Row(id));

  // SOCD and OKS, unchanged and with a radio (and the SOCD switch) chosen.
  const struct {
    const char* name;
    int mode;
    std::vector<UINT> clicks;
    int key1, key2;
  } pairs[] = {
      {"SOCD unchanged", 5, {}, 0x00, 0x000A000A},
      {"SOCD third radio and switch", 5, {71, CustomKeyDKSDlg::kSocdSwitchId}, 0x21, 0x000A000A},
      {"OKS unchanged", 6, {}, 0x11, 0x00140014},
      {"OKS last radio", 6, {115}, 0x31, 0x00140014},
  };
  for (const auto& t : pairs) {
    Open(t.mode, kKeyA | kKeyD << 16, 0, 0);
    for (UINT control : t.clicks) Click(control);
    const int before = RowCount();
    id = Save();
    ASSERT_GT(id, 0) << t.name;
    EXPECT_EQ(before + 1, RowCount()) << t.name;
    EXPECT_EQ((std::vector<std::string>{"1", "", ad, "0", std::to_string(t.mode + 13), std::to_string(t.key1),
                                        std::to_string(t.key2), "", "", "75"}),
              Row(id))
        << t.name;
  }
}

TEST_F(CustomKeyDKSDlgTest, StoredKeysOpenAsStoredAndSaveUnchangedInPlace) {
  const unsigned pair = kKeyA | kKeyD << 16;
  // DKS with depths 25, 30, 30, 10 and four item rows.
  int id = Store(14, kKeyA, PackDksDepths(25, 30), PackDksDepths(30, 10), L"B+C+E", L"", kKeyA);
  const int masks[] = {0x1F, 0x249, 0, 0xFF};
  const wchar_t* names[] = {L"B", L"C", L"", L"E"};
  for (int n = 0; n < 4; ++n) StoreItem(id, masks[n], n == 2 ? 0 : 5 + n, names[n]);
  const std::vector<std::string> dks = Row(id);
  Open(1, kKeyA, id, 0);
  const wchar_t* depths[] = {L"2.5mm", L"3.0mm", L"3.0mm", L"1.0mm"};
  for (int n = 0; n < 4; ++n) EXPECT_EQ(CString(depths[n]), GridSlot(8 + n).text) << n;
  EXPECT_EQ(CString(L"E"), GridSlot(3).text);
  EXPECT_EQ(id, Save()) << "the same id";
  EXPECT_EQ(dks, Row(id));
  const Rows items = Items(id);
  ASSERT_EQ(4u, items.size()) << "item rows rewritten, four";
  for (int n = 0; n < 4; ++n) EXPECT_EQ(std::to_string(masks[n]), items[n][0]) << n;

  // The other kinds, each saved unchanged.
  const struct {
    const char* name;
    int type;
    unsigned key;
    int key1, key2;
    const wchar_t *name1, *name2;
    int reserved;
  } rows[] = {
      {"MT", 15, kKeyA, 104, 0x183, L"F13", L"Player", 350},
      {"TGL", 16, kKeyA, 5, 0, L"B", L"", 0},
      {"RS", 17, pair, 1, 0x000A000A, L"", L"", 100},
      {"SOCD", 18, pair, 0x21, 0x000A000A, L"", L"", 40},
      {"OKS", 19, pair, 0x31, 0x00100014, L"", L"", 120},
  };
  for (const auto& t : rows) {
    id = Store(t.type, t.key, t.key1, t.key2, t.name1, t.name2, t.reserved);
    const std::vector<std::string> stored = Row(id);
    Open(t.type - 13, t.key, id, 0);
    if (t.type == 15) {
      EXPECT_EQ(35, Progress(CustomKeyDKSDlg::kHoldSliderId));
      EXPECT_EQ(CString(L"350ms"), Title(CustomKeyDKSDlg::kHoldCaptionId));
    }
    if (t.type == 19) {
      EXPECT_EQ(20, Progress(119)) << "halves that differ leave the first depth as built";
      EXPECT_EQ(CString(L"单向绑定（A键）"), Title(114));
      EXPECT_EQ(CString(L"单向绑定（D键）"), Title(115));
      EXPECT_EQ(1, Get<CRadioButton>(115)->GetCheck());
      EXPECT_EQ(CString(L"2.40mm"), Title(121));
    }
    if (t.type == 18) {
      CString expected;
      expected.Format(L"%s(A%s)", testsupport::LanText(776).GetString(), testsupport::LanText(777).GetString());
      EXPECT_EQ(expected, Title(70));
      EXPECT_EQ(1, Get<CRadioButton>(71)->GetCheck());
      EXPECT_EQ(1, Get<CSwitchButton>(CustomKeyDKSDlg::kSocdSwitchId)->GetCheck());
      EXPECT_EQ(CString(L"0.80mm"), Title(78));
    }
    if (t.type == 17) {
      EXPECT_EQ(1, Get<CSwitchButton>(CustomKeyDKSDlg::kRsSwitchId)->GetCheck());
      EXPECT_EQ(100, Progress(99));
      EXPECT_EQ(CString(L"2.00mm"), Title(100));
    }
    const int expectedKey2 = t.type == 19 ? 0x00140014 : t.key2;  // OKS stores the slider it shows
    EXPECT_EQ(id, Save()) << t.name;
    std::vector<std::string> after = stored;
    after[6] = std::to_string(expectedKey2);
    EXPECT_EQ(after, Row(id)) << t.name;
  }
}

TEST_F(CustomKeyDKSDlgTest, PicksListEntriesAndDropsLandInTheSelectedSlot) {
  Open(1, kKeyA, 0, 0);
  // A pick with no slot selected changes nothing; with slot 1 selected it fills it.
  ClickAt(PickerF1());
  EXPECT_EQ(CString(L""), GridSlot(1).text);
  ClickAt(GridCell(1));
  ClickAt(PickerF1());
  EXPECT_EQ(CString(L"F1"), GridSlot(1).text);
  EXPECT_EQ(0x3A, GridSlot(1).value);
  EXPECT_EQ(2, GridSlot(1).extra) << "a key";

  // Tab 3 stops at FN7; a list entry goes into the selected slot with its kind.
  ClickAt(Tab(3));
  auto* list = Get<KeyValueList>(CustomKeyDKSDlg::kValueListId);
  ASSERT_TRUE(list->IsVisible());
  ClickAt(GridCell(2));
  ClickAt(Tile(7, 1));  // "Reset" ends the first row: 150, FN1 ... FN7 follow
  EXPECT_EQ(CString(L"FN7"), GridSlot(2).text);
  EXPECT_EQ(FnLayerFunctionCode(7), GridSlot(2).value);
  EXPECT_EQ(12, GridSlot(2).extra);
  list->SetSelectKeyValue(-1);
  ClickAt(Tile(8, 1));
  CString caption;
  EXPECT_EQ(0xFFFFFFFFul, list->GetSelectKeyValue(caption)) << "nothing after FN7";

  // Tab 5 counts the stored events of each macro.
  std::vector<MACRO_RECORD> events(5);
  for (int i = 0; i < 5; ++i) {
    events[i].macro_id = 3;
    events[i].record_index = i;
    events[i].type = 2;
    events[i].value = 4;
  }
  ConfigDatabase::Instance().InsertMacroRecords(events);
  ClickAt(Tab(5));
  ClickAt(GridCell(3));
  ClickAt(Tile(2, 0));
  EXPECT_EQ(CString(L"M3\n(5)"), GridSlot(3).text);
  EXPECT_EQ(3, GridSlot(3).extra);

  // A drop through the panel's drop target lands in the slot the drag rested over.
  ClickAt(Tab(0));
  ClickAt(PickerF1());  // the picker's selection is what a drop brings
  EXPECT_EQ(CString(L"F1"), GridSlot(3).text) << "slot 3 is still selected: the pick went there";
  EXPECT_EQ(CString(L""), GridSlot(0).text);
  TESK::CIDataObject* data = testsupport::DragOutData();
  const auto over = [&](CPoint client) {
    POINT screen = {client.x, client.y};
    ::ClientToScreen(panel->GetSafeHwnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    return POINTL{screen.x, screen.y};
  };
  DWORD effect = DROPEFFECT_COPY;
  PaintManager* engine = panel->GetPaintManager();
  engine->DragEnter(data, 0, over(GridCell(0)), &effect);
  for (int i = 0; i < 2; ++i) {
    effect = DROPEFFECT_COPY;
    engine->DragOver(0, over(GridCell(0)), &effect);
    owner.Received();
  }
  effect = DROPEFFECT_COPY;
  engine->Drop(data, 0, over(GridCell(0)), &effect);
  owner.Received();
  data->Release();
  EXPECT_EQ(CString(L"F1"), GridSlot(0).text) << "the slot the drag rested over";

  // The pair kinds take no pick.
  Open(5, kKeyA | kKeyD << 16, 0, 0);
  EXPECT_EQ(0, panel->OnKeyPicked());
  EXPECT_EQ(0, panel->OnKeyValuePicked());
  EXPECT_EQ(0, panel->OnKeyTypeChanged(2));
}

TEST_F(CustomKeyDKSDlgTest, CancelPostsItsMessageAndWritesNothing) {
  Open(2, kKeyA, 0, 0);
  Get<KeyMTCtrl>(CustomKeyDKSDlg::kKeySlotsId)->SetItemValue(0, L"B", 5, 2);
  Get<KeyMTCtrl>(CustomKeyDKSDlg::kKeySlotsId)->SetItemValue(1, L"C", 6, 2);
  owner.Clear();
  Click(CustomKeyDKSDlg::kCancelId);
  EXPECT_EQ((std::vector<ReceivedMessage>{{WM_KB_ADVKEY_CANCELLED, 0, 0}}), owner.Received());
  EXPECT_EQ(0, RowCount());
  EXPECT_FALSE(::IsWindow(panel->GetSafeHwnd()));
}

// Rows from profile files may hold anything: the panel opens, shows values within its
// controls' ranges, and Save stores those.
TEST_F(CustomKeyDKSDlgTest, HostileStoredRowsOpenAndSaveInRange) {
  for (int count : {0, 2, 9}) {
    const int id = Store(14, kKeyA, 0x1E0A, 0x0A1E, L"", L"", kKeyA);
    for (int n = 0; n < count; ++n) StoreItem(id, n == 1 ? 0x249 : 0x3, 10 + n, L"K");
    Open(1, kKeyA, id, 0);
    for (int n = 0; n < 4; ++n) {
      const bool loaded = n < count;
      EXPECT_EQ(loaded ? CString(L"K") : CString(L""), GridSlot(n).text) << count << " items, slot " << n;
      int mask = -1;
      Get<KeyDKSCtrl>(CustomKeyDKSDlg::kGridId)->GetItemState(16 + 4 * n, mask);
      const int built = n == 0 ? 0xFF : 0;
      EXPECT_EQ(loaded ? (n == 1 ? 0x249 : 0x3) : built, mask) << count << " items, row " << n;
    }
    EXPECT_EQ(id, Save());
    EXPECT_EQ(4u, Items(id).size()) << count;
  }

  const struct {
    const char* name;
    int type;
    int key1, key2, reserved;
    UINT slider;
    int shown;
    const wchar_t* caption;
    std::vector<std::string> stored;  // key1_value, key2_value, reserved after Save
  } rows[] = {
      {"MT hold 100000", 15, 5, 6, 100000, 48, 100, L"1000ms", {"5", "6", "1000"}},
      {"MT hold -5", 15, 5, 6, -5, 48, 20, L"200ms", {"5", "6", "200"}},
      {"RS depth 400", 17, 0, 0, 400, 99, 165, L"3.30mm", {"0", std::to_string(0x000A000A), "165"}},
      {"SOCD start 0x70", 18, 0x70, 0, 75, 79, 75, L"1.50mm", {"0", std::to_string(0x000A000A), "75"}},
      {"OKS start 0x05", 19, 0x05, 0, 2, 122, 5, L"0.10mm", {"17", std::to_string(0x00010001), "5"}},
  };
  for (const auto& t : rows) {
    const int id = Store(t.type, kKeyA | kKeyD << 16, t.key1, t.key2, L"B", L"C", t.reserved);
    Open(t.type - 13, kKeyA | kKeyD << 16, id, 0);
    EXPECT_EQ(t.shown, Progress(t.slider)) << t.name;
    const UINT captionId = t.slider == 48 ? 49 : t.slider == 99 ? 100 : t.slider == 79 ? 78 : 121;
    EXPECT_EQ(CString(t.caption), Title(captionId)) << t.name;
    EXPECT_EQ(id, Save()) << t.name;
    const std::vector<std::string> row = Row(id);
    ASSERT_EQ(10u, row.size()) << t.name;
    EXPECT_EQ(t.stored, (std::vector<std::string>{row[5], row[6], row[9]})) << t.name;
  }
}

}  // namespace
