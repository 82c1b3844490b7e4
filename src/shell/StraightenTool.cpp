// The straighten mode: its strip of controls, the turned preview over the photo, the line drawn
// along a horizon, and the one call to the document that applies it.
#include "shell/StraightenTool.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>

#include "effects/CropGeometry.h"
#include "shell/DocumentHost.h"
#include "shell/Failures.h"
#include "shell/frmImage.h"

namespace fotavel {

namespace {

// A line shorter than this on screen is a slip of the hand, not a horizon.
constexpr double kShortestLine = 4;

// The grid's squares, in screen pixels, about.
constexpr double kGridStep = 48;

// The grey around the photo, as the viewport paints it.
const QColor kViewportGrey(224, 224, 224);

// The rectangle of `size` photo pixels, centred on the overlay and scaled as the photo is there.
QRectF CentredOnOverlay(const QSize& overlay, PixelSize size, double scaleX, double scaleY) {
  const double w = size.width * scaleX;
  const double h = size.height * scaleY;
  return {(overlay.width() - w) / 2, (overlay.height() - h) / 2, w, h};
}

}  // namespace

// ---- The overlay ----

StraightenOverlay::StraightenOverlay(StraightenTool& tool, QWidget* image1)
    : QWidget(image1), m_tool(tool) {
  setObjectName(QStringLiteral("StraightenOverlay"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::CrossCursor);
  hide();
}

QTransform StraightenOverlay::PhotoToOverlay() const {
  const PhotoDocument& document = m_tool.Window().Document();
  const double w = std::max(1, document.ImageWidth());
  const double h = std::max(1, document.ImageHeight());
  const double radians = m_tool.Angle() * std::numbers::pi / 180;
  // Cropped, what is kept lies inside the photo's own place; with white
  // corners the whole turned photo is kept, so it is shrunk until its box
  // fits that place.
  double shrink = 1;
  if (m_tool.WhiteCorners()) {
    const double c = std::abs(std::cos(radians));
    const double s = std::abs(std::sin(radians));
    const double boxW = width() * c + height() * s;
    const double boxH = width() * s + height() * c;
    if (boxW > 0 && boxH > 0) shrink = std::min({1.0, width() / boxW, height() / boxH});
  }
  QTransform t;
  t.translate(width() / 2.0, height() / 2.0);
  t.rotate(m_tool.Angle());
  t.scale(shrink * width() / w, shrink * height() / h);
  t.translate(-w / 2, -h / 2);
  return t;
}

void StraightenOverlay::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRegion(event->region());
  painter.fillRect(rect(), kViewportGrey);
  const frmImage& window = m_tool.Window();
  const DisplayPyramid& display = window.Display();
  const PhotoDocument& document = window.Document();
  if (display.empty() || document.ImageWidth() <= 0 || document.ImageHeight() <= 0) return;

  const double w = document.ImageWidth();
  const double h = document.ImageHeight();
  const QTransform toOverlay = PhotoToOverlay();
  // The scale the photo is shown at, per axis (the turn keeps lengths).
  const double scaleX = std::hypot(toOverlay.m11(), toOverlay.m12());
  const double scaleY = std::hypot(toOverlay.m21(), toOverlay.m22());
  const bool whiteCorners = m_tool.WhiteCorners();
  const PixelSize kept =
      StraightenedSize(document.ImageWidth(), document.ImageHeight(), m_tool.Angle(), whiteCorners);
  const QRectF keptRect = CentredOnOverlay(size(), kept, scaleX, scaleY);
  if (whiteCorners) painter.fillRect(keptRect, Qt::white);

  // The smallest copy of the photo that still covers what is shown, wrapped
  // as it is: the preview never converts nor copies the photo.
  const std::int32_t k =
      display.LevelFor(std::int32_t(std::ceil(w * scaleX)), std::int32_t(std::ceil(h * scaleY)));
  const DisplayPyramid::Level& level = display.level(k);
  const QImage picture(reinterpret_cast<const uchar*>(level.bits), level.width, level.height,
                       qsizetype(level.width) * 4, QImage::Format_RGB32);
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setTransform(QTransform::fromScale(w / level.width, h / level.height) * toOverlay);
  painter.drawImage(QPointF(0, 0), picture);
  painter.restore();

  if (!whiteCorners) {
    // What the crop takes away is dimmed, the empty corners with it.
    QPainterPath outside;
    outside.addRect(QRectF(rect()));
    outside.addRect(keptRect);
    painter.fillPath(outside, QColor(0, 0, 0, 120));
  }

  // A grid over what is kept, upright, to hold the horizon against.
  painter.setPen(QPen(QColor(255, 255, 255, 150), 0));
  const int columns = std::max(2, int(std::lround(keptRect.width() / kGridStep)));
  const int rows = std::max(2, int(std::lround(keptRect.height() / kGridStep)));
  for (int i = 1; i < columns; ++i) {
    const double x = keptRect.left() + keptRect.width() * i / columns;
    painter.drawLine(QPointF(x, keptRect.top()), QPointF(x, keptRect.bottom()));
  }
  for (int i = 1; i < rows; ++i) {
    const double y = keptRect.top() + keptRect.height() * i / rows;
    painter.drawLine(QPointF(keptRect.left(), y), QPointF(keptRect.right(), y));
  }
  painter.setPen(QPen(QColor(255, 255, 255, 220), 0));
  painter.drawRect(keptRect);

  if (m_drawing) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 210, 0), 2));
    painter.drawLine(m_lineStart, m_lineEnd);
  }
}

