// Benchmarks of the combinations of two 6000 x 4000 photos.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "FreshMemory.h"
#include "PhotoLike.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::bench {
namespace {

enum Combination : std::int64_t {
  kLightest,
  kDarkest,
  kNegative,     // -1 with -255 offsets; 0
  kUnsharp,      // -1; 2
  kEmboss,       // 1 with 127 offsets; 0
  kHalfAndHalf,  // 1; 1 with offsets
  kExtreme,      // multipliers and offsets at the ends of the 32-bit range
};

// state.range(1) is "fresh" (FreshMemory.h): the destination is then a new
// surface each time. The negative writes the document's scratch surface,
// which a fresh process has never touched; every other combination here
// changes a picture that was written before the pass (the photo, or the sky
// gradient painted into the scratch surface).
void BM_Combination(benchmark::State& state) {
  const bool fresh = state.range(1) != 0;
  const PoolOff pool(fresh);
  const cDIBSection from = PhotoLike();
  // A second, different photo: the first one turned upside down.
  cDIBSection original = PhotoLike();
  for (std::int32_t y = 0; y < kPhotoHeight / 2; ++y) {
    std::swap_ranges(original.row(y), original.row(y) + 3 * kPhotoWidth,
                     original.row(kPhotoHeight - 1 - y));
  }
  cDIBSection to = PhotoLike();
  Restore(to, original);
  cImageProcessDIB engine;
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  for (auto _ : state) {
    if (fresh) {
      state.PauseTiming();
      to = state.range(0) == kNegative ? Untouched() : Decoded(original);
      state.ResumeTiming();
    }
    switch (state.range(0)) {
      case kLightest:
        engine.AddLightest(from, to);
        break;
      case kDarkest:
        engine.AddDarkest(from, to);
        break;
      case kNegative:
        engine.AddImages(from, to, -1, -255, -255, -255, 0, 0, 0, 0);
        break;
      case kUnsharp:
        engine.AddImages(from, to, -1, 0, 0, 0, 2, 0, 0, 0);
        break;
      case kEmboss:
        engine.AddImages(from, to, 1, 127, 127, 127, 0, 0, 0, 0);
        break;
      case kHalfAndHalf:
        engine.AddImages(from, to, 1, -20, 0, 10, 1, -100, -128, -90);
        break;
      default:
        engine.AddImages(from, to, kMin, kMax, -3, kMin, kMax, kMin, 7, kMax);
        break;
    }
    benchmark::ClobberMemory();
    if (!fresh) {
      state.PauseTiming();
      Restore(to, original);
      state.ResumeTiming();
    }
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_Combination)
    ->ArgNames({"kind", "fresh"})
    ->ArgsProduct({benchmark::CreateDenseRange(kLightest, kExtreme, 1), {0}})
    ->Args({kLightest, 1})
    ->Args({kDarkest, 1})
    ->Args({kNegative, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
