// The key slots of the advanced-key editors (KeyMTCtrl, KeySOCDCtrl), made by the window's
// factory and driven through it: their layout tables in pixels, pointer input, the drop
// tracking behind the engine's drop target, and the writes and reads of their slots.
#include <windowsx.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "DropWindow.h"
#include "ProgramInstance.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/KeyMTCtrl.h"
#include "ui/keyboard/KeySOCDCtrl.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kSlotsId = 45;
constexpr DWORD kGround = 0x000000;
constexpr DWORD kFrame = 0xA3ACB9;
constexpr DWORD kFill = 0x272935;
const CRect kPlace(40, 40, 240, 150);  // the control in the window

struct Slot {
  CString text = L"untouched";
  int value = -7;
  int extra = -7;
};
Slot Read(KeySlotRow* row, int index) {
  Slot s;
  row->GetItemValue(index, s.text, s.value, s.extra);
  return s;
}

class KeySlotRowTest : public testing::Test {
protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  // A row as the editor makes it: by class name, then type (0: none set), face and its
  // slots (values 1, 2, ...).
  KeySlotRow* Make(const wchar_t* className, int type, std::vector<CString> texts = {L"", L""}, UINT id = kSlotsId) {
    auto* row = host.Add<KeySlotRow>(className, id, kPlace);
    if (!row) return nullptr;
    if (type) row->SetCtrlType(type);
    row->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    row->SetFont(L"DejaVu Sans", 12, Gdiplus::FontStyleBold);
    for (size_t i = 0; i < texts.size(); ++i) row->AddItem(texts[i], static_cast<int>(i) + 1);
    return row;
  }
  // A slot's rectangle (control coordinates) in the window.
  static CRect InWindow(CRect slot) {
    slot.OffsetRect(kPlace.left, kPlace.top);
    return slot;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host{300, 200};
};

// How many pixels of the frame colour a row of pixels crosses at the slot's left edge.
int FrameWidthAt(const DibSurface& surface, const CRect& slot) {
  const int y = slot.CenterPoint().y;
  int width = 0;
  for (int x = slot.left - 3; x < slot.left + 3; ++x) width += surface.Pixel(x, y) == kFrame ? 1 : 0;
  return width;
}

// Pixels of colour in area that lie in none of the rectangles.
int CountOutside(const DibSurface& surface, const CRect& area, const std::vector<CRect>& rects, DWORD colour) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      bool inside = false;
      for (const CRect& r : rects) inside = inside || r.PtInRect(CPoint(x, y));
      if (!inside && surface.Pixel(x, y) == colour) ++count;
    }
  }
  return count;
}

bool IsWhiteInk(DWORD rgb) { return (rgb & 0xFF) > 0xC0 && ((rgb >> 8) & 0xFF) > 0xC0 && ((rgb >> 16) & 0xFF) > 0xC0; }

TEST_F(KeySlotRowTest, EachTypePlacesItsSlotsFromItsClassTable) {
  const struct {
    const char* name;
    const wchar_t* className;
    int type;
    std::vector<CRect> slots;  // control coordinates
    int frame;                 // with nothing hovered or selected
  } cases[] = {
      {"MT type 2", L"KeyMTCtrl", 2, {CRect(10, 5, 80, 45), CRect(10, 60, 80, 100)}, 1},
      {"MT type 4", L"KeyMTCtrl", 4, {CRect(10, 5, 70, 65)}, 2},
      {"SOCD type 6", L"KeySOCDCtrl", 6, {CRect(10, 5, 70, 65), CRect(85, 5, 145, 65)}, 1},
      {"SOCD type 8", L"KeySOCDCtrl", 8, {CRect(10, 5, 70, 65), CRect(85, 5, 145, 65)}, 1},
      {"SOCD type 10", L"KeySOCDCtrl", 10, {CRect(10, 5, 70, 65), CRect(85, 5, 145, 65)}, 1},
  };
  EXPECT_NE(nullptr, dynamic_cast<KeyMTCtrl*>(Make(L"KeyMTCtrl", 0, {}, 90)));
  EXPECT_NE(nullptr, dynamic_cast<KeySOCDCtrl*>(Make(L"KeySOCDCtrl", 0, {}, 91)));
  UINT id = 100;
  for (const auto& c : cases) {
    KeySlotRow* row = Make(c.className, c.type, {L"", L""}, ++id);
    ASSERT_NE(nullptr, row) << c.name;
    DibSurface surface(host.width(), host.height());
    host.Compose(surface);
    std::vector<CRect> inWindow;
    for (const CRect& slot : c.slots) {
      inWindow.push_back(InWindow(slot));
      const CRect& r = inWindow.back();
      EXPECT_EQ(c.frame, FrameWidthAt(surface, r)) << c.name << " at " << r.left << ", " << r.top;
      EXPECT_EQ(kFill, surface.Pixel(r.left + 5, r.top + 5)) << c.name;
      EXPECT_EQ(kFill, surface.Pixel(r.right - 5, r.bottom - 5)) << c.name;
    }
    EXPECT_EQ(0, CountOutside(surface, kPlace, inWindow, kFill)) << c.name << ": fill beyond the slots";
    row->SetVisible(0);
  }
}

