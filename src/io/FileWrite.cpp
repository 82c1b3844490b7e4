// Writing picture files: the all-or-nothing replacement of a picture file and the BMP writer.
#include <QCoreApplication>
#include <algorithm>
#include <cstdint>
#include <utility>

#include "io/FileError.h"
#include "io/PictureFiles.h"
#include "io/ReplacedFile.h"
#include "io/SafeWrite.h"

namespace fotavel::io {

namespace detail {

void WriteWhole(const QString& path, std::vector<iovec> pieces) {
  ReplacedFile file(path);
  file.Open();
  file.Write(std::move(pieces));
  file.Commit();
}

void Unwritten(const QString& path, const QString& reason) {
  throw FileError(FileErrors::kWrite, reason, path, "PictureFiles");
}

}  // namespace detail

namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

}  // namespace

void WriteBmp(const cDIBSection& picture, const QString& path) {
  if (picture.empty())
    detail::Unwritten(path,
                      QCoreApplication::translate("PictureFiles", "aucune image à enregistrer"));
  const std::int32_t width = picture.width(), height = picture.height();
  const std::uint64_t stride = std::uint64_t(picture.BytesPerScanLine());
  const std::uint64_t pixelBytes = stride * std::uint64_t(height);
  constexpr std::uint32_t kHeaderBytes = 14 + 40;
  if (pixelBytes + kHeaderBytes > UINT32_MAX) {
    detail::Unwritten(path, QCoreApplication::translate(
                                "PictureFiles", "image trop grande pour le format BMP (%1 x %2)")
                                .arg(width)
                                .arg(height));
  }
  // File header, then the 40-byte bitmap header the surface itself is defined
  // by: positive height (rows bottom-up), 1 plane, 24 bits, uncompressed.
  std::uint8_t header[kHeaderBytes] = {'B', 'M'};
  Put32(header + 2, kHeaderBytes + std::uint32_t(pixelBytes));
  Put32(header + 10, kHeaderBytes);
  Put32(header + 14, 40);
  Put32(header + 18, std::uint32_t(width));
  Put32(header + 22, std::uint32_t(height));
  Put16(header + 26, 1);
  Put16(header + 28, 24);
  Put32(header + 34, std::uint32_t(pixelBytes));

  // The surface's rows are already the BMP pixel array; only their padding
  // must not be copied (it holds whatever the surface's memory held), so a
  // padded row goes out as its pixels followed by zero bytes. Those pieces
  // are handed over a bounded number of rows at a time: a list for the whole
  // picture would cost 32 bytes a row, more than the picture itself for a
  // photo one pixel wide.
  static constexpr std::uint8_t kZeros[4] = {};
  const std::size_t rowPixels = std::size_t(width) * 3;
  const std::size_t padding = std::size_t(stride) - rowPixels;
  ReplacedFile file(path);
  file.Open();
  file.Write(reinterpret_cast<const char*>(header), kHeaderBytes);
  if (padding == 0) {
    file.Write(reinterpret_cast<const char*>(picture.DIBSectionBitsPtr()), pixelBytes);
  } else {
    constexpr std::int32_t kRowsAtOnce = 512;
    std::vector<iovec> pieces;
    pieces.reserve(2 * kRowsAtOnce);
    for (std::int32_t y = 0; y < height; y += kRowsAtOnce) {
      pieces.clear();
      for (std::int32_t row = y; row < std::min(height, y + kRowsAtOnce); ++row) {
        pieces.push_back({const_cast<std::uint8_t*>(picture.row(row)), rowPixels});
        pieces.push_back({const_cast<std::uint8_t*>(kZeros), padding});
      }
      file.Write(pieces);
    }
  }
  file.Commit();
}

}  // namespace fotavel::io
