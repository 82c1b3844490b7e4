// Damaged and hostile files the decoders once accepted: JPEG scans without end or cut short, CMYK
// JPEGs cut, GIFs whose codes stop early; refused by the photo's reading and its preview alike.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <random>

#include "GifFiles.h"
#include "JpegFiles.h"
#include "TestFiles.h"
#include "io/PictureFiles.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

const std::string kDamagedJpeg = "fichier JPEG tronqué ou endommagé";
const std::string kDamagedGif = "fichier GIF tronqué ou endommagé";

// The reasons the file `bytes` is refused with, read whole and as a preview
// ("accepted" for a road that reads it).
std::pair<std::string, std::string> Refusals(const QTemporaryDir& folder, const QByteArray& bytes) {
  const QString path = folder.filePath(u"photo"_s);
  WriteBytes(path, bytes);
  const auto reason = [](auto&& read) {
    try {
      read();
    } catch (const io::FileError& refusal) {
      return refusal.description();
    }
    return std::string("accepted");
  };
  return {reason([&] { (void)io::ReadPicture(path); }),
          reason([&] { (void)io::ReadPreview(path, 40, 30); })};
}

std::pair<std::string, std::string> Both(const std::string& reason) { return {reason, reason}; }

cDIBSection Read(const QTemporaryDir& folder, const QByteArray& bytes) {
  const QString path = folder.filePath(u"photo"_s);
  WriteBytes(path, bytes);
  return MustRead(path);
}

TEST(DamagedFiles, AJpegOfMoreScansThanTheLimitIsRefusedWhateverItsOrder) {
  QTemporaryDir folder;
  const cDIBSection photo = SmoothSurface(301, 203);
  const QByteArray progressive = EncodeJpeg(photo, true);
  ASSERT_EQ(Scans(progressive).size(), 10u);
  const cDIBSection whole = Read(folder, progressive);

  // 500 scans in all: each added one sends the last coefficient of the photo's brightness again
  // as zero, which a smooth photo already has.
  const QByteArray most = WithEmptyScans(progressive, 490);
  ASSERT_EQ(Scans(most).size(), 500u);
  const cDIBSection read = Read(folder, most);
  ASSERT_EQ(std::pair(read.width(), read.height()), std::pair(301, 203));
  EXPECT_LE(MaxDifference(read, whole), 1);

  const std::string tooMany = "fichier JPEG de plus de 500 passes : trop long à décoder";
  EXPECT_EQ(Refusals(folder, WithEmptyScans(progressive, 491)), Both(tooMany));
  // Scans repeated out of order: the decoder would only warn and go through them all.
  QByteArray repeated = progressive.chopped(2);
  const ScanBytes last = Scans(progressive).back();
  for (int i = 0; i < 600; ++i) repeated.append(progressive.mid(last.start, last.end - last.start));
  EXPECT_EQ(Refusals(folder, repeated + "\xFF\xD9"), Both(tooMany));
  // With one repeat only, the order alone makes the file damaged.
  EXPECT_EQ(Refusals(folder, progressive.chopped(2) +
                                 progressive.mid(last.start, last.end - last.start) + "\xFF\xD9"),
            Both(kDamagedJpeg));
}

TEST(DamagedFiles, AProgressiveJpegIsWholeOnlyWithItsLastScan) {
  QTemporaryDir folder;
  for (const bool cmyk : {false, true}) {
    SCOPED_TRACE(cmyk ? "CMYK" : "colour");
    const QByteArray progressive =
        cmyk ? EncodeCmykJpeg(37, 21, 4, true) : EncodeJpeg(SmoothSurface(37, 21), true);
    const int scans = int(Scans(progressive).size());
    ASSERT_GE(scans, 10);
    // The last scan closed by the end marker is the file as written.
    ASSERT_EQ(KeepScans(progressive, scans), progressive);
    EXPECT_EQ(Refusals(folder, progressive), Both("accepted"));
    for (int kept = 1; kept < scans; ++kept) {
      SCOPED_TRACE(kept);
      EXPECT_EQ(Refusals(folder, KeepScans(progressive, kept)), Both(kDamagedJpeg));
    }
  }
}

// Qt's own reading of a CMYK JPEG, in the surface's layout.
cDIBSection QtReading(const QByteArray& jpeg) {
  QByteArray bytes = jpeg;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "jpeg");
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  cDIBSection s;
  EXPECT_TRUE(s.Create(image.width(), image.height()));
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      std::uint8_t* p = s.row(image.height() - 1 - y) + 3 * x;
      p[0] = std::uint8_t(qBlue(c));
      p[1] = std::uint8_t(qGreen(c));
      p[2] = std::uint8_t(qRed(c));
    }
  }
  return s;
}

