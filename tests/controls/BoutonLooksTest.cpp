// The image button's looks, read back pixel by pixel from what the widget shows.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <cmath>

#include "controls/ControlsSupport.h"
#include "controls/bouton.h"

namespace fotavel::testing {
namespace {

constexpr std::uint32_t kNormal = 0x0000FF;     // red
constexpr std::uint32_t kEnfonce = 0x00FF00;    // green
constexpr std::uint32_t kSurvol = 0xFF0000;     // blue
constexpr std::uint32_t kPicFond = 0x00FFFF;    // yellow
constexpr std::uint32_t kPicEnf = 0xFF00FF;     // magenta
constexpr std::uint32_t kPicDessus = 0xFFFF00;  // cyan
const QRgb kGreyText = qRgb(0x12, 0x34, 0x56);

// Twips to the nearest pixel at 96 dpi.
int Px(double twips) { return static_cast<int>(std::nearbyint(twips / 15.0)); }

class BoutonLooks : public ::testing::Test {
 protected:
  void SetUp() override {
    container.resize(300, 140);
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    // Plain pixels: every caption pixel is exactly the caption colour.
    font.setStyleStrategy(QFont::NoAntialias);
    container.setFont(font);
    button = new bouton(&container);
    button->setObjectName(QStringLiteral("LumierePlus"));
    button->setGeometry(10, 10, 48, 40);  // 720 x 600 twips
    button->ReadProperties({{QStringLiteral("Caption"), QString()},
                            {QStringLiteral("CouleurBtNormal"), kNormal},
                            {QStringLiteral("CouleurBtEnfoncé"), kEnfonce},
                            {QStringLiteral("CouleurBtSurvol"), kSurvol}});
    QPalette palette = button->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor::fromRgb(kGreyText));
    button->setPalette(palette);
    container.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&container));
    ASSERT_EQ(TwipsPerPixelX(*button), 15.0) << "the expected positions are worked out at 96 dpi";
  }

  void SetPictures(int w, int h) {
    button->SetBackImage(Solid(w, h, kPicFond));
    button->SetBackImageEnfoncee(Solid(w, h, kPicEnf));
    button->SetBackImageDessus(Solid(w, h, kPicDessus));
  }

  // Two moves: Qt drops a move to where the cursor already is.
  void Hover() {
    QTest::mouseMove(container.windowHandle(), Middle() - QPoint(1, 1));
    QTest::mouseMove(container.windowHandle(), Middle());
  }
  void Press() { QTest::mousePress(container.windowHandle(), Qt::LeftButton, {}, Middle()); }
  void Release() { QTest::mouseRelease(container.windowHandle(), Qt::LeftButton, {}, Middle()); }
  QPoint Middle() const { return button->geometry().center(); }

  QWidget container;
  bouton* button = nullptr;
};

// 48 x 40 pixels with a 32 x 16 picture centred: x = (720 - 480) / 2 = 120
// twips, y = (600 - 240) / 3 = 120 twips, both 8 pixels. The frames run from
// (0, 0) to (700, 580) twips, that is pixels 0 to 47 and 0 to 39.
TEST_F(BoutonLooks, EachLookShowsItsPictureAndFrame) {
  SetPictures(32, 16);
  button->UserControl_Show();
  QImage shot = Shot(*button);
  EXPECT_EQ(InkBox(shot, Rgb(kPicFond)), QRect(8, 8, 32, 16));
  EXPECT_EQ(OtherPixels(shot, Rgb(kPicFond)), 0) << "the normal look has no frame";

  Hover();
  shot = Shot(*button);
  EXPECT_EQ(InkBox(shot, Rgb(kPicDessus)), QRect(8, 8, 32, 16));
  // Dotted: every other pixel, starting at the top-left corner.
  EXPECT_EQ(At(shot, 0, 0), Rgb(kSurvol));
  EXPECT_EQ(At(shot, 1, 0), kWhite);
  EXPECT_EQ(At(shot, 2, 0), Rgb(kSurvol));
  EXPECT_EQ(At(shot, 47, 1), Rgb(kSurvol));
  EXPECT_EQ(At(shot, 47, 2), kWhite);
  EXPECT_EQ(InkBox(shot, Rgb(kSurvol)), QRect(0, 0, 48, 40));
  EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);

  Press();
  shot = Shot(*button);
  EXPECT_EQ(At(shot, 8, 8), Rgb(kPicEnf));
  EXPECT_EQ(InkBox(shot, Rgb(kEnfonce)), QRect(0, 0, 48, 40));
  EXPECT_EQ(At(shot, 1, 1), kWhite);
  EXPECT_EQ(OtherPixels(shot, Rgb(kPicEnf)), 2 * 48 + 2 * 38);
  EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << "pressing keeps the cursor";

  Release();
  shot = Shot(*button);
  EXPECT_EQ(OtherPixels(shot, Rgb(kPicFond)), 0);
  EXPECT_FALSE(button->testAttribute(Qt::WA_SetCursor)) << "back to the default arrow";
}

