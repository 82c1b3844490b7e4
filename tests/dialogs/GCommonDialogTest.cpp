// The file-dialog wrapper driven through the scripted service: filter text, choices, cancel, flags.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "dialogs/GCommonDialog.h"
#include "dialogs/QtPrinters.h"
#include "dialogs/ScriptedUiServices.h"

namespace fotavel::testing {
namespace {

const QString kPhotoFilter = QStringLiteral(
    "Fichiers Bitmap (*.BMP)|*.BMP|Fichiers Jpeg (*.JPG)|*.JPG|Tous les fichiers (*.*)|*.*");
const QString kLogoFilter = QStringLiteral(
    "Fichiers images (*.JPG;*.PNG;*.GIF;*.BMP)|*.JPG;*.PNG;*.GIF;*.BMP|Fichiers Jpeg "
    "(*.JPG)|*.JPG|Fichiers Bitmap (*.BMP)|*.BMP|Fichiers PNG (*.PNG)|*.PNG|Fichiers GIF "
    "(*.GIF)|*.GIF");

QString Nul() { return QString(QChar(u'\0')); }

TEST(CommonDialogFilter, EverySeparatorBecomesNulAndTwoNulsEndTheList) {
  const QString n = Nul();
  EXPECT_EQ(GCommonDialog::NulSeparatedFilter(kPhotoFilter),
            "Fichiers Bitmap (*.BMP)" + n + "*.BMP" + n + "Fichiers Jpeg (*.JPG)" + n + "*.JPG" +
                n + "Tous les fichiers (*.*)" + n + "*.*" + n + n);
  EXPECT_EQ(GCommonDialog::FilterEntries(kPhotoFilter),
            (QList<FileFilter>{{"Fichiers Bitmap (*.BMP)", "*.BMP"},
                               {"Fichiers Jpeg (*.JPG)", "*.JPG"},
                               {"Tous les fichiers (*.*)", "*.*"}}));
}

TEST(CommonDialogFilter, AColonInADescriptionSplitsIt) {
  // The colon shifts every later element: the pattern "*.jpg" becomes a
  // description and the last pattern is left without a partner.
  EXPECT_EQ(GCommonDialog::FilterEntries("Tout|*.*|Photos: JPEG|*.jpg|Bitmap|*.bmp"),
            (QList<FileFilter>{{"Tout", "*.*"}, {"Photos", " JPEG"}, {"*.jpg", "Bitmap"}}));
}

TEST(CommonDialogFilter, TheListEndsAtItsFirstEmptyElement) {
  EXPECT_EQ(GCommonDialog::FilterEntries("A|*.a||*.b|C|*.c"), (QList<FileFilter>{{"A", "*.a"}}));
  EXPECT_EQ(GCommonDialog::FilterEntries("A|*.a|"), (QList<FileFilter>{{"A", "*.a"}}));
  EXPECT_TRUE(GCommonDialog::FilterEntries("").isEmpty());
}

TEST(CommonDialogFilter, ChosenEntryIsDescriptionNulPattern) {
  const QList<FileFilter> entries = GCommonDialog::FilterEntries(kLogoFilter);
  ASSERT_EQ(entries.size(), 5);
  EXPECT_EQ(GCommonDialog::ChosenEntry(entries, 3), "Fichiers Bitmap (*.BMP)" + Nul() + "*.BMP");
  EXPECT_EQ(GCommonDialog::ChosenEntry(entries, 0), QString());
  EXPECT_EQ(GCommonDialog::ChosenEntry(entries, 6), QString());
}

// The document's "save under a name".
struct SaveCall {
  QString filename = QStringLiteral("vacances");
  QString FileTitle;
  QString Filter = kPhotoFilter;
  std::int32_t FilterIndex = 2;
  std::int32_t FLAGS = 0;

