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
  EXPECT_TRUE(handOff.editorMode);
  EXPECT_TRUE(handOff.photos.isEmpty());
  // Another spelling, the keyword with company, an option: file names like any other.
  const StartRequest files = ReadCommandLine(
      {"editeuraff", "EditeurAff", "vacances/./a.JPG", "../b.bmp", "/tmp/c d.gif", "", "--aide"},
      "/photos/");
  EXPECT_FALSE(files.editorMode);
  EXPECT_EQ(files.photos,
            (QStringList{"/photos/editeuraff", "/photos/EditeurAff", "/photos/vacances/a.JPG",
                         "/b.bmp", "/tmp/c d.gif", "/photos/--aide"}));
}

using StartUp = ShellTest;

TEST_F(StartUp, PhotosNamedOnTheCommandLineOpenAsFromTheExplorer) {
  const QString a = WritePhoto(QStringLiteral("a.bmp"), 31, 17);
  const QString b = WritePhoto(QStringLiteral("b.bmp"), 5, 3);
  const StartRequest start =
      ReadCommandLine({"a.bmp", "absente.jpg", "./a.bmp", b, "a.bmp"}, folder.path());
  ASSERT_TRUE(window->Explorer()->isVisible());

  // The missing file says so; the second a.bmp asks and opens a copy; the
  // third asks once more (the copy is an unnamed photo) and is declined.
  ui.Answer(MessageAnswer::Ok).Answer(MessageAnswer::Yes).Answer(MessageAnswer::No);
  EXPECT_EQ(window->OuvrirPhotos(start.photos), 3);

  EXPECT_EQ(MessageCount(), 3);
  ExpectMessage(0, Messages::kOuvertureErreur + "fichier introuvable", MessageIcon::Exclamation);
  ExpectMessage(1, AlreadyOpen(a), MessageIcon::Question);
  ExpectMessage(2, AlreadyOpen(a));
  QStringList captions;
  for (QMdiSubWindow* sub : window->Workspace()->subWindowList()) captions << sub->windowTitle();
  EXPECT_EQ(captions, (QStringList{"Photo: " + a, "Photo: Nouvelle photo 1", "Photo: " + b}));
  EXPECT_EQ(window->ActiveDocument()->Document().ImageWidth(), 5);
  EXPECT_FALSE(window->Explorer()->isVisible());
}

class Drops : public ShellTest {
 protected:
  static std::unique_ptr<QMimeData> Urls(const QStringList& urls) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> list;
    for (const QString& url : urls)
      list << (url.contains(u':') ? QUrl(url) : QUrl::fromLocalFile(url));
    data->setUrls(list);
    return data;
  }
  // Where a user drops: on the workspace, in the middle of the window.
  QWidget* Target() const { return window->Workspace()->viewport(); }
  QPoint Middle() const { return Target()->rect().center(); }

  bool Enters(const QMimeData& data) {
    QDragEnterEvent enter(Middle(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(Target(), &enter);
    return enter.isAccepted();
  }
  // The drag enters and the files are let go; what they start runs once the drop is over.
  void Drop(const QStringList& paths) {
    const auto data = Urls(paths);
    ASSERT_TRUE(Enters(*data));
    QDropEvent drop(QPointF(Middle()), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(Target(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QCoreApplication::processEvents();
  }
};

TEST_F(Drops, OnlyLocalFilesAreTakenAndADroppedPhotoOpens) {
  const QString photo = WritePhoto(QStringLiteral("a.bmp"), 7, 9);
  EXPECT_FALSE(Enters(*Urls({QStringLiteral("https://exemple.fr/a.jpg")})));
  EXPECT_FALSE(Enters(*Urls({photo, QStringLiteral("https://exemple.fr/b.jpg")})));
  QMimeData text;
  text.setText(photo);
  EXPECT_FALSE(Enters(text));

  // Nothing opened: the message, and the user is left browsing.
  ui.Answer(MessageAnswer::Ok);
  Drop({folder.path()});
  ExpectMessage(0, Messages::kOuvertureErreur + "ce chemin désigne un dossier, pas un fichier");
  EXPECT_EQ(Windows(), 0);
  EXPECT_TRUE(window->Explorer()->isVisible());

  Drop({photo});
  ASSERT_EQ(Windows(), 1);
  EXPECT_EQ(window->ActiveDocument()->Document().filename(), photo);
  EXPECT_FALSE(window->Explorer()->isVisible());
}

}  // namespace
}  // namespace fotavel::testing
