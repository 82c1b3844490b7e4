// Qt's message boxes and file dialogs as the service sets them up, shown offscreen and answered.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/ModalDriver.h"
#include "dialogs/QtPrinters.h"
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

FileDialogRequest PhotoSaveRequest() {
  return {.title = "Enregistrer la photo",
          .filters = {{"Fichiers Bitmap (*.BMP)", "*.BMP"},
                      {"Fichiers Jpeg (*.JPG)", "*.JPG"},
                      {"Tous les fichiers (*.*)", "*.*"}},
          .filterIndex = 2,
          .initialDir = {},
          .defaultName = "vacances",
          .defaultExt = "JPG",
          .overwritePrompt = true};
}

FileDialogRequest LogoOpenRequest() {
  return {.title = "Sélectionnez votre logo",
          .filters = {{"Fichiers images (*.JPG;*.PNG;*.GIF;*.BMP)", "*.JPG;*.PNG;*.GIF;*.BMP"},
                      {"Fichiers Jpeg (*.JPG)", "*.JPG"},
                      {"Fichiers Bitmap (*.BMP)", "*.BMP"}},
          .initialDir = {},
          .defaultName = {},
          .defaultExt = "BMP",
          .mustExist = true};
}

TEST(QtFileDialog, DialogsAreSetUpAsAsked) {
  QTemporaryDir folder;
  FileDialogRequest request = PhotoSaveRequest();
  request.initialDir = folder.path();
  auto dialog = QtUiServices::MakeFileDialog(FileDialogKind::Save, request, nullptr);
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  EXPECT_EQ(dialog->windowTitle(), "Enregistrer la photo");
  EXPECT_EQ(dialog->nameFilters(),
            (QStringList{"Fichiers Bitmap (*.BMP) (*.BMP)", "Fichiers Jpeg (*.JPG) (*.JPG)",
                         "Tous les fichiers (*.*) (*)"}));
  // The entry shown first, under its own description.
  EXPECT_EQ(dialog->selectedNameFilter(), "Fichiers Jpeg (*.JPG)");
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  // The prefilled name in the given folder, as it would come back if confirmed at once.
  EXPECT_EQ(dialog->selectedFiles(), QStringList{folder.filePath("vacances.JPG")});

  request.overwritePrompt = false;
  EXPECT_TRUE(QtUiServices::MakeFileDialog(FileDialogKind::Save, request, nullptr)
                  ->testOption(QFileDialog::DontConfirmOverwrite));

  request = LogoOpenRequest();
  dialog = QtUiServices::MakeFileDialog(FileDialogKind::Open, request, nullptr);
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
  // A description carrying its own list of wildcards is shown as written.
  EXPECT_EQ(dialog->nameFilters().first(),
            "Fichiers images (*.JPG;*.PNG;*.GIF;*.BMP) (*.JPG *.PNG *.GIF *.BMP)");
  request.mustExist = false;
  request.filterIndex = 9;  // no such entry: the first is shown
  dialog = QtUiServices::MakeFileDialog(FileDialogKind::Open, request, nullptr);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
  EXPECT_EQ(dialog->selectedNameFilter(), "Fichiers images (*.JPG;*.PNG;*.GIF;*.BMP)");
  request.multiSelect = true;
  EXPECT_EQ(QtUiServices::MakeFileDialog(FileDialogKind::Open, request, nullptr)->fileMode(),
            QFileDialog::ExistingFiles);
}

TEST(QtFileDialog, ATypedNameComesBackWithTheDefaultExtension) {
  QTemporaryDir folder;
  FileDialogRequest request = PhotoSaveRequest();
  request.initialDir = folder.path();
  WhenModal<QFileDialog>(
      [](QFileDialog* dialog) { TypeAndAccept(dialog, QStringLiteral("plage")); });
  const std::optional<FileChoice> choice = QtUiServices().SaveFile(request);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->path, folder.filePath("plage.JPG"));
  EXPECT_EQ(choice->filterIndex, 2);
}

TEST(QtFileDialog, TheChosenEntryAndAnExistingFileComeBack) {
  QTemporaryDir folder;
  const QString logo = folder.filePath("logo.bmp");
  QFile(logo).open(QIODevice::WriteOnly);
  FileDialogRequest request = LogoOpenRequest();
  request.initialDir = folder.path();
  WhenModal<QFileDialog>([](QFileDialog* dialog) {
    dialog->selectNameFilter(dialog->nameFilters().at(2));
    TypeAndAccept(dialog, QStringLiteral("logo.bmp"));
  });
  const std::optional<FileChoice> choice = QtUiServices().OpenFile(request);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->path, logo);
  EXPECT_EQ(choice->filterIndex, 3);
}

struct BoxCase {
  MessageIcon icon;
  MessageButtons buttons;
  QMessageBox::Icon qtIcon;
  QMessageBox::StandardButtons qtButtons;
  QMessageBox::StandardButton press;  // NoButton: Escape
  MessageAnswer answer;
};

class QtMessageBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtMessageBox, ShowsTitleIconAndButtonsAndReturnsThePressedOne) {
  const BoxCase c = GetParam();
  bool seen = false;
  WhenModal<QMessageBox>([&](QMessageBox* box) {
    seen = true;
    EXPECT_EQ(box->windowTitle(), "Fotavel");
    EXPECT_EQ(box->icon(), c.qtIcon);
    EXPECT_EQ(box->standardButtons(), c.qtButtons);
    EXPECT_EQ(box->text(), "La photo 'a<b>' a changé.\n\nVoulez vous la sauvegarder ?");
    if (c.press == QMessageBox::NoButton) {
      QTest::keyClick(box, Qt::Key_Escape);
    } else {
      QTest::mouseClick(box->button(c.press), Qt::LeftButton);
    }
  });
  EXPECT_EQ(QtUiServices().Message("La photo 'a<b>' a changé.\r\n\r\nVoulez vous la sauvegarder ?",
                                   c.icon, c.buttons),
            c.answer);
  EXPECT_TRUE(seen);
}

// Escape answers as the box's closing button: OK, No, or Cancel when there is one.
INSTANTIATE_TEST_SUITE_P(
    Boxes, QtMessageBox,
    ::testing::Values(
        BoxCase{MessageIcon::Information, MessageButtons::Ok, QMessageBox::Information,
                QMessageBox::Ok, QMessageBox::Ok, MessageAnswer::Ok},
        BoxCase{MessageIcon::Exclamation, MessageButtons::Ok, QMessageBox::Warning, QMessageBox::Ok,
                QMessageBox::NoButton, MessageAnswer::Ok},
        BoxCase{MessageIcon::Stop, MessageButtons::YesNo, QMessageBox::Critical,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton, MessageAnswer::No},
        BoxCase{MessageIcon::Question, MessageButtons::YesNoCancel, QMessageBox::Question,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No,
                MessageAnswer::No},
        BoxCase{MessageIcon::Question, MessageButtons::YesNoCancel, QMessageBox::Question,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton,
                MessageAnswer::Cancel}));

}  // namespace
}  // namespace fotavel::testing
