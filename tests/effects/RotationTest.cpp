// Quarter turns: the literal loop, where pixels go, padding, and a failed allocation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"
#include "surface/SurfaceMemory.h"

namespace fotavel {
namespace {

using testing::Event;
using testing::EventRecorder;

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

// The turned picture is a new surface whose padding nobody fills. Handing the
// turn a pooled block that is all sentinel shows whether it writes padding.
TEST(Tourner, DoesNotWriteThePaddingOfTheTurnedPicture) {
  const std::int32_t w = 1001, h = 350;  // turned stride 1052 for 1050 bytes; over 1 MB
  cDIBSection picture = testing::RandomSurface(w, h, 5);
  std::vector<Event> ignored;
  const cDIBSection expected = ReferenceTurn(picture, false, ignored);
  ReleasePooledSurfaceMemory();
  const std::uint8_t* baitBits = nullptr;
  {
    cDIBSection bait;
    ASSERT_TRUE(bait.Create(h, w));
    baitBits = bait.DIBSectionBitsPtr();
    std::memset(bait.DIBSectionBitsPtr(), testing::kPaddingSentinel,
                std::size_t(bait.BytesPerScanLine()) * bait.height());
  }
  cImageProcessDIB engine;
  engine.Tourner(picture, false);
  ASSERT_EQ(picture.DIBSectionBitsPtr(), baitBits) << "the pooled block was not reused";
  EXPECT_TRUE(testing::PaddingIntact(picture));
  EXPECT_EQ(testing::FirstDifference(picture, expected), "");
}

TEST(Tourner, AFailedAllocationLeavesThePictureAndRaisesNothing) {
  cDIBSection picture = testing::RandomSurface(7, 5, 3);
  const cDIBSection original = testing::Copy(picture);
  const std::uint8_t* bits = picture.DIBSectionBitsPtr();
  cImageProcessDIB engine;
  EventRecorder recorder;
  engine.SetListener(&recorder);
  {
    const testing::NoMoreSurfaceMemory full;
    testing::ExpectRefused([&] { engine.Tourner(picture, false); },
                           ImageProcessErrors::kOutOfMemory);
  }
  EXPECT_EQ(picture.DIBSectionBitsPtr(), bits);
  EXPECT_EQ(testing::FirstDifference(picture, original), "");
  EXPECT_TRUE(testing::PaddingIntact(picture));
  EXPECT_TRUE(recorder.events.empty());

  cDIBSection empty;
  testing::ExpectRefused([&] { engine.Tourner(empty, true); }, ImageProcessErrors::kEmptySurface);
  EXPECT_TRUE(recorder.events.empty());
}

}  // namespace
}  // namespace fotavel
