// The adjustment sliders' pass, the histogram and the automatic improvement.
//
// PLACEHOLDER: the arithmetic below changes nothing yet; it stands in so
// that the layers above build while the pass itself is written.
#include "effects/Adjustments.h"

#include <algorithm>
#include <cstring>

#include "effects/ColumnStrips.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {

bool AdjustSettings::InRange() const {
  for (const std::int32_t v : {luminosite, contraste, saturation, chaleur}) {
    if (v < -100 || v > 100) return false;
  }
  return true;
}

Adjustment::Adjustment(const AdjustSettings& settings) : m_settings(settings) {}

void Adjustment::Row24(std::uint8_t*, std::int32_t) const {}

void Adjustment::Row32(const std::uint32_t* from, std::uint32_t* to, std::int32_t pixels) const {
  if (from != to) std::memmove(to, from, sizeof(std::uint32_t) * std::size_t(pixels));
}

Histogram HistogramOf(const cDIBSection& picture) {
  Histogram h;
  h.pixels = std::uint64_t(picture.width()) * std::uint64_t(picture.height());
  return h;
}

Histogram HistogramOf(const std::uint32_t*, std::int32_t width, std::int32_t height, std::int32_t) {
  Histogram h;
  h.pixels = std::uint64_t(width) * std::uint64_t(height);
  return h;
}

AutoLevels AutoLevelsFor(const Histogram&) { return {}; }

AdjustSettings SettingsFor(const AutoLevels&) { return {}; }

void cImageProcessDIB::Adjust(cDIBSection& image, const AdjustSettings& settings) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  const Adjustment adjustment(settings);
  RunPixelPass(m_events, image.view(), [&adjustment](std::uint8_t* p, std::int32_t pixels) {
    adjustment.Row24(p, pixels);
  });
}

void cImageProcessDIB::AutoImprove(cDIBSection& image, const AutoLevels&) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  RunPixelPass(m_events, image.view(), [](std::uint8_t*, std::int32_t) {});
}

}  // namespace fotavel
