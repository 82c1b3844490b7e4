// Files that are no pictures to read: a FIFO or a device refused at once, a logo read with its
// memory counted and its damage seen.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <new>

#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "support/SpecialFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

TEST(SpecialFiles, AFifoOrADeviceIsRefusedAtOnceOnEveryReadingRoad) {
  QTemporaryDir folder;
  const QString fifo = folder.filePath(u"tube.jpg"_s);
  ASSERT_TRUE(MakeFifo(fifo));
  const QString toFifo = folder.filePath(u"lien.jpg"_s), toZero = folder.filePath(u"zero.bmp"_s);
  ASSERT_TRUE(QFile::link(fifo, toFifo) && QFile::link(u"/dev/zero"_s, toZero));
  const std::function<void(const QString&)> roads[] = {
      [](const QString& path) { (void)io::ReadPicture(path); },
      [](const QString& path) { (void)io::ReadPreview(path, 40, 30); },
      [](const QString& path) { (void)io::ReadImage(path, 0); },
  };
  for (const QString& path : {fifo, toFifo, u"/dev/zero"_s, toZero}) {
    for (const auto& road : roads) {
      SCOPED_TRACE(path.toStdString() + " road " + std::to_string(&road - roads));
      const io::FileError refusal =
          WithoutHanging(fifo, [&] { return FileFailure([&] { road(path); }); });
      EXPECT_EQ(refusal.description(), "ce chemin ne désigne pas un fichier ordinaire");
      EXPECT_EQ(refusal.number(), io::FileErrors::kRead);
      EXPECT_EQ(refusal.path(), path);
    }
  }
  // A link to a regular file is read through.
  const cDIBSection photo = RandomSurface(5, 3, 4);
  ASSERT_NO_THROW(io::WriteBmp(photo, folder.filePath(u"vraie.bmp"_s)));
  ASSERT_TRUE(QFile::link(folder.filePath(u"vraie.bmp"_s), folder.filePath(u"lien.bmp"_s)));
  EXPECT_TRUE(SamePixels(MustRead(folder.filePath(u"lien.bmp"_s)), photo));
  EXPECT_TRUE(SamePixels(io::ReadPreview(folder.filePath(u"lien.bmp"_s), 5, 3), photo));
}

// A logo's pixels as stored, its memory and that of the caller's copies counted from its header
// before any is taken, and a file cut short refused rather than drawn with made-up pixels.
TEST(ReadImage, StoredPixelsCountedMemoryAndNoDamagedFile) {
  QTemporaryDir folder;
  QImage logo(40, 30, QImage::Format_ARGB32);
  logo.fill(0x80FF0000u);
  logo.setPixel(39, 0, 0xFF00FF00u);
  ASSERT_TRUE(logo.save(folder.filePath(u"logo.png"_s)));
  // A JPEG logo with a camera's turn-right tag keeps its stored 4 x 2.
  ASSERT_TRUE(QImage(4, 2, QImage::Format_RGB32).save(folder.filePath(u"plain.jpg"_s)));
  WriteBytes(folder.filePath(u"turned.jpg"_s),
             WithExifOrientation(ReadBytes(folder.filePath(u"plain.jpg"_s)), 6));
  EXPECT_EQ(io::ReadImage(folder.filePath(u"turned.jpg"_s), 0).size(), QSize(4, 2));

  // 4 bytes a pixel decoded, and 8 more beside it: 40 x 30 x 12 fits, one byte less does not.
  const std::uint64_t previous = io::SetPictureMemoryBudget(40 * 30 * 12);
  const QImage read = io::ReadImage(folder.filePath(u"logo.png"_s), 8);
  EXPECT_EQ(read.convertToFormat(QImage::Format_ARGB32), logo);
  io::SetPictureMemoryBudget(40 * 30 * 12 - 1);
  EXPECT_THROW((void)io::ReadImage(folder.filePath(u"logo.png"_s), 8), std::bad_alloc);
  // A header claiming 20000 x 20000 is refused from the header: decoded, the missing pixel data
  // would have said damaged.
  io::SetPictureMemoryBudget(std::uint64_t{256} << 20);
  WriteBytes(folder.filePath(u"vaste.png"_s), PngClaiming(20000, 20000));
  EXPECT_THROW((void)io::ReadImage(folder.filePath(u"vaste.png"_s), 8), std::bad_alloc);
  io::SetPictureMemoryBudget(previous);

  const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  const QByteArray gif = MakeGif(8, 8, colours, -1, std::vector<std::uint8_t>(64, 2));
  WriteBytes(folder.filePath(u"half.gif"_s), gif.left(gif.size() / 2));
  WriteBytes(folder.filePath(u"whole.gif"_s), gif);
  EXPECT_EQ(io::ReadImage(folder.filePath(u"whole.gif"_s), 0).pixel(7, 7), 0xFF0000FFu);
  EXPECT_EQ(
      FileFailure([&] { (void)io::ReadImage(folder.filePath(u"half.gif"_s), 0); }).description(),
      "fichier GIF tronqué ou endommagé");
  // Qt's JPEG reader greys out the rows a cut file lacks.
  QImage photo(64, 64, QImage::Format_RGB32);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) photo.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) & 255));
  }
  ASSERT_TRUE(photo.save(folder.filePath(u"photo.jpg"_s)));
  const QByteArray jpeg = ReadBytes(folder.filePath(u"photo.jpg"_s));
  WriteBytes(folder.filePath(u"cut.jpg"_s), jpeg.left(jpeg.size() * 3 / 4));
  EXPECT_EQ(
      FileFailure([&] { (void)io::ReadImage(folder.filePath(u"cut.jpg"_s), 0); }).description(),
      "fichier JPEG tronqué ou endommagé");
}

}  // namespace
}  // namespace fotavel::testing
