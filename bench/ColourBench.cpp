// Colour effects on the 6000 x 4000 photo-like surface, in megapixels per second.
#include <benchmark/benchmark.h>

#include "FreshMemory.h"
#include "PhotoLike.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel::bench {
namespace {

// Each iteration starts from the photo again (outside the timed region):
// effects like the cut or a strong fade would otherwise run on flat colour.
// state.range(0) is "fresh" (FreshMemory.h): these effects work in place on
// the decoded photo, so fresh memory only means the photo's own pages are new.
template <class Effect>
void RunOnPhoto(benchmark::State& state, Effect effect) {
  const bool fresh = state.range(0) != 0;
  const PoolOff pool(fresh);
  const cDIBSection photo = PhotoLike();
  cDIBSection image = PhotoLike();
  cImageProcessDIB engine;
  for (auto _ : state) {
    state.PauseTiming();
    if (fresh) {
      image = Decoded(photo);
    } else {
      Restore(image, photo);
    }
    state.ResumeTiming();
    effect(engine, image);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}

void BM_GrayScale(benchmark::State& state) {
  RunOnPhoto(state, [](cImageProcessDIB& e, cDIBSection& s) { e.GrayScale(s); });
}
BENCHMARK(BM_GrayScale)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Fade(benchmark::State& state) {
  RunOnPhoto(state, [](cImageProcessDIB& e, cDIBSection& s) { e.Fade(s, 240); });
}
BENCHMARK(BM_Fade)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Sature(benchmark::State& state) {
  RunOnPhoto(state, [](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, 30); });
}
BENCHMARK(BM_Sature)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Eff_NoirEtBlancCoupe(benchmark::State& state) {
  RunOnPhoto(state, [](cImageProcessDIB& e, cDIBSection& s) { e.Eff_NoirEtBlancCoupe(s); });
}
BENCHMARK(BM_Eff_NoirEtBlancCoupe)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Lighten(benchmark::State& state) {
  RunOnPhoto(state, [](cImageProcessDIB& e, cDIBSection& s) { e.Lighten(s, 20); });
}
BENCHMARK(BM_Lighten)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The grey pass, the diffusion and the final copy, as the command runs them;
// fresh, the scratch surface that receives the drawing is new memory.
void BM_BlackAndWhite(benchmark::State& state) {
  const bool fresh = state.range(0) != 0;
  const PoolOff pool(fresh);
  const cDIBSection photo = PhotoLike();
  cDIBSection image = PhotoLike();
  cDIBSection scratch = Untouched();
  cImageProcessDIB engine;
  for (auto _ : state) {
    state.PauseTiming();
    if (fresh) {
      image = Decoded(photo);
      scratch = Untouched();
    } else {
      Restore(image, photo);
    }
    state.ResumeTiming();
    engine.BlackAndWhite(image, scratch);
    benchmark::ClobberMemory();
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_BlackAndWhite)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
