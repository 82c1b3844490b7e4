// Combinations of two surfaces: keep the darker, keep the lighter, weighted sum with offsets.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "effects/ColumnStrips.h"
#include "effects/cImageProcessDIB.h"
#include "surface/CpuVersions.h"
#include "surface/InOrder.h"

namespace fotavel {
namespace {

// The pictures are aligned at their bottom-left corners, so destination pixel
// (i, y) takes source pixel (i, y); a larger source is simply not read beyond
// the destination's size.
void CheckPair(const cDIBSection& from, const cDIBSection& to) {
  if (from.empty() || to.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  if (from.width() < to.width() || from.height() < to.height()) {
    throw ImageProcessError(ImageProcessErrors::kSourceTooSmall);
  }
}

// The frame of the three combinations: each pixel depends on the two pixels at
// its own place only, so the order is free, and whole rows are walked one
// after the other: memory is then read and written straight through, which
// measures two to three times faster than strips of columns (a strip's rows
// are short runs a whole stride apart). The column events are paced on the
// rows done (PacedColumnEvents). Raises InitProgress(3 × (W − 1)), Progress
// 0 … 3 × (W − 1) and Complete. rowFn(from, to, bytes) combines `bytes`
// (at most kStripBytes) bytes starting at a pixel; it is called from several
// threads at once on different rows. Rows depend on nothing but themselves
// (even when both pictures are one), so bands of rows are shared out, and
// their paced events raised on the calling thread as the bands complete.
template <class RowFn>
void RunPairPass(const ProgressEvents& events, const cDIBSection& from, cDIBSection& to,
                 RowFn&& rowFn) {
  const PassClock clock;
  const std::int32_t last = 3 * (to.width() - 1);
  events.Init(last);
  PacedColumnEvents progress(events, 0, last, to.height());
  ForEachRowInOrder(
      to.height(), std::int64_t{to.width()} * to.height(),
      [&](std::int32_t y) {
        for (std::int32_t x0 = 0; x0 <= last; x0 += kStripBytes) {
          rowFn(from.row(y) + x0, to.row(y) + x0, std::min(kStripBytes, last + 3 - x0));
        }
      },
      [&](std::int32_t y) { progress.RowDone(y + 1); });
  progress.Finish();
  events.Complete(clock.ElapsedMs());
}

// ---- Keep the darker or the lighter pixel ----

// Which byte of its pixel each byte of a strip is: strips start on a pixel.
struct PixelBytePatterns {
  std::uint8_t is[3][kStripBytes];
  constexpr PixelBytePatterns() : is{} {
    for (std::int32_t j = 0; j < kStripBytes; ++j) {
      for (int k = 0; k < 3; ++k) is[k][j] = j % 3 == k ? 0xFF : 0;
    }
  }
};
constexpr PixelBytePatterns kPixelBytes;

// The measure 929 × green + 71 × blue reaches 255 000, beyond 16 bits, but
// only the sign of 929 Δg + 71 Δb matters (Δ = source − destination).
// |71 Δb| ≤ 18 105 < 929 × 20, so a |Δg| of 20 or more decides alone and Δg
// may be clamped to ±20; then 929 Δg and −71 Δb both fit 16 bits and are
// compared instead of summed. The decision is taken at every byte as if a
// pixel started there, which keeps the loads contiguous for the vectoriser;
// only every third decision is used, spread over the pixel's three bytes.
template <bool TakeLighter>
[[gnu::always_inline]] inline void KeepRow(const std::uint8_t* from, std::uint8_t* to,
                                           std::int32_t bytes) {
  std::uint8_t decision[kStripBytes + 2];  // decision[j + 2] is taken at byte j
  decision[0] = decision[1] = 0;
  for (std::int32_t j = 0; j + 1 < bytes; ++j) {
    const auto green =
        static_cast<std::int16_t>(929 * std::clamp(from[j + 1] - to[j + 1], -20, 20));
    const auto blue = static_cast<std::int16_t>(71 * (to[j] - from[j]));
    const bool take = TakeLighter ? green > blue : green < blue;
    decision[j + 2] = take ? 0xFF : 0;
  }
  decision[bytes + 1] = 0;  // read below under a zero mask only
  for (std::int32_t j = 0; j < bytes; ++j) {
    const std::uint8_t take = (kPixelBytes.is[0][j] & decision[j + 2]) |
                              (kPixelBytes.is[1][j] & decision[j + 1]) |
                              (kPixelBytes.is[2][j] & decision[j]);
    to[j] = static_cast<std::uint8_t>((from[j] & take) | (to[j] & ~take));
  }
}

#if defined(__x86_64__)
// By hand for AVX2, 16 pixels (48 bytes) at a time, without the every-byte
// decisions: the blues and greens of the 16 pixels are gathered from the
// three 16-byte thirds with byte shuffles, the decision (the same clamped
// 16-bit comparison as above) is taken once per pixel in one vector of 16
// words, and its mask is spread back over the pixels' bytes.
struct Gather {
  __m128i blue[3];
  __m128i green[3];
  __m128i spread[3];
};

__attribute__((target("avx2"))) Gather MakeGather() {
  Gather g;
  for (int third = 0; third < 3; ++third) {
    alignas(16) std::int8_t blue[16];
    alignas(16) std::int8_t green[16];
    alignas(16) std::int8_t spread[16];
    for (int k = 0; k < 16; ++k) {
      blue[k] = green[k] = -1;  // a shuffle index with the top bit set gives 0
      const int byte = 16 * third + k;
      spread[k] = static_cast<std::int8_t>(byte / 3);
    }
    for (int pixel = 0; pixel < 16; ++pixel) {
      const int b = 3 * pixel - 16 * third;
      if (b >= 0 && b < 16) blue[pixel] = static_cast<std::int8_t>(b);
      if (b + 1 >= 0 && b + 1 < 16) green[pixel] = static_cast<std::int8_t>(b + 1);
    }
    g.blue[third] = _mm_load_si128(reinterpret_cast<const __m128i*>(blue));
    g.green[third] = _mm_load_si128(reinterpret_cast<const __m128i*>(green));
    g.spread[third] = _mm_load_si128(reinterpret_cast<const __m128i*>(spread));
  }
  return g;
}

template <bool TakeLighter>
__attribute__((target("avx2"))) void KeepRowAvx2(const std::uint8_t* from, std::uint8_t* to,
                                                 std::int32_t bytes) {
  static const Gather g = MakeGather();
  const __m256i limit = _mm256_set1_epi16(20);
  const __m256i greenWeight = _mm256_set1_epi16(929);
  const __m256i blueWeight = _mm256_set1_epi16(71);
  std::int32_t j = 0;
  for (; j + 48 <= bytes; j += 48) {
    __m128i s[3];
    __m128i d[3];
    for (int third = 0; third < 3; ++third) {
      s[third] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + j + 16 * third));
      d[third] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + j + 16 * third));
    }
    const auto channel = [&](const __m128i* v, const __m128i* index)
        __attribute__((target("avx2"))) {
      const __m128i bytes16 = _mm_or_si128(
          _mm_or_si128(_mm_shuffle_epi8(v[0], index[0]), _mm_shuffle_epi8(v[1], index[1])),
          _mm_shuffle_epi8(v[2], index[2]));
      return _mm256_cvtepu8_epi16(bytes16);
    };
    const __m256i dg = _mm256_sub_epi16(channel(s, g.green), channel(d, g.green));
    const __m256i clamped = _mm256_max_epi16(_mm256_min_epi16(dg, limit),
                                             _mm256_sub_epi16(_mm256_setzero_si256(), limit));
    const __m256i green = _mm256_mullo_epi16(clamped, greenWeight);
    const __m256i blue =
        _mm256_mullo_epi16(_mm256_sub_epi16(channel(d, g.blue), channel(s, g.blue)), blueWeight);
    const __m256i take =
        TakeLighter ? _mm256_cmpgt_epi16(green, blue) : _mm256_cmpgt_epi16(blue, green);
    const __m128i mask =
        _mm_packs_epi16(_mm256_castsi256_si128(take), _mm256_extracti128_si256(take, 1));
    for (int third = 0; third < 3; ++third) {
      const __m128i m = _mm_shuffle_epi8(mask, g.spread[third]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + j + 16 * third),
                       _mm_blendv_epi8(d[third], s[third], m));
    }
  }
  if (j < bytes) KeepRow<TakeLighter>(from + j, to + j, bytes - j);
}
#endif

