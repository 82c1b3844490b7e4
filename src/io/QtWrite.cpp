// PNG, TIFF and WebP encoding through Qt's writers, the photo's metadata added with exiv2.
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <memory>
#include <new>

#include "io/PictureDecoders.h"
#include "io/SaveFormats.h"

namespace fotavel::io::detail {

namespace {

// The picture as Qt's writers take it without converting it again: 8-bit
// RGB, top row first. One pass turns the surface's bottom-up BGR rows over
// and swaps the channels; it is the only copy of the pixels made.
QImage TopDownRgb(const cDIBSection& picture) {
  const std::int32_t width = picture.width(), height = picture.height();
  QImage image(width, height, QImage::Format_RGB888);
  if (image.isNull()) throw std::bad_alloc();
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* source = picture.row(height - 1 - y);
    std::uint8_t* target = image.scanLine(y);
    for (std::int32_t i = 0; i < width; ++i, source += 3, target += 3) {
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
    }
  }
  return image;
}

}  // namespace

EncodedFile EncodeWithQt(const cDIBSection& picture, const EncodeSettings& settings,
                         const PhotoMetadata& metadata) {
  const char* format = "png";
  const char* name = "PNG";
  MetadataKinds kinds;
  int quality = -1, compression = -1;
  switch (settings.format) {
    case SaveFormat::Png:
      // Qt's default: zlib's level 6 with the filters libpng picks row by
      // row, the balance of size and time other PNG writers default to too.
      break;
    case SaveFormat::Tiff:
      format = "tiff";
      name = "TIFF";
      // Uncompressed. The only lossless compression Qt's writer offers is LZW
      // without a predictor, which finds few repeated byte strings in a
      // photo's noise: on the 6000 x 4000 photo-like picture the file came out
      // 1.3 times larger than the pixels themselves, and took longer to write.
      compression = 0;
      break;
    case SaveFormat::Webp:
      format = "webp";
      name = "WebP";
      // Qt's plugin writes quality 100 (and only that) losslessly. Lossless
      // is asked for by that value; lossy 100 is written at 99, the best
      // lossy quality the plugin lets us ask for.
      quality = settings.lossless ? 100 : std::min(settings.quality, 99);
      // A WebP holds EXIF, XMP and a profile, but no IPTC.
      kinds.iptc = false;
      break;
    default:
      Unencodable(QCoreApplication::translate("SaveFormats", "format d'image inconnu"));
  }
  auto file = std::make_shared<QByteArray>();
  {
    const QImage image = TopDownRgb(picture);
    QBuffer buffer(file.get());
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) writer.setQuality(quality);
    if (compression >= 0) writer.setCompression(compression);
    if (!writer.write(image)) {
      Unencodable(QCoreApplication::translate("SaveFormats", "échec de l'encodage %1 : %2")
                      .arg(QLatin1String(name), writer.errorString()));
    }
  }
  AddMetadata(*file, metadata, picture.width(), picture.height(), kinds);
  file->squeeze();
  const char* bytes = file->constData();
  const std::size_t size = std::size_t(file->size());
  return EncodedFile({{bytes, size}}, std::move(file));
}

}  // namespace fotavel::io::detail
