// FlouLocal: nine in-place softening passes over a rectangle, for the local blur tool.
#include <algorithm>
#include <cstdint>
#include <limits>

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

// One column of one pass: each pixel of storage rows first … last becomes the
// sum of its eight neighbours shifted right by 3, per channel. The pass is
// defined in place, column by column and upwards within a column, so the
// left column and the pixel below are read with their new values; the result
// depends on that order and the walk keeps it. What keeps the walk quick is
// that each neighbour is loaded once: moving up a row, only the three pixels
// of the row above are new; the others slide along in registers, and the
// pixel below is the value just computed.
void SoftenColumn(std::uint8_t* bits, std::ptrdiff_t stride, std::int64_t x, std::int64_t first,
                  std::int64_t last) {
  std::uint8_t* pixel = bits + first * stride + 3 * x;
  std::int32_t leftBelow[3], left[3], below[3], rightBelow[3], right[3];
  for (int c = 0; c < 3; ++c) {
    leftBelow[c] = pixel[-stride - 3 + c];
    left[c] = pixel[-3 + c];
    below[c] = pixel[-stride + c];
    rightBelow[c] = pixel[-stride + 3 + c];
    right[c] = pixel[3 + c];
  }
  for (std::int64_t y = first; y <= last; ++y) {
    const std::uint8_t* above = pixel + stride;
    for (int c = 0; c < 3; ++c) {
      const std::int32_t leftAbove = above[-3 + c];
      const std::int32_t centreAbove = above[c];
      const std::int32_t rightAbove = above[3 + c];
      const std::int32_t value = (leftBelow[c] + left[c] + leftAbove + below[c] + centreAbove +
                                  rightBelow[c] + right[c] + rightAbove) >>
                                 3;
      pixel[c] = static_cast<std::uint8_t>(value);
      leftBelow[c] = left[c];
      left[c] = leftAbove;
      below[c] = value;
      rightBelow[c] = right[c];
      right[c] = rightAbove;
    }
    pixel += stride;
  }
}

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
    for (std::int64_t x = xs; x <= xe; ++x) {
      if (ys <= ye) SoftenColumn(bits, stride, x, ys, ye);
      m_events.Progress(Saturated(3 * x + 3 * (p * span - xs)));
    }
    m_events.Progress(Saturated(3 * p * span));
  }
  m_events.Complete(clock.ElapsedMs());
}

}  // namespace fotavel
