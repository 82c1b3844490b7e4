// The file-dialog wrapper driven through the scripted service.
#include <gtest/gtest.h>

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

QString Nul() { return QString(QChar(u'\0')); }

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

// A typed name gets the default extension; another extension is kept and flagged. The filter
// comes back as the chosen entry alone.
TEST(CommonDialogSave, TheChosenNameEntryAndFlagsComeBack) {
  const auto kFlags = GCommonDialog::kOverwritePrompt | GCommonDialog::kHideReadOnly;
  const struct {
    const char *typed, *name, *title;
    int chosen, index;
    QString entry;
    std::int32_t flags;
  } cases[] = {
      {"/photos/ete/plage", "/photos/ete/plage.JPG", "plage.JPG", 0, 2,
       "Fichiers Jpeg (*.JPG)" + Nul() + "*.JPG", kFlags},
      {"/photos/plage.bmp", "/photos/plage.bmp", "plage.bmp", 1, 1,
       "Fichiers Bitmap (*.BMP)" + Nul() + "*.BMP", kFlags | GCommonDialog::kExtensionDifferent},
  };
  for (const auto& c : cases) {
    ScriptedUiServices ui;
    ui.ChooseName(c.typed, c.chosen);
    SaveCall call;
    ASSERT_TRUE(call.Run(ui));
    EXPECT_EQ(std::tuple(call.filename, call.FileTitle, call.FilterIndex, call.Filter, call.FLAGS),
              std::tuple(QString(c.name), QString(c.title), c.index, c.entry, c.flags));
    ASSERT_EQ(ui.FileDialogs().size(), 1u);
    EXPECT_TRUE(ui.FileDialogs().front().request.overwritePrompt);
  }
}

class FailingUi : public UiServices {
 public:
  MessageAnswer Message(const QString&, MessageIcon, MessageButtons, QWidget*,
                        const QString&) override {
    return MessageAnswer::Cancel;
  }
  std::optional<FileChoice> ChooseFile(FileDialogKind, const FileDialogRequest&,
                                       QWidget*) override {
    throw std::runtime_error("no display");
  }
};

// Cancelled, or a dialog that cannot be shown: texts and flags emptied, the index kept.
TEST(CommonDialogSave, CancelEmptiesTheTextsAndFlagsButKeepsTheIndex) {
  ScriptedUiServices scripted;
  scripted.CancelDialog();
  FailingUi failing;
  for (UiServices* ui : {static_cast<UiServices*>(&scripted), static_cast<UiServices*>(&failing)}) {
    SaveCall call;
    call.FLAGS = 0x8;
    EXPECT_FALSE(call.Run(*ui));
    EXPECT_EQ(std::tuple(call.filename, call.FileTitle, call.Filter, call.FLAGS, call.FilterIndex),
              std::tuple(QString(), QString(), QString(), 0, 2));
  }
  EXPECT_TRUE(scripted.Unexpected().isEmpty());
}

TEST(CommonDialogOpen, TheChosenFileAndEntryComeBack) {
  QTemporaryDir folder;
  const QString logo = folder.filePath("logo.bmp");
  ASSERT_TRUE(QFile(logo).open(QIODevice::WriteOnly));
  ScriptedUiServices ui;
  ui.ChooseName(logo, 3);
  QString filename, title;
  QString filter = QStringLiteral("Fichiers images|*.JPG;*.BMP|Fichiers Jpeg|*.JPG|Bitmap|*.BMP");
  bool readOnly = false;
  std::int32_t index = 1, flags = 0;
  ASSERT_TRUE(GCommonDialog(ui).VBGetOpenFileName(filename, title, true, false, readOnly, false,
                                                  filter, index, {}, QStringLiteral("Logo"),
                                                  QStringLiteral("BMP"), nullptr, flags));
  EXPECT_EQ(std::tuple(filename, title, index, filter, flags),
            std::tuple(logo, QStringLiteral("logo.bmp"), 3, "Bitmap" + Nul() + "*.BMP",
                       GCommonDialog::kFileMustExist));
  EXPECT_EQ(ui.FileDialogs().front().kind, FileDialogKind::Open);
}

// Every test's message boxes and file dialogs are played from this script: what it did not
// foresee must show, or a test would pass over a box it never expected.
TEST(ScriptedUi, PlaysAnswersInOrderAndRecordsWhatItDidNotForesee) {
  ScriptedUiServices ui;
  ui.Answer(MessageAnswer::No).ChooseName("/tmp/a");
  EXPECT_EQ(ui.Message("question", MessageIcon::Question, MessageButtons::YesNoCancel),
            MessageAnswer::No);
  EXPECT_TRUE(ui.SaveFile({}).has_value());
  EXPECT_TRUE(ui.Unexpected().isEmpty() && ui.AllUsed());

  // Unforeseen: a box closed (Cancel, or No without it), a dialog cancelled.
  EXPECT_EQ(ui.Message("a", MessageIcon::Question, MessageButtons::YesNoCancel),
            MessageAnswer::Cancel);
  EXPECT_FALSE(ui.OpenFile({}).has_value());
  ui.ChooseName("/tmp/b");
  EXPECT_EQ(ui.Message("b", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
  EXPECT_EQ(ui.Unexpected().size(), 3);
  EXPECT_FALSE(ui.AllUsed());
}

}  // namespace
}  // namespace fotavel::testing
