// The document saving in every format it writes: the kind a name asks for, the name offered, files
// read back, a save within a size, and failures that leave the document as it was.
#include <QDir>
#include <QFileInfo>

#include "DocumentFixture.h"
#include "io/FileError.h"
#include "io/SaveFormats.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

TEST_F(DocumentTest, SaveKindFollowsTheExtensionInAnyCase) {
  const struct {
    const char* name;
    SaveKind kind;
  } cases[] = {
      {"/x/a.jpg", SaveKind::Jpeg},
      {"/x/a.JPEG", SaveKind::Jpeg},
      {"/x/a.Jpeg", SaveKind::Jpeg},
      {"/x/a.bmp", SaveKind::Bmp},
      {"/x/a.PNG", SaveKind::Png},
      {"/x/a.webp", SaveKind::Webp},
      {"/x/a.WebP", SaveKind::Webp},
      {"/x/a.avif", SaveKind::Avif},
      {"/x/a.TIF", SaveKind::Tiff},
      {"/x/a.tiff", SaveKind::Tiff},
      {"/x/a.gif", SaveKind::BmpInstead},
      {"/x/a.heic", SaveKind::BmpInstead},
      {"/x/a.tiffany", SaveKind::BmpInstead},
      {"/x/a.jp", SaveKind::BmpInstead},
      {"/x/a.png.gif", SaveKind::BmpInstead},
      {"/x/a", SaveKind::BmpInstead},
      // A dot in a folder's name starts no extension.
      {"/x/vacances.png/a", SaveKind::BmpInstead},
      {"/x.y/a.tif", SaveKind::Tiff},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PhotoDocument::SaveKindFor(QString::fromUtf8(c.name)), c.kind) << c.name;
  }
}

// A WebP, AVIF or TIFF photo is offered as it came; HEIC, which is not written, as the JPEG it
// will most likely become; the others without extension, for the dialog's own.
TEST_F(DocumentTest, PhotosOfFormatsWrittenTooAreOfferedUnderTheirOwnName) {
  const char* const cases[][2] = {
      {"/p/chat.webp", "/p/chat.webp"},    {"/p/chat.AVIF", "/p/chat.AVIF"},
      {"/p/scan.tif", "/p/scan.tif"},      {"/p/scan.TIFF", "/p/scan.TIFF"},
      {"/p/iphone.HEIC", "/p/iphone.JPG"}, {"/p/iphone.heif", "/p/iphone.JPG"},
      {"/p/plage.jpg", "/p/plage"},        {"/p/plan.png", "/p/plan"},
  };
  for (const auto& c : cases) {
    document.filename(QString::fromUtf8(c[0]));
    EXPECT_EQ(document.DefaultSaveName(), QString::fromUtf8(c[1])) << c[0];
  }
}

// Every format is written under the chosen name as the file layer encodes it, and reads back
// exactly for the formats without loss. The saved document is clean under that name.
TEST_F(DocumentTest, EachFormatIsWrittenAsItselfAndReadsBack) {
  const struct {
    const char* name;
    io::EncodeSettings settings;
  } cases[] = {
      {"exact.png", {.format = io::SaveFormat::Png}},
      {"exact.tif", {.format = io::SaveFormat::Tiff}},
      {"exact.webp", {.format = io::SaveFormat::Webp, .quality = 45, .lossless = true}},
      {"exact.bmp", {.format = io::SaveFormat::Bmp}},
      {"proche.webp", {.format = io::SaveFormat::Webp, .quality = 90}},
      {"proche.avif", {.format = io::SaveFormat::Avif, .quality = 90}},
      {"proche.jpg", {.format = io::SaveFormat::Jpeg, .quality = 90}},
  };
  // Odd, so that rows are padded.
  ASSERT_NO_THROW(document.OpenFile(WritePhoto(SmoothSurface(37, 23)), false));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    document.GrayScale();
    ASSERT_TRUE(document.Dirty());
    const QString path = folder.filePath(QString::fromUtf8(c.name));
    ASSERT_NO_THROW(document.SavePicture(path, c.settings));
    EXPECT_EQ(ReadBytes(path), io::EncodePicture(document.Picture(), c.settings).ToBytes());
    if (!io::HasQuality(c.settings)) {
      const cDIBSection read = MustRead(path);
      EXPECT_TRUE(SamePixels(read, document.Picture()))
          << FirstDifference(read, document.Picture());
    }
    EXPECT_FALSE(document.Dirty());
    EXPECT_EQ(std::pair(document.filename(), document.Caption()),
              std::pair(path, u"Photo: "_s + path));
  }
}