void StraightenOverlay::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_drawing = true;
  m_lineStart = m_lineEnd = event->position();
  update();
}

void StraightenOverlay::mouseMoveEvent(QMouseEvent* event) {
  if (!m_drawing) return;
  m_lineEnd = event->position();
  update();
}

void StraightenOverlay::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_drawing || event->button() != Qt::LeftButton) return;
  m_drawing = false;
  m_lineEnd = event->position();
  update();
  if (QLineF(m_lineStart, m_lineEnd).length() < kShortestLine) return;
  // The line is taken back onto the unturned photo: a horizon drawn on a
  // preview already turned then gives the whole angle, not a correction of it.
  bool invertible = false;
  const QTransform toPhoto = PhotoToOverlay().inverted(&invertible);
  if (!invertible) return;
  const QPointF a = toPhoto.map(m_lineStart);
  const QPointF b = toPhoto.map(m_lineEnd);
  m_tool.SetAngle(LevellingAngle(a.x(), a.y(), b.x(), b.y()));
}

// ---- The tool ----

StraightenTool::StraightenTool(frmImage& window, DocumentHost& host)
    : QObject(&window), m_window(window), m_host(host) {
  setObjectName(QStringLiteral("StraightenTool"));
}

void StraightenTool::Build() {
  m_overlay = new StraightenOverlay(*this, m_window.Image1());
  m_overlay->installEventFilter(this);
  m_window.Image1()->installEventFilter(this);
  m_window.picScrollBox()->installEventFilter(this);

  m_strip = m_window.NewModeStrip(QStringLiteral("StraightenStrip"), this);
  auto* row = new QHBoxLayout(m_strip);
  row->setContentsMargins(6, 3, 6, 3);

  auto* label = new QLabel(tr("Angle :"), m_strip);
  m_slider = new QSlider(Qt::Horizontal, m_strip);
  m_slider->setObjectName(QStringLiteral("StraightenSlider"));
  const int steps = int(kMaxStraightenDegrees) * kStepsPerDegree;
  m_slider->setRange(-steps, steps);
  m_slider->setSingleStep(1);
  m_slider->setPageStep(kStepsPerDegree);
  m_slider->setMinimumWidth(120);
  m_slider->setToolTip(tr("Faites pivoter la photo par dixièmes de degré"));
  label->setBuddy(m_slider);

  // The degrees as the user writes numbers (a decimal comma in French).
  m_degrees = new QDoubleSpinBox(m_strip);
  m_degrees->setObjectName(QStringLiteral("StraightenDegrees"));
  m_degrees->setDecimals(1);
  m_degrees->setRange(-kMaxStraightenDegrees, kMaxStraightenDegrees);
  m_degrees->setSingleStep(1.0 / kStepsPerDegree);
  m_degrees->setSuffix(tr(" °"));
  m_degrees->setToolTip(tr("Angle en degrés, positif dans le sens des aiguilles d'une montre"));

  m_whiteCorners = new QCheckBox(tr("Coins blancs"), m_strip);
  m_whiteCorners->setObjectName(QStringLiteral("StraightenWhiteCorners"));
  m_whiteCorners->setToolTip(
      tr("Garder toute la photo pivotée sur un fond blanc au lieu de la recadrer"));
  m_apply = new QPushButton(tr("Redresser"), m_strip);
  m_apply->setObjectName(QStringLiteral("StraightenApply"));
  m_cancel = new QPushButton(tr("Annuler"), m_strip);
  m_cancel->setObjectName(QStringLiteral("StraightenCancel"));

  row->addWidget(label);
  row->addWidget(m_slider, 1);
  row->addWidget(m_degrees);
  row->addWidget(m_whiteCorners);
  row->addWidget(m_apply);
  row->addWidget(m_cancel);

  connect(m_slider, &QSlider::valueChanged, this,
          [this](int value) { SetAngle(double(value) / kStepsPerDegree); });
  connect(m_degrees, &QDoubleSpinBox::valueChanged, this,
          [this](double value) { SetAngle(value); });
  connect(m_whiteCorners, &QCheckBox::toggled, m_overlay, qOverload<>(&QWidget::update));
  connect(m_apply, &QPushButton::clicked, this, &StraightenTool::Apply);
  connect(m_cancel, &QPushButton::clicked, this, &StraightenTool::Leave);
}

