// Row kernels of the bilinear resampling, with AVX2 versions (see CpuVersions.h).
#include "surface/ResampleKernels.h"

#include <immintrin.h>

#include "surface/CpuVersions.h"

namespace fotavel::resample {
namespace {

// With t = m / 2^23 the blend times 2^23 is n = a * 2^23 + m * (b - a), an
// integer from 0 to 255 * 2^23 < 2^31; adding 2^22 - 1 plus the parity of the
// integer part before the shift rounds a true half to even and nothing else.
inline std::uint8_t Blend23(std::int32_t a, std::int32_t b, std::int32_t m) {
  const std::int32_t n = a * (1 << 23) + m * (b - a);
  const std::int32_t odd = (n >> 23) & 1;
  return static_cast<std::uint8_t>((n + (1 << 22) - 1 + odd) >> 23);
}

// With t = m / 2^15 the blend is a + p / 2^15 for p = m * (b - a). Rounding p
// half up is what the AVX2 multiply-high-round instruction does; a true half
// (p = 2^14 modulo 2^15) then steps back to the even neighbour.
inline std::uint8_t Blend15(std::int32_t a, std::int32_t b, std::int32_t m) {
  const std::int32_t p = m * (b - a);
  std::int32_t v = a + ((p + (1 << 14)) >> 15);
  if ((p & 0x7FFF) == 0x4000) v -= v & 1;
  return static_cast<std::uint8_t>(v);
}

bool HasAvx2() {
  static const bool avx2 = ChosenVersion() >= CpuVersion::kAvx2;
  return avx2;
}

// Sixteen blends at once on 16-bit lanes; kTies false skips the step back
// from halves, for fractions that cannot produce one.
template <bool kTies>
__attribute__((target("avx2"))) inline __m256i Blend15x16(__m256i a, __m256i b, __m256i m) {
  const __m256i d = _mm256_sub_epi16(b, a);
  __m256i v = _mm256_add_epi16(a, _mm256_mulhrs_epi16(d, m));
  if constexpr (kTies) {
    const __m256i low = _mm256_and_si256(_mm256_mullo_epi16(d, m), _mm256_set1_epi16(0x7FFF));
    const __m256i half = _mm256_cmpeq_epi16(low, _mm256_set1_epi16(0x4000));
    v = _mm256_sub_epi16(v, _mm256_and_si256(half, _mm256_and_si256(v, _mm256_set1_epi16(1))));
  }
  return v;
}

__attribute__((target("avx2"))) inline __m256i Widen(const std::uint8_t* p) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

__attribute__((target("avx2"))) inline void Store(std::uint8_t* out, __m256i lo, __m256i hi) {
  // packus interleaves the 128-bit halves; the permute puts them back in order.
  const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), packed);
}

// These return how many leading elements they did (a multiple of 32).
template <bool kTies>
__attribute__((target("avx2"))) std::int32_t BlendRows15Avx2(const std::uint8_t* a,
                                                             const std::uint8_t* b, std::int16_t m,
                                                             std::uint8_t* out, std::int32_t n) {
  const __m256i weight = _mm256_set1_epi16(m);
  std::int32_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i lo = Blend15x16<kTies>(Widen(a + i), Widen(b + i), weight);
    const __m256i hi = Blend15x16<kTies>(Widen(a + i + 16), Widen(b + i + 16), weight);
    Store(out + i, lo, hi);
  }
  return i;
}

__attribute__((target("avx2"))) std::int32_t BlendColumns15Avx2(const std::uint8_t* a,
                                                                const std::uint8_t* b,
                                                                const std::int16_t* m,
                                                                std::uint8_t* out, std::int32_t n) {
  std::int32_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i m0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m + i));
    const __m256i m1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m + i + 16));
    const __m256i lo = Blend15x16<true>(Widen(a + i), Widen(b + i), m0);
    const __m256i hi = Blend15x16<true>(Widen(a + i + 16), Widen(b + i + 16), m1);
    Store(out + i, lo, hi);
  }
  return i;
}

[[gnu::always_inline]] inline void BlendRows23Plain(const std::uint8_t* a, const std::uint8_t* b,
                                                    std::int32_t m, std::uint8_t* out,
                                                    std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) out[i] = Blend23(a[i], b[i], m);
}

[[gnu::always_inline]] inline void BlendColumns23Plain(const std::uint8_t* a, const std::uint8_t* b,
                                                       const std::int32_t* m, std::uint8_t* out,
                                                       std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) out[i] = Blend23(a[i], b[i], m[i]);
}

}  // namespace

void BlendRows23(const std::uint8_t* a, const std::uint8_t* b, std::int32_t m, std::uint8_t* out,
                 std::int32_t n) {
  static const auto blend = Versioned<BlendRows23Plain>::Pick();
  blend(a, b, m, out, n);
}

void BlendColumns23(const std::uint8_t* a, const std::uint8_t* b, const std::int32_t* m,
                    std::uint8_t* out, std::int32_t n) {
  static const auto blend = Versioned<BlendColumns23Plain>::Pick();
  blend(a, b, m, out, n);
}

void BlendRows15(const std::uint8_t* a, const std::uint8_t* b, std::int16_t m, std::uint8_t* out,
                 std::int32_t n) {
  std::int32_t i = 0;
  if (HasAvx2()) {
    // A true half needs m * (b - a) = 2^14 modulo 2^15; with |b - a| < 2^8
    // that takes at least 7 trailing zero bits in m.
    i = (m & 0x7F) == 0 ? BlendRows15Avx2<true>(a, b, m, out, n)
                        : BlendRows15Avx2<false>(a, b, m, out, n);
  }
  for (; i < n; ++i) out[i] = Blend15(a[i], b[i], m);
}

void BlendColumns15(const std::uint8_t* a, const std::uint8_t* b, const std::int16_t* m,
                    std::uint8_t* out, std::int32_t n) {
  std::int32_t i = HasAvx2() ? BlendColumns15Avx2(a, b, m, out, n) : 0;
  for (; i < n; ++i) out[i] = Blend15(a[i], b[i], m[i]);
}

}  // namespace fotavel::resample
