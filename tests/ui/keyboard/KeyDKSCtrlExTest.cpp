// The advanced-key page's tile list, made through a page panel and driven the way a user does
// (hover, clicks on tiles and on their delete icons, the wheel), composed to pixels.
#include "ui/keyboard/KeyDKSCtrlEx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/MScroll.h"
#include "ui/controls/MTabLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kListId = 112;
const CPoint kOrigin(10, 10);
constexpr DWORD kGround = 0x000000;
constexpr DWORD kTileFill = 0x393B50;
constexpr DWORD kKeyBox = 0x474A69;
// The fixture kind strip: five 20 x 10 frames, one colour each (DKS, MT, TGL, RS, SOCD).
constexpr DWORD kFrames[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF};
constexpr DWORD kDeleteIcon = 0xFF00FF;
constexpr wchar_t kStripFile[] = L"kc5_dks_kinds.png";
constexpr wchar_t kDeleteFile[] = L"kc5_dks_delete.png";

class KeyDKSCtrlExTest : public testing::Test {
protected:
  KeyDKSCtrlExTest() : host(720, 320) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    std::vector<DWORD> frames;
    for (DWORD c : kFrames) frames.push_back(0xFF000000 | c);
    ASSERT_TRUE(testsupport::WriteStrip(kStripFile, 20, 10, frames));
    ASSERT_TRUE(testsupport::WriteStrip(kDeleteFile, 16, 16, {0xFF000000 | kDeleteIcon}));
  }

  // The list on a page panel at kOrigin, width x height, with the fixture pictures (or none).
  KeyDKSCtrlEx* List(int width, int height, bool pictures = true) {
    auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    if (!page) return nullptr;
    auto* list = dynamic_cast<KeyDKSCtrlEx*>(
        page->CreateControl(L"KeyDKSCtrlEx", kListId, CRect(kOrigin, CSize(width, height)), L"", 1, 1));
    if (!list) return nullptr;
    list->SetFont(testsupport::InstalledFontFamily(), 12, Gdiplus::FontStyleRegular);
    list->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    if (pictures) {
      list->SetIconFile(kStripFile);
      list->SetEditDelIconFile(kDeleteFile);
    }
    return list;
  }
  static void AddDks(KeyDKSCtrlEx* list, int count) {
    for (int i = 0; i < count; ++i) list->AddItem(L"D", 14, L"A", L"B", L"C", L"D", 1000 + i);
  }
  // A tile's top-left corner in the window for a tile at (x, y) of the list, scrolled by offset.
  static CPoint Tile(int x, int y, int offset = 0) { return CPoint(kOrigin.x + x, kOrigin.y + y - offset); }
  // A spot of the tile's own fill: above the boxes, left of the kind picture.
  static CPoint Face(CPoint tile) { return tile + CPoint(60, 8); }
  // A spot inside the delete icon, and one 4 px outside its right edge.
  static CPoint OnDelete(CPoint tile) { return tile + CPoint(328, 14); }
  static CPoint NearDelete(CPoint tile) { return tile + CPoint(339, 14); }
  // The first move hovers a tile; the click's own move then finds its delete icon.
  std::vector<std::string> ClickAt(CPoint pt) {
    host.PixelAt(0, 0);
    host.MoveTo(pt);
    return host.ClickShown(pt);
  }
  static std::string Told(UINT code) { return testsupport::NotifyLine(kListId, code, 0, 0); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(KeyDKSCtrlExTest, OnlyAPagePanelMakesIt) {
  EXPECT_EQ(nullptr, host.Add(L"KeyDKSCtrlEx", 4, CRect(0, 0, 100, 100)));
  EXPECT_NE(nullptr, List(700, 250));
}

TEST_F(KeyDKSCtrlExTest, TilesFillLinesOfTwoInSevenHundredPixels) {
  KeyDKSCtrlEx* list = List(700, 250);
  ASSERT_NE(nullptr, list);
  AddDks(list, 3);
  EXPECT_EQ(160, list->GetContentHeight());
  EXPECT_EQ(0, list->GetScrollVertical()->IsVisible());
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  for (CPoint tile : {Tile(0, 0), Tile(350, 0), Tile(0, 80)}) {
    EXPECT_EQ(kTileFill, s.Pixel(Face(tile).x, Face(tile).y)) << tile.x << "," << tile.y;
    EXPECT_EQ(kGround, s.Pixel(tile.x + 345, tile.y + 35)) << "the gap right of the tile";
    EXPECT_EQ(kGround, s.Pixel(tile.x + 100, tile.y + 75)) << "the gap below the tile";
  }
  EXPECT_EQ(kGround, s.Pixel(Face(Tile(350, 80)).x, Face(Tile(350, 80)).y)) << "no fourth tile";
}

TEST_F(KeyDKSCtrlExTest, AHundredTilesScrollByWheelToTheLastWhichAClickSelects) {
  KeyDKSCtrlEx* list = List(700, 300);
  ASSERT_NE(nullptr, list);
  AddDks(list, 100);
  auto* bar = dynamic_cast<MScroll*>(list->GetScrollVertical());
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(1, bar->IsVisible());
  EXPECT_EQ(4000, bar->GetScrollMaxRange());

  for (int notch = 0; notch < 100 && bar->GetScrollCurrentPos() < bar->GetScrollMaxRange(); ++notch) {
    host.Wheel(CPoint(200, 150), -WHEEL_DELTA);
  }
  ASSERT_EQ(4000, bar->GetScrollCurrentPos());
  // Scrolled by 4000 - 300: the last line (49) starts 220 px down the list.
  const CPoint last = Tile(350, 49 * 80, 3700);
  EXPECT_EQ(kTileFill, host.PixelAt(Face(last).x, Face(last).y));
  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_CLICKED)}, ClickAt(Face(last)));
  EXPECT_EQ(99, list->GetSelectItem());
  EXPECT_EQ(1099, list->GetMacroValue());

  // The wheel back up; a list whose content fits takes no wheel at all.
  host.Wheel(CPoint(200, 150), WHEEL_DELTA);
  EXPECT_EQ(3900, bar->GetScrollCurrentPos());
  list->DeleteAllItems();
  EXPECT_EQ(0, bar->IsVisible());
  AddDks(list, 6);
  EXPECT_EQ(0, list->OnControlScroll(0, 1, CPoint(200, 150)));
}