void StraightenTool::Start() {
  if (m_window.Document().Picture().empty()) return;
  if (m_overlay == nullptr) Build();
  m_window.SetMousePointer(frmImage::kPointerNormal);
  // The whole photo in sight, so that the horizon can be followed end to end.
  m_window.FitZoomWithin(m_window.size());
  SetAngle(0);
  PlaceStrip();
  m_window.ShowMode(m_overlay, m_strip);
  m_host.SetStatus(tr("Tracez une ligne le long de l'horizon ou d'un mur, ou réglez l'angle."),
                   QStringLiteral("#"), QStringLiteral("#"));
}

void StraightenTool::Leave() {
  if (!Active()) return;
  m_window.HideMode(m_overlay, m_strip);
}

void StraightenTool::Apply() {
  const double angle = m_angle;
  const bool whiteCorners = WhiteCorners();
  // Left first: the document's report of the new photo then finds no mode to end.
  Leave();
  if (angle == 0) return;
  try {
    m_window.Document().Redresser(angle, whiteCorners);
  } catch (...) {
    m_host.ShowProgress(false);
    m_host.SetHourglass(false);
    ShowFailure(m_host.Ui(), std::current_exception(), &m_window);
  }
}

void StraightenTool::PhotoChanged() { Leave(); }

void StraightenTool::SetAngle(double degrees) {
  if (!std::isfinite(degrees)) return;
  // Tenths of a degree are what the slider, the spin box and the document all
  // see, so the angle applied is the angle shown.
  m_angle = std::round(std::clamp(degrees, -kMaxStraightenDegrees, kMaxStraightenDegrees) *
                       kStepsPerDegree) /
            kStepsPerDegree;
  if (m_angle == 0) m_angle = 0;  // no "-0,0"
  if (m_slider != nullptr) {
    const QSignalBlocker sliderQuiet(m_slider);
    const QSignalBlocker degreesQuiet(m_degrees);
    m_slider->setValue(int(std::lround(m_angle * kStepsPerDegree)));
    // While the user types, the box keeps the text being typed.
    if (std::abs(m_degrees->value() - m_angle) > 1e-9) m_degrees->setValue(m_angle);
  }
  if (m_overlay != nullptr) m_overlay->update();
}

bool StraightenTool::WhiteCorners() const {
  return m_whiteCorners != nullptr && m_whiteCorners->isChecked();
}

void StraightenTool::PlaceStrip() {
  const QWidget* viewport = m_window.picScrollBox();
  m_strip->setGeometry(0, 0, viewport->width(), m_strip->sizeHint().height());
}

bool StraightenTool::eventFilter(QObject* watched, QEvent* event) {
  if (m_overlay == nullptr) return false;
  if (watched == m_window.Image1() && event->type() == QEvent::Resize) {
    m_overlay->setGeometry(m_window.Image1()->rect());
  } else if (watched == m_window.picScrollBox() && event->type() == QEvent::Resize) {
    PlaceStrip();
  } else if ((watched == m_overlay || watched == m_strip) && event->type() == QEvent::KeyPress &&
             Active()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        Apply();
        return true;
      case Qt::Key_Escape:
        Leave();
        return true;
      case Qt::Key_Left:
      case Qt::Key_Right:
        // On the photo the arrows nudge by a tenth, by a degree with Shift.
        if (watched != m_overlay) break;
        SetAngle(m_angle + (key->key() == Qt::Key_Right ? 1 : -1) *
                               (key->modifiers() & Qt::ShiftModifier ? 1.0 : 0.1));
        return true;
      default:
        break;
    }
  }
  return false;
}

}  // namespace fotavel
