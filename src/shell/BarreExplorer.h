// The explorer pane: volumes, folders and photos of the disk, a preview of the one clicked.
#pragma once

#include <QFrame>
#include <QList>
#include <QString>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QToolButton;

namespace fotavel {

class UiServices;

// One entry of the volume list: what the user reads and where it starts.
struct ExplorerVolume {
  QString name;
  QString root;
};

// Browses and previews on its own; opening and hiding belong to the main
// window, which it asks through its signals. Lengths are pixels.
class BarreExplorer : public QFrame {
  Q_OBJECT

 public:
  // The largest preview, in pixels: the inner size of the preview area.
  static constexpr int kLargeurPrevisu = 200;
  static constexpr int kHauteurPrevisu = 150;
  static const QString kPattern;  // the photos the file list shows

  BarreExplorer(UiServices& ui, QWidget* parent);

  // The volumes offered in `Lecteur`: the mounted ones by default. Tests and
  // machines with odd mounts may set their own list.
  void SetVolumes(QList<ExplorerVolume> volumes);
  static QList<ExplorerVolume> MountedVolumes();
  // Points the three lists at `folder` (its volume, itself, its photos).
  void SetFolder(const QString& folder);
  QString Folder() const { return m_folder; }
  // Shows the folder of the photo at `path` and selects it, as a click on it does.
  void SelectPhoto(const QString& path);

  const QString& PhotoSelectionnee() const { return m_photoSelectionnee; }
  // What is left once the selected photo was opened (or refused): no
  // selection, no preview, the file list read again.
  void AfterOpening();

  // The two arrangements of the pane: the preview below the lists, or beside
  // them in a low window. `twipsPerPixel` converts the pane's fixed twip
  // distances.
  void Arrange(bool compact, double twipsPerPixelX, double twipsPerPixelY);

  // `path` with a separator at its end, unless it already has one (trailing
  // blanks dropped first).
  static QString AjouterSeparateur(const QString& path);

  QComboBox* Lecteur() const { return m_lecteur; }
  QListWidget* Repertoire() const { return m_repertoire; }
  QListWidget* Fichier() const { return m_fichier; }
  QCheckBox* previsu() const { return m_previsu; }
  QLabel* VisioImg() const { return m_visioImg; }
  QToolButton* Ouvrir() const { return m_ouvrir; }
  QToolButton* FermerExpl() const { return m_fermerExpl; }
  QLabel* StatusB() const { return m_statusB; }

 signals:
  // `Ouvrir`, a click on the preview or a double click on a photo.
  void OpenRequested();
  // `FermerExpl`.
  void CloseRequested();
  // The hourglass while a preview is read.
  void Busy(bool busy);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void Lecteur_Change(int index);
  void Repertoire_Change(const QString& folder);
  void FillFolders();
  void FillFiles();
  void Fichier_Click(QListWidgetItem* item);
  void Fichier_DblClick(QListWidgetItem* item);
  void previsu_Click(bool ticked);
  void PrevisualiserPhoto();
  void HidePreview();
  void SetStatusHeight(int twips);
  int SelectVolumeOf(const QString& folder);

  UiServices& m_ui;
  QList<ExplorerVolume> m_volumes;
  QString m_folder;
  QString m_photoSelectionnee;
  int m_volumeIndex = -1;
  double m_twipsPerPixelY = 15;

  QWidget* m_barreMenuExpl = nullptr;
  QWidget* m_ombreExplorer = nullptr;
  QLabel* m_lblExplorer = nullptr;
  QLabel* m_lblExplorerOmbre = nullptr;
  QFrame* m_cadreExpl = nullptr;
  QFrame* m_shapeExplBas = nullptr;
  QFrame* m_shapePrevisu = nullptr;
  QFrame* m_previsuFerme = nullptr;
  QComboBox* m_lecteur = nullptr;
  QListWidget* m_repertoire = nullptr;
  QListWidget* m_fichier = nullptr;
  QCheckBox* m_previsu = nullptr;
  QLabel* m_visioImg = nullptr;
  QToolButton* m_ouvrir = nullptr;
  QToolButton* m_fermerExpl = nullptr;
  QLabel* m_statusB = nullptr;
};

}  // namespace fotavel
