// The about window: the program's name and version, its maker, the web site and the licence.
#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>

class QLabel;

namespace fotavel {

class bouton;
class UiServices;

// Modal, made anew for each showing. Adapts itself to a large-font screen at
// its first activation.
class FormAide : public QDialog {
  Q_OBJECT

 public:
  // The licence is looked for from `programFolder` (LicencePath); a message that it cannot
  // be shown goes through `ui`.
  FormAide(UiServices& ui, QString programFolder, QWidget* parent = nullptr);

  // The licence text's file name, beside the program.
  static const QString kLicenceFile;
  // Where the licence of the program in `programFolder` is: beside it (the
  // build tree, a portable copy), else in the documentation folder of the
  // installation it belongs to; the path beside it when neither holds one.
  static QString LicencePath(const QString& programFolder);

  // The test seam: how the window hands the web site's address or the
  // licence's file URL to the desktop, true when the desktop took it.
  // QDesktopServices::openUrl (the user's browser, the text editor the
  // desktop chooses for a .txt) unless a test puts a recorder here.
  std::function<bool(const QUrl&)> OpenUrl;

  QLabel* lblVersion() const { return m_lblVersion; }
  QLabel* GoSite() const { return m_goSite; }
  QLabel* Licence() const { return m_licence; }
  bouton* fermeraide() const { return m_fermeraide; }

  // What the two links do.
  void GoSite_Click();
  // The licence in the desktop's viewer for text files; when the file is
  // missing or the desktop cannot open it, a message saying so.
  void Licence_Click();

 private:
  UiServices& m_ui;
  QString m_programFolder;
  QLabel* m_lblVersion = nullptr;
  QLabel* m_goSite = nullptr;
  QLabel* m_licence = nullptr;
  bouton* m_fermeraide = nullptr;
};

}  // namespace fotavel
