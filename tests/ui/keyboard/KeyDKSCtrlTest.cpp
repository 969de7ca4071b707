// The DKS grid where the advanced-key editor puts it (window (760, 50)): the cells InitItem
// builds, rows read and written as action masks, bars drawn with the mouse, slots emptied and
// filled, drops through the window's drop target, composed to pixels, and the inputs that
// name no row or cell.
#include "ui/keyboard/KeyDKSCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "SwappedFile.h"
#include "ui/core/Manager.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kGridId = 41;
const CRect kGridRect(760, 50, 1160, 340);
constexpr DWORD kGround = 0x000000;
constexpr DWORD kBar = 0x3769FA;
constexpr DWORD kPreview = 0x19F0EA;

// Reads the cells the grid keeps.
struct OpenDKSCtrl : KeyDKSCtrl {
  using KeyDKSCtrl::m_cells;
};

class KeyDKSCtrlTest : public testing::Test {
protected:
  // OLE stays up for the whole suite: the host's engine takes drops only with it, and
  // starting it is slow.
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  KeyDKSCtrlTest() : host(1200, 400) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    grid = host.Add<KeyDKSCtrl>(L"KeyDKSCtrl", kGridId, kGridRect);
    ASSERT_NE(nullptr, grid);
    grid->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
  }

  std::vector<std::unique_ptr<DKS_CELL>>& Cells() { return static_cast<OpenDKSCtrl*>(grid)->m_cells; }
  // A cell's rectangle in the window.
  CRect At(int index) {
    CRect r = Cells()[index]->rect;
    r.OffsetRect(kGridRect.left, kGridRect.top);
    return r;
  }
  int Mask(int row) {
    int mask = -7;
    grid->GetItemState(row, mask);
    return mask;
  }
  std::vector<int> Ends() {
    std::vector<int> ends;
    for (const auto& cell : Cells()) ends.push_back(cell->end);
    return ends;
  }
  struct Value {
    CString text;
    int value, extra;
    bool operator==(const Value& o) const { return text == o.text && value == o.value && extra == o.extra; }
  };
  Value Read(int index) {
    Value v{L"untouched", -1, -1};
    grid->GetItemValue(index, v.text, v.value, v.extra);
    return v;
  }
  // Pixels along the middle of the row of action cells that starts at index.
  DWORD RowPixel(DibSurface& s, int index, int x) { return s.Pixel(x, At(index).CenterPoint().y); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
  KeyDKSCtrl* grid = nullptr;
};

TEST_F(KeyDKSCtrlTest, InitItemBuildsTheThirtyTwoCellsAndRowZerosDefault) {
  EXPECT_TRUE(Cells().empty()) << "no grid before InitItem";
  grid->InitItem();
  ASSERT_EQ(32u, Cells().size());
  struct Expected {
    int kind;
    CRect rect;
    const wchar_t* text;
    int value;
  };
  std::vector<Expected> expected;
  const int slotValues[] = {4, 1, 2, 3};
  const wchar_t* depths[] = {L"1.0mm", L"3.0mm", L"3.0mm", L"1.0mm"};
  const int depthValues[] = {10, 30, 30, 10};
  for (int n = 0; n < 4; ++n) expected.push_back({1, CRect(300, 60 + 50 * n, 340, 100 + 50 * n), L"", slotValues[n]});
  for (int n = 0; n < 4; ++n) expected.push_back({11, CRect(30 + 70 * n, 0, 60 + 70 * n, 30), L"", 8 + n});
  for (int n = 0; n < 4; ++n) expected.push_back({2, CRect(15 + 70 * n, 30, 75 + 70 * n, 50), depths[n], depthValues[n]});
  for (int n = 0; n < 4; ++n) expected.push_back({12, CRect(44 + 70 * n, 60, 45 + 70 * n, 225), L"", 0});
  for (int r = 0; r < 4; ++r) {
    for (int n = 0; n < 4; ++n) {
      expected.push_back({6, CRect(30 + 70 * n, 65 + 50 * r, 60 + 70 * n, 95 + 50 * r), L"", 20 + 4 * r + n});
    }
  }
  for (int i = 0; i < 32; ++i) {
    const DKS_CELL& cell = *Cells()[i];
    const Expected& e = expected[i];
    EXPECT_EQ(e.kind, cell.kind) << "cell " << i;
    EXPECT_EQ(e.rect, cell.rect) << "cell " << i;
    EXPECT_TRUE(Read(i) == (Value{e.text, e.value, 0})) << "cell " << i;
    EXPECT_EQ(CPoint(e.rect.left + 760, e.rect.top + 50), grid->GetItemPoint(i)) << "cell " << i;
    // The skin ships the trigger points (30 x 30) and the two-frame add strip (60 x 30).
    const bool pictured = e.kind == 6 || e.kind == 11;
    EXPECT_EQ(pictured ? (e.kind == 6 ? 60 : 30) : 0, cell.picture.width) << "cell " << i;
  }
  std::vector<int> ends(32, 0);
  ends[16] = ends[17] = ends[18] = 19;
  EXPECT_EQ(ends, Ends());
  EXPECT_EQ(0xFF, Mask(16));
  for (int row : {20, 24, 28}) EXPECT_EQ(0, Mask(row)) << row;

  // Row 0's default draws as one bar from cell 16's left edge to cell 19's.
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  for (int x : {At(16).left + 3, At(17).left, At(18).CenterPoint().x, At(19).left - 3}) {
    EXPECT_EQ(kBar, RowPixel(s, 16, x)) << "x " << x;
  }
  EXPECT_NE(kBar, RowPixel(s, 16, At(19).left + 5)) << "cell 19 starts no bar";
  EXPECT_NE(kBar, RowPixel(s, 20, At(20).left + 5)) << "row 1 has none";
}

