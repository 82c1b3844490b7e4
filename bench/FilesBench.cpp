// Picture files on the 6000 x 4000 photo: JPEG decode into the surface, JPEG encode at 70, BMP
// write.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "PhotoLike.h"
#include "io/PictureFiles.h"

namespace fotavel::bench {
namespace {

// A folder for one benchmark under `parent`: the system's temporary folder
// (on disk here) or /dev/shm (memory), to tell the encoder's cost from the
// disk's. Every save ends with the flush to disk that makes it safe.
std::unique_ptr<QTemporaryDir> FolderUnder(benchmark::State& state, const char* parent) {
  const QString base = parent[0] != '\0' ? QString::fromLatin1(parent) : QDir::tempPath();
  auto folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/fotavel-bench-XXXXXX"));
  if (!folder->isValid()) state.SkipWithError("no temporary folder");
  return folder;
}

// Inserts an EXIF segment saying "turn right to view" after the start marker.
QByteArray TurnedRight(const QByteArray& jpeg) {
  static const char kSegment[] =
      "\xFF\xE1\x00\x22"
      "Exif\0\0"
      "II*\0\x08\0\0\0"
      "\x01\0"
      "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
      "\0\0\0\0";
  return jpeg.left(2) + QByteArray(kSegment, sizeof kSegment - 1) + jpeg.mid(2);
}

void DecodeJpeg(benchmark::State& state, bool turned) {
  const auto folder = FolderUnder(state, "");
  const QString path = folder->filePath(QStringLiteral("photo.jpg"));
  QString error;
  if (!io::WriteJpeg(PhotoLike(), path, 70, error)) state.SkipWithError("JPEG not written");
  if (turned) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray plain = file.readAll();
    file.close();
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(TurnedRight(plain));
  }
  cDIBSection photo;
  for (auto _ : state) {
    if (!io::ReadPicture(path, photo, error)) state.SkipWithError("JPEG not read");
    benchmark::DoNotOptimize(photo.DIBSectionBitsPtr());
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}

void BM_JpegDecode(benchmark::State& state) { DecodeJpeg(state, false); }
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond);

void BM_JpegDecodeTurnedRight(benchmark::State& state) { DecodeJpeg(state, true); }
BENCHMARK(BM_JpegDecodeTurnedRight)->Unit(benchmark::kMillisecond);

void BM_JpegEncode70(benchmark::State& state, const char* parent) {
  const cDIBSection photo = PhotoLike();
  const auto folder = FolderUnder(state, parent);
  const QString path = folder->filePath(QStringLiteral("photo.jpg"));
  QString error;
  for (auto _ : state) {
    if (!io::WriteJpeg(photo, path, 70, error)) state.SkipWithError("JPEG not written");
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK_CAPTURE(BM_JpegEncode70, tmp, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JpegEncode70, shm, "/dev/shm")->Unit(benchmark::kMillisecond);

void BM_BmpWrite(benchmark::State& state, const char* parent) {
  const cDIBSection photo = PhotoLike();
  const auto folder = FolderUnder(state, parent);
  const QString path = folder->filePath(QStringLiteral("photo.bmp"));
  QString error;
  for (auto _ : state) {
    if (!io::WriteBmp(photo, path, error)) state.SkipWithError("BMP not written");
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK_CAPTURE(BM_BmpWrite, tmp, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BmpWrite, shm, "/dev/shm")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
