// The explorer pane: a generated folder of photos browsed, previewed and opened through the real
// lists and buttons; the window's arrangement at its thresholds.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "dialogs/ModalDriver.h"
#include "dialogs/fSauvJpg.h"
#include "io/PictureFiles.h"
#include "shell/BarreExplorer.h"
#include "shell/ShellFixture.h"

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
    QString error;
    ASSERT_TRUE(
        io::WriteJpeg(Pattern(90, 60), folder.filePath(QStringLiteral("IMG_1.JPG")), 90, error));
    Touch(folder.filePath(QStringLiteral("notes.txt")));
    Touch(folder.filePath(QStringLiteral("cassee.jpg")), "pas une photo");
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
  QSize Preview() const {
    return pane->VisioImg()->isVisible() ? pane->VisioImg()->pixmap().size() : QSize();
  }

  BarreExplorer* pane = nullptr;
};

TEST_F(Explorer, ListsThePhotosOfAFolderWhateverTheCaseOfTheirNames) {
  EXPECT_TRUE(pane->isVisible());
  EXPECT_EQ(pane->StatusB()->text(), QStringLiteral("Sélectionnez une photo."));
  EXPECT_EQ(Files(), (QStringList{"cassee.jpg", "IMG_1.JPG", "large.bmp", "petite.bmp"}));
  const QList<QListWidgetItem*> sub =
      pane->Repertoire()->findItems(QStringLiteral("vacances"), Qt::MatchEndsWith);
  ASSERT_EQ(sub.size(), 1);
  emit pane->Repertoire()->itemActivated(sub[0]);
  EXPECT_EQ(pane->Folder(), folder.filePath(QStringLiteral("vacances")));
  EXPECT_TRUE(Files().isEmpty());
  EXPECT_FALSE(pane->Ouvrir()->isEnabled());
}

TEST_F(Explorer, TheNewerPhotoFormatsAreListedAndAWebPSavesAsJpegByDefault) {
  QImage image(45, 31, QImage::Format_RGB32);
  image.fill(qRgb(30, 140, 200));
  ASSERT_TRUE(image.save(folder.filePath(QStringLiteral("Chat.WebP")), "WEBP", 100));
  ASSERT_TRUE(image.save(folder.filePath(QStringLiteral("scan.tif")), "TIFF"));
  for (const char* name :
       {"IMG_0042.HEIC", "b.avif", "c.heif", "d.TIFF", "e.tiffx", "f.webp.txt"}) {
    QFile file(folder.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  pane->SetFolder(folder.path());
  EXPECT_EQ(Files(),
            (QStringList{"b.avif", "c.heif", "cassee.jpg", "Chat.WebP", "d.TIFF", "IMG_0042.HEIC",
                         "IMG_1.JPG", "large.bmp", "petite.bmp", "scan.tif"}));

  // Opened from the list, previewed, and offered as a JPEG of the same name.
  Select(QStringLiteral("Chat.WebP"));
  emit pane->Fichier()->itemClicked(pane->Fichier()->currentItem());
  EXPECT_EQ(Preview(), QSize(45, 31));
  pane->Ouvrir()->click();
  QCoreApplication::processEvents();
  ASSERT_EQ(window->Workspace()->subWindowList().size(), 1);
  const QString proposed = folder.filePath(QStringLiteral("Chat.JPG"));
  ui.ChooseName(proposed);  // the user takes the name offered
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) { dialog->EnregJPG()->click(); });
  Trigger("mnuFile_1");
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].request.defaultName, proposed);
  cDIBSection saved;
  QString error;
  ASSERT_TRUE(io::ReadPicture(proposed, saved, error)) << error.toStdString();
  EXPECT_EQ(QSize(saved.width(), saved.height()), QSize(45, 31));
}

TEST_F(Explorer, APreviewIsNeverEnlargedAndFitsTheArea) {
  Select(QStringLiteral("petite.bmp"));
  EXPECT_EQ(Preview(), QSize(50, 40));
  EXPECT_EQ(pane->StatusB()->text(), QStringLiteral("petite.bmp"));
  EXPECT_TRUE(pane->Ouvrir()->isEnabled());
  // Twice as wide as the area and as high as it: the whole width, half the height.
  Select(QStringLiteral("large.bmp"));
  EXPECT_EQ(Preview(), QSize(200, 75));
  Select(QStringLiteral("cassee.jpg"));
  EXPECT_EQ(Preview(), QSize());
  EXPECT_EQ(pane->StatusB()->text(), QStringLiteral("Erreur !"));

  // Without previews a click only selects.
  pane->previsu()->click();
  EXPECT_FALSE(pane->VisioImg()->isVisible());
  EXPECT_TRUE(pane->Ouvrir()->isEnabled());
  EXPECT_LE(pane->StatusB()->height(), 4);
  Select(QStringLiteral("IMG_1.JPG"));
  EXPECT_EQ(Preview(), QSize());
  pane->previsu()->click();
  EXPECT_EQ(Preview(), QSize(90, 60));
}

