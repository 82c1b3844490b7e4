// The crop mode's rectangle: the gestures that draw, move and resize it in photo pixels, and its
// painting over the photo.
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "shell/CropTool.h"
#include "shell/frmImage.h"

namespace fotavel {

namespace {

// How near an edge, in screen pixels, the pointer takes that edge.
constexpr int kGripMargin = 6;
// Half the band around the frame that its handles and lines paint in.
constexpr int kFrameBand = 5;
const QColor kDim(0, 0, 0, 128);

// To the nearest, halves up; numerator and denominator positive.
std::int32_t RoundDiv(std::int64_t numerator, std::int64_t denominator) {
  return static_cast<std::int32_t>((numerator + denominator / 2) / denominator);
}

std::int32_t FloorHalf(std::int32_t value) { return value >= 0 ? value / 2 : -((1 - value) / 2); }

int Third(int start, int length, int k) { return start + length * k / 3; }

// What the overlay paints of a rectangle besides the dimming: the frame with
// its handles and the lines of thirds, each in a thin band.
QRegion Decorations(const QRect& r) {
  QRegion band =
      QRegion(r.adjusted(-kFrameBand, -kFrameBand, kFrameBand, kFrameBand))
          .subtracted(QRegion(r.adjusted(kFrameBand, kFrameBand, -kFrameBand, -kFrameBand)));
  for (int k = 1; k <= 2; ++k) {
    band += QRect(Third(r.left(), r.width(), k) - 1, r.top(), 3, r.height());
    band += QRect(r.left(), Third(r.top(), r.height(), k) - 1, r.width(), 3);
  }
  return band;
}

}  // namespace

// ---- The overlay ----

CropOverlay::CropOverlay(CropTool& tool, QWidget* image1) : QWidget(image1), m_tool(tool) {
  setObjectName(QStringLiteral("CropOverlay"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::CrossCursor);
}

// Only the exposed part is painted: a drag exposes the strips the frame left
// and reached, so the photo under them is all Image1 draws again.
void CropOverlay::paintEvent(QPaintEvent* event) {
  const std::optional<QRect> shown = m_tool.ShownRect();
  if (!shown) return;
  const QRect& r = *shown;
  QPainter painter(this);
  for (const QRect& part : event->region().subtracted(QRegion(r))) painter.fillRect(part, kDim);

  painter.setPen(QColor(255, 255, 255, 150));
  for (int k = 1; k <= 2; ++k) {
    const int x = Third(r.left(), r.width(), k);
    const int y = Third(r.top(), r.height(), k);
    painter.drawLine(x, r.top(), x, r.bottom());
    painter.drawLine(r.left(), y, r.right(), y);
  }
  // White inside, dark outside: the frame shows on a bright photo and a dark one.
  painter.setPen(QColor(0, 0, 0, 160));
  painter.drawRect(r.adjusted(-1, -1, 0, 0));
  painter.setPen(Qt::white);
  painter.drawRect(r.adjusted(0, 0, -1, -1));
  painter.setPen(QColor(40, 40, 40));
  painter.setBrush(Qt::white);
  const int xs[] = {r.left(), r.left() + r.width() / 2, r.left() + r.width()};
  const int ys[] = {r.top(), r.top() + r.height() / 2, r.top() + r.height()};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      if (i != 1 || j != 1) painter.drawRect(xs[i] - 3, ys[j] - 3, 6, 6);
    }
  }
}

void CropOverlay::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_tool.Press(event->position().toPoint());
}

void CropOverlay::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) {
    m_tool.Drag(event->position().toPoint());
  } else {
    m_tool.Hover(event->position().toPoint());
  }
}

void CropOverlay::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_tool.Drag(event->position().toPoint());
  m_tool.Release();
}

void CropOverlay::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_tool.DoubleClick(event->position().toPoint());
}

// ---- Geometry ----

QPointF CropTool::ToPhoto(QPoint at) const {
  const QWidget* image = m_window.Image1();
  const double w = PhotoWidth();
  const double h = PhotoHeight();
  return {std::clamp(at.x() * w / std::max(1, image->width()), 0.0, w),
          std::clamp(at.y() * h / std::max(1, image->height()), 0.0, h)};
}

QRect CropTool::ToOverlay(const PixelRect& rect) const {
  const QWidget* image = m_window.Image1();
  const auto x = [&](std::int64_t v) {
    return static_cast<int>(std::lround(double(v) * image->width() / PhotoWidth()));
  };
  const auto y = [&](std::int64_t v) {
    return static_cast<int>(std::lround(double(v) * image->height() / PhotoHeight()));
  };
  const int left = x(rect.left);
  const int top = y(rect.top);
  // However small the zoom, the rectangle keeps a pixel to be seen and taken.
  return {left, top, std::max(1, x(rect.right()) - left), std::max(1, y(rect.bottom()) - top)};
}

std::optional<QRect> CropTool::ShownRect() const {
  if (!m_rect) return std::nullopt;
  return ToOverlay(*m_rect);
}