TEST_F(KeyDKSCtrlTest, MasksRoundTripThroughTheRowsBars) {
  grid->InitItem();
  // Each bar of the table alone, as a row's mask; the masks whose tests overlap come back
  // as the bars they are written as.
  const struct {
    const char* name;
    int row, mask, reads;
    std::vector<int> ends;  // the ends of the row's four cells, relative to the row
  } cases[] = {
      {"0 to 0", 20, 0x001, 0x001, {0, -1, -1, -1}},
      {"0 to 1", 20, 0x003, 0x003, {1, -1, -1, -1}},
      {"0 to 2 (and 1 to 2)", 20, 0x01F, 0x01F, {2, 2, -1, -1}},
      {"0 to 3 (and 1 to 3, 2 to 3)", 20, 0x0FF, 0x0FF, {3, 3, 3, -1}},
      {"1 to 1", 24, 0x008, 0x008, {-1, 1, -1, -1}},
      {"1 to 2", 24, 0x018, 0x018, {-1, 2, -1, -1}},
      {"1 to 3 (and 2 to 3)", 24, 0x0F8, 0x0F8, {-1, 3, 3, -1}},
      {"2 to 2", 28, 0x040, 0x040, {-1, -1, 2, -1}},
      {"2 to 3", 28, 0x0C0, 0x0C0, {-1, -1, 3, -1}},
      {"3 to 3", 28, 0x200, 0x200, {-1, -1, -1, 3}},
      {"first row 0x1F", 16, 0x1F, 0x1F, {2, 2, -1, -1}},
      {"four single points", 20, 0x249, 0x249, {0, 1, 2, 3}},
      {"every bit: 0 to 3, 1 to 3 and 3 to 3", 24, 0xFFFF, 0x2FF, {3, 3, -1, 3}},
      {"0 clears the row", 16, 0, 0, {-1, -1, -1, -1}},
  };
  for (const auto& t : cases) {
    for (int row : {16, 20, 24, 28}) grid->SetItemState(row, row == t.row ? 0x249 : 0x3);
    grid->SetItemState(t.row, t.mask);
    EXPECT_EQ(t.reads, Mask(t.row)) << t.name;
    for (int k = 0; k < 4; ++k) {
      const int end = t.ends[k] < 0 ? 0 : t.row + t.ends[k];
      EXPECT_EQ(end, Cells()[t.row + k]->end) << t.name << ", cell " << t.row + k;
    }
    for (int row : {16, 20, 24, 28}) {
      if (row != t.row) EXPECT_EQ(0x3, Mask(row)) << t.name << ": row " << row << " untouched";
    }
  }

  // A row of 3 draws one bar from cell 20's left edge to cell 21's.
  grid->SetItemState(20, 3);
  grid->UpdateControl(1, 0);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kBar, RowPixel(s, 20, At(20).left + 3));
  EXPECT_EQ(kBar, RowPixel(s, 20, At(21).left - 3));
  EXPECT_NE(kBar, RowPixel(s, 20, At(21).left + 5));
}

