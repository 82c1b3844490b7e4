// Saving in every format: files read back, metadata carried, refusals, the old file kept, and the
// quality found for a size limit against a plain search.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <QColorSpace>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <random>

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
  EncodeSettings settings;
  settings.format = format;
  settings.quality = quality;
  settings.lossless = lossless;
  return settings;
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
  EXPECT_EQ(a.width(), b.width());
  EXPECT_EQ(a.height(), b.height());
  if (a.width() != b.width() || a.height() != b.height()) return 255;
  double sum = 0;
  for (std::int32_t y = 0; y < a.height(); ++y) {
    for (std::int32_t i = 0; i < 3 * a.width(); ++i) sum += std::abs(a.row(y)[i] - b.row(y)[i]);
  }
  return sum / (3.0 * a.width() * a.height());
}

QStringList Entries(const QTemporaryDir& folder) {
  return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(SaveFormatsTest, NamesExtensionsAndQualities) {
  const struct {
    const char* name;
    bool known;
    SaveFormat format;
    bool lossless;
    bool hasQuality;
    const char* extension;
  } kTable[] = {
      {"a.bmp", true, SaveFormat::Bmp, false, false, "bmp"},
      {"dossier.v2/Photo.JPG", true, SaveFormat::Jpeg, false, true, "jpg"},
      {"b.jpeg", true, SaveFormat::Jpeg, true, true, "jpg"},
      {"c.Png", true, SaveFormat::Png, false, false, "png"},
      {"d.webp", true, SaveFormat::Webp, false, true, "webp"},
      {"d.WEBP", true, SaveFormat::Webp, true, false, "webp"},
      {"e.avif", true, SaveFormat::Avif, false, true, "avif"},
      {"f.tif", true, SaveFormat::Tiff, false, false, "tif"},
      {"g.TIFF", true, SaveFormat::Tiff, false, false, "tif"},
      {"h.gif", false, SaveFormat::Jpeg, false, true, ""},
      {"photo", false, SaveFormat::Jpeg, false, true, ""},
      {"dossier.png/photo", false, SaveFormat::Jpeg, false, true, ""},
  };
  for (const auto& row : kTable) {
    SaveFormat format = SaveFormat::Jpeg;
    EXPECT_EQ(io::FormatForName(QString::fromUtf8(row.name), format), row.known) << row.name;
    EXPECT_EQ(format, row.format) << row.name;
    EXPECT_EQ(io::HasQuality(Settings(format, 70, row.lossless)), row.hasQuality) << row.name;
    if (row.known) {
      EXPECT_EQ(io::ExtensionFor(format), QLatin1String(row.extension)) << row.name;
    }
  }
}

TEST(SaveFormatsTest, LosslessFormatsReadBackExactlyForEveryPadding) {
  QTemporaryDir folder;
  for (const EncodeSettings& settings :
       {Settings(SaveFormat::Png), Settings(SaveFormat::Tiff), Settings(SaveFormat::Webp, 70, true),
        Settings(SaveFormat::Bmp)}) {
    const QString path = folder.filePath(u"photo."_s + io::ExtensionFor(settings.format));
    for (const Size size :
         {Size{1, 1}, Size{2, 3}, Size{3, 5}, Size{5, 4}, Size{257, 3}, Size{301, 203}}) {
      const cDIBSection picture = RandomSurface(size.width, size.height, 11 + size.height);
      ASSERT_NO_THROW(WritePicture(picture, path, settings)) << path.toStdString();
      const cDIBSection back = MustRead(path);
      if (settings.format == SaveFormat::Webp) {
        EXPECT_EQ(ReadBytes(path).mid(12, 4), "VP8L");
      }
      // The file in memory is the one on disk, a BMP's too (which WriteBmp
      // writes from the rows, never holding it whole).
      EXPECT_EQ(EncodePicture(picture, settings).ToBytes(), ReadBytes(path));
      EXPECT_TRUE(SamePixels(picture, back))
          << path.toStdString() << ' ' << size.width << 'x' << size.height << ": "
          << FirstDifference(picture, back);
    }
  }
  EXPECT_EQ(Entries(folder),
            (QStringList{u"photo.bmp"_s, u"photo.png"_s, u"photo.tif"_s, u"photo.webp"_s}));
}

// Lossy files come back close to the picture: the mean error of each byte,
// on a smooth picture whose odd sizes leave half a chroma block at the edges.
TEST(SaveFormatsTest, LossyFormatsReadBackClose) {
  QTemporaryDir folder;
  const cDIBSection picture = SmoothSurface(301, 203);
  const struct {
    EncodeSettings settings;
    double tolerance;
  } kCases[] = {
      {Settings(SaveFormat::Jpeg, 90), 1.5},  {Settings(SaveFormat::Webp, 90), 1.5},
      {Settings(SaveFormat::Webp, 100), 1.5}, {Settings(SaveFormat::Avif, 90), 1.5},
      {Settings(SaveFormat::Avif, 45), 3.0},
  };
  for (const auto& [settings, tolerance] : kCases) {
    const QString path = folder.filePath(u"photo."_s + io::ExtensionFor(settings.format));
    ASSERT_NO_THROW(WritePicture(picture, path, settings)) << path.toStdString();
    const double difference = MeanAbsoluteDifference(picture, MustRead(path));
    EXPECT_LE(difference, tolerance) << path.toStdString() << " at " << settings.quality;
    // The file on disk is the encoded file, byte for byte; a WebP of quality
    // 100 is lossy all the same (VP8, not the lossless VP8L).
    const QByteArray bytes = ReadBytes(path);
    EXPECT_EQ(bytes, EncodePicture(picture, settings).ToBytes()) << path.toStdString();
    if (settings.format == SaveFormat::Webp) {
      EXPECT_EQ(bytes.mid(12, 4), "VP8 ");
    }
  }
}

// Without metadata, a JPEG is the encoder's own output for the surface at the
// same settings (4:2:0, bottom-up rows), nothing added or lost.
TEST(SaveFormatsTest, JpegIsTheEncodersOwnFile) {
  const cDIBSection picture = NoisyPhoto(257, 31);
  for (const int quality : {45, 80, 100}) {
    tjhandle encoder = tjInitCompress();
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(encoder, picture.DIBSectionBitsPtr(), picture.width(),
                          picture.BytesPerScanLine(), picture.height(), TJPF_BGR, &bytes, &size,
                          TJSAMP_420, quality, TJFLAG_BOTTOMUP),
              0);
    const QByteArray reference(reinterpret_cast<const char*>(bytes), qsizetype(size));
    tjFree(bytes);
    tjDestroy(encoder);
    EXPECT_EQ(EncodePicture(picture, Settings(SaveFormat::Jpeg, quality)).ToBytes(), reference)
        << quality;
  }
}

