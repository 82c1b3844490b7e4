// The adjustment window's preview on a document window: the display copy on screen, adjusted.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "effects/Adjustments.h"

namespace fotavel {

class frmImage;

// Lies over Image1, the same size, while the adjustment window is open, and
// paints the level of the display pyramid that Image1 paints, run through
// Adjustment(settings).Row32, into a buffer kept from one change to the
// next; the photo itself is not touched. Hidden, it lets Image1's original
// show through at the cost of one repaint. It goes with the window's Image1,
// or before it when the adjustment ends.
//
// At 1:1 the level on screen is the whole photo while the view shows a
// small part of it: the level is adjusted in tiles, each when a paint first
// needs it after a change, so that a slider step costs what is on screen.
class AdjustPreview : public QWidget {
  Q_OBJECT

 public:
  explicit AdjustPreview(frmImage& window);

  // New settings: every tile is stale, the view repainted.
  void SetSettings(const AdjustSettings& settings);
  // The original (true) or the preview (false).
  void ShowOriginal(bool original);

  const AdjustSettings& Settings() const { return m_settings; }
  // The whole level on screen, adjusted.
  const QImage& Picture();
  // The counts of the adjusted display copy, for the histogram: of the level
  // on screen, or of the first coarser level of at most kCountedPixels, so
  // that the count costs the same at every zoom.
  Histogram Counts();

  static constexpr std::int64_t kCountedPixels = 2'000'000;
  static constexpr std::int32_t kTile = 256;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Takes the level Image1 paints at its present size, every tile stale.
  void TakeLevel();
  // The tiles of `area` (level pixels) not yet adjusted for the settings.
  void AdjustArea(const QRect& area);

  frmImage& m_window;
  AdjustSettings m_settings;
  QImage m_picture;
  // The level m_picture was made from; -1 before the first.
  std::int32_t m_level = -1;
  // Per tile, row by row: the change it was adjusted for.
  std::vector<std::uint32_t> m_tileChange;
  std::int32_t m_tilesAcross = 0;
  std::uint32_t m_change = 1;
  // The coarser level the histogram counts at 1:1, adjusted.
  std::vector<std::uint32_t> m_counted;
};

}  // namespace fotavel
