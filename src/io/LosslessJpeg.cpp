// Lossless JPEG turns: the eight orientations and libturbojpeg's block transform.
#include "io/LosslessJpeg.h"

#include <turbojpeg.h>

#include <QCoreApplication>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "io/FileError.h"
#include "io/LargeBuffer.h"
#include "io/PictureDecoders.h"

namespace fotavel::io {

BlockTransform Then(BlockTransform first, BlockTransform second) {
  // A mirror after a turn by t is a turn by -t after the mirror.
  const int turns = second.mirrored ? (4 - first.quarterTurns) % 4 : first.quarterTurns;
  return {(turns + second.quarterTurns) % 4, first.mirrored != second.mirrored};
}

BlockTransform UprightFor(int exifOrientation) {
  switch (exifOrientation) {
    case 2:
      return {0, true};
    case 3:
      return {2, false};
    case 4:
      return {2, true};
    case 5:
      return {3, true};
    case 6:
      return {1, false};
    case 7:
      return {1, true};
    case 8:
      return {3, false};
    default:
      return {};
  }
}

namespace {

constexpr const char* kModule = "LosslessJpeg";

struct TjDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjDeleter>;

[[noreturn]] void Refuse(const QString& reason) {
  throw FileError(FileErrors::kWrite, reason, QString(), kModule);
}

// libturbojpeg's name for a transform: mirrored left to right, then turned.
int Operation(BlockTransform transform) {
  static constexpr int kPlain[4] = {TJXOP_NONE, TJXOP_ROT90, TJXOP_ROT180, TJXOP_ROT270};
  static constexpr int kMirrored[4] = {TJXOP_HFLIP, TJXOP_TRANSVERSE, TJXOP_VFLIP, TJXOP_TRANSPOSE};
  const int turns = ((transform.quarterTurns % 4) + 4) % 4;
  return transform.mirrored ? kMirrored[turns] : kPlain[turns];
}

// A block moves whole when the picture's edges fall on block boundaries; the
// partial blocks of the right edge matter to the transforms that move that
// edge away from the right (they would land on the left or the top), those
// of the bottom edge to those that move the bottom.
bool MovesRightEdge(int operation) {
  return operation == TJXOP_HFLIP || operation == TJXOP_ROT180 || operation == TJXOP_TRANSVERSE ||
         operation == TJXOP_ROT270;
}
bool MovesBottomEdge(int operation) {
  return operation == TJXOP_VFLIP || operation == TJXOP_ROT180 || operation == TJXOP_TRANSVERSE ||
         operation == TJXOP_ROT90;
}
bool SwapsSides(int operation) {
  return operation == TJXOP_TRANSPOSE || operation == TJXOP_TRANSVERSE ||
         operation == TJXOP_ROT90 || operation == TJXOP_ROT270;
}

struct StoredHeader {
  int width = 0, height = 0, subsampling = 0;
};

StoredHeader ReadHeader(tjhandle handle, const QByteArray& bytes) {
  StoredHeader header;
  int colourSpace = 0;
  if (tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.constData()),
                          static_cast<unsigned long>(bytes.size()), &header.width, &header.height,
                          &header.subsampling, &colourSpace) != 0 ||
      header.width <= 0 || header.height <= 0) {
    Refuse(QCoreApplication::translate("LosslessJpeg", "fichier JPEG d'origine illisible"));
  }
  // Sampling factors outside the usual ones leave libturbojpeg unable to tell
  // the block size, and it refuses to move them.
  if (header.subsampling < 0 || header.subsampling >= TJ_NUMSAMP) {
    Refuse(QCoreApplication::translate(
        "LosslessJpeg",
        "sous-échantillonnage des couleurs inhabituel dans le fichier JPEG "
        "d'origine : ses blocs ne peuvent pas être déplacés"));
  }
  return header;
}

LosslessPlan Plan(const StoredHeader& header, int operation) {
  LosslessPlan plan;
  plan.blockWidth = tjMCUWidth[header.subsampling];
  plan.blockHeight = tjMCUHeight[header.subsampling];
  const std::int32_t cutColumns = MovesRightEdge(operation) ? header.width % plan.blockWidth : 0;
  const std::int32_t cutRows = MovesBottomEdge(operation) ? header.height % plan.blockHeight : 0;
  const std::int32_t width = header.width - cutColumns;
  const std::int32_t height = header.height - cutRows;
  if (width == 0 || height == 0) {
    Refuse(QCoreApplication::translate(
               "LosslessJpeg",
               "photo de %1 x %2 pixels, plus petite qu'un bloc JPEG de %3 x %4 : "
               "elle ne peut pas être tournée sans perte")
               .arg(header.width)
               .arg(header.height)
               .arg(plan.blockWidth)
               .arg(plan.blockHeight));
  }
  plan.perfect = cutColumns == 0 && cutRows == 0;
  const bool swaps = SwapsSides(operation);
  plan.width = swaps ? height : width;
  plan.height = swaps ? width : height;
  // The stored right edge lands on the left or the top, the bottom edge on
  // the top or the left, whatever the transform that moves them.
  plan.cutLeft = swaps ? cutRows : cutColumns;
  plan.cutTop = swaps ? cutColumns : cutRows;
  return plan;
}