// A camera photo saved in each format carries its EXIF (orientation 1, the
// upright size, no thumbnail, every other tag), XMP, IPTC where the format
// has room for it, and colour profile. The AVIF's are read back by the
// program's own reader and saved again as a JPEG, which exiv2 then reads.
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
    ASSERT_EQ(photo.width(), 30);
    for (const EncodeSettings& settings :
         {Settings(SaveFormat::Jpeg), Settings(SaveFormat::Png), Settings(SaveFormat::Tiff),
          Settings(SaveFormat::Webp), Settings(SaveFormat::Webp, 90, true)}) {
      const QString path = folder.filePath(u"saved."_s + io::ExtensionFor(settings.format));
      ASSERT_NO_THROW(WritePicture(photo, path, settings, metadata));
      SCOPED_TRACE(path.toStdString());
      ExpectCarriedMetadata(camera, path, 30, 40, true, settings.format != SaveFormat::Webp);
      // The pixels are still read as they were written.
      if (!io::HasQuality(settings)) {
        EXPECT_TRUE(SamePixels(photo, MustRead(path)));
      }
      // Qt's own readers (libpng's, libwebp's) find the profile too.
      if (QColorSpace::fromIccProfile(icc).isValid()) {
        EXPECT_EQ(QImage(path).colorSpace().iccProfile(), icc);
      }
    }
    const QString avif = folder.filePath(u"saved.avif"_s);
    ASSERT_NO_THROW(WritePicture(photo, avif, Settings(SaveFormat::Avif), metadata));
    io::PhotoMetadata fromAvif;
    const cDIBSection back = io::ReadPicture(avif, &fromAvif);
    ASSERT_FALSE(fromAvif.empty());
    const QString again = folder.filePath(u"again.jpg"_s);
    ASSERT_NO_THROW(WritePicture(back, again, Settings(SaveFormat::Jpeg), fromAvif));
    ExpectCarriedMetadata(camera, again, 30, 40, true, false);
  }
}

