// Grey levels, fading, saturation and the black-and-white cut against hand values and plain loops.
#include <gtest/gtest.h>

#include <limits>

#include "effects/ColourReference.h"

namespace fotavel {
namespace {

using testing::AllColours;
using testing::Copy;
using testing::EventRecorder;
using testing::ExpectSameAsReference;
using testing::kAwkwardSizes;
using testing::PixelRGB;
using testing::RandomSurface;
using testing::ReferencePass;
using testing::UniformSurface;

// Runs one effect on a one-pixel surface (blue, green, red) and returns 0xRRGGBB.
template <class Call>
std::uint32_t OnePixel(std::uint8_t b, std::uint8_t g, std::uint8_t r, Call call) {
  cDIBSection s = UniformSurface(1, 1, b, g, r);
  cImageProcessDIB engine;
  call(engine, s);
  return PixelRGB(s, 0, 0);
}

TEST(ColourEffects, HandComputedValues) {
  auto grey = [](cImageProcessDIB& e, cDIBSection& s) { e.GrayScale(s); };
  EXPECT_EQ(OnePixel(0, 0, 255, grey), 0x393939u);  // 56.61 → 57
  EXPECT_EQ(OnePixel(0, 255, 0, grey), 0xB4B4B4u);  // 180.285 → 180
  EXPECT_EQ(OnePixel(255, 0, 0, grey), 0x121212u);  // 18.105 → 18
  EXPECT_EQ(OnePixel(255, 255, 255, grey), 0xFFFFFFu);
  // 222 × 5 + 707 × 5 + 71 × 5 = 5000 exactly; 222 × 2 + 71 × 8 = 1012 → 1.
  EXPECT_EQ(OnePixel(5, 5, 5, grey), 0x050505u);
  EXPECT_EQ(OnePixel(8, 0, 2, grey), 0x010101u);
  // Exact halves go to the even neighbour: 1500 → 2 and 2500 → 2.
  EXPECT_EQ(OnePixel(18, 0, 1, grey), 0x020202u);
  EXPECT_EQ(OnePixel(19, 1, 2, grey), 0x020202u);

  auto fade = [](cImageProcessDIB& e, cDIBSection& s) { e.Fade(s, 240); };
  EXPECT_EQ(OnePixel(255, 100, 0, fade), 0x005EF0u);  // 255 → 240, 100 → 94

  // Channels red 100, green 150, blue 200: grey 150.
  auto more = [](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, 30); };
  auto less = [](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, -30); };
  EXPECT_EQ(OnePixel(200, 150, 100, more), 0x5596D7u);  // 85, 150, 215
  EXPECT_EQ(OnePixel(200, 150, 100, less), 0x7396B9u);  // 115, 150, 185

  auto cut = [](cImageProcessDIB& e, cDIBSection& s) { e.Eff_NoirEtBlancCoupe(s); };
  EXPECT_EQ(OnePixel(128, 128, 129, cut), 0x000000u);  // sum 385
  EXPECT_EQ(OnePixel(128, 129, 129, cut), 0xFFFFFFu);  // sum 386
  EXPECT_EQ(OnePixel(0, 0, 0, cut), 0x000000u);
  EXPECT_EQ(OnePixel(255, 255, 255, cut), 0xFFFFFFu);
}

TEST(ColourEffects, GrayScaleMatchesTheColumnLoop) {
  for (auto [w, h] : kAwkwardSizes) {
    SCOPED_TRACE(::testing::Message() << w << 'x' << h);
    ExpectSameAsReference(
        RandomSurface(w, h, 11 + w * 7 + h),
        [](cImageProcessDIB& e, cDIBSection& s) { e.GrayScale(s); },
        [](cDIBSection& s, EventRecorder& r) { testing::ReferenceGrayScale(s, r); });
  }
}

TEST(ColourEffects, GrayScaleOfEveryColourRoundsLikeTheDivision) {
  ExpectSameAsReference(
      AllColours(), [](cImageProcessDIB& e, cDIBSection& s) { e.GrayScale(s); },
      [](cDIBSection& s, EventRecorder& r) { testing::ReferenceGrayScale(s, r); }, false);
}

void ReferenceFade(cDIBSection& s, EventRecorder& r, std::int32_t amount) {
  ReferencePass(s, r, [amount](std::uint8_t* p) {
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * amount / 255);
  });
}

TEST(ColourEffects, FadeMatchesTheColumnLoop) {
  for (std::int32_t amount : {0, 1, 128, 240, 254, 255}) {
    for (auto [w, h] : kAwkwardSizes) {
      SCOPED_TRACE(::testing::Message() << w << 'x' << h << " amount " << amount);
      ExpectSameAsReference(
          RandomSurface(w, h, 23 + amount + w),
          [amount](cImageProcessDIB& e, cDIBSection& s) { e.Fade(s, amount); },
          [amount](cDIBSection& s, EventRecorder& r) { ReferenceFade(s, r, amount); });
    }
  }
}

TEST(ColourEffects, FadeOfEveryByteByEveryAmount) {
  // One row holding the bytes 0 … 255, faded by each amount in turn.
  cDIBSection bytes = UniformSurface(86, 1, 0, 0, 0);
  for (int i = 0; i < 256; ++i) bytes.row(0)[i] = static_cast<std::uint8_t>(i);
  for (std::int32_t amount = 0; amount <= 255; ++amount) {
    ExpectSameAsReference(
        bytes, [amount](cImageProcessDIB& e, cDIBSection& s) { e.Fade(s, amount); },
        [amount](cDIBSection& s, EventRecorder& r) { ReferenceFade(s, r, amount); }, false);
  }
}

