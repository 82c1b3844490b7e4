// Benchmarks of the bilinear resampling and of the sky gradient on a 6000 x 4000 photo.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "FreshMemory.h"
#include "PhotoLike.h"
#include "effects/cielbleu.h"
#include "surface/cDIBSection.h"

namespace fotavel::bench {
namespace {

// Arguments: destination width and height, fresh (FreshMemory.h: the new
// surface is then new memory each time, not the block the previous result
// left in the pool). The output megapixels are counted.
void BM_Resample(benchmark::State& state) {
  const PoolOff pool(state.range(2) != 0);
  const cDIBSection source = PhotoLike();
  const auto width = static_cast<std::int32_t>(state.range(0));
  const auto height = static_cast<std::int32_t>(state.range(1));
  for (auto _ : state) {
    auto result = source.Resample(height, width);
    if (!result) throw std::runtime_error("no memory");
    benchmark::DoNotOptimize(result->DIBSectionBitsPtr());
  }
  CountMegapixels(state, std::int64_t{width} * height);
}
BENCHMARK(BM_Resample)
    ->ArgNames({"width", "height", "fresh"})
    ->ArgsProduct({{400}, {267}, {0, 1}})
    ->ArgsProduct({{3000}, {2000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_SkyGradient(benchmark::State& state) {
  cDIBSection canvas;
  if (!canvas.Create(kPhotoWidth, kPhotoHeight)) throw std::runtime_error("no memory");
  for (auto _ : state) {
    cielbleu::PaintGradient(canvas);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, std::int64_t{kPhotoWidth} * kPhotoHeight);
}
BENCHMARK(BM_SkyGradient)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
