// Internal to fotavel_io: the decoders behind ReadPicture and the helpers they share.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "io/PhotoMetadata.h"
#include "io/SaveFormats.h"
#include "surface/cDIBSection.h"

namespace fotavel::io::detail {

// The whole file, as read from disk.
struct FileBytes {
  const std::uint8_t* data;
  std::size_t size;
  const QByteArray* array;  // the same bytes, for Qt's readers
  QString path;             // where they were read from, for the failures
};

// Refuses the picture in `file`: throws its read failure (FileError,
// FileErrors::kRead) with the French `reason`.
[[noreturn]] void Refuse(const FileBytes& file, const QString& reason);

// Each decoder fills a fresh surface `out` (never the caller's) and refuses
// the file (Refuse) when it cannot.
//
// With `reduce`, a JPEG is decoded at the smallest of the decoder's scales
// whose upright picture still covers the preview of the whole photo in
// reduce->maxWidth x reduce->maxHeight, and the whole photo's upright size is
// put in reduce->fullWidth/fullHeight.
struct ReducedDecode {
  std::int32_t maxWidth = 0;
  std::int32_t maxHeight = 0;
  std::int32_t fullWidth = 0;
  std::int32_t fullHeight = 0;
};
//
// With `metadata`, the JPEG's metadata is put there (PhotoMetadata); with
// `orientation`, the EXIF orientation it was stood upright for (1 … 8).
void DecodeJpeg(const FileBytes& file, cDIBSection& out, ReducedDecode* reduce = nullptr,
                PhotoMetadata* metadata = nullptr, int* orientation = nullptr);

// A photo's EXIF orientation, 1 … 8 as the camera wrote it: 1 (as stored) when
// it has none or its metadata cannot be read. Any container exiv2 knows will
// do (JPEG, WebP). With `keep`, the metadata worth carrying to a saved copy is
// put there (only the JPEG reader asks); it stays empty when there is none or
// it cannot be read.
int ReadFileMetadata(const FileBytes& file, PhotoMetadata* keep);
// Metadata from raw blocks as other containers hold them: `exifTiff` starting
// at its TIFF header, an XMP packet, a colour profile (kept when RGB, as for a
// JPEG). A block that cannot be parsed is left out; empty when nothing is left.
PhotoMetadata MetadataFromBlocks(std::string_view exifTiff, std::string_view xmpPacket,
                                 std::string_view icc);
// The APP segments (markers and lengths included) that carry `metadata` into
// a JPEG of an upright width x height photo: orientation 1, that pixel size,
// no thumbnail. A block that cannot be written, or does not fit a segment, is
// left out; empty when nothing is left.
std::string MetadataSegments(const PhotoMetadata& metadata, std::int32_t width,
                             std::int32_t height);
// The blocks of `metadata` as containers other than JPEG hold them, brought
// up to date as MetadataSegments does: the EXIF from its TIFF header on, the
// XMP packet, the RGB colour profile. A block that cannot be written is empty.
struct RawMetadata {
  std::string exifTiff;
  std::string xmpPacket;
  std::string icc;
};
RawMetadata RawMetadataBlocks(const PhotoMetadata& metadata, std::int32_t width,
                              std::int32_t height);
// The photo's RGB colour profile; empty when it has none.
std::string ColourProfile(const PhotoMetadata& metadata);
// Which blocks a container can hold.
struct MetadataKinds {
  bool exif = true, xmp = true, iptc = true, icc = true;
};
// Writes `metadata` (those of `kinds`), brought up to date as MetadataSegments
// does, into the encoded file `file` (PNG, WebP, TIFF) with exiv2. A block
// the library cannot write is left out; `file` stays as it was when none can
// be. Throws only std::bad_alloc.
void AddMetadata(QByteArray& file, const PhotoMetadata& metadata, std::int32_t width,
                 std::int32_t height, const MetadataKinds& kinds);

// `format` is Qt's name for it ("png", "gif", "bmp", "jpeg", "tiff", "webp");
// `upright` turns the picture by the orientation its container records: Qt
// applies it where its reader can (JPEG, TIFF), the EXIF read with exiv2
// otherwise (WebP). The first picture of a multi-page or animated file.
void DecodeWithQt(const FileBytes& file, const char* format, bool upright, cDIBSection& out);
// The picture of `file` as Qt's reader for `format` decodes it, its pixels
// as stored; std::bad_alloc when it and `bytesPerPixelBeside` more bytes a
// pixel would not fit the budget (ReadImage).
QImage DecodeImageWithQt(const FileBytes& file, const char* format,
                         std::uint64_t bytesPerPixelBeside);
void DecodeWmf(const FileBytes& file, cDIBSection& out);
// HEIC / HEIF and AVIF (`formatName` "HEIF" or "AVIF", for the messages): the
// primary picture, turned and mirrored as the file says, high bit depths
// reduced to 8 with rounding. With `metadata`, its EXIF, XMP and RGB colour
// profile are put there; the EXIF orientation is not applied, the file's own
// transforms having already stood the picture upright.
void DecodeHeif(const FileBytes& file, const char* formatName, cDIBSection& out,
                PhotoMetadata* metadata = nullptr);

// The encoders behind EncodePicture, given a picture that is not empty and a
// quality already checked; each throws its failure with Unencodable, and
// std::bad_alloc when memory runs out.
EncodedFile EncodeJpeg(const cDIBSection& picture, int quality, const PhotoMetadata& metadata);
// PNG, TIFF and WebP through Qt's writers, the metadata added by exiv2.
EncodedFile EncodeWithQt(const cDIBSection& picture, const EncodeSettings& settings,
                         const PhotoMetadata& metadata);
EncodedFile EncodeAvif(const cDIBSection& picture, int quality, const PhotoMetadata& metadata);
// Refuses (Unencodable) settings without a quality or with one out of range.
void CheckQuality(const EncodeSettings& settings);
// Throws the encoding failure (FileError, FileErrors::kWrite, no path) with
// the French `reason`.
[[noreturn]] void Unencodable(const QString& reason);

// What a BMP file's headers say of its pixels.
struct BmpHeader {
  std::uint32_t offset = 0;      // where the pixel data starts in the file
  std::uint32_t headerSize = 0;  // 12 for the old header, 40 or more otherwise
  std::int64_t width = 0;
  std::int64_t height = 0;  // made positive; topDown tells the row order
  bool topDown = false;
  std::uint32_t planes = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
};
// False when `data` is no BMP or too short for the header it announces.
bool ReadBmpHeader(const std::uint8_t* data, std::size_t size, BmpHeader& out);

// True when a width x height surface can exist at all (positive, stride in 32 bits).
bool PlausibleSize(std::int64_t width, std::int64_t height);
// Bytes of a width x height surface (rows padded to 4 bytes).
std::uint64_t SurfaceBytes(std::int64_t width, std::int64_t height);
// True when `bytes` held at once fit the picture memory budget.
bool FitsBudget(std::uint64_t bytes);

// French descriptions shared by the decoders.
QString DamagedFile(const char* formatName);  // "fichier JPEG tronqué ou endommagé"
QString TooBig(std::int64_t width, std::int64_t height);
QString BadDimensions(std::int64_t width, std::int64_t height);

// White under a pixel of opacity `alpha` (0 transparent … 255 opaque): the
// exact composite c·α/255 + 255·(1 − α/255), rounded to nearest. 255 is odd,
// so the exact value is never halfway between two integers.
inline std::uint8_t OnWhite(std::uint32_t channel, std::uint32_t alpha) {
  return static_cast<std::uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

// Reverses the pixel order of every row of `s` in place (a mirror about the
// vertical axis).
void MirrorRows(cDIBSection& s);
// Lays `stored` (rows top-down: stored.row(0) is the picture's top row) into
// `upright`, created at the swapped size, for the EXIF orientations that swap
// width and height: 5 (transpose), 6 (turn right), 7 (transverse), 8 (turn left).
void TransposeInto(const cDIBSection& stored, int orientation, cDIBSection& upright);

// A decoder writes the stored picture top-down (row(0) the top row, as the
// camera stored it) for the orientations that need it that way, bottom-up as
// usual otherwise; LayUpright then finishes the turn: nothing, an in-place
// mirror, or a transpose into a second surface of the swapped size.
inline bool StoredTopDown(int orientation) {
  return orientation == 3 || orientation == 4 || orientation >= 5;
}
inline bool SwapsSides(int orientation) { return orientation >= 5; }
// Lays `stored` (written as StoredTopDown says) upright into `out`; false,
// `out` untouched, when the memory of the transposed copy cannot be had.
bool LayUpright(cDIBSection& stored, int orientation, cDIBSection& out);

}  // namespace fotavel::io::detail
