// BlackAndWhite: error diffusion against the literal column walk, and by hand.
#include <gtest/gtest.h>

#include "effects/Checks.h"
#include "effects/ColourReference.h"

namespace fotavel {
namespace {

using testing::Copy;
using testing::EventRecorder;
using testing::RandomSurface;
using testing::SamePixels;
using testing::UniformSurface;

// The pass as the engine defines it, step by step: grey levels (with their own
// events), then the column walk sharing each pixel's error with its right
// neighbour and three neighbours in the next row, then cTo copied into cFrom.
void ReferenceBlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo, ProgressListener& listener) {
  testing::ReferenceGrayScale(cFrom, listener);
  const std::int32_t w = cTo.width(), h = cTo.height();
  ByteView from = cFrom.view(), to = cTo.view();
  auto add = [&](std::int32_t x, std::int32_t y, std::int32_t share) {
    const std::uint8_t v = static_cast<std::uint8_t>(testing::Clamp255(from(x, y) + share));
    from(x, y) = from(x + 1, y) = from(x + 2, y) = v;
  };
  listener.InitProgress(3 * w - 3);
  for (std::int32_t x = 0; x <= 3 * w - 3; x += 3) {
    for (std::int32_t y = 0; y <= h - 1; ++y) {
      const std::int32_t v = from(x, y);
      std::int32_t e;
      if (v < 129) {
        to(x, y) = to(x + 1, y) = to(x + 2, y) = 0;
        e = v < 17 ? 0 : v;
      } else {
        to(x, y) = to(x + 1, y) = to(x + 2, y) = 255;
        e = 127 - v;
      }
      if (x < 3 * w - 6) add(x + 3, y, 7 * e / 16);
      if (y < h - 1) {
        const std::int32_t offsets[] = {-3, 0, 3}, weights[] = {3, 5, 1};
        for (int k = 0; k < 3; ++k) {
          const std::int32_t xx = x + offsets[k];
          if (0 < xx && xx < 3 * w - 3) add(xx, y + 1, e * weights[k] / 16);
        }
      }
    }
    listener.Progress(x);
  }
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < 3 * w; ++x) from(x, y) = to(x, y);
  }
  listener.Complete(0);
}

struct Outcome {
  cDIBSection from, to;
  std::vector<testing::Event> events;
};

Outcome RunEngine(const cDIBSection& from, const cDIBSection& to) {
  Outcome o{Copy(from), Copy(to), {}};
  o.events = testing::Recorded([&](cImageProcessDIB& e) { e.BlackAndWhite(o.from, o.to); });
  return o;
}

TEST(BlackAndWhite, MatchesTheLiteralColumnWalk) {
  for (auto [w, h] : testing::kAwkwardSizes) {
    SCOPED_TRACE(::testing::Message() << w << 'x' << h);
    const cDIBSection from = RandomSurface(w, h, 61 + w * 3 + h);
    const cDIBSection to = RandomSurface(w, h, 67 + w + h);
    const Outcome got = RunEngine(from, to);
    Outcome want{Copy(from), Copy(to), {}};
    EventRecorder recorder;
    ReferenceBlackAndWhite(want.from, want.to, recorder);
    testing::ExpectSame(got.to, want.to, got.events, recorder.events);
    testing::ExpectSame(got.from, want.from, {}, {});
  }
}

// A white pixel passes at most 7/16 + 1/16 + 5/16 of −128 darkness, and 255 − 104 is still above
// 128: white stays white. In mid grey the first pixel, 128, is black; its 7/16 × 128 = 56 makes its
// right neighbour 184, white.
TEST(BlackAndWhite, HandComputedPictures) {
  const cDIBSection white = UniformSurface(31, 17, 255, 255, 255);
  const Outcome o = RunEngine(white, RandomSurface(31, 17, 3));
  EXPECT_TRUE(SamePixels(o.to, white));
  EXPECT_TRUE(SamePixels(o.from, white));
  const Outcome grey = RunEngine(UniformSurface(33, 21, 128, 128, 128), RandomSurface(33, 21, 5));
  EXPECT_EQ(testing::PixelRGB(grey.to, 0, 0), 0u);
  EXPECT_EQ(testing::PixelRGB(grey.to, 1, 0), 0xFFFFFFu);
}

}  // namespace
}  // namespace fotavel
