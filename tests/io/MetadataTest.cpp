// A photo's metadata through opening and saving: carried, brought up to date, or left out unharmed.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <exiv2/exiv2.hpp>

#include "io/HeifFiles.h"
#include "io/MetadataFiles.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

struct Opened {
  cDIBSection picture;
  io::PhotoMetadata metadata;
};

Opened MustOpen(const QString& path) {
  Opened opened;
  EXPECT_NO_THROW(opened.picture = io::ReadPicture(path, &opened.metadata));
  return opened;
}

TEST(MetadataTest, BrokenMetadataNeverStopsOpeningOrSaving) {
  QTemporaryDir folder;
  const QString plain = folder.filePath(u"plain.jpg"_s), camera = folder.filePath(u"camera.jpg"_s);
  ASSERT_NO_THROW(io::WriteJpeg(RandomSurface(21, 13, 4), plain, 90));
  WriteCameraPhoto(camera, RandomSurface(21, 13, 4), 8, IccProfile("RGB ", 3000));
  const struct {
    const char* what;
    QByteArray file, marker;
    int offset;  // of the damage after the marker
    QByteArray damage;
    int width;  // 13 when the EXIF still turns the photo
    bool kept;  // some metadata read, and saved
  } cases[] = {
      {"EXIF naming no byte order", WithExifOrientation(ReadBytes(plain), 6),
       QByteArray("Exif\0\0", 6), 6, "XX", 21, false},
      {"XMP that is no XML", ReadBytes(camera), "<x:xmpmeta", 0, "<x:xmp<<<<", 13, true},
      {"profile misstating its length", ReadBytes(camera), QByteArray("ICC_PROFILE\0\1\1", 14), 14,
       QByteArray::fromHex("00000bb9"), 21, false},
  };
  const QString damaged = folder.filePath(u"damaged.jpg"_s),
                saved = folder.filePath(u"saved.jpg"_s);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const qsizetype at = c.file.indexOf(c.marker);
    ASSERT_GE(at, 0);
    WriteBytes(damaged, QByteArray(c.file).replace(at + c.offset, c.damage.size(), c.damage));
    const Opened opened = MustOpen(damaged);
    EXPECT_EQ(opened.picture.width(), c.width);
    EXPECT_EQ(opened.metadata.empty(), !c.kept);
    ASSERT_NO_THROW(io::WriteJpeg(opened.picture, saved, 80, opened.metadata));
    EXPECT_EQ(HasAnyMetadata(saved), c.kept);
    EXPECT_EQ(MustOpen(saved).picture.width(), c.width);
  }
}

TEST(MetadataTest, OnlyAnRgbProfileIsCarried) {
  QTemporaryDir folder;
  // A grey or CMYK profile describes other pixels than the colour ones saved.
  const QString camera = folder.filePath(u"camera.jpg"_s), saved = folder.filePath(u"saved.jpg"_s);
  for (const QByteArray& profile : {IccProfile("GRAY"), IccProfile("CMYK")}) {
    WriteCameraPhoto(camera, RandomSurface(9, 6, 1), 1, profile);
    const Opened opened = MustOpen(camera);
    ASSERT_NO_THROW(io::WriteJpeg(opened.picture, saved, 80, opened.metadata));
    ExpectCarriedMetadata(camera, saved, 9, 6, /*withIcc=*/false);
  }
}

TEST(MetadataTest, ExifXmpAndProfileOfAHeicAreCarriedToAJpegSave) {
  QTemporaryDir folder;
  // The camera's metadata, taken from a JPEG that carries it; its EXIF says
  // "turn right", which a HEIF's own boxes override. A profile of 70000 bytes
  // takes two JPEG segments; both come back as one profile.
  const QString camera = folder.filePath(u"camera.jpg"_s);
  WriteCameraPhoto(camera, RandomSurface(37, 21, 3), 6, IccProfile("RGB ", 70000));
  const auto source = Exiv2::ImageFactory::open(QFile::encodeName(camera).toStdString());
  source->readMetadata();
  Exiv2::Blob tiff;
  Exiv2::ExifParser::encode(tiff, Exiv2::bigEndian, source->exifData());
  std::string xmp;
  ASSERT_EQ(Exiv2::XmpParser::encode(xmp, source->xmpData()), 0);
  const Exiv2::DataBuf& icc = *source->iccProfile();

  const QString heic = folder.filePath(u"photo.heic"_s), saved = folder.filePath(u"saved.jpg"_s);
  WriteBytes(heic,
             MakeHeif({.exif = QByteArray(reinterpret_cast<const char*>(tiff.data()),
                                          qsizetype(tiff.size())),
                       .xmp = QByteArray::fromStdString(xmp),
                       .icc = QByteArray(reinterpret_cast<const char*>(icc.pData_), icc.size_)}));
  const Opened opened = MustOpen(heic);
  EXPECT_EQ(std::pair(opened.picture.width(), opened.picture.height()), std::pair(37, 21));
  ASSERT_NO_THROW(io::WriteJpeg(opened.picture, saved, 90, opened.metadata));
  ExpectCarriedMetadata(camera, saved, 37, 21, /*withIcc=*/true, /*withIptc=*/false);
}

}  // namespace
}  // namespace fotavel::testing
