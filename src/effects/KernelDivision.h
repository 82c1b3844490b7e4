// Exact division of non-negative sums by a run-time divisor, with one multiply and shifts.
#pragma once

#include <cstdint>

namespace fotavel::detail {

// A convolution divides every sum by the same weight, which is only known at
// run time. A hardware division per pixel costs more than the whole sum, so
// the quotient is taken as (u × m) >> k with m = ceil(2^k / d) and
// k = bits + ceil(log2 d), for every u < 2^bits. Why that is exact: with
// e = m·d − 2^k (0 ≤ e < d) and u = q·d + r,
//   u·m / 2^k = q + (r + u·e / 2^k) / d,
// and u·e < 2^bits·d ≤ 2^k, so r + u·e / 2^k < r + 1 ≤ d: the floor is q.
// For d < 2^bits, m < 2^(bits + 1). A divisor of 2^bits or more gives 0 for
// every such u, which m = 0 reproduces.

inline int CeilLog2(std::uint64_t d) {
  int c = 0;
  while ((std::uint64_t{1} << c) < d) ++c;
  return c;
}

// Sums below 2^15, in 16-bit lanes: the high half of a 16 × 16-bit product
// (k − 16 of the shift is then left). For d = 1 the multiplier would be 2^16,
// one bit too many, so it is 0 and u is added back instead.
struct Reciprocal16 {
  std::uint16_t multiplier = 0;
  std::uint16_t addMask = 0;  // 0xFFFF for d = 1, else 0
  int post = 0;
};

inline Reciprocal16 MakeReciprocal16(std::uint64_t d) {
  Reciprocal16 r;
  if (d == 1) {
    r.addMask = 0xFFFF;
    return r;
  }
  if (d >= (std::uint64_t{1} << 15)) return r;  // multiplier 0: every quotient is 0
  const int k = 15 + CeilLog2(d);
  r.multiplier = static_cast<std::uint16_t>(((std::uint64_t{1} << k) + d - 1) / d);
  r.post = k - 16;
  return r;
}

// floor(u / d) for 0 ≤ u < 2^15.
inline std::uint16_t Divide(std::uint16_t u, const Reciprocal16& r) {
  const auto high = static_cast<std::uint16_t>((std::uint32_t{u} * r.multiplier) >> 16);
  return static_cast<std::uint16_t>(static_cast<std::uint16_t>(high + (u & r.addMask)) >> r.post);
}

// Sums below 2^31: a 32 × 32 → 64-bit product.
struct Reciprocal32 {
  std::uint64_t multiplier = 0;
  int shift = 0;
};

inline Reciprocal32 MakeReciprocal32(std::uint64_t d) {
  Reciprocal32 r;
  if (d >= (std::uint64_t{1} << 31)) return r;
  r.shift = 31 + CeilLog2(d);
  r.multiplier = ((std::uint64_t{1} << r.shift) + d - 1) / d;
  return r;
}

// floor(u / d) for 0 ≤ u < 2^31.
inline std::uint32_t Divide(std::uint32_t u, const Reciprocal32& r) {
  return static_cast<std::uint32_t>((std::uint64_t{u} * r.multiplier) >> r.shift);
}

// Sums below 2^47 (the widest a 9 × 9 kernel of 32-bit entries can reach):
// a 64 × 64 → 128-bit product.
struct Reciprocal64 {
  std::uint64_t multiplier = 0;
  int shift = 0;
};

inline constexpr int kWideSumBits = 47;

inline Reciprocal64 MakeReciprocal64(std::uint64_t d) {
  Reciprocal64 r;
  if (d >= (std::uint64_t{1} << kWideSumBits)) return r;
  r.shift = kWideSumBits + CeilLog2(d);
  const unsigned __int128 power = static_cast<unsigned __int128>(1) << r.shift;
  r.multiplier = static_cast<std::uint64_t>((power + d - 1) / d);
  return r;
}

// floor(u / d) for 0 ≤ u < 2^47.
inline std::uint64_t Divide(std::uint64_t u, const Reciprocal64& r) {
  return static_cast<std::uint64_t>((static_cast<unsigned __int128>(u) * r.multiplier) >> r.shift);
}

}  // namespace fotavel::detail
