// EncodeWithinSize: the best quality whose file stays within a size, found with few encodes.
#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <map>
#include <new>

#include "io/PictureDecoders.h"
#include "io/PictureFiles.h"
#include "io/SaveFormats.h"

namespace fotavel::io {

namespace {

// Whole encodes allowed at one size. Bisection over the 56 qualities from 45
// to 100 needs 6; the size curve foreseen from strips brings the usual case
// down to 2 (the quality found fits, the next one does not).
constexpr int kMaxWholeEncodes = 5;

// The strips the curve is foreseen from: kStrips bands of kStripRows rows
// spread evenly down the picture, full width, so that every region of the photo
// (sky, foliage, faces) has its say. 16 rows match the JPEG and AVIF blocks
// of 4:2:0 colour, so a band's edges cost little. A picture of fewer than
// kSampledFrom rows is searched by bisection on whole encodes, each of which
// costs no more than four encodes of the strips would.
constexpr std::int32_t kStrips = 16;
constexpr std::int32_t kStripRows = 16;
constexpr std::int32_t kSampledFrom = 4 * kStrips * kStripRows;

// The picture halved, each side rounded up, each pixel the average (rounded
// to nearest) of the 2 x 2 block it stands for, or of the 2 or 1 pixels an odd
// last column or row leaves. Not Resample: its bilinear samples at half size
// fall near one pixel of each pair and read its neighbour at a weight near 0,
// so the other half of the pixels would be all but dropped; the noise would
// stay at full strength and alias, and the smaller file would cost more bytes
// than the picture's content warrants.
cDIBSection Halved(const cDIBSection& picture) {
  const std::int32_t width = picture.width(), height = picture.height();
  cDIBSection half;
  if (!half.Create((width + 1) / 2, (height + 1) / 2)) throw std::bad_alloc();
  for (std::int32_t y = 0; y < half.height(); ++y) {
    // Storage rows are bottom-up; the displayed top row of an odd height is
    // the lone one, so pairs are counted from the top.
    const std::int32_t top = height - 1 - 2 * (half.height() - 1 - y);
    const std::uint8_t* rows[2] = {picture.row(top), picture.row(std::max(top - 1, 0))};
    const std::uint32_t rowCount = top >= 1 ? 2 : 1;
    std::uint8_t* target = half.row(y);
    for (std::int32_t i = 0; i < half.width(); ++i) {
      const std::int32_t left = 2 * i;
      const std::uint32_t columns = left + 1 < width ? 2 : 1;
      const std::uint32_t count = rowCount * columns;
      for (int c = 0; c < 3; ++c) {
        std::uint32_t sum = 0;
        for (std::uint32_t r = 0; r < rowCount; ++r) {
          for (std::uint32_t k = 0; k < columns; ++k) sum += rows[r][3 * (left + k) + c];
        }
        target[3 * i + c] = std::uint8_t((sum + count / 2) / count);
      }
    }
  }
  return half;
}

// The strips of the picture, one under the other, as one picture.
cDIBSection Strips(const cDIBSection& picture) {
  cDIBSection sample;
  if (!sample.Create(picture.width(), kStrips * kStripRows)) throw std::bad_alloc();
  const std::size_t rowBytes = std::size_t(picture.width()) * 3;
  const std::int32_t gap = picture.height() / kStrips;
  for (std::int32_t s = 0; s < kStrips; ++s) {
    const std::int32_t first = s * gap / kStripRows * kStripRows;
    for (std::int32_t r = 0; r < kStripRows; ++r) {
      std::memcpy(sample.row(s * kStripRows + r), picture.row(first + r), rowBytes);
    }
  }
  return sample;
}

class QualitySearch {
 public:
  QualitySearch(const cDIBSection& picture, const EncodeSettings& settings, std::uint64_t maxBytes,
                const PhotoMetadata& metadata, bool fullSize, SizeFit& fit)
      : picture_(picture),
        settings_(settings),
        maxBytes_(maxBytes),
        metadata_(metadata),
        fullSize_(fullSize),
        fit_(fit),
        fits_(kMinJpegQuality - 1),
        fails_(settings.quality + 1) {}

