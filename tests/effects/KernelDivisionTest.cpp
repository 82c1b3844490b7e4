// The multiply-and-shift quotients against plain division over the sums they serve.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "effects/KernelDivision.h"

namespace fotavel::detail {
namespace {

// Every divisor up to 4096, then the ones around powers of two and a few primes, up to the
// largest weight magnitude, 2^31. 16-bit sums (at most 255 × 128 = 32 640) are checked for every
// value below 2^15; wider ones around multiples of d, at the ends of the range and at random.
TEST(KernelDivision, QuotientsMatchPlainDivision) {
  std::vector<std::uint64_t> divisors;
  for (std::uint64_t d = 1; d <= 4096; ++d) divisors.push_back(d);
  for (int bit = 12; bit <= 31; ++bit) {
    const std::uint64_t power = std::uint64_t{1} << bit;
    for (const std::uint64_t d : {power - 1, power, power + 1}) divisors.push_back(d);
  }
  for (const std::uint64_t d : {7919u, 65521u, 2147483629u, 2147483647u}) divisors.push_back(d);
  std::mt19937_64 random(31);
  for (const std::uint64_t d : divisors) {
    const Reciprocal16 r16 = MakeReciprocal16(d);
    for (std::uint32_t u = 0; u < (1u << 15); ++u) {
      ASSERT_EQ(Divide(static_cast<std::uint16_t>(u), r16), u / d) << u << " / " << d;
    }
    const Reciprocal32 r32 = MakeReciprocal32(d);
    const Reciprocal64 r64 = MakeReciprocal64(d);
    for (const std::uint64_t limit : {std::uint64_t{1} << 31, std::uint64_t{1} << kWideSumBits}) {
      std::vector<std::uint64_t> values = {0, 1, limit - 1, limit - 2, d - 1, d, d + 1};
      for (std::uint64_t q = limit / d; q > 0 && values.size() < 64; q /= 3) {
        values.insert(values.end(), {q * d - 1, q * d});
      }
      for (int i = 0; i < 100; ++i) values.push_back(random() % limit);
      for (const std::uint64_t u : values) {
        if (u >= limit) continue;
        if (limit == std::uint64_t{1} << 31) {
          ASSERT_EQ(Divide(static_cast<std::uint32_t>(u), r32), u / d) << u << " / " << d;
        } else {
          ASSERT_EQ(Divide(u, r64), u / d) << u << " / " << d;
        }
      }
    }
  }
}

}  // namespace
}  // namespace fotavel::detail
