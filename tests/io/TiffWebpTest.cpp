// TIFF and WebP: pixels as Qt's own reader gives them, laid on white, turned upright once,
// 16-bit channels rounded, CMYK, pages.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cmath>
#include <exiv2/exiv2.hpp>

#include "TestFiles.h"
#include "io/PictureFiles.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// What Qt's own reader makes of `path`, turned as Qt turns it.
QImage QtReading(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QImage read = reader.read();
  EXPECT_FALSE(read.isNull()) << reader.errorString().toStdString();
  return read;
}

// `image` (straight alpha) over white, each channel c·α/255 + 255·(1 − α/255)
// rounded to nearest.
QImage OnWhite(const QImage& image) {
  QImage white(image.size(), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      const double a = qAlpha(c) / 255.0;
      const auto over = [a](int v) { return int(std::lround(v * a + 255 * (1 - a))); };
      white.setPixel(x, y, qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c))));
    }
  }
  return white;
}

// Pixels of `s` that differ from `image` (every one when the sizes differ).
int Differences(const cDIBSection& s, const QImage& image) {
  if (s.width() != image.width() || s.height() != image.height()) return s.width() * s.height() + 1;
  int wrong = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool differs = Displayed(s, x, y) != (image.pixel(x, y) & 0xFFFFFFu);
      if (differs && wrong++ == 0) {
        ADD_FAILURE() << "first difference at " << x << ',' << y << ": " << std::hex
                      << Displayed(s, x, y) << " against " << image.pixel(x, y);
      }
    }
  }
  return wrong;
}

// An asymmetric gradient; with `alpha`, opacity running from 0 to 255 across it.
QImage Gradient(int width, int height, bool alpha) {
  QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int a = alpha ? 255 * x / (width - 1) : 255;
      image.setPixel(x, y, qRgba(4 * x, 7 * y, (13 * x * y) & 0xFF, a));
    }
  }
  return image;
}

QString Save(const TempFolder& folder, const QString& name, const QImage& image,
             const char* format) {
  const QString path = folder.path(name);
  QImageWriter writer(path, format);
  writer.setQuality(100);  // lossless WebP
  EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
  return path;
}

QByteArray Le16(std::initializer_list<std::uint16_t> values) {
  QByteArray b;
  for (std::uint16_t v : values) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
  }
  return b;
}

TEST(TiffWebpTest, LosslessFilesReadBackTheirPixelsLaidOnWhite) {
  TempFolder folder;
  for (const bool alpha : {false, true}) {
    QImage source = Gradient(61, 37, alpha);
    if (alpha) {
      source.setPixel(30, 5, qRgba(200, 100, 50, 77));
      source.setPixel(0, 0, qRgba(10, 20, 30, 0));
    }
    for (const char* format : {"tiff", "webp"}) {
      const QString path =
          Save(folder, u"g%1.%2"_s.arg(alpha).arg(QLatin1String(format)), source, format);
      const cDIBSection s = MustRead(path);
      SCOPED_TRACE(std::string(format) + (alpha ? " with alpha" : " opaque"));
      // Lossless: the file holds the source's values, and Qt reads them back.
      EXPECT_EQ(Differences(s, OnWhite(source)), 0);
      if (!alpha) {
        EXPECT_EQ(Differences(s, QtReading(path)), 0);
        continue;
      }
      // 200·77/255 + 178 = 238.4, 100·77/255 + 178 = 208.2, 50·77/255 + 178 = 193.1
      EXPECT_EQ(Displayed(s, 30, 5), 0xEED0C1u);
      EXPECT_EQ(Displayed(s, 0, 0), 0xFFFFFFu);
    }
  }
}

TEST(TiffWebpTest, RecordedOrientationTurnsThePhotoOnce) {
  TempFolder folder;
  constexpr int kWidth = 37, kHeight = 23;
  const QImage source = Gradient(kWidth, kHeight, false);
  QByteArray rgb;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const QRgb c = source.pixel(x, y);
      rgb.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
  }
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE("orientation " + std::to_string(orientation));
    // TIFF: the baseline tag, which Qt's reader applies.
    const QString tiff = folder.path(u"o%1.tif"_s.arg(orientation));
    WriteBytes(tiff, MakeTiff({{kWidth, kHeight, 3, 8, 2, std::uint16_t(orientation), 0, rgb}}));
    // WebP: an EXIF chunk added by exiv2, which Qt's reader ignores.
    const QString webp = Save(folder, u"o%1.webp"_s.arg(orientation), source, "webp");
    auto image = Exiv2::ImageFactory::open(webp.toStdString());
    image->readMetadata();
    image->exifData()["Exif.Image.Orientation"] = std::uint16_t(orientation);
    image->writeMetadata();

    for (const QString& path : {tiff, webp}) {
      const cDIBSection s = MustRead(path);
      const bool turned = orientation >= 5;
      ASSERT_EQ(s.width(), turned ? kHeight : kWidth);
      ASSERT_EQ(s.height(), turned ? kWidth : kHeight);
      int wrong = 0;
      for (int r = 0; r < kHeight; ++r) {
        for (int c = 0; c < kWidth; ++c) {
          const auto [x, y] = ShownAt(orientation, c, r, kWidth, kHeight);
          wrong += Displayed(s, x, y) != (source.pixel(c, r) & 0xFFFFFFu);
        }
      }
      EXPECT_EQ(wrong, 0) << path.toStdString();
    }
  }
}

