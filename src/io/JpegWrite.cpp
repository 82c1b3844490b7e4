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

bool WriteJpeg(const cDIBSection& picture, const QString& path, int quality, QString& error,
               const PhotoMetadata& metadata) {
  if (quality < kMinJpegQuality || quality > kMaxJpegQuality) {
    error = QStringLiteral("qualité JPEG %1 hors limites (de %2 à %3)")
                .arg(quality)
                .arg(kMinJpegQuality)
                .arg(kMaxJpegQuality);
    return false;
  }
  if (picture.empty()) {
    error = QStringLiteral("aucune image à enregistrer");
    return false;
  }
  if (picture.width() > kMaxJpegSide || picture.height() > kMaxJpegSide) {
    error = QStringLiteral("image trop grande pour le format JPEG (%1 x %2, 65535 au plus)")
                .arg(picture.width())
                .arg(picture.height());
    return false;
  }
  const std::unique_ptr<void, TjDeleter> encoder(tjInitCompress());
  if (!encoder) {
    error = QStringLiteral("encodeur JPEG indisponible");
    return false;
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
    error = QStringLiteral("échec de l'encodage JPEG");
    return false;
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
  return detail::WriteWhole(path,
                            {{bytes, head},
                             {const_cast<char*>(segments.data()), segments.size()},
                             {bytes + head, size - head}},
                            error);
}

}  // namespace fotavel::io
