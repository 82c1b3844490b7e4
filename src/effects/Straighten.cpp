// Crop and Straighten: a rectangle of the picture kept, and the picture turned by a small angle.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "effects/cImageProcessDIB.h"
#include "surface/CpuVersions.h"
#include "surface/InOrder.h"

namespace fotavel {
namespace {

// Straightening resamples with the cubic convolution kernel of Keys with
// a = -0.5 (Catmull-Rom): for a sample at fraction t past pixel 1 of four
// neighbours 0 … 3 the weights are
//   w0 = (-t^3 + 2t^2 - t) / 2      w1 = (3t^3 - 5t^2 + 2) / 2
//   w2 = (-3t^3 + 4t^2 + t) / 2     w3 = (t^3 - t^2) / 2.
// It passes through the pixels themselves (t = 0 gives 0, 1, 0, 0), so an
// angle of 0 changes nothing, and it keeps edges sharper than a B-spline.
//
// Everything after the angle's sine and cosine is integer arithmetic, so every
// machine-code version gives the same bytes: positions in 1/2^29 of a pixel,
// rounded to 1/256 (kPhases) for the weights, which are in 1/2048 and sum to
// exactly 2048. A row of four taps is summed first, then the four row sums;
// every partial sum is a whole number within 32 bits, so a faster version
// may add the same products in another order and still give the same bytes.
// PlainPixel says what a pixel is; the row walk hands the stretch of pixels
// whose taps all lie inside the picture to InteriorBaseline or InteriorAvx2.
constexpr std::int32_t kPhaseBits = 8;
constexpr std::int32_t kPhases = 1 << kPhaseBits;
constexpr std::int32_t kWeightBits = 11;
constexpr std::int32_t kPositionBits = 29;
// cos and sin in 1/2^28: twice a pixel offset times either stays within 63 bits.
constexpr std::int32_t kTrigBits = kPositionBits - 1;

using Weights = std::array<std::int32_t, 4>;

std::array<Weights, kPhases> MakeWeights() {
  std::array<Weights, kPhases> table{};
  for (std::int32_t p = 0; p < kPhases; ++p) {
    const double t = double(p) / kPhases;
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double w[4] = {(-t3 + 2 * t2 - t) / 2, (3 * t3 - 5 * t2 + 2) / 2,
                         (-3 * t3 + 4 * t2 + t) / 2, (t3 - t2) / 2};
    Weights& out = table[static_cast<std::size_t>(p)];
    std::int32_t sum = 0;
    for (int i = 0; i < 4; ++i) {
      out[i] = static_cast<std::int32_t>(std::nearbyint(w[i] * (1 << kWeightBits)));
      sum += out[i];
    }
    // Rounding may leave the sum a unit off: the larger middle weight takes it.
    out[out[2] > out[1] ? 2 : 1] += (1 << kWeightBits) - sum;
  }
  return table;
}

const std::array<Weights, kPhases>& CubicWeights() {
  static const std::array<Weights, kPhases> table = MakeWeights();
  return table;
}

// The fixed-point turn from a destination pixel back to the source.
struct Turn {
  std::int64_t cos = 0;
  std::int64_t sin = 0;
};

Turn TurnFor(double degrees) {
  const double radians = degrees * std::numbers::pi / 180.0;
  return {std::llround(std::cos(radians) * double(std::int64_t{1} << kTrigBits)),
          std::llround(std::sin(radians) * double(std::int64_t{1} << kTrigBits))};
}

// The source points of one destination row, in 1/2^29 of a pixel with the
// half of the final rounding already added. Offsets from the centres are kept
// doubled so that a centre between two pixels stays an integer; turning
// clockwise by the angle takes offset (dx, dy) of the source to
// (dx cos - dy sin, dx sin + dy cos), so a destination offset comes from
// (dx cos + dy sin, -dx sin + dy cos). One pixel to the right adds exactly
// 2 cos and -2 sin, so walking a row by whole-number steps gives the same
// points as computing each one afresh.
struct RowWalk {
  std::int64_t u = 0;
  std::int64_t v = 0;
  std::int64_t du = 0;
  std::int64_t dv = 0;
};

constexpr std::int32_t kDrop = kPositionBits - kPhaseBits;

RowWalk WalkOf(const Turn& turn, std::int32_t y, PixelSize from, PixelSize to) {
  const std::int64_t dx2 = -(std::int64_t{to.width} - 1);
  const std::int64_t dy2 = 2 * std::int64_t{y} - (to.height - 1);
  constexpr std::int64_t half = std::int64_t{1} << (kDrop - 1);
  return {(std::int64_t{from.width} - 1) * (std::int64_t{1} << kTrigBits) + dx2 * turn.cos +
              dy2 * turn.sin + half,
          (std::int64_t{from.height} - 1) * (std::int64_t{1} << kTrigBits) - dx2 * turn.sin +
              dy2 * turn.cos + half,
          2 * turn.cos, -2 * turn.sin};
}

// Source point of pixel x of the row, in 1/256 of a pixel.
inline std::int64_t PointU(const RowWalk& walk, std::int32_t x) {
  return (walk.u + x * walk.du) >> kDrop;
}
inline std::int64_t PointV(const RowWalk& walk, std::int32_t x) {
  return (walk.v + x * walk.dv) >> kDrop;
}

// True when all sixteen taps of point (u, v) lie inside the picture.
inline bool TapsInside(std::int64_t u, std::int64_t v, PixelSize from) {
  const std::int64_t column = u >> kPhaseBits, row = v >> kPhaseBits;
  return column >= 1 && column + 2 < from.width && row >= 1 && row + 2 < from.height;
}

// True when none of them does.
inline bool TapsOutside(std::int64_t u, std::int64_t v, PixelSize from) {
  const std::int64_t column = u >> kPhaseBits, row = v >> kPhaseBits;
  return column + 2 < 0 || column - 1 >= from.width || row + 2 < 0 || row - 1 >= from.height;
}

// One pixel as the operation defines it, each tap on its own: past the edge
// the picture goes on as its edge pixels when cropped (those taps only soften
// the border), as white otherwise.
void PlainPixel(const cDIBSection& image, std::int64_t u, std::int64_t v, bool whiteCorners,
                std::uint8_t* out) {
  const PixelSize from{image.width(), image.height()};
  const std::int64_t u0 = (u >> kPhaseBits) - 1;
  const std::int64_t v0 = (v >> kPhaseBits) - 1;
  const Weights& wx = CubicWeights()[static_cast<std::size_t>(u & (kPhases - 1))];
  const Weights& wy = CubicWeights()[static_cast<std::size_t>(v & (kPhases - 1))];
  for (int channel = 0; channel < 3; ++channel) {
    std::int32_t sum = 0;
    for (int j = 0; j < 4; ++j) {
      std::int64_t row = v0 + j;
      const bool rowOutside = row < 0 || row >= from.height;
      row = std::clamp<std::int64_t>(row, 0, from.height - 1);
      const std::uint8_t* source = image.row(from.height - 1 - std::int32_t(row));
      std::int32_t rowSum = 0;
      for (int i = 0; i < 4; ++i) {
        std::int64_t column = u0 + i;
        const bool outside = rowOutside || column < 0 || column >= from.width;
        column = std::clamp<std::int64_t>(column, 0, from.width - 1);
        const std::int32_t value = whiteCorners && outside ? 255 : source[3 * column + channel];
        rowSum += wx[i] * value;
      }
      sum += wy[j] * rowSum;
    }
    constexpr std::int32_t shift = 2 * kWeightBits;
    out[channel] =
        static_cast<std::uint8_t>(std::clamp((sum + (1 << (shift - 1))) >> shift, 0, 255));
  }
}

// Pixels x … x + count - 1 of a row whose sixteen taps all lie inside the
// picture: no clamping, no white. The sums are the plain pixel's, in the same
// integers (every partial sum fits 32 bits), so every version gives its bytes.
using InteriorFn = void (*)(const cDIBSection&, const RowWalk&, std::int32_t, std::int32_t,
                            std::uint8_t*);

#if defined(__x86_64__)
// Tap row j's twelve bytes and the five after them, which are the picture's
// (its next storage row or padding) for every row but the picture's top one;
// that one is copied out first.
struct SseTapRow {
  std::uint8_t copy[24];
  const std::uint8_t* bytes;

