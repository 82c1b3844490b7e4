// The logo settings dialog's controls, its live texts, and the storing and deleting of the logo.
#include "dialogs/frmParamLogo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>

#include "dialogs/GCommonDialog.h"
#include "dialogs/PlaceForScreen.h"
#include "dialogs/UiServices.h"

namespace fotavel {
namespace {

const QString kSettingsFile = QStringLiteral("fotavel.ini");

// The descriptions are translated, the patterns stay as they are.
QString OpenFilter() {
  return QCoreApplication::translate(
      "fotavel::frmParamLogo",
      "Fichiers images (*.JPG;*.PNG;*.GIF;*.BMP)|*.JPG;*.PNG;*.GIF;*.BMP|Fichiers Jpeg "
      "(*.JPG)|*.JPG|Fichiers Bitmap (*.BMP)|*.BMP|Fichiers PNG (*.PNG)|*.PNG|Fichiers GIF "
      "(*.GIF)|*.GIF");
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                 int h) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(x, y, w, h);
  return label;
}

QLabel* AddTitle(QWidget* parent, const char* name, const QString& text, int y) {
  QLabel* title = AddLabel(parent, name, text, 8, y, 288, 17);
  QFont bold = QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))
                   ? QFont(QStringLiteral("MS Sans Serif"))
                   : title->font();
  bold.setBold(true);
  title->setFont(bold);
  return title;
}

void AddLine(QWidget* parent, int y) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(8, y, 288, 2);
}

QScrollBar* AddBar(QWidget* parent, const char* name, Qt::Orientation orientation, int minimum,
                   int maximum, int start) {
  auto* bar = new QScrollBar(orientation, parent);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(minimum, maximum);
  bar->setPageStep(10);
  bar->setSingleStep(1);
  bar->setValue(start);
  bar->setFocusPolicy(Qt::StrongFocus);
  // A scroll bar inverts its keys and wheel by default, so that Left would
  // raise the value; these bars are read as sliders and move the way the key
  // points. The vertical bar keeps Up moving towards its top, value 0.
  if (orientation == Qt::Horizontal) bar->setInvertedControls(false);
  return bar;
}

QLabel* AddValueText(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                     int h) {
  QLabel* label = AddLabel(parent, name, text, x, y, w, h);
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSizeF(8.25);
  label->setFont(arial);
  label->setWordWrap(true);
  return label;
}

// A photo of sky over hills with a small logo in its corner: what the two
// position bars, set like rulers along its edges, place the logo on.
QPixmap Illustration(QSize size) {
  const int width = size.width();
  const int height = size.height();
  QPixmap picture(size);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(70, 130, 210));
  sky.setColorAt(1, QColor(205, 225, 245));
  painter.fillRect(picture.rect(), sky);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(95, 150, 70));
  painter.drawEllipse(QRectF(-0.3 * width, 0.62 * height, 0.9 * width, 0.8 * height));
  painter.setBrush(QColor(70, 125, 55));
  painter.drawEllipse(QRectF(0.35 * width, 0.7 * height, 0.9 * width, 0.7 * height));
  painter.setBrush(QColor(255, 255, 255, 170));
  painter.drawRoundedRect(QRectF(width - 44, height - 26, 36, 18), 3, 3);
  return picture;
}

// A bar's value as the settings file holds it. What is no number leaves the
// bar as it stands; a value beyond the bar's ends stops at the end.
void SetFromSetting(QScrollBar* bar, const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value)) return;
  const double within = std::clamp(value, double(bar->minimum()), double(bar->maximum()));
  bar->setValue(static_cast<int>(std::nearbyint(within)));
}

}  // namespace

