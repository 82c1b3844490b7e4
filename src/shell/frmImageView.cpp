// A document window's view: the 100 % drawing, the zoom, the scroll bars and the view buttons.
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

#include "controls/SystemColours.h"
#include "shell/CropTool.h"
#include "shell/Pictures.h"
#include "shell/RedEyeTool.h"
#include "shell/StraightenTool.h"
#include "shell/ViewRules.h"
#include "shell/frmImage.h"

namespace fotavel {

ImageDisplay::ImageDisplay(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Image1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageDisplay::SetPicture(const DisplayPyramid* display, std::vector<QImage> levels) {
  m_display = display;
  m_levels = std::move(levels);
  update();
}

void ImageDisplay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_display == nullptr || m_levels.empty() || width() <= 0 || height() <= 0) return;
  // Zooming never resamples the photo: a copy made once per change is
  // stretched here. The painter is clipped to what is exposed, and the whole
  // picture is mapped onto the whole widget whatever the part, so that a
  // strip uncovered by a scroll step joins its neighbours exactly.
  const QImage& level = m_levels[std::size_t(m_display->LevelFor(width(), height()))];
  painter.setRenderHint(QPainter::SmoothPixmapTransform, width() < level.width());
  painter.drawImage(QRectF(rect()), level, QRectF(level.rect()));
}

void ImageDisplay::mousePressEvent(QMouseEvent* event) {
  emit Pressed(event->button(), event->position().toPoint());
}
void ImageDisplay::mouseMoveEvent(QMouseEvent* event) {
  emit Moved(event->buttons(), event->position().toPoint());
}
void ImageDisplay::mouseReleaseEvent(QMouseEvent* event) {
  emit Released(event->button(), event->position().toPoint());
}

double frmImage::TppX() const { return TwipsPerPixelX(*this); }
double frmImage::TppY() const { return TwipsPerPixelY(*this); }

