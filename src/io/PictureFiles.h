// Picture files in and out: any supported picture into a 24-bit surface, BMP and JPEG out.
#pragma once

#include <QString>
#include <cstdint>

#include "io/FileError.h"
#include "io/PhotoMetadata.h"
#include "surface/cDIBSection.h"

class QImage;

namespace fotavel::io {

struct JpegSource;  // io/LosslessJpeg.h

// Reads the picture file at `path` into a new 24-bit surface of the picture's
// pixel size. The file's content picks the decoder, never its name:
// JPEG (decoded straight into the surface, turned upright by its EXIF
// orientation), BMP, GIF and PNG, TIFF and WebP (turned upright by the
// orientation they record; the first page or frame), WMF rasterised at its
// natural size, HEIC / HEIF and AVIF (the primary picture, turned upright by
// the file's own rotation and mirror). Transparent pixels are laid on white,
// deeper channels (16-bit, or HEIF's 10 and 12 bits) rounded to 8 bits. A file
// that cannot be read throws its FileError (FileErrors::kRead, io/FileError.h)
// with a French description of what was wrong.
//
// A picture whose decoding would hold more than PictureMemoryBudget() bytes is
// refused from its header, before any pixel memory is asked for.
//
// With `metadata`, a JPEG's metadata (a HEIF's or an AVIF's EXIF, XMP and
// colour profile) is put there on success (empty for the other formats, and
// for a file whose metadata is missing or unreadable, which never stops the
// photo from opening).
//
// With `source`, a JPEG's compressed file and the turn that stood it upright
// are put there on success (empty for the other formats), so that a photo
// only turned since can be saved by moving its blocks (TransformJpeg).
[[nodiscard]] cDIBSection ReadPicture(const QString& path, PhotoMetadata* metadata = nullptr,
                                      JpegSource* source = nullptr);

// The preview of the picture at `path` fitted into maxWidth x maxHeight
// (never enlarged, proportions kept; FitPreview), each pixel the nearest of
// the picture's. A JPEG is decoded at a reduced scale that still covers the
// preview, so a big photo previews in a fraction of its reading time. Throws
// as ReadPicture does.
[[nodiscard]] cDIBSection ReadPreview(const QString& path, std::int32_t maxWidth,
                                      std::int32_t maxHeight);

// The picture at `path` as Qt decodes it, for a picture drawn onto a photo
// (the logo): PNG, JPEG, BMP, GIF, TIFF or WebP, recognised by content, its
// pixels as stored (no orientation applied), the first page or frame. The
// caller's `bytesPerPixelBeside` (its copies of the picture, converted or
// premultiplied) count with the decoded picture against PictureMemoryBudget();
// a picture that does not fit throws std::bad_alloc from its header, before
// any pixel memory is asked for. A file that cannot be read (missing, no
// regular file, damaged or cut short, a format other than these) throws its
// FileError as ReadPicture does.
[[nodiscard]] QImage ReadImage(const QString& path, std::uint64_t bytesPerPixelBeside);

// Writes a 24-bit uncompressed BMP of the surface. The file is replaced only
// once the new one is complete: on failure the old file is untouched, nothing
// is left behind, and a FileError (FileErrors::kWrite) says why in French.
void WriteBmp(const cDIBSection& picture, const QString& path);

// Writes a JPEG of the surface at quality 45 … 100 (passed to the encoder
// unchanged; other values are refused), with the same all-or-nothing
// replacement as WriteBmp. The photo's `metadata` goes into the file before
// it replaces the old one, with orientation 1, the surface's size as its
// pixel size and no thumbnail; a block of it that cannot be written is left
// out and never fails the save.
void WriteJpeg(const cDIBSection& picture, const QString& path, int quality,
               const PhotoMetadata& metadata = PhotoMetadata());

// The picture of an image the program was handed (the clipboard's) as a
// 24-bit surface, transparent pixels laid on white as for files. A null image,
// or one too large for the memory left, throws a FileError (FileErrors::kRead,
// with no path) saying so in French.
[[nodiscard]] cDIBSection SurfaceFromImage(const QImage& image);
// An upright copy of the surface for other programs (the clipboard); null
// when the memory for it cannot be had.
QImage ImageFromSurface(const cDIBSection& picture);

inline constexpr int kMinJpegQuality = 45;
inline constexpr int kMaxJpegQuality = 100;

// Bytes that one picture may hold while it is read: the surface plus whatever
// the decoder keeps beside it. By default half of the memory the machine has
// available at the time of the call (2 GiB when that cannot be known).
std::uint64_t PictureMemoryBudget();
// Fixes the budget (0 goes back to the default). Returns the previous setting.
std::uint64_t SetPictureMemoryBudget(std::uint64_t bytes);

}  // namespace fotavel::io
