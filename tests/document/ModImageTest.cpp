// Tests of the logo overlay: finding the logo, its settings, and the stamp it leaves on a photo.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <cstdlib>
#include <stdexcept>

#include "document/AppServices.h"
#include "document/ModImage.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

using testing::PaddingIntact;
using testing::PixelRGB;

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kWhite = 0xFFFFFF;

class LogoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    services.SetParamFolder(dir.path());
  }
  void WriteBytes(const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  void WriteIni(const QByteArray& bytes) { WriteBytes("fotavel.ini", bytes); }
  // Writes a logo picture; the format follows the name's extension.
  QString WriteLogo(const QString& name, const QImage& logo, const char* format = "PNG") {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(logo.save(path, format)) << path.toStdString();
    return path;
  }
  void Touch(const QString& name) { WriteBytes(name, "x"); }

  QTemporaryDir dir;
  AppServices services{QString()};
};

// An opaque logo: left half white, right half red (a mid column of white when odd).
QImage WhiteAndRed(int width, int height) {
  QImage logo(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      logo.setPixel(x, y, 0xFF000000u | (x < width / 2 ? kWhite : kRed));
  }
  return logo;
}

QImage Uniform(int width, int height, QRgb argb) {
  QImage logo(width, height, QImage::Format_ARGB32);
  logo.fill(argb);
  return logo;
}

// Pixel (x, y) as the photo is displayed (row 0 on top), 0xRRGGBB.
std::uint32_t Shown(const cDIBSection& photo, int x, int y) {
  return PixelRGB(photo, x, photo.height() - 1 - y);
}

// The displayed extent of every pixel that is no longer black.
QRect Stamped(const cDIBSection& photo) {
  QRect extent;
  for (int y = 0; y < photo.height(); ++y) {
    for (int x = 0; x < photo.width(); ++x) {
      if (Shown(photo, x, y) != 0) extent |= QRect(x, y, 1, 1);
    }
  }
  return extent;
}

cDIBSection Black(int width, int height) { return testing::UniformSurface(width, height, 0, 0, 0); }

LogoSettings Placed(int sizePercent, int positionX, int positionY, float angle = 0,
                    float opacity = 1) {
  LogoSettings settings;
  settings.sizePercent = sizePercent;
  settings.positionX = positionX;
  settings.positionY = positionY;
  settings.angleDegrees = angle;
  settings.opacity = opacity;
  return settings;
}

int Channel(std::uint32_t rgb, int shift) { return int((rgb >> shift) & 0xFF); }

TEST_F(LogoTest, SettingsDefaultWithoutFile) {
  const LogoSettings settings = ModImage::LireReglagesLogo(services);
  EXPECT_EQ(settings.sizePercent, 10);
  EXPECT_EQ(settings.opacity, 1.0f);
  EXPECT_EQ(settings.angleDegrees, 0.0f);
  EXPECT_EQ(settings.positionX, 0);
  EXPECT_EQ(settings.positionY, 0);
  EXPECT_TRUE(settings.extension.isEmpty());
  // Without a stored extension a PNG logo is still found, whatever its case.
  Touch("LOGO.Png");
  EXPECT_EQ(ModImage::LireReglagesLogo(services).extension, "png");
}

TEST_F(LogoTest, SettingsReadFromTheFile) {
  WriteIni("Ext=PNG;\r\nDstX=50;\r\nDstY=75;\r\nTll=30;\r\nTrs=20;\r\nAgl=-15;\r\n");
  const LogoSettings settings = ModImage::LireReglagesLogo(services);
  EXPECT_EQ(settings.extension, "PNG");
  EXPECT_EQ(settings.positionX, 50);
  EXPECT_EQ(settings.positionY, 75);
  EXPECT_EQ(settings.sizePercent, 30);
  EXPECT_EQ(settings.opacity, 0.8f);
  EXPECT_EQ(settings.angleDegrees, -15.0f);
}

