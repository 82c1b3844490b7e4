// The resize dialog driven offscreen: proportions, percentages, typed numbers and the checks at OK.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdint>
#include <optional>

#include "dialogs/FrenchDialogTest.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/NumberText.h"
#include "dialogs/frmNewSize.h"

namespace fotavel::testing {
namespace {

// Replaces a box's text key by key, as the user would: every key is a change.
void Type(QLineEdit* box, const QString& text) {
  box->clear();
  QTest::keyClicks(box, text);
}

using NewSizeDialog = FrenchDialogTest;

// Half of 1000 x 3 in proportion: the width is halved (500), then the height (1.5 → 2), and the
// width follows the height last (666). Typed sizes then follow either box without wrapping.
TEST_F(NewSizeDialog, PercentagesAndProportionsFollowEitherBoxWithoutWrapping) {
  frmNewSize dialog(ui);
  dialog.SetSize(1000, 3);
  dialog.show();
  dialog.EnPourc()->click();
  Type(dialog.txtPercent(), "50");
  dialog.EnPix()->click();
  EXPECT_EQ(std::pair(dialog.txtWidth()->text(), dialog.txtHeight()->text()),
            std::pair(QStringLiteral("666"), QStringLiteral("2")));

  dialog.SetSize(800, 600);
  Type(dialog.txtWidth(), "401");  // 300.75, truncated
  EXPECT_EQ(dialog.txtHeight()->text(), "300");
  Type(dialog.txtHeight(), "150");
  EXPECT_EQ(dialog.txtWidth()->text(), "200");
  Type(dialog.txtWidth(), "abc");
  EXPECT_EQ(dialog.txtHeight()->text(), "150");
  // 600 x 2e9 exceeds 32 bits; the quotient does not.
  dialog.txtWidth()->setText("2000000000");
  EXPECT_EQ(dialog.txtHeight()->text(), "1500000000");
  dialog.chkKeepProportion()->click();
  Type(dialog.txtWidth(), "80");
  EXPECT_EQ(dialog.txtHeight()->text(), "1500000000");
}

// The edges the dialogs' boxes meet; "2,5" and "3,5" go through the dialog below.
TEST_F(NewSizeDialog, ReadsNumbersInTheUsersNotationRoundingHalvesToEven) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {" -3,5 ", -4},
      {"0,500001", 1},
      {"-2147483648,5", INT32_MIN},
      {"2147483647,5", std::nullopt},
      {"2.5", std::nullopt},
      {"1 000", std::nullopt},
      {"", std::nullopt}};
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ReadWholeNumber(QString::fromUtf8(text)), expected) << text;
  }
}

TEST_F(NewSizeDialog, OkRefusesWhatNoPhotoCanTakeAndStaysOpen) {
  const QString notWhole = QStringLiteral(
      "La largeur et la hauteur doivent être des nombres entiers d'au moins 1 pixel.");
  const std::pair<const char*, QString> refused[] = {
      {"abc", notWhole},
      {"0", notWhole},
      {"800000000",
       QStringLiteral("Cette taille est trop grande pour une photo : 800000000 x 600 pixels.")}};
  frmNewSize dialog(ui);
  dialog.SetSize(800, 600);
  WhenModal<frmNewSize>([&](frmNewSize* shown) {
    shown->chkKeepProportion()->click();
    for (const auto& [width, message] : refused) {
      ui.Answer(MessageAnswer::Ok);
      Type(shown->txtWidth(), width);
      QTest::mouseClick(shown->cmdOK(), Qt::LeftButton);
      EXPECT_TRUE(shown->isVisible()) << width;
      ASSERT_FALSE(ui.Messages().empty());
      EXPECT_EQ(std::pair(ui.Messages().back().text, ui.Messages().back().icon),
                std::pair(message, MessageIcon::Exclamation));
    }
    Type(shown->txtWidth(), "2,5");
    Type(shown->txtHeight(), "3,5");
    QTest::keyClick(shown->txtHeight(), Qt::Key_Return);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(ui.Messages().size(), 3u);
  EXPECT_EQ(std::tuple(dialog.Cancelled(), dialog.ImageWidth(), dialog.ImageHeight()),
            std::tuple(false, 2, 4));
}

}  // namespace
}  // namespace fotavel::testing
