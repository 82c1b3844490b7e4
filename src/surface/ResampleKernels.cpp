// Row kernels of the bilinear resampling, with AVX2 and AVX-512 versions (see CpuVersions.h).
#include "surface/ResampleKernels.h"

#include <immintrin.h>

#include <array>

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

bool HasAvx512() {
  static const bool avx512 = ChosenVersion() >= CpuVersion::kAvx512;
  return avx512;
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

// GCC 12's AVX-512 headers leave the unused half of some conversions
// undefined on purpose, and then warn that it may be used.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
constexpr long long kPackOrder[8] = {0, 2, 4, 6, 1, 3, 5, 7};

// Blend15x16 on 32 lanes.
template <bool kTies>
__attribute__((target("avx512f,avx512bw"))) inline __m512i Blend15x32(__m512i a, __m512i b,
                                                                      __m512i m) {
  const __m512i d = _mm512_sub_epi16(b, a);
  __m512i v = _mm512_add_epi16(a, _mm512_mulhrs_epi16(d, m));
  if constexpr (kTies) {
    const __m512i low = _mm512_and_si512(_mm512_mullo_epi16(d, m), _mm512_set1_epi16(0x7FFF));
    const __mmask32 half = _mm512_cmpeq_epi16_mask(low, _mm512_set1_epi16(0x4000));
    v = _mm512_mask_sub_epi16(v, half, v, _mm512_and_si512(v, _mm512_set1_epi16(1)));
  }
  return v;
}

__attribute__((target("avx512f,avx512bw"))) inline __m512i Widen64(const std::uint8_t* p) {
  return _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
}

// The bytes of 32-lane words lo and hi, in order (packus interleaves by 128-bit lanes).
__attribute__((target("avx512f,avx512bw"))) inline __m512i Pack64(__m512i lo, __m512i hi) {
  return _mm512_permutexvar_epi64(_mm512_loadu_si512(kPackOrder), _mm512_packus_epi16(lo, hi));
}

template <bool kTies>
__attribute__((target("avx512f,avx512bw"))) std::int32_t BlendRows15Avx512(const std::uint8_t* a,
                                                                           const std::uint8_t* b,
                                                                           std::int16_t m,
                                                                           std::uint8_t* out,
                                                                           std::int32_t n) {
  const __m512i weight = _mm512_set1_epi16(m);
  std::int32_t i = 0;
  for (; i + 64 <= n; i += 64) {
    const __m512i lo = Blend15x32<kTies>(Widen64(a + i), Widen64(b + i), weight);
    const __m512i hi = Blend15x32<kTies>(Widen64(a + i + 32), Widen64(b + i + 32), weight);
    _mm512_storeu_si512(out + i, Pack64(lo, hi));
  }
  return i;
}

// One group's 30 blended values, in the low bytes of 16-bit lanes. The pairs
// of a group lie within 128 bytes of the band: one two-table byte permute
// takes all the left values, another all the right ones, straight into
// 16-bit lanes.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i BlendGroup(
    const std::uint8_t* band, const std::int32_t* windows, const std::uint8_t* index,
    const std::int16_t* m, std::int32_t g) {
  constexpr __mmask64 kLowBytes = 0x5555555555555555;
  const std::uint8_t* window = band + windows[g];
  const __m512i lo = _mm512_loadu_si512(window);
  const __m512i hi = _mm512_loadu_si512(window + 64);
  const __m512i left = _mm512_cvtepu8_epi16(
      _mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + 32 * std::ptrdiff_t{g})));
  const __m512i right = _mm512_add_epi16(left, _mm512_set1_epi16(3));
  const __m512i a = _mm512_maskz_permutex2var_epi8(kLowBytes, lo, left, hi);
  const __m512i b = _mm512_maskz_permutex2var_epi8(kLowBytes, lo, right, hi);
  const __m512i weight = _mm512_loadu_si512(m + 3 * kGroupColumns * std::ptrdiff_t{g});
  return Blend15x32<true>(a, b, weight);
}

