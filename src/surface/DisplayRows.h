// The row functions behind the display pyramid, a plain version and one per processor extension.
#pragma once

#include <cstdint>
#include <vector>

namespace fotavel::detail {

// convert: `width` blue, green, red pixels into 0xFFRRGGBB.
// halve: the level below's row from rows a and b of `width` pixels (2 x 2
// rounded means; an odd last column stands in for its neighbour).
struct DisplayRowFunctions {
  void (*convert)(const std::uint8_t* bgr, std::uint32_t* out, std::int32_t width);
  void (*halve)(const std::uint32_t* a, const std::uint32_t* b, std::int32_t width,
                std::uint32_t* out);
};

// The versions ChosenVersion allows, the plain one first and the one the
// pyramid uses last; tests compare every one with the plain version.
std::vector<DisplayRowFunctions> DisplayRowVersions();

}  // namespace fotavel::detail
