// The crop mode: its entry from the window, the strip of controls, the ratios, the keys and
// the crop itself.
#include "shell/CropTool.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>
#include <exception>
#include <tuple>

#include "shell/Failures.h"
#include "shell/Pictures.h"
#include "shell/frmImage.h"

namespace fotavel {

// ---- The tool ----

CropTool::CropTool(frmImage& window) : QObject(&window), m_window(window) {
  m_overlay = new CropOverlay(*this, window.Image1());
  m_overlay->hide();
  m_overlay->installEventFilter(this);
  BuildStrip();
  window.Image1()->installEventFilter(this);
  window.picScrollBox()->installEventFilter(this);
}

void CropTool::BuildStrip() {
  auto* strip = new QFrame(m_window.picScrollBox());
  strip->setObjectName(QStringLiteral("CropStrip"));
  strip->setFrameShape(QFrame::StyledPanel);
  strip->setAutoFillBackground(true);
  strip->setPalette(m_window.palette());
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(4, 2, 4, 2);

  m_presets = new QComboBox(strip);
  m_presets->setObjectName(QStringLiteral("CropPresets"));
  m_presets->setToolTip(tr("Proportions du cadre"));
  m_presets->addItems({tr("Libre"), tr("Photo d'origine"), tr("1:1"), tr("4:3"), tr("3:2"),
                       tr("16:9"), tr("10 × 15")});
  connect(m_presets, &QComboBox::activated, this, &CropTool::ChoosePreset);

  m_swap = new QToolButton(strip);
  m_swap->setObjectName(QStringLiteral("CropSwap"));
  m_swap->setToolTip(tr("Échanger portrait et paysage"));
  const int extent = m_presets->sizeHint().height();
  m_swap->setIcon(QIcon(DrawViewPicture(ViewPicture::Orientation, extent)));
  m_swap->setAutoRaise(true);
  connect(m_swap, &QToolButton::clicked, this, &CropTool::SwapOrientation);

  m_width = new QSpinBox(strip);
  m_width->setObjectName(QStringLiteral("CropWidth"));
  m_height = new QSpinBox(strip);
  m_height->setObjectName(QStringLiteral("CropHeight"));
  for (QSpinBox* side : {m_width, m_height}) {
    // A number typed counts once it is whole: its first digits alone would
    // squeeze the rectangle on the way.
    side->setKeyboardTracking(false);
    side->setAccelerated(true);
    connect(side, &QSpinBox::valueChanged, this,
            [this, side] { TypedSize(side == m_width ? 0 : 1); });
  }

  m_apply = new QPushButton(tr("Recadrer"), strip);
  m_apply->setObjectName(QStringLiteral("CropApply"));
  m_cancel = new QPushButton(tr("Annuler"), strip);
  m_cancel->setObjectName(QStringLiteral("CropCancel"));
  // Enter on either button is that button, not the strip's Enter.
  m_apply->setAutoDefault(true);
  m_cancel->setAutoDefault(true);
  connect(m_apply, &QPushButton::clicked, this, &CropTool::Apply);
  connect(m_cancel, &QPushButton::clicked, this, &CropTool::Leave);

  row->addWidget(m_presets);
  row->addWidget(m_swap);
  row->addSpacing(8);
  row->addWidget(new QLabel(tr("Largeur :"), strip));
  row->addWidget(m_width);
  row->addWidget(new QLabel(tr("Hauteur :"), strip));
  row->addWidget(m_height);
  row->addSpacing(8);
  row->addWidget(m_apply);
  row->addWidget(m_cancel);
  strip->installEventFilter(this);
  strip->hide();
  m_strip = strip;
}

void CropTool::PlaceStrip() {
  // Over the top edge of the viewport, clear of the vertical bar's place.
  const QWidget* box = m_window.picScrollBox();
  const QSize hint = m_strip->sizeHint();
  const int room = box->width() - m_window.vscScroll()->width();
  m_strip->setGeometry(0, 0, std::max(0, std::min(hint.width(), room)), hint.height());
  m_strip->raise();
}

void CropTool::Start() {
  if (m_window.Document().Picture().empty()) return;
  m_active = true;
  m_rect.reset();
  m_ratio.reset();
  m_grip = kNone;
  m_presets->setCurrentIndex(kLibre);
  PlaceStrip();
  m_window.ShowMode(m_overlay, m_strip);
  ShowSize();
}

void CropTool::Leave() {
  if (!m_active) return;
  m_active = false;
  m_rect.reset();
  m_grip = kNone;
  m_window.HideMode(m_overlay, m_strip);
}

void CropTool::Apply() {
  if (!m_active || !m_rect) return;
  const PixelRect rect = *m_rect;
  const std::optional<PixelSize> ratio = m_ratio;
  const int preset = m_presets->currentIndex();
  const bool whole = rect == PixelRect{0, 0, PhotoWidth(), PhotoHeight()};
  // Left first, so that the document's own report of the command is what
  // the status area keeps; the whole photo is no crop at all.
  Leave();
  if (whole) return;
  try {
    m_window.Document().Recadrer(rect);
  } catch (...) {
    DocumentHost& host = m_window.Host();
    host.ShowProgress(false);
    host.SetHourglass(false);
    ShowFailure(host.Ui(), std::current_exception(), &m_window);
    // The photo is as it was: the rectangle and its ratio are offered again.
    Start();
    m_ratio = ratio;
    m_presets->setCurrentIndex(preset);
    SetRect(rect);
  }
}

void CropTool::PictureChanged() {
  if (!m_active) return;
  // The overlay follows Image1's new size by itself; a ratio is worked out
  // again for the new photo, whose orientation may have turned.
  const int preset = m_presets->currentIndex();
  if (preset == kLibre) {
    SetRect(std::nullopt);
  } else {
    ChoosePreset(preset);
  }
}

std::int32_t CropTool::PhotoWidth() const { return m_window.Document().ImageWidth(); }
std::int32_t CropTool::PhotoHeight() const { return m_window.Document().ImageHeight(); }

// ---- Ratios ----

void CropTool::ChoosePreset(int preset) {
  const std::int32_t w = PhotoWidth();
  const std::int32_t h = PhotoHeight();
  if (w < 1 || h < 1) return;
  // The longer side first; a portrait photo takes the ratio upright.
  struct Sides {
    std::int32_t longer, shorter;
  };
  std::optional<Sides> sides;
  switch (preset) {
    case kCarre:
      sides = Sides{1, 1};
      break;
    case kQuatreTiers:
      sides = Sides{4, 3};
      break;
    case kTroisDemis:
    case kTirage:  // a 10 x 15 cm print
      sides = Sides{3, 2};
      break;
    case kSeizeNeuviemes:
      sides = Sides{16, 9};
      break;
    default:
      break;
  }
  m_presets->setCurrentIndex(preset);
  if (preset == kOrigine) {
    m_ratio = PixelSize{w, h};
  } else if (sides) {
    m_ratio = w >= h ? PixelSize{sides->longer, sides->shorter}
                     : PixelSize{sides->shorter, sides->longer};
  } else {
    m_ratio.reset();
    return;
  }
  SetRect(LargestCentred(w, h, m_ratio->width, m_ratio->height));
}

void CropTool::SwapOrientation() {
  if (m_ratio) {
    m_ratio = PixelSize{m_ratio->height, m_ratio->width};
    SetRect(LargestCentred(PhotoWidth(), PhotoHeight(), m_ratio->width, m_ratio->height));
  } else if (m_rect) {
    SetRect(AroundCentre(m_rect->height, m_rect->width, 0));
  }
}

// ---- What is shown ----

void CropTool::ShowSize() {
  const std::int32_t photoW = PhotoWidth();
  const std::int32_t photoH = PhotoHeight();
  const PixelRect shown = m_rect.value_or(PixelRect{0, 0, photoW, photoH});
  for (auto [side, max, value] :
       {std::tuple{m_width, photoW, shown.width}, std::tuple{m_height, photoH, shown.height}}) {
    const QSignalBlocker quiet(side);
    side->setRange(1, std::max(1, max));
    side->setValue(value);
  }
  m_apply->setEnabled(m_rect.has_value());
  m_window.Host().SetStatus(
      m_rect ? tr("Recadrage : %1 x %2 pixels").arg(m_rect->width).arg(m_rect->height)
             : tr("Recadrage : tracez le rectangle à garder"),
      QStringLiteral("#"), QStringLiteral("#"));
}

void CropTool::TypedSize(int typed) {
  SetRect(AroundCentre(m_width->value(), m_height->value(), typed));
}

bool CropTool::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_window.Image1() && event->type() == QEvent::Resize) {
    // Zoomed: the rectangle stays on the same photo pixels.
    m_overlay->resize(m_window.Image1()->size());
  } else if (watched == m_window.picScrollBox() && event->type() == QEvent::Resize) {
    if (m_active) PlaceStrip();
  } else if ((watched == m_overlay || watched == m_strip) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
      Leave();
      return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter in a size field takes the number (the field has already);
      // the next Enter crops.
      if (qobject_cast<QAbstractSpinBox*>(QApplication::focusWidget()) != nullptr) {
        m_overlay->setFocus();
      } else {
        Apply();
      }
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace fotavel
