// The profile list driven through the host window as a user drives it: the bar and the rows in
// view, long lists, the action zone and its notifications, the drawing of plates, pictures and
// captions, and the in-place caption edit.
#include "ui/keyboard/ProfileList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "TileColours.h"
#include "WindowSearch.h"
#include "ui/controls/MScroll.h"

using testsupport::ControlHost;
using testsupport::DibSurface;
using testsupport::DistinctTileColours;
using TESK::ProfileList;

namespace {

constexpr UINT kId = 57;
constexpr DWORD kGround = 0x000000;
constexpr DWORD kNormal = DistinctTileColours::kNormal & 0xFFFFFF;
constexpr DWORD kHover = DistinctTileColours::kHover & 0xFFFFFF;
constexpr DWORD kFrame0 = 0x00FF00, kFrame1 = 0x0000FF, kPicture = 0xFFFF00;
constexpr int kPitch = 36;
// The list: 200 x 180 at (20, 20); its rows are 195 wide (the bar's 5 px are left out).
const CRect kList(20, 20, 220, 200);
constexpr int kRowWidth = 195;

// The list with its paint's geometry in view.
class ListProbe : public ProfileList {
public:
  using ProfileList::ProfileList;
  int FirstVisible() const { return m_nFirstVisible; }
  int FirstOffset() const { return m_nFirstOffset; }
  int EditedRow() const { return m_nEditItem; }
  TESK::MScroll* Bar() const { return static_cast<TESK::MScroll*>(GetScrollVertical()); }
};

class ProfileListTest : public testing::Test {
protected:
  ProfileListTest() : host(420, 320) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    host.Activate();
  }

  // A list of rows "Profile 0" ... with data 100 + i, straight in the window's list.
  ListProbe* MakeList(int rows) {
    auto* list = new ListProbe(&host, kId, kList, 1, 1);
    host.Adopt(list);
    list->SetFont(testsupport::InstalledFontFamily(), 14, Gdiplus::FontStyleRegular);
    list->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    for (int i = 0; i < rows; ++i) list->AddItem((L"Profile " + std::to_wstring(i)).c_str(), 100 + i, L"");
    return list;
  }
  void Draw(DibSurface& s) { host.Compose(s); }
  void Draw() {
    DibSurface s(host.width(), host.height());
    host.Compose(s);
  }
  // Points of row index of a list scrolled to its top: on its caption and in its action zone
  // (20 x 20 at 25 px from the row's right end, 6 px below its top).
  static CPoint Caption(int index) { return CPoint(kList.left + 60, kList.top + kPitch * index + 16); }
  static CPoint Zone(int index) { return CPoint(kList.left + kRowWidth - 15, kList.top + kPitch * index + 16); }
  std::vector<std::string> ClickShown(CPoint pt) { return host.ClickShown(pt); }
  static std::string Note(UINT code, int row) { return testsupport::NotifyLine(kId, code, 0, row); }
  // Pixels of the text's colour family (bright) in the window's [left, right) x [top, bottom).
  static int InkIn(const DibSurface& s, int left, int top, int right, int bottom) {
    int ink = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        if (((s.Pixel(x, y) >> 8) & 0xFF) > 0x80) ++ink;
      }
    }
    return ink;
  }
  // Pixels of the down colour's family (red, blended at the anti-aliased outlines) in the
  // window's [left, right) x [top, bottom).
  static int RedIn(const DibSurface& s, int left, int top, int right, int bottom) {
    int red = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const DWORD c = s.Pixel(x, y);
        if ((c >> 16) > 0x60 && ((c >> 8) & 0xFF) < 0x40) ++red;
      }
    }
    return red;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  DistinctTileColours colours;
  ControlHost host;
};

TEST_F(ProfileListTest, BothFactoriesMakeItEnabled) {
  auto* made = host.Add<ProfileList>(L"ProfileList", 7, CRect(0, 0, 100, 50), L"", 0, 0);
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(0, made->IsVisible());
  EXPECT_EQ(1, made->IsEnabled()) << "the enabled argument is not used";
  EXPECT_EQ(0, made->GetScrollVertical()->IsVisible());
}