TEST_F(KeySlotRowTest, PointerHoverAndSelectionThickenFramesAndAReleaseReportsWhereItLanded) {
  KeySlotRow* row = Make(L"KeyMTCtrl", 2);
  ASSERT_NE(nullptr, row);
  const CRect slot0 = InWindow(CRect(10, 5, 80, 45)), slot1 = InWindow(CRect(10, 60, 80, 100));
  const CPoint gap(slot0.CenterPoint().x, slot0.bottom + 5);
  DibSurface surface(host.width(), host.height());
  host.Compose(surface);  // the slots are where the last paint put them
  const auto frames = [&]() {
    host.Compose(surface);
    return std::make_pair(FrameWidthAt(surface, slot0), FrameWidthAt(surface, slot1));
  };

  host.MoveTo(slot1.CenterPoint());
  EXPECT_EQ(std::make_pair(1, 2), frames()) << "slot 1 hovered";
  host.Press(slot1.CenterPoint());
  EXPECT_EQ(1, row->GetSelectItem()) << "the press selects";
  EXPECT_TRUE(host.Notifications().empty());
  host.Release(slot1.CenterPoint());
  EXPECT_EQ(std::vector<std::string>{"45 notify 18 (0, 0)"}, host.Notifications());
  host.MoveTo(slot0.CenterPoint());
  EXPECT_EQ(std::make_pair(2, 2), frames()) << "slot 0 hovered, slot 1 selected";
  host.MoveTo(gap);
  EXPECT_EQ(std::make_pair(1, 2), frames()) << "the pointer between the slots";

  const struct {
    const char* name;
    CPoint hover, release;
    std::vector<std::string> notifications;
    int selected;
  } releases[] = {
      {"in the hovered slot", slot0.CenterPoint(), slot0.CenterPoint(), {"45 notify 18 (0, 0)"}, 0},
      {"beside the hovered slot", slot1.CenterPoint(), gap, {"45 notify 2 (0, 0)"}, 1},
      {"with no slot hovered", gap, slot0.CenterPoint(), {}, 1},
  };
  for (const auto& r : releases) {
    host.MoveTo(r.hover);
    host.ClearJournal();
    host.Release(r.release);
    EXPECT_EQ(r.notifications, host.Notifications()) << r.name;
    EXPECT_EQ(r.selected, row->GetSelectItem()) << r.name;
  }
  row->SetEnabled(0);
  host.ClearJournal();
  host.Click(slot0.CenterPoint());
  EXPECT_TRUE(host.Notifications().empty()) << "disabled";
  EXPECT_EQ(1, row->GetSelectItem());
}

