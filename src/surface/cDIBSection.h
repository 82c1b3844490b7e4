// cDIBSection: the 24-bit, bottom-up pixel surface that every picture lives in.
#pragma once

#include <cstdint>
#include <memory>

#include "surface/ByteView.h"

namespace fotavel {

// Bytes blue, green, red; no alpha. Rows are stored bottom-up: storage row 0 is
// the bottom row of the picture as displayed. Each row is padded to a multiple
// of 4 bytes (BytesPerScanLine); the padding is never part of the picture.
//
// The surface owns its memory. Display, printing and the clipboard belong to
// the window layer, which wraps the same bytes (for example in a QImage) rather
// than the core knowing about them.
class cDIBSection {
 public:
  cDIBSection() = default;
  ~cDIBSection();
  cDIBSection(const cDIBSection&) = delete;
  cDIBSection& operator=(const cDIBSection&) = delete;
  cDIBSection(cDIBSection&& other) noexcept;
  cDIBSection& operator=(cDIBSection&& other) noexcept;

  // Releases what the surface held and makes a new lWidth x lHeight surface.
  // False, with the surface left empty, for a size SizeFits refuses or whose
  // memory cannot be had. Never throws. The new
  // pixels' content is undefined; every caller fills a surface before reading it.
  [[nodiscard]] bool Create(std::int32_t lWidth, std::int32_t lHeight) noexcept;
  // Releases the memory; safe on an empty surface.
  void ClearUp() noexcept;

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  std::int32_t BytesPerScanLine() const { return StrideFor(width_); }
  bool empty() const { return bits_ == nullptr; }
  // Bytes of memory the pixels take, padding included.
  std::size_t ByteCount() const { return bytes_; }

  std::uint8_t* DIBSectionBitsPtr() { return bits_; }
  const std::uint8_t* DIBSectionBitsPtr() const { return bits_; }
  std::uint8_t* row(std::int32_t y) { return bits_ + std::ptrdiff_t{y} * BytesPerScanLine(); }
  const std::uint8_t* row(std::int32_t y) const {
    return bits_ + std::ptrdiff_t{y} * BytesPerScanLine();
  }
  ByteView view() { return {bits_, BytesPerScanLine(), width_, height_}; }
  ConstByteView view() const { return {bits_, BytesPerScanLine(), width_, height_}; }

  // Copies a block of this surface's size out of `source`, whose top-left
  // corner (as displayed) is at (lSrcLeft, lSrcTop) of the source picture.
  // On bottom-up storage the displayed top row is the last storage row, so the
  // origin is counted from the source's last row downwards. False, with nothing
  // copied, when the block does not lie wholly inside the source or either
  // surface is empty. Padding bytes are left alone.
  [[nodiscard]] bool LoadPictureBlt(const cDIBSection& source, std::int32_t lSrcLeft = 0,
                                    std::int32_t lSrcTop = 0);

  // A new lNewWidth x lNewHeight surface resampled bilinearly from this one
  // (height first, as callers pass it). Null when it cannot be created. This
  // surface is not changed.
  [[nodiscard]] std::unique_ptr<cDIBSection> Resample(std::int32_t lNewHeight,
                                                      std::int32_t lNewWidth) const;

  // Fills the surface with noise seeded from the clock: grey noise when bGrey,
  // otherwise red-green noise with blue 0. It draws from its own generator so
  // that the program-wide sequence used by the diffusion effect is not disturbed.
  void RandomiseBits(bool bGrey);

  // Exchanges the pixels of two surfaces; used to swap in a result only once it exists.
  void swap(cDIBSection& other) noexcept;

  // 3 x width rounded up to a multiple of 4; 0 when that does not fit 32 bits.
  static std::int32_t StrideFor(std::int32_t width);

  // True when a surface of this size can be described at all: both sides at
  // least 1, the stride within 32 bits and the byte count within ptrdiff_t.
  // Create refuses exactly what this refuses; whether the memory can be had
  // is known only by trying.
  static bool SizeFits(std::int32_t lWidth, std::int32_t lHeight) noexcept;

 private:
  std::uint8_t* bits_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::size_t bytes_ = 0;
};

}  // namespace fotavel
