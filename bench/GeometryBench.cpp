// Benchmarks of the geometric and texture effects on the 6000 x 4000 photo-like surface.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>

#include "PhotoLike.h"
#include "effects/cImageProcessDIB.h"
#include "surface/SurfaceMemory.h"

namespace fotavel::bench {
namespace {

constexpr std::int64_t kPixels = std::int64_t{kPhotoWidth} * kPhotoHeight;
constexpr std::int32_t kFindEdges[] = {3, 3, 1, 0, -1, -1, -1, -1, 8, -1, -1, -1, -1};
// A softening matrix whose divisor is not 1, so sums go through the rounding table.
constexpr std::int32_t kSoften[] = {3, 3, 12, 0, 1, 1, 1, 1, 4, 1, 1, 1, 1};

// The reuse pool off for the duration of one benchmark: every temporary
// surface is then fresh memory, as it would be without the pool.
class PoolOff {
 public:
  explicit PoolOff(bool off) : off_(off) {
    if (off_) previous_ = SetSurfacePoolCapacity(0);
  }
  ~PoolOff() {
    if (off_) SetSurfacePoolCapacity(previous_);
  }

 private:
  bool off_;
  std::size_t previous_ = 0;
};

// state.range(0): 0 right, 1 left; state.range(1): 1 with the pool disabled.
void BM_Tourner(benchmark::State& state) {
  cDIBSection photo = PhotoLike();
  const PoolOff pool(state.range(1) != 0);
  cImageProcessDIB engine;
  for (auto _ : state) {
    engine.Tourner(photo, state.range(0) != 0);
    benchmark::DoNotOptimize(photo.DIBSectionBitsPtr());
  }
  CountMegapixels(state, kPixels);
}
BENCHMARK(BM_Tourner)
    ->ArgNames({"left", "poolOff"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

// state.range(0): 0 find edges, 1 a matrix with divisor 12; state.range(1): pool disabled.
void BM_EffMathematique(benchmark::State& state) {
  cDIBSection photo = PhotoLike();
  const cDIBSection original = PhotoLike();
  const PoolOff pool(state.range(1) != 0);
  cImageProcessDIB engine;
  const std::span<const std::int32_t> list =
      state.range(0) == 0 ? std::span<const std::int32_t>(kFindEdges) : std::span(kSoften);
  for (auto _ : state) {
    engine.Eff_Mathematique(photo, list);
    state.PauseTiming();
    Restore(photo, original);
    state.ResumeTiming();
  }
  CountMegapixels(state, kPixels);
}
BENCHMARK(BM_EffMathematique)
    ->ArgNames({"divisor12", "poolOff"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

void BM_Diffusion(benchmark::State& state) {
  cDIBSection photo = PhotoLike();
  cImageProcessDIB engine;
  for (auto _ : state) {
    engine.Diffusion(photo, 6);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, kPixels);
}
BENCHMARK(BM_Diffusion)->Unit(benchmark::kMillisecond);

// The whole picture, all nine passes: megapixels of picture per second.
void BM_FlouLocal(benchmark::State& state) {
  cDIBSection photo = PhotoLike();
  cImageProcessDIB engine;
  for (auto _ : state) {
    engine.FlouLocal(photo, 0, 0, kPhotoWidth, kPhotoHeight);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, kPixels);
}
BENCHMARK(BM_FlouLocal)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
