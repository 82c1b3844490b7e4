// HEIC / HEIF and AVIF photos: libheif's pixels, upright, on white, deep channels rounded.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <exiv2/exiv2.hpp>
#include <tuple>

#include "io/HeifFiles.h"
#include "io/MetadataFiles.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r << 16 | g << 8 | b;
}

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
  const QString path = folder.path(u"photo.dat"_s);
  WriteBytes(path, file);
  return MustRead(path);
}

// Every pixel of `read` is the one libheif decodes (8-bit RGB, no alpha).
void ExpectLibheifPixels(const cDIBSection& read, const HeifPixels& reference) {
  ASSERT_EQ(read.width(), reference.width);
  ASSERT_EQ(read.height(), reference.height);
  for (std::int32_t y = 0; y < reference.height; ++y)
    for (std::int32_t x = 0; x < reference.width; ++x)
      ASSERT_EQ(Displayed(read, x, y),
                Rgb(reference.at(x, y, 0), reference.at(x, y, 1), reference.at(x, y, 2)))
          << x << ',' << y;
}

TEST(HeifReadTest, HeicAndAvifShowLibheifsOwnPixels) {
  TempFolder folder;
  for (const bool avif : {false, true}) {
    SCOPED_TRACE(avif ? "AVIF" : "HEIC");
    const QByteArray file = MakeHeif({.avif = avif});
    ExpectLibheifPixels(ReadBytesAsPicture(folder, file), DecodeWithLibheif(file, false, false));
    // The explorer's preview goes the same way: 37 x 21 fitted into 10 x 10.
    cDIBSection preview;
    QString error;
    ASSERT_TRUE(io::ReadPreview(folder.path(u"photo.dat"_s), 10, 10, preview, error));
    EXPECT_EQ(std::pair(preview.width(), preview.height()), std::pair(10, 6));
  }
}

TEST(HeifReadTest, TransparencyIsLaidOnWhite) {
  TempFolder folder;
  const QByteArray file = MakeHeif({.alpha = true});
  const cDIBSection read = ReadBytesAsPicture(folder, file);
  const HeifPixels reference = DecodeWithLibheif(file, true, false);
  ASSERT_EQ(read.width(), reference.width);
  ASSERT_EQ(read.height(), reference.height);
  std::uint32_t fewest = 255;
  for (std::int32_t y = 0; y < reference.height; ++y) {
    for (std::int32_t x = 0; x < reference.width; ++x) {
      const std::uint32_t a = reference.at(x, y, 3);
      fewest = std::min(fewest, a);
      ASSERT_EQ(Displayed(read, x, y),
                Rgb(OverWhite(reference.at(x, y, 0), a), OverWhite(reference.at(x, y, 1), a),
                    OverWhite(reference.at(x, y, 2), a)))
          << x << ',' << y;
    }
  }
  EXPECT_LT(fewest, 20u);  // the right edge is (nearly) transparent
}

TEST(HeifReadTest, RotationAndMirrorStandThePhotoUpright) {
  TempFolder folder;
  // Quadrants red, green (top), blue, white (bottom) of a 24 x 16 photo.
  constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;
  HeifPicture picture{.width = 24, .height = 16};
  picture.sample = [](std::int32_t x, std::int32_t y, int channel) -> std::uint16_t {
    const std::uint32_t colour = y < 8 ? (x < 12 ? kRed : kGreen) : (x < 12 ? kBlue : kWhite);
    return std::uint16_t(colour >> (16 - 8 * channel) & 0xFF);
  };
  // The corners shown (top left, top right, bottom left, bottom right) for
  // each orientation as EXIF numbers them.
  const std::array<std::array<std::uint32_t, 4>, 9> corners = {{
      {},
      {kRed, kGreen, kBlue, kWhite},
      {kGreen, kRed, kWhite, kBlue},
      {kWhite, kBlue, kGreen, kRed},
      {kBlue, kWhite, kRed, kGreen},
      {kRed, kBlue, kGreen, kWhite},
      {kBlue, kRed, kWhite, kGreen},
      {kWhite, kGreen, kBlue, kRed},
      {kGreen, kWhite, kRed, kBlue},
  }};
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE(orientation);
    picture.orientation = orientation;
    const QByteArray file = MakeHeif(picture);
    const cDIBSection read = ReadBytesAsPicture(folder, file);
    const bool turned = orientation >= 5;
    ASSERT_EQ(read.width(), turned ? 16 : 24);
    ASSERT_EQ(read.height(), turned ? 24 : 16);
    const std::int32_t right = read.width() - 2, bottom = read.height() - 2;
    const std::array<std::uint32_t, 4> shown = {Displayed(read, 1, 1), Displayed(read, right, 1),
                                                Displayed(read, 1, bottom),
                                                Displayed(read, right, bottom)};
    for (int i = 0; i < 4; ++i) {
      for (int shift : {0, 8, 16}) {
        const int got = int(shown[i] >> shift & 0xFF),
                  want = int(corners[orientation][i] >> shift & 0xFF);
        EXPECT_LE(std::abs(got - want), 24) << "corner " << i;
      }
    }
    // Turned once, by libheif: its own decode is the same picture.
    ExpectLibheifPixels(read, DecodeWithLibheif(file, false, false));
  }
}