frmParamLogo::frmParamLogo(UiServices& ui, LogoParamFiles files, bool& logoPret, QWidget* owner)
    : QDialog(owner), m_ui(ui), m_files(std::move(files)), m_logoPret(logoPret) {
  setWindowTitle(tr("Paramétrage de votre logo"));
  // The dialog is drawn for this size; nothing in it would use more room.
  setFixedSize(304, 574);
  BuildControls();
  PlaceForScreen(*this);
  // Drawn once the picture has its size on this screen.
  m_picture1->setPixmap(Illustration(m_picture1->size()));

  connect(m_distX, &QScrollBar::valueChanged, this,
          [this](int v) { m_distXPourcentage->setText(TextDistX(v)); });
  connect(m_distY, &QScrollBar::valueChanged, this,
          [this](int v) { m_distYPourcentage->setText(TextDistY(v)); });
  connect(m_taille, &QScrollBar::valueChanged, this, [this](int v) {
    m_taillePourcentage->setText(tr("%1 % de la taille totale de l'image").arg(v));
  });
  connect(m_transparence, &QScrollBar::valueChanged, this,
          [this](int v) { m_transPourcentage->setText(tr("%1 % de transparence").arg(v)); });
  connect(m_angle, &QScrollBar::valueChanged, this,
          [this](int v) { m_anglePourcentage->setText(QStringLiteral("%1 °").arg(v)); });
  connect(m_cmdOpen, &QPushButton::clicked, this, &frmParamLogo::cmdOpen_Click);
  connect(m_effacer, &QPushButton::clicked, this, &frmParamLogo::effacer_Click);
  connect(m_cmdOK, &QPushButton::clicked, this, &frmParamLogo::cmdOK_Click);
  // Escape and the window's close box reach QDialog::reject as well.
  connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmParamLogo::BuildControls() {
  AddTitle(this, "Label2", tr("Choisir / Changer de logo"), 8);
  AddLabel(this, "lblFilename", tr("Fichier :"), 8, 32, 52, 17);
  m_txtFilename = new QLineEdit(this);
  m_txtFilename->setObjectName(QStringLiteral("txtFilename"));
  m_txtFilename->setGeometry(60, 30, 156, 21);
  m_cmdOpen = new QPushButton(tr("&Ouvrir..."), this);
  m_cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
  m_cmdOpen->setGeometry(220, 29, 56, 23);
  m_effacer = new QPushButton(tr("X"), this);
  m_effacer->setObjectName(QStringLiteral("effacer"));
  m_effacer->setToolTip(tr("Effacer"));
  m_effacer->setGeometry(279, 29, 18, 23);
  // At this width the advice takes three lines, the help note two.
  AddLabel(this, "Label10",
           tr("Pour intégrer votre logo détouré dans vos photos, utilisez le format "
              "d'image \"png 24\" pour un meilleur résultat."),
           8, 58, 288, 45)
      ->setWordWrap(true);
  AddLabel(this, "Label12",
           tr("(Besoin d'aide pour préparer votre logo ? Écrivez-nous à "
              "aide@fotavel.example.org)"),
           8, 104, 288, 30)
      ->setWordWrap(true);
  AddLine(this, 138);

  AddTitle(this, "Label3", tr("Emplacement du logo dans la photo"), 146);
  AddLabel(this, "Label1", tr("Position horizontale"), 88, 168, 208, 17)
      ->setToolTip(tr("(par rapport à la largeur de la photo)"));
  m_distX = AddBar(this, "distX", Qt::Horizontal, 0, 100, 0);
  m_distX->setGeometry(88, 186, 208, 17);
  QLabel* label11 = AddLabel(this, "Label11", tr("Position verticale"), 8, 206, 56, 34);
  label11->setToolTip(tr("(par rapport à la hauteur de la photo)"));
  label11->setWordWrap(true);
  m_distY = AddBar(this, "DistY", Qt::Vertical, 0, 100, 0);
  m_distY->setGeometry(68, 204, 17, 150);
  // The two bars frame the picture like rulers: the same width as the
  // horizontal one, the same height as the vertical one.
  m_picture1 = new QLabel(this);
  m_picture1->setObjectName(QStringLiteral("Picture1"));
  m_picture1->setGeometry(88, 204, 208, 150);
  m_distXPourcentage = AddValueText(m_picture1, "distX_pourcentage", QString(), 0, 4, 208, 34);
  m_distXPourcentage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_distYPourcentage = AddValueText(m_picture1, "distY_pourcentage", QString(), 0, 44, 208, 34);
  m_distYPourcentage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  AddLine(this, 362);

  // Each bar between its name and its value text; the size takes two lines.
  AddTitle(this, "Label8", tr("Taille du logo"), 370);
  AddLabel(this, "Label7", tr("Proportion :"), 8, 394, 82, 17);
  m_taille = AddBar(this, "taille", Qt::Horizontal, 1, 100, 10);
  m_taille->setGeometry(92, 394, 84, 17);
  m_taillePourcentage = AddValueText(this, "taille_pourcentage",
                                     tr("10 % de la taille totale de l'image"), 180, 388, 116, 34);
  AddLine(this, 424);

  AddTitle(this, "Label4", tr("Transparence du logo"), 432);
  AddLabel(this, "Label5", tr("Translucide :"), 8, 456, 82, 17);
  m_transparence = AddBar(this, "transparence", Qt::Horizontal, 0, 90, 0);
  m_transparence->setGeometry(92, 456, 84, 17);
  m_transPourcentage =
      AddValueText(this, "trans_pourcentage", tr("0 % de transparence"), 180, 456, 116, 17);
  AddLine(this, 482);

  AddTitle(this, "Label6", tr("Rotation du logo"), 490);
  AddLabel(this, "Label9", tr("Angle :"), 8, 514, 82, 17);
  m_angle = AddBar(this, "angle", Qt::Horizontal, 0, 360, 0);
  m_angle->setGeometry(92, 514, 84, 17);
  m_anglePourcentage =
      AddValueText(this, "angle_pourcentage", QStringLiteral("0 °"), 180, 514, 116, 17);

  m_cmdCancel = new QPushButton(tr("Annuler"), this);
  m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  m_cmdCancel->setGeometry(136, 542, 76, 25);
  m_cmdOK = new QPushButton(tr("OK"), this);
  m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
  m_cmdOK->setGeometry(220, 542, 76, 25);
  // Enter must not store the logo by accident: no button answers it.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
}

QString frmParamLogo::TextDistX(int v) {
  if (v == 50) return tr("X à 50 % : Logo centré horizontalement");
  return tr("X à %1 % de la largeur de l'image").arg(v);
}

QString frmParamLogo::TextDistY(int v) {
  if (v == 50) return tr("Y à 50 % : Logo centré verticalement");
  return tr("Y à %1 % de la hauteur de l'image").arg(v);
}

// Only when the dialog is shown, not each time it becomes active again: the
// file dialog and the message boxes it opens hand the focus back, and
// reloading then would undo the bars the user has just moved.
void frmParamLogo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  LoadSettings();
  m_effacer->setEnabled(m_files.logoStocke && m_files.logoStocke());
}

