// The resize dialog's controls, the recomputations that tie its boxes together, and its checks at
// OK.
#include "dialogs/frmNewSize.h"

#include <QCheckBox>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <limits>

#include "dialogs/NumberText.h"
#include "dialogs/PlaceForScreen.h"
#include "dialogs/UiServices.h"
#include "surface/cDIBSection.h"

namespace fotavel {
namespace {

bool FitsInt32(double v) {
  return v >= double(std::numeric_limits<std::int32_t>::min()) &&
         v <= double(std::numeric_limits<std::int32_t>::max());
}

}  // namespace

frmNewSize::frmNewSize(UiServices& ui, QWidget* owner) : QDialog(owner), m_ui(ui) {
  setWindowTitle(tr(" Taille de l'image"));
  if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    setFont(tahoma);
  }
  // The dialog is drawn for this size; nothing in it would use more room.
  setFixedSize(273, 208);

  m_enPix = new QRadioButton(tr("En &Pixels"), this);
  m_enPix->setObjectName(QStringLiteral("EnPix"));
  m_enPix->setGeometry(8, 8, 161, 17);

  auto* lbl = new QLabel(tr("Largeur"), this);
  lbl->setObjectName(QStringLiteral("lbl"));
  lbl->setGeometry(24, 33, 57, 17);
  m_txtWidth = new QLineEdit(this);
  m_txtWidth->setObjectName(QStringLiteral("txtWidth"));
  m_txtWidth->setGeometry(88, 32, 73, 21);
  m_lblOrigWidth = new QLabel(this);
  m_lblOrigWidth->setObjectName(QStringLiteral("lblOrigWidth"));
  m_lblOrigWidth->setGeometry(172, 33, 89, 17);

  auto* lblHeight = new QLabel(tr("Hauteur"), this);
  lblHeight->setObjectName(QStringLiteral("lblHeight"));
  lblHeight->setGeometry(24, 61, 57, 17);
  m_txtHeight = new QLineEdit(this);
  m_txtHeight->setObjectName(QStringLiteral("txtHeight"));
  m_txtHeight->setGeometry(88, 60, 73, 21);
  m_lblOrigHeight = new QLabel(this);
  m_lblOrigHeight->setObjectName(QStringLiteral("lblOrigHeight"));
  m_lblOrigHeight->setGeometry(172, 61, 89, 17);

  m_chkKeepProportion = new QCheckBox(tr("&Conserver les proportions"), this);
  m_chkKeepProportion->setObjectName(QStringLiteral("chkKeepProportion"));
  m_chkKeepProportion->setGeometry(24, 88, 237, 17);
  m_chkKeepProportion->setChecked(true);

  m_enPourc = new QRadioButton(tr("En P&ourcentage"), this);
  m_enPourc->setObjectName(QStringLiteral("EnPourc"));
  m_enPourc->setGeometry(8, 116, 161, 17);

  auto* lblPercentage = new QLabel(tr("Pourcent"), this);
  lblPercentage->setObjectName(QStringLiteral("lblPercentage"));
  lblPercentage->setGeometry(24, 141, 57, 17);
  m_txtPercent = new QLineEdit(QStringLiteral("100"), this);
  m_txtPercent->setObjectName(QStringLiteral("txtPercent"));
  m_txtPercent->setGeometry(88, 140, 73, 21);
  m_txtPercent->setEnabled(false);

  auto* line1 = new QFrame(this);
  line1->setObjectName(QStringLiteral("Line1"));
  line1->setFrameShape(QFrame::HLine);
  line1->setFrameShadow(QFrame::Sunken);
  line1->setGeometry(8, 168, 257, 2);

  m_cmdCancel = new QPushButton(tr("Annuler"), this);
  m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  m_cmdCancel->setGeometry(96, 176, 81, 25);
  m_cmdOK = new QPushButton(tr("OK"), this);
  m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
  m_cmdOK->setGeometry(184, 176, 81, 25);
  // Enter in any box presses OK; Escape reaches QDialog::reject like Annuler.
  m_cmdOK->setDefault(true);

  // Both options share this parent and nothing else, so they exclude each other.
  m_enPix->setChecked(true);
  PlaceForScreen(*this);

