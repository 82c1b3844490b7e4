// The image button's looks, read back pixel by pixel from what the widget shows.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTest>

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

class BoutonLooks : public ::testing::Test {
 protected:
  void SetUp() override {
    container.resize(300, 140);
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    // Plain pixels: every caption pixel is exactly the caption colour.
    font.setStyleStrategy(QFont::NoAntialias);
    container.setFont(font);
    button = new bouton(&container);
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

// A 32 x 16 picture on 48 x 40 pixels stands at x = (720 - 480) / 2 and
// y = (600 - 240) / 3 twips, both 8 pixels; the frames run round the whole button.
TEST_F(BoutonLooks, EachLookShowsItsPictureFrameAndCursor) {
  button->SetBackImage(Solid(32, 16, kPicFond));
  button->SetBackImageEnfoncee(Solid(32, 16, kPicEnf));
  button->SetBackImageDessus(Solid(32, 16, kPicDessus));
  button->UserControl_Show();
  QImage shot = Shot(*button);
  EXPECT_EQ(InkBox(shot, Rgb(kPicFond)), QRect(8, 8, 32, 16));
  EXPECT_EQ(OtherPixels(shot, Rgb(kPicFond)), 0) << "the normal look has no frame";

  Hover();
  shot = Shot(*button);
  EXPECT_EQ(InkBox(shot, Rgb(kPicDessus)), QRect(8, 8, 32, 16));
  EXPECT_EQ(InkBox(shot, Rgb(kSurvol)), QRect(0, 0, 48, 40));
  EXPECT_EQ(At(shot, 1, 0), kWhite) << "the hover frame is dotted";
  EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);

  Press();
  shot = Shot(*button);
  EXPECT_EQ(InkBox(shot, Rgb(kPicEnf)), QRect(8, 8, 32, 16));
  EXPECT_EQ(OtherPixels(shot, Rgb(kPicEnf)), 2 * 48 + 2 * 38) << "a solid frame, nothing else";
  EXPECT_EQ(InkBox(shot, Rgb(kEnfonce)), QRect(0, 0, 48, 40));

  Release();
  EXPECT_EQ(OtherPixels(Shot(*button), Rgb(kPicFond)), 0);
  EXPECT_FALSE(button->testAttribute(Qt::WA_SetCursor)) << "back to the default arrow";

  // Disabled: a grey cross over the normal picture, gone once enabled again.
  button->SetEnabled(false);
  shot = Shot(*button);
  EXPECT_FALSE(InkBox(shot, kGreyText).isEmpty());
  EXPECT_FALSE(InkBox(shot, Rgb(kPicFond)).isEmpty());
  button->SetEnabled(true);
  EXPECT_EQ(InkBox(Shot(*button), kGreyText), QRect());
}

// The caption takes each look's colour; one too wide with a blank goes one word a line.
TEST_F(BoutonLooks, CaptionFollowsTheLookAndWrapsAtItsBlank) {
  button->SetCaption(QStringLiteral("Clair"));
  EXPECT_FALSE(InkBox(Shot(*button), Rgb(kNormal)).isEmpty());
  Hover();
  EXPECT_EQ(OtherPixels(Shot(*button), Rgb(kSurvol)), 0);
  Press();
  EXPECT_EQ(OtherPixels(Shot(*button), Rgb(kEnfonce)), 0);
  Release();
  QTest::mouseMove(container.windowHandle(), QPoint(200, 120));

  button->setGeometry(10, 10, 48, 60);
  button->SetCaption(QStringLiteral("Trouver Contours"));
  const QFontMetrics metrics(container.font());
  ASSERT_GT(metrics.horizontalAdvance(button->Caption()), 48);
  const QRect ink = InkBox(Shot(*button), Rgb(kNormal));
  EXPECT_GT(ink.height(), metrics.height()) << "two lines";
  EXPECT_LE(ink.bottom(), 60 - 1);
}

}  // namespace
}  // namespace fotavel::testing
