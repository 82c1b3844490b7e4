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

// Fractions m / 2^23 chosen for their trailing zero bits: those decide whether a true half can
// occur (1/2, 3/4, 2^-8 ...) as much as arbitrary ones. The 16-bit kernels take m >> 8: the
// fractions written "<< 8" are theirs, the last five need all 23 bits.
const std::int32_t kFractions[] = {
    0,          1 << 8,     127 << 8,   128 << 8,   129 << 8,   255 << 8,   256 << 8,
    16384 << 8, 8192 << 8,  24576 << 8, 10923 << 8, 21845 << 8, 32767 << 8, 32640 << 8,
    4096 << 8,  12345 << 8, 1,          3,          2796203,    8388607,    1234567};
constexpr int kCount = std::size(kFractions);

// Every kernel on every (a, b) pair of bytes, a in the high byte of the index, against
// round((1 − t) a + t b) with t = m(i) / 2^23. Rows blend with one fraction for the run, columns
// with one per element, shifted round the list until every pair has met every fraction. The whole
// run takes the vector loop where there is one; runs of 31 take the plain loop whatever the
// machine.
TEST(ResampleKernels, BlendsMatchTheDoubleFormulaOnEveryPair) {
  std::vector<std::uint8_t> a(65536), b(65536), whole(65536), runs(65536);
  for (int i = 0; i < 65536; ++i) {
    a[i] = static_cast<std::uint8_t>(i >> 8);
    b[i] = static_cast<std::uint8_t>(i);
  }
  const auto expect = [&](auto kernel, auto m, const char* name) {
    kernel(0, 65536, whole.data());
    for (int start = 0; start < 65536; start += 31) {
      kernel(start, std::min(31, 65536 - start), runs.data() + start);
    }
    for (int i = 0; i < 65536; ++i) {
      const double t = m(i) / 8388608.0;
      const int want = static_cast<int>(std::nearbyint((1.0 - t) * a[i] + t * b[i]));
      ASSERT_EQ(std::pair(int{whole[i]}, int{runs[i]}), std::pair(want, want))
          << name << " m " << m(i) << " a " << i / 256 << " b " << i % 256;
    }
  };
  std::vector<std::int16_t> m15(65536);
  std::vector<std::int32_t> m23(65536);
  for (int shift = 0; shift < kCount; ++shift) {
    const std::int32_t m = kFractions[shift];
    const auto m16 = static_cast<std::int16_t>(m >> 8);
    for (int i = 0; i < 65536; ++i) {
      m23[i] = kFractions[(i + shift) % kCount];
      m15[i] = static_cast<std::int16_t>(m23[i] >> 8);
    }
    expect([&](int s, int n, std::uint8_t* out) { BlendRows23(&a[s], &b[s], m, out, n); },
           [m](int) { return m; }, "rows 23");
    expect([&](int s, int n, std::uint8_t* out) { BlendRows15(&a[s], &b[s], m16, out, n); },
           [m16](int) { return m16 * 256; }, "rows 15");
    expect([&](int s, int n, std::uint8_t* out) { BlendColumns23(&a[s], &b[s], &m23[s], out, n); },
           [&](int i) { return m23[i]; }, "columns 23");
    expect([&](int s, int n, std::uint8_t* out) { BlendColumns15(&a[s], &b[s], &m15[s], out, n); },
           [&](int i) { return m15[i] * 256; }, "columns 15");
  }
}

}  // namespace
}  // namespace fotavel::resample
