// Picture files out: the formats, the encoded file and its all-or-nothing write.
#include "io/SaveFormats.h"

#include <sys/uio.h>

#include <QCoreApplication>
#include <cstring>
#include <new>
#include <string>

#include "io/FileError.h"
#include "io/PictureDecoders.h"
#include "io/PictureFiles.h"
#include "io/SafeWrite.h"

namespace fotavel::io {

namespace detail {

void Unencodable(const QString& reason) {
  throw FileError(FileErrors::kWrite, reason, QString(), "SaveFormats");
}

}  // namespace detail

namespace {

const char* FormatName(SaveFormat format) {
  switch (format) {
    case SaveFormat::Bmp:
      return "BMP";
    case SaveFormat::Jpeg:
      return "JPEG";
    case SaveFormat::Png:
      return "PNG";
    case SaveFormat::Webp:
      return "WebP";
    case SaveFormat::Avif:
      return "AVIF";
    case SaveFormat::Tiff:
      return "TIFF";
  }
  return "";
}

// The largest side each format takes. A WebP states its sides in 14 bits; an
// AV1 frame header in 16. A classic TIFF addresses its strips in 32 bits, so
// its uncompressed pixels must stay under 4 GiB (checked below); a PNG states
// 31 bits, beyond any surface.
std::int64_t MaxSide(SaveFormat format) {
  switch (format) {
    case SaveFormat::Webp:
      return 16383;
    case SaveFormat::Avif:
      return 65536;
    case SaveFormat::Jpeg:
      return 65535;
    default:
      return INT32_MAX;
  }
}

// Bytes a pixel that an encoder keeps beside the photo while it works, as
// measured on the 6000 x 4000 photo (peak memory of the encode less that of
// the photo, rounded up): PNG 4.7 (the top-down RGB copy Qt's writers take, 3,
// and the file); TIFF 6.5 (the copy, the uncompressed file and Qt's chunked
// conversion); WebP 13, lossless 39 (Qt's plugin converts the copy again,
// and libwebp keeps its own planes, and for lossless its ARGB copy, hash
// chains and backward references); AVIF 21 (libheif's RGB and YCbCr copies
// and the AV1 encoder's frames and lookahead). With metadata, exiv2 holds a
// copy of the file as it rewrites it and we read another one back: 6 more
// where the file can be as large as the pixels (PNG, TIFF). A BMP in memory
// is the pixels once more. JPEG needs
// none: libturbojpeg works a few rows at a time, and its output buffer
// counts itself (LargeBuffer).
std::uint64_t BytesBeside(const EncodeSettings& settings, bool metadata) {
  switch (settings.format) {
    case SaveFormat::Png:
      return 5 + (metadata ? 6 : 0);
    case SaveFormat::Tiff:
      return 7 + (metadata ? 6 : 0);
    case SaveFormat::Webp:
      return settings.lossless ? 40 : 14;
    case SaveFormat::Avif:
      return 22;
    case SaveFormat::Bmp:
      return 3;  // the file itself, held whole
    default:
      return 0;
  }
}

// A BMP whole in memory: the file WriteBmp writes straight from the rows
// (24 bits, bottom-up, the 40-byte header), for callers that want the bytes.
EncodedFile EncodeBmp(const cDIBSection& picture) {
  const std::uint64_t stride = std::uint64_t(picture.BytesPerScanLine());
  const std::uint64_t pixelBytes = stride * std::uint64_t(picture.height());
  constexpr std::uint32_t kHeaderBytes = 14 + 40;
  auto file = std::make_shared<std::string>(kHeaderBytes + pixelBytes, '\0');
  const auto put = [&file](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) (*file)[at + i] = char(value >> (8 * i));
  };
  (*file)[0] = 'B';
  (*file)[1] = 'M';
  put(2, std::uint32_t(kHeaderBytes + pixelBytes), 4);
  put(10, kHeaderBytes, 4);
  put(14, 40, 4);
  put(18, std::uint32_t(picture.width()), 4);
  put(22, std::uint32_t(picture.height()), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, std::uint32_t(pixelBytes), 4);
  // The rows as they lie, without their padding, which stays zero.
  const std::size_t rowPixels = std::size_t(picture.width()) * 3;
  for (std::int32_t y = 0; y < picture.height(); ++y) {
    std::memcpy(file->data() + kHeaderBytes + std::size_t(stride) * std::size_t(y), picture.row(y),
                rowPixels);
  }
  const char* bytes = file->data();
  const std::size_t size = file->size();
  return EncodedFile({{bytes, size}}, std::move(file));
}

void CheckQualityRange(const EncodeSettings& settings) {
  if (HasQuality(settings) &&
      (settings.quality < kMinJpegQuality || settings.quality > kMaxJpegQuality)) {
    detail::Unencodable(
        QCoreApplication::translate("SaveFormats", "qualité %1 %2 hors limites (de %3 à %4)")
            .arg(QLatin1String(FormatName(settings.format)))
            .arg(settings.quality)
            .arg(kMinJpegQuality)
            .arg(kMaxJpegQuality));
  }
}

// The refusals every format shares, before any memory is asked for.
void CheckEncodable(const cDIBSection& picture, const EncodeSettings& settings,
                    const PhotoMetadata& metadata) {
  const QString format = QLatin1String(FormatName(settings.format));
  CheckQualityRange(settings);
  if (picture.empty()) {
    detail::Unencodable(QCoreApplication::translate("SaveFormats", "aucune image à enregistrer"));
  }
  const std::int64_t width = picture.width(), height = picture.height();
  // JPEG says this itself, in the words it always used.
  if (settings.format != SaveFormat::Jpeg &&
      (width > MaxSide(settings.format) || height > MaxSide(settings.format) ||
       (settings.format == SaveFormat::Tiff && 3 * width * height >= (std::int64_t{1} << 32)) ||
       (settings.format == SaveFormat::Bmp &&
        std::uint64_t(picture.BytesPerScanLine()) * std::uint64_t(height) + 54 > UINT32_MAX))) {
    detail::Unencodable(
        QCoreApplication::translate("SaveFormats", "image trop grande pour le format %1 (%2 x %3)")
            .arg(format)
            .arg(width)
            .arg(height));
  }
  const std::uint64_t beside =
      BytesBeside(settings, !metadata.empty()) * std::uint64_t(width) * std::uint64_t(height);
  if (beside != 0 && !detail::FitsBudget(detail::SurfaceBytes(width, height) + beside)) {
    detail::Unencodable(
        QCoreApplication::translate("SaveFormats",
                                    "mémoire insuffisante pour encoder l'image en %1 (%2 x %3)")
            .arg(format)
            .arg(width)
            .arg(height));
  }
}

}  // namespace

