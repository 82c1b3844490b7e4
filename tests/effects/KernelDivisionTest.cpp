// The multiply-and-shift quotients against plain division over the sums they serve.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "effects/KernelDivision.h"

namespace fotavel::detail {
namespace {

// Divisors: every one up to 4096, then the ones around powers of two and a
// few primes, up to the largest weight magnitude, 2^31.
std::vector<std::uint64_t> Divisors() {
  std::vector<std::uint64_t> divisors;
  for (std::uint64_t d = 1; d <= 4096; ++d) divisors.push_back(d);
  for (int bit = 12; bit <= 31; ++bit) {
    const std::uint64_t power = std::uint64_t{1} << bit;
    for (const std::uint64_t d : {power - 1, power, power + 1}) divisors.push_back(d);
  }
  for (const std::uint64_t d : {7919u, 10007u, 32749u, 65521u, 2147483629u, 2147483647u}) {
    divisors.push_back(d);
  }
  return divisors;
}

TEST(KernelDivision, SixteenBitQuotientsForEverySum) {
  // 16-bit sums are at most 255 × 128 = 32 640; every u below 2^15 is checked.
  for (const std::uint64_t d : Divisors()) {
    const Reciprocal16 r = MakeReciprocal16(d);
    for (std::uint32_t u = 0; u < (1u << 15); ++u) {
      ASSERT_EQ(Divide(static_cast<std::uint16_t>(u), r), u / d) << u << " / " << d;
    }
  }
}

// The values around every multiple of d that matter most, the ends of the
// range and random values between.
template <class Reciprocal, class Make>
void CheckWide(Make make, std::uint64_t limit, std::uint32_t seed) {
  std::mt19937_64 random(seed);
  for (const std::uint64_t d : Divisors()) {
    const Reciprocal r = make(d);
    std::vector<std::uint64_t> values = {0, 1, limit - 1, limit - 2, d - 1, d, d + 1};
    for (std::uint64_t q = limit / d; q > 0 && values.size() < 64; q /= 3) {
      values.push_back(q * d - 1);
      values.push_back(q * d);
    }
    for (int i = 0; i < 200; ++i) values.push_back(random() % limit);
    for (const std::uint64_t u : values) {
      if (u >= limit) continue;
      if constexpr (std::is_same_v<Reciprocal, Reciprocal32>) {
        ASSERT_EQ(Divide(static_cast<std::uint32_t>(u), r), u / d) << u << " / " << d;
      } else {
        ASSERT_EQ(Divide(u, r), u / d) << u << " / " << d;
      }
    }
  }
}

TEST(KernelDivision, ThirtyTwoBitQuotients) {
  CheckWide<Reciprocal32>(MakeReciprocal32, std::uint64_t{1} << 31, 31);
}

TEST(KernelDivision, WideQuotients) {
  CheckWide<Reciprocal64>(MakeReciprocal64, std::uint64_t{1} << kWideSumBits, 47);
}

}  // namespace
}  // namespace fotavel::detail
