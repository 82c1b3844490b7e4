// JPEG photos turned by moving their blocks: the eight lies against plain pixel turns, the files
// against libturbojpeg's own transform, the cut edges, the EXIF-oriented sources.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <QTemporaryDir>
#include <memory>

#include "JpegFiles.h"
#include "TestFiles.h"
#include "io/LosslessJpeg.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using io::BlockTransform;
using io::JpegSource;
using namespace Qt::StringLiterals;

// The eight lies, in the order of their EXIF numbers, and libturbojpeg's operation for each.
const BlockTransform kAll[8] = {{0, false}, {0, true},  {2, false}, {2, true},
                                {3, true},  {1, false}, {1, true},  {3, false}};
const int kOperations[8] = {TJXOP_NONE,      TJXOP_HFLIP, TJXOP_ROT180,     TJXOP_VFLIP,
                            TJXOP_TRANSPOSE, TJXOP_ROT90, TJXOP_TRANSVERSE, TJXOP_ROT270};

// `picture` mirrored left to right when asked, then turned a quarter
// clockwise `quarterTurns` times, one pixel at a time.
cDIBSection Turned(const cDIBSection& picture, BlockTransform transform) {
  cDIBSection out = Copy(picture);
  if (transform.mirrored) {
    for (std::int32_t y = 0; y < out.height(); ++y) {
      for (std::int32_t x = 0; x < out.width(); ++x) {
        SetPixelRGB(out, x, y, PixelRGB(picture, picture.width() - 1 - x, y));
      }
    }
  }
  for (int turn = 0; turn < transform.quarterTurns; ++turn) {
    cDIBSection next;
    EXPECT_TRUE(next.Create(out.height(), out.width()));
    // Clockwise: shown (x, y) of the result is shown (y, H - 1 - x) of the picture before.
    for (std::int32_t y = 0; y < next.height(); ++y) {
      for (std::int32_t x = 0; x < next.width(); ++x) {
        SetPixelRGB(next, x, next.height() - 1 - y, Displayed(out, y, out.height() - 1 - x));
      }
    }
    out = std::move(next);
  }
  return out;
}

JpegSource SourceOf(const QByteArray& jpeg, BlockTransform upright = {}) {
  return {std::make_shared<const QByteArray>(jpeg), upright};
}

cDIBSection Decoded(const QByteArray& jpeg, QTemporaryDir& folder) {
  const QString path = folder.filePath(QStringLiteral("decoded.jpg"));
  WriteBytes(path, jpeg);
  return MustRead(path);
}

// Then composes as turning twice does, and UprightFor stands each stored pixel where the EXIF
// orientation shows it; anything but 1 … 8 is read as stored.
TEST(LosslessJpegTest, TheEightLiesComposeAndStandEachOrientationUpright) {
  cDIBSection numbered;  // every pixel told from the others
  ASSERT_TRUE(numbered.Create(5, 3));
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) SetPixelRGB(numbered, x, y, std::uint32_t(10 * y + x));
  }
  for (const BlockTransform first : kAll) {
    for (const BlockTransform second : kAll) {
      const cDIBSection twice = Turned(Turned(numbered, first), second);
      const cDIBSection once = Turned(numbered, io::Then(first, second));
      EXPECT_TRUE(SamePixels(twice, once))
          << first.quarterTurns << first.mirrored << " then " << second.quarterTurns
          << second.mirrored << ": " << FirstDifference(twice, once);
    }
  }
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const cDIBSection upright = Turned(numbered, io::UprightFor(orientation));
    ASSERT_EQ(upright.width(), orientation >= 5 ? 3 : 5) << orientation;
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 5; ++c) {
        const auto [x, y] = ShownAt(orientation, c, r, 5, 3);
        EXPECT_EQ(Displayed(upright, x, y), Displayed(numbered, c, r)) << orientation;
      }
    }
  }
  EXPECT_TRUE(io::UprightFor(0).IsIdentity());
  EXPECT_TRUE(io::UprightFor(9).IsIdentity());
}

