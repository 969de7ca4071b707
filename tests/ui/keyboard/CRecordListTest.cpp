// The macro event list driven as a user drives it through the host window: scroll bar and
// rows in view, long lists, hover and selection plates, the notifications, the in-place
// delay edit, and rows changed under an open edit.
#include "ui/keyboard/CRecordList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "WindowSearch.h"
#include "ui/controls/MScroll.h"
#include "ui/core/CEditWindow.h"

using testsupport::ControlHost;
using TESK::CRecordList;

namespace {

constexpr UINT kId = 54;
constexpr DWORD kPlate = 0x687389;
constexpr int kRow = 41;

// The list with its drawing and edit state in view.
class ListProbe : public CRecordList {
public:
  using CRecordList::CRecordList;
  using CRecordList::GetTextRect;
  using CRecordList::HideEdit;
  int FirstVisible() const { return m_nFirstVisible; }
  int LastVisible() const { return m_nLastVisible; }
  int Offset() const { return m_nDerivedValue1; }
  int EditedRow() const { return m_nEditItem; }
  TESK::CEditWindow* Edit() const { return m_pEditWnd; }
  TESK::MScroll* Bar() const { return static_cast<TESK::MScroll*>(GetScrollVertical()); }
  // The window rectangle of a row in the last drawing (empty when not laid out).
  CRect RowOnScreen(int index) {
    const std::vector<TESK::RecordItem*> rows = GetRecordItems();
    if (index < 0 || index >= static_cast<int>(rows.size())) return CRect();
    return RowWindowRect(*rows[index]);
  }
  std::vector<int> Delays() {
    std::vector<int> delays;
    for (const TESK::RecordItem* row : GetRecordItems()) delays.push_back(row->delay);
    return delays;
  }
};

class CRecordListTest : public testing::Test {
protected:
  // A list at (20, 20) of 400 x height holding rows with delays 100, 101, ...
  ListProbe* MakeList(int rows, int height = 100, UINT id = kId, CRect at = CRect()) {
    host.Activate();
    const CRect rect = at.IsRectEmpty() ? CRect(20, 20, 420, 20 + height) : at;
    auto* list = new ListProbe(static_cast<TESK::MObject*>(&host), id, rect, 1);
    host.Adopt(list);
    list->SetFont(testsupport::InstalledFontFamily(), 16, Gdiplus::FontStyleRegular);
    for (int i = 0; i < rows; ++i) {
      CString name;
      name.Format(L"K%d", i);
      list->AddString(name, 2 + i % 4, 4 + i, 100 + i);
    }
    Draw();
    host.ClearJournal();
    return list;
  }
  void Draw() {
    testsupport::DibSurface surface(host.width(), host.height());
    host.Compose(surface);
  }
  // The list's notifications (other controls of the window report too).
  std::vector<std::string> ListNotes() {
    std::vector<std::string> notes;
    for (const std::string& note : host.Notifications()) {
      if (note.rfind(std::to_string(kId) + " ", 0) == 0) notes.push_back(note);
    }
    return notes;
  }
  // Ink (darker than the background) in [left, right) x [top, bottom) of the composed window.
  int InkIn(const testsupport::DibSurface& s, int left, int top, int right, int bottom) {
    int ink = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        if (((s.Pixel(x, y) >> 8) & 0xFF) < 0xA0) ++ink;
      }
    }
    return ink;
  }
  // Points on row index of an unscrolled list at (20, 20): in the delay column, the name column
  // and at the right end of the row (no text there).
  static CPoint Delay(int index) { return CPoint(20 + 80, 20 + kRow * index + kRow / 2); }
  static CPoint Name(int index) { return CPoint(20 + 300, 20 + kRow * index + kRow / 2); }
  static CPoint Plain(int index) { return CPoint(20 + 385, 20 + kRow * index + kRow / 2); }

  static HWND VisibleEditWindow() { return testsupport::FindVisibleWindow(L"FSEditWindow"); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host{600, 500};
};

TEST_F(CRecordListTest, OnlyAPagePanelMakesItVisibleWithItsBarHidden) {
  EXPECT_EQ(nullptr, host.Add(L"CRecordList", 7, CRect(0, 0, 100, 50)));
  TESK::MPanel panel(&host, 8, CRect(0, 0, 300, 300), 1);
  auto* made = dynamic_cast<CRecordList*>(panel.CreateControl(L"CRecordList", 9, CRect(0, 0, 50, 50), L"", 0, 0));
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(0, made->IsVisible());
  EXPECT_EQ(1, made->IsEnabled()) << "the enabled argument is not used";
  EXPECT_EQ(0, made->GetScrollVertical()->IsVisible());
}