  SseTapRow(const std::uint8_t* p, bool topRow) : bytes(p) {
    if (topRow) {
      std::memset(copy, 0, sizeof copy);
      std::memcpy(copy, p, 12);
      bytes = copy;
    }
  }
};

// Eight bytes from p as 16-bit values.
inline __m128i EightWide(const std::uint8_t* p) {
  return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                           _mm_setzero_si128());
}

// [c0, c1, c2, _] of one tap row: taps 0 and 3 bytes apart paired by
// interleaving the bytes from p with those from p + 3, and multiplied by
// [w0, w1] (pmaddwd), taps 2 and 3 likewise from p + 6 and p + 9.
inline __m128i RowSumsSse2(const std::uint8_t* p, __m128i w01, __m128i w23) {
  return _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(EightWide(p), EightWide(p + 3)), w01),
                       _mm_madd_epi16(_mm_unpacklo_epi16(EightWide(p + 6), EightWide(p + 9)), w23));
}

// SSE2 has no 32-bit multiply: each row sum is split into hi * 4096 + lo
// (lo in 0 … 4095, hi in -16 … 143, both 16-bit), two rows' halves are laid
// side by side as 16-bit pairs, and pmaddwd applies the two column weights.
inline __m128i SplitPairs(__m128i a, __m128i b, bool high) {
  const __m128i low16 = _mm_set1_epi32(0xFFFF);
  if (high) {
    return _mm_or_si128(_mm_and_si128(_mm_srai_epi32(a, 12), low16),
                        _mm_slli_epi32(_mm_srai_epi32(b, 12), 16));
  }
  const __m128i low12 = _mm_set1_epi32(0xFFF);
  return _mm_or_si128(_mm_and_si128(a, low12), _mm_slli_epi32(_mm_and_si128(b, low12), 16));
}