TEST_F(KeySlotRowTest, TypeFourShowsTheLastSlotAndEveryPaintSelectsTheFirst) {
  const CRect slot = InWindow(CRect(10, 5, 70, 65));
  const struct {
    const char* name;
    std::vector<CString> texts;
    bool ink;
  } cases[] = {
      {"the first slot's text under the second", {L"WWW", L""}, false},
      {"the second slot's text on top", {L"", L"WWW"}, true},
  };
  for (const auto& c : cases) {
    KeySlotRow* row = Make(L"KeyMTCtrl", 4, c.texts);
    ASSERT_NE(nullptr, row) << c.name;
    EXPECT_EQ(-1, row->GetSelectItem()) << c.name << ": nothing selected before a paint";
    DibSurface surface(host.width(), host.height());
    host.Compose(surface);
    EXPECT_EQ(c.ink, surface.InkBox(slot, IsWhiteInk).right > 0) << c.name;
    EXPECT_EQ(0, row->GetSelectItem()) << c.name;
    row->SetCurValue(L"F1", 0x3A, 2);
    const Slot first = Read(row, 0);
    EXPECT_EQ(CString(L"F1"), first.text) << c.name;
    EXPECT_EQ(0x3A, first.value) << c.name;
    EXPECT_EQ(2, first.extra) << c.name;
    EXPECT_EQ(2, Read(row, 1).value) << c.name << ": the second slot keeps its value";
    row->SetVisible(0);
  }
}

TEST_F(KeySlotRowTest, ARowWithoutItsClassesTypeDrawsNothingAndIgnoresClicks) {
  const struct {
    const char* name;
    const wchar_t* className;
    int type;
  } cases[] = {
      {"MT never typed", L"KeyMTCtrl", 0},
      {"SOCD never typed", L"KeySOCDCtrl", 0},
      {"MT with a SOCD type", L"KeyMTCtrl", 6},
      {"SOCD with an MT type", L"KeySOCDCtrl", 2},
  };
  for (const auto& c : cases) {
    KeySlotRow* row = Make(c.className, c.type, {L"A", L"B"});
    ASSERT_NE(nullptr, row) << c.name;
    DibSurface surface(host.width(), host.height());
    host.Compose(surface);
    EXPECT_EQ(kPlace.Width() * kPlace.Height(),
              surface.Count(kPlace.left, kPlace.top, kPlace.right, kPlace.bottom, kGround))
        << c.name;
    host.ClearJournal();
    for (const CPoint& at :
         {InWindow(CRect(10, 5, 70, 65)).CenterPoint(), InWindow(CRect(10, 60, 80, 100)).CenterPoint()}) {
      host.Click(at);
    }
    EXPECT_TRUE(host.Notifications().empty()) << c.name;
    EXPECT_EQ(-1, row->GetSelectItem()) << c.name;
    row->SetVisible(0);
  }
}

TEST_F(KeySlotRowTest, DropsWriteTheSlotThatTheLastDragOverSelected) {
  KeySlotRow* row = Make(L"KeySOCDCtrl", 6);
  ASSERT_NE(nullptr, row);
  const CRect slot0 = InWindow(CRect(10, 5, 70, 65)), slot1 = InWindow(CRect(85, 5, 145, 65));
  DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  // The window's handlers, as the editor's: the drag-over's point goes to DragMove, the drop
  // writes the selected slot.
  host.onDragMessage = [&](const testsupport::HostEvent& e) {
    if (e.kind == testsupport::HostEvent::DragOver) {
      POINT pt = {GET_X_LPARAM(e.lParam), GET_Y_LPARAM(e.lParam)};
      ::ScreenToClient(host.GetSafeHwnd(), &pt);
      row->DragMove(CPoint(pt.x, pt.y));
    } else {
      row->SetCurValue(L"F1", 0x3A, 0);
    }
  };
  PaintManager* engine = host.GetPaintManager();
  TESK::CIDataObject* data = testsupport::DragOutData();
  const auto screen = [&](CPoint pt) {
    const CPoint at = host.ToScreen(pt);
    return POINTL{at.x, at.y};
  };
  const auto over = [&](CPoint pt) {
    DWORD effect = DROPEFFECT_COPY;
    engine->DragOver(0, screen(pt), &effect);
    host.PumpPosted();
    return row->GetSelectItem();
  };
  const auto drop = [&](CPoint pt) {
    DWORD effect = DROPEFFECT_COPY;
    engine->Drop(data, 0, screen(pt), &effect);
    host.PumpPosted();
  };
  DWORD effect = DROPEFFECT_COPY;
  engine->DragEnter(data, 0, screen(slot0.CenterPoint()), &effect);
  EXPECT_EQ(0, over(slot0.CenterPoint()));
  EXPECT_EQ(1, over(slot1.CenterPoint())) << "the selection follows the pointer";
  drop(slot1.CenterPoint());
  EXPECT_EQ(CString(L"F1"), Read(row, 1).text);
  EXPECT_EQ(0x3A, Read(row, 1).value);
  EXPECT_EQ(CString(L""), Read(row, 0).text);
  EXPECT_EQ(1, Read(row, 0).value);

  row->SetItemValue(1, L"", 2, 0);
  engine->DragEnter(data, 0, screen(slot1.CenterPoint()), &effect);
  EXPECT_EQ(1, over(slot1.CenterPoint()));
  EXPECT_EQ(-1, over(CPoint(slot0.right + 7, slot0.CenterPoint().y))) << "between the slots";
  EXPECT_EQ(0, over(slot0.CenterPoint()));
  EXPECT_EQ(-1, over(CPoint(kPlace.right + 10, slot0.CenterPoint().y))) << "off the control";
  drop(CPoint(kPlace.right + 10, slot0.CenterPoint().y));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(CString(L""), Read(row, i).text) << "a drop outside every slot writes nothing";
    EXPECT_EQ(i + 1, Read(row, i).value);
  }
  host.onDragMessage = nullptr;
  data->Release();
}

