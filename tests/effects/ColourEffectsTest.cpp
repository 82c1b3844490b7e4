// Grey levels, fading, saturation, lightening and the black-and-white cut: hand values and plain
// loops.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "effects/ColourReference.h"

namespace fotavel {
namespace {

using testing::EventRecorder;
using testing::ReferencePass;
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

}  // namespace
}  // namespace fotavel
