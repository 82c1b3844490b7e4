// JPEG photos turned by moving their blocks: the eight lies against plain pixel turns, the files
// against libturbojpeg's own transform, the cut edges, the EXIF-oriented sources.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <QTemporaryDir>
#include <memory>

#include "JpegFiles.h"
#include "TestFiles.h"
#include "effects/cImageProcessDIB.h"
#include "io/LosslessJpeg.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using io::BlockTransform;
using io::JpegSource;

// The eight lies, in the order of their EXIF numbers.
const BlockTransform kAll[8] = {{0, false}, {0, true},  {2, false}, {2, true},
                                {3, true},  {1, false}, {1, true},  {3, false}};

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
    // Clockwise: the shown top row becomes the right column; shown (x, y) of
    // the result is shown (y, H - 1 - x) of the picture before the turn.
    for (std::int32_t y = 0; y < next.height(); ++y) {
      for (std::int32_t x = 0; x < next.width(); ++x) {
        const std::uint32_t rgb = Displayed(out, y, out.height() - 1 - x);
        SetPixelRGB(next, x, next.height() - 1 - y, rgb);
      }
    }
    out = std::move(next);
  }
  return out;
}

// Every pixel of a 5 x 3 picture told from the others.
cDIBSection Numbered() {
  cDIBSection picture;
  EXPECT_TRUE(picture.Create(5, 3));
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) SetPixelRGB(picture, x, y, std::uint32_t(10 * y + x));
  }
  return picture;
}

TEST(LosslessJpegTest, ThenComposesAsTurningTwiceDoes) {
  const cDIBSection picture = Numbered();
  for (const BlockTransform first : kAll) {
    for (const BlockTransform second : kAll) {
      const cDIBSection twice = Turned(Turned(picture, first), second);
      const cDIBSection once = Turned(picture, io::Then(first, second));
      EXPECT_TRUE(SamePixels(twice, once))
          << first.quarterTurns << first.mirrored << " then " << second.quarterTurns
          << second.mirrored << ": " << FirstDifference(twice, once);
    }
  }
  // Each lie has an undoing one, and identity only comes back through it.
  EXPECT_TRUE(io::Then({1, false}, {3, false}).IsIdentity());
  EXPECT_TRUE(io::Then({1, true}, {1, true}).IsIdentity());
  EXPECT_FALSE(io::Then({1, false}, {1, false}).IsIdentity());
}

TEST(LosslessJpegTest, UprightForStandsEachExifOrientationUpright) {
  const cDIBSection stored = Numbered();
  const std::int32_t w = stored.width(), h = stored.height();
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const cDIBSection upright = Turned(stored, io::UprightFor(orientation));
    const bool swapped = orientation >= 5;
    ASSERT_EQ(upright.width(), swapped ? h : w) << orientation;
    for (int r = 0; r < h; ++r) {
      for (int c = 0; c < w; ++c) {
        const auto [x, y] = ShownAt(orientation, c, r, w, h);
        EXPECT_EQ(Displayed(upright, x, y), Displayed(stored, c, r))
            << "orientation " << orientation << " stored " << c << "," << r;
      }
    }
  }
  // Anything but 1 … 8 is read as stored.
  EXPECT_TRUE(io::UprightFor(0).IsIdentity());
  EXPECT_TRUE(io::UprightFor(9).IsIdentity());
}

JpegSource SourceOf(const QByteArray& jpeg, BlockTransform upright = {}) {
  return {std::make_shared<const QByteArray>(jpeg), upright};
}

// libturbojpeg's operation for each of kAll, written out.
const int kOperations[8] = {TJXOP_NONE,      TJXOP_HFLIP, TJXOP_ROT180,     TJXOP_VFLIP,
                            TJXOP_TRANSPOSE, TJXOP_ROT90, TJXOP_TRANSVERSE, TJXOP_ROT270};

cDIBSection Decoded(const QByteArray& jpeg, QTemporaryDir& folder) {
  const QString path = folder.filePath(QStringLiteral("decoded.jpg"));
  WriteBytes(path, jpeg);
  return MustRead(path);
}

