// Filters and combinations: against the plain column-by-column passes (pixels, padding and events,
// bit for bit), refused settings, and results worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "effects/Checks.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

using namespace ImageProcessErrors;
using testing::Event;
using testing::ExpectRefused;
using testing::Kernel;
using testing::PixelRGB;
using testing::SetPixelRGB;
using testing::UniformSurface;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The passes as described: byte columns in steps of 3, rows within, a Progress after each column.
// Sums are exact in 64 bits (128 for the weighted sum); `/` on them truncates toward zero.
class PlainPasses {
 public:
  std::vector<Event> events;

  // A square kernel, entry (iX, iY) at kernel[(iY + half) × size + iX + half].
  void Convolution(const cDIBSection& s, cDIBSection& d, std::int32_t size,
                   const std::vector<std::int32_t>& kernel, std::int32_t weight) {
    const std::int32_t h = size / 2;
    Columns(3 * h, 3 * (s.width() - h - 1), [&](std::int32_t x) {
      for (std::int32_t y = h; y <= s.height() - h - 1; ++y) {
        std::int64_t sum[3] = {0, 0, 0};
        for (std::int32_t iX = -h; iX <= h; ++iX) {
          for (std::int32_t iY = -h; iY <= h; ++iY) {
            const std::int64_t k = kernel[std::size_t(iY + h) * size + (iX + h)];
            for (int c = 0; c < 3; ++c) sum[c] += s.view()(x + 3 * iX + c, y + iY) * k;
          }
        }
        for (int c = 0; c < 3; ++c) {
          d.view()(x + c, y) =
              static_cast<std::uint8_t>(std::clamp<std::int64_t>(sum[c] / weight, 0, 255));
        }
      }
    });
  }

  // The 3 × 3 minimum or maximum (the mean is the 3 × 3 box convolution of weight 9).
  void Rank(const cDIBSection& s, cDIBSection& d, bool maximum) {
    Columns(3, 3 * s.width() - 6, [&](std::int32_t x) {
      for (std::int32_t y = 1; y <= s.height() - 2; ++y) {
        for (int c = 0; c < 3; ++c) {
          std::uint8_t v = s.view()(x + c, y);
          for (int k = 0; k < 9; ++k) {
            const std::uint8_t n = s.view()(x + 3 * (k % 3 - 1) + c, y + k / 3 - 1);
            v = maximum ? std::max(v, n) : std::min(v, n);
          }
          d.view()(x + c, y) = v;
        }
      }
    });
  }

