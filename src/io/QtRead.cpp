// PNG, GIF, BMP, TIFF and WebP through Qt's image readers, laid on white into a 24-bit surface.
#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <mutex>
#include <new>

#include "io/FileError.h"
#include "io/JpegStructure.h"
#include "io/LargeBuffer.h"
#include "io/PictureDecoders.h"
#include "io/PictureFiles.h"

namespace fotavel::io::detail {

namespace {

const char* DisplayName(const char* format) {
  if (qstrcmp(format, "png") == 0) return "PNG";
  if (qstrcmp(format, "gif") == 0) return "GIF";
  if (qstrcmp(format, "bmp") == 0) return "BMP";
  if (qstrcmp(format, "tiff") == 0) return "TIFF";
  if (qstrcmp(format, "webp") == 0) return "WebP";
  return "JPEG";
}

// The formats whose pixels we read directly; anything else (grey, 16-bit
// channels, one bit a pixel) is converted to 32-bit ARGB first, which costs a
// second picture-sized buffer. Qt's conversion of 16-bit channels rounds to
// nearest (v / 257, which is v × 255 / 65535).
bool ReadDirectly(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_Indexed8;
}

std::uint64_t BytesPerPixel(QImage::Format format) {
  if (format == QImage::Format_Invalid) return 8;  // unknown: assume the widest Qt decodes
  return std::max<std::uint64_t>(1, QImage::toPixelFormat(format).bitsPerPixel() / 8);
}

// Where a decoded row goes: bottom-up as the surface keeps it, or top-down
// for a picture that LayUpright will turn.
std::uint8_t* TargetRow(cDIBSection& out, std::int32_t imageRow, bool topDown) {
  return out.row(topDown ? imageRow : out.height() - 1 - imageRow);
}

// Colour-table pictures: each of the 256 indices laid on white once.
void CopyIndexed(const QImage& image, cDIBSection& out, bool topDown = false) {
  std::array<std::array<std::uint8_t, 3>, 256> bgr{};
  const QList<QRgb> table = image.colorTable();
  for (qsizetype i = 0; i < std::min<qsizetype>(table.size(), 256); ++i) {
    const QRgb c = table[i];
    const std::uint32_t a = qAlpha(c);
    bgr[i] = {OnWhite(qBlue(c), a), OnWhite(qGreen(c), a), OnWhite(qRed(c), a)};
  }
  const std::int32_t width = out.width(), height = out.height();
  for (std::int32_t y = 0; y < height; ++y) {
    const uchar* source = image.constScanLine(y);
    std::uint8_t* target = TargetRow(out, y, topDown);
    for (std::int32_t i = 0; i < width; ++i, target += 3) {
      const auto& p = bgr[source[i]];
      target[0] = p[0];
      target[1] = p[1];
      target[2] = p[2];
    }
  }
}

// 0xAARRGGBB words: alpha ignored for RGB32 (whose top byte is always 0xFF),
// straight for ARGB32. A premultiplied channel is already c·α/255 rounded,
// so white under it is that plus 255 − α: the same value as OnWhite, without
// the loss a conversion to straight alpha would bring first.
void CopyArgb(const QImage& image, cDIBSection& out, bool topDown = false) {
  const QImage::Format format = image.format();
  const bool opaque = format == QImage::Format_RGB32;
  const bool premultiplied = format == QImage::Format_ARGB32_Premultiplied;
  const std::int32_t width = out.width(), height = out.height();
  for (std::int32_t y = 0; y < height; ++y) {
    const QRgb* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    std::uint8_t* target = TargetRow(out, y, topDown);
    for (std::int32_t i = 0; i < width; ++i, target += 3) {
      const QRgb c = source[i];
      const std::uint32_t a = opaque ? 255 : qAlpha(c);
      if (premultiplied) {
        const std::uint32_t white = 255 - a;
        target[0] = std::uint8_t(std::min<std::uint32_t>(qBlue(c) + white, 255));
        target[1] = std::uint8_t(std::min<std::uint32_t>(qGreen(c) + white, 255));
        target[2] = std::uint8_t(std::min<std::uint32_t>(qRed(c) + white, 255));
      } else {
        target[0] = OnWhite(qBlue(c), a);
        target[1] = OnWhite(qGreen(c), a);
        target[2] = OnWhite(qRed(c), a);
      }
    }
  }
}

// A little-endian number of `bytes` bytes.
std::uint32_t Le(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// Qt's BMP reader rejects outsized headers outright, which would be reported
// as a damaged file; the size the header claims is read here first so that
// an outsized picture is called what it is.
bool BmpClaimsTooMuch(const FileBytes& file, std::int64_t& width, std::int64_t& height) {
  BmpHeader bmp;
  if (!ReadBmpHeader(file.data, file.size, bmp)) return false;
  width = bmp.width;
  height = bmp.height;
  return PlausibleSize(width, height) &&
         !FitsBudget(SurfaceBytes(width, height) +
                     std::uint64_t(width) * std::uint64_t(height) * 4);
}

// Qt's GIF reader reports the size of the first picture but makes an image
// of the whole logical screen the header declares (or of the picture's
// extent, where it reaches further): a 1 x 1 picture on a screen of 16000 x
// 16000 would take a gigabyte that no check saw. That image is counted here,
// at the widest pixels Qt may decode into.
bool GifClaimsTooMuch(const FileBytes& file, std::int64_t& width, std::int64_t& height) {
  const std::uint8_t* p = file.data;
  if (file.size < 13) return false;
  width = Le(p + 6, 2);
  height = Le(p + 8, 2);
  std::size_t at = 13 + ((p[10] & 0x80) ? std::size_t{3} << ((p[10] & 7) + 1) : 0);
  while (at < file.size && p[at] == 0x21) {  // extensions before the first picture
    at += 2;
    while (at < file.size && p[at] != 0) at += p[at] + 1u;
    ++at;
  }
  if (at + 10 <= file.size && p[at] == 0x2C) {
    width = std::max<std::int64_t>(width, Le(p + at + 1, 2) + Le(p + at + 5, 2));
    height = std::max<std::int64_t>(height, Le(p + at + 3, 2) + Le(p + at + 7, 2));
  }
  return PlausibleSize(width, height) &&
         !FitsBudget(SurfaceBytes(width, height) + std::uint64_t(width) * std::uint64_t(height) *
                                                       BytesPerPixel(QImage::Format_Invalid));
}

// An RLE8 or RLE4 stream from `at` reaches its end-of-picture code, or ends
// `height` rows, before the file ends.
bool RleComplete(const FileBytes& file, std::size_t at, std::int64_t height, bool fourBits) {
  const std::uint8_t* p = file.data;
  std::int64_t rows = 0;
  while (rows < height) {
    if (at + 2 > file.size) return false;
    const std::uint8_t count = p[at], code = p[at + 1];
    at += 2;
    if (count != 0 || code == 0) {  // a run, or the end of a row
      rows += count == 0;
    } else if (code == 1) {  // end of the picture
      return true;
    } else if (code == 2) {  // a jump right and down
      if (at + 2 > file.size) return false;
      rows += p[at + 1];
      at += 2;
    } else {  // `code` literal pixels, padded to a 16-bit boundary
      const std::size_t bytes = fourBits ? (code + 1u) / 2 : code;
      at += (bytes + 1) & ~std::size_t{1};
    }
  }
  return at <= file.size;
}

// Qt's BMP reader makes up the rows a truncated file lacks (black) and calls
// it a success: the pixel data the header promises is checked against the
// file first. Compressed rows have no size known in advance; their codes are
// walked instead.
bool BmpDataComplete(const FileBytes& file) {
  BmpHeader bmp;
  if (!ReadBmpHeader(file.data, file.size, bmp)) return false;
  const std::uint32_t offset = bmp.offset, header = bmp.headerSize, bits = bmp.bits,
                      compression = bmp.compression;
  const std::int64_t width = bmp.width, height = bmp.height;
  if (std::uint64_t(offset) < 14u + header || width <= 0 || height <= 0) return false;
  if (compression == 1 || compression == 2)
    return RleComplete(file, offset, height, compression == 2);
  // Uncompressed or bit fields: rows of whole 32-bit words.
  const std::uint64_t row = (std::uint64_t(width) * bits + 31) / 32 * 4;
  return std::uint64_t(offset) + row * std::uint64_t(height) <= file.size;
}

// A GIF picture's LZW codes, from its code size byte at `at` on, yield
// `pixels` pixels before their end code or the end of the data. A plain
// count: the string each code stands for is known by its length alone (one
// more than the string of the code before it, for every code the table
// gains), so no pixel is made. A code the table does not hold yet is damage.
bool LzwYields(const std::uint8_t* p, std::size_t size, std::size_t at, std::uint64_t pixels) {
  constexpr int kWidestCode = 12;
  constexpr std::uint32_t kTableSize = 1u << kWidestCode;
  if (pixels == 0) return true;
  if (at >= size) return false;
  const int minimum = p[at];
  if (minimum < 1 || minimum >= kWidestCode) return false;
  const std::uint32_t clear = 1u << minimum, end = clear + 1;
  std::array<std::uint16_t, kTableSize> length;
  length.fill(1);
  std::uint32_t next = clear + 2, previous = kTableSize;  // none after a clear code
  int width = minimum + 1;
  std::uint64_t made = 0;
  std::uint32_t bits = 0;
  int held = 0;
  std::size_t block = at + 1, left = 0;  // where the next byte is, and what is left of its block
  while (true) {
    while (held < width) {
      if (left == 0) {
        if (block >= size || p[block] == 0) return false;  // the data ends here
        left = p[block++];
      }
      if (block >= size) return false;
      bits |= std::uint32_t(p[block++]) << held;
      held += 8;
      --left;
    }
    const std::uint32_t code = bits & ((1u << width) - 1);
    bits >>= width;
    held -= width;
    if (code == clear) {
      next = clear + 2;
      width = minimum + 1;
      previous = kTableSize;
      continue;
    }
    if (code == end) return false;
    const bool first = previous == kTableSize;
    if (first ? code >= clear : code > next) return false;
    if (!first && next < kTableSize) {
      length[next] = std::uint16_t(length[previous] + 1);
      if (++next == 1u << width && width < kWidestCode) ++width;
    }
    made += length[code];
    if (made >= pixels) return true;
    previous = code;
  }
}

// Qt's GIF reader hands back a frame cut short as if it were whole: by the
// end of the file, or by an LZW stream that ends (or runs out) before the
// frame is filled, the rest left black. The file's blocks are walked up to
// the end of the first picture's data, which must lie inside the file, and
// its codes must make every pixel of the picture.
bool GifDataComplete(const FileBytes& file) {
  const std::uint8_t* p = file.data;
  const auto table = [p](std::size_t flagsAt) {
    return (p[flagsAt] & 0x80) ? std::size_t{3} << ((p[flagsAt] & 7) + 1) : 0;
  };
  const auto skipSubBlocks = [&](std::size_t at) {
    while (at < file.size && p[at] != 0) at += p[at] + 1u;
    return at < file.size ? at + 1 : std::size_t(-1);
  };
  if (file.size < 13) return false;
  std::size_t at = 13 + table(10);
  while (at < file.size) {
    if (p[at] == 0x21) {  // extension: label, then sub-blocks
      at = skipSubBlocks(at + 2);
    } else if (p[at] == 0x2C) {  // picture: descriptor, colours, code size, data
      if (at + 10 > file.size) return false;
      const std::uint64_t pixels = std::uint64_t(Le(p + at + 5, 2)) * Le(p + at + 7, 2);
      at += 10 + table(at + 9);
      return at < file.size && skipSubBlocks(at + 1) != std::size_t(-1) &&
             LzwYields(p, file.size, at, pixels);
    } else {
      return false;  // the trailer, or garbage, before any picture
    }
  }
  return false;
}

// The pixel data a BMP, GIF or JPEG header promises is all in the file (none
// of Qt's readers says when it is not: they make up the rows they lack), and a
// JPEG's scans are few enough to decode in reasonable time; other formats'
// readers tell for themselves.
bool DataComplete(const FileBytes& file, const char* format) {
  if (qstrcmp(format, "bmp") == 0) return BmpDataComplete(file);
  if (qstrcmp(format, "gif") == 0) return GifDataComplete(file);
  if (qstrcmp(format, "jpeg") == 0) {
    const JpegStructure structure = WalkJpeg(file.data, file.size);
    return structure.complete && structure.scans <= kMaxJpegScans;
  }
  return true;
}

// Qt's readers refuse any image above a ceiling of their own (256 MB by
// default, a 67-megapixel picture in 32-bit pixels), and that ceiling is one
// for the whole program: set for each picture, it would make one picture's
// reading depend on which other picture set it last (under fotavel-batch -j,
// on the timing of the workers). Our check against the budget, from the
// header and before any read, is what guards memory; Qt's ceiling is lifted
// once, for good, so that every read obeys that one rule alone.
void LiftQtAllocationLimit() {
  static std::once_flag once;
  std::call_once(once, [] { QImageReader::setAllocationLimit(0); });
}

// A TIFF's first directory: the colour model (tag 262) and the bits of its
// first sample (tag 258), 0 where the file does not say.
struct TiffColours {
  std::uint32_t photometric = 0;
  std::uint32_t bits = 0;
};
TiffColours ReadTiffColours(const FileBytes& file) {
  const std::uint8_t* p = file.data;
  TiffColours colours;
  if (file.size < 8) return colours;
  const bool little = p[0] == 'I';
  const auto number = [&](std::size_t at, int bytes) -> std::uint32_t {
    if (at + std::size_t(bytes) > file.size) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | p[at + (little ? bytes - 1 - i : i)];
    return v;
  };
  const std::size_t directory = number(4, 4);
  const std::uint32_t entries = number(directory, 2);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::size_t entry = directory + 2 + 12 * std::size_t(i);
    if (entry + 12 > file.size) break;
    const std::uint32_t tag = number(entry, 2), count = number(entry + 4, 4);
    const int bytes = number(entry + 2, 2) == 4 ? 4 : 2;  // LONG or SHORT
    // Values of more than four bytes lie elsewhere; the first is enough here.
    const std::size_t at =
        std::uint64_t(count) * std::uint64_t(bytes) > 4 ? number(entry + 8, 4) : entry + 8;
    if (tag == 262) colours.photometric = number(at, bytes);
    if (tag == 258) colours.bits = number(at, bytes);
  }
  return colours;
}

// Qt's TIFF reader converts CMYK only at 8 bits a sample, through libtiff's
// plain conversion; a CMYK file it cannot read is called what it is rather
// than damaged.
QString TiffFailure(const FileBytes& file) {
  constexpr std::uint32_t kSeparated = 5;
  const TiffColours colours = ReadTiffColours(file);
  if (colours.photometric == kSeparated) {
    return QCoreApplication::translate(
               "PictureFiles",
               "fichier TIFF en CMJN sur %1 bits : ce mode de couleurs n'est pas pris "
               "en charge")
        .arg(colours.bits);
  }
  return DamagedFile("TIFF");
}

}  // namespace

bool ReadBmpHeader(const std::uint8_t* p, std::size_t size, BmpHeader& out) {
  if (size < 26 || p[0] != 'B' || p[1] != 'M') return false;
  BmpHeader bmp;
  bmp.offset = Le(p + 10, 4);
  bmp.headerSize = Le(p + 14, 4);
  if (bmp.headerSize == 12) {  // the old 12-byte header: 16-bit sizes
    bmp.width = Le(p + 18, 2);
    bmp.height = Le(p + 20, 2);
    bmp.planes = Le(p + 22, 2);
    bmp.bits = Le(p + 24, 2);
  } else {
    if (bmp.headerSize < 40 || size < 34) return false;
    bmp.width = std::int32_t(Le(p + 18, 4));
    const std::int32_t height = std::int32_t(Le(p + 22, 4));
    bmp.topDown = height < 0;
    bmp.height = std::abs(std::int64_t(height));
    bmp.planes = Le(p + 26, 2);
    bmp.bits = Le(p + 28, 2);
    bmp.compression = Le(p + 30, 4);
  }
  out = bmp;
  return true;
}

void DecodeWithQt(const FileBytes& file, const char* format, bool upright, cDIBSection& out) {
  QBuffer buffer(const_cast<QByteArray*>(file.array));
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  reader.setAutoTransform(upright);
  if (std::int64_t width = 0, height = 0;
      (qstrcmp(format, "bmp") == 0 && BmpClaimsTooMuch(file, width, height)) ||
      (qstrcmp(format, "gif") == 0 && GifClaimsTooMuch(file, width, height))) {
    Refuse(file, TooBig(width, height));
  }

  // The header alone: size and the pixel format Qt will decode into.
  const QSize size = reader.size();
  if (!size.isValid()) {
    Refuse(file, DamagedFile(DisplayName(format)));
  }
  if (!PlausibleSize(size.width(), size.height())) {
    Refuse(file, BadDimensions(size.width(), size.height()));
  }
  // Where Qt's reader knows the container's orientation it turns the image
  // itself (into a second image); where it does not, the EXIF says how and
  // our surface is turned. Never both.
  const bool qtTurns = upright && reader.supportsOption(QImageIOHandler::ImageTransformation);
  const int orientation = upright && !qtTurns ? ReadFileMetadata(file, nullptr) : 1;
  const QImage::Format decoded = reader.imageFormat();
  const std::uint64_t pixels = std::uint64_t(size.width()) * std::uint64_t(size.height());
  const std::uint64_t surface = SurfaceBytes(size.width(), size.height());
  std::uint64_t qtImage = pixels * BytesPerPixel(decoded);
  if (qtTurns && reader.transformation() != QImageIOHandler::TransformationNone) qtImage *= 2;
  const std::uint64_t converted = ReadDirectly(decoded) ? 0 : pixels * 4;
  const std::uint64_t turned = SwapsSides(orientation) ? surface : 0;
  if (!FitsBudget(surface + qtImage + converted + turned)) {
    Refuse(file, TooBig(size.width(), size.height()));
  }
  if (!DataComplete(file, format)) Refuse(file, DamagedFile(DisplayName(format)));
  LiftQtAllocationLimit();

  // Qt's readers decode into the image they are given when its size and
  // format are the ones they would make. One laid over surface memory saves
  // the first touch of a fresh heap block of 4 bytes a pixel (96 MB for 24
  // megapixels), which on our virtual machines took longer than decoding.
  // A reader that makes an image of its own anyway simply leaves it unused.
  LargeBuffer imageMemory;
  QImage image;
  if (ReadDirectly(decoded)) {
    const qsizetype bytesPerLine =
        decoded == QImage::Format_Indexed8 ? (size.width() + 3) & ~3 : qsizetype{4} * size.width();
    if (imageMemory.Reserve(std::size_t(bytesPerLine) * std::size_t(size.height()))) {
      image = QImage(imageMemory.data(), size.width(), size.height(), bytesPerLine, decoded);
    }
  }
  // A file cut short, or pixels the reader cannot decode, fail the read:
  // Qt's TIFF and WebP readers make up no rows.
  if (!reader.read(&image)) image = QImage();
  if (image.isNull()) {
    Refuse(file,
           qstrcmp(format, "tiff") == 0 ? TiffFailure(file) : DamagedFile(DisplayName(format)));
  }
  if (!ReadDirectly(image.format())) image = image.convertToFormat(QImage::Format_ARGB32);
  cDIBSection stored;
  if (image.isNull() || !stored.Create(image.width(), image.height())) {
    Refuse(file, TooBig(image.width(), image.height()));
  }
  const bool topDown = StoredTopDown(orientation);
  if (image.format() == QImage::Format_Indexed8) {
    CopyIndexed(image, stored, topDown);
  } else {
    CopyArgb(image, stored, topDown);
  }
  image = QImage();
  if (!LayUpright(stored, orientation, out)) {
    Refuse(file, TooBig(stored.height(), stored.width()));
  }
}

QImage DecodeImageWithQt(const FileBytes& file, const char* format,
                         std::uint64_t bytesPerPixelBeside) {
  QBuffer buffer(const_cast<QByteArray*>(file.array));
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  reader.setAutoTransform(false);
  // Qt's BMP reader calls an outsized header damaged: the size it claims is
  // taken from the header itself, as for a photo (BmpClaimsTooMuch).
  BmpHeader bmp;
  QSize size;
  if (qstrcmp(format, "bmp") == 0 && ReadBmpHeader(file.data, file.size, bmp) &&
      PlausibleSize(bmp.width, bmp.height)) {
    size = QSize(int(bmp.width), int(bmp.height));
  } else {
    size = reader.size();
  }
  if (!size.isValid()) Refuse(file, DamagedFile(DisplayName(format)));
  if (!PlausibleSize(size.width(), size.height())) {
    Refuse(file, BadDimensions(size.width(), size.height()));
  }
  const std::uint64_t pixels = std::uint64_t(size.width()) * std::uint64_t(size.height());
  // Reckoned at the widest pixels when Qt's reader cannot say (such a BMP).
  const std::uint64_t perPixel = BytesPerPixel(reader.imageFormat()) + bytesPerPixelBeside;
  if (pixels > UINT64_MAX / perPixel || !FitsBudget(pixels * perPixel)) throw std::bad_alloc();
  if (!DataComplete(file, format)) Refuse(file, DamagedFile(DisplayName(format)));
  LiftQtAllocationLimit();
  QImage image;
  if (!reader.read(&image)) image = QImage();
  if (image.isNull()) {
    Refuse(file,
           qstrcmp(format, "tiff") == 0 ? TiffFailure(file) : DamagedFile(DisplayName(format)));
  }
  return image;
}

}  // namespace fotavel::io::detail