  bool Run(UiServices& ui) {
    return GCommonDialog(ui).VBGetSaveFileName(filename, FileTitle, true, Filter, FilterIndex, {},
                                               QStringLiteral("Enregistrer la photo"),
                                               QStringLiteral("JPG"), nullptr, FLAGS);
  }
};

TEST(CommonDialogSave, ATypedNameGetsTheDefaultExtensionAndTheChosenEntry) {
  ScriptedUiServices ui;
  ui.ChooseName("/photos/ete/plage");
  SaveCall call;
  ASSERT_TRUE(call.Run(ui));

  EXPECT_EQ(call.filename, "/photos/ete/plage.JPG");
  EXPECT_EQ(call.FileTitle, "plage.JPG");
  EXPECT_EQ(call.FilterIndex, 2);
  EXPECT_EQ(call.Filter, "Fichiers Jpeg (*.JPG)" + Nul() + "*.JPG");
  EXPECT_EQ(call.FLAGS, GCommonDialog::kOverwritePrompt | GCommonDialog::kHideReadOnly);

  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  const RecordedFileDialog& shown = ui.FileDialogs().front();
  EXPECT_EQ(shown.kind, FileDialogKind::Save);
  EXPECT_EQ(shown.request.title, "Enregistrer la photo");
  EXPECT_EQ(shown.request.filters.size(), 3);
  EXPECT_EQ(shown.request.filterIndex, 2);
  EXPECT_EQ(shown.request.defaultName, "vacances");
  EXPECT_EQ(shown.request.defaultExt, "JPG");
  EXPECT_TRUE(shown.request.initialDir.isEmpty());
  EXPECT_TRUE(shown.request.overwritePrompt);
  EXPECT_FALSE(shown.request.mustExist);
  EXPECT_TRUE(ui.Unexpected().isEmpty());
  EXPECT_TRUE(ui.AllUsed());
}

TEST(CommonDialogSave, ADifferentExtensionIsKeptAndFlagged) {
  ScriptedUiServices ui;
  ui.ChooseName("/photos/plage.bmp", 1);
  SaveCall call;
  ASSERT_TRUE(call.Run(ui));
  EXPECT_EQ(call.filename, "/photos/plage.bmp");
  EXPECT_EQ(call.FilterIndex, 1);
  EXPECT_EQ(call.Filter, "Fichiers Bitmap (*.BMP)" + Nul() + "*.BMP");
  EXPECT_EQ(call.FLAGS, GCommonDialog::kOverwritePrompt | GCommonDialog::kHideReadOnly |
                            GCommonDialog::kExtensionDifferent);
}

TEST(CommonDialogSave, CancelEmptiesTheTextsAndFlagsButKeepsTheIndex) {
  ScriptedUiServices ui;
  ui.CancelDialog();
  SaveCall call;
  call.FLAGS = 0x8;
  EXPECT_FALSE(call.Run(ui));
  EXPECT_EQ(call.filename, QString());
  EXPECT_EQ(call.FileTitle, QString());
  EXPECT_EQ(call.Filter, QString());
  EXPECT_EQ(call.FLAGS, 0);
  EXPECT_EQ(call.FilterIndex, 2);
  EXPECT_TRUE(ui.Unexpected().isEmpty());
}

class FailingUi : public UiServices {
 public:
  MessageAnswer Message(const QString&, MessageIcon, MessageButtons, QWidget*) override {
    return MessageAnswer::Cancel;
  }
  std::optional<FileChoice> ChooseFile(FileDialogKind, const FileDialogRequest&,
                                       QWidget*) override {
    throw std::runtime_error("no display");
  }
};

TEST(CommonDialogSave, ADialogThatCannotBeShownIsACancelledOne) {
  FailingUi ui;
  SaveCall call;
  EXPECT_FALSE(call.Run(ui));
  EXPECT_EQ(call.filename, QString());
  EXPECT_EQ(call.Filter, QString());
  EXPECT_EQ(call.FLAGS, 0);
}

// The logo settings' "Ouvrir...".
class CommonDialogOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    logo = folder.filePath("logo.bmp");
    QFile file(logo);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  bool Run(UiServices& ui, bool mustExist = true) {
    return GCommonDialog(ui).VBGetOpenFileName(
        filename, FileTitle, mustExist, false, ReadOnly, false, Filter, FilterIndex, {},
        QStringLiteral("Sélectionnez votre logo"), QStringLiteral("BMP"), nullptr, FLAGS);
  }

