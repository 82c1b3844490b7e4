// Quarter turns: the literal loop, and where the corners go.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using testing::Event;

// The turn as the operation is defined: destination column by destination
// column (= source row), with a Progress after each.
cDIBSection ReferenceTurn(const cDIBSection& source, bool left, std::vector<Event>& events) {
  const std::int32_t w = source.width(), h = source.height();
  cDIBSection out;
  if (!out.Create(h, w)) throw std::runtime_error("no memory");
  events.push_back({Event::kInit, 3 * (h - 1)});
  for (std::int32_t c = 0; c < h; ++c) {
    for (std::int32_t r = 0; r < w; ++r) {
      const std::uint8_t* from = source.row(c) + 3 * (w - 1 - r);
      std::uint8_t* to = left ? out.row(w - 1 - r) + 3 * (h - 1 - c) : out.row(r) + 3 * c;
      std::copy_n(from, 3, to);
    }
    events.push_back({Event::kProgress, 3 * c});
  }
  events.push_back({Event::kComplete, 0});
  return out;
}

// 131 x 150 is larger than the 64 x 64 tiles the turn works in and not a
// multiple of them, so full and partial tiles meet in both directions.
TEST(Tourner, MatchesTheColumnLoop) {
  std::vector<testing::Size> sizes(std::begin(testing::kAwkwardSizes),
                                   std::end(testing::kAwkwardSizes));
  sizes.push_back({131, 150});
  std::uint32_t seed = 1;
  for (const auto& size : sizes) {
    for (bool left : {false, true}) {
      SCOPED_TRACE(::testing::Message()
                   << size.width << 'x' << size.height << (left ? " left" : " right"));
      cDIBSection picture = testing::RandomSurface(size.width, size.height, seed++);
      std::vector<Event> expectedEvents;
      const cDIBSection expected = ReferenceTurn(picture, left, expectedEvents);
      const auto events = testing::Recorded([&](cImageProcessDIB& e) { e.Tourner(picture, left); });
      EXPECT_EQ(testing::FirstDifference(picture, expected), "");  // sizes included
      EXPECT_EQ(events, expectedEvents);
    }
  }
}

// On screen the top row is the last storage row.
TEST(Tourner, TopLeftGoesTopRightTurningRightAndBottomLeftTurningLeft) {
  cImageProcessDIB engine;
  const std::int32_t w = 5, h = 3;
  for (bool left : {false, true}) {
    cDIBSection picture = testing::UniformSurface(w, h, 0, 0, 0);
    testing::SetPixelRGB(picture, 0, h - 1, 0xABCDEF);  // top-left as displayed
    testing::SetPixelRGB(picture, w - 1, 0, 0x123456);  // bottom-right as displayed
    engine.Tourner(picture, left);
    ASSERT_EQ(std::pair(picture.width(), picture.height()), std::pair(h, w));
    // Turning right, top-left goes top-right; turning left, bottom-left.
    EXPECT_EQ(testing::PixelRGB(picture, h - 1, w - 1), left ? 0x123456u : 0xABCDEFu);
    EXPECT_EQ(testing::PixelRGB(picture, 0, 0), left ? 0xABCDEFu : 0x123456u);
  }
}

}  // namespace
}  // namespace fotavel
