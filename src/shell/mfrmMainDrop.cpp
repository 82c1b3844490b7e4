// Photos that come to the main window from outside its explorer: the command line and files
// dropped on the window.
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "shell/BarreExplorer.h"
#include "shell/mfrmMain.h"

namespace fotavel {

namespace {

// The files a drag carries, when it carries local files only. Anything else
// (a web address, text, a picture without a file) is not ours to take.
QStringList LocalFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return {};
    paths.push_back(url.toLocalFile());
  }
  return paths;
}

}  // namespace

int mfrmMain::OuvrirPhotos(const QStringList& paths) {
  const bool paneShown = m_explorer->isVisible();
  int opened = 0;
  for (const QString& path : paths) {
    SetHourglass(true);
    bool copy = false;
    if (DemanderCopie(path, copy)) {
      // The pane goes first, so that the window is sized to the room the
      // photo will have.
      m_explorer->hide();
      if (OpenPhoto(path, copy) != nullptr) ++opened;
    }
    SetHourglass(false);
  }
  // Nothing opened: the user is left browsing as before.
  if (opened == 0 && paneShown) m_explorer->show();
  return opened;
}

void mfrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void mfrmMain::dragMoveEvent(QDragMoveEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void mfrmMain::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalFiles(event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  // The program the files came from waits for the drop to end; the questions
  // and messages of opening come after, from the window's own event loop.
  QTimer::singleShot(0, this, [this, paths] {
    activateWindow();
    OuvrirPhotos(paths);
  });
}

}  // namespace fotavel
