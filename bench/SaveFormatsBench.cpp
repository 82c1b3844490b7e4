// Saving the 6000 x 4000 photo in each format (encoded in memory), and the size search for a limit.
#include <QString>
#include <cstdlib>

#include "PhotoLike.h"
#include "io/FileError.h"
#include "io/PictureFiles.h"
#include "io/SaveFormats.h"

namespace fotavel::bench {
namespace {

io::EncodeSettings Settings(io::SaveFormat format, int quality, bool lossless = false) {
  io::EncodeSettings settings;
  settings.format = format;
  settings.quality = quality;
  settings.lossless = lossless;
  return settings;
}

// The encode alone, as the outside tools time theirs (bench/save-formats.sh);
// the file's size in bytes is reported beside.
void Encode(benchmark::State& state, io::EncodeSettings settings) {
  const cDIBSection photo = PhotoLike();
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    try {
      bytes = io::EncodePicture(photo, settings).size();
    } catch (const io::FileError& failure) {
      state.SkipWithError(failure.description().c_str());
      break;
    }
  }
  state.counters["bytes"] = double(bytes);
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}

// The quality of the photo's formats from the environment, for the script
// to match the outside tools with; 80 otherwise.
int QualityFromEnvironment() {
  const char* text = std::getenv("FOTAVEL_BENCH_QUALITY");
  const int quality = text != nullptr ? std::atoi(text) : 0;
  return quality >= io::kMinJpegQuality && quality <= io::kMaxJpegQuality ? quality : 80;
}

void BM_SavePng(benchmark::State& state) { Encode(state, Settings(io::SaveFormat::Png, 0)); }
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond);

void BM_SaveTiff(benchmark::State& state) { Encode(state, Settings(io::SaveFormat::Tiff, 0)); }
BENCHMARK(BM_SaveTiff)->Unit(benchmark::kMillisecond);

void BM_SaveJpeg(benchmark::State& state) {
  Encode(state, Settings(io::SaveFormat::Jpeg, QualityFromEnvironment()));
}
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond);

void BM_SaveWebp(benchmark::State& state) {
  Encode(state, Settings(io::SaveFormat::Webp, QualityFromEnvironment()));
}
BENCHMARK(BM_SaveWebp)->Unit(benchmark::kMillisecond);

void BM_SaveWebpLossless(benchmark::State& state) {
  Encode(state, Settings(io::SaveFormat::Webp, 100, true));
}
BENCHMARK(BM_SaveWebpLossless)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SaveAvif(benchmark::State& state) {
  Encode(state, Settings(io::SaveFormat::Avif, QualityFromEnvironment()));
}
BENCHMARK(BM_SaveAvif)->Unit(benchmark::kMillisecond)->Iterations(1);

// EncodeWithinSize on the photo for a limit in kilobytes (the argument): the
// encodes it ran, whole and of the photo at full size, the quality and
// halvings it came to.
void WithinSize(benchmark::State& state, io::SaveFormat format) {
  const cDIBSection photo = PhotoLike();
  const std::uint64_t limit = std::uint64_t(state.range(0)) * 1000;
  io::SizeFit fit;
  for (auto _ : state) {
    try {
      fit = io::EncodeWithinSize(photo, Settings(format, 100), limit);
    } catch (const io::FileError& failure) {
      state.SkipWithError(failure.description().c_str());
      break;
    }
  }
  state.counters["fullSizeEncodes"] = fit.fullSizeEncodes;
  state.counters["wholeEncodes"] = fit.wholeEncodes;
  state.counters["encodes"] = fit.encodes;
  state.counters["quality"] = fit.quality;
  state.counters["halvings"] = fit.halvings;
  state.counters["bytes"] = double(fit.file.size());
}

void BM_WithinSizeJpeg(benchmark::State& state) { WithinSize(state, io::SaveFormat::Jpeg); }
// 500 kB takes halvings; 8 MB and 12 MB fall among the photo's own qualities.
BENCHMARK(BM_WithinSizeJpeg)
    ->Arg(500)
    ->Arg(8000)
    ->Arg(12000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_WithinSizeWebp(benchmark::State& state) { WithinSize(state, io::SaveFormat::Webp); }
BENCHMARK(BM_WithinSizeWebp)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WithinSizeAvif(benchmark::State& state) { WithinSize(state, io::SaveFormat::Avif); }
BENCHMARK(BM_WithinSizeAvif)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace fotavel::bench
