// The logo settings dialog: which picture is the logo, and where, how large, how translucent and
// how turned it is stamped.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <utility>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace fotavel {

class UiServices;

// Where the dialog keeps what it sets. Reading and writing the settings and
// the logo files are the application's own (this layer does not know the
// files' syntax); what cannot be stored is thrown as the program's Error and
// told to the user the way the application tells every failure.
struct LogoParamFiles {
  // The folder of the logo picture (logo.<ext>) and the settings file.
  QString paramFolder;
  // The value of one key of the settings file; empty when absent.
  std::function<QString(const QString& key)> lireParamIni;
  // Stores the picture `chosen` as logo.<extension> (none when `chosen` is
  // empty) and rewrites the settings file whole with these key and value
  // pairs, in order; throws, the stored logo and settings as they were.
  std::function<void(const QString& chosen, const QString& extension,
                     const QList<std::pair<QString, QString>>& entries)>
      enregistrer;
  // Deletes every stored logo; throws when one stays.
  std::function<void()> effacer;
  // Whether a logo is stored, which "effacer" would delete.
  std::function<bool()> logoStocke;
  // Tells the user of a failure of the two above, in a box owned by `owner`.
  std::function<void(std::exception_ptr failure, QWidget* owner)> signaler;
};

// Made for one opening, shown with exec(). OK stores the chosen picture as
// logo.<ext> in the param folder, rewrites the six settings and sets
// `logoPret`; a confirmed "effacer" deletes the stored logo and clears it.
// When a file cannot be read or written the dialog says so and stays open,
// with the logo and the settings as they were.
class frmParamLogo : public QDialog {
  Q_OBJECT

 public:
  frmParamLogo(UiServices& ui, LogoParamFiles files, bool& logoPret, QWidget* owner = nullptr);

  // False only once OK has stored everything.
  bool Cancelled() const { return m_cancelled; }

  // The live text of a position bar at value `v`.
  static QString TextDistX(int v);
  static QString TextDistY(int v);

  QLineEdit* txtFilename() const { return m_txtFilename; }
  QPushButton* cmdOpen() const { return m_cmdOpen; }
  QPushButton* effacer() const { return m_effacer; }
  QScrollBar* distX() const { return m_distX; }
  QScrollBar* DistY() const { return m_distY; }
  QScrollBar* taille() const { return m_taille; }
  QScrollBar* transparence() const { return m_transparence; }
  QScrollBar* angle() const { return m_angle; }
  QLabel* distX_pourcentage() const { return m_distXPourcentage; }
  QLabel* distY_pourcentage() const { return m_distYPourcentage; }
  QLabel* taille_pourcentage() const { return m_taillePourcentage; }
  QLabel* trans_pourcentage() const { return m_transPourcentage; }
  QLabel* angle_pourcentage() const { return m_anglePourcentage; }
  QPushButton* cmdOK() const { return m_cmdOK; }
  QPushButton* cmdCancel() const { return m_cmdCancel; }

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void cmdOpen_Click();
  void cmdOK_Click();
  void effacer_Click();

 private:
  void BuildControls();
  // The bars and the extension from the settings file, when there is one.
  void LoadSettings();
  // The logo files in the param folder, whatever the case of their names.
  // Stores the picture named in txtFilename and the settings; false, after
  // saying why, when something could not be read or written.
  bool Store();

  UiServices& m_ui;
  LogoParamFiles m_files;
  bool& m_logoPret;
  QString m_extension;
  bool m_cancelled = true;

  QLineEdit* m_txtFilename = nullptr;
  QPushButton* m_cmdOpen = nullptr;
  QPushButton* m_effacer = nullptr;
  QLabel* m_picture1 = nullptr;
  QScrollBar* m_distX = nullptr;
  QScrollBar* m_distY = nullptr;
  QScrollBar* m_taille = nullptr;
  QScrollBar* m_transparence = nullptr;
  QScrollBar* m_angle = nullptr;
  QLabel* m_distXPourcentage = nullptr;
  QLabel* m_distYPourcentage = nullptr;
  QLabel* m_taillePourcentage = nullptr;
  QLabel* m_transPourcentage = nullptr;
  QLabel* m_anglePourcentage = nullptr;
  QPushButton* m_cmdCancel = nullptr;
  QPushButton* m_cmdOK = nullptr;
};

}  // namespace fotavel
