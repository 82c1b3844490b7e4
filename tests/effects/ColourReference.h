// Plain column-by-column reference passes for the colour effects, and an all-colours surface.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "effects/cImageProcessDIB.h"
#include "support/EventRecorder.h"
#include "support/Surfaces.h"
#include "surface/mHLSRGB.h"

namespace fotavel::testing {

// The common frame of a per-pixel effect as the engine defines it: outer loop
// over byte columns 0 … 3(W − 1) in steps of 3, inner loop over the rows,
// Progress after each column. fn gets the pixel's bytes (blue, green, red).
template <class PixelFn>
void ReferencePass(cDIBSection& s, ProgressListener& listener, PixelFn fn) {
  const std::int32_t last = 3 * (s.width() - 1);
  ByteView v = s.view();
  listener.InitProgress(last);
  for (std::int32_t x = 0; x <= last; x += 3) {
    for (std::int32_t y = 0; y < s.height(); ++y) fn(&v(x, y));
    listener.Progress(x);
  }
  listener.Complete(0);
}

inline std::int32_t Clamp255(std::int32_t v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

inline std::uint8_t ReferenceGrey(const std::uint8_t* p) {
  return static_cast<std::uint8_t>(
      std::nearbyint((222.0 * p[2] + 707.0 * p[1] + 71.0 * p[0]) / 1000));
}

inline void ReferenceGrayScale(cDIBSection& s, ProgressListener& listener) {
  ReferencePass(s, listener, [](std::uint8_t* p) { p[0] = p[1] = p[2] = ReferenceGrey(p); });
}

// Lighten with the percentage as given (callers keep it at −100 or above).
inline void ReferenceLighten(cDIBSection& s, ProgressListener& listener, std::int32_t percentage) {
  ReferencePass(s, listener, [percentage](std::uint8_t* p) {
    float h, sat, l;
    mHLSRGB::RGBToHLS(p[2], p[1], p[0], h, sat, l);
    float lighter = static_cast<float>(l * (1 + percentage / 100.0));
    if (lighter > 1) lighter = 1;
    int r, g, b;
    mHLSRGB::HLSToRGB(h, sat, lighter, r, g, b);
    p[0] = static_cast<std::uint8_t>(b);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(r);
  });
}

// Sature with the percentage as given, unclamped; the grey from a table of the
// 766 sums made for the call.
inline void ReferenceSature(cDIBSection& s, ProgressListener& listener, std::int32_t percentage) {
  std::int32_t third[766];
  for (std::int32_t i = 0; i < 766; ++i) third[i] = i / 3;
  const float f = static_cast<float>(percentage / 100.0);
  ReferencePass(s, listener, [&](std::uint8_t* p) {
    const std::int32_t grey = third[p[0] + p[1] + p[2]];
    for (int c = 0; c < 3; ++c) {
      const double v = std::nearbyint((p[c] - grey) * double{f} + p[c]);
      p[c] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
  });
}

// A 4096 x 4096 surface holding every 24-bit colour once: pixel (i, y) is 0xRRGGBB = y × 4096 + i.
inline const cDIBSection& AllColours() {
  static const cDIBSection all = [] {
    cDIBSection s = UniformSurface(4096, 4096, 0, 0, 0);
    for (std::int32_t y = 0; y < 4096; ++y) {
      for (std::int32_t i = 0; i < 4096; ++i) SetPixelRGB(s, i, y, std::uint32_t(y) * 4096 + i);
    }
    return s;
  }();
  return all;
}

// Runs `engineCall` on a copy of `input` with an event recorder and
// `reference` on another copy, and compares pixels, padding and events.
template <class EngineCall, class Reference>
void ExpectSameAsReference(const cDIBSection& input, EngineCall engineCall, Reference reference,
                           bool compareEvents = true) {
  cImageProcessDIB engine;
  EventRecorder got;
  engine.SetListener(&got);
  cDIBSection actual = Copy(input);
  engineCall(engine, actual);

  EventRecorder want;
  cDIBSection expected = Copy(input);
  reference(expected, want);

  ASSERT_TRUE(SamePixels(actual, expected)) << FirstDifference(actual, expected);
  EXPECT_TRUE(PaddingIntact(actual));
  if (compareEvents) {
    EXPECT_EQ(got.events, want.events);
  }
}

}  // namespace fotavel::testing