TEST_F(KeySlotRowTest, IndexesThatNameNoSlotChangeAndReadNothing) {
  KeySlotRow* row = Make(L"KeySOCDCtrl", 6, {L"A", L"B"});
  ASSERT_NE(nullptr, row);
  const CRect slot0 = InWindow(CRect(10, 5, 70, 65)), slot1 = InWindow(CRect(85, 5, 145, 65));
  const auto unchanged = [&](const char* after) {
    EXPECT_EQ(CString(L"A"), Read(row, 0).text) << after;
    EXPECT_EQ(1, Read(row, 0).value) << after;
    EXPECT_EQ(CString(L"B"), Read(row, 1).text) << after;
    EXPECT_EQ(2, Read(row, 1).value) << after;
    EXPECT_EQ(0, Read(row, 1).extra) << after;
  };
  host.ClearJournal();
  row->SetItemValue(2, L"X", 9, 9);
  row->SetItemValue(-1, L"X", 9, 9);
  unchanged("writes past the slots");
  EXPECT_TRUE(host.Repaints(kSlotsId).empty()) << "and no repaint";
  const Slot beyond = Read(row, 5);
  EXPECT_EQ(CString(L"untouched"), beyond.text);
  EXPECT_EQ(-7, beyond.value);
  EXPECT_EQ(-7, beyond.extra);

  row->SetSelectItem(7);
  EXPECT_EQ(7, row->GetSelectItem()) << "kept as given";
  row->SetCurValue(L"X", 9, 9);
  unchanged("a write into selected slot 7");
  DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  EXPECT_EQ(1, FrameWidthAt(surface, slot0));
  EXPECT_EQ(1, FrameWidthAt(surface, slot1));

  row->SetSelectItem(1);
  row->SetCurValue(L"K", 0x0E, 2);
  EXPECT_EQ(CString(L"K"), Read(row, 1).text);
  EXPECT_EQ(2, Read(row, 1).extra);

  row->DeleteAllItems();
  EXPECT_EQ(-1, row->GetSelectItem());
  host.ClearJournal();
  host.Click(slot0.CenterPoint());
  EXPECT_TRUE(host.Notifications().empty());
  row->SetCurValue(L"X", 9, 9);
  EXPECT_EQ(CString(L"untouched"), Read(row, 0).text);
  host.Compose(surface);
  EXPECT_EQ(kPlace.Width() * kPlace.Height(),
            surface.Count(kPlace.left, kPlace.top, kPlace.right, kPlace.bottom, kGround))
      << "no slots drawn";
}

}  // namespace
