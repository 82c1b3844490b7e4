// Writing pictures: BMPs read back exactly, refusals with their reasons, and the old file surviving
// a failed save.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "support/FileSizeCap.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using io::WriteBmp;
using io::WriteJpeg;

using namespace Qt::StringLiterals;

// Names in the folder, hidden ones included: a save leaves no temporary beside its file.
QStringList Entries(const QTemporaryDir& folder) {
  return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(WriteTest, BmpReadsBackExactlyForEveryPadding) {
  QTemporaryDir folder;
  // Named .jpg: the content, not the name, decides how a file is read.
  const QString path = folder.filePath(u"photo.jpg"_s);
  // 701 x 600 makes a file over 1 MiB, which is read into a buffer of its own.
  for (const Size size :
       {Size{1, 3}, Size{2, 2}, Size{3, 5}, Size{5, 4}, Size{257, 3}, Size{701, 600}}) {
    const cDIBSection picture = RandomSurface(size.width, size.height, 7 + size.width);
    ASSERT_NO_THROW(WriteBmp(picture, path));
    const cDIBSection back = MustRead(path);
    EXPECT_TRUE(SamePixels(picture, back))
        << size.width << 'x' << size.height << ": " << FirstDifference(picture, back);
  }
  // Each save replaced the one before and left no temporary file beside it.
  EXPECT_EQ(Entries(folder), QStringList{u"photo.jpg"_s});
}

TEST(WriteTest, RefusalsSayWhyAndLeaveNoFile) {
  QTemporaryDir folder;
  const cDIBSection small = SmoothSurface(3, 3);
  ASSERT_TRUE(QDir(folder.path()).mkpath(u"photo.bmp/inside"_s));
  const QString none = folder.filePath(u"none.bmp"_s), quality = folder.filePath(u"q.jpg"_s),
                photo = folder.filePath(u"photo.bmp"_s);
  const io::FileError refusals[] = {
      FileFailure([&] { WriteBmp(cDIBSection{}, none); }),
      FileFailure([&] { WriteJpeg(small, quality, 101); }),
      FileFailure([&] { WriteBmp(small, photo); }),
  };
  EXPECT_EQ(refusals[0].text(), u"aucune image à enregistrer"_s);
  EXPECT_TRUE(refusals[1].text().startsWith(u"qualité JPEG 101 hors limites"_s))
      << refusals[1].description();
  EXPECT_TRUE(refusals[2].text().contains(u"est un dossier"_s)) << refusals[2].description();
  for (const auto& [refusal, path] : {std::pair(refusals[0], none), std::pair(refusals[1], quality),
                                      std::pair(refusals[2], photo)}) {
    EXPECT_EQ(refusal.number(), io::FileErrors::kWrite);
    EXPECT_EQ(refusal.path(), path);
    EXPECT_EQ(refusal.source(), ProgramName() + ".PictureFiles");
  }
  EXPECT_TRUE(QFileInfo(folder.filePath(u"photo.bmp/inside"_s)).isDir());
  EXPECT_EQ(Entries(folder), QStringList{u"photo.bmp"_s});
}

TEST(WriteTest, SaveKeepsOldFileWhenTheDiskFillsUpMidway) {
  QTemporaryDir folder;
  const QString bmpPath = folder.filePath(u"photo.bmp"_s);
  const QString jpegPath = folder.filePath(u"photo.jpg"_s);
  const QByteArray oldBmp("BM an older photo", 17);
  const QByteArray oldJpeg("\xFF\xD8\xFF\xE0 an older photo", 20);
  WriteBytes(bmpPath, oldBmp);
  WriteBytes(jpegPath, oldJpeg);
  const cDIBSection picture = RandomSurface(101, 67, 3);  // ~20 kB either way
  QString bmpError, jpegError;
  {
    const FileSizeCap cap(4096);
    bmpError = FileFailure([&] { WriteBmp(picture, bmpPath); }).text();
    jpegError = FileFailure([&] { WriteJpeg(picture, jpegPath, 100); }).text();
  }
  EXPECT_EQ(bmpError, u"fichier trop gros pour ce disque"_s);
  EXPECT_EQ(jpegError, bmpError);
  EXPECT_EQ(ReadBytes(bmpPath), oldBmp);
  EXPECT_EQ(ReadBytes(jpegPath), oldJpeg);
  // No temporary file left behind.
  EXPECT_EQ(Entries(folder), (QStringList{u"photo.bmp"_s, u"photo.jpg"_s}));
}

}  // namespace
}  // namespace fotavel::testing
