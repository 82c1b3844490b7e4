// The explorer pane: its lists, the preview of the clicked photo, its two arrangements.
#include "shell/BarreExplorer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QStorageInfo>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "dialogs/UiServices.h"
#include "io/PictureFiles.h"

namespace fotavel {

const QString BarreExplorer::kPattern =
    QStringLiteral("*.jpg;*.jpeg;*.gif;*.wmf;*.bmp;*.heic;*.heif;*.avif;*.webp;*.tif;*.tiff");

namespace {

// The pane's fixed places, in pixels. The frame around the lists starts at
// kX0 from the pane's left edge; the layout measures everything from it.
constexpr int kX0 = 8;
constexpr int kTitleHeight = 26;
constexpr QRect kCadreExpl(kX0, 30, 220, 212);
constexpr QRect kShapeExplBas(kX0, 244, 220, 3);
constexpr QSize kShapePrevisu(220, 240);
constexpr QSize kPrevisuBox(160, 20);
constexpr QSize kCloseButton(22, 20);
// The status label's two heights, in twips: with the preview under its text,
// or a thin line when previews are off.
constexpr int kStatusTall = 2895;
constexpr int kStatusThin = 60;

std::int16_t Nearest16(double v) { return static_cast<std::int16_t>(std::nearbyint(v)); }

QFrame* DecorShape(QWidget* parent, const char* name, QFrame::Shape shape) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QString::fromUtf8(name));
  frame->setFrameShape(shape);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setAttribute(Qt::WA_TransparentForMouseEvents);
  return frame;
}

}  // namespace

BarreExplorer::BarreExplorer(UiServices& ui, QWidget* parent) : QFrame(parent), m_ui(ui) {
  setObjectName(QStringLiteral("BarreExplorer"));
  setFrameShape(QFrame::StyledPanel);
  BuildControls();
  m_volumes = MountedVolumes();
  Arrange(false, 15, 15);
}

