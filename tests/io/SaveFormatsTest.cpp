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
    // The file on disk is the encoded file, byte for byte.
    EXPECT_EQ(ReadBytes(path), EncodePicture(picture, settings).ToBytes()) << path.toStdString();
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

}  // namespace
}  // namespace fotavel::testing