void InteriorBaseline(const cDIBSection& image, const RowWalk& walk, std::int32_t x,
                      std::int32_t count, std::uint8_t* out) {
  // Rows from the top run down the storage from its last row; the step is
  // taken once, as the surface's row() is not inlined into this loop.
  const std::uint8_t* top = image.row(image.height() - 1);
  const std::ptrdiff_t down = -std::ptrdiff_t{image.BytesPerScanLine()};
  const auto& weights = CubicWeights();
  const __m128i rounding = _mm_set1_epi32(1 << (2 * kWeightBits - 1));
  std::int64_t u = walk.u + x * walk.du, v = walk.v + x * walk.dv;
  for (std::int32_t k = 0; k < count; ++k, u += walk.du, v += walk.dv) {
    const std::int64_t pu = u >> kDrop, pv = v >> kDrop;
    const std::ptrdiff_t row = (pv >> kPhaseBits) - 1;
    const std::uint8_t* first = top + row * down + 3 * ((pu >> kPhaseBits) - 1);
    const Weights& wx = weights[static_cast<std::size_t>(pu & (kPhases - 1))];
    const Weights& wy = weights[static_cast<std::size_t>(pv & (kPhases - 1))];
    const __m128i w01 = _mm_set1_epi32((wx[1] << 16) | (wx[0] & 0xFFFF));
    const __m128i w23 = _mm_set1_epi32((wx[3] << 16) | (wx[2] & 0xFFFF));
    const SseTapRow row0(first, row == 0);
    const __m128i r0 = RowSumsSse2(row0.bytes, w01, w23);
    const __m128i r1 = RowSumsSse2(first + down, w01, w23);
    const __m128i r2 = RowSumsSse2(first + 2 * down, w01, w23);
    const __m128i r3 = RowSumsSse2(first + 3 * down, w01, w23);
    const __m128i y01 = _mm_set1_epi32((wy[1] << 16) | (wy[0] & 0xFFFF));
    const __m128i y23 = _mm_set1_epi32((wy[3] << 16) | (wy[2] & 0xFFFF));
    const __m128i high = _mm_add_epi32(_mm_madd_epi16(SplitPairs(r0, r1, true), y01),
                                       _mm_madd_epi16(SplitPairs(r2, r3, true), y23));
    const __m128i low = _mm_add_epi32(_mm_madd_epi16(SplitPairs(r0, r1, false), y01),
                                      _mm_madd_epi16(SplitPairs(r2, r3, false), y23));
    const __m128i sums = _mm_add_epi32(_mm_slli_epi32(high, 12), low);
    const __m128i shifted = _mm_srai_epi32(_mm_add_epi32(sums, rounding), 2 * kWeightBits);
    const __m128i packed = _mm_packs_epi32(shifted, shifted);
    const std::int32_t pixel = _mm_cvtsi128_si32(_mm_packus_epi16(packed, packed));
    // The fourth byte goes into the next pixel, which is written after this
    // one; the stretch's last pixel is written as three.
    if (k + 1 < count) {
      std::memcpy(out + 3 * std::ptrdiff_t{k}, &pixel, 4);
    } else {
      std::memcpy(out + 3 * std::ptrdiff_t{k}, &pixel, 3);
    }
  }
}
#else
// Elsewhere the interior is the plain pixel's, which the tests compare.
void InteriorBaseline(const cDIBSection& image, const RowWalk& walk, std::int32_t x,
                      std::int32_t count, std::uint8_t* out) {
  for (std::int32_t k = 0; k < count; ++k) {
    PlainPixel(image, PointU(walk, x + k), PointV(walk, x + k), false, out + 3 * k);
  }
}
#endif