// A perfect transform writes the very file libturbojpeg writes, and its pixels are the photo's
// turned, within the rounding of moved blocks: the decoder's inverse transform rounds them a
// little differently, and 4:2:0's smoothed colour moves with its blocks.
TEST(LosslessJpegTest, PerfectTransformsAreTurboJpegsOwnFileAndThePhotoTurned) {
  QTemporaryDir folder;
  const cDIBSection photo = SmoothSurface(48, 32);
  for (const auto& [subsampling, largestAllowed] : {std::pair(TJSAMP_444, 3), {TJSAMP_420, 6}}) {
    const QByteArray jpeg = EncodeJpegSampled(photo, subsampling);
    const cDIBSection read = Decoded(jpeg, folder);
    for (int k = 0; k < 8; ++k) {
      SCOPED_TRACE(::testing::Message() << "subsampling " << subsampling << " lie " << k + 1);
      const io::LosslessPlan plan = io::PlanLossless(SourceOf(jpeg), kAll[k]);
      const bool swapped = kAll[k].quarterTurns % 2 == 1;
      EXPECT_EQ(std::tuple(plan.perfect, plan.width, plan.height, plan.cutLeft, plan.cutTop),
                std::tuple(true, swapped ? 32 : 48, swapped ? 48 : 32, 0, 0));
      const QByteArray moved = io::TransformJpeg(SourceOf(jpeg), kAll[k], false).ToBytes();
      EXPECT_EQ(moved, TurboTransformed(jpeg, kOperations[k], TJXOPT_PERFECT));
      const cDIBSection back = Decoded(moved, folder), expected = Turned(read, kAll[k]);
      ASSERT_EQ(std::pair(back.width(), back.height()),
                std::pair(expected.width(), expected.height()));
      EXPECT_LE(MaxDifference(back, expected), largestAllowed);
    }
  }
}

// 37 x 21 photos: what hangs over the last whole block of a side cannot move whole. In 4:2:0
// (blocks of 16 x 16) a turn right moves the bottom edge, a turn left the right edge, a half turn
// both, a transpose neither; they are cut only when asked. Every subsampling has its own blocks,
// CMYK and progressive files move as well.
TEST(LosslessJpegTest, EdgesOfPartialBlocksAreCutOnlyWhenAsked) {
  const cDIBSection photo = SmoothSurface(37, 21);
  const QByteArray jpeg = EncodeJpegSampled(photo, TJSAMP_420);
  const struct {
    QByteArray jpeg;
    BlockTransform transform;
    int operation;
    bool perfect;
    std::int32_t width, height, cutLeft, cutTop, blockWidth, blockHeight;
  } kCases[] = {
      {jpeg, {1, false}, TJXOP_ROT90, false, 16, 37, 5, 0, 16, 16},
      {jpeg, {3, false}, TJXOP_ROT270, false, 21, 32, 0, 5, 16, 16},
      {jpeg, {2, false}, TJXOP_ROT180, false, 32, 16, 5, 5, 16, 16},
      {jpeg, {0, true}, TJXOP_HFLIP, false, 32, 21, 5, 0, 16, 16},
      {jpeg, {3, true}, TJXOP_TRANSPOSE, true, 21, 37, 0, 0, 16, 16},
      {EncodeJpegSampled(photo, TJSAMP_GRAY), {2, false}, TJXOP_ROT180, false, 32, 16, 5, 5, 8, 8},
      {EncodeJpegSampled(photo, TJSAMP_422), {2, false}, TJXOP_ROT180, false, 32, 16, 5, 5, 16, 8},
      {EncodeJpegSampled(photo, TJSAMP_440), {2, false}, TJXOP_ROT180, false, 32, 16, 5, 5, 8, 16},
      {EncodeJpeg(photo, true), {2, false}, TJXOP_ROT180, false, 32, 16, 5, 5, 16, 16},
      {EncodeJpegSampled(photo, TJSAMP_411), {2, false}, TJXOP_ROT180, false, 32, 16, 5, 5, 32, 8},
      {EncodeCmykJpeg(37, 21, 5), {2, false}, TJXOP_ROT180, false, 32, 16, 5, 5, 8, 8},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(::testing::Message() << "operation " << c.operation << ", blocks " << c.blockWidth
                                      << 'x' << c.blockHeight);
    const JpegSource source = SourceOf(c.jpeg);
    const io::LosslessPlan plan = io::PlanLossless(source, c.transform);
    EXPECT_EQ(
        std::tuple(plan.perfect, plan.width, plan.height, plan.cutLeft, plan.cutTop,
                   plan.blockWidth, plan.blockHeight),
        std::tuple(c.perfect, c.width, c.height, c.cutLeft, c.cutTop, c.blockWidth, c.blockHeight));
    const QByteArray cut = io::TransformJpeg(source, c.transform, true).ToBytes();
    EXPECT_EQ(cut, TurboTransformed(c.jpeg, c.operation, c.perfect ? TJXOPT_PERFECT : TJXOPT_TRIM));
    if (c.perfect) continue;
    const io::FileError refusal =
        FileFailure([&] { (void)io::TransformJpeg(source, c.transform, false); });
    EXPECT_EQ(std::pair(refusal.text(), refusal.number()),
              std::pair(u"les côtés de la photo (37 x 21 pixels) ne sont pas des multiples des "
                        u"blocs JPEG (%1 x %2 pixels) : la tourner sans perte couperait ses bords"_s
                            .arg(c.blockWidth)
                            .arg(c.blockHeight),
                        io::FileErrors::kWrite));
  }
}

