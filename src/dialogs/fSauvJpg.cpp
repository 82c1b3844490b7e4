// The JPEG quality dialog's controls and the quality bands it names.
#include "dialogs/fSauvJpg.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

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

fSauvJpg::fSauvJpg(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Qualité de la photo"));
  // The dialog is drawn for this size; nothing in it would use more room.
  setFixedSize(201, 112);

  m_label1 = new QLabel(QStringLiteral("Qualité"), this);
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

  m_cmdCancelJpg = new QPushButton(QStringLiteral("Annuler"), this);
  m_cmdCancelJpg->setObjectName(QStringLiteral("cmdCancelJPG"));
  m_cmdCancelJpg->setGeometry(8, 76, 81, 25);

  m_enregJpg = new QPushButton(QStringLiteral("Enregistrer"), this);
  m_enregJpg->setObjectName(QStringLiteral("EnregJPG"));
  m_enregJpg->setGeometry(112, 76, 81, 25);
  PlaceForScreen(*this);

  // "Enregistrer" comes first so the dialog opens with the focus on it.
  setTabOrder(m_enregJpg, m_qualitJpg);
  setTabOrder(m_qualitJpg, m_cmdCancelJpg);
  m_enregJpg->setFocus();

  m_qualitJpg->setValue(kInitial);
  m_qJpg->setText(QualityWord(kInitial));

  connect(m_enregJpg, &QPushButton::clicked, this, &fSauvJpg::EnregJPG_Click);
  connect(m_cmdCancelJpg, &QPushButton::clicked, this, &fSauvJpg::cmdCancelJPG_Click);
  connect(m_qualitJpg, &QScrollBar::sliderMoved, this, &fSauvJpg::QualitJPG_Scroll);
}

QString fSauvJpg::QualityWord(int v) {
  if (v < 61) return QStringLiteral("Faible");
  if (v < 75) return QStringLiteral("Moyenne");
  if (v < 90) return QStringLiteral("Elevée");
  return QStringLiteral("Maximale");
}

void fSauvJpg::EnregJPG_Click() {
  m_quality = m_qualitJpg->value();
  m_cancelled = false;
  accept();
}

// Escape and the window's close box reach QDialog::reject directly; all
// three leave the dialog cancelled.
void fSauvJpg::cmdCancelJPG_Click() { reject(); }

void fSauvJpg::QualitJPG_Scroll(int value) { m_qJpg->setText(QualityWord(value)); }

}  // namespace fotavel
