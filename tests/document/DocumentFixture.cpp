// Generated photos for the document tests.
#include "DocumentFixture.h"

#include "io/PictureFiles.h"

namespace fotavel::testing {

QString DocumentTest::WritePhoto(const cDIBSection& picture, const QString& name) {
  const QString path = folder.filePath(name);
  QString error;
  EXPECT_TRUE(io::WriteBmp(picture, path, error)) << error.toStdString();
  return path;
}

QString DocumentTest::OpenRandom(std::int32_t width, std::int32_t height, std::uint32_t seed) {
  return OpenPicture(RandomSurface(width, height, seed));
}

QString DocumentTest::OpenPicture(const cDIBSection& picture) {
  const QString path = WritePhoto(picture);
  QString error;
  EXPECT_TRUE(document.OpenFile(path, false, error)) << error.toStdString();
  return path;
}

}  // namespace fotavel::testing
