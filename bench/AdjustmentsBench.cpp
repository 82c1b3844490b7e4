// The adjustment sliders' pass, the histogram and the automatic improvement on the photo-like
// surface.
#include <benchmark/benchmark.h>

#include "FreshMemory.h"
#include "PhotoLike.h"
#include "effects/Adjustments.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::bench {
namespace {

// Read against BM_Memcpy (SurfaceBench.cpp) of the same run: the slider pass
// should stay within 3 of it, the histogram within 1.5, the improvement
// (histogram and pass) within 5. Each pass starts again from the photo.
template <class Effect>
void RunOnPhoto(benchmark::State& state, Effect effect) {
  const cDIBSection photo = PhotoLike();
  cDIBSection image = PhotoLike();
  cImageProcessDIB engine;
  for (auto _ : state) {
    state.PauseTiming();
    Restore(image, photo);
    state.ResumeTiming();
    effect(engine, image);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}

// Argument: which steps work. 0 all (tones, saturation and warmth), 1 the
// tones alone (brightness and contrast), 2 saturation and warmth alone.
void BM_Adjust(benchmark::State& state) {
  const AdjustSettings all{20, 15, 30, -25}, tones{20, 15, 0, 0}, mix{0, 0, 30, -25};
  const AdjustSettings settings = state.range(0) == 0 ? all : state.range(0) == 1 ? tones : mix;
  RunOnPhoto(state, [&](cImageProcessDIB& e, cDIBSection& s) { e.Adjust(s, settings); });
}
BENCHMARK(BM_Adjust)->ArgName("steps")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_Histogram(benchmark::State& state) {
  const cDIBSection photo = PhotoLike();
  for (auto _ : state) benchmark::DoNotOptimize(HistogramOf(photo));
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_Histogram)->Unit(benchmark::kMillisecond);

// As the command runs it. The photo-like surface spans the whole range, so
// the levels are made to stretch every channel and saturate.
void BM_AutoImprove(benchmark::State& state) {
  RunOnPhoto(state, [](cImageProcessDIB& e, cDIBSection& s) {
    AutoLevels levels = AutoLevelsFor(ChannelHistogramOf(s));
    levels.low = {10, 12, 14};
    levels.high = {240, 235, 230};
    levels.saturation = 15;
    e.AutoImprove(s, levels);
  });
}
BENCHMARK(BM_AutoImprove)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
