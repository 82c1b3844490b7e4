// The combination dialog's controls, the result size it shows, and the reading of its boxes at OK.
#include "dialogs/frmCombination.h"

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <optional>
#include <utility>

#include "dialogs/NumberText.h"
#include "dialogs/PlaceForScreen.h"
#include "dialogs/UiServices.h"

namespace fotavel {
namespace {

// Two photos laid over each other, drawn here so the dialog needs no picture file.
QIcon CombinationIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.setBrush(QColor(0x40, 0x70, 0xc0));
  painter.drawRect(1, 1, 9, 9);
  painter.setBrush(QColor(0xf0, 0xc0, 0x40));
  painter.drawRect(5, 5, 9, 9);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace

frmCombination::frmCombination(UiServices& ui, QWidget* owner) : QDialog(owner), m_ui(ui) {
  setWindowTitle(tr("Image Combination"));
  setWindowIcon(CombinationIcon());
  if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    setFont(tahoma);
  }
  // The dialog is drawn for this size; nothing in it would use more room.
  setFixedSize(332, 226);

  const QString sourceCaptions[] = {tr("Source Image &1:"), tr("Source Image &2:")};
  for (int i = 0; i < 2; ++i) {
    const QString suffix = QStringLiteral("_%1").arg(i);
    const int left = 8 + i * 163;

    m_lblSource[i] = new QLabel(sourceCaptions[i], this);
    m_lblSource[i]->setObjectName(QStringLiteral("lblSource") + suffix);
    m_lblSource[i]->setGeometry(left, 6, 153, 17);
    m_cboSource[i] = new QComboBox(this);
    m_cboSource[i]->setObjectName(QStringLiteral("cboSource") + suffix);
    m_cboSource[i]->setGeometry(left, 24, 153, 21);
    m_lblSource[i]->setBuddy(m_cboSource[i]);

    m_lblOffset[i] = new QLabel(tr("Offset:"), this);
    m_lblOffset[i]->setObjectName(QStringLiteral("lblOffset") + suffix);
    m_lblOffset[i]->setGeometry(left + 16, 77, 64, 17);
    m_txtOffset[i] = new QLineEdit(QStringLiteral("0"), this);
    m_txtOffset[i]->setObjectName(QStringLiteral("txtOffset") + suffix);
    m_txtOffset[i]->setGeometry(left + 80, 76, 65, 21);

    m_lblMultiplier[i] = new QLabel(tr("Multiplier:"), this);
    m_lblMultiplier[i]->setObjectName(QStringLiteral("lblMultiplier") + suffix);
    m_lblMultiplier[i]->setGeometry(left + 16, 103, 64, 17);
    m_txtMultiplier[i] = new QLineEdit(QStringLiteral("1"), this);
    m_txtMultiplier[i]->setObjectName(QStringLiteral("txtMultiplier") + suffix);
    m_txtMultiplier[i]->setGeometry(left + 80, 102, 65, 21);
  }
  for (int i = 0; i < 2; ++i) m_addGroup << m_lblOffset[i] << m_txtOffset[i];
  for (int i = 0; i < 2; ++i) m_addGroup << m_lblMultiplier[i] << m_txtMultiplier[i];

  const QString modeCaptions[] = {tr("&Add Images"), tr("&Darkest"), tr("&Lightest")};
  const int modeTops[] = {54, 130, 148};
  for (int i = 0; i < 3; ++i) {
    // One parent and no other option beside them: the three exclude each other.
    m_optCombine[i] = new QRadioButton(modeCaptions[i], this);
    m_optCombine[i]->setObjectName(QStringLiteral("optCombine_%1").arg(i));
    m_optCombine[i]->setGeometry(8, modeTops[i], 316, 17);
  }
  m_optCombine[0]->setChecked(true);

  m_lblInfo = new QLabel(this);
  m_lblInfo->setObjectName(QStringLiteral("lblInfo"));
  m_lblInfo->setGeometry(8, 168, 316, 17);

  auto* fraSep = new QFrame(this);
  fraSep->setObjectName(QStringLiteral("fraSep"));
  fraSep->setFrameShape(QFrame::HLine);
  fraSep->setFrameShadow(QFrame::Sunken);
  fraSep->setGeometry(8, 189, 316, 2);

