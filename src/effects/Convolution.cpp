// The convolution pass: square kernels of 3 to 9, sums divided by the weight and clamped.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "effects/FilterPasses.h"
#include "effects/KernelDivision.h"
#include "effects/NeighbourhoodPass.h"
#include "surface/CpuVersions.h"

namespace fotavel::detail {
namespace {

constexpr std::int32_t kMaxEntries = (2 * kMaxReach + 1) * (2 * kMaxReach + 1);
constexpr std::int32_t kMaxPairs = (kMaxEntries + 1) / 2;

// The narrowest sum that holds every value the kernel can produce. Small
// kernels (all the presets) fit 16 bits, which doubles the lanes per vector.
enum class SumWidth { k16, k32, k64 };

// The weight's sign is folded into the entries: trunc(s / w) clamped to
// 0 … 255 is 0 whenever s and w differ in sign, so the result is
// min(floor(max(s', 0) / |w|), 255) with s' the sum of the folded entries.
// That leaves only non-negative quotients, which the reciprocals give exactly.
struct PreparedKernel {
  std::int32_t size = 0;
  SumWidth width = SumWidth::k64;
  std::int16_t k16[kMaxEntries] = {};
  std::int32_t k32[kMaxEntries] = {};
  std::int64_t k64[kMaxEntries] = {};
  Reciprocal16 r16;
  Reciprocal32 r32;
  Reciprocal64 r64;
  // The non-zero entries two by two, for the multiply-and-add of unsigned
  // pixel bytes by signed byte entries: usable when every entry fits a signed
  // byte and the 16-bit bound holds (then no pair sum saturates). An odd tap
  // out is paired with the zero entry of row 0, offset 0, left as initialised.
  bool pairs = false;
  std::int32_t pairCount = 0;
  std::int32_t pairRow[kMaxPairs][2] = {};     // index into the rows of the neighbourhood
  std::int32_t pairOffset[kMaxPairs][2] = {};  // 3 × iX
  std::int16_t pairEntries[kMaxPairs] = {};    // first entry in the low byte
  // The same pairs as two 16-bit words, for 32-bit sums of entries that fit
  // 16 bits each (pair sums then stay far within 32 bits).
  bool wordPairs = false;
  std::int32_t pairWords[kMaxPairs] = {};  // first entry in the low word
};

PreparedKernel Prepare(std::int32_t size, const std::int32_t* kernel, std::int32_t weight) {
  PreparedKernel pk;
  pk.size = size;
  const std::int64_t sign = weight < 0 ? -1 : 1;
  std::int64_t magnitude = 0;  // sum of |entry|: every sum lies within ±255 × this
  for (std::int32_t i = 0; i < size * size; ++i) {
    const std::int64_t folded = sign * kernel[i];
    pk.k64[i] = folded;
    magnitude += std::abs(folded);
  }
  if (255 * magnitude <= INT16_MAX) {
    pk.width = SumWidth::k16;
  } else if (255 * magnitude <= INT32_MAX) {
    pk.width = SumWidth::k32;
  }
  for (std::int32_t i = 0; i < size * size; ++i) {
    pk.k32[i] = static_cast<std::int32_t>(pk.k64[i]);
    pk.k16[i] = static_cast<std::int16_t>(pk.k64[i]);
  }
  pk.pairs = pk.width == SumWidth::k16;
  pk.wordPairs = pk.width == SumWidth::k32;
  std::int32_t taps = 0;
  const std::int32_t half = size / 2;
  for (std::int32_t i = 0; i < size * size; ++i) {
    if (pk.k64[i] == 0) continue;
    if (pk.k64[i] > INT8_MAX || pk.k64[i] < INT8_MIN) pk.pairs = false;
    if (pk.k64[i] > INT16_MAX || pk.k64[i] < INT16_MIN) pk.wordPairs = false;
    const std::int32_t p = taps / 2;
    const std::int32_t side = taps % 2;
    pk.pairRow[p][side] = i / size;
    pk.pairOffset[p][side] = 3 * (i % size - half);
    const auto byte = static_cast<std::uint8_t>(static_cast<std::int8_t>(pk.k64[i]));
    pk.pairEntries[p] = static_cast<std::int16_t>(pk.pairEntries[p] | (byte << (8 * side)));
    const auto word = static_cast<std::uint16_t>(static_cast<std::int16_t>(pk.k64[i]));
    pk.pairWords[p] = static_cast<std::int32_t>(static_cast<std::uint32_t>(pk.pairWords[p]) |
                                                (std::uint32_t{word} << (16 * side)));
    ++taps;
  }
  pk.pairCount = (taps + 1) / 2;
  const std::uint64_t divisor = static_cast<std::uint64_t>(std::abs(std::int64_t{weight}));
  pk.r16 = MakeReciprocal16(divisor);
  pk.r32 = MakeReciprocal32(divisor);
  pk.r64 = MakeReciprocal64(divisor);
  return pk;
}

// The plain paths go kernel row by kernel row: the N taps of a row are
// unrolled so the vectoriser keeps the sums of a vector of bytes in registers
// across them, and the running sums of the row piece wait in an array between
// kernel rows. Each step is a function of its own so that the vectoriser sees
// one simple loop (inlined into the loop over kernel rows it is not always
// vectorised). Integer sums are exact in any order, and none can wrap: every
// partial sum lies within ±255 × the sum of |entry|, the bound Prepare checks.
template <class Sum, int N>
[[gnu::always_inline]] inline void AccumulateTaps(const std::uint8_t* __restrict r,
                                                  const Sum* __restrict kernelRow,
                                                  Sum* __restrict sums, std::int32_t bytes) {
  Sum k[N];
  for (int iX = 0; iX < N; ++iX) k[iX] = kernelRow[iX];
  for (std::int32_t j = 0; j < bytes; ++j) {
    Sum s = sums[j];
#pragma GCC unroll 9
    for (int iX = 0; iX < N; ++iX) s = static_cast<Sum>(s + k[iX] * r[j + 3 * iX]);
    sums[j] = s;
  }
}

template <class Sum, class Reciprocal>
[[gnu::always_inline]] inline void DivideAndClamp(const Sum* __restrict sums, const Reciprocal& rec,
                                                  std::uint8_t* __restrict out,
                                                  std::int32_t bytes) {
  using Unsigned = std::make_unsigned_t<Sum>;
  for (std::int32_t j = 0; j < bytes; ++j) {
    const Unsigned q = Divide(static_cast<Unsigned>(std::max<Sum>(sums[j], 0)), rec);
    out[j] = static_cast<std::uint8_t>(std::min<Unsigned>(q, 255));
  }
}

template <class Sum, int N, auto Accumulate, class Reciprocal, auto Finish>
void ConvolveRowPlain(const std::uint8_t* const* rows, const Sum* kernel, const Reciprocal& rec,
                      std::uint8_t* out, std::int32_t bytes) {
  constexpr int reach = N / 2;
  alignas(32) Sum sums[kStripBytes];
  std::fill(sums, sums + bytes, Sum{0});
  for (int iY = 0; iY < N; ++iY) Accumulate(rows[iY] - 3 * reach, kernel + iY * N, sums, bytes);
  Finish(sums, rec, out, bytes);
}

// The steps are compiled once per machine-code version; a row of version V
// runs the steps of that version.
template <CpuVersion V, int N>
void ConvolveRow16(const std::uint8_t* const* rows, const PreparedKernel& pk, std::uint8_t* out,
                   std::int32_t bytes) {
  ConvolveRowPlain<std::int16_t, N, VersionOf<V, AccumulateTaps<std::int16_t, N>>(), Reciprocal16,
                   VersionOf<V, DivideAndClamp<std::int16_t, Reciprocal16>>()>(rows, pk.k16, pk.r16,
                                                                               out, bytes);
}

template <CpuVersion V, int N>
void ConvolveRow32(const std::uint8_t* const* rows, const PreparedKernel& pk, std::uint8_t* out,
                   std::int32_t bytes) {
  ConvolveRowPlain<std::int32_t, N, VersionOf<V, AccumulateTaps<std::int32_t, N>>(), Reciprocal32,
                   VersionOf<V, DivideAndClamp<std::int32_t, Reciprocal32>>()>(rows, pk.k32, pk.r32,
                                                                               out, bytes);
}

// Kernels with entries too large for 32-bit sums: rare, so kept plain.
void ConvolveRow64(const std::uint8_t* const* rows, const PreparedKernel& pk, std::uint8_t* out,
                   std::int32_t bytes) {
  const std::int32_t n = pk.size;
  const std::int32_t reach = n / 2;
  for (std::int32_t j = 0; j < bytes; ++j) {
    std::int64_t s = 0;
    for (std::int32_t iY = 0; iY < n; ++iY) {
      const std::uint8_t* r = rows[iY] + j - 3 * reach;
      for (std::int32_t iX = 0; iX < n; ++iX) s += pk.k64[iY * n + iX] * r[3 * iX];
    }
    const std::uint64_t q =
        Divide(static_cast<std::uint64_t>(std::max<std::int64_t>(s, 0)), pk.r64);
    out[j] = static_cast<std::uint8_t>(std::min<std::uint64_t>(q, 255));
  }
}

using RowFn = void (*)(const std::uint8_t* const*, const PreparedKernel&, std::uint8_t*,
                       std::int32_t);

// By kernel size 3, 5, 7, 9.
template <CpuVersion V>
constexpr RowFn kPlainRows16[] = {ConvolveRow16<V, 3>, ConvolveRow16<V, 5>, ConvolveRow16<V, 7>,
                                  ConvolveRow16<V, 9>};
template <CpuVersion V>
constexpr RowFn kPlainRows32[] = {ConvolveRow32<V, 3>, ConvolveRow32<V, 5>, ConvolveRow32<V, 7>,
                                  ConvolveRow32<V, 9>};

#if defined(__x86_64__)
// The 16-bit path by hand for AVX2: the vectoriser cannot be brought to pair
// taps in byte multiply-adds (two taps per instruction), nor to divide with
// the high-half product. 32 output bytes at a time; a last partial block is
// recomputed overlapping the one before, which writes the same values again.
__attribute__((target("avx2"))) void ConvolveRowPairsAvx2(const std::uint8_t* const* rows,
                                                          const PreparedKernel& pk,
                                                          std::uint8_t* out, std::int32_t bytes) {
  if (bytes < 32) {
    // Narrower than one vector: a small picture, or the last piece of a row.
    kPlainRows16<CpuVersion::kAvx2>[pk.size / 2 - 1](rows, pk, out, bytes);
    return;
  }
  const std::int32_t count = pk.pairCount;
  const std::uint8_t* first[kMaxPairs];
  const std::uint8_t* second[kMaxPairs];
  __m256i entries[kMaxPairs];
  for (std::int32_t p = 0; p < count; ++p) {
    first[p] = rows[pk.pairRow[p][0]] + pk.pairOffset[p][0];
    second[p] = rows[pk.pairRow[p][1]] + pk.pairOffset[p][1];
    entries[p] = _mm256_set1_epi16(pk.pairEntries[p]);
  }
  const __m256i zero = _mm256_setzero_si256();
  const __m256i multiplier = _mm256_set1_epi16(static_cast<std::int16_t>(pk.r16.multiplier));
  const __m256i addMask = _mm256_set1_epi16(static_cast<std::int16_t>(pk.r16.addMask));
  const __m128i post = _mm_cvtsi32_si128(pk.r16.post);
  const auto divide = [&](__m256i sum) __attribute__((target("avx2"))) {
    const __m256i u = _mm256_max_epi16(sum, zero);
    const __m256i high = _mm256_mulhi_epu16(u, multiplier);
    return _mm256_srl_epi16(_mm256_add_epi16(high, _mm256_and_si256(u, addMask)), post);
  };
  for (std::int32_t j = 0; j < bytes; j += 32) {
    const std::int32_t at = std::min(j, bytes - 32);
    // unpacklo/hi interleave within each 128-bit half; the final pack undoes it.
    __m256i low = zero;
    __m256i high = zero;
    for (std::int32_t p = 0; p < count; ++p) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first[p] + at));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(second[p] + at));
      low = _mm256_add_epi16(low, _mm256_maddubs_epi16(_mm256_unpacklo_epi8(a, b), entries[p]));
      high = _mm256_add_epi16(high, _mm256_maddubs_epi16(_mm256_unpackhi_epi8(a, b), entries[p]));
    }
    // Quotients are at most 32767; the pack saturates them to 255.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + at),
                        _mm256_packus_epi16(divide(low), divide(high)));
  }
}

