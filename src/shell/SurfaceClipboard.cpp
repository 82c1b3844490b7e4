// The photo surface and the system clipboard.
#include "shell/SurfaceClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "dialogs/UiServices.h"
#include "io/PictureFiles.h"

namespace fotavel {

bool CopyToClipboard(const cDIBSection& surface, UiServices& ui, QWidget* owner, bool bAsDIB) {
  if (bAsDIB) {
    ui.Message(
        QStringLiteral("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"),
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

bool PictureFromClipboard(cDIBSection& out, QString& error) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QImage picture =
      data != nullptr && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
  if (picture.isNull()) {
    error = QStringLiteral("le presse-papiers ne contient pas d'image");
    return false;
  }
  return io::SurfaceFromImage(picture, out, error);
}

}  // namespace fotavel
