// Picture files out: the formats, the encoded file and its all-or-nothing write.
#include "io/SaveFormats.h"

#include <sys/uio.h>

#include "io/FileError.h"
#include "io/PictureFiles.h"
#include "io/SafeWrite.h"

namespace fotavel::io {

namespace {

[[noreturn]] void NotYet() {
  throw FileError(FileErrors::kWrite, QStringLiteral("format pas encore disponible"), QString(),
                  "SaveFormats");
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

EncodedFile EncodePicture(const cDIBSection&, const EncodeSettings&, const PhotoMetadata&) {
  NotYet();
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
  switch (settings.format) {
    case SaveFormat::Bmp:
      WriteBmp(picture, path);
      return;
    case SaveFormat::Jpeg:
      WriteJpeg(picture, path, settings.quality, metadata);
      return;
    default:
      NotYet();
  }
}

SizeFit EncodeWithinSize(const cDIBSection&, const EncodeSettings&, std::uint64_t,
                         const PhotoMetadata&) {
  NotYet();
}

}  // namespace fotavel::io
