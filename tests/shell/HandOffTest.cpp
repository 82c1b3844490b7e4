// The poster editor's hand-off: started with "EditeurAff" over a clipboard picture, the photo
// goes back through the clipboard on "Importer" and nowhere on "Retour".
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "shell/BarreExplorer.h"
#include "shell/ShellFixture.h"
#include "shell/SurfaceClipboard.h"

namespace fotavel::testing {
namespace {

class HandOff : public ShellTest {
 protected:
  void SetUp() override {}
  // The main window as the poster editor starts it over `picture` on the clipboard, once its
  // first activation has run.
  void Start(const QImage& picture = Upright(Pattern(37, 23))) {
    if (!picture.isNull()) QGuiApplication::clipboard()->setImage(picture);
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
};

// The picture is taken off the clipboard; "Importer" puts the changed photo back without asking.
TEST_F(HandOff, TheClipboardPictureOpensAndImportingHandsItBackChanged) {
  const QImage given = Upright(Pattern(37, 23));
  Start(given);
  ASSERT_EQ(window->Workspace()->subWindowList().size(), 1);
  frmImage* document = window->ActiveDocument();
  EXPECT_EQ(document->parentWidget()->windowTitle(), QStringLiteral("Photo: Nouvelle photo 1"));
  EXPECT_EQ(Upright(document->Document().Picture()), given);
  EXPECT_TRUE(OnClipboard().isNull());
  EXPECT_FALSE(window->Explorer()->isVisible());
  EXPECT_FALSE(window->Button("CacheExplorer")->isVisible());
  QTest::mouseClick(window->Button("LumierePlus"), Qt::LeftButton);
  const QImage changed = Upright(document->Document().Picture());
  ASSERT_NE(changed, given);
  QTest::mouseClick(window->Button("OkEd"), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(OnClipboard().convertToFormat(QImage::Format_RGB32), changed);
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
