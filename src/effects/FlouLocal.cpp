// FlouLocal: nine in-place softening passes over a rectangle, for the local blur tool.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

constexpr int kPasses = 9;

// Event values follow the rectangle as given; for absurd arguments (a
// rectangle far outside the picture) they would not fit 32 bits, and are held
// at the nearest 32-bit value instead of wrapping round.
std::int32_t Saturated(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A pass is defined column by column, upwards within a column, in place: the
// left column and the pixel below are read with their new values, so the
// result depends on the order, and the pass stays on the calling thread. Pixel
// (x, y) reads the new values of (x − 1, y − 1 … y + 1) and (x, y − 1) and the
// old values of (x, y + 1) and (x + 1, y − 1 … y + 1). Walking a few
// neighbouring columns together, each one two rows behind the one on its left,
// meets every one of those conditions: when (x, y) is computed, column x − 1
// has reached row y + 2 and column x + 1 only row y − 2. The result is the
// column order's, bit for bit, while the rows in use stay in the first-level
// cache and the columns' computations, independent of one another at each
// step, overlap.
constexpr int kWalkColumns = 4;

#if defined(__SSE2__)

// Pixel p in lanes 0 … 2, and the first byte of the next pixel in lane 3
// (never used; it exists wherever this is called, the right neighbour being
// at most column W − 2). A sum of eight bytes fits the 16-bit lanes.
inline __m128i Load(const std::uint8_t* p) {
  std::int32_t word;
  std::memcpy(&word, p, 4);
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(word), _mm_setzero_si128());
}

// One column's walk upwards. It keeps the sum of the left and right
// neighbours of the rows below and level with the pixel, and the new value
// of the pixel below, so moving up a row loads only the three pixels above:
// three loads, five additions and a shift for all three channels.
struct ColumnWalk {
  std::uint8_t* pixel;
  __m128i sidesBelow, sidesHere, below;

  static __m128i Sides(const std::uint8_t* p) { return _mm_add_epi16(Load(p - 3), Load(p + 3)); }

  void Start(std::uint8_t* first, std::ptrdiff_t stride) {
    pixel = first;
    sidesBelow = Sides(pixel - stride);
    sidesHere = Sides(pixel);
    below = Load(pixel - stride);
  }

  void Step(std::ptrdiff_t stride) {
    const std::uint8_t* above = pixel + stride;
    const __m128i sidesAbove = Sides(above);
    const __m128i sum = _mm_add_epi16(_mm_add_epi16(sidesBelow, sidesHere),
                                      _mm_add_epi16(_mm_add_epi16(sidesAbove, below), Load(above)));
    const __m128i value = _mm_srli_epi16(sum, 3);
    const auto bytes =
        static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(value, value)));
    std::memcpy(pixel, &bytes, 2);
    pixel[2] = static_cast<std::uint8_t>(bytes >> 16);
    sidesBelow = sidesHere;
    sidesHere = sidesAbove;
    below = value;
    pixel += stride;
  }
};

// Columns x0 … x0 + Columns − 1 over storage rows first … last, column k
// starting 2k steps after column 0.
template <int Columns>
void SoftenColumns(std::uint8_t* bits, std::ptrdiff_t stride, std::int64_t x0, std::int64_t first,
                   std::int64_t last) {
  const std::int64_t rows = last - first + 1;
  const std::int64_t lag = 2 * (Columns - 1);  // of the last column behind the first
  ColumnWalk walk[Columns] = {};
  walk[0].Start(bits + first * stride + 3 * x0, stride);
  // Steps where some columns have not started or have already finished.
  const auto partialStep = [&](std::int64_t step) {
    for (int k = 0; k < Columns; ++k) {
      const std::int64_t row = step - 2 * k;
      if (row < 0 || row >= rows) continue;
      if (row == 0 && k > 0) walk[k].Start(bits + first * stride + 3 * (x0 + k), stride);
      walk[k].Step(stride);
    }
  };
  // The last column starts at step `lag`; from the next step on, until the
  // first column finishes, every column takes a row.
  const std::int64_t steadyFirst = lag + 1;
  const std::int64_t steadyEnd = std::max(steadyFirst, rows);
  for (std::int64_t step = 0; step < std::min(steadyFirst, rows + lag); ++step) partialStep(step);
  for (std::int64_t step = steadyFirst; step < rows; ++step) {
    for (int k = 0; k < Columns; ++k) walk[k].Step(stride);
  }
  for (std::int64_t step = steadyEnd; step < rows + lag; ++step) partialStep(step);
}

