// The device tile row driven through a page panel: picture fitting (first, since the first box
// asked about fixes the ratio for the process), tiles shown only for raised devices, selection
// by click and by id, the wheel, and missing pictures.
#include "ui/keyboard/CDeviceList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "TileColours.h"
#include "ui/controls/MScroll.h"
#include "ui/controls/MTabLayout.h"
#include "ui/core/Manager.h"

using testsupport::ControlHost;
using testsupport::DibSurface;
using TESK::CDeviceList;

namespace {

constexpr UINT kId = 40;
constexpr DWORD kGround = 0x000000;
constexpr DWORD kPicture = 0x00FF00, kSelectedPicture = 0x0000FF;
// The list at (10, 10), 500 x 130 (font size 14: tiles of 200 x 116).
const CRect kList(10, 10, 510, 140);

// Runs before every other test of this file, and no other file fits pictures: its first box
// is the first of the process.
TEST(CDeviceListFitTest, TheFirstBoxWithAHeightFixesTheRatioAndZeroSidesKeepTheSize) {
  CDeviceList list(nullptr, 1, CRect(), 1, 1);
  EXPECT_EQ(CRect(60, 10, 60, 10), list.GetImageRect(0, 0, CRect(10, 10, 110, 10)))
      << "a box without a height: the picture keeps its size, centred, and no ratio is fixed";
  EXPECT_EQ(CRect(10, 70, 210, 120), list.GetImageRect(400, 100, CRect(10, 20, 210, 170)))
      << "400 x 100 into 200 x 150: to the width, centred";
  // Wider and higher than a 100 x 200 box, 1 : 1 against the kept ratio 200 : 150 fits the
  // height (the box's own ratio would fit the width).
  EXPECT_EQ(CRect(-50, 0, 150, 200), list.GetImageRect(300, 300, CRect(0, 0, 100, 200)));
  const struct {
    int w, h;
    CRect box, fitted;
  } cases[] = {
      {50, 40, CRect(0, 0, 100, 100), CRect(25, 30, 75, 70)},       // smaller: kept, centred
      {50, 400, CRect(0, 0, 100, 100), CRect(44, 0, 56, 100)},      // higher only: to the height
      {800, 400, CRect(0, 0, 100, 100), CRect(0, 25, 100, 75)},     // both, wider than the ratio
      {0, 30, CRect(0, 0, 100, 100), CRect(50, 35, 50, 65)},        // no width
      {40, 30, CRect(0, 0, 100, 0), CRect(30, -15, 70, 15)},        // a box without a height
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    EXPECT_EQ(c.fitted, list.GetImageRect(c.w, c.h, c.box));
  }
}

class CDeviceListTest : public testing::Test {
protected:
  CDeviceListTest() : host(600, 200) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    ASSERT_TRUE(testsupport::WriteSkin(L"device_normal.png", 100, 50, 0xFF000000 | kPicture));
    ASSERT_TRUE(testsupport::WriteSkin(L"device_selected.png", 100, 50, 0xFF000000 | kSelectedPicture));
    page = host.Add<TESK::MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    ASSERT_NE(nullptr, page);
  }
  // A list of three devices, ids 11, 12, 13, all at state 0.
  CDeviceList* List(CRect at = kList) {
    auto* list = dynamic_cast<CDeviceList*>(page->CreateControl(L"CDeviceList", kId, at, L"", 1, 1));
    if (!list) return nullptr;
    list->SetFont(testsupport::InstalledFontFamily(), 14, Gdiplus::FontStyleRegular);
    const CString normal = TESK::GetSkinFolder() + L"device_normal.png";
    const CString selected = TESK::GetSkinFolder() + L"device_selected.png";
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(i, list->AddDevice((L"Device " + std::to_wstring(i)).c_str(), 11 + i, normal, selected));
    }
    return list;
  }
  // Shown tile index's face: inside its plate, away from its picture and its name.
  static CPoint Face(int index) { return CPoint(kList.left + index * 220 + 20, kList.top + 60); }
  // Its picture: 100 x 50 at the tile's centre column, top at 8.
  static CPoint PictureOf(int index) { return CPoint(kList.left + index * 220 + 100, kList.top + 30); }
  static std::string Clicked() { return testsupport::NotifyLine(kId, 2, 0, 0); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::DistinctTileColours colours;
  ControlHost host;
  TESK::MTabLayout* page = nullptr;
};

