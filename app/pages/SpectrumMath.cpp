#include "app/pages/SpectrumMath.h"

#include <cmath>
#include <utility>

namespace {

const double kPi = 4.0 * std::atan(1.0);
constexpr int kComplexCount = kFftSize / 2;

// Advances the twiddle (wr, wi) by the angle whose recurrence factors are wpr and wpi.
void AdvanceTwiddle(double& wr, double& wi, double wpr, double wpi) {
  const double previous = wr;
  wr = wr + wr * wpr - wi * wpi;
  wi = wi + wi * wpr + previous * wpi;
}

}  // namespace

void BitReverse(float* data) {
  const int n = kFftSize;
  int j = 0;
  for (int i = 0; i < n; i += 2) {
    if (j > i) {
      std::swap(data[j], data[i]);
      std::swap(data[j + 1], data[i + 1]);
    }
    int m = kComplexCount;
    while (m >= 2 && j >= m) {
      j -= m;
      m >>= 1;
    }
    j += m;
  }
}

void ComputeFft(float* data) {
  BitReverse(data);
  const int n = kFftSize;
  for (int mmax = 2; n > mmax; mmax <<= 1) {
    const int step = mmax << 1;
    const double theta = 2.0 * kPi / mmax;
    const double half = std::sin(0.5 * theta);
    const double wpr = -2.0 * half * half;
    const double wpi = std::sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (int m = 0; m < mmax; m += 2) {
      for (int i = m; i < n; i += step) {
        const int j = i + mmax;
        const float tempr = static_cast<float>(wr * data[j] - wi * data[j + 1]);
        const float tempi = static_cast<float>(wr * data[j + 1] + wi * data[j]);
        data[j] = data[i] - tempr;
        data[j + 1] = data[i + 1] - tempi;
        data[i] += tempr;
        data[i + 1] += tempi;
      }
      AdvanceTwiddle(wr, wi, wpr, wpi);
    }
  }
  for (int i = 0; i < n; ++i) data[i] *= 1.0f / kFftSize;
}

void RealFft(float* x) {
  ComputeFft(x);
  const double theta = kPi / kComplexCount;
  const double half = std::sin(0.5 * theta);
  const double wpr = -2.0 * half * half;
  const double wpi = std::sin(theta);
  const double c1 = 0.5;
  const double c2 = -0.5;
  // The pair at 0 holds the transforms of the even and odd values at frequency 0: their
  // sum is X[0], their difference X[256].
  const float even = x[0];
  const float odd = x[1];
  x[0] = even + odd;
  x[1] = even - odd;
  double wr = 1.0;
  double wi = 0.0;
  AdvanceTwiddle(wr, wi, wpr, wpi);
  for (int i = 1; i <= kComplexCount / 2; ++i) {
    const int i1 = 2 * i;
    const int i2 = i1 + 1;
    const int i3 = kFftSize - i1;
    const int i4 = i3 + 1;
    const double h1r = c1 * (x[i1] + x[i3]);
    const double h1i = c1 * (x[i2] - x[i4]);
    const double h2r = -c2 * (x[i2] + x[i4]);
    const double h2i = c2 * (x[i1] - x[i3]);
    x[i1] = static_cast<float>(h1r + wr * h2r - wi * h2i);
    x[i2] = static_cast<float>(h1i + wr * h2i + wi * h2r);
    x[i3] = static_cast<float>(h1r - wr * h2r + wi * h2i);
    x[i4] = static_cast<float>(-h1i + wr * h2i + wi * h2r);
    AdvanceTwiddle(wr, wi, wpr, wpi);
  }
}

void MultiplyWindow(float* x, const float* factors, int count) {
  for (int i = 0; i < count; ++i) x[i] *= factors[i];
}

void MakeHannWindow(float* window) {
  for (int n = 0; n < kSpectrumColumns; ++n)
    window[n] = static_cast<float>(0.5 * (1.0 - std::cos(2.0 * kPi * n / kSpectrumColumns)));
}

void SmoothLevels(float* levels, int halfWidth) {
  const int last = kSpectrumColumns - 1;
  for (int i = 0; i < halfWidth; ++i) {
    const int n = halfWidth + i + 1;
    float head = 0.0f;
    float tail = 0.0f;
    for (int k = 0; k < n; ++k) {
      head += levels[k];
      tail += levels[last - k];
    }
    levels[i] = head / n;
    levels[last - i] = tail / n;
  }
  const float span = static_cast<float>(2 * halfWidth + 1);
  for (int i = halfWidth; i < kSpectrumColumns - halfWidth; ++i) {
    float sum = levels[i];
    for (int k = 1; k <= halfWidth; ++k) sum += levels[i - k] + levels[i + k];
    levels[i] = sum / span;
  }
}