TEST(LosslessJpegTest, RefusesWhatHasNoBlocksToMove) {
  const QByteArray tiny = EncodeJpegSampled(SmoothSurface(7, 5), TJSAMP_420);
  EXPECT_EQ(FileFailure([&] {
              (void)io::PlanLossless(SourceOf(tiny), {1, false});
            }).text(),
            QStringLiteral("photo de 7 x 5 pixels, plus petite qu'un bloc JPEG de "
                           "16 x 16 : elle ne peut pas être tournée sans perte"));
  // A transpose moves no partial block: even the smallest photo can have it.
  EXPECT_TRUE(io::PlanLossless(SourceOf(tiny), {3, true}).perfect);
  EXPECT_EQ(FileFailure([&] {
              (void)io::PlanLossless(JpegSource(), {1, false});
            }).text(),
            QStringLiteral("la photo ne vient pas d'un fichier JPEG"));
  const io::FileError damaged = FileFailure([&] {
    (void)io::TransformJpeg(SourceOf(QByteArray("\xFF\xD8\xFF\xE0 rien", 9)), {1, false}, false);
  });
  EXPECT_EQ(std::pair(damaged.text(), damaged.number()),
            std::pair(QStringLiteral("fichier JPEG d'origine illisible"), io::FileErrors::kWrite));
}

// Reading a JPEG keeps its file and the turn that stood it upright; the moves are then made on
// the file as stored, the upright turn first.
TEST(LosslessJpegTest, ReadPictureKeepsTheFileAndItsUprightTurn) {
  QTemporaryDir folder;
  const QByteArray stored = EncodeJpegSampled(SmoothSurface(48, 32), TJSAMP_444);
  const struct {
    int orientation;
    BlockTransform upright, turn;
    int operation;  // on the blocks as stored
  } kCases[] = {
      {1, {}, {1, false}, TJXOP_ROT90},
      {6, {1, false}, {3, false}, TJXOP_NONE},  // turned left, it lies as stored
      {3, {2, false}, {1, false}, TJXOP_ROT270},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.orientation);
    const QByteArray jpeg =
        c.orientation == 1 ? stored : WithExifOrientation(stored, std::uint16_t(c.orientation));
    const QString path = folder.filePath(QStringLiteral("oriented.jpg"));
    WriteBytes(path, jpeg);
    JpegSource source;
    const cDIBSection photo = io::ReadPicture(path, nullptr, &source);
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(*source.bytes, jpeg);
    EXPECT_EQ(source.upright, c.upright);
    const QByteArray moved =
        io::TransformJpeg(source, io::Then(source.upright, c.turn), false).ToBytes();
    EXPECT_EQ(moved, TurboTransformed(jpeg, c.operation, TJXOPT_PERFECT));
    EXPECT_LE(MaxDifference(Decoded(moved, folder), Turned(photo, c.turn)), 3);
  }
}

}  // namespace
}  // namespace fotavel::testing
