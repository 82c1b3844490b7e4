// Photos that reach the window from the desktop: named on the command line, dropped on the
// window.
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
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

  // Any other spelling, or the keyword with company, is a file name like any other.
  const StartRequest lower = ReadCommandLine({"editeuraff"}, "/photos");
  EXPECT_FALSE(lower.editorMode);
  EXPECT_EQ(lower.photos, QStringList{"/photos/editeuraff"});
  const StartRequest both = ReadCommandLine({"EditeurAff", "a.jpg"}, "/photos");
  EXPECT_FALSE(both.editorMode);
  EXPECT_EQ(both.photos, (QStringList{"/photos/EditeurAff", "/photos/a.jpg"}));

  const StartRequest files = ReadCommandLine(
      {"vacances/./plage.JPG", "../autres/b.bmp", "/tmp/c d.gif", "", "--aide"}, "/photos/");
  EXPECT_FALSE(files.editorMode);
  EXPECT_EQ(files.photos, (QStringList{"/photos/vacances/plage.JPG", "/autres/b.bmp",
                                       "/tmp/c d.gif", "/photos/--aide"}));
  EXPECT_TRUE(ReadCommandLine({}, "/photos").photos.isEmpty());
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

  ASSERT_EQ(MessageCount(), 3);
  EXPECT_EQ(ui.Messages()[0].text, Messages::kOuvertureErreur + "fichier introuvable");
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.Messages()[1].text, AlreadyOpen(a));
  EXPECT_EQ(ui.Messages()[1].icon, MessageIcon::Question);
  EXPECT_EQ(ui.Messages()[2].text, AlreadyOpen(a));
  const QList<QMdiSubWindow*> windows = window->Workspace()->subWindowList();
  ASSERT_EQ(windows.size(), 3);
  QStringList captions;
  for (QMdiSubWindow* sub : windows) captions << sub->windowTitle();
  EXPECT_EQ(captions, (QStringList{"Photo: " + a, "Photo: Nouvelle photo 1", "Photo: " + b}));
  EXPECT_EQ(window->ActiveDocument()->Document().ImageWidth(), 5);
  EXPECT_FALSE(window->Explorer()->isVisible());
}

TEST_F(StartUp, NothingOpenedLeavesTheExplorerWhereItWas) {
  ui.Answer(MessageAnswer::Ok);
  EXPECT_EQ(window->OuvrirPhotos({folder.path()}), 0);
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(ui.Messages()[0].text,
            Messages::kOuvertureErreur + "ce chemin désigne un dossier, pas un fichier");
  EXPECT_TRUE(window->Workspace()->subWindowList().isEmpty());
  EXPECT_TRUE(window->Explorer()->isVisible());
  EXPECT_EQ(window->OuvrirPhotos({}), 0);
  EXPECT_TRUE(window->Explorer()->isVisible());
}

class Drops : public ShellTest {
 protected:
  static std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
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
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    const auto data = Urls(urls);
    ASSERT_TRUE(Enters(*data));
    QDropEvent drop(QPointF(Middle()), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(Target(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QCoreApplication::processEvents();
  }
  int Windows() const { return int(window->Workspace()->subWindowList().size()); }
};

TEST_F(Drops, OnlyLocalFilesAreTaken) {
  const QString photo = WritePhoto(QStringLiteral("a.bmp"), 7, 9);
  EXPECT_TRUE(Enters(*Urls({QUrl::fromLocalFile(photo)})));
  EXPECT_FALSE(Enters(*Urls({QUrl(QStringLiteral("https://exemple.fr/a.jpg"))})));
  EXPECT_FALSE(Enters(*Urls({QUrl::fromLocalFile(photo), QUrl("https://exemple.fr/b.jpg")})));
  QMimeData text;
  text.setText(photo);
  EXPECT_FALSE(Enters(text));
  QMimeData picture;
  picture.setImageData(QImage(4, 4, QImage::Format_RGB32));
  EXPECT_FALSE(Enters(picture));
  EXPECT_EQ(Windows(), 0);
}

TEST_F(Drops, APhotoOpensAgainItAsksAndAFolderOrAnythingElseIsRefused) {
  const QString photo = WritePhoto(QStringLiteral("a.bmp"), 7, 9);
  Drop({photo});
  ASSERT_EQ(Windows(), 1);
  EXPECT_EQ(window->ActiveDocument()->Document().filename(), photo);
  EXPECT_FALSE(window->Explorer()->isVisible());
  EXPECT_EQ(MessageCount(), 0);

  ui.Answer(MessageAnswer::No);
  Drop({photo});
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(ui.Messages()[0].text, AlreadyOpen(photo));
  EXPECT_EQ(Windows(), 1);

  // A folder, a file that is no picture, then the photo once more: two
  // messages and the question; the photo opens as a copy.
  QFile notes(folder.filePath(QStringLiteral("notes.txt")));
  ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
  notes.write("pas une photo");
  notes.close();
  ui.Answer(MessageAnswer::Ok).Answer(MessageAnswer::Ok).Answer(MessageAnswer::Yes);
  Drop({folder.path(), notes.fileName(), photo});
  ASSERT_EQ(MessageCount(), 4);
  EXPECT_EQ(ui.Messages()[1].text,
            Messages::kOuvertureErreur + "ce chemin désigne un dossier, pas un fichier");
  EXPECT_TRUE(ui.Messages()[2].text.startsWith(Messages::kOuvertureErreur));
  EXPECT_EQ(ui.Messages()[2].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.Messages()[3].text, AlreadyOpen(photo));
  ASSERT_EQ(Windows(), 2);
  EXPECT_EQ(Caption(window->ActiveDocument()), QStringLiteral("Photo: Nouvelle photo 1"));
}

}  // namespace
}  // namespace fotavel::testing