// The cross of the disabled look: from (H \ 4, W \ 4) to (W \ 4 * 3, W \ 4 * 3)
// and from (W \ 4 * 3, W \ 4) to (W \ 4, W \ 4 * 3), grey text, two pixels wide.
TEST_F(BoutonLooks, DisabledLookIsAGreyCrossOverTheNormalPicture) {
  button->setGeometry(10, 10, 60, 60);  // square, 900 twips: corners of the middle half
  SetPictures(8, 8);
  button->SetEnabled(false);
  QImage shot = Shot(*button);
  for (const QPoint p : {QPoint(15, 15), QPoint(20, 20), QPoint(30, 30), QPoint(40, 40),
                         QPoint(45, 15), QPoint(40, 20), QPoint(20, 40), QPoint(15, 45)}) {
    EXPECT_EQ(At(shot, p.x(), p.y()), kGreyText) << p.x() << "," << p.y();
  }
  for (const QPoint p : {QPoint(10, 10), QPoint(50, 50), QPoint(30, 12), QPoint(20, 30)}) {
    EXPECT_EQ(At(shot, p.x(), p.y()), kWhite) << p.x() << "," << p.y();
  }
  // The normal picture, centred, a third of the free height down: (26, 17).
  EXPECT_EQ(InkBox(shot, Rgb(kPicFond)).topLeft(), QPoint(26, 17));

  // On a wider than high button the first line starts at H \ 4 across:
  // 720 x 600 twips, from (150, 180) to (540, 540), pixels (10, 12) to (36, 36).
  button->setGeometry(10, 10, 48, 40);
  button->SetBackImage(QPixmap());
  button->UserControl_Show();
  shot = Shot(*button);
  for (const QPoint p : {QPoint(10, 12), QPoint(36, 36), QPoint(36, 12), QPoint(12, 36)}) {
    EXPECT_EQ(At(shot, p.x(), p.y()), kGreyText) << p.x() << "," << p.y();
  }
  EXPECT_EQ(OtherPixels(shot, kGreyText), 0);
  button->SetEnabled(true);
  EXPECT_EQ(InkBox(Shot(*button), kGreyText), QRect());
}

// PositionFond 1, 2, 3 and any other value; a 32-pixel (480-twip) picture on
// a 48-pixel (720-twip) button stands at 0, 240 and 120 twips.
TEST_F(BoutonLooks, PicturePlacementFollowsPositionFond) {
  button->SetBackImage(Solid(32, 16, kPicFond));
  const int top = Px((600 - 240) / 3.0);
  for (const auto& [position, left] : {std::pair{1, 0}, {2, 16}, {3, 8}}) {
    button->SetPositionFond(position);
    button->UserControl_Show();
    const QImage shot = Shot(*button);
    EXPECT_EQ(InkBox(shot, Rgb(kPicFond)), QRect(left, top, 32, 16)) << "PositionFond " << position;
  }
  for (const int position : {0, 4, -1}) {
    button->SetPositionFond(position);
    button->UserControl_Show();
    EXPECT_EQ(InkBox(Shot(*button), Rgb(kPicFond)), QRect()) << "PositionFond " << position;
  }
}

// The surface keeps what was drawn last: these writes show only with the next look.
TEST_F(BoutonLooks, PositionLegendeAndPictureWritesRepaintNothing) {
  button->SetBackImage(Solid(32, 16, kPicFond));
  button->UserControl_Show();
  const QImage before = Shot(*button);
  button->SetPositionFond(1);
  button->SetBackImage(Solid(32, 16, kPicEnf));
  button->SetLegende(QStringLiteral("Aide"));
  EXPECT_EQ(Shot(*button), before);
  button->UserControl_Show();
  EXPECT_EQ(InkBox(Shot(*button), Rgb(kPicEnf)), QRect(0, 8, 32, 16));
}

