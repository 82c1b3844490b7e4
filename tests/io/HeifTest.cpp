// HEIC / HEIF and AVIF photos: libheif's pixels, upright, on white, deep channels rounded.
#include <gtest/gtest.h>

#include <cmath>
#include <exiv2/exiv2.hpp>

#include "io/HeifFiles.h"
#include "io/MetadataFiles.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// round(v × 255 / maximum), in floating point.
std::uint32_t Reduced(std::uint32_t v, std::uint32_t maximum) {
  return std::uint32_t(std::floor(v * 255.0 / maximum + 0.5));
}

// c over white at opacity a (both 0 … 255), rounded.
std::uint32_t OverWhite(std::uint32_t c, std::uint32_t a) {
  return std::uint32_t(std::floor((c * a + 255.0 * (255 - a)) / 255.0 + 0.5));
}

// Writes `file` under a name that says nothing of its format and reads it.
cDIBSection ReadBytesAsPicture(const TempFolder& folder, const QByteArray& file) {
  EXPECT_FALSE(file.isEmpty());
  WriteBytes(folder.path(u"photo.dat"_s), file);
  return MustRead(folder.path(u"photo.dat"_s));
}

// Every pixel is libheif's, rounded to 8 bits and laid on white; deep files are ones where
// rounding and a plain shift differ, alpha ones fade to nearly transparent.
TEST(HeifReadTest, PixelsAreLibheifsRoundedAndLaidOnWhite) {
  TempFolder folder;
  const struct {
    bool avif;
    int bits;
    bool alpha, grey;
  } cases[] = {{false, 8, false, false},  {true, 8, false, false},  {false, 8, true, false},
               {false, 10, false, false}, {false, 10, true, false}, {true, 12, false, false},
               {true, 12, true, false},   {false, 8, false, true},  {true, 8, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.avif ? "AVIF " : "HEIC ") << c.bits << " bits"
                                      << (c.alpha ? " alpha" : "") << (c.grey ? " grey" : ""));
    const QByteArray file =
        MakeHeif({.avif = c.avif, .bits = c.bits, .alpha = c.alpha, .grey = c.grey});
    const cDIBSection read = ReadBytesAsPicture(folder, file);
    const HeifPixels reference = DecodeWithLibheif(file, c.alpha, c.bits > 8);
    ASSERT_EQ(std::pair(read.width(), read.height()), std::pair(reference.width, reference.height));
    const std::uint32_t maximum = (1u << c.bits) - 1;
    int truncationDiffers = 0;
    for (std::int32_t y = 0; y < reference.height; ++y) {
      for (std::int32_t x = 0; x < reference.width; ++x) {
        const std::uint32_t a = c.alpha ? Reduced(reference.at(x, y, 3), maximum) : 255;
        std::uint32_t expected = 0;
        for (int k = 0; k < 3; ++k) {
          const std::uint32_t v = reference.at(x, y, k);
          truncationDiffers += Reduced(v, maximum) != v >> (c.bits - 8);
          expected = expected << 8 | OverWhite(Reduced(v, maximum), a);
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
    // The explorer's preview goes the same way: 37 x 21 fitted into 10 x 10.
    cDIBSection preview;
    QString error;
    ASSERT_TRUE(io::ReadPreview(folder.path(u"photo.dat"_s), 10, 10, preview, error));
    EXPECT_EQ(std::pair(preview.width(), preview.height()), std::pair(10, 6));
  }
}

// The turn is libheif's, done once: the stored picture shown as EXIF orientation 1 … 8 says.
TEST(HeifReadTest, RotationAndMirrorStandThePhotoUpright) {
  TempFolder folder;
  const cDIBSection stored = ReadBytesAsPicture(folder, MakeHeif({}));
  for (int orientation = 2; orientation <= 8; ++orientation) {
    SCOPED_TRACE(orientation);
    const cDIBSection read = ReadBytesAsPicture(folder, MakeHeif({.orientation = orientation}));
    const bool turned = orientation >= 5;
    ASSERT_EQ(std::pair(read.width(), read.height()),
              turned ? std::pair(21, 37) : std::pair(37, 21));
    for (int r = 0; r < 21; ++r) {
      for (int c = 0; c < 37; ++c) {
        const auto [x, y] = ShownAt(orientation, c, r, 37, 21);
        ASSERT_EQ(Displayed(read, x, y), Displayed(stored, c, r)) << c << ',' << r;
      }
    }
  }
}

TEST(HeifReadTest, DamagedForeignOrOversizedFilesAreRefusedWithTheirReason) {
  TempFolder folder;
  const QString path = folder.path(u"photo.heic"_s);
  const auto refusal = [&](const QByteArray& bytes) {
    WriteBytes(path, bytes);
    cDIBSection out = RandomSurface(3, 2, 1);
    QString error;
    EXPECT_FALSE(io::ReadPicture(path, out, error));
    EXPECT_EQ(std::pair(out.width(), out.height()), std::pair(3, 2));
    return error;
  };
  for (const bool avif : {false, true}) {
    const QByteArray file = MakeHeif({.avif = avif});
    const QString error = refusal(file.left(file.size() / 2));
    EXPECT_TRUE(
        error.startsWith(avif ? u"fichier AVIF illisible : "_s : u"fichier HEIF illisible : "_s) &&
        error.size() > 26)  // libheif's reason follows
        << error.toStdString();
  }
  // A film's ftyp box names no picture brand.
  const QByteArray film = QByteArray(
                              "\0\0\0\x18"
                              "ftypisom\0\0\x02\0"
                              "isomiso2",
                              24) +
                          QByteArray(200, '\x11');
  EXPECT_EQ(refusal(film), u"format d'image inconnu"_s);

  // A photo claiming 3000 x 3000 in its size box is refused from that claim
  // (an AVIF: a HEIC of this size is cropped from a larger coded picture).
  QByteArray claimed = MakeHeif({.avif = true});
  const qsizetype ispe = claimed.indexOf("ispe");
  ASSERT_GT(ispe, 0);
  claimed.replace(ispe + 8, 8, QByteArray::fromHex("00000bb8 00000bb8"));
  const std::uint64_t before = io::SetPictureMemoryBudget(std::uint64_t{80} << 20);
  EXPECT_EQ(refusal(claimed), u"image trop grande pour la mémoire disponible (3000 x 3000)"_s);
  io::SetPictureMemoryBudget(before);
}

TEST(HeifReadTest, ExifXmpAndProfileOfAHeicAreCarriedToAJpegSave) {
  TempFolder folder;
  // The camera's metadata, taken from a JPEG that carries it; its EXIF says
  // "turn right", which a HEIF's own boxes override.
  const QString camera = folder.path(u"camera.jpg"_s);
  WriteCameraPhoto(camera, RandomSurface(37, 21, 3), 6, IccProfile("RGB ", 3000));
  const auto source = Exiv2::ImageFactory::open(QFile::encodeName(camera).toStdString());
  source->readMetadata();
  Exiv2::Blob tiff;
  Exiv2::ExifParser::encode(tiff, Exiv2::bigEndian, source->exifData());
  std::string xmp;
  ASSERT_EQ(Exiv2::XmpParser::encode(xmp, source->xmpData()), 0);
  const Exiv2::DataBuf& icc = *source->iccProfile();

  const QString heic = folder.path(u"photo.heic"_s), saved = folder.path(u"saved.jpg"_s);
  WriteBytes(heic,
             MakeHeif({.exif = QByteArray(reinterpret_cast<const char*>(tiff.data()),
                                          qsizetype(tiff.size())),
                       .xmp = QByteArray::fromStdString(xmp),
                       .icc = QByteArray(reinterpret_cast<const char*>(icc.pData_), icc.size_)}));
  cDIBSection photo;
  io::PhotoMetadata metadata;
  QString error;
  ASSERT_TRUE(io::ReadPicture(heic, photo, error, &metadata)) << error.toStdString();
  EXPECT_EQ(std::pair(photo.width(), photo.height()), std::pair(37, 21));
  ASSERT_TRUE(io::WriteJpeg(photo, saved, 90, error, metadata)) << error.toStdString();
  ExpectCarriedMetadata(camera, saved, 37, 21, /*withIcc=*/true, /*withIptc=*/false);
}

}  // namespace
}  // namespace fotavel::testing
