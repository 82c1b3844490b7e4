// The quality dialog of the formats saved with a loss (JPEG, WebP, AVIF): a slider from 45 to 100,
// the word naming the chosen quality band, a file size not to pass and, for WebP, no loss at all.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSpinBox;

namespace fotavel {

// Made for one save: starts at 70 ("Moyenne"), no size limit, every time.
// The caller shows it with exec() and then reads Cancelled(), Def_JPG2(),
// Lossless() and MaxBytes(), which stay readable after the window has closed.
class fSauvJpg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMinimum = 45;
  static constexpr int kMaximum = 100;
  static constexpr int kInitial = 70;
  // The size limit's box, in Ko of 1000 bytes as the program's memory texts count.
  static constexpr int kInitialKo = 500;
  static constexpr int kMaximumKo = 1'000'000;

  // offersLossless: the "Sans perte" box is shown too (WebP).
  explicit fSauvJpg(QWidget* owner = nullptr, bool offersLossless = false);

  // False only once "Enregistrer" closed the dialog.
  bool Cancelled() const { return m_cancelled; }
  // The quality chosen with "Enregistrer", 45 … 100; meaningful only when
  // Cancelled() is false.
  std::int32_t Def_JPG2() const { return m_quality; }
  // Whether "Sans perte" was checked; the quality then does not count.
  bool Lossless() const { return m_lossless; }
  // The largest file allowed, in bytes; 0 when the size was not limited
  // (nor can be: a file without loss has no quality to lower).
  std::uint64_t MaxBytes() const { return m_maxBytes; }

  // The word shown for slider value `v`.
  static QString QualityWord(int v);

  QLabel* Label1() const { return m_label1; }
  QLabel* Q_JPG() const { return m_qJpg; }
  QScrollBar* QualitJPG() const { return m_qualitJpg; }
  QPushButton* cmdCancelJPG() const { return m_cmdCancelJpg; }
  QPushButton* EnregJPG() const { return m_enregJpg; }
  // Null unless offersLossless.
  QCheckBox* SansPerte() const { return m_sansPerte; }
  QCheckBox* TailleMax() const { return m_tailleMax; }
  QSpinBox* TailleKo() const { return m_tailleKo; }

 private slots:
  void EnregJPG_Click();
  void cmdCancelJPG_Click();
  // Only dragging the thumb renames the band; arrows, track clicks and keys
  // move the value and leave the word as it was.
  void QualitJPG_Scroll(int value);
  // What can be set follows the boxes: no quality and no size without loss,
  // no size unless it is limited.
  void UpdateEnabled();

 private:
  QLabel* m_label1 = nullptr;
  QLabel* m_qJpg = nullptr;
  QScrollBar* m_qualitJpg = nullptr;
  QPushButton* m_cmdCancelJpg = nullptr;
  QPushButton* m_enregJpg = nullptr;
  QCheckBox* m_sansPerte = nullptr;
  QCheckBox* m_tailleMax = nullptr;
  QSpinBox* m_tailleKo = nullptr;
  bool m_cancelled = true;
  std::int32_t m_quality = 0;
  bool m_lossless = false;
  std::uint64_t m_maxBytes = 0;
};

}  // namespace fotavel
