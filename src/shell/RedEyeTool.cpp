// The red-eye mode: its strip, the overlay that turns a click or a dragged rectangle into an eye in
// photo pixels, and the call to the document that corrects it.
#include "shell/RedEyeTool.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <exception>

#include "shell/DocumentHost.h"
#include "shell/Failures.h"
#include "shell/frmImage.h"

namespace fotavel {

namespace {

// A drag shorter than this on screen, either way, is a click that slipped.
constexpr int kShortestDrag = 4;

// The photo pixel under overlay column or row `at` of `shown`, for a side of `side` pixels.
std::int32_t PhotoPixel(double at, int shown, std::int32_t side) {
  const double pixel = std::floor(at * side / std::max(1, shown));
  return static_cast<std::int32_t>(std::clamp(pixel, 0.0, double(side - 1)));
}

// `length` overlay pixels in photo pixels, rounded up, at least 1.
std::int32_t PhotoLength(double length, int shown, std::int32_t side) {
  const double pixels = std::ceil(length * side / std::max(1, shown));
  return static_cast<std::int32_t>(std::clamp(pixels, 1.0, double(side)));
}

}  // namespace

// ---- The overlay ----

RedEyeOverlay::RedEyeOverlay(RedEyeTool& tool, QWidget* image1) : QWidget(image1), m_tool(tool) {
  setObjectName(QStringLiteral("RedEyeOverlay"));
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::CrossCursor);
  setMouseTracking(true);
  hide();
}

EyePlace RedEyeOverlay::ClickedEye(QPoint at, QSize photo) const {
  // The centre of the screen pixel clicked, taken back to the photo.
  return {PhotoPixel(at.x() + 0.5, width(), photo.width()),
          PhotoPixel(at.y() + 0.5, height(), photo.height()),
          PhotoLength(RedEyeTool::kClickRadius, width(), photo.width())};
}

EyePlace RedEyeOverlay::FramedEye(QPoint from, QPoint to, QSize photo) const {
  const QRect frame = QRect(from, to).normalized();
  const double centreX = (frame.left() + frame.right() + 1) / 2.0;
  const double centreY = (frame.top() + frame.bottom() + 1) / 2.0;
  // Half the larger side reaches the frame's edges; the pupil lies inside it.
  const std::int32_t radius = std::max(PhotoLength(frame.width() / 2.0, width(), photo.width()),
                                       PhotoLength(frame.height() / 2.0, height(), photo.height()));
  return {PhotoPixel(centreX, width(), photo.width()),
          PhotoPixel(centreY, height(), photo.height()), radius};
}

void RedEyeOverlay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // Dark under light, so that the mark shows on any photo.
  const auto outline = [&painter](const auto& draw) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 3));
    draw();
    painter.setPen(QPen(QColor(255, 255, 255, 230), 1));
    draw();
  };
  if (m_pressed && (std::abs(m_to.x() - m_from.x()) >= kShortestDrag ||
                    std::abs(m_to.y() - m_from.y()) >= kShortestDrag)) {
    const QRectF frame = QRectF(QRect(m_from, m_to).normalized());
    outline([&] { painter.drawRect(frame); });
  } else if (m_pointerIn) {
    const QPointF centre = QPointF(m_to) + QPointF(0.5, 0.5);
    outline(
        [&] { painter.drawEllipse(centre, RedEyeTool::kClickRadius, RedEyeTool::kClickRadius); });
  }
}

void RedEyeOverlay::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_pressed = true;
  m_from = m_to = event->position().toPoint();
  update();
}

void RedEyeOverlay::mouseMoveEvent(QMouseEvent* event) {
  m_to = event->position().toPoint();
  m_pointerIn = true;
  update();
}

void RedEyeOverlay::leaveEvent(QEvent*) {
  m_pointerIn = false;
  update();
}

void RedEyeOverlay::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_pressed || event->button() != Qt::LeftButton) return;
  m_pressed = false;
  m_to = event->position().toPoint();
  update();
  const PhotoDocument& document = m_tool.Window().Document();
  const QSize photo(document.ImageWidth(), document.ImageHeight());
  if (photo.isEmpty()) return;
  const bool framed = std::abs(m_to.x() - m_from.x()) >= kShortestDrag ||
                      std::abs(m_to.y() - m_from.y()) >= kShortestDrag;
  m_tool.Correct(framed ? FramedEye(m_from, m_to, photo) : ClickedEye(m_from, photo));
}

// ---- The tool ----

