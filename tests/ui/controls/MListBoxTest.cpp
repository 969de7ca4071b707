// The list box driven as a user drives it through the host window: rows drawn only in view,
// hover and selection, the wheel, the notifications in their order, the in-place edit, and
// rows changed under an open edit.
#include "ui/controls/MListBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "WindowSearch.h"
#include "ui/controls/MScroll.h"
#include "ui/core/CEditWindow.h"
#include "ui/core/MImageList.h"

using testsupport::ControlHost;
using TESK::MListBox;

namespace {

constexpr UINT kId = 50;
constexpr DWORD kHighlight = 0x687389;

// The list with its row records and drawing state in view.
class ListProbe : public MListBox {
public:
  using MListBox::MListBox;
  CRect RowRect(int index) {
    TESK::LISTBOX_ITEM* row = Row(index);
    return row ? CRect(&row->rect) : CRect();
  }
  int FirstVisible() const { return m_nFirstVisible; }
  int LastVisible() const { return m_nLastVisible; }
  int EditFrameWidth() const { return m_nEditFrameWidth; }
  int EditedRow() const { return m_nEditItem; }
  TESK::CEditWindow* Edit() const { return m_pEditWnd; }
};

class MListBoxTest : public testing::Test {
protected:
  // A list of rows of 32 px, 200 x 100 at (20, 20).
  ListProbe* MakeList(int rows) {
    host.Activate();
    auto* list = new ListProbe(static_cast<TESK::MObject*>(&host), kId, CRect(20, 20, 220, 120), 1);
    host.Adopt(list);
    list->SetFont(InstalledFamily(), 12, Gdiplus::FontStyleRegular);
    for (int i = 0; i < rows; ++i) {
      CString text;
      text.Format(L"Row %d", i);
      list->AddString(text, static_cast<long>(100 + i), 0);
    }
    Draw();
    host.ClearJournal();
    return list;
  }
  void Draw() {
    testsupport::DibSurface surface(host.width(), host.height());
    host.Compose(surface);
  }
  // Any installed family serves; Wine offers the host's fonts under their own names.
  static const wchar_t* InstalledFamily() {
    for (const wchar_t* name : {L"Tahoma", L"DejaVu Sans", L"Liberation Sans", L"Noto Sans"}) {
      if (Gdiplus::FontFamily(name).IsAvailable()) return name;
    }
    return L"Tahoma";
  }
  // A point on row index (0 ... 2, wholly in view on the first page), away from its text.
  static CPoint OnRow(int index) { return CPoint(180, 20 + 32 * index + 16); }

