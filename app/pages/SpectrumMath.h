// The spectrum arithmetic of the music visualizer, as pure functions over float arrays that
// work in place: a 512-point real FFT built on a 256-point complex one, windowing and the
// smoothing of the 256 column levels.
#pragma once

constexpr int kFftSize = 512;        // real values per transform
constexpr int kSpectrumColumns = 256;

// The in-place bit-reversal of 256 complex values (interleaved re, im in 512 floats).
void BitReverse(float* data);
// Forward complex transform of 256 values with the exponent sign +, divided by 512.
void ComputeFft(float* data);
// Real transform of 512 values: afterwards x[0] = X[0], x[1] = X[256] and x[2k], x[2k+1] are
// the real and imaginary parts of X[k] (k = 1..255), X[k] = 1/512 sum x[n] e^(+2 pi i k n / 512).
void RealFft(float* x);
// x[i] *= factors[i] for i < count.
void MultiplyWindow(float* x, const float* factors, int count);
// The periodic Hann window of 256 points.
void MakeHannWindow(float* window);
// In place over 256 levels: the first and last eight averaged over their growing edges, the
// rest over 17 neighbours (already smoothed ones to the left).
void SmoothLevels(float* levels, int halfWidth);