  QTemporaryDir folder;
  QString logo;
  QString filename;
  QString FileTitle;
  bool ReadOnly = false;
  QString Filter = kLogoFilter;
  std::int32_t FilterIndex = 1;
  std::int32_t FLAGS = 0;
};

TEST_F(CommonDialogOpen, TheThirdOfFiveEntriesComesBackAsIndexAndText) {
  ScriptedUiServices ui;
  ui.ChooseName(logo, 3);
  ASSERT_TRUE(Run(ui));
  EXPECT_EQ(filename, logo);
  EXPECT_EQ(FileTitle, "logo.bmp");
  EXPECT_EQ(FilterIndex, 3);
  EXPECT_EQ(Filter, "Fichiers Bitmap (*.BMP)" + Nul() + "*.BMP");
  EXPECT_EQ(FLAGS, GCommonDialog::kFileMustExist);
  EXPECT_FALSE(ReadOnly);
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs().front().kind, FileDialogKind::Open);
  EXPECT_TRUE(ui.FileDialogs().front().request.mustExist);
  EXPECT_EQ(ui.FileDialogs().front().request.filters.size(), 5);
  EXPECT_TRUE(ui.Unexpected().isEmpty());
}

TEST_F(CommonDialogOpen, CallerFlagsAskLikeArgumentsAndNeverInstallAHook) {
  ScriptedUiServices ui;
  ui.ChooseName(logo);
  ReadOnly = true;
  FLAGS =
      GCommonDialog::kFileMustExist | GCommonDialog::kEnableHook | GCommonDialog::kEnableTemplate;
  ASSERT_TRUE(Run(ui, /*mustExist=*/false));
  EXPECT_TRUE(ui.FileDialogs().front().request.mustExist);
  EXPECT_EQ(FLAGS, GCommonDialog::kFileMustExist | GCommonDialog::kReadOnly);
  EXPECT_TRUE(ReadOnly);
}

TEST(ScriptedUi, RecordsMessagesAndPlaysAnswersInOrder) {
  ScriptedUiServices ui;
  ui.Answer(MessageAnswer::No).ChooseName("/tmp/a").Answer(MessageAnswer::Ok);
  EXPECT_EQ(ui.Message("question", MessageIcon::Question, MessageButtons::YesNoCancel),
            MessageAnswer::No);
  EXPECT_TRUE(ui.SaveFile({}).has_value());
  EXPECT_EQ(ui.Message("fait", MessageIcon::Information, MessageButtons::Ok), MessageAnswer::Ok);
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(ui.Messages()[0].text, "question");
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Question);
  EXPECT_EQ(ui.Messages()[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_TRUE(ui.Unexpected().isEmpty());
  EXPECT_TRUE(ui.AllUsed());
}

TEST(ScriptedUi, WhatTheScriptDidNotForeseeIsRecordedAndClosesTheBox) {
  ScriptedUiServices ui;
  EXPECT_EQ(ui.Message("a", MessageIcon::Question, MessageButtons::YesNoCancel),
            MessageAnswer::Cancel);
  EXPECT_FALSE(ui.OpenFile({}).has_value());
  ui.ChooseName("/tmp/b");
  EXPECT_EQ(ui.Message("b", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
  ui.CancelDialog();  // the name above is still waiting for its dialog
  ui.Answer(MessageAnswer::Yes);
  EXPECT_TRUE(ui.SaveFile({}).has_value());
  EXPECT_FALSE(ui.SaveFile({}).has_value());
  EXPECT_EQ(ui.Message("c", MessageIcon::Stop, MessageButtons::Ok), MessageAnswer::Ok);
  EXPECT_EQ(ui.Unexpected().size(), 4);
  EXPECT_FALSE(ui.AllUsed());
}

TEST(ScriptedUi, AMissingFileCannotBeChosenWhereOneMustExist) {
  QTemporaryDir folder;
  ScriptedUiServices ui;
  ui.ChooseName(folder.filePath("absent.bmp"));
  FileDialogRequest request;
  request.mustExist = true;
  EXPECT_FALSE(ui.OpenFile(request).has_value());
  EXPECT_EQ(ui.Unexpected().size(), 1);
}

}  // namespace
}  // namespace fotavel::testing
