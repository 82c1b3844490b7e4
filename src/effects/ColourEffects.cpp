// Per-pixel colour effects of the engine: grey levels, fading, saturation, the black-and-white cut.
#include <algorithm>
#include <cstdint>

#include "effects/ColumnStrips.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {

namespace {

// Every effect here is a function of one pixel, so the order in which pixels
// are visited does not matter: RunPixelPass walks strips row by row and raises
// the per-column Progress events afterwards. The row functions below are
// written as plain loops over the pixels of a row so that GCC vectorises
// them; the AVX2 clone is picked at run time where the processor has it.
// Neither build enables FMA, which would change the double arithmetic of
// Sature.

// Exact floor(s / 1000) for 0 <= s <= 255000, the range of the grey sums:
// s / 8 fits 15 bits and 33555 / 2^22 overestimates 1 / 125 by less than one
// part in 59075, so the product never crosses the next integer.
inline std::uint32_t DivideBy1000(std::uint32_t s) { return ((s >> 3) * 33555u) >> 22; }

// Exact floor(s / 3) for 0 <= s <= 765 (21846 / 2^16 is good up to 32767).
inline std::uint32_t DivideBy3(std::uint32_t s) { return (s * 21846u) >> 16; }

// Exact floor(x / 255) for 0 <= x <= 65025, all in 16 bits.
inline std::uint16_t DivideBy255(std::uint16_t x) {
  return static_cast<std::uint16_t>((x + 1u + (x >> 8)) >> 8);
}

// round((222 R + 707 G + 71 B) / 1000), halves to even. The quotient is a
// multiple of 1/1000, so the floating-point division never strays across a
// half: the integer remainder decides exactly as the rounding would.
__attribute__((target_clones("avx2", "default"))) void GreyRow(std::uint8_t* p,
                                                               std::int32_t pixels) {
  for (std::int32_t i = 0; i < pixels; ++i) {
    const std::uint32_t s = 71u * p[3 * i] + 707u * p[3 * i + 1] + 222u * p[3 * i + 2];
    const std::uint32_t q = DivideBy1000(s);
    const std::uint32_t rem = s - 1000u * q;
    const std::uint32_t v = q + (rem > 500u) + ((rem == 500u) & q);
    p[3 * i] = p[3 * i + 1] = p[3 * i + 2] = static_cast<std::uint8_t>(v);
  }
}

// Each byte scaled by amount / 255, truncated. Channels are independent, so
// the row is one run of bytes.
__attribute__((target_clones("avx2", "default"))) void FadeRow(std::uint8_t* p, std::int32_t bytes,
                                                               std::uint16_t amount) {
  for (std::int32_t i = 0; i < bytes; ++i) {
    p[i] = static_cast<std::uint8_t>(DivideBy255(static_cast<std::uint16_t>(p[i] * amount)));
  }
}

// Round-to-nearest-even of a double well inside ±2^51: adding 1.5 × 2^52
// leaves no fraction bits, so the addition itself rounds (in the default
// mode) and the subtraction is exact. Unlike nearbyint this stays a plain
// vector add on every x86-64.
inline double RoundHalfEven(double v) {
  constexpr double kShift = 6755399441055744.0;
  return (v + kShift) - kShift;
}

// Saturation: each channel c of a pixel with grey level g (the truncated
// third of B + G + R) becomes clamp(round((c − g) × f + c)), in double from
// the single-precision f. The pixels are unpacked into three arrays of 16-bit
// ints and packed again afterwards: straight over the bytes GCC would
// vectorise 32 pixels at a time and every double would take eight registers.
constexpr std::int32_t kSatureChunk = 64;

inline std::int16_t SatureChannel(std::int32_t c, std::int32_t grey, double f) {
  const auto v = static_cast<std::int32_t>(RoundHalfEven(double(c - grey) * f + double(c)));
  return static_cast<std::int16_t>(std::clamp(v, 0, 255));
}

__attribute__((target_clones("avx2", "default"))) void SatureRow(std::uint8_t* p,
                                                                std::int32_t pixels, double f) {
  alignas(32) std::int16_t b[kSatureChunk] = {}, g[kSatureChunk] = {}, r[kSatureChunk] = {};
  for (std::int32_t i0 = 0; i0 < pixels; i0 += kSatureChunk) {
    std::uint8_t* q = p + 3 * i0;
    const std::int32_t n = std::min(kSatureChunk, pixels - i0);
    for (std::int32_t k = 0; k < n; ++k) {
      b[k] = q[3 * k];
      g[k] = q[3 * k + 1];
      r[k] = q[3 * k + 2];
    }
    for (std::int32_t k = 0; k < kSatureChunk; ++k) {
      const auto grey = static_cast<std::int32_t>(DivideBy3(std::uint32_t(b[k] + g[k] + r[k])));
      b[k] = SatureChannel(b[k], grey, f);
      g[k] = SatureChannel(g[k], grey, f);
      r[k] = SatureChannel(r[k], grey, f);
    }
    for (std::int32_t k = 0; k < n; ++k) {
      q[3 * k] = static_cast<std::uint8_t>(b[k]);
      q[3 * k + 1] = static_cast<std::uint8_t>(g[k]);
      q[3 * k + 2] = static_cast<std::uint8_t>(r[k]);
    }
  }
}

// round((B + G + R) / 3) < 129 is black. A third of an integer is never a
// half, so this is simply B + G + R >= 386 for white.
__attribute__((target_clones("avx2", "default"))) void CutRow(std::uint8_t* p,
                                                             std::int32_t pixels) {
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
  RunPixelPass(m_events, image.view(), GreyRow);
}

void cImageProcessDIB::Fade(cDIBSection& cTo, std::int32_t lAmount) {
  RefuseEmpty(cTo);
  // Outside 0 … 255 the quotient would leave the byte range; the commands
  // only pass 240, so the amount is clamped rather than refused.
  const auto amount = static_cast<std::uint16_t>(std::clamp(lAmount, 0, 255));
  RunPixelPass(m_events, cTo.view(),
               [amount](std::uint8_t* p, std::int32_t pixels) { FadeRow(p, 3 * pixels, amount); });
}

void cImageProcessDIB::Sature(cDIBSection& image, std::int32_t percentage) {
  RefuseEmpty(image);
  // Below −100 "less colour" would start to invert the channels around the
  // grey. At 25600 (f = 256) any channel that differs from its grey by at
  // least 1 is already pushed past 0 or 255, so nothing changes beyond it;
  // the clamp also keeps the product far from any overflow.
  const std::int32_t clamped = std::clamp(percentage, -100, 25600);
  const float f = static_cast<float>(clamped / 100.0);
  RunPixelPass(m_events, image.view(),
               [f](std::uint8_t* p, std::int32_t pixels) { SatureRow(p, pixels, double{f}); });
}

void cImageProcessDIB::Eff_NoirEtBlancCoupe(cDIBSection& image) {
  RefuseEmpty(image);
  RunPixelPass(m_events, image.view(), CutRow);
}

}  // namespace fotavel
