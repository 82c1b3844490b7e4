// JPEG reading: libturbojpeg decodes straight into the surface; EXIF orientation turns it upright.
#include <turbojpeg.h>

#include <cstring>
#include <memory>

#include "io/PictureDecoders.h"
#include "surface/Preview.h"

namespace fotavel::io::detail {

namespace {

struct TjDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjDeleter>;

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

void DecodeJpeg(const FileBytes& file, cDIBSection& out, ReducedDecode* reduce,
                PhotoMetadata* metadata) {
  TjHandle decoder(tjInitDecompress());
  if (!decoder) {
    Refuse(file, QStringLiteral("décodeur JPEG indisponible"));
  }
  tjhandle handle = decoder.get();
  int width = 0, height = 0, subsampling = 0, colourSpace = 0;
  // A file cut before its frame header reads as "tables only", of size 0 x 0.
  if (tjDecompressHeader3(handle, file.data, static_cast<unsigned long>(file.size), &width, &height,
                          &subsampling, &colourSpace) != 0 ||
      width <= 0 || height <= 0) {
    Refuse(file, DamagedFile("JPEG"));
  }
  const int orientation = ReadFileMetadata(file, metadata);
  // Our decoder cannot turn CMYK into BGR; Qt's reader can, and applies the
  // EXIF orientation itself.
  if (colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK) {
    DecodeWithQt(file, "jpeg", true, out);
    return;
  }
  if (!PlausibleSize(width, height)) {
    Refuse(file, BadDimensions(width, height));
  }

  const bool transposed = SwapsSides(orientation);
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
    Refuse(file, TooBig(uprightWidth, uprightHeight));
  }

  // Orientations without a transpose cost nothing or one in-place pass: the
  // decoder writes rows bottom-up (as stored) or top-down (flipped upside
  // down) at no extra cost, and a mirror is a swap within each row.
  cDIBSection stored;
  if (!stored.Create(width, height)) {
    Refuse(file, TooBig(uprightWidth, uprightHeight));
  }
  const int flags = StoredTopDown(orientation) ? 0 : TJFLAG_BOTTOMUP;
  if (tjDecompress2(handle, file.data, static_cast<unsigned long>(file.size),
                    stored.DIBSectionBitsPtr(), width, stored.BytesPerScanLine(), height, TJPF_BGR,
                    flags) != 0) {
    if (tjGetErrorCode(handle) != TJERR_WARNING || MissingData(handle)) {
      Refuse(file, DamagedFile("JPEG"));
    }
  }
  if (!LayUpright(stored, orientation, out)) {
    Refuse(file, TooBig(uprightWidth, uprightHeight));
  }
}

}  // namespace fotavel::io::detail
