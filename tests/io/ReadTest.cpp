// Reading pictures: every format from files the tests make, content over name, EXIF orientation.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <QImage>
#include <array>
#include <cstdlib>
#include <random>
#include <vector>

#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;
using io::ReadPicture;

TEST(ReadPictureTest, BmpRoundTripIsExactForEveryPadding) {
  TempFolder folder;
  // 701 x 600 makes a file over 1 MiB, which is read into a buffer of its own.
  for (const Size size :
       {Size{1, 3}, Size{2, 2}, Size{3, 5}, Size{5, 4}, Size{257, 3}, Size{701, 600}}) {
    const cDIBSection picture = RandomSurface(size.width, size.height, 7 + size.width);
    const QString path = folder.path(u"round.bmp"_s);
    QString error;
    ASSERT_TRUE(io::WriteBmp(picture, path, error)) << error.toStdString();
    const cDIBSection back = MustRead(path);
    EXPECT_TRUE(SamePixels(picture, back))
        << size.width << 'x' << size.height << ": " << FirstDifference(picture, back);
  }
}

TEST(ReadPictureTest, JpegAtBothEndsOfTheQualityRangeReadsBackClose) {
  TempFolder folder;
  const cDIBSection picture = SmoothSurface(61, 37);
  for (const auto& [quality, tolerance] : {std::pair{45, 14}, std::pair{100, 4}}) {
    const QString path = folder.path(u"q%1.jpg"_s.arg(quality));
    QString error;
    ASSERT_TRUE(io::WriteJpeg(picture, path, quality, error)) << error.toStdString();
    const cDIBSection back = MustRead(path);
    ASSERT_EQ(std::pair(back.width(), back.height()), std::pair(61, 37));
    EXPECT_LE(MaxDifference(picture, back), tolerance) << "quality " << quality;
  }
}

// Expects each (x, y, 0xRRGGBB) of `points` as displayed.
void ExpectShown(const cDIBSection& s, std::initializer_list<std::array<std::uint32_t, 3>> points) {
  for (const auto& [x, y, rgb] : points)
    EXPECT_EQ(Displayed(s, std::int32_t(x), std::int32_t(y)), rgb) << x << ',' << y;
}

TEST(ReadPictureTest, GrayscaleJpegBecomesGreyBgr) {
  TempFolder folder;
  QImage grey(19, 11, QImage::Format_Grayscale8);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 19; ++x) grey.scanLine(y)[x] = uchar(60 + 5 * x + 3 * y);
  const QString path = folder.path(u"grey.jpg"_s);
  ASSERT_TRUE(grey.save(path, "JPEG", 100));
  const cDIBSection s = MustRead(path);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(19, 11));
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 19; ++x) {
      const std::uint32_t rgb = Displayed(s, x, y);
      EXPECT_EQ(rgb, (rgb & 0xFF) * 0x010101u) << x << ',' << y;
      EXPECT_NEAR(int(rgb & 0xFF), 60 + 5 * x + 3 * y, 3) << x << ',' << y;
    }
  }
}

TEST(ReadPictureTest, PngTransparencyIsLaidOnWhite) {
  TempFolder folder;
  QImage image(3, 2, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(200, 100, 0, 128));  // half transparent
  image.setPixel(1, 0, qRgba(10, 20, 30, 0));     // fully transparent
  image.setPixel(2, 0, qRgba(10, 20, 30, 255));   // opaque
  image.setPixel(0, 1, qRgba(255, 1, 0, 128));
  image.setPixel(1, 1, qRgba(0, 0, 0, 254));
  image.setPixel(2, 1, qRgba(7, 8, 9, 255));
  const QString path = folder.path(u"alpha.png"_s);
  ASSERT_TRUE(image.save(path, "PNG"));
  const cDIBSection s = MustRead(path);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(3, 2));
  // c·a/255 + 255·(255 − a)/255, to nearest: (200·128 + 255·127)/255 = 227.39,
  // (100·128 + 32385)/255 = 177.2, 32385/255 = 127.0; green 1 at opacity 128:
  // (128 + 32385)/255 = 127.502, rounded up; black at opacity 254: 255·1/255 = 1.
  // One row of the picture a line.
  // clang-format off
  ExpectShown(s, {{0, 0, 0xE3B17F}, {1, 0, 0xFFFFFF}, {2, 0, 0x0A141E},
                  {0, 1, 0xFF807F}, {1, 1, 0x010101}, {2, 1, 0x070809}});
  // clang-format on
}

