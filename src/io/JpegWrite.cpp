// JPEG writing: libturbojpeg encodes the surface's bottom-up BGR rows as they lie in memory.
#include <turbojpeg.h>

#include <algorithm>
#include <memory>
#include <string>

#include "io/LargeBuffer.h"
#include "io/PictureDecoders.h"
#include "io/PictureFiles.h"
#include "io/SafeWrite.h"

namespace fotavel::io {

namespace {

struct TjDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
struct TjBufferDeleter {
  void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

// The largest side a JPEG frame header can state.
constexpr std::int32_t kMaxJpegSide = 65535;

}  // namespace

void WriteJpeg(const cDIBSection& picture, const QString& path, int quality,
               const PhotoMetadata& metadata) {
  if (quality < kMinJpegQuality || quality > kMaxJpegQuality) {
    detail::Unwritten(path, QStringLiteral("qualité JPEG %1 hors limites (de %2 à %3)")
                                .arg(quality)
                                .arg(kMinJpegQuality)
                                .arg(kMaxJpegQuality));
  }
  if (picture.empty()) {
    detail::Unwritten(path, QStringLiteral("aucune image à enregistrer"));
  }
  if (picture.width() > kMaxJpegSide || picture.height() > kMaxJpegSide) {
    detail::Unwritten(
        path, QStringLiteral("image trop grande pour le format JPEG (%1 x %2, 65535 au plus)")
                  .arg(picture.width())
                  .arg(picture.height()));
  }
  const std::unique_ptr<void, TjDeleter> encoder(tjInitCompress());
  if (!encoder) {
    detail::Unwritten(path, QStringLiteral("encodeur JPEG indisponible"));
  }
  // 4:2:0 chroma subsampling: the eye resolves colour far more coarsely than
  // brightness, and halving the colour planes both ways is what photos for
  // the web and for mail are expected to carry; files are markedly smaller
  // than 4:4:4 for no visible loss at these qualities.
  //
  // Left to itself the encoder would start with a small buffer and double it
  // into fresh heap memory as the file grows, copying as it goes; the faults
  // on those pages cost about a quarter of the encode of a 24-megapixel photo.
  // It is handed a buffer of the worst-case size instead, of which it fills
  // only the compressed size: the pages it never reaches cost nothing, and the
  // others come 2 MiB at a time (LargeBuffer). Should that memory not be had,
  // the encoder allocates its own.
  const unsigned long worstCase = tjBufSize(picture.width(), picture.height(), TJSAMP_420);
  detail::LargeBuffer output;
  int flags = TJFLAG_BOTTOMUP;
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  if (worstCase != static_cast<unsigned long>(-1) && output.Reserve(worstCase)) {
    bytes = output.data();
    size = worstCase;
    flags |= TJFLAG_NOREALLOC;
  }
  const int status = tjCompress2(encoder.get(), picture.DIBSectionBitsPtr(), picture.width(),
                                 picture.BytesPerScanLine(), picture.height(), TJPF_BGR, &bytes,
                                 &size, TJSAMP_420, quality, flags);
  const std::unique_ptr<unsigned char, TjBufferDeleter> owned(output ? nullptr : bytes);
  if (status != 0 || bytes == nullptr || size == 0) {
    detail::Unwritten(path, QStringLiteral("échec de l'encodage JPEG"));
  }
  // The metadata goes in after the start of image and the encoder's JFIF
  // segment, where readers look for it; the compressed bytes themselves are
  // written from where the encoder left them.
  const std::string segments =
      detail::MetadataSegments(metadata, picture.width(), picture.height());
  std::size_t head = 2;
  if (size >= 6 && bytes[2] == 0xFF && bytes[3] == 0xE0) {
    head = std::min<std::size_t>(size, 4 + (std::size_t(bytes[4]) << 8 | bytes[5]));
  }
  detail::WriteWhole(path, {{bytes, head},
                            {const_cast<char*>(segments.data()), segments.size()},
                            {bytes + head, size - head}});
}

}  // namespace fotavel::io