int CropTool::GripAt(QPoint at) const {
  if (!m_rect) return kNone;
  const QRect r = ToOverlay(*m_rect);
  const int right = r.left() + r.width();
  const int bottom = r.top() + r.height();
  if (at.x() < r.left() - kGripMargin || at.x() > right + kGripMargin ||
      at.y() < r.top() - kGripMargin || at.y() > bottom + kGripMargin) {
    return kNone;
  }
  int grip = kNone;
  if (std::abs(at.x() - r.left()) <= kGripMargin) {
    grip |= kLeft;
  } else if (std::abs(at.x() - right) <= kGripMargin) {
    grip |= kRight;
  }
  if (std::abs(at.y() - r.top()) <= kGripMargin) {
    grip |= kTop;
  } else if (std::abs(at.y() - bottom) <= kGripMargin) {
    grip |= kBottom;
  }
  return grip == kNone ? kInside : grip;
}

PixelRect CropTool::FromAnchor(QPoint anchor, QPoint to) const {
  const std::int32_t photoW = PhotoWidth();
  const std::int32_t photoH = PhotoHeight();
  // Not moved on an axis, the rectangle grows the way there is room.
  const bool forwardX = to.x() > anchor.x() || (to.x() == anchor.x() && anchor.x() < photoW);
  const bool forwardY = to.y() > anchor.y() || (to.y() == anchor.y() && anchor.y() < photoH);
  const std::int64_t roomX = forwardX ? photoW - anchor.x() : anchor.x();
  const std::int64_t roomY = forwardY ? photoH - anchor.y() : anchor.y();
  std::int64_t w = std::min<std::int64_t>(std::abs(to.x() - anchor.x()), roomX);
  std::int64_t h = std::min<std::int64_t>(std::abs(to.y() - anchor.y()), roomY);
  if (m_ratio) {
    const std::int64_t rw = m_ratio->width;
    const std::int64_t rh = m_ratio->height;
    // The side the pointer leads by sets the size, as far as the photo goes.
    if (w * rh >= h * rw) {
      h = RoundDiv(w * rh, rw);
    } else {
      w = RoundDiv(h * rw, rh);
    }
    if (h > roomY) {
      h = roomY;
      w = RoundDiv(h * rw, rh);
    }
    if (w > roomX) {
      w = roomX;
      h = RoundDiv(w * rh, rw);
    }
  }
  w = std::max<std::int64_t>(1, w);
  h = std::max<std::int64_t>(1, h);
  return {static_cast<std::int32_t>(forwardX ? anchor.x() : anchor.x() - w),
          static_cast<std::int32_t>(forwardY ? anchor.y() : anchor.y() - h),
          static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)};
}

PixelRect CropTool::EdgeWithRatio(int grip, QPoint to) const {
  const bool horizontal = (grip & (kLeft | kRight)) != 0;
  // Worked on one axis ("along", the dragged side's) and the other
  // ("across"), whichever they are on screen.
  const std::int32_t along = horizontal ? PhotoWidth() : PhotoHeight();
  const std::int32_t across = horizontal ? PhotoHeight() : PhotoWidth();
  const std::int64_t ra = horizontal ? m_ratio->width : m_ratio->height;
  const std::int64_t rc = horizontal ? m_ratio->height : m_ratio->width;
  const std::int32_t start = horizontal ? m_before.left : m_before.top;
  const std::int32_t length = horizontal ? m_before.width : m_before.height;
  const std::int32_t crossStart = horizontal ? m_before.top : m_before.left;
  const std::int32_t crossLength = horizontal ? m_before.height : m_before.width;
  const std::int32_t anchor = grip & (kLeft | kTop) ? start + length : start;
  const std::int32_t pointer = horizontal ? to.x() : to.y();

  const bool forward = pointer > anchor || (pointer == anchor && anchor < along);
  std::int64_t size = std::abs(pointer - anchor);
  size = std::min<std::int64_t>(size, forward ? along - anchor : anchor);
  size = std::min<std::int64_t>(size, std::int64_t{across} * ra / rc);
  size = std::max<std::int64_t>(1, size);
  const std::int32_t crossSize =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(RoundDiv(size * rc, ra), 1, across));
  const std::int32_t first = static_cast<std::int32_t>(forward ? anchor : anchor - size);
  const std::int32_t crossFirst =
      std::clamp(crossStart + FloorHalf(crossLength - crossSize), 0, across - crossSize);
  const auto sized = static_cast<std::int32_t>(size);
  return horizontal ? PixelRect{first, crossFirst, sized, crossSize}
                    : PixelRect{crossFirst, first, crossSize, sized};
}