TEST_F(Explorer, OpeningHidesThePaneAndAnOpenPhotoIsOfferedAsACopy) {
  ui.Answer(MessageAnswer::Ok);
  pane->Ouvrir()->setEnabled(true);
  pane->Ouvrir()->click();
  ExpectMessage(0, QStringLiteral("Sélectionnez une photo !"));

  const QString path = folder.filePath(QStringLiteral("petite.bmp"));
  Select(QStringLiteral("petite.bmp"));
  pane->Ouvrir()->click();
  ASSERT_NE(window->ActiveDocument(), nullptr);
  EXPECT_EQ(window->ActiveDocument()->Document().filename(), path);
  EXPECT_FALSE(pane->isVisible());
  EXPECT_TRUE(pane->PhotoSelectionnee().isEmpty());
  EXPECT_FALSE(pane->Ouvrir()->isEnabled());

  Click("CacheExplorer");
  ASSERT_TRUE(pane->isVisible());
  ui.Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
  emit pane->Fichier()->itemActivated(Item(QStringLiteral("petite.bmp")));
  ExpectMessage(1, "La photo :\r\n" + path +
                       "\r\nest déjà ouverte !\r\n\r\nVoulez vous en ouvrir une copie ?");
  EXPECT_EQ(Windows(), 1);
  EXPECT_TRUE(pane->isVisible());

  emit pane->Fichier()->itemActivated(Item(QStringLiteral("petite.bmp")));
  EXPECT_EQ(Windows(), 2);
  EXPECT_EQ(Caption(window->ActiveDocument()), QStringLiteral("Photo: Nouvelle photo 1"));
  EXPECT_TRUE(window->ActiveDocument()->Document().Dirty());

  // The last window closed, the window goes back to browsing.
  for (QMdiSubWindow* sub : window->Workspace()->subWindowList()) {
    qobject_cast<frmImage*>(sub->widget())->Document().Propre();
    sub->close();
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(pane->isVisible());
}

TEST_F(Explorer, AFileThatCannotBeOpenedLeavesNoWindow) {
  pane->previsu()->click();
  Select(QStringLiteral("cassee.jpg"));
  ui.Answer(MessageAnswer::Ok);
  pane->Ouvrir()->click();
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(ui.Messages()[0].text.startsWith(
      QStringLiteral("Une erreur est survenue lors de l'ouverture de : ")));
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(Windows(), 0);
  EXPECT_TRUE(pane->PhotoSelectionnee().isEmpty());
}

TEST_F(Explorer, AVolumeThatIsNotReadyNamesItselfAndTheListsStay) {
  pane->SetVolumes({{QStringLiteral("Disque"), folder.path()},
                    {QStringLiteral("Clé USB"), folder.filePath(QStringLiteral("absente"))}});
  ASSERT_EQ(pane->Lecteur()->currentIndex(), 0);
  ui.Answer(MessageAnswer::Ok);
  pane->Lecteur()->setCurrentIndex(1);
  emit pane->Lecteur()->activated(1);
  ExpectMessage(0, QStringLiteral("Le lecteur Clé USB n'est pas prêt !"));
  EXPECT_EQ(ui.Messages()[0].title, QStringLiteral("Erreur"));
  EXPECT_EQ(pane->Lecteur()->currentIndex(), 0);
  EXPECT_EQ(pane->Folder(), folder.path());
  EXPECT_EQ(Files().size(), 4);
}

TEST_F(Explorer, TheWindowsSizeArrangesThePaneAndTheToolbars) {
  // The thresholds are on the whole window, its frame included.
  const auto arrangeAt = [this](int width, int height) {
    const QSize frame = window->frameGeometry().size() - window->size();
    window->resize(width - frame.width(), height - frame.height());
    QCoreApplication::processEvents();
    ASSERT_EQ(window->frameGeometry().size(), QSize(width, height));
  };
  bouton* logo = window->Button("Logo");
  arrangeAt(870, 630);
  const QRect wideLogo = logo->geometry();
  const int normalWidth = pane->width();
  EXPECT_EQ(logo->parentWidget(), window->BarreOutils());
  EXPECT_FALSE(window->BarreOutilsVrt()->isVisible());
  EXPECT_GT(pane->VisioImg()->y(), pane->Fichier()->y() + pane->Fichier()->height());

  for (int round = 0; round < 2; ++round) {
    arrangeAt(869, 629);
    EXPECT_EQ(logo->parentWidget(), window->BarreOutilsVrt());
    EXPECT_TRUE(window->BarreOutilsVrt()->isVisible());
    EXPECT_LT(window->Button("TaillWeb")->y(), logo->y());
    EXPECT_EQ(logo->x(), (window->BarreOutilsVrt()->width() - logo->width()) / 2);
    // Compact: the preview beside the lists, the pane about twice as wide.
    EXPECT_GT(pane->width(), 2 * normalWidth - 20);
    EXPECT_GT(pane->StatusB()->x(), pane->Fichier()->x() + pane->Fichier()->width());

    arrangeAt(870, 630);
    EXPECT_EQ(logo->parentWidget(), window->BarreOutils());
    EXPECT_EQ(logo->geometry(), wideLogo);
    EXPECT_EQ(pane->width(), normalWidth);
  }
}

}  // namespace
}  // namespace fotavel::testing
