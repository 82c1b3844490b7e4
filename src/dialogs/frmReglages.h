// The adjustment window: four sliders, the histogram of the result, and the original on demand.
#pragma once

#include <QDialog>
#include <array>

#include "effects/Adjustments.h"

class QLabel;
class QPushButton;
class QSlider;

namespace fotavel {

class HistogramView;

// Made for one adjustment: the caller hands it the photo's automatic levels
// with SetAutoLevels, follows SettingsChanged and OriginalHeld to preview
// the settings on the photo, feeds the preview's counts back with
// SetHistogram, shows it with exec(), then reads Cancelled() and, when
// false, Settings(). The dialog itself never touches the photo.
class frmReglages : public QDialog {
  Q_OBJECT

 public:
  // The sliders in the order they are shown.
  enum Slider { kLuminosite, kContraste, kSaturation, kChaleur, kSliders };

  explicit frmReglages(QWidget* owner = nullptr);

  // What "Automatique" sets the sliders from.
  void SetAutoLevels(const AutoLevels& levels) { m_autoLevels = levels; }
  // The counts of the adjusted picture, for the histogram.
  void SetHistogram(const Histogram& histogram);

  // The sliders' settings now; after OK, the settings chosen.
  AdjustSettings Settings() const;
  // False only once OK closed the dialog.
  bool Cancelled() const { return m_cancelled; }

  QSlider* Curseur(Slider which) const { return m_sliders[which]; }
  QLabel* Valeur(Slider which) const { return m_values[which]; }
  HistogramView* Histogramme() const { return m_histogram; }
  QPushButton* cmdAuto() const { return m_cmdAuto; }
  QPushButton* cmdReset() const { return m_cmdReset; }
  QPushButton* cmdOriginal() const { return m_cmdOriginal; }
  QPushButton* cmdOK() const { return m_cmdOK; }
  QPushButton* cmdCancel() const { return m_cmdCancel; }

 signals:
  // Once per change of the settings, however many sliders it moved.
  void SettingsChanged(const fotavel::AdjustSettings& settings);
  // True while the original is asked for (button or key held), false after.
  void OriginalHeld(bool held);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  // Moves every slider at once, with a single SettingsChanged after.
  void SetSettings(const AdjustSettings& settings);
  void SliderMoved(Slider which, int value);
  void HoldOriginal(bool held);

  std::array<QSlider*, kSliders> m_sliders{};
  std::array<QLabel*, kSliders> m_values{};
  HistogramView* m_histogram = nullptr;
  QPushButton* m_cmdAuto = nullptr;
  QPushButton* m_cmdReset = nullptr;
  QPushButton* m_cmdOriginal = nullptr;
  QPushButton* m_cmdOK = nullptr;
  QPushButton* m_cmdCancel = nullptr;

  AutoLevels m_autoLevels;
  bool m_cancelled = true;
  // Set while SetSettings moves the sliders one by one.
  bool m_settingAll = false;
  // The button and the key are held apart: releasing one while the other is
  // still down keeps the original shown.
  bool m_buttonHeld = false;
  bool m_keyHeld = false;
  bool m_originalShown = false;
};

}  // namespace fotavel
