// Files that are no pictures to read: a FIFO or a device refused at once, a logo read as stored
// and its damage seen.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>

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
  const std::function<void(const QString&)> roads[] = {
      [](const QString& path) { (void)io::ReadPicture(path); },
      [](const QString& path) { (void)io::ReadPreview(path, 40, 30); },
      [](const QString& path) { (void)io::ReadImage(path, 0); },
  };
  for (const QString& path : {fifo, u"/dev/zero"_s}) {
    for (const auto& road : roads) {
      SCOPED_TRACE(path.toStdString() + " road " + std::to_string(&road - roads));
      const io::FileError refusal =
          WithoutHanging(fifo, [&] { return FileFailure([&] { road(path); }); });
      EXPECT_EQ(refusal.description(), "ce chemin ne désigne pas un fichier ordinaire");
    }
  }
  // A link to a regular file is read through.
  const cDIBSection photo = RandomSurface(5, 3, 4);
  ASSERT_NO_THROW(io::WriteBmp(photo, folder.filePath(u"vraie.bmp"_s)));
  ASSERT_TRUE(QFile::link(folder.filePath(u"vraie.bmp"_s), folder.filePath(u"lien.bmp"_s)));
  EXPECT_TRUE(SamePixels(MustRead(folder.filePath(u"lien.bmp"_s)), photo));
}

// A logo is read as stored: a camera's turn-right tag leaves it 64 x 40. Cut inside its picture
// data, where Qt's JPEG reader greys out the rows it lacks, it is refused.
TEST(ReadImage, ALogoIsReadAsStoredAndRefusedCut) {
  QTemporaryDir folder;
  const QString turned = folder.filePath(u"turned.jpg"_s), cut = folder.filePath(u"cut.jpg"_s);
  QImage logo(64, 40, QImage::Format_RGB32);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 64; ++x) logo.setPixel(x, y, qRgb(x * 4, y * 6, (x * y) & 255));
  }
  ASSERT_TRUE(logo.save(cut, "jpeg"));
  const QByteArray jpeg = ReadBytes(cut);
  WriteBytes(turned, WithExifOrientation(jpeg, 6));
  EXPECT_EQ(io::ReadImage(turned, 0).size(), QSize(64, 40));
  ASSERT_GT(jpeg.size() * 3 / 4, jpeg.indexOf("\xFF\xDA") + 100);
  WriteBytes(cut, jpeg.left(jpeg.size() * 3 / 4));
  EXPECT_EQ(FileFailure([&] { (void)io::ReadImage(cut, 0); }).description(),
            "fichier JPEG tronqué ou endommagé");
}

}  // namespace
}  // namespace fotavel::testing