  connect(m_enPix, &QRadioButton::toggled, this, &frmNewSize::EnPix_Toggled);
  connect(m_enPourc, &QRadioButton::toggled, this, &frmNewSize::EnPourc_Toggled);
  // textChanged rather than textEdited: the recomputations rely on writes
  // from code being changes too.
  connect(m_txtWidth, &QLineEdit::textChanged, this, &frmNewSize::txtWidth_Change);
  connect(m_txtHeight, &QLineEdit::textChanged, this, &frmNewSize::txtHeight_Change);
  connect(m_txtPercent, &QLineEdit::textChanged, this, &frmNewSize::txtPercent_Change);
  connect(m_cmdOK, &QPushButton::clicked, this, &frmNewSize::cmdOK_Click);
  connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmNewSize::SetSize(std::int32_t lW, std::int32_t lH) {
  m_origWidth = lW;
  m_origHeight = lH;
  m_lblOrigWidth->setText(QString::number(lW));
  m_lblOrigHeight->setText(QString::number(lH));
  // With the proportions kept, the width's write recomputes the height from
  // the original size, which is the original height again.
  m_txtWidth->setText(QString::number(lW));
  m_txtHeight->setText(QString::number(lH));
}

void frmNewSize::EnPix_Toggled(bool on) {
  if (!on) return;
  m_txtWidth->setEnabled(true);
  m_txtHeight->setEnabled(true);
  m_chkKeepProportion->setEnabled(true);
  m_txtPercent->setEnabled(false);
}

// The proportion box keeps its state while disabled and still ties width and
// height together while a percentage writes them.
void frmNewSize::EnPourc_Toggled(bool on) {
  if (!on) return;
  m_txtWidth->setEnabled(false);
  m_txtHeight->setEnabled(false);
  m_chkKeepProportion->setEnabled(false);
  m_txtPercent->setEnabled(true);
}

std::optional<std::int32_t> frmNewSize::Proportional(std::int32_t partnerOriginal,
                                                     std::int32_t typed, std::int32_t ownOriginal) {
  if (ownOriginal == 0) return std::nullopt;
  // Both factors are 32-bit, so the product is exact in 64 bits.
  const std::int64_t result = std::int64_t{partnerOriginal} * typed / ownOriginal;
  if (result < std::numeric_limits<std::int32_t>::min() ||
      result > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(result);
}

std::optional<std::int32_t> frmNewSize::Scaled(std::int32_t original, double factor) {
  // nearbyint in the default rounding mode rounds halves to even.
  const double v = std::nearbyint(double(original) * factor);
  if (!FitsInt32(v)) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

void frmNewSize::txtWidth_Change() {
  if (!m_chkKeepProportion->isChecked() || !m_txtWidthTag.isEmpty()) return;
  const std::optional<std::int32_t> w = ReadWholeNumber(m_txtWidth->text());
  if (!w) return;
  const std::optional<std::int32_t> h = Proportional(m_origHeight, *w, m_origWidth);
  if (!h) return;
  m_txtHeightTag = QStringLiteral("txtWidth");
  m_txtHeight->setText(QString::number(*h));
  m_txtHeightTag.clear();
}

void frmNewSize::txtHeight_Change() {
  if (!m_chkKeepProportion->isChecked() || !m_txtHeightTag.isEmpty()) return;
  const std::optional<std::int32_t> h = ReadWholeNumber(m_txtHeight->text());
  if (!h) return;
  const std::optional<std::int32_t> w = Proportional(m_origWidth, *h, m_origHeight);
  if (!w) return;
  m_txtWidthTag = QStringLiteral("txtHeight");
  m_txtWidth->setText(QString::number(*w));
  m_txtWidthTag.clear();
}

// Width first, then height: with the proportions kept the height's own
// handler has the last word, so the height is always the rounded percentage
// and the width follows from it.
void frmNewSize::txtPercent_Change() {
  if (!m_enPourc->isChecked()) return;
  const std::optional<std::int32_t> p = ReadWholeNumber(m_txtPercent->text());
  if (!p) return;
  const double f = *p / 100.0;
  if (const std::optional<std::int32_t> w = Scaled(m_origWidth, f)) {
    m_txtWidth->setText(QString::number(*w));
  }
  if (const std::optional<std::int32_t> h = Scaled(m_origHeight, f)) {
    m_txtHeight->setText(QString::number(*h));
  }
}

// In percent mode the boxes already hold the computed size: the percentage
// itself is not read. A size no photo can take is refused here, with the
// dialog left open, rather than failing later in the resampling.
void frmNewSize::cmdOK_Click() {
  const std::optional<std::int32_t> w = ReadWholeNumber(m_txtWidth->text());
  const std::optional<std::int32_t> h = ReadWholeNumber(m_txtHeight->text());
  if (!w || !h || *w < 1 || *h < 1) {
    m_ui.Message(
        tr("La largeur et la hauteur doivent être des nombres entiers d'au moins 1 pixel."),
        MessageIcon::Exclamation, MessageButtons::Ok, this);
    return;
  }
  if (!cDIBSection::SizeFits(*w, *h)) {
    m_ui.Message(
        tr("Cette taille est trop grande pour une photo : %1 x %2 pixels.").arg(*w).arg(*h),
        MessageIcon::Exclamation, MessageButtons::Ok, this);
    return;
  }
  m_imageWidth = *w;
  m_imageHeight = *h;
  m_cancelled = false;
  accept();
}

}  // namespace fotavel
