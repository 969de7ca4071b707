#include "app/pages/MusicStyles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct LayerBox {
  MusicLayer px;
};

std::unique_ptr<LayerBox> FilledLayer(uint32_t value) {
  auto layer = std::make_unique<LayerBox>();
  for (auto& row : layer->px)
    for (uint32_t& p : row) p = value;
  return layer;
}

bool AllPixels(const MusicLayer& layer, uint32_t value) {
  for (const auto& row : layer)
    for (uint32_t p : row)
      if (p != value) return false;
  return true;
}

}  // namespace

TEST(HsvToRgb, GivesTheSixSectorsGreyAndWrapsTheHue) {
  struct Case {
    int h, s, v;
    uint32_t rgb;
  } cases[] = {
      {60, 255, 255, 0x00FFFF},   {120, 255, 255, 0x00FF00}, {0, 255, 255, 0x0000FF},
      {240, 255, 255, 0xFF0000},  {0, 0, 200, 0xC8C8C8},     {77, 0, 10, 0x0A0A0A},
      {360, 255, 255, 0x0000FF},  // 360 is 0
      {255, 255, 255, 0xFF0040}, {-1, 255, 255, 0xFF0040},  // -1 taken as unsigned is 255 modulo 360
  };
  for (const Case& c : cases)
    EXPECT_EQ(HsvToRgb(c.h, c.s, c.v), c.rgb) << "h " << c.h << " s " << c.s << " v " << c.v;
}

TEST(BrightnessValue, IsTruncatedInSinglePrecision) {
  const int expected[] = {0, 51, 102, 153, 204, 255};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(BrightnessValue(i * 20), expected[i]) << "P " << i * 20;
}

TEST(MusicStyles, StyleFiveIsOneHueColour) {
  auto layer = FilledLayer(0);
  DrawColorStyle(layer->px, 5, 100, 0.0f);
  EXPECT_TRUE(AllPixels(layer->px, 0x0000FF));
  DrawColorStyle(layer->px, 5, 100, 120.0f);
  EXPECT_TRUE(AllPixels(layer->px, 0x00FF00));
}

TEST(MusicStyles, PlainStylesAreScaledColours) {
  const uint32_t colors[] = {0xFFFFFF, 0x0000FF, 0x0040FF, 0x00FFFF, 0x00FF00, 0xFF0000, 0xFFFF00, 0xFF0040};
  auto layer = FilledLayer(0x123456);
  for (int style = 6; style <= 13; ++style) {
    DrawColorStyle(layer->px, style, 100, 0.0f);
    // V = 255: each channel c becomes c x 255 / 256, so FF -> FE and 40 -> 3F.
    EXPECT_TRUE(AllPixels(layer->px, ScaleColor(colors[style - 6], 255))) << "style " << style << " at 100";
    DrawColorStyle(layer->px, style, 20, 0.0f);
    EXPECT_TRUE(AllPixels(layer->px, ScaleColor(colors[style - 6], 51))) << "style " << style << " at 20";
  }
  EXPECT_EQ(ScaleColor(0xFFFFFF, 255), 0xFEFEFEu);
  EXPECT_EQ(ScaleColor(0x0040FF, 51), 0x000C32u);
}

TEST(MusicStyles, UnknownStylesKeepTheLayer) {
  for (int style : {21, -1, 1000}) {
    auto layer = FilledLayer(0xABCDEF);
    DrawColorStyle(layer->px, style, 100, 30.0f);
    EXPECT_TRUE(AllPixels(layer->px, 0xABCDEF)) << "style " << style;
  }
}

TEST(MusicStyles, GradientRunsUpTheRowsAndOutFromTheMiddleOfRowZero) {
  auto layer = FilledLayer(0);
  DrawColorStyle(layer->px, 1, 100, 0.0f);  // green, yellow, red
  const uint32_t green = ScaleColor(0x00FF00, 255), yellow = ScaleColor(0x00FFFF, 255), red = ScaleColor(0x0000FF, 255);
  EXPECT_EQ(layer->px[63][10], green);
  EXPECT_EQ(layer->px[32][10], yellow);
  EXPECT_EQ(layer->px[1][10], red);
  EXPECT_EQ(layer->px[0][127], green);
  EXPECT_EQ(layer->px[0][128], green);
  EXPECT_EQ(layer->px[0][0], red);    // 3 capped to the last colour
  EXPECT_EQ(layer->px[0][255], red);
  EXPECT_EQ(layer->px[0][64], yellow);
  EXPECT_EQ(layer->px[0][192], yellow);
}

TEST(MusicStyles, EveryStyleFillsTheWholeLayer) {
  const uint32_t marker = 0xFF000001;  // no style paints the top byte
  for (int style = 0; style < kMusicStyleCount; ++style) {
    auto layer = FilledLayer(marker);
    DrawColorStyle(layer->px, style, 100, 45.0f);
    bool untouched = false;
    for (const auto& row : layer->px)
      for (uint32_t p : row) untouched |= p == marker;
    EXPECT_FALSE(untouched) << "style " << style;
  }
}

TEST(MusicStyles, HueWheelTurnsAroundItsCentre) {
  auto layer = FilledLayer(0);
  DrawHueWheel(layer->px, 100, 32, 0.0f);
  // Left of the centre atan2 is pi: 360 mod 360 = 0 (red); right of it 180 (cyan).
  EXPECT_EQ(layer->px[32][0], HsvToRgb(0, 255, 255));
  EXPECT_EQ(layer->px[32][255], HsvToRgb(180, 255, 255));
}
