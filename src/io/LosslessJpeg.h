// JPEG photos turned and mirrored by moving their compressed blocks, without decoding them.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>

#include "io/PhotoMetadata.h"
#include "io/SaveFormats.h"

namespace fotavel::io {

// One of the eight ways a picture can lie on its grid: mirrored left to
// right first (when `mirrored`), then turned clockwise by `quarterTurns`.
struct BlockTransform {
  int quarterTurns = 0;  // 0 … 3
  bool mirrored = false;

  bool IsIdentity() const { return quarterTurns == 0 && !mirrored; }
  friend bool operator==(const BlockTransform&, const BlockTransform&) = default;
};

// `first`, then `second`.
BlockTransform Then(BlockTransform first, BlockTransform second);
// What reading a JPEG applies to its stored picture to stand it upright for
// its EXIF orientation (1 … 8; anything else is 1).
BlockTransform UprightFor(int exifOrientation);

// The compressed file a JPEG photo was read from, and what reading did to
// stand it upright: enough to save it again by moving its blocks.
struct JpegSource {
  std::shared_ptr<const QByteArray> bytes;
  BlockTransform upright;

  bool empty() const { return bytes == nullptr; }
};

// What moving the blocks of `source` by `transform` (applied to the picture
// as stored in the file) gives.
struct LosslessPlan {
  // Every block moves whole: nothing of the picture is lost.
  bool perfect = false;
  // The picture's size once its blocks moved, the edge blocks that cannot
  // move whole cut off (the full size when perfect).
  std::int32_t width = 0, height = 0;
  // What the cut takes off the moved picture: the edge blocks that cannot
  // move whole are the ones that would land on its left and top edges, so a
  // strip of this many columns on the left and rows at the top (0 when perfect).
  std::int32_t cutLeft = 0, cutTop = 0;
  // The size of the file's blocks (its chroma subsampling's MCU), in pixels
  // of the picture as stored.
  std::int32_t blockWidth = 8, blockHeight = 8;
};

// Throws FileError (FileErrors::kWrite, no path) with the French reason when
// the blocks of `source` cannot be moved.
[[nodiscard]] LosslessPlan PlanLossless(const JpegSource& source, BlockTransform transform);

// The file of `source` with its blocks moved by `transform`, the edge blocks
// that cannot move whole cut off (only allowed with `trimEdges`; otherwise an
// imperfect transform throws), carrying `metadata` with orientation 1 and the
// new size, as WriteJpeg does. Throws as PlanLossless.
[[nodiscard]] EncodedFile TransformJpeg(const JpegSource& source, BlockTransform transform,
                                        bool trimEdges,
                                        const PhotoMetadata& metadata = PhotoMetadata());

}  // namespace fotavel::io
