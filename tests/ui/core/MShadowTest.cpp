#include "ui/core/MShadow.h"

#include <gtest/gtest.h>

#include <vector>

#include "MessagePump.h"
#include "PaintProbe.h"
#include "ProgramInstance.h"
#include "WindowSearch.h"
#include "ui/core/PaintManager.h"

using TESK::MShadow;

namespace {

// The shadow's settings within reach of the tests.
class ShadowProbe : public MShadow {
public:
  struct Settings {
    int size, sharpness, darkness, x, y;
    DWORD color;
    RECT corners;
    bool operator==(const Settings& o) const {
      return size == o.size && sharpness == o.sharpness && darkness == o.darkness && x == o.x && y == o.y &&
             color == o.color && EqualRect(&corners, &o.corners);
    }
  };
  Settings Get() const { return {m_size, m_sharpness, m_darkness, m_xOffset, m_yOffset, m_color, m_corners}; }
};

TEST(MShadowTest, OutOfRangeSettingsAreRefusedAndChangeNothing) {
  struct Case {
    const char* name;
    int (*apply)(MShadow&);
    int result;
  };
  const Case cases[] = {
      {"size 35", [](MShadow& s) { return s.SetSize(35); }, 1},
      {"size -35", [](MShadow& s) { return s.SetSize(-35); }, 1},
      {"size 36", [](MShadow& s) { return s.SetSize(36); }, 0},
      {"size -36", [](MShadow& s) { return s.SetSize(-36); }, 0},
      {"sharpness 35", [](MShadow& s) { return s.SetSharpness(35); }, 1},
      {"sharpness 36", [](MShadow& s) { return s.SetSharpness(36); }, 0},
      {"darkness 255", [](MShadow& s) { return s.SetDarkness(255); }, 1},
      {"darkness 256", [](MShadow& s) { return s.SetDarkness(256); }, 0},
      {"position -35, 35", [](MShadow& s) { return s.SetPosition(-35, 35); }, 1},
      {"position 36, 0", [](MShadow& s) { return s.SetPosition(36, 0); }, 0},
      {"position 0, -36", [](MShadow& s) { return s.SetPosition(0, -36); }, 0},
      {"corner with a negative side", [](MShadow& s) { return s.SetShadowCorner(RECT{1, 2, -1, 4}); }, 0},
      {"any colour", [](MShadow& s) { return s.SetColor(0xFFFFFFFF); }, 1},
  };
  for (const Case& c : cases) {
    ShadowProbe shadow;
    const ShadowProbe::Settings before = shadow.Get();
    EXPECT_EQ(c.result, c.apply(shadow)) << c.name;
    if (c.result == 0) {
      EXPECT_TRUE(before == shadow.Get()) << c.name;
    }
  }
}

TEST(MShadowTest, PreMultiplyScalesEachColourByteAndDropsTheTop) {
  EXPECT_EQ(0x00804020u, MShadow::PreMultiply(0xFFFF8040, 128));
  EXPECT_EQ(0x00FF8040u, MShadow::PreMultiply(0x00FF8040, 255));
  EXPECT_EQ(0u, MShadow::PreMultiply(0x00FFFFFF, 0));
}

// Window shapes for the computed shadow.
std::vector<MShadow::RowSpan> FullRows(int width, int height) {
  return std::vector<MShadow::RowSpan>(height, MShadow::RowSpan{0, width});
}

std::vector<MShadow::RowSpan> RoundedRows(int width, int height) {
  std::vector<MShadow::RowSpan> rows = FullRows(width, height);
  for (int y = 0; y < height && y < 3; ++y) {
    rows[y] = {3 - y, width - 3 + y};
    rows[height - 1 - y] = rows[y];
  }
  return rows;
}

class ComputedShadow : public testing::Test {
protected:
  // Runs MakeShadow into a picture with guard words on both sides; false when a guard changed.
  bool Make(MShadow& shadow, int size, int width, int height, const std::vector<MShadow::RowSpan>& rows) {
    const int w = width + 2 * size, h = height + 2 * size;
    const size_t count = w > 0 && h > 0 ? static_cast<size_t>(w) * h : 0;
    buffer.assign(count + 2 * kGuard, kGuardValue);
    std::fill(buffer.begin() + kGuard, buffer.begin() + kGuard + count, 0u);
    shadow.MakeShadow(buffer.data() + kGuard, width, height, rows);
    for (size_t i = 0; i < kGuard; ++i) {
      if (buffer[i] != kGuardValue || buffer[kGuard + count + i] != kGuardValue) return false;
    }
    shadowWidth = w;
    shadowHeight = h;
    return true;
  }
  // The pixel at (x, y) counted from the top of the picture.
  DWORD At(int x, int y) const { return buffer[kGuard + static_cast<size_t>(shadowHeight - 1 - y) * shadowWidth + x]; }