void frmImage::BuildView() {
  m_picScrollBox = new QWidget(this);
  m_picScrollBox->setObjectName(QStringLiteral("picScrollBox"));
  m_picScrollBox->setAutoFillBackground(true);
  QPalette grey = m_picScrollBox->palette();
  grey.setColor(QPalette::Window, QColor(224, 224, 224));
  m_picScrollBox->setPalette(grey);
  m_picScrollBox->installEventFilter(this);

  m_image1 = new ImageDisplay(m_picScrollBox);
  m_image1->resize(0, 0);
  connect(m_image1, &ImageDisplay::Pressed, this, [this](Qt::MouseButton button, QPoint at) {
    SelectionGuarded([&] { Image1_MouseDown(button, at.x() * TppX(), at.y() * TppY()); });
  });
  connect(m_image1, &ImageDisplay::Moved, this, [this](Qt::MouseButtons held, QPoint at) {
    SelectionGuarded([&] { Image1_MouseMove(held, at.x() * TppX(), at.y() * TppY()); });
  });
  connect(m_image1, &ImageDisplay::Released, this, [this](Qt::MouseButton, QPoint at) {
    SelectionGuarded([&] { Image1_MouseUp(at.x() * TppX(), at.y() * TppY()); });
  });
  m_shapeRectangle = new QRubberBand(QRubberBand::Rectangle, m_picScrollBox);
  m_shapeRectangle->setObjectName(QStringLiteral("Shaperectangle"));
  m_shapeRectangle->hide();

  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  m_hscScroll = new QScrollBar(Qt::Horizontal, m_picScrollBox);
  m_hscScroll->setObjectName(QStringLiteral("hscScroll"));
  m_hscScroll->setFixedHeight(extent);
  m_vscScroll = new QScrollBar(Qt::Vertical, m_picScrollBox);
  m_vscScroll->setObjectName(QStringLiteral("vscScroll"));
  m_vscScroll->setFixedWidth(extent);
  for (QScrollBar* bar : {m_hscScroll, m_vscScroll}) {
    bar->setMinimum(0);
    bar->setMaximum(0);
    bar->setSingleStep(32);
    bar->hide();
    connect(bar, &QScrollBar::valueChanged, this, [this] { PlaceImage1(); });
  }

  m_ptitMenuImage = new QWidget(m_picScrollBox);
  m_ptitMenuImage->setObjectName(QStringLiteral("PtitMenuImage"));
  struct ViewButton {
    const char* name;
    QString tip;
    ViewPicture picture;
    void (frmImage::*click)();
  };
  const ViewButton buttons[] = {
      {"TailleNormale", tr("Taille 1:1"), ViewPicture::Normal, &frmImage::TailleNormaleFct},
      {"fenêtre", tr("Réduire la photo à la taille de la  fenêtre"), ViewPicture::Fit,
       &frmImage::fenetre_Click},
      {"ZoomBT", tr("Zoom [+] : Bouton souris à gauche   /   Zoom [-] : Bouton souris à droite"),
       ViewPicture::Zoom, &frmImage::ZoomBT_Click},
      {"RecadrerBT", tr("Recadrer la photo"), ViewPicture::Crop, &frmImage::Recadrer_Click},
      {"RedresserBT", tr("Redresser la photo : tracez l'horizon ou choisissez l'angle"),
       ViewPicture::Straighten, &frmImage::Redresser_Click},
      {"YeuxRougesBT", tr("Corriger les yeux rouges : cliquez sur chaque œil"),
       ViewPicture::RedEyes, &frmImage::YeuxRouges_Click},
  };
  int top = 0;
  for (const ViewButton& b : buttons) {
    auto* button = new QToolButton(m_ptitMenuImage);
    button->setObjectName(QString::fromUtf8(b.name));
    button->setToolTip(b.tip);
    button->setIcon(QIcon(DrawViewPicture(b.picture, extent)));
    button->setIconSize(QSize(extent - 4, extent - 4));
    button->setAutoRaise(true);
    button->setGeometry(0, top, extent, extent);
    top += extent;
    connect(button, &QToolButton::clicked, this, b.click);
  }
  m_ptitMenuImage->resize(extent, top);

  m_timerZoomPlus = new QTimer(this);
  m_timerZoomPlus->setObjectName(QStringLiteral("TimerZoomPlus"));
  m_timerZoomMoins = new QTimer(this);
  m_timerZoomMoins->setObjectName(QStringLiteral("TimerZoomMoins"));
  for (QTimer* timer : {m_timerZoomPlus, m_timerZoomMoins}) timer->setInterval(110);
  connect(m_timerZoomPlus, &QTimer::timeout, this, &frmImage::TimerZoomPlus_Timer);
  connect(m_timerZoomMoins, &QTimer::timeout, this, &frmImage::TimerZoomMoins_Timer);

  // A slice at a time, so that a click is never kept waiting long; the
  // first a little after the change, once the photo has been painted.
  m_prepareTimer = new QTimer(this);
  m_prepareTimer->setSingleShot(true);
  connect(m_prepareTimer, &QTimer::timeout, this, [this] {
    // A slice can take a frame's time or more: while a button is held (a
    // crop rectangle or a horizon line following the mouse) or a dialog is
    // open (the adjustment sliders previewed on the photo) it waits.
    if (QGuiApplication::mouseButtons() != Qt::NoButton ||
        QApplication::activeModalWidget() != nullptr) {
      m_prepareTimer->start(50);
      return;
    }
    if (!m_document.PrepareNextCommand()) m_prepareTimer->start(0);
  });
}

void frmImage::PictureOpened() {
  m_dZoom = ZoomAjuste();
  ShowZoomLabel();
  Render();
  m_prepareTimer->start(50);
}

void frmImage::PictureChanged() {
  // An angle chosen on the old photo does not carry over to the new one.
  if (m_straighten != nullptr) m_straighten->PhotoChanged();
  Render();
  // Turns, undos and resizes change the photo's size: the bars follow.
  picScrollBox_Resize();
  // A mode's choices belong to the photo it was started on.
  if (m_crop != nullptr) m_crop->PictureChanged();
  // The red-eye mode stays on the new photo.
  if (m_redEyes != nullptr) m_redEyes->PhotoChanged();
  m_prepareTimer->start(50);
}