using KeepRowFn = void (*)(const std::uint8_t*, std::uint8_t*, std::int32_t);

// The AVX2 version is the one by hand above; the baseline is the plain loop.
template <bool TakeLighter>
KeepRowFn PickKeepRow() {
#if defined(__x86_64__)
  return PickVersion<KeepRowFn>(Versioned<KeepRow<TakeLighter>>::Baseline,
                                KeepRowAvx2<TakeLighter>);
#else
  return Versioned<KeepRow<TakeLighter>>::Baseline;
#endif
}

// ---- Weighted sum ----

// Each byte becomes clamp(mF × s + mT × d + C) with C = mF × oF + mT × oT for
// its channel. The sums are computed in the narrowest lanes that hold every
// value they can take, partial sums included; multipliers and offsets that
// reach beyond 32 bits take the exact 64-bit path.
struct Weights {
  std::int64_t fromMultiplier;
  std::int64_t toMultiplier;
  std::int64_t fromOffset[3];  // by byte of the pixel: blue, green, red
  std::int64_t toOffset[3];
};

// C for every byte of a strip, so that the vectorised loop needs no modulo.
template <class Lane>
struct ChannelConstants {
  Lane c[kStripBytes];
  explicit ChannelConstants(const Weights& w) {
    for (std::int32_t j = 0; j < kStripBytes; ++j) {
      const int k = j % 3;
      c[j] = static_cast<Lane>(w.fromMultiplier * w.fromOffset[k] + w.toMultiplier * w.toOffset[k]);
    }
  }
};

