// The fixed-point blend kernels against the double formula on every pair of byte values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include "surface/ResampleKernels.h"

namespace fotavel::resample {
namespace {

// Every (a, b) pair of bytes, a in the high byte of the index.
struct AllPairs {
  std::vector<std::uint8_t> a, b;
  AllPairs() : a(65536), b(65536) {
    for (int i = 0; i < 65536; ++i) {
      a[i] = static_cast<std::uint8_t>(i >> 8);
      b[i] = static_cast<std::uint8_t>(i);
    }
  }
};

// Fractions chosen for their trailing zero bits: those decide whether a true
// half can occur (1/2, 3/4, 2^-8 ...) as much as arbitrary ones.
const std::int32_t kFractions15[] = {0,    1,     127,   128,   129,   255,   256,  16384,
                                     8192, 24576, 10923, 21845, 32767, 32640, 4096, 12345};
const std::int32_t kFractions23[] = {0,       1,       3,     4194304, 2097152, 6291456,
                                     2796203, 8388607, 65536, 32768,   1234567, 128 << 8};

// Output byte i against round((1 − t) a + t b) with t = m(i) / scale. The whole run takes the
// vector loop where there is one; runs of 31 take the plain loop whatever the machine.
template <class Kernel, class Fraction>
void ExpectFormula(const AllPairs& pairs, Kernel kernel, Fraction m, double scale) {
  std::vector<std::uint8_t> whole(65536), runs(65536);
  kernel(0, 65536, whole.data());
  for (int start = 0; start < 65536; start += 31) {
    kernel(start, std::min(31, 65536 - start), runs.data() + start);
  }
  for (int i = 0; i < 65536; ++i) {
    const double t = m(i) / scale;
    const int want = static_cast<int>(std::nearbyint((1.0 - t) * pairs.a[i] + t * pairs.b[i]));
    ASSERT_EQ(std::pair(int{whole[i]}, int{runs[i]}), std::pair(want, want))
        << "m " << m(i) << " a " << i / 256 << " b " << i % 256;
  }
}

// Row blends take one fraction for the run; column blends one per element, so that every pair
// meets every fraction.
TEST(ResampleKernels, BlendsMatchTheDoubleFormulaOnEveryPair) {
  const AllPairs pairs;
  for (const std::int32_t m : kFractions15) {
    ExpectFormula(
        pairs,
        [&](int start, int n, std::uint8_t* out) {
          BlendRows15(&pairs.a[start], &pairs.b[start], static_cast<std::int16_t>(m), out, n);
        },
        [m](int) { return m; }, 32768.0);
  }
  for (const std::int32_t m : kFractions23) {
    ExpectFormula(
        pairs,
        [&](int start, int n, std::uint8_t* out) {
          BlendRows23(&pairs.a[start], &pairs.b[start], m, out, n);
        },
        [m](int) { return m; }, 8388608.0);
  }
  std::vector<std::int16_t> m15(65536);
  std::vector<std::int32_t> m23(65536);
  constexpr int k15 = std::size(kFractions15), k23 = std::size(kFractions23);
  for (int shift = 0; shift < k15; ++shift) {
    for (int i = 0; i < 65536; ++i) {
      m15[i] = static_cast<std::int16_t>(kFractions15[(i + shift) % k15]);
      m23[i] = kFractions23[(i + shift) % k23];
    }
    ExpectFormula(
        pairs,
        [&](int start, int n, std::uint8_t* out) {
          BlendColumns15(&pairs.a[start], &pairs.b[start], &m15[start], out, n);
        },
        [&](int i) { return m15[i]; }, 32768.0);
    ExpectFormula(
        pairs,
        [&](int start, int n, std::uint8_t* out) {
          BlendColumns23(&pairs.a[start], &pairs.b[start], &m23[start], out, n);
        },
        [&](int i) { return m23[i]; }, 8388608.0);
  }
}

}  // namespace
}  // namespace fotavel::resample