TjHandle Transformer() {
  TjHandle handle(tjInitTransform());
  if (!handle)
    Refuse(QCoreApplication::translate("LosslessJpeg", "transformation JPEG indisponible"));
  return handle;
}

const QByteArray& BytesOf(const JpegSource& source) {
  if (source.empty() || source.bytes->isEmpty()) {
    Refuse(QCoreApplication::translate("LosslessJpeg", "la photo ne vient pas d'un fichier JPEG"));
  }
  return *source.bytes;
}

// The transformed file, where libturbojpeg wrote it, and the metadata segments
// that go into it.
struct Transformed {
  detail::LargeBuffer buffer;
  unsigned char* ownBuffer = nullptr;  // libturbojpeg's, when ours could not be had
  std::string segments;
  Transformed() = default;
  Transformed(const Transformed&) = delete;
  Transformed& operator=(const Transformed&) = delete;
  ~Transformed() { tjFree(ownBuffer); }
};

}  // namespace

LosslessPlan PlanLossless(const JpegSource& source, BlockTransform transform) {
  const QByteArray& bytes = BytesOf(source);
  const TjHandle handle = Transformer();
  return Plan(ReadHeader(handle.get(), bytes), Operation(transform));
}

EncodedFile TransformJpeg(const JpegSource& source, BlockTransform transform, bool trimEdges,
                          const PhotoMetadata& metadata) {
  const QByteArray& bytes = BytesOf(source);
  const TjHandle handle = Transformer();
  const StoredHeader header = ReadHeader(handle.get(), bytes);
  const int operation = Operation(transform);
  const LosslessPlan plan = Plan(header, operation);
  if (!plan.perfect && !trimEdges) {
    Refuse(QCoreApplication::translate(
               "LosslessJpeg",
               "les côtés de la photo (%1 x %2 pixels) ne sont pas des multiples des "
               "blocs JPEG (%3 x %4 pixels) : la tourner sans perte couperait ses bords")
               .arg(header.width)
               .arg(header.height)
               .arg(plan.blockWidth)
               .arg(plan.blockHeight));
  }
  tjtransform operationSettings{};
  operationSettings.op = operation;
  // The source's own markers are left behind: the metadata goes in anew,
  // brought up to date for the moved picture, as an encoded photo's does.
  // PERFECT on a transform planned as perfect is a guard: libturbojpeg then
  // refuses rather than leave a partial block unmoved.
  operationSettings.options = TJXOPT_COPYNONE | (plan.perfect ? TJXOPT_PERFECT : TJXOPT_TRIM);

  // As for an encode, the output goes into a buffer of the worst-case size
  // (libturbojpeg's own bound, for the moved picture before any cut), whose
  // untouched pages cost nothing; libturbojpeg allocates its own otherwise.
  auto out = std::make_shared<Transformed>();
  const bool swaps = SwapsSides(operation);
  const unsigned long worstCase =
      tjBufSize(swaps ? header.height : header.width, swaps ? header.width : header.height,
                header.subsampling);
  unsigned char* written = nullptr;
  unsigned long size = 0;
  int flags = 0;
  if (worstCase != static_cast<unsigned long>(-1) && out->buffer.Reserve(worstCase)) {
    written = out->buffer.data();
    size = worstCase;
    flags |= TJFLAG_NOREALLOC;
  }
  const int status = tjTransform(handle.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                                 static_cast<unsigned long>(bytes.size()), 1, &written, &size,
                                 &operationSettings, flags);
  if (!out->buffer) out->ownBuffer = written;
  if (status != 0 || written == nullptr || size < 4) {
    Refuse(QCoreApplication::translate("LosslessJpeg", "échec du déplacement des blocs JPEG (%1)")
               .arg(QString::fromLocal8Bit(tjGetErrorStr2(handle.get()))));
  }
  // The metadata goes after the start of image and the JFIF segment, where
  // readers look for it, as in an encoded photo.
  out->segments = detail::MetadataSegments(metadata, plan.width, plan.height);
  std::size_t head = 2;
  if (size >= 6 && written[2] == 0xFF && written[3] == 0xE0) {
    head = std::min<std::size_t>(size, 4 + (std::size_t(written[4]) << 8 | written[5]));
  }
  const char* start = reinterpret_cast<const char*>(written);
  std::vector<EncodedFile::Piece> pieces{{start, head}};
  if (!out->segments.empty()) pieces.emplace_back(out->segments.data(), out->segments.size());
  pieces.emplace_back(start + head, std::size_t(size) - head);
  return EncodedFile(std::move(pieces), std::move(out));
}

}  // namespace fotavel::io
