// What the window pays to show a 6000 x 4000 photo: the display copies after each change
// (Render), and a JPEG from its file to the copies its first paint reads.
#include <QString>
#include <QTemporaryDir>

#include "PhotoLike.h"
#include "io/PictureFiles.h"
#include "surface/DisplayPyramid.h"

namespace fotavel::bench {
namespace {

// After an effect: the pyramid's memory is already there, as it is for
// every change that keeps the photo's size. finest 0: a view larger than half
// the photo; 1: a view at half size or less (a 24 MP photo fitted to a window).
void BM_Render(benchmark::State& state) {
  const cDIBSection photo = PhotoLike();
  DisplayPyramid display;
  for (auto _ : state) {
    if (!display.Build(photo, std::int32_t(state.range(0)))) state.SkipWithError("no memory");
    benchmark::DoNotOptimize(display.level(1).bits);
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_Render)->ArgName("finest")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Opening: the file decoded into a new surface, then a new pyramid as a
// window fitting the photo needs it.
void BM_JpegOpenToDisplay(benchmark::State& state) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("photo.jpg"));
  try {
    io::WriteJpeg(PhotoLike(), path, 85);
  } catch (const io::FileError&) {
    state.SkipWithError("JPEG not written");
  }
  for (auto _ : state) {
    cDIBSection photo;
    DisplayPyramid display;
    try {
      photo = io::ReadPicture(path);
    } catch (const io::FileError&) {
      state.SkipWithError("not opened");
      break;
    }
    if (!display.Build(photo, 1)) state.SkipWithError("not opened");
    benchmark::DoNotOptimize(display.level(1).bits);
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_JpegOpenToDisplay)->Unit(benchmark::kMillisecond);

// The explorer's preview of a photo clicked in its file list, from the file
// (a JPEG, or the same photo as BMP) to the preview's pixels, in the
// explorer's preview box.
void BM_Preview(benchmark::State& state) {
  const bool jpeg = state.range(0) == 1;
  QTemporaryDir folder;
  const QString path =
      folder.filePath(jpeg ? QStringLiteral("photo.jpg") : QStringLiteral("p.bmp"));
  try {
    if (jpeg) {
      io::WriteJpeg(PhotoLike(), path, 85);
    } else {
      io::WriteBmp(PhotoLike(), path);
    }
  } catch (const io::FileError&) {
    state.SkipWithError("photo not written");
  }
  for (auto _ : state) {
    try {
      const cDIBSection preview = io::ReadPreview(path, 200, 150);
      benchmark::DoNotOptimize(preview.DIBSectionBitsPtr());
    } catch (const io::FileError&) {
      state.SkipWithError("not previewed");
      break;
    }
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_Preview)->ArgName("jpeg")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
