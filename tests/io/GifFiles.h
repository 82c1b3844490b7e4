// GIFs made by the tests with real LZW compression: codes growing to 12 bits, or stopping early.
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fotavel::testing {

// The four colours of the GIFs below (0xRRGGBB), index 0 to 3.
inline constexpr std::uint32_t kGifColours[4] = {0x000000, 0xFF0000, 0x00FF00, 0xFFFFFF};

// `indices` (colours 0 … 3, top row first) compressed as a GIF encoder does:
// codes from 3 bits up to 12, the table started again once full, the end code
// after the last pixel or, with `stopAfter` smaller, after that many pixels.
QByteArray GifCodes(const std::vector<std::uint8_t>& indices, std::size_t stopAfter);

// A width x height GIF in kGifColours whose picture data is `codes`, in
// blocks of 255 bytes: the block structure whole whatever the codes hold.
QByteArray CompressedGif(std::int32_t width, std::int32_t height, const QByteArray& codes);

}  // namespace fotavel::testing
