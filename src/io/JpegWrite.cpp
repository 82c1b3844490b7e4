// JPEG encoding: libturbojpeg encodes the surface's bottom-up BGR rows as they lie in memory.
#include <turbojpeg.h>

#include <QCoreApplication>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "io/LargeBuffer.h"
#include "io/PictureDecoders.h"
#include "io/PictureFiles.h"
#include "io/SaveFormats.h"

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

// What the pieces of an encoded JPEG point into: the encoder's output, in our
// buffer or in one it allocated itself, and the metadata segments.
struct JpegStorage {
  detail::LargeBuffer output;
  std::unique_ptr<unsigned char, TjBufferDeleter> owned;
  std::string segments;
};

}  // namespace

namespace detail {

EncodedFile EncodeJpeg(const cDIBSection& picture, int quality, const PhotoMetadata& metadata) {
  if (picture.width() > kMaxJpegSide || picture.height() > kMaxJpegSide) {
    Unencodable(QCoreApplication::translate(
                    "SaveFormats", "image trop grande pour le format JPEG (%1 x %2, 65535 au plus)")
                    .arg(picture.width())
                    .arg(picture.height()));
  }
  const std::unique_ptr<void, TjDeleter> encoder(tjInitCompress());
  if (!encoder) {
    Unencodable(QCoreApplication::translate("SaveFormats", "encodeur JPEG indisponible"));
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
  const auto storage = std::make_shared<JpegStorage>();
  const unsigned long worstCase = tjBufSize(picture.width(), picture.height(), TJSAMP_420);
  int flags = TJFLAG_BOTTOMUP;
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  if (worstCase != static_cast<unsigned long>(-1) && storage->output.Reserve(worstCase)) {
    bytes = storage->output.data();
    size = worstCase;
    flags |= TJFLAG_NOREALLOC;
  }
  const int status = tjCompress2(encoder.get(), picture.DIBSectionBitsPtr(), picture.width(),
                                 picture.BytesPerScanLine(), picture.height(), TJPF_BGR, &bytes,
                                 &size, TJSAMP_420, quality, flags);
  if (!storage->output) storage->owned.reset(bytes);
  if (status != 0 || bytes == nullptr || size == 0) {
    Unencodable(QCoreApplication::translate("SaveFormats", "échec de l'encodage JPEG"));
  }
  // The metadata goes in after the start of image and the encoder's JFIF
  // segment, where readers look for it; the compressed bytes themselves stay
  // where the encoder left them.
  storage->segments = MetadataSegments(metadata, picture.width(), picture.height());
  std::size_t head = 2;
  if (size >= 6 && bytes[2] == 0xFF && bytes[3] == 0xE0) {
    head = std::min<std::size_t>(size, 4 + (std::size_t(bytes[4]) << 8 | bytes[5]));
  }
  const char* const compressed = reinterpret_cast<const char*>(bytes);
  std::vector<EncodedFile::Piece> pieces{{compressed, head}};
  if (!storage->segments.empty()) {
    pieces.emplace_back(storage->segments.data(), storage->segments.size());
  }
  pieces.emplace_back(compressed + head, size - head);
  return EncodedFile(std::move(pieces), storage);
}

}  // namespace detail

void WriteJpeg(const cDIBSection& picture, const QString& path, int quality,
               const PhotoMetadata& metadata) {
  EncodeSettings settings;
  settings.format = SaveFormat::Jpeg;
  settings.quality = quality;
  WritePicture(picture, path, settings, metadata);
}

}  // namespace fotavel::io
