// The logo overlay: finding the logo, its settings, and the stamp it leaves on a photo.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <cstdlib>

#include "DocumentFixture.h"
#include "document/AppServices.h"
#include "document/DocumentError.h"
#include "document/ModImage.h"
#include "support/Surfaces.h"

namespace fotavel {
namespace {

using testing::PaddingIntact;

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kWhite = 0xFFFFFF;

class LogoTest : public ::testing::Test {
 protected:
  void SetUp() override { services.SetParamFolder(dir.path()); }
  void WriteBytes(const QString& name, const QByteArray& bytes) {
    testing::WriteFile(dir.filePath(name), bytes);
  }
  LogoSettings Read(const QByteArray& ini) {
    WriteBytes("fotavel.ini", ini);
    return ModImage::LireReglagesLogo(services);
  }
  QString WriteLogo(const QString& name, const QImage& logo, const char* format = "PNG") {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(logo.save(path, format)) << path.toStdString();
    return path;
  }

  QTemporaryDir dir;
  AppServices services{QString()};
};

// An opaque logo: left half white, right half red (a mid column of white when odd).
QImage WhiteAndRed(int width, int height) {
  QImage logo(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      logo.setPixel(x, y, 0xFF000000u | (x < width / 2 ? kWhite : kRed));
  return logo;
}

QImage Uniform(int width, int height, QRgb argb) {
  QImage logo(width, height, QImage::Format_ARGB32);
  logo.fill(argb);
  return logo;
}

// Pixel (x, y) as the photo is displayed (row 0 on top), 0xRRGGBB.
std::uint32_t Shown(const cDIBSection& photo, int x, int y) {
  return testing::PixelRGB(photo, x, photo.height() - 1 - y);
}

// The displayed extent of every pixel that is no longer black.
QRect Stamped(const cDIBSection& photo) {
  QRect extent;
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x)
      if (Shown(photo, x, y) != 0) extent |= QRect(x, y, 1, 1);
  return extent;
}

cDIBSection Black(int width, int height) { return testing::UniformSurface(width, height, 0, 0, 0); }

LogoSettings Placed(int size, int x, int y, float angle = 0, float opacity = 1) {
  return {.extension = {},
          .sizePercent = size,
          .opacity = opacity,
          .angleDegrees = angle,
          .positionX = x,
          .positionY = y};
}

// Stamps `logo` on a black photo of that size and returns the stamped extent.
QRect StampOn(const QString& logo, int width, int height, const LogoSettings& settings) {
  cDIBSection photo = Black(width, height);
  EXPECT_TRUE(ModImage::DessineLogo(logo, photo, settings));
  EXPECT_TRUE(PaddingIntact(photo));
  return Stamped(photo);
}

TEST_F(LogoTest, SettingsFromTheFileOrTheDefaults) {
  LogoSettings s = ModImage::LireReglagesLogo(services);
  EXPECT_EQ(std::tuple(s.sizePercent, s.opacity, s.angleDegrees, s.positionX, s.positionY),
            std::tuple(10, 1.0f, 0.0f, 0, 0));
  EXPECT_TRUE(s.extension.isEmpty());
  s = Read("Ext=PNG;\r\nDstX=50;\r\nDstY=75;\r\nTll=30;\r\nTrs=20;\r\nAgl=-15;\r\n");
  EXPECT_EQ(s.extension, "PNG");
  EXPECT_EQ(std::tuple(s.sizePercent, s.opacity, s.angleDegrees, s.positionX, s.positionY),
            std::tuple(30, 0.8f, -15.0f, 50, 75));
}

TEST_F(LogoTest, OpacityRoundsToOneDecimalHalvesToEven) {
  const std::pair<const char*, float> cases[] = {{"30", 0.7f}, {"0", 1.0f},  {"25", 0.8f},
                                                 {"35", 0.6f}, {"15", 0.8f}, {"5", 1.0f},
                                                 {"90", 0.1f}, {"44", 0.6f}, {"46", 0.5f}};
  for (const auto& [trs, opacity] : cases)
    EXPECT_EQ(Read(QByteArray("Ext=png;DstX=0;DstY=0;Tll=10;Trs=") + trs + ";Agl=0;").opacity,
              opacity)
        << "Trs " << trs;
}

TEST_F(LogoTest, UnreadableNumbersAreErrors) {
  for (const char* ini : {"Ext=png;DstX=0;DstY=0;Tll=grand;Trs=0;Agl=0;",
                          "Ext=png;DstX=0;DstY=0;Tll=10;Agl=0;",  // no Trs
                          "Ext=png;DstX=40000;DstY=0;Tll=10;Trs=0;Agl=0;"})
    EXPECT_THROW(Read(ini), DocumentError) << ini;
}

TEST_F(LogoTest, ExtensionSettlesAgainstTheFilesPresent) {
  const auto settled = [&](const char* stored) {
    return Read(QByteArray("Ext=") + stored + ";DstX=0;DstY=0;Tll=10;Trs=0;Agl=0;").extension;
  };
  EXPECT_EQ(settled("tif"), "tif");  // nothing present: the stored one stays
  EXPECT_EQ(settled(""), "");
  WriteBytes("logo.png", "x");
  EXPECT_EQ(settled(""), "png");
  EXPECT_EQ(settled("PNG"), "PNG");
  WriteBytes("Logo.GIF", "x");
  EXPECT_EQ(settled("png"), "gif");
  EXPECT_EQ(settled(""), "png");
  WriteBytes("logo.bmp", "x");
  EXPECT_EQ(settled("png"), "bmp");
  WriteBytes("logo.JPG", "x");
  EXPECT_EQ(settled("gif"), "jpg");
  ASSERT_TRUE(QFile::remove(dir.filePath("logo.png")));
  EXPECT_EQ(settled(""), "");  // with no stored extension only a PNG counts
  WriteBytes("LOGO.Png", "x");
  EXPECT_EQ(ModImage::LireReglagesLogo(services).extension, "png");  // whatever its case
}

TEST_F(LogoTest, LogoFilesAreFoundWithoutRegardToCase) {
  EXPECT_TRUE(ModImage::AnyLogoFile(services).isEmpty());
  WriteBytes("Logo.Gif", "x");
  EXPECT_EQ(ModImage::AnyLogoFile(services), dir.filePath("Logo.Gif"));
  WriteBytes("logo.PNG", "x");
  EXPECT_EQ(ModImage::AnyLogoFile(services), dir.filePath("logo.PNG"));
  LogoSettings settings{.extension = "png"};
  EXPECT_EQ(ModImage::LogoFileFor(services, settings), dir.filePath("logo.PNG"));
  WriteBytes("logo.png", "x");  // an exact match wins
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
  EXPECT_EQ(StampOn(logo, 600, 1000, Placed(10, 0, 0)), QRect(0, 0, 200, 100));
  EXPECT_EQ(StampOn(logo, 301, 301, Placed(10, 0, 0)), QRect(0, 0, 60, 30));  // square is upright
}

TEST_F(LogoTest, SizeRoundingHalvesToEvenOnTheFloatingQuotient) {
  const QString threeByTwo = WriteLogo("b.png", WhiteAndRed(3, 2));
  // Wide 51 × 50: W = round(5.1) = 5; H = 2 × 5 / 3 = 3.333 → 3.
  EXPECT_EQ(StampOn(threeByTwo, 51, 50, Placed(10, 0, 0)), QRect(0, 0, 5, 3));
  // Upright 49 × 50: H = 5; a 3 × 2 logo is 7.5 wide → 8, a 5 × 2 one 12.5 → 12.
  EXPECT_EQ(StampOn(threeByTwo, 49, 50, Placed(10, 0, 0)), QRect(0, 0, 8, 5));
  EXPECT_EQ(StampOn(WriteLogo("c.png", WhiteAndRed(5, 2)), 49, 50, Placed(10, 0, 0)),
            QRect(0, 0, 12, 5));
  // The unrounded 7.5 enters the offsets: right edge 49 − 7.5 = 41.5 → 42 (a whole 8
  // would give 41, the stamp then losing a column); centred 24.5 − 3.75 → 21 (not 20).
  EXPECT_EQ(StampOn(threeByTwo, 49, 50, Placed(10, 100, 0)), QRect(42, 0, 7, 5));
  EXPECT_EQ(StampOn(threeByTwo, 49, 50, Placed(10, 50, 0)), QRect(21, 0, 8, 5));
  // 7 / 100 × 150 is 10.500000000000002 in double: the height is 11, not 10.
  EXPECT_EQ(StampOn(WriteLogo("d.png", Uniform(1, 1, 0xFFFFFFFF)), 149, 150, Placed(7, 0, 0)),
            QRect(0, 0, 11, 11));
}

TEST_F(LogoTest, AnchorRulesAtEachThreshold) {
  const QString logo = WriteLogo("logo.png", WhiteAndRed(200, 100));
  // 1001 × 601 gives a 100 × 50 stamp; each case is (DstX, DstY, left, top).
  const int cases[][4] = {
      // clang-format off
      {0, 0, 0, 0},      {50, 50, 450, 276},  // 500.5 − 50 = 450.5 → 450; 300.5 − 25 → 276
      {100, 100, 901, 551},                   // right and bottom edges on the photo's
      {24, 24, 240, 144},                     // 240.24, 144.24: still edges
      {25, 25, 200, 125},                     // 250.25 − 50, 150.25 − 25: centred
      {74, 74, 691, 420},                     // 740.74 − 50, 444.74 − 25
      {75, 75, 651, 401},                     // 750.75 − 100, 450.75 − 50: far edges
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(StampOn(logo, 1001, 601, Placed(10, c[0], c[1])), QRect(c[2], c[3], 100, 50))
        << c[0] << ", " << c[1];
}

TEST_F(LogoTest, OpacitySparesGreyPixels) {
  // 20 × 10 on 201 × 100 draws one to one: left half grey, right half red.
  QImage image(20, 10, QImage::Format_ARGB32);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) image.setPixel(x, y, x < 10 ? 0xFF808080u : 0xFFFF0000u);
  image.setPixel(0, 0, 0xFFFFFFFFu);
  image.setPixel(1, 0, 0x80FF0000u);  // own alpha ½, then the opacity on top
  image.setPixel(2, 0, 0x80808080u);  // own alpha ½ on a grey: only its own
  const QString logo = WriteLogo("logo.png", image);
  cDIBSection photo = testing::UniformSurface(201, 100, 200, 0, 0);  // blue 200
  ASSERT_TRUE(ModImage::DessineLogo(logo, photo, Placed(10, 0, 0, 0, 0.5f)));
  EXPECT_EQ(Shown(photo, 5, 5), 0x808080u);
  EXPECT_EQ(Shown(photo, 0, 0), kWhite);
  // Each (x, y, red, green, blue) within one: red at alpha 128 and 64 over blue 200,
  // grey at its own alpha 128.
  const int blended[][5] = {{15, 5, 128, 0, 100}, {1, 0, 64, 0, 150}, {2, 0, 64, 64, 164}};
  for (const auto& b : blended) {
    const std::uint32_t rgb = Shown(photo, b[0], b[1]);
    for (int c = 0; c < 3; ++c)
      EXPECT_LE(std::abs(int((rgb >> (16 - 8 * c)) & 0xFF) - b[2 + c]), 1)
          << b[0] << ',' << b[1] << ": " << std::hex << rgb;
  }
  EXPECT_EQ(Shown(photo, 20, 5), 0x0000C8u);  // beyond the stamp, untouched
  EXPECT_EQ(Shown(photo, 5, 10), 0x0000C8u);
  cDIBSection opaque = testing::UniformSurface(201, 100, 200, 0, 0);
  ASSERT_TRUE(ModImage::DessineLogo(logo, opaque, Placed(10, 0, 0)));
  EXPECT_EQ(Shown(opaque, 15, 5), kRed);  // full opacity draws the red exactly
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
  // 201 × 101: 20 × 10 stamp, anchor (48.24, 24.24) by the edge rule. Turned right,
  // the logo hangs left of and below the anchor; turned left, right of and above it.
  const struct {
    float angle;
    QRect extent;
    int green[2], blue[2], white[2];
  } cases[] = {{90, QRect(38, 24, 10, 20), {47, 24}, {47, 43}, {38, 24}},
               {-90, QRect(48, 4, 10, 20), {48, 23}, {48, 4}, {57, 23}}};
  for (const auto& c : cases) {
    cDIBSection photo = Black(201, 101);
    ASSERT_TRUE(ModImage::DessineLogo(logo, photo, Placed(10, 24, 24, c.angle)));
    EXPECT_EQ(Stamped(photo), c.extent) << c.angle;
    EXPECT_EQ(Shown(photo, c.green[0], c.green[1]), 0x00FF00u) << c.angle;
    EXPECT_EQ(Shown(photo, c.blue[0], c.blue[1]), 0x0000FFu) << c.angle;
    EXPECT_EQ(Shown(photo, c.white[0], c.white[1]), kWhite) << c.angle;
    EXPECT_TRUE(PaddingIntact(photo));
  }
}

TEST_F(LogoTest, LoadsEachLogoFormat) {
  const QImage image = Uniform(20, 10, 0xFFFFFFFF);
  // The smallest GIF: one red pixel, drawn 20 × 20.
  WriteBytes("logo.gif", QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                                    ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                                    35));
  for (const QString& file : {WriteLogo("logo.png", image), WriteLogo("logo.jpg", image, "JPEG"),
                              WriteLogo("logo.bmp", image, "BMP"), dir.filePath("logo.gif")})
    EXPECT_EQ(StampOn(file, 201, 100, Placed(10, 0, 0)),
              QRect(0, 0, 20, file.endsWith("gif") ? 20 : 10))
        << file.toStdString();
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
  for (const float angle : {0.0f, 30.0f})
    EXPECT_EQ(StampOn(logo, 37, 23, Placed(1000, 50, 50, angle)), QRect(0, 0, 37, 23)) << angle;
  EXPECT_TRUE(StampOn(logo, 37, 23, Placed(0, 50, 50)).isEmpty());  // a size of nothing
}

}  // namespace
}  // namespace fotavel
