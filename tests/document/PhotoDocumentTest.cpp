// The document: names, captions, dirty flag, size texts, saving and its failures.
#include <QFile>
#include <QFileInfo>

#include "DocumentFixture.h"
#include "document/DocumentError.h"
#include "io/PictureFiles.h"

namespace fotavel::testing {
namespace {

TEST_F(DocumentTest, FileTitleIsWhatFollowsTheLastSeparator) {
  document.filename(QStringLiteral("/home/anne/photos/plage.jpg"));
  EXPECT_EQ(document.FileTitle(), QStringLiteral("plage.jpg"));
  document.filename(QStringLiteral("plage.jpg"));
  EXPECT_EQ(document.FileTitle(), QStringLiteral("plage.jpg"));
  document.filename(QStringLiteral("/home/anne/"));
  EXPECT_EQ(document.FileTitle(), QString());
}

TEST_F(DocumentTest, DefaultSaveNameDropsOnlyARealExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"/photos/plage.jpg", "/photos/plage"},
      {"Nouvelle photo 3", "Nouvelle photo 3"},
      {"a.b", "a.b"},  // a "." among the first two characters is no extension
      {"ab.c", "ab"},
      {"/home/anne/vacances.2026/plage", "/home/anne/vacances.2026/plage"},
  };
  for (auto [name, expected] : cases) {
    document.filename(QString::fromUtf8(name));
    EXPECT_EQ(document.DefaultSaveName(), QString::fromUtf8(expected)) << name;
  }
}

TEST_F(DocumentTest, SaveKindComparesTheExtensionInUpperCase) {
  EXPECT_EQ(PhotoDocument::SaveKindFor(QStringLiteral("/x/a.Jpg")), SaveKind::Jpeg);
  EXPECT_EQ(PhotoDocument::SaveKindFor(QStringLiteral("/x/a.bmp")), SaveKind::Bmp);
  EXPECT_EQ(PhotoDocument::SaveKindFor(QStringLiteral("/x/a.png")), SaveKind::BmpInstead);
  EXPECT_EQ(PhotoDocument::SaveKindFor(QStringLiteral("/x/a.jpeg")), SaveKind::BmpInstead);
  EXPECT_EQ(PhotoDocument::BmpNameFor(QStringLiteral("/x/a.png")), QStringLiteral("/x/a.bmp"));
  EXPECT_EQ(PhotoDocument::BmpNameFor(QStringLiteral("/x.y/a")), QStringLiteral("/x.y/a.bmp"));
}

TEST_F(DocumentTest, OpeningSetsCaptionStatusAndStaysClean) {
  const QString path = OpenRandom(5, 3);
  EXPECT_EQ(document.Caption(), QStringLiteral("Photo: ") + path);
  EXPECT_FALSE(document.Dirty());
  EXPECT_EQ(observer.message, QStringLiteral("Ouvert ") + path);
  EXPECT_EQ(observer.title, QStringLiteral("photo.bmp"));
  EXPECT_EQ(observer.size, QStringLiteral("5 x 3"));
  EXPECT_EQ(observer.opened, 1);
  document.Activate();
  EXPECT_EQ(observer.size, QStringLiteral("5 x 3 - 0Ko"));
  EXPECT_EQ(observer.undo.back(), false);
}

TEST_F(DocumentTest, TemporaryPictureIsANewUnsavedPhoto) {
  const QString path = WritePhoto(RandomSurface(4, 4, 1), QStringLiteral("VBIM1234.tmp"));
  QString error;
  ASSERT_TRUE(document.OpenFile(path, true, error));
  EXPECT_EQ(document.filename(), QStringLiteral("Nouvelle photo 1"));
  EXPECT_EQ(document.Caption(), QStringLiteral("Photo: Nouvelle photo 1"));
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(observer.message, QStringLiteral("Ouverture de ") + path + QStringLiteral("..."));
}