TEST_F(KeyDKSCtrlExTest, ReleasesOnTheDeleteIconAskToDeleteAndElsewhereSelect) {
  KeyDKSCtrlEx* list = List(700, 250);
  ASSERT_NE(nullptr, list);
  list->AddItem1(L"R", L"R2", 17, 44, L"", 7);
  list->AddItem1(L"again", L"again", 17, 44, L"", 8);
  list->AddItem1(L"S", L"S2", 18, 45, L"A / D", 9);
  EXPECT_EQ(80, list->GetContentHeight()) << "the second tile of key 44 is refused";

  const CPoint first = Tile(0, 0), second = Tile(350, 0);
  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_ITEMICON)}, ClickAt(OnDelete(first)));
  EXPECT_EQ(7, list->GetMacroValue());
  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_ITEMICON)}, ClickAt(NearDelete(second))) << "within 5 px";
  EXPECT_EQ(9, list->GetMacroValue());
  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_CLICKED)}, ClickAt(Face(first)));
  EXPECT_EQ(0, list->GetSelectItem());

  list->SetSelectValue(12345);
  EXPECT_EQ(0, list->GetSelectItem()) << "no tile has that id";
  list->SetSelectValue(9);
  EXPECT_EQ(1, list->GetSelectItem());
  int value = 0;
  CString text = L"untouched";
  list->GetMacroValue(value, text);
  EXPECT_EQ(9, value);
  EXPECT_EQ(CString(L"untouched"), text) << "kinds of tiles build no text";
  list->DeleteItem(99);
  EXPECT_EQ(9, list->GetMacroValue());
  list->DeleteItem(1);
  EXPECT_EQ(0, list->GetMacroValue());
  EXPECT_EQ(-1, list->GetSelectItem());
  EXPECT_TRUE(ClickAt(Face(second)).empty()) << "the deleted tile is gone";
}