RedEyeTool::RedEyeTool(frmImage& window, DocumentHost& host)
    : QObject(&window), m_window(window), m_host(host) {
  setObjectName(QStringLiteral("RedEyeTool"));
}

void RedEyeTool::Build() {
  m_overlay = new RedEyeOverlay(*this, m_window.Image1());
  m_overlay->installEventFilter(this);
  m_window.Image1()->installEventFilter(this);
  m_window.picScrollBox()->installEventFilter(this);

  m_strip = m_window.NewModeStrip(QStringLiteral("RedEyeStrip"), this);
  auto* row = new QHBoxLayout(m_strip);
  row->setContentsMargins(6, 3, 6, 3);

  m_hint = new QLabel(tr("Cliquez sur chaque œil rouge, ou entourez-le d'un rectangle."), m_strip);
  m_done = new QPushButton(tr("Terminer"), m_strip);
  m_done->setObjectName(QStringLiteral("RedEyeDone"));
  m_done->setToolTip(tr("Garder les yeux corrigés et quitter l'outil"));
  m_cancel = new QPushButton(tr("Annuler"), m_strip);
  m_cancel->setObjectName(QStringLiteral("RedEyeCancel"));
  m_cancel->setToolTip(tr("Défaire les corrections faites avec l'outil et le quitter"));
  row->addWidget(m_hint, 1);
  row->addWidget(m_done);
  row->addWidget(m_cancel);

  connect(m_done, &QPushButton::clicked, this, &RedEyeTool::Leave);
  connect(m_cancel, &QPushButton::clicked, this, &RedEyeTool::Cancel);
}

void RedEyeTool::Start() {
  if (m_window.Document().Picture().empty()) return;
  if (m_overlay == nullptr) Build();
  m_corrected = 0;
  PlaceStrip();
  m_window.ShowMode(m_overlay, m_strip);
  m_host.SetStatus(tr("Cliquez au milieu d'un œil rouge, ou tracez un rectangle autour."),
                   QStringLiteral("#"), QStringLiteral("#"));
}

void RedEyeTool::Leave() {
  if (!Active()) return;
  m_window.HideMode(m_overlay, m_strip);
}

void RedEyeTool::Cancel() {
  PhotoDocument& document = m_window.Document();
  // The ring keeps a few steps only: what it no longer holds stays corrected.
  m_ownChange = true;
  for (int n = std::min(m_corrected, int(document.UndoCount())); n > 0; --n) document.Annuler();
  m_ownChange = false;
  m_corrected = 0;
  Leave();
}

void RedEyeTool::Correct(const EyePlace& eye) {
  bool found = false;
  m_ownChange = true;
  try {
    found = m_window.Document().YeuxRouges(eye.x, eye.y, eye.radius);
  } catch (...) {
    m_ownChange = false;
    m_host.ShowProgress(false);
    m_host.SetHourglass(false);
    ShowFailure(m_host.Ui(), std::current_exception(), &m_window);
    return;
  }
  m_ownChange = false;
  if (found) ++m_corrected;
  // The mode stays on for the other eye.
  m_host.SetStatus(found ? tr("Œil rouge corrigé. Cliquez sur le suivant, ou Échap pour finir.")
                         : tr("Aucun œil rouge trouvé à cet endroit."),
                   QStringLiteral("#"), QStringLiteral("#"));
}

void RedEyeTool::PhotoChanged() {
  if (!m_ownChange) m_corrected = 0;
}

void RedEyeTool::PlaceStrip() {
  const QWidget* viewport = m_window.picScrollBox();
  // In a narrow window the hint goes rather than be cut in the middle of a
  // word: the status line says the same.
  m_hint->show();
  m_hint->setVisible(m_strip->sizeHint().width() <= viewport->width());
  m_strip->setGeometry(0, 0, viewport->width(), m_strip->sizeHint().height());
}

bool RedEyeTool::eventFilter(QObject* watched, QEvent* event) {
  if (m_overlay == nullptr) return false;
  if (watched == m_window.Image1() && event->type() == QEvent::Resize) {
    m_overlay->setGeometry(m_window.Image1()->rect());
  } else if (watched == m_window.picScrollBox() && event->type() == QEvent::Resize) {
    PlaceStrip();
  } else if ((watched == m_overlay || watched == m_strip) && event->type() == QEvent::KeyPress &&
             Active()) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape:
        // Each eye is already done: both keys end the mode keeping them.
        Leave();
        return true;
      default:
        break;
    }
  }
  return false;
}

}  // namespace fotavel
