// The fixed-point blend kernels against the double formula on every pair of byte values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

int Expected(int a, int b, double t) {
  return static_cast<int>(std::nearbyint((1.0 - t) * a + t * b));
}

// Fractions chosen for their trailing zero bits: those decide whether a true
// half can occur (1/2, 3/4, 2^-8 ...) as much as arbitrary ones.
const std::int32_t kFractions15[] = {0,    1,     127,   128,   129,   255,   256,  16384,
                                     8192, 24576, 10923, 21845, 32767, 32640, 4096, 12345};
const std::int32_t kFractions23[] = {0,       1,       3,     4194304, 2097152, 6291456,
                                     2796203, 8388607, 65536, 32768,   1234567, 128 << 8};

// Runs of 31 take the plain loop whatever the machine; the whole run takes
// the vector one where there is one.
template <class Kernel>
void RunWholeAndInShortRuns(Kernel kernel, std::vector<std::uint8_t>& whole,
                            std::vector<std::uint8_t>& runs) {
  kernel(0, 65536, whole.data());
  for (int start = 0; start < 65536; start += 31) {
    kernel(start, std::min(31, 65536 - start), runs.data() + start);
  }
}

TEST(ResampleKernels, RowBlendsMatchTheDoubleFormulaOnEveryPair) {
  const AllPairs pairs;
  std::vector<std::uint8_t> whole(65536), runs(65536);
  for (const std::int32_t m : kFractions15) {
    RunWholeAndInShortRuns(
        [&](int start, int n, std::uint8_t* out) {
          BlendRows15(&pairs.a[start], &pairs.b[start], static_cast<std::int16_t>(m), out, n);
        },
        whole, runs);
    for (int i = 0; i < 65536; ++i) {
      const int expected = Expected(pairs.a[i], pairs.b[i], m / 32768.0);
      ASSERT_EQ(int{whole[i]}, expected) << "m " << m << " a " << i / 256 << " b " << i % 256;
      ASSERT_EQ(int{runs[i]}, expected) << "m " << m << " a " << i / 256 << " b " << i % 256;
    }
  }
  for (const std::int32_t m : kFractions23) {
    BlendRows23(pairs.a.data(), pairs.b.data(), m, whole.data(), 65536);
    for (int i = 0; i < 65536; ++i) {
      ASSERT_EQ(int{whole[i]}, Expected(pairs.a[i], pairs.b[i], m / 8388608.0))
          << "m " << m << " a " << i / 256 << " b " << i % 256;
    }
  }
}

// Column blends take a fraction per element: every pair meets every fraction.
TEST(ResampleKernels, ColumnBlendsMatchTheDoubleFormulaOnEveryPair) {
  const AllPairs pairs;
  std::vector<std::uint8_t> whole(65536), runs(65536);
  std::vector<std::int16_t> m15(65536);
  std::vector<std::int32_t> m23(65536);
  constexpr int k15 = sizeof(kFractions15) / sizeof(kFractions15[0]);
  constexpr int k23 = sizeof(kFractions23) / sizeof(kFractions23[0]);
  for (int shift = 0; shift < k15; ++shift) {
    for (int i = 0; i < 65536; ++i) {
      m15[i] = static_cast<std::int16_t>(kFractions15[(i + shift) % k15]);
      m23[i] = kFractions23[(i + shift) % k23];
    }
    RunWholeAndInShortRuns(
        [&](int start, int n, std::uint8_t* out) {
          BlendColumns15(&pairs.a[start], &pairs.b[start], &m15[start], out, n);
        },
        whole, runs);
    for (int i = 0; i < 65536; ++i) {
      const int expected = Expected(pairs.a[i], pairs.b[i], m15[i] / 32768.0);
      ASSERT_EQ(int{whole[i]}, expected) << "m " << m15[i] << " a " << i / 256 << " b " << i % 256;
      ASSERT_EQ(int{runs[i]}, expected) << "m " << m15[i] << " a " << i / 256 << " b " << i % 256;
    }
    BlendColumns23(pairs.a.data(), pairs.b.data(), m23.data(), whole.data(), 65536);
    for (int i = 0; i < 65536; ++i) {
      ASSERT_EQ(int{whole[i]}, Expected(pairs.a[i], pairs.b[i], m23[i] / 8388608.0))
          << "m " << m23[i] << " a " << i / 256 << " b " << i % 256;
    }
  }
}

}  // namespace
}  // namespace fotavel::resample
