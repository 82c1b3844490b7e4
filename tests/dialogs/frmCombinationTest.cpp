// The combination dialog driven offscreen: the listed photos, the result size, the modes and OK's
// reading.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialogs/FrenchDialogTest.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/frmCombination.h"

namespace fotavel::testing {
namespace {

// A click on the option's round mark: the options span the dialog's width, and a
// click far right of their caption selects nothing.
void Choose(QRadioButton* option) {
  QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

using CombinationDialog = FrenchDialogTest;

TEST_F(CombinationDialog, OkRefusesABoxThatDoesNotReadEvenWhenDisabled) {
  frmCombination dialog(ui);
  dialog.SetPhotos({{"a.jpg", 800, 600}, {"b.jpg", 640, 800}});
  WhenModal<frmCombination>([this](frmCombination* shown) {
    shown->txtOffset(0)->setText("abc");
    Choose(shown->optCombine(1));
    ui.Answer(MessageAnswer::Ok);
    QTest::mouseClick(shown->cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(shown->Cancelled());

    shown->txtOffset(0)->setText("-3");
    shown->txtMultiplier(0)->setText("2,5");
    shown->txtMultiplier(1)->setText("3,5");
    QTest::mouseClick(shown->cmdOK(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(std::pair(ui.Messages()[0].text, ui.Messages()[0].icon),
            std::pair(QStringLiteral("Erreur de valeur."), MessageIcon::Information));
  EXPECT_EQ(std::tuple(dialog.Cancelled(), dialog.CombinationType(), dialog.Offset(1),
                       dialog.Multiplier(1), dialog.Multiplier(2), dialog.ImageSource(2),
                       dialog.NewImageWidth()),
            std::tuple(false, 2, -3, 2, 4, 1, 640));
}

}  // namespace
}  // namespace fotavel::testing
