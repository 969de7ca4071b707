// The colour styles of the music picture: pure functions that paint a whole 256 x 64 layer
// (row 0 at the top) in 0x00BBGGRR words, red in the low byte. Brightness is a percent P;
// "scaled" colours have each channel multiplied by trunc(P x 2.55) / 256.
#pragma once

#include <cstdint>

constexpr int kMusicWidth = 256;
constexpr int kMusicHeight = 64;
using MusicLayer = uint32_t[kMusicHeight][kMusicWidth];

// h in degrees (any integer, taken modulo 360 as unsigned), s and v 0..255.
uint32_t HsvToRgb(int h, int s, int v);
// trunc(P x 2.55) in single precision: 0, 51, 102, 153, 204, 255 for P = 0, 20, ..., 100.
int BrightnessValue(int percent);
uint32_t ScaleColor(uint32_t color, int value);

void FillColor(MusicLayer& layer, int percent, uint32_t color);
// Bottom row colours[0], the rows near the top colours[n-1]; row 0 a bar from colours[0] in
// the middle to colours[n-1] at both ends.
void DrawGradient(MusicLayer& layer, int percent, const uint32_t* colors, int count);
void DrawSineRainbow(MusicLayer& layer, int percent, float hue);
void FillSineColor(MusicLayer& layer, int percent, float hue);
void DrawHueRainbow(MusicLayer& layer, int percent, float hue);
void DrawHueWheel(MusicLayer& layer, int percent, int centerRow, float hue);

// Paints style 0..20 at the given brightness; any other number leaves the layer unchanged.
void DrawColorStyle(MusicLayer& layer, int style, int percent, float hue);
constexpr int kMusicStyleCount = 21;