void BarreExplorer::BuildControls() {
  m_barreMenuExpl = new QWidget(this);
  m_barreMenuExpl->setObjectName(QStringLiteral("BarreMenuExpl"));
  m_barreMenuExpl->setAutoFillBackground(true);
  m_barreMenuExpl->setBackgroundRole(QPalette::Highlight);
  m_ombreExplorer = DecorShape(this, "OmbreExplorer", QFrame::HLine);
  m_lblExplorerOmbre = new QLabel(tr("Explorer"), m_barreMenuExpl);
  m_lblExplorerOmbre->setObjectName(QStringLiteral("lblExplorerOmbre"));
  m_lblExplorerOmbre->setForegroundRole(QPalette::Shadow);
  m_lblExplorer = new QLabel(tr("Explorer"), m_barreMenuExpl);
  m_lblExplorer->setObjectName(QStringLiteral("lblExplorer"));
  m_lblExplorer->setForegroundRole(QPalette::HighlightedText);
  QFont bold = m_lblExplorer->font();
  bold.setBold(true);
  m_lblExplorer->setFont(bold);
  m_lblExplorerOmbre->setFont(bold);
  m_lblExplorerOmbre->move(kX0 + 1, 5);
  m_lblExplorer->move(kX0, 4);

  m_ouvrir = new QToolButton(m_barreMenuExpl);
  m_ouvrir->setObjectName(QStringLiteral("Ouvrir"));
  m_ouvrir->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  m_ouvrir->setToolTip(tr("Ouvrir une photo"));
  m_ouvrir->setGeometry(90, 3, kCloseButton.width(), kCloseButton.height());
  m_ouvrir->setEnabled(false);
  connect(m_ouvrir, &QToolButton::clicked, this, &BarreExplorer::OpenRequested);
  m_fermerExpl = new QToolButton(m_barreMenuExpl);
  m_fermerExpl->setObjectName(QStringLiteral("FermerExpl"));
  m_fermerExpl->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  m_fermerExpl->setToolTip(tr("Fermer l'Exploreur"));
  m_fermerExpl->resize(kCloseButton);
  connect(m_fermerExpl, &QToolButton::clicked, this, &BarreExplorer::CloseRequested);

  m_cadreExpl = DecorShape(this, "CadreExpl", QFrame::Box);
  m_cadreExpl->setGeometry(kCadreExpl);
  m_shapeExplBas = DecorShape(this, "ShapeExplBas", QFrame::HLine);
  m_shapeExplBas->setGeometry(kShapeExplBas);
  m_shapePrevisu = DecorShape(this, "ShapePrévisu", QFrame::Box);
  m_shapePrevisu->resize(kShapePrevisu);
  m_previsuFerme = DecorShape(this, "PrévisuFermé", QFrame::HLine);
  m_previsuFerme->resize(kShapePrevisu.width(), 2);

  const int inner = kCadreExpl.width() - 12;
  m_lecteur = new QComboBox(this);
  m_lecteur->setObjectName(QStringLiteral("Lecteur"));
  m_lecteur->setGeometry(kX0 + 6, 36, inner, 24);
  connect(m_lecteur, &QComboBox::activated, this, &BarreExplorer::Lecteur_Change);
  m_repertoire = new QListWidget(this);
  m_repertoire->setObjectName(QStringLiteral("Repertoire"));
  m_repertoire->setGeometry(kX0 + 6, 64, inner, 84);
  m_repertoire->setIconSize(QSize(16, 16));
  connect(m_repertoire, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    Repertoire_Change(item->data(Qt::UserRole).toString());
  });
  m_fichier = new QListWidget(this);
  m_fichier->setObjectName(QStringLiteral("Fichier"));
  m_fichier->setGeometry(kX0 + 6, 152, inner, 86);
  // A click or the arrow keys select; a double click or Enter opens.
  connect(m_fichier, &QListWidget::currentItemChanged, this,
          [this](QListWidgetItem* item) { Fichier_Click(item); });
  connect(m_fichier, &QListWidget::itemActivated, this, &BarreExplorer::Fichier_DblClick);

  m_previsu = new QCheckBox(tr("Prévisualisation"), this);
  m_previsu->setObjectName(QStringLiteral("previsu"));
  m_previsu->setChecked(true);
  m_previsu->resize(kPrevisuBox);
  connect(m_previsu, &QCheckBox::clicked, this, &BarreExplorer::previsu_Click);

  m_statusB = new QLabel(this);
  m_statusB->setObjectName(QStringLiteral("StatusB"));
  m_statusB->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_statusB->setWordWrap(true);
  m_statusB->setFrameShape(QFrame::StyledPanel);
  m_statusB->resize(kShapePrevisu.width(), 193);

  m_visioImg = new QLabel(this);
  m_visioImg->setObjectName(QStringLiteral("VisioImg"));
  m_visioImg->setToolTip(tr("Cliquez sur la photo pour l'ouvrir"));
  m_visioImg->setAlignment(Qt::AlignCenter);
  m_visioImg->setCursor(Qt::PointingHandCursor);
  m_visioImg->resize(kLargeurPrevisu, kHauteurPrevisu);
  m_visioImg->installEventFilter(this);
  m_visioImg->hide();
}

QList<ExplorerVolume> BarreExplorer::MountedVolumes() {
  QList<ExplorerVolume> volumes;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid()) continue;
    const QString root = volume.rootPath();
    const QString label = volume.displayName();
    volumes.push_back({label == root ? root : label + QStringLiteral(" (") + root + u')', root});
  }
  return volumes;
}

void BarreExplorer::SetVolumes(QList<ExplorerVolume> volumes) {
  m_volumes = std::move(volumes);
  m_lecteur->clear();
  for (const ExplorerVolume& volume : m_volumes) m_lecteur->addItem(volume.name);
  if (!m_folder.isEmpty()) m_lecteur->setCurrentIndex(SelectVolumeOf(m_folder));
}

// The volume whose root is the longest start of `folder`.
int BarreExplorer::SelectVolumeOf(const QString& folder) {
  int best = -1;
  qsizetype bestLength = -1;
  const QString clean = QDir::cleanPath(folder);
  for (int i = 0; i < m_volumes.size(); ++i) {
    const QString root = QDir::cleanPath(m_volumes[i].root);
    const bool inside = clean == root || clean.startsWith(AjouterSeparateur(root).replace(
                                             QLatin1Char('\\'), QLatin1Char('/')));
    if (inside && root.size() > bestLength) {
      best = i;
      bestLength = root.size();
    }
  }
  m_volumeIndex = best;
  return best;
}

