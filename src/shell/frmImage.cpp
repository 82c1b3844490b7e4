// A document window's files and state: open, save, the close question, activation, the document's
// reports.
#include "shell/frmImage.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "controls/bouton.h"
#include "dialogs/GCommonDialog.h"
#include "dialogs/frmProprietes.h"
#include "document/Messages.h"
#include "shell/Failures.h"
#include "shell/SurfaceClipboard.h"
#include "shell/mfrmMain.h"

namespace fotavel {

namespace {
const QString kSaveFilter = QStringLiteral(
    "Fichiers Bitmap (*.BMP)|*.BMP|Fichiers Jpeg (*.JPG)|*.JPG|Tous les fichiers (*.*)|*.*");
}  // namespace

frmImage::frmImage(mfrmMain& main) : m_main(main), m_document(main.Services(), this) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(m_document.Caption());
  BuildView();
}

frmImage::~frmImage() { m_document.SetObserver(nullptr); }

bool frmImage::OpenFile(const QString& sFile, bool bIsTemp) {
  try {
    m_document.OpenFile(sFile, bIsTemp);
  } catch (...) {
    ShowFailure(m_main.Ui(), std::current_exception(), this);
    return false;
  }
  picScrollBox_Resize();
  return true;
}

bool frmImage::SaveFile() {
  GCommonDialog dialog(m_main.Ui());
  QString name = m_document.DefaultSaveName();
  QString title;
  QString filter = kSaveFilter;
  std::int32_t filterIndex = 2;
  std::int32_t flags = 0;
  if (!dialog.VBGetSaveFileName(name, title, true, filter, filterIndex, QString(),
                                QStringLiteral("Enregistrer la photo"), QStringLiteral("JPG"), this,
                                flags)) {
    return false;
  }
  const SaveKind kind = PhotoDocument::SaveKindFor(name);
  // A cancelled quality dialog writes nothing, so the photo stays unsaved
  // under its old name rather than being called saved.
  if (kind == SaveKind::Jpeg) return m_main.sauvjpgFct(name, *this);

  try {
    m_document.SaveBitmap(name);
  } catch (...) {
    ShowFailure(m_main.Ui(), std::current_exception(), this);
    return false;
  }
  if (kind == SaveKind::BmpInstead) {
    m_main.Ui().Message(Messages::kFormatIncompatible, MessageIcon::None, MessageButtons::Ok, this);
  }
  return true;
}

bool frmImage::QuerySave() {
  const MessageAnswer answer =
      m_main.Ui().Message(Messages::QuerySave(m_document.FileTitle(), m_main.EditorMode()),
                          MessageIcon::Question, MessageButtons::YesNoCancel, this);
  switch (answer) {
    case MessageAnswer::Yes:
      // For the poster editor the photo goes back through the clipboard.
      return m_main.EditorMode() ? m_main.RendrePhoto(*this) : SaveFile();
    case MessageAnswer::No:
      return true;
    default:
      return false;
  }
}

void frmImage::Form_Activate() {
  m_document.Activate();
  picScrollBox_Resize();
}

bool frmImage::CopyImage() { return CopyToClipboard(m_document.Picture(), m_main.Ui(), this); }

void frmImage::Proprietes() {
  frmProprietes window(
      PhotoProperties::Of(m_document.filename(), m_document.ImageWidth(), m_document.ImageHeight()),
      &m_main);
  window.exec();
}

void frmImage::closeEvent(QCloseEvent* event) {
  m_main.lblStatus()->clear();
  if (!m_closeApproved && m_document.Dirty() && !QuerySave()) {
    event->ignore();
    return;
  }
  // This window is still in the list while it closes.
  if (m_main.Workspace()->subWindowList().size() <= 1) m_main.LastDocumentClosed();
  event->accept();
}

// ---- What the document reports ----

void frmImage::CaptionChanged(const QString& caption) { setWindowTitle(caption); }

void frmImage::SetStatus(const QString& message, const QString& title, const QString& size) {
  m_main.SetStatus(message, title, size);
}

void frmImage::ProgressMax(std::int32_t max) { m_main.ProgressMax(max); }
void frmImage::ProgressValue(std::int32_t value) { m_main.ProgressValue(value); }
void frmImage::ShowProgress(bool visible) { m_main.ShowProgress(visible); }

void frmImage::UndoAvailable(bool available) { m_main.BtAnnuler()->SetEnabled(available); }

void frmImage::Busy(bool busy) { m_main.SetHourglass(busy); }

void frmImage::MemoryWarning(const QString& text) {
  m_main.Ui().Message(text, MessageIcon::Stop, MessageButtons::Ok, this);
}

}  // namespace fotavel
