// Files that are no pictures to read: a FIFO or a device refused at once, never waited on or read.
#include <gtest/gtest.h>

#include <QFile>
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
  const QString toFifo = folder.filePath(u"lien.jpg"_s), toZero = folder.filePath(u"zero.bmp"_s);
  ASSERT_TRUE(QFile::link(fifo, toFifo) && QFile::link(u"/dev/zero"_s, toZero));
  const std::function<void(const QString&)> roads[] = {
      [](const QString& path) { (void)io::ReadPicture(path); },
      [](const QString& path) { (void)io::ReadPreview(path, 40, 30); },
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

}  // namespace
}  // namespace fotavel::testing
