// The performance page's switch picker, made through a page panel: its two buttons by real
// clicks, releases outside the hit area, the buttons' plates, and setters that change nothing.
#include "ui/keyboard/KeySwitchCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::NotifyLine;

namespace {

constexpr UINT kId = 321;
constexpr DWORD kGround = 0x202020;
const CRect kPlace(30, 20, 680, 90);
// Window points: the first button spans x 50 to 220, the second 290 to 460, both 30 px high.
const CPoint kFirst(120, 35);
const CPoint kSecond(400, 35);

class KeySwitchCtrlTest : public testing::Test {
protected:
  KeySwitchCtrlTest() : host(720, 120) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    ASSERT_NE(nullptr, page);
    picker = dynamic_cast<KeySwitchCtrl*>(page->CreateControl(L"KeySwitchCtrl", kId, kPlace, L"", 1, 1));
    ASSERT_NE(nullptr, picker);
    picker->SetSwitchName(L"A", L"B", L"C", L"D");
    Paint();  // the hit area and the buttons are laid out by a paint
  }
  void Paint() {
    picker->SetUpdate(0, 0);
    host.Compose(surface);
  }
  void Drag(CPoint from, CPoint to) {
    host.MoveTo(from);
    host.Press(from);
    host.MoveTo(to);
    host.Release(to);
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
  testsupport::DibSurface surface{720, 120};
  KeySwitchCtrl* picker = nullptr;
};

TEST_F(KeySwitchCtrlTest, OnlyAPagePanelMakesIt) { EXPECT_EQ(nullptr, host.Add(L"KeySwitchCtrl", 4, kPlace)); }

TEST_F(KeySwitchCtrlTest, ButtonsReportOnPressAndOnRelease) {
  host.Click(kFirst);
  host.Click(kSecond);
  host.Click(CPoint(250, 35));  // between the buttons: nothing
  EXPECT_EQ((std::vector<std::string>{NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 0), NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 0),
                                      NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 1), NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 1)}),
            host.Notifications());

  // Released below the hit area (still in the control) and outside the control.
  host.ClearJournal();
  Drag(kFirst, CPoint(120, 80));
  Drag(kSecond, CPoint(700, 110));
  EXPECT_EQ((std::vector<std::string>{NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 0), NotifyLine(kId, NOTIFY_CLICKED, 0, 0),
                                      NotifyLine(kId, NOTIFY_PARTCLICKED, 0, 1), NotifyLine(kId, NOTIFY_CLICKED, 0, 0)}),
            host.Notifications());

  host.ClearJournal();
  picker->SetEnabled(0);
  host.Click(kFirst);
  Drag(kFirst, CPoint(120, 80));
  EXPECT_TRUE(host.Notifications().empty()) << "a disabled picker ignores the mouse";
}

TEST_F(KeySwitchCtrlTest, PlatesAndSettersThatChangeNothing) {
  EXPECT_EQ(0x98E5E3u, surface.Pixel(60, 25));
  EXPECT_EQ(0x30E27Cu, surface.Pixel(300, 25));
  EXPECT_EQ(kGround, surface.Pixel(250, 25));
  EXPECT_EQ(kGround, surface.Pixel(500, 25)) << "the third and fourth names have no button";

  // A picker of the host's own, so that its repaint requests reach the journal.
  auto* own = new KeySwitchCtrl(&host, 322, CRect(30, 95, 680, 120), 1, 1);
  host.Adopt(own);
  host.ClearJournal();
  own->SetImage(L"switchtype1.gif", L"icon\\key_switch_fore.png");
  own->SetThumbImage(L"kc6test_none.png");
  own->SetSwitchName(L"E", L"F", L"G", L"H");
  own->SetCurDevType(102);
  EXPECT_TRUE(host.Journal().empty()) << "no repaint";
  for (int type : {2, 5, 9, -1}) {
    own->SetKeyStrokeInfo(type, 0);
    own->SetUpdate(0, 0);
    host.Compose(surface);
    EXPECT_EQ(0x98E5E3u, surface.Pixel(60, 100)) << type;
    EXPECT_EQ(0x30E27Cu, surface.Pixel(300, 100)) << type;
  }
  EXPECT_EQ((std::vector<int>{1, 1, 1, 1}), host.Repaints(322));
}

}  // namespace
