// The fotavel program: the splash, then the main window.
//
// The command line is either the keyword "EditeurAff" (the poster-editor
// hand-off), exactly and alone, or photo files, opened once the main window
// shows.
//
// Test hooks: when the environment variable FOTAVEL_TEST_PHOTO names a file,
// that photo opens as if named on the command line (after any that are);
// FOTAVEL_TEST_PREVIEW selects a photo in the explorer pane as soon as the
// main window shows, which shows its preview. Scripts that drive the window
// (the desktop smoke test) use them to have something to look at; nothing
// else reads them.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QTimer>

#include "dialogs/QtUiServices.h"
#include "document/Translations.h"
#include "effects/ImageProcessError.h"
#include "io/FileNames.h"
#include "shell/BarreExplorer.h"
#include "shell/CommandLine.h"
#include "shell/Pictures.h"
#include "shell/demarrage.h"
#include "shell/mfrmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The desktop's language when the program has it (Qt's own buttons and
  // dialogs too), French otherwise.
  fotavel::UseLanguage(fotavel::ChosenLanguage(QLocale::system().uiLanguages()));
  fotavel::SetProgramName(argc > 0 ? argv[0] : "fotavel");
  QApplication::setApplicationName(fotavel::kAppTitle);
  QApplication::setApplicationVersion(QStringLiteral(FOTAVEL_VERSION));
  QApplication::setWindowIcon(fotavel::AppIcon());

  fotavel::StartRequest start = fotavel::ReadCommandLine(
      fotavel::io::ArgumentsFromNative(argc, argv).mid(1), fotavel::WorkingFolder());
  if (const QString testPhoto = qEnvironmentVariable("FOTAVEL_TEST_PHOTO"); !testPhoto.isEmpty()) {
    start.photos.append(QDir::current().absoluteFilePath(testPhoto));
  }
  fotavel::QtUiServices ui;
  fotavel::mfrmMain window(ui, QApplication::applicationDirPath(), start.editorMode);
  const QString testPreview = qEnvironmentVariable("FOTAVEL_TEST_PREVIEW");

  auto* splash = new fotavel::demarrage([&window, &start, testPreview] {
    window.show();
    // The window takes over from the splash as the active one: its first
    // activation starts the poster editor's hand-off, which must not wait
    // for a click where the desktop does not activate new windows itself.
    window.activateWindow();
    // Once the splash has gone: opening may have questions to ask.
    if (!start.photos.isEmpty()) {
      QTimer::singleShot(0, &window, [&window, &start] { window.OuvrirPhotos(start.photos); });
    }
    if (!testPreview.isEmpty()) window.Explorer()->SelectPhoto(testPreview);
  });
  splash->adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    splash->move(screen->availableGeometry().center() - splash->rect().center());
  }
  splash->show();
  splash->setFocus();
  return QApplication::exec();
}
