// Picture files out in every format the program writes, each encoded in memory first.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "io/PhotoMetadata.h"
#include "surface/cDIBSection.h"

namespace fotavel::io {

enum class SaveFormat { Bmp, Jpeg, Png, Webp, Avif, Tiff };

// What a file is written with.
struct EncodeSettings {
  SaveFormat format = SaveFormat::Jpeg;
  // 45 … 100 (kMinJpegQuality … kMaxJpegQuality) for JPEG, lossy WebP and
  // AVIF, on the scale of the JPEG quality dialog; unused for the others.
  int quality = 70;
  // WebP only: the exact pixels, whatever the quality.
  bool lossless = false;
};

// True when the file's size follows `quality` (JPEG, lossy WebP, AVIF).
bool HasQuality(const EncodeSettings& settings);

// The format a file name's extension asks for: .bmp; .jpg, .jpeg; .png;
// .webp; .avif; .tif, .tiff; in any case. False for any other name.
bool FormatForName(const QString& path, SaveFormat& format);
// The usual extension of a format, lower case without the dot ("jpg", "tif").
QString ExtensionFor(SaveFormat format);

// A whole picture file encoded in memory: pieces of bytes, in order, kept
// alive by `storage`, written all at once with WriteEncoded.
class EncodedFile {
 public:
  using Piece = std::pair<const char*, std::size_t>;

  EncodedFile() = default;
  EncodedFile(std::vector<Piece> pieces, std::shared_ptr<const void> storage);

  std::uint64_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const std::vector<Piece>& pieces() const { return pieces_; }
  // The bytes in one block (for tests and for the callers that read the file back).
  QByteArray ToBytes() const;

 private:
  std::vector<Piece> pieces_;
  std::shared_ptr<const void> storage_;
  std::uint64_t size_ = 0;
};

// Encodes the surface as a whole file of settings.format, the photo's
// `metadata` in it wherever the format can hold it (EXIF with orientation 1
// and the surface's size, XMP, the RGB colour profile; IPTC in JPEG, PNG and
// TIFF), as WriteJpeg does.
// Throws FileError (FileErrors::kWrite, no path) with the French reason when
// it cannot (bad quality, picture too large for the format, encoder failure).
[[nodiscard]] EncodedFile EncodePicture(const cDIBSection& picture, const EncodeSettings& settings,
                                        const PhotoMetadata& metadata = PhotoMetadata());

// Writes the encoded file as the new content of `path`, all or nothing, as
// WriteBmp does.
void WriteEncoded(const EncodedFile& file, const QString& path);

// EncodePicture then WriteEncoded (a BMP goes straight to WriteBmp and
// carries no metadata); failures name `path`.
void WritePicture(const cDIBSection& picture, const QString& path, const EncodeSettings& settings,
                  const PhotoMetadata& metadata = PhotoMetadata());

// What EncodeWithinSize found.
struct SizeFit {
  EncodedFile file;
  int quality = 0;                     // the quality the file was encoded at
  int halvings = 0;                    // how many times the picture was halved to fit
  std::int32_t width = 0, height = 0;  // the picture's size in the file
  int encodes = 0;                     // encodes run in all, at any size
  // Of those, the encodes of the whole picture at the size it had then (the
  // others encode a few strips of it to foresee the sizes).
  int wholeEncodes = 0;
  // Of those, the encodes of the picture at the size it was given.
  int fullSizeEncodes = 0;
};

// The file, in memory, of the highest quality from kMinJpegQuality to
// settings.quality whose size is at most maxBytes. When even the lowest does
// not fit, the picture is halved (each side rounded up) until some quality
// fits. Only for settings that HasQuality. The sizes of a picture of 1024
// rows or more are foreseen from encodes of a few strips of it, then
// confirmed on at most 5 whole encodes at each size (usually 2: the quality
// found fits, the next one up does not); a smaller one is bisected, in 6
// whole encodes at most, none dearer than the strips of a large one. A WebP's size does not always
// grow with its quality: the quality found then fits and the next one up does not, though a higher
// one might. Throws FileError (FileErrors::kWrite, no path) when nothing fits, down to a picture of
// one pixel.
[[nodiscard]] SizeFit EncodeWithinSize(const cDIBSection& picture, const EncodeSettings& settings,
                                       std::uint64_t maxBytes,
                                       const PhotoMetadata& metadata = PhotoMetadata());

}  // namespace fotavel::io