TEST_F(KeyDKSCtrlExTest, EachKindShowsItsFrameOfTheStripAndAHoveredDeleteIconIsFramed) {
  KeyDKSCtrlEx* list = List(700, 300);
  ASSERT_NE(nullptr, list);
  list->AddItem(L"DKS", 14, L"A", L"B", L"C", L"D", 1);
  list->AddItem(L"MT", 15, L"A", L"B", L"", L"", 2);
  list->AddItem(L"TGL", 16, L"A", L"", L"", L"", 3);
  list->AddItem1(L"RS", L"RS2", 17, 4, L"", 4);
  list->AddItem1(L"SOCD", L"SOCD2", 18, 5, L"W / S", 5);
  list->AddItem1(L"OKS", L"OKS2", 19, 6, L"Q", 6);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  const CPoint tiles[] = {Tile(0, 0), Tile(350, 0), Tile(0, 80), Tile(350, 80), Tile(0, 160), Tile(350, 160)};
  // The kind pictures' middle: x + 65 or x + 125 plus half a frame, centred in y + 15 ... y + 63.
  for (int kind = 0; kind < 5; ++kind) {
    const CPoint at = tiles[kind] + CPoint((kind < 3 ? 65 : 125) + 10, 15 + 19 + 5);
    EXPECT_EQ(kFrames[kind], s.Pixel(at.x, at.y)) << "kind " << 14 + kind;
    EXPECT_EQ(kDeleteIcon, s.Pixel(OnDelete(tiles[kind]).x, OnDelete(tiles[kind]).y));
  }
  EXPECT_EQ(kKeyBox, s.Pixel(tiles[0].x + 245, tiles[0].y + 50)) << "DKS: four key boxes";
  EXPECT_EQ(kKeyBox, s.Pixel(tiles[1].x + 165, tiles[1].y + 50)) << "MT: two";
  EXPECT_EQ(kTileFill, s.Pixel(tiles[1].x + 205, tiles[1].y + 50));
  EXPECT_EQ(kTileFill, s.Pixel(tiles[2].x + 165, tiles[2].y + 50)) << "TGL: one";
  // OKS asks for a sixth frame of the five: its boxes are drawn, no picture.
  const CPoint oks = tiles[5];
  EXPECT_EQ(0xA4ACB9u, s.Pixel(oks.x + 70, oks.y + 40)) << "the second caption box's frame";
  for (int x = 125; x < 125 + 40; x += 4) EXPECT_EQ(kTileFill, s.Pixel(oks.x + x, oks.y + 39)) << x;

  // The delete icon's frame appears while the pointer is on the icon of the hovered tile.
  const CPoint tile = tiles[3];
  const CPoint frameSpot = tile + CPoint(315, 14);  // the frame's left side, 5 px out of the icon
  const DWORD plain = s.Pixel(frameSpot.x, frameSpot.y);
  EXPECT_EQ(kTileFill, plain);
  host.MoveTo(Face(tile));
  host.MoveTo(OnDelete(tile));
  host.Compose(s);
  const DWORD framed = std::max({s.Pixel(frameSpot.x - 1, frameSpot.y), s.Pixel(frameSpot.x, frameSpot.y),
                                 s.Pixel(frameSpot.x + 1, frameSpot.y)});
  EXPECT_GT(framed & 0xFF, (kTileFill & 0xFF) + 0x20) << std::hex << framed;
  host.MoveTo(Face(tile));
  EXPECT_EQ(kTileFill, host.PixelAt(frameSpot.x, frameSpot.y)) << "gone with the pointer";
}

TEST_F(KeyDKSCtrlExTest, BadInputDrawsAndHitsSafely) {
  KeyDKSCtrlEx* list = List(700, 250, /*pictures*/ false);
  ASSERT_NE(nullptr, list);
  list->SetIconFile(L"no_such_strip.png");
  list->SetEditDelIconFile(L"icon/no_such_icon.png");
  const CString w300(std::wstring(300, L'W').c_str());
  list->AddItem(w300, 3, w300, L"", L"", L"", 1);
  list->AddItem1(w300, w300, 25, 1, w300, 2);
  list->AddItem(w300, 14, w300, w300, w300, w300, 3);
  list->AddItem1(w300, w300, 18, 2, w300, 4);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kTileFill, s.Pixel(Face(Tile(0, 0)).x, Face(Tile(0, 0)).y)) << "kind 3 draws its tile";
  EXPECT_EQ(kTileFill, s.Pixel(Face(Tile(350, 0)).x, Face(Tile(350, 0)).y)) << "kind 25 draws its tile";
  for (int y : {15, 35, 55}) {
    EXPECT_EQ(kGround, s.Pixel(Tile(0, 80).x + 345, Tile(0, 80).y + y)) << "the long texts stay in their tile";
  }
  // Without a delete picture there is no delete zone.
  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_CLICKED)}, ClickAt(OnDelete(Tile(0, 80))));
  EXPECT_EQ(3, list->GetMacroValue());
  int value = 0;
  CString text;
  list->GetMacroValue(value, text);
  EXPECT_EQ(3, value);
  EXPECT_EQ(CString(L""), text) << "a DKS tile (kind 14) builds no text";
}

// The text form of GetMacroValue joins the key names by the tile's kind field: 1, 3 and 5.
TEST_F(KeyDKSCtrlExTest, MacroTextsOfKindsOneThreeAndFive) {
  KeyDKSCtrlEx* list = List(700, 250);
  ASSERT_NE(nullptr, list);
  const struct {
    int kind;
    const wchar_t *key1, *key2, *key3, *key4, *text;
  } cases[] = {
      {1, L"Ctrl", L"Shift", L"", L"A", L"Ctrl+Shift+A"},
      {1, L"A", L"", L"", L"", L"A"},
      {3, L"A", L"B", L"C", L"D", L"A+B"},
      {3, L"A", L"", L"", L"", L"A+"},
      {5, L"A", L"B", L"", L"", L"A"},
  };
  for (const auto& c : cases) {
    list->DeleteAllItems();
    list->AddItem(L"x", c.kind, c.key1, c.key2, c.key3, c.key4, 77);
    list->SetSelectValue(77);
    int value = 0;
    CString text = L"untouched";
    list->GetMacroValue(value, text);
    EXPECT_EQ(77, value);
    EXPECT_EQ(CString(c.text), text) << "kind " << c.kind;
  }
}

}  // namespace
