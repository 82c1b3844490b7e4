// The straighten mode of a document window: the angle chosen on a strip or by a line on the photo,
// previewed on the display copy, then applied once by the document.
#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTransform>
#include <QWidget>

class QCheckBox;
class QDoubleSpinBox;
class QPushButton;
class QSlider;

namespace fotavel {

class DocumentHost;
class frmImage;
class StraightenTool;

// Lies over Image1, the same size, and takes the mouse while the mode is on:
// it paints the photo turned and what will be kept of it, and turns a
// line drawn along a horizon or a wall into the angle.
class StraightenOverlay : public QWidget {
  Q_OBJECT

 public:
  StraightenOverlay(StraightenTool& tool, QWidget* image1);

  // Where a pixel of the unturned photo (x right, y down, from its top-left
  // corner) is painted on the overlay for the tool's present angle.
  QTransform PhotoToOverlay() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  StraightenTool& m_tool;
  bool m_drawing = false;
  QPointF m_lineStart;
  QPointF m_lineEnd;
};

class StraightenTool : public QObject {
  Q_OBJECT

 public:
  // The slider counts tenths of a degree.
  static constexpr int kStepsPerDegree = 10;

  StraightenTool(frmImage& window, DocumentHost& host);

  bool Active() const { return m_overlay != nullptr && m_overlay->isVisible(); }
  void Start();
  // Leaves the mode, the photo as it is.
  void Leave();
  // The photo turned by the angle chosen, by the document (one undo step);
  // the mode ends either way.
  void Apply();
  // The photo changed under the mode (an undo, another command).
  void PhotoChanged();

  double Angle() const { return m_angle; }
  // Rounded to a tenth, within -45 … 45; the slider and the spin box follow.
  void SetAngle(double degrees);
  bool WhiteCorners() const;

  frmImage& Window() { return m_window; }
  StraightenOverlay* Overlay() const { return m_overlay; }
  QWidget* Strip() const { return m_strip; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void PlaceStrip();

  frmImage& m_window;
  DocumentHost& m_host;
  double m_angle = 0;
  // Children of the window's widgets, which may go before the tool does.
  QPointer<StraightenOverlay> m_overlay;
  QPointer<QWidget> m_strip;
  QSlider* m_slider = nullptr;
  QDoubleSpinBox* m_degrees = nullptr;
  QCheckBox* m_whiteCorners = nullptr;
  QPushButton* m_apply = nullptr;
  QPushButton* m_cancel = nullptr;
};

}  // namespace fotavel
