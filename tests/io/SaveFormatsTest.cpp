// Saving in every format: files read back, metadata carried, refusals, the old file kept, and the
// quality found for a size limit against a plain search.
#include <gtest/gtest.h>

#include <QColorSpace>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <random>

#include "JpegFiles.h"
#include "MetadataFiles.h"
#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "io/SaveFormats.h"
#include "support/FileSizeCap.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using io::EncodePicture;
using io::EncodeSettings;
using io::SaveFormat;
using io::WritePicture;

using namespace Qt::StringLiterals;

EncodeSettings Settings(SaveFormat format, int quality = 90, bool lossless = false) {
  return {.format = format, .quality = quality, .lossless = lossless};
}

QString NameFor(const QTemporaryDir& folder, const EncodeSettings& settings) {
  return folder.filePath(u"photo."_s + io::ExtensionFor(settings.format));
}

// The smooth test picture with noise of ±`amount` on each byte (fixed seed):
// what a camera's photo gives an encoder to chew on.
cDIBSection NoisyPhoto(std::int32_t width, std::int32_t height, int amount = 12) {
  cDIBSection s = SmoothSurface(width, height);
  std::mt19937 generator(20261207);
  std::uniform_int_distribution<int> noise(-amount, amount);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t i = 0; i < 3 * width; ++i) {
      s.row(y)[i] = std::uint8_t(std::clamp(s.row(y)[i] + noise(generator), 0, 255));
    }
  }
  return s;
}

double MeanAbsoluteDifference(const cDIBSection& a, const cDIBSection& b) {
  if (a.width() != b.width() || a.height() != b.height()) return 255;
  double sum = 0;
  for (std::int32_t y = 0; y < a.height(); ++y) {
    for (std::int32_t i = 0; i < 3 * a.width(); ++i) sum += std::abs(a.row(y)[i] - b.row(y)[i]);
  }
  return sum / (3.0 * a.width() * a.height());
}

// Each file on disk is the one encoded in memory (a BMP's too, which WriteBmp writes from the
// rows). Lossless files read back exactly at every padding; lossy ones close, by the mean error of
// a byte, on odd sizes that leave half a chroma block at the edges. A JPEG is TurboJPEG's own file
// (4:2:0, bottom-up rows); a WebP of quality 100 is still lossy (VP8, not VP8L).
TEST(SaveFormatsTest, EveryFormatReadsBackAsItsEncodedFile) {
  QTemporaryDir folder;
  const struct {
    EncodeSettings settings;
    double tolerance;  // of the mean error of a byte; 0: exact
  } kCases[] = {
      {Settings(SaveFormat::Png), 0},
      {Settings(SaveFormat::Tiff), 0},
      {Settings(SaveFormat::Webp, 70, true), 0},
      {Settings(SaveFormat::Bmp), 0},
      {Settings(SaveFormat::Jpeg, 45), 3.0},
      {Settings(SaveFormat::Jpeg, 100), 1.5},
      {Settings(SaveFormat::Webp, 100), 1.5},
      {Settings(SaveFormat::Avif, 90), 1.5},
      {Settings(SaveFormat::Avif, 45), 3.0},
  };
  for (const auto& [settings, tolerance] : kCases) {
    const QString path = NameFor(folder, settings);
    for (const Size size : {Size{1, 1}, Size{2, 3}, Size{5, 4}, Size{257, 3}, Size{301, 203}}) {
      if (tolerance > 0 && size.width != 301) continue;
      SCOPED_TRACE(::testing::Message() << path.toStdString() << ' ' << settings.quality << ' '
                                        << size.width << 'x' << size.height);
      const cDIBSection picture = tolerance > 0 ? SmoothSurface(size.width, size.height)
                                                : RandomSurface(size.width, size.height, 11);
      ASSERT_NO_THROW(WritePicture(picture, path, settings));
      const QByteArray bytes = ReadBytes(path);
      EXPECT_EQ(EncodePicture(picture, settings).ToBytes(), bytes);
      EXPECT_LE(MeanAbsoluteDifference(picture, MustRead(path)), tolerance);
      if (settings.format == SaveFormat::Jpeg) {
        EXPECT_EQ(bytes, EncodeJpeg(picture, false, settings.quality));
      }
      if (settings.format == SaveFormat::Webp) {
        EXPECT_EQ(bytes.mid(12, 4), settings.lossless ? "VP8L" : "VP8 ");
      }
    }
  }
}

