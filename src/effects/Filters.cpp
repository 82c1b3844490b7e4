// Filter state of the engine (type, kernel, weight) and ProcessImage, which runs the filters.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "effects/FilterPasses.h"
#include "effects/cImageProcessDIB.h"

namespace fotavel {
namespace {

constexpr std::int32_t kBlur = 1;
constexpr std::int32_t kUnsharp = 7;
constexpr std::int32_t kEmboss = 8;
constexpr std::int32_t kMean = 9;
constexpr std::int32_t kMaximum = 11;
constexpr std::int32_t kCustom = 12;

bool IsRankType(std::int32_t type) { return type >= kMean && type <= kMaximum; }

// Types 2 (Blur More) and 4 (Soften More) are 5 × 5; the other presets 3 × 3.
std::int32_t PresetSize(std::int32_t type) { return type == 2 || type == 4 ? 5 : 3; }

// The preset entry at (iX, iY) of a kernel of the given half-size.
std::int32_t PresetEntry(std::int32_t type, std::int32_t half, std::int32_t iX, std::int32_t iY) {
  const bool centre = iX == 0 && iY == 0;
  switch (type) {
    case 1:
    case 2:  // box
      return 1;
    case 3:
    case 4: {  // soften: falls off by one per ring, centre round(size / 2 × size)
      if (centre) {
        const double size = 2 * half + 1;
        return static_cast<std::int32_t>(std::nearbyint(size / 2 * size));
      }
      const std::int32_t d = std::max(std::abs(iX), std::abs(iY));
      return half - d + 1;
    }
    case 5:  // sharpen
      return centre ? 15 : -1;
    case 6:  // sharpen more: the centre against its four direct neighbours
      return centre ? 5 : std::abs(iX) + std::abs(iY) == 1 ? -1 : 0;
    case kEmboss:
      return iX == iY && iX != 0 ? iX : 0;
    default:
      return 0;
  }
}

}  // namespace

void cImageProcessDIB::FilterType(std::int32_t eType) {
  if (eType < 1 || eType > kCustom) throw ImageProcessError(ImageProcessErrors::kInvalidFilterType);
  if (eType == kCustom) {
    m_filterType = eType;
    return;
  }
  if (eType == kUnsharp || IsRankType(eType)) {
    // These have no kernel of their own; the one in place stays.
    m_filterType = eType;
    m_weight = 0;
    return;
  }
  const std::int32_t size = PresetSize(eType);
  const std::int32_t half = size / 2;
  std::vector<std::int32_t> kernel(std::size_t(size) * size);
  std::int32_t sum = 0;
  for (std::int32_t iY = -half; iY <= half; ++iY) {
    for (std::int32_t iX = -half; iX <= half; ++iX) {
      const std::int32_t entry = PresetEntry(eType, half, iX, iY);
      kernel[std::size_t(iY + half) * size + (iX + half)] = entry;
      sum += entry;
    }
  }
  m_filterType = eType;
  m_kernelSize = size;
  m_kernelHalf = half;
  m_kernel = std::move(kernel);
  // Emboss entries sum to 0; its weight is set directly.
  m_weight = eType == kEmboss ? 1 : sum;
}

void cImageProcessDIB::FilterArraySize(std::int32_t lSize) {
  if (lSize % 2 == 0) throw ImageProcessError(ImageProcessErrors::kSizeNotOdd);
  if (lSize != 3 && lSize != 5 && lSize != 7 && lSize != 9) {
    throw ImageProcessError(ImageProcessErrors::kInvalidSize);
  }
  std::vector<std::int32_t> kernel(std::size_t(lSize) * lSize, 0);
  m_kernelSize = lSize;
  m_kernelHalf = lSize / 2;
  m_kernel = std::move(kernel);
}

void cImageProcessDIB::FilterValue(std::int32_t iX, std::int32_t iY, std::int32_t lValue) {
  if (m_kernel.empty() || std::abs(std::int64_t{iX}) > m_kernelHalf ||
      std::abs(std::int64_t{iY}) > m_kernelHalf) {
    throw ImageProcessError(ImageProcessErrors::kKernelIndex);
  }
  m_kernel[std::size_t(iY + m_kernelHalf) * m_kernelSize + (iX + m_kernelHalf)] = lValue;
}

std::int32_t cImageProcessDIB::FilterValue(std::int32_t iX, std::int32_t iY) const {
  if (m_kernel.empty() || std::abs(std::int64_t{iX}) > m_kernelHalf ||
      std::abs(std::int64_t{iY}) > m_kernelHalf) {
    throw ImageProcessError(ImageProcessErrors::kKernelIndex);
  }
  return m_kernel[std::size_t(iY + m_kernelHalf) * m_kernelSize + (iX + m_kernelHalf)];
}

bool cImageProcessDIB::ProcessImage(cDIBSection& cImage, cDIBSection& cBuffer) {
  const std::int32_t type = m_filterType;
  if (type < 1 || type > kCustom) return false;
  // Every refusal comes before anything changes, the type-7 switch included.
  if (cImage.empty() || cBuffer.empty()) throw ImageProcessError(ImageProcessErrors::kEmptySurface);
  if (cImage.width() != cBuffer.width() || cImage.height() != cBuffer.height()) {
    throw ImageProcessError(ImageProcessErrors::kSizeMismatch);
  }
  if (type == kCustom && m_kernel.empty()) {
    throw ImageProcessError(ImageProcessErrors::kKernelNotSized);
  }
  if (IsRankType(type)) {
    detail::RunRankFilter(m_events, cImage, cBuffer, type, true);
    return true;
  }
  if (type == kUnsharp) {
    // Blur into the buffer, then 2 × image − blurred back into the image.
    FilterType(kBlur);
    detail::RunConvolution(m_events, cImage, cBuffer, m_kernelSize, m_kernel.data(), m_weight,
                           false);
    AddImages(cBuffer, cImage, -1, 0, 0, 0, 2, 0, 0, 0);
    FilterType(kUnsharp);
    return true;
  }
  if (m_weight == 0) throw ImageProcessError(ImageProcessErrors::kZeroWeight);
  if (type == kEmboss) {
    // Filtered differences into the buffer, then lifted by 127 into the image.
    detail::RunConvolution(m_events, cImage, cBuffer, m_kernelSize, m_kernel.data(), m_weight,
                           false);
    AddImages(cBuffer, cImage, 1, 127, 127, 127, 0, 0, 0, 0);
    return true;
  }
  detail::RunConvolution(m_events, cImage, cBuffer, m_kernelSize, m_kernel.data(), m_weight, true);
  return true;
}

}  // namespace fotavel