  // True, with the file in `fit_`, when some quality fits at this size.
  bool Run() {
    if (picture_.height() < kSampledFrom) {
      // Bisection; the bracket (fits_, fails_) halves with each encode.
      while (fails_ - fits_ > 1) Whole((fits_ + fails_ + 1) / 2);
    } else {
      sample_ = Strips(picture_);
      // Before any whole encode, the sizes are foreseen in proportion to the rows.
      ratio_ = double(picture_.height()) / sample_.height();
      int encodes = 0;
      while (fails_ - fits_ > 1 && encodes < kMaxWholeEncodes) {
        // Even the lowest quality is foreseen at twice the limit: it would
        // not fit, and the halved picture is searched at once.
        if (fits_ < kMinJpegQuality && ratio_ * SampleSize(kMinJpegQuality) > 2.0 * maxBytes_) {
          break;
        }
        int quality = std::clamp(Foreseen(), fits_ + 1, fails_ - 1);
        // The last encode allowed makes sure of a file that fits, if any does.
        if (encodes == kMaxWholeEncodes - 1 && fits_ < kMinJpegQuality) {
          quality = kMinJpegQuality;
        }
        const std::uint64_t size = Whole(quality);
        ratio_ = double(size) / SampleSize(quality);
        ++encodes;
      }
      // When the encodes run out before the bracket closes (a size curve
      // quite unlike its strips'), the best quality confirmed is kept: it
      // fits, but one a little higher might have fitted as well.
    }
    if (fits_ < kMinJpegQuality) return false;
    fit_.file = std::move(best_);
    fit_.quality = fits_;
    return true;
  }

 private:
  std::uint64_t Whole(int quality) {
    EncodeSettings settings = settings_;
    settings.quality = quality;
    EncodedFile file = EncodePicture(picture_, settings, metadata_);
    ++fit_.encodes;
    ++fit_.wholeEncodes;
    if (fullSize_) ++fit_.fullSizeEncodes;
    const std::uint64_t size = file.size();
    if (size <= maxBytes_) {
      fits_ = quality;
      best_ = std::move(file);
    } else {
      fails_ = quality;
    }
    return size;
  }

  double SampleSize(int quality) {
    const auto known = sampleSizes_.find(quality);
    if (known != sampleSizes_.end()) return known->second;
    EncodeSettings settings = settings_;
    settings.quality = quality;
    const double size = double(EncodePicture(sample_, settings).size());
    ++fit_.encodes;
    sampleSizes_[quality] = size;
    return size;
  }

  // The highest quality inside the bracket whose whole file is foreseen to
  // fit, by bisection on the strips; fits_ when none is.
  int Foreseen() {
    int low = fits_, high = fails_;
    while (high - low > 1) {
      const int middle = (low + high + 1) / 2;
      (ratio_ * SampleSize(middle) <= double(maxBytes_) ? low : high) = middle;
    }
    return low;
  }

  const cDIBSection& picture_;
  const EncodeSettings settings_;
  const std::uint64_t maxBytes_;
  const PhotoMetadata& metadata_;
  const bool fullSize_;
  SizeFit& fit_;
  int fits_;   // the highest quality known to fit (kMinJpegQuality - 1: none yet)
  int fails_;  // the lowest quality known not to fit (settings.quality + 1: none yet)
  EncodedFile best_;
  cDIBSection sample_;
  double ratio_ = 1;
  std::map<int, double> sampleSizes_;
};

}  // namespace

SizeFit EncodeWithinSize(const cDIBSection& picture, const EncodeSettings& settings,
                         std::uint64_t maxBytes, const PhotoMetadata& metadata) {
  detail::CheckQuality(settings);
  if (picture.empty())
    detail::Unencodable(QCoreApplication::translate("SaveFormats", "aucune image à enregistrer"));
  SizeFit fit;
  cDIBSection halved;
  const cDIBSection* current = &picture;
  try {
    for (;;) {
      if (QualitySearch(*current, settings, maxBytes, metadata, current == &picture, fit).Run()) {
        fit.width = current->width();
        fit.height = current->height();
        return fit;
      }
      if (current->width() == 1 && current->height() == 1) break;
      halved = Halved(*current);
      current = &halved;
      ++fit.halvings;
    }
  } catch (const std::bad_alloc&) {
    detail::Unencodable(
        QCoreApplication::translate("SaveFormats", "mémoire insuffisante pour réduire l'image"));
  }
  detail::Unencodable(QCoreApplication::translate(
                          "SaveFormats", "aucun fichier de %1 octets au plus, même d'un seul pixel")
                          .arg(maxBytes));
}

}  // namespace fotavel::io