class BoutonCaption : public BoutonLooks {
 protected:
  // Where the rule puts a line of `text`, in pixels.
  QRect LineBox(const QString& text, double topTwips) const {
    const QFontMetrics metrics(container.font());
    const double W = button->width() * 15.0;
    const double left = (W - metrics.horizontalAdvance(text) * 15.0) / 2 + 20;
    return QRect(Px(left), Px(topTwips), metrics.horizontalAdvance(text), metrics.height());
  }
  double LineHeightTwips() const { return QFontMetrics(container.font()).height() * 15.0; }
};

TEST_F(BoutonCaption, TooWideCaptionWithBlanksGoesOneWordPerLine) {
  button->setGeometry(10, 10, 48, 60);  // 720 x 900 twips
  button->SetCaption(QStringLiteral("Trouver Contours"));
  ASSERT_GT(QFontMetrics(container.font()).horizontalAdvance(button->Caption()), 48);
  const QImage shot = Shot(*button);
  const double t = LineHeightTwips();
  const double firstTop = std::nearbyint(900 - 2 * t - 20);
  const QRect first = LineBox(QStringLiteral("Trouver"), firstTop);
  const QRect second = LineBox(QStringLiteral("Contours"), firstTop + t);
  const QRect ink1 = InkBox(shot, Rgb(kNormal), QRect(0, first.top(), 48, first.height()));
  const QRect ink2 = InkBox(shot, Rgb(kNormal), QRect(0, second.top(), 48, second.height()));
  ASSERT_FALSE(ink1.isEmpty() || ink2.isEmpty());
  EXPECT_TRUE(first.adjusted(0, 0, 1, 0).contains(ink1)) << "first word centred on its own line";
  EXPECT_TRUE(second.adjusted(-1, 0, 1, 0).contains(ink2));
  EXPECT_GT(ink1.left(), ink2.left()) << "the shorter word stands further in";
  EXPECT_EQ(InkBox(shot, Rgb(kNormal)), ink1 | ink2) << "nothing outside the two lines";
  EXPECT_LE(second.bottom(), Px(900 - 20)) << "the block ends 20 twips above the bottom";
  EXPECT_EQ(OtherPixels(shot, Rgb(kNormal)), 0);
}

TEST_F(BoutonCaption, CaptionWithoutBlankOrThatFitsStaysOnOneLine) {
  button->setGeometry(10, 10, 48, 60);
  const double line = 900 - LineHeightTwips() - 20;
  for (const QString& caption : {QStringLiteral("Enregistrer"), QStringLiteral("a b")}) {
    button->SetCaption(caption);
    const QImage shot = Shot(*button);
    const QRect ink = InkBox(shot, Rgb(kNormal));
    ASSERT_FALSE(ink.isEmpty()) << caption.toStdString();
    EXPECT_TRUE((LineBox(caption, line) & shot.rect()).adjusted(0, 0, 1, 0).contains(ink))
        << caption.toStdString();
  }
  button->SetCaption(QStringLiteral("Enregistrer"));
  EXPECT_EQ(InkBox(Shot(*button), Rgb(kNormal)).left(), 0) << "too wide: cut at both edges";
}

// The caption takes each look's colour; writing the caption or a colour draws
// the normal look even on a disabled button.
TEST_F(BoutonCaption, CaptionColourFollowsTheLookAndWritesShowTheNormalLook) {
  button->SetCaption(QStringLiteral("Clair"));
  EXPECT_FALSE(InkBox(Shot(*button), Rgb(kNormal)).isEmpty());
  Hover();
  EXPECT_EQ(OtherPixels(Shot(*button), Rgb(kSurvol)), 0);
  Press();
  EXPECT_EQ(OtherPixels(Shot(*button), Rgb(kEnfonce)), 0);
  Release();
  QTest::mouseMove(container.windowHandle(), QPoint(200, 120));

  button->SetEnabled(false);
  EXPECT_FALSE(InkBox(Shot(*button), kGreyText).isEmpty());
  button->SetCaption(QStringLiteral("Sombre"));
  QImage shot = Shot(*button);
  EXPECT_EQ(InkBox(shot, kGreyText), QRect()) << "no cross any more";
  EXPECT_FALSE(InkBox(shot, Rgb(kNormal)).isEmpty());
  button->SetEnabled(false);
  button->SetCouleurBtNormal(0x808080);
  shot = Shot(*button);
  EXPECT_EQ(InkBox(shot, kGreyText), QRect()) << "nor after a colour write";
  EXPECT_FALSE(InkBox(shot, qRgb(0x80, 0x80, 0x80)).isEmpty());
}

}  // namespace
}  // namespace fotavel::testing
