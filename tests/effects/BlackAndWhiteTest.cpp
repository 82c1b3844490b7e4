// BlackAndWhite: error diffusion against the literal column walk, uniform surfaces, refusals.
#include <gtest/gtest.h>

#include <random>

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
  cImageProcessDIB engine;
  EventRecorder recorder;
  engine.SetListener(&recorder);
  engine.BlackAndWhite(o.from, o.to);
  o.events = recorder.events;
  return o;
}

// Grey pixels near black, near white or just under the threshold, so that
// shares often push a pixel past 0 or 255 on arrival and the clamps come
// into play (random colours mostly stay in mid-grey).
cDIBSection HighContrast(std::int32_t w, std::int32_t h, std::uint32_t seed) {
  cDIBSection s = UniformSurface(w, h, 0, 0, 0);
  std::mt19937 generator(seed);
  const std::uint32_t bands[] = {0, 104, 232};
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t i = 0; i < w; ++i) {
      const std::uint32_t r = generator();
      testing::SetPixelRGB(s, i, y, (bands[r % 3] + (r >> 8) % 24) * 0x010101u);
    }
  }
  return s;
}

TEST(BlackAndWhite, MatchesTheLiteralColumnWalk) {
  for (auto [w, h] : testing::kAwkwardSizes) {
    for (int contrast = 0; contrast < 2; ++contrast) {
      SCOPED_TRACE(::testing::Message() << w << 'x' << h << (contrast ? " high contrast" : ""));
      const std::uint32_t seed = 61 + w * 3 + h;
      const cDIBSection from = contrast ? HighContrast(w, h, seed) : RandomSurface(w, h, seed);
      const cDIBSection to = RandomSurface(w, h, 67 + w + h);
      const Outcome got = RunEngine(from, to);

      Outcome want{Copy(from), Copy(to), {}};
      EventRecorder recorder;
      ReferenceBlackAndWhite(want.from, want.to, recorder);

      ASSERT_TRUE(SamePixels(got.to, want.to)) << testing::FirstDifference(got.to, want.to);
      ASSERT_TRUE(SamePixels(got.from, want.from)) << testing::FirstDifference(got.from, want.from);
      EXPECT_EQ(got.events, recorder.events);
      EXPECT_TRUE(testing::PaddingIntact(got.from));
      EXPECT_TRUE(testing::PaddingIntact(got.to));
    }
  }
}

TEST(BlackAndWhite, RaisesTheGreyPassThenItsOwn) {
  const Outcome got = RunEngine(RandomSurface(4, 3, 1), RandomSurface(4, 3, 2));
  std::vector<testing::Event> want = testing::ColumnPassEvents(9, 0, 9);
  const std::vector<testing::Event> own = testing::ColumnPassEvents(9, 0, 9);
  want.insert(want.end(), own.begin(), own.end());
  EXPECT_EQ(got.events, want);
}

TEST(BlackAndWhite, UniformBlackAndWhiteStayAsTheyAre) {
  // A white pixel passes at most 7/16 + 1/16 + 5/16 of −128 darkness, and
  // 255 − 104 is still above 128, so white stays white.
  const cDIBSection white = UniformSurface(31, 17, 255, 255, 255);
  const Outcome w = RunEngine(white, RandomSurface(31, 17, 3));
  EXPECT_TRUE(SamePixels(w.to, white));
  EXPECT_TRUE(SamePixels(w.from, white));

  const cDIBSection black = UniformSurface(31, 17, 0, 0, 0);
  const Outcome b = RunEngine(black, RandomSurface(31, 17, 4));
  EXPECT_TRUE(SamePixels(b.to, black));
  EXPECT_TRUE(SamePixels(b.from, black));
}

TEST(BlackAndWhite, MidGreyBecomesAPattern) {
  const Outcome o = RunEngine(UniformSurface(33, 21, 128, 128, 128), RandomSurface(33, 21, 5));
  int whites = 0, blacks = 0;
  for (std::int32_t y = 0; y < 21; ++y) {
    for (std::int32_t i = 0; i < 33; ++i) {
      const std::uint32_t c = testing::PixelRGB(o.to, i, y);
      ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << std::hex << c;
      (c == 0 ? blacks : whites)++;
    }
  }
  EXPECT_GT(whites, 33 * 21 / 4);
  EXPECT_GT(blacks, 33 * 21 / 4);
  // The first pixel, 128, is black; its 7/16 × 128 = 56 makes its right
  // neighbour 184, white.
  EXPECT_EQ(testing::PixelRGB(o.to, 0, 0), 0u);
  EXPECT_EQ(testing::PixelRGB(o.to, 1, 0), 0xFFFFFFu);
  EXPECT_TRUE(SamePixels(o.from, o.to));
}

TEST(BlackAndWhite, RefusesEmptyOrMismatchedSurfacesUntouched) {
  const cDIBSection a = RandomSurface(5, 3, 6), b = RandomSurface(5, 4, 7);
  cDIBSection from = Copy(a), to = Copy(b), empty;
  const struct {
    cDIBSection& from;
    cDIBSection& to;
    std::uint32_t number;
    const char* text;
  } cases[] = {{from, to, 0x8004051Eu, "The two pictures must be the same size."},
               {to, from, 0x8004051Eu, "The two pictures must be the same size."},
               {from, empty, 0x80040523u, "The picture is empty."},
               {empty, to, 0x80040523u, "The picture is empty."}};
  for (const auto& c : cases) {
    cImageProcessDIB engine;
    EventRecorder events;
    engine.SetListener(&events);
    try {
      engine.BlackAndWhite(c.from, c.to);
      ADD_FAILURE() << "not refused";
    } catch (const ImageProcessError& error) {
      EXPECT_EQ(error.number(), c.number);
      EXPECT_EQ(error.description(), c.text);
    }
    EXPECT_TRUE(events.events.empty());
  }
  EXPECT_TRUE(SamePixels(from, a));
  EXPECT_TRUE(SamePixels(to, b));
}

}  // namespace
}  // namespace fotavel
