// The adjustment window's histogram: red, green, blue and lightness drawn over one another.
#pragma once

#include <QWidget>

#include "effects/Adjustments.h"

namespace fotavel {

// Draws what it is given and nothing more: the dialog hands it the counts
// of the adjusted picture after each change.
class HistogramView : public QWidget {
  Q_OBJECT

 public:
  explicit HistogramView(QWidget* parent = nullptr);

  void SetHistogram(const Histogram& histogram);
  const Histogram& Counts() const { return m_histogram; }

  QSize sizeHint() const override { return {258, 110}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Histogram m_histogram;
};

}  // namespace fotavel