  static HWND VisibleEditWindow() { return testsupport::FindVisibleWindow(L"FSEditWindow"); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(MListBoxTest, BothFactoriesMakeItVisibleWithItsBarHidden) {
  auto* made = host.Add<MListBox>(L"MListBox", 7, CRect(0, 0, 100, 50), L"ignored", 0, 0);
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(0, made->IsVisible());
  EXPECT_EQ(1, made->IsEnabled()) << "the enabled argument is not used";
  EXPECT_EQ(0, made->GetScrollVertical()->IsVisible());
  TESK::MPanel panel(&host, 8, CRect(0, 0, 300, 300), 1);
  TESK::MControl* child = panel.CreateControl(L"MListBox", 9, CRect(0, 0, 50, 50), L"", 1, 1);
  EXPECT_NE(nullptr, dynamic_cast<MListBox*>(child));
}

TEST_F(MListBoxTest, DrawsTheRowsInViewAndFillsTheHoveredOne) {
  ListProbe* list = MakeList(10);
  EXPECT_EQ(0, list->FirstVisible());
  EXPECT_EQ(3, list->LastVisible());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(CRect(0, 32 * i, 200, 32 * i + 32), list->RowRect(i)) << "row " << i;
  EXPECT_TRUE(list->RowRect(4).IsRectEmpty()) << "rows out of view are not laid out";

  host.MoveTo(OnRow(1));
  EXPECT_EQ((std::vector<int>{1}), host.Repaints(kId));
  EXPECT_EQ(kHighlight, host.PixelAt(200, OnRow(1).y));
  EXPECT_NE(kHighlight, host.PixelAt(200, OnRow(2).y));
  EXPECT_NE(kHighlight, host.PixelAt(200, OnRow(0).y));
  host.MoveTo(OnRow(1) + CPoint(-5, 3));
  EXPECT_EQ((std::vector<int>{1}), host.Repaints(kId)) << "moving within the hovered row repaints nothing";
}

TEST_F(MListBoxTest, OneWheelNotchTowardTheUserScrollsTenSteps) {
  ListProbe* list = MakeList(10);
  auto* bar = static_cast<TESK::MScroll*>(list->GetScrollVertical());
  EXPECT_EQ(320, bar->GetScrollMaxRange());
  host.MoveTo(OnRow(1));
  host.Wheel(OnRow(1), -120);
  EXPECT_EQ(10 * bar->GetScrollStep(), bar->GetScrollCurrentPos());
  EXPECT_EQ(0, bar->IsVisible());
  host.Wheel(OnRow(1), 120);
  host.Wheel(OnRow(1), 120);
  EXPECT_EQ(0, bar->GetScrollCurrentPos()) << "limited to the start";
  for (int i = 0; i < 50; ++i) host.Wheel(OnRow(1), -120);
  EXPECT_EQ(320, bar->GetScrollCurrentPos()) << "limited to the range";
  Draw();
  EXPECT_EQ(6, list->FirstVisible());
  EXPECT_EQ(9, list->LastVisible());

  // A list whose rows fit does not scroll.
  ListProbe* small = new ListProbe(static_cast<TESK::MObject*>(&host), 60, CRect(240, 20, 380, 120), 1);
  host.Adopt(small);
  small->AddString(L"one", 0);
  host.MoveTo(CPoint(300, 30));
  host.Wheel(CPoint(300, 30), -120);
  EXPECT_EQ(0, static_cast<TESK::MScroll*>(small->GetScrollVertical())->GetScrollCurrentPos());
}

TEST_F(MListBoxTest, ClicksReportTheirRowsInOrder) {
  ListProbe* list = MakeList(10);
  host.ClearJournal();
  host.Click(OnRow(2));
  EXPECT_EQ((std::vector<std::string>{"50 notify 1 (2, 0)", "50 notify 2 (2, 0)"}), host.Notifications());
  EXPECT_EQ(2, list->GetCurSel());
  EXPECT_EQ(102, list->GetCurData());

  host.ClearJournal();
  host.DoubleClick(OnRow(1));
  const std::vector<std::string> notes = host.Notifications();
  ASSERT_EQ(4u, notes.size());
  EXPECT_EQ("50 notify 3 (1, 0)", notes[2]);
  EXPECT_EQ(nullptr, VisibleEditWindow()) << "editing is off";
  EXPECT_EQ(nullptr, list->Edit());

  // A right click below the last row.
  ListProbe* shortList = new ListProbe(static_cast<TESK::MObject*>(&host), 61, CRect(240, 20, 380, 120), 1);
  host.Adopt(shortList);
  shortList->AddString(L"a", 0);
  shortList->AddString(L"b", 0);
  Draw();
  shortList->SetCurSel(1);
  host.ClearJournal();
  host.MoveTo(CPoint(300, 110));
  host.RightPress(CPoint(300, 110));
  host.RightRelease(CPoint(300, 110));
  // Row -1, as the dialog's 32-bit wParam carries it.
  EXPECT_EQ((std::vector<std::string>{"61 notify 5 (4294967295, 0)"}), host.Notifications());
  EXPECT_EQ(-1, shortList->GetCurSel());
}

TEST_F(MListBoxTest, RowsAndIndexesOutsideTheList) {
  ListProbe* list = MakeList(3);
  EXPECT_EQ(3, list->InsertString(0, L"first", 0, 7));
  EXPECT_EQ(CString(L"first"), list->GetItemText(0));
  EXPECT_EQ(4, list->InsertString(2, L"middle", 0, 8)) << "count - 1, also for a row in the middle";
  EXPECT_TRUE(list->GetItemRect(0).IsRectEmpty());
  EXPECT_EQ(2, list->FindString(L"middle"));
  EXPECT_EQ(-1, list->FindString(L"MIDDLE"));
  EXPECT_EQ(-1, list->FindString(nullptr));
  EXPECT_EQ(1, list->FindItemData(100));
  EXPECT_EQ(3, list->SetCurData(101));
  EXPECT_EQ(-1, list->SetCurData(999));
  EXPECT_EQ(3, list->GetCurSel()) << "an unknown value keeps the selection";

  const int count = list->GetItemCount();
  for (int bad : {-2, -1, count, count + 5}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(0, list->SetItemData(bad, 1));
    EXPECT_EQ(0, list->GetItemData(bad));
    EXPECT_EQ(0, list->ModifyItemString(bad, L"x"));
    EXPECT_TRUE(list->GetItemText(bad).IsEmpty());
    EXPECT_EQ(0, list->DeleteItem(bad));
    list->SwapItem(bad, 0);
  }
  EXPECT_EQ(-1, list->InsertString(-2, L"x", 0, 0));
  EXPECT_EQ(-1, list->InsertString(count, L"x", 0, 0));
  EXPECT_EQ(0, list->SetCurSel(-2));
  EXPECT_EQ(0, list->SetCurSel(count));
  EXPECT_EQ(1, list->SetCurSel(-1));
  EXPECT_EQ(0, list->GetCurData());
  EXPECT_EQ(count, list->GetItemCount());
  EXPECT_EQ(1, list->ModifyItemString(1, nullptr));
  EXPECT_TRUE(list->GetItemText(1).IsEmpty());

  list->SetItemHeight(0);
  list->SetItemHeight(-4);
  Draw();
  EXPECT_EQ(CRect(0, 32, 200, 64), list->RowRect(1)) << "heights below 1 are ignored";
  EXPECT_EQ(1, list->DeleteAllItems());
  EXPECT_EQ(0, list->GetItemCount());
  Draw();
  host.MoveTo(OnRow(0));
  host.Click(OnRow(0));
}

TEST_F(MListBoxTest, AThousandsOfRowsDrawingLaysOutOnlyTheRowsInView) {
  ListProbe* list = MakeList(10000);
  host.MoveTo(OnRow(1));
  for (int i = 0; i < 300; ++i) host.Wheel(OnRow(1), -120);
  Draw();
  const int f = list->FirstVisible(), l = list->LastVisible();
  EXPECT_GT(f, 0);
  EXPECT_LE(l - f, 4);
  int laidOut = 0;
  for (int i = 0; i < list->GetItemCount(); ++i) {
    if (!list->RowRect(i).IsRectEmpty()) ++laidOut;
  }
  EXPECT_EQ(4 + (l - f + 1), laidOut) << "the first page, then the rows of this view";
  EXPECT_EQ(CRect(0, 0, 200, 32), list->RowRect(f));
}

TEST_F(MListBoxTest, EditStripsAreCutInFourAndTheDragImageIsAtMost300Wide) {
  ASSERT_TRUE(testsupport::WriteStrip(L"listboxtest_edit.png", 20, 30, {0xFF101010, 0xFF202020, 0xFF303030, 0xFF404040}));
  ListProbe* list = MakeList(2);
  EXPECT_EQ(1, list->SetEditImage(L"listboxtest_edit.png", 1));
  EXPECT_EQ(20, list->EditFrameWidth());
  EXPECT_EQ(0, list->SetEditImage(L"listboxtest_missing.png", 4));
  EXPECT_EQ(0, list->SetImage(L"listboxtest_missing.png", 2));

  list->AddString(L"a row with a long text that runs far past the right edge of the list and the limit", 0);
  Draw();
  EXPECT_EQ(nullptr, list->GetControlDropBitmap()) << "no hovered row";
  const struct {
    int row;
    int minWidth, maxWidth;
  } cases[] = {{2, 300, 300}, {0, 20, 120}};
  for (const auto& c : cases) {
    host.MoveTo(OnRow(c.row));
    HBITMAP picture = list->GetControlDropBitmap();
    ASSERT_NE(nullptr, picture) << "row " << c.row;
    BITMAP info = {};
    GetObjectW(picture, sizeof(info), &info);
    EXPECT_GE(info.bmWidth, c.minWidth) << "row " << c.row;
    EXPECT_LE(info.bmWidth, c.maxWidth) << "row " << c.row;
    EXPECT_EQ(32, info.bmHeight);
    EXPECT_EQ(c.row, list->GetCurSel()) << "the dragged row becomes the selection";
    DeleteObject(picture);
  }
}

class MListBoxEditTest : public MListBoxTest {
protected:
  void SetUp() override {
    list = MakeList(6);
    list->EnableShowEdit(1);
  }
  HWND OpenOn(int row) {
    host.DoubleClick(OnRow(row));
    return VisibleEditWindow();
  }
  void Type(HWND edit, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
  }
  ListProbe* list = nullptr;
};

TEST_F(MListBoxEditTest, ADoubleClickOpensTheEditOverTheRowAndTypingReportsIt) {
  HWND edit = OpenOn(1);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(1, list->EditedRow());
  EXPECT_EQ(edit, GetFocus());
  RECT r;
  GetWindowRect(edit, &r);
  MapWindowPoints(nullptr, host.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(list->GetTextRect(), CRect(&r));
  EXPECT_EQ(CRect(80, 59, 210, 77), list->GetTextRect()) << "font 12: 18 px high, centred in the row";
  wchar_t text[32] = {};
  GetWindowTextW(edit, text, 32);
  EXPECT_STREQ(L"Row 1", text);

  host.ClearJournal();
  Type(edit, L"X");
  EXPECT_EQ((std::vector<std::string>{"50 notify 26 (0, 0)"}), host.Notifications());
  EXPECT_EQ(CString(L"Row 1X"), list->GetTitle());
  EXPECT_EQ(CString(L"Row 1"), list->GetItemText(1)) << "the row takes the text when the edit ends";
}

TEST_F(MListBoxEditTest, AClickOnTheSameRowKeepsItOpenAnotherRowEndsIt) {
  HWND edit = OpenOn(1);
  ASSERT_NE(nullptr, edit);
  Type(edit, L"X");
  host.ClearJournal();
  host.Click(OnRow(1));
  EXPECT_EQ(edit, VisibleEditWindow());
  EXPECT_EQ((std::vector<std::string>{"50 notify 1 (1, 0)", "50 notify 2 (1, 0)"}), host.Notifications());

  host.ClearJournal();
  host.Click(OnRow(2));
  EXPECT_EQ((std::vector<std::string>{"50 notify 1 (2, 0)", "50 notify 29 (0, 1)", "50 notify 2 (2, 0)"}),
            host.Notifications());
  EXPECT_EQ(nullptr, VisibleEditWindow());
  EXPECT_EQ(CString(L"Row 1X"), list->GetItemText(1));
  EXPECT_EQ(CString(L"Row 2"), list->GetItemText(2));

  // Unchanged text ends without a report.
  OpenOn(2);
  host.ClearJournal();
  host.Click(OnRow(0));
  EXPECT_EQ((std::vector<std::string>{"50 notify 1 (0, 0)", "50 notify 2 (0, 0)"}), host.Notifications());
}

TEST_F(MListBoxEditTest, LosingTheControlFocusEndsTheEdit) {
  HWND edit = OpenOn(2);
  ASSERT_NE(nullptr, edit);
  Type(edit, L"Z");
  host.ClearJournal();
  host.SetFocusControl(nullptr);
  EXPECT_EQ((std::vector<std::string>{"50 notify 29 (0, 2)"}), host.Notifications());
  EXPECT_EQ(nullptr, VisibleEditWindow());
  EXPECT_EQ(CString(L"Row 2Z"), list->GetItemText(2));
  EXPECT_EQ(-1, list->EditedRow());
}

// Rows deleted, swapped or inserted before an open edit: the edit ends first and its text
// goes to its own row, never to the row that takes its place.
TEST_F(MListBoxEditTest, RowsChangedUnderAnOpenEditEndItFirst) {
  const struct {
    const char* change;
    void (*apply)(ListProbe&);
    std::vector<const wchar_t*> rows;
    bool ends = true;
  } cases[] = {
      {"delete the edited row", [](ListProbe& l) { l.DeleteItem(2); }, {L"Row 0", L"Row 1", L"Row 3", L"Row 4", L"Row 5"}},
      {"delete an earlier row", [](ListProbe& l) { l.DeleteItem(0); }, {L"Row 1", L"Row 2Q", L"Row 3", L"Row 4", L"Row 5"}},
      {"delete a later row", [](ListProbe& l) { l.DeleteItem(4); }, {L"Row 0", L"Row 1", L"Row 2", L"Row 3", L"Row 5"},
       false},
      {"swap the edited row", [](ListProbe& l) { l.SwapItem(2, 5); },
       {L"Row 0", L"Row 1", L"Row 5", L"Row 3", L"Row 4", L"Row 2Q"}},
      {"insert before it", [](ListProbe& l) { l.InsertString(1, L"new", 0, 0); },
       {L"Row 0", L"new", L"Row 1", L"Row 2Q", L"Row 3", L"Row 4", L"Row 5"}},
      {"delete every row", [](ListProbe& l) { l.DeleteAllItems(); }, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    list->DeleteAllItems();
    for (int i = 0; i < 6; ++i) {
      CString text;
      text.Format(L"Row %d", i);
      list->AddString(text, 0);
    }
    Draw();
    HWND edit = OpenOn(2);
    ASSERT_NE(nullptr, edit);
    Type(edit, L"Q");
    host.ClearJournal();
    c.apply(*list);
    if (c.ends) {
      EXPECT_EQ(-1, list->EditedRow());
      EXPECT_EQ(nullptr, VisibleEditWindow());
      EXPECT_EQ((std::vector<std::string>{"50 notify 29 (0, 2)"}), host.Notifications());
    } else {
      EXPECT_EQ(2, list->EditedRow()) << "a change after the edited row leaves the edit open";
      EXPECT_TRUE(host.Notifications().empty());
    }
    ASSERT_EQ(static_cast<int>(c.rows.size()), list->GetItemCount());
    for (size_t i = 0; i < c.rows.size(); ++i) EXPECT_EQ(CString(c.rows[i]), list->GetItemText(static_cast<int>(i)));
    Draw();
  }
}

TEST_F(MListBoxEditTest, TheEditWindowGoesWithTheList) {
  ASSERT_NE(nullptr, OpenOn(1));
  host.GetPaintManager()->RemoveControl(list);
  EXPECT_EQ(nullptr, VisibleEditWindow());
}

}  // namespace
