// The colour effects (grey levels, fading, saturation, lightening, the black-and-white cut and
// black and white by error diffusion): plain loops and hand values.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "effects/Checks.h"
#include "effects/ColourReference.h"

namespace fotavel {
namespace {

using testing::Copy;
using testing::EventRecorder;
using testing::RandomSurface;
using testing::ReferencePass;
using testing::SamePixels;
using testing::UniformSurface;
using Effect = std::function<void(cImageProcessDIB&, cDIBSection&)>;
using Reference = std::function<void(cDIBSection&, EventRecorder&)>;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

void ReferenceFade(cDIBSection& s, EventRecorder& r, std::int32_t amount) {
  ReferencePass(s, r, [amount](std::uint8_t* p) {
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * amount / 255);
  });
}

void ReferenceCut(cDIBSection& s, EventRecorder& r) {
  ReferencePass(s, r, [](std::uint8_t* p) {
    const double m = std::nearbyint((p[0] + p[1] + p[2]) / 3.0);
    p[0] = p[1] = p[2] = m < 129 ? 0 : 255;
  });
}

struct Case {
  std::string name;
  Effect effect;
  Reference reference;
};

Case Grey() {
  return {"GrayScale", [](cImageProcessDIB& e, cDIBSection& s) { e.GrayScale(s); },
          [](cDIBSection& s, EventRecorder& r) { testing::ReferenceGrayScale(s, r); }};
}
// `given` is passed to the engine, `meant` (the clamped value) to the reference.
Case Fade(std::int32_t given, std::int32_t meant) {
  return {"Fade " + std::to_string(given),
          [given](cImageProcessDIB& e, cDIBSection& s) { e.Fade(s, given); },
          [meant](cDIBSection& s, EventRecorder& r) { ReferenceFade(s, r, meant); }};
}
Case Sature(std::int32_t given, std::int32_t meant) {
  return {"Sature " + std::to_string(given),
          [given](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, given); },
          [meant](cDIBSection& s, EventRecorder& r) { testing::ReferenceSature(s, r, meant); }};
}
Case Lighten(std::int32_t given, std::int32_t meant) {
  return {"Lighten " + std::to_string(given),
          [given](cImageProcessDIB& e, cDIBSection& s) { e.Lighten(s, given); },
          [meant](cDIBSection& s, EventRecorder& r) { testing::ReferenceLighten(s, r, meant); }};
}

// Fade and Sature arrive at the reference clamped; every fading amount meets every byte below.
TEST(ColourEffects, MatchTheColumnLoopOnAwkwardSizes) {
  std::vector<Case> cases = {
      Grey(),
      {"Cut", [](cImageProcessDIB& e, cDIBSection& s) { e.Eff_NoirEtBlancCoupe(s); }, ReferenceCut},
      Fade(-1000, 0),
      Fade(1 << 30, 255),
      Fade(240, 240),
      Sature(kMin, -100),
      Lighten(-101, -100)};
  for (std::int32_t p : {-30, 0, 100, 333, 25600}) cases.push_back(Sature(p, p));
  for (std::int32_t p : {-37, 0, 20, 450}) cases.push_back(Lighten(p, p));
  std::uint32_t seed = 11;
  for (const Case& c : cases) {
    for (auto [w, h] : testing::kAwkwardSizes) {
      SCOPED_TRACE(::testing::Message() << c.name << ' ' << w << 'x' << h);
      testing::ExpectSameAsReference(testing::RandomSurface(w, h, seed++), c.effect, c.reference);
    }
  }
}

// The vector forms must round exactly where the plain arithmetic does, for every colour. Sature is
// clamped at 25600: larger percentages must give the same picture as the unclamped arithmetic.
TEST(ColourEffects, EveryColourMatchesThePlainArithmetic) {
  for (const Case& c :
       {Grey(), Lighten(20, 20), Lighten(-37, -37), Lighten(150, 150), Sature(-30, -30),
        Sature(157, 157), Sature(25601, 25601), Sature(kMax, kMax)}) {
    SCOPED_TRACE(c.name);
    testing::ExpectSameAsReference(testing::AllColours(), c.effect, c.reference, false);
  }
  cDIBSection bytes = testing::UniformSurface(86, 1, 0, 0, 0);
  for (int i = 0; i < 256; ++i) bytes.row(0)[i] = static_cast<std::uint8_t>(i);
  for (std::int32_t a = 0; a <= 255; ++a) {
    const Case c = Fade(a, a);
    testing::ExpectSameAsReference(bytes, c.effect, c.reference, false);
  }
}

TEST(ColourEffects, HandComputedValues) {
  const Effect grey = Grey().effect, fade = Fade(240, 240).effect;
  const Effect cut = [](cImageProcessDIB& e, cDIBSection& s) { e.Eff_NoirEtBlancCoupe(s); };
  const struct {
    Effect effect;
    std::uint32_t in, out;  // 0xRRGGBB
  } cases[] = {
      {grey, 0xFF0000, 0x393939},                        // 56.61 → 57
      {grey, 0x0000FF, 0x121212},                        // 18.105 → 18
      {grey, 0x010012, 0x020202},                        // 1500 / 1000 → 2: halves to even
      {grey, 0x020113, 0x020202},                        // 2500 / 1000 → 2
      {fade, 0x0064FF, 0x005EF0},                        // 255 → 240, 100 → 94
      {Sature(30, 30).effect, 0x6496C8, 0x5596D7},       // grey 150: 85, 150, 215
      {Sature(-30, -30).effect, 0x6496C8, 0x7396B9},     // 115, 150, 185
      {cut, 0x818080, 0x000000},                         // sum 385
      {cut, 0x818180, 0xFFFFFF},                         // sum 386
      {Lighten(20, 20).effect, 0x643232, 0x783C3C},      // lightness 0.294 → 0.353
      {Lighten(kMax, kMax).effect, 0x643232, 0xFFFFFF},  // lightness capped at 1
      {Lighten(-100, -100).effect, 0x643232, 0x000000},
  };
  for (const auto& c : cases) {
    cDIBSection s = testing::UniformSurface(1, 1, 0, 0, 0);
    testing::SetPixelRGB(s, 0, 0, c.in);
    cImageProcessDIB engine;
    c.effect(engine, s);
    EXPECT_EQ(testing::PixelRGB(s, 0, 0), c.out) << std::hex << c.in << " → " << c.out;
  }
}

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
