// Lossless JPEG turns: the eight orientations and libturbojpeg's block transform.
#include "io/LosslessJpeg.h"

#include "io/FileError.h"

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

LosslessPlan PlanLossless(const JpegSource&, BlockTransform) {
  throw FileError(FileErrors::kWrite, QStringLiteral("pas encore disponible"), QString(),
                  "LosslessJpeg");
}

EncodedFile TransformJpeg(const JpegSource&, BlockTransform, bool, const PhotoMetadata&) {
  throw FileError(FileErrors::kWrite, QStringLiteral("pas encore disponible"), QString(),
                  "LosslessJpeg");
}

}  // namespace fotavel::io
