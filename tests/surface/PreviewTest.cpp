// The explorer's preview: the size rule with its halves, and which source pixel each preview pixel
// takes.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "support/Surfaces.h"
#include "surface/Preview.h"

namespace fotavel::testing {
namespace {

// Each pixel carries its own column and row, counted from the displayed top.
cDIBSection Labelled(int width, int height) {
  cDIBSection s;
  EXPECT_TRUE(s.Create(width, height));
  for (int yTop = 0; yTop < height; ++yTop)
    for (int x = 0; x < width; ++x) SetPixelRGB(s, x, height - 1 - yTop, x << 16 | yTop << 8);
  return s;
}

std::uint32_t Shown(const cDIBSection& s, int x, int yTop) {
  return PixelRGB(s, x, s.height() - 1 - yTop);
}

TEST(FitPreview, NeverEnlargesAndKeepsTheProportions) {
  // {photo w, h, box w, h, preview w, h}
  const std::tuple<int, int, int, int, int, int> cases[] = {
      {100, 50, 200, 150, 100, 50},    // smaller than the box: its own size
      {100, 300, 200, 150, 50, 150},   // too high only
      {300, 290, 200, 150, 155, 150},  // fits on the width, then too high: 150 x 300 / 290
      {400, 1, 200, 150, 200, 0},      // 0.5 goes to the even 0
      {400, 3, 200, 150, 200, 2},      // 1.5 goes to the even 2
      {0, 10, 200, 150, 0, 0},
      {2'000'000'000, 1'000'000'000, 200, 150, 200, 100}};  // 32-bit products would wrap
  for (auto [sw, sh, bw, bh, w, h] : cases) {
    EXPECT_EQ(FitPreview(sw, sh, bw, bh), (PreviewSize{w, h})) << sw << " x " << sh;
  }
}

// r = 5 / 2 = 2.5: column 1 samples 2.5, which goes to the even 2; row 1 likewise. A preview row
// past the source's last row takes the last one.
TEST(SamplePreview, TakesTheNearestPixelWithOneFactorForBothAxes) {
  cDIBSection target, tall;
  ASSERT_TRUE(target.Create(2, 2) && tall.Create(2, 2));
  SamplePreview(Labelled(5, 4).view(), target);
  EXPECT_EQ((std::array{Shown(target, 0, 0), Shown(target, 1, 0), Shown(target, 0, 1),
                        Shown(target, 1, 1)}),
            (std::array{0x000000u, 0x020000u, 0x000200u, 0x020200u}));
  SamplePreview(Labelled(4, 1).view(), tall);
  EXPECT_EQ(Shown(tall, 1, 1), 0x020000u);
}

}  // namespace
}  // namespace fotavel::testing