void BarreExplorer::SetFolder(const QString& folder) {
  if (m_lecteur->count() != m_volumes.size()) SetVolumes(m_volumes);
  m_lecteur->setCurrentIndex(SelectVolumeOf(folder));
  Repertoire_Change(folder);
  m_statusB->setText(tr("Sélectionnez une photo."));
}

void BarreExplorer::SelectPhoto(const QString& path) {
  const QFileInfo photo(path);
  SetFolder(photo.absolutePath());
  const QList<QListWidgetItem*> found = m_fichier->findItems(photo.fileName(), Qt::MatchExactly);
  if (!found.isEmpty()) m_fichier->setCurrentItem(found.front());
}

void BarreExplorer::Lecteur_Change(int index) {
  m_statusB->clear();
  HidePreview();
  m_ouvrir->setEnabled(false);
  if (index < 0 || index >= m_volumes.size()) return;
  const ExplorerVolume chosen = m_volumes[index];
  const QFileInfo root(chosen.root);
  // An empty card reader or a vanished network share: back to where we were.
  if (!root.isDir() || !root.isReadable() || !QDir(chosen.root).exists()) {
    m_lecteur->setCurrentIndex(m_volumeIndex);
    m_ui.Message(tr("Le lecteur ") + chosen.name + tr(" n'est pas prêt !"), MessageIcon::None,
                 MessageButtons::Ok, window(), tr("Erreur"));
    return;
  }
  m_volumeIndex = index;
  Repertoire_Change(chosen.root);
}

void BarreExplorer::Repertoire_Change(const QString& folder) {
  m_statusB->clear();
  m_folder = QDir::cleanPath(QDir(folder).absolutePath());
  FillFolders();
  FillFiles();
  HidePreview();
  m_ouvrir->setEnabled(false);
}

// The way down from the volume's root to the folder, then the folder's own
// subfolders one step further in; each entry leads where it names.
void BarreExplorer::FillFolders() {
  m_repertoire->clear();
  QStringList chain;
  for (QDir up(m_folder);;) {
    chain.prepend(up.absolutePath());
    if (up.isRoot() || !up.cdUp()) break;
  }
  int depth = 0;
  const auto add = [this](const QString& path, int indent, bool current) {
    const QString name = QFileInfo(path).fileName();
    auto* item = new QListWidgetItem(
        QString(indent * 2, QLatin1Char(' ')) + (name.isEmpty() ? path : name), m_repertoire);
    item->setData(Qt::UserRole, path);
    item->setIcon(style()->standardIcon(current ? QStyle::SP_DirOpenIcon : QStyle::SP_DirIcon));
    if (current) m_repertoire->setCurrentItem(item);
  };
  for (const QString& path : chain) add(path, depth++, path == chain.last());
  const int current = m_repertoire->currentRow();
  const QDir here(m_folder);
  for (const QString& name :
       here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    add(here.filePath(name), depth, false);
  }
  m_repertoire->scrollToItem(m_repertoire->item(current), QAbstractItemView::PositionAtTop);
}

void BarreExplorer::FillFiles() {
  const QSignalBlocker quiet(m_fichier);
  m_fichier->clear();
  // Without QDir::CaseSensitive the patterns match whatever the case: a
  // camera's IMG_0001.JPG is a photo too.
  const QStringList names =
      QDir(m_folder).entryList(kPattern.split(QLatin1Char(';')), QDir::Files | QDir::Readable,
                               QDir::Name | QDir::IgnoreCase);
  m_fichier->addItems(names);
  m_fichier->setCurrentRow(-1);
}

void BarreExplorer::Fichier_Click(QListWidgetItem* item) {
  if (item == nullptr) return;
  m_photoSelectionnee = AjouterSeparateur(m_folder) + item->text();
  if (!m_previsu->isChecked()) {
    HidePreview();
    SetStatusHeight(kStatusThin);
    m_ouvrir->setEnabled(true);
    return;
  }
  PrevisualiserPhoto();
}

void BarreExplorer::Fichier_DblClick(QListWidgetItem* item) {
  if (item == nullptr) return;
  m_photoSelectionnee = AjouterSeparateur(m_folder) + item->text();
  emit OpenRequested();
}