// Where packus puts lane j of its first and second operand, for two groups
// written one after the other.
constexpr std::array<std::uint8_t, 64> kTwoGroupsOrder = [] {
  std::array<std::uint8_t, 64> order{};
  for (int j = 0; j < 64; ++j) {
    const int second = j >= 3 * kGroupColumns ? 1 : 0;
    const int lane = second != 0 ? j - 3 * kGroupColumns : j;
    order[j] = static_cast<std::uint8_t>(lane < 32 ? lane / 8 * 16 + second * 8 + lane % 8 : 0);
  }
  return order;
}();

__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi"))) void BlendColumnGroupsVbmi(
    const std::uint8_t* band, const std::int32_t* windows, const std::uint8_t* index,
    const std::int16_t* m, std::uint8_t* out, std::int32_t groups) {
  constexpr std::int32_t kBytes = 3 * kGroupColumns;
  const __m512i order = _mm512_loadu_si512(kTwoGroupsOrder.data());
  std::int32_t g = 0;
  for (; g + 2 <= groups; g += 2) {
    const __m512i first = BlendGroup(band, windows, index, m, g);
    const __m512i second = BlendGroup(band, windows, index, m, g + 1);
    const __m512i packed = _mm512_permutexvar_epi8(order, _mm512_packus_epi16(first, second));
    _mm512_mask_storeu_epi8(out + kBytes * std::ptrdiff_t{g}, (__mmask64{1} << (2 * kBytes)) - 1,
                            packed);
  }
  if (g < groups) {
    const __m512i packed = Pack64(BlendGroup(band, windows, index, m, g), _mm512_setzero_si512());
    _mm256_mask_storeu_epi8(out + kBytes * std::ptrdiff_t{g}, (__mmask32{1} << kBytes) - 1,
                            _mm512_castsi512_si256(packed));
  }
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

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
  static const auto blend = Versioned<BlendRows23Plain>::Pick<CpuVersion::kAvx512>();
  blend(a, b, m, out, n);
}

void BlendColumns23(const std::uint8_t* a, const std::uint8_t* b, const std::int32_t* m,
                    std::uint8_t* out, std::int32_t n) {
  static const auto blend = Versioned<BlendColumns23Plain>::Pick<CpuVersion::kAvx512>();
  blend(a, b, m, out, n);
}

void BlendRows15(const std::uint8_t* a, const std::uint8_t* b, std::int16_t m, std::uint8_t* out,
                 std::int32_t n) {
  std::int32_t i = 0;
  // A true half needs m * (b - a) = 2^14 modulo 2^15; with |b - a| < 2^8
  // that takes at least 7 trailing zero bits in m.
  const bool ties = (m & 0x7F) == 0;
  if (HasAvx512()) {
    i = ties ? BlendRows15Avx512<true>(a, b, m, out, n) : BlendRows15Avx512<false>(a, b, m, out, n);
  }
  if (HasAvx2()) {
    i += ties ? BlendRows15Avx2<true>(a + i, b + i, m, out + i, n - i)
              : BlendRows15Avx2<false>(a + i, b + i, m, out + i, n - i);
  }
  for (; i < n; ++i) out[i] = Blend15(a[i], b[i], m);
}

void BlendColumns15(const std::uint8_t* a, const std::uint8_t* b, const std::int16_t* m,
                    std::uint8_t* out, std::int32_t n) {
  std::int32_t i = HasAvx2() ? BlendColumns15Avx2(a, b, m, out, n) : 0;
  for (; i < n; ++i) out[i] = Blend15(a[i], b[i], m[i]);
}

bool HasColumnGroups() {
  static const bool vbmi =
      ChosenVersion() >= CpuVersion::kAvx512 && __builtin_cpu_supports("avx512vbmi");
  return vbmi;
}

void BlendColumnGroups(const std::uint8_t* band, const std::int32_t* windows,
                       const std::uint8_t* index, const std::int16_t* m, std::uint8_t* out,
                       std::int32_t groups) {
  BlendColumnGroupsVbmi(band, windows, index, m, out, groups);
}

}  // namespace fotavel::resample
