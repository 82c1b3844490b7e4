// The adjustment window's preview on a document window: the display copy on screen, adjusted.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "effects/Adjustments.h"

namespace fotavel {

class frmImage;

// Lies over Image1, the same size, while the adjustment window is open, and
// paints the level of the display pyramid that Image1 paints, run through
// Adjustment(settings).Row32. Only that level is adjusted, once per change
// of the settings, into a buffer kept from one change to the next; the
// photo itself is not touched. Hidden, it lets Image1's original show
// through at the cost of one repaint. It goes with the window's Image1, or
// before it when the adjustment ends.
class AdjustPreview : public QWidget {
  Q_OBJECT

 public:
  explicit AdjustPreview(frmImage& window);

  // Adjusts the level on screen anew and repaints.
  void SetSettings(const AdjustSettings& settings);
  // The original (true) or the preview (false).
  void ShowOriginal(bool original);

  const AdjustSettings& Settings() const { return m_settings; }
  // The adjusted level as painted, and its counts for the histogram.
  const QImage& Picture() const { return m_picture; }
  Histogram Counts() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The level Image1 paints at its present size into m_picture.
  void Adjust();

  frmImage& m_window;
  AdjustSettings m_settings;
  QImage m_picture;
  // The level m_picture was made from; -1 before the first.
  std::int32_t m_level = -1;
};

}  // namespace fotavel
