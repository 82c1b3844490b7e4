// The one program-wide random sequence that the texture effects draw from, and its offsets.
#pragma once

#include <cstdint>
#include <random>

namespace fotavel {

// Every run of the program starts the sequence from this seed, so the same
// edits on the same photo give the same picture from one run to the next.
inline constexpr std::uint32_t kProgramRandomSeed = 5489u;

// The 32-bit Mersenne twister: the very sequence of std::mt19937, with its
// state held in 32-bit words. std::mt19937 keeps them in 64-bit words on this
// platform, which halves the width of the vector code that refills the state
// and makes each draw about four times slower.
using ProgramRandomEngine =
    std::mersenne_twister_engine<std::uint32_t, 32, 624, 397, 31, 0x9908b0dfu, 11, 0xffffffffu, 7,
                                 0x9d2c5680u, 15, 0xefc60000u, 18, 1812433253u>;

// The engine behind the sequence. Effects never reseed it: each call continues
// where the previous one stopped. A uniform draw in [0, 1) is one raw 32-bit
// output k taken as k / 2^32, which is exact in double and never reaches 1.
ProgramRandomEngine& ProgramRandom();

// Half a scattering factor F, rounded to the nearest with halves to even:
// 1 → 0, 3 → 2, 5 → 2, 6 → 3.
constexpr std::int64_t ScatterHalf(std::int64_t factor) {
  const std::int64_t floor = factor >> 1;
  return floor + ((factor & 1) != 0 && (floor & 1) != 0 ? 1 : 0);
}

// The offset round(r × F − half) for the draw r = k / 2^32, halves to even,
// for 0 <= F < 2^31. It is computed exactly in integers: k × F < 2^63, and
// the rounding of (k × F − half × 2^32) / 2^32 needs only its low 32 bits.
// Floating point would have to carry 63 significant bits to match.
constexpr std::int32_t ScatterOffset(std::uint32_t k, std::int64_t factor) {
  const std::int64_t v = std::int64_t{k} * factor - (ScatterHalf(factor) << 32);
  const std::int64_t floor = v >> 32;  // arithmetic shift: the floor, also below 0
  const std::uint32_t fraction = static_cast<std::uint32_t>(v);
  const bool up = fraction > 0x80000000u || (fraction == 0x80000000u && (floor & 1) != 0);
  // |result| <= 2^30 + 1.
  return static_cast<std::int32_t>(floor + (up ? 1 : 0));
}

}  // namespace fotavel
