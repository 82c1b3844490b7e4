// The bar that the progress-bar control places inside itself: Qt's progress bar plus a step.
#include "controls/ProgressBarWindow.h"

#include <QPainter>
#include <QStyleOptionProgressBar>
#include <QStylePainter>
#include <algorithm>

namespace fotavel {

ProgressBarWindow::ProgressBarWindow(QWidget* parent, bool vertical, bool smooth)
    : QProgressBar(parent), m_smooth(smooth) {
  setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
  // The desktop's bar shows no percentage.
  setTextVisible(false);
  setRange(0, 100);
  ShowPosition();
  m_stylePalette = palette();
}

void ProgressBarWindow::SetPosition(std::int32_t position) {
  // QProgressBar ignores values outside its range; the desktop's bar clamps.
  m_position = std::clamp(position, minimum(), maximum());
  // A long pass reports its position after every column, thousands of times.
  // QProgressBar repaints at once, synchronously, whenever a new value changes
  // its look, and that alone made a 4 ms effect last two seconds. The value
  // is handed on only when the drawing changes, and then it only marks the
  // bar for the window's next paint.
  if (isVisible() && Filled(m_position) == Filled(value())) return;
  ShowPosition();
}

void ProgressBarWindow::ShowPosition() {
  const bool enabled = updatesEnabled();
  setUpdatesEnabled(false);
  setValue(m_position);
  // Turning updates back on marks the bar for the next paint.
  setUpdatesEnabled(enabled);
}

std::int64_t ProgressBarWindow::Filled(std::int32_t position) const {
  const std::int64_t span = std::int64_t{maximum()} - minimum();
  if (span <= 0) return 0;
  const std::int64_t extent = orientation() == Qt::Horizontal ? width() : height();
  return (std::int64_t{position} - minimum()) * extent / span;
}

void ProgressBarWindow::SetStep(std::int32_t step) { m_step = step; }

void ProgressBarWindow::StepIt() {
  const std::int64_t next = static_cast<std::int64_t>(m_position) + m_step;
  if (next > maximum()) {
    SetPosition(minimum());
  } else if (next < minimum()) {
    SetPosition(maximum());
  } else {
    SetPosition(static_cast<std::int32_t>(next));
  }
}

void ProgressBarWindow::ApplyRange(std::int32_t min, std::int32_t max) {
  // QProgressBar forgets a position that falls outside a new range.
  setRange(min, max);
  m_position = std::clamp(m_position, minimum(), maximum());
  ShowPosition();
}

void ProgressBarWindow::SetRange32(std::int32_t min, std::int32_t max) { ApplyRange(min, max); }

std::pair<std::int32_t, std::int32_t> ProgressBarWindow::Range() const {
  return {minimum(), maximum()};
}

void ProgressBarWindow::SetRange16(std::uint16_t min, std::uint16_t max) { ApplyRange(min, max); }

void ProgressBarWindow::SetBarColour(std::optional<QColor> colour) {
  QPalette p = palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Highlight,
               colour.value_or(m_stylePalette.color(group, QPalette::Highlight)));
  }
  setPalette(p);
}

void ProgressBarWindow::SetBackgroundColour(std::optional<QColor> colour) {
  // Styles paint the groove from Base or from Window; both follow.
  QPalette p = palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    for (const auto role : {QPalette::Base, QPalette::Window}) {
      p.setColor(group, role, colour.value_or(m_stylePalette.color(group, role)));
    }
  }
  setPalette(p);
}

void ProgressBarWindow::SetThinEdge(bool on) {
  m_thinEdge = on;
  update();
}

void ProgressBarWindow::paintEvent(QPaintEvent* event) {
  if (!m_thinEdge) {
    QProgressBar::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionProgressBar option;
  initStyleOption(&option);
  option.rect = rect().adjusted(1, 1, -1, -1);
  painter.drawControl(QStyle::CE_ProgressBar, option);
  const QRect r = rect();
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawLine(r.topLeft(), r.topRight());
  painter.drawLine(r.topLeft(), r.bottomLeft());
  painter.setPen(palette().color(QPalette::Light));
  painter.drawLine(r.bottomLeft(), r.bottomRight());
  painter.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace fotavel