TEST(TiffWebpTest, GreyAndSixteenBitChannelsRoundToNearest) {
  TempFolder folder;
  // v·255/65535 = v/257: 128 → 0.498, 129 → 0.502, 32767 → 127.498, 32768 → 127.502.
  const QString grey16 = folder.path(u"grey16.tif"_s);
  WriteBytes(grey16, MakeTiff({{6, 1, 1, 16, 1, 0, 0, Le16({0, 128, 129, 32767, 32768, 65535})}}));
  const cDIBSection g = MustRead(grey16);
  const std::uint32_t greys[] = {0x000000, 0x000000, 0x010101, 0x7F7F7F, 0x808080, 0xFFFFFF};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(Displayed(g, x, 0), greys[x]) << x;

  const QString rgb16 = folder.path(u"rgb16.tif"_s);
  WriteBytes(rgb16, MakeTiff({{2, 1, 3, 16, 2, 0, 0, Le16({128, 129, 32767, 32768, 65535, 0})}}));
  const cDIBSection c = MustRead(rgb16);
  EXPECT_EQ(Displayed(c, 0, 0), 0x00017Fu);
  EXPECT_EQ(Displayed(c, 1, 0), 0x80FF00u);

  const QString grey8 = folder.path(u"grey8.tif"_s);
  WriteBytes(grey8, MakeTiff({{3, 1, 1, 8, 1, 0, 0, QByteArray("\x00\x80\xFF", 3)}}));
  const cDIBSection g8 = MustRead(grey8);
  EXPECT_EQ(Displayed(g8, 0, 0), 0x000000u);
  EXPECT_EQ(Displayed(g8, 1, 0), 0x808080u);
  EXPECT_EQ(Displayed(g8, 2, 0), 0xFFFFFFu);
}

TEST(TiffWebpTest, CmykIsConvertedAtEightBitsAndRefusedAtSixteen) {
  TempFolder folder;
  const QString cmyk8 = folder.path(u"cmyk8.tif"_s);
  WriteBytes(cmyk8, MakeTiff({{4, 1, 4, 8, 5, 0, 0,
                               QByteArray::fromHex("00000000 ff000000 000000ff 4080c020")}}));
  const cDIBSection s = MustRead(cmyk8);
  EXPECT_EQ(Displayed(s, 0, 0), 0xFFFFFFu);  // no ink
  EXPECT_EQ(Displayed(s, 1, 0), 0x00FFFFu);  // cyan
  EXPECT_EQ(Displayed(s, 2, 0), 0x000000u);  // black
  EXPECT_EQ(Differences(s, QtReading(cmyk8)), 0);

  const QString cmyk16 = folder.path(u"cmyk16.tif"_s);
  WriteBytes(cmyk16, MakeTiff({{2, 1, 4, 16, 5, 0, 0, QByteArray(16, '\x10')}}));
  cDIBSection out;
  QString error;
  EXPECT_FALSE(io::ReadPicture(cmyk16, out, error));
  EXPECT_EQ(error,
            u"fichier TIFF en CMJN sur 16 bits : ce mode de couleurs n'est pas pris en "
            u"charge"_s);
}

TEST(TiffWebpTest, MultiPageTiffOpensItsFirstPage) {
  TempFolder folder;
  const QString path = folder.path(u"pages.tif"_s);
  WriteBytes(path, MakeTiff({{3, 2, 3, 8, 2, 0, 0,
                              QByteArray::fromHex("ff0000 00ff00 0000ff"
                                                  "102030 405060 708090")},
                             {5, 4, 3, 8, 2, 0, 0, QByteArray(60, '\x55')}}));
  const cDIBSection s = MustRead(path);
  ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(3, 2));
  EXPECT_EQ(Displayed(s, 0, 0), 0xFF0000u);
  EXPECT_EQ(Displayed(s, 2, 0), 0x0000FFu);
  EXPECT_EQ(Displayed(s, 2, 1), 0x708090u);
}

}  // namespace
}  // namespace fotavel::testing
