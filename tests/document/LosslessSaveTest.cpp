// Saving a JPEG photo by moving its blocks: what the document allows after turns, undos and other
// changes, the file it writes, its cut edges and its refusals.
#include <turbojpeg.h>

#include <functional>
#include <memory>

#include "DocumentFixture.h"
#include "document/LosslessMessages.h"
#include "io/FileError.h"
#include "io/JpegFiles.h"
#include "io/MetadataFiles.h"
#include "io/TestFiles.h"

namespace fotavel::testing {
namespace {

class LosslessSave : public DocumentTest {
 protected:
  // Opens a JPEG of `width` x `height` written as libturbojpeg writes it.
  QByteArray OpenJpeg(std::int32_t width, std::int32_t height, int subsampling = TJSAMP_420) {
    const QByteArray jpeg = EncodeJpegSampled(SmoothSurface(width, height), subsampling);
    WriteFile(source, jpeg);
    EXPECT_NO_THROW(document.OpenFile(source, false));
    return jpeg;
  }
  bool Possible() const { return document.LosslessJpegSave().possible; }

  const QString source = folder.filePath(QStringLiteral("source.jpg"));
  const QString saved = folder.filePath(QStringLiteral("tournee.jpg"));
};

TEST_F(LosslessSave, ATurnedJpegIsSavedAsLibturbojpegMovesItsBlocks) {
  const QByteArray jpeg = OpenJpeg(48, 32);
  EXPECT_FALSE(Possible());  // unchanged: the usual road
  document.Piv_Drt();
  const LosslessJpeg lossless = document.LosslessJpegSave();
  EXPECT_TRUE(lossless.possible);
  EXPECT_TRUE(lossless.perfect);
  EXPECT_EQ(lossless.width, 32);
  EXPECT_EQ(lossless.height, 48);
  EXPECT_EQ(lossless.cutLeft + lossless.cutTop, 0);
  ASSERT_TRUE(document.Dirty());
  document.SaveJpegLossless(saved, false);
  EXPECT_EQ(ReadBytes(saved), TurboTransformed(jpeg, TJXOP_ROT90, TJXOPT_PERFECT));
  EXPECT_FALSE(document.Dirty());
  EXPECT_EQ(document.filename(), saved);
  EXPECT_EQ(document.Caption(), QStringLiteral("Photo: ") + saved);
  EXPECT_LE(MaxDifference(MustRead(saved), document.Picture()), 8);

  // Still turned only: a further turn is counted from the file first opened.
  document.Piv_Drt();
  EXPECT_TRUE(Possible());
  document.SaveJpegLossless(saved, false);
  EXPECT_EQ(ReadBytes(saved), TurboTransformed(jpeg, TJXOP_ROT180, TJXOPT_PERFECT));
}

TEST_F(LosslessSave, TurnsBackToTheOpeningLieTakeTheUsualRoad) {
  OpenJpeg(48, 32);
  document.Piv_Gche();
  document.Piv_Drt();
  LosslessJpeg lossless = document.LosslessJpegSave();
  EXPECT_FALSE(lossless.possible);
  EXPECT_TRUE(lossless.onlyTurned);  // the batch tool's --sans-perte still may copy the blocks
  for (int k = 0; k < 3; ++k) {
    document.Piv_Drt();
    EXPECT_TRUE(Possible()) << k;
  }
  document.Piv_Drt();
  EXPECT_FALSE(Possible());
  // Saved with nothing turned, the blocks are copied as they are.
  document.SaveJpegLossless(saved, false);
  EXPECT_EQ(ReadBytes(saved), TurboTransformed(ReadBytes(source), TJXOP_NONE, TJXOPT_PERFECT));
}

// A camera photo stored lying on its side (orientation 6) opens upright; turned left once it lies
// as stored: its blocks are written as they are, its metadata brought to orientation 1 and the
// stored size. Orientation 3 turned right is three quarter turns of the stored blocks.
TEST_F(LosslessSave, ExifOrientedPhotosAreMovedFromTheirStoredLie) {
  const cDIBSection stored = SmoothSurface(48, 32);
  const QByteArray icc = IccProfile("RGB ");
  WriteCameraPhoto(source, stored, 6, icc);
  document.OpenFile(source, false);
  ASSERT_EQ(document.ImageWidth(), 32);
  document.Piv_Gche();
  LosslessJpeg lossless = document.LosslessJpegSave();
  ASSERT_TRUE(lossless.possible);
  EXPECT_TRUE(lossless.perfect);
  document.SaveJpegLossless(saved, false);
  ExpectCarriedMetadata(source, saved, 48, 32);
  // Whole blocks moved exactly: the pixels the window shows, to the last one.
  EXPECT_TRUE(SamePixels(MustRead(saved), document.Picture()));

  WriteCameraPhoto(source, stored, 3, icc);
  document.OpenFile(source, false);
  document.Piv_Drt();
  lossless = document.LosslessJpegSave();
  EXPECT_TRUE(lossless.possible);
  EXPECT_EQ(lossless.width, 32);
  document.SaveJpegLossless(saved, false);
  ExpectCarriedMetadata(source, saved, 32, 48);
  // Turned blocks decode rounded a little differently from the photo turned whole.
  EXPECT_LE(MaxDifference(MustRead(saved), document.Picture()), 8);
}

// 37 x 21 in 4:2:0 (blocks of 16 x 16) turned right: the bottom strip of 5 rows cannot move
// whole; it lands on the left of the turned photo.
TEST_F(LosslessSave, EdgesOutsideWholeBlocksAreCutOnlyWhenAsked) {
  const QByteArray jpeg = OpenJpeg(37, 21);
  document.Piv_Drt();
  const LosslessJpeg lossless = document.LosslessJpegSave();
  EXPECT_TRUE(lossless.possible);
  EXPECT_FALSE(lossless.perfect);
  EXPECT_EQ(lossless.width, 16);
  EXPECT_EQ(lossless.height, 37);
  EXPECT_EQ(lossless.cutLeft, 5);
  EXPECT_EQ(lossless.cutTop, 0);

  const io::FileError refusal = FileFailure([&] { document.SaveJpegLossless(saved, false); });
  EXPECT_EQ(refusal.number(), io::FileErrors::kWrite);
  EXPECT_EQ(refusal.path(), saved);
  EXPECT_TRUE(refusal.text().startsWith(QStringLiteral("les côtés de la photo (37 x 21 pixels)")))
      << refusal.description();
  EXPECT_FALSE(QFileInfo::exists(saved));
  EXPECT_TRUE(document.Dirty());

  document.SaveJpegLossless(saved, true);
  EXPECT_EQ(ReadBytes(saved), TurboTransformed(jpeg, TJXOP_ROT90, TJXOPT_TRIM));
  const cDIBSection back = MustRead(saved);
  EXPECT_EQ(back.width(), 16);
  EXPECT_EQ(back.height(), 37);
  // The window keeps the whole photo.
  EXPECT_EQ(document.ImageWidth(), 21);
  EXPECT_FALSE(document.Dirty());
}

// Undo and redo bring back, with each photo, whether it was only turned and how.
TEST_F(LosslessSave, UndoAndRedoBringBackTheStateOfTheirPhoto) {
  const QByteArray jpeg = OpenJpeg(48, 32);
  document.Piv_Drt();
  document.Lighten();
  EXPECT_FALSE(document.LosslessJpegSave().onlyTurned);
  document.Annuler();
  ASSERT_TRUE(Possible());
  document.SaveJpegLossless(saved, false);
  EXPECT_EQ(ReadBytes(saved), TurboTransformed(jpeg, TJXOP_ROT90, TJXOPT_PERFECT));
  document.Annuler();
  EXPECT_FALSE(Possible());
  EXPECT_TRUE(document.LosslessJpegSave().onlyTurned);
  document.Retablir();
  EXPECT_TRUE(Possible());
  document.Retablir();
  EXPECT_FALSE(document.LosslessJpegSave().onlyTurned);
  document.Annuler();
  // A turn after an undo starts from the restored lie; the redo it forgets takes its state along.
  document.Piv_Drt();
  EXPECT_FALSE(document.CanRedo());
  document.SaveJpegLossless(saved, false);
  EXPECT_EQ(ReadBytes(saved), TurboTransformed(jpeg, TJXOP_ROT180, TJXOPT_PERFECT));
  // Through a full ring and back.
  for (int k = 0; k < 5; ++k) document.Piv_Gche();
  for (int k = 0; k < 5; ++k) document.Annuler();
  document.SaveJpegLossless(saved, false);
  EXPECT_EQ(ReadBytes(saved), TurboTransformed(jpeg, TJXOP_ROT180, TJXOPT_PERFECT));
}

// Any change other than a quarter turn ends the save by blocks, with undo copies or without
// (the batch tool keeps none).
TEST_F(LosslessSave, AnyOtherChangeEndsIt) {
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"lighten", [&] { document.Lighten(); }},
      {"grey", [&] { document.GrayScale(); }},
      {"resize", [&] { document.Resample(document.ImageWidth() + 16, document.ImageHeight()); }},
      {"crop",
       [&] {
         document.Recadrer({0, 0, 16, 16});
       }},
      {"area blur", [&] { document.MasquerZone(1, 1, 9, 9); }},
      {"sky", [&] { document.Applique_ciel(); }},
      {"combination",
       [&] {
         const cDIBSection photo = Copy(document.Picture());
         document.Combine({}, photo, photo);
       }},
  };
  for (const bool undo : {true, false}) {
    for (const auto& [name, change] : changes) {
      SCOPED_TRACE(::testing::Message() << name << (undo ? "" : " without undo"));
      document.SetUndoEnabled(undo);
      OpenJpeg(48, 32);
      document.Piv_Drt();
      change();
      document.Piv_Gche();
      const LosslessJpeg lossless = document.LosslessJpegSave();
      EXPECT_FALSE(lossless.possible);
      EXPECT_FALSE(lossless.onlyTurned);
      const io::FileError refusal = FileFailure([&] { document.SaveJpegLossless(saved, true); });
      EXPECT_EQ(refusal.text(), Messages::AutresChangements());
      EXPECT_EQ(refusal.path(), saved);
    }
  }
  EXPECT_FALSE(QFileInfo::exists(saved));
}

TEST_F(LosslessSave, PhotosNotOpenedFromAJpegHaveNoBlocks) {
  OpenRandom(48, 32);
  document.Piv_Drt();
  EXPECT_FALSE(document.LosslessJpegSave().fromJpeg);
  EXPECT_EQ(FileFailure([&] { document.SaveJpegLossless(saved, false); }).text(),
            Messages::PasOuverteDUnJpeg());
  // A JPEG handed over (a paste) is a new photo.
  WriteFile(source, EncodeJpegSampled(SmoothSurface(48, 32), TJSAMP_420));
  document.OpenFile(source, true);
  document.Piv_Drt();
  EXPECT_FALSE(document.LosslessJpegSave().fromJpeg);
  EXPECT_FALSE(QFileInfo::exists(saved));
}

}  // namespace
}  // namespace fotavel::testing
