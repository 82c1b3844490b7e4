// The document saving in every format it writes: the kind a name asks for, the name offered,
// failures that leave the document as it was (each format's file and a save within a size are
// tried through fotavel-batch and the window, which save through the document); and a JPEG photo
// saved by moving its blocks after turns, undos and other changes (edges off the blocks are tried
// where they are decided: the window's question and the batch tool's --sans-perte).
#include <turbojpeg.h>

#include <QDir>
#include <QFileInfo>
#include <functional>

#include "DocumentFixture.h"
#include "document/LosslessMessages.h"
#include "io/FileError.h"
#include "io/JpegFiles.h"
#include "io/MetadataFiles.h"
#include "io/SaveFormats.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// The kind a name asks for, in any case; a dot in a folder's name starts no extension. A WebP,
// AVIF or TIFF photo is offered as it came; HEIC, which is not written, as the JPEG it will most
// likely become; the others without extension, for the dialog's own.
TEST_F(DocumentTest, SaveKindAndOfferedNameFollowTheExtension) {
  const struct {
    const char* name;
    SaveKind kind;
    const char* offered;
  } cases[] = {
      {"/x/a.JPEG", SaveKind::Jpeg, "/x/a"},
      {"/x/a.bmp", SaveKind::Bmp, "/x/a"},
      {"/x/a.PNG", SaveKind::Png, "/x/a"},
      {"/x/a.WebP", SaveKind::Webp, "/x/a.WebP"},
      {"/x/a.avif", SaveKind::Avif, "/x/a.avif"},
      {"/x.y/a.TIF", SaveKind::Tiff, "/x.y/a.TIF"},
      {"/x/a.tiff", SaveKind::Tiff, "/x/a.tiff"},
      {"/x/a.heic", SaveKind::BmpInstead, "/x/a.JPG"},
      {"/x/a.tiffany", SaveKind::BmpInstead, nullptr},
      {"/x/vacances.png/a", SaveKind::BmpInstead, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PhotoDocument::SaveKindFor(QString::fromUtf8(c.name)), c.kind) << c.name;
    if (c.offered == nullptr) continue;
    document.filename(QString::fromUtf8(c.name));
    EXPECT_EQ(document.DefaultSaveName(), QString::fromUtf8(c.offered)) << c.name;
  }
}

// A save that fails (no such folder, a size nothing fits in, a format that has no quality to
// lower) writes nothing and leaves the name, caption and dirty flag as they were.
TEST_F(DocumentTest, AFailedSaveInAnyFormatLeavesTheDocumentAsItWas) {
  const QString path = OpenRandom(9, 6);
  document.GrayScale();
  const QString caption = document.Caption();
  const QString absent = folder.filePath(u"absent/x.png"_s), jpg = folder.filePath(u"x.jpg"_s),
                png = folder.filePath(u"x.png"_s);
  for (const auto& [failure, chosen] :
       {std::pair(
            FileFailure([&] { document.SavePicture(absent, {.format = io::SaveFormat::Png}); }),
            absent),
        {FileFailure(
             [&] { (void)document.SaveWithinSize(jpg, {.format = io::SaveFormat::Jpeg}, 10); }),
         jpg},
        {FileFailure(
             [&] { (void)document.SaveWithinSize(png, {.format = io::SaveFormat::Png}, 1000000); }),
         png}}) {
    EXPECT_EQ(std::pair(failure.number(), failure.path()),
              std::pair(io::FileErrors::kWrite, chosen));
  }
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(std::pair(document.filename(), document.Caption()), std::pair(path, caption));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"photo.bmp"_s});
}

class LosslessSave : public DocumentTest {
 protected:
  // Opens a JPEG of `width` x `height` written as libturbojpeg writes it.
  QByteArray OpenJpeg(std::int32_t width, std::int32_t height) {
    const QByteArray jpeg = EncodeJpegSampled(SmoothSurface(width, height), TJSAMP_420);
    WriteFile(source, jpeg);
    EXPECT_NO_THROW(document.OpenFile(source, false));
    return jpeg;
  }
  bool Possible() const { return document.LosslessJpegSave().possible; }
  // Saves by the blocks and checks the file is libturbojpeg's own `operation`.
  void ExpectSavedAs(const QByteArray& jpeg, int operation) {
    document.SaveJpegLossless(saved, false);
    EXPECT_EQ(ReadBytes(saved), TurboTransformed(jpeg, operation, TJXOPT_PERFECT));
  }

  const QString source = folder.filePath(QStringLiteral("source.jpg"));
  const QString saved = folder.filePath(QStringLiteral("tournee.jpg"));
};

