// The document saving in every format it writes: the kind a name asks for, the name offered, the
// file layer's own file under the chosen name, a save within a size, and failures that leave the
// document as it was.
#include <QDir>
#include <QFileInfo>

#include "DocumentFixture.h"
#include "io/FileError.h"
#include "io/SaveFormats.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

// The kind a name asks for, in any case; a dot in a folder's name starts no extension. A WebP,
// AVIF or TIFF photo is offered as it came; HEIC, which is not written, as the JPEG it will most
// likely become; the others without extension, for the dialog's own.
TEST_F(DocumentTest, SaveKindAndOfferedNameFollowTheExtension) {
  const struct {
    const char* name;
    SaveKind kind;
    const char* offered;
  } cases[] = {
      {"/x/a.JPEG", SaveKind::Jpeg, "/x/a"},
      {"/x/a.bmp", SaveKind::Bmp, "/x/a"},
      {"/x/a.PNG", SaveKind::Png, "/x/a"},
      {"/x/a.WebP", SaveKind::Webp, "/x/a.WebP"},
      {"/x/a.avif", SaveKind::Avif, "/x/a.avif"},
      {"/x.y/a.TIF", SaveKind::Tiff, "/x.y/a.TIF"},
      {"/x/a.tiff", SaveKind::Tiff, "/x/a.tiff"},
      {"/x/a.heic", SaveKind::BmpInstead, "/x/a.JPG"},
      {"/x/a.tiffany", SaveKind::BmpInstead, nullptr},
      {"/x/vacances.png/a", SaveKind::BmpInstead, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PhotoDocument::SaveKindFor(QString::fromUtf8(c.name)), c.kind) << c.name;
    if (c.offered == nullptr) continue;
    document.filename(QString::fromUtf8(c.name));
    EXPECT_EQ(document.DefaultSaveName(), QString::fromUtf8(c.offered)) << c.name;
  }
}

// Every format is written under the chosen name as the file layer encodes it, its settings passed
// on, and the saved document is clean under that name.
TEST_F(DocumentTest, EachFormatIsWrittenAsTheFileLayerEncodesIt) {
  const struct {
    const char* name;
    io::EncodeSettings settings;
  } cases[] = {
      {"a.png", {.format = io::SaveFormat::Png}},
      {"a.tif", {.format = io::SaveFormat::Tiff}},
      {"exacte.webp", {.format = io::SaveFormat::Webp, .quality = 45, .lossless = true}},
      {"a.bmp", {.format = io::SaveFormat::Bmp}},
      {"a.webp", {.format = io::SaveFormat::Webp, .quality = 90}},
      {"a.avif", {.format = io::SaveFormat::Avif, .quality = 60}},
      {"a.jpg", {.format = io::SaveFormat::Jpeg, .quality = 90}},
  };
  ASSERT_NO_THROW(document.OpenFile(WritePhoto(SmoothSurface(37, 23)), false));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    document.GrayScale();
    const QString path = folder.filePath(QString::fromUtf8(c.name));
    ASSERT_NO_THROW(document.SavePicture(path, c.settings));
    EXPECT_EQ(ReadBytes(path), io::EncodePicture(document.Picture(), c.settings).ToBytes());
    EXPECT_FALSE(document.Dirty());
    EXPECT_EQ(std::pair(document.filename(), document.Caption()),
              std::pair(path, u"Photo: "_s + path));
  }
}

// A save within a size writes the file layer's fit and tells what it took; a photo halved to fit
// is halved only in the file, the document's own photo keeping its size and pixels.
TEST_F(DocumentTest, ASaveWithinASizeWritesTheFileLayersFitAndHalvesOnlyTheFile) {
  ASSERT_NO_THROW(document.OpenFile(WritePhoto(RandomSurface(121, 81, 5)), false));
  document.GrayScale();  // a second pass changes no pixel, only the dirty flag
  for (const io::SaveFormat format :
       {io::SaveFormat::Jpeg, io::SaveFormat::Webp, io::SaveFormat::Avif}) {
    const io::EncodeSettings settings{.format = format, .quality = 95};
    const std::uint64_t lowest =
        io::EncodePicture(document.Picture(), {.format = format, .quality = 45}).size();
    for (const std::uint64_t limit : {lowest + 1000, lowest - 1}) {
      SCOPED_TRACE(::testing::Message() << io::ExtensionFor(format).toStdString() << ' ' << limit);
      document.GrayScale();
      const cDIBSection kept = Copy(document.Picture());
      const io::SizeFit reference = io::EncodeWithinSize(kept, settings, limit);
      const QString path = folder.filePath(u"%1.%2"_s.arg(limit).arg(io::ExtensionFor(format)));
      SizeFitted fitted;
      ASSERT_NO_THROW(fitted = document.SaveWithinSize(path, settings, limit));
      EXPECT_EQ(ReadBytes(path), reference.file.ToBytes());
      EXPECT_EQ(
          std::tuple(fitted.quality, fitted.halvings, fitted.width, fitted.height, fitted.bytes),
          std::tuple(reference.quality, limit < lowest ? 1 : 0, reference.width, reference.height,
                     reference.file.size()));
      EXPECT_TRUE(SamePixels(document.Picture(), kept));
      EXPECT_FALSE(document.Dirty());
      EXPECT_EQ(document.Caption(), u"Photo: "_s + path);
    }
  }
}

// A save that fails (no such folder, a size nothing fits in, a format that has no quality to
// lower) writes nothing and leaves the name, caption and dirty flag as they were.
TEST_F(DocumentTest, AFailedSaveInAnyFormatLeavesTheDocumentAsItWas) {
  const QString path = OpenRandom(9, 6);
  document.GrayScale();
  const QString caption = document.Caption();
  const QString absent = folder.filePath(u"absent/x.png"_s), jpg = folder.filePath(u"x.jpg"_s),
                png = folder.filePath(u"x.png"_s);
  for (const auto& [failure, chosen] :
       {std::pair(
            FileFailure([&] { document.SavePicture(absent, {.format = io::SaveFormat::Png}); }),
            absent),
        {FileFailure(
             [&] { (void)document.SaveWithinSize(jpg, {.format = io::SaveFormat::Jpeg}, 10); }),
         jpg},
        {FileFailure(
             [&] { (void)document.SaveWithinSize(png, {.format = io::SaveFormat::Png}, 1000000); }),
         png}}) {
    EXPECT_EQ(std::pair(failure.number(), failure.path()),
              std::pair(io::FileErrors::kWrite, chosen));
  }
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(std::pair(document.filename(), document.Caption()), std::pair(path, caption));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"photo.bmp"_s});
}

}  // namespace
}  // namespace fotavel::testing
