// Writing pictures: exact BMP bytes, JPEG qualities, and the old file surviving every failed save.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFileInfo>
#include <csignal>

#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using io::WriteBmp;
using io::WriteJpeg;

std::uint32_t Field32(const QByteArray& b, int at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(b[at + 2])) << 16 |
         std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

TEST(WriteBmpTest, FileIsTheReferenceByteForByteWithZeroPadding) {
  TempFolder folder;
  const QString path = folder.path(QStringLiteral("exact.bmp"));
  for (const Size size : {Size{1, 3}, Size{2, 4}, Size{3, 3}, Size{4, 2}, Size{5, 4}}) {
    // The surface's padding holds a sentinel, which must not reach the file.
    const cDIBSection picture = RandomSurface(size.width, size.height, 40 + size.width);
    QString error;
    ASSERT_TRUE(WriteBmp(picture, path, error)) << error.toStdString();
    const QByteArray file = ReadBytes(path);
    const std::uint32_t stride = (3 * std::uint32_t(size.width) + 3) / 4 * 4;
    const std::uint32_t total = 54 + stride * std::uint32_t(size.height);
    ASSERT_EQ(file.size(), qsizetype(total)) << size.width;
    EXPECT_EQ(Field32(file, 2), total);
    EXPECT_EQ(Field32(file, 10), 54u);
    EXPECT_EQ(Field32(file, 18), std::uint32_t(size.width));
    EXPECT_EQ(Field32(file, 22), std::uint32_t(size.height));
    EXPECT_EQ(Field32(file, 34), stride * std::uint32_t(size.height));
    EXPECT_EQ(file, ReferenceBmp(picture)) << size.width << 'x' << size.height;
    EXPECT_TRUE(PaddingIntact(picture));
  }
}

TEST(WriteBmpTest, EmptySurfaceIsRefused) {
  TempFolder folder;
  QString error;
  EXPECT_FALSE(WriteBmp(cDIBSection{}, folder.path(QStringLiteral("none.bmp")), error));
  EXPECT_EQ(error, QStringLiteral("aucune image à enregistrer"));
  EXPECT_TRUE(folder.entries().isEmpty());
}

TEST(WriteJpegTest, QualityOutside45To100IsRefusedWithoutAFile) {
  TempFolder folder;
  const cDIBSection picture = SmoothSurface(5, 5);
  for (int quality : {44, 101, 0, -1}) {
    QString error;
    EXPECT_FALSE(WriteJpeg(picture, folder.path(QStringLiteral("q.jpg")), quality, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("qualité JPEG %1 hors limites").arg(quality)))
        << error.toStdString();
  }
  EXPECT_TRUE(folder.entries().isEmpty());
}

TEST(WriteJpegTest, HigherQualityMakesALargerColourFile) {
  TempFolder folder;
  const cDIBSection picture = RandomSurface(33, 17, 8);
  QString error;
  ASSERT_TRUE(WriteJpeg(picture, folder.path(QStringLiteral("45.jpg")), 45, error));
  ASSERT_TRUE(WriteJpeg(picture, folder.path(QStringLiteral("100.jpg")), 100, error));
  const QByteArray low = ReadBytes(folder.path(QStringLiteral("45.jpg")));
  const QByteArray high = ReadBytes(folder.path(QStringLiteral("100.jpg")));
  EXPECT_LT(low.size(), high.size());
  // Baseline frame header: 8-bit, 17 rows, 33 columns, 3 components.
  const qsizetype frame = FrameHeaderOffset(high);
  ASSERT_GT(frame, 0);
  EXPECT_EQ(std::uint8_t(high[frame + 1]), 0xC0);
  EXPECT_EQ(high.mid(frame + 4, 6), QByteArray("\x08\x00\x11\x00\x21\x03", 6));
}

// Replaces a file's content and checks that the new picture took its place.
TEST(SaveTest, ReplacingAnExistingFileWorks) {
  TempFolder folder;
  const QString path = folder.path(QStringLiteral("photo.bmp"));
  WriteBytes(path, QByteArray(5000, 'x'));
  const cDIBSection picture = RandomSurface(7, 5, 1);
  QString error;
  ASSERT_TRUE(WriteBmp(picture, path, error)) << error.toStdString();
  EXPECT_EQ(ReadBytes(path), ReferenceBmp(picture));
  ASSERT_TRUE(WriteJpeg(picture, path, 80, error)) << error.toStdString();
  EXPECT_TRUE(ReadBytes(path).startsWith("\xFF\xD8\xFF"));
  EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("photo.bmp")});
}

TEST(SaveTest, MissingFolderIsReported) {
  TempFolder folder;
  const QString path = folder.path(QStringLiteral("nowhere/photo.jpg"));
  QString error;
  EXPECT_FALSE(WriteJpeg(SmoothSurface(3, 3), path, 80, error));
  EXPECT_TRUE(error.contains(QStringLiteral("n'existe pas"))) << error.toStdString();
  EXPECT_FALSE(WriteBmp(SmoothSurface(3, 3), path, error));
  EXPECT_TRUE(folder.entries().isEmpty());
}

TEST(SaveTest, TargetThatIsAFolderIsLeftAlone) {
  TempFolder folder;
  ASSERT_TRUE(QDir(folder.folder()).mkpath(QStringLiteral("photo.bmp/inside")));
  QString error;
  EXPECT_FALSE(WriteBmp(SmoothSurface(3, 3), folder.path(QStringLiteral("photo.bmp")), error));
  EXPECT_TRUE(error.contains(QStringLiteral("est un dossier"))) << error.toStdString();
  EXPECT_TRUE(QFileInfo(folder.path(QStringLiteral("photo.bmp/inside"))).isDir());
  EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("photo.bmp")});
}

TEST(SaveTest, FolderWhereNoFileCanBeMadeIsReported) {
  // Nobody, root included, creates files in /proc.
  QString error;
  const QString path = QStringLiteral("/proc/fotavel-io-test.bmp");
  EXPECT_FALSE(WriteBmp(SmoothSurface(3, 3), path, error));
  EXPECT_TRUE(error.contains(QStringLiteral("impossible de créer"))) << error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(path));
}

// Caps the size of files this process may write, as a full disk would.
class FileSizeCap {
 public:
  explicit FileSizeCap(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    // Past the cap the kernel would also kill the process with SIGXFSZ.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit capped = previous_;
    capped.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &capped);
  }
  ~FileSizeCap() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(SaveTest, SaveKeepsOldFileWhenTheDiskFillsUpMidway) {
  TempFolder folder;
  const QString bmpPath = folder.path(QStringLiteral("photo.bmp"));
  const QString jpegPath = folder.path(QStringLiteral("photo.jpg"));
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
  EXPECT_FALSE(bmpWritten);
  EXPECT_FALSE(jpegWritten);
  EXPECT_EQ(bmpError, QStringLiteral("fichier trop gros pour ce disque"));
  EXPECT_EQ(jpegError, QStringLiteral("fichier trop gros pour ce disque"));
  EXPECT_EQ(ReadBytes(bmpPath), oldBmp);
  EXPECT_EQ(ReadBytes(jpegPath), oldJpeg);
  EXPECT_EQ(folder.entries(), before);  // no temporary file left behind
}

}  // namespace
}  // namespace fotavel::testing
