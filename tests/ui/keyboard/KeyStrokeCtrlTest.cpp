// The vertical key-travel picture, made by the window's factory and driven by real input:
// presses on the column within the dead zones, the legend's rows, the switch marker, the
// column's fill; and the tachyon graphic's periods.
#include "ui/keyboard/KeyStrokeCtrl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/TachyonCtrl.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::NotifyLine;

namespace {

constexpr UINT kId = 45;
constexpr DWORD kGround = 0x202020;
const CRect kPlace(10, 10, 330, 270);
// The column: 70 px wide from x 240, 200 px high from y 50 (control coordinates).
const int kColumnX = kPlace.left + 275;
const int kColumnTop = kPlace.top + 50;
const int kColumnBottom = kPlace.top + 249;
// The legend: rows 30 px high at these tops, hit from x 0 to 190.
constexpr int kRowTops[] = {80, 120, 160, 200};
constexpr DWORD kRowColours[] = {0x98E5E3, 0x30E27C, 0x414642, 0xE78721};
CPoint RowPoint(int row) { return CPoint(kPlace.left + 180, kPlace.top + kRowTops[row] + 15); }

class KeyStrokeCtrlTest : public testing::Test {
protected:
  KeyStrokeCtrlTest() : host(360, 290) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    column = host.Add<KeyStrokeCtrl>(L"KeyStrokeCtrl", kId, kPlace);
    ASSERT_NE(nullptr, column);
  }
  void Paint() {
    column->SetUpdate(0, 0);
    host.Compose(surface);
  }
  int ClickAt(int y) {
    Paint();
    host.Click(CPoint(kColumnX, y));
    return column->GetCurKeyActuation();
  }
  std::pair<int, int> Deadzones() const {
    std::pair<int, int> d(-1, -1);
    column->GetDeadzoneValue(d.first, d.second);
    return d;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
  testsupport::DibSurface surface{360, 290};
  KeyStrokeCtrl* column = nullptr;
};

TEST_F(KeyStrokeCtrlTest, PressesOnTheColumnWithinTheDeadZones) {
  struct Case {
    const char* name;
    std::function<void(KeyStrokeCtrl&)> set;
    int y;
    int actuation;
    std::pair<int, int> deadzones;
  };
  const Case cases[] = {
      {"upper bound 200, bottom rapid trigger on: the lowest row", [](KeyStrokeCtrl& c) { c.SetKeyStrokeInfo(0, 200); },
       kColumnBottom, 190, {0, 0}},
      {"the top row is never shallower than 5", [](KeyStrokeCtrl&) {}, kColumnTop, 5, {0, 0}},
      {"the middle", [](KeyStrokeCtrl&) {}, kColumnTop + 100, 101, {0, 0}},
      {"bottom rapid trigger off: the lowest row", [](KeyStrokeCtrl& c) { c.SetBottomrapidtriggerMode(0); },
       kColumnBottom, 200, {0, 0}},
      {"switch type 2 (332), limit 166, dead zones 2 and 5: upper bound 161",
       [](KeyStrokeCtrl& c) {
         c.SetKeyStrokeInfo(2, 166);
         c.SetDeadzoneValue(2, 5);
       },
       kColumnBottom, 161, {2, 5}},
      {"a top dead zone deeper than 5 holds the top", [](KeyStrokeCtrl& c) { c.SetDeadzoneValue(8, 5); }, kColumnTop,
       8, {8, 5}},
      {"dead zones hidden: upper bound 166, top dead zone 0",
       [](KeyStrokeCtrl& c) {
         c.ShowDeadZone(0);
         c.SetDeadzoneValue(2, 5);
       },
       kColumnBottom, 166, {0, 0}},
  };
  for (const Case& c : cases) {
    c.set(*column);
    EXPECT_EQ(c.actuation, ClickAt(c.y)) << c.name;
    EXPECT_EQ(c.deadzones, Deadzones()) << c.name;
  }
}

TEST_F(KeyStrokeCtrlTest, SetDeadzonesBringsTheActuationInside) {
  column->SetKeyStrokeInfo(2, 166);
  column->SetCurKeyActuation(165);
  column->SetDeadzoneValue(2, 5);
  EXPECT_EQ(161, column->GetCurKeyActuation());
  column->SetCurKeyActuation(1);
  column->SetDeadzoneValue(4, 5);
  EXPECT_EQ(4, column->GetCurKeyActuation());
  column->SetBottomrapidtriggerMode(1);
  EXPECT_EQ(4, column->GetCurKeyActuation());
  column->SetCurKeyActuation(160);
  host.ClearJournal();
  column->SetBottomrapidtriggerMode(1);
  EXPECT_EQ(151, column->GetCurKeyActuation()) << "10 steps above the upper bound";
  EXPECT_EQ(1u, host.Repaints(kId).size());

  // A switch type the table lacks keeps the upper bound and still takes the top dead zone.
  column->SetKeyStrokeInfo(9, 200);
  column->SetBottomrapidtriggerMode(0);
  column->SetDeadzoneValue(12, 30);
  EXPECT_EQ((std::pair<int, int>(12, 0)), Deadzones());
  EXPECT_EQ(200, ClickAt(kColumnBottom));
  EXPECT_EQ(12, ClickAt(kColumnTop));
}

TEST_F(KeyStrokeCtrlTest, LegendRowsAndReleases) {
  column->SetKeyStrokeInfo(0, 200);
  Paint();
  host.Click(RowPoint(1));
  host.Click(RowPoint(3));
  host.Click(CPoint(kPlace.left + 100, kPlace.top + 115));  // between rows 0 and 1: nothing
  EXPECT_EQ((std::vector<std::string>{NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 1), NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 1),
                                      NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 3), NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 3)}),
            host.Notifications());

  // A press on a row released outside the legend, a press on the column released outside
  // the control: each release is the picture's click.
  host.ClearJournal();
  host.MoveTo(RowPoint(0));
  host.Press(RowPoint(0));
  host.MoveTo(CPoint(kColumnX, kColumnTop + 20));
  host.Release(CPoint(kColumnX, kColumnTop + 20));
  host.MoveTo(CPoint(kColumnX, kColumnTop + 20));
  host.Press(CPoint(kColumnX, kColumnTop + 20));
  host.MoveTo(CPoint(kColumnX, kColumnTop + 60));
  host.MoveTo(CPoint(345, 280));
  host.Release(CPoint(345, 280));
  EXPECT_EQ((std::vector<std::string>{NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 0), NotifyLine(kId, NOTIFY_CLICKED, 0, 0),
                                      NotifyLine(kId, NOTIFY_CHANGING, 0, 61), NotifyLine(kId, NOTIFY_CLICKED, 0, 0)}),
            host.Notifications());
}