TEST_F(ProfileListTest, TenRowsInAHundredEightyPixelsScrollAndShowRowOneFromItsFifteenthPixel) {
  ListProbe* list = MakeList(5);
  EXPECT_EQ(0, list->Bar()->IsVisible()) << "5 x 36 = 180 fit";
  for (int i = 5; i < 10; ++i) list->AddItem((L"Profile " + std::to_wstring(i)).c_str(), 100 + i, L"");
  EXPECT_EQ(1, list->Bar()->IsVisible());
  EXPECT_EQ(360, list->Bar()->GetScrollMaxRange());
  EXPECT_EQ(360, list->Bar()->GetScrollCurrentPos()) << "an added row moves the bar to its end";

  // Position 100 of 360 scrolls (360 - 180) x 100 / 360 = 50 px: row 1 from its 15th pixel.
  list->Bar()->SetScrollCurrentPos(100);
  list->UpdateControl(1, 0);
  DibSurface s(host.width(), host.height());
  Draw(s);
  EXPECT_EQ(1, list->FirstVisible());
  EXPECT_EQ(14, list->FirstOffset());
  const int x = kList.left + 100;
  EXPECT_EQ(kNormal, s.Pixel(x, kList.top)) << "row 1 at the top";
  EXPECT_EQ(kNormal, s.Pixel(x, kList.top + 18)) << "its last pixel, 33 - 14 - 1 lower";
  EXPECT_EQ(kGround, s.Pixel(x, kList.top + 20)) << "between the rows";
  EXPECT_EQ(kNormal, s.Pixel(x, kList.top + 22)) << "row 2";
  EXPECT_EQ(std::vector<std::string>{Note(2, 1)}, ClickShown(CPoint(x, kList.top + 5)));

  list->SetScrollPos(5);
  EXPECT_EQ(0, list->Bar()->GetScrollCurrentPos()) << "always the top";
  Draw(s);
  EXPECT_EQ(0, list->FirstVisible());
  EXPECT_EQ(0, list->FirstOffset());
}

TEST_F(ProfileListTest, FiveHundredRowsWheeledToTheEndPickTheLastRow) {
  ListProbe* list = MakeList(500);
  list->SetScrollPos(0);
  Draw();
  const CPoint inside = Caption(1);
  host.MoveTo(inside);
  for (int i = 0; i < 1000 && list->Bar()->GetScrollCurrentPos() < 18000; ++i) host.Wheel(inside, -WHEEL_DELTA);
  EXPECT_EQ(18000, list->Bar()->GetScrollCurrentPos());
  EXPECT_EQ(1, list->OnControlScroll(1, 1, inside)) << "taken at the end too";
  EXPECT_EQ(18000, list->Bar()->GetScrollCurrentPos());
  // Scrolled by 18000 - 180: rows 495 ... 499 fill the list, 499 at the bottom.
  EXPECT_EQ(std::vector<std::string>{Note(2, 499)}, ClickShown(CPoint(kList.left + 60, kList.bottom - 10)));
  EXPECT_EQ(495, list->FirstVisible());
  EXPECT_EQ(599, list->GetCurData());

  // Rows that fit take no wheel.
  ListProbe* shortList = MakeList(2);
  EXPECT_EQ(0, shortList->OnControlScroll(1, 1, inside));
}

TEST_F(ProfileListTest, AReleaseInTheActionZoneTellsThePartElsewhereTheClick) {
  ListProbe* list = MakeList(3);
  EXPECT_EQ(std::vector<std::string>{Note(9, 2)}, ClickShown(Zone(2)));
  EXPECT_EQ(2, list->GetSelectItem());
  EXPECT_EQ(std::vector<std::string>{Note(2, 2)}, ClickShown(Caption(2)));
  EXPECT_EQ(std::vector<std::string>{Note(2, 0)}, ClickShown(Caption(0)));
  EXPECT_EQ(std::vector<std::string>{Note(9, 0)}, ClickShown(Zone(0)));
  EXPECT_TRUE(ClickShown(CPoint(kList.left + 60, kList.top + 3 * kPitch + 10)).empty()) << "below the rows";
  EXPECT_EQ(0, list->GetSelectItem());
  EXPECT_TRUE(ClickShown(CPoint(kList.left + 60, kList.top + kPitch - 2)).empty()) << "between two rows";
}

