// The fotavel program: the splash, then the main window.
//
// The command line takes one keyword, "EditeurAff" (the poster-editor
// hand-off), exactly and alone; anything else is ignored.
//
// Test hooks: when the environment variable FOTAVEL_TEST_PHOTO names a file,
// that photo is opened as soon as the main window shows; FOTAVEL_TEST_PREVIEW
// selects a photo in the explorer pane instead, which shows its preview. The
// desktop smoke test uses them to have something to look at; nothing else
// reads them.
#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include "dialogs/QtUiServices.h"
#include "effects/ImageProcessError.h"
#include "shell/BarreExplorer.h"
#include "shell/Pictures.h"
#include "shell/demarrage.h"
#include "shell/mfrmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The program speaks French whatever the desktop's language: Qt's own
  // buttons and dialogs (Oui, Non, Annuler, the file dialog) too.
  QTranslator qtFrench;
  if (qtFrench.load(QStringLiteral("qtbase_fr"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtFrench);
  }
  fotavel::SetProgramName(argc > 0 ? argv[0] : "fotavel");
  QApplication::setApplicationName(fotavel::kAppTitle);
  QApplication::setApplicationVersion(QStringLiteral(FOTAVEL_VERSION));
  QApplication::setWindowIcon(fotavel::AppIcon());

  const bool editorMode =
      argc == 2 && QString::fromLocal8Bit(argv[1]) == QLatin1String("EditeurAff");
  fotavel::QtUiServices ui;
  fotavel::mfrmMain window(ui, QApplication::applicationDirPath(), editorMode);
  const QString testPhoto = qEnvironmentVariable("FOTAVEL_TEST_PHOTO");
  const QString testPreview = qEnvironmentVariable("FOTAVEL_TEST_PREVIEW");

  auto* splash = new fotavel::demarrage([&window, testPhoto, testPreview] {
    window.show();
    if (!testPhoto.isEmpty()) window.OpenPhoto(testPhoto);
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
