// The keyboard's rows and columns mapped onto the music picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "app/pages/MusicLighting.h"

namespace {

std::vector<int> Head(const int* values, int count) { return std::vector<int>(values, values + count); }

TEST(MusicGridTest, RowsAndColumnsSampleEvenlySpacedPixels) {
  struct Case {
    int rows, cols;
    std::vector<int> y;
    int columnStep;
  };
  const Case cases[] = {
      {6, 16, {7, 17, 27, 37, 47, 57}, 15},
      {5, 15, {8, 20, 32, 44, 56}, 17},
      {1, 1, {33}, 255},
      {8, 32, {5, 12, 19, 26, 33, 40, 47, 54}, 7},
  };
  for (const Case& c : cases) {
    int columns[kMusicGridColumns], rows[kMusicGridRows];
    std::fill(std::begin(columns), std::end(columns), -1);
    std::fill(std::begin(rows), std::end(rows), -1);
    ASSERT_TRUE(BuildMusicGrid(c.rows, c.cols, columns, rows)) << c.rows << "x" << c.cols;
    EXPECT_EQ(c.y, Head(rows, c.rows)) << c.rows << "x" << c.cols;
    for (int i = c.rows; i < kMusicGridRows; ++i) EXPECT_EQ(0, rows[i]) << "unused rows are 0";
    for (int i = 0; i < kMusicGridColumns; ++i) {
      EXPECT_EQ(i < c.cols ? i * c.columnStep : 0, columns[i]) << c.rows << "x" << c.cols << " column " << i;
    }
  }
}

TEST(MusicGridTest, CountsOfNoneKeepTheTablesAndOversizedLayoutsStayInsideTheGridAndPicture) {
  int columns[kMusicGridColumns], rows[kMusicGridRows];
  ASSERT_TRUE(BuildMusicGrid(6, 16, columns, rows));
  const std::vector<int> keptColumns = Head(columns, kMusicGridColumns), keptRows = Head(rows, kMusicGridRows);
  for (const auto& [r, c] : {std::pair{0, 16}, std::pair{6, 0}, std::pair{-1, -1}}) {
    EXPECT_FALSE(BuildMusicGrid(r, c, columns, rows));
    EXPECT_EQ(keptColumns, Head(columns, kMusicGridColumns));
    EXPECT_EQ(keptRows, Head(rows, kMusicGridRows));
  }
  // A layout larger than the grid fills only the grid's room, every pixel inside 256 x 64.
  for (const auto& [r, c] : {std::pair{12, 40}, std::pair{100, 300}}) {
    ASSERT_TRUE(BuildMusicGrid(r, c, columns, rows));
    for (int x : columns) EXPECT_TRUE(x >= 0 && x < 256) << x;
    for (int y : rows) EXPECT_TRUE(y >= 0 && y < 64) << y;
  }
}

}  // namespace
