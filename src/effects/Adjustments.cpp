// The adjustment sliders' pass, the histogram and the automatic improvement.
//
// All arithmetic is on integers, so every machine-code version gives the same
// bytes. With b, c, s, t the four settings (-100 … 100):
//
// 1. Tones, the same function of each channel value v, applied first:
//      q = v (255 - v), M = round(131072 |b| / 65025)
//      lift(v) = v ± ((q M) >> 16)                   (the sign of b)
//    a parabola that moves mid-grey by b / 2 levels and black and white not
//    at all, so nothing clips abruptly (its slope stays above 0.2);
//      C = round(128 (100 + c) / 100)
//      tone(v) = clamp(128 + (((lift(v) - 128) C + 64) >> 7))
//    contrast around mid-grey: c = -100 makes every value 128, c = 100
//    doubles the distance from 128. Written as products and shifts rather
//    than looked up in a 256-entry table, so that the whole pixel is
//    arithmetic the compiler vectorises: a table lookup per byte cost as much
//    as all the rest of the pass.
// 2. Saturation around the pixel's own grey, on the tabled values R, G, B:
//      Y = (38 R + 75 G + 15 B + 64) >> 7            (weights sum to 128)
//      f = round(128 s / 100)                        (s / 100, in 1/128)
//      X' = X + (((X - Y) f + 64) >> 7)              for X = R, G, B
//    (>> floors), that is Y + (X - Y)(1 + s / 100). A grey pixel has X = Y
//    and stays as it is; s = -100 gives Y. 1/128 still tells every percent of
//    the slider apart, and keeps all of it within 16 bits.
// 3. Warmth, a shift between blue and amber that keeps Y:
//      k = round(30 t / 100), R' += k, B' -= k, G' -= round(23 k / 75)
//    since 38 k - 15 k = 23 k is what green's weight 75 must take back; Y
//    moves by less than one level, plus whatever the clamp cuts.
//    Each channel is then clamped to 0 … 255, once.
// round() takes halves away from zero; >> floors.
// All settings 0: M = 0, C = 128, f = 0 and k = 0, and every
// pixel comes back bit for bit.
//
// The automatic improvement (AutoLevelsFor) works per channel from the
// histogram of N pixels:
//    low  = the smallest v with 200 × count(0 … v) > N: at most 0.5 % lie below;
//    high = the largest v with 200 × count(v … 255) > N: at most 0.5 % lie above.
//    A channel with low <= 4 and high >= 251 already spans the range and is left
//    alone (low = 0, high = 255). The gain 255 / (high - low) is held to at most
//    2.5: a range narrower than 102 is widened to 102 around its own midpoint
//    (then moved inside 0 … 255), so a night photo brightens but stays a night
//    photo. Each channel then goes v -> clamp(round((v - low) 255 / (high - low))).
//    A grey photo has three equal histograms, so three equal stretches, and stays
//    grey. A dull photo, whose mean chroma max(R, G, B) - min(R, G, B) lies in
//    4 … 23, also gets saturation +15 (step 2 above, after the stretch); below 4
//    the photo is grey or nearly so, and saturating would only colour its noise.
#include "effects/Adjustments.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "effects/ColumnStrips.h"
#include "effects/cImageProcessDIB.h"
#include "surface/CpuVersions.h"
#include "surface/WorkerPool.h"