namespace fotavel::io {

cDIBSection SurfaceFromImage(const QImage& picture) {
  // A picture handed over comes from no file; it fails as a picture that
  // could not be read.
  const auto refuse = [](const QString& reason) {
    throw FileError(FileErrors::kRead, reason, QString(), "PictureFiles");
  };
  if (picture.isNull()) refuse(QCoreApplication::translate("PictureFiles", "aucune image"));
  QImage image = picture;
  if (!detail::ReadDirectly(image.format())) {
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                          : QImage::Format_RGB32);
  }
  cDIBSection made;
  if (image.isNull() || !made.Create(image.width(), image.height())) {
    refuse(detail::TooBig(picture.width(), picture.height()));
  }
  if (image.format() == QImage::Format_Indexed8) {
    detail::CopyIndexed(image, made);
  } else {
    detail::CopyArgb(image, made);
  }
  return made;
}

QImage ImageFromSurface(const cDIBSection& picture) {
  if (picture.empty()) return {};
  // The surface's bytes are blue, green, red, bottom row first: wrapped as
  // they are, one mirrored copy stands them upright.
  const QImage stored(picture.DIBSectionBitsPtr(), picture.width(), picture.height(),
                      picture.BytesPerScanLine(), QImage::Format_BGR888);
  return stored.mirrored();
}

}  // namespace fotavel::io