TEST_F(KeyStrokeCtrlTest, ColumnLegendAndTheSwitchMarker) {
  column->SetKeyStrokeInfo(0, 200);
  column->SetCurKeyActuation(100);  // filled from 101 px above the bottom
  Paint();
  EXPECT_EQ(0xC6E1E5u, surface.Pixel(kColumnX, kColumnTop + 60));
  EXPECT_EQ(0x169FC1u, surface.Pixel(kColumnX, kColumnTop + 150));
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(kRowColours[row], surface.Pixel(kPlace.left + 34, kPlace.top + kRowTops[row] + 4)) << "plate " << row;
  }
  struct Marker {
    int type;
    int row;
  };
  for (const Marker m : {Marker{0, 3}, Marker{1, 2}, Marker{2, 1}, Marker{3, 0}, Marker{9, 0}}) {
    column->SetKeyStrokeInfo(m.type, 200);
    Paint();
    for (int row = 0; row < 4; ++row) {
      const DWORD expected = row == m.row ? kRowColours[row] : kGround;
      EXPECT_EQ(expected, surface.Pixel(kPlace.left + 10, kPlace.top + kRowTops[row] + 15))
          << "type " << m.type << ", left of row " << row;
      EXPECT_EQ(expected, surface.Pixel(kPlace.left + 181, kPlace.top + kRowTops[row] + 15))
          << "type " << m.type << ", right of row " << row;
    }
  }
}

// The tachyon graphic: 10 periods for speed 2, 20 for any other, counted as the frame-coloured
// grid lines over the stretched picture (the wave covers them between its crests and troughs).
TEST(TachyonCtrlTest, SpeedTwoDrawsTenPeriodsAnyOtherTwenty) {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host(260, 140);
  host.GetPaintManager()->SetBackColor(kGround, kGround);
  const CRect place(10, 10, 215, 110);  // 205 wide: steps of 20 or 10 px
  auto* tachyon = host.Add<TachyonCtrl>(L"TachyonCtrl", 46, place);
  ASSERT_NE(nullptr, tachyon);
  ASSERT_TRUE(testsupport::WriteStrip(L"kc6test_tachyon.png", 8, 8, {0xFF808080}));
  tachyon->SetImage(L"kc6test_tachyon.png", 1);
  testsupport::DibSurface surface(260, 140);
  const auto gridLines = [&] {
    tachyon->SetUpdate(0, 0);
    host.Compose(surface);
    int lines = 0;
    for (int x = place.left; x < place.right; ++x) lines += surface.Pixel(x, place.top + 15) == 0x050505;
    return lines - 2;  // the frame's sides
  };
  EXPECT_EQ(10, gridLines()) << "at first";
  for (int speed : {0, 1, 3, -2}) {
    tachyon->SetTachyonSpeed(speed);
    EXPECT_EQ(20, gridLines()) << "speed " << speed;
  }
  tachyon->SetTachyonSpeed(2);
  EXPECT_EQ(10, gridLines());
  EXPECT_EQ(0x808080u, surface.Pixel(place.left + 10, place.top + 15)) << "the picture, stretched";
  const DWORD wave = Manager::m_select_color & 0xFFFFFF;
  EXPECT_EQ(wave, surface.Pixel(place.left + 10, place.top + 70)) << "period 0 runs along the bottom";
  EXPECT_EQ(wave, surface.Pixel(place.left + 30, place.top + 30)) << "period 1 along the top";
  EXPECT_EQ(wave, surface.Pixel(place.left + 20, place.top + 50)) << "joined by a rising edge";
}

}  // namespace
