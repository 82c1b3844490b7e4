// The program's own pictures, drawn at run time with simple shapes.
#include "shell/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <functional>
#include <map>

namespace fotavel {

namespace {

constexpr int kSize = 32;

QPixmap Draw(int size, const std::function<void(QPainter&)>& draw) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  draw(painter);
  return picture;
}

// A small photo: sky, sun and hill, used as the base of several pictures.
void Landscape(QPainter& p, const QRectF& r, const QColor& sky = QColor(120, 170, 230)) {
  p.setPen(QPen(QColor(60, 60, 60), 1.2));
  p.setBrush(sky);
  p.drawRect(r);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 210, 60));
  p.drawEllipse(QPointF(r.left() + r.width() * 0.72, r.top() + r.height() * 0.3), r.width() * 0.12,
                r.width() * 0.12);
  QPolygonF hill;
  hill << QPointF(r.left() + 0.6, r.bottom() - 0.6)
       << QPointF(r.left() + r.width() * 0.35, r.top() + r.height() * 0.45)
       << QPointF(r.left() + r.width() * 0.6, r.top() + r.height() * 0.7)
       << QPointF(r.right() - 0.6, r.top() + r.height() * 0.5)
       << QPointF(r.right() - 0.6, r.bottom() - 0.6);
  p.setBrush(QColor(70, 150, 70));
  p.drawPolygon(hill);
}

void Arrow(QPainter& p, bool clockwise) {
  p.setPen(QPen(QColor(30, 70, 160), 3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const QRectF arc(6, 6, 20, 20);
  p.drawArc(arc, clockwise ? 200 * 16 : -20 * 16, clockwise ? -250 * 16 : 250 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 70, 160));
  QPolygonF head;
  if (clockwise) {
    head << QPointF(22, 22) << QPointF(30, 20) << QPointF(25, 29);
  } else {
    head << QPointF(10, 22) << QPointF(2, 20) << QPointF(7, 29);
  }
  p.drawPolygon(head);
}

void Sun(QPainter& p, const QColor& colour, bool rays) {
  p.setPen(QPen(colour.darker(140), 2));
  p.setBrush(colour);
  p.drawEllipse(QPointF(16, 16), 7, 7);
  if (!rays) return;
  for (int i = 0; i < 8; ++i) {
    p.save();
    p.translate(16, 16);
    p.rotate(45.0 * i);
    p.drawLine(QPointF(10, 0), QPointF(14, 0));
    p.restore();
  }
}

void Drops(QPainter& p, int saturation) {
  const QColor colours[] = {QColor(220, 40, 40), QColor(40, 170, 60), QColor(40, 80, 220)};
  const QPointF where[] = {{10, 12}, {22, 12}, {16, 22}};
  for (int i = 0; i < 3; ++i) {
    QColor c = colours[i];
    c.setHsv(c.hue(), saturation, c.value());
    p.setPen(QPen(c.darker(150), 1));
    p.setBrush(c);
    p.drawEllipse(where[i], 7, 7);
  }
}

const std::map<QString, std::function<void(QPainter&)>>& Drawings() {
  static const std::map<QString, std::function<void(QPainter&)>> drawings = {
      {QStringLiteral("QuitterComm"),
       [](QPainter& p) {
         p.setPen(QPen(QColor(180, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(8, 8, 24, 24);
         p.drawLine(24, 8, 8, 24);
       }},
      {QStringLiteral("cmdMasque"),
       [](QPainter& p) {
         Landscape(p, QRectF(3, 6, 26, 20));
         p.setPen(QPen(Qt::black, 1.5, Qt::DashLine));
         p.setBrush(QColor(200, 200, 200, 200));
         p.drawRect(QRectF(9, 10, 12, 10));
       }},
      {QStringLiteral("Nette"),
       [](QPainter& p) {
         p.setPen(QPen(Qt::black, 2.5));
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(7, 7, 18, 18));
         p.drawLine(7, 16, 25, 16);
         p.drawLine(16, 7, 16, 25);
       }},
      {QStringLiteral("Floue"),
       [](QPainter& p) {
         for (int w = 8; w >= 2; w -= 2) {
           p.setPen(QPen(QColor(0, 0, 0, 40), w));
           p.setBrush(Qt::NoBrush);
           p.drawRect(QRectF(7, 7, 18, 18));
         }
       }},
      {QStringLiteral("Logo"),
       [](QPainter& p) {
         Landscape(p, QRectF(3, 6, 26, 20));
         p.setPen(QPen(Qt::white, 2));
         p.setBrush(QColor(200, 40, 40));
         p.drawEllipse(QPointF(22, 20), 5, 5);
       }},
      {QStringLiteral("cielCmd"), [](QPainter& p) { Landscape(p, QRectF(3, 6, 26, 20)); }},
      {QStringLiteral("PivotDrt"), [](QPainter& p) { Arrow(p, true); }},
      {QStringLiteral("PivotGche"), [](QPainter& p) { Arrow(p, false); }},
      {QStringLiteral("SaturationPlus"), [](QPainter& p) { Drops(p, 255); }},
      {QStringLiteral("SaturationMoins"), [](QPainter& p) { Drops(p, 70); }},
      {QStringLiteral("LumierePlus"), [](QPainter& p) { Sun(p, QColor(255, 215, 40), true); }},
      {QStringLiteral("LumiereMoins"), [](QPainter& p) { Sun(p, QColor(110, 100, 60), false); }},
      {QStringLiteral("TaillWeb"),
       [](QPainter& p) {
         p.setPen(QPen(QColor(30, 90, 170), 2));
         p.setBrush(QColor(200, 225, 250));
         p.drawEllipse(QPointF(16, 16), 12, 12);
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QPointF(16, 16), 5, 12);
         p.drawLine(4, 16, 28, 16);
       }},
      {QStringLiteral("BtAnnuler"),
       [](QPainter& p) {
         p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
         p.setBrush(Qt::NoBrush);
         QPainterPath path(QPointF(8, 14));
         path.cubicTo(QPointF(14, 4), QPointF(28, 8), QPointF(24, 24));
         p.drawPath(path);
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(40, 40, 40));
         p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(13, 9), QPointF(7, 19)}));
       }},
      {QStringLiteral("CacheExplorer"),
       [](QPainter& p) {
         p.setPen(QPen(QColor(150, 110, 20), 1.5));
         p.setBrush(QColor(245, 200, 90));
         p.drawRect(QRectF(4, 10, 24, 16));
         p.drawRect(QRectF(4, 7, 10, 4));
       }},
      {QStringLiteral("SauvPhoto"),
       [](QPainter& p) {
         p.setPen(QPen(QColor(30, 30, 80), 1.5));
         p.setBrush(QColor(70, 90, 170));
         p.drawRect(QRectF(5, 5, 22, 22));
         p.setBrush(QColor(230, 230, 230));
         p.drawRect(QRectF(9, 5, 14, 9));
         p.drawRect(QRectF(9, 18, 14, 9));
       }},
      {QStringLiteral("AnnulerEd"), [](QPainter& p) { Arrow(p, false); }},
      {QStringLiteral("OkEd"),
       [](QPainter& p) {
         p.setPen(QPen(QColor(30, 140, 40), 4, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(7, 17, 13, 24);
         p.drawLine(13, 24, 25, 8);
       }},
  };
  return drawings;
}

}  // namespace

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    icon.addPixmap(Draw(size, [](QPainter& p) { Landscape(p, QRectF(1.5, 4.5, 29, 23)); }));
  }
  return icon;
}

