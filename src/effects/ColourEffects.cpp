// Per-pixel colour effects of the engine: grey levels, fading, saturation, the black-and-white cut.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "effects/ColumnStrips.h"
#include "effects/cImageProcessDIB.h"
#include "surface/CpuVersions.h"

namespace fotavel {

namespace {

// Every effect here is a function of one pixel, so the order in which pixels
// are visited does not matter: RunPixelPass walks strips row by row and raises
// the per-column Progress events afterwards. The row functions below are
// written as plain loops over the pixels of a row so that GCC vectorises
// them; each is compiled again for AVX2, and the pass runs the version
// ChosenVersion allows.
// Neither build enables FMA, which would change the double arithmetic of
// the saturation table.

// Exact floor(s / 3) for 0 <= s <= 765 (21846 / 2^16 is good up to 32767).
inline std::uint32_t DivideBy3(std::uint32_t s) { return (s * 21846u) >> 16; }

// Exact floor(x / 255) for 0 <= x <= 65025, all in 16 bits.
inline std::uint16_t DivideBy255(std::uint16_t x) {
  return static_cast<std::uint16_t>((x + 1u + (x >> 8)) >> 8);
}

// round((222 R + 707 G + 71 B) / 1000), halves to even, in single precision
// with the same result: the weighted sum is an integer below 2^24, so exact
// in float. The quotient is a multiple of 1/1000: an exact half is
// representable and comes out exactly, and any other quotient lies at least
// 0.001 from a half, far beyond the float's error below 256 (2^-17), so
// rounding the float quotient gives the same integer.
inline float RoundHalfEvenFloat(float v) {
  constexpr float kShift = 12582912.0f;  // 1.5 × 2^23, exact for |v| < 2^22
  return (v + kShift) - kShift;
}

[[gnu::always_inline]] inline void GreyRow(std::uint8_t* p, std::int32_t pixels) {
  for (std::int32_t i = 0; i < pixels; ++i) {
    const float s = 71.0f * p[3 * i] + 707.0f * p[3 * i + 1] + 222.0f * p[3 * i + 2];
    const float v = RoundHalfEvenFloat(s / 1000.0f);
    p[3 * i] = p[3 * i + 1] = p[3 * i + 2] =
        static_cast<std::uint8_t>(static_cast<std::int32_t>(v));
  }
}

// Each byte scaled by amount / 255, truncated. Channels are independent, so
// the row is one run of bytes.
[[gnu::always_inline]] inline void FadeRow(std::uint8_t* p, std::int32_t bytes,
                                           std::uint16_t amount) {
  for (std::int32_t i = 0; i < bytes; ++i) {
    p[i] = static_cast<std::uint8_t>(DivideBy255(static_cast<std::uint16_t>(p[i] * amount)));
  }
}

// Saturation: each channel c of a pixel with grey level g (the truncated
// third of B + G + R) becomes clamp(round((c − g) × f + c)), in double from
// the single-precision f. The result depends on (g, c) only, so the call
// first evaluates that very formula for all 256 × 256 pairs; each pixel then
// costs one multiply-and-shift and three lookups in the row of its grey
// (neighbouring pixels mostly share a grey, so that row stays in L1). This
// scalar loop runs faster than a vectorised evaluation of the doubles.
constexpr std::int32_t kSatureTableSize = 256 * 256;

[[gnu::always_inline]] inline void FillSatureTable(std::uint8_t* table, float f) {
  for (std::int32_t grey = 0; grey < 256; ++grey) {
    for (std::int32_t c = 0; c < 256; ++c) {
      const double v = std::nearbyint(double(c - grey) * double{f} + double(c));
      table[grey * 256 + c] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
  }
}

// The table and the picture never overlap (restrict), and the loop is kept
// out of line: inlined into the pass frame, GCC ran short of registers and
// reloaded the pixel bytes after every store.
__attribute__((noinline)) void SatureRow(std::uint8_t* __restrict p, std::int32_t pixels,
                                         const std::uint8_t* __restrict table) {
  for (std::int32_t i = 0; i < pixels; ++i) {
    const std::uint32_t b = p[3 * i], g = p[3 * i + 1], r = p[3 * i + 2];
    const std::uint8_t* row = table + 256 * DivideBy3(b + g + r);
    p[3 * i] = row[b];
    p[3 * i + 1] = row[g];
    p[3 * i + 2] = row[r];
  }
}

// round((B + G + R) / 3) < 129 is black. A third of an integer is never a
// half, so this is simply B + G + R >= 386 for white.
[[gnu::always_inline]] inline void CutRow(std::uint8_t* p, std::int32_t pixels) {
  for (std::int32_t i = 0; i < pixels; ++i) {
    const std::uint32_t sum = std::uint32_t(p[3 * i]) + p[3 * i + 1] + p[3 * i + 2];
    const std::uint8_t v = sum >= 386u ? 255 : 0;
    p[3 * i] = p[3 * i + 1] = p[3 * i + 2] = v;
  }
}

void RefuseEmpty(const cDIBSection& image) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
}

}  // namespace

void cImageProcessDIB::GrayScale(cDIBSection& image) {
  RefuseEmpty(image);
  RunPixelPass(m_events, image.view(), Versioned<GreyRow>::Pick());
}

void cImageProcessDIB::Fade(cDIBSection& cTo, std::int32_t lAmount) {
  RefuseEmpty(cTo);
  // Outside 0 … 255 the quotient would leave the byte range; the commands
  // only pass 240, so the amount is clamped rather than refused.
  const auto amount = static_cast<std::uint16_t>(std::clamp(lAmount, 0, 255));
  RunPixelPass(m_events, cTo.view(),
               [amount, fade = Versioned<FadeRow>::Pick()](std::uint8_t* p, std::int32_t pixels) {
                 fade(p, 3 * pixels, amount);
               });
}

void cImageProcessDIB::Sature(cDIBSection& image, std::int32_t percentage) {
  RefuseEmpty(image);
  // Below −100 "less colour" would start to invert the channels around the
  // grey. At 25600 (f = 256) any channel that differs from its grey by at
  // least 1 is already pushed past 0 or 255, so nothing changes beyond it;
  // the clamp also keeps the product far from any overflow.
  const std::int32_t clamped = std::clamp(percentage, -100, 25600);
  const float f = static_cast<float>(clamped / 100.0);
  std::vector<std::uint8_t> table;
  try {
    table.resize(kSatureTableSize);
  } catch (const std::bad_alloc&) {
    throw ImageProcessError(ImageProcessErrors::kOutOfMemory);
  }
  Versioned<FillSatureTable>::Pick()(table.data(), f);
  const std::uint8_t* const entries = table.data();
  RunPixelPass(m_events, image.view(),
               [entries](std::uint8_t* p, std::int32_t pixels) { SatureRow(p, pixels, entries); });
}

void cImageProcessDIB::Eff_NoirEtBlancCoupe(cDIBSection& image) {
  RefuseEmpty(image);
  RunPixelPass(m_events, image.view(), Versioned<CutRow>::Pick());
}

}  // namespace fotavel
