// Bilinear resampling: the plain per-pixel formula on size pairs that take every road, and the
// step worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "support/Surfaces.h"
#include "surface/cDIBSection.h"

namespace fotavel {
namespace {

using testing::FirstDifference;
using testing::PixelRGB;
using testing::RandomSurface;
using testing::SetPixelRGB;

// The resampling written as plainly as it is defined: one destination pixel at a time; steps,
// positions and fractions stored as float, the arithmetic between them in double; a neighbour past
// the last column or row is that column or row.
cDIBSection Reference(const cDIBSection& source, std::int32_t newHeight, std::int32_t newWidth) {
  cDIBSection result;
  if (!result.Create(newWidth, newHeight)) throw std::runtime_error("reference not created");
  const std::int32_t w = source.width(), h = source.height();
  const float sx = static_cast<float>(double(w - 1) / double(newWidth));
  const float sy = static_cast<float>(double(h - 1) / double(newHeight));
  const ConstByteView in = source.view();
  const ByteView out = result.view();
  for (std::int32_t y = 0; y < newHeight; ++y) {
    const float fy = static_cast<float>(double(y) * double(sy));
    const auto iy = static_cast<std::int32_t>(std::floor(fy));
    const double ty = static_cast<float>(double(fy) - iy);  // stored as float, used as double
    const std::int32_t iy1 = std::min(iy + 1, h - 1);
    for (std::int32_t x = 0; x < newWidth; ++x) {
      const float fx = static_cast<float>(double(x) * double(sx));
      const auto ix = static_cast<std::int32_t>(std::floor(fx));
      const double tx = static_cast<float>(double(fx) - ix);
      const std::int32_t ix1 = std::min(ix + 1, w - 1);
      for (std::int32_t c = 0; c < 3; ++c) {
        const double left =
            std::nearbyint((1.0 - ty) * in(3 * ix + c, iy) + ty * in(3 * ix + c, iy1));
        const double right =
            std::nearbyint((1.0 - ty) * in(3 * ix1 + c, iy) + ty * in(3 * ix1 + c, iy1));
        const double value = std::nearbyint((1.0 - tx) * left + tx * right);
        out(3 * x + c, y) = static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
      }
    }
  }
  return result;
}

void ExpectMatchesReference(const cDIBSection& source, std::int32_t newWidth,
                            std::int32_t newHeight) {
  const auto result = source.Resample(newHeight, newWidth);
  ASSERT_NE(result, nullptr);
  const cDIBSection expected = Reference(source, newHeight, newWidth);
  EXPECT_EQ(FirstDifference(*result, expected), "")
      << source.width() << 'x' << source.height() << " -> " << newWidth << 'x' << newHeight;
}

// Random sources keep the sentinel in their row padding: a pass that reads it shows. Each case
// takes its own road through the pass, and between them they run every blend kernel, in vectors
// and in the plain tails, on fractions that can and cannot give a tie.
TEST(Resample, MatchesPlainFormula) {
  const testing::Size cases[][2] = {
      {{1, 1}, {7, 5}},  // no neighbour to the right or above: the edge stands in for it
      {{1, 9}, {4, 20}},
      {{17, 13}, {34, 27}},     // enlarging: positions below 1 have fractions too fine for 23 bits
      {{301, 203}, {151, 68}},  // the whole band of columns blended between rows
      {{257, 3}, {3, 5}},       // strong reduction: only the columns sampled are blended
      {{301, 2}, {600, 2}},     // steps of one half past 256: every other pixel a tie
      {{40, 301}, {41, 600}},   // and between rows, the band longer than a vector
      {{1201, 7}, {5000, 4}},   // more than one strip of destination columns
      {{4501, 301}, {4200, 97}},  // positions past 256 both ways, fractions without ties
      {{5, 700}, {9, 1399}},
      // Columns taken ten at a time straight from the blended band, the pairs of a group spread
      // as wide as its window allows (nearly 4 source columns a column) and as narrow as can be.
      {{4001, 3}, {1001, 5}},
      {{3001, 5}, {6000, 3}},
  };
  std::uint32_t seed = 1;
  for (const auto& [from, to] : cases) {
    ExpectMatchesReference(RandomSurface(from.width, from.height, seed++), to.width, to.height);
  }
  // Row fractions y / 256 have the fewest trailing zero bits that still allow a tie: between bytes
  // 128 apart.
  cDIBSection apart = RandomSurface(40, 2, 20);
  for (std::int32_t x = 0; x < 120; ++x) apart.row(1)[x] = apart.row(0)[x] ^ 0x80;
  ExpectMatchesReference(apart, 41, 256);
  // Wider than 2^24 columns, float rounding lifts the last position to exactly W - 1.
  constexpr std::int32_t kVeryWide = 16777218;
  const float step = static_cast<float>(3.0 / kVeryWide);
  ASSERT_EQ(static_cast<float>(double(kVeryWide - 1) * step), 3.0f);  // the case is real
  ExpectMatchesReference(RandomSurface(4, 1, 7), kVeryWide, 1);
}

// Steps are (W - 1) / w, not (W - 1) / (w - 1): the last destination column of a 3 x 3 to 6 x 6
// enlargement samples at 5 * 2/6 = 1.666..., between columns 1 and 2, and never reaches column 2.
TEST(Resample, ThreeBySixSamplesShortOfTheLastColumn) {
  cDIBSection source = testing::UniformSurface(3, 3, 0, 0, 0);
  const std::uint32_t columns[3] = {0xC8005A, 0xC81E1E, 0xC85A00};  // 0xRRGGBB
  for (std::int32_t p = 0; p < 9; ++p) SetPixelRGB(source, p % 3, p / 3, columns[p % 3]);
  const auto result = source.Resample(6, 6);
  ASSERT_NE(result, nullptr);
  // Blue 90, 30, 0 and green 0, 30, 90 sampled at 0, 1/3, 2/3, 1, 4/3, 5/3.
  const std::uint32_t expected[6] = {0xC8005A, 0xC80A46, 0xC81432, 0xC81E1E, 0xC83214, 0xC8460A};
  for (std::int32_t p = 0; p < 36; ++p) {
    EXPECT_EQ(PixelRGB(*result, p % 6, p / 6), expected[p % 6]) << p;
  }
}

}  // namespace
}  // namespace fotavel