void frmImage::Render() {
  SizeImage1();
  BuildDisplay();
}

void frmImage::BuildDisplay() {
  // One pass over the photo, as fine as Image1's size needs; the old copies
  // are not shown from here on, as their memory is reused.
  const cDIBSection& photo = m_document.Picture();
  std::vector<QImage> levels;
  if (m_display.Build(photo, DisplayPyramid::FinestFor(photo.width(), photo.height(),
                                                       m_image1->width(), m_image1->height()))) {
    for (std::int32_t k = 0; k < m_display.Levels(); ++k) {
      const DisplayPyramid::Level& level = m_display.level(k);
      if (k < m_display.Finest()) {
        levels.emplace_back();
        continue;
      }
      levels.emplace_back(reinterpret_cast<const uchar*>(level.bits), level.width, level.height,
                          qsizetype(level.width) * 4, QImage::Format_RGB32);
    }
  }
  m_picImage = levels.empty() ? QImage() : levels.front();
  m_image1->SetPicture(&m_display, std::move(levels));
}

double frmImage::DisplayedWidthTwips(double zoom) const {
  return m_document.ImageWidth() * TppX() * zoom / 100.0;
}

void frmImage::SizeImage1() {
  m_image1Width = DisplayedWidthTwips(m_dZoom);
  m_image1Height = m_document.ImageHeight() * TppY() * m_dZoom / 100.0;
  m_image1->resize(view::RoundHalfEven(m_image1Width / TppX()),
                   view::RoundHalfEven(m_image1Height / TppY()));
}

void frmImage::ShowAtZoom() {
  SizeImage1();
  // A view larger than half the photo reads the full-size level, which the
  // display leaves out while the view is smaller.
  if (!m_display.empty() &&
      m_display.Finest() > DisplayPyramid::FinestFor(m_document.ImageWidth(),
                                                     m_document.ImageHeight(), m_image1->width(),
                                                     m_image1->height())) {
    BuildDisplay();
  }
}

void frmImage::ShowZoomLabel() {
  m_host.ShowZoom(tr("Zoom: %1 %").arg(view::RoundHalfEven(m_dZoom)));
}

int frmImage::ZoomAjuste() const {
  // A photo some two hundred times wider or higher than the room would round
  // to 0 % and not show at all: it shows at 1 %, the smallest whole zoom.
  return std::max(1, view::ZoomAjuste(m_host.RoomForPhoto(), m_document.ImageWidth(),
                                      m_document.ImageHeight()));
}

QSize frmImage::SizeShowingPhoto() const {
  // Each bar shows when the photo is wider (higher) than the room left beside
  // the other bar, shown or not: that room is what the photo needs.
  return m_image1->size() + QSize(4 + m_vscScroll->width(), 4 + m_hscScroll->height());
}

void frmImage::FitZoomWithin(QSize size) {
  const QSize needed = SizeShowingPhoto();
  if (needed.width() <= size.width() && needed.height() <= size.height()) return;
  const QSize room = size - (needed - m_image1->size());
  const int zoom = view::ZoomWithin(room.width(), room.height(), m_document.ImageWidth(),
                                    m_document.ImageHeight());
  if (zoom >= m_dZoom) return;
  m_dZoom = zoom;
  AppliqueZoom();
}

void frmImage::AppliqueZoom() {
  ShowAtZoom();
  ShowZoomLabel();
  SetMousePointer(kPointerNormal);
  m_image1->move(0, 0);
  m_hscScroll->setValue(0);
  m_vscScroll->setValue(0);
  picScrollBox_Resize();
}

void frmImage::TailleNormaleFct() {
  m_dZoom = 100;
  AppliqueZoom();
}

void frmImage::fenetre_Click() {
  m_dZoom = ZoomAjuste();
  AppliqueZoom();
}

void frmImage::ZoomBT_Click() {
  SetMousePointer(m_pointer == kPointerZoom ? kPointerNormal : kPointerZoom);
}

