// The document: names, captions, dirty flag, size texts, saving and its failures.
#include <QFileInfo>

#include "DocumentFixture.h"
#include "document/DocumentError.h"
#include "io/MetadataFiles.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

TEST_F(DocumentTest, TitleSaveNameAndSaveKind) {
  // Each case: file name, title, default save name (a "." among the first two
  // characters is no extension).
  const char* const cases[][3] = {
      {"/home/anne/photos/plage.jpg", "plage.jpg", "/home/anne/photos/plage"},
      {"a.b", "a.b", "a.b"},
      {"/home/anne/vacances.2026/plage", "plage", "/home/anne/vacances.2026/plage"},
      // Formats that cannot be saved as they came propose the JPEG.
      {"/p/scan.HEIC", "scan.HEIC", "/p/scan.JPG"},
      {"/p/scan.tiffany", "scan.tiffany", "/p/scan"},
  };
  for (const auto& c : cases) {
    document.filename(QString::fromUtf8(c[0]));
    EXPECT_EQ(document.FileTitle(), QString::fromUtf8(c[1])) << c[0];
    EXPECT_EQ(document.DefaultSaveName(), QString::fromUtf8(c[2])) << c[0];
  }
  EXPECT_EQ(
      (std::vector{
          PhotoDocument::SaveKindFor(u"/x/a.Jpg"_s), PhotoDocument::SaveKindFor(u"/x/a.bmp"_s),
          PhotoDocument::SaveKindFor(u"/x/a.png"_s), PhotoDocument::SaveKindFor(u"/x/a.jpeg"_s)}),
      (std::vector{SaveKind::Jpeg, SaveKind::Bmp, SaveKind::Png, SaveKind::Jpeg}));
  EXPECT_EQ(PhotoDocument::BmpNameFor(u"/x.y/a"_s), u"/x.y/a.bmp"_s);
}

// A picture handed over in a temporary file is a new photo, unsaved.
TEST_F(DocumentTest, APictureInATemporaryFileOpensAsANewUnsavedPhoto) {
  const QString temporary = WritePhoto(RandomSurface(4, 4, 1), u"VBIM1234.tmp"_s);
  ASSERT_NO_THROW(document.OpenFile(temporary, true));
  EXPECT_EQ(document.Caption(), u"Photo: Nouvelle photo 1"_s);
  EXPECT_TRUE(document.Dirty());
}

// The size text is computed once per change, with the memory check: the warning comes once.
TEST_F(DocumentTest, TooLittleMemoryIsWarnedOfOnce) {
  OpenRandom(100, 10);                                                    // 3000 bytes
  document.SetAvailableMemoryProbe([] { return std::uint64_t(14999); });  // under five times
  document.Activate();
  document.Activate();
  EXPECT_EQ(observer.warnings, 1);
  // Exactly five times the bytes is enough; a fresh computation warns again.
  document.SetAvailableMemoryProbe([] { return std::uint64_t(15000); });
  (void)document.TailleMemoire();
  EXPECT_EQ(observer.warnings, 1);
  document.SetAvailableMemoryProbe([] { return std::uint64_t(14999); });
  (void)document.TailleMemoire();
  EXPECT_EQ(observer.warnings, 2);
}

TEST_F(DocumentTest, FailedSaveKeepsNameAndDirtyFlagASavedOneMakesTheDocumentClean) {
  const QString path = OpenRandom(9, 6);
  document.GrayScale();
  const QString caption = document.Caption();
  // A folder cannot be replaced by a file: the write must fail, as the save of that file.
  const QString dossier = folder.filePath(u"dossier.jpg"_s);
  ASSERT_TRUE(QDir(folder.path()).mkdir(u"dossier.jpg"_s));
  const io::FileError jpeg = FileFailure([&] { document.FoncEregJPG(70, dossier); });
  EXPECT_EQ(FailureText(jpeg), u"Erreur lors de l'enregistrement de la photo: « "_s + dossier +
                                   u" » est un dossier"_s);
  const io::FileError bmp =
      FileFailure([&] { document.SaveBitmap(folder.filePath(u"absent/x.gif"_s)); });
  EXPECT_EQ(bmp.text(), u"le dossier « "_s + folder.filePath(u"absent"_s) + u" » n'existe pas"_s);
  for (const io::FileError& failure : {jpeg, bmp}) {
    EXPECT_EQ(failure.number(), io::FileErrors::kWrite);
    EXPECT_EQ(failure.source(), ProgramName() + ".PictureFiles");
  }
  EXPECT_EQ(std::pair(jpeg.path(), bmp.path()),
            std::pair(dossier, folder.filePath(u"absent/x.bmp"_s)));
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(std::pair(document.filename(), document.Caption()), std::pair(path, caption));

  // Other extensions are written as BMP beside the chosen name; the document takes the chosen name.
  const QString target = folder.filePath(u"gris.gif"_s);
  ASSERT_NO_THROW(document.SaveBitmap(target));
  EXPECT_FALSE(QFileInfo::exists(target));
  EXPECT_EQ(document.Caption(), u"Photo: "_s + target);
  EXPECT_FALSE(document.Dirty());
  EXPECT_TRUE(SamePixels(io::ReadPicture(folder.filePath(u"gris.bmp"_s)), document.Picture()));
}

TEST_F(DocumentTest, SavedJpegIsCleanAndCarriesTheOpenedPhotosMetadataAtTheSizeOfTheMoment) {
  const QString camera = folder.filePath(u"camera.jpg"_s);
  // A profile of 70000 bytes spans two JPEG segments, read and written as one.
  WriteCameraPhoto(camera, RandomSurface(37, 21, 3), 6, IccProfile("RGB ", 70000));
  ASSERT_NO_THROW(document.OpenFile(camera, false));
  EXPECT_TRUE(document.HasMetadata());
  document.Piv_Drt();  // upright 21 x 37, turned to 37 x 21
  document.Resample(30, 17);
  const QString saved = folder.filePath(u"retouche.jpg"_s);
  ASSERT_NO_THROW(document.FoncEregJPG(80, saved));
  EXPECT_FALSE(document.Dirty());
  ExpectCarriedMetadata(camera, saved, 30, 17);
}

}  // namespace
}  // namespace fotavel::testing
