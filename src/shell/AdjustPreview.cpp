// The adjustment preview: the display level on screen through the adjustment, painted over Image1.
#include "shell/AdjustPreview.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "shell/frmImage.h"
#include "surface/DisplayPyramid.h"

namespace fotavel {

namespace {

// The pixels of `level` run through `adjustment` into `to`, over `area`.
void AdjustRect(const DisplayPyramid::Level& level, const Adjustment& adjustment, QImage& to,
                const QRect& area) {
  for (std::int32_t y = area.top(); y <= area.bottom(); ++y) {
    const std::uint32_t* from =
        level.bits + std::size_t(y) * std::size_t(level.width) + std::size_t(area.left());
    auto* row = reinterpret_cast<std::uint32_t*>(to.scanLine(y)) + area.left();
    adjustment.Row32(from, row, area.width());
  }
}

}  // namespace

AdjustPreview::AdjustPreview(frmImage& window) : QWidget(window.Image1()), m_window(window) {
  setObjectName(QStringLiteral("AdjustPreview"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The mouse tools under it keep working as they would on the photo.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  QWidget* image1 = window.Image1();
  setGeometry(image1->rect());
  image1->installEventFilter(this);
  TakeLevel();
  show();
}

void AdjustPreview::SetSettings(const AdjustSettings& settings) {
  m_settings = settings;
  ++m_change;
  update();
}

void AdjustPreview::ShowOriginal(bool original) { setVisible(!original); }

const QImage& AdjustPreview::Picture() {
  AdjustArea(m_picture.rect());
  return m_picture;
}

Histogram AdjustPreview::Counts() {
  const DisplayPyramid& display = m_window.Display();
  if (display.empty() || m_level < 0) return {};
  std::int32_t k = m_level;
  while (k + 1 < display.Levels() &&
         std::int64_t(display.level(k).width) * display.level(k).height > kCountedPixels) {
    ++k;
  }
  if (k == m_level) {
    const QImage& picture = Picture();
    return HistogramOf(reinterpret_cast<const std::uint32_t*>(picture.constBits()), picture.width(),
                       picture.height(), std::int32_t(picture.bytesPerLine() / 4));
  }
  // A coarser level is adjusted apart: the preview's own tiles are left to
  // the paints that need them.
  const DisplayPyramid::Level& level = display.level(k);
  m_counted.resize(std::size_t(level.width) * std::size_t(level.height));
  Adjustment(m_settings).Row32(level.bits, m_counted.data(), std::int32_t(m_counted.size()));
  return HistogramOf(m_counted.data(), level.width, level.height, level.width);
}

void AdjustPreview::TakeLevel() {
  const DisplayPyramid& display = m_window.Display();
  QWidget* image1 = m_window.Image1();
  m_level = -1;
  if (display.empty() || image1->width() <= 0 || image1->height() <= 0) {
    m_picture = QImage();
    return;
  }
  const std::int32_t k = display.LevelFor(image1->width(), image1->height());
  const DisplayPyramid::Level& level = display.level(k);
  if (level.bits == nullptr) {
    m_picture = QImage();
    return;
  }
  m_level = k;
  // A buffer of the same size is written over, never made again.
  if (m_picture.size() != QSize(level.width, level.height)) {
    m_picture = QImage(level.width, level.height, QImage::Format_RGB32);
  }
  m_tilesAcross = (level.width + kTile - 1) / kTile;
  const std::int32_t tilesDown = (level.height + kTile - 1) / kTile;
  m_tileChange.assign(std::size_t(m_tilesAcross) * std::size_t(tilesDown), 0);
}

void AdjustPreview::AdjustArea(const QRect& wanted) {
  const QRect area = wanted & m_picture.rect();
  if (m_level < 0 || area.isEmpty()) return;
  const DisplayPyramid::Level& level = m_window.Display().level(m_level);
  const Adjustment adjustment(m_settings);
  for (std::int32_t ty = area.top() / kTile; ty <= area.bottom() / kTile; ++ty) {
    for (std::int32_t tx = area.left() / kTile; tx <= area.right() / kTile; ++tx) {
      std::uint32_t& change = m_tileChange[std::size_t(ty) * std::size_t(m_tilesAcross) + tx];
      if (change == m_change) continue;
      AdjustRect(level, adjustment, m_picture,
                 QRect(tx * kTile, ty * kTile, kTile, kTile) & m_picture.rect());
      change = m_change;
    }
  }
}

// Painted as Image1 paints its level, so that the preview and the original
// line up pixel for pixel when one gives way to the other.
void AdjustPreview::paintEvent(QPaintEvent* event) {
  const DisplayPyramid& display = m_window.Display();
  if (!display.empty() && display.LevelFor(width(), height()) != m_level) TakeLevel();
  QPainter painter(this);
  if (m_picture.isNull()) {
    painter.fillRect(rect(), QColor(224, 224, 224));
    return;
  }
  // The level pixels the exposed part samples, a pixel of margin all round
  // for the smoothing's neighbours.
  const double sx = double(m_picture.width()) / width();
  const double sy = double(m_picture.height()) / height();
  const QRect exposed = event->rect();
  AdjustArea(QRect(
      QPoint(int(std::floor(exposed.left() * sx)) - 1, int(std::floor(exposed.top() * sy)) - 1),
      QPoint(int(std::ceil((exposed.right() + 1) * sx)) + 1,
             int(std::ceil((exposed.bottom() + 1) * sy)) + 1)));
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
