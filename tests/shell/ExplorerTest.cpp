// The explorer pane: a generated folder of photos browsed, previewed and opened through the real
// lists and buttons.
#include <QDir>
#include <QListWidget>
#include <QToolButton>

#include "document/Messages.h"
#include "shell/BarreExplorer.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

class Explorer : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    pane = window->Explorer();
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("vacances")));
    WritePhoto(QStringLiteral("large.bmp"), 400, 150);
    WritePhoto(QStringLiteral("petite.bmp"), 50, 40);
    Touch(folder.filePath(QStringLiteral("cassee.jpg")), "pas une photo");
    for (const char* name :
         {"notes.txt", "IMG_0042.HEIC", "b.avif", "Chat.WebP", "d.TIFF", "e.tiffx", "f.webp.txt"}) {
      Touch(folder.filePath(QString::fromLatin1(name)));
    }
    pane->SetFolder(folder.path());
  }

  QStringList Files() const {
    QStringList names;
    for (int i = 0; i < pane->Fichier()->count(); ++i) names << pane->Fichier()->item(i)->text();
    return names;
  }
  QListWidgetItem* Item(const QString& name) const {
    const QList<QListWidgetItem*> found = pane->Fichier()->findItems(name, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1) << name;
    return found.value(0);
  }
  void Select(const QString& name) { pane->Fichier()->setCurrentItem(Item(name)); }

  BarreExplorer* pane = nullptr;
};

TEST_F(Explorer, ListsThePhotosOfAFolderWhateverTheCaseOfTheirNames) {
  EXPECT_TRUE(pane->isVisible());
  EXPECT_EQ(pane->StatusB()->text(), QStringLiteral("Sélectionnez une photo."));
  EXPECT_EQ(Files(), (QStringList{"b.avif", "cassee.jpg", "Chat.WebP", "d.TIFF", "IMG_0042.HEIC",
                                  "large.bmp", "petite.bmp"}));
  const QList<QListWidgetItem*> sub =
      pane->Repertoire()->findItems(QStringLiteral("vacances"), Qt::MatchEndsWith);
  ASSERT_EQ(sub.size(), 1);
  emit pane->Repertoire()->itemActivated(sub[0]);
  EXPECT_EQ(pane->Folder(), folder.filePath(QStringLiteral("vacances")));
  EXPECT_TRUE(Files().isEmpty());
  EXPECT_FALSE(pane->Ouvrir()->isEnabled());
}

TEST_F(Explorer, OpeningHidesThePaneUntilTheLastPhotoIsClosed) {
  ui.Answer(MessageAnswer::Ok);
  emit pane->Fichier()->itemActivated(Item(QStringLiteral("cassee.jpg")));
  EXPECT_TRUE(ui.Messages()[0].text.startsWith(Messages::kOuvertureErreur));
  EXPECT_EQ(Windows(), 0);
  EXPECT_TRUE(pane->isVisible());

  const QString path = folder.filePath(QStringLiteral("petite.bmp"));
  Select(QStringLiteral("petite.bmp"));
  pane->Ouvrir()->click();
  ASSERT_NE(window->ActiveDocument(), nullptr);
  EXPECT_EQ(window->ActiveDocument()->Document().filename(), path);
  EXPECT_FALSE(pane->isVisible());
  EXPECT_TRUE(pane->PhotoSelectionnee().isEmpty());
  EXPECT_FALSE(pane->Ouvrir()->isEnabled());

  Click(commands::kExplorer);
  ASSERT_TRUE(pane->isVisible());
  emit pane->Fichier()->itemActivated(Item(QStringLiteral("large.bmp")));
  EXPECT_EQ(Windows(), 2);
  for (QMdiSubWindow* sub : window->Workspace()->subWindowList()) sub->close();
  QCoreApplication::processEvents();
  EXPECT_TRUE(pane->isVisible());
}

}  // namespace
}  // namespace fotavel::testing
