// The main window's file commands: open a photo, save, the JPEG quality, copy and paste,
// activation.
#include <QCoreApplication>
#include <QFile>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <optional>

#include "dialogs/GCommonDialog.h"
#include "dialogs/fSauvJpg.h"
#include "document/LosslessMessages.h"
#include "document/Messages.h"
#include "io/PictureFiles.h"
#include "io/SaveFormats.h"
#include "shell/Failures.h"
#include "shell/SurfaceClipboard.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

frmImage* mfrmMain::OpenPhoto(const QString& path, bool asCopy) {
  auto* document = new frmImage(*this);
  if (!document->OpenFile(path, asCopy)) {
    delete document;
    return nullptr;
  }
  ShowDocument(document);
  return document;
}

void mfrmMain::ShowDocument(frmImage* document) {
  // The workspace's own size follows what was just shown or hidden beside it
  // (the explorer steps aside before a photo opens) only once its layouts
  // have run.
  for (QWidget* w = m_mdi->parentWidget(); w != nullptr && w != this; w = w->parentWidget()) {
    if (w->layout() != nullptr) w->layout()->activate();
  }
  QMdiSubWindow* window = m_mdi->addSubWindow(document);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowIcon(windowIcon());
  window->show();
  // The frame's own size is known once the window shows.
  const QSize frame = window->size() - document->size();
  const QSize room = m_mdi->viewport()->size();
  QSize wanted = document->SizeShowingPhoto() + frame;
  if (wanted.width() > room.width() || wanted.height() > room.height()) {
    document->FitZoomWithin(room - frame);
    wanted = document->SizeShowingPhoto() + frame;
  }
  // A small photo still gets a window a person can take hold of.
  constexpr QSize kSmallest(200, 150);
  const QSize size(
      std::clamp(wanted.width(), kSmallest.width(), std::max(kSmallest.width(), room.width())),
      std::clamp(wanted.height(), kSmallest.height(), std::max(kSmallest.height(), room.height())));
  window->resize(size);
  // Where the workspace placed it, moved in as far as it takes to be seen whole.
  window->move(std::clamp(window->x(), 0, std::max(0, room.width() - size.width())),
               std::clamp(window->y(), 0, std::max(0, room.height() - size.height())));
  m_mdi->setActiveSubWindow(window);
  document->picScrollBox_Resize();
}

void mfrmMain::EnregistrerSous() {
  if (frmImage* document = ImageActive()) document->SaveFile();
}