TEST_F(CRecordListTest, TheBarFollowsTheRowsAndAnAddedRowIsInView) {
  ListProbe* list = MakeList(2);
  EXPECT_EQ(0, list->Bar()->IsVisible()) << "82 px of rows fit in 100";
  list->AddString(L"K2", 3, 6, 102);
  EXPECT_EQ(1, list->Bar()->IsVisible());
  EXPECT_EQ(123, list->Bar()->GetScrollMaxRange());
  list->AddString(L"K3", 2, 7, 103);
  Draw();
  EXPECT_EQ(3, list->LastVisible());
  const CRect last = list->RowOnScreen(3);
  EXPECT_LE(last.bottom, 120) << "the new last row is wholly in view";
  EXPECT_GE(last.top, 20);

  EXPECT_EQ(1, list->DeleteItem(3));
  EXPECT_EQ(1, list->DeleteItem(2));
  EXPECT_EQ(0, list->Bar()->IsVisible());
  EXPECT_EQ(82, list->Bar()->GetScrollMaxRange());

  // Resizing places the bar along the new right edge and fits it again.
  list->SetControlRect(CRect(20, 20, 320, 60));
  EXPECT_EQ(CRect(315, 20, 320, 60), list->Bar()->GetRect());
  EXPECT_EQ(1, list->Bar()->IsVisible());
}

TEST_F(CRecordListTest, InsertionsSelectionAndBadIndexes) {
  ListProbe* list = MakeList(3);
  EXPECT_EQ(3, list->InsertString(-1, L"end", 2, 1, 1));
  EXPECT_EQ(4, list->InsertString(99, L"far", 2, 1, 2));
  EXPECT_EQ(5, list->InsertString(0, L"first", 2, 1, 3)) << "count - 1, also for a row at the front";
  EXPECT_EQ((std::vector<int>{3, 100, 101, 102, 1, 2}), list->Delays());
  EXPECT_EQ(6, list->AddString(L"", 3, 0, 4));

  EXPECT_EQ(1, list->SetCurSel(2));
  EXPECT_EQ(2, list->GetCurSel());
  EXPECT_EQ(1, list->SetCurSel(-1));
  EXPECT_EQ(-1, list->GetCurSel());
  const int count = list->GetItemCount();
  EXPECT_EQ(0, list->SetCurSel(count));
  EXPECT_EQ(0, list->SetCurSel(-2));
  EXPECT_EQ(-1, list->GetCurSel());

  const std::vector<int> before = list->Delays();
  list->SwapItem(-1, 3);
  list->SwapItem(3, 3);
  list->SwapItem(0, 99);
  EXPECT_EQ(0, list->DeleteItem(99));
  EXPECT_EQ(0, list->DeleteItem(-1));
  EXPECT_EQ(before, list->Delays());
  list->SwapItem(0, 1);
  EXPECT_EQ(100, list->Delays()[0]);
  EXPECT_EQ(3, list->Delays()[1]);

  EXPECT_TRUE(list->UpdateDelayTime(77));
  EXPECT_EQ(77, list->Delays().back());
  EXPECT_EQ(1, list->SetImageList(nullptr));
}

TEST_F(CRecordListTest, TheKindColumnRepeatsTheDelayForOtherKinds) {
  ListProbe* list = MakeList(0);
  list->AddString(L"", 0, 0, 25);
  list->AddString(L"", 2, 0, 25);
  testsupport::DibSurface s(host.width(), host.height());
  host.Compose(s);
  // Kind column 120 ... 240 of the list, right of where the delay column's text can reach.
  EXPECT_GT(InkIn(s, 20 + 170, 20, 20 + 240, 20 + kRow), 0) << "kind 0 shows its delay there";
  EXPECT_GT(InkIn(s, 20 + 170, 20 + kRow, 20 + 240, 20 + 2 * kRow), 0) << "kind 2 shows its text";
  EXPECT_EQ(0, InkIn(s, 20 + 245, 20, 20 + 390, 20 + 2 * kRow)) << "empty names draw nothing";
  EXPECT_GT(InkIn(s, 20 + 40, 20, 20 + 120, 20 + kRow), 0) << "the delay";
}