void frmParamLogo::LoadSettings() {
  if (!QFileInfo(QDir(m_files.paramFolder).filePath(kSettingsFile)).isFile()) return;
  const auto read = [this](const char* key) { return m_files.lireParamIni(QLatin1String(key)); };
  m_extension = read("Ext");
  SetFromSetting(m_distX, read("DstX"));
  m_distXPourcentage->setText(TextDistX(m_distX->value()));
  SetFromSetting(m_distY, read("DstY"));
  m_distYPourcentage->setText(TextDistY(m_distY->value()));
  SetFromSetting(m_taille, read("Tll"));
  SetFromSetting(m_transparence, read("Trs"));
  SetFromSetting(m_angle, read("Agl"));
}

void frmParamLogo::cmdOpen_Click() {
  GCommonDialog dialog(m_ui);
  QString name;
  QString title;
  bool readOnly = false;
  QString filter = OpenFilter();
  std::int32_t filterIndex = 1;
  std::int32_t flags = 0;
  if (dialog.VBGetOpenFileName(name, title, true, false, readOnly, true, filter, filterIndex,
                               QString(), tr("Sélectionnez votre logo"), QStringLiteral("BMP"),
                               this, flags)) {
    m_txtFilename->setText(name);
  }
}

void frmParamLogo::cmdOK_Click() {
  if (!Store()) return;
  m_logoPret = true;
  m_cancelled = false;
  accept();
}

bool frmParamLogo::Store() {
  // A name without "." keeps the logo and extension there are.
  QString extension = m_extension;
  QString chosen = m_txtFilename->text();
  const qsizetype dot = chosen.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) {
    extension = chosen.mid(dot + 1);
  } else {
    chosen.clear();
  }
  const QList<std::pair<QString, QString>> entries = {
      {QStringLiteral("Ext"), extension},
      {QStringLiteral("DstX"), QString::number(m_distX->value())},
      {QStringLiteral("DstY"), QString::number(m_distY->value())},
      {QStringLiteral("Tll"), QString::number(m_taille->value())},
      {QStringLiteral("Trs"), QString::number(m_transparence->value())},
      {QStringLiteral("Agl"), QString::number(m_angle->value())},
  };
  try {
    m_files.enregistrer(chosen, extension, entries);
  } catch (...) {
    m_files.signaler(std::current_exception(), this);
    return false;
  }
  m_extension = extension;
  return true;
}

void frmParamLogo::effacer_Click() {
  const QString question =
      tr("Etes vous sûr de vouloir supprimer le logo précédemment configuré dans le logiciel ?");
  if (m_ui.Message(question, MessageIcon::Question, MessageButtons::YesNo, this) !=
      MessageAnswer::Yes) {
    return;
  }
  try {
    m_files.effacer();
  } catch (...) {
    m_files.signaler(std::current_exception(), this);
    return;
  }
  // The settings stay: they still place the next logo chosen.
  m_logoPret = false;
  reject();
}

}  // namespace fotavel
