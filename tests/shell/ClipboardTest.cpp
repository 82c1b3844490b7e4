// The clipboard both ways: the "Edition" menu's copy and paste, and the poster editor's hand-off,
// started with "EditeurAff" over a clipboard picture and handing the photo back on "Importer".
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>

#include "document/Messages.h"
#include "shell/BarreExplorer.h"
#include "shell/ShellFixture.h"
#include "shell/SurfaceClipboard.h"
#include "shell/WindowCommands.h"
#include "support/ScopedEnv.h"

namespace fotavel::testing {
namespace {

class Clipboard : public ShellTest {
 protected:
  void SetUp() override { ASSERT_TRUE(temp.isValid()); }
  // The main window as the poster editor starts it over `picture` on the clipboard, once its
  // first activation has run.
  void StartEditor(const QImage& picture) {
    QGuiApplication::clipboard()->setImage(picture);
    window = std::make_unique<mfrmMain>(ui, folder.path(), true);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QCoreApplication::processEvents();
  }
  static QImage OnClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasImage() ? qvariant_cast<QImage>(data->imageData())
                                               : QImage();
  }

  // Pasted pictures go through temporary files, where the test can see every one of them.
  QTemporaryDir temp;
  ScopedEnv tmpdir{"TMPDIR", temp.path().toLocal8Bit()};
};

// The picture is taken off the clipboard as a new photo; text is no picture to paste; a copy
// pasted is another new photo of the same pixels; "Importer" puts the active photo back without
// asking, while the other changed photo is asked about as the window closes.
TEST_F(Clipboard, ThePosterEditorsPictureOpensCopiesPastesAndGoesBackChanged) {
  const QImage given = Upright(Pattern(37, 23));
  StartEditor(given);
  ASSERT_EQ(Windows(), 1);
  frmImage* first = window->ActiveDocument();
  EXPECT_EQ(Caption(first), QStringLiteral("Photo: Nouvelle photo 1"));
  EXPECT_EQ(Upright(first->Document().Picture()), given);
  EXPECT_TRUE(OnClipboard().isNull());
  EXPECT_FALSE(window->Explorer()->isVisible());
  ExpectWholePhotoShown(first);
  // The two ways back stand where the explorer and quit buttons stood, whose commands are gone
  // from the menu too.
  EXPECT_FALSE(window->Button(commands::kExplorer)->isVisible());
  EXPECT_FALSE(window->Action(commands::kQuitter)->isVisible());
  EXPECT_EQ(window->Button(commands::kRetourEditeur)->pos(), QPoint(8, 2));
  EXPECT_TRUE(window->Action(commands::kImporterEditeur)->isVisible());

  QGuiApplication::clipboard()->setText(QStringLiteral("du texte"));
  ui.Answer(MessageAnswer::Ok);
  Trigger(commands::kColler);
  ExpectMessage(0,
                QStringLiteral("Erreur lors de l'opération 'Coller': le presse-papiers ne contient "
                               "pas d'image"),
                MessageIcon::Exclamation);
  EXPECT_EQ(Windows(), 1);

  Click(commands::kClair);
  const QImage changed = Upright(first->Document().Picture());
  ASSERT_NE(changed, given);
  Trigger(commands::kCopier);
  Trigger(commands::kColler);
  frmImage* second = window->ActiveDocument();
  ASSERT_NE(second, first);
  EXPECT_EQ(Caption(second), QStringLiteral("Photo: Nouvelle photo 2"));
  EXPECT_EQ(Upright(second->Document().Picture()), changed);

  ui.Answer(MessageAnswer::No);
  Click(commands::kImporterEditeur);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(MessageCount(), 2);
  EXPECT_EQ(OnClipboard().convertToFormat(QImage::Format_RGB32), changed);
  const QStringList left = QDir(temp.path()).entryList(QDir::Files);
  EXPECT_TRUE(left.isEmpty()) << left.join(' ');
}

// A pasted picture that its new document cannot open is that document's open failure, said as for
// any photo, not a failure of the paste; no window stays and the temporary file goes all the same.
TEST_F(Clipboard, APastedPictureThatCannotBeOpenedGetsTheOpenMessage) {
  ShellTest::SetUp();
  QGuiApplication::clipboard()->setImage(Upright(Pattern(37, 23)));
  // Room for the picture taken off the clipboard, none for its 2630-byte file read back.
  const std::uint64_t budget = io::SetPictureMemoryBudget(1000);
  ui.Answer(MessageAnswer::Ok);
  Trigger("mnuEdit_2");
  io::SetPictureMemoryBudget(budget);
  ExpectMessage(0,
                Messages::kOuvertureErreur + "fichier trop volumineux pour la mémoire disponible",
                MessageIcon::Exclamation);
  EXPECT_EQ(Windows(), 0);
  const QStringList left = QDir(temp.path()).entryList(QDir::Files);
  EXPECT_TRUE(left.isEmpty()) << left.join(' ');
}

// On a real X display, run by tests/shell/handoff-xvfb.sh: the photo is handed to the keeper,
// and this process ends; the script then pastes it from another program.
TEST(HandOffX11, TheKeeperTakesTheClipboardOver) {
  const QString keeperFolder = qEnvironmentVariable("FOTAVEL_X11_HANDOFF");
  if (keeperFolder.isEmpty()) GTEST_SKIP() << "FOTAVEL_X11_HANDOFF unset";
  ASSERT_TRUE(ClipboardDiesWithProgram()) << "needs the xcb platform";
  ScriptedUiServices ui;
  const cDIBSection photo = Pattern(37, 23);
  ASSERT_TRUE(CopyToClipboard(photo, ui, nullptr));
  ASSERT_TRUE(QGuiApplication::clipboard()->ownsClipboard());
  QTemporaryDir folder;
  ASSERT_TRUE(KeepClipboardAfterExit(photo, keeperFolder, folder.filePath("photo.bmp")));
  EXPECT_FALSE(QGuiApplication::clipboard()->ownsClipboard());
  EXPECT_FALSE(QFile::exists(folder.filePath("photo.bmp")));
}

}  // namespace
}  // namespace fotavel::testing
