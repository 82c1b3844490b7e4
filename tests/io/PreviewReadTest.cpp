// Previews read from files: the size follows the whole photo, a JPEG's reduced decode stays close
// to the whole one, and its orientation is applied.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#include "TestFiles.h"
#include "io/PictureFiles.h"
#include "surface/Preview.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// The preview made the long way: the whole photo read, then reduced.
cDIBSection FromWhole(const QString& path, int boxWidth, int boxHeight) {
  const cDIBSection whole = MustRead(path);
  cDIBSection preview;
  const PreviewSize size = FitPreview(whole.width(), whole.height(), boxWidth, boxHeight);
  EXPECT_TRUE(preview.Create(size.width, size.height));
  SamplePreview(whole.view(), preview);
  return preview;
}

cDIBSection Preview(const QString& path, int boxWidth, int boxHeight) {
  cDIBSection preview;
  EXPECT_NO_THROW(preview = io::ReadPreview(path, boxWidth, boxHeight));
  return preview;
}

TEST(ReadPreview, ABitmapPreviewsExactlyAsTheWholePhotoReduced) {
  QTemporaryDir folder;
  const QString path = folder.filePath(u"p.bmp"_s);
  ASSERT_NO_THROW(io::WriteBmp(SmoothSurface(301, 97), path));
  const cDIBSection preview = Preview(path, 200, 150);
  EXPECT_EQ(std::pair(preview.width(), preview.height()), std::pair(200, 64));
  EXPECT_EQ(MaxDifference(preview, FromWhole(path, 200, 150)), 0);

  // 400 x 1 fits as 200 x 0.5, which rounds to nothing: a strip of one pixel still shows.
  ASSERT_NO_THROW(io::WriteBmp(SmoothSurface(400, 1), path));
  EXPECT_EQ(Preview(path, 200, 150).height(), 1);

  // Pixels said to start inside the headers: the preview refuses what the whole read refuses.
  ASSERT_NO_THROW(io::WriteBmp(SmoothSurface(13, 7), path));
  QByteArray bytes = ReadBytes(path);
  bytes.replace(10, 4, QByteArray(4, '\0'));
  WriteBytes(path, bytes);
  EXPECT_EQ(FileFailure([&] { (void)io::ReadPreview(path, 200, 150); }).description(),
            "fichier BMP tronqué ou endommagé");
}

TEST(ReadPreview, AJpegDecodedSmallerKeepsTheSizeRuleAndStaysClose) {
  QTemporaryDir folder;
  const QString plain = folder.filePath(u"p.jpg"_s);
  ASSERT_NO_THROW(io::WriteJpeg(SmoothSurface(1601, 1203), plain, 95));
  const cDIBSection preview = Preview(plain, 200, 150);
  ASSERT_EQ(std::pair(preview.width(), preview.height()), std::pair(200, 150));
  EXPECT_LE(MaxDifference(preview, FromWhole(plain, 200, 150)), 12);

  // Turned by its EXIF orientation, the preview stands upright like the photo.
  const QString turned = folder.filePath(u"turned.jpg"_s);
  WriteBytes(turned, WithExifOrientation(ReadBytes(plain), 6));
  const cDIBSection upright = Preview(turned, 200, 150);
  ASSERT_EQ(std::pair(upright.width(), upright.height()), std::pair(113, 150));
  EXPECT_LE(MaxDifference(upright, FromWhole(turned, 200, 150)), 12);
}
}  // namespace
}  // namespace fotavel::testing
