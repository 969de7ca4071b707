// The library's own images: the scroll-bar strips that every window engine hands its bars.
#include "ui/core/MRender.h"
#include "ui/core/TeskModule.h"

#include <gtest/gtest.h>

#include <memory>

#include "BitmapProbe.h"

namespace {

// The horizontal bar cuts resource 101 into four rows and draws its thumb as two 6-pixel ends
// around a stretched middle; the vertical bar cuts resource 102 into three columns.
TEST(LibraryResourceTest, ScrollBarStripsLoadWithTheLayoutTheBarsCut) {
  testsupport::GdiplusSession gdiplus;
  std::unique_ptr<Gdiplus::Image> horizontal(
      TESK::MRender::LoadImageFromIDResource(101, L"PNG", TESK::GetLibraryModule()));
  ASSERT_TRUE(horizontal);
  ASSERT_EQ(Gdiplus::Ok, horizontal->GetLastStatus());
  EXPECT_EQ(0u, horizontal->GetHeight() % 4);
  EXPECT_GT(horizontal->GetWidth(), 12u);
  std::unique_ptr<Gdiplus::Image> vertical(
      TESK::MRender::LoadImageFromIDResource(102, L"PNG", TESK::GetLibraryModule()));
  ASSERT_TRUE(vertical);
  ASSERT_EQ(Gdiplus::Ok, vertical->GetLastStatus());
  EXPECT_EQ(0u, vertical->GetWidth() % 3);
}

}  // namespace
