// The Fn-layer tabs: selection by id, clicks through the test host, and the marks of the
// selected and the hovered tab in both layouts.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/keyboard/KeyLayerCtrl.h"

namespace {

using testsupport::ControlHost;
using testsupport::HostEvent;
using TESK::KeyLayerCtrl;

constexpr UINT kId = 90;
constexpr DWORD kBackRgb = 0x102030;
constexpr DWORD kBlue = 0x468EF7;
const CPoint kOrigin(100, 50);

class KeyLayerTest : public testing::Test {
protected:
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(RGB(0x10, 0x20, 0x30), RGB(0x10, 0x20, 0x30));
    tabs = host.Add<KeyLayerCtrl>(L"KeyLayerCtrl", kId, CRect(kOrigin.x, kOrigin.y, kOrigin.x + 400, kOrigin.y + 120));
    ASSERT_NE(nullptr, tabs);
  }
  void AddThree() {
    for (int i = 0; i < 3; ++i) tabs->AddKeyLayer(L"Fn", 10 + i);
  }
  void Paint() {
    tabs->SetUpdate(0, 0);
    host.Compose(surface);
  }
  // Clicks (notifications of the tabs only, as (code, wParam, lParam)).
  std::vector<std::vector<long long>> Clicks() {
    std::vector<std::vector<long long>> clicks;
    for (const HostEvent& e : host.Events()) {
      if (e.kind == HostEvent::Notification) clicks.push_back({e.code, static_cast<long long>(e.wParam), e.lParam});
    }
    host.ClearJournal();
    return clicks;
  }
  CPoint HorizontalTab(int i) const { return CPoint(kOrigin.x + 120 * i + 60, kOrigin.y + 10); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host{700, 300};
  testsupport::DibSurface surface{700, 300};
  KeyLayerCtrl* tabs = nullptr;
};

TEST_F(KeyLayerTest, SelectionByIdAndAfterClearing) {
  EXPECT_EQ(-1, tabs->GetSelectKeyLayerID()) << "no tabs";
  EXPECT_EQ(0, tabs->AddKeyLayer(L"Layer 1", 10));
  EXPECT_EQ(10, tabs->GetSelectKeyLayerID()) << "the first tab counts as selected";
  EXPECT_EQ(1, tabs->AddKeyLayer(L"Layer 2", 11));
  tabs->SetSelectKeyLayer(11);
  EXPECT_EQ(11, tabs->GetSelectKeyLayerID());
  host.ClearJournal();
  tabs->SetSelectKeyLayer(99);
  EXPECT_EQ(11, tabs->GetSelectKeyLayerID()) << "an unknown id keeps the selection";
  EXPECT_EQ(1u, host.Repaints(kId).size()) << "but repaints";
  tabs->SetItemText(99, L"nowhere");
  tabs->SetItemText(-1, L"nowhere");
  tabs->ClearAllItems();
  EXPECT_EQ(-1, tabs->GetSelectKeyLayerID());
  tabs->AddKeyLayer(L"New", 20);
  tabs->AddKeyLayer(L"Newer", 21);
  EXPECT_EQ(20, tabs->GetSelectKeyLayerID()) << "the first new tab is selected";
}

TEST_F(KeyLayerTest, ClicksSelectTheHoveredTab) {
  tabs->SetKeyLayerCtrlType(TESK::KEY_LAYER_HORIZONTAL);
  AddThree();
  Paint();  // the tabs get their rectangles
  host.Click(HorizontalTab(2));
  EXPECT_EQ((std::vector<std::vector<long long>>{{2, 2, 12}}), Clicks());
  EXPECT_EQ(12, tabs->GetSelectKeyLayerID());

  // The selected tab again: the notification again, nothing to repaint.
  host.MoveTo(HorizontalTab(2));
  EXPECT_EQ(0, tabs->OnControlLButtonUp(0, HorizontalTab(2)));
  EXPECT_EQ((std::vector<std::vector<long long>>{{2, 2, 12}}), Clicks());

  // Pressed on tab 0, released after leaving the control: nothing is selected.
  host.MoveTo(HorizontalTab(0));
  host.Press(HorizontalTab(0));
  host.MoveTo(CPoint(kOrigin.x + 600, kOrigin.y + 200));
  host.Release(CPoint(kOrigin.x + 600, kOrigin.y + 200));
  EXPECT_TRUE(Clicks().empty());
  EXPECT_EQ(12, tabs->GetSelectKeyLayerID());

  tabs->SetEnabled(0);
  host.Click(HorizontalTab(1));
  EXPECT_TRUE(Clicks().empty());
  EXPECT_EQ(12, tabs->GetSelectKeyLayerID());
}

TEST_F(KeyLayerTest, SelectedAndHoveredTabsAreMarked) {
  AddThree();
  tabs->SetKeyLayerCtrlType(TESK::KEY_LAYER_HORIZONTAL);
  Paint();
  host.MoveTo(HorizontalTab(2));  // hover the third tab; the first is selected
  Paint();
  for (int i = 0; i < 3; ++i) {
    const bool marked = i != 1;
    for (int y : {26, 27}) {
      EXPECT_EQ(marked ? kBlue : kBackRgb, surface.Pixel(kOrigin.x + 120 * i + 60, kOrigin.y + y)) << "tab " << i;
    }
    EXPECT_EQ(kBackRgb, surface.Pixel(kOrigin.x + 120 * i + 25, kOrigin.y + 26)) << "the underline starts 30 px in";
  }

  tabs->SetKeyLayerCtrlType(TESK::KEY_LAYER_VERTICAL);
  tabs->SetTextColor(Gdiplus::Color(0xFF00FF00));
  Paint();  // hit tests use the rectangles of the last paint
  host.MoveTo(CPoint(kOrigin.x + 200, kOrigin.y + 28 * 2 + 14));
  Paint();
  for (int i = 0; i < 3; ++i) {
    const bool marked = i != 1;
    EXPECT_EQ(marked ? 0x00FF00u : kBackRgb, surface.Pixel(kOrigin.x + 2, kOrigin.y + 28 * i + 14)) << "tab " << i;
    EXPECT_EQ(kBackRgb, surface.Pixel(kOrigin.x + 2, kOrigin.y + 28 * i + 3)) << "the bar starts 5 px down";
  }

  tabs->SetKeyLayerCtrlType(static_cast<TESK::KEY_LAYER_CTRL_TYPE>(7));
  Paint();
  EXPECT_EQ(0, 400 * 120 - surface.Count(kOrigin.x, kOrigin.y, kOrigin.x + 400, kOrigin.y + 120, kBackRgb))
      << "an unknown layout draws nothing";
}

}  // namespace
