// Reading pictures: each format from files the tests make, exact where it is lossless, laid on
// white, turned upright by its recorded orientation; and the explorer's reduced preview.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageWriter>
#include <array>
#include <cmath>
#include <exiv2/exiv2.hpp>
#include <functional>

#include "TestFiles.h"
#include "io/HeifFiles.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"
#include "surface/Preview.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// Channel c laid on white at opacity a (both 0 … 255): c·a/255 + 255·(255 − a)/255, to nearest.
std::uint32_t OverWhite(std::uint32_t c, std::uint32_t a) {
  return std::uint32_t(std::floor((c * a + 255.0 * (255 - a)) / 255.0 + 0.5));
}

// Pixels of `upright` other than the stored pixel that EXIF orientation `o` shows there (all of
// them when the size is wrong); `stored(c, r)` is the stored width x height picture's pixel at
// column c, row r from the top.
int Misplaced(const cDIBSection& upright, int o, int width, int height,
              const std::function<std::uint32_t(int, int)>& stored) {
  const bool turned = o >= 5;
  if (upright.width() != (turned ? height : width) ||
      upright.height() != (turned ? width : height)) {
    return width * height;
  }
  int wrong = 0;
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width; ++c) {
      const auto [x, y] = ShownAt(o, c, r, width, height);
      wrong += Displayed(upright, x, y) != stored(c, r);
    }
  }
  return wrong;
}

TEST(ReadTest, JpegReadsBackCloseAndStandsUprightForEachOrientation) {
  TempFolder folder;
  QString error;
  const cDIBSection picture = SmoothSurface(61, 37);
  for (const auto& [quality, tolerance] : {std::pair{45, 14}, std::pair{100, 4}}) {
    const QString path = folder.path(u"q%1.jpg"_s.arg(quality));
    ASSERT_TRUE(io::WriteJpeg(picture, path, quality, error)) << error.toStdString();
    const cDIBSection back = MustRead(path);
    ASSERT_EQ(std::pair(back.width(), back.height()), std::pair(61, 37));
    EXPECT_LE(MaxDifference(picture, back), tolerance) << "quality " << quality;
  }
  // Odd sizes so that padding differs before and after a turn, and longer than one 64-pixel
  // tile of the transpose. The same compressed pixels decode alike whatever the tag says.
  constexpr int kWidth = 67, kHeight = 23;
  const QString plain = folder.path(u"plain.jpg"_s);
  ASSERT_TRUE(io::WriteJpeg(RandomSurface(kWidth, kHeight, 5), plain, 95, error));
  const cDIBSection stored = MustRead(plain);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const QString path = folder.path(u"turned.jpg"_s);
    WriteBytes(path, WithExifOrientation(ReadBytes(plain), std::uint16_t(orientation)));
    EXPECT_EQ(Misplaced(MustRead(path), orientation, kWidth, kHeight,
                        [&](int c, int r) { return Displayed(stored, c, r); }),
              0)
        << "orientation " << orientation;
  }
}

// PNG, TIFF and lossless WebP go through Qt's readers, then our copy lays each pixel on white.
TEST(ReadTest, QtReadFormatsGiveEveryPixelLaidOnWhite) {
  TempFolder folder;
  QImage source(61, 37, QImage::Format_ARGB32);  // opacity from 0 to 255 across
  for (int y = 0; y < 37; ++y) {
    for (int x = 0; x < 61; ++x) {
      source.setPixel(x, y, qRgba(4 * x, 7 * y, (13 * x * y) & 0xFF, 255 * x / 60));
    }
  }
  source.setPixel(30, 5, qRgba(200, 100, 50, 77));
  for (const char* format : {"png", "tiff", "webp"}) {
    SCOPED_TRACE(format);
    const QString path = folder.path(u"g."_s + QLatin1String(format));
    QImageWriter writer(path, format);
    writer.setQuality(100);  // lossless WebP
    ASSERT_TRUE(writer.write(source)) << writer.errorString().toStdString();
    const cDIBSection s = MustRead(path);
    ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(61, 37));
    int wrong = 0;
    for (int y = 0; y < 37; ++y) {
      for (int x = 0; x < 61; ++x) {
        const QRgb c = source.pixel(x, y);
        const std::uint32_t a = qAlpha(c);
        wrong += Displayed(s, x, y) != (OverWhite(qRed(c), a) << 16 | OverWhite(qGreen(c), a) << 8 |
                                        OverWhite(qBlue(c), a));
      }
    }
    EXPECT_EQ(wrong, 0);
    // 200·77/255 + 178 = 238.4, 100·77/255 + 178 = 208.2, 50·77/255 + 178 = 193.1
    EXPECT_EQ(Displayed(s, 30, 5), 0xEED0C1u);
  }
}

