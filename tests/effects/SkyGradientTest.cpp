// The sky gradient: the rows of a 100-row canvas by hand.
#include <gtest/gtest.h>

#include <cstdint>

#include "effects/cielbleu.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

// Row v (0 at the top) per channel is min(255, round(start + 2 v (255 − start) / H)), halves to
// even: row 25's red is 84 + 85.5 → 170, and from half way down the sky is white.
TEST(SkyGradient, RowsOfAHundredRowCanvas) {
  cDIBSection canvas = testing::RandomSurface(257, 100, 1);
  cielbleu::PaintGradient(canvas);
  const std::pair<std::int32_t, std::uint32_t> rows[] = {{0, 0x5475D4},  {10, 0x7691DD},
                                                         {25, 0xAABAEA}, {49, 0xFCFCFE},
                                                         {50, 0xFFFFFF}, {99, 0xFFFFFF}};
  for (const auto& [v, rgb] : rows) {
    for (std::int32_t i = 0; i < 257; ++i) {
      ASSERT_EQ(testing::PixelRGB(canvas, i, 99 - v), rgb) << "row " << v << " pixel " << i;
    }
  }
  EXPECT_TRUE(testing::PaddingIntact(canvas));
}

}  // namespace
}  // namespace fotavel
