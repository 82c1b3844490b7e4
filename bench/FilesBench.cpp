// Picture files on the 6000 x 4000 photo: JPEG decode into the surface, JPEG encode at 70, BMP
// write; a 12-megapixel HEIC and AVIF opened beside libheif's own decode of the same file.
#include <libheif/heif.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "PhotoLike.h"
#include "io/HeifFiles.h"
#include "io/PictureFiles.h"

namespace fotavel::bench {
namespace {

using testing::HeifPicture;
using testing::MakeHeif;

// A folder for one benchmark under `parent`: the system's temporary folder
// (on disk here) or /dev/shm (memory), to tell the encoder's cost from the
// disk's. Every save ends with the flush to disk that makes it safe.
// Runs `fileWork`, a picture read or written; false, the benchmark skipped
// saying `what`, when the file failed.
template <class FileWork>
bool FileDone(benchmark::State& state, const char* what, FileWork&& fileWork) {
  try {
    fileWork();
    return true;
  } catch (const io::FileError&) {
    state.SkipWithError(what);
    return false;
  }
}

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
  FileDone(state, "JPEG not written", [&] { io::WriteJpeg(PhotoLike(), path, 70); });
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
    if (!FileDone(state, "JPEG not read", [&] { photo = io::ReadPicture(path); })) break;
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
  for (auto _ : state) {
    if (!FileDone(state, "JPEG not written", [&] { io::WriteJpeg(photo, path, 70); })) break;
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK_CAPTURE(BM_JpegEncode70, tmp, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JpegEncode70, shm, "/dev/shm")->Unit(benchmark::kMillisecond);

void BM_BmpWrite(benchmark::State& state, const char* parent) {
  const cDIBSection photo = PhotoLike();
  const auto folder = FolderUnder(state, parent);
  const QString path = folder->filePath(QStringLiteral("photo.bmp"));
  for (auto _ : state) {
    if (!FileDone(state, "BMP not written", [&] { io::WriteBmp(photo, path); })) break;
  }
  CountMegapixels(state, std::int64_t(kPhotoWidth) * kPhotoHeight);
}
BENCHMARK_CAPTURE(BM_BmpWrite, tmp, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BmpWrite, shm, "/dev/shm")->Unit(benchmark::kMillisecond);

// A 4000 x 3000 photo-like HEIC or AVIF, encoded once per run with the
// encoders' quickest settings (the decoder's work is what is measured).
const QByteArray& HeifPhoto(bool avif) {
  static QByteArray files[2];
  QByteArray& file = files[avif];
  if (file.isEmpty()) {
    const cDIBSection photo = PhotoLike(4000, 3000);
    HeifPicture picture{.avif = avif, .width = 4000, .height = 3000, .fast = true};
    picture.sample = [&photo](std::int32_t x, std::int32_t y, int channel) -> std::uint16_t {
      return photo.row(2999 - y)[3 * x + 2 - channel];
    };
    file = MakeHeif(picture);
  }
  return file;
}

// The whole road: the file read, recognised, decoded, laid into the surface.
void BM_HeifOpen(benchmark::State& state, bool avif) {
  const auto folder = FolderUnder(state, "");
  const QString path = folder->filePath(QStringLiteral("photo.heif"));
  QFile file(path);
  if (HeifPhoto(avif).isEmpty() || !file.open(QIODevice::WriteOnly) ||
      file.write(HeifPhoto(avif)) != HeifPhoto(avif).size()) {
    state.SkipWithError("photo not written");
  }
  file.close();
  cDIBSection photo;
  for (auto _ : state) {
    if (!FileDone(state, "photo not read", [&] { photo = io::ReadPicture(path); })) break;
    benchmark::DoNotOptimize(photo.DIBSectionBitsPtr());
  }
  CountMegapixels(state, std::int64_t(4000) * 3000);
}
BENCHMARK_CAPTURE(BM_HeifOpen, heic, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HeifOpen, avif, true)->Unit(benchmark::kMillisecond);

// The yardstick: libheif alone, from the bytes in memory to its interleaved RGB.
void BM_LibheifDecode(benchmark::State& state, bool avif) {
  const QByteArray& bytes = HeifPhoto(avif);
  for (auto _ : state) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    if (heif_context_read_from_memory_without_copy(context, bytes.constData(),
                                                   std::size_t(bytes.size()), nullptr)
                .code != heif_error_Ok ||
        heif_context_get_primary_image_handle(context, &handle).code != heif_error_Ok ||
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr)
                .code != heif_error_Ok) {
      state.SkipWithError("libheif failed");
    }
    benchmark::DoNotOptimize(image);
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
  }
  CountMegapixels(state, std::int64_t(4000) * 3000);
}
BENCHMARK_CAPTURE(BM_LibheifDecode, heic, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LibheifDecode, avif, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fotavel::bench
