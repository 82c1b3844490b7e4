// JPEG reading: libturbojpeg decodes straight into the surface; EXIF orientation turns it upright.
#include <turbojpeg.h>

#include <cstring>
#include <exiv2/exiv2.hpp>
#include <memory>
#include <mutex>

#include "io/PictureDecoders.h"
#include "surface/Preview.h"

namespace fotavel::io::detail {

namespace {

struct TjDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjDeleter>;

// Orientation 1 … 8 as the camera wrote it; 1 (as stored) when the file has
// none or its metadata cannot be read: a photo with broken EXIF still opens.
int ExifOrientation(const FileBytes& file) {
  static std::once_flag quiet;
  // The library reports every oddity it meets on stderr; we only ask one tag.
  std::call_once(quiet, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
  // exiv2 keeps tables of its own (the XMP toolkit starts itself, unguarded,
  // on the first packet it meets, and registers the namespaces packets bring)
  // and does not promise two files may be read at once; the batch tool opens
  // several photos at once. Reading the tags takes well under a millisecond
  // beside the decoding, so one file at a time costs nothing worth having.
  static std::mutex oneAtATime;
  const std::lock_guard lock(oneAtATime);
  try {
    auto image = Exiv2::ImageFactory::open(file.data, long(file.size));
    if (!image.get()) return 1;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    const auto tag = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (tag == exif.end() || tag->count() == 0) return 1;
    const long value = tag->toLong();
    return value >= 1 && value <= 8 ? int(value) : 1;
  } catch (...) {
    return 1;
  }
}

// Progressive (and other multi-scan) files make the decoder keep every DCT
// coefficient of the picture until the last scan: up to 6 bytes a pixel for
// a 4:4:4 file. Walks the marker segments up to the frame header.
bool KeepsWholeCoefficients(const FileBytes& file) {
  std::size_t at = 2;
  while (at + 4 <= file.size) {
    if (file.data[at] != 0xFF) return false;
    const std::uint8_t marker = file.data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xDA) return false;  // scan data before any frame header
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    at += 2 + (std::size_t(file.data[at + 2]) << 8 | file.data[at + 3]);
  }
  return false;
}

// Warnings that mean the decoder ran out of data and filled the rest of the
// picture with grey: a truncated download, a half-copied card. Other warnings
// (stray bytes between segments, common in camera files) are harmless.
bool MissingData(tjhandle handle) {
  const char* message = tjGetErrorStr2(handle);
  return message != nullptr && std::strstr(message, "remature end") != nullptr;
}

// The decoder scales by n/8 while it decodes, far cheaper than decoding whole
// and reducing: the smallest scale whose picture still covers the preview.
void ReduceForPreview(const ReducedDecode& reduce, bool transposed, int& width, int& height) {
  const PreviewSize wanted =
      FitPreview(reduce.fullWidth, reduce.fullHeight, reduce.maxWidth, reduce.maxHeight);
  const int wantedStoredWidth = transposed ? wanted.height : wanted.width;
  const int wantedStoredHeight = transposed ? wanted.width : wanted.height;
  int count = 0;
  const tjscalingfactor* factors = tjGetScalingFactors(&count);
  int bestWidth = width, bestHeight = height;
  for (int i = 0; i < count; ++i) {
    const int w = TJSCALED(width, factors[i]);
    const int h = TJSCALED(height, factors[i]);
    if (w >= wantedStoredWidth && h >= wantedStoredHeight && w <= bestWidth && h <= bestHeight &&
        (w < bestWidth || h < bestHeight)) {
      bestWidth = w;
      bestHeight = h;
    }
  }
  width = bestWidth;
  height = bestHeight;
}

}  // namespace

bool DecodeJpeg(const FileBytes& file, cDIBSection& out, QString& error, ReducedDecode* reduce) {
  TjHandle decoder(tjInitDecompress());
  if (!decoder) {
    error = QStringLiteral("décodeur JPEG indisponible");
    return false;
  }
  tjhandle handle = decoder.get();
  int width = 0, height = 0, subsampling = 0, colourSpace = 0;
  // A file cut before its frame header reads as "tables only", of size 0 x 0.
  if (tjDecompressHeader3(handle, file.data, static_cast<unsigned long>(file.size), &width, &height,
                          &subsampling, &colourSpace) != 0 ||
      width <= 0 || height <= 0) {
    error = DamagedFile("JPEG");
    return false;
  }
  // Our decoder cannot turn CMYK into BGR; Qt's reader can, and applies the
  // EXIF orientation itself.
  if (colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK) {
    return DecodeWithQt(file, "jpeg", true, out, error);
  }
  if (!PlausibleSize(width, height)) {
    error = BadDimensions(width, height);
    return false;
  }

  const int orientation = ExifOrientation(file);
  const bool transposed = orientation >= 5;
  if (reduce != nullptr) {
    reduce->fullWidth = transposed ? height : width;
    reduce->fullHeight = transposed ? width : height;
    ReduceForPreview(*reduce, transposed, width, height);
  }
  const std::int32_t uprightWidth = transposed ? height : width;
  const std::int32_t uprightHeight = transposed ? width : height;
  std::uint64_t bytes = SurfaceBytes(width, height);
  // Decoded as stored, then laid upright into a second surface.
  if (transposed) bytes += SurfaceBytes(uprightWidth, uprightHeight);
  if (KeepsWholeCoefficients(file)) bytes += std::uint64_t(width) * std::uint64_t(height) * 6;
  if (!FitsBudget(bytes)) {
    error = TooBig(uprightWidth, uprightHeight);
    return false;
  }

  // Orientations without a transpose cost nothing or one in-place pass: the
  // decoder writes rows bottom-up (as stored) or top-down (flipped upside
  // down) at no extra cost, and a mirror is a swap within each row.
  cDIBSection stored;
  if (!stored.Create(width, height)) {
    error = TooBig(uprightWidth, uprightHeight);
    return false;
  }
  const bool upsideDown = orientation == 3 || orientation == 4 || transposed;
  const int flags = upsideDown ? 0 : TJFLAG_BOTTOMUP;
  if (tjDecompress2(handle, file.data, static_cast<unsigned long>(file.size),
                    stored.DIBSectionBitsPtr(), width, stored.BytesPerScanLine(), height, TJPF_BGR,
                    flags) != 0) {
    if (tjGetErrorCode(handle) != TJERR_WARNING || MissingData(handle)) {
      error = DamagedFile("JPEG");
      return false;
    }
  }
  if (orientation == 2 || orientation == 3) MirrorRows(stored);
  if (!transposed) {
    out.swap(stored);
    return true;
  }
  cDIBSection upright;
  if (!upright.Create(uprightWidth, uprightHeight)) {
    error = TooBig(uprightWidth, uprightHeight);
    return false;
  }
  TransposeInto(stored, orientation, upright);
  out.swap(upright);
  return true;
}

}  // namespace fotavel::io::detail
