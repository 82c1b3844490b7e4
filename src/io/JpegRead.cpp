// JPEG reading: libturbojpeg decodes straight into the surface; EXIF orientation turns it upright.
#include <turbojpeg.h>

#include <QCoreApplication>
#include <cstring>
#include <memory>

#include "io/JpegStructure.h"
#include "io/LargeBuffer.h"
#include "io/PictureDecoders.h"
#include "surface/Preview.h"

namespace fotavel::io::detail {

namespace {

struct TjDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjDeleter>;

// Warnings that mean the decoder ran out of data and filled the rest of the
// picture with grey: a truncated download, a half-copied card. Other warnings
// (stray bytes between segments, common in camera files) are harmless.
bool MissingData(tjhandle handle) {
  const char* message = tjGetErrorStr2(handle);
  return message != nullptr && std::strstr(message, "remature end") != nullptr;
}

// A row of the decoder's CMYK into BGR exactly as Qt's own JPEG reader turns
// it (CMYK photos were once read through Qt's, and their pixels stay the
// same): the channels are taken as the usual photo editors store them,
// inverted (255 for no ink), each colour its channel times the black one over
// 255, rounded down.
void CmykRowToBgr(const std::uint8_t* cmyk, std::int32_t width, std::uint8_t* bgr) {
  for (std::int32_t i = 0; i < width; ++i, cmyk += 4, bgr += 3) {
    const std::uint32_t k = cmyk[3];
    bgr[0] = std::uint8_t(k * cmyk[2] / 255);
    bgr[1] = std::uint8_t(k * cmyk[1] / 255);
    bgr[2] = std::uint8_t(k * cmyk[0] / 255);
  }
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
                PhotoMetadata* metadata, int* orientationRead) {
  // The walk decides what the file may cost before the decoder sees it: the
  // scans it would pass over the picture, and whether they send the whole
  // picture at all (a progressive file cut after a few scans and closed with
  // an end marker decodes without a word from the decoder).
  const JpegStructure structure = WalkJpeg(file.data, file.size);
  if (structure.scans > kMaxJpegScans) {
    Refuse(file, QCoreApplication::translate(
                     "PictureFiles", "fichier JPEG de plus de %1 passes : trop long à décoder")
                     .arg(kMaxJpegScans));
  }
  TjHandle decoder(tjInitDecompress());
  if (!decoder) {
    Refuse(file, QCoreApplication::translate("PictureFiles", "décodeur JPEG indisponible"));
  }
  tjhandle handle = decoder.get();
  int width = 0, height = 0, subsampling = 0, colourSpace = 0;
  // A file cut before its frame header reads as "tables only", of size 0 x 0.
  if (tjDecompressHeader3(handle, file.data, static_cast<unsigned long>(file.size), &width, &height,
                          &subsampling, &colourSpace) != 0 ||
      width <= 0 || height <= 0) {
    Refuse(file, DamagedFile("JPEG"));
  }
  if (!PlausibleSize(width, height)) {
    Refuse(file, BadDimensions(width, height));
  }
  const int orientation = ReadFileMetadata(file, metadata);
  // CMYK comes out of the decoder as it is stored and is turned into BGR
  // here, so that its damage is reported by the decoder as for any other.
  const bool cmyk = colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK;

  const bool transposed = SwapsSides(orientation);
  const std::int32_t fullWidth = width, fullHeight = height;
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
  if (cmyk) bytes += std::uint64_t(width) * std::uint64_t(height) * 4;
  // Progressive (and other multi-scan) files make the decoder keep every DCT
  // coefficient of the whole picture, whatever the scale it outputs, until
  // the last scan: 2 bytes a sample of each component at most (4:4:4).
  if (structure.wholeCoefficients) {
    bytes += std::uint64_t(fullWidth) * std::uint64_t(fullHeight) * 2 *
             std::uint64_t(structure.components);
  }
  if (!FitsBudget(bytes)) {
    Refuse(file, TooBig(uprightWidth, uprightHeight));
  }
  if (!structure.complete) {
    Refuse(file, DamagedFile("JPEG"));
  }

  // Orientations without a transpose cost nothing or one in-place pass: the
  // decoder writes rows bottom-up (as stored) or top-down (flipped upside
  // down) at no extra cost, and a mirror is a swap within each row.
  cDIBSection stored;
  if (!stored.Create(width, height)) {
    Refuse(file, TooBig(uprightWidth, uprightHeight));
  }
  // The decoder's own ceiling on scans, the walk's number, only backs the walk up.
  const bool topDown = StoredTopDown(orientation);
  const int flags = TJFLAG_LIMITSCANS | (topDown ? 0 : TJFLAG_BOTTOMUP);
  LargeBuffer cmykPixels;
  const std::size_t cmykStride = std::size_t(width) * 4;
  if (cmyk && !cmykPixels.Reserve(cmykStride * std::size_t(height))) {
    Refuse(file, TooBig(uprightWidth, uprightHeight));
  }
  const int failed =
      cmyk ? tjDecompress2(handle, file.data, static_cast<unsigned long>(file.size),
                           cmykPixels.data(), width, int(cmykStride), height, TJPF_CMYK, flags)
           : tjDecompress2(handle, file.data, static_cast<unsigned long>(file.size),
                           stored.DIBSectionBitsPtr(), width, stored.BytesPerScanLine(), height,
                           TJPF_BGR, flags);
  if (failed != 0 && (tjGetErrorCode(handle) != TJERR_WARNING || MissingData(handle))) {
    Refuse(file, DamagedFile("JPEG"));
  }
  if (cmyk) {
    for (std::int32_t y = 0; y < height; ++y) {
      CmykRowToBgr(cmykPixels.data() + cmykStride * std::size_t(y), width, stored.row(y));
    }
    cmykPixels.Release();
  }
  if (!LayUpright(stored, orientation, out)) {
    Refuse(file, TooBig(uprightWidth, uprightHeight));
  }
  if (orientationRead != nullptr) *orientationRead = orientation;
}

}  // namespace fotavel::io::detail
