// The convolution and rank passes behind ProcessImage.
#pragma once

#include <cstdint>

#include "effects/ProgressEvents.h"
#include "surface/cDIBSection.h"

namespace fotavel::detail {

// Both passes leave `buffer` holding the image with its interior filtered
// (the border copied from the image unchanged); with intoImage the image ends
// holding the same. image and buffer are distinct, non-empty and the same size.

// A (size × size) kernel, entry (iX, iY) at kernel[(iY + half) × size + iX + half],
// iY counted in storage rows; weight ≠ 0.
void RunConvolution(const ProgressEvents& events, cDIBSection& image, cDIBSection& buffer,
                    std::int32_t size, const std::int32_t* kernel, std::int32_t weight,
                    bool intoImage);

// Filter type 9 (mean), 10 (minimum) or 11 (maximum) over 3 × 3.
void RunRankFilter(const ProgressEvents& events, cDIBSection& image, cDIBSection& buffer,
                   std::int32_t type, bool intoImage);

}  // namespace fotavel::detail
