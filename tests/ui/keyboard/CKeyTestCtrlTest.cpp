// The advanced-key page's box of held keys: labels placed newest first, fading on ticks (one
// at a time on this thread, and on the window's real multimedia timer), composed to pixels.
#include "ui/keyboard/CKeyTestCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kBoxId = 109;
const CPoint kOrigin(10, 10);
constexpr DWORD kBackground = 0x393B50;
constexpr DWORD kCell = 0xE8E8E8;

class CKeyTestCtrlTest : public testing::Test {
protected:
  CKeyTestCtrlTest() : host(300, 200) {}

  // The box on a page panel, 200 x 100 at kOrigin, registered for the window's ticks.
  CKeyTestCtrl* Box() {
    auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    if (!page) return nullptr;
    auto* box =
        dynamic_cast<CKeyTestCtrl*>(page->CreateControl(L"CKeyTestCtrl", kBoxId, CRect(kOrigin, CSize(200, 100)), L"", 1, 1));
    if (!box) return nullptr;
    box->SetFont(testsupport::InstalledFontFamily(), 12, Gdiplus::FontStyleRegular);
    box->AddMTimer();
    box->SetRunTimer(1);
    return box;
  }
  // A spot of the cell at (x, y) of the box, in the window, below its name.
  static CPoint CellSpot(int x, int y) { return CPoint(kOrigin.x + x + 5, kOrigin.y + y + 31); }
  static std::vector<int> Alphas(CKeyTestCtrl* box) {
    std::vector<int> alphas;
    for (const KEY_LABEL_ITEM& label : box->GetLabels()) alphas.push_back(label.alpha);
    return alphas;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(CKeyTestCtrlTest, LabelsFillRowsOfFourNewestFirstAndTheNinthIsNotDrawn) {
  EXPECT_EQ(nullptr, host.Add(L"CKeyTestCtrl", 4, CRect(0, 0, 100, 100))) << "only a panel makes it";
  CKeyTestCtrl* box = Box();
  ASSERT_NE(nullptr, box);
  for (int i = 0; i < 9; ++i) box->AddKey(std::to_wstring(i + 1).c_str(), 30 + i);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  const std::vector<KEY_LABEL_ITEM> labels = box->GetLabels();
  ASSERT_EQ(9u, labels.size());
  const CPoint cells[] = {{10, 10}, {56, 10}, {102, 10}, {148, 10}, {10, 56}, {56, 56}, {102, 56}, {148, 56}};
  for (int k = 0; k < 8; ++k) {
    const KEY_LABEL_ITEM& label = labels[8 - k];  // the newest first
    EXPECT_EQ(CRect(cells[k], CSize(36, 36)), label.rect) << "label " << 8 - k;
    EXPECT_EQ(kCell, s.Pixel(CellSpot(cells[k].x, cells[k].y).x, CellSpot(cells[k].x, cells[k].y).y)) << k;
  }
  EXPECT_TRUE(labels[0].rect.IsRectEmpty()) << "the oldest has no room";
  EXPECT_EQ(kBackground, s.Pixel(kOrigin.x + 194 - 2, kOrigin.y + 30)) << "right of the fourth column";
  box->ClearList();
  EXPECT_TRUE(box->GetLabels().empty());
  EXPECT_EQ(kBackground, host.PixelAt(CellSpot(10, 10).x, CellSpot(10, 10).y));
}

TEST_F(CKeyTestCtrlTest, ReleasedLabelsFadeOneAtATimeAndGoOnTheFortyFirstTick) {
  CKeyTestCtrl* box = Box();
  ASSERT_NE(nullptr, box);
  box->RemoveKey(4);  // never added
  box->AddKey(L"A", 4);
  box->AddKey(L"A", 4);
  box->RemoveKey(4);
  EXPECT_EQ((std::vector<int>{251, 255}), Alphas(box)) << "the key pressed first fades";
  box->RemoveKey(4);
  EXPECT_EQ((std::vector<int>{251, 251}), Alphas(box));
  box->RemoveKey(4);
  EXPECT_EQ((std::vector<int>{251, 251}), Alphas(box)) << "fading labels are not released again";

  // The older label is drawn second (at x 56): its cell fades towards the background.
  const CPoint older = CellSpot(56, 10);
  const DWORD atStart = host.PixelAt(older.x, older.y);
  for (int tick = 0; tick < 20; ++tick) host.Tick();
  const DWORD halfway = host.PixelAt(older.x, older.y);
  EXPECT_LT(halfway & 0xFF, atStart & 0xFF) << std::hex << atStart << " " << halfway;
  EXPECT_GT(halfway & 0xFF, kBackground & 0xFF);
  for (int tick = 20; tick < 40; ++tick) host.Tick();
  EXPECT_EQ((std::vector<int>{51, 51}), Alphas(box));
  host.Tick();  // the 41st: the first below 50 goes and the walk ends
  EXPECT_EQ((std::vector<int>{51}), Alphas(box));
  host.Tick();
  EXPECT_TRUE(Alphas(box).empty());
  EXPECT_EQ(kBackground, host.PixelAt(CellSpot(10, 10).x, CellSpot(10, 10).y)) << "the last one is wiped too";
  EXPECT_EQ(kBackground, host.PixelAt(older.x, older.y));

  // Held labels do not fade; a hidden box does not tick.
  box->AddKey(L"B", 5);
  for (int tick = 0; tick < 50; ++tick) host.Tick();
  EXPECT_EQ(std::vector<int>{255}, Alphas(box));
  box->RemoveKey(5);
  box->SetVisible(0);
  EXPECT_EQ(0, box->OnControlTimer());
  EXPECT_EQ(std::vector<int>{251}, Alphas(box));
}

// Keys pass through while the window's 16 ms multimedia timer fades them on its own thread and
// the window paints: no crash, no deadlock, and the list ends empty.
TEST_F(CKeyTestCtrlTest, TwoThousandKeysPassWhileTheRealTimerRuns) {
  CKeyTestCtrl* box = Box();
  ASSERT_NE(nullptr, box);
  host.SetMTimer(16);
  DibSurface s(host.width(), host.height());
  for (int i = 0; i < 2000; ++i) {
    box->AddKey(L"K", i);
    if (i % 3 == 0) box->RemoveKey(i);
    if (i % 2 == 1) box->RemoveKey(i - 1);
    if (i % 50 == 0) {
      host.Compose(s);
      testsupport::PumpFor(2);
    }
  }
  for (int i = 0; i < 2000; ++i) box->RemoveKey(i);
  const size_t before = box->GetLabels().size();
  ASSERT_TRUE(testsupport::PumpUntil([&] { return box->GetLabels().size() + 3 <= before; }, 3000))
      << "the ticks remove faded labels one at a time";
  box->ClearList();  // while the ticks run
  EXPECT_TRUE(box->GetLabels().empty());
  testsupport::PumpFor(100);
  host.Compose(s);
  EXPECT_TRUE(box->GetLabels().empty());
  EXPECT_EQ(kBackground, s.Pixel(CellSpot(10, 10).x, CellSpot(10, 10).y));
}

}  // namespace