#else

// Elsewhere: the columns one after the other, one channel at a time (the
// channels do not mix), with the same sliding sums.
template <int Columns>
void SoftenColumns(std::uint8_t* bits, std::ptrdiff_t stride, std::int64_t x0, std::int64_t first,
                   std::int64_t last) {
  for (std::int64_t x = x0; x < x0 + Columns; ++x) {
    for (int c = 0; c < 3; ++c) {
      std::uint8_t* pixel = bits + first * stride + 3 * x + c;
      std::int32_t sidesBelow = pixel[-stride - 3] + pixel[-stride + 3];
      std::int32_t sidesHere = pixel[-3] + pixel[3];
      std::int32_t below = pixel[-stride];
      for (std::int64_t y = first; y <= last; ++y) {
        const std::uint8_t* above = pixel + stride;
        const std::int32_t sidesAbove = above[-3] + above[3];
        const std::int32_t value = (sidesBelow + sidesHere + sidesAbove + below + above[0]) >> 3;
        *pixel = static_cast<std::uint8_t>(value);
        sidesBelow = sidesHere;
        sidesHere = sidesAbove;
        below = value;
        pixel += stride;
      }
    }
  }
}

#endif

}  // namespace

void cImageProcessDIB::FlouLocal(cDIBSection& cTo, std::int32_t debutx, std::int32_t debuty,
                                 std::int32_t finx, std::int32_t finy) {
  if (cTo.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  const PassClock clock;
  const std::int64_t width = cTo.width();
  const std::int64_t height = cTo.height();
  // In 64 bits nothing below can overflow, whatever the arguments. The limits
  // keep every visited pixel one pixel inside the picture: columns 3 … W − 3,
  // storage rows 1 … H − 2 (the vertical arguments count from the top). On a
  // picture too small for them the ranges are simply empty.
  const std::int64_t xs = std::max<std::int64_t>(debutx, 3);
  const std::int64_t xe = std::min<std::int64_t>(finx, width - 3);
  const std::int64_t ys = height - std::min<std::int64_t>(finy, height - 1);
  const std::int64_t ye = height - std::max<std::int64_t>(debuty, 2);
  const std::int64_t span = xe - xs;

  std::uint8_t* const bits = cTo.DIBSectionBitsPtr();
  const std::ptrdiff_t stride = cTo.BytesPerScanLine();
  m_events.Init(Saturated(24 * span));
  for (std::int64_t p = 0; p < kPasses; ++p) {
    for (std::int64_t x0 = xs; x0 <= xe;) {
      // Columns are walked a few at a time; their Progress events follow in order.
      const std::int64_t columns = xe - x0 + 1 >= kWalkColumns ? kWalkColumns : 1;
      if (ys <= ye) {
        if (columns == kWalkColumns) {
          SoftenColumns<kWalkColumns>(bits, stride, x0, ys, ye);
        } else {
          SoftenColumns<1>(bits, stride, x0, ys, ye);
        }
      }
      for (const std::int64_t end = x0 + columns; x0 < end; ++x0) {
        m_events.Progress(Saturated(3 * x0 + 3 * (p * span - xs)));
      }
    }
    m_events.Progress(Saturated(3 * p * span));
  }
  m_events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
