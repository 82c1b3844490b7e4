// cDIBSection: creation, release, block copy and noise.
#include "surface/cDIBSection.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <utility>

#include "surface/SurfaceMemory.h"
#include "surface/WorkerPool.h"

namespace fotavel {

cDIBSection::~cDIBSection() { ClearUp(); }

cDIBSection::cDIBSection(cDIBSection&& other) noexcept { swap(other); }

cDIBSection& cDIBSection::operator=(cDIBSection&& other) noexcept {
  if (this != &other) {
    ClearUp();
    swap(other);
  }
  return *this;
}

std::int32_t cDIBSection::StrideFor(std::int32_t width) {
  if (width <= 0) return 0;
  const std::int64_t stride = (std::int64_t{width} * 3 + 3) & ~std::int64_t{3};
  return stride > std::numeric_limits<std::int32_t>::max() ? 0 : static_cast<std::int32_t>(stride);
}

bool cDIBSection::SizeFits(std::int32_t lWidth, std::int32_t lHeight) noexcept {
  if (lWidth <= 0 || lHeight <= 0) return false;
  const std::int32_t stride = StrideFor(lWidth);
  if (stride == 0) return false;
  const std::uint64_t bytes = std::uint64_t(stride) * std::uint64_t(lHeight);
  return bytes <= std::uint64_t(std::numeric_limits<std::ptrdiff_t>::max());
}

bool cDIBSection::Create(std::int32_t lWidth, std::int32_t lHeight) noexcept {
  ClearUp();
  if (!SizeFits(lWidth, lHeight)) return false;
  const std::uint64_t bytes = std::uint64_t(StrideFor(lWidth)) * std::uint64_t(lHeight);
  void* block = AllocateSurfaceMemory(static_cast<std::size_t>(bytes));
  if (block == nullptr) return false;
  bits_ = static_cast<std::uint8_t*>(block);
  width_ = lWidth;
  height_ = lHeight;
  bytes_ = static_cast<std::size_t>(bytes);
  return true;
}

void cDIBSection::ClearUp() noexcept {
  FreeSurfaceMemory(bits_, bytes_);
  bits_ = nullptr;
  width_ = height_ = 0;
  bytes_ = 0;
}

void cDIBSection::swap(cDIBSection& other) noexcept {
  std::swap(bits_, other.bits_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(bytes_, other.bytes_);
}

bool cDIBSection::LoadPictureBlt(const cDIBSection& source, std::int32_t lSrcLeft,
                                 std::int32_t lSrcTop) {
  if (empty() || source.empty()) return false;
  if (lSrcLeft < 0 || lSrcTop < 0) return false;
  if (std::int64_t{lSrcLeft} + width_ > source.width_ ||
      std::int64_t{lSrcTop} + height_ > source.height_) {
    return false;
  }
  // Displayed row r of this surface is storage row height - 1 - r; it comes from
  // displayed row lSrcTop + r of the source, storage row srcH - 1 - lSrcTop - r.
  // Both run downwards together, so the bottom storage row of this surface
  // matches source storage row srcH - lSrcTop - height.
  const std::int32_t sourceBottom = source.height_ - lSrcTop - height_;
  const std::size_t rowBytes = std::size_t(width_) * 3;
  // Rows are copied in bands over the threads: one thread alone does not
  // draw all the memory bandwidth there is.
  ForEachRowBand(
      height_, std::int64_t{width_} * height_,
      [&](std::int32_t y0, std::int32_t y1) {
        for (std::int32_t y = y0; y < y1; ++y) {
          std::memcpy(row(y), source.row(sourceBottom + y) + std::ptrdiff_t{lSrcLeft} * 3,
                      rowBytes);
        }
      },
      [](std::int32_t, std::int32_t) {});
  return true;
}

void cDIBSection::RandomiseBits(bool bGrey) {
  if (empty()) return;
  std::mt19937 generator(
      static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  const auto draw = [&] {
    return static_cast<std::uint8_t>(std::nearbyint(uniform(generator) * 255));
  };
  ByteView v = view();
  if (bGrey) {
    for (std::int32_t y = 0; y < height_; ++y) {
      for (std::int32_t i = 0; i < width_; ++i) {
        const std::uint8_t grey = draw();
        v(3 * i, y) = v(3 * i + 1, y) = v(3 * i + 2, y) = grey;
      }
    }
  } else {
    for (std::int32_t i = 0; i < width_; ++i) {
      for (std::int32_t y = 0; y < height_; ++y) {
        v(3 * i, y) = 0;
        v(3 * i + 1, y) = draw();
        v(3 * i + 2, y) = draw();
      }
    }
  }
}

}  // namespace fotavel
