// Reading pictures: each format from files the tests make, exact where it is lossless, laid on
// white, turned upright by its recorded orientation.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cmath>
#include <exiv2/exiv2.hpp>
#include <functional>

#include "TestFiles.h"
#include "io/HeifFiles.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// A pixel laid on white as 0xRRGGBB: each channel c·α/255 + 255·(255 − α)/255, to nearest.
std::uint32_t OnWhite(QRgb pixel) {
  const auto over = [a = qAlpha(pixel)](int c) {
    return std::uint32_t(std::floor((c * a + 255.0 * (255 - a)) / 255.0 + 0.5));
  };
  return over(qRed(pixel)) << 16 | over(qGreen(pixel)) << 8 | over(qBlue(pixel));
}

// Pixels of `upright` other than the stored pixel that EXIF orientation `o` shows there (one more
// than there are when the size is wrong); `stored(c, r)` is the stored width x height picture's
// pixel at column c, row r from the top, as 0xRRGGBB.
int Misplaced(const cDIBSection& upright, int o, int width, int height,
              const std::function<std::uint32_t(int, int)>& stored) {
  const bool turned = o >= 5;
  if (upright.width() != (turned ? height : width) ||
      upright.height() != (turned ? width : height)) {
    return width * height + 1;
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
  QTemporaryDir folder;
  const cDIBSection picture = SmoothSurface(61, 37);
  for (const auto& [quality, tolerance] : {std::pair{45, 14}, std::pair{100, 4}}) {
    const QString path = folder.filePath(u"q%1.jpg"_s.arg(quality));
    ASSERT_NO_THROW(io::WriteJpeg(picture, path, quality));
    const cDIBSection back = MustRead(path);
    ASSERT_EQ(std::pair(back.width(), back.height()), std::pair(61, 37));
    EXPECT_LE(MaxDifference(picture, back), tolerance) << "quality " << quality;
  }
  // Odd sizes so that padding differs before and after a turn, and longer than one 64-pixel
  // tile of the transpose. The same compressed pixels decode alike whatever the tag says.
  constexpr int kWidth = 67, kHeight = 23;
  const QString plain = folder.filePath(u"plain.jpg"_s);
  ASSERT_NO_THROW(io::WriteJpeg(RandomSurface(kWidth, kHeight, 5), plain, 95));
  const cDIBSection stored = MustRead(plain);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const QString path = folder.filePath(u"turned.jpg"_s);
    WriteBytes(path, WithExifOrientation(ReadBytes(plain), std::uint16_t(orientation)));
    EXPECT_EQ(Misplaced(MustRead(path), orientation, kWidth, kHeight,
                        [&](int c, int r) { return Displayed(stored, c, r); }),
              0)
        << "orientation " << orientation;
  }
}

// PNG, TIFF and lossless WebP go through Qt's readers, then our copy lays each pixel on white. Qt
// applies a TIFF's orientation tag itself and ignores a WebP's EXIF, which we apply: either way
// the photo is turned once.
TEST(ReadTest, QtReadFormatsGiveEveryPixelLaidOnWhiteAndUpright) {
  QTemporaryDir folder;
  constexpr int kWidth = 61, kHeight = 37;
  QImage source(kWidth, kHeight, QImage::Format_ARGB32);  // opacity from 0 to 255 across
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      source.setPixel(x, y, qRgba(4 * x, 7 * y, (13 * x * y) & 0xFF, 255 * x / (kWidth - 1)));
    }
  }
  source.setPixel(30, 5, qRgba(200, 100, 50, 77));
  for (const char* format : {"png", "tiff", "webp"}) {
    for (int orientation = 1; orientation <= (qstrcmp(format, "png") == 0 ? 1 : 8); ++orientation) {
      SCOPED_TRACE(::testing::Message() << format << " orientation " << orientation);
      const QString path = folder.filePath(u"g."_s + QLatin1String(format));
      ASSERT_TRUE(source.save(path, format, 100));  // 100: a lossless WebP
      if (orientation > 1) {
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        image->exifData()["Exif.Image.Orientation"] = std::uint16_t(orientation);
        image->writeMetadata();
      }
      const cDIBSection s = MustRead(path);
      EXPECT_EQ(Misplaced(s, orientation, kWidth, kHeight,
                          [&](int c, int r) { return OnWhite(source.pixel(c, r)); }),
                0);
      if (orientation == 1) {
        // 200·77/255 + 178 = 238.4, 100·77/255 + 178 = 208.2, 50·77/255 + 178 = 193.1
        EXPECT_EQ(Displayed(s, 30, 5), 0xEED0C1u);
      }
    }
  }
}

