// Photos that reach the window from the desktop: named on the command line, dropped on the window.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <memory>

#include "document/Messages.h"
#include "shell/BarreExplorer.h"
#include "shell/CommandLine.h"
#include "shell/ShellFixture.h"

namespace fotavel::testing {
namespace {

QString AlreadyOpen(const QString& path) {
  return QStringLiteral("La photo :\r\n") + path +
         QStringLiteral("\r\nest déjà ouverte !\r\n\r\nVoulez vous en ouvrir une copie ?");
}

TEST(CommandLine, TheHandOffKeywordAloneElsePhotosFromTheWorkingFolder) {
  const StartRequest handOff = ReadCommandLine({"EditeurAff"}, "/photos");
  EXPECT_TRUE(handOff.editorMode && handOff.photos.isEmpty());
  // Another spelling, the keyword with company, an option: file names like any other.
  const StartRequest files = ReadCommandLine(
      {"editeuraff", "EditeurAff", "vacances/./a.JPG", "../b.bmp", "/tmp/c d.gif", "", "--aide"},
      "/photos/");
  EXPECT_FALSE(files.editorMode);
  EXPECT_EQ(files.photos,
            (QStringList{"/photos/editeuraff", "/photos/EditeurAff", "/photos/vacances/a.JPG",
                         "/b.bmp", "/tmp/c d.gif", "/photos/--aide"}));
}

std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
  auto data = std::make_unique<QMimeData>();
  data->setUrls(urls);
  return data;
}

class Desktop : public ShellTest {
 protected:
  // Drags `data` over the workspace and lets it go there when it is taken; what the drop starts
  // runs once it is over. True when the drag was taken.
  bool Drop(const QMimeData& data) {
    QWidget* target = window->Workspace()->viewport();
    const QPoint middle = target->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
  }
};

// Only local files are taken; a dropped folder opens nothing and leaves the user browsing.
TEST_F(Desktop, OnlyLocalFilesAreTakenWhenDropped) {
  const QString photo = WritePhoto(QStringLiteral("a.bmp"), 7, 9);
  QMimeData text;
  text.setText(photo);
  EXPECT_FALSE(Drop(text));
  EXPECT_FALSE(Drop(*Urls({QUrl(QStringLiteral("https://exemple.fr/a.jpg"))})));
  EXPECT_FALSE(Drop(*Urls({QUrl::fromLocalFile(photo), QUrl("https://exemple.fr/b.jpg")})));
  ui.Answer(MessageAnswer::Ok);
  EXPECT_TRUE(Drop(*Urls({QUrl::fromLocalFile(folder.path())})));
  ExpectMessage(0, Messages::kOuvertureErreur + "ce chemin désigne un dossier, pas un fichier");
  EXPECT_EQ(Windows(), 0);
  EXPECT_TRUE(window->Explorer()->isVisible());
}

// The missing file says so; the second a.bmp asks and opens a copy; the third asks once more (the
// copy is an unnamed photo) and is declined. A photo dropped then opens beside them.
TEST_F(Desktop, PhotosNamedOnTheCommandLineOrDroppedOpenAsFromTheExplorer) {
  const QString a = WritePhoto(QStringLiteral("a.bmp"), 31, 17);
  const QString b = WritePhoto(QStringLiteral("b.bmp"), 5, 3);
  const StartRequest start =
      ReadCommandLine({"a.bmp", "absente.jpg", "./a.bmp", b, "a.bmp"}, folder.path());
  ui.Answer(MessageAnswer::Ok).Answer(MessageAnswer::Yes).Answer(MessageAnswer::No);
  EXPECT_EQ(window->OuvrirPhotos(start.photos), 3);
  EXPECT_EQ(MessageCount(), 3);
  ExpectMessage(0, Messages::kOuvertureErreur + "fichier introuvable", MessageIcon::Exclamation);
  ExpectMessage(1, AlreadyOpen(a), MessageIcon::Question);
  ExpectMessage(2, AlreadyOpen(a));
  EXPECT_EQ(window->ActiveDocument()->Document().ImageWidth(), 5);
  EXPECT_FALSE(window->Explorer()->isVisible());

  const QString c = WritePhoto(QStringLiteral("c.bmp"), 7, 9);
  EXPECT_TRUE(Drop(*Urls({QUrl::fromLocalFile(c)})));
  QStringList captions;
  for (QMdiSubWindow* sub : window->Workspace()->subWindowList()) captions << sub->windowTitle();
  EXPECT_EQ(captions,
            (QStringList{"Photo: " + a, "Photo: Nouvelle photo 1", "Photo: " + b, "Photo: " + c}));
  EXPECT_EQ(window->ActiveDocument()->Document().filename(), c);
}

}  // namespace
}  // namespace fotavel::testing