TEST(SaveFormatsTest, RefusalsSayWhyNameThePathAndLeaveNoFile) {
  QTemporaryDir folder;
  const cDIBSection small = SmoothSurface(3, 3);
  cDIBSection wideForWebp, wideForAvif;
  ASSERT_TRUE(wideForWebp.Create(16384, 1) && wideForAvif.Create(65537, 1));
  const struct {
    SaveFormat format;
    int quality;
    const cDIBSection* picture;
    QString reason;
  } kCases[] = {
      {SaveFormat::Jpeg, 44, &small, u"qualité JPEG 44 hors limites (de 45 à 100)"_s},
      {SaveFormat::Webp, 101, &small, u"qualité WebP 101 hors limites (de 45 à 100)"_s},
      {SaveFormat::Avif, 0, &small, u"qualité AVIF 0 hors limites (de 45 à 100)"_s},
      {SaveFormat::Png, 0, nullptr, u"aucune image à enregistrer"_s},
      {SaveFormat::Tiff, 0, nullptr, u"aucune image à enregistrer"_s},
      {SaveFormat::Webp, 70, nullptr, u"aucune image à enregistrer"_s},
      {SaveFormat::Avif, 70, nullptr, u"aucune image à enregistrer"_s},
      {SaveFormat::Webp, 70, &wideForWebp, u"image trop grande pour le format WebP (16384 x 1)"_s},
      {SaveFormat::Avif, 70, &wideForAvif, u"image trop grande pour le format AVIF (65537 x 1)"_s},
  };
  const cDIBSection none;
  for (const auto& refused : kCases) {
    const EncodeSettings settings = Settings(refused.format, refused.quality);
    const cDIBSection& picture = refused.picture != nullptr ? *refused.picture : none;
    const io::FileError encoding = FileFailure([&] { (void)EncodePicture(picture, settings); });
    EXPECT_EQ(encoding.text(), refused.reason);
    EXPECT_EQ(encoding.number(), io::FileErrors::kWrite);
    EXPECT_TRUE(encoding.path().isEmpty());
    const QString path = folder.filePath(u"photo."_s + io::ExtensionFor(refused.format));
    const io::FileError writing = FileFailure([&] { WritePicture(picture, path, settings); });
    EXPECT_EQ(writing.text(), refused.reason);
    EXPECT_EQ(writing.path(), path);
  }
  // A picture larger than the memory budget allows for the encoder's copies.
  const std::uint64_t budget = io::SetPictureMemoryBudget(100'000);
  const cDIBSection photo = SmoothSurface(200, 100);
  const io::FileError memory =
      FileFailure([&] { (void)EncodePicture(photo, Settings(SaveFormat::Png)); });
  io::SetPictureMemoryBudget(budget);
  EXPECT_EQ(memory.text(), u"mémoire insuffisante pour encoder l'image en PNG (200 x 100)"_s);
  EXPECT_TRUE(Entries(folder).isEmpty()) << Entries(folder).join(u' ').toStdString();
}

TEST(SaveFormatsTest, SaveKeepsOldFileWhenTheDiskFillsUpMidway) {
  QTemporaryDir folder;
  const cDIBSection picture = RandomSurface(101, 67, 5);  // about 20 kB in every format
  for (const EncodeSettings& settings :
       {Settings(SaveFormat::Bmp), Settings(SaveFormat::Jpeg, 100), Settings(SaveFormat::Png),
        Settings(SaveFormat::Tiff), Settings(SaveFormat::Webp, 100),
        Settings(SaveFormat::Webp, 70, true), Settings(SaveFormat::Avif, 100)}) {
    const QString path = folder.filePath(u"photo."_s + io::ExtensionFor(settings.format));
    const QByteArray old("an older photo, kept");
    WriteBytes(path, old);
    QString failure;
    {
      const FileSizeCap cap(4096);
      failure = FileFailure([&] { WritePicture(picture, path, settings); }).text();
    }
    EXPECT_EQ(failure, u"fichier trop gros pour ce disque"_s) << path.toStdString();
    EXPECT_EQ(ReadBytes(path), old) << path.toStdString();
  }
  EXPECT_EQ(Entries(folder), (QStringList{u"photo.avif"_s, u"photo.bmp"_s, u"photo.jpg"_s,
                                          u"photo.png"_s, u"photo.tif"_s, u"photo.webp"_s}));
}

// The plain answer: every quality from the highest down, the first whose file fits.
int LinearSearch(const cDIBSection& picture, EncodeSettings settings, std::uint64_t maxBytes,
                 QByteArray* file) {
  for (int quality = settings.quality; quality >= io::kMinJpegQuality; --quality) {
    settings.quality = quality;
    const QByteArray bytes = EncodePicture(picture, settings).ToBytes();
    if (std::uint64_t(bytes.size()) <= maxBytes) {
      *file = bytes;
      return quality;
    }
  }
  return 0;
}

std::uint64_t SizeAt(const cDIBSection& picture, EncodeSettings settings, int quality) {
  settings.quality = quality;
  return EncodePicture(picture, settings).size();
}

// JPEG and AVIF files grow with the quality, so the answer is the plain
// search's, byte for byte. A small WebP's size wobbles from one quality to
// the next: bisection then finds a quality that fits with the next one up
// too large, not always the highest that fits.
TEST(EncodeWithinSizeTest, AgreesWithAPlainSearchOnASmallPicture) {
  const cDIBSection picture = NoisyPhoto(161, 119);
  for (const EncodeSettings& settings :
       {Settings(SaveFormat::Jpeg, 100), Settings(SaveFormat::Jpeg, 80),
        Settings(SaveFormat::Avif, 90), Settings(SaveFormat::Webp, 100)}) {
    // Limits on the very size of a file, one byte under one, and between.
    const std::uint64_t lowest = SizeAt(picture, settings, 45);
    const std::uint64_t middle = SizeAt(picture, settings, 70);
    for (const std::uint64_t limit : {lowest, middle - 1, (lowest + middle) / 2, middle + 1,
                                      SizeAt(picture, settings, settings.quality)}) {
      SCOPED_TRACE(std::string(io::ExtensionFor(settings.format).toLatin1()) + " " +
                   std::to_string(settings.quality) + " within " + std::to_string(limit));
      const io::SizeFit fit = io::EncodeWithinSize(picture, settings, limit);
      EXPECT_LE(fit.file.size(), limit);
      EXPECT_EQ(fit.file.ToBytes(),
                EncodePicture(picture, Settings(settings.format, fit.quality)).ToBytes());
      if (fit.quality < settings.quality) {
        EXPECT_GT(SizeAt(picture, settings, fit.quality + 1), limit) << fit.quality;
      }
      if (settings.format != SaveFormat::Webp) {
        QByteArray expected;
        EXPECT_EQ(fit.quality, LinearSearch(picture, settings, limit, &expected));
        EXPECT_EQ(fit.file.ToBytes(), expected);
      }
      EXPECT_EQ(fit.halvings, 0);
      EXPECT_EQ(std::pair(fit.width, fit.height), std::pair(161, 119));
      // Bisection over at most 56 qualities.
      EXPECT_LE(fit.encodes, 6);
      EXPECT_EQ(fit.wholeEncodes, fit.encodes);
      EXPECT_EQ(fit.fullSizeEncodes, fit.encodes);
    }
  }
}

// A picture tall enough for the sizes to be foreseen from strips: the file
// fits, the next quality up does not, in at most 5 whole encodes.
TEST(EncodeWithinSizeTest, LargePictureFitsClosely) {
  const cDIBSection picture = NoisyPhoto(1203, 1100);
  QTemporaryDir folder;
  for (const EncodeSettings& settings :
       {Settings(SaveFormat::Jpeg, 100), Settings(SaveFormat::Jpeg, 85),
        Settings(SaveFormat::Webp, 95)}) {
    for (const int target : {52, 77, 84}) {
      const std::uint64_t limit =
          (SizeAt(picture, settings, target) + SizeAt(picture, settings, target + 1)) / 2;
      SCOPED_TRACE(std::string(io::ExtensionFor(settings.format).toLatin1()) + " " +
                   std::to_string(settings.quality) + " within " + std::to_string(limit));
      const io::SizeFit fit = io::EncodeWithinSize(picture, settings, limit);
      EXPECT_LE(fit.file.size(), limit);
      EXPECT_EQ(fit.file.size(), SizeAt(picture, settings, fit.quality));
      if (fit.quality < settings.quality) {
        EXPECT_GT(SizeAt(picture, settings, fit.quality + 1), limit) << fit.quality;
      }
      // JPEG sizes grow with the quality; see above for WebP.
      if (settings.format == SaveFormat::Jpeg) {
        EXPECT_EQ(fit.quality, std::min(target, settings.quality));
      }
      EXPECT_EQ(fit.halvings, 0);
      EXPECT_LE(fit.fullSizeEncodes, 5);
      EXPECT_GE(fit.fullSizeEncodes, 1);
      EXPECT_EQ(fit.wholeEncodes, fit.fullSizeEncodes);
      EXPECT_GT(fit.encodes, fit.wholeEncodes);
      // The file is a whole, readable picture of the photo.
      const QString path = folder.filePath(u"fit."_s + io::ExtensionFor(settings.format));
      io::WriteEncoded(fit.file, path);
      EXPECT_LE(MeanAbsoluteDifference(picture, MustRead(path)), 12.0);
    }
  }
}

// Each pixel of the halved picture is the rounded mean of its 2 x 2 block, or
// of what an odd last column or row leaves of it (displayed rows counted
// from the top).
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

TEST(EncodeWithinSizeTest, HalvesThePictureUntilItFits) {
  QTemporaryDir folder;
  const cDIBSection picture = NoisyPhoto(301, 203, 40);
  const EncodeSettings settings = Settings(SaveFormat::Jpeg, 100);
  const cDIBSection half = PlainHalf(picture), quarter = PlainHalf(half);
  // Under the lowest quality of the picture, above that of its half.
  const std::uint64_t limit = (SizeAt(picture, settings, 45) + SizeAt(half, settings, 45)) / 2;
  ASSERT_GT(limit, SizeAt(half, settings, 45));
  const io::SizeFit fit = io::EncodeWithinSize(picture, settings, limit);
  EXPECT_EQ(fit.halvings, 1);
  EXPECT_EQ(std::pair(fit.width, fit.height), std::pair(151, 102));
  EXPECT_LE(fit.file.size(), limit);
  QByteArray expected;
  EXPECT_EQ(fit.quality, LinearSearch(half, settings, limit, &expected));
  // The halved picture is the plain 2 x 2 mean, exactly: the same file.
  EXPECT_EQ(fit.file.ToBytes(), expected);
  // Bisection on the whole picture, down to quality 45, found too large.
  EXPECT_EQ(fit.fullSizeEncodes, 6);

  // Two halvings, then down to the last pixel.
  const std::uint64_t smaller = SizeAt(quarter, settings, 45) + 10;
  ASSERT_LT(smaller, SizeAt(half, settings, 45));
  const io::SizeFit twice = io::EncodeWithinSize(picture, settings, smaller);
  EXPECT_EQ(twice.halvings, 2);
  EXPECT_EQ(std::pair(twice.width, twice.height), std::pair(76, 51));
  EXPECT_EQ(twice.file.ToBytes(),
            EncodePicture(quarter, Settings(SaveFormat::Jpeg, twice.quality)).ToBytes());
  // A limit only a few pixels meet: the first halving whose lowest quality fits.
  cDIBSection dot;
  ASSERT_TRUE(dot.Create(1, 1));
  const std::uint64_t tiny = SizeAt(dot, settings, 45) + 50;
  int halvings = 0;
  cDIBSection reference = PlainHalf(picture);
  for (halvings = 1; SizeAt(reference, settings, 45) > tiny; ++halvings) {
    reference = PlainHalf(reference);
  }
  const io::SizeFit last = io::EncodeWithinSize(picture, settings, tiny);
  EXPECT_EQ(last.halvings, halvings);
  EXPECT_EQ(std::pair(last.width, last.height), std::pair(reference.width(), reference.height()));
  EXPECT_LE(last.file.size(), tiny);
}

TEST(EncodeWithinSizeTest, Refusals) {
  const cDIBSection picture = SmoothSurface(5, 3);
  const struct {
    EncodeSettings settings;
    const cDIBSection* picture;
    std::uint64_t limit;
    QString reason;
  } kCases[] = {
      {Settings(SaveFormat::Jpeg), &picture, 100,
       u"aucun fichier de 100 octets au plus, même d'un seul pixel"_s},
      {Settings(SaveFormat::Png), &picture, 100'000,
       u"le format PNG n'a pas de qualité à régler"_s},
      {Settings(SaveFormat::Webp, 90, true), &picture, 100'000,
       u"le format WebP n'a pas de qualité à régler"_s},
      {Settings(SaveFormat::Avif, 30), &picture, 100'000,
       u"qualité AVIF 30 hors limites (de 45 à 100)"_s},
      {Settings(SaveFormat::Jpeg), nullptr, 100'000, u"aucune image à enregistrer"_s},
  };
  const cDIBSection none;
  for (const auto& refused : kCases) {
    const io::FileError failure = FileFailure([&] {
      (void)io::EncodeWithinSize(refused.picture != nullptr ? *refused.picture : none,
                                 refused.settings, refused.limit);
    });
    EXPECT_EQ(failure.text(), refused.reason);
    EXPECT_EQ(failure.number(), io::FileErrors::kWrite);
  }
}

}  // namespace
}  // namespace fotavel::testing