namespace {

// The format a name saved with a quality asks for: WebP and AVIF by their
// extensions, JPEG otherwise.
io::SaveFormat QualityFormatFor(const QString& path) {
  io::SaveFormat format = io::SaveFormat::Jpeg;
  const bool named = io::FormatForName(path, format);
  return named && (format == io::SaveFormat::Webp || format == io::SaveFormat::Avif)
             ? format
             : io::SaveFormat::Jpeg;
}

// A file's size as the user set its limit: in Ko of 1000 bytes, whole ones
// (so never more than the limit reads).
QString FileSizeText(std::uint64_t bytes) {
  return bytes < 1000 ? QCoreApplication::translate("fotavel::mfrmMain", "%1 octets").arg(bytes)
                      : QCoreApplication::translate("fotavel::mfrmMain", "%1 Ko").arg(bytes / 1000);
}

// Writes `path` as the quality dialog set it. Within a size limit the
// quality used and the file's size are said, and a photo that had to be
// made smaller for it too: the file then holds less than the window shows.
void SaveWithQuality(DocumentHost& host, PhotoDocument& document, const QString& path,
                     const io::EncodeSettings& settings, std::uint64_t maxBytes, QWidget* owner) {
  if (maxBytes == 0) {
    if (settings.format == io::SaveFormat::Jpeg) {
      document.FoncEregJPG(settings.quality, path);
    } else {
      document.SavePicture(path, settings);
    }
    return;
  }
  const SizeFitted fitted = document.SaveWithinSize(path, settings, maxBytes);
  const QString keep = QStringLiteral("#");
  host.SetStatus(
      QCoreApplication::translate("fotavel::mfrmMain", "Photo enregistrée en qualité %1 : %2")
          .arg(fitted.quality)
          .arg(FileSizeText(fitted.bytes)),
      keep, keep);
  if (fitted.halvings > 0) {
    host.Ui().Message(QCoreApplication::translate(
                          "fotavel::mfrmMain",
                          "Pour ne pas dépasser %1, la photo a été enregistrée en %2 x %3 "
                          "pixels.\r\nLa photo de la fenêtre garde sa taille.")
                          .arg(FileSizeText(maxBytes))
                          .arg(fitted.width)
                          .arg(fitted.height),
                      MessageIcon::Information, MessageButtons::Ok, owner);
  }
}

// A JPEG photo only turned since it was opened is saved by moving its
// blocks: nothing is lost and there is no quality to choose, so the quality
// dialog does not appear. When the blocks of some edge cannot move whole, the
// user chooses between cutting those edges off and the usual encode of the
// whole photo. Nothing when the usual road is to be taken; otherwise whether
// the photo was saved.
std::optional<bool> SaveByBlocks(const QString& path, frmImage& window, DocumentHost& host) {
  PhotoDocument& document = window.Document();
  const LosslessJpeg lossless = document.LosslessJpegSave();
  if (!lossless.possible) return std::nullopt;
  if (!lossless.perfect) {
    const MessageAnswer answer = host.Ui().Message(
        Messages::QuestionBordsCoupes(lossless.cutLeft, lossless.cutTop, document.ImageWidth(),
                                      document.ImageHeight(), lossless.width, lossless.height),
        MessageIcon::Question, MessageButtons::YesNoCancel, &window);
    if (answer == MessageAnswer::No) return std::nullopt;
    if (answer != MessageAnswer::Yes) return false;
  }
  try {
    document.SaveJpegLossless(path, !lossless.perfect);
  } catch (...) {
    ShowFailure(host.Ui(), std::current_exception(), &window);
    return false;
  }
  host.SetStatus(Messages::EnregistreeSansPerte(document.FileTitle()), document.FileTitle(),
                 QStringLiteral("#"));
  return true;
}

}  // namespace

bool mfrmMain::sauvjpgFct(const QString& path, frmImage& document) {
  const io::SaveFormat format = QualityFormatFor(path);
  if (format == io::SaveFormat::Jpeg) {
    if (const std::optional<bool> saved = SaveByBlocks(path, document, *this)) return *saved;
  }
  fSauvJpg dialog(this, format == io::SaveFormat::Webp);
  dialog.exec();
  if (dialog.Cancelled()) return false;
  try {
    SaveWithQuality(*this, document.Document(), path,
                    {.format = format, .quality = dialog.Def_JPG2(), .lossless = dialog.Lossless()},
                    dialog.MaxBytes(), this);
  } catch (...) {
    ShowFailure(m_ui, std::current_exception(), this);
    return false;
  }
  return true;
}

void mfrmMain::CopierPhoto() {
  frmImage* document = ImageActive();
  if (document != nullptr && !document->CopyImage()) {
    m_ui.Message(tr("La photo n'a pas pu être copiée dans le presse-papiers."),
                 MessageIcon::Exclamation, MessageButtons::Ok, this);
  }
}

// The clipboard's picture goes through a temporary bitmap file, the road
// every picture takes into a document; the file is removed whatever happens.
// Only taking the picture and writing that file are the paste's own
// failures: the new photo's document opens the file as every photo is
// opened, and says itself when it cannot.
void mfrmMain::CollerPhoto() {
  QString temp;
  try {
    const cDIBSection picture = PictureFromClipboard();
    temp = m_services.TempFileName(QStringLiteral("VBIM"));
    io::WriteBmp(picture, temp);
  } catch (...) {
    ShowFailure(m_ui, PasteFailureBox(std::current_exception()), this);
    if (!temp.isEmpty()) QFile::remove(temp);
    return;
  }
  OpenPhoto(temp, true);
  QFile::remove(temp);
}

}  // namespace fotavel