#if defined(__x86_64__)
// The weights laid out for the vector version: a row's four as 16-bit pairs
// for each of two channels, each column weight four times, and the column
// weights in pairs for channel 2, whose two rows share a register.
struct VectorWeights {
  alignas(16) std::int16_t x[kPhases][8];     // w0 w1 w2 w3 w0 w1 w2 w3
  alignas(16) std::int32_t y[kPhases][4][4];  // wj wj wj wj for row j
  alignas(16) std::int32_t y01[kPhases][4];   // w0 w0 w1 w1
  alignas(16) std::int32_t y23[kPhases][4];   // w2 w2 w3 w3
};

const VectorWeights& VectorCubicWeights() {
  static const VectorWeights table = [] {
    VectorWeights t{};
    const auto& weights = CubicWeights();
    for (std::size_t p = 0; p < std::size_t{kPhases}; ++p) {
      const Weights& w = weights[p];
      for (int i = 0; i < 8; ++i) t.x[p][i] = static_cast<std::int16_t>(w[i % 4]);
      for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) t.y[p][j][i] = w[j];
        t.y01[p][i] = w[i / 2];
        t.y23[p][i] = w[2 + i / 2];
      }
    }
    return t;
  }();
  return table;
}

// Where one pixel's sixteen taps are: the first byte of its top tap row, and
// its phases.
struct TapPoint {
  const std::uint8_t* first;
  bool topRow;  // the top tap row is the picture's top row
  std::size_t phaseX;
  std::size_t phaseY;
};

inline TapPoint TapPointOf(std::int64_t u, std::int64_t v, const std::uint8_t* top,
                           std::ptrdiff_t down) {
  const std::int64_t pu = u >> kDrop, pv = v >> kDrop;
  const std::ptrdiff_t row = (pv >> kPhaseBits) - 1;
  return {top + row * down + 3 * ((pu >> kPhaseBits) - 1), row == 0,
          static_cast<std::size_t>(pu & (kPhases - 1)),
          static_cast<std::size_t>(pv & (kPhases - 1))};
}

// Tap row j's twelve bytes. Sixteen are read where the four past the twelve
// are still the picture's (its next storage row or padding): every row but
// the picture's top one.
[[gnu::target("avx2")]] inline __m128i TapRow(const TapPoint& point, int j, std::ptrdiff_t down) {
  const std::uint8_t* p = point.first + j * down;
  if (j == 0 && point.topRow) {
    std::int32_t last;
    std::memcpy(&last, p + 8, 4);
    return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                              _mm_cvtsi32_si128(last));
  }
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

[[gnu::target("avx2")]] inline __m256i Pair(const void* a, const void* b) {
  return _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_load_si128(static_cast<const __m128i*>(a))),
      _mm_load_si128(static_cast<const __m128i*>(b)), 1);
}