// A camera photo saved in each format carries its EXIF (orientation 1, the upright size, no
// thumbnail, every other tag), XMP, IPTC where the format has room for it, and colour profile.
// The AVIF's are read back by the program's own reader and saved again as a JPEG, which exiv2
// then reads.
TEST(SaveFormatsTest, MetadataGoesIntoEveryFormat) {
  QTemporaryDir folder;
  const QString camera = folder.filePath(u"camera.jpg"_s);
  // A bare profile header that only exiv2 takes, and a working space's
  // profile that Qt's colour management understands as well.
  for (const QByteArray& icc : {IccProfile("RGB "), QColorSpace(QColorSpace::SRgb).iccProfile()}) {
    SCOPED_TRACE(icc.size());
    WriteCameraPhoto(camera, SmoothSurface(40, 30), 6, icc);
    io::PhotoMetadata metadata;
    const cDIBSection photo = io::ReadPicture(camera, &metadata);
    ASSERT_FALSE(metadata.empty());
    for (const EncodeSettings& settings :
         {Settings(SaveFormat::Jpeg), Settings(SaveFormat::Png), Settings(SaveFormat::Tiff),
          Settings(SaveFormat::Webp), Settings(SaveFormat::Webp, 90, true)}) {
      const QString path = folder.filePath(u"saved."_s + io::ExtensionFor(settings.format));
      ASSERT_NO_THROW(WritePicture(photo, path, settings, metadata));
      SCOPED_TRACE(path.toStdString());
      ExpectCarriedMetadata(camera, path, 30, 40, true, settings.format != SaveFormat::Webp);
      // Qt's own readers (libpng's, libwebp's) find the profile too.
      if (QColorSpace::fromIccProfile(icc).isValid()) {
        EXPECT_EQ(QImage(path).colorSpace().iccProfile(), icc);
      }
    }
    const QString avif = folder.filePath(u"saved.avif"_s);
    ASSERT_NO_THROW(WritePicture(photo, avif, Settings(SaveFormat::Avif), metadata));
    io::PhotoMetadata fromAvif;
    const cDIBSection back = io::ReadPicture(avif, &fromAvif);
    const QString again = folder.filePath(u"again.jpg"_s);
    ASSERT_NO_THROW(WritePicture(back, again, Settings(SaveFormat::Jpeg), fromAvif));
    ExpectCarriedMetadata(camera, again, 30, 40, true, false);
  }
}