TEST_F(ProfileListTest, PlatesActionFramesPicturesAndCaptions) {
  ASSERT_TRUE(testsupport::WriteStrip(L"profile_action.png", 20, 20, {0xFF000000 | kFrame0, 0xFF000000 | kFrame1}));
  ASSERT_TRUE(testsupport::WriteSkin(L"profile_picture.png", 10, 10, 0xFF000000 | kPicture));
  ListProbe* list = MakeList(0);
  list->SetImage(L"profile_action.png", 2);
  list->AddItem(L"", 1, L"profile_picture.png");
  list->AddItem(L"Missing", 2, L"profile_missing.png");
  list->AddItem(std::wstring(1000, L'W').c_str(), 3, L"");
  list->SetScrollPos(0);
  ClickShown(Caption(0));
  host.MoveTo(Caption(1));

  DibSurface s(host.width(), host.height());
  Draw(s);
  const int x = kList.left + 100;
  EXPECT_EQ(kNormal, s.Pixel(x, Caption(0).y - 10)) << "the selected row: filled in the normal colour";
  EXPECT_GT(RedIn(s, x, kList.top - 1, x + 1, kList.top + 2), 0) << "outlined in the down colour";
  EXPECT_EQ(kHover, s.Pixel(x, Caption(1).y - 10)) << "the hovered row";
  EXPECT_EQ(kNormal, s.Pixel(x, Caption(2).y - 10));
  EXPECT_EQ(0, RedIn(s, kList.left, kList.top + kPitch - 1, kList.right, kList.bottom))
      << "other rows are outlined in their fill";
  // The action strip's first frame in the zones of the selected and the hovered row, none on
  // the others.
  EXPECT_EQ(kFrame0, s.Pixel(Zone(0).x, Zone(0).y));
  EXPECT_EQ(kFrame0, s.Pixel(Zone(1).x, Zone(1).y));
  EXPECT_EQ(kNormal, s.Pixel(Zone(2).x, Zone(2).y));
  // A row's picture scaled to 20 x 20 at (5, 6); a missing one draws nothing.
  EXPECT_EQ(kPicture, s.Pixel(kList.left + 7, kList.top + 8));
  EXPECT_EQ(kPicture, s.Pixel(kList.left + 22, kList.top + 23));
  EXPECT_EQ(kNormal, s.Pixel(kList.left + 27, kList.top + 16));
  EXPECT_EQ(kHover, s.Pixel(kList.left + 15, Caption(1).y));
  // Captions start at x 30; a long one is cut at 30 + 195 - 65 = 160.
  EXPECT_GT(InkIn(s, kList.left + 30, Caption(1).y - 8, kList.left + 100, Caption(1).y + 8), 0);
  EXPECT_GT(InkIn(s, kList.left + 100, Caption(2).y - 8, kList.left + 160, Caption(2).y + 8), 0);
  EXPECT_EQ(0, InkIn(s, kList.left + 161, Caption(2).y - 8, kList.left + kRowWidth, Caption(2).y + 8));

  // Over the hovered row's zone: the zone plate and the second frame.
  host.MoveTo(Zone(1));
  Draw(s);
  EXPECT_EQ(kFrame1, s.Pixel(Zone(1).x, Zone(1).y));
  EXPECT_GT(RedIn(s, Zone(1).x, kList.top + kPitch + 2, Zone(1).x + 1, kList.top + kPitch + 5), 0)
      << "the zone plate's outline";
  EXPECT_EQ(kFrame0, s.Pixel(Zone(0).x, Zone(0).y));
  host.MoveTo(CPoint(kList.right + 50, kList.top + 10));
  Draw(s);
  EXPECT_EQ(kNormal, s.Pixel(Zone(1).x, Zone(1).y)) << "no hover, no action on that row";
}