void frmImage::SetMousePointer(int pointer) {
  // The zoom tool and the area blur take the mouse the modes on the photo hold.
  if (pointer == kPointerZoom || pointer == kPointerCross) {
    if (m_crop != nullptr) m_crop->Leave();
    if (m_straighten != nullptr) m_straighten->Leave();
    if (m_redEyes != nullptr) m_redEyes->Leave();
  }
  m_pointer = pointer;
  switch (pointer) {
    case kPointerZoom:
      m_image1->setCursor(ZoomCursor());
      break;
    case kPointerCross:
      m_image1->setCursor(Qt::CrossCursor);
      break;
    case kPointerBusy:
      m_image1->setCursor(Qt::WaitCursor);
      break;
    default:
      m_image1->unsetCursor();
      break;
  }
}

// The bars are left as they are during a tick; releasing the mouse lays
// them out again.
void frmImage::TimerZoomPlus_Timer() {
  m_dZoom = view::ZoomStepIn(m_dZoom);
  ShowAtZoom();
  m_image1->move(0, 0);
  ShowZoomLabel();
}

void frmImage::TimerZoomMoins_Timer() {
  const std::optional<double> zoom = view::ZoomStepOut(m_dZoom, m_image1Width);
  if (!zoom) return;
  m_dZoom = *zoom;
  ShowAtZoom();
  m_image1->move(0, 0);
  ShowZoomLabel();
}

void frmImage::PlaceImage1() { m_image1->move(-m_hscScroll->value(), -m_vscScroll->value()); }

void frmImage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void frmImage::Form_Resize() {
  const auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (frame != nullptr && frame->isMinimized()) return;
  // A 2-pixel margin all round.
  m_picScrollBox->setGeometry(2, 2, std::max(0, width() - 4), std::max(0, height() - 4));
}

bool frmImage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_picScrollBox && event->type() == QEvent::Resize) picScrollBox_Resize();
  // Whatever child the wheel turns over (the photo, the grey around it, the
  // view buttons) passes it up to the viewport.
  if (watched == m_picScrollBox && event->type() == QEvent::Wheel) {
    picScrollBox_Wheel(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void frmImage::picScrollBox_Resize() {
  const int w = m_picScrollBox->width();
  const int h = m_picScrollBox->height();
  view::ViewportSizes sizes;
  sizes.twipsPerPixelX = TppX();
  sizes.twipsPerPixelY = TppY();
  sizes.innerWidth = w * sizes.twipsPerPixelX;
  sizes.innerHeight = h * sizes.twipsPerPixelY;
  sizes.imageWidth = m_image1Width;
  sizes.imageHeight = m_image1Height;
  sizes.hScrollHeight = m_hscScroll->height() * sizes.twipsPerPixelY;
  sizes.vScrollWidth = m_vscScroll->width() * sizes.twipsPerPixelX;
  const view::ScrollLayout layout = view::LayoutScrollBars(sizes);

  m_hscScroll->setVisible(layout.horizontalVisible);
  if (layout.horizontalVisible) {
    m_hscScroll->setMaximum(layout.horizontalMax);
    m_hscScroll->setSingleStep(32);
    m_hscScroll->setGeometry(0, h - m_hscScroll->height(), std::max(0, w - m_vscScroll->width()),
                             m_hscScroll->height());
  }
  m_vscScroll->setVisible(layout.verticalVisible);
  if (layout.verticalVisible) {
    m_vscScroll->setMaximum(layout.verticalMax);
    m_vscScroll->setSingleStep(32);
    m_vscScroll->setGeometry(w - m_vscScroll->width(), 0, m_vscScroll->width(),
                             std::max(0, h - m_ptitMenuImage->height()));
  }
  m_ptitMenuImage->move(w - m_ptitMenuImage->width(), h - m_ptitMenuImage->height());
  m_hscScroll->raise();
  m_vscScroll->raise();
  m_ptitMenuImage->raise();
}

}  // namespace fotavel