  m_cmdOK = new QPushButton(tr("OK"), this);
  m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
  m_cmdOK->setGeometry(164, 195, 75, 25);
  // Enter presses OK; Escape reaches QDialog::reject like "Cancel".
  m_cmdOK->setDefault(true);
  m_cmdCancel = new QPushButton(tr("Cancel"), this);
  m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  m_cmdCancel->setGeometry(249, 195, 75, 25);
  PlaceForScreen(*this);

  for (int k = 0; k < 2; ++k) {
    connect(m_cboSource[k], &QComboBox::currentIndexChanged, this,
            [this, k] { cboSource_Click(k); });
  }
  for (QRadioButton* option : m_optCombine) {
    connect(option, &QRadioButton::toggled, this, &frmCombination::optCombine_Toggled);
  }
  connect(m_cmdOK, &QPushButton::clicked, this, &frmCombination::cmdOK_Click);
  connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmCombination::SetPhotos(QList<CombinationPhoto> photos) {
  m_photos = std::move(photos);
  // Filling a list would select its first entry on the way; the selections
  // are made below, in their order, once both lists are full.
  for (QComboBox* list : m_cboSource) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (qsizetype i = 0; i < m_photos.size(); ++i) list->addItem(m_photos[i].title, int(i));
    list->setCurrentIndex(-1);
  }
  m_source = {-1, -1};
  if (m_photos.isEmpty()) return;

  m_cboSourceTag[0] = QStringLiteral("DONT");
  m_cboSource[0]->setCurrentIndex(0);
  m_cboSourceTag[0].clear();
  m_cboSource[1]->setCurrentIndex(m_photos.size() >= 2 ? 1 : 0);
}

std::int32_t frmCombination::Offset(std::int32_t lIndex) const {
  return lIndex == 1 || lIndex == 2 ? m_offset[lIndex - 1] : 0;
}

std::int32_t frmCombination::Multiplier(std::int32_t lIndex) const {
  return lIndex == 1 || lIndex == 2 ? m_multiplier[lIndex - 1] : 0;
}

std::int32_t frmCombination::ImageSource(std::int32_t lIndex) const {
  return lIndex == 1 || lIndex == 2 ? m_source[lIndex - 1] : -1;
}

void frmCombination::cboSource_Click(int k) {
  const int entry = m_cboSource[k]->currentIndex();
  if (entry < 0) return;
  if (m_cboSourceTag[k].isEmpty() && m_cboSource[0]->currentIndex() >= 0 &&
      m_cboSource[1]->currentIndex() >= 0) {
    const CombinationPhoto& source1 = m_photos.at(m_cboSource[0]->currentData().toInt());
    const CombinationPhoto& source2 = m_photos.at(m_cboSource[1]->currentData().toInt());
    m_newImageWidth = std::min(source1.width, source2.width);
    m_newImageHeight = std::min(source1.height, source2.height);
    m_lblInfo->setText(tr("Taille de la photo après opération: %1 x %2")
                           .arg(m_newImageWidth)
                           .arg(m_newImageHeight));
  }
  m_source[k] = m_cboSource[k]->itemData(entry).toInt();
}

// Contents are left as they are: going back to adding finds them unchanged.
void frmCombination::optCombine_Toggled() {
  const bool adding = m_optCombine[0]->isChecked();
  for (QWidget* control : m_addGroup) control->setEnabled(adding);
}

// The four boxes are read in every mode, disabled or not, in this order; the
// first that does not read stops OK, and the ones read before it keep their
// new values.
void frmCombination::cmdOK_Click() {
  m_combinationType = m_optCombine[0]->isChecked() ? 1 : m_optCombine[1]->isChecked() ? 2 : 3;
  const std::pair<QLineEdit*, std::int32_t*> boxes[] = {
      {m_txtOffset[0], &m_offset[0]},
      {m_txtOffset[1], &m_offset[1]},
      {m_txtMultiplier[0], &m_multiplier[0]},
      {m_txtMultiplier[1], &m_multiplier[1]},
  };
  for (const auto& [box, value] : boxes) {
    const std::optional<std::int32_t> read = ReadWholeNumber(box->text());
    if (!read) {
      m_ui.Message(tr("Erreur de valeur."), MessageIcon::Information, MessageButtons::Ok, this);
      return;
    }
    *value = *read;
  }
  m_cancelled = false;
  accept();
}

}  // namespace fotavel
