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

}  // namespace fotavel::resample