TEST_F(LogoTest, OpacityRoundsToOneDecimalHalvesToEven) {
  const struct {
    const char* trs;
    float opacity;
  } cases[] = {{"30", 0.7f}, {"0", 1.0f},  {"25", 0.8f}, {"35", 0.6f}, {"15", 0.8f},
               {"5", 1.0f},  {"90", 0.1f}, {"44", 0.6f}, {"46", 0.5f}};
  for (const auto& c : cases) {
    WriteIni(QByteArray("Ext=png;DstX=0;DstY=0;Tll=10;Trs=") + c.trs + ";Agl=0;");
    EXPECT_EQ(ModImage::LireReglagesLogo(services).opacity, c.opacity) << "Trs " << c.trs;
  }
}

TEST_F(LogoTest, UnreadableNumbersAreErrors) {
  WriteIni("Ext=png;DstX=0;DstY=0;Tll=grand;Trs=0;Agl=0;");
  EXPECT_THROW(ModImage::LireReglagesLogo(services), std::runtime_error);
  WriteIni("Ext=png;DstX=0;DstY=0;Tll=10;Agl=0;");  // no Trs
  EXPECT_THROW(ModImage::LireReglagesLogo(services), std::runtime_error);
  WriteIni("Ext=png;DstX=40000;DstY=0;Tll=10;Trs=0;Agl=0;");
  EXPECT_THROW(ModImage::LireReglagesLogo(services), std::runtime_error);
}

TEST_F(LogoTest, ExtensionSettlesAgainstTheFilesPresent) {
  const auto settled = [&](const char* stored) {
    WriteIni(QByteArray("Ext=") + stored + ";DstX=0;DstY=0;Tll=10;Trs=0;Agl=0;");
    return ModImage::LireReglagesLogo(services).extension;
  };
  // Nothing present: a stored extension stays, none stays none.
  EXPECT_EQ(settled("tif"), "tif");
  EXPECT_EQ(settled(""), "");
  Touch("logo.png");
  EXPECT_EQ(settled(""), "png");
  EXPECT_EQ(settled("PNG"), "PNG");
  Touch("Logo.GIF");
  EXPECT_EQ(settled("png"), "gif");
  EXPECT_EQ(settled(""), "png");
  Touch("logo.bmp");
  EXPECT_EQ(settled("png"), "bmp");
  Touch("logo.JPG");
  EXPECT_EQ(settled("gif"), "jpg");
  // With no stored extension only a PNG counts.
  ASSERT_TRUE(QFile::remove(dir.filePath("logo.png")));
  EXPECT_EQ(settled(""), "");
}

TEST_F(LogoTest, LogoFilesAreFoundWithoutRegardToCase) {
  EXPECT_TRUE(ModImage::AnyLogoFile(services).isEmpty());
  Touch("Logo.Gif");
  EXPECT_EQ(ModImage::AnyLogoFile(services), dir.filePath("Logo.Gif"));
  Touch("logo.PNG");
  EXPECT_EQ(ModImage::AnyLogoFile(services), dir.filePath("logo.PNG"));

  LogoSettings settings;
  settings.extension = "png";
  EXPECT_EQ(ModImage::LogoFileFor(services, settings), dir.filePath("logo.PNG"));
  Touch("logo.png");  // an exact match wins
  EXPECT_EQ(ModImage::LogoFileFor(services, settings), dir.filePath("logo.png"));
  settings.extension = "jpg";
  EXPECT_TRUE(ModImage::LogoFileFor(services, settings).isEmpty());
  settings.extension.clear();
  EXPECT_TRUE(ModImage::LogoFileFor(services, settings).isEmpty());
}

