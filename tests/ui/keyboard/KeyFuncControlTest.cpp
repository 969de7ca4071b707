// The keyboard-shaped key picker: its layout tables, and the control driven through a window
// the way a user does (hover, clicks, wheel, thumb), composed to pixels.
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyFuncControl2.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "DropWindow.h"
#include "FileBytes.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "ui/controls/MScroll.h"
#include "ui/controls/MTabLayout.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/KeyPickerLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

// ---- Tables ----

CRect Cell(const KeyPickerGeometry& g, int index) { return CRect(g.cells[index]); }
// Entry index's cell in the window, for a picker whose corner is at origin and whose content
// is scrolled by offset.
CRect CellIn(const KeyPickerGeometry& g, CPoint origin, int index, int offset) {
  CRect cell = Cell(g, index);
  cell.OffsetRect(origin.x, origin.y - offset);
  return cell;
}

TEST(KeyPickerLayoutTest, BothGeometriesHoldTheSameEntriesInCellsThatNeverOverlap) {
  const KeyPickerEntry* e = KeyPickerEntries();
  EXPECT_STREQ(L"Esc", e[0].label);
  EXPECT_STREQ(L"F1", e[1].label);
  EXPECT_EQ(0x3A, e[1].usage);
  EXPECT_STREQ(L"Ins", e[31].label);
  EXPECT_STREQ(L"Insert", e[31].compactLabel);
  EXPECT_EQ(0x49, e[31].usage);
  EXPECT_STREQ(L"App", e[103].label);
  EXPECT_STREQ(L"Menu", e[103].compactLabel);
  EXPECT_EQ(0x65, e[103].usage);
  EXPECT_STREQ(L"\u25BD", e[110].label);
  EXPECT_EQ(0x03, e[110].usage);
  EXPECT_EQ(0, e[110].data);
  EXPECT_STREQ(L"?", e[130].label);
  EXPECT_EQ(0x38, e[130].usage);
  EXPECT_EQ(0xE1, e[130].data);
  std::set<int> plainUsages;
  int shifted = 0;
  for (int i = 0; i < kKeyPickerEntryCount; ++i) {
    if (e[i].data == 0xE1) {
      ++shifted;
    } else {
      EXPECT_EQ(0, e[i].data) << i;
      EXPECT_TRUE(plainUsages.insert(e[i].usage).second) << "usage repeated at " << i;
    }
    if (i != 31 && i != 103) EXPECT_STREQ(e[i].label, e[i].compactLabel) << i;
  }
  EXPECT_EQ(20, shifted);
  EXPECT_EQ(111u, plainUsages.size());

  const struct {
    const char* name;
    const KeyPickerGeometry& geometry;
    CRect bounds;
    int content;
    std::vector<std::pair<int, CRect>> spots;
  } geometries[] = {
      {"full", KeyPickerFullGeometry(), CRect(0, 0, 1089, 351), 361,
       {{1, CRect(96, 0, 141, 45)},
        {99, CRect(220, 247, 453, 292)},
        {109, CRect(945, 247, 1038, 292)},
        {58, CRect(1040, 103, 1085, 196)}}},
      {"compact", KeyPickerCompactGeometry(), CRect(0, 0, 740, 232), 242,
       {{1, CRect(66, 0, 96, 30)}, {130, CRect(704, 202, 740, 232)}}},
  };
  for (const auto& g : geometries) {
    EXPECT_EQ(g.content, g.geometry.contentHeight) << g.name;
    for (const auto& spot : g.spots) EXPECT_EQ(spot.second, Cell(g.geometry, spot.first)) << g.name << " " << spot.first;
    for (int i = 0; i < kKeyPickerEntryCount; ++i) {
      const CRect a = Cell(g.geometry, i);
      EXPECT_FALSE(a.IsRectEmpty()) << g.name << " " << i;
      CRect inside;
      inside.IntersectRect(&a, &g.bounds);
      EXPECT_EQ(a, inside) << g.name << " " << i << " lies outside";
      for (int j = i + 1; j < kKeyPickerEntryCount; ++j) {
        const CRect b = Cell(g.geometry, j);
        CRect both;
        EXPECT_FALSE(both.IntersectRect(&a, &b)) << g.name << ": " << i << " and " << j << " overlap";
      }
    }
  }
}