// Qt's reader applies a TIFF's orientation tag and ignores a WebP's EXIF chunk, which we apply;
// either way the photo is turned once.
TEST(ReadTest, TiffAndWebpOrientationTurnsThePhotoOnce) {
  TempFolder folder;
  constexpr int kWidth = 37, kHeight = 23;
  QImage source(kWidth, kHeight, QImage::Format_RGB32);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) source.setPixel(x, y, qRgb(4 * x, 7 * y, (13 * x * y) & 0xFF));
  }
  for (int orientation = 1; orientation <= 8; ++orientation) {
    for (const char* format : {"tiff", "webp"}) {
      SCOPED_TRACE(::testing::Message() << format << " orientation " << orientation);
      const QString path = folder.path(u"o."_s + QLatin1String(format));
      ASSERT_TRUE(source.save(path, format, 100));
      auto image = Exiv2::ImageFactory::open(path.toStdString());
      image->readMetadata();
      image->exifData()["Exif.Image.Orientation"] = std::uint16_t(orientation);
      image->writeMetadata();
      EXPECT_EQ(Misplaced(MustRead(path), orientation, kWidth, kHeight,
                          [&](int c, int r) { return source.pixel(c, r) & 0xFFFFFFu; }),
                0);
    }
  }
}

TEST(ReadTest, GifColoursAreExactAndItsTransparentIndexIsWhite) {
  TempFolder folder;
  const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x123456, 0x000000};
  const QString path = folder.path(u"little.gif"_s);
  WriteBytes(path, MakeGif(3, 2, colours, 3, {0, 1, 2, 3, 0, 1}));
  const cDIBSection s = MustRead(path);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(3, 2));
  const std::uint32_t shown[] = {0xFF0000, 0x00FF00, 0x123456, 0xFFFFFF, 0xFF0000, 0x00FF00};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Displayed(s, i % 3, i / 3), shown[i]) << i;
}

TEST(ReadTest, PlaceableWmfIsDrawnAt96DotsPerInch) {
  TempFolder folder;
  WmfRectangle picture;  // 2 x 1 inches, the rectangle over x 48 … 144, y 24 … 72 at 96 dpi
  const QString path = folder.path(u"clip.wmf"_s);
  WriteBytes(path, MakeWmf(picture));
  const cDIBSection s = MustRead(path);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(192, 96));
  for (const auto& [x, y, rgb] : {std::array<std::uint32_t, 3>{52, 28, 0xFF0000},
                                  {140, 68, 0xFF0000},
                                  {4, 4, 0xFFFFFF},
                                  {44, 48, 0xFFFFFF},
                                  {96, 76, 0xFFFFFF},
                                  {188, 92, 0xFFFFFF}}) {
    EXPECT_EQ(Displayed(s, std::int32_t(x), std::int32_t(y)), rgb) << x << ',' << y;
  }
  // Without the placeable header its page is what it draws, one unit a pixel: the 1000 x 500
  // rectangle (and half a unit of edge on each side).
  picture.placeable = false;
  picture.rgb = 0x2050C0;
  WriteBytes(path, MakeWmf(picture));
  const cDIBSection plain = MustRead(path);
  EXPECT_NEAR(plain.width(), 1000, 2);
  EXPECT_NEAR(plain.height(), 500, 2);
  EXPECT_EQ(Displayed(plain, plain.width() / 2, plain.height() / 2), 0x2050C0u);
}