// The file within the size is the highest quality that fits: the next one up does not. When no
// quality fits the photo is halved in the file, each side rounded up, and the document's own photo
// keeps its size and pixels.
TEST_F(DocumentTest, ASaveWithinASizeTakesTheHighestQualityThatFitsAndHalvesOnlyTheFile) {
  const cDIBSection photo = RandomSurface(121, 81, 5);
  ASSERT_NO_THROW(document.OpenFile(WritePhoto(photo), false));
  for (const io::SaveFormat format :
       {io::SaveFormat::Jpeg, io::SaveFormat::Webp, io::SaveFormat::Avif}) {
    const io::EncodeSettings settings{.format = format, .quality = 95};
    SCOPED_TRACE(io::ExtensionFor(format).toStdString());
    // Grey from the first pass on: a second one changes no pixel, only the dirty flag.
    document.GrayScale();
    const auto sizeAt = [&](int quality) {
      io::EncodeSettings at = settings;
      at.quality = quality;
      return io::EncodePicture(document.Picture(), at).size();
    };
    const std::uint64_t lowest = sizeAt(45), highest = sizeAt(95);
    ASSERT_LT(lowest, highest);

    const QString within = folder.filePath(u"moyen."_s + io::ExtensionFor(format));
    const std::uint64_t limit = (lowest + highest) / 2;
    SizeFitted fitted;
    ASSERT_NO_THROW(fitted = document.SaveWithinSize(within, settings, limit));
    EXPECT_EQ(fitted.bytes, std::uint64_t(QFileInfo(within).size()));
    EXPECT_LE(fitted.bytes, limit);
    EXPECT_EQ(fitted.bytes, sizeAt(fitted.quality));
    EXPECT_GT(sizeAt(fitted.quality + 1), limit);
    EXPECT_EQ(std::tuple(fitted.halvings, fitted.width, fitted.height), std::tuple(0, 121, 81));
    EXPECT_FALSE(document.Dirty());
    EXPECT_EQ(document.filename(), within);

    // Below the lowest quality's size, and 121 x 81 halved is 61 x 41.
    document.GrayScale();
    const cDIBSection kept = Copy(document.Picture());
    const QString halved = folder.filePath(u"petit."_s + io::ExtensionFor(format));
    ASSERT_NO_THROW(fitted = document.SaveWithinSize(halved, settings, lowest - 1));
    EXPECT_EQ(std::tuple(fitted.halvings, fitted.width, fitted.height), std::tuple(1, 61, 41));
    EXPECT_LE(fitted.bytes, lowest - 1);
    const cDIBSection read = MustRead(halved);
    EXPECT_EQ(std::pair(read.width(), read.height()), std::pair(61, 41));
    EXPECT_TRUE(SamePixels(document.Picture(), kept));
    EXPECT_FALSE(document.Dirty());
    EXPECT_EQ(document.Caption(), u"Photo: "_s + halved);
  }
}

// A save that fails (no such folder, a size nothing fits in, a format that has no quality to
// lower) writes nothing and leaves the name, caption and dirty flag as they were.
TEST_F(DocumentTest, AFailedSaveInAnyFormatLeavesTheDocumentAsItWas) {
  const QString path = OpenRandom(9, 6);
  document.GrayScale();
  const QString caption = document.Caption();
  const QString absent = folder.filePath(u"absent/x.png"_s);
  const io::FileError noFolder =
      FileFailure([&] { document.SavePicture(absent, {.format = io::SaveFormat::Png}); });
  EXPECT_EQ(std::pair(noFolder.number(), noFolder.path()),
            std::pair(io::FileErrors::kWrite, absent));
  const QString tiny = folder.filePath(u"x.jpg"_s);
  const io::FileError tooSmall = FileFailure(
      [&] { (void)document.SaveWithinSize(tiny, {.format = io::SaveFormat::Jpeg}, 10); });
  EXPECT_EQ(std::pair(tooSmall.number(), tooSmall.path()), std::pair(io::FileErrors::kWrite, tiny));
  const QString png = folder.filePath(u"x.png"_s);
  const io::FileError noQuality = FileFailure(
      [&] { (void)document.SaveWithinSize(png, {.format = io::SaveFormat::Png}, 1000000); });
  EXPECT_EQ(noQuality.number(), io::FileErrors::kWrite);
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(std::pair(document.filename(), document.Caption()), std::pair(path, caption));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"photo.bmp"_s});
}

}  // namespace
}  // namespace fotavel::testing