TEST_F(ProfileListTest, RowsAndIndexesNamingNoRow) {
  ListProbe* list = MakeList(4);
  list->SetCurData(102);
  EXPECT_EQ(2, list->GetSelectItem());
  list->SetCurData(999);
  EXPECT_EQ(2, list->GetSelectItem()) << "no row of that data: unchanged";
  int data = 0;
  CString caption;
  list->GetCurValue(data, caption);
  EXPECT_EQ(102, data);
  EXPECT_EQ(CString(L"Profile 2"), caption);
  EXPECT_EQ(1, list->SetItemText(3, L"Renamed"));
  EXPECT_EQ(0, list->SetItemText(4, L"nobody"));
  EXPECT_EQ(CString(L"Renamed"), list->GetItemText(3));
  EXPECT_EQ(CString(), list->GetItemText(-1));
  EXPECT_EQ(0, list->GetItemData(4));

  const int before = list->Bar()->GetScrollMaxRange();
  list->DeleteItem(99);
  list->DeleteItem(-1);
  EXPECT_EQ(4, list->GetItemCount());
  EXPECT_EQ(2, list->GetSelectItem()) << "nothing changes";
  EXPECT_EQ(before, list->Bar()->GetScrollMaxRange());
  list->DeleteItem(0);
  EXPECT_EQ(3, list->GetItemCount());
  EXPECT_EQ(-1, list->GetSelectItem()) << "a removed row forgets the selection";
  EXPECT_EQ(CString(L"Profile 1"), list->GetItemText(0));

  // A selection naming no row is kept, reads as none and draws no plate.
  list->SetSelectItem(7);
  EXPECT_EQ(7, list->GetSelectItem());
  EXPECT_EQ(0, list->GetCurData());
  data = -5;
  caption = L"kept";
  list->GetCurValue(data, caption);
  EXPECT_EQ(-5, data);
  EXPECT_EQ(CString(L"kept"), caption);
  list->ShowEdit();
  EXPECT_EQ(-1, list->EditedRow());
  EXPECT_EQ(nullptr, testsupport::FindVisibleWindow(L"FSEditWindow"));
  list->SetScrollPos(0);
  DibSurface s(host.width(), host.height());
  Draw(s);
  EXPECT_EQ(0, RedIn(s, kList.left, kList.top, kList.right, kList.bottom));

  list->ClearList();
  EXPECT_EQ(0, list->GetItemCount());
  EXPECT_EQ(-1, list->GetSelectItem());
  EXPECT_EQ(0, list->Bar()->IsVisible());
  EXPECT_EQ(0, list->Bar()->GetScrollCurrentPos());
  Draw(s);
  EXPECT_EQ(kGround, s.Pixel(kList.left + 100, kList.top + 10)) << "the window only";
}

// ---- The in-place caption edit ----

class ProfileListEditTest : public ProfileListTest {
protected:
  void SetUp() override {
    ProfileListTest::SetUp();
    list = MakeList(4);
    list->SetScrollPos(0);
    other = host.Add(L"MButton", 60, CRect(300, 250, 400, 290), L"other");
    ASSERT_NE(nullptr, other);
  }
  // Selects the row as the user does and opens the edit on it.
  HWND EditRow(int row) {
    ClickShown(Caption(row));
    list->ShowEdit();
    return testsupport::FindVisibleWindow(L"FSEditWindow");
  }
  static void Type(HWND edit, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
  }
  static std::wstring Text(HWND edit) {
    wchar_t text[64] = {};
    GetWindowTextW(edit, text, 64);
    return text;
  }
  // The list loses the focus as the user takes it elsewhere.
  std::vector<std::string> PressElsewhere() {
    host.ClearJournal();
    host.Click(CPoint(350, 270));
    std::vector<std::string> notes;
    for (const std::string& note : host.Notifications()) {
      if (note.rfind(std::to_string(kId) + " ", 0) == 0) notes.push_back(note);
    }
    return notes;
  }
  std::vector<std::wstring> Captions() {
    std::vector<std::wstring> captions;
    for (int i = 0; i < list->GetItemCount(); ++i) captions.emplace_back(list->GetItemText(i).GetString());
    return captions;
  }
  ListProbe* list = nullptr;
  TESK::MControl* other = nullptr;
};