// A camera photo stored lying on its side (orientation 6) opens upright; turned left it lies as
// stored: its blocks are written as they are, exactly the pixels shown, its metadata brought to
// orientation 1 and the stored size.
TEST_F(LosslessSave, ExifOrientedPhotosAreMovedFromTheirStoredLie) {
  WriteCameraPhoto(source, SmoothSurface(48, 32), 6, IccProfile("RGB "));
  document.OpenFile(source, false);
  ASSERT_EQ(document.ImageWidth(), 32);
  document.Piv_Gche();
  ASSERT_TRUE(Possible());
  document.SaveJpegLossless(saved, false);
  ExpectCarriedMetadata(source, saved, 48, 32);
  EXPECT_TRUE(SamePixels(MustRead(saved), document.Picture()));
}

// Each turn is counted from the file first opened, and undo and redo bring back, with each photo,
// whether it was only turned and how. Turned back to how it opened, the photo takes the usual
// road, though the batch tool's --sans-perte may still copy its blocks. A turn after an undo
// starts from the restored lie; the redo it forgets takes its state along.
TEST_F(LosslessSave, TurnsUndosAndRedosKeepTheLieOfTheBlocks) {
  const QByteArray jpeg = OpenJpeg(48, 32);
  EXPECT_FALSE(Possible());
  document.Piv_Drt();
  document.Lighten();
  EXPECT_FALSE(document.LosslessJpegSave().onlyTurned);
  document.Annuler();
  ExpectSavedAs(jpeg, TJXOP_ROT90);
  EXPECT_FALSE(document.Dirty());
  EXPECT_EQ(document.filename(), saved);
  EXPECT_LE(MaxDifference(MustRead(saved), document.Picture()), 8);
  document.Annuler();
  EXPECT_FALSE(Possible());
  EXPECT_TRUE(document.LosslessJpegSave().onlyTurned);
  ExpectSavedAs(jpeg, TJXOP_NONE);
  document.Retablir();
  EXPECT_TRUE(Possible());
  document.Retablir();
  EXPECT_FALSE(document.LosslessJpegSave().onlyTurned);
  document.Annuler();
  document.Piv_Drt();
  EXPECT_FALSE(document.CanRedo());
  ExpectSavedAs(jpeg, TJXOP_ROT180);
  // Through a full ring and back.
  for (int k = 0; k < 5; ++k) document.Piv_Gche();
  for (int k = 0; k < 5; ++k) document.Annuler();
  ExpectSavedAs(jpeg, TJXOP_ROT180);
}

// The JPEG kept for saving by blocks is memory the photo holds, as its surfaces are: the batch
// tool's share of memory for a photo counts it.
TEST_F(LosslessSave, TheKeptFileCountsInTheMemoryHeld) {
  const QByteArray jpeg = OpenJpeg(48, 32);
  document.Lighten();  // the file stays: undone, the photo can be saved by blocks again
  PhotoDocument fromBmp(services, &observer);
  fromBmp.OpenFile(WritePhoto(SmoothSurface(48, 32)), false);
  fromBmp.Lighten();
  EXPECT_EQ(document.HeldBytes() - fromBmp.HeldBytes(), std::uint64_t(jpeg.size()));
}

// Any change other than a quarter turn ends the save by blocks, with undo copies or without (the
// batch tool keeps none); so does a photo not opened from a JPEG file, a pasted one included.
TEST_F(LosslessSave, AnyOtherChangeOrSourceEndsIt) {
  const std::function<void()> changes[] = {
      [&] { document.Lighten(); },
      [&] { document.Resample(document.ImageWidth() + 16, document.ImageHeight()); },
      [&] {
        document.Recadrer({0, 0, 16, 16});
      },
      [&] {
        const cDIBSection photo = Copy(document.Picture());
        document.Combine({}, photo, photo);
      },
  };
  for (const bool undo : {true, false}) {
    for (const auto& change : changes) {
      SCOPED_TRACE(::testing::Message() << (&change - changes) << (undo ? "" : " without undo"));
      document.SetUndoEnabled(undo);
      OpenJpeg(48, 32);
      document.Piv_Drt();
      change();
      document.Piv_Gche();
      EXPECT_FALSE(document.LosslessJpegSave().onlyTurned);
      const io::FileError refusal = FileFailure([&] { document.SaveJpegLossless(saved, true); });
      EXPECT_EQ(std::pair(refusal.text(), refusal.path()),
                std::pair(Messages::AutresChangements(), saved));
    }
  }
  OpenRandom(48, 32);
  document.Piv_Drt();
  EXPECT_FALSE(document.LosslessJpegSave().fromJpeg);
  EXPECT_EQ(FileFailure([&] { document.SaveJpegLossless(saved, false); }).text(),
            Messages::PasOuverteDUnJpeg());
  document.OpenFile(source, true);
  document.Piv_Drt();
  EXPECT_FALSE(document.LosslessJpegSave().fromJpeg);
  EXPECT_FALSE(QFileInfo::exists(saved));
}

}  // namespace
}  // namespace fotavel::testing
