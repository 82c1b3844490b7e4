// The histogram's drawing: each channel a filled curve, scaled so that the tallest bin but one
// fits.
#include "dialogs/HistogramView.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>

namespace fotavel {

HistogramView::HistogramView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Histogramme"));
  setMinimumSize(130, 60);
}

void HistogramView::SetHistogram(const Histogram& histogram) {
  m_histogram = histogram;
  update();
}

void HistogramView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
  painter.fillRect(rect(), QColor(32, 32, 32));
  if (m_histogram.pixels == 0 || area.width() <= 0 || area.height() <= 0) return;

  using Bins = std::array<std::uint64_t, 256>;
  // A photo with a white sky or a black frame has one bin far above the
  // rest: scaled to it, every other bin would be a flat line. The second
  // tallest sets the scale, and the tallest is cut off at the top.
  const auto scaleOf = [](const Bins& bins) {
    Bins sorted = bins;
    std::nth_element(sorted.begin(), sorted.begin() + 1, sorted.end(), std::greater<>());
    return std::max<std::uint64_t>(1, sorted[1] > 0 ? sorted[1] : sorted[0]);
  };
  const std::uint64_t scale = std::max({scaleOf(m_histogram.red), scaleOf(m_histogram.green),
                                        scaleOf(m_histogram.blue), scaleOf(m_histogram.lightness)});

  const auto curve = [&](const Bins& bins) {
    QPainterPath path;
    path.moveTo(area.left(), area.bottom());
    for (int i = 0; i < 256; ++i) {
      const double x = area.left() + area.width() * (i + 0.5) / 256;
      const double h = std::min(1.0, double(bins[std::size_t(i)]) / double(scale));
      path.lineTo(x, area.bottom() - h * area.height());
    }
    path.lineTo(area.right(), area.bottom());
    path.closeSubpath();
    return path;
  };
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  // Added together, the three colours give white where they overlap, as
  // the channels of a screen do.
  painter.setCompositionMode(QPainter::CompositionMode_Plus);
  painter.setBrush(QColor(160, 0, 0));
  painter.drawPath(curve(m_histogram.red));
  painter.setBrush(QColor(0, 160, 0));
  painter.drawPath(curve(m_histogram.green));
  painter.setBrush(QColor(0, 0, 160));
  painter.drawPath(curve(m_histogram.blue));
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(230, 230, 230), 1.2));
  painter.drawPath(curve(m_histogram.lightness));
}

}  // namespace fotavel
