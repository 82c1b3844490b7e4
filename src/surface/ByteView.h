// Non-owning byte view over a surface's pixels: view(x, y) is byte x of storage row y.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fotavel {

// Rows are in storage order (row 0 is the bottom of the picture as shown).
// Pixel column i of a row is bytes 3i (blue), 3i + 1 (green), 3i + 2 (red).
// The view never copies: writes through it change the surface at once.
template <typename Byte>
class BasicByteView {
 public:
  BasicByteView() = default;
  BasicByteView(Byte* bits, std::ptrdiff_t stride, std::int32_t width, std::int32_t height)
      : bits_(bits), stride_(stride), width_(width), height_(height) {}

  Byte& operator()(std::int32_t x, std::int32_t y) const { return bits_[y * stride_ + x]; }
  Byte* row(std::int32_t y) const { return bits_ + y * stride_; }

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  std::ptrdiff_t stride() const { return stride_; }
  // Bytes of pixel data in one row (the padding after them is not part of the picture).
  std::int32_t rowBytes() const { return 3 * width_; }
  bool empty() const { return bits_ == nullptr; }

  operator BasicByteView<const Byte>() const { return {bits_, stride_, width_, height_}; }

 private:
  Byte* bits_ = nullptr;
  std::ptrdiff_t stride_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

using ByteView = BasicByteView<std::uint8_t>;
using ConstByteView = BasicByteView<const std::uint8_t>;

}  // namespace fotavel