TEST_F(KeyDKSCtrlTest, IndexesThatNameNoRowOrCellChangeAndReadNothing) {
  // Before InitItem there is no row, no cell and no point.
  int mask = -7;
  grid->GetItemState(16, mask);
  EXPECT_EQ(-7, mask);
  grid->SetItemState(16, 0xFF);
  EXPECT_TRUE(Read(0) == (Value{L"untouched", -1, -1}));
  EXPECT_EQ(CPoint(0, 0), grid->GetItemPoint(0));
  grid->ResetDKSItemState(16);
  grid->SetCurValue(L"A", 4, 2);

  grid->InitItem();
  const std::vector<int> ends = Ends();
  for (int index : {30, 17, 12, 0, -4, 32, 40}) {
    grid->SetItemState(index, 0xFF);
    EXPECT_EQ(ends, Ends()) << "SetItemState " << index;
  }
  for (int index : {29, 17, 31, 8, -1, 40}) EXPECT_EQ(-7, Mask(index)) << "GetItemState " << index;
  for (int index : {40, 32, -1}) {
    grid->SetItemValue(index, L"X", 1, 1);
    EXPECT_TRUE(Read(index) == (Value{L"untouched", -1, -1})) << index;
    EXPECT_EQ(CPoint(0, 0), grid->GetItemPoint(index)) << index;
    grid->ResetDKSItemState(index);
  }
  EXPECT_EQ(ends, Ends());
  // A stored mask may carry any bits: those no bar tests for give nothing.
  grid->SetItemState(28, 0x400 | 0x800 | 0x100);
  EXPECT_EQ(0, Mask(28));
}

TEST_F(KeyDKSCtrlTest, APressAndReleaseDrawABarFromTheStartCellToThePointer) {
  grid->InitItem();
  const int y = At(20).CenterPoint().y;
  const CPoint start(At(20).left + 10, y);
  // Where the release lands, and the row's mask after it.
  const struct {
    const char* name;
    int x, mask;
  } releases[] = {
      {"left of the start cell: no bar", At(20).left - 5, 0x000},
      {"over the start cell: a single point", At(20).left + 20, 0x001},
      {"between the left edges of cells 21 and 22", At(22).left - 10, 0x003},
      {"beyond the row: to its last cell", 1150, 0x0FF},
  };
  for (const auto& t : releases) {
    grid->SetItemState(20, 0);
    host.MoveTo(start);
    host.Press(start);
    host.MoveTo(CPoint(t.x, y + 20));
    host.Release(CPoint(t.x, y + 20));
    EXPECT_EQ(t.mask, Mask(20)) << t.name;
    EXPECT_EQ(0xFF, Mask(16)) << t.name << ": row 0 untouched";
  }

  grid->SetItemState(20, 0);
  host.MoveTo(start);
  host.Press(start);
  host.MoveTo(CPoint(At(22).left - 10, y));
  host.Release(CPoint(At(22).left - 10, y));
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kBar, RowPixel(s, 20, At(20).left + 3));
  EXPECT_EQ(kBar, RowPixel(s, 20, At(21).left - 3));
  EXPECT_NE(kBar, RowPixel(s, 20, At(21).left + 5)) << "the bar ends at cell 21's left edge";

  // Disabled, the grid starts no drag.
  grid->SetEnabled(0);
  const CPoint other(At(24).CenterPoint());
  host.MoveTo(other);
  host.Press(other);
  host.MoveTo(CPoint(1100, other.y));
  host.Release(CPoint(1100, other.y));
  EXPECT_EQ(0, Mask(24));
}

