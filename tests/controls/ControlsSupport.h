// Helpers for the controls' tests: solid pictures, pixel reads, ink boxes and a signal log.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QStringList>
#include <cstdint>
#include <ostream>
#include <utility>

#include "controls/bouton.h"

inline void PrintTo(const QStringList& texts, std::ostream* os) {
  *os << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace fotavel::testing {

// A property colour 0x00BBGGRR as the pixel it must paint.
inline QRgb Rgb(std::uint32_t bgr) {
  return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
              static_cast<int>((bgr >> 16) & 0xFF));
}

inline constexpr QRgb kWhite = 0xFFFFFFFFu;

inline QPixmap Solid(int w, int h, std::uint32_t bgr) {
  QPixmap picture(w, h);
  picture.fill(QColor::fromRgb(Rgb(bgr)));
  return picture;
}

inline QImage Shot(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

// The smallest rectangle holding every pixel of `colour` inside `area` (empty if none).
inline QRect InkBox(const QImage& image, QRgb colour, QRect area = {}) {
  area = area.isNull() ? image.rect() : area & image.rect();
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (At(image, x, y) == (colour | 0xFF000000u)) box |= QRect(x, y, 1, 1);
  return box;
}

// How many pixels are neither white nor `colour`.
inline int OtherPixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = At(image, x, y);
      if (p != kWhite && p != (colour | 0xFF000000u)) ++count;
    }
  return count;
}

// Every mouse signal of a button in the order raised, with its button code.
class ButtonLog {
 public:
  explicit ButtonLog(bouton& b) {
    auto mouse = [this](const char* name) {
      return [this, name](qint16 button, qint16, float x, float y) {
        events << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(button);
        lastX = x;
        lastY = y;
      };
    };
    QObject::connect(&b, &bouton::MouseLeave, [this] { events << "MouseLeave"; });
    QObject::connect(&b, &bouton::MouseEnter, mouse("MouseEnter"));
    QObject::connect(&b, &bouton::Mousemove, mouse("Mousemove"));
    QObject::connect(&b, &bouton::MouseDown, mouse("MouseDown"));
    QObject::connect(&b, &bouton::MouseUp, mouse("MouseUp"));
    QObject::connect(&b, &bouton::Click, [this] { events << "Click"; });
    QObject::connect(&b, &bouton::DblClick, [this] { events << "DblClick"; });
  }
  QStringList Take() { return std::exchange(events, {}); }

  QStringList events;
  float lastX = 0;
  float lastY = 0;
};

}  // namespace fotavel::testing
