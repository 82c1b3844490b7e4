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

// Pixels of `s` that differ from `image` laid on white, each channel c·α/255 + 255·(1 − α/255)
// rounded (every one when the sizes differ).
int DifferencesOnWhite(const cDIBSection& s, const QImage& image) {
  if (s.width() != image.width() || s.height() != image.height()) return s.width() * s.height() + 1;
  int wrong = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      const double a = qAlpha(c) / 255.0;
      const auto over = [a](int v) { return std::uint32_t(std::lround(v * a + 255 * (1 - a))); };
      const std::uint32_t want = over(qRed(c)) << 16 | over(qGreen(c)) << 8 | over(qBlue(c));
      if (Displayed(s, x, y) != want && wrong++ == 0) {
        ADD_FAILURE() << "first difference at " << x << ',' << y << ": " << std::hex
                      << Displayed(s, x, y) << " against " << want;
      }
    }
  }
  return wrong;
}

// An asymmetric gradient; with `alpha`, opacity running from 0 to 255 across it.
QImage Gradient(int width, int height, bool alpha) {
  QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y,
                     qRgba(4 * x, 7 * y, (13 * x * y) & 0xFF, alpha ? 255 * x / (width - 1) : 255));
  return image;
}

QString Save(const TempFolder& folder, const QString& name, const QImage& image,
             const char* format) {
  QImageWriter writer(folder.path(name), format);
  writer.setQuality(100);  // lossless WebP
  EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
  return folder.path(name);
}

QByteArray Le16(std::initializer_list<std::uint16_t> values) {
  QByteArray b;
  for (std::uint16_t v : values) b.append(char(v & 0xFF)).append(char(v >> 8));
  return b;
}

TEST(TiffWebpTest, LosslessFilesReadBackTheirPixelsLaidOnWhite) {
  TempFolder folder;
  for (const bool alpha : {false, true}) {
    QImage source = Gradient(61, 37, alpha);
    source.setPixel(30, 5, qRgba(200, 100, 50, alpha ? 77 : 255));
    for (const char* format : {"tiff", "webp"}) {
      SCOPED_TRACE(std::string(format) + (alpha ? " with alpha" : " opaque"));
      const QString path =
          Save(folder, u"g%1.%2"_s.arg(alpha).arg(QLatin1String(format)), source, format);
      const cDIBSection s = MustRead(path);
      EXPECT_EQ(DifferencesOnWhite(s, source), 0);
      // 200·77/255 + 178 = 238.4, 100·77/255 + 178 = 208.2, 50·77/255 + 178 = 193.1
      if (alpha) {
        EXPECT_EQ(Displayed(s, 30, 5), 0xEED0C1u);
      }
    }
  }
}

// Qt's reader applies a TIFF's orientation tag and ignores a WebP's EXIF chunk; either way the
// photo is turned once.
TEST(TiffWebpTest, RecordedOrientationTurnsThePhotoOnce) {
  TempFolder folder;
  constexpr int kWidth = 37, kHeight = 23;
  const QImage source = Gradient(kWidth, kHeight, false);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    for (const char* format : {"tiff", "webp"}) {
      SCOPED_TRACE(::testing::Message() << format << " orientation " << orientation);
      const QString path =
          Save(folder, u"o%1.%2"_s.arg(orientation).arg(QLatin1String(format)), source, format);
      auto image = Exiv2::ImageFactory::open(path.toStdString());
      image->readMetadata();
      image->exifData()["Exif.Image.Orientation"] = std::uint16_t(orientation);
      image->writeMetadata();
      const cDIBSection s = MustRead(path);
      ASSERT_EQ(std::pair(s.width(), s.height()),
                orientation >= 5 ? std::pair(kHeight, kWidth) : std::pair(kWidth, kHeight));
      int wrong = 0;
      for (int r = 0; r < kHeight; ++r) {
        for (int c = 0; c < kWidth; ++c) {
          const auto [x, y] = ShownAt(orientation, c, r, kWidth, kHeight);
          wrong += Displayed(s, x, y) != (source.pixel(c, r) & 0xFFFFFFu);
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

// Samples are rounded to nearest: v·255/65535 = v/257, so 128 → 0.498, 129 → 0.502,
// 32767 → 127.498, 32768 → 127.502. CMYK at 8 bits is inverted ink; a second page is ignored.
TEST(TiffWebpTest, GreyDeepCmykAndPagedTiffsShowTheirFirstPageExactly) {
  TempFolder folder;
  const struct {
    const char* name;
    std::vector<TiffPage> pages;
    std::vector<std::uint32_t> shown;  // top row first
  } cases[] = {
      {"grey16",
       {{6, 1, 1, 16, 1, 0, 0, Le16({0, 128, 129, 32767, 32768, 65535})}},
       {0x000000, 0x000000, 0x010101, 0x7F7F7F, 0x808080, 0xFFFFFF}},
      {"rgb16",
       {{2, 1, 3, 16, 2, 0, 0, Le16({128, 129, 32767, 32768, 65535, 0})}},
       {0x00017F, 0x80FF00}},
      {"grey8",
       {{3, 1, 1, 8, 1, 0, 0, QByteArray("\x00\x80\xFF", 3)}},
       {0x000000, 0x808080, 0xFFFFFF}},
      // No ink, cyan, black, and a mix: (255 − 64)·(255 − 32)/255 = 167.0 …
      {"cmyk8",
       {{4, 1, 4, 8, 5, 0, 0, QByteArray::fromHex("00000000 ff000000 000000ff 4080c020")}},
       {0xFFFFFF, 0x00FFFF, 0x000000, 0xA76F37}},
      {"pages",
       {{3, 2, 3, 8, 2, 0, 0, QByteArray::fromHex("ff0000 00ff00 0000ff 102030 405060 708090")},
        {5, 4, 3, 8, 2, 0, 0, QByteArray(60, '\x55')}},
       {0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0x405060, 0x708090}},
  };
  for (const auto& c : cases) {
    const QString path = folder.path(QLatin1String(c.name) + u".tif"_s);
    WriteBytes(path, MakeTiff(c.pages));
    const cDIBSection s = MustRead(path);
    const std::int32_t width = c.pages[0].width;
    ASSERT_EQ(std::pair(s.width(), s.height()), std::pair(width, int(c.shown.size()) / width))
        << c.name;
    for (std::size_t i = 0; i < c.shown.size(); ++i)
      EXPECT_EQ(Displayed(s, int(i) % width, int(i) / width), c.shown[i]) << c.name << ' ' << i;
  }

  const QString cmyk16 = folder.path(u"cmyk16.tif"_s);
  WriteBytes(cmyk16, MakeTiff({{2, 1, 4, 16, 5, 0, 0, QByteArray(16, '\x10')}}));
  cDIBSection out;
  QString error;
  EXPECT_FALSE(io::ReadPicture(cmyk16, out, error));
  EXPECT_EQ(error,
            u"fichier TIFF en CMJN sur 16 bits : ce mode de couleurs n'est pas pris en charge"_s);
}

}  // namespace
}  // namespace fotavel::testing