// A JPEG's preview is decoded smaller, yet sized and turned as the whole photo reduced.
TEST(ReadTest, JpegPreviewDecodedSmallerStaysCloseToTheWholePhotoReduced) {
  TempFolder folder;
  const QString plain = folder.path(u"p.jpg"_s), turned = folder.path(u"turned.jpg"_s);
  QString error;
  ASSERT_TRUE(io::WriteJpeg(SmoothSurface(1601, 1203), plain, 95, error));
  WriteBytes(turned, WithExifOrientation(ReadBytes(plain), 6));
  for (const auto& [path, size] :
       {std::pair{plain, std::pair(200, 150)}, std::pair{turned, std::pair(113, 150)}}) {
    cDIBSection preview, reduced;
    ASSERT_TRUE(io::ReadPreview(path, 200, 150, preview, error)) << error.toStdString();
    ASSERT_EQ(std::pair(preview.width(), preview.height()), size);
    const cDIBSection whole = MustRead(path);
    ASSERT_TRUE(reduced.Create(size.first, size.second));
    SamplePreview(whole.view(), reduced);
    EXPECT_LE(MaxDifference(preview, reduced), 12);
  }
}

// Every pixel is libheif's own decode, rounded to 8 bits and laid on white. In the deep files
// rounding and a plain shift differ; the alpha ones fade to nearly transparent.
TEST(ReadTest, HeifPixelsAreLibheifsRoundedAndLaidOnWhite) {
  TempFolder folder;
  const struct {
    bool avif;
    int bits;
    bool alpha;
  } cases[] = {{false, 8, false}, {false, 8, true}, {false, 10, false}, {true, 12, true}};
  // Named for no format: the content says what it is.
  const QString path = folder.path(u"photo.dat"_s);
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << (c.avif ? "AVIF " : "HEIC ") << c.bits << " bits" << (c.alpha ? " alpha" : ""));
    const QByteArray file = MakeHeif({.avif = c.avif, .bits = c.bits, .alpha = c.alpha});
    ASSERT_FALSE(file.isEmpty());
    WriteBytes(path, file);
    const cDIBSection read = MustRead(path);
    const HeifPixels reference = DecodeWithLibheif(file, c.alpha, c.bits > 8);
    ASSERT_EQ(std::pair(read.width(), read.height()), std::pair(reference.width, reference.height));
    const double maximum = (1u << c.bits) - 1;
    const auto reduced = [maximum](std::uint32_t v) {
      return std::uint32_t(std::floor(v * 255.0 / maximum + 0.5));
    };
    int truncationDiffers = 0;
    for (std::int32_t y = 0; y < reference.height; ++y) {
      for (std::int32_t x = 0; x < reference.width; ++x) {
        const std::uint32_t a = c.alpha ? reduced(reference.at(x, y, 3)) : 255;
        std::uint32_t expected = 0;
        for (int k = 0; k < 3; ++k) {
          const std::uint32_t v = reference.at(x, y, k);
          truncationDiffers += reduced(v) != v >> (c.bits - 8);
          expected = expected << 8 | OverWhite(reduced(v), a);
        }
        ASSERT_EQ(Displayed(read, x, y), expected) << x << ',' << y;
      }
    }
    if (c.bits > 8) {
      EXPECT_GT(truncationDiffers, 100);
    }
    if (c.alpha) {
      EXPECT_LT(reference.at(36, 10, 3), maximum / 10);
    }
  }
}

// The turn is libheif's, done once: the stored picture shown as EXIF orientation 1 … 8 says.
TEST(ReadTest, HeifRotationAndMirrorStandThePhotoUpright) {
  TempFolder folder;
  const QString path = folder.path(u"photo.heic"_s);
  WriteBytes(path, MakeHeif({}));
  const cDIBSection stored = MustRead(path);
  for (int orientation = 2; orientation <= 8; ++orientation) {
    WriteBytes(path, MakeHeif({.orientation = orientation}));
    EXPECT_EQ(Misplaced(MustRead(path), orientation, 37, 21,
                        [&](int c, int r) { return Displayed(stored, c, r); }),
              0)
        << "orientation " << orientation;
  }
}

}  // namespace
}  // namespace fotavel::testing