  void AddImages(const cDIBSection& from, cDIBSection& to, std::int32_t fromMultiplier,
                 const std::int32_t fromOffsets[3], std::int32_t toMultiplier,
                 const std::int32_t toOffsets[3]) {
    Columns(0, 3 * to.width() - 3, [&](std::int32_t x) {
      for (std::int32_t y = 0; y < to.height(); ++y) {
        for (int c = 0; c < 3; ++c) {
          std::uint8_t& d = to.view()(x + c, y);
          // Two products of 32-bit factors can together pass 2^63.
          const __int128 v =
              __int128{from.view()(x + c, y) + std::int64_t{fromOffsets[c]}} * fromMultiplier +
              __int128{d + std::int64_t{toOffsets[c]}} * toMultiplier;
          d = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
      }
    });
  }

  // Copies the source pixel where its measure 929 × green + 71 × blue is strictly below the
  // destination's (AddLightest, as the engine names it), or strictly above (AddDarkest).
  void Keep(const cDIBSection& from, cDIBSection& to, bool whereDarker) {
    Columns(0, 3 * (to.width() - 1), [&](std::int32_t x) {
      for (std::int32_t y = 0; y < to.height(); ++y) {
        const std::int32_t source = 929 * from.view()(x + 1, y) + 71 * from.view()(x, y);
        const std::int32_t destination = 929 * to.view()(x + 1, y) + 71 * to.view()(x, y);
        if (whereDarker ? source < destination : destination < source) {
          for (int c = 0; c < 3; ++c) to.view()(x + c, y) = from.view()(x + c, y);
        }
      }
    });
  }

 private:
  template <class Fn>
  void Columns(std::int32_t first, std::int32_t last, Fn&& column) {
    events.push_back({Event::kInit, last});
    for (std::int32_t x = first; x <= last; x += 3) {
      column(x);
      events.push_back({Event::kProgress, x});
    }
    events.push_back({Event::kComplete, 0});
  }
};

// A single column or row has no inside at all; 5 x 4 is too small for kernels past 3 x 3 and less
// than a vector; 17 x 13 is a vector and a part, less than one inside a 9 x 9 kernel; 301 x 203 is
// two strips of either pass.
constexpr testing::Size kSizes[] = {{1, 6}, {9, 1}, {5, 4}, {17, 13}, {301, 203}};

// ProcessImage as described: the image copied into the buffer, the pass from image into buffer,
// then the copy back or the combination. The mean is the box kernel of weight 9, whatever the size.
std::vector<Event> PlainProcess(const cImageProcessDIB& engine, cDIBSection& image,
                                cDIBSection& buffer) {
  PlainPasses plain;
  const std::int32_t type = engine.FilterType();
  const std::int32_t zero[3] = {0, 0, 0}, lift[3] = {127, 127, 127};
  buffer = testing::Copy(image);
  if (type == 10 || type == 11) {
    plain.Rank(image, buffer, type == 11);
  } else if (type == 7 || type == 9) {
    plain.Convolution(image, buffer, 3, std::vector<std::int32_t>(9, 1), 9);
  } else {
    plain.Convolution(image, buffer, engine.FilterArraySize(), Kernel(engine),
                      engine.FilterWeight());
  }
  if (type == 7) {
    plain.AddImages(buffer, image, -1, zero, 2, zero);
  } else if (type == 8) {
    plain.AddImages(buffer, image, 1, lift, 0, zero);
  } else {
    image = testing::Copy(buffer);
  }
  return plain.events;
}

// Runs the engine as it is set up and the plain passes on copies of the same random pictures, and
// compares pixels, padding and events.
void ExpectSameAsPlain(cImageProcessDIB& engine, std::uint32_t seed) {
  for (const auto [width, height] : kSizes) {
    SCOPED_TRACE(::testing::Message() << width << 'x' << height << " seed " << seed);
    cDIBSection image = testing::RandomSurface(width, height, seed);
    cDIBSection buffer = testing::RandomSurface(width, height, seed + 1);
    cDIBSection plainImage = testing::Copy(image), plainBuffer = testing::Copy(buffer);
    const std::vector<Event> plainEvents = PlainProcess(engine, plainImage, plainBuffer);
    testing::EventRecorder recorder;
    engine.SetListener(&recorder);
    ASSERT_TRUE(engine.ProcessImage(image, buffer));
    engine.SetListener(nullptr);
    testing::ExpectSame(image, plainImage, recorder.events, plainEvents);
    testing::ExpectSame(buffer, plainBuffer, {}, {});
  }
}

// Every preset, then the state callers leave behind: unsharp switches to the box kernel, weight 0;
// rank filters ignore a larger kernel; presets use a kernel and weight as changed (7 x 7, zeroed).
TEST(FiltersReference, PresetsAndStateChangedByTheCallerMatchThePlainPasses) {
  for (std::int32_t type = 1; type <= 11; ++type) {
    SCOPED_TRACE(::testing::Message() << "type " << type);
    cImageProcessDIB engine;
    engine.FilterType(type);
    ExpectSameAsPlain(engine, 100 + type);
  }
  cImageProcessDIB engine;
  engine.FilterType(5);
  engine.FilterType(7);
  ExpectSameAsPlain(engine, 7);
  EXPECT_EQ(std::pair(Kernel(engine), engine.FilterWeight()),
            std::pair(std::vector<std::int32_t>(9, 1), 0));
  engine.FilterType(10);
  engine.FilterArraySize(9);
  ExpectSameAsPlain(engine, 10);
  engine.FilterType(8);
  engine.FilterValue(1, -1, 2);
  engine.FilterWeight(-3);
  ExpectSameAsPlain(engine, 81);
  engine.FilterType(2);
  engine.FilterArraySize(7);
  EXPECT_EQ(std::pair(Kernel(engine), engine.FilterWeight()),
            std::pair(std::vector<std::int32_t>(49, 0), 25));
  ExpectSameAsPlain(engine, 21);
}

// Custom kernels whose sums need 16, 32 and 64 bits, with either sign of weight, including the
// weights at the ends of the 32-bit range.
TEST(FiltersReference, RandomCustomKernelsOfEverySizeAndRange) {
  // The largest entry and the largest weight of each class.
  const std::pair<std::int32_t, std::int32_t> classes[] = {
      {5, 40}, {127, 3000}, {4000, 100000}, {60000, 1000000}, {kMax, kMax}};
  std::mt19937 random(2024);
  std::uint32_t seed = 1000;
  for (const std::int32_t size : {3, 5, 7, 9}) {
    for (const auto& [maxEntry, maxWeight] : classes) {
      SCOPED_TRACE(::testing::Message() << "size " << size << " entries to " << maxEntry);
      cImageProcessDIB engine;
      engine.FilterType(12);
      engine.FilterArraySize(size);
      std::uniform_int_distribution<std::int32_t> entry(-maxEntry, maxEntry);
      std::int64_t magnitude = 0;
      for (std::int32_t k = 0; k < size * size; ++k) {
        // Small kernels keep their 16-bit bound by thinning out entries.
        std::int32_t value = entry(random);
        if (maxEntry <= 127 && magnitude + std::abs(value) > 128) value = 0;
        magnitude += std::abs(value);
        engine.FilterValue(k % size - size / 2, k / size - size / 2, value);
      }
      std::uniform_int_distribution<std::int32_t> weight(-maxWeight, maxWeight);
      std::int32_t w = 0;
      while (w == 0) w = weight(random);
      engine.FilterWeight(size == 9 && maxWeight == kMax ? std::numeric_limits<std::int32_t>::min()
                                                         : w);
      ExpectSameAsPlain(engine, ++seed);
    }
  }
}

// Entries of magnitudes adding up to 128 keep sums of white within 16 bits (255 × 128 = 32 640),
// 129 do not: white stays white either way, whatever the signs. 15 inner pixels fill a vector.
TEST(FiltersReference, KernelsAtTheEdgeOfSixteenBitsKeepWhiteWhite) {
  const cDIBSection white = testing::UniformSurface(17, 4, 255, 255, 255);
  for (const std::int32_t total : {128, 129, -128, -129}) {
    cImageProcessDIB engine;
    engine.FilterType(12);
    engine.FilterArraySize(3);
    const std::int32_t one = total < 0 ? -1 : 1;
    for (std::int32_t k = 0; k < 9; ++k) {
      engine.FilterValue(k % 3 - 1, k / 3 - 1, k == 4 ? total - 8 * one : one);
    }
    engine.FilterWeight(total);
    cDIBSection image = testing::Copy(white), buffer = testing::UniformSurface(17, 4, 0, 0, 0);
    ASSERT_TRUE(engine.ProcessImage(image, buffer));
    EXPECT_TRUE(testing::SamePixels(image, white)) << "total " << total;
  }
}

TEST(FilterState, RefusedSettingsChangeNothing) {
  cImageProcessDIB engine;
  engine.FilterType(3);
  for (const std::int32_t type : {0, 13}) {
    ExpectRefused([&] { engine.FilterType(type); }, kInvalidFilterType);
  }
  for (const std::int32_t size : {4, 0, -2}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, kSizeNotOdd);
  }
  for (const std::int32_t size : {11, 1, -3}) {
    ExpectRefused([&] { engine.FilterArraySize(size); }, kInvalidSize);
  }
  for (const auto& [iX, iY] : {std::pair{2, 0}, {0, -2}, {INT32_MIN, 0}}) {
    ExpectRefused([&] { engine.FilterValue(iX, iY, 5); }, kKernelIndex);
    ExpectRefused([&] { (void)engine.FilterValue(iX, iY); }, kKernelIndex);
  }
  EXPECT_EQ(std::pair(engine.FilterType(), engine.FilterWeight()), std::pair(3, 12));
  EXPECT_EQ(Kernel(engine), (std::vector<std::int32_t>{1, 1, 1, 1, 4, 1, 1, 1, 1}));
  cImageProcessDIB fresh;  // no kernel at all: even (0, 0) is outside it
  ExpectRefused([&] { (void)fresh.FilterValue(0, 0); }, kKernelIndex);
}

