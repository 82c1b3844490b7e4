// Picture files made by the tests themselves: bytes, GIF/WMF/TIFF builders, EXIF; the failure a
// file operation throws.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "io/FileError.h"
#include "surface/cDIBSection.h"

namespace fotavel::testing {

// The file failure `work` throws; a test failure when it throws none.
template <class Work>
io::FileError FileFailure(Work&& work) {
  try {
    work();
  } catch (const io::FileError& failure) {
    return failure;
  }
  ADD_FAILURE() << "no file failure";
  return io::FileError(0, QString(), QString(), "");
}

void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

// The picture at `path`, read as the program reads pictures; a refusal fails the test.
cDIBSection MustRead(const QString& path);
// Largest difference of any byte of any pixel (sizes must match).
int MaxDifference(const cDIBSection& a, const cDIBSection& b);

// Pixel at column x of displayed row yTop (0 = top), as 0xRRGGBB.
std::uint32_t Displayed(const cDIBSection& s, std::int32_t x, std::int32_t yTop);

// Where stored pixel (column c, row r, both from the top-left) is shown in a
// picture turned upright by EXIF orientation 1 … 8, as (x, y) from the top-left.
std::pair<int, int> ShownAt(int orientation, int c, int r, int storedWidth, int storedHeight);

// A smooth, asymmetric picture (gradients, no two corners alike).
cDIBSection SmoothSurface(std::int32_t width, std::int32_t height);

// A GIF89a of width x height with a 4-entry colour table (0xRRGGBB each) and
// one index marked transparent (or -1), pixels given top row first.
QByteArray MakeGif(std::int32_t width, std::int32_t height, const std::uint32_t (&colours)[4],
                   int transparent, const std::vector<std::uint8_t>& indices);

// A metafile drawing one rectangle filled with `rgb` and no outline, in a
// window whose origin is (0, 0). With `placeable`, the 22-byte header frames
// (0, 0) … (frameRight, frameBottom) at `unitsPerInch`.
struct WmfRectangle {
  bool placeable = true;
  std::int16_t frameRight = 2000, frameBottom = 1000;
  std::uint16_t unitsPerInch = 1000;
  std::int16_t left = 500, top = 250, right = 1500, bottom = 750;
  std::uint32_t rgb = 0xFF0000;
  QByteArray text = {};  // written at the top left when not empty
};
QByteArray MakeWmf(const WmfRectangle& picture);

// One page of an uncompressed little-endian TIFF: `pixels` top row first,
// the samples of a pixel side by side, 16-bit samples low byte first.
struct TiffPage {
  std::int32_t width = 1, height = 1;
  std::uint16_t samples = 3, bits = 8;
  std::uint16_t photometric = 2;  // 1 grey (0 black), 2 RGB, 5 CMYK
  std::uint16_t orientation = 0;  // 0: no orientation tag
  std::uint16_t extraSample = 0;  // 0: none; 1 premultiplied alpha, 2 straight alpha
  QByteArray pixels;
};
// A TIFF of these pages in order, each page's directory before its pixels
// (so that a cut file keeps its header and loses pixels).
QByteArray MakeTiff(const std::vector<TiffPage>& pages);

// A PNG whose header claims width x height over the pixels of a 1 x 1
// picture: what a reader makes of the header alone.
QByteArray PngClaiming(std::uint32_t width, std::uint32_t height);

// The JPEG `jpeg` with an EXIF segment (APP1) saying `orientation`, placed
// after the start-of-image marker and any JFIF segment.
QByteArray WithExifOrientation(const QByteArray& jpeg, std::uint16_t orientation);

}  // namespace fotavel::testing
