// A JPEG's metadata through opening and saving: carried, brought up to date, or left out unharmed.
#include <gtest/gtest.h>

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
  QString error;
  EXPECT_TRUE(io::ReadPicture(path, opened.picture, error, &opened.metadata))
      << error.toStdString();
  return opened;
}

TEST(MetadataTest, SavedJpegCarriesTheMetadataOfTheUprightPhoto) {
  TempFolder folder;
  const QString camera = folder.path(u"camera.jpg"_s);
  // Stored 37 x 21 and turned right by its orientation: the photo is 21 x 37.
  WriteCameraPhoto(camera, RandomSurface(37, 21, 3), 6, IccProfile("RGB ", 70000));
  const Opened opened = MustOpen(camera);
  ASSERT_EQ(opened.picture.width(), 21);
  ASSERT_FALSE(opened.metadata.empty());

  QString error;
  const QString saved = folder.path(u"saved.jpg"_s), plain = folder.path(u"plain.jpg"_s);
  ASSERT_TRUE(io::WriteJpeg(opened.picture, saved, 90, error, opened.metadata));
  ASSERT_TRUE(io::WriteJpeg(opened.picture, plain, 90, error));
  // A profile of 70000 bytes takes two segments; both come back as one profile.
  ExpectCarriedMetadata(camera, saved, 21, 37);

  // The compressed photo is the encoder's, untouched: the metadata lies
  // between its JFIF segment (the first 20 bytes) and the rest.
  const QByteArray savedBytes = ReadBytes(saved), plainBytes = ReadBytes(plain);
  EXPECT_TRUE(savedBytes.startsWith(plainBytes.left(20)));
  EXPECT_TRUE(savedBytes.endsWith(plainBytes.mid(20)));
  EXPECT_GT(savedBytes.size(), plainBytes.size() + 70000);
  // Opened again, the upright photo is not turned a second time.
  const Opened again = MustOpen(saved);
  EXPECT_EQ(again.picture.width(), 21);
  EXPECT_EQ(again.picture.height(), 37);
  EXPECT_TRUE(SamePixels(again.picture, MustOpen(plain).picture));
  EXPECT_FALSE(again.metadata.empty());
}

TEST(MetadataTest, OnlyAJpegsOwnRgbProfileIsCarried) {
  TempFolder folder;
  QString error;
  // A grey or CMYK profile describes other pixels than the colour ones saved.
  for (const char* space : {"GRAY", "CMYK"}) {
    const QString camera = folder.path(u"camera.jpg"_s), saved = folder.path(u"saved.jpg"_s);
    WriteCameraPhoto(camera, RandomSurface(9, 6, 1), 1,
                     std::string(space) == "GRAY" ? IccProfile("GRAY") : IccProfile("CMYK"));
    const Opened opened = MustOpen(camera);
    ASSERT_TRUE(io::WriteJpeg(opened.picture, saved, 80, error, opened.metadata));
    ExpectCarriedMetadata(camera, saved, 9, 6, /*withIcc=*/false);
  }
  // A picture of another format has none; saved without any, the JPEG has none.
  const QString bmp = folder.path(u"photo.bmp"_s), fromBmp = folder.path(u"de-bmp.jpg"_s);
  ASSERT_TRUE(io::WriteBmp(RandomSurface(5, 3, 2), bmp, error));
  const Opened opened = MustOpen(bmp);
  EXPECT_TRUE(opened.metadata.empty());
  ASSERT_TRUE(io::WriteJpeg(opened.picture, fromBmp, 80, error, opened.metadata));
  EXPECT_FALSE(HasAnyMetadata(fromBmp));
}

TEST(MetadataTest, BrokenOrOversizedMetadataNeverStopsOpeningOrSaving) {
  TempFolder folder;
  QString error;
  const QString plain = folder.path(u"plain.jpg"_s);
  ASSERT_TRUE(io::WriteJpeg(RandomSurface(21, 13, 4), plain, 90, error));

  // An EXIF segment whose TIFF header names no byte order: no metadata at all.
  QByteArray noOrder = WithExifOrientation(ReadBytes(plain), 6);
  const qsizetype tiff = noOrder.indexOf(QByteArray("Exif\0\0", 6)) + 6;
  noOrder.replace(tiff, 2, "XX");
  WriteBytes(folder.path(u"sans-ordre.jpg"_s), noOrder);
  const Opened broken = MustOpen(folder.path(u"sans-ordre.jpg"_s));
  EXPECT_EQ(broken.picture.width(), 21);
  EXPECT_TRUE(broken.metadata.empty());

  // An XMP packet that is no XML: the EXIF still turns and is carried, the XMP is not.
  const QString camera = folder.path(u"camera.jpg"_s);
  WriteCameraPhoto(camera, RandomSurface(21, 13, 4), 8, IccProfile("RGB "));
  QByteArray badXmp = ReadBytes(camera);
  const qsizetype meta = badXmp.indexOf("<x:xmpmeta");
  ASSERT_GT(meta, 0);
  badXmp.replace(meta, 10, "<x:xmp<<<<");
  WriteBytes(folder.path(u"xmp.jpg"_s), badXmp);
  const Opened withoutXmp = MustOpen(folder.path(u"xmp.jpg"_s));
  EXPECT_EQ(withoutXmp.picture.width(), 13);
  ASSERT_TRUE(io::WriteJpeg(withoutXmp.picture, folder.path(u"xmp-saved.jpg"_s), 80, error,
                            withoutXmp.metadata));
  EXPECT_TRUE(HasAnyMetadata(folder.path(u"xmp-saved.jpg"_s)));
  EXPECT_EQ(MustOpen(folder.path(u"xmp-saved.jpg"_s)).picture.width(), 13);

  // A colour profile whose header misstates its length: the metadata cannot
  // be read, the photo opens as stored and is saved with none.
  const QString lying = folder.path(u"lying.jpg"_s), lyingSaved = folder.path(u"lying-saved.jpg"_s);
  WriteCameraPhoto(lying, RandomSurface(7, 5, 4), 6, IccProfile("RGB "));
  QByteArray lyingBytes = ReadBytes(lying);
  const qsizetype profile = lyingBytes.indexOf(QByteArray("ICC_PROFILE\0\1\1", 14)) + 14;
  ASSERT_GT(profile, 14);
  lyingBytes[profile + 3] = char(lyingBytes[profile + 3] + 1);
  WriteBytes(lying, lyingBytes);
  const Opened lyingOpened = MustOpen(lying);
  EXPECT_EQ(lyingOpened.picture.width(), 7);
  EXPECT_TRUE(lyingOpened.metadata.empty());
  ASSERT_TRUE(io::WriteJpeg(lyingOpened.picture, lyingSaved, 80, error, lyingOpened.metadata));
  EXPECT_FALSE(HasAnyMetadata(lyingSaved));
}

}  // namespace
}  // namespace fotavel::testing
