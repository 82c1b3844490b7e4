// Lighten: every pixel to hue/lightness/saturation, its lightness scaled, and back.
#include <algorithm>
#include <bit>
#include <cstdint>

#include "effects/ColumnStrips.h"
#include "effects/cImageProcessDIB.h"
#include "surface/CpuVersions.h"

namespace fotavel {

namespace {

// This is mHLSRGB's RGBToHLS and HLSToRGB fused and written without branches
// so that GCC turns the loop into vector code: every branch of the scalar
// procedures is computed and the right one selected. Each value is rounded to
// float exactly where the scalar procedures keep it and computed in double in
// between, with the same operations in the same order, so the results are
// bit for bit the scalar ones (the tests compare every 24-bit colour). No FMA
// is enabled in any version: contracting a product and a sum would change
// the roundings.
//
// Three rewrites keep the results identical while removing branches:
//  - r = red / 255 rounded to float equals red × (1 / 255) rounded to float
//    for all 256 bytes (checked at compile time below), which spares three
//    divisions.
//  - The hue table's "m1 − d × (h − k)" is computed as "m1 + d × (k − h)":
//    k − h is exactly −(h − k) and rounding to nearest is symmetric, so both
//    give the same double.
//  - Rounding to the nearest integer uses the 1.5 × 2^52 shift, exact for the
//    channel × 255 values (a float times 255 is exact in double).

inline float Keep(double v) { return static_cast<float>(v); }

constexpr double kInv255 = 1.0 / 255.0;

constexpr bool ReciprocalMatchesDivision() {
  for (int c = 0; c < 256; ++c) {
    if (static_cast<float>(c * kInv255) != static_cast<float>(c / 255.0)) return false;
  }
  return true;
}
static_assert(ReciprocalMatchesDivision(), "byte to unit value must not depend on the reciprocal");

// The saturation divides by max + min when l <= 0.5 and by 2 − max − min
// otherwise. Testing max + min <= 1 instead differs for 127 pairs whose sum
// exceeds 1 by less than 2e-9 (l rounds down to exactly 0.5); the two
// divisors are then as close, and every pair still gives the same float s.
constexpr bool SpreadTestGivesTheSameS() {
  for (int hi = 1; hi < 256; ++hi) {
    for (int lo = 0; lo < hi; ++lo) {
      const double max = static_cast<float>(hi / 255.0), min = static_cast<float>(lo / 255.0);
      const bool dark = static_cast<float>((max + min) / 2) <= 0.5f;
      const double byL = dark ? max + min : 2 - max - min;
      const double bySum = max + min <= 1.0 ? max + min : 2 - max - min;
      if (static_cast<float>((max - min) / byL) != static_cast<float>((max - min) / bySum)) {
        return false;
      }
    }
  }
  return true;
}
static_assert(SpreadTestGivesTheSameS(), "the saturation must not depend on the lightness test");

inline double RoundHalfEven(double v) {
  constexpr double kShift = 6755399441055744.0;
  return (v + kShift) - kShift;
}

inline std::uint8_t ToByte(float channel) {
  return static_cast<std::uint8_t>(
      static_cast<std::int32_t>(RoundHalfEven(double{channel} * 255.0)));
}

// c ? a : b on the bit patterns. A plain conditional would let GCC's sinking
// pass move the losing candidate's arithmetic behind a branch, and with
// trapping maths on (the default) it then refuses to turn that branch back
// into a vector select.
inline double Pick(bool c, double a, double b) {
  const std::uint64_t mask = 0 - std::uint64_t{c};
  return std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & mask) |
                               (std::bit_cast<std::uint64_t>(b) & ~mask));
}
inline float Pick(bool c, float a, float b) {
  const std::uint32_t mask = 0 - std::uint32_t{c};
  return std::bit_cast<float>((std::bit_cast<std::uint32_t>(a) & mask) |
                              (std::bit_cast<std::uint32_t>(b) & ~mask));
}