TEST_F(ProfileListEditTest, TheEditCoversTheCaptionAndTheSameTextTellsNothing) {
  HWND edit = EditRow(1);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(1, list->EditedRow());
  EXPECT_EQ(host.GetSafeHwnd(), GetParent(edit));
  EXPECT_EQ(edit, GetFocus());
  EXPECT_EQ(L"Profile 1", Text(edit));
  RECT r;
  GetWindowRect(edit, &r);
  MapWindowPoints(nullptr, host.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
  CRect area;
  list->GetTextRect(area);
  EXPECT_EQ(area, CRect(&r));
  // Row 1 spans 56 ... 89 at x 20 ... 215; font 14: a line of 20 px, (33 - 20) / 2 lower.
  EXPECT_EQ(CRect(kList.left + 32, 62, kList.left + kRowWidth - 30, 82), area);

  EXPECT_TRUE(PressElsewhere().empty());
  EXPECT_EQ(nullptr, testsupport::FindVisibleWindow(L"FSEditWindow"));
  EXPECT_EQ(-1, list->EditedRow());
  CRect none;
  list->GetTextRect(none);
  EXPECT_TRUE(none.IsRectEmpty());
  EXPECT_EQ(CString(L"Profile 1"), list->GetItemText(1));
}

TEST_F(ProfileListEditTest, ATypedCaptionReplacesTheRowsAndIsToldOnce) {
  HWND edit = EditRow(2);
  ASSERT_NE(nullptr, edit);
  Type(edit, L" pro");
  EXPECT_EQ(CString(L"Profile 2"), list->GetItemText(2)) << "the row takes the text when the edit closes";
  EXPECT_EQ(std::vector<std::string>{Note(29, 2)}, PressElsewhere());
  EXPECT_EQ(CString(L"Profile 2 pro"), list->GetItemText(2));
  EXPECT_TRUE(PressElsewhere().empty()) << "once";

  // A press on another row closes the edit with its text; one on the edited row keeps it.
  edit = EditRow(0);
  Type(edit, L"!");
  host.ClearJournal();
  host.Click(Caption(0));
  EXPECT_EQ(edit, testsupport::FindVisibleWindow(L"FSEditWindow"));
  host.Click(Caption(3));
  EXPECT_EQ((std::vector<std::string>{Note(2, 0), Note(29, 0), Note(2, 3)}), host.Notifications());
  EXPECT_EQ(CString(L"Profile 0!"), list->GetItemText(0));
  EXPECT_EQ(nullptr, testsupport::FindVisibleWindow(L"FSEditWindow"));
}

// Rows removed under an open edit: it closes without storing, so the typed caption never lands
// in the row that took the edited one's place.
TEST_F(ProfileListEditTest, RemovedRowsCloseTheEditUnstored) {
  const struct {
    const char* change;
    void (*apply)(ProfileList&);
    std::vector<std::wstring> captions;
  } cases[] = {
      {"the edited row", [](ProfileList& l) { l.DeleteItem(1); }, {L"Profile 0", L"Profile 2", L"Profile 3"}},
      {"an earlier row", [](ProfileList& l) { l.DeleteItem(0); }, {L"Profile 1", L"Profile 2", L"Profile 3"}},
      {"every row", [](ProfileList& l) { l.ClearList(); }, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    list->ClearList();
    for (int i = 0; i < 4; ++i) list->AddItem((L"Profile " + std::to_wstring(i)).c_str(), i, L"");
    list->SetScrollPos(0);
    HWND edit = EditRow(1);
    ASSERT_NE(nullptr, edit);
    Type(edit, L"X");
    c.apply(*list);
    EXPECT_EQ(-1, list->EditedRow());
    EXPECT_EQ(nullptr, testsupport::FindVisibleWindow(L"FSEditWindow"));
    EXPECT_TRUE(PressElsewhere().empty());
    EXPECT_EQ(c.captions, Captions());
  }
}

TEST_F(ProfileListEditTest, TheEditWindowGoesWithTheList) {
  ASSERT_NE(nullptr, EditRow(1));
  host.GetPaintManager()->RemoveControl(list);
  EXPECT_EQ(nullptr, testsupport::FindVisibleWindow(L"FSEditWindow"));
}

}  // namespace
