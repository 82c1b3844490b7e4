// The logo overlay: its settings and the stamp it leaves on a photo.
#include <QImage>
#include <QRect>
#include <cstdlib>

#include "DocumentFixture.h"
#include "document/DocumentError.h"
#include "document/ModImage.h"

namespace fotavel::testing {
namespace {

class LogoTest : public ::testing::Test {
 protected:
  void SetUp() override { services.SetParamFolder(dir.path()); }
  LogoSettings Read(const QByteArray& ini) {
    WriteFile(dir.filePath("fotavel.ini"), ini);
    return ModImage::LireReglagesLogo(services);
  }
  QString WriteLogo(const QString& name, const QImage& logo) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(logo.save(path, "PNG")) << path.toStdString();
    return path;
  }

  QTemporaryDir dir;
  AppServices services{QString()};
};

// Pixel (x, y) as the photo is displayed (row 0 on top), 0xRRGGBB.
std::uint32_t Shown(const cDIBSection& photo, int x, int y) {
  return PixelRGB(photo, x, photo.height() - 1 - y);
}

// The displayed extent of every pixel that is no longer black.
QRect Stamped(const cDIBSection& photo) {
  QRect extent;
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x)
      if (Shown(photo, x, y) != 0) extent |= QRect(x, y, 1, 1);
  return extent;
}

LogoSettings Placed(int size, int x, int y, float angle = 0, float opacity = 1) {
  return {.extension = {},
          .sizePercent = size,
          .opacity = opacity,
          .angleDegrees = angle,
          .positionX = x,
          .positionY = y};
}

TEST_F(LogoTest, SettingsFromTheFileOrTheDefaults) {
  LogoSettings s = ModImage::LireReglagesLogo(services);  // no file yet
  EXPECT_EQ(std::tuple(s.sizePercent, s.opacity, s.angleDegrees, s.positionX, s.positionY),
            std::tuple(10, 1.0f, 0.0f, 0, 0));
  // The opacity is 1 − Trs / 100 rounded to one decimal, halves to even: 0.65 → 0.6.
  s = Read("Ext=PNG;\r\nDstX=50;\r\nDstY=75;\r\nTll=30;\r\nTrs=35;\r\nAgl=-15;\r\n");
  EXPECT_EQ(
      std::tuple(s.extension, s.sizePercent, s.opacity, s.angleDegrees, s.positionX, s.positionY),
      std::tuple(QStringLiteral("PNG"), 30, 0.6f, -15.0f, 50, 75));
  for (const char* ini : {"Ext=png;DstX=0;DstY=0;Tll=10;Agl=0;",  // no Trs
                          "Ext=png;DstX=40000;DstY=0;Tll=10;Trs=0;Agl=0;"}) {
    EXPECT_THROW(Read(ini), DocumentError) << ini;
  }
}