// Two pixels at once, one in each half of the registers. Each source row's
// twelve bytes are regrouped by channel as 16-bit taps and multiplied in
// pairs by the row weights (pmaddwd); the pair sums are multiplied by the
// column weights in 32 bits and added, and only the last step adds across
// lanes: the plain pixel's integers. Returns each pixel's three bytes at the
// start of its half.
[[gnu::target("avx2")]] inline __m256i TwoPixels(const TapPoint& a, const TapPoint& b,
                                                 std::ptrdiff_t down, const VectorWeights& w) {
  const __m256i firstTwo =
      _mm256_setr_epi8(0, -1, 3, -1, 6, -1, 9, -1, 1, -1, 4, -1, 7, -1, 10, -1, 0, -1, 3, -1, 6, -1,
                       9, -1, 1, -1, 4, -1, 7, -1, 10, -1);
  const __m256i thirdLow =
      _mm256_setr_epi8(2, -1, 5, -1, 8, -1, 11, -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, -1, 5, -1, 8,
                       -1, 11, -1, -1, -1, -1, -1, -1, -1, -1, -1);
  const __m256i thirdHigh =
      _mm256_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, 2, -1, 5, -1, 8, -1, 11, -1, -1, -1, -1, -1,
                       -1, -1, -1, -1, 2, -1, 5, -1, 8, -1, 11, -1);
  const __m256i wx = Pair(w.x[a.phaseX], w.x[b.phaseX]);
  __m256i rows[4];
  // Channels 0 and 1: [c0 taps 0+1, c0 taps 2+3, c1 taps 0+1, c1 taps 2+3]
  // times the row's column weight, summed over the rows.
  __m256i first = _mm256_setzero_si256();
  for (int j = 0; j < 4; ++j) {
    rows[j] =
        _mm256_inserti128_si256(_mm256_castsi128_si256(TapRow(a, j, down)), TapRow(b, j, down), 1);
    first = _mm256_add_epi32(
        first, _mm256_mullo_epi32(_mm256_madd_epi16(_mm256_shuffle_epi8(rows[j], firstTwo), wx),
                                  Pair(w.y[a.phaseY][j], w.y[b.phaseY][j])));
  }
  // Channel 2 of two rows in one register.
  const __m256i t01 = _mm256_madd_epi16(_mm256_or_si256(_mm256_shuffle_epi8(rows[0], thirdLow),
                                                        _mm256_shuffle_epi8(rows[1], thirdHigh)),
                                        wx);
  const __m256i t23 = _mm256_madd_epi16(_mm256_or_si256(_mm256_shuffle_epi8(rows[2], thirdLow),
                                                        _mm256_shuffle_epi8(rows[3], thirdHigh)),
                                        wx);
  const __m256i third =
      _mm256_add_epi32(_mm256_mullo_epi32(t01, Pair(w.y01[a.phaseY], w.y01[b.phaseY])),
                       _mm256_mullo_epi32(t23, Pair(w.y23[a.phaseY], w.y23[b.phaseY])));
  // [c0, c1, c2 half, c2 half], then the halves added into lane 2.
  const __m256i halves = _mm256_hadd_epi32(first, third);
  const __m256i sums =
      _mm256_blend_epi32(halves, _mm256_add_epi32(halves, _mm256_bsrli_epi128(halves, 4)), 0x44);
  const __m256i shifted = _mm256_srai_epi32(
      _mm256_add_epi32(sums, _mm256_set1_epi32(1 << (2 * kWeightBits - 1))), 2 * kWeightBits);
  return _mm256_packus_epi16(_mm256_packs_epi32(shifted, shifted), shifted);
}

[[gnu::target("avx2")]] void InteriorAvx2(const cDIBSection& image, const RowWalk& walk,
                                          std::int32_t x, std::int32_t count, std::uint8_t* out) {
  const std::uint8_t* top = image.row(image.height() - 1);
  const std::ptrdiff_t down = -std::ptrdiff_t{image.BytesPerScanLine()};
  const VectorWeights& weights = VectorCubicWeights();
  std::int64_t u = walk.u + x * walk.du, v = walk.v + x * walk.dv;
  // The fourth byte of each pixel goes into the next one, which is written
  // after it; the stretch's last pixel is written as three. An odd last
  // pixel goes with itself.
  const auto store = [](std::uint8_t* to, __m128i bytes, std::size_t size) {
    const std::int32_t pixel = _mm_cvtsi128_si32(bytes);
    std::memcpy(to, &pixel, size);
  };
  std::int32_t k = 0;
  for (; k + 2 < count; k += 2, u += 2 * walk.du, v += 2 * walk.dv) {
    const __m256i bytes = TwoPixels(TapPointOf(u, v, top, down),
                                    TapPointOf(u + walk.du, v + walk.dv, top, down), down, weights);
    store(out + 3 * std::ptrdiff_t{k}, _mm256_castsi256_si128(bytes), 4);
    store(out + 3 * std::ptrdiff_t{k} + 3, _mm256_extracti128_si256(bytes, 1), 4);
  }
  const TapPoint a = TapPointOf(u, v, top, down);
  if (k + 1 < count) {
    const __m256i bytes =
        TwoPixels(a, TapPointOf(u + walk.du, v + walk.dv, top, down), down, weights);
    store(out + 3 * std::ptrdiff_t{k}, _mm256_castsi256_si128(bytes), 4);
    store(out + 3 * std::ptrdiff_t{k} + 3, _mm256_extracti128_si256(bytes, 1), 3);
  } else {
    store(out + 3 * std::ptrdiff_t{k}, _mm256_castsi256_si128(TwoPixels(a, a, down, weights)), 3);
  }
}
#endif

