// The adjustment sliders' pass, the histogram and the automatic improvement, for the photo and its
// display copy alike.
#pragma once

#include <array>
#include <cstdint>

#include "surface/cDIBSection.h"

namespace fotavel {

// The four settings of the adjustment window, each -100 … 100; all 0
// changes nothing, bit for bit.
struct AdjustSettings {
  std::int32_t luminosite = 0;  // brightness
  std::int32_t contraste = 0;   // contrast around mid-grey
  std::int32_t saturation = 0;  // colour, around each pixel's own grey
  std::int32_t chaleur = 0;     // warmth: towards amber (+) or blue (-), lightness kept

  bool operator==(const AdjustSettings&) const = default;
  bool Neutral() const { return *this == AdjustSettings{}; }
  // True when every setting lies within -100 … 100.
  bool InRange() const;
};

// What one set of settings does to a pixel, made once: the factors the
// per-pixel function reads. The same object adjusts the photo
// (24-bit rows) and the window's display copy (32-bit pixels), so the
// preview shows exactly what OK will give.
class Adjustment {
 public:
  explicit Adjustment(const AdjustSettings& settings);
  const AdjustSettings& Settings() const { return m_settings; }

  // `pixels` pixels of blue, green, red bytes, in place.
  void Row24(std::uint8_t* bgr, std::int32_t pixels) const;
  // `pixels` pixels of 0xAARRGGBB, from `from` into `to` (may be the same);
  // alpha is kept.
  void Row32(const std::uint32_t* from, std::uint32_t* to, std::int32_t pixels) const;

  // What the per-pixel function reads, worked out once from the settings
  // (Adjustments.cpp says what each is).
  struct Steps {
    std::uint16_t lift = 0;
    std::int16_t liftSign = 1, contrast = 128;
    std::int16_t saturation = 0, red = 0, green = 0, blue = 0;
  };

 private:
  AdjustSettings m_settings;
  Steps m_steps;
};

// Counts of each value of red, green, blue and lightness over a picture.
struct Histogram {
  std::array<std::uint64_t, 256> red{};
  std::array<std::uint64_t, 256> green{};
  std::array<std::uint64_t, 256> blue{};
  std::array<std::uint64_t, 256> lightness{};
  std::uint64_t pixels = 0;
  // The sum over the pixels of max(R, G, B) - min(R, G, B): how colourful
  // the picture is, which the channels counted apart cannot tell.
  std::uint64_t chroma = 0;

  bool operator==(const Histogram&) const = default;
};

// One pass over a surface, or over 32-bit 0xAARRGGBB pixels `stride`
// pixels apart (the display copy).
Histogram HistogramOf(const cDIBSection& picture);
Histogram HistogramOf(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                      std::int32_t stride);
// The same without the lightness counts (left at 0), about a fifth quicker:
// all the automatic improvement needs.
Histogram ChannelHistogramOf(const cDIBSection& picture);

// The automatic improvement worked out from a photo's histogram: a levels
// stretch per channel (low -> 0, high -> 255, the gain bounded) and a gentle
// saturation for a dull photo. Neutral when the photo already spans the range
// and is not dull.
struct AutoLevels {
  std::array<std::uint8_t, 3> low{};  // red, green, blue
  std::array<std::uint8_t, 3> high{255, 255, 255};
  std::int32_t saturation = 0;  // as AdjustSettings::saturation

  bool operator==(const AutoLevels&) const = default;
};
AutoLevels AutoLevelsFor(const Histogram& histogram);
// The sliders' nearest equivalent of `levels`, for the adjustment window's
// "Automatique" button.
AdjustSettings SettingsFor(const AutoLevels& levels);

}  // namespace fotavel
