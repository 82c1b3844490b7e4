// The main window's file commands: open a photo, save, the JPEG quality, copy and paste,
// activation.
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

#include "dialogs/GCommonDialog.h"
#include "dialogs/fSauvJpg.h"
#include "document/Messages.h"
#include "io/PictureFiles.h"
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
  QMdiSubWindow* window = m_mdi->addSubWindow(document);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowIcon(windowIcon());
  window->show();
  // Big enough for the photo at its fitting zoom, within the workspace; the
  // frame's own size is known once the window shows.
  const QSize frame = window->size() - document->size();
  const QSize wanted = document->Image1()->size() + QSize(4, 4) + frame;
  const QSize room = m_mdi->viewport()->size();
  window->resize(std::clamp(wanted.width(), 200, std::max(200, room.width())),
                 std::clamp(wanted.height(), 150, std::max(150, room.height())));
  m_mdi->setActiveSubWindow(window);
  document->picScrollBox_Resize();
  return document;
}

void mfrmMain::EnregistrerSous() {
  if (frmImage* document = ImageActive()) document->SaveFile();
}

bool mfrmMain::sauvjpgFct(const QString& path, frmImage& document) {
  fSauvJpg dialog(this);
  dialog.exec();
  if (dialog.Cancelled()) return false;
  try {
    document.Document().FoncEregJPG(dialog.Def_JPG2(), path);
  } catch (...) {
    ShowFailure(m_ui, std::current_exception(), this);
    return false;
  }
  return true;
}

void mfrmMain::CopierPhoto() {
  frmImage* document = ImageActive();
  if (document != nullptr && !document->CopyImage()) {
    m_ui.Message(QStringLiteral("La photo n'a pas pu être copiée dans le presse-papiers."),
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
