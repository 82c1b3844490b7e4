// Laying a decoded photo upright: the in-place mirror and the tiled transpose behind EXIF
// orientations.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "io/PictureDecoders.h"

namespace fotavel::io::detail {

void MirrorRows(cDIBSection& s) {
  const std::int32_t width = s.width();
  for (std::int32_t y = 0; y < s.height(); ++y) {
    std::uint8_t* left = s.row(y);
    std::uint8_t* right = left + 3 * std::ptrdiff_t(width - 1);
    for (; left < right; left += 3, right -= 3) {
      std::uint8_t pixel[3];
      std::memcpy(pixel, left, 3);
      std::memcpy(left, right, 3);
      std::memcpy(right, pixel, 3);
    }
  }
}

// With the decoded picture held top-down (storage row s = the s-th row from
// the top as the camera stored it) and the result bottom-up (storage row r =
// displayed row H - 1 - r), every transposing orientation reads, for one
// result row, one stored column, and walks the stored rows forwards or
// backwards along the result row:
//
//   orientation             stored column for result row r   stored row for x
//   5 transpose             H - 1 - r                        x
//   6 turn right            H - 1 - r                        W - 1 - x
//   7 transverse            r                                W - 1 - x
//   8 turn left             r                                x
//
// where W x H is the upright size. Walking a whole result row would touch a
// new cache line for every pixel (one per stored row) and throw it away;
// square tiles keep the stored rows of a tile in the first-level cache while
// all the tile's result rows are written, so each line is fetched once.
void TransposeInto(const cDIBSection& stored, int orientation, cDIBSection& upright) {
  constexpr std::int32_t kTile = 64;
  const std::int32_t width = upright.width();
  const std::int32_t height = upright.height();
  const std::ptrdiff_t pitch = stored.BytesPerScanLine();
  const bool columnFromTop = orientation == 5 || orientation == 6;
  const bool rowsForward = orientation == 5 || orientation == 8;
  const std::ptrdiff_t step = rowsForward ? pitch : -pitch;
  const std::uint8_t* bits = stored.DIBSectionBitsPtr();

  for (std::int32_t r0 = 0; r0 < height; r0 += kTile) {
    const std::int32_t rEnd = std::min(r0 + kTile, height);
    for (std::int32_t x0 = 0; x0 < width; x0 += kTile) {
      const std::int32_t count = std::min(kTile, width - x0);
      const std::ptrdiff_t firstRow = rowsForward ? x0 : width - 1 - x0;
      for (std::int32_t r = r0; r < rEnd; ++r) {
        const std::ptrdiff_t column = columnFromTop ? height - 1 - r : r;
        const std::uint8_t* source = bits + 3 * column;
        std::ptrdiff_t offset = firstRow * pitch;
        std::uint8_t* target = upright.row(r) + 3 * std::ptrdiff_t(x0);
        for (std::int32_t k = 0; k < count; ++k, target += 3, offset += step) {
          std::memcpy(target, source + offset, 3);
        }
      }
    }
  }
}

bool LayUpright(cDIBSection& stored, int orientation, cDIBSection& out) {
  if (orientation == 2 || orientation == 3) MirrorRows(stored);
  if (!SwapsSides(orientation)) {
    out.swap(stored);
    return true;
  }
  cDIBSection upright;
  if (!upright.Create(stored.height(), stored.width())) return false;
  TransposeInto(stored, orientation, upright);
  out.swap(upright);
  return true;
}

}  // namespace fotavel::io::detail
