#include "app/pages/MusicStyles.h"

#include <cmath>
#include <iterator>

namespace {

uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r & 0xFF) | static_cast<uint32_t>(g & 0xFF) << 8 | static_cast<uint32_t>(b & 0xFF) << 16;
}

void FillColumn(MusicLayer& layer, int x, uint32_t color) {
  for (int y = 0; y < kMusicHeight; ++y) layer[y][x] = color;
}

uint32_t SineRainbowColor(int x, int value, float hue) {
  float p = static_cast<float>(static_cast<int>(x * 1.4117647f - hue) % 360) / 360.0f;
  p = 2.0f * p * 3.14f;
  int r = static_cast<int>((std::sin(p) + 1.0f) * 127.0f);
  int g = static_cast<int>((std::sin(p - 2.0933335f) + 1.0f) * 127.0f);
  int b = static_cast<int>((std::sin(p + 2.0933335f) + 1.0f) * 127.0f);
  return ScaleColor(Rgb(r, g, b), value);
}

// Colours of the gradient styles, first the bottom, last the top.
constexpr uint32_t kGreenYellowRed[] = {0x00FF00, 0x00FFFF, 0x0000FF};
constexpr uint32_t kSpectrum[] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF};
constexpr uint32_t kSpectrumReversed[] = {0xFF00FF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF};
constexpr uint32_t kGreenWhiteRed[] = {0x00FF00, 0xFFFFFF, 0x0000FF};
constexpr uint32_t kBlueCyanWhite[] = {0xFF0000, 0xFFFF00, 0xFFFFFF};
constexpr uint32_t kRedWhiteBlue[] = {0x0000FF, 0xFFFFFF, 0xFF0000};

// The plain colours of styles 6 to 13.
constexpr uint32_t kPlainColors[] = {0xFFFFFF, 0x0000FF, 0x0040FF, 0x00FFFF, 0x00FF00, 0xFF0000, 0xFFFF00, 0xFF0040};
constexpr int kFirstPlainStyle = 6;

}  // namespace

uint32_t HsvToRgb(int h, int s, int v) {
  if (s == 0) return Rgb(v, v, v);
  const int d = static_cast<int>(static_cast<unsigned>(h) % 360u);
  const int f = d / 60;
  const int p = v * (256 - s) / 256;
  int q = 0;
  int t = 0;
  if (f % 2 == 1) {
    q = v * ((60 * f - d) * s + 15360) / 15360;
  } else {
    t = v * ((d - 60 * (f + 1)) * s + 15360) / 15360;
  }
  switch (f) {
    case 0: return Rgb(v, t, p);
    case 1: return Rgb(q, v, p);
    case 2: return Rgb(p, v, t);
    case 3: return Rgb(p, q, v);
    case 4: return Rgb(t, p, v);
    default: return Rgb(v, p, q);
  }
}

int BrightnessValue(int percent) {
  // Stored to a float so the product is rounded to single precision: 100 x 2.55 gives 255.
  volatile float product = static_cast<float>(percent) * 2.55f;
  return static_cast<int>(product);
}

uint32_t ScaleColor(uint32_t color, int value) {
  auto channel = [&](int shift) { return static_cast<int>((color >> shift & 0xFF) * value / 256) & 0xFF; };
  return Rgb(channel(0), channel(8), channel(16));
}

void FillColor(MusicLayer& layer, int percent, uint32_t color) {
  const uint32_t scaled = ScaleColor(color, BrightnessValue(percent));
  for (auto& row : layer)
    for (uint32_t& pixel : row) pixel = scaled;
}

void DrawGradient(MusicLayer& layer, int percent, const uint32_t* colors, int count) {
  if (count <= 0) return;
  const int value = BrightnessValue(percent);
  const float n = static_cast<float>(count);
  for (int y = 1; y < kMusicHeight; ++y) {
    int index = static_cast<int>(n - (n / 63.0f) * static_cast<float>(y));
    if (index < 0) index = 0;
    if (index > count - 1) index = count - 1;
    const uint32_t color = ScaleColor(colors[index], value);
    for (uint32_t& pixel : layer[y]) pixel = color;
  }
  for (int x = 0; x < kMusicWidth; ++x) {
    int index = x < 128 ? static_cast<int>(n - n * (1.0f / 128.0f) * static_cast<float>(x)) : (x - 128) * count / 128;
    if (index > count - 1) index = count - 1;
    if (index < 0) index = 0;
    layer[0][x] = ScaleColor(colors[index], value);
  }
}

void DrawSineRainbow(MusicLayer& layer, int percent, float hue) {
  const int value = BrightnessValue(percent);
  for (int x = 0; x < kMusicWidth; ++x) FillColumn(layer, x, SineRainbowColor(x, value, hue));
}

void FillSineColor(MusicLayer& layer, int percent, float hue) {
  const uint32_t color = SineRainbowColor(1, BrightnessValue(percent), hue);
  for (auto& row : layer)
    for (uint32_t& pixel : row) pixel = color;
}

void DrawHueRainbow(MusicLayer& layer, int percent, float hue) {
  const int value = BrightnessValue(percent);
  for (int x = 0; x < kMusicWidth; ++x)
    FillColumn(layer, x, HsvToRgb(static_cast<int>(256.0f - static_cast<float>(x) + hue) % 360, 255, value));
}

void DrawHueWheel(MusicLayer& layer, int percent, int centerRow, float hue) {
  const int value = BrightnessValue(percent);
  for (int y = 0; y < kMusicHeight; ++y) {
    for (int x = 0; x < kMusicWidth; ++x) {
      const double angle = std::atan2(static_cast<double>(y - centerRow), static_cast<double>(x - 128));
      const int degrees = static_cast<int>(angle * 57.295827908797776 + 180.0) % 360;
      layer[y][x] = HsvToRgb(static_cast<int>(static_cast<float>(degrees) + hue), 255, value);
    }
  }
}

void DrawColorStyle(MusicLayer& layer, int style, int percent, float hue) {
  switch (style) {
    case 0: FillColor(layer, percent, 0); break;
    case 1: DrawGradient(layer, percent, kGreenYellowRed, std::size(kGreenYellowRed)); break;
    case 2: DrawGradient(layer, percent, kSpectrum, std::size(kSpectrum)); break;
    case 3: DrawGradient(layer, percent, kSpectrumReversed, std::size(kSpectrumReversed)); break;
    case 4: DrawHueWheel(layer, percent, 32, hue); break;
    case 5: {
      const uint32_t color = HsvToRgb(static_cast<int>(hue), 255, BrightnessValue(percent));
      for (auto& row : layer)
        for (uint32_t& pixel : row) pixel = color;
      break;
    }
    case 6: case 7: case 8: case 9: case 10: case 11: case 12: case 13:
      FillColor(layer, percent, kPlainColors[style - kFirstPlainStyle]);
      break;
    case 14: DrawGradient(layer, percent, kGreenWhiteRed, std::size(kGreenWhiteRed)); break;
    case 15: DrawGradient(layer, percent, kBlueCyanWhite, std::size(kBlueCyanWhite)); break;
    case 16: DrawGradient(layer, percent, kRedWhiteBlue, std::size(kRedWhiteBlue)); break;
    case 17: DrawSineRainbow(layer, percent, hue); break;
    case 18: DrawHueRainbow(layer, percent, hue); break;
    case 19: DrawHueWheel(layer, percent, 64, hue); break;
    case 20: FillSineColor(layer, percent, hue); break;
    default: break;
  }
}