TEST_F(CRecordListTest, ThePlateMarksTheSelectedAndTheHoveredRowOnly) {
  ListProbe* list = MakeList(3, 200);
  host.Click(Plain(0));
  host.MoveTo(Plain(2));
  EXPECT_EQ(0, list->GetCurSel());
  testsupport::DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kPlate, s.Pixel(Plain(0).x, Plain(0).y));
  EXPECT_NE(kPlate, s.Pixel(Plain(1).x, Plain(1).y));
  EXPECT_EQ(kPlate, s.Pixel(Plain(2).x, Plain(2).y));
  EXPECT_NE(kPlate, s.Pixel(Plain(2).x, 20 + 3 * kRow + 10)) << "below the rows";
}

TEST_F(CRecordListTest, PressesAndRightClicksReportTheirRows) {
  ListProbe* list = MakeList(2, 200);
  host.Click(Name(1));
  EXPECT_EQ((std::vector<std::string>{"54 notify 1 (1, 0)"}), host.Notifications());
  EXPECT_EQ(1, list->GetCurSel());
  host.ClearJournal();
  host.Click(CPoint(200, 150));
  // -1 as the dialog's 32-bit wParam carries it.
  EXPECT_EQ((std::vector<std::string>{"54 notify 1 (4294967295, 0)"}), host.Notifications());
  EXPECT_EQ(-1, list->GetCurSel());
  host.ClearJournal();
  host.RightPress(CPoint(200, 150));
  host.RightRelease(CPoint(200, 150));
  EXPECT_TRUE(host.Notifications().empty()) << "a right click below the rows reports nothing";
  EXPECT_EQ(nullptr, VisibleEditWindow());
}

TEST_F(CRecordListTest, TwoThousandRowsKeepTheLastInViewAndScroll) {
  ListProbe* list = MakeList(0, 300);
  for (int i = 0; i < 2000; ++i) {
    list->AddString(L"A", 2, 4, i);
    if (i % 400 == 399) {
      Draw();
      EXPECT_EQ(i, list->LastVisible());
      EXPECT_LE(list->RowOnScreen(i).bottom, 320) << i;
      EXPECT_GE(list->RowOnScreen(i).top, 20) << i;
    }
  }
  const CPoint inside(200, 150);
  host.MoveTo(inside);
  for (int i = 0; i < 2000 && list->Bar()->GetScrollCurrentPos() > 0; ++i) host.Wheel(inside, 120);
  EXPECT_EQ(0, list->Bar()->GetScrollCurrentPos());
  Draw();
  EXPECT_EQ(0, list->FirstVisible());
  for (int i = 0; i < 2000 && list->Bar()->GetScrollCurrentPos() < list->Bar()->GetScrollMaxRange(); ++i) {
    host.Wheel(inside, -120);
  }
  Draw();
  EXPECT_EQ(1999, list->LastVisible());

  // Into the middle, by part of a row: the row under the pointer is found through the offset.
  for (int i = 0; i < 400; ++i) host.Wheel(inside, 120);
  Draw();
  ASSERT_NE(0, list->Offset() % kRow) << "the view starts inside a row";
  const CPoint pt(200, 20 + 123);
  const int row = (pt.y - 20 + list->Offset()) / kRow;
  host.ClearJournal();
  host.MoveTo(pt);
  host.RightPress(pt);
  host.RightRelease(pt);
  EXPECT_EQ((std::vector<std::string>{"54 notify 5 (" + std::to_string(row) + ", 0)"}), host.Notifications());
  EXPECT_EQ(row, list->GetCurSel());
  host.ClearJournal();
  host.Click(pt + CPoint(0, kRow));
  EXPECT_EQ((std::vector<std::string>{"54 notify 1 (" + std::to_string(row + 1) + ", 0)"}), host.Notifications());
}

TEST_F(CRecordListTest, AnEmptyListRefusesEverything) {
  ListProbe* list = MakeList(0);
  EXPECT_FALSE(list->UpdateDelayTime(5));
  EXPECT_TRUE(list->GetRecordItems().empty());
  list->SetCurSel(-1);
  list->ShowEdit();
  EXPECT_EQ(nullptr, list->Edit());
  EXPECT_EQ(0, list->OnControlScroll(1, 1, CPoint(100, 50)));
  host.MoveTo(CPoint(100, 50));
  host.Click(CPoint(100, 50));
  EXPECT_EQ(nullptr, VisibleEditWindow());
  testsupport::DibSurface s(host.width(), host.height());
  host.Compose(s);
  const DWORD background = s.Pixel(500, 400);
  EXPECT_EQ(50 * 90, s.Count(30, 25, 80, 115, background)) << "the background only";
}

