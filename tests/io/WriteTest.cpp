// Writing pictures: exact BMP bytes, JPEG qualities, and the old file surviving every failed save.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "support/FileSizeCap.h"
#include "support/Surfaces.h"
#include "surface/SurfaceMemory.h"

namespace fotavel::testing {
namespace {

using io::WriteBmp;
using io::WriteJpeg;

using namespace Qt::StringLiterals;

TEST(WriteBmpTest, FileIsTheReferenceByteForByteWithZeroPadding) {
  TempFolder folder;
  const QString path = folder.path(u"exact.bmp"_s);
  for (const Size size : {Size{1, 3}, Size{2, 4}, Size{3, 3}, Size{4, 2}, Size{5, 4}}) {
    // The surface's padding holds a sentinel, which must not reach the file.
    const cDIBSection picture = RandomSurface(size.width, size.height, 40 + size.width);
    QString error;
    ASSERT_TRUE(WriteBmp(picture, path, error)) << error.toStdString();
    EXPECT_EQ(ReadBytes(path), ReferenceBmp(picture)) << size.width << 'x' << size.height;
    EXPECT_TRUE(PaddingIntact(picture));
  }
}

TEST(WriteTest, RefusalsLeaveNoFile) {
  TempFolder folder;
  QString error;
  EXPECT_FALSE(WriteBmp(cDIBSection{}, folder.path(u"none.bmp"_s), error));
  EXPECT_EQ(error, u"aucune image à enregistrer"_s);
  for (int quality : {44, 101, 0, -1}) {
    EXPECT_FALSE(WriteJpeg(SmoothSurface(5, 5), folder.path(u"q.jpg"_s), quality, error));
    EXPECT_TRUE(error.startsWith(u"qualité JPEG %1 hors limites"_s.arg(quality)))
        << error.toStdString();
  }
  EXPECT_TRUE(folder.entries().isEmpty());
}

TEST(WriteJpegTest, HigherQualityMakesALargerColourFile) {
  TempFolder folder;
  const cDIBSection picture = RandomSurface(33, 17, 8);
  QString error;
  ASSERT_TRUE(WriteJpeg(picture, folder.path(u"45.jpg"_s), 45, error));
  ASSERT_TRUE(WriteJpeg(picture, folder.path(u"100.jpg"_s), 100, error));
  const QByteArray high = ReadBytes(folder.path(u"100.jpg"_s));
  EXPECT_LT(ReadBytes(folder.path(u"45.jpg"_s)).size(), high.size());
  // Baseline frame header: 8-bit, 17 rows, 33 columns, 3 components.
  const qsizetype frame = FrameHeaderOffset(high);
  ASSERT_GT(frame, 0);
  EXPECT_EQ(std::uint8_t(high[frame + 1]), 0xC0);
  EXPECT_EQ(high.mid(frame + 4, 6), QByteArray("\x08\x00\x11\x00\x21\x03", 6));
}

// The encoder writes into surface memory when there is room and into its own
// buffer when there is not; the file is the same either way.
TEST(WriteJpegTest, FileIsTheSameWhenSurfaceMemoryIsSpent) {
  TempFolder folder;
  const cDIBSection picture = RandomSurface(301, 203, 9);
  QString error;
  ASSERT_TRUE(WriteJpeg(picture, folder.path(u"room.jpg"_s), 90, error));
  const std::size_t previous = SetSurfaceMemoryLimit(LiveSurfaceBytes());
  const bool written = WriteJpeg(picture, folder.path(u"spent.jpg"_s), 90, error);
  SetSurfaceMemoryLimit(previous);
  ASSERT_TRUE(written) << error.toStdString();
  EXPECT_EQ(ReadBytes(folder.path(u"spent.jpg"_s)), ReadBytes(folder.path(u"room.jpg"_s)));
}

TEST(SaveTest, ReplacingAnExistingFileWorks) {
  TempFolder folder;
  const QString path = folder.path(u"photo.bmp"_s);
  WriteBytes(path, QByteArray(5000, 'x'));
  const cDIBSection picture = RandomSurface(7, 5, 1);
  QString error;
  ASSERT_TRUE(WriteBmp(picture, path, error)) << error.toStdString();
  EXPECT_EQ(ReadBytes(path), ReferenceBmp(picture));
  ASSERT_TRUE(WriteJpeg(picture, path, 80, error)) << error.toStdString();
  EXPECT_TRUE(ReadBytes(path).startsWith("\xFF\xD8\xFF"));
  EXPECT_EQ(folder.entries(), QStringList{u"photo.bmp"_s});
}

TEST(SaveTest, UnusableTargetsAreReportedAndLeftAlone) {
  TempFolder folder;
  QString error;
  const QString nowhere = folder.path(u"nowhere/photo.jpg"_s);
  EXPECT_FALSE(WriteJpeg(SmoothSurface(3, 3), nowhere, 80, error));
  EXPECT_TRUE(error.contains(u"n'existe pas"_s)) << error.toStdString();
  EXPECT_FALSE(WriteBmp(SmoothSurface(3, 3), nowhere, error));
  ASSERT_TRUE(QDir(folder.folder()).mkpath(u"photo.bmp/inside"_s));
  EXPECT_FALSE(WriteBmp(SmoothSurface(3, 3), folder.path(u"photo.bmp"_s), error));
  EXPECT_TRUE(error.contains(u"est un dossier"_s)) << error.toStdString();
  EXPECT_TRUE(QFileInfo(folder.path(u"photo.bmp/inside"_s)).isDir());
  EXPECT_EQ(folder.entries(), QStringList{u"photo.bmp"_s});
  // Nobody, root included, creates files in /proc.
  const QString proc = u"/proc/fotavel-io-test.bmp"_s;
  EXPECT_FALSE(WriteBmp(SmoothSurface(3, 3), proc, error));
  EXPECT_TRUE(error.contains(u"impossible de créer"_s)) << error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(proc));
}

TEST(SaveTest, SaveKeepsOldFileWhenTheDiskFillsUpMidway) {
  TempFolder folder;
  const QString bmpPath = folder.path(u"photo.bmp"_s);
  const QString jpegPath = folder.path(u"photo.jpg"_s);
  const QByteArray oldBmp = ReferenceBmp(SmoothSurface(9, 9));
  const QByteArray oldJpeg("\xFF\xD8\xFF\xE0 an older photo", 20);
  WriteBytes(bmpPath, oldBmp);
  WriteBytes(jpegPath, oldJpeg);
  const QStringList before = folder.entries();
  const cDIBSection picture = RandomSurface(101, 67, 3);  // ~20 kB either way
  QString bmpError, jpegError;
  bool bmpWritten = true, jpegWritten = true;
  {
    const FileSizeCap cap(4096);
    bmpWritten = WriteBmp(picture, bmpPath, bmpError);
    jpegWritten = WriteJpeg(picture, jpegPath, 100, jpegError);
  }
  EXPECT_FALSE(bmpWritten || jpegWritten);
  EXPECT_EQ(bmpError, u"fichier trop gros pour ce disque"_s);
  EXPECT_EQ(jpegError, bmpError);
  EXPECT_EQ(ReadBytes(bmpPath), oldBmp);
  EXPECT_EQ(ReadBytes(jpegPath), oldJpeg);
  EXPECT_EQ(folder.entries(), before);  // no temporary file left behind
}

}  // namespace
}  // namespace fotavel::testing
