// PNG, TIFF and WebP encoding through Qt's writers, the photo's metadata added with exiv2.
#include <QBuffer>
#include <QByteArray>
#include <QColorSpace>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <memory>
#include <new>
#include <string>

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
      // photo's noise: on the 6000 x 4000 photo-like picture an LZW file came
      // out 6 % larger than the pixels themselves (76.7 MB against 72.0 MB),
      // and took 25 times as long to write (2.2 s against 0.09 s).
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
    QImage image = TopDownRgb(picture);
    if (settings.format == SaveFormat::Png) {
      // exiv2 (0.27) names a PNG's profile chunk with an empty keyword, which
      // libpng's readers refuse, ignoring the profile. Qt's writer names it
      // properly, for every profile Qt's colour management understands (the
      // matrix-and-curve profiles of cameras and working spaces); exiv2
      // writes the others, which its own readers at least still find.
      const std::string icc = ColourProfile(metadata);
      if (!icc.empty()) {
        // The space keeps the bytes it was made from: a copy, not a view of `icc`.
        const QColorSpace space =
            QColorSpace::fromIccProfile(QByteArray(icc.data(), qsizetype(icc.size())));
        if (space.isValid()) {
          image.setColorSpace(space);
          kinds.icc = false;
        }
      }
    }
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