  static constexpr size_t kGuard = 4096;
  static constexpr DWORD kGuardValue = 0xA5A5A5A5;
  std::vector<DWORD> buffer;
  int shadowWidth = 0, shadowHeight = 0;
};

TEST_F(ComputedShadow, WritesNothingOutsideItsPictureForAnySettingInRange) {
  const int sizes[] = {-35, -8, -1, 1, 8, 35};
  const int sharpness[] = {0, 5, 35};
  const int offsets[] = {-35, 0, 35};
  const SIZE windows[] = {{1, 1}, {2, 3}, {7, 7}, {40, 30}};
  for (const SIZE& window : windows) {
    for (int shape = 0; shape < 3; ++shape) {
      std::vector<MShadow::RowSpan> rows = shape == 0   ? FullRows(window.cx, window.cy)
                                           : shape == 1 ? RoundedRows(window.cx, window.cy)
                                                        : std::vector<MShadow::RowSpan>(window.cy, {window.cx, 0});
      for (int size : sizes) {
        for (int sharp : sharpness) {
          for (int offset : offsets) {
            MShadow shadow;
            shadow.SetSize(size);
            shadow.SetSharpness(sharp);
            shadow.SetPosition(offset, -offset);
            EXPECT_TRUE(Make(shadow, size, window.cx, window.cy, rows))
                << window.cx << "x" << window.cy << " shape " << shape << " size " << size << " sharpness " << sharp
                << " offset " << offset;
          }
        }
      }
    }
  }
}

TEST_F(ComputedShadow, SolidPartKernelEdgeAndCutUnderTheWindow) {
  MShadow shadow;  // sharpness 5, darkness 150, offset (5, 5)
  shadow.SetSize(8);
  shadow.SetColor(0x00FF0000);
  ASSERT_TRUE(Make(shadow, 8, 40, 40, FullRows(40, 40)));
  ASSERT_EQ(56, shadowWidth);
  const DWORD solid = (150u << 24) | MShadow::PreMultiply(0x00FF0000, 150);
  EXPECT_EQ(solid, At(45, 30)) << "right of the window, where the offset uncovers it";
  EXPECT_EQ(solid, At(30, 46)) << "below the window";
  EXPECT_EQ(0u, At(20, 20)) << "cut away under the window";
  EXPECT_EQ(0u, At(0, 0)) << "beyond the kernel radius of 8 from the first stamp";
  // Seven pixels from the stamp at (8, 8): the soft edge (core radius 3, width 6) gives 50.
  EXPECT_EQ((50u << 24) | MShadow::PreMultiply(0x00FF0000, 50), At(1, 8));

  ASSERT_TRUE(Make(shadow, 8, 40, 40, std::vector<MShadow::RowSpan>(40, {40, 0})));
  for (size_t i = 0; i < 56u * 56u; ++i) ASSERT_EQ(0u, buffer[kGuard + i]) << "a window without a shape casts none";
}

TEST(MShadowWindowTest, FollowsItsWindowHidesOnMinimiseAndShowsOnRestore) {
  testsupport::ProgramInstance instance;
  testsupport::PaintHost host;
  ASSERT_NE(nullptr, host.Create(nullptr, L"shadowed", WS_POPUP | WS_MINIMIZEBOX, 0, CRect(200, 150, 360, 270)));
  HWND window = host.GetSafeHwnd();
  SetWindowRgn(window, CreateRoundRectRgn(0, 0, 161, 121, 12, 12), FALSE);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  host.engine.CreateShadow(1, false);
  host.engine.CreateShadow(1, false);  // a second shadow for the same window is not made
  HWND shadow = testsupport::FindOwnedWindow(window, L"ShadowWnd");
  ASSERT_NE(nullptr, shadow);
  EXPECT_TRUE(GetWindowLongPtrW(shadow, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(GetWindowLongPtrW(shadow, GWL_EXSTYLE) & WS_EX_TRANSPARENT);

  EXPECT_EQ(1, host.engine.SetSize(8));
  EXPECT_EQ(0, host.engine.SetPosition(36, 0));
  RECT rect;
  GetWindowRect(shadow, &rect);
  const RECT expected = {200 + 5 - 8, 150 + 5 - 8, 200 + 5 - 8 + 176, 150 + 5 - 8 + 136};
  EXPECT_TRUE(EqualRect(&expected, &rect)) << "16 wider and higher, got " << rect.left << "," << rect.top << ","
                                           << rect.right << "," << rect.bottom;

  // Moving the window moves its shadow (through the subclass, which runs once).
  SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(shadow, &rect);
  EXPECT_EQ(297, rect.left);
  EXPECT_EQ(197, rect.top);

  ShowWindow(window, SW_MINIMIZE);
  testsupport::PumpFor(50);
  EXPECT_FALSE(IsWindowVisible(shadow));
  ShowWindow(window, SW_RESTORE);
  testsupport::PumpFor(50);
  EXPECT_TRUE(IsWindowVisible(shadow));

  host.DestroyWindow();
  EXPECT_FALSE(IsWindow(shadow));
}

}  // namespace
