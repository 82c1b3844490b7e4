// JPEG writing: libturbojpeg encodes the surface's bottom-up BGR rows as they lie in memory.
#include <turbojpeg.h>

#include <memory>

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

bool WriteJpeg(const cDIBSection& picture, const QString& path, int quality, QString& error) {
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
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  const int status = tjCompress2(encoder.get(), picture.DIBSectionBitsPtr(), picture.width(),
                                 picture.BytesPerScanLine(), picture.height(), TJPF_BGR, &bytes,
                                 &size, TJSAMP_420, quality, TJFLAG_BOTTOMUP);
  const std::unique_ptr<unsigned char, TjBufferDeleter> owned(bytes);
  if (status != 0 || bytes == nullptr || size == 0) {
    error = QStringLiteral("échec de l'encodage JPEG");
    return false;
  }
  return detail::WriteWhole(path, {{bytes, size}}, error);
}

}  // namespace fotavel::io
