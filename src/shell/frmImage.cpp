// A document window's files and state: open, save, the close question, activation, the document's
// reports.
#include "shell/frmImage.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "dialogs/GCommonDialog.h"
#include "dialogs/UiServices.h"
#include "dialogs/frmProprietes.h"
#include "document/Messages.h"
#include "shell/CropTool.h"
#include "shell/Failures.h"
#include "shell/RedEyeTool.h"
#include "shell/StraightenTool.h"
#include "shell/SurfaceClipboard.h"

namespace fotavel {

namespace {
QString SaveFilter() {
  return QCoreApplication::translate(
      "fotavel::frmImage",
      "Fichiers Bitmap (*.BMP)|*.BMP|Fichiers Jpeg (*.JPG)|*.JPG|Fichiers PNG (*.PNG)|*.PNG|"
      "Fichiers WebP (*.WEBP)|*.WEBP|Fichiers AVIF (*.AVIF)|*.AVIF|"
      "Fichiers TIFF (*.TIF)|*.TIF;*.TIFF|Tous les fichiers (*.*)|*.*");
}

// The entry of SaveFilter() shown first: the JPEG's, unless the photo is
// offered under a name of another type the program writes.
std::int32_t SaveFilterIndexFor(const QString& name) {
  switch (PhotoDocument::SaveKindFor(name)) {
    case SaveKind::Png:
      return 3;
    case SaveKind::Webp:
      return 4;
    case SaveKind::Avif:
      return 5;
    case SaveKind::Tiff:
      return 6;
    default:
      return 2;
  }
}

// Whether the file's size follows a quality the user is asked for.
bool AsksQuality(SaveKind kind) {
  return kind == SaveKind::Jpeg || kind == SaveKind::Webp || kind == SaveKind::Avif;
}

// Writes what needs no question: a file without loss (PNG, TIFF) or a bitmap.
void SaveWithoutQuestion(PhotoDocument& document, const QString& name, SaveKind kind) {
  if (kind == SaveKind::Png || kind == SaveKind::Tiff) {
    document.SavePicture(
        name, {.format = kind == SaveKind::Png ? io::SaveFormat::Png : io::SaveFormat::Tiff});
  } else {
    document.SaveBitmap(name);
  }
}
}  // namespace

frmImage::frmImage(DocumentHost& host) : m_host(host), m_document(host.Services(), this) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(m_document.Caption());
  BuildView();
}

frmImage::~frmImage() { m_document.SetObserver(nullptr); }

bool frmImage::OpenFile(const QString& sFile, bool bIsTemp) {
  try {
    m_document.OpenFile(sFile, bIsTemp);
  } catch (...) {
    ShowFailure(m_host.Ui(), std::current_exception(), this);
    return false;
  }
  picScrollBox_Resize();
  return true;
}

bool frmImage::SaveFile() {
  GCommonDialog dialog(m_host.Ui());
  QString name = m_document.DefaultSaveName();
  QString title;
  QString filter = SaveFilter();
  std::int32_t filterIndex = SaveFilterIndexFor(name);
  std::int32_t flags = 0;
  if (!dialog.VBGetSaveFileName(name, title, true, filter, filterIndex, QString(),
                                tr("Enregistrer la photo"), QStringLiteral("JPG"), this, flags)) {
    return false;
  }
  const SaveKind kind = PhotoDocument::SaveKindFor(name);
  // A cancelled quality dialog writes nothing, so the photo stays unsaved
  // under its old name rather than being called saved.
  if (AsksQuality(kind)) return m_host.sauvjpgFct(name, *this);

  try {
    SaveWithoutQuestion(m_document, name, kind);
  } catch (...) {
    ShowFailure(m_host.Ui(), std::current_exception(), this);
    return false;
  }
  if (kind == SaveKind::BmpInstead) {
    m_host.Ui().Message(Messages::kFormatIncompatible, MessageIcon::None, MessageButtons::Ok, this);
  }
  return true;
}