QPixmap ToolbarPicture(const QString& buttonName) {
  const auto& drawings = Drawings();
  const auto it = drawings.find(buttonName);
  return Draw(kSize, [&](QPainter& p) {
    if (it != drawings.end()) {
      it->second(p);
    } else {
      p.setPen(QPen(Qt::gray, 1.5));
      p.drawRect(QRectF(6, 6, 20, 20));
    }
  });
}

QPixmap DrawViewPicture(ViewPicture picture, int size) {
  return Draw(size, [picture](QPainter& p) {
    p.setPen(QPen(Qt::black, 2.5));
    p.setBrush(Qt::NoBrush);
    switch (picture) {
      case ViewPicture::Normal:
        p.setFont(QFont(QStringLiteral("Sans"), 11, QFont::Bold));
        p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("1:1"));
        break;
      case ViewPicture::Fit:
        p.drawRect(QRectF(5, 5, 22, 22));
        p.drawRect(QRectF(11, 11, 10, 10));
        break;
      case ViewPicture::Zoom:
        p.drawEllipse(QPointF(13, 13), 8, 8);
        p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(19, 19, 28, 28);
        break;
      case ViewPicture::Crop:
        // The two corner marks of a cut.
        p.drawPolyline(QPolygonF({QPointF(9, 3), QPointF(9, 23), QPointF(29, 23)}));
        p.drawPolyline(QPolygonF({QPointF(3, 9), QPointF(23, 9), QPointF(23, 29)}));
        break;
      case ViewPicture::Orientation:
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(QRectF(3, 11, 18, 12));
        p.drawRect(QRectF(17, 4, 12, 18));
        break;
      case ViewPicture::Straighten:
        // A tilted frame over the level line it is turned to.
        p.save();
        p.translate(16, 15);
        p.rotate(-12);
        p.drawRect(QRectF(-10, -8, 20, 16));
        p.restore();
        p.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(3, 28, 29, 28);
        break;
      case ViewPicture::RedEyes:
        // An eye whose pupil is red.
        p.drawPath([] {
          QPainterPath lids;
          lids.moveTo(3, 16);
          lids.quadTo(16, 2, 29, 16);
          lids.quadTo(16, 30, 3, 16);
          return lids;
        }());
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 20, 20));
        p.drawEllipse(QPointF(16, 16), 5, 5);
        break;
    }
  });
}

QCursor ZoomCursor() {
  const QPixmap picture = Draw(32, [](QPainter& p) {
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(18, 18, 27, 27);
  });
  return QCursor(picture, 12, 12);
}

}  // namespace fotavel
