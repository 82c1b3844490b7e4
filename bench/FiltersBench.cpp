// Benchmarks of ProcessImage for every filter type on a 6000 x 4000 photo.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "FreshMemory.h"
#include "PhotoLike.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::bench {
namespace {

// A custom kernel as a user might type one: mixed signs, not separable;
// entries multiplied by `scale` (50 takes the sums beyond 16 bits).
void SetCustomKernel(cImageProcessDIB& engine, std::int32_t size, std::int32_t scale) {
  engine.FilterType(12);
  engine.FilterArraySize(size);
  const std::int32_t half = size / 2;
  std::int32_t sum = 0;
  for (std::int32_t iY = -half; iY <= half; ++iY) {
    for (std::int32_t iX = -half; iX <= half; ++iX) {
      const std::int32_t value = ((iX * 3 + iY * 5 + 7) % 5 - 1) * scale;
      engine.FilterValue(iX, iY, value);
      sum += value;
    }
  }
  engine.FilterValue(0, 0, engine.FilterValue(0, 0) + 9 * scale);
  engine.FilterWeight(sum + 9 * scale);
}

// Runs ProcessImage with the given type (12: a custom kernel of the given
// size and scale) and restores the photo outside the timed region. Fresh
// (FreshMemory.h), the photo is a new decoded surface and the scratch surface
// a new one that the filter is the first to write, as in a fresh process.
void BM_ProcessImage(benchmark::State& state) {
  const auto type = static_cast<std::int32_t>(state.range(0));
  const auto size = static_cast<std::int32_t>(state.range(1));
  const bool fresh = state.range(3) != 0;
  const PoolOff pool(fresh);
  const cDIBSection original = PhotoLike();
  cDIBSection image = PhotoLike();
  cDIBSection buffer = Untouched();
  cImageProcessDIB engine;
  if (type == 12) {
    SetCustomKernel(engine, size, static_cast<std::int32_t>(state.range(2)));
  } else {
    engine.FilterType(type);
  }
  for (auto _ : state) {
    if (fresh) {
      state.PauseTiming();
      image = Decoded(original);
      buffer = Untouched();
      state.ResumeTiming();
    }
    engine.ProcessImage(image, buffer);
    benchmark::ClobberMemory();
    if (!fresh) {
      state.PauseTiming();
      Restore(image, original);
      state.ResumeTiming();
    }
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}

// Every type warm; the presets and a 3 x 3 custom kernel fresh as well.
void FilterArguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"type", "size", "scale", "fresh"});
  for (int fresh = 0; fresh <= 1; ++fresh) {
    for (std::int64_t type = 1; type <= 11; ++type) {
      b->Args({type, type == 2 || type == 4 ? 5 : 3, 1, fresh});
    }
    b->Args({12, 3, 1, fresh});
    if (fresh == 0) {
      for (const std::int64_t size : {3, 5, 7, 9}) b->Args({12, size, size == 3 ? 50 : 1, 0});
    }
  }
}
BENCHMARK(BM_ProcessImage)->Apply(FilterArguments)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