// The middle pixel (2, 2) of 5 x 5 pictures, one colour but for the pixels listed: the presets'
// kernels, which the comparisons above take from the engine.
TEST(FilterValues, HandComputedCentres) {
  const struct {
    std::int32_t type;
    std::uint32_t background;                              // 0xRRGGBB
    std::vector<std::tuple<int, int, std::uint32_t>> set;  // column, storage row, colour
    std::uint32_t centre;
  } cases[] = {
      {1, 0x000000, {{2, 2, 0x0000FF}}, 0x00001C},  // 255 / 9 → 28
      {2, 0x000000, {{2, 2, 0x0000FA}}, 0x00000A},  // 250 / 25
      {3, 0x585858, {{2, 2, 0x646464}}, 0x5C5C5C},  // (8 × 88 + 4 × 100) / 12 = 92
      {4, 0x000000, {{2, 2, 0x0000FF}}, 0x000045},  // 12 × 255 / 44 = 69.5 → 69
      // Sharpen truncates: (15 × 100 − 8 × 90) / 7 = 780 / 7 → 111 in blue and green; the
      // uniform red 50 stays.
      {5, 0x325A5A, {{2, 2, 0x326464}}, 0x326F6F},
      {6, 0x5A5A5A, {{2, 2, 0x646464}, {1, 1, 0}}, 0x8C8C8C},  // 5 × 100 − 4 × 90; corners 0
      {10, 0xDCD2C8, {{1, 1, 0x0A0A0A}}, 0x0A0A0A},            // the minimum takes a dark corner
      {11, 0xDCD2C8, {{2, 2, 0x0A0A0A}}, 0xDCD2C8},            // the maximum drops a dark middle
      // Storage row 3 is above row 1: emboss is (upper right − lower left) clamped at 0, + 127:
      // red 60 − 40, green 90 − 40, blue 70 − 60.
      {8, 0x323232, {{3, 3, 0x3C5A46}, {1, 1, 0x28283C}}, 0x93B189},
  };
  for (const auto& c : cases) {
    const std::uint32_t bg = c.background;
    cDIBSection image = testing::UniformSurface(5, 5, bg & 0xFF, bg >> 8 & 0xFF, bg >> 16);
    for (const auto& [i, y, rgb] : c.set) testing::SetPixelRGB(image, i, y, rgb);
    cDIBSection buffer = testing::RandomSurface(5, 5, 99);
    cImageProcessDIB engine;
    engine.FilterArraySize(9);  // each preset brings its own size
    engine.FilterType(c.type);
    ASSERT_TRUE(engine.ProcessImage(image, buffer));
    EXPECT_EQ(PixelRGB(image, 2, 2), c.centre) << "type " << c.type;
  }
}

