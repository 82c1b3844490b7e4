// The image button's four looks: picture, frame, cross and caption, laid out in twips.
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <cmath>

#include "controls/bouton.h"

namespace fotavel {

namespace {

const QColor kBackground(0xFF, 0xFF, 0xFF);

}  // namespace

double bouton::InnerWidth() const { return width() * TwipsPerPixelX(*this); }
double bouton::InnerHeight() const { return height() * TwipsPerPixelY(*this); }

// Twips land on the nearest pixel, halves to even like every other
// floating-point conversion of the program.
int bouton::PxX(double twips) const {
  return static_cast<int>(std::nearbyint(twips / TwipsPerPixelX(*this)));
}
int bouton::PxY(double twips) const {
  return static_cast<int>(std::nearbyint(twips / TwipsPerPixelY(*this)));
}

// An untranslatable value draws black, as an invalid colour would.
QColor bouton::Colour(ColourValue value) const {
  return TranslateColour(value, palette()).value_or(QColor(0, 0, 0));
}

void bouton::DrawLook(Look look) {
  PaintSurface(look);
  switch (look) {
    case Look::Normal:
    case Look::Disabled:
      unsetCursor();
      break;
    case Look::Hover:
      // Our hover cursor is the desktop's pointing hand.
      setCursor(Qt::PointingHandCursor);
      WriteStatus(QStringLiteral(" ") + m_legende);
      break;
    case Look::Pressed:
      break;
  }
  update();
}

void bouton::PaintSurface(Look look) {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (pixels.isEmpty()) {
    m_surface = QImage();
    return;
  }
  if (m_surface.size() != pixels) {
    m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
    // Text drawn into the surface must have the size it has on the screen.
    m_surface.setDotsPerMeterX(static_cast<int>(std::lround(logicalDpiX() / 0.0254)));
    m_surface.setDotsPerMeterY(static_cast<int>(std::lround(logicalDpiY() / 0.0254)));
  }
  m_surface.fill(kBackground);

  QPainter painter(&m_surface);
  switch (look) {
    case Look::Normal:
      DrawPicture(painter, m_imgFond);
      DrawCaption(painter, Colour(m_couleurNormal));
      break;
    case Look::Hover:
      DrawPicture(painter, m_imgFdDessus);
      DrawFrame(painter, Colour(m_couleurSurvol), true);
      DrawCaption(painter, Colour(m_couleurSurvol));
      break;
    case Look::Pressed:
      DrawPicture(painter, m_imgFdEnf);
      DrawFrame(painter, Colour(m_couleurEnfonce), false);
      DrawCaption(painter, Colour(m_couleurEnfonce));
      break;
    case Look::Disabled: {
      const QColor grey = Colour(kSysGrayText);
      DrawPicture(painter, m_imgFond);
      DrawCross(painter, grey);
      DrawCaption(painter, grey);
      break;
    }
  }
}

void bouton::paintEvent(QPaintEvent* event) {
  if (m_surface.size() != size() * devicePixelRatioF()) {
    PaintSurface(isEnabled() ? Look::Normal : Look::Disabled);
  }
  QPainter painter(this);
  if (m_surface.isNull()) return;
  painter.drawImage(event->rect(), m_surface, event->rect());
}

// The picture's top stands a third of the free height down.
void bouton::DrawPicture(QPainter& painter, const QPixmap& picture) const {
  if (picture.isNull()) return;
  const QSizeF natural = picture.deviceIndependentSize();
  const double w = natural.width() * TwipsPerPixelX(*this);
  const double h = natural.height() * TwipsPerPixelY(*this);
  const double W = InnerWidth();
  const double H = InnerHeight();
  double x = 0;
  switch (m_positionFond) {
    case 1:
      x = 0;
      break;
    case 2:
      x = W - w;
      break;
    case 3:
      x = (W - w) / 2;
      break;
    default:
      return;
  }
  painter.drawPixmap(QPoint(PxX(x), PxY((H - h) / 3)), picture);
}

// From (0, 0) to (W - 20, H - 20): 20 twips short of the far edges, which
// lands on the last pixel column and row at usual resolutions. The dotted
// frame lights every other pixel on a checkerboard, the classic focus frame.
void bouton::DrawFrame(QPainter& painter, const QColor& colour, bool dotted) const {
  const int right = PxX(InnerWidth() - 20);
  const int bottom = PxY(InnerHeight() - 20);
  if (right < 0 || bottom < 0) return;
  if (!dotted) {
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, right, bottom);
    return;
  }
  QPolygon dots;
  auto dot = [&dots](int x, int y) {
    if ((x + y) % 2 == 0) dots << QPoint(x, y);
  };
  for (int x = 0; x <= right; ++x) {
    dot(x, 0);
    if (bottom != 0) dot(x, bottom);
  }
  for (int y = 1; y < bottom; ++y) {
    dot(0, y);
    if (right != 0) dot(right, y);
  }
  painter.setPen(QPen(colour, 1));
  painter.drawPoints(dots);
}

// The cross takes its vertical coordinates from the width too, and its first
// line starts at H \ 4 across: on a square button it joins the corners of the
// middle half, on others it leans, as the disabled buttons always have.
void bouton::DrawCross(QPainter& painter, const QColor& colour) const {
  const auto w = static_cast<long>(std::nearbyint(InnerWidth()));
  const auto h = static_cast<long>(std::nearbyint(InnerHeight()));
  const double quarterW = static_cast<double>(w / 4);
  const double threeQuartersW = static_cast<double>(w / 4 * 3);
  const double quarterH = static_cast<double>(h / 4);
  painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(QPoint(PxX(quarterH), PxY(quarterW)),
                   QPoint(PxX(threeQuartersW), PxY(threeQuartersW)));
  painter.drawLine(QPoint(PxX(threeQuartersW), PxY(quarterW)),
                   QPoint(PxX(quarterW), PxY(threeQuartersW)));
}

// One line, or when a caption with blanks does not fit, one word per line,
// each centred, the block ending 20 twips above the bottom edge. A caption
// without a blank stays on one line however wide it is.
void bouton::DrawCaption(QPainter& painter, const QColor& colour) const {
  painter.setFont(font());
  painter.setPen(colour);
  painter.setBackgroundMode(Qt::TransparentMode);
  const QFontMetrics metrics = painter.fontMetrics();
  const double tx = TwipsPerPixelX(*this);
  const double ty = TwipsPerPixelY(*this);
  const double W = InnerWidth();
  const double H = InnerHeight();
  const double lineHeight = metrics.height() * ty;
  auto textWidth = [&](const QString& text) { return metrics.horizontalAdvance(text) * tx; };
  auto drawAt = [&](double left, double top, const QString& text) {
    painter.drawText(QPoint(PxX(left), PxY(top) + metrics.ascent()), text);
  };

  if (m_caption.contains(QLatin1Char(' ')) && textWidth(m_caption) > W) {
    const QStringList words = m_caption.split(QLatin1Char(' '));
    const double firstTop = std::nearbyint(H - words.size() * lineHeight - 20);
    for (qsizetype i = 0; i < words.size(); ++i) {
      drawAt((W - textWidth(words[i])) / 2 + 20, firstTop + i * lineHeight, words[i]);
    }
    return;
  }
  drawAt(W / 2 - textWidth(m_caption) / 2 + 20, H - lineHeight - 20, m_caption);
}

}  // namespace fotavel