TEST_F(LogoTest, SizeFollowsHeightOfUprightPhotosAndWidthOfWideOnes) {
  const QString logo = WriteLogo("logo.png", WhiteAndRed(200, 100));
  cDIBSection wide = Black(1000, 600);
  ASSERT_TRUE(ModImage::DessineLogo(logo, wide, Placed(10, 0, 0)));
  EXPECT_EQ(Stamped(wide), QRect(0, 0, 100, 50));
  EXPECT_EQ(Shown(wide, 10, 25), kWhite);
  EXPECT_EQ(Shown(wide, 90, 25), kRed);

  cDIBSection upright = Black(600, 1000);
  ASSERT_TRUE(ModImage::DessineLogo(logo, upright, Placed(10, 0, 0)));
  EXPECT_EQ(Stamped(upright), QRect(0, 0, 200, 100));

  // Square counts as upright; odd widths carry row padding.
  cDIBSection square = Black(301, 301);
  ASSERT_TRUE(ModImage::DessineLogo(logo, square, Placed(10, 0, 0)));
  EXPECT_EQ(Stamped(square), QRect(0, 0, 60, 30));
  EXPECT_TRUE(PaddingIntact(square));
}

TEST_F(LogoTest, SizeRoundingHalvesToEvenOnTheFloatingQuotient) {
  cDIBSection photo = Black(51, 50);  // wide: W from the width
  // W = round(5.1) = 5; H = 2 × 5 / 3 = 3.333 → 3.
  ASSERT_TRUE(
      ModImage::DessineLogo(WriteLogo("a.png", WhiteAndRed(3, 2)), photo, Placed(10, 0, 0)));
  EXPECT_EQ(Stamped(photo), QRect(0, 0, 5, 3));

  // Upright 49 × 50: H = 5; a 3 × 2 logo is 7.5 wide → 8, a 5 × 2 one 12.5 → 12.
  cDIBSection upright = Black(49, 50);
  ASSERT_TRUE(
      ModImage::DessineLogo(WriteLogo("b.png", WhiteAndRed(3, 2)), upright, Placed(10, 0, 0)));
  EXPECT_EQ(Stamped(upright), QRect(0, 0, 8, 5));
  upright = Black(49, 50);
  ASSERT_TRUE(
      ModImage::DessineLogo(WriteLogo("c.png", WhiteAndRed(5, 2)), upright, Placed(10, 0, 0)));
  EXPECT_EQ(Stamped(upright), QRect(0, 0, 12, 5));
  // The unrounded 7.5 enters the right-edge offset: 49 − 7.5 = 41.5 → 42 (a
  // whole 8 would give 41), and the 8 wide stamp then loses a column to the edge.
  upright = Black(49, 50);
  ASSERT_TRUE(ModImage::DessineLogo(dir.filePath("b.png"), upright, Placed(10, 100, 0)));
  EXPECT_EQ(Stamped(upright), QRect(42, 0, 7, 5));
  EXPECT_TRUE(PaddingIntact(upright));
  // Centred: 24.5 − 3.75 = 20.75 → 21 (a whole 8 would give 20.5 → 20).
  upright = Black(49, 50);
  ASSERT_TRUE(ModImage::DessineLogo(dir.filePath("b.png"), upright, Placed(10, 50, 0)));
  EXPECT_EQ(Stamped(upright), QRect(21, 0, 8, 5));

  // 7 / 100 × 150 is 10.500000000000002 in double: the height is 11, not 10.
  cDIBSection tall = Black(149, 150);
  ASSERT_TRUE(
      ModImage::DessineLogo(WriteLogo("d.png", Uniform(1, 1, 0xFFFFFFFF)), tall, Placed(7, 0, 0)));
  EXPECT_EQ(Stamped(tall), QRect(0, 0, 11, 11));
}

TEST_F(LogoTest, AnchorRulesAtEachThreshold) {
  const QString logo = WriteLogo("logo.png", WhiteAndRed(200, 100));
  // 1001 × 601 gives a 100 × 50 stamp; each case is (DstX, DstY, left, top).
  const struct {
    int dstX, dstY, left, top;
  } cases[] = {
      {0, 0, 0, 0},         {50, 50, 450, 276},  // 500.5 − 50 = 450.5 → 450; 300.5 − 25 → 276
      {100, 100, 901, 551},                      // right and bottom edges on the photo's
      {24, 24, 240, 144},                        // 240.24, 144.24: still edges
      {25, 25, 200, 125},                        // 250.25 − 50, 150.25 − 25: centred
      {74, 74, 691, 420},                        // 740.74 − 50, 444.74 − 25
      {75, 75, 651, 401},                        // 750.75 − 100, 450.75 − 50: far edges
  };
  for (const auto& c : cases) {
    cDIBSection photo = Black(1001, 601);
    ASSERT_TRUE(ModImage::DessineLogo(logo, photo, Placed(10, c.dstX, c.dstY)));
    EXPECT_EQ(Stamped(photo), QRect(c.left, c.top, 100, 50)) << c.dstX << ", " << c.dstY;
    EXPECT_TRUE(PaddingIntact(photo));
  }
}

