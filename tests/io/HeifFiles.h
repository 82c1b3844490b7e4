// HEIC and AVIF photos encoded by the tests with libheif, and libheif's own decode of them.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <vector>

namespace fotavel::testing {

// What to encode. Samples come from `sample` (x, y from the top left,
// channel 0 red … 3 alpha, a value of `bits` bits); by default a smooth,
// asymmetric gradient over the whole range with an alpha falling from left to
// right.
struct HeifPicture {
  bool avif = false;  // AV1 in an AVIF, otherwise HEVC in a HEIC
  std::int32_t width = 37, height = 21;
  // 8, 10 or 12; the AV1 encoder here aborts the program on 10 bits (an
  // assertion about the chroma layout libheif hands it), so AVIF takes 8 or 12.
  int bits = 8;
  bool alpha = false;
  bool grey = false;     // one channel (sample's channel 0), no alpha
  bool fast = false;     // the encoder's quickest settings (large pictures)
  int orientation = 1;   // 1 … 8 as EXIF numbers them, written as irot / imir boxes
  QByteArray exif = {};  // from its TIFF header
  QByteArray xmp = {};
  QByteArray icc = {};
  std::function<std::uint16_t(std::int32_t x, std::int32_t y, int channel)> sample = {};
};

// The file's bytes; empty, with the reason on stderr, when libheif refuses.
QByteArray MakeHeif(const HeifPicture& picture);

// libheif's own decode of a file's primary picture (its transforms applied)
// as interleaved RGB, with alpha (`alpha`) and in 16-bit channels (`deep`):
// each sample as a number, top row first.
struct HeifPixels {
  std::int32_t width = 0, height = 0;
  int channels = 0;
  std::vector<std::uint16_t> samples;
  std::uint16_t at(std::int32_t x, std::int32_t y, int channel) const {
    return samples[(std::size_t(y) * width + x) * channels + channel];
  }
};
HeifPixels DecodeWithLibheif(const QByteArray& file, bool alpha, bool deep);

}  // namespace fotavel::testing
