// The photo surface and the system clipboard.
#include "shell/SurfaceClipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QThread>

#include "dialogs/UiServices.h"
#include "io/PictureFiles.h"

namespace fotavel {

bool CopyToClipboard(const cDIBSection& surface, UiServices& ui, QWidget* owner, bool bAsDIB) {
  if (bAsDIB) {
    ui.Message(QCoreApplication::translate(
                   "fotavel::mfrmMain",
                   "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"),
               MessageIcon::None, MessageButtons::Ok, owner);
    return false;
  }
  const QImage picture = io::ImageFromSurface(surface);
  if (picture.isNull()) return false;
  // The clipboard owns the data from here; Qt offers it to other programs in
  // whatever image type they ask for.
  auto* data = new QMimeData;
  data->setImageData(picture);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setMimeData(data);
  const QMimeData* held = clipboard->mimeData();
  return held != nullptr && held->hasImage();
}

bool ClipboardDiesWithProgram() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

bool KeepClipboardAfterExit(const cDIBSection& surface, const QString& programFolder,
                            const QString& tempFile) {
  try {
    io::WriteBmp(surface, tempFile);
  } catch (const io::FileError&) {
    return false;
  }
  // The keeper removes the file once it has read it.
  if (!QProcess::startDetached(programFolder + QStringLiteral("/fotavel-presse-papiers"),
                               {tempFile})) {
    QFile::remove(tempFile);
    return false;
  }
  // Wait until the keeper owns the clipboard, so that there is no moment
  // when nobody serves the picture.
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QDeadlineTimer deadline(5000);
  while (clipboard->ownsClipboard() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
    QThread::msleep(10);
  }
  return !clipboard->ownsClipboard();
}

cDIBSection PictureFromClipboard() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QImage picture =
      data != nullptr && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
  if (picture.isNull()) {
    throw io::FileError(io::FileErrors::kRead,
                        QCoreApplication::translate("fotavel::mfrmMain",
                                                    "le presse-papiers ne contient pas d'image"),
                        QString(), "SurfaceClipboard");
  }
  return io::SurfaceFromImage(picture);
}

}  // namespace fotavel