struct Weights {
  std::int32_t fromMultiplier;
  std::int32_t from[3];  // offsets R, G, B: bytes 0, 1, 2 of a pixel
  std::int32_t toMultiplier;
  std::int32_t to[3];
};

void AddImages(cImageProcessDIB& engine, const cDIBSection& from, cDIBSection& to,
               const Weights& w) {
  engine.AddImages(from, to, w.fromMultiplier, w.from[0], w.from[1], w.from[2], w.toMultiplier,
                   w.to[0], w.to[1], w.to[2]);
}

// Engine and plain loop on the same random pictures, the source as large as the destination or
// one pixel wider and higher.
void ExpectSameAsPlain(
    const std::function<void(cImageProcessDIB&, const cDIBSection&, cDIBSection&)>& engineRun,
    const std::function<void(PlainPasses&, const cDIBSection&, cDIBSection&)>& plainRun,
    std::uint32_t seed) {
  for (const auto [width, height] : kSizes) {
    for (const std::int32_t larger : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << width << 'x' << height << " larger " << larger);
      const cDIBSection from = testing::RandomSurface(width + larger, height + larger, seed);
      const cDIBSection fromBefore = testing::Copy(from);
      cDIBSection to = testing::RandomSurface(width, height, seed + 1);
      // Some pixels with equal measures, and some that differ only in red.
      for (std::int32_t y = 0; larger == 0 && y < height; y += 2) {
        const std::uint32_t p = PixelRGB(from, 0, y);
        SetPixelRGB(to, 0, y, y % 4 == 0 ? p : p ^ 0xFF0000);
      }
      cDIBSection expected = testing::Copy(to);
      PlainPasses plain;
      plainRun(plain, from, expected);
      const auto events = testing::Recorded([&](cImageProcessDIB& e) { engineRun(e, from, to); });
      testing::ExpectSame(to, expected, events, plain.events);
      EXPECT_TRUE(testing::SamePixels(from, fromBefore));
    }
  }
}