// Sized from the height of upright (and square) photos and the width of wide ones, rounded
// halves to even; placed by the edge, centre or far-edge rule; turned clockwise about its
// top-left corner; clipped to the photo.
TEST_F(LogoTest, SizePlaceAndTurnOfTheStamp) {
  const struct {
    int logoWidth, logoHeight, photoWidth, photoHeight;
    LogoSettings settings;
    QRect extent;
  } cases[] = {
      // clang-format off
      {200, 100, 301, 301, Placed(10, 0, 0), QRect(0, 0, 60, 30)},
      // Wide 51 × 50: W = round(5.1) = 5; H = 2 × 5 / 3 = 3.333 → 3.
      {3, 2, 51, 50, Placed(10, 0, 0), QRect(0, 0, 5, 3)},
      // Upright 49 × 50: H = 5; a 5 × 2 logo is 12.5 wide → 12, a 3 × 2 one 7.5 → 8, and the
      // unrounded 7.5 enters the offsets: centred 24.5 − 3.75 → 21 (not 20); right edge
      // 49 − 7.5 = 41.5 → 42 (a whole 8 would give 41, the stamp then losing a column).
      {5, 2, 49, 50, Placed(10, 0, 0), QRect(0, 0, 12, 5)},
      {3, 2, 49, 50, Placed(10, 50, 0), QRect(21, 0, 8, 5)},
      {3, 2, 49, 50, Placed(10, 100, 0), QRect(42, 0, 7, 5)},
      // 7 / 100 × 150 is 10.500000000000002 in double: the height is 11, not 10.
      {1, 1, 149, 150, Placed(7, 0, 0), QRect(0, 0, 11, 11)},
      // 1001 × 601 gives a 100 × 50 stamp: 240.24 is still the left edge, 250.25 − 50
      // centred, 750.75 − 100 the right edge.
      {200, 100, 1001, 601, Placed(10, 24, 24), QRect(240, 144, 100, 50)},
      {200, 100, 1001, 601, Placed(10, 25, 25), QRect(200, 125, 100, 50)},
      {200, 100, 1001, 601, Placed(10, 75, 75), QRect(651, 401, 100, 50)},
      // 201 × 101, anchor (48.24, 24.24): turned right, the logo hangs left of and below it;
      // turned left, right of and above it.
      {20, 10, 201, 101, Placed(10, 24, 24, 90), QRect(38, 24, 10, 20)},
      {20, 10, 201, 101, Placed(10, 24, 24, -90), QRect(48, 4, 10, 20)},
      {8, 8, 37, 23, Placed(1000, 50, 50, 30), QRect(0, 0, 37, 23)},
      {8, 8, 37, 23, Placed(0, 50, 50), QRect()},  // a size of nothing
      // clang-format on
  };
  for (const auto& c : cases) {
    QImage white(c.logoWidth, c.logoHeight, QImage::Format_ARGB32);
    white.fill(0xFFFFFFFF);
    const QString logo =
        WriteLogo(QStringLiteral("logo%1x%2.png").arg(c.logoWidth).arg(c.logoHeight), white);
    cDIBSection photo = UniformSurface(c.photoWidth, c.photoHeight, 0, 0, 0);
    SCOPED_TRACE(&c - cases);
    ASSERT_NO_THROW(ModImage::DessineLogo(logo, photo, c.settings));
    EXPECT_EQ(Stamped(photo), c.extent);
    EXPECT_TRUE(PaddingIntact(photo));
  }
}

TEST_F(LogoTest, OpacitySparesGreyPixels) {
  // 20 × 10 on 201 × 100 draws one to one: left half grey, right half red.
  QImage image(20, 10, QImage::Format_ARGB32);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) image.setPixel(x, y, x < 10 ? 0xFF808080u : 0xFFFF0000u);
  image.setPixel(1, 0, 0x80FF0000u);  // own alpha ½, then the opacity on top
  image.setPixel(2, 0, 0x80808080u);  // own alpha ½ on a grey: only its own
  const QString logo = WriteLogo("logo.png", image);
  cDIBSection photo = UniformSurface(201, 100, 200, 0, 0);  // blue 200
  ASSERT_NO_THROW(ModImage::DessineLogo(logo, photo, Placed(10, 0, 0, 0, 0.5f)));
  EXPECT_EQ(Shown(photo, 5, 5), 0x808080u);
  // Each (x, y, red, green, blue) within one: red at alpha 128 and 64 over blue 200,
  // grey at its own alpha 128.
  const int blended[][5] = {{15, 5, 128, 0, 100}, {1, 0, 64, 0, 150}, {2, 0, 64, 64, 164}};
  for (const auto& b : blended) {
    const std::uint32_t rgb = Shown(photo, b[0], b[1]);
    for (int c = 0; c < 3; ++c) {
      EXPECT_LE(std::abs(int((rgb >> (16 - 8 * c)) & 0xFF) - b[2 + c]), 1)
          << b[0] << ',' << b[1] << ": " << std::hex << rgb;
    }
  }
}

}  // namespace
}  // namespace fotavel::testing