TEST_F(KeyDKSCtrlTest, TheDragPreviewFollowsCountedMovesOnly) {
  grid->InitItem();
  const int y = At(24).CenterPoint().y;
  const CPoint start(At(24).left + 10, y);
  host.MoveTo(start);
  host.Press(start);
  const auto repaintsFor = [&](CPoint pt) {
    host.ClearJournal();
    host.MoveTo(pt);
    return host.Repaints(kGridId).size();
  };
  EXPECT_EQ(0u, repaintsFor(CPoint(start.x + 2, y + 2))) << "under 3 px";
  EXPECT_EQ(1u, repaintsFor(CPoint(930, y))) << "a counted move";
  EXPECT_EQ(0u, repaintsFor(CPoint(931, y + 1))) << "under 3 px from the last counted";
  EXPECT_EQ(0u, repaintsFor(CPoint(1112, y))) << "beyond the limit";
  EXPECT_EQ(0u, repaintsFor(CPoint(At(24).left - 5, y))) << "left of the start cell";

  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kPreview, RowPixel(s, 24, At(24).left + 3)) << "from the start cell's left edge";
  EXPECT_EQ(kPreview, RowPixel(s, 24, 915)) << "to the last counted point";
  EXPECT_NE(kPreview, RowPixel(s, 24, 950));
  EXPECT_EQ(0, Mask(24)) << "no bar before the release";
  host.Release(CPoint(930, y));
  EXPECT_EQ(0x03, Mask(24));
  host.Compose(s);
  EXPECT_NE(kPreview, RowPixel(s, 24, At(24).left + 3)) << "the preview goes with the release";
  EXPECT_EQ(kBar, RowPixel(s, 24, At(24).left + 3));
}

TEST_F(KeyDKSCtrlTest, APressOnABarRemovesItAndTheBarsOverItAndStartsNoDrag) {
  grid->InitItem();
  const struct {
    const char* name;
    int mask, cell, after;
  } cases[] = {
      {"row 0's default, pressed in its middle", 0xFF, 17, 0x000},
      {"four points, one of them", 0x249, 18, 0x209},
      {"0 to 1 beside 3 to 3, the first", 0x203, 16, 0x200},
      {"0 to 2 and 1 to 2, the second", 0x1F, 17, 0x000},
  };
  for (const auto& t : cases) {
    grid->SetItemState(16, t.mask);
    const CPoint at = At(t.cell).CenterPoint();
    host.MoveTo(at);
    host.Press(at);
    host.MoveTo(CPoint(at.x + 200, at.y));
    host.Release(CPoint(at.x + 200, at.y));
    EXPECT_EQ(t.after, Mask(16)) << t.name;
  }
}

TEST_F(KeyDKSCtrlTest, AClickOnASlotEmptiesAndSelectsItForTheNextKey) {
  grid->InitItem();
  for (int n = 0; n < 4; ++n) grid->SetItemValue(n, L"K", 10 + n, 2);
  host.Click(At(2).CenterPoint());
  EXPECT_TRUE(Read(2) == (Value{L"", 0, 0}));
  EXPECT_TRUE(Read(1) == (Value{L"K", 11, 2})) << "the other slots keep their keys";
  grid->SetCurValue(L"F13", 104, 2);
  EXPECT_TRUE(Read(2) == (Value{L"F13", 104, 2}));
  // A label or an action cell selected takes no key.
  for (int cell : {9, 25}) {
    host.Click(At(cell).CenterPoint());
    grid->SetCurValue(L"Esc", 0x29, 2);
    EXPECT_TRUE(Read(cell) == (Value{cell == 9 ? L"3.0mm" : L"", cell == 9 ? 30 : 29, 0})) << cell;
    EXPECT_TRUE(Read(2) == (Value{L"F13", 104, 2})) << cell;
  }
}

TEST_F(KeyDKSCtrlTest, HoveredActionCellsShowTheSecondFrameOfTheAddStrip) {
  testsupport::SwappedFile strip(std::wstring(GetSkinFolder()) + L"icon\\dks_key_add.png", L"");
  ASSERT_TRUE(testsupport::WriteStrip(L"icon\\dks_key_add.png", 30, 30, {0xFFFF0000, 0xFF00FF00}));
  grid->InitItem();
  host.MoveTo(At(25).CenterPoint());
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(0x00FF00u, RowPixel(s, 24, At(25).CenterPoint().x)) << "hovered: frame 1";
  EXPECT_EQ(0xFF0000u, RowPixel(s, 24, At(26).CenterPoint().x)) << "frame 0";
  host.MoveTo(At(26).CenterPoint());
  host.Compose(s);
  EXPECT_EQ(0xFF0000u, RowPixel(s, 24, At(25).CenterPoint().x));
  EXPECT_EQ(0x00FF00u, RowPixel(s, 24, At(26).CenterPoint().x));
  // The loaded pictures hold their files open: let them go before the skin is put back.
  grid->DeleteAllItems();
}

