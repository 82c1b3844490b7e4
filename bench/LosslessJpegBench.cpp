// A quarter turn of a 6000 x 4000 JPEG saved as JPEG: its blocks moved (libturbojpeg's transform)
// beside the decode, engine turn and encode it replaces, file to file, in the same run.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "PhotoLike.h"
#include "effects/cImageProcessDIB.h"
#include "io/FileError.h"
#include "io/LosslessJpeg.h"
#include "io/PictureFiles.h"

namespace fotavel::bench {
namespace {

// The photo-like picture as a quality-90 JPEG (4:2:0, no metadata), written
// once per run in memory-backed storage, so that the disk's flush weighs on
// neither road.
struct TurnFolder {
  std::unique_ptr<QTemporaryDir> folder;
  QString source, target;
};

const TurnFolder& Folder() {
  static const TurnFolder made = [] {
    TurnFolder f;
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    f.folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/fotavel-bench-XXXXXX"));
    f.source = f.folder->filePath(QStringLiteral("photo.jpg"));
    f.target = f.folder->filePath(QStringLiteral("tournee.jpg"));
    try {
      io::WriteJpeg(PhotoLike(), f.source, 90);
    } catch (const io::FileError&) {
      f.source.clear();
    }
    return f;
  }();
  return made;
}

// The usual road: the file read and decoded into the surface, the engine's
// quarter turn, the encode at the same quality and the write.
void BM_TurnJpegDecodeTurnEncode(benchmark::State& state) {
  const TurnFolder& f = Folder();
  if (f.source.isEmpty()) state.SkipWithError("JPEG not written");
  cImageProcessDIB engine;
  for (auto _ : state) {
    try {
      cDIBSection photo = io::ReadPicture(f.source);
      engine.Tourner(photo, false);
      io::WriteJpeg(photo, f.target, 90);
    } catch (const io::FileError&) {
      state.SkipWithError("JPEG not turned");
      break;
    }
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_TurnJpegDecodeTurnEncode)->Unit(benchmark::kMillisecond)->UseRealTime();

// The file read, its blocks moved, the new file written.
void BM_TurnJpegLossless(benchmark::State& state) {
  const TurnFolder& f = Folder();
  if (f.source.isEmpty()) state.SkipWithError("JPEG not written");
  for (auto _ : state) {
    try {
      QFile file(f.source);
      if (!file.open(QIODevice::ReadOnly)) throw io::FileError(0, QString(), f.source, "bench");
      const io::JpegSource source{std::make_shared<const QByteArray>(file.readAll()), {}};
      io::WriteEncoded(io::TransformJpeg(source, {1, false}, false), f.target);
    } catch (const io::FileError&) {
      state.SkipWithError("JPEG not turned");
      break;
    }
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_TurnJpegLossless)->Unit(benchmark::kMillisecond)->UseRealTime();

// The window's save: the photo's file is already in memory, kept from its opening.
void BM_TurnJpegLosslessFromMemory(benchmark::State& state) {
  const TurnFolder& f = Folder();
  io::JpegSource source;
  try {
    (void)io::ReadPicture(f.source, nullptr, &source);
  } catch (const io::FileError&) {
    state.SkipWithError("JPEG not read");
  }
  for (auto _ : state) {
    try {
      io::WriteEncoded(io::TransformJpeg(source, {1, false}, false), f.target);
    } catch (const io::FileError&) {
      state.SkipWithError("JPEG not turned");
      break;
    }
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK(BM_TurnJpegLosslessFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace fotavel::bench
