// The key page's function list driven through a window the way a user does (hover, clicks,
// a drag out through OLE), composed to pixels, and with the inputs that name no tile.
#include "ui/keyboard/KeyValueList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "DropWindow.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kListId = 94;
const CPoint kOrigin(20, 10);  // the list's top-left corner in the window
constexpr DWORD kGround = 0x000000;
constexpr DWORD kPlainOutline = 0x646464;
constexpr DWORD kHighlightOutline = 0xDC4F2E;

class KeyValueListTest : public testing::Test {
protected:
  // OLE stays up for the whole suite (the drag test needs it; starting it is slow).
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  KeyValueListTest() : host(400, 320) {}
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  // A list 300 px wide made by the engine's factory, with white captions.
  KeyValueList* List(int width = 300) {
    auto* list = host.Add<KeyValueList>(L"KeyValueList", kListId, CRect(kOrigin, CSize(width, 300)));
    if (list) list->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    return list;
  }
  // The tile at (x, y) of the list, in the window.
  static CRect Tile(int x, int y) { return CRect(kOrigin.x + x, kOrigin.y + y, kOrigin.x + x + 55, kOrigin.y + y + 55); }
  // The middle of the tile's left edge, where its outline runs.
  static CPoint LeftEdge(const CRect& tile) { return CPoint(tile.left, tile.CenterPoint().y); }
  DWORD OutlineOf(const CRect& tile) { return host.PixelAt(LeftEdge(tile).x, LeftEdge(tile).y); }

