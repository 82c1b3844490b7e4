// The bar that the progress-bar control places inside itself: Qt's progress bar plus a step.
#pragma once

#include <QPalette>
#include <QProgressBar>
#include <cstdint>
#include <optional>
#include <utility>

namespace fotavel {

// Everything the control asks of its bar goes through these members, so that
// the control's rule "only act on a change" can be watched from outside and a
// bar without a 32-bit range can be stood in for.
//
// Behaves as the desktop's own bar does: positions outside the range are
// clamped, a range change keeps the position (clamped), and StepIt starts over
// at the other end of the range when a step goes past it.
class ProgressBarWindow : public QProgressBar {
  Q_OBJECT

 public:
  ProgressBarWindow(QWidget* parent, bool vertical, bool smooth);

  virtual void SetPosition(std::int32_t position);
  // Where the bar stands; what it draws (value()) follows whenever the
  // drawing would change.
  std::int32_t Position() const { return m_position; }
  virtual void SetStep(std::int32_t step);
  std::int32_t Step() const { return m_step; }
  virtual void StepIt();
  virtual void SetRange32(std::int32_t min, std::int32_t max);
  virtual std::pair<std::int32_t, std::int32_t> Range() const;
  // Both limits read as unsigned 16-bit numbers.
  virtual void SetRange16(std::uint16_t min, std::uint16_t max);
  // Empty: back to the style's own colour.
  virtual void SetBarColour(std::optional<QColor> colour);
  virtual void SetBackgroundColour(std::optional<QColor> colour);
  // A one-pixel edge, darker at the top and left, lighter at the bottom and right.
  virtual void SetThinEdge(bool on);
  bool ThinEdge() const { return m_thinEdge; }
  // Qt draws no segmented bars: smoothness is only remembered.
  bool Smooth() const { return m_smooth; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ApplyRange(std::int32_t min, std::int32_t max);
  // Hands the position to the drawing and marks the bar for the next paint.
  void ShowPosition();
  // How many pixels of the bar `position` fills.
  std::int64_t Filled(std::int32_t position) const;

  std::int32_t m_position = 0;
  std::int32_t m_step = 1;
  bool m_smooth = false;
  bool m_thinEdge = false;
  QPalette m_stylePalette;
};

}  // namespace fotavel
