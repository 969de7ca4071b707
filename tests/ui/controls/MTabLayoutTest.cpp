#include "ui/controls/MTabLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "BitmapProbe.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ui/controls/MTabCtrl.h"

using namespace TESK;
using testsupport::ProbeControl;

namespace {

class MTabLayoutTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_NE(nullptr, host.Create(nullptr, L"pages", WS_POPUP, 0, CRect(0, 0, 400, 200))); }
  void TearDown() override { host.DestroyWindow(); }

  // A press and release at pt as the window routes them; whether a control took the press.
  bool Click(CPoint pt) {
    host.engine.ArmTracking();
    host.engine.OnMouseMove(0, pt);
    host.engine.OnLButtonDown(MK_LBUTTON, pt);
    const bool taken = host.engine.IsCaptured() != 0;
    host.engine.OnLButtonUp(0, pt);
    return taken;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::PaintHost host;
};

// The program's page layout: a tab strip and, made after it, a page over its page area.
TEST_F(MTabLayoutTest, AnEmptySpotOfAPageLetsTheClickThroughAndItsChildTakesIt) {
  auto* tabs = static_cast<MTabCtrl*>(
      host.engine.CreateControl(&host, L"MTabCtrl", 30, CRect(0, 0, 400, 200), nullptr, 1, 1));
  auto* page = host.engine.CreateControl(&host, L"MTabLayout", 31, CRect(0, 30, 400, 200), nullptr, 1, 1);
  ASSERT_NE(nullptr, tabs);
  ASSERT_NE(nullptr, page);
  auto* child = new ProbeControl(page, 40, CRect(10, 40, 110, 80));
  page->GetControls().push_back(child);
  tabs->SetTabCtrlHeight(24);
  tabs->InsertItem(1, L"one", nullptr, page, -1, 100);
  tabs->SetSelectItem(0);

  EXPECT_FALSE(Click(CPoint(300, 150))) << "an empty spot of the page";
  EXPECT_TRUE(child->Points("ldown").empty());
  EXPECT_TRUE(Click(CPoint(50, 60))) << "the page's child";
  EXPECT_EQ(1u, child->Points("ldown").size());
  EXPECT_FALSE(Click(CPoint(300, 10))) << "the empty end of the strip";
}

TEST_F(MTabLayoutTest, TheTabStripMakesOnlyTabLayoutsAsItsOwnPages) {
  auto* tabs = static_cast<MTabCtrl*>(
      host.engine.CreateControl(&host, L"MTabCtrl", 30, CRect(0, 0, 400, 200), nullptr, 1, 1));
  ASSERT_NE(nullptr, tabs);
  for (const wchar_t* name : {L"mtablayout", L"MTabLayout ", L"MPanel", L"", static_cast<const wchar_t*>(nullptr)}) {
    EXPECT_EQ(nullptr, tabs->CreatePanel(name, 50, CRect(0, 30, 400, 200)));
  }
  MControl* page = tabs->CreatePanel(L"MTabLayout", 50, CRect(0, 30, 400, 200));
  ASSERT_NE(nullptr, page);
  EXPECT_EQ(&host.engine, page->GetManager());
  EXPECT_EQ(1, page->IsRunTimer()) << "a page takes its strip's ticks";
  std::vector<MControl*>& children = tabs->GetControls();
  EXPECT_EQ(1, std::count(children.begin(), children.end(), page));

  // The page goes with its tab: the strip created it.
  tabs->InsertItem(1, L"one", nullptr, page, -1, 100);
  tabs->DeleteItem(0);
  EXPECT_EQ(0, std::count(children.begin(), children.end(), page));
}

TEST_F(MTabLayoutTest, APagesImageStaysWithTheWindowsCache) {
  ASSERT_TRUE(testsupport::WriteSkin(L"tablayout_back.png", 30, 20, 0xFF102030));
  auto* page = static_cast<MTabLayout*>(
      host.engine.CreateControl(&host, L"MTabLayout", 31, CRect(0, 30, 400, 200), nullptr, 1, 1));
  ASSERT_NE(nullptr, page);
  ASSERT_EQ(1, page->SetImage(L"tablayout_back.png", 1));
  host.engine.RemoveControl(page);
  ImgResInfo* cached = host.engine.AddImgResInfo(L"tablayout_back.png", 1);
  ASSERT_NE(nullptr, cached);
  EXPECT_EQ(30u, cached->image->GetWidth()) << "the cache's image outlives the page";
}

}  // namespace
