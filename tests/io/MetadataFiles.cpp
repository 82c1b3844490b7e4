// Camera photos with EXIF, IPTC, XMP and a colour profile written by exiv2, and the checks of their
// saved copies.
#include "io/MetadataFiles.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <exiv2/exiv2.hpp>
#include <string>

#include "io/PictureFiles.h"

namespace fotavel::testing {

namespace {

std::unique_ptr<Exiv2::Image> Open(const QString& path) {
  std::unique_ptr<Exiv2::Image> image(
      Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString()).release());
  image->readMetadata();
  return image;
}

std::string Text(const Exiv2::ExifData& exif, const char* key) {
  const auto it = exif.findKey(Exiv2::ExifKey(key));
  return it == exif.end() ? std::string("(absent)") : it->toString();
}

void Put32(QByteArray& bytes, int at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = char(value >> (24 - 8 * i));
}

}  // namespace

QByteArray IccProfile(const char (&space)[5], std::int32_t size) {
  QByteArray icc(size, '\0');
  for (int i = 132; i < size; ++i) icc[i] = char(i * 7 + 3);
  Put32(icc, 0, std::uint32_t(size));
  Put32(icc, 8, 0x02100000);  // version 2.1
  icc.replace(12, 4, "mntr");
  icc.replace(16, 4, space);
  icc.replace(20, 4, "XYZ ");
  icc.replace(36, 4, "acsp");
  return icc;
}

void WriteCameraPhoto(const QString& path, const cDIBSection& stored, std::uint16_t orientation,
                      const QByteArray& icc) {
  QImage small(16, 12, QImage::Format_RGB32);
  small.fill(QColor(30, 120, 160));
  QByteArray thumb;
  QBuffer buffer(&thumb);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && small.save(&buffer, "JPEG"));
  ASSERT_NO_THROW(io::WriteJpeg(stored, path, 95));

  const auto image = Open(path);
  Exiv2::ExifData exif;
  exif["Exif.Image.Make"] = std::string("Fotavel");
  exif["Exif.Image.Model"] = std::string("Essai 3000");
  exif["Exif.Image.Orientation"] = orientation;
  exif["Exif.Image.DateTime"] = std::string("2023:06:14 10:21:33");
  exif["Exif.Photo.DateTimeOriginal"] = std::string("2023:06:14 10:21:33");
  exif["Exif.Photo.ExposureTime"] = std::string("1/250");
  exif["Exif.Photo.PixelXDimension"] = std::uint32_t(stored.width());
  exif["Exif.Photo.PixelYDimension"] = std::uint32_t(stored.height());
  exif["Exif.GPSInfo.GPSLatitudeRef"] = std::string("N");
  exif["Exif.GPSInfo.GPSLatitude"] = std::string("45/1 53/1 2957/100");
  exif["Exif.GPSInfo.GPSLongitudeRef"] = std::string("E");
  exif["Exif.GPSInfo.GPSLongitude"] = std::string("6/1 7/1 1203/100");
  Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumb.data()),
                                          long(thumb.size()));
  image->setExifData(exif);

  Exiv2::IptcData iptc;
  iptc["Iptc.Envelope.CharacterSet"] = std::string("\x1b%G");
  iptc["Iptc.Application2.Caption"] = std::string("Le lac au lever du soleil, été");
  iptc["Iptc.Application2.City"] = std::string("Annecy");
  for (const char* word : {"lac", "montagne"}) {
    Exiv2::Iptcdatum keyword(Exiv2::IptcKey("Iptc.Application2.Keywords"));
    keyword.setValue(word);
    iptc.add(keyword);
  }
  image->setIptcData(iptc);

  Exiv2::XmpData xmp;
  xmp["Xmp.dc.title"] = std::string("lang=\"x-default\" Le lac");
  xmp["Xmp.dc.creator"] = std::string("Jeanne Martin");
  xmp["Xmp.tiff.Orientation"] = std::to_string(orientation);
  image->setXmpData(xmp);

  if (!icc.isEmpty()) {
    Exiv2::DataBuf profile(reinterpret_cast<const Exiv2::byte*>(icc.data()), long(icc.size()));
    image->setIccProfile(profile);
  }
  image->writeMetadata();
}

void ExpectCarriedMetadata(const QString& original, const QString& saved, std::int32_t width,
                           std::int32_t height, bool withIcc, bool withIptc) {
  const auto before = Open(original);
  const auto after = Open(saved);
  const Exiv2::ExifData& exifBefore = before->exifData();
  const Exiv2::ExifData& exif = after->exifData();
  // The original must hold what is to be carried, or the comparisons below prove nothing.
  ASSERT_TRUE(Exiv2::ExifThumbC(exifBefore).copy().size_ != 0 &&
              Text(exifBefore, "Exif.GPSInfo.GPSLatitude") != "(absent)" &&
              !before->iptcData().empty() && !before->xmpData().empty() &&
              before->iccProfileDefined());
  EXPECT_EQ(Text(exif, "Exif.Image.Orientation"), "1");
  EXPECT_EQ(Text(exif, "Exif.Photo.PixelXDimension"), std::to_string(width));
  EXPECT_EQ(Text(exif, "Exif.Photo.PixelYDimension"), std::to_string(height));
  for (const Exiv2::Exifdatum& tag : exif) EXPECT_NE(tag.groupName(), "Thumbnail") << tag.key();
  int compared = 0;
  for (const Exiv2::Exifdatum& tag : exifBefore) {
    const std::string key = tag.key();
    if (key == "Exif.Image.Orientation" || key == "Exif.Photo.PixelXDimension" ||
        key == "Exif.Photo.PixelYDimension" || tag.groupName() == "Thumbnail" ||
        tag.tagName().ends_with("Tag")) {  // offsets of sub-directories, laid out anew
      continue;
    }
    EXPECT_EQ(Text(exif, key.c_str()), tag.toString()) << key;
    ++compared;
  }
  EXPECT_GE(compared, 9);

  if (withIptc) {
    ASSERT_EQ(after->iptcData().size(), before->iptcData().size());
    auto it = after->iptcData().begin();
    for (const Exiv2::Iptcdatum& entry : before->iptcData()) {
      EXPECT_EQ(std::pair(it->key(), it->toString()), std::pair(entry.key(), entry.toString()));
      ++it;
    }
  }

  const Exiv2::XmpData& xmp = after->xmpData();
  EXPECT_EQ(xmp.count(), before->xmpData().count());
  for (const Exiv2::Xmpdatum& entry : before->xmpData()) {
    const auto found = xmp.findKey(Exiv2::XmpKey(entry.key()));
    ASSERT_NE(found, xmp.end()) << entry.key();
    const bool orientation = entry.key() == "Xmp.tiff.Orientation";
    EXPECT_EQ(found->toString(), orientation ? "1" : entry.toString()) << entry.key();
  }

  ASSERT_EQ(after->iccProfileDefined(), withIcc);
  if (withIcc) {
    const Exiv2::DataBuf &icc = *after->iccProfile(), &iccBefore = *before->iccProfile();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(icc.pData_), int(icc.size_)),
              QByteArray(reinterpret_cast<const char*>(iccBefore.pData_), int(iccBefore.size_)));
  }
}

bool HasAnyMetadata(const QString& path) {
  const auto image = Open(path);
  return !image->exifData().empty() || !image->iptcData().empty() || !image->xmpData().empty() ||
         image->iccProfileDefined();
}

}  // namespace fotavel::testing
