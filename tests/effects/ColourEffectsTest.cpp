// The colour effects (grey levels, fading, saturation, lightening, the black-and-white cut and
// black and white by error diffusion) against the plain column loop, and hand values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "effects/Checks.h"
#include "surface/mHLSRGB.h"

namespace fotavel {
namespace {

using testing::Event;
using testing::RandomSurface;
using testing::UniformSurface;
using Effect = std::function<void(cImageProcessDIB&, cDIBSection&)>;
using PixelFn = std::function<void(std::uint8_t*)>;  // gets the pixel's blue, green, red

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The frame of a per-pixel effect: a Progress after each byte column 0 … 3(W − 1), in steps of 3.
// A function of one pixel gives the same picture in any order: the pixels are visited by rows.
std::vector<Event> ReferencePass(cDIBSection& s, const PixelFn& fn) {
  const std::int32_t last = 3 * (s.width() - 1);
  std::vector<Event> events{{Event::kInit, last}};
  for (std::int32_t y = 0; y < s.height(); ++y) {
    for (std::int32_t x = 0; x <= last; x += 3) fn(s.row(y) + x);
  }
  for (std::int32_t x = 0; x <= last; x += 3) events.push_back({Event::kProgress, x});
  events.push_back({Event::kComplete, 0});
  return events;
}

void PlainGrey(std::uint8_t* p) {
  p[0] = p[1] = p[2] =
      static_cast<std::uint8_t>(std::nearbyint((222.0 * p[2] + 707.0 * p[1] + 71.0 * p[0]) / 1000));
}

void PlainCut(std::uint8_t* p) {
  const double mean = std::nearbyint((p[0] + p[1] + p[2]) / 3.0);
  p[0] = p[1] = p[2] = mean < 129 ? 0 : 255;
}

PixelFn PlainFade(std::int32_t amount) {
  return [amount](std::uint8_t* p) {
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * amount / 255);
  };
}

// Unclamped: callers pass the percentage the engine is meant to use.
PixelFn PlainSature(std::int32_t percentage) {
  const float f = static_cast<float>(percentage / 100.0);
  return [f](std::uint8_t* p) {
    const std::int32_t grey = (p[0] + p[1] + p[2]) / 3;
    for (int c = 0; c < 3; ++c) {
      const double v = std::nearbyint((p[c] - grey) * double{f} + p[c]);
      p[c] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
  };
}

// Through the scalar HLS conversions, the lightness capped at 1.
PixelFn PlainLighten(std::int32_t percentage) {
  return [percentage](std::uint8_t* p) {
    float h, s, l;
    mHLSRGB::RGBToHLS(p[2], p[1], p[0], h, s, l);
    const float lighter = std::min(1.0f, static_cast<float>(l * (1 + percentage / 100.0)));
    int rgb[3];
    mHLSRGB::HLSToRGB(h, s, lighter, rgb[0], rgb[1], rgb[2]);
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(rgb[2 - c]);
  };
}

struct Case {
  std::string name;
  Effect effect;
  PixelFn plain;
};

const Case kGrey{"grey", [](cImageProcessDIB& e, cDIBSection& s) { e.GrayScale(s); }, PlainGrey};
const Case kCut{"cut", [](cImageProcessDIB& e, cDIBSection& s) { e.Eff_NoirEtBlancCoupe(s); },
                PlainCut};

// `given` goes to the engine, `meant` (the amount clamped as the engine should) to the plain pass.
template <auto Pass, auto Plain>
Case With(std::int32_t given, std::int32_t meant) {
  return {std::to_string(given),
          [given](cImageProcessDIB& e, cDIBSection& s) { (e.*Pass)(s, given); }, Plain(meant)};
}
constexpr auto Fade = With<&cImageProcessDIB::Fade, PlainFade>;
constexpr auto Sature = With<&cImageProcessDIB::Sature, PlainSature>;
constexpr auto Lighten = With<&cImageProcessDIB::Lighten, PlainLighten>;

// A 4096 x 4096 surface holding every 24-bit colour once: pixel (i, y) is 0xRRGGBB = y × 4096 + i.
const cDIBSection& AllColours() {
  static const cDIBSection all = [] {
    cDIBSection s = UniformSurface(4096, 4096, 0, 0, 0);
    for (std::uint32_t c = 0; c < (1u << 24); ++c) testing::SetPixelRGB(s, c % 4096, c / 4096, c);
    return s;
  }();
  return all;
}

void ExpectSameAsReference(const cDIBSection& input, const Case& c) {
  cDIBSection got = testing::Copy(input), want = testing::Copy(input);
  const auto events = testing::Recorded([&](cImageProcessDIB& e) { c.effect(e, got); });
  testing::ExpectSame(got, want, events, ReferencePass(want, c.plain));
}

// The vector forms must round where the plain arithmetic does: on every colour, and on 301 columns
// (two strips, vector tails). The first four reach the plain loop clamped; Sature past 25600 must
// give what the unclamped arithmetic gives. Fading is tried with every amount on every byte.
TEST(ColourEffects, MatchThePlainColumnLoop) {
  std::vector<Case> cases = {
      Fade(-1000, 0), Fade(1 << 30, 255), Sature(kMin, -100), Lighten(-101, -100), kGrey, kCut};
  for (const std::int32_t p : {-30, 157, 25601, kMax}) cases.push_back(Sature(p, p));
  for (const std::int32_t p : {20, -37, 150}) cases.push_back(Lighten(p, p));
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(::testing::Message() << "case " << k << ", amount " << cases[k].name);
    ExpectSameAsReference(RandomSurface(301, 203, 11), cases[k]);
    if (k >= 4) ExpectSameAsReference(AllColours(), cases[k]);
  }
  cDIBSection bytes = UniformSurface(86, 1, 0, 0, 0);
  for (int i = 0; i < 256; ++i) bytes.row(0)[i] = static_cast<std::uint8_t>(i);
  for (std::int32_t a = 0; a <= 255; ++a) ExpectSameAsReference(bytes, Fade(a, a));
}

TEST(ColourEffects, HandComputedValues) {
  const struct {
    Effect effect;
    std::uint32_t in, out;  // 0xRRGGBB
  } cases[] = {
      {kGrey.effect, 0x010012, 0x020202},                // 1500 / 1000 → 2: halves to even
      {kGrey.effect, 0x020113, 0x020202},                // 2500 / 1000 → 2
      {Sature(30, 30).effect, 0x6496C8, 0x5596D7},       // grey 150: 85, 150, 215
      {kCut.effect, 0x818080, 0x000000},                 // sum 385
      {kCut.effect, 0x818180, 0xFFFFFF},                 // sum 386
      {Lighten(20, 20).effect, 0x643232, 0x783C3C},      // lightness 0.294 → 0.353
      {Lighten(kMax, kMax).effect, 0x643232, 0xFFFFFF},  // lightness capped at 1
  };
  for (const auto& c : cases) {
    cDIBSection s = UniformSurface(1, 1, 0, 0, 0);
    testing::SetPixelRGB(s, 0, 0, c.in);
    cImageProcessDIB engine;
    c.effect(engine, s);
    EXPECT_EQ(testing::PixelRGB(s, 0, 0), c.out) << std::hex << c.in << " → " << c.out;
  }
}

// The pass as defined: grey levels (with their own events), the column walk sharing each pixel's
// error with its right neighbour and three in the next row, then cTo copied into cFrom.
std::vector<Event> ReferenceBlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo) {
  std::vector<Event> events = ReferencePass(cFrom, PlainGrey);
  const std::int32_t w = cTo.width(), h = cTo.height();
  ByteView from = cFrom.view(), to = cTo.view();
  auto add = [&](std::int32_t x, std::int32_t y, std::int32_t share) {
    const auto v = static_cast<std::uint8_t>(std::clamp(from(x, y) + share, 0, 255));
    from(x, y) = from(x + 1, y) = from(x + 2, y) = v;
  };
  events.push_back({Event::kInit, 3 * w - 3});
  for (std::int32_t x = 0; x <= 3 * w - 3; x += 3) {
    for (std::int32_t y = 0; y <= h - 1; ++y) {
      const std::int32_t v = from(x, y);
      const std::int32_t e = v < 129 ? (v < 17 ? 0 : v) : 127 - v;
      to(x, y) = to(x + 1, y) = to(x + 2, y) = v < 129 ? 0 : 255;
      if (x < 3 * w - 6) add(x + 3, y, 7 * e / 16);
      if (y < h - 1) {
        const std::int32_t offsets[] = {-3, 0, 3}, weights[] = {3, 5, 1};
        for (int k = 0; k < 3; ++k) {
          const std::int32_t xx = x + offsets[k];
          if (0 < xx && xx < 3 * w - 3) add(xx, y + 1, e * weights[k] / 16);
        }
      }
    }
    events.push_back({Event::kProgress, x});
  }
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < 3 * w; ++x) from(x, y) = to(x, y);
  }
  events.push_back({Event::kComplete, 0});
  return events;
}

// Two columns have no inner column to pass errors to; 301 cross from one strip of the walk into
// the next.
TEST(BlackAndWhite, MatchesTheLiteralColumnWalk) {
  for (const auto [w, h] : {testing::Size{2, 5}, {301, 203}}) {
    SCOPED_TRACE(::testing::Message() << w << 'x' << h);
    cDIBSection from = RandomSurface(w, h, 61 + w), to = RandomSurface(w, h, 67 + w);
    cDIBSection plainFrom = testing::Copy(from), plainTo = testing::Copy(to);
    const std::vector<Event> plainEvents = ReferenceBlackAndWhite(plainFrom, plainTo);
    const auto events = testing::Recorded([&](cImageProcessDIB& e) { e.BlackAndWhite(from, to); });
    testing::ExpectSame(to, plainTo, events, plainEvents);
    testing::ExpectSame(from, plainFrom, {}, {});
  }
}

}  // namespace
}  // namespace fotavel