TEST_F(CDeviceListTest, DevicesShowOnceRaisedAndAClickSelectsAShownOne) {
  CDeviceList* list = List();
  ASSERT_NE(nullptr, list);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kList.Width() * kList.Height(), s.Count(kList.left, kList.top, kList.right, kList.bottom, kGround))
      << "nothing shown at state 0";

  list->SetDeviceState(13, 1);
  list->SetDeviceState(12, 2);
  EXPECT_EQ(2, list->GetDeviceState(12));
  EXPECT_EQ(0, list->GetDeviceState(11));
  EXPECT_EQ(0, list->GetDeviceState(99));
  host.Compose(s);
  // Device 0 is selected but hidden; 12 and 13 take the first two places, unlit.
  EXPECT_EQ(kPicture, s.Pixel(PictureOf(0).x, PictureOf(0).y));
  EXPECT_EQ(kPicture, s.Pixel(PictureOf(1).x, PictureOf(1).y));
  EXPECT_EQ(kGround, s.Pixel(PictureOf(2).x, PictureOf(2).y));
  EXPECT_NE(kGround, s.Pixel(Face(0).x, Face(0).y)) << "the plate";
  EXPECT_EQ(kGround, s.Pixel(kList.left + 210, kList.top + 60)) << "the gap";

  EXPECT_EQ(std::vector<std::string>{Clicked()}, host.ClickShown(Face(1)));
  EXPECT_EQ(2, list->GetSelectItem());
  EXPECT_EQ(13, list->GetSelectDevice());
  host.MoveTo(CPoint(590, 190));
  host.Compose(s);
  EXPECT_EQ(kSelectedPicture, s.Pixel(PictureOf(1).x, PictureOf(1).y)) << "the selected picture";
  EXPECT_EQ(kPicture, s.Pixel(PictureOf(0).x, PictureOf(0).y));
  EXPECT_TRUE(host.ClickShown(CPoint(kList.left + 480, kList.top + 60)).empty()) << "no tile there";

  // By id: a hidden device's id falls back to the first shown device; none shown, none.
  list->SetSelectDevice(12);
  EXPECT_EQ(1, list->GetSelectItem());
  list->SetSelectDevice(11);
  EXPECT_EQ(1, list->GetSelectItem());
  EXPECT_EQ(12, list->GetSelectDevice());
  list->SetAllDeviceState(0);
  list->SetSelectDevice(13);
  EXPECT_EQ(-1, list->GetSelectItem());
  EXPECT_EQ(11, list->GetSelectDevice()) << "read as the first device";

  list->ClearList();
  EXPECT_EQ(0, list->GetItemCount());
  EXPECT_EQ(0, list->GetSelectItem());
  EXPECT_EQ(0, list->GetSelectDevice());
}

TEST_F(CDeviceListTest, TheWheelMovesTheBarOnlyWhenTheTilesAreWiderThanTheList) {
  CDeviceList* wide = List(CRect(0, 145, 700, 195));
  ASSERT_NE(nullptr, wide);
  auto* bar = dynamic_cast<TESK::MScroll*>(wide->GetScrollHorizontal());
  ASSERT_NE(nullptr, bar);
  bar->SetScrollMaxRange(1000);
  EXPECT_EQ(0, wide->OnControlScroll(1, 1, CPoint(100, 50))) << "600 px of tiles in 700";
  EXPECT_EQ(0, bar->GetScrollCurrentPos());

  CDeviceList* list = List();
  ASSERT_NE(nullptr, list);
  bar = dynamic_cast<TESK::MScroll*>(list->GetScrollHorizontal());
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(0, bar->GetScrollMaxRange()) << "the list ranges no bar of its own";
  host.MoveTo(CPoint(100, 50));
  host.Wheel(CPoint(100, 50), -WHEEL_DELTA);
  EXPECT_EQ(0, bar->GetScrollCurrentPos());
  EXPECT_EQ(1, list->OnControlScroll(1, 1, CPoint(100, 50))) << "taken all the same";
  // With a range set on the bar, a notch moves it by ten of its steps.
  bar->SetScrollMaxRange(1000);
  host.Wheel(CPoint(100, 50), -WHEEL_DELTA);
  EXPECT_EQ(100, bar->GetScrollCurrentPos()) << "ten steps of 10";
  host.Wheel(CPoint(100, 50), WHEEL_DELTA);
  host.Wheel(CPoint(100, 50), WHEEL_DELTA);
  EXPECT_EQ(0, bar->GetScrollCurrentPos()) << "not below 0";
}

TEST_F(CDeviceListTest, MissingPicturesLeaveThePlates) {
  CDeviceList* list = dynamic_cast<CDeviceList*>(page->CreateControl(L"CDeviceList", kId, kList, L"", 1, 1));
  ASSERT_NE(nullptr, list);
  list->AddDevice(L"Lost", 5, L"C:\\no\\such.png", L"");
  list->SetAllDeviceState(1);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  const DWORD plate = s.Pixel(Face(0).x, Face(0).y);
  EXPECT_NE(kGround, plate);
  EXPECT_EQ(plate, s.Pixel(PictureOf(0).x, PictureOf(0).y)) << "no picture on the plate";
}

}  // namespace
