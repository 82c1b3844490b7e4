// The pixel surface: the sizes it refuses, and the memory budget.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/Surfaces.h"
#include "surface/SurfaceMemory.h"
#include "surface/cDIBSection.h"

namespace fotavel {
namespace {

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

}  // namespace
}  // namespace fotavel