InteriorFn PickInterior() {
#if defined(__x86_64__)
  return PickVersion<InteriorFn>(InteriorBaseline, InteriorAvx2);
#else
  return InteriorBaseline;
#endif
}

// One destination row: the stretch whose taps all lie inside the picture
// (one stretch, since the source point moves in a straight line) by the
// interior version, the pixels before and after it each tap on its own.
void TurnRow(const cDIBSection& image, const RowWalk& walk, std::int32_t width, bool whiteCorners,
             InteriorFn interior, std::uint8_t* out) {
  const PixelSize from{image.width(), image.height()};
  const auto inside = [&](std::int32_t x) {
    return TapsInside(PointU(walk, x), PointV(walk, x), from);
  };
  std::int32_t first = 0;
  while (first < width && !inside(first)) ++first;
  std::int32_t end = width;
  while (end > first && !inside(end - 1)) --end;
  const auto border = [&](std::int32_t x) {
    const std::int64_t u = PointU(walk, x), v = PointV(walk, x);
    // With white corners, a pixel whose taps all fall outside is 255 x 2048 x
    // 2048 / 2^22: white, and most of a corner is such pixels.
    if (whiteCorners && TapsOutside(u, v, from)) {
      std::memset(out + 3 * x, 255, 3);
    } else {
      PlainPixel(image, u, v, whiteCorners, out + 3 * x);
    }
  };
  for (std::int32_t x = 0; x < first; ++x) border(x);
  if (end > first) interior(image, walk, first, end - first, out + 3 * std::ptrdiff_t{first});
  for (std::int32_t x = end; x < width; ++x) border(x);
}

}  // namespace

void cImageProcessDIB::Crop(cDIBSection& image, const PixelRect& rect) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  if (!RectInside(rect, image.width(), image.height())) {
    throw ImageProcessError(ImageProcessErrors::kCropOutside);
  }
  const PassClock clock;
  cDIBSection cropped;
  if (!cropped.Create(rect.width, rect.height)) {
    throw ImageProcessError(ImageProcessErrors::kOutOfMemory);
  }
  m_events.Init(rect.height - 1);
  const std::int32_t height = image.height();
  // Each row is copied on its own: bands of rows are shared out.
  ForEachRowInOrder(
      rect.height, std::int64_t{rect.width} * rect.height,
      [&](std::int32_t y) {
        // Row y from the top of the rectangle is storage row height - 1 - (top + y).
        std::memcpy(cropped.row(rect.height - 1 - y),
                    image.row(height - 1 - rect.top - y) + std::ptrdiff_t{rect.left} * 3,
                    std::size_t(3) * std::size_t(rect.width));
      },
      [&](std::int32_t y) { m_events.Progress(y); });
  image.swap(cropped);
  cropped.ClearUp();
  m_events.Complete(clock.ElapsedMs());
}

void cImageProcessDIB::Straighten(cDIBSection& image, double degrees, bool whiteCorners) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  if (!(std::abs(degrees) <= kMaxStraightenDegrees)) {
    throw ImageProcessError(ImageProcessErrors::kAngleRange);
  }
  const PassClock clock;
  const PixelSize from{image.width(), image.height()};
  const PixelSize to = StraightenedSize(from.width, from.height, degrees, whiteCorners);
  cDIBSection turned;
  if (!turned.Create(to.width, to.height)) {
    throw ImageProcessError(ImageProcessErrors::kOutOfMemory);
  }
  const Turn turn = TurnFor(degrees);
  const InteriorFn interior = PickInterior();
  m_events.Init(to.height - 1);
  // A destination row reads only the source: bands of rows are shared out.
  ForEachRowInOrder(
      to.height, std::int64_t{to.width} * to.height,
      [&](std::int32_t y) {
        TurnRow(image, WalkOf(turn, y, from, to), to.width, whiteCorners, interior,
                turned.row(to.height - 1 - y));
      },
      [&](std::int32_t y) { m_events.Progress(y); });
  image.swap(turned);
  turned.ClearUp();
  m_events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
