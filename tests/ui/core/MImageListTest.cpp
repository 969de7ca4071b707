// Image lists: where insertions land, which frame a state draws, and entries whose file
// did not load.
#include "ui/core/MImageList.h"

#include <gtest/gtest.h>

#include <string>

#include "BitmapProbe.h"
#include "ui/core/Manager.h"

using TESK::MImageList;

namespace {

constexpr DWORD kFrameColours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808000};

class MImageListTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::WriteStrip(L"imagelisttest_strip.png", 30, 10,
                                        {kFrameColours[0], kFrameColours[1], kFrameColours[2], kFrameColours[3]}));
    strip = TESK::GetSkinFolder() + L"imagelisttest_strip.png";
    missing = TESK::GetSkinFolder() + L"imagelisttest_missing.png";
  }

  // The colour a drawing of entry index with state leaves at the centre of a 20 x 20 target.
  DWORD Drawn(MImageList& list, int index, int state) {
    testsupport::DibSurface surface(20, 20, 0x000000);
    {
      Gdiplus::Graphics g(surface.dc());
      list.DrawItemIcon(g, CRect(0, 0, 20, 20), index, state);
    }
    return surface.Pixel(10, 10);
  }

  testsupport::GdiplusSession gdiplus;
  CString strip, missing;
};

TEST_F(MImageListTest, InsertionsLandBeforeTheGivenEntryOrAreRefused) {
  MImageList list;
  EXPECT_EQ(-1, list.InsertImage(0, strip, 1, 4)) << "an empty list takes only appends";
  EXPECT_EQ(0, list.GetImageCount());
  EXPECT_EQ(0, list.AddImage(strip, 10, 4));
  EXPECT_EQ(1, list.AddImage(strip, 20, 4));
  EXPECT_EQ(2, list.InsertImage(-1, strip, 30, 4));

  const struct {
    int index;
    const wchar_t* path;
    int expected;
  } cases[] = {{3, strip, -1}, {-2, strip, -1}, {1, nullptr, -1}, {1, strip, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, list.InsertImage(c.index, c.path, 99, 4)) << "index " << c.index;
  }
  ASSERT_EQ(4, list.GetImageCount());
  const int ids[] = {10, 99, 20, 30};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ids[i], list.GetItemImageData(i)->id) << "entry " << i;
  EXPECT_EQ(nullptr, list.GetItemImageData(4));
  EXPECT_EQ(nullptr, list.GetItemImageData(-1));
  EXPECT_EQ(list.GetItemImageData(2), list.GetImageDataByID(20));
  EXPECT_EQ(nullptr, list.GetImageDataByID(7));
  EXPECT_TRUE(list.GetImagePath(9).IsEmpty());
  EXPECT_TRUE(list.GetImagePathByID(7).IsEmpty());
  EXPECT_EQ(1, list.DelAllImages());
  EXPECT_EQ(0, list.GetImageCount());
}

TEST_F(MImageListTest, AStateDrawsItsFrameLimitedToTheLastOne) {
  MImageList list;
  ASSERT_EQ(0, list.AddImage(strip, 1, 4));
  const TESK::_M_IAMGELIST* entry = list.GetItemImageData(0);
  EXPECT_EQ(30, entry->frameWidth);
  EXPECT_EQ(10, entry->height);

  const struct {
    int state;
    DWORD rgb;
  } cases[] = {{0, 0xFF0000}, {2, 0x0000FF}, {3, 0x808000}, {7, 0x808000}, {-1, 0xFF0000}};
  for (const auto& c : cases) EXPECT_EQ(c.rgb, Drawn(list, 0, c.state)) << "state " << c.state;
  EXPECT_EQ(0u, Drawn(list, 1, 0)) << "no entry, nothing drawn";
  testsupport::DibSurface surface(20, 20, 0x000000);
  {
    Gdiplus::Graphics g(surface.dc());
    list.DrawItemIcon(g, CRect(0, 0, 20, 20), 0);
  }
  EXPECT_EQ(0xFF0000u, surface.Pixel(10, 10)) << "without a state, frame 0";
}

TEST_F(MImageListTest, AMissingFileCountsKeepsItsPathAndIdAndDrawsNothing) {
  MImageList list;
  ASSERT_EQ(0, list.AddImage(missing, 5, 4));
  EXPECT_EQ(1, list.GetImageCount());
  const TESK::_M_IAMGELIST* entry = list.GetImageDataByID(5);
  ASSERT_NE(nullptr, entry);
  EXPECT_EQ(nullptr, entry->image);
  EXPECT_EQ(0, entry->frameWidth);
  EXPECT_EQ(0, entry->height);
  EXPECT_EQ(missing, list.GetImagePathByID(5));
  EXPECT_EQ(missing, list.GetImagePath(0));
  EXPECT_EQ(0u, Drawn(list, 0, 2));
}

TEST_F(MImageListTest, FramesBelowOneCountAsOne) {
  MImageList list;
  ASSERT_EQ(0, list.AddImage(strip, 1, 0));
  ASSERT_EQ(1, list.AddImage(strip, 2, -3));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(1, list.GetItemImageData(i)->frames);
    EXPECT_EQ(120, list.GetItemImageData(i)->frameWidth);
    EXPECT_NE(0u, Drawn(list, i, 3)) << "the whole strip is the one frame";
  }
  EXPECT_EQ(1, list.SetDrawImgSize(16, 12));
  EXPECT_EQ(16, list.GetIconSize().cx);
  EXPECT_EQ(12, list.GetIconSize().cy);
}

}  // namespace
