// The explorer's preview: the size a photo is shown at in a box, and its nearest-neighbour
// reduction.
#pragma once

#include <cstdint>

#include "surface/cDIBSection.h"

namespace fotavel {

struct PreviewSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const PreviewSize&) const = default;
};

// A sourceWidth x sourceHeight picture fitted into maxWidth x maxHeight with
// its proportions kept, never enlarged. The fit is decided on the width
// first; halves round to even. Sizes of 0 when either input size is not positive.
PreviewSize FitPreview(std::int32_t sourceWidth, std::int32_t sourceHeight, std::int32_t maxWidth,
                       std::int32_t maxHeight);

// Fills `target` (already made at the preview size) from `source`: target
// pixel (x, y) is the source pixel nearest to (x·r, y·r), r = source width /
// target width, the same factor on both axes. Positions count from the
// displayed top-left of both surfaces; a position that would fall past the
// source's last row or column takes the last one.
// The source may be any bottom-up 24-bit rows, such as a bitmap file's.
void SamplePreview(ConstByteView source, cDIBSection& target);

}  // namespace fotavel
