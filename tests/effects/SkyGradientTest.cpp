// The sky gradient: the rows of a 100-row canvas by hand, other heights against the closed form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "effects/cielbleu.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

using testing::PixelRGB;

// Displayed row v is storage row H - 1 - v.
std::uint32_t DisplayedRow(const cDIBSection& s, std::int32_t i, std::int32_t v) {
  return PixelRGB(s, i, s.height() - 1 - v);
}

TEST(SkyGradient, RowsOfAHundredRowCanvas) {
  cDIBSection canvas = testing::RandomSurface(7, 100, 1);
  cielbleu::PaintGradient(canvas);
  const std::pair<std::int32_t, std::uint32_t> rows[] = {
      {0, 0x5475D4}, {10, 0x7691DD}, {25, 0xAABAEA}, {49, 0xFCFCFE}};
  for (const auto& [v, rgb] : rows) {
    for (std::int32_t i = 0; i < 7; ++i) EXPECT_EQ(DisplayedRow(canvas, i, v), rgb) << "row " << v;
  }
  for (std::int32_t v = 50; v < 100; ++v) {
    for (std::int32_t i = 0; i < 7; ++i) EXPECT_EQ(DisplayedRow(canvas, i, v), 0xFFFFFFu) << v;
  }
  EXPECT_TRUE(testing::PaddingIntact(canvas));
}

// Row v per channel: min(255, round(start + 2 v (255 - start) / H)), halves to even.
std::uint32_t ExpectedRow(std::int32_t v, std::int32_t height) {
  const int start[3] = {84, 117, 212};  // red, green, blue
  std::uint32_t rgb = 0;
  for (int c = 0; c < 3; ++c) {
    const double value = std::nearbyint(start[c] + 2.0 * v * (255 - start[c]) / height);
    rgb = rgb << 8 | static_cast<std::uint32_t>(std::min(value, 255.0));
  }
  return rgb;
}

TEST(SkyGradient, OtherHeightsFollowTheClosedForm) {
  for (const auto [w, h] : {testing::Size{5, 1}, {3, 2}, {1, 3}, {9, 7}, {2, 101}, {257, 33}}) {
    cDIBSection canvas = testing::RandomSurface(w, h, 2);
    cielbleu::PaintGradient(canvas);
    for (std::int32_t v = 0; v < h; ++v) {
      for (std::int32_t i = 0; i < w; ++i) {
        ASSERT_EQ(DisplayedRow(canvas, i, v), ExpectedRow(v, h)) << w << 'x' << h << " row " << v;
      }
    }
    EXPECT_TRUE(testing::PaddingIntact(canvas));
  }
}

TEST(SkyGradient, EmptyCanvasIsLeftAlone) {
  cDIBSection empty;
  cielbleu::PaintGradient(empty);
  EXPECT_TRUE(empty.empty());
}

}  // namespace
}  // namespace fotavel