TEST(HeifReadTest, DeepChannelsAreReducedWithRounding) {
  TempFolder folder;
  // 10-bit HEVC and 12-bit AV1, opaque and with alpha.
  for (const auto& [avif, bits, alpha] :
       {std::tuple{false, 10, false}, std::tuple{false, 10, true}, std::tuple{true, 12, false},
        std::tuple{true, 12, true}}) {
    SCOPED_TRACE(::testing::Message() << bits << " bits" << (alpha ? " with alpha" : ""));
    const QByteArray file = MakeHeif({.avif = avif, .bits = bits, .alpha = alpha});
    const cDIBSection read = ReadBytesAsPicture(folder, file);
    const HeifPixels reference = DecodeWithLibheif(file, alpha, true);
    ASSERT_EQ(read.width(), reference.width);
    ASSERT_EQ(read.height(), reference.height);
    const std::uint32_t maximum = (1u << bits) - 1;
    int truncationDiffers = 0;
    for (std::int32_t y = 0; y < reference.height; ++y) {
      for (std::int32_t x = 0; x < reference.width; ++x) {
        const std::uint32_t a = alpha ? Reduced(reference.at(x, y, 3), maximum) : 255;
        std::uint32_t expected = 0;
        for (int c = 0; c < 3; ++c) {
          const std::uint32_t v = reference.at(x, y, c);
          truncationDiffers += Reduced(v, maximum) != v >> (bits - 8);
          expected = expected << 8 | OverWhite(Reduced(v, maximum), a);
        }
        ASSERT_EQ(Displayed(read, x, y), expected) << x << ',' << y;
      }
    }
    EXPECT_GT(truncationDiffers, 100);  // the file tells rounding from a plain shift
  }
}

TEST(HeifReadTest, GreyPicturesComeOutGrey) {
  TempFolder folder;
  for (const bool avif : {false, true}) {
    SCOPED_TRACE(avif ? "AVIF" : "HEIC");
    const QByteArray file = MakeHeif({.avif = avif, .grey = true});
    const cDIBSection read = ReadBytesAsPicture(folder, file);
    ExpectLibheifPixels(read, DecodeWithLibheif(file, false, false));
    for (std::int32_t y = 0; y < read.height(); ++y)
      for (std::int32_t x = 0; x < read.width(); ++x)
        ASSERT_EQ(Displayed(read, x, y), (Displayed(read, x, y) & 0xFF) * 0x010101u);
    // The gradient of channel 0 runs from black at the left to white at the right.
    EXPECT_LE(Displayed(read, 0, 10) & 0xFF, 8u);
    EXPECT_GE(Displayed(read, 36, 10) & 0xFF, 247u);
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
        error.startsWith(avif ? u"fichier AVIF illisible : "_s : u"fichier HEIF illisible : "_s))
        << error.toStdString();
    EXPECT_GT(error.size(), 26) << "libheif's reason follows";
  }
  // A film's ftyp box names no picture brand.
  QByteArray film(
      "\0\0\0\x18"
      "ftypisom\0\0\x02\0"
      "isomiso2",
      24);
  film += QByteArray(200, '\x11');
  EXPECT_EQ(refusal(film), u"format d'image inconnu"_s);

  // A photo claiming 3000 x 3000 in its size box is refused from that claim
  // (an AVIF: a HEIC of this size is cropped from a larger coded picture).
  QByteArray claimed = MakeHeif({.avif = true});
  const qsizetype ispe = claimed.indexOf("ispe");
  ASSERT_GT(ispe, 0);
  for (int i = 0; i < 2; ++i) {
    const std::uint32_t side = 3000;
    for (int b = 0; b < 4; ++b) claimed[ispe + 8 + 4 * i + b] = char(side >> (24 - 8 * b));
  }
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
  std::unique_ptr<Exiv2::Image> source(
      Exiv2::ImageFactory::open(QFile::encodeName(camera).toStdString()).release());
  source->readMetadata();
  Exiv2::Blob tiff;
  Exiv2::ExifParser::encode(tiff, Exiv2::bigEndian, source->exifData());
  std::string xmp;
  ASSERT_EQ(Exiv2::XmpParser::encode(xmp, source->xmpData()), 0);
  const Exiv2::DataBuf& icc = *source->iccProfile();

  HeifPicture picture;
  picture.exif = QByteArray(reinterpret_cast<const char*>(tiff.data()), qsizetype(tiff.size()));
  picture.xmp = QByteArray::fromStdString(xmp);
  picture.icc = QByteArray(reinterpret_cast<const char*>(icc.pData_), icc.size_);
  const QString heic = folder.path(u"photo.heic"_s), saved = folder.path(u"saved.jpg"_s);
  WriteBytes(heic, MakeHeif(picture));
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