// Largest and mean difference of two pictures of the same size.
std::pair<int, double> Differences(const cDIBSection& a, const cDIBSection& b) {
  int largest = 0;
  double sum = 0;
  for (std::int32_t y = 0; y < a.height(); ++y) {
    for (std::int32_t x = 0; x < 3 * a.width(); ++x) {
      const int d = std::abs(int(a.row(y)[x]) - int(b.row(y)[x]));
      largest = std::max(largest, d);
      sum += d;
    }
  }
  return {largest, sum / (3.0 * a.width() * a.height())};
}

// A perfect transform writes the very file libturbojpeg writes, and its
// pixels are the photo's turned. The decoder's inverse transform rounds the
// moved blocks a little differently from the unmoved ones (rows and columns
// swap in its two passes), and 4:2:0's colour planes are smoothed up in the
// other direction, so pixels agree within a tolerance: 3 in 4:4:4, a little
// more in 4:2:0 where the smoothed colour moves with its blocks.
TEST(LosslessJpegTest, PerfectTransformsAreTurboJpegsOwnFileAndThePhotoTurned) {
  QTemporaryDir folder;
  const cDIBSection photo = SmoothSurface(48, 32);
  for (const auto& [subsampling, largestAllowed] : {std::pair(TJSAMP_444, 3), {TJSAMP_420, 6}}) {
    const QByteArray jpeg = EncodeJpegSampled(photo, subsampling);
    const JpegSource source = SourceOf(jpeg);
    const cDIBSection read = Decoded(jpeg, folder);
    for (int k = 0; k < 8; ++k) {
      SCOPED_TRACE(::testing::Message() << "subsampling " << subsampling << " lie " << k + 1);
      const io::LosslessPlan plan = io::PlanLossless(source, kAll[k]);
      EXPECT_TRUE(plan.perfect);
      const bool swapped = kAll[k].quarterTurns % 2 == 1;
      EXPECT_EQ(plan.width, swapped ? 32 : 48);
      EXPECT_EQ(plan.height, swapped ? 48 : 32);
      EXPECT_EQ(plan.cutLeft + plan.cutTop, 0);
      const QByteArray moved = io::TransformJpeg(source, kAll[k], false).ToBytes();
      EXPECT_EQ(moved, TurboTransformed(jpeg, kOperations[k], TJXOPT_PERFECT));
      const cDIBSection back = Decoded(moved, folder);
      const cDIBSection expected = Turned(read, kAll[k]);
      ASSERT_EQ(back.width(), expected.width());
      ASSERT_EQ(back.height(), expected.height());
      const auto [largest, mean] = Differences(back, expected);
      EXPECT_LE(largest, largestAllowed);
      EXPECT_LT(mean, 0.5);
    }
  }
}

// The quarter turns the window makes are the engine's: a block-turned file
// reads back as the engine turns the photo read from the source.
TEST(LosslessJpegTest, QuarterTurnsReadBackAsTheEngineTurnsThePhoto) {
  QTemporaryDir folder;
  const QByteArray jpeg = EncodeJpegSampled(SmoothSurface(64, 40), TJSAMP_444);
  const cDIBSection read = Decoded(jpeg, folder);
  cImageProcessDIB engine;
  for (const bool left : {true, false}) {
    cDIBSection turned = Copy(read);
    engine.Tourner(turned, left);
    const cDIBSection back =
        Decoded(io::TransformJpeg(SourceOf(jpeg), {left ? 3 : 1, false}, false).ToBytes(), folder);
    ASSERT_EQ(back.width(), 40);
    EXPECT_LE(Differences(back, turned).first, 3) << (left ? "left" : "right");
  }
}