  struct Read {
    unsigned long value;
    CString caption;
  };
  static Read Selected(KeyValueList* list) {
    Read r{0, L"untouched"};
    r.value = list->GetSelectKeyValue(r.caption);
    return r;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(KeyValueListTest, TilesFlowInRowsOf60AndResetEndsItsRow) {
  KeyValueList* list = List();
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(1, list->IsDragDrop());
  EXPECT_EQ(12, list->GetFontWidth());
  const wchar_t* captions[] = {L"A", L"B", L"C", L"D", L"E", L"F", L"Reset", L"H", L"I", L"J", L"K", L"Reset", L"M", L"N"};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(i, list->AddKeyInfo(100 + i, captions[i], L""));
  list->SetSelectKeyValue(-1);
  // In 300 px the fifth tile still fits at x 240 (x 300 exceeds 240, so the sixth wraps);
  // "Reset" ends its row, and when it stands last in a row that leaves one row empty.
  const struct {
    int index, x, y;
  } places[] = {{0, 0, 0},    {1, 60, 0},     {4, 240, 0},    {5, 0, 60},   {6, 60, 60},
                {7, 0, 120},  {10, 180, 120}, {11, 240, 120}, {12, 0, 240}, {13, 60, 240}};
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  for (const auto& p : places) {
    const CRect tile = Tile(p.x, p.y);
    EXPECT_EQ(kPlainOutline, s.Pixel(LeftEdge(tile).x, LeftEdge(tile).y)) << "tile " << p.index;
    EXPECT_EQ(kGround, s.Pixel(tile.left + 5, tile.top + 5)) << "tile " << p.index << ": the window shows inside";
  }
  EXPECT_EQ(kGround, s.Pixel(LeftEdge(Tile(300, 0)).x, LeftEdge(Tile(300, 0)).y)) << "no sixth tile on row 0";
  EXPECT_EQ(kGround, s.Pixel(LeftEdge(Tile(120, 60)).x, LeftEdge(Tile(120, 60)).y)) << "nothing after Reset";
  EXPECT_EQ(kGround, s.Pixel(LeftEdge(Tile(0, 180)).x, LeftEdge(Tile(0, 180)).y)) << "the empty row";

  // Clicks hit the tiles where the paint put them.
  for (const auto& p : places) {
    host.ClearJournal();
    host.Click(Tile(p.x, p.y).CenterPoint());
    EXPECT_EQ(std::vector<std::string>{"94 notify 2 (" + std::to_string(p.index) + ", 0)"}, host.Notifications())
        << "tile " << p.index;
    EXPECT_EQ(static_cast<unsigned long>(100 + p.index), Selected(list).value);
  }
  host.ClearJournal();
  host.Click(CPoint(Tile(0, 0).right + 2, Tile(0, 0).CenterPoint().y));
  EXPECT_TRUE(host.Notifications().empty()) << "a gap picks nothing";
}

TEST_F(KeyValueListTest, OutlinesShowTheSelectedAndTheHoveredTile) {
  KeyValueList* list = List();
  ASSERT_NE(nullptr, list);
  for (int i = 0; i < 6; ++i) list->AddKeyInfo(i * 10, (L"T" + std::to_wstring(i)).c_str(), L"");
  EXPECT_EQ(kPlainOutline, OutlineOf(Tile(0, 0))) << "nothing selected before any call";
  list->SetSelectKeyValue(20);
  EXPECT_EQ(kHighlightOutline, OutlineOf(Tile(120, 0)));
  EXPECT_EQ(kPlainOutline, OutlineOf(Tile(60, 0)));
  host.MoveTo(Tile(0, 60).CenterPoint());
  EXPECT_EQ(kHighlightOutline, OutlineOf(Tile(0, 60))) << "hovered";
  EXPECT_EQ(kHighlightOutline, OutlineOf(Tile(120, 0))) << "still selected";

  // Hover changes ask for one repaint each; a move within a tile for none.
  const struct {
    const char* name;
    CPoint pt;
    size_t repaints;
  } moves[] = {
      {"within the tile", Tile(0, 60).CenterPoint() + CPoint(10, 10), 0},
      {"onto the gap", CPoint(Tile(0, 60).right + 2, Tile(0, 60).CenterPoint().y), 1},
      {"onto another tile", Tile(60, 0).CenterPoint(), 1},
      {"off the list", CPoint(395, 315), 1},
  };
  for (const auto& m : moves) {
    host.ClearJournal();
    host.MoveTo(m.pt);
    EXPECT_EQ(m.repaints, host.Repaints(kListId).size()) << m.name;
  }

  // A value no tile has keeps the selection (and still repaints); -1 clears it.
  host.ClearJournal();
  list->SetSelectKeyValue(999);
  EXPECT_EQ(std::vector<int>{1}, host.Repaints(kListId));
  EXPECT_EQ(20ul, Selected(list).value);
  EXPECT_EQ(CString(L"T2"), Selected(list).caption);
  int value = -5;
  CString caption = L"untouched";
  list->GetCurValue(value, caption);
  EXPECT_EQ(20, value);
  EXPECT_EQ(CString(L"T2"), caption);
  list->SetSelectKeyValue(-1);
  EXPECT_EQ(0xFFFFFFFFul, Selected(list).value);
  EXPECT_EQ(CString(L"untouched"), Selected(list).caption);
  EXPECT_EQ(kPlainOutline, OutlineOf(Tile(120, 0)));

  // A release over the selected tile tells the owner again without a repaint.
  host.Click(Tile(60, 0).CenterPoint());
  host.ClearJournal();
  host.Press(Tile(60, 0).CenterPoint());
  host.Release(Tile(60, 0).CenterPoint());
  EXPECT_EQ(std::vector<std::string>{"94 notify 2 (1, 0)"}, host.Journal());
}

TEST_F(KeyValueListTest, AnEmptiedListSelectsNothingAndLongCaptionsStayInTheirTiles) {
  KeyValueList* list = List();
  ASSERT_NE(nullptr, list);
  list->ClearAllItems();
  EXPECT_EQ(0xFFFFFFFFul, Selected(list).value) << "index 0 names no tile";
  EXPECT_EQ(CString(L"untouched"), Selected(list).caption);
  int value = -5;
  CString caption = L"untouched";
  list->GetCurValue(value, caption);
  EXPECT_EQ(-5, value);
  EXPECT_EQ(CString(L"untouched"), caption);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(0, s.Count(0, 0, host.width(), host.height(), kHighlightOutline));
  host.ClearJournal();
  host.Click(Tile(0, 0).CenterPoint());
  EXPECT_TRUE(host.Notifications().empty());

  // The kept index makes the first tile added next the selected one.
  list->AddKeyInfo(7, std::wstring(300, L'W').c_str(), L"");
  list->AddKeyInfo(8, (std::wstring(150, L'x') + L"\n" + std::wstring(150, L'y')).c_str(), L"no_such_tile_picture.png");
  list->AddKeyInfo(9, L"Vol+", L"");
  EXPECT_EQ(7ul, Selected(list).value);
  EXPECT_EQ(300, Selected(list).caption.GetLength());
  list->UpdateControl(1, 0);
  host.Compose(s);
  EXPECT_EQ(kHighlightOutline, s.Pixel(LeftEdge(Tile(0, 0)).x, LeftEdge(Tile(0, 0)).y));
  // Captions wrap within their tiles and only whole lines that fit are drawn: no ink
  // between the tiles or below them.
  const auto white = [](DWORD p) { return (p & 0xFF) > 100 && ((p >> 8) & 0xFF) > 100 && (p >> 16) > 100; };
  const auto inked = [&](const CRect& area) {
    const RECT ink = s.InkBox(area, white);
    return ink.right > ink.left;
  };
  EXPECT_TRUE(inked(Tile(120, 0))) << "a short caption shows";
  for (int gap : {55, 115}) EXPECT_FALSE(inked(CRect(kOrigin.x + gap, 0, kOrigin.x + gap + 5, host.height()))) << gap;
  EXPECT_FALSE(inked(CRect(0, kOrigin.y + 56, host.width(), host.height()))) << "below the tiles";
}

TEST_F(KeyValueListTest, ADragOutSelectsTheHoveredTileSilentlyAndDropsItsPicture) {
  KeyValueList* list = List();
  ASSERT_NE(nullptr, list);
  for (int i = 0; i < 3; ++i) list->AddKeyInfo(i + 1, (L"V" + std::to_wstring(i)).c_str(), L"");
  list->SetSelectKeyValue(-1);
  DibSurface s(host.width(), host.height());
  host.Compose(s);  // the paint places the tiles
  EXPECT_EQ(nullptr, list->GetDropBitmap()) << "nothing hovered";

  // The drop window lies over the second tile, so a drag that starts there drops on it at
  // once: no button is really held, so the system's drag loop ends where the cursor is.
  const CPoint at = Tile(60, 0).CenterPoint();
  const CPoint screen = host.ToScreen(at);
  testsupport::DropWindow target;
  ASSERT_NE(nullptr, target.Create(nullptr, L"target", WS_POPUP, WS_EX_TOPMOST,
                                   CRect(screen.x - 30, screen.y - 30, screen.x + 30, screen.y + 30)));
  target.ShowWindow(SW_SHOWNOACTIVATE);
  testsupport::PumpFor(50);
  host.MoveTo(at);
  host.ClearJournal();
  host.Press(at);
  // The engine starts the drag on a small move with the button held, after the first move.
  host.MoveTo(at + CPoint(1, 1));
  host.MoveTo(at + CPoint(2, 2));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return target.Dropped(); }, 1000));
  EXPECT_TRUE(host.Notifications().empty()) << "the drag selects without telling the owner";
  host.Release(at);

  const std::unique_ptr<DibSurface> dropped = testsupport::SurfaceOf(target.image);
  ASSERT_NE(nullptr, dropped);
  EXPECT_EQ(59, dropped->width()) << "the tile grown by 2 on every side";
  EXPECT_EQ(59, dropped->height());
  EXPECT_EQ(kHighlightOutline, dropped->Pixel(2, 29)) << "the hovered tile's outline";
  const Read r = Selected(list);
  EXPECT_EQ(2ul, r.value) << "the receiver asks the list what was dropped";
  EXPECT_EQ(CString(L"V1"), r.caption);
  target.DestroyWindow();

  list->SetEnabled(0);
  EXPECT_EQ(nullptr, list->GetDropBitmap()) << "a disabled list gives none";
}

}  // namespace