TEST_F(DocumentTest, UnreadableFileLeavesTheDocumentAsItWas) {
  const QString path = folder.filePath(QStringLiteral("vide.jpg"));
  QFile(path).open(QIODevice::WriteOnly);
  QString error;
  EXPECT_FALSE(document.OpenFile(path, false, error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(document.Caption(), QStringLiteral("Photo"));
  EXPECT_TRUE(document.Picture().empty());
}

TEST_F(DocumentTest, EffectMarksModifiedAndUndoKeepsTheMark) {
  const QString path = OpenRandom(7, 5);
  document.Lighten();
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(document.Caption(), QStringLiteral("Photo: ") + path + QStringLiteral(" modifiée"));
  EXPECT_TRUE(observer.message.startsWith(QStringLiteral("Réalisé en ")));
  EXPECT_TRUE(observer.message.endsWith(QStringLiteral(" ms")));
  EXPECT_EQ(observer.progressShown.back(), false);
  document.Annuler();
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(document.Caption(), QStringLiteral("Photo: ") + path + QStringLiteral(" modifiée"));
  document.Propre();
  EXPECT_FALSE(document.Dirty());
}

TEST_F(DocumentTest, AreaBlurLeavesTheCaptionButMarksDirty) {
  const QString path = OpenRandom(40, 30);
  const cDIBSection before = Copy(document.Picture());
  document.MasquerZone(5, 5, 30, 20);
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(document.Caption(), QStringLiteral("Photo: ") + path);
  EXPECT_FALSE(SamePixels(before, document.Picture()));
}

TEST_F(DocumentTest, SizeTextRoundsHalvesToEvenAndWarnsOnce) {
  const std::tuple<int, int, const char*> cases[] = {
      {1000, 333, "999Ko"}, {1000, 334, "1Mo"}, {500, 1, "2Ko"}, {1500, 1, "4Ko"}};
  for (auto [w, h, text] : cases) {
    PhotoDocument d(services, &observer);
    d.SetAvailableMemoryProbe([] { return std::uint64_t(1) << 40; });
    QString error;
    ASSERT_TRUE(d.OpenFile(WritePhoto(UniformSurface(w, h, 1, 2, 3)), false, error));
    EXPECT_EQ(d.TailleMemoire(), QString::fromUtf8(text)) << w << 'x' << h;
  }
  OpenRandom(100, 10);  // 3000 bytes
  document.SetAvailableMemoryProbe([] { return std::uint64_t(14999); });
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

TEST_F(DocumentTest, SavingAsBmpMakesTheDocumentClean) {
  OpenRandom(5, 3);
  document.GrayScale();
  const QString target = folder.filePath(QStringLiteral("gris.png"));
  QString error;
  ASSERT_TRUE(document.SaveBitmap(target, error)) << error.toStdString();
  // Other extensions are written as BMP beside the chosen name; the document takes the chosen name.
  EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("gris.bmp"))));
  EXPECT_FALSE(QFileInfo::exists(target));
  EXPECT_EQ(document.filename(), target);
  EXPECT_EQ(document.Caption(), QStringLiteral("Photo: ") + target);
  EXPECT_FALSE(document.Dirty());
  cDIBSection reread;
  ASSERT_TRUE(io::ReadPicture(folder.filePath(QStringLiteral("gris.bmp")), reread, error));
  EXPECT_TRUE(SamePixels(reread, document.Picture()));
}

TEST_F(DocumentTest, FailedSaveKeepsNameDirtyFlagAndOldFile) {
  const QString path = OpenRandom(5, 3);
  document.Fade();
  const QString caption = document.Caption();
  QString error;
  // A folder cannot be replaced by a file: the write must fail.
  const QString target = folder.filePath(QStringLiteral("dossier.jpg"));
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("dossier.jpg")));
  EXPECT_FALSE(document.FoncEregJPG(70, target, error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(document.SaveBitmap(folder.filePath(QStringLiteral("absent/x.bmp")), error));
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(document.filename(), path);
  EXPECT_EQ(document.Caption(), caption);
}

TEST_F(DocumentTest, JpegSaveUsesTheChosenName) {
  OpenRandom(9, 6);
  const QString target = folder.filePath(QStringLiteral("resultat.jpg"));
  QString error;
  ASSERT_TRUE(document.FoncEregJPG(45, target, error)) << error.toStdString();
  EXPECT_FALSE(document.Dirty());
  EXPECT_EQ(document.FileTitle(), QStringLiteral("resultat.jpg"));
  cDIBSection reread;
  ASSERT_TRUE(io::ReadPicture(target, reread, error));
  EXPECT_EQ(reread.width(), 9);
  EXPECT_EQ(reread.height(), 6);
}

}  // namespace
}  // namespace fotavel::testing
