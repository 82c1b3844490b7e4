// Row kernels of the bilinear resampling: exact blends of byte rows, halves to even.
#pragma once

#include <cstdint>

namespace fotavel::resample {

// Every kernel writes out[i] = round((1 - t) * a[i] + t * b[i]), rounded to
// the nearest integer with halves to even, for a fraction t given in fixed
// point; the arithmetic is exact, so the result is the one the same formula
// gives in double precision.

// t = m / 2^23 (0 <= m < 2^23), one fraction for the whole run.
void BlendRows23(const std::uint8_t* a, const std::uint8_t* b, std::int32_t m, std::uint8_t* out,
                 std::int32_t n);
// t = m[i] / 2^23, a fraction per element.
void BlendColumns23(const std::uint8_t* a, const std::uint8_t* b, const std::int32_t* m,
                    std::uint8_t* out, std::int32_t n);
// t = m / 2^15 (0 <= m < 2^15): the common case, twice as many lanes per instruction.
void BlendRows15(const std::uint8_t* a, const std::uint8_t* b, std::int16_t m, std::uint8_t* out,
                 std::int32_t n);
// t = m[i] / 2^15.
void BlendColumns15(const std::uint8_t* a, const std::uint8_t* b, const std::int16_t* m,
                    std::uint8_t* out, std::int32_t n);

// Destination columns in groups of ten, blended straight from a row of source
// bytes (each column's left and right pixel next to each other in it) without
// first copying the pairs out. Group g writes the 30 bytes out[30 g] ...
// out[30 g + 29]; its byte j blends band[w + i] and band[w + i + 3], for
// w = windows[g] and i = index[32 g + j], with t = m[30 g + j] / 2^15.
// The band must be readable for 128 bytes from every window, m for 32
// entries from 30 g, and every index be below 125.
constexpr std::int32_t kGroupColumns = 10;
constexpr std::int32_t kGroupWindowBytes = 128;
// Whether this processor has the group kernel; without it the caller copies
// the pairs out and blends them with BlendColumns15.
bool HasColumnGroups();
void BlendColumnGroups(const std::uint8_t* band, const std::int32_t* windows,
                       const std::uint8_t* index, const std::int16_t* m, std::uint8_t* out,
                       std::int32_t groups);

}  // namespace fotavel::resample