TEST_F(KeyDKSCtrlTest, WithoutItsPicturesTheGridDrawsNoneAndStillWorks) {
  const wchar_t* pictures[] = {L"dks_key_add", L"dks_key_down", L"dks_key_bottom", L"dks_key_up", L"dks_key_top"};
  std::vector<std::unique_ptr<testsupport::SwappedFile>> gone;
  for (const wchar_t* name : pictures) {
    gone.push_back(std::make_unique<testsupport::SwappedFile>(
        std::wstring(GetSkinFolder()) + L"icon\\" + name + L".png", L""));
  }
  grid->InitItem();
  for (const auto& cell : Cells()) EXPECT_FALSE(cell->picture.image) << "kind " << cell->kind;
  host.MoveTo(At(25).CenterPoint());
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kGround, RowPixel(s, 24, At(25).CenterPoint().x)) << "the hovered cell shows nothing";
  EXPECT_EQ(kGround, s.Pixel(At(4).CenterPoint().x, At(4).CenterPoint().y)) << "nor the trigger point";
  host.Press(At(25).CenterPoint());
  host.MoveTo(CPoint(At(26).left + 10, At(25).CenterPoint().y));
  host.Release(CPoint(At(26).left + 10, At(25).CenterPoint().y));
  EXPECT_EQ(0x18, Mask(24));
  grid->DeleteAllItems();
}

TEST_F(KeyDKSCtrlTest, BeforeInitItemOnlyTheBackgroundIsDrawnAndTheMouseIsIgnored) {
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  for (int y = kGridRect.top; y < kGridRect.bottom; y += 7) {
    for (int x = kGridRect.left; x < kGridRect.right; x += 7) ASSERT_EQ(kGround, s.Pixel(x, y)) << x << ", " << y;
  }
  host.ClearJournal();
  for (CPoint pt : {CPoint(1080, 130), CPoint(800, 130), CPoint(805, 90)}) host.Click(pt);
  EXPECT_TRUE(host.Journal().empty());
}

// The window's drop target as a drag out of a picker reaches it: the host answers each
// WM_UI_DRAGOVER with DragMove at the cursor and the drop with SetCurValue, as the editor does.
TEST_F(KeyDKSCtrlTest, ADropFillsTheSlotTheDragRestedOver) {
  host.onDragMessage = [&](const testsupport::HostEvent& e) {
    if (e.kind == testsupport::HostEvent::DragOver) {
      POINT pt;
      GetCursorPos(&pt);
      host.ScreenToClient(&pt);
      grid->DragMove(CPoint(pt.x, pt.y));
    } else {
      grid->SetCurValue(L"F1", 0x3A, 2);
    }
  };
  const struct {
    const char* name;
    std::vector<int> overs;  // the cells the drag passes over, in order
    int filled;              // the slot the drop fills; -1 none
  } cases[] = {
      {"two drag-overs over slot 1", {1, 1}, 1},
      {"one drag-over only hovers", {1}, -1},
      {"from slot 0 to slot 3, resting there", {0, 0, 3, 3}, 3},
      {"over a label", {9, 9}, -1},
      {"over an action cell", {20, 20}, -1},
  };
  for (const auto& t : cases) {
    grid->InitItem();
    for (int cell : t.overs) host.DragOver(At(cell).CenterPoint());
    host.Drop(At(t.overs.back()).CenterPoint());
    for (int n = 0; n < 4; ++n) {
      const int builtValues[] = {4, 1, 2, 3};
      const Value expected = n == t.filled ? Value{L"F1", 0x3A, 2} : Value{L"", builtValues[n], 0};
      EXPECT_TRUE(Read(n) == expected) << t.name << ": slot " << n;
    }
  }

  // While a bar is drawn the drop tracking is off.
  grid->InitItem();
  const CPoint start = At(24).CenterPoint();
  host.MoveTo(start);
  host.Press(start);
  host.DragOver(At(1).CenterPoint());
  host.DragOver(At(1).CenterPoint());
  host.Drop(At(1).CenterPoint());
  EXPECT_TRUE(Read(1) == (Value{L"", 1, 0}));
  host.Release(start);
  host.onDragMessage = nullptr;
}

}  // namespace