TEST(ReadTest, GifColoursAreExactAndItsTransparentIndexIsWhite) {
  QTemporaryDir folder;
  const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x123456, 0x000000};
  const QString path = folder.filePath(u"little.gif"_s);
  WriteBytes(path, MakeGif(3, 2, colours, 3, {0, 1, 2, 3, 0, 1}));
  const cDIBSection s = MustRead(path);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(3, 2));
  const std::uint32_t shown[] = {0xFF0000, 0x00FF00, 0x123456, 0xFFFFFF, 0xFF0000, 0x00FF00};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Displayed(s, i % 3, i / 3), shown[i]) << i;
}

TEST(ReadTest, PlaceableWmfIsDrawnAt96DotsPerInch) {
  QTemporaryDir folder;
  WmfRectangle picture;  // 2 x 1 inches, the rectangle over x 48 … 144, y 24 … 72 at 96 dpi
  const QString path = folder.filePath(u"clip.wmf"_s);
  WriteBytes(path, MakeWmf(picture));
  const cDIBSection s = MustRead(path);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(192, 96));
  const std::int32_t shown[][3] = {{52, 28, 0xFF0000}, {140, 68, 0xFF0000}, {4, 4, 0xFFFFFF},
                                   {44, 48, 0xFFFFFF}, {96, 76, 0xFFFFFF},  {188, 92, 0xFFFFFF}};
  for (const auto& [x, y, rgb] : shown)
    EXPECT_EQ(Displayed(s, x, y), std::uint32_t(rgb)) << x << ',' << y;
}

// Every pixel is libheif's own decode, turned by the file's rotation and mirror boxes, rounded to
// 8 bits and laid on white. The turn is libheif's and done once. In the deep files rounding and a
// plain shift differ; the alpha ones fade to nearly transparent.
TEST(ReadTest, HeifPixelsAreLibheifsUprightRoundedAndLaidOnWhite) {
  QTemporaryDir folder;
  const struct {
    bool avif;
    int bits;
    bool alpha;
    int orientation;
  } cases[] = {{false, 8, false, 1}, {false, 8, true, 2},  {false, 10, false, 3},
               {false, 8, false, 4}, {false, 8, false, 5}, {false, 10, true, 6},
               {false, 8, false, 7}, {true, 12, true, 8}};  // libheif mirrors only 8-bit pictures
  // Named for no format: the content says what it is.
  const QString path = folder.filePath(u"photo.dat"_s);
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << (c.avif ? "AVIF " : "HEIC ") << c.bits << " bits" << (c.alpha ? " alpha" : "")
                 << " orientation " << c.orientation);
    const QByteArray file =
        MakeHeif({.avif = c.avif, .bits = c.bits, .alpha = c.alpha, .orientation = c.orientation});
    WriteBytes(path, file);
    const HeifPixels reference = DecodeWithLibheif(file, c.alpha, c.bits > 8);
    ASSERT_EQ(reference.width, c.orientation >= 5 ? 21 : 37);
    const double maximum = (1u << c.bits) - 1;
    int truncationDiffers = 0, faintest = 255;
    const auto reduced = [&](int x, int y, int k) -> int {
      const std::uint32_t v = reference.at(x, y, k);
      const auto rounded = int(std::floor(v * 255.0 / maximum + 0.5));
      truncationDiffers += rounded != int(v >> (c.bits - 8));
      if (k == 3) faintest = std::min(faintest, rounded);
      return rounded;
    };
    EXPECT_EQ(Misplaced(MustRead(path), 1, reference.width, reference.height,
                        [&](int x, int y) {
                          return OnWhite(qRgba(reduced(x, y, 0), reduced(x, y, 1), reduced(x, y, 2),
                                               c.alpha ? reduced(x, y, 3) : 255));
                        }),
              0);
    if (c.bits > 8) {
      EXPECT_GT(truncationDiffers, 100);
    }
    if (c.alpha) {
      EXPECT_LT(faintest, 26);
    }
  }
}

}  // namespace
}  // namespace fotavel::testing