// ---- The in-place delay edit ----

class CRecordListEditTest : public CRecordListTest {
protected:
  void SetUp() override {
    list = MakeList(10, 300);
    // Row 3 already has the shortest delay.
    list->GetRecordItems()[3]->delay = 10;
    button = host.Add(L"MButton", 60, CRect(450, 400, 550, 440), L"other");
    ASSERT_NE(nullptr, button);
    Top();
  }
  // Appending scrolled the list to its end; the cases start at its top.
  void Top() {
    list->Bar()->SetScrollCurrentPos(0);
    Draw();
  }
  HWND OpenOn(int row) {
    host.Click(Delay(row));
    return VisibleEditWindow();
  }
  static void Type(HWND edit, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
  }
  static std::wstring Text(HWND edit) {
    wchar_t text[32] = {};
    GetWindowTextW(edit, text, 32);
    return text;
  }
  // Closes the edit as the user does, by pressing the window's other control.
  void PressElsewhere() { host.Click(CPoint(500, 420)); }
  ListProbe* list = nullptr;
  TESK::MControl* button = nullptr;
};

TEST_F(CRecordListEditTest, APressInTheDelayColumnOpensADigitEditOverIt) {
  HWND edit = OpenOn(2);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(host.GetSafeHwnd(), GetParent(edit));
  EXPECT_EQ(2, list->EditedRow());
  EXPECT_EQ(edit, GetFocus());
  EXPECT_NE(0, GetWindowLongW(edit, GWL_STYLE) & ES_NUMBER);
  EXPECT_EQ(5, static_cast<int>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)));
  EXPECT_EQ(L"102", Text(edit));
  RECT r;
  GetWindowRect(edit, &r);
  MapWindowPoints(nullptr, host.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
  CRect area;
  list->GetTextRect(area);
  EXPECT_EQ(area, CRect(&r));
  // Row 2 spans 102 ... 143; font 16: (41 - 16) / 2 - 3 below its top, 19 high.
  EXPECT_EQ(CRect(40, 111, 160, 130), area);

  host.ClearJournal();
  SendMessageW(edit, EM_SETSEL, 0, -1);
  Type(edit, L"123456");
  EXPECT_EQ(L"12345", Text(edit));
  const std::vector<std::string> notes = ListNotes();
  ASSERT_FALSE(notes.empty());
  for (const std::string& note : notes) EXPECT_EQ("54 notify 26 (0, 0)", note);
  EXPECT_EQ(102, list->Delays()[2]) << "the row takes the delay when the edit closes";

  host.ClearJournal();
  PressElsewhere();
  EXPECT_EQ((std::vector<std::string>{"54 notify 29 (0, 2)"}), ListNotes());
  EXPECT_EQ(12345, list->Delays()[2]);
  EXPECT_EQ(nullptr, VisibleEditWindow());
  EXPECT_EQ(-1, list->EditedRow());
}

TEST_F(CRecordListEditTest, EmptySameAndPastedTexts) {
  const struct {
    int row;
    const wchar_t* text;
    int stored;
    bool reported;
  } cases[] = {
      {1, L"", 10, true},       // emptied: the shortest delay
      {3, L"", 10, false},      // emptied where the delay already was 10
      {4, L"104", 104, false},  // the same value
      {5, L"abc", 10, true},    // pasted, no leading digit
      {6, L"7x9", 7, true},     // pasted, leading digits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    HWND edit = OpenOn(c.row);
    ASSERT_NE(nullptr, edit);
    SetWindowTextW(edit, c.text);
    host.ClearJournal();
    PressElsewhere();
    EXPECT_EQ(c.stored, list->Delays()[c.row]);
    const std::vector<std::string> expected =
        c.reported ? std::vector<std::string>{"54 notify 29 (0, " + std::to_string(c.row) + ")"}
                   : std::vector<std::string>{};
    EXPECT_EQ(expected, ListNotes());
  }
}

