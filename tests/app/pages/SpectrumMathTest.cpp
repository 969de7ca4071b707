#include "app/pages/SpectrumMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

// X[k] = 1/512 sum x[n] e^(+2 pi i k n / 512), straight from the definition.
std::complex<double> DirectBin(const std::vector<float>& x, int k) {
  const double pi = 4.0 * std::atan(1.0);
  std::complex<double> sum;
  for (int n = 0; n < kFftSize; ++n) sum += double(x[n]) * std::polar(1.0, 2.0 * pi * k * n / kFftSize);
  return sum / double(kFftSize);
}

void ExpectMatchesDirectSum(const std::vector<float>& input, const char* name) {
  std::vector<float> x = input;
  RealFft(x.data());
  double scale = 0.0;
  std::vector<std::complex<double>> expected(kFftSize / 2 + 1);
  for (int k = 0; k <= kFftSize / 2; ++k) {
    expected[k] = DirectBin(input, k);
    scale = std::max(scale, std::abs(expected[k]));
  }
  const double tolerance = 1e-4 * scale + 1e-12;
  EXPECT_NEAR(x[0], expected[0].real(), tolerance) << name << ": X[0]";
  EXPECT_NEAR(x[1], expected[256].real(), tolerance) << name << ": X[256]";
  for (int k = 1; k < kFftSize / 2; ++k) {
    EXPECT_NEAR(x[2 * k], expected[k].real(), tolerance) << name << ": Re X[" << k << "]";
    EXPECT_NEAR(x[2 * k + 1], expected[k].imag(), tolerance) << name << ": Im X[" << k << "]";
  }
}

}  // namespace

TEST(RealFft, EqualsTheDirectSumForRandomConstantAndImpulse) {
  std::mt19937 random(66);
  std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
  std::vector<float> noise(kFftSize);
  for (float& v : noise) v = uniform(random);
  std::vector<float> constant(kFftSize, 0.75f);
  std::vector<float> impulse(kFftSize, 0.0f);
  impulse[37] = 1.0f;
  ExpectMatchesDirectSum(noise, "random");
  ExpectMatchesDirectSum(constant, "constant");
  ExpectMatchesDirectSum(impulse, "impulse");
}

TEST(BitReverse, SwapsComplexPositionsByReversedIndexBits) {
  std::vector<float> x(kFftSize);
  for (int i = 0; i < kFftSize / 2; ++i) {
    x[2 * i] = float(i);
    x[2 * i + 1] = -float(i);
  }
  BitReverse(x.data());
  // 8-bit reversal: 1 -> 128, 3 -> 192, 6 -> 96.
  for (auto [from, to] : {std::pair{1, 128}, {3, 192}, {6, 96}, {0, 0}, {255, 255}}) {
    EXPECT_EQ(x[2 * to], float(from));
    EXPECT_EQ(x[2 * to + 1], -float(from));
  }
}

TEST(MultiplyWindow, ScalesOnlyTheGivenCount) {
  std::vector<float> x(kFftSize, 2.0f);
  std::vector<float> window(kSpectrumColumns);
  MakeHannWindow(window.data());
  EXPECT_FLOAT_EQ(window[0], 0.0f);
  EXPECT_FLOAT_EQ(window[128], 1.0f);
  EXPECT_NEAR(window[64], 0.5f, 1e-6);
  MultiplyWindow(x.data(), window.data(), kSpectrumColumns);
  EXPECT_FLOAT_EQ(x[128], 2.0f);
  EXPECT_FLOAT_EQ(x[0], 0.0f);
  EXPECT_FLOAT_EQ(x[256], 2.0f);
  EXPECT_FLOAT_EQ(x[511], 2.0f);
}

TEST(SmoothLevels, SpreadsALoneLevelInPlaceFromLeftToRight) {
  float levels[kSpectrumColumns] = {};
  levels[100] = 1.7f;
  SmoothLevels(levels, 8);
  EXPECT_EQ(levels[91], 0.0f);
  EXPECT_FLOAT_EQ(levels[92], 0.1f);
  EXPECT_FLOAT_EQ(levels[93], 1.8f / 17.0f);
}

TEST(SmoothLevels, AveragesTheEdgesOverTheirFirstAndLastColumns) {
  float levels[kSpectrumColumns] = {};
  levels[0] = 0.9f;     // in the first 9 columns
  levels[255] = 0.9f;   // in the last 9
  SmoothLevels(levels, 8);
  EXPECT_FLOAT_EQ(levels[255], 0.1f);  // the tail's mean is taken before any write of the step
  EXPECT_FLOAT_EQ(levels[0], 0.1f);
}