// The 32-bit path by hand for AVX2 when the entries fit 16 bits: pixel bytes
// widened to words, two taps per word multiply-add, and the quotient from the
// 32 × 32 → 64-bit products of the even and the odd lanes.
__attribute__((target("avx2"))) void ConvolveRowWordPairsAvx2(const std::uint8_t* const* rows,
                                                              const PreparedKernel& pk,
                                                              std::uint8_t* out,
                                                              std::int32_t bytes) {
  if (bytes < 32) {
    kPlainRows32<CpuVersion::kAvx2>[pk.size / 2 - 1](rows, pk, out, bytes);
    return;
  }
  const std::int32_t count = pk.pairCount;
  const std::uint8_t* first[kMaxPairs];
  const std::uint8_t* second[kMaxPairs];
  __m256i entries[kMaxPairs];
  for (std::int32_t p = 0; p < count; ++p) {
    first[p] = rows[pk.pairRow[p][0]] + pk.pairOffset[p][0];
    second[p] = rows[pk.pairRow[p][1]] + pk.pairOffset[p][1];
    entries[p] = _mm256_set1_epi32(pk.pairWords[p]);
  }
  const __m256i zero = _mm256_setzero_si256();
  const __m256i multiplier = _mm256_set1_epi64x(static_cast<std::int64_t>(pk.r32.multiplier));
  const __m128i shift = _mm_cvtsi32_si128(pk.r32.shift);
  const auto divide = [&](__m256i sum) __attribute__((target("avx2"))) {
    const __m256i u = _mm256_max_epi32(sum, zero);
    const __m256i even = _mm256_srl_epi64(_mm256_mul_epu32(u, multiplier), shift);
    const __m256i odd =
        _mm256_srl_epi64(_mm256_mul_epu32(_mm256_srli_epi64(u, 32), multiplier), shift);
    return _mm256_blend_epi32(even, _mm256_slli_epi64(odd, 32), 0xAA);
  };
  const auto widen = [&](const std::uint8_t* p) __attribute__((target("avx2"))) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  };
  for (std::int32_t j = 0; j < bytes; j += 32) {
    const std::int32_t at = std::min(j, bytes - 32);
    // Sums of bytes 0-3 and 8-11, 4-7 and 12-15, then the same 16 further on:
    // the word unpacks work within 128-bit halves, and the packs below undo it.
    __m256i sums[4] = {zero, zero, zero, zero};
    for (std::int32_t p = 0; p < count; ++p) {
      for (int half = 0; half < 2; ++half) {
        const __m256i a = widen(first[p] + at + 16 * half);
        const __m256i b = widen(second[p] + at + 16 * half);
        sums[2 * half] = _mm256_add_epi32(
            sums[2 * half], _mm256_madd_epi16(_mm256_unpacklo_epi16(a, b), entries[p]));
        sums[2 * half + 1] = _mm256_add_epi32(
            sums[2 * half + 1], _mm256_madd_epi16(_mm256_unpackhi_epi16(a, b), entries[p]));
      }
    }
    const __m256i words0 = _mm256_packus_epi32(divide(sums[0]), divide(sums[1]));
    const __m256i words1 = _mm256_packus_epi32(divide(sums[2]), divide(sums[3]));
    // The byte pack interleaves the 64-bit quarters: 0-7, 16-23, 8-15, 24-31.
    const __m256i packed = _mm256_packus_epi16(words0, words1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + at),
                        _mm256_permute4x64_epi64(packed, 0xD8));
  }
}
#endif

