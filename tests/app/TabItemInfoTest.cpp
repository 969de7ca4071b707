// The program's side of the tab records: the main window reads a tab's id and rewrites its
// caption in the record the library hands out, so the record's layout and the caption's
// memory must agree across the library's boundary.
#include <gtest/gtest.h>

#include <cstddef>

#include "BitmapProbe.h"
#include "PaintProbe.h"
#include "ui/controls/MTabCtrl.h"

using TESK::MTabCtrl;
using TESK::TabItemInfo;

namespace {

static_assert(offsetof(TabItemInfo, visible) == 0, "visible comes first");
static_assert(offsetof(TabItemInfo, visible) < offsetof(TabItemInfo, image) &&
                  offsetof(TabItemInfo, image) < offsetof(TabItemInfo, frameWidth) &&
                  offsetof(TabItemInfo, frameWidth) < offsetof(TabItemInfo, imageHeight) &&
                  offsetof(TabItemInfo, imageHeight) < offsetof(TabItemInfo, frameCount) &&
                  offsetof(TabItemInfo, frameCount) < offsetof(TabItemInfo, itemRect) &&
                  offsetof(TabItemInfo, itemRect) < offsetof(TabItemInfo, text) &&
                  offsetof(TabItemInfo, text) < offsetof(TabItemInfo, id) &&
                  offsetof(TabItemInfo, id) < offsetof(TabItemInfo, buttonRect) &&
                  offsetof(TabItemInfo, buttonRect) < offsetof(TabItemInfo, state) &&
                  offsetof(TabItemInfo, state) < offsetof(TabItemInfo, tooltip) &&
                  offsetof(TabItemInfo, tooltip) < offsetof(TabItemInfo, page),
              "the record's fields keep their order");
static_assert(sizeof(TabItemInfo::visible) == 4 && sizeof(TabItemInfo::frameWidth) == 4 &&
                  sizeof(TabItemInfo::imageHeight) == 4 && sizeof(TabItemInfo::frameCount) == 4 &&
                  sizeof(TabItemInfo::itemRect) == 16 && sizeof(TabItemInfo::id) == 4 &&
                  sizeof(TabItemInfo::buttonRect) == 16 && sizeof(TabItemInfo::state) == 4 &&
                  sizeof(TabItemInfo::tooltip) == 4 && sizeof(TabItemInfo::page) == sizeof(void*),
              "the record's fields keep their sizes");

TEST(TabItemInfoTest, TheProgramRenamesATabThroughItsRecord) {
  testsupport::GdiplusSession gdiplus;
  testsupport::PaintHost host;
  ASSERT_NE(nullptr, host.Create(nullptr, L"main", WS_POPUP, 0, CRect(0, 0, 400, 100)));
  // Made by class name, as the program makes every control.
  auto* tabs = static_cast<MTabCtrl*>(
      host.engine.CreateControl(&host, L"MTabCtrl", 30, CRect(0, 0, 400, 100), nullptr, 1, 1));
  ASSERT_NE(nullptr, tabs);
  tabs->SetTabCtrlHeight(30);
  tabs->SetFont(L"DejaVu Sans", 16, Gdiplus::FontStyleBold);
  tabs->InsertItem(1001, L"", nullptr, nullptr, -1, 150);
  tabs->InsertItem(1002, L"", nullptr, nullptr, -1, 150);

  testsupport::DibSurface surface(400, 100, 0);
  HDC dc = surface.dc();
  // Caption pixels of the second tab: anything not black in its caption box.
  auto ink = [&] { return 110 * 30 - surface.Count(190, 0, 300, 30, 0); };
  tabs->Draw(dc, CRect(0, 0, 400, 100));
  ASSERT_EQ(0, ink());

  TabItemInfo* info = tabs->GetItemInfo(1);
  ASSERT_NE(nullptr, info);
  EXPECT_EQ(1002u, info->id);
  info->text = L"WWWW";
  tabs->Draw(dc, CRect(0, 0, 400, 100));
  EXPECT_EQ(0, ink()) << "the cached strip still shows the old caption";

  tabs->SetUpdate(0, 0);
  tabs->Draw(dc, CRect(0, 0, 400, 100));
  EXPECT_GT(ink(), 20) << "the rebuilt strip shows the new one";
  EXPECT_STREQ(L"WWWW", tabs->GetItemInfo(1)->text);
  host.DestroyWindow();
}

}  // namespace