TEST(ReadPictureTest, GifColoursAreExactAndItsTransparentIndexIsWhite) {
  TempFolder folder;
  const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x123456, 0x000000};
  const QString path = folder.path(u"little.gif"_s);
  WriteBytes(path, MakeGif(3, 2, colours, 3, {0, 1, 2, 3, 0, 1}));
  const cDIBSection s = MustRead(path);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(3, 2));
  // One row of the picture a line.
  // clang-format off
  ExpectShown(s, {{0, 0, 0xFF0000}, {1, 0, 0x00FF00}, {2, 0, 0x123456},
                  {0, 1, 0xFFFFFF}, {1, 1, 0xFF0000}, {2, 1, 0x00FF00}});
  // clang-format on
}

TEST(ReadPictureTest, PlaceableWmfIsDrawnAt96DotsPerInchWhateverFontsAreInstalled) {
  TempFolder folder;
  WmfRectangle picture;  // 2 x 1 inches, rectangle in the middle half
  const QString path = folder.path(u"clip.wmf"_s);
  for (const QByteArray& text : {QByteArray(), QByteArray("Vacances 2003")}) {
    picture.text = text;
    WriteBytes(path, MakeWmf(picture));
    const cDIBSection s = MustRead(path);
    ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(192, 96));
    EXPECT_EQ(Displayed(s, 96, 48), 0xFF0000u);
  }
  // The rectangle covers x 48 … 144, y 24 … 72; the rest is white paper.
  picture.text.clear();
  WriteBytes(path, MakeWmf(picture));
  // Six points in two lines, laid out by hand.
  // clang-format off
  ExpectShown(MustRead(path), {{52, 28, 0xFF0000}, {140, 68, 0xFF0000}, {4, 4, 0xFFFFFF},
                               {44, 48, 0xFFFFFF}, {96, 76, 0xFFFFFF}, {188, 92, 0xFFFFFF}});
  // clang-format on
  // Without the placeable header its page is what it draws, one unit a pixel:
  // the 1000 x 500 rectangle (and half a unit of edge on each side).
  picture.placeable = false;
  picture.rgb = 0x2050C0;
  WriteBytes(path, MakeWmf(picture));
  const cDIBSection plain = MustRead(path);
  EXPECT_NEAR(plain.width(), 1000, 2);
  EXPECT_NEAR(plain.height(), 500, 2);
  EXPECT_EQ(Displayed(plain, plain.width() / 2, plain.height() / 2), 0x2050C0u);
}

TEST(ReadPictureTest, ContentDecidesTheFormatNotTheName) {
  TempFolder folder;
  const cDIBSection picture = RandomSurface(5, 3, 11);
  QString error;
  const QString bmp = folder.path(u"really-a-bmp.jpg"_s);
  ASSERT_TRUE(io::WriteBmp(picture, bmp, error));
  EXPECT_TRUE(SamePixels(picture, MustRead(bmp)));
  QImage image(4, 2, QImage::Format_RGB32);
  image.fill(qRgb(1, 2, 3));
  const QString png = folder.path(u"really-a-png.jpg"_s);
  ASSERT_TRUE(image.save(png, "PNG"));
  const cDIBSection fromPng = MustRead(png);
  ASSERT_EQ(fromPng.width(), 4);
  EXPECT_EQ(Displayed(fromPng, 3, 1), 0x010203u);
  const QString jpeg = folder.path(u"really-a-jpeg.bmp"_s);
  ASSERT_TRUE(io::WriteJpeg(SmoothSurface(9, 7), jpeg, 90, error));
  const cDIBSection fromJpeg = MustRead(jpeg);
  EXPECT_EQ(std::pair(fromJpeg.width(), fromJpeg.height()), std::pair(9, 7));
}

