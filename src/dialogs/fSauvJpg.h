// The JPEG quality dialog: a slider from 45 to 100 and the word naming the chosen quality band.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QPushButton;
class QScrollBar;

namespace fotavel {

// Made for one JPEG save: starts at 70 ("Moyenne") every time. The caller
// shows it with exec() and then reads Cancelled() and Def_JPG2(), which stay
// readable after the window has closed.
class fSauvJpg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMinimum = 45;
  static constexpr int kMaximum = 100;
  static constexpr int kInitial = 70;

  explicit fSauvJpg(QWidget* owner = nullptr);

  // False only once "Enregistrer" closed the dialog.
  bool Cancelled() const { return m_cancelled; }
  // The quality chosen with "Enregistrer", 45 … 100; meaningful only when
  // Cancelled() is false.
  std::int32_t Def_JPG2() const { return m_quality; }

  // The word shown for slider value `v`.
  static QString QualityWord(int v);

  QLabel* Label1() const { return m_label1; }
  QLabel* Q_JPG() const { return m_qJpg; }
  QScrollBar* QualitJPG() const { return m_qualitJpg; }
  QPushButton* cmdCancelJPG() const { return m_cmdCancelJpg; }
  QPushButton* EnregJPG() const { return m_enregJpg; }

 private slots:
  void EnregJPG_Click();
  void cmdCancelJPG_Click();
  // Only dragging the thumb renames the band; arrows, track clicks and keys
  // move the value and leave the word as it was.
  void QualitJPG_Scroll(int value);

 private:
  QLabel* m_label1 = nullptr;
  QLabel* m_qJpg = nullptr;
  QScrollBar* m_qualitJpg = nullptr;
  QPushButton* m_cmdCancelJpg = nullptr;
  QPushButton* m_enregJpg = nullptr;
  bool m_cancelled = true;
  std::int32_t m_quality = 0;
};

}  // namespace fotavel
