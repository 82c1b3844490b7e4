// The adjustment preview: the display level on screen through the adjustment, painted over Image1.
#include "shell/AdjustPreview.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include "shell/frmImage.h"
#include "surface/DisplayPyramid.h"

namespace fotavel {

AdjustPreview::AdjustPreview(frmImage& window) : QWidget(window.Image1()), m_window(window) {
  setObjectName(QStringLiteral("AdjustPreview"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The mouse tools under it keep working as they would on the photo.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  QWidget* image1 = window.Image1();
  setGeometry(image1->rect());
  image1->installEventFilter(this);
  Adjust();
  show();
}

void AdjustPreview::SetSettings(const AdjustSettings& settings) {
  m_settings = settings;
  Adjust();
  update();
}

void AdjustPreview::ShowOriginal(bool original) { setVisible(!original); }

Histogram AdjustPreview::Counts() const {
  if (m_picture.isNull()) return {};
  return HistogramOf(reinterpret_cast<const std::uint32_t*>(m_picture.constBits()),
                     m_picture.width(), m_picture.height(),
                     std::int32_t(m_picture.bytesPerLine() / 4));
}

void AdjustPreview::Adjust() {
  const DisplayPyramid& display = m_window.Display();
  QWidget* image1 = m_window.Image1();
  if (display.empty() || image1->width() <= 0 || image1->height() <= 0) {
    m_picture = QImage();
    m_level = -1;
    return;
  }
  m_level = display.LevelFor(image1->width(), image1->height());
  const DisplayPyramid::Level& level = display.level(m_level);
  if (level.bits == nullptr) {
    m_picture = QImage();
    return;
  }
  // A buffer of the same size is written over, never made again: a slider
  // dragged across its range costs no allocation.
  if (m_picture.size() != QSize(level.width, level.height)) {
    m_picture = QImage(level.width, level.height, QImage::Format_RGB32);
  }
  const Adjustment adjustment(m_settings);
  for (std::int32_t y = 0; y < level.height; ++y) {
    adjustment.Row32(level.bits + std::size_t(y) * std::size_t(level.width),
                     reinterpret_cast<std::uint32_t*>(m_picture.scanLine(y)), level.width);
  }
}

// Painted as Image1 paints its level, so that the preview and the original
// line up pixel for pixel when one gives way to the other.
void AdjustPreview::paintEvent(QPaintEvent*) {
  const DisplayPyramid& display = m_window.Display();
  if (!display.empty() && display.LevelFor(width(), height()) != m_level) Adjust();
  QPainter painter(this);
  if (m_picture.isNull()) {
    painter.fillRect(rect(), QColor(224, 224, 224));
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, width() < m_picture.width());
  painter.drawImage(QRectF(rect()), m_picture, QRectF(m_picture.rect()));
}

// Image1 is resized before the display is rebuilt for its new size: the
// level is looked up again at the next paint, once both are done.
bool AdjustPreview::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_window.Image1() && event->type() == QEvent::Resize) {
    setGeometry(m_window.Image1()->rect());
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace fotavel