PixelRect CropTool::AroundCentre(std::int32_t width, std::int32_t height, int typed) const {
  const std::int32_t photoW = PhotoWidth();
  const std::int32_t photoH = PhotoHeight();
  std::int64_t w = width;
  std::int64_t h = height;
  if (m_ratio) {
    const std::int64_t rw = m_ratio->width;
    const std::int64_t rh = m_ratio->height;
    if (typed == 0) {
      h = RoundDiv(w * rh, rw);
    } else {
      w = RoundDiv(h * rw, rh);
    }
    if (w > photoW) {
      w = photoW;
      h = RoundDiv(w * rh, rw);
    }
    if (h > photoH) {
      h = photoH;
      w = RoundDiv(h * rw, rh);
    }
  }
  const auto sw = static_cast<std::int32_t>(std::clamp<std::int64_t>(w, 1, photoW));
  const auto sh = static_cast<std::int32_t>(std::clamp<std::int64_t>(h, 1, photoH));
  const PixelRect base = m_rect.value_or(PixelRect{0, 0, photoW, photoH});
  return {std::clamp(base.left + FloorHalf(base.width - sw), 0, photoW - sw),
          std::clamp(base.top + FloorHalf(base.height - sh), 0, photoH - sh), sw, sh};
}

// ---- Gestures ----

void CropTool::Press(QPoint at) {
  m_overlay->setFocus();
  const QPointF p = ToPhoto(at);
  m_pressed = p;
  m_anchor = QPoint(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y())));
  m_before = m_rect.value_or(PixelRect{});
  const int grip = GripAt(at);
  // Anywhere off the rectangle a new one is drawn, once the pointer moves.
  m_grip = grip == kNone ? kNew : grip;
}

void CropTool::Drag(QPoint at) {
  if (m_grip == kNone) return;
  const QPointF p = ToPhoto(at);
  const QPoint to(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y())));
  if (m_grip == kNew) {
    if (to != m_anchor) SetRect(FromAnchor(m_anchor, to));
    return;
  }
  if (m_grip == kInside) {
    PixelRect moved = m_before;
    moved.left =
        std::clamp(m_before.left + static_cast<std::int32_t>(std::lround(p.x() - m_pressed.x())), 0,
                   PhotoWidth() - m_before.width);
    moved.top =
        std::clamp(m_before.top + static_cast<std::int32_t>(std::lround(p.y() - m_pressed.y())), 0,
                   PhotoHeight() - m_before.height);
    SetRect(moved);
    return;
  }
  // The edges held go by as much as the pointer has, wherever on them it was taken.
  const std::int32_t right = static_cast<std::int32_t>(m_before.right());
  const std::int32_t bottom = static_cast<std::int32_t>(m_before.bottom());
  const auto by = [](std::int32_t edge, double moved, std::int32_t extent) {
    return std::clamp(edge + static_cast<std::int32_t>(std::lround(moved)), 0, extent);
  };
  const QPoint held(
      by(m_grip & kLeft ? m_before.left : right, p.x() - m_pressed.x(), PhotoWidth()),
      by(m_grip & kTop ? m_before.top : bottom, p.y() - m_pressed.y(), PhotoHeight()));
  const bool corner = (m_grip & (kLeft | kRight)) && (m_grip & (kTop | kBottom));
  if (m_ratio && !corner) {
    SetRect(EdgeWithRatio(m_grip, held));
    return;
  }
  // A corner, or a free edge, is a new rectangle from the opposite corner;
  // an edge keeps the other axis as it was.
  const QPoint anchor(m_grip & kLeft ? right : m_before.left,
                      m_grip & kTop ? bottom : m_before.top);
  const QPoint reach(m_grip & (kLeft | kRight) ? held.x() : right,
                     m_grip & (kTop | kBottom) ? held.y() : bottom);
  SetRect(FromAnchor(anchor, reach));
}

// The pointer says what a press there would take.
void CropTool::Hover(QPoint at) {
  Qt::CursorShape shape = Qt::CrossCursor;
  switch (GripAt(at)) {
    case kLeft | kTop:
    case kRight | kBottom:
      shape = Qt::SizeFDiagCursor;
      break;
    case kRight | kTop:
    case kLeft | kBottom:
      shape = Qt::SizeBDiagCursor;
      break;
    case kLeft:
    case kRight:
      shape = Qt::SizeHorCursor;
      break;
    case kTop:
    case kBottom:
      shape = Qt::SizeVerCursor;
      break;
    case kInside:
      shape = Qt::SizeAllCursor;
      break;
    default:
      break;
  }
  m_overlay->setCursor(shape);
}

void CropTool::Release() { m_grip = kNone; }

void CropTool::DoubleClick(QPoint at) {
  if (GripAt(at) == kInside) Apply();
}

// ---- What is shown ----

void CropTool::SetRect(const std::optional<PixelRect>& rect) {
  const std::optional<QRect> before = ShownRect();
  m_rect = rect;
  const std::optional<QRect> after = ShownRect();
  if (before && after) {
    // What the move changes: where the dimming comes or goes, and the frames.
    if (*before != *after) {
      m_overlay->update(QRegion(*before).xored(QRegion(*after)) + Decorations(*before) +
                        Decorations(*after));
    }
  } else if (before || after) {
    m_overlay->update();
  }
  ShowSize();
}

}  // namespace fotavel