// AddDarkest raises no events.
TEST(Combinations, MatchThePlainLoopsOverEveryRangeOfWeights) {
  ExpectSameAsPlain(
      [](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { e.AddLightest(f, t); },
      [](PlainPasses& p, const cDIBSection& f, cDIBSection& t) { p.Keep(f, t, true); }, 1);
  ExpectSameAsPlain(
      [](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { e.AddDarkest(f, t); },
      [](PlainPasses& p, const cDIBSection& f, cDIBSection& t) {
        p.Keep(f, t, false);
        p.events.clear();
      },
      2);
  const Weights cases[] = {
      {-1, {-255, -255, -255}, 0, {0, 0, 0}},                // negative, destination not read
      {-1, {0, 0, 0}, 2, {0, 0, 0}},                         // unsharp
      {3, {-40, 7, 300}, -2, {11, -90, 5}},                  // 16-bit sums
      {300, {-100, 0, 100}, -301, {0, 20, -20}},             // 32-bit sums
      {kMin, {kMin, kMin, kMin}, kMin, {kMin, kMin, kMin}},  // 2^63 and beyond
      {kMax, {kMax, kMax, kMax}, kMax, {kMax, kMax, kMax}},
      {kMin, {kMax, 0, -255}, kMax, {kMin, -255, 255}},
  };
  std::uint32_t seed = 10;
  for (const Weights& w : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "multipliers " << w.fromMultiplier << ", " << w.toMultiplier);
    ExpectSameAsPlain(
        [&](cImageProcessDIB& e, const cDIBSection& f, cDIBSection& t) { AddImages(e, f, t, w); },
        [&](PlainPasses& p, const cDIBSection& f, cDIBSection& t) {
          p.AddImages(f, t, w.fromMultiplier, w.from, w.toMultiplier, w.to);
        },
        seed += 2);
  }
}

// On uniform 3 x 2 pictures: the negative, and which pixel is lighter, decided by 929 × green +
// 71 × blue.
TEST(Combinations, HandComputedValues) {
  enum Op { kAdd, kLightest, kDarkest };
  const struct {
    Op op;
    std::uint32_t from, to;  // 0xRRGGBB
    Weights w;
    std::uint32_t out;
  } cases[] = {
      {kAdd, 0xFF8000, 0x030201, {-1, {-255, -255, -255}, 0, {0, 0, 0}}, 0x007FFF},  // 255 − c
      // The offsets named R go with the first byte, which holds blue.
      {kAdd, 0x000000, 0x000000, {1, {10, 20, 30}, 1, {1, 2, 3}}, 0x21160B},
      {kDarkest, 0x000100, 0x00000D, {}, 0x000100},   // 929 × 1 against 71 × 13 = 923
      {kDarkest, 0x000100, 0x00000E, {}, 0x00000E},   // and 71 × 14 = 994
      {kLightest, 0x000100, 0x00000E, {}, 0x000100},  // the darker source is taken
  };
  const auto uniform = [](std::uint32_t rgb) {
    return UniformSurface(3, 2, rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16);
  };
  cImageProcessDIB engine;
  for (const auto& c : cases) {
    cDIBSection to = uniform(c.to);
    if (c.op == kAdd) AddImages(engine, uniform(c.from), to, c.w);
    if (c.op == kLightest) engine.AddLightest(uniform(c.from), to);
    if (c.op == kDarkest) engine.AddDarkest(uniform(c.from), to);
    EXPECT_EQ(PixelRGB(to, 2, 1), c.out) << std::hex << c.from << " onto " << c.to;
  }
}

}  // namespace
}  // namespace fotavel