void BarreExplorer::previsu_Click(bool ticked) {
  if (!ticked) {
    HidePreview();
    if (!m_photoSelectionnee.isEmpty()) m_ouvrir->setEnabled(true);
    SetStatusHeight(kStatusThin);
    return;
  }
  m_statusB->clear();
  SetStatusHeight(kStatusTall);
  if (!m_photoSelectionnee.isEmpty()) PrevisualiserPhoto();
}

void BarreExplorer::PrevisualiserPhoto() {
  emit Busy(true);
  const QString name = QFileInfo(m_photoSelectionnee).fileName();
  m_statusB->setText(tr("Prévisualisation en cours...\n") + name);
  // Only the label is drawn before the reading: a whole round of the event
  // loop could run a click on the next photo in the middle of this one.
  m_statusB->repaint();
  m_visioImg->clear();
  QPixmap shown;
  try {
    const cDIBSection preview =
        io::ReadPreview(m_photoSelectionnee, kLargeurPrevisu, kHauteurPrevisu);
    // The copies for the screen come null when their memory cannot be had:
    // no preview then, rather than an empty one.
    shown = QPixmap::fromImage(io::ImageFromSurface(preview));
  } catch (const io::FileError&) {
    // Said below, as any preview that cannot be shown.
  }
  if (!shown.isNull()) {
    m_visioImg->setPixmap(shown);
    m_visioImg->show();
    m_ouvrir->setEnabled(true);
    m_statusB->setText(name);
  } else {
    // The pane has no room for the reason; opening the photo says it.
    m_visioImg->hide();
    m_statusB->setText(tr("Erreur !"));
  }
  emit Busy(false);
}

void BarreExplorer::HidePreview() {
  m_visioImg->hide();
  m_visioImg->clear();
}

void BarreExplorer::AfterOpening() {
  m_statusB->clear();
  HidePreview();
  m_photoSelectionnee.clear();
  FillFiles();
  m_ouvrir->setEnabled(false);
}

void BarreExplorer::SetStatusHeight(int twips) {
  m_statusB->resize(m_statusB->width(), std::max(1, int(std::lround(twips / m_twipsPerPixelY))));
}

void BarreExplorer::Arrange(bool compact, double twipsPerPixelX, double twipsPerPixelY) {
  m_twipsPerPixelY = twipsPerPixelY;
  const int x0 = m_cadreExpl->x();
  const int c = Nearest16((m_statusB->width() - m_visioImg->width()) / 2.0);
  const int across = 2 * x0 + m_cadreExpl->width();
  if (compact) {
    setFixedWidth(2 * across - x0);
    m_shapePrevisu->move(across, m_cadreExpl->y());
  } else {
    setFixedWidth(across);
    m_shapePrevisu->move(x0, m_shapeExplBas->y() + m_shapeExplBas->height() + x0);
  }
  m_previsu->move(m_shapePrevisu->x() + x0, m_shapePrevisu->y() + x0);
  m_statusB->move(m_shapePrevisu->x(), m_previsu->y() + m_previsu->height() + x0);
  m_previsuFerme->move(m_statusB->x(), m_statusB->y() - int(std::lround(30 / twipsPerPixelY)));
  m_visioImg->move(m_statusB->x() + c,
                   m_statusB->y() + m_statusB->height() - m_visioImg->height() - c);
  const int gap = int(std::lround(45 / twipsPerPixelX));
  m_fermerExpl->move(m_statusB->x() + m_statusB->width() - m_fermerExpl->width() - gap,
                     (kTitleHeight - m_fermerExpl->height()) / 2);
  const int titleWidth = m_fermerExpl->x() + m_fermerExpl->width() + gap - m_barreMenuExpl->x();
  m_barreMenuExpl->setGeometry(0, 0, titleWidth, kTitleHeight);
  m_ombreExplorer->setGeometry(0, kTitleHeight, titleWidth, 3);
}

QString BarreExplorer::AjouterSeparateur(const QString& path) {
  const QString trimmed = path.trimmed();
  if (trimmed.endsWith(QLatin1Char('/')) || trimmed.endsWith(QLatin1Char('\\'))) return path;
  // Our separator: the path is handed to this system's file functions.
  QString end = path;
  while (!end.isEmpty() && end.back().isSpace()) end.chop(1);
  return end + QLatin1Char('/');
}

bool BarreExplorer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_visioImg && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    emit OpenRequested();
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace fotavel
