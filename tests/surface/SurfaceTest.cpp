// The pixel surface: refusals and the memory budget, the display-origin block copy.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/Surfaces.h"
#include "surface/SurfaceMemory.h"
#include "surface/cDIBSection.h"

namespace fotavel {
namespace {

using testing::PixelRGB;
using testing::SetPixelRGB;

// A refused size, or one over the memory budget, leaves the surface empty.
TEST(Surface, CreateRefusesSizesItCannotHold) {
  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  const std::pair<std::int32_t, std::int32_t> refused[] = {
      {0, 10}, {10, -5}, {max, 1}, {max / 3, max}, {100000, 100000000}};
  cDIBSection s;
  for (auto [w, h] : refused) {
    ASSERT_TRUE(s.Create(4, 4));
    EXPECT_FALSE(s.Create(w, h)) << w << 'x' << h;
    EXPECT_TRUE(s.empty() && s.width() == 0 && s.height() == 0);
  }
  const testing::NoMoreSurfaceMemory full(1000);
  EXPECT_FALSE(s.Create(100, 100));
  EXPECT_TRUE(s.empty());
  EXPECT_TRUE(s.Create(10, 10));
}

// Displayed (column c, row r) of the target is displayed (left + c, top + r) of the source, whose
// pixels hold red = column, green = displayed row.
TEST(Surface, BlockCopyOriginCountsFromTheDisplayedTopLeft) {
  cDIBSection source = testing::UniformSurface(7, 5, 0, 0, 0);
  for (std::int32_t p = 0; p < 35; ++p)
    SetPixelRGB(source, p % 7, p / 7, (p % 7) << 16 | (4 - p / 7) << 8);
  cDIBSection target = testing::UniformSurface(3, 2, 0, 0, 0);
  ASSERT_TRUE(target.LoadPictureBlt(source, 2, 1));
  for (std::int32_t p = 0; p < 6; ++p) {
    const std::int32_t c = p % 3, r = p / 3;
    EXPECT_EQ(PixelRGB(target, c, 1 - r), std::uint32_t(2 + c) << 16 | std::uint32_t(1 + r) << 8)
        << "displayed " << c << ',' << r;
  }
  EXPECT_TRUE(testing::PaddingIntact(target));
  const cDIBSection before = testing::Copy(target);
  for (const auto& [left, top] : {std::pair{5, 0}, {0, 4}, {-1, 0}}) {
    EXPECT_FALSE(target.LoadPictureBlt(source, left, top)) << left << ',' << top;
  }
  EXPECT_FALSE(target.LoadPictureBlt(cDIBSection()));
  EXPECT_TRUE(testing::SamePixels(target, before));
}

}  // namespace
}  // namespace fotavel
