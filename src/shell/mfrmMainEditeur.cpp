// The poster editor's hand-off: its start at the first activation, importing and returning.
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMimeData>
#include <QTimer>
#include <system_error>

#include "controls/bouton.h"
#include "dialogs/UiServices.h"
#include "shell/BarreExplorer.h"
#include "shell/SurfaceClipboard.h"
#include "shell/WindowCommands.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

bool mfrmMain::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate && m_premiereActivation) {
    m_premiereActivation = false;
    Form_Resize();
    // After the activation has been delivered: the start may show a message
    // box or close the window.
    if (m_editorMode) QTimer::singleShot(0, this, &mfrmMain::DemarrerEditeur);
  }
  return handled;
}

void mfrmMain::DemarrerEditeur() {
  SetHourglass(true);
  // The explorer and quit commands give way, in the menu and in the
  // toolbar, to the two ways back to the editor, whose buttons take their
  // places.
  Action(commands::kExplorer)->setVisible(false);
  Action(commands::kQuitter)->setVisible(false);
  Action(commands::kRetourEditeur)->setVisible(true);
  Action(commands::kImporterEditeur)->setVisible(true);
  if (m_explorer->isVisible()) AffCacheExpl();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data != nullptr && data->hasImage()) {
    CollerPhoto();
    QGuiApplication::clipboard()->clear();
  } else {
    SetHourglass(false);
    m_ui.Message(tr("Erreur à l'importation ! Vérifiez que vous avez bien "
                    "sélectionné une image."),
                 MessageIcon::None, MessageButtons::Ok, this);
    close();
    return;
  }
  SetHourglass(false);
}

bool mfrmMain::RendrePhoto(frmImage& document) {
  if (!document.CopyImage()) {
    m_ui.Message(tr("La photo n'a pas pu être copiée dans le presse-papiers."),
                 MessageIcon::Exclamation, MessageButtons::Ok, this);
    return false;
  }
  bool kept = !ClipboardDiesWithProgram();
  if (!kept) {
    try {
      kept = KeepClipboardAfterExit(document.Document().Picture(),
                                    QCoreApplication::applicationDirPath(),
                                    m_services.TempFileName(QStringLiteral("VBIM")));
    } catch (const std::system_error&) {
      kept = false;
    }
  }
  if (!kept) {
    m_ui.Message(tr("La photo est dans le presse-papiers, mais elle n'y resterait pas "
                    "après la fermeture de Fotavel : collez-la dans l'éditeur "
                    "d'affiches avant de fermer."),
                 MessageIcon::Exclamation, MessageButtons::Ok, this);
    return false;
  }
  return true;
}

void mfrmMain::OkEd_Click() {
  if (frmImage* document = ImageActive()) {
    if (!RendrePhoto(*document)) return;
    document->Document().Propre();
  }
  close();
}

void mfrmMain::AnnulerEd_Click() {
  if (frmImage* document = ImageActive()) document->Document().Propre();
  close();
}

}  // namespace fotavel
