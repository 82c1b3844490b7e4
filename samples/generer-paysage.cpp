// Draws samples/paysage.jpg, the demonstration photo of ./run.sh (pale sky, hills, a house).
// Built by hand when the sample needs redrawing:
//   g++ -std=c++20 -fPIC generer-paysage.cpp $(pkg-config --cflags --libs Qt6Gui)
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cmath>
int main() {
  const int W = 1200, H = 800;
  QImage img(W, H, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // A washed-out sky: almost white at the top, slightly warmer near the horizon.
  QLinearGradient sky(0, 0, 0, H * 0.55);
  sky.setColorAt(0, QColor(250, 250, 252));
  sky.setColorAt(1, QColor(236, 238, 240));
  p.fillRect(0, 0, W, H, sky);
  // Far hills, near hills, a meadow.
  auto hill = [&](double base, double amp, double freq, double phase, QColor c) {
    QPainterPath path(QPointF(0, H));
    for (int x = 0; x <= W; x += 4)
      path.lineTo(
          x, base + amp * std::sin(x * freq + phase) + amp * 0.4 * std::sin(x * freq * 2.7 + 1.3));
    path.lineTo(W, H);
    path.closeSubpath();
    p.fillPath(path, c);
  };
  hill(H * 0.52, 30, 0.006, 0.5, QColor(112, 132, 150));
  hill(H * 0.62, 40, 0.004, 2.0, QColor(70, 110, 60));
  hill(H * 0.78, 25, 0.007, 4.0, QColor(96, 140, 56));
  // A red-roofed house.
  p.fillRect(760, 520, 140, 90, QColor(222, 210, 190));
  QPolygonF roof;
  roof << QPointF(745, 522) << QPointF(830, 460) << QPointF(915, 522);
  p.setBrush(QColor(170, 60, 40));
  p.setPen(Qt::NoPen);
  p.drawPolygon(roof);
  p.fillRect(815, 560, 30, 50, QColor(90, 60, 40));
  p.end();
  // A little sensor noise.
  auto* rng = QRandomGenerator::global();
  for (int y = 0; y < H; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < W; ++x) {
      int n = int(rng->bounded(7)) - 3;
      auto c = [&](int v) { return std::clamp(v + n, 0, 255); };
      row[x] = qRgb(c(qRed(row[x])), c(qGreen(row[x])), c(qBlue(row[x])));
    }
  }
  return img.save("paysage.jpg", "JPEG", 85) ? 0 : 1;
}