TEST_F(LogoTest, OpacitySparesGreyPixels) {
  // 20 × 10 on 200 × 100 draws one to one: left half grey, right half red.
  QImage image(20, 10, QImage::Format_ARGB32);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 20; ++x) image.setPixel(x, y, x < 10 ? 0xFF808080u : 0xFFFF0000u);
  }
  image.setPixel(0, 0, 0xFFFFFFFFu);
  image.setPixel(1, 0, 0x80FF0000u);  // own alpha ½, then the opacity on top
  image.setPixel(2, 0, 0x80808080u);  // own alpha ½ on a grey: only its own
  const QString logo = WriteLogo("logo.png", image);
  cDIBSection photo = testing::UniformSurface(201, 100, 200, 0, 0);  // blue 200
  ASSERT_TRUE(ModImage::DessineLogo(logo, photo, Placed(10, 0, 0, 0, 0.5f)));

  EXPECT_EQ(Shown(photo, 5, 5), 0x808080u);
  EXPECT_EQ(Shown(photo, 0, 0), kWhite);
  const auto near = [](int value, int expected) { return std::abs(value - expected) <= 1; };
  // Red at alpha 128 over blue 200.
  const std::uint32_t red = Shown(photo, 15, 5);
  EXPECT_TRUE(near(Channel(red, 16), 128) && Channel(red, 8) == 0 && near(Channel(red, 0), 100))
      << std::hex << red;
  // Red at alpha 64.
  const std::uint32_t quarter = Shown(photo, 1, 0);
  EXPECT_TRUE(near(Channel(quarter, 16), 64) && near(Channel(quarter, 0), 150))
      << std::hex << quarter;
  // Grey at its own alpha 128.
  const std::uint32_t grey = Shown(photo, 2, 0);
  EXPECT_TRUE(near(Channel(grey, 16), 64) && near(Channel(grey, 8), 64) &&
              near(Channel(grey, 0), 164))
      << std::hex << grey;
  // Beyond the stamp the photo is untouched.
  EXPECT_EQ(Shown(photo, 20, 5), 0x0000C8u);
  EXPECT_EQ(Shown(photo, 5, 10), 0x0000C8u);

  // Full opacity draws the red exactly.
  cDIBSection opaque = testing::UniformSurface(201, 100, 200, 0, 0);
  ASSERT_TRUE(ModImage::DessineLogo(logo, opaque, Placed(10, 0, 0)));
  EXPECT_EQ(Shown(opaque, 15, 5), kRed);
}