TEST_F(CRecordListEditTest, PressesOnTheListKeepMoveOrCloseTheEdit) {
  HWND edit = OpenOn(2);
  ASSERT_NE(nullptr, edit);
  Type(edit, L"7");
  host.ClearJournal();
  host.Click(Delay(2) + CPoint(30, 0));
  EXPECT_EQ(edit, VisibleEditWindow()) << "a second press in the same delay column";
  EXPECT_EQ(L"1027", Text(edit)) << "what was typed stays";
  host.Click(Name(2));
  EXPECT_EQ(edit, VisibleEditWindow()) << "a press elsewhere in the edited row";
  EXPECT_EQ((std::vector<std::string>{"54 notify 1 (2, 0)", "54 notify 1 (2, 0)"}), ListNotes());

  host.ClearJournal();
  host.Click(Name(4));
  EXPECT_EQ((std::vector<std::string>{"54 notify 29 (0, 2)", "54 notify 1 (4, 0)"}), ListNotes());
  EXPECT_EQ(nullptr, VisibleEditWindow());
  EXPECT_EQ(1027, list->Delays()[2]);

  // Another row's delay column moves the edit there and drops what was typed.
  edit = OpenOn(5);
  Type(edit, L"9");
  host.ClearJournal();
  host.Click(Delay(6));
  EXPECT_EQ(edit, VisibleEditWindow());
  EXPECT_EQ(L"106", Text(edit));
  EXPECT_EQ(6, list->EditedRow());
  EXPECT_EQ(105, list->Delays()[5]);
  EXPECT_EQ((std::vector<std::string>{"54 notify 1 (6, 0)"}), ListNotes());

  // The wheel closes it and stores.
  Type(edit, L"1");
  host.ClearJournal();
  host.Wheel(Name(6), -120);
  EXPECT_EQ((std::vector<std::string>{"54 notify 29 (0, 6)"}), ListNotes());
  EXPECT_EQ(1061, list->Delays()[6]);
  EXPECT_EQ(nullptr, VisibleEditWindow());
}

// Rows deleted, moved or inserted under an open edit: it closes without storing, so the
// typed delay never lands in a freed row or in the event that took the row's place.
TEST_F(CRecordListEditTest, RowsChangedUnderAnOpenEditCloseItUnstored) {
  const struct {
    const char* change;
    void (*apply)(ListProbe&);
    std::vector<int> delays;
  } cases[] = {
      {"delete the edited row", [](ListProbe& l) { l.DeleteItem(5); }, {100, 101, 102, 10, 104, 106, 107, 108, 109}},
      {"delete an earlier row", [](ListProbe& l) { l.DeleteItem(0); }, {101, 102, 10, 104, 105, 106, 107, 108, 109}},
      {"swap the edited row", [](ListProbe& l) { l.SwapItem(5, 6); }, {100, 101, 102, 10, 104, 106, 105, 107, 108, 109}},
      {"insert before it", [](ListProbe& l) { l.InsertString(2, L"new", 2, 0, 1); },
       {100, 101, 1, 102, 10, 104, 105, 106, 107, 108, 109}},
      {"delete every row", [](ListProbe& l) { l.DeleteAllItems(); }, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    list->DeleteAllItems();
    for (int i = 0; i < 10; ++i) list->AddString(L"K", 2, 0, i == 3 ? 10 : 100 + i);
    Top();
    HWND edit = OpenOn(5);
    ASSERT_NE(nullptr, edit);
    Type(edit, L"42");
    host.ClearJournal();
    c.apply(*list);
    EXPECT_EQ(-1, list->EditedRow());
    EXPECT_EQ(nullptr, VisibleEditWindow());
    PressElsewhere();
    EXPECT_TRUE(ListNotes().empty());
    EXPECT_EQ(c.delays, list->Delays());
    Draw();
  }

  // Appending while recording leaves the edit open.
  for (int i = 0; i < 3; ++i) list->AddString(L"K", 2, 0, 100 + i);
  Top();
  HWND edit = OpenOn(1);
  ASSERT_NE(nullptr, edit);
  list->AddString(L"more", 2, 0, 5);
  EXPECT_EQ(1, list->EditedRow());
  EXPECT_EQ(edit, VisibleEditWindow());
}

TEST_F(CRecordListEditTest, TheEditWindowGoesWithTheList) {
  ASSERT_NE(nullptr, OpenOn(1));
  host.GetPaintManager()->RemoveControl(list);
  EXPECT_EQ(nullptr, VisibleEditWindow());
}

}  // namespace