// Refusals say why, name the path when writing, and leave no file (a search within a size has
// its own); a write that fails midway keeps the old file whole, whatever the format.
TEST(SaveFormatsTest, RefusalsAndFailuresLeaveTheOldFile) {
  QTemporaryDir folder;
  const cDIBSection small = SmoothSurface(3, 3), none;
  cDIBSection wideForWebp, wideForAvif;
  ASSERT_TRUE(wideForWebp.Create(16384, 1) && wideForAvif.Create(65537, 1));
  const struct {
    EncodeSettings settings;
    const cDIBSection& picture;
    QString reason;
    std::uint64_t withinBytes = 0;  // the limit given to EncodeWithinSize, if any
  } kCases[] = {
      {Settings(SaveFormat::Jpeg, 44), small, u"qualité JPEG 44 hors limites (de 45 à 100)"_s},
      {Settings(SaveFormat::Webp, 101), small, u"qualité WebP 101 hors limites (de 45 à 100)"_s},
      {Settings(SaveFormat::Png), none, u"aucune image à enregistrer"_s},
      {Settings(SaveFormat::Webp, 70), wideForWebp,
       u"image trop grande pour le format WebP (16384 x 1)"_s},
      {Settings(SaveFormat::Avif, 70), wideForAvif,
       u"image trop grande pour le format AVIF (65537 x 1)"_s},
      {Settings(SaveFormat::Jpeg), small,
       u"aucun fichier de 100 octets au plus, même d'un seul pixel"_s, 100},
      {Settings(SaveFormat::Png), small, u"le format PNG n'a pas de qualité à régler"_s, 100'000},
      {Settings(SaveFormat::Webp, 90, true), small, u"le format WebP n'a pas de qualité à régler"_s,
       100'000},
  };
  for (const auto& refused : kCases) {
    const io::FileError encoding = FileFailure([&] {
      if (refused.withinBytes > 0) {
        (void)io::EncodeWithinSize(refused.picture, refused.settings, refused.withinBytes);
      } else {
        (void)EncodePicture(refused.picture, refused.settings);
      }
    });
    EXPECT_EQ(std::tuple(encoding.text(), encoding.number(), encoding.path()),
              std::tuple(refused.reason, io::FileErrors::kWrite, QString()));
    if (refused.withinBytes > 0) continue;
    const QString path = NameFor(folder, refused.settings);
    const io::FileError writing =
        FileFailure([&] { WritePicture(refused.picture, path, refused.settings); });
    EXPECT_EQ(std::pair(writing.text(), writing.path()), std::pair(refused.reason, path));
    EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
  }
  // A picture larger than the memory budget allows for the encoder's copies.
  const std::uint64_t budget = io::SetPictureMemoryBudget(100'000);
  const io::FileError memory =
      FileFailure([&] { (void)EncodePicture(SmoothSurface(200, 100), Settings(SaveFormat::Png)); });
  io::SetPictureMemoryBudget(budget);
  EXPECT_EQ(memory.text(), u"mémoire insuffisante pour encoder l'image en PNG (200 x 100)"_s);

  const cDIBSection picture = RandomSurface(101, 67, 5);  // about 20 kB in every format
  for (const EncodeSettings& settings :
       {Settings(SaveFormat::Bmp), Settings(SaveFormat::Jpeg, 100), Settings(SaveFormat::Tiff),
        Settings(SaveFormat::Webp, 70, true), Settings(SaveFormat::Avif, 100)}) {
    const QString path = NameFor(folder, settings);
    WriteBytes(path, "an older photo, kept");
    QString failure;
    {
      const FileSizeCap cap(4096);
      failure = FileFailure([&] { WritePicture(picture, path, settings); }).text();
    }
    EXPECT_EQ(failure, u"fichier trop gros pour ce disque"_s) << path.toStdString();
    EXPECT_EQ(ReadBytes(path), "an older photo, kept") << path.toStdString();
  }
}

std::uint64_t SizeAt(const cDIBSection& picture, EncodeSettings settings, int quality) {
  settings.quality = quality;
  return EncodePicture(picture, settings).size();
}

// Each pixel of the halved picture is the rounded mean of its 2 x 2 block, or of what an odd last
// column or row leaves of it (displayed rows counted from the top).
cDIBSection PlainHalf(const cDIBSection& picture) {
  const std::int32_t width = picture.width(), height = picture.height();
  cDIBSection half;
  EXPECT_TRUE(half.Create((width + 1) / 2, (height + 1) / 2));
  for (std::int32_t top = 0; top < half.height(); ++top) {
    for (std::int32_t x = 0; x < half.width(); ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0, count = 0;
        for (std::int32_t v = 2 * top; v < std::min(2 * top + 2, height); ++v) {
          for (std::int32_t u = 2 * x; u < std::min(2 * x + 2, width); ++u) {
            sum += picture.row(height - 1 - v)[3 * u + c];
            ++count;
          }
        }
        half.row(half.height() - 1 - top)[3 * x + c] = std::uint8_t((sum + count / 2) / count);
      }
    }
  }
  return half;
}

// The plain answer: the picture halved until its lowest quality fits (how many times, what is
// left), then every quality from the highest down, the first whose file fits.
std::pair<int, cDIBSection> PlainHalvings(const cDIBSection& picture,
                                          const EncodeSettings& settings, std::uint64_t maxBytes) {
  std::pair<int, cDIBSection> plain(0, Copy(picture));
  for (; SizeAt(plain.second, settings, 45) > maxBytes; ++plain.first) {
    plain.second = PlainHalf(plain.second);
  }
  return plain;
}
int PlainQuality(const cDIBSection& picture, const EncodeSettings& settings,
                 std::uint64_t maxBytes) {
  int quality = settings.quality;
  while (quality > 45 && SizeAt(picture, settings, quality) > maxBytes) --quality;
  return quality;
}

// The file fits and the next quality up does not; under the lowest quality's size the picture is
// halved, each side rounded up. JPEG and AVIF files grow with the quality, so the answer is the
// plain search's, byte for byte; a WebP's size wobbles from one quality to the next, so bisection
// may stop below the highest quality that fits. A picture of 1024 rows or more has its sizes
// foreseen from strips, then confirmed on a few whole encodes.
TEST(EncodeWithinSizeTest, FitsAsClosedAsAPlainSearch) {
  const cDIBSection small = NoisyPhoto(161, 119), large = NoisyPhoto(1203, 1100);
  const cDIBSection rough = NoisyPhoto(301, 203, 40);
  const struct {
    const cDIBSection& picture;
    EncodeSettings settings;
  } kCases[] = {
      {small, Settings(SaveFormat::Jpeg, 100)}, {small, Settings(SaveFormat::Jpeg, 80)},
      {small, Settings(SaveFormat::Avif, 90)},  {small, Settings(SaveFormat::Webp, 100)},
      {rough, Settings(SaveFormat::Jpeg, 100)}, {large, Settings(SaveFormat::Jpeg, 85)},
      {large, Settings(SaveFormat::Webp, 95)},
  };
  int mostHalvings = 0;
  for (const auto& [picture, settings] : kCases) {
    const std::uint64_t lowest = SizeAt(picture, settings, 45),
                        middle = SizeAt(picture, settings, 70),
                        quarter = SizeAt(PlainHalf(PlainHalf(picture)), settings, 45);
    for (const std::uint64_t limit :
         {quarter + 10, lowest - 1, lowest, middle - 1, (lowest + middle) / 2, middle + 1,
          SizeAt(picture, settings, settings.quality)}) {
      SCOPED_TRACE(::testing::Message()
                   << io::ExtensionFor(settings.format).toStdString() << ' ' << picture.height()
                   << " rows, " << settings.quality << " within " << limit);
      const io::SizeFit fit = io::EncodeWithinSize(picture, settings, limit);
      const auto [halvings, plain] = PlainHalvings(picture, settings, limit);
      EXPECT_LE(fit.file.size(), limit);
      EXPECT_EQ(std::tuple(fit.halvings, fit.width, fit.height),
                std::tuple(halvings, plain.width(), plain.height()));
      EXPECT_EQ(fit.file.ToBytes(),
                EncodePicture(plain, Settings(settings.format, fit.quality)).ToBytes());
      if (fit.quality < settings.quality) {
        EXPECT_GT(SizeAt(plain, settings, fit.quality + 1), limit) << fit.quality;
      }
      if (settings.format != SaveFormat::Webp) {
        EXPECT_EQ(fit.quality, PlainQuality(plain, settings, limit));
      }
      EXPECT_LE(fit.fullSizeEncodes, picture.height() >= 1024 ? 5 : 6);
      mostHalvings = std::max(mostHalvings, fit.halvings);
    }
  }
  EXPECT_GE(mostHalvings, 2);
}

}  // namespace
}  // namespace fotavel::testing
