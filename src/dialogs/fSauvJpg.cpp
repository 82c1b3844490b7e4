// The quality dialog's controls, the quality bands it names and the size limit it reads.
#include "dialogs/fSauvJpg.h"

#include <QCheckBox>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

#include "dialogs/PlaceForScreen.h"

namespace fotavel {
namespace {

// Qt's scroll bar takes Left as a step forward (it inverts its controls so
// that Up and Page Up scroll back); a scroll bar used as a slider steps
// towards the arrow that was pressed.
class QualityScrollBar : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
      triggerAction(event->key() == Qt::Key_Right ? SliderSingleStepAdd : SliderSingleStepSub);
      event->accept();
      return;
    }
    QScrollBar::keyPressEvent(event);
  }
};

}  // namespace

fSauvJpg::fSauvJpg(QWidget* owner, bool offersLossless) : QDialog(owner) {
  setWindowTitle(tr("Qualité de la photo"));
  // The boxes of the file's own settings come under the slider, one row
  // each, and push the buttons down.
  int row = 66;
  if (offersLossless) {
    m_sansPerte = new QCheckBox(tr("Sans perte"), this);
    m_sansPerte->setObjectName(QStringLiteral("SansPerte"));
    m_sansPerte->setGeometry(8, row, 185, 21);
    row += 24;
  }
  m_tailleMax = new QCheckBox(tr("Taille maximale du fichier"), this);
  m_tailleMax->setObjectName(QStringLiteral("TailleMax"));
  m_tailleMax->setGeometry(8, row, 185, 21);
  m_tailleKo = new QSpinBox(this);
  m_tailleKo->setObjectName(QStringLiteral("TailleKo"));
  m_tailleKo->setRange(1, kMaximumKo);
  m_tailleKo->setValue(kInitialKo);
  m_tailleKo->setSuffix(tr(" Ko"));
  m_tailleKo->setGeometry(26, row + 24, 100, 22);
  const int buttons = row + 56;
  // The dialog is drawn for this size; nothing in it would use more room.
  setFixedSize(201, buttons + 36);

  m_label1 = new QLabel(tr("Qualité"), this);
  m_label1->setObjectName(QStringLiteral("Label1"));
  m_label1->setGeometry(8, 12, 56, 17);

  m_qJpg = new QLabel(this);
  m_qJpg->setObjectName(QStringLiteral("Q_JPG"));
  QFont bold(QStringLiteral("Arial"));
  bold.setPointSizeF(8.25);
  bold.setBold(true);
  m_qJpg->setFont(bold);
  m_qJpg->setGeometry(64, 12, 129, 17);

  m_qualitJpg = new QualityScrollBar(Qt::Horizontal, this);
  m_qualitJpg->setObjectName(QStringLiteral("QualitJPG"));
  m_qualitJpg->setRange(kMinimum, kMaximum);
  m_qualitJpg->setSingleStep(1);
  m_qualitJpg->setPageStep(1);
  // Like any control of the dialog it takes the focus and answers the arrow keys.
  m_qualitJpg->setFocusPolicy(Qt::StrongFocus);
  m_qualitJpg->setGeometry(8, 40, 185, 17);

  m_cmdCancelJpg = new QPushButton(tr("Annuler"), this);
  m_cmdCancelJpg->setObjectName(QStringLiteral("cmdCancelJPG"));
  m_cmdCancelJpg->setGeometry(8, buttons, 81, 25);

  m_enregJpg = new QPushButton(tr("Enregistrer"), this);
  m_enregJpg->setObjectName(QStringLiteral("EnregJPG"));
  m_enregJpg->setGeometry(112, buttons, 81, 25);
  PlaceForScreen(*this);

  // "Enregistrer" comes first so the dialog opens with the focus on it.
  setTabOrder(m_enregJpg, m_qualitJpg);
  QWidget* previous = m_qualitJpg;
  for (QWidget* next : {static_cast<QWidget*>(m_sansPerte), static_cast<QWidget*>(m_tailleMax),
                        static_cast<QWidget*>(m_tailleKo), static_cast<QWidget*>(m_cmdCancelJpg)}) {
    if (next == nullptr) continue;
    setTabOrder(previous, next);
    previous = next;
  }
  m_enregJpg->setFocus();

  m_qualitJpg->setValue(kInitial);
  m_qJpg->setText(QualityWord(kInitial));

  connect(m_enregJpg, &QPushButton::clicked, this, &fSauvJpg::EnregJPG_Click);
  connect(m_cmdCancelJpg, &QPushButton::clicked, this, &fSauvJpg::cmdCancelJPG_Click);
  connect(m_qualitJpg, &QScrollBar::sliderMoved, this, &fSauvJpg::QualitJPG_Scroll);
  if (m_sansPerte != nullptr)
    connect(m_sansPerte, &QCheckBox::toggled, this, &fSauvJpg::UpdateEnabled);
  connect(m_tailleMax, &QCheckBox::toggled, this, &fSauvJpg::UpdateEnabled);
  UpdateEnabled();
}

void fSauvJpg::UpdateEnabled() {
  const bool lossless = m_sansPerte != nullptr && m_sansPerte->isChecked();
  m_qualitJpg->setEnabled(!lossless);
  m_tailleMax->setEnabled(!lossless);
  m_tailleKo->setEnabled(!lossless && m_tailleMax->isChecked());
}

QString fSauvJpg::QualityWord(int v) {
  if (v < 61) return tr("Faible");
  if (v < 75) return tr("Moyenne");
  if (v < 90) return tr("Elevée");
  return tr("Maximale");
}

void fSauvJpg::EnregJPG_Click() {
  m_quality = m_qualitJpg->value();
  m_lossless = m_sansPerte != nullptr && m_sansPerte->isChecked();
  // The box's text is taken as it stands, as "Enregistrer" takes the slider's.
  m_tailleKo->interpretText();
  m_maxBytes =
      !m_lossless && m_tailleMax->isChecked() ? std::uint64_t(m_tailleKo->value()) * 1000 : 0;
  m_cancelled = false;
  accept();
}

// Escape and the window's close box reach QDialog::reject directly; all
// three leave the dialog cancelled.
void fSauvJpg::cmdCancelJPG_Click() { reject(); }

void fSauvJpg::QualitJPG_Scroll(int value) { m_qJpg->setText(QualityWord(value)); }

}  // namespace fotavel
