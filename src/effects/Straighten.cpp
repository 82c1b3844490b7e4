// Crop and Straighten: a rectangle of the picture kept, and the picture turned by a small angle.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

#include "effects/cImageProcessDIB.h"

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
// exactly 2048. A row of four taps is summed first, then the four row sums.
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

// Source position of destination pixel (x, y) (from the top-left), in 1/256
// of a pixel. Offsets from the centres are kept doubled so that a centre
// between two pixels stays an integer; turning clockwise by the angle takes
// offset (dx, dy) of the source to (dx cos - dy sin, dx sin + dy cos), so a
// destination offset comes from (dx cos + dy sin, -dx sin + dy cos).
struct SourcePoint {
  std::int64_t u = 0;
  std::int64_t v = 0;
};

SourcePoint SourceOf(const Turn& turn, std::int32_t x, std::int32_t y, PixelSize from,
                     PixelSize to) {
  const std::int64_t dx2 = 2 * std::int64_t{x} - (to.width - 1);
  const std::int64_t dy2 = 2 * std::int64_t{y} - (to.height - 1);
  const std::int64_t u = (std::int64_t{from.width} - 1) * (std::int64_t{1} << kTrigBits) +
                         dx2 * turn.cos + dy2 * turn.sin;
  const std::int64_t v = (std::int64_t{from.height} - 1) * (std::int64_t{1} << kTrigBits) -
                         dx2 * turn.sin + dy2 * turn.cos;
  constexpr std::int32_t drop = kPositionBits - kPhaseBits;
  constexpr std::int64_t half = std::int64_t{1} << (drop - 1);
  return {(u + half) >> drop, (v + half) >> drop};
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
  for (std::int32_t y = 0; y < rect.height; ++y) {
    // Row y from the top of the rectangle is storage row height - 1 - (top + y).
    std::memcpy(cropped.row(rect.height - 1 - y),
                image.row(height - 1 - rect.top - y) + std::ptrdiff_t{rect.left} * 3,
                std::size_t(3) * std::size_t(rect.width));
    m_events.Progress(y);
  }
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
  const auto& weights = CubicWeights();
  m_events.Init(to.height - 1);
  for (std::int32_t y = 0; y < to.height; ++y) {
    std::uint8_t* out = turned.row(to.height - 1 - y);
    for (std::int32_t x = 0; x < to.width; ++x) {
      const SourcePoint point = SourceOf(turn, x, y, from, to);
      const std::int64_t u0 = (point.u >> kPhaseBits) - 1;
      const std::int64_t v0 = (point.v >> kPhaseBits) - 1;
      const Weights& wx = weights[static_cast<std::size_t>(point.u & (kPhases - 1))];
      const Weights& wy = weights[static_cast<std::size_t>(point.v & (kPhases - 1))];
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
            // Past the edge the picture goes on as its edge pixels when
            // cropped (those taps only soften the border), as white otherwise.
            const std::int32_t value = whiteCorners && outside ? 255 : source[3 * column + channel];
            rowSum += wx[i] * value;
          }
          sum += wy[j] * rowSum;
        }
        constexpr std::int32_t shift = 2 * kWeightBits;
        out[3 * x + channel] =
            static_cast<std::uint8_t>(std::clamp((sum + (1 << (shift - 1))) >> shift, 0, 255));
      }
    }
    m_events.Progress(y);
  }
  image.swap(turned);
  turned.ClearUp();
  m_events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