TEST_F(LogoTest, QuarterTurnIsClockwiseAboutTheTopLeftCorner) {
  // Red body; corner marks: top-left green, top-right blue, bottom-left white.
  QImage image(20, 10, QImage::Format_ARGB32);
  image.fill(0xFFFF0000u);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) {
      image.setPixel(x, y, 0xFF00FF00u);
      image.setPixel(18 + x, y, 0xFF0000FFu);
      image.setPixel(x, 8 + y, 0xFFFFFFFFu);
    }
  }
  const QString logo = WriteLogo("logo.png", image);
  // 201 × 101: 20 × 10 stamp, anchor (48.24, 24.24) by the edge rule.
  cDIBSection photo = Black(201, 101);
  ASSERT_TRUE(ModImage::DessineLogo(logo, photo, Placed(10, 24, 24, 90)));
  // The logo's right runs down and its down runs left: it hangs left of and
  // below the anchor, 10 wide and 20 high.
  EXPECT_EQ(Stamped(photo), QRect(38, 24, 10, 20));
  EXPECT_EQ(Shown(photo, 47, 24), 0x00FF00u);  // top-left corner at the anchor
  EXPECT_EQ(Shown(photo, 47, 43), 0x0000FFu);  // top-right below it
  EXPECT_EQ(Shown(photo, 38, 24), kWhite);     // bottom-left to its left
  EXPECT_EQ(Shown(photo, 43, 33), kRed);
  EXPECT_TRUE(PaddingIntact(photo));

  // A quarter turn the other way: right runs up, down runs right.
  cDIBSection back = Black(201, 101);
  ASSERT_TRUE(ModImage::DessineLogo(logo, back, Placed(10, 24, 24, -90)));
  EXPECT_EQ(Stamped(back), QRect(48, 4, 10, 20));
  EXPECT_EQ(Shown(back, 48, 23), 0x00FF00u);
  EXPECT_EQ(Shown(back, 48, 4), 0x0000FFu);
  EXPECT_EQ(Shown(back, 57, 23), kWhite);
}

TEST_F(LogoTest, LoadsEachLogoFormat) {
  const QImage image = Uniform(20, 10, 0xFFFFFFFF);
  // The smallest GIF: one red pixel.
  WriteBytes("logo.gif", QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                                    ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                                    35));
  const QString files[] = {WriteLogo("logo.png", image), WriteLogo("logo.jpg", image, "JPEG"),
                           WriteLogo("logo.bmp", image, "BMP"), dir.filePath("logo.gif")};
  for (const QString& file : files) {
    cDIBSection photo = Black(201, 100);
    ASSERT_TRUE(ModImage::DessineLogo(file, photo, Placed(10, 0, 0))) << file.toStdString();
    const QRect expected = file.endsWith("gif") ? QRect(0, 0, 20, 20) : QRect(0, 0, 20, 10);
    EXPECT_EQ(Stamped(photo), expected) << file.toStdString();
  }
}

TEST_F(LogoTest, UnloadableLogoLeavesThePhotoAlone) {
  WriteBytes("logo.png", "ceci n'est pas une image");
  cDIBSection photo = testing::RandomSurface(101, 61, 7);
  const cDIBSection before = testing::Copy(photo);
  EXPECT_FALSE(ModImage::DessineLogo(dir.filePath("logo.png"), photo, Placed(10, 50, 50)));
  EXPECT_FALSE(ModImage::DessineLogo(dir.filePath("absent.png"), photo, Placed(10, 50, 50)));
  EXPECT_TRUE(testing::SamePixels(photo, before)) << testing::FirstDifference(photo, before);
  EXPECT_TRUE(PaddingIntact(photo));
  cDIBSection empty;
  EXPECT_FALSE(
      ModImage::DessineLogo(WriteLogo("ok.png", WhiteAndRed(4, 2)), empty, Placed(10, 0, 0)));
}

TEST_F(LogoTest, LogoLargerThanThePhotoCoversItAndNotItsPadding) {
  const QString logo = WriteLogo("logo.png", Uniform(8, 8, 0xFF00FF00));
  for (const float angle : {0.0f, 30.0f}) {
    cDIBSection photo = Black(37, 23);
    ASSERT_TRUE(ModImage::DessineLogo(logo, photo, Placed(1000, 50, 50, angle)));
    EXPECT_EQ(Shown(photo, 0, 0), 0x00FF00u);
    EXPECT_EQ(Shown(photo, 36, 22), 0x00FF00u);
    EXPECT_TRUE(PaddingIntact(photo)) << angle;
  }
  // A size of nothing draws nothing.
  cDIBSection photo = Black(37, 23);
  EXPECT_TRUE(ModImage::DessineLogo(logo, photo, Placed(0, 50, 50)));
  EXPECT_TRUE(Stamped(photo).isEmpty());
}

}  // namespace
}  // namespace fotavel