// ---- The control in a window ----

constexpr UINT kPickerId = 5;
const CPoint kOrigin(5, 5);  // the picker's top-left corner in the window
constexpr DWORD kGround = 0x000000;
constexpr DWORD kPlainOutline = 0x646464;
constexpr DWORD kHighlightOutline = 0xDC4F2E;
constexpr int kF1 = 1, kEsc = 0, kBang1 = 17, kQ = 39, kNone = 110, kBang = 112;

// Key pictures written by a test; removed again so that other tests see labels.
class KeyPictures {
public:
  ~KeyPictures() {
    for (const std::wstring& name : m_names) DeleteFileW((std::wstring(GetSkinFolder()) + name).c_str());
  }
  bool Strip(const wchar_t* name, DWORD normal, DWORD highlighted) {
    m_names.push_back(name);
    return testsupport::WriteStrip(name, 30, 30, {normal, highlighted});
  }
  bool Garbage(const wchar_t* name) {
    m_names.push_back(name);
    testsupport::MakeSkinFolderFor(name);
    const std::string junk = "not a picture at all";
    testsupport::WriteFileBytes(std::wstring(GetSkinFolder()) + name, std::vector<uint8_t>(junk.begin(), junk.end()));
    return true;
  }

private:
  std::vector<std::wstring> m_names;
};

// A drop window centred on the host's client point pt, 2 x half wide, shown without
// activation: a drag that starts at pt drops on it at once, since no button is really held
// and the system's drag loop ends where the cursor is.
bool OpenDropWindowOver(ControlHost& host, testsupport::DropWindow& target, CPoint pt, int half) {
  const CPoint screen = host.ToScreen(pt);
  if (!target.Create(nullptr, L"target", WS_POPUP, WS_EX_TOPMOST,
                     CRect(screen.x - half, screen.y - half, screen.x + half, screen.y + half))) {
    return false;
  }
  target.ShowWindow(SW_SHOWNOACTIVATE);
  testsupport::PumpFor(50);
  return true;
}

// The gesture that starts the engine's drag at a client point: the pointer comes to rest
// there (a page makes the picker its current child on the second move, the one that stays
// within the hovered cell), the button goes down, and the pointer moves on a little with it
// held (the engine starts the drag on a small move after the first).
void PressAndDrag(ControlHost& host, CPoint at) {
  host.MoveTo(at - CPoint(1, 0));
  host.MoveTo(at);
  host.Press(at);
  host.MoveTo(at + CPoint(1, 1));
  host.MoveTo(at + CPoint(2, 2));
}

// What GetCurItemData gave, with the values it starts from when it writes nothing.
struct Picked {
  bool ok;
  int code, data, extra;
  CString label;
  int reserved;
};
Picked Read(KeyFuncControl* picker) {
  Picked p{false, -7, -7, -7, L"untouched", 1234};
  p.ok = picker->GetCurItemData(p.reserved, p.code, p.data, p.extra, p.label);
  return p;
}

class KeyFuncControlTest : public testing::Test {
protected:
  // OLE stays up for the whole suite (the drag tests need it; starting it is slow).
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  explicit KeyFuncControlTest(int height = 380) : host(1100, height) {}
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  // A picker on a page panel, both made by the factories, as the key page makes it.
  KeyFuncControl* OnPage(int height) {
    page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    if (!page) return nullptr;
    auto* picker = dynamic_cast<KeyFuncControl*>(
        page->CreateControl(L"KeyFuncControl", kPickerId, CRect(kOrigin, CSize(1090, height)), L"", 1, 1));
    return Prepare(picker);
  }
  // A picker straight in the window's list, so that its repaint requests reach the journal.
  KeyFuncControl* Adopted(int height) {
    auto* picker = new KeyFuncControl(&host, kPickerId, CRect(kOrigin, CSize(1090, height)), 1);
    host.Adopt(picker);
    return Prepare(picker);
  }
  static KeyFuncControl* Prepare(KeyFuncControl* picker) {
    if (!picker) return nullptr;
    picker->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    picker->InitItemInfo();
    picker->SetFont(L"DejaVu Sans", 12, Gdiplus::FontStyleRegular);
    return picker;
  }