TEST(ReadPictureTest, CmykJpegOpensThroughQtsReaderStillUpright) {
  // Our decoder has no CMYK to BGR conversion; the file must open all the same.
  constexpr int kWidth = 13, kHeight = 9;
  const std::vector<unsigned char> cmyk(kWidth * kHeight * 4, 64);
  tjhandle encoder = tjInitCompress();
  ASSERT_NE(encoder, nullptr);
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  ASSERT_EQ(tjCompress2(encoder, cmyk.data(), kWidth, 0, kHeight, TJPF_CMYK, &bytes, &size,
                        TJSAMP_444, 95, 0),
            0);
  const QByteArray jpeg(reinterpret_cast<const char*>(bytes), qsizetype(size));
  tjFree(bytes);
  tjDestroy(encoder);

  TempFolder folder;
  const QString plain = folder.path(u"cmyk.jpg"_s);
  WriteBytes(plain, jpeg);
  const cDIBSection s = MustRead(plain);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(kWidth, kHeight));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) EXPECT_EQ(Displayed(s, x, y), Displayed(s, 0, 0));
  const QString turned = folder.path(u"cmyk6.jpg"_s);
  WriteBytes(turned, WithExifOrientation(jpeg, 6));
  const cDIBSection upright = MustRead(turned);
  EXPECT_EQ(std::pair(upright.width(), upright.height()), std::pair(kHeight, kWidth));
}

TEST(ReadPictureTest, ExifOrientationOpensUprightPixelForPixel) {
  TempFolder folder;
  // Odd sizes on both sides so that padding differs before and after a turn.
  constexpr int kWidth = 37, kHeight = 23;
  const QString plainPath = folder.path(u"plain.jpg"_s);
  QString error;
  ASSERT_TRUE(io::WriteJpeg(RandomSurface(kWidth, kHeight, 5), plainPath, 95, error));
  const QByteArray plain = ReadBytes(plainPath);
  // The same compressed pixels decode the same way whatever the tag says.
  const cDIBSection stored = MustRead(plainPath);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const QString path = folder.path(u"turned%1.jpg"_s.arg(orientation));
    WriteBytes(path, WithExifOrientation(plain, std::uint16_t(orientation)));
    const cDIBSection upright = MustRead(path);
    const bool turned = orientation >= 5;
    ASSERT_EQ(upright.width(), turned ? kHeight : kWidth) << orientation;
    ASSERT_EQ(upright.height(), turned ? kWidth : kHeight) << orientation;
    int wrong = 0;
    for (int r = 0; r < kHeight; ++r) {
      for (int c = 0; c < kWidth; ++c) {
        const auto [x, y] = ShownAt(orientation, c, r, kWidth, kHeight);
        wrong += Displayed(upright, x, y) != Displayed(stored, c, r);
      }
    }
    EXPECT_EQ(wrong, 0) << "orientation " << orientation;
  }
}

TEST(ReadPictureTest, UnreadableExifLeavesThePhotoAsStored) {
  TempFolder folder;
  const QString plainPath = folder.path(u"plain.jpg"_s);
  QString error;
  ASSERT_TRUE(io::WriteJpeg(RandomSurface(21, 13, 4), plainPath, 90, error));
  QByteArray broken = WithExifOrientation(ReadBytes(plainPath), 6);
  const qsizetype tiff = broken.indexOf(QByteArray("Exif\0\0", 6)) + 6;
  broken[tiff] = 'X';  // neither "II" nor "MM": no byte order, no tags
  broken[tiff + 1] = 'X';
  const QString path = folder.path(u"broken.jpg"_s);
  WriteBytes(path, broken);
  const cDIBSection s = MustRead(path);
  EXPECT_TRUE(SamePixels(s, MustRead(plainPath)));
}

}  // namespace
}  // namespace fotavel::testing
