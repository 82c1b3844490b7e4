// The file-dialog wrapper driven through the scripted service.
#include <gtest/gtest.h>

#include "dialogs/GCommonDialog.h"
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

}  // namespace
}  // namespace fotavel::testing
