// Qt's message boxes and file dialogs as the service sets them up, shown offscreen and answered.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/ModalDriver.h"
#include "dialogs/QtUiServices.h"

namespace fotavel::testing {
namespace {

// Types `name` into the name box (selectFile may race the folder's loading) and accepts as
// the dialog's own button does: QFileDialog checks the name, and may ask, in its accept.
void TypeAndAccept(QFileDialog* dialog, const QString& name) {
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(edit, nullptr);
  edit->setText(name);
  static_cast<QDialog*>(dialog)->accept();
}

// A typed name comes back with the default extension and the entry shown.
TEST(QtFileDialog, TheTypedNameAndTheChosenEntryComeBack) {
  QTemporaryDir folder;
  FileDialogRequest request;
  request.filters = {{"Fichiers Bitmap (*.BMP)", "*.BMP"}, {"Fichiers Jpeg (*.JPG)", "*.JPG"}};
  request.filterIndex = 2;
  request.initialDir = folder.path();
  request.defaultExt = "JPG";
  WhenModal<QFileDialog>(
      [](QFileDialog* dialog) { TypeAndAccept(dialog, QStringLiteral("plage")); });
  const std::optional<FileChoice> choice = QtUiServices().SaveFile(request);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(std::pair(choice->path, choice->filterIndex),
            std::pair(folder.filePath("plage.JPG"), 2));
}

// A pressed button is the answer; Escape answers as the box's closing button: No, or Cancel when
// there is one.
TEST(QtMessageBox, ShowsTheTextAndIconAndReturnsThePressedButton) {
  const struct {
    MessageIcon icon;
    MessageButtons buttons;
    QMessageBox::Icon qtIcon;
    QMessageBox::StandardButton press;  // NoButton: Escape
    MessageAnswer answer;
  } cases[] = {
      {MessageIcon::Stop, MessageButtons::YesNo, QMessageBox::Critical, QMessageBox::NoButton,
       MessageAnswer::No},
      {MessageIcon::Question, MessageButtons::YesNoCancel, QMessageBox::Question, QMessageBox::Yes,
       MessageAnswer::Yes},
      {MessageIcon::Question, MessageButtons::YesNoCancel, QMessageBox::Question,
       QMessageBox::NoButton, MessageAnswer::Cancel},
  };
  for (const auto& c : cases) {
    bool seen = false;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      seen = true;
      EXPECT_EQ(box->windowTitle(), "Fotavel");
      EXPECT_EQ(box->icon(), c.qtIcon);
      EXPECT_EQ(box->text(), "La photo 'a<b>' a changé.\n\nVoulez vous la sauvegarder ?");
      if (c.press == QMessageBox::NoButton) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        QTest::mouseClick(box->button(c.press), Qt::LeftButton);
      }
    });
    EXPECT_EQ(
        QtUiServices().Message("La photo 'a<b>' a changé.\r\n\r\nVoulez vous la sauvegarder ?",
                               c.icon, c.buttons),
        c.answer);
    EXPECT_TRUE(seen);
  }
}

}  // namespace
}  // namespace fotavel::testing
