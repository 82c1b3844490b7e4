// The combination dialog driven offscreen: the listed photos, the result size, the modes and OK's
// reading.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialogs/FrenchDialogTest.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/ScriptedUiServices.h"
#include "dialogs/frmCombination.h"

namespace fotavel::testing {
namespace {

// A click on the option's round mark: the options span the dialog's width, and a
// click far right of their caption selects nothing.
void Choose(QRadioButton* option) {
  QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

using CombinationDialog = FrenchDialogTest;

TEST_F(CombinationDialog, ListsThePhotosAndSizesTheResultByTheSmallerSides) {
  frmCombination dialog(ui);
  dialog.SetPhotos({{"paysage.jpg", 800, 600}, {"portrait.jpg", 640, 800}});
  EXPECT_EQ(dialog.cboSource(1)->itemText(1), "portrait.jpg");
  EXPECT_EQ(dialog.lblInfo()->text(), "Taille de la photo après opération: 640 x 600");
  EXPECT_EQ(std::tuple(dialog.NewImageHeight(), dialog.ImageSource(1), dialog.ImageSource(2)),
            std::tuple(600, 0, 1));

  dialog.cboSource(0)->setCurrentIndex(1);
  EXPECT_EQ(dialog.lblInfo()->text(), "Taille de la photo après opération: 640 x 800");
  EXPECT_EQ(dialog.ImageSource(1), 1);

  frmCombination alone(ui);
  alone.SetPhotos({{"seule.jpg", 320, 200}});
  EXPECT_EQ(std::pair(alone.ImageSource(1), alone.ImageSource(2)), std::pair(0, 0));
  EXPECT_EQ(alone.lblInfo()->text(), "Taille de la photo après opération: 320 x 200");
}

TEST_F(CombinationDialog, OnlyAddingEnablesTheOffsetsAndMultipliersWhichKeepTheirContents) {
  frmCombination dialog(ui);
  dialog.SetPhotos({{"a.jpg", 10, 10}});
  dialog.show();
  const QList<QWidget*> addGroup = {dialog.lblOffset(0),     dialog.txtOffset(0),
                                    dialog.lblOffset(1),     dialog.txtOffset(1),
                                    dialog.lblMultiplier(0), dialog.txtMultiplier(0),
                                    dialog.lblMultiplier(1), dialog.txtMultiplier(1)};
  dialog.txtOffset(1)->setText("12");
  for (int mode : {1, 2, 0}) {
    Choose(dialog.optCombine(mode));
    ASSERT_TRUE(dialog.optCombine(mode)->isChecked());
    for (QWidget* control : addGroup) {
      EXPECT_EQ(control->isEnabled(), mode == 0) << control->objectName().toStdString();
    }
    EXPECT_TRUE(dialog.cboSource(0)->isEnabled());
  }
  EXPECT_EQ(dialog.txtOffset(1)->text(), "12");
}

TEST_F(CombinationDialog, OkStopsAtTheFirstBoxThatDoesNotReadEvenWhenDisabled) {
  frmCombination dialog(ui);
  dialog.SetPhotos({{"a.jpg", 800, 600}, {"b.jpg", 640, 800}});
  WhenModal<frmCombination>([this](frmCombination* shown) {
    shown->txtOffset(0)->setText("abc");
    Choose(shown->optCombine(1));
    ui.Answer(MessageAnswer::Ok);
    QTest::mouseClick(shown->cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(shown->Cancelled());

    // The boxes before the failing one keep what was read from them.
    shown->txtOffset(0)->setText("5");
    shown->txtOffset(1)->setText("-3");
    shown->txtMultiplier(0)->setText("2,5");
    shown->txtMultiplier(1)->setText("");
    ui.Answer(MessageAnswer::Ok);
    QTest::mouseClick(shown->cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(std::tuple(shown->Offset(1), shown->Offset(2), shown->Multiplier(1)),
              std::tuple(5, -3, 2));

    shown->txtMultiplier(1)->setText("3,5");
    QTest::mouseClick(shown->cmdOK(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(ui.Messages()[1].text, "Erreur de valeur.");
  EXPECT_EQ(ui.Messages()[1].icon, MessageIcon::Information);
  EXPECT_EQ(std::tuple(dialog.Cancelled(), dialog.CombinationType(), dialog.Multiplier(2),
                       dialog.ImageSource(2), dialog.NewImageWidth()),
            std::tuple(false, 2, 4, 1, 640));
}

TEST_F(CombinationDialog, EscapeLeavesItCancelled) {
  frmCombination dialog(ui);
  dialog.SetPhotos({{"a.jpg", 10, 10}});
  WhenModal<frmCombination>([](frmCombination* shown) {
    Choose(shown->optCombine(2));
    QTest::keyClick(shown, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_TRUE(dialog.Cancelled());
}

}  // namespace
}  // namespace fotavel::testing