// 37 x 21 in 4:2:0 (blocks of 16 x 16): 5 columns and 5 rows hang over the
// last whole blocks. A turn right moves the bottom edge, a turn left the
// right edge, a half turn both, a transpose neither.
TEST(LosslessJpegTest, EdgesOfPartialBlocksAreCutOnlyWhenAsked) {
  QTemporaryDir folder;
  const QByteArray jpeg = EncodeJpegSampled(SmoothSurface(37, 21), TJSAMP_420);
  const JpegSource source = SourceOf(jpeg);
  struct Case {
    BlockTransform transform;
    int operation;
    bool perfect;
    std::int32_t width, height, cutLeft, cutTop;
  };
  const Case cases[] = {
      {{1, false}, TJXOP_ROT90, false, 16, 37, 5, 0},
      {{3, false}, TJXOP_ROT270, false, 21, 32, 0, 5},
      {{2, false}, TJXOP_ROT180, false, 32, 16, 5, 5},
      {{0, true}, TJXOP_HFLIP, false, 32, 21, 5, 0},
      {{3, true}, TJXOP_TRANSPOSE, true, 21, 37, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "operation " << c.operation);
    const io::LosslessPlan plan = io::PlanLossless(source, c.transform);
    EXPECT_EQ(plan.perfect, c.perfect);
    EXPECT_EQ(plan.width, c.width);
    EXPECT_EQ(plan.height, c.height);
    EXPECT_EQ(plan.cutLeft, c.cutLeft);
    EXPECT_EQ(plan.cutTop, c.cutTop);
    EXPECT_EQ(plan.blockWidth, 16);
    const QByteArray cut = io::TransformJpeg(source, c.transform, true).ToBytes();
    EXPECT_EQ(cut, TurboTransformed(jpeg, c.operation, c.perfect ? TJXOPT_PERFECT : TJXOPT_TRIM));
    const cDIBSection back = Decoded(cut, folder);
    EXPECT_EQ(back.width(), c.width);
    EXPECT_EQ(back.height(), c.height);
    if (c.perfect) continue;
    // The cut takes the photo's left and top strips: what is left is the
    // rest of the whole turned photo.
    const cDIBSection whole = Turned(Decoded(jpeg, folder), c.transform);
    int largest = 0;
    for (std::int32_t y = 0; y < c.height; ++y) {
      for (std::int32_t x = 0; x < c.width; ++x) {
        const std::uint32_t a = Displayed(back, x, y),
                            b = Displayed(whole, x + c.cutLeft, y + c.cutTop);
        for (int shift : {0, 8, 16}) {
          largest = std::max(largest, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
        }
      }
    }
    EXPECT_LE(largest, 12);
    const io::FileError refusal =
        FileFailure([&] { (void)io::TransformJpeg(source, c.transform, false); });
    EXPECT_EQ(refusal.number(), io::FileErrors::kWrite);
    EXPECT_EQ(refusal.text(),
              QStringLiteral("les côtés de la photo (37 x 21 pixels) ne sont pas des multiples "
                             "des blocs JPEG (16 x 16 pixels) : la tourner sans perte couperait "
                             "ses bords"));
  }
}

// Every subsampling has its own blocks: 8 x 8 (grey, 4:4:4), 16 x 8 (4:2:2), 8 x 16 (4:4:0),
// 16 x 16 (4:2:0), 32 x 8 (4:1:1); CMYK photos and progressive files move as well. On a 37 x 21
// photo a half turn cuts what hangs over the last whole block of each side.
TEST(LosslessJpegTest, EverySubsamplingCutsToItsOwnBlocks) {
  const cDIBSection photo = SmoothSurface(37, 21);
  struct Case {
    const char* name;
    QByteArray jpeg;
    std::int32_t blockWidth, blockHeight;
  };
  const Case cases[] = {
      {"grey", EncodeJpegSampled(photo, TJSAMP_GRAY), 8, 8},
      {"4:4:4", EncodeJpegSampled(photo, TJSAMP_444), 8, 8},
      {"4:2:2", EncodeJpegSampled(photo, TJSAMP_422), 16, 8},
      {"4:4:0", EncodeJpegSampled(photo, TJSAMP_440), 8, 16},
      {"4:2:0 progressive", EncodeJpeg(photo, true), 16, 16},
      {"4:1:1", EncodeJpegSampled(photo, TJSAMP_411), 32, 8},
      {"CMYK", EncodeCmykJpeg(37, 21, 5), 8, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const JpegSource source = SourceOf(c.jpeg);
    const io::LosslessPlan plan = io::PlanLossless(source, {2, false});
    EXPECT_EQ(plan.blockWidth, c.blockWidth);
    EXPECT_EQ(plan.blockHeight, c.blockHeight);
    EXPECT_EQ(plan.cutLeft, 37 % c.blockWidth);
    EXPECT_EQ(plan.cutTop, 21 % c.blockHeight);
    EXPECT_EQ(plan.width, 37 - 37 % c.blockWidth);
    EXPECT_EQ(plan.height, 21 - 21 % c.blockHeight);
    EXPECT_EQ(io::TransformJpeg(source, {2, false}, true).ToBytes(),
              TurboTransformed(c.jpeg, TJXOP_ROT180, TJXOPT_TRIM));
  }
}

TEST(LosslessJpegTest, RefusesWhatHasNoBlocksToMove) {
  const QByteArray tiny = EncodeJpegSampled(SmoothSurface(7, 5), TJSAMP_420);
  const io::FileError tooSmall = FileFailure([&] {
    (void)io::PlanLossless(SourceOf(tiny), {1, false});
  });
  EXPECT_EQ(tooSmall.text(), QStringLiteral("photo de 7 x 5 pixels, plus petite qu'un bloc JPEG de "
                                            "16 x 16 : elle ne peut pas être tournée sans perte"));
  // A transpose moves no partial block: even the smallest photo can have it.
  EXPECT_TRUE(io::PlanLossless(SourceOf(tiny), {3, true}).perfect);
  const io::FileError none = FileFailure([&] { (void)io::PlanLossless(JpegSource(), {1, false}); });
  EXPECT_EQ(none.text(), QStringLiteral("la photo ne vient pas d'un fichier JPEG"));
  const io::FileError damaged = FileFailure([&] {
    (void)io::TransformJpeg(SourceOf(QByteArray("\xFF\xD8\xFF\xE0 rien", 9)), {1, false}, false);
  });
  EXPECT_EQ(damaged.text(), QStringLiteral("fichier JPEG d'origine illisible"));
  EXPECT_EQ(damaged.number(), io::FileErrors::kWrite);
}

// Reading a JPEG keeps its file and the turn that stood it upright; the
// moves are then made on the file as stored, the upright turn first.
TEST(LosslessJpegTest, ReadPictureKeepsTheFileAndItsUprightTurn) {
  QTemporaryDir folder;
  const QByteArray stored = EncodeJpegSampled(SmoothSurface(48, 32), TJSAMP_444);
  for (const auto& [orientation, upright] : {std::pair(1, BlockTransform{}),
                                             {6, BlockTransform{1, false}},
                                             {3, BlockTransform{2, false}}}) {
    SCOPED_TRACE(orientation);
    const QByteArray jpeg =
        orientation == 1 ? stored : WithExifOrientation(stored, std::uint16_t(orientation));
    const QString path = folder.filePath(QStringLiteral("oriented.jpg"));
    WriteBytes(path, jpeg);
    JpegSource source;
    const cDIBSection photo = io::ReadPicture(path, nullptr, &source);
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(*source.bytes, jpeg);
    EXPECT_EQ(source.upright, upright);
    // Orientation 6 turned left once more lies as stored: the blocks as they are.
    if (orientation == 6) {
      const BlockTransform total = io::Then(source.upright, {3, false});
      EXPECT_TRUE(total.IsIdentity());
      EXPECT_EQ(io::TransformJpeg(source, total, false).ToBytes(),
                TurboTransformed(jpeg, TJXOP_NONE, TJXOPT_PERFECT));
    }
    // Orientation 3 turned right: three quarter turns of the stored blocks.
    if (orientation == 3) {
      const BlockTransform total = io::Then(source.upright, {1, false});
      EXPECT_EQ(total, (BlockTransform{3, false}));
      const cDIBSection back = Decoded(io::TransformJpeg(source, total, false).ToBytes(), folder);
      EXPECT_LE(Differences(back, Turned(photo, {1, false})).first, 3);
    }
  }
  // Other formats leave no source, and a source met before is emptied.
  JpegSource source = SourceOf(stored);
  const QString bmp = folder.filePath(QStringLiteral("photo.bmp"));
  io::WriteBmp(SmoothSurface(8, 8), bmp);
  (void)io::ReadPicture(bmp, nullptr, &source);
  EXPECT_TRUE(source.empty());
}

}  // namespace
}  // namespace fotavel::testing