  // Entry index's cell in the window with the content scrolled by offset.
  static CRect At(int index, int offset = 0) { return CellIn(KeyPickerFullGeometry(), kOrigin, index, offset); }
  static CPoint Centre(int index, int offset = 0) { return At(index, offset).CenterPoint(); }
  // The middle of the cell's left edge, where its outline runs.
  static CPoint LeftEdge(int index) { return CPoint(At(index).left, At(index).CenterPoint().y); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  // The pickers keep their pictures' files open: the files go after the host.
  KeyPictures pictures;
  ControlHost host;
  MTabLayout* page = nullptr;
};

TEST_F(KeyFuncControlTest, OnlyAPagePanelMakesIt) {
  EXPECT_EQ(nullptr, host.Add(L"KeyFuncControl", 4, CRect(0, 0, 100, 100)));
  KeyFuncControl* picker = OnPage(370);
  ASSERT_NE(nullptr, picker);
  EXPECT_EQ(1, picker->IsDragDrop());
  EXPECT_EQ(0, picker->GetScrollHorizontal()->IsVisible());
  EXPECT_EQ(0, picker->GetScrollVertical()->IsVisible()) << "370 px hold the 361 of content";
}

TEST_F(KeyFuncControlTest, EachHoverChangeAsksForOneRepaint) {
  KeyFuncControl* picker = Adopted(370);
  ASSERT_NE(nullptr, picker);
  const struct {
    const char* name;
    CPoint pt;
    size_t repaints;
  } moves[] = {
      {"onto F1", Centre(kF1), 1},
      {"within F1", Centre(kF1) + CPoint(5, 5), 0},
      {"onto the gap after F1", CPoint(At(kF1).right + 1, Centre(kF1).y), 1},
      {"within the gap", CPoint(At(kF1).right + 2, Centre(kF1).y), 0},
      {"onto F2", Centre(kF1 + 1), 1},
      {"off the control", CPoint(1097, 378), 1},
  };
  for (const auto& m : moves) {
    host.ClearJournal();
    host.MoveTo(m.pt);
    EXPECT_EQ(m.repaints, host.Repaints(kPickerId).size()) << m.name;
  }
}

TEST_F(KeyFuncControlTest, AClickReportsItsIndexAndTheOwnerReadsTheFunction) {
  KeyFuncControl* picker = OnPage(370);
  ASSERT_NE(nullptr, picker);
  EXPECT_FALSE(Read(picker).ok) << "nothing selected yet";
  const struct {
    const char* name;
    CPoint pt;
    std::string notification;
    Picked expected;
  } clicks[] = {
      {"F1", Centre(kF1), "5 notify 2 (1, 0)", {true, 0x3A, 0, 0, L"F1", 1234}},
      {"the shifted !", Centre(kBang), "5 notify 2 (112, 0)", {true, 0x1E, 0xE1, 0, L"!", 1234}},
      {"the no-function cell", Centre(kNone), "5 notify 2 (110, 0)", {true, 0x03, 0, 0, L"\u25BD", 1234}},
      {"a gap", CPoint(At(kEsc).right + 20, Centre(kEsc).y),
       "5 notify 2 (" + std::to_string(0xFFFFFFFFu) + ", 0)", {false, -7, -7, -7, L"untouched", 1234}},
  };
  for (const auto& c : clicks) {
    host.ClearJournal();
    host.Click(c.pt);
    EXPECT_EQ(std::vector<std::string>{c.notification}, host.Notifications()) << c.name;
    const Picked p = Read(picker);
    EXPECT_EQ(c.expected.ok, p.ok) << c.name;
    EXPECT_EQ(c.expected.code, p.code) << c.name;
    EXPECT_EQ(c.expected.data, p.data) << c.name;
    EXPECT_EQ(c.expected.extra, p.extra) << c.name;
    EXPECT_EQ(c.expected.label, p.label) << c.name;
    EXPECT_EQ(1234, p.reserved) << c.name << ": the first argument is never written";
  }
}

TEST_F(KeyFuncControlTest, OutlinesShowHoverAndMarkAndPicturesTheirFrames) {
  ASSERT_TRUE(pictures.Strip(L"character\\key_0x3a.png", 0xFF0000FF, 0xFF00FF00));
  KeyFuncControl* picker = OnPage(370);
  ASSERT_NE(nullptr, picker);
  EXPECT_EQ(kPlainOutline, host.PixelAt(LeftEdge(kEsc).x, LeftEdge(kEsc).y));
  EXPECT_EQ(kGround, host.PixelAt(At(kEsc).left + 4, LeftEdge(kEsc).y)) << "the window shows inside a cell";
  EXPECT_EQ(0x0000FFu, host.PixelAt(Centre(kF1).x, Centre(kF1).y)) << "F1's picture, first frame";
  host.MoveTo(Centre(kF1));
  EXPECT_EQ(kHighlightOutline, host.PixelAt(LeftEdge(kF1).x, LeftEdge(kF1).y));
  EXPECT_EQ(0x00FF00u, host.PixelAt(Centre(kF1).x, Centre(kF1).y)) << "the highlighted frame while hovered";
  EXPECT_EQ(kPlainOutline, host.PixelAt(LeftEdge(kEsc).x, LeftEdge(kEsc).y));

  host.MoveTo(CPoint(At(kEsc).right + 20, Centre(kEsc).y));  // a gap
  picker->SetItemCheckByItemData(0x1E, 0xE1, 0);
  EXPECT_EQ(kHighlightOutline, host.PixelAt(LeftEdge(kBang).x, LeftEdge(kBang).y)) << "the shifted ! is marked";
  EXPECT_EQ(kPlainOutline, host.PixelAt(LeftEdge(kBang1).x, LeftEdge(kBang1).y)) << "!1 is not";
  EXPECT_EQ(kPlainOutline, host.PixelAt(LeftEdge(kF1).x, LeftEdge(kF1).y));
  picker->SetItemCheckByItemData(0, 0, 0);
  EXPECT_EQ(kPlainOutline, host.PixelAt(LeftEdge(kBang).x, LeftEdge(kBang).y)) << "code 0 clears the mark";
  picker->SetItemCheckByItemData(0x99, 0, 0);
  DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  EXPECT_EQ(0, surface.Count(0, 0, host.width(), host.height(), kHighlightOutline)) << "no entry has that usage";
}

TEST_F(KeyFuncControlTest, ThumbAndWheelScrollTheCellsOfAShortPicker) {
  KeyFuncControl* picker = OnPage(200);
  ASSERT_NE(nullptr, picker);
  auto* bar = dynamic_cast<MScroll*>(picker->GetScrollVertical());
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(1, bar->IsVisible());
  EXPECT_EQ(361, bar->GetScrollMaxRange());

  // The thumb dragged down: the cells follow it.
  const CPoint thumb = bar->GetThumbRect().CenterPoint();
  host.MoveTo(thumb);
  host.Press(thumb);
  host.MoveTo(thumb + CPoint(0, 40));
  host.Release(thumb + CPoint(0, 40));
  host.PumpPosted();  // the window repaints: the hit tests take the new offset
  const int pos = bar->GetScrollCurrentPos();
  ASSERT_GT(pos, 0);
  const int offset = pos * (361 - 200) / 361;
  host.Click(Centre(kQ, offset));
  EXPECT_EQ(0x14, Read(picker).code) << "Q where the thumb has moved it, offset " << offset;

  for (int notch = 0; notch < 5; ++notch) host.Wheel(CPoint(300, 100), -WHEEL_DELTA);
  EXPECT_EQ(361, bar->GetScrollCurrentPos());
  host.PumpPosted();
  host.Click(Centre(kNone, 361 - 200));
  EXPECT_EQ(0x03, Read(picker).code) << "the no-function cell, scrolled into view";
}

class TallKeyFuncControlTest : public KeyFuncControlTest {
protected:
  TallKeyFuncControlTest() : KeyFuncControlTest(420) {}
};

TEST_F(TallKeyFuncControlTest, WheelMovesTheCellsOfATallPickerDownBy39AtMost) {
  KeyFuncControl* picker = OnPage(400);
  ASSERT_NE(nullptr, picker);
  auto* bar = dynamic_cast<MScroll*>(picker->GetScrollVertical());
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(0, bar->IsVisible());
  host.MoveTo(CPoint(300, 100));
  for (int notch = 0; notch < 6; ++notch) host.Wheel(CPoint(300, 100), -WHEEL_DELTA);
  host.PumpPosted();
  // The bar keeps a thumb that fills its track at the top, so the position and the cells stay.
  const int pos = bar->GetScrollCurrentPos();
  EXPECT_GE(pos, 0);
  EXPECT_LE(pos, 361);
  const int offset = pos * (361 - 400) / 361;
  EXPECT_GE(offset, -39);
  host.Click(Centre(kF1, offset));
  EXPECT_EQ(0x3A, Read(picker).code) << "F1 where the offset " << offset << " put it";
  host.Click(CPoint(Centre(kF1).x, At(kF1, offset).bottom + 4));
  EXPECT_FALSE(Read(picker).ok) << "below F1 lies the gap between the rows";
}

TEST_F(KeyFuncControlTest, TheDragPictureIsTheHoveredCellWithItsOutline) {
  KeyFuncControl* picker = OnPage(370);
  ASSERT_NE(nullptr, picker);
  host.MoveTo(CPoint(At(kEsc).right + 20, Centre(kEsc).y));
  EXPECT_EQ(nullptr, picker->GetDropBitmap()) << "no picture over a gap";
  host.MoveTo(Centre(kF1));
  HBITMAP picture = picker->GetDropBitmap();
  const std::unique_ptr<DibSurface> surface = testsupport::SurfaceOf(picture);
  DeleteObject(picture);
  ASSERT_NE(nullptr, surface);
  EXPECT_EQ(48, surface->width());
  EXPECT_EQ(48, surface->height());
  EXPECT_EQ(kHighlightOutline, surface->Pixel(1, 24)) << "the cell's left edge, one pixel in";
  picker->SetEnabled(0);
  EXPECT_EQ(nullptr, picker->GetDropBitmap()) << "a disabled picker gives none";
}

TEST_F(KeyFuncControlTest, DraggingACellOutDropsItsPictureAndNamesItsFunction) {
  KeyFuncControl* picker = OnPage(370);
  ASSERT_NE(nullptr, picker);
  testsupport::DropWindow target;
  ASSERT_TRUE(OpenDropWindowOver(host, target, Centre(kF1), 30));

  const struct {
    const char* name;
    CPoint at;
    bool enabled;
    bool drops;
  } presses[] = {
      {"a gap", CPoint(At(kF1).left - 2, Centre(kF1).y), true, false},
      {"F1 of a disabled picker", Centre(kF1), false, false},
      {"F1", Centre(kF1), true, true},
  };
  for (const auto& p : presses) {
    picker->SetEnabled(p.enabled ? 1 : 0);
    PressAndDrag(host, p.at);
    EXPECT_EQ(p.drops, testsupport::PumpUntil([&] { return target.Dropped(); }, p.drops ? 1000 : 100)) << p.name;
    host.Release(p.at);
  }
  const std::unique_ptr<DibSurface> dropped = testsupport::SurfaceOf(target.image);
  ASSERT_NE(nullptr, dropped);
  EXPECT_EQ(48, dropped->width());
  EXPECT_EQ(48, dropped->height());
  EXPECT_EQ(kHighlightOutline, dropped->Pixel(1, 24)) << "the hovered cell's outline";
  const Picked p = Read(picker);
  EXPECT_EQ(0x3A, p.code) << "the receiver asks the picker what was dropped";
  EXPECT_EQ(CString(L"F1"), p.label);
  target.DestroyWindow();
}

TEST_F(KeyFuncControlTest, BadPicturesAndAnEmptyListAreSurvived) {
  ASSERT_TRUE(pictures.Garbage(L"character\\key_0x29.png"));
  KeyFuncControl* picker = OnPage(370);
  ASSERT_NE(nullptr, picker);
  DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  const RECT esc = At(kEsc);
  EXPECT_GT(surface.InkBox(CRect(esc.left + 3, esc.top + 3, esc.right - 3, esc.bottom - 3),
                           [](DWORD p) { return (p & 0xFF) > 100; })
                .right,
            0)
      << "Esc shows its label";

  const CSize before = picker->GetImageSize();
  EXPECT_EQ(0, picker->SetImage(L"no_such_picker_image.png", 2));
  EXPECT_EQ(before, picker->GetImageSize()) << "frame fields kept";
  ASSERT_TRUE(testsupport::WriteSkin(L"picker_image.png", 40, 10, 0xFF00FF00));
  EXPECT_EQ(1, picker->SetImage(L"picker_image.png", 0)) << "no frames count as one";
  EXPECT_EQ(CSize(40, 10), picker->GetImageSize());

  host.Click(Centre(kF1));
  picker->ClearItems();
  EXPECT_FALSE(Read(picker).ok) << "the kept index names no entry";
  EXPECT_EQ(nullptr, picker->GetDropBitmap()) << "nor does the kept hover index";
  host.Compose(surface);
  EXPECT_EQ(0, surface.Count(0, 0, host.width(), host.height(), kPlainOutline)) << "nothing is drawn";
  picker->InitItemInfo();
  EXPECT_EQ(0x3A, Read(picker).code) << "refilled, the kept index names F1 again";
  picker->ClearItems();
  host.ClearJournal();
  host.Click(Centre(kF1));
  EXPECT_EQ(std::vector<std::string>{"5 notify 2 (" + std::to_string(0xFFFFFFFFu) + ", 0)"}, host.Notifications());
  EXPECT_FALSE(Read(picker).ok);
}

// ---- The compact picker, where the advanced-key editor puts it ----

constexpr UINT kEditorPickerId = 54;
const CRect kEditorPicker(10, 60, 760, 300);

class KeyFuncControl2Test : public testing::Test {
protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  // Made by the window's factory and filled as the editor does.
  KeyFuncControl2* Editor() {
    auto* picker = host.Add<KeyFuncControl2>(L"KeyFuncControl2", kEditorPickerId, kEditorPicker);
    if (!picker) return nullptr;
    picker->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    picker->SetFont(L"SourceHanSansCN-Regular", 10, Gdiplus::FontStyleRegular);
    picker->InitItemInfo();
    return picker;
  }
  static CRect At(int index, int offset = 0) {
    return CellIn(KeyPickerCompactGeometry(), kEditorPicker.TopLeft(), index, offset);
  }
  static CPoint Centre(int index, int offset = 0) { return At(index, offset).CenterPoint(); }
  // The first row at or below y in column x that shows a plain outline; -1 for none.
  int OutlineBelow(int x, int y) {
    DibSurface surface(host.width(), host.height());
    host.Compose(surface);
    for (; y < host.height(); ++y) {
      if (surface.Pixel(x, y) == kPlainOutline) return y;
    }
    return -1;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host{800, 340};
};

TEST_F(KeyFuncControl2Test, BothFactoriesMakeItAndItsBarNeverShows) {
  KeyFuncControl2* picker = Editor();
  ASSERT_NE(nullptr, picker);
  EXPECT_EQ(1, picker->IsDragDrop());
  auto* bar = dynamic_cast<MScroll*>(picker->GetScrollVertical());
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(242, bar->GetScrollMaxRange());
  EXPECT_EQ(0, bar->IsVisible()) << "240 px high";
  picker->SetRect(CRect(10, 60, 760, 260));
  EXPECT_EQ(0, bar->IsVisible()) << "200 px high";
  EXPECT_EQ(242, bar->GetScrollMaxRange());
  EXPECT_EQ(0, picker->GetScrollHorizontal()->IsVisible());

  auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
  ASSERT_NE(nullptr, page);
  auto* onPage = dynamic_cast<KeyFuncControl2*>(
      page->CreateControl(L"KeyFuncControl2", 55, CRect(10, 60, 760, 260), L"", 1, 1));
  ASSERT_NE(nullptr, onPage);
  onPage->InitItemInfo();
  EXPECT_EQ(0, onPage->GetScrollVertical()->IsVisible()) << "200 px high on a page";
}

TEST_F(KeyFuncControl2Test, PressAndReleaseEachReportTheCellThatTheBaseReads) {
  KeyFuncControl2* picker = Editor();
  ASSERT_NE(nullptr, picker);
  KeyFuncControl* base = picker;
  const auto expectF1 = [&](const char* when) {
    const Picked p = Read(base);
    EXPECT_TRUE(p.ok) << when;
    EXPECT_EQ(0x3A, p.code) << when;
    EXPECT_EQ(0, p.data) << when;
    EXPECT_EQ(0, p.extra) << when;
    EXPECT_EQ(CString(L"F1"), p.label) << when;
  };
  host.MoveTo(Centre(kF1));
  host.Press(Centre(kF1));
  EXPECT_EQ(std::vector<std::string>{"54 notify 1 (1, 0)"}, host.Notifications());
  expectF1("after the press");
  host.Release(Centre(kF1));
  EXPECT_EQ((std::vector<std::string>{"54 notify 1 (1, 0)", "54 notify 2 (1, 0)"}), host.Notifications());
  expectF1("after the release");
  host.MoveTo(Centre(kEsc));
  expectF1("with Esc hovered");

  // Pressed on F1, the pointer leaves the cell and the control before the release.
  host.ClearJournal();
  host.MoveTo(Centre(kF1));
  host.Press(Centre(kF1));
  host.MoveTo(CPoint(At(kF1).right + 1, Centre(kF1).y));
  host.MoveTo(CPoint(780, 330));
  host.Release(CPoint(780, 330));
  EXPECT_EQ(std::vector<std::string>{"54 notify 1 (1, 0)"}, host.Notifications());
  expectF1("after a release outside");

  const struct {
    int index;
    const wchar_t* label;
    int code;
  } labels[] = {{31, L"Insert", 0x49}, {103, L"Menu", 0x65}};
  for (const auto& l : labels) {
    host.Click(Centre(l.index));
    const Picked p = Read(base);
    EXPECT_EQ(CString(l.label), p.label) << l.index;
    EXPECT_EQ(l.code, p.code) << l.index;
  }
  host.ClearJournal();
  host.Click(CPoint(At(kEsc).right + 10, Centre(kEsc).y));
  const std::string none = std::to_string(0xFFFFFFFFu);
  EXPECT_EQ((std::vector<std::string>{"54 notify 1 (" + none + ", 0)", "54 notify 2 (" + none + ", 0)"}),
            host.Notifications())
      << "a gap";
  EXPECT_FALSE(Read(base).ok);
}

TEST_F(KeyFuncControl2Test, TheWheelMovesTheCellsOfTheEditorsPickerByTwoPixelsAtMost) {
  KeyFuncControl2* picker = Editor();
  ASSERT_NE(nullptr, picker);
  const int x = Centre(kEsc).x;
  const int bottom = OutlineBelow(x, Centre(kEsc).y);
  ASSERT_GT(bottom, 0) << "Esc's lower outline";
  for (int notch = 0; notch < 3; ++notch) host.Wheel(Centre(kQ), -WHEEL_DELTA);
  EXPECT_EQ(bottom - 2, OutlineBelow(x, Centre(kEsc).y)) << "all the way down";
  for (int notch = 0; notch < 3; ++notch) host.Wheel(Centre(kQ), WHEEL_DELTA);
  EXPECT_EQ(bottom, OutlineBelow(x, Centre(kEsc).y)) << "and back";
}

TEST_F(KeyFuncControl2Test, DraggingACellOutDropsItsPicture) {
  KeyFuncControl2* picker = Editor();
  ASSERT_NE(nullptr, picker);
  testsupport::DropWindow target;
  ASSERT_TRUE(OpenDropWindowOver(host, target, Centre(kF1), 20));
  PressAndDrag(host, Centre(kF1));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return target.Dropped(); }, 1000));
  host.Release(Centre(kF1));
  const std::unique_ptr<DibSurface> dropped = testsupport::SurfaceOf(target.image);
  ASSERT_NE(nullptr, dropped);
  EXPECT_EQ(33, dropped->width());
  EXPECT_EQ(33, dropped->height());
  EXPECT_EQ(kHighlightOutline, dropped->Pixel(1, 16)) << "the hovered cell's outline";
  EXPECT_EQ(0x3A, Read(picker).code);
  target.DestroyWindow();
}

TEST_F(KeyFuncControl2Test, AfterClearItemsAClickSelectsNothing) {
  KeyFuncControl2* picker = Editor();
  ASSERT_NE(nullptr, picker);
  host.Click(Centre(kF1));
  picker->ClearItems();
  host.ClearJournal();
  host.Click(Centre(kF1));
  const std::string none = std::to_string(0xFFFFFFFFu);
  EXPECT_EQ((std::vector<std::string>{"54 notify 1 (" + none + ", 0)", "54 notify 2 (" + none + ", 0)"}),
            host.Notifications());
  EXPECT_FALSE(Read(picker).ok);
  DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  EXPECT_EQ(0, surface.Count(0, 0, host.width(), host.height(), kPlainOutline)) << "nothing is drawn";
}

}  // namespace