TEST(ColourEffects, FadeAmountIsClampedToAByte) {
  const cDIBSection input = RandomSurface(17, 13, 5);
  for (auto [given, meant] : {std::pair{-1000, 0}, {256, 255}, {1 << 30, 255}}) {
    ExpectSameAsReference(
        input, [given](cImageProcessDIB& e, cDIBSection& s) { e.Fade(s, given); },
        [meant](cDIBSection& s, EventRecorder& r) { ReferenceFade(s, r, meant); });
  }
}

TEST(ColourEffects, SatureMatchesTheColumnLoop) {
  for (std::int32_t percentage : {-100, -30, -1, 0, 7, 30, 100, 333, 25600}) {
    for (auto [w, h] : kAwkwardSizes) {
      SCOPED_TRACE(::testing::Message() << w << 'x' << h << " percentage " << percentage);
      ExpectSameAsReference(
          RandomSurface(w, h, 31 + percentage + h),
          [percentage](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, percentage); },
          [percentage](cDIBSection& s, EventRecorder& r) {
            testing::ReferenceSature(s, r, percentage);
          });
    }
  }
}

TEST(ColourEffects, SatureOfEveryColour) {
  for (std::int32_t percentage : {-30, 157}) {
    SCOPED_TRACE(percentage);
    ExpectSameAsReference(
        AllColours(),
        [percentage](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, percentage); },
        [percentage](cDIBSection& s, EventRecorder& r) {
          testing::ReferenceSature(s, r, percentage);
        },
        false);
  }
}

TEST(ColourEffects, SatureBeyond25600ChangesNothingMore) {
  // The clamp at 25600 is only safe if the unclamped arithmetic gives the
  // same picture for every larger percentage: checked on every colour.
  for (std::int32_t percentage : {25601, std::numeric_limits<std::int32_t>::max()}) {
    SCOPED_TRACE(percentage);
    ExpectSameAsReference(
        AllColours(),
        [percentage](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, percentage); },
        [percentage](cDIBSection& s, EventRecorder& r) {
          testing::ReferenceSature(s, r, percentage);
        },
        false);
  }
  // Slightly below, some colours are still short of the limits.
  cImageProcessDIB engine;
  cDIBSection at = Copy(AllColours()), below = Copy(AllColours());
  engine.Sature(at, 25600);
  engine.Sature(below, 25300);
  EXPECT_FALSE(testing::SamePixels(at, below));
}

TEST(ColourEffects, SatureBelowMinus100IsMinus100) {
  const cDIBSection input = RandomSurface(9, 5, 77);
  for (std::int32_t percentage : {-101, -1000, std::numeric_limits<std::int32_t>::min()}) {
    ExpectSameAsReference(
        input, [percentage](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, percentage); },
        [](cDIBSection& s, EventRecorder& r) { testing::ReferenceSature(s, r, -100); });
  }
  // −100 takes every channel to the pixel's grey.
  cImageProcessDIB engine;
  cDIBSection s = Copy(input);
  engine.Sature(s, -100);
  for (std::int32_t y = 0; y < 5; ++y) {
    for (std::int32_t i = 0; i < 9; ++i) {
      const std::uint8_t* p = input.row(y) + 3 * i;
      const std::uint32_t grey = (p[0] + p[1] + p[2]) / 3;
      EXPECT_EQ(PixelRGB(s, i, y), grey * 0x010101u);
    }
  }
}

TEST(ColourEffects, CutMatchesTheColumnLoop) {
  for (auto [w, h] : kAwkwardSizes) {
    SCOPED_TRACE(::testing::Message() << w << 'x' << h);
    ExpectSameAsReference(
        RandomSurface(w, h, 41 + w),
        [](cImageProcessDIB& e, cDIBSection& s) { e.Eff_NoirEtBlancCoupe(s); },
        [](cDIBSection& s, EventRecorder& r) {
          ReferencePass(s, r, [](std::uint8_t* p) {
            const double m = std::nearbyint((p[0] + p[1] + p[2]) / 3.0);
            p[0] = p[1] = p[2] = m < 129 ? 0 : 255;
          });
        });
  }
}

// Every single-pass effect, for the checks that apply to all of them.
const std::pair<const char*, void (*)(cImageProcessDIB&, cDIBSection&)> kEffects[] = {
    {"GrayScale", [](cImageProcessDIB& e, cDIBSection& s) { e.GrayScale(s); }},
    {"Fade", [](cImageProcessDIB& e, cDIBSection& s) { e.Fade(s, 240); }},
    {"Sature", [](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, 30); }},
    {"Eff_NoirEtBlancCoupe",
     [](cImageProcessDIB& e, cDIBSection& s) { e.Eff_NoirEtBlancCoupe(s); }},
    {"Lighten", [](cImageProcessDIB& e, cDIBSection& s) { e.Lighten(s, 20); }},
};

TEST(ColourEffects, OnePixelWideSurfaceRaisesOneProgressAndEmptyIsRefused) {
  const cDIBSection narrow = RandomSurface(1, 5, 3);
  for (auto [name, effect] : kEffects) {
    SCOPED_TRACE(name);
    cImageProcessDIB engine;
    EventRecorder events;
    engine.SetListener(&events);
    cDIBSection s = Copy(narrow);
    effect(engine, s);
    EXPECT_EQ(events.events, testing::ColumnPassEvents(0, 0, 0));

    events.events.clear();
    cDIBSection empty;
    try {
      effect(engine, empty);
      ADD_FAILURE() << "not refused";
    } catch (const ImageProcessError& error) {
      EXPECT_EQ(error.number(), 0x80040523u);
      EXPECT_EQ(error.description(), "The picture is empty.");
    }
    EXPECT_TRUE(events.events.empty());
  }
}

}  // namespace
}  // namespace fotavel
