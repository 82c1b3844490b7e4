// The main window's explorer pane, opening what it selects, and the arrangement that follows the
// window's size.
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>
#include <QStandardPaths>

#include "controls/SystemColours.h"
#include "controls/bouton.h"
#include "document/Messages.h"
#include "shell/BarreExplorer.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

namespace {
constexpr double kLowBelow = 630;
}  // namespace

void mfrmMain::BuildExplorer(QWidget* row) {
  m_explorer = new BarreExplorer(m_ui, row);
  connect(m_explorer, &BarreExplorer::OpenRequested, this, &mfrmMain::OuvrirPhotoSelectionnee);
  connect(m_explorer, &BarreExplorer::CloseRequested, this, &mfrmMain::AffCacheExpl);
  connect(m_explorer, &BarreExplorer::Busy, this, &mfrmMain::SetHourglass);
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty() || !QDir(documents).exists()) documents = QDir::homePath();
  m_explorer->SetFolder(documents);
}

void mfrmMain::AffCacheExpl() { m_explorer->setVisible(!m_explorer->isVisible()); }

bool mfrmMain::DemanderCopie(const QString& path, bool& copy) {
  copy = false;
  for (QMdiSubWindow* window : m_mdi->subWindowList()) {
    auto* document = qobject_cast<frmImage*>(window->widget());
    if (document == nullptr || document->Document().filename() != path) continue;
    const MessageAnswer answer =
        m_ui.Message(tr("La photo :\r\n") + path +
                         tr("\r\nest déjà ouverte !\r\n\r\nVoulez vous en ouvrir une copie ?"),
                     MessageIcon::Question, MessageButtons::YesNo, this);
    if (answer != MessageAnswer::Yes) return false;
    copy = true;
  }
  return true;
}

void mfrmMain::OuvrirPhotoSelectionnee() {
  const QString path = m_explorer->PhotoSelectionnee();
  if (path.isEmpty()) {
    m_ui.Message(Messages::kSelectionnezPhoto, MessageIcon::Information, MessageButtons::Ok, this);
    return;
  }
  // The road of a drop: the "already open" question, the pane hidden first so that the window
  // is sized to the room the photo will have, and shown again when nothing opened.
  if (OuvrirPhotos({path}) > 0) m_explorer->AfterOpening();
}

void mfrmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void mfrmMain::Form_Resize() {
  // A minimised or not yet shown window has no sizes worth arranging for.
  if (isMinimized() || frameGeometry().width() <= 0) return;
  const double tx = TwipsPerPixelX(*this);
  const double ty = TwipsPerPixelY(*this);
  const QRect frame = frameGeometry();
  m_explorer->Arrange(frame.height() < kLowBelow, tx, ty);
  // The menu's shadow spans the window.
  m_imgOmbre->resize(frame.width(), m_imgOmbre->height());
  LayoutToolbars();
}

}  // namespace fotavel
