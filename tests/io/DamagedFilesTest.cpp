// Damaged and hostile files the decoders once accepted: JPEG scans without end or cut short, CMYK
// JPEGs cut, GIFs whose codes stop early; refused by the photo's reading and its preview alike.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <random>

#include "GifFiles.h"
#include "JpegFiles.h"
#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

const std::string kDamagedJpeg = "fichier JPEG tronqué ou endommagé";
const std::string kDamagedGif = "fichier GIF tronqué ou endommagé";

// The reason the file `bytes` is refused with ("accepted" when it is read); its preview must be
// refused alike.
std::string Refusal(const QByteArray& bytes) {
  QTemporaryDir folder;
  const QString path = folder.filePath(u"photo"_s);
  WriteBytes(path, bytes);
  const auto reason = [](auto&& read) -> std::string {
    try {
      read();
      return "accepted";
    } catch (const io::FileError& refusal) {
      return refusal.description();
    }
  };
  const std::string whole = reason([&] { (void)io::ReadPicture(path); });
  EXPECT_EQ(reason([&] { (void)io::ReadPreview(path, 40, 30); }), whole) << "as a preview";
  return whole;
}

cDIBSection Decoded(const QByteArray& bytes) {
  QTemporaryDir folder;
  WriteBytes(folder.filePath(u"photo"_s), bytes);
  return MustRead(folder.filePath(u"photo"_s));
}

TEST(DamagedFiles, AJpegOfMoreScansThanTheLimitIsRefusedWhateverItsOrder) {
  const QByteArray progressive = EncodeJpeg(SmoothSurface(301, 203), true);
  ASSERT_EQ(Scans(progressive).size(), 10u);
  // 500 scans in all: each added one sends the last coefficient of the photo's brightness again
  // as zero, which a smooth photo already has.
  const cDIBSection read = Decoded(WithEmptyScans(progressive, 490));
  ASSERT_EQ(std::pair(read.width(), read.height()), std::pair(301, 203));
  EXPECT_LE(MaxDifference(read, Decoded(progressive)), 1);
  const std::string tooMany = "fichier JPEG de plus de 500 passes : trop long à décoder";
  EXPECT_EQ(Refusal(WithEmptyScans(progressive, 491)), tooMany);
  // Scans repeated out of order: the decoder would only warn and go through them all. With one
  // repeat only, the order alone makes the file damaged.
  const ScanBytes last = Scans(progressive).back();
  const QByteArray scan = progressive.mid(last.start, last.end - last.start);
  EXPECT_EQ(Refusal(progressive.chopped(2) + scan.repeated(600) + "\xFF\xD9"), tooMany);
  EXPECT_EQ(Refusal(progressive.chopped(2) + scan + "\xFF\xD9"), kDamagedJpeg);
}

TEST(DamagedFiles, AProgressiveJpegIsWholeOnlyWithItsLastScan) {
  for (const bool cmyk : {false, true}) {
    SCOPED_TRACE(cmyk ? "CMYK" : "colour");
    const QByteArray progressive =
        cmyk ? EncodeCmykJpeg(37, 21, 4, true) : EncodeJpeg(SmoothSurface(37, 21), true);
    const int scans = int(Scans(progressive).size());
    ASSERT_GE(scans, 10);
    EXPECT_EQ(Refusal(progressive), "accepted");
    for (int kept = 1; kept < scans; ++kept) {
      EXPECT_EQ(Refusal(KeepScans(progressive, kept)), kDamagedJpeg) << kept;
    }
  }
}

TEST(DamagedFiles, ACmykJpegReadsAsQtReadsItAndIsRefusedCut) {
  const QByteArray cmyk = EncodeCmykJpeg(67, 45, 9);
  for (const std::uint16_t orientation : {1, 6}) {
    SCOPED_TRACE(orientation);
    QByteArray file = orientation == 1 ? cmyk : WithExifOrientation(cmyk, orientation);
    QBuffer buffer(&file);
    QImageReader qt(&buffer, "jpeg");
    qt.setAutoTransform(true);
    EXPECT_TRUE(SamePixels(Decoded(file), io::SurfaceFromImage(qt.read())));
  }
  // Cut anywhere in its coded data and closed with an end marker: Qt's reader would fill the rest
  // with grey; the decoder's own warning refuses it.
  const ScanBytes scan = Scans(cmyk).front();
  for (const qsizetype cut : {scan.start + 40, (scan.start + scan.end) / 2, scan.end - 3}) {
    EXPECT_EQ(Refusal(cmyk.left(cut) + "\xFF\xD9"), kDamagedJpeg) << cut;
  }
}

TEST(DamagedFiles, AGifIsWholeOnlyWhenItsCodesMakeEveryPixelOnAScreenCountedWhole) {
  constexpr std::int32_t kWidth = 301, kHeight = 203;
  // Runs and noise, so that the table fills several times and codes reach 12 bits.
  std::vector<std::uint8_t> indices(std::size_t(kWidth) * kHeight);
  std::mt19937 random(7);
  for (std::size_t i = 0; i < indices.size(); ++i) {
    indices[i] = (i / 97) % 3 == 0 ? std::uint8_t(random() & 3) : std::uint8_t((i / 5) & 3);
  }
  const auto gif = [&](const QByteArray& codes) { return CompressedGif(kWidth, kHeight, codes); };
  const QByteArray packed = GifCodes(indices, indices.size());
  // More codes than one table holds, even were they all 12 bits wide.
  ASSERT_GT(packed.size(), 4096 * 12 / 8);
  EXPECT_EQ(Refusal(gif(packed)), "accepted");
  // The end code one pixel early, or half way; the data stopping short of its end code, in a
  // block structure that is whole; codes the table does not hold yet (all bits set, where the
  // codes are 12 bits wide).
  QByteArray unknown = packed;
  unknown.replace(1000, 4, "\xFF\xFF\xFF\xFF");
  for (const QByteArray& codes :
       {GifCodes(indices, indices.size() - 1), GifCodes(indices, indices.size() / 2),
        packed.left(packed.size() * 3 / 4), unknown}) {
    EXPECT_EQ(Refusal(gif(codes)), kDamagedGif);
  }

  // A 2 x 2 picture on a logical screen of 10000 x 10000: Qt's reader makes an image of the screen.
  QByteArray vast = MakeGif(2, 2, kGifColours, -1, {0, 1, 2, 3});
  vast.replace(6, 4, QByteArray::fromHex("10271027"));
  const std::uint64_t budget = io::SetPictureMemoryBudget(std::uint64_t{500} << 20);
  EXPECT_EQ(Refusal(vast), "image trop grande pour la mémoire disponible (10000 x 10000)");
  io::SetPictureMemoryBudget(budget);
}

}  // namespace
}  // namespace fotavel::testing