namespace fotavel {

namespace {

// round(n / d) for d > 0, halves away from zero.
std::int32_t RoundDiv(std::int64_t n, std::int64_t d) {
  return static_cast<std::int32_t>(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}

std::uint8_t Clamp8(std::int32_t v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

// Every quantity below stays within 16 bits (the weighted sum is at most
// 128 × 255 + 64, a channel's distance from its grey times the factor at most
// 255 × 128), so the vectorised loop works on 16 lanes of 16 bits at a time.
[[gnu::always_inline]] inline std::int16_t Luma(std::int16_t r, std::int16_t g, std::int16_t b) {
  return static_cast<std::int16_t>(static_cast<std::int16_t>(38 * r + 75 * g + 15 * b + 64) >> 7);
}

// Steps 2 and 3 of one pixel, on its toned (or stretched) channels: the
// sliders and the automatic improvement share them.
struct Mix {
  std::int16_t s = 0, dr = 0, dg = 0, db = 0;
};

[[gnu::always_inline]] inline std::int16_t MixChannel(std::int16_t x, std::int16_t y,
                                                      std::int16_t s, std::int16_t d) {
  const auto spread = static_cast<std::int16_t>(static_cast<std::int16_t>(x - y) * s + 64);
  const auto moved = static_cast<std::int16_t>(x + (spread >> 7) + d);
  return std::clamp<std::int16_t>(moved, 0, 255);
}

[[gnu::always_inline]] inline void MixPixel(std::int16_t& r, std::int16_t& g, std::int16_t& b,
                                            const Mix& mix) {
  const std::int16_t y = Luma(r, g, b);
  r = MixChannel(r, y, mix.s, mix.dr);
  g = MixChannel(g, y, mix.s, mix.dg);
  b = MixChannel(b, y, mix.s, mix.db);
}

// Step 1 for one channel value; each intermediate fits in 16 bits (q <= 16256,
// the contrast's product within -32768 … 32576).
[[gnu::always_inline]] inline std::int16_t Tone(std::int16_t v, const Adjustment::Steps& steps) {
  const auto q = static_cast<std::uint16_t>(v * (255 - v));
  const auto lift = static_cast<std::int16_t>((std::uint32_t{q} * steps.lift) >> 16);
  const auto lifted = static_cast<std::int16_t>(v + steps.liftSign * lift);
  const auto spread = static_cast<std::int16_t>((lifted - 128) * steps.contrast + 64);
  return std::clamp<std::int16_t>(static_cast<std::int16_t>(128 + (spread >> 7)), 0, 255);
}

// The sliders' whole arithmetic for one pixel: the photo's rows and the
// display's pixels both go through it.
[[gnu::always_inline]] inline void AdjustPixel(std::int16_t& r, std::int16_t& g, std::int16_t& b,
                                               const Adjustment::Steps& steps) {
  r = Tone(r, steps);
  g = Tone(g, steps);
  b = Tone(b, steps);
  MixPixel(r, g, b, Mix{steps.saturation, steps.red, steps.green, steps.blue});
}

[[gnu::always_inline]] inline void AdjustRow24(std::uint8_t* __restrict p, std::int32_t pixels,
                                               const Adjustment::Steps* __restrict steps) {
  const Adjustment::Steps s = *steps;
  for (std::int32_t i = 0; i < pixels; ++i) {
    std::int16_t b = p[3 * i], g = p[3 * i + 1], r = p[3 * i + 2];
    AdjustPixel(r, g, b, s);
    p[3 * i] = static_cast<std::uint8_t>(b);
    p[3 * i + 1] = static_cast<std::uint8_t>(g);
    p[3 * i + 2] = static_cast<std::uint8_t>(r);
  }
}

[[gnu::always_inline]] inline void AdjustRow32(const std::uint32_t* from, std::uint32_t* to,
                                               std::int32_t pixels,
                                               const Adjustment::Steps* __restrict steps) {
  const Adjustment::Steps s = *steps;
  for (std::int32_t i = 0; i < pixels; ++i) {
    const std::uint32_t p = from[i];
    std::int16_t r = static_cast<std::int16_t>((p >> 16) & 0xFF),
                 g = static_cast<std::int16_t>((p >> 8) & 0xFF),
                 b = static_cast<std::int16_t>(p & 0xFF);
    AdjustPixel(r, g, b, s);
    to[i] = (p & 0xFF000000u) | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
  }
}

// Step 1 over a run of BGR pixels: each channel through its own table (the
// sliders use one table for all three). Lookups do not vectorise, so this
// stays a plain loop; the mix that follows carries the arithmetic.
void ToneRow(std::uint8_t* __restrict p, std::int32_t pixels, const std::uint8_t* __restrict blue,
             const std::uint8_t* __restrict green, const std::uint8_t* __restrict red) {
  for (std::int32_t i = 0; i < pixels; ++i) {
    p[3 * i] = blue[p[3 * i]];
    p[3 * i + 1] = green[p[3 * i + 1]];
    p[3 * i + 2] = red[p[3 * i + 2]];
  }
}

// Steps 2 and 3 over a run of BGR pixels, written for GCC to vectorise; each
// version is compiled from it (CpuVersions.h).
[[gnu::always_inline]] inline void MixRow(std::uint8_t* p, std::int32_t pixels, std::int16_t s,
                                          std::int16_t dr, std::int16_t dg, std::int16_t db) {
  const Mix mix{s, dr, dg, db};
  for (std::int32_t i = 0; i < pixels; ++i) {
    std::int16_t b = p[3 * i], g = p[3 * i + 1], r = p[3 * i + 2];
    MixPixel(r, g, b, mix);
    p[3 * i] = static_cast<std::uint8_t>(b);
    p[3 * i + 1] = static_cast<std::uint8_t>(g);
    p[3 * i + 2] = static_cast<std::uint8_t>(r);
  }
}

Mix MixFor(std::int32_t saturation, std::int32_t warmth) {
  const std::int32_t k = RoundDiv(std::int64_t{30} * warmth, 100);
  const auto small = [](std::int32_t v) { return static_cast<std::int16_t>(v); };
  return {small(RoundDiv(std::int64_t{128} * saturation, 100)), small(k),
          small(-RoundDiv(std::int64_t{23} * k, 75)), small(-k)};
}

bool Identity(const std::array<std::uint8_t, 256>& table) {
  for (std::int32_t v = 0; v < 256; ++v) {
    if (table[std::size_t(v)] != v) return false;
  }
  return true;
}

// The whole pass of steps 1 to 3 over BGR rows, tones skipped when they are
// the identity and the mix when it changes nothing.
struct PixelSteps {
  const std::uint8_t *blue, *green, *red;
  bool tones;
  Mix mix;
  bool mixes;

  void Row(std::uint8_t* p, std::int32_t pixels,
           void (*mixRow)(std::uint8_t*, std::int32_t, std::int16_t, std::int16_t, std::int16_t,
                          std::int16_t)) const {
    if (tones) ToneRow(p, pixels, blue, green, red);
    if (mixes) mixRow(p, pixels, mix.s, mix.dr, mix.dg, mix.db);
  }
};

// The lightness of `n` pixels `Step` bytes apart into `luma`; returns their
// summed chroma (below 2^24 for a run of kRun pixels).
template <std::int32_t Step>
[[gnu::always_inline]] inline std::uint32_t LumaRun(const std::uint8_t* __restrict q,
                                                    std::int32_t n, std::uint8_t* __restrict luma) {
  std::uint32_t chroma = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    const std::int16_t b = q[Step * i], g = q[Step * i + 1], r = q[Step * i + 2];
    luma[i] = static_cast<std::uint8_t>(Luma(r, g, b));
    const std::int16_t high = std::max(std::max(r, g), b), low = std::min(std::min(r, g), b);
    chroma += static_cast<std::uint32_t>(high - low);
  }
  return chroma;
}

// Counts kept in 32 bits while a picture is walked, two sets for alternate
// pixels so that runs of equal values do not wait on their own increments;
// added into the 64-bit histogram before any count could overflow. The
// increments bound the walk (each one a load and a store), so lightness,
// which only the histogram on screen shows, is counted only when asked for.
template <bool kLightness>
class Counter {
 public:
  template <std::int32_t Step>
  void Row(const std::uint8_t* p, std::int32_t pixels,
           std::uint32_t (*lumaRun)(const std::uint8_t*, std::int32_t, std::uint8_t*)) {
    if (pending_ + std::uint64_t(pixels) > (1u << 30)) Flush();
    pending_ += std::uint64_t(pixels);
    // The lightness and chroma of a run are worked out first, in a loop GCC
    // vectorises; the counting that follows is then only increments.
    std::uint8_t luma[kRun];
    for (std::int32_t start = 0; start < pixels; start += kRun) {
      const std::int32_t n = std::min(kRun, pixels - start);
      const std::uint8_t* q = p + std::ptrdiff_t(Step) * start;
      result_.chroma += lumaRun(q, n, luma);
      std::int32_t i = 0;
      for (; i + kSets <= n; i += kSets) {
        for (std::int32_t set = 0; set < kSets; ++set) {
          Count(counts_[set], q + Step * (i + set), luma[i + set]);
        }
      }
      for (; i < n; ++i) Count(counts_[0], q + Step * i, luma[i]);
    }
  }
  Histogram Take() {
    Flush();
    return result_;
  }

 private:
  void Flush() {
    std::array<std::uint64_t, 256>* const into[4] = {&result_.red, &result_.green, &result_.blue,
                                                     &result_.lightness};
    for (std::int32_t k = 0; k < 4; ++k) {
      for (std::int32_t v = 0; v < 256; ++v) {
        for (std::int32_t set = 0; set < kSets; ++set) {
          (*into[k])[std::size_t(v)] += counts_[set][k][v];
        }
      }
    }
    result_.pixels += pending_;
    pending_ = 0;
    std::memset(counts_, 0, sizeof counts_);
  }

  static void Count(std::uint32_t (&c)[4][256], const std::uint8_t* bgr, std::uint8_t luma) {
    ++c[0][bgr[2]];
    ++c[1][bgr[1]];
    ++c[2][bgr[0]];
    if constexpr (kLightness) ++c[3][luma];
  }

  static constexpr std::int32_t kRun = 256;
  static constexpr std::int32_t kSets = 2;
  std::uint32_t counts_[kSets][4][256] = {};
  std::uint64_t pending_ = 0;
  Histogram result_;
};

constexpr std::int32_t kMinStretchRange = 102;  // 255 / 102 = 2.5, the highest gain
constexpr std::int32_t kSpanTolerance = 4;
constexpr std::int32_t kDullSaturation = 15;
constexpr std::uint64_t kGreyChroma = 4, kDullChroma = 24;

// low and high of one channel, as the comment at the top says.
std::pair<std::int32_t, std::int32_t> StretchOf(const std::array<std::uint64_t, 256>& counts,
                                                std::uint64_t pixels) {
  std::int32_t low = 0, high = 255;
  std::uint64_t below = 0, above = 0;
  while (low < 255 && 200 * (below + counts[std::size_t(low)]) <= pixels)
    below += counts[std::size_t(low++)];
  while (high > 0 && 200 * (above + counts[std::size_t(high)]) <= pixels)
    above += counts[std::size_t(high--)];
  if (high < low) std::swap(low, high);
  if (low <= kSpanTolerance && high >= 255 - kSpanTolerance) return {0, 255};
  if (high - low < kMinStretchRange) {
    low = std::clamp((low + high - kMinStretchRange) >> 1, 0, 255 - kMinStretchRange);
    high = low + kMinStretchRange;
  }
  return {low, high};
}

std::array<std::uint8_t, 256> StretchTable(std::int32_t low, std::int32_t high) {
  std::array<std::uint8_t, 256> table;
  for (std::int32_t v = 0; v < 256; ++v) {
    table[std::size_t(v)] = Clamp8(RoundDiv(std::int64_t{v - low} * 255, high - low));
  }
  return table;
}

}  // namespace

bool AdjustSettings::InRange() const {
  for (const std::int32_t v : {luminosite, contraste, saturation, chaleur}) {
    if (v < -100 || v > 100) return false;
  }
  return true;
}

Adjustment::Adjustment(const AdjustSettings& settings) : m_settings(settings) {
  // Out-of-range settings are the caller's to refuse; held here, they cannot
  // overflow the 16 bits or invert the curves.
  const std::int32_t b = std::clamp(settings.luminosite, -100, 100);
  const std::int32_t c = std::clamp(settings.contraste, -100, 100);
  m_steps.lift = static_cast<std::uint16_t>(RoundDiv(std::int64_t{131072} * std::abs(b), 65025));
  m_steps.liftSign = b < 0 ? -1 : 1;
  m_steps.contrast = static_cast<std::int16_t>(RoundDiv(std::int64_t{128} * (100 + c), 100));
  const Mix mix =
      MixFor(std::clamp(settings.saturation, -100, 100), std::clamp(settings.chaleur, -100, 100));
  m_steps.saturation = mix.s;
  m_steps.red = mix.dr;
  m_steps.green = mix.dg;
  m_steps.blue = mix.db;
}

void Adjustment::Row24(std::uint8_t* bgr, std::int32_t pixels) const {
  Versioned<AdjustRow24>::Pick()(bgr, pixels, &m_steps);
}

void Adjustment::Row32(const std::uint32_t* from, std::uint32_t* to, std::int32_t pixels) const {
  Versioned<AdjustRow32>::Pick()(from, to, pixels, &m_steps);
}

namespace {

void Add(Histogram& into, const Histogram& part) {
  for (std::size_t v = 0; v < 256; ++v) {
    into.red[v] += part.red[v];
    into.green[v] += part.green[v];
    into.blue[v] += part.blue[v];
    into.lightness[v] += part.lightness[v];
  }
  into.pixels += part.pixels;
  into.chroma += part.chroma;
}

// Counts are sums: bands of rows counted apart, on the engine's threads, and
// added up give the same histogram whatever the bands and their order.
// `rowOf(y)` gives row y's first byte, pixels kBytes apart.
template <bool kLightness, int kBytes, class RowOf>
Histogram CountRows(std::int32_t width, std::int32_t height, RowOf&& rowOf) {
  const auto lumaRun = Versioned<LumaRun<kBytes>>::Pick();
  const std::int64_t pixels = std::int64_t{width} * height;
  const std::int32_t bands = pixels < ThreadMinPixels() ? 1 : std::min(height, 2 * ThreadCount());
  std::vector<Histogram> counted(std::size_t(std::max(bands, 1)));
  RunInOrder(
      bands,
      [&](std::int32_t band) {
        const auto counter = std::make_unique<Counter<kLightness>>();
        const std::int32_t y0 = std::int32_t(std::int64_t{height} * band / bands);
        const std::int32_t y1 = std::int32_t(std::int64_t{height} * (band + 1) / bands);
        for (std::int32_t y = y0; y < y1; ++y) {
          counter->template Row<kBytes>(rowOf(y), width, lumaRun);
        }
        counted[std::size_t(band)] = counter->Take();
      },
      [](std::int32_t) {});
  Histogram histogram;
  for (const Histogram& part : counted) Add(histogram, part);
  return histogram;
}

template <bool kLightness>
Histogram CountSurface(const cDIBSection& picture) {
  const ConstByteView v = picture.view();
  return CountRows<kLightness, 3>(v.width(), v.height(), [&v](std::int32_t y) { return v.row(y); });
}

}  // namespace

Histogram HistogramOf(const cDIBSection& picture) { return CountSurface<true>(picture); }

Histogram ChannelHistogramOf(const cDIBSection& picture) { return CountSurface<false>(picture); }

Histogram HistogramOf(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                      std::int32_t stride) {
  return CountRows<true, 4>(width, height, [pixels, stride](std::int32_t y) {
    return reinterpret_cast<const std::uint8_t*>(pixels + std::ptrdiff_t(y) * stride);
  });
}

AutoLevels AutoLevelsFor(const Histogram& histogram) {
  AutoLevels levels;
  if (histogram.pixels == 0) return levels;
  const std::array<std::uint64_t, 256>* const channels[3] = {&histogram.red, &histogram.green,
                                                             &histogram.blue};
  for (std::size_t k = 0; k < 3; ++k) {
    const auto [low, high] = StretchOf(*channels[k], histogram.pixels);
    levels.low[k] = std::uint8_t(low);
    levels.high[k] = std::uint8_t(high);
  }
  const std::uint64_t n = histogram.pixels;
  if (histogram.chroma >= kGreyChroma * n && histogram.chroma < kDullChroma * n) {
    levels.saturation = kDullSaturation;
  }
  return levels;
}

// Approximate by design: a per-channel stretch is not four sliders. With g
// the mean gain, contrast = 100 (g - 1); with d the mean move of mid-grey
// after that contrast, brightness = 2 d / g (the lift moves mid-grey by b / 2
// before the contrast scales it); warmth = red's move minus blue's, halved,
// in steps of 30 / 100; saturation as it is.
AdjustSettings SettingsFor(const AutoLevels& levels) {
  double gain[3], move[3];
  for (std::size_t k = 0; k < 3; ++k) {
    const double g = 255.0 / std::max(1, levels.high[k] - levels.low[k]);
    gain[k] = g;
    move[k] = (128.0 - levels.low[k]) * g - 128.0;
  }
  const double g = (gain[0] + gain[1] + gain[2]) / 3;
  const double d = (move[0] + move[1] + move[2]) / 3;
  const auto slider = [](double v) {
    return static_cast<std::int32_t>(std::clamp(std::lround(v), -100L, 100L));
  };
  AdjustSettings settings;
  settings.contraste = slider(100 * (g - 1));
  settings.luminosite = slider(2 * d / g);
  settings.chaleur = slider((move[0] - move[2]) / 2 * 100 / 30);
  settings.saturation = levels.saturation;
  return settings;
}

void cImageProcessDIB::Adjust(cDIBSection& image, const AdjustSettings& settings) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  const Adjustment adjustment(settings);
  RunPixelPass(m_events, image.view(), [&adjustment](std::uint8_t* p, std::int32_t pixels) {
    adjustment.Row24(p, pixels);
  });
}

void cImageProcessDIB::AutoImprove(cDIBSection& image, const AutoLevels& levels) {
  if (image.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  std::array<std::uint8_t, 256> tables[3];
  bool tones = false;
  for (std::size_t k = 0; k < 3; ++k) {
    // A hand-made AutoLevels may hold high <= low; such a channel is left alone.
    const bool stretch = levels.high[k] > levels.low[k];
    tables[k] = StretchTable(stretch ? levels.low[k] : 0, stretch ? levels.high[k] : 255);
    tones = tones || !Identity(tables[k]);
  }
  const std::int32_t saturation = std::clamp(levels.saturation, -100, 100);
  const PixelSteps steps{tables[2].data(),      tables[1].data(), tables[0].data(), tones,
                         MixFor(saturation, 0), saturation != 0};
  RunPixelPass(m_events, image.view(),
               [&steps, mixRow = Versioned<MixRow>::Pick()](std::uint8_t* p, std::int32_t pixels) {
                 steps.Row(p, pixels, mixRow);
               });
}

}  // namespace fotavel