RowFn PickRow(const PreparedKernel& pk) {
  const int index = pk.size / 2 - 1;  // sizes 3, 5, 7, 9
  switch (pk.width) {
#if defined(__x86_64__)
    case SumWidth::k16:
      return PickVersion(kPlainRows16<CpuVersion::kBaseline>[index],
                         pk.pairs ? ConvolveRowPairsAvx2 : kPlainRows16<CpuVersion::kAvx2>[index]);
    case SumWidth::k32:
      return PickVersion(
          kPlainRows32<CpuVersion::kBaseline>[index],
          pk.wordPairs ? ConvolveRowWordPairsAvx2 : kPlainRows32<CpuVersion::kAvx2>[index]);
#else
    case SumWidth::k16:
      return kPlainRows16<CpuVersion::kBaseline>[index];
    case SumWidth::k32:
      return kPlainRows32<CpuVersion::kBaseline>[index];
#endif
    case SumWidth::k64:
      break;
  }
  return ConvolveRow64;
}

}  // namespace

void RunConvolution(const ProgressEvents& events, cDIBSection& image, cDIBSection& buffer,
                    std::int32_t size, const std::int32_t* kernel, std::int32_t weight,
                    bool intoImage) {
  const PreparedKernel pk = Prepare(size, kernel, weight);
  const RowFn row = PickRow(pk);
  RunNeighbourhoodPass(events, image, buffer, size / 2, intoImage,
                       [&](const std::uint8_t* const* rows, std::uint8_t* out, std::int32_t bytes) {
                         row(rows, pk, out, bytes);
                       });
}

}  // namespace fotavel::detail