bool HasQuality(const EncodeSettings& settings) {
  return settings.format == SaveFormat::Jpeg || settings.format == SaveFormat::Avif ||
         (settings.format == SaveFormat::Webp && !settings.lossless);
}

bool FormatForName(const QString& path, SaveFormat& format) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0 || dot < slash) return false;
  const QString extension = path.mid(dot + 1).toLower();
  static const struct {
    const char* extension;
    SaveFormat format;
  } kNames[] = {{"bmp", SaveFormat::Bmp},  {"jpg", SaveFormat::Jpeg},  {"jpeg", SaveFormat::Jpeg},
                {"png", SaveFormat::Png},  {"webp", SaveFormat::Webp}, {"avif", SaveFormat::Avif},
                {"tif", SaveFormat::Tiff}, {"tiff", SaveFormat::Tiff}};
  for (const auto& name : kNames) {
    if (extension == QLatin1String(name.extension)) {
      format = name.format;
      return true;
    }
  }
  return false;
}

QString ExtensionFor(SaveFormat format) {
  switch (format) {
    case SaveFormat::Bmp:
      return QStringLiteral("bmp");
    case SaveFormat::Jpeg:
      return QStringLiteral("jpg");
    case SaveFormat::Png:
      return QStringLiteral("png");
    case SaveFormat::Webp:
      return QStringLiteral("webp");
    case SaveFormat::Avif:
      return QStringLiteral("avif");
    case SaveFormat::Tiff:
      return QStringLiteral("tif");
  }
  return QString();
}

EncodedFile::EncodedFile(std::vector<Piece> pieces, std::shared_ptr<const void> storage)
    : pieces_(std::move(pieces)), storage_(std::move(storage)) {
  for (const Piece& piece : pieces_) size_ += piece.second;
}

QByteArray EncodedFile::ToBytes() const {
  QByteArray bytes;
  bytes.reserve(qsizetype(size_));
  for (const Piece& piece : pieces_) bytes.append(piece.first, qsizetype(piece.second));
  return bytes;
}

namespace detail {

void CheckQuality(const EncodeSettings& settings) {
  if (!HasQuality(settings)) {
    Unencodable(
        QCoreApplication::translate("SaveFormats", "le format %1 n'a pas de qualité à régler")
            .arg(QLatin1String(FormatName(settings.format))));
  }
  CheckQualityRange(settings);
}

}  // namespace detail

EncodedFile EncodePicture(const cDIBSection& picture, const EncodeSettings& settings,
                          const PhotoMetadata& metadata) {
  CheckEncodable(picture, settings, metadata);
  try {
    switch (settings.format) {
      case SaveFormat::Bmp:
        return EncodeBmp(picture);
      case SaveFormat::Jpeg:
        return detail::EncodeJpeg(picture, settings.quality, metadata);
      case SaveFormat::Png:
      case SaveFormat::Webp:
      case SaveFormat::Tiff:
        return detail::EncodeWithQt(picture, settings, metadata);
      case SaveFormat::Avif:
        return detail::EncodeAvif(picture, settings.quality, metadata);
    }
  } catch (const std::bad_alloc&) {
    detail::Unencodable(
        QCoreApplication::translate("SaveFormats",
                                    "mémoire insuffisante pour encoder l'image en %1 (%2 x %3)")
            .arg(QLatin1String(FormatName(settings.format)))
            .arg(picture.width())
            .arg(picture.height()));
  }
  detail::Unencodable(QCoreApplication::translate("SaveFormats", "format d'image inconnu"));
}

void WriteEncoded(const EncodedFile& file, const QString& path) {
  std::vector<iovec> pieces;
  pieces.reserve(file.pieces().size());
  for (const EncodedFile::Piece& piece : file.pieces()) {
    pieces.push_back({const_cast<char*>(piece.first), piece.second});
  }
  detail::WriteWhole(path, std::move(pieces));
}

void WritePicture(const cDIBSection& picture, const QString& path, const EncodeSettings& settings,
                  const PhotoMetadata& metadata) {
  if (settings.format == SaveFormat::Bmp) {
    WriteBmp(picture, path);
    return;
  }
  EncodedFile file;
  try {
    file = EncodePicture(picture, settings, metadata);
  } catch (const FileError& failure) {
    detail::Unwritten(path, failure.text());
  }
  WriteEncoded(file, path);
}

}  // namespace fotavel::io