template <class Lane, bool ReadTo>
[[gnu::always_inline]] inline void WeightedRow(const std::uint8_t* from, std::uint8_t* to,
                                               std::int32_t bytes, Lane mF, Lane mT,
                                               const Lane* c) {
  for (std::int32_t j = 0; j < bytes; ++j) {
    Lane v = static_cast<Lane>(mF * from[j] + c[j]);
    if constexpr (ReadTo) v = static_cast<Lane>(v + mT * to[j]);
    to[j] = static_cast<std::uint8_t>(std::clamp<Lane>(v, 0, 255));
  }
}

template <class Lane>
void RunWeighted(const ProgressEvents& events, const cDIBSection& from, cDIBSection& to,
                 const Weights& w) {
  const ChannelConstants<Lane> constants(w);
  const Lane mF = static_cast<Lane>(w.fromMultiplier);
  const Lane mT = static_cast<Lane>(w.toMultiplier);
  // (d + oT) × 0 is 0 whatever d is: the destination need not be read.
  const bool readTo = mT != 0;
  void (*const row)(const std::uint8_t*, std::uint8_t*, std::int32_t, Lane, Lane, const Lane*) =
      readTo ? Versioned<WeightedRow<Lane, true>>::Pick()
             : Versioned<WeightedRow<Lane, false>>::Pick();
  RunPairPass(events, from, to, [&](const std::uint8_t* f, std::uint8_t* t, std::int32_t bytes) {
    row(f, t, bytes, mF, mT, constants.c);
  });
}

// Multipliers and offsets anywhere in the 32-bit range: each term
// (v + offset) × multiplier is exact in 64 bits (|term| < 2^62 + 2^40) and
// tabulated for the 256 values of each channel; the sum of the two terms can
// pass 2^63, where its sign alone decides the clamp.
void RunWeightedWide(const ProgressEvents& events, const cDIBSection& from, cDIBSection& to,
                     const Weights& w) {
  std::int64_t fromTerm[3][256];
  std::int64_t toTerm[3][256];
  for (int k = 0; k < 3; ++k) {
    for (std::int64_t v = 0; v < 256; ++v) {
      fromTerm[k][v] = (v + w.fromOffset[k]) * w.fromMultiplier;
      toTerm[k][v] = (v + w.toOffset[k]) * w.toMultiplier;
    }
  }
  RunPairPass(events, from, to, [&](const std::uint8_t* f, std::uint8_t* t, std::int32_t bytes) {
    for (std::int32_t j = 0; j < bytes; ++j) {
      const int k = j % 3;
      std::int64_t sum;
      if (__builtin_add_overflow(fromTerm[k][f[j]], toTerm[k][t[j]], &sum)) {
        sum = fromTerm[k][f[j]] < 0 ? 0 : 255;
      }
      t[j] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(sum, 0, 255));
    }
  });
}

}  // namespace

void cImageProcessDIB::AddLightest(const cDIBSection& cFrom, cDIBSection& cTo) {
  CheckPair(cFrom, cTo);
  RunPairPass(m_events, cFrom, cTo, PickKeepRow<false>());
}

void cImageProcessDIB::AddDarkest(const cDIBSection& cFrom, cDIBSection& cTo) {
  CheckPair(cFrom, cTo);
  const ProgressEvents silent;  // this combination raises no events
  RunPairPass(silent, cFrom, cTo, PickKeepRow<true>());
}

void cImageProcessDIB::AddImages(const cDIBSection& cFrom, cDIBSection& cTo,
                                 std::int32_t lFromMultiplier, std::int32_t lFromOffsetR,
                                 std::int32_t lFromOffsetG, std::int32_t lFromOffsetB,
                                 std::int32_t lToMultiplier, std::int32_t lToOffsetR,
                                 std::int32_t lToOffsetG, std::int32_t lToOffsetB) {
  CheckPair(cFrom, cTo);
  // The offsets named R apply to the first byte of a pixel, which holds blue.
  const Weights w{lFromMultiplier,
                  lToMultiplier,
                  {lFromOffsetR, lFromOffsetG, lFromOffsetB},
                  {lToOffsetR, lToOffsetG, lToOffsetB}};
  // The largest |value| any sum or partial sum can take.
  __int128 reach = 0;
  for (int k = 0; k < 3; ++k) {
    const __int128 c =
        __int128{w.fromMultiplier} * w.fromOffset[k] + __int128{w.toMultiplier} * w.toOffset[k];
    reach = std::max(reach, c < 0 ? -c : c);
  }
  reach += 255 * (__int128{std::abs(w.fromMultiplier)} + std::abs(w.toMultiplier));
  if (reach <= INT16_MAX) {
    RunWeighted<std::int16_t>(m_events, cFrom, cTo, w);
  } else if (reach <= INT32_MAX) {
    RunWeighted<std::int32_t>(m_events, cFrom, cTo, w);
  } else {
    RunWeightedWide(m_events, cFrom, cTo, w);
  }
}

}  // namespace fotavel