[[gnu::always_inline]] inline void LightenRow(std::uint8_t* p, std::int32_t pixels, double factor) {
  for (std::int32_t i = 0; i < pixels; ++i) {
    // ---- RGBToHLS ----
    const float fb = Keep(p[3 * i] * kInv255);
    const float fg = Keep(p[3 * i + 1] * kInv255);
    const float fr = Keep(p[3 * i + 2] * kInv255);
    const float max = std::max(std::max(fr, fg), fb);
    const float min = std::min(std::min(fr, fg), fb);
    const double dmax = max, dmin = min;
    const float l = Keep((dmax + dmin) / 2);
    const double delta = dmax - dmin;
    // Conditions that select doubles are tested on doubles, those that select
    // floats on floats: a mask of the selected width costs no conversion.
    // max + min <= 1 stands for l <= 0.5 (see SpreadTestGivesTheSameS).
    const double spread = Pick(dmax + dmin <= 1.0, dmax + dmin, 2 - dmax - dmin);
    // Grey (delta 0) divides by zero here; those lanes take s = 0 and h = 0
    // below, as the scalar procedure does instead of dividing.
    const bool grey = max == min;
    const float s = Pick(grey, 0.0f, Keep(delta / spread));
    const bool redMax = double{fr} == dmax, greenMax = double{fg} == dmax;
    const double num =
        Pick(redMax, double{fg} - fb, Pick(greenMax, double{fb} - fr, double{fr} - fg));
    const double base = Pick(redMax, 0.0, Pick(greenMax, 2.0, 4.0));
    const float h = Pick(grey, 0.0f, Keep(base + num / delta));

    // ---- the lightness, capped at full ----
    const float scaled = Keep(double{l} * factor);
    const float lp = Pick(scaled > 1.0f, 1.0f, scaled);

    // ---- HLSToRGB ----
    const double dl = lp, ds = s;
    const float m1 = Pick(lp <= 0.5f, Keep(dl * (1 - ds)), Keep(dl - (1 - dl) * ds));
    const float m2 = Keep(2 * dl - m1);
    const double d = double{m2} - m1;
    const double dh = h;
    // The offset into the sextant: h − k where the channel rises, k − h where
    // it falls (k = 0, 2 or 4), which is the hue table's d × (h − k) with the
    // sign folded into the offset (exact: negation and rounding commute).
    const double centre = Pick(dh < 1, 0.0, Pick(dh < 3, 2.0, 4.0));
    const bool falling = (dh < 0) | ((dh >= 1) & (dh < 2)) | ((dh >= 3) & (dh < 4));
    const double u = Pick(falling, centre - dh, dh - centre);
    const bool below0 = h < 0, below1 = h < 1, below2 = h < 2, below3 = h < 3, below4 = h < 4;
    const float mid = Keep(m1 + d * u);
    // Red: m2 below 1, mid to 2, m1 to 4, mid beyond.
    float r = Pick(below1, m2, Pick(below2, mid, Pick(below4, m1, mid)));
    // Green: m1 below 0, mid to 1, m2 to 3, mid to 4, m1 beyond.
    float g = Pick(below0, m1, Pick(below1, mid, Pick(below3, m2, Pick(below4, mid, m1))));
    // Blue: mid below 0, m1 to 2, mid to 3, m2 beyond.
    float b = Pick(below0, mid, Pick(below2, m1, Pick(below3, mid, m2)));
    const bool flat = s == 0;
    p[3 * i] = ToByte(Pick(flat, lp, b));
    p[3 * i + 1] = ToByte(Pick(flat, lp, g));
    p[3 * i + 2] = ToByte(Pick(flat, lp, r));
  }
}

}  // namespace

void cImageProcessDIB::Lighten(cDIBSection& image, std::int32_t percentage) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  // Below −100 the lightness would turn negative and the channels leave
  // 0 … 255, so the percentage is clamped there. Above there is no need:
  // the scaled lightness is capped at 1.
  const double factor = 1 + std::max(percentage, -100) / 100.0;
  RunPixelPass(m_events, image.view(),
               [factor, lighten = Versioned<LightenRow>::Pick<CpuVersion::kAvx512>()](
                   std::uint8_t* p, std::int32_t pixels) { lighten(p, pixels, factor); });
}

}  // namespace fotavel