TEST(DamagedFiles, ACmykJpegReadsAsQtReadsItAndIsRefusedCut) {
  QTemporaryDir folder;
  const QByteArray cmyk = EncodeCmykJpeg(67, 45, 9);
  for (const std::uint16_t orientation : {1, 6}) {
    SCOPED_TRACE(orientation);
    const QByteArray file = orientation == 1 ? cmyk : WithExifOrientation(cmyk, orientation);
    const cDIBSection read = Read(folder, file), qt = QtReading(file);
    ASSERT_EQ(std::pair(read.width(), read.height()), std::pair(qt.width(), qt.height()));
    EXPECT_EQ(MaxDifference(read, qt), 0);
  }
  // Cut anywhere in its coded data, with or without an end marker: Qt's reader would fill the
  // rest with grey; the decoder's own warning refuses it.
  const ScanBytes scan = Scans(cmyk).front();
  for (const qsizetype cut : {scan.start + 40, (scan.start + scan.end) / 2, scan.end - 3}) {
    SCOPED_TRACE(cut);
    EXPECT_EQ(Refusals(folder, cmyk.left(cut)), Both(kDamagedJpeg));
    EXPECT_EQ(Refusals(folder, cmyk.left(cut) + "\xFF\xD9"), Both(kDamagedJpeg));
  }
}

TEST(DamagedFiles, AGifIsWholeOnlyWhenItsCodesMakeEveryPixel) {
  QTemporaryDir folder;
  constexpr std::int32_t kWidth = 301, kHeight = 203;
  // Runs and noise, so that the table fills several times and codes reach 12 bits.
  std::vector<std::uint8_t> indices(std::size_t(kWidth) * kHeight);
  std::mt19937 random(7);
  for (std::size_t i = 0; i < indices.size(); ++i) {
    indices[i] = (i / 97) % 3 == 0 ? std::uint8_t(random() & 3) : std::uint8_t((i / 5) & 3);
  }
  const QByteArray packed = GifCodes(indices, indices.size());
  // More codes than one table holds, even were they all 12 bits wide.
  ASSERT_GT(packed.size(), 4096 * 12 / 8);
  const cDIBSection whole = Read(folder, CompressedGif(kWidth, kHeight, packed));
  ASSERT_EQ(std::pair(whole.width(), whole.height()), std::pair(kWidth, kHeight));
  int wrong = 0;
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      wrong += Displayed(whole, x, y) != kGifColours[indices[std::size_t(y) * kWidth + x]];
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(Refusals(folder, CompressedGif(kWidth, kHeight, packed)), Both("accepted"));
  const auto gif = [&](const QByteArray& codes) { return CompressedGif(kWidth, kHeight, codes); };

  // The end code one pixel early, or half way; the data stopping short of its end code, in a
  // block structure that is whole.
  EXPECT_EQ(Refusals(folder, gif(GifCodes(indices, indices.size() - 1))), Both(kDamagedGif));
  EXPECT_EQ(Refusals(folder, gif(GifCodes(indices, indices.size() / 2))), Both(kDamagedGif));
  EXPECT_EQ(Refusals(folder, gif(packed.left(packed.size() * 3 / 4))), Both(kDamagedGif));
  // Codes the table does not hold yet (all bits set, where the codes are 12 bits wide).
  QByteArray unknown = packed;
  unknown.replace(1000, 4, "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(Refusals(folder, gif(unknown)), Both(kDamagedGif));
}

TEST(DamagedFiles, AGifOfATinyPictureOnAVastScreenIsCountedAtTheScreensSize) {
  QTemporaryDir folder;
  QByteArray gif = MakeGif(2, 2, kGifColours, -1, {0, 1, 2, 3});
  // The logical screen 10000 x 10000: Qt's reader makes an image of that size.
  gif.replace(6, 4, QByteArray::fromHex("10271027"));
  const std::uint64_t budget = io::SetPictureMemoryBudget(std::uint64_t{500} << 20);
  EXPECT_EQ(Refusals(folder, gif),
            Both("image trop grande pour la mémoire disponible (10000 x 10000)"));
  io::SetPictureMemoryBudget(budget);
}

}  // namespace
}  // namespace fotavel::testing
