// The resize dialog driven offscreen: proportions, percentages, typed numbers and the checks at OK.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdint>
#include <optional>

#include "dialogs/FrenchDialogTest.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/NumberText.h"
#include "dialogs/ScriptedUiServices.h"
#include "dialogs/frmNewSize.h"

namespace fotavel::testing {
namespace {

// Replaces a box's text key by key, as the user would: every key is a change.
void Type(QLineEdit* box, const QString& text) {
  box->clear();
  QTest::keyClicks(box, text);
}

using NewSizeDialog = FrenchDialogTest;

TEST_F(NewSizeDialog, ProportionsFollowEitherBoxWithoutWrapping) {
  frmNewSize dialog(ui);
  dialog.SetSize(800, 600);
  dialog.show();
  EXPECT_EQ(dialog.lblOrigWidth()->text(), "800");
  EXPECT_EQ(dialog.txtHeight()->text(), "600");

  Type(dialog.txtWidth(), "400");
  EXPECT_EQ(dialog.txtHeight()->text(), "300");
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
  dialog.chkKeepProportion()->click();
  EXPECT_EQ(dialog.txtHeight()->text(), "1500000000");
  Type(dialog.txtWidth(), "40");
  EXPECT_EQ(dialog.txtHeight()->text(), "30");

  // 3 x 1e9 fits no 32-bit box: the height is left as it was.
  frmNewSize tall(ui);
  tall.SetSize(1, 3);
  tall.txtWidth()->setText("1000000000");
  EXPECT_EQ(tall.txtHeight()->text(), "3");
}

TEST_F(NewSizeDialog, PercentagesGoThroughWidthThenHeight) {
  struct Case {
    std::int32_t w, h;
    bool keep;
    const char* width;
    const char* height;
  };
  const Case cases[] = {
      {1023, 767, true, "512", "384"}, {1000, 3, true, "666", "2"}, {1000, 3, false, "500", "2"}};
  for (const Case& c : cases) {
    frmNewSize dialog(ui);
    dialog.SetSize(c.w, c.h);
    dialog.show();
    dialog.chkKeepProportion()->setChecked(c.keep);
    dialog.EnPourc()->click();
    EXPECT_FALSE(dialog.chkKeepProportion()->isEnabled());

    Type(dialog.txtPercent(), "50");
    SCOPED_TRACE(::testing::Message() << c.w << 'x' << c.h << ' ' << c.keep);
    const auto boxes = [&] {
      return QStringList({dialog.txtWidth()->text(), dialog.txtHeight()->text()});
    };
    EXPECT_EQ(boxes(), QStringList({c.width, c.height}));
    Type(dialog.txtPercent(), "100");
    EXPECT_EQ(boxes(), QStringList({QString::number(c.w), QString::number(c.h)}));

    Type(dialog.txtPercent(), "50");
    dialog.EnPix()->click();
    EXPECT_TRUE(dialog.txtWidth()->isEnabled());
    EXPECT_FALSE(dialog.txtPercent()->isEnabled());
    EXPECT_EQ(dialog.txtWidth()->text(), c.width);
    dialog.cmdOK()->click();
    EXPECT_FALSE(dialog.Cancelled());
    EXPECT_EQ(QStringLiteral("%1 %2").arg(dialog.ImageWidth()).arg(dialog.ImageHeight()),
              QStringLiteral("%1 %2").arg(c.width, c.height));
  }
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
      EXPECT_TRUE(shown->Cancelled());
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

TEST_F(NewSizeDialog, AnnulerAfterChangesLeavesItCancelled) {
  frmNewSize dialog(ui);
  dialog.SetSize(800, 600);
  WhenModal<frmNewSize>([](frmNewSize* shown) {
    Type(shown->txtWidth(), "400");
    shown->EnPourc()->click();
    Type(shown->txtPercent(), "50");
    QTest::mouseClick(shown->cmdCancel(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_TRUE(dialog.Cancelled());
}

}  // namespace
}  // namespace fotavel::testing