bool frmImage::QuerySave() {
  const MessageAnswer answer =
      m_host.Ui().Message(Messages::QuerySave(m_document.FileTitle(), m_host.EditorMode()),
                          MessageIcon::Question, MessageButtons::YesNoCancel, this);
  switch (answer) {
    case MessageAnswer::Yes:
      // For the poster editor the photo goes back through the clipboard.
      return m_host.EditorMode() ? m_host.RendrePhoto(*this) : SaveFile();
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

bool frmImage::CopyImage() { return CopyToClipboard(m_document.Picture(), m_host.Ui(), this); }

void frmImage::Proprietes() {
  frmProprietes properties(
      PhotoProperties::Of(m_document.filename(), m_document.ImageWidth(), m_document.ImageHeight()),
      window());
  properties.exec();
}

void frmImage::closeEvent(QCloseEvent* event) {
  m_host.SetStatus(QString(), QStringLiteral("#"), QStringLiteral("#"));
  if (!m_closeApproved && m_document.Dirty() && !QuerySave()) {
    event->ignore();
    return;
  }
  m_host.DocumentClosing(*this);
  event->accept();
}

// ---- The modes on the photo: crop, straighten and red eyes ----
// One mode at a time: each takes the mouse over the photo and a strip over
// its top, so starting one leaves the others. The zoom tool and the area blur
// give way too; the view buttons stay usable.

void frmImage::LeaveModes() {
  if (m_crop != nullptr) m_crop->Leave();
  if (m_straighten != nullptr) m_straighten->Leave();
  if (m_redEyes != nullptr) m_redEyes->Leave();
}

void frmImage::ShowMode(QWidget* overlay, QWidget* strip) {
  overlay->setGeometry(m_image1->rect());
  overlay->show();
  overlay->raise();
  strip->show();
  strip->raise();
  overlay->setFocus();
}

QWidget* frmImage::NewModeStrip(const QString& name, QObject* keys) {
  auto* strip = new QWidget(m_picScrollBox);
  strip->setObjectName(name);
  strip->setPalette(palette());
  strip->setAutoFillBackground(true);
  strip->installEventFilter(keys);
  strip->hide();
  return strip;
}

void frmImage::HideMode(QWidget* overlay, QWidget* strip) {
  overlay->hide();
  strip->hide();
  m_image1->setFocus();
  m_host.SetStatus(QString(), QStringLiteral("#"), QStringLiteral("#"));
}

void frmImage::Recadrer_Click() {
  if (m_crop != nullptr && m_crop->Active()) {
    m_crop->Leave();
    return;
  }
  if (m_document.Picture().empty()) return;
  LeaveModes();
  SetMousePointer(kPointerNormal);
  if (m_crop == nullptr) m_crop = new CropTool(*this);
  m_crop->Start();
}

void frmImage::Redresser_Click() {
  if (m_straighten != nullptr && m_straighten->Active()) {
    m_straighten->Leave();
    return;
  }
  LeaveModes();
  if (m_straighten == nullptr) m_straighten = new StraightenTool(*this, m_host);
  m_straighten->Start();
}

void frmImage::YeuxRouges_Click() {
  if (m_redEyes != nullptr && m_redEyes->Active()) {
    m_redEyes->Leave();
    return;
  }
  if (m_document.Picture().empty()) return;
  LeaveModes();
  SetMousePointer(kPointerNormal);
  if (m_redEyes == nullptr) m_redEyes = new RedEyeTool(*this, m_host);
  m_redEyes->Start();
}

// ---- What the document reports ----

void frmImage::CaptionChanged(const QString& caption) { setWindowTitle(caption); }

void frmImage::SetStatus(const QString& message, const QString& title, const QString& size) {
  m_host.SetStatus(message, title, size);
}

void frmImage::ProgressMax(std::int32_t max) { m_host.ProgressMax(max); }
void frmImage::ProgressValue(std::int32_t value) { m_host.ProgressValue(value); }
void frmImage::ShowProgress(bool visible) { m_host.ShowProgress(visible); }

// Each report is of one of the two; the document's own state gives the other.
void frmImage::UndoAvailable(bool available) { m_host.UndoState(available, m_document.CanRedo()); }

void frmImage::RedoAvailable(bool available) { m_host.UndoState(m_document.CanUndo(), available); }

void frmImage::Busy(bool busy) { m_host.SetHourglass(busy); }

void frmImage::MemoryWarning(const QString& text) {
  m_host.Ui().Message(text, MessageIcon::Stop, MessageButtons::Ok, this);
}

}  // namespace fotavel
