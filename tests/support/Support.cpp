// Test helpers: random surfaces, comparisons, and the test main.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>

#include "effects/ImageProcessError.h"
#include "support/Surfaces.h"
#include "surface/CpuVersions.h"

namespace fotavel::testing {

namespace {
cDIBSection Make(std::int32_t width, std::int32_t height) {
  cDIBSection s;
  if (!s.Create(width, height)) throw std::runtime_error("test surface not created");
  for (std::int32_t y = 0; y < height; ++y)
    std::fill(s.row(y) + 3 * width, s.row(y) + s.BytesPerScanLine(), kPaddingSentinel);
  return s;
}
}  // namespace

cDIBSection RandomSurface(std::int32_t width, std::int32_t height, std::uint32_t seed) {
  cDIBSection s = Make(width, height);
  std::mt19937 generator(seed);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < 3 * width; ++x)
      s.row(y)[x] = static_cast<std::uint8_t>(generator());
  }
  return s;
}

cDIBSection UniformSurface(std::int32_t width, std::int32_t height, std::uint8_t blue,
                           std::uint8_t green, std::uint8_t red) {
  cDIBSection s = Make(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t i = 0; i < width; ++i) SetPixelRGB(s, i, y, red << 16 | green << 8 | blue);
  }
  return s;
}

cDIBSection Copy(const cDIBSection& s) {
  cDIBSection c = Make(s.width(), s.height());
  for (std::int32_t y = 0; y < s.height(); ++y)
    std::copy(s.row(y), s.row(y) + s.BytesPerScanLine(), c.row(y));
  return c;
}

bool PaddingIntact(const cDIBSection& s) {
  for (std::int32_t y = 0; y < s.height(); ++y) {
    if (std::any_of(s.row(y) + 3 * s.width(), s.row(y) + s.BytesPerScanLine(),
                    [](std::uint8_t b) { return b != kPaddingSentinel; })) {
      return false;
    }
  }
  return true;
}

bool SamePixels(const cDIBSection& a, const cDIBSection& b) {
  return FirstDifference(a, b).empty();
}

std::string FirstDifference(const cDIBSection& a, const cDIBSection& b) {
  std::ostringstream out;
  if (a.width() != b.width() || a.height() != b.height()) {
    out << "sizes " << a.width() << 'x' << a.height() << " and " << b.width() << 'x' << b.height();
    return out.str();
  }
  for (std::int32_t y = 0; y < a.height(); ++y) {
    for (std::int32_t x = 0; x < 3 * a.width(); ++x) {
      if (a.row(y)[x] != b.row(y)[x]) {
        out << "byte " << x << " (pixel " << x / 3 << ") of row " << y << ": " << int(a.row(y)[x])
            << " vs " << int(b.row(y)[x]);
        return out.str();
      }
    }
  }
  return {};
}

std::uint32_t PixelRGB(const cDIBSection& s, std::int32_t i, std::int32_t y) {
  const std::uint8_t* p = s.row(y) + 3 * i;
  return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

void SetPixelRGB(cDIBSection& s, std::int32_t i, std::int32_t y, std::uint32_t rgb) {
  std::uint8_t* p = s.row(y) + 3 * i;
  p[0] = rgb & 0xFF;
  p[1] = (rgb >> 8) & 0xFF;
  p[2] = (rgb >> 16) & 0xFF;
}

}  // namespace fotavel::testing

int main(int argc, char** argv) {
  // The tests read the French texts whatever the language of the machine:
  // the programs they start (fotavel-batch) and any language chosen from the
  // desktop's pick French. (These tests install no translator themselves.)
  setenv("LANGUAGE", "fr", 1);
  // Engine errors name the executable as their source.
  fotavel::SetProgramName(argv[0]);
  // A run held to a machine-code version (FOTAVEL_CPU) must test that very
  // version: a misspelt one fails, one this processor cannot execute is skipped.
  if (const char* asked = std::getenv("FOTAVEL_CPU"); asked != nullptr && *asked != '\0') {
    const std::optional<fotavel::CpuVersion> version = fotavel::ParseCpuVersion(asked);
    if (!version) {
      std::cerr << "FOTAVEL_CPU=" << asked << ": not baseline, avx2 or avx512\n";
      return 2;
    }
    if (*version > fotavel::ProcessorVersion()) {
      std::cout << "FOTAVEL_CPU=" << asked << ": this processor cannot run it; skipped\n";
      return 77;
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
