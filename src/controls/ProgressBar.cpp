// The status area's progress bar: a Qt bar inside a control that keeps its own properties.
#include "controls/ProgressBar.h"

#include <QResizeEvent>
#include <algorithm>
#include <limits>

namespace fotavel {

namespace {

const QString kSmooth = QStringLiteral("Smooth");
const QString kOrientation = QStringLiteral("Orientation");
const QString kBorderStyle = QStringLiteral("BorderStyle");
const QString kForeColor = QStringLiteral("ForeColor");
const QString kBackColor = QStringLiteral("BackColor");
const QString kMin = QStringLiteral("Min");
const QString kMax = QStringLiteral("Max");
const QString kStep = QStringLiteral("Step");
const QString kPosition = QStringLiteral("Position");

// Saved defaults; they differ from a new object's start values (Min 1,
// BorderStyle 0, BackColor 0), which is what a newly placed control keeps.
constexpr bool kDefaultSmooth = false;
constexpr std::int32_t kDefaultOrientation = 0;
constexpr std::int32_t kDefaultBorderStyle = 1;
constexpr ColourValue kDefaultForeColor = kSysHighlight;
constexpr ColourValue kDefaultBackColor = kSysButtonFace;
constexpr std::int32_t kDefaultMin = 0;
constexpr std::int32_t kDefaultMax = 100;
constexpr std::int32_t kDefaultStep = 1;

// Forces the next write of a colour through the "only on change" test.
constexpr ColourValue kForgottenColour = 0xFFFFFFFFu;

}  // namespace

ProgressBar::ProgressBar(QWidget* parent) : QFrame(parent) { setFrameStyle(QFrame::NoFrame); }

ProgressBar::~ProgressBar() { DestroyBarWindow(); }

std::optional<QColor> ProgressBar::Translated(ColourValue colour) const {
  return TranslateColour(colour, palette());
}

void ProgressBar::SetPosition(std::int32_t position) {
  if (position == m_position) return;
  m_position = position;
  if (m_bar) m_bar->SetPosition(m_position);
  emit PropertyChanged(kPosition);
}

void ProgressBar::SetMin(std::int32_t min) {
  if (min == m_min) return;
  m_min = min;
  if (m_bar) SendRange();
  emit PropertyChanged(kMin);
}

void ProgressBar::SetMax(std::int32_t max) {
  if (max == m_max) return;
  m_max = max;
  if (m_bar) SendRange();
  emit PropertyChanged(kMax);
}

void ProgressBar::SetStep(std::int32_t step) {
  if (step == m_step) return;
  m_step = step;
  if (m_bar) m_bar->SetStep(m_step);
  emit PropertyChanged(kStep);
}

void ProgressBar::SetForeColor(ColourValue colour) {
  if (colour == m_foreColor) return;
  m_foreColor = colour;
  if (m_bar) m_bar->SetBarColour(Translated(m_foreColor));
  emit PropertyChanged(kForeColor);
}

void ProgressBar::SetBackColor(ColourValue colour) {
  if (colour == m_backColor) return;
  m_backColor = colour;
  if (m_bar) m_bar->SetBackgroundColour(Translated(m_backColor));
  emit PropertyChanged(kBackColor);
}

void ProgressBar::SetBorderStyle(std::int32_t style) {
  if (style == m_borderStyle) return;
  m_borderStyle = style;
  // The sunken edge belongs to the control, the thin one to the bar; the bar
  // then fits inside whatever frame the control now has.
  if (m_borderStyle == 2) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
  if (m_bar) {
    m_bar->SetThinEdge(m_borderStyle == 1);
    LayoutBar();
  }
  emit PropertyChanged(kBorderStyle);
}

void ProgressBar::SetSmooth(bool smooth) {
  if (smooth == m_smooth) return;
  m_smooth = smooth;
  if (m_bar) RecreateBarWindow();
  emit PropertyChanged(kSmooth);
}

void ProgressBar::SetOrientation(std::int32_t orientation) {
  if (orientation == m_orientation) return;
  m_orientation = orientation;
  if (m_bar) RecreateBarWindow();
  emit PropertyChanged(kOrientation);
}

// The stored position follows the bar, so that reading Position tells where
// the bar stands and a later write of the old value is not taken for "no change".
void ProgressBar::StepIt() {
  if (m_bar) {
    m_bar->StepIt();
    m_position = m_bar->Position();
    return;
  }
  const std::int64_t next = static_cast<std::int64_t>(m_position) + m_step;
  m_position = static_cast<std::int32_t>(std::clamp<std::int64_t>(
      next, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

ProgressBarWindow* ProgressBar::NewBarWindow(bool vertical, bool smooth) {
  return new ProgressBarWindow(this, vertical, smooth);
}

// The bar starts at the stored position and step: StepIt then advances by the
// Step the control shows, whenever the bar was made.
void ProgressBar::CreateBarWindow() {
  DestroyBarWindow();
  m_bar = NewBarWindow(m_orientation == 1, m_smooth);
  LayoutBar();
  m_bar->show();
  m_bar->SetPosition(m_position);
  m_bar->SetStep(m_step);
}

void ProgressBar::DestroyBarWindow() {
  if (!m_bar) return;
  ProgressBarWindow* bar = m_bar;
  m_bar = nullptr;
  bar->hide();
  bar->setParent(nullptr);
  delete bar;
}

// A bar that does not take the full 32-bit range gets the low 16 bits of
// each limit instead.
void ProgressBar::SendRange() {
  m_bar->SetRange32(m_min, m_max);
  const auto [low, high] = m_bar->Range();
  if (low != m_min || high != m_max) {
    m_bar->SetRange16(static_cast<std::uint16_t>(m_min & 0xFFFF),
                      static_cast<std::uint16_t>(m_max & 0xFFFF));
  }
}

void ProgressBar::RecreateBarWindow() {
  const std::int32_t borderStyle = m_borderStyle;
  const std::int32_t position = m_position;
  const ColourValue backColor = m_backColor;
  const ColourValue foreColor = m_foreColor;
  CreateBarWindow();
  SendRange();
  m_position = -1;
  SetPosition(position);
  m_borderStyle = -1;
  SetBorderStyle(borderStyle);
  m_backColor = kForgottenColour;
  SetBackColor(backColor);
  m_foreColor = kForgottenColour;
  SetForeColor(foreColor);
}

void ProgressBar::LayoutBar() {
  if (m_bar) m_bar->setGeometry(contentsRect());
}

void ProgressBar::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  LayoutBar();
}

void ProgressBar::ReadProperties(const QVariantMap& saved) {
  SetSmooth(saved.value(kSmooth, kDefaultSmooth).toBool());
  SetOrientation(saved.value(kOrientation, kDefaultOrientation).toInt());
  CreateBarWindow();
  m_borderStyle = -1;
  SetBorderStyle(saved.value(kBorderStyle, kDefaultBorderStyle).toInt());
  SetForeColor(saved.value(kForeColor, kDefaultForeColor).toUInt());
  SetBackColor(saved.value(kBackColor, kDefaultBackColor).toUInt());
  SetMin(saved.value(kMin, kDefaultMin).toInt());
  SetMax(saved.value(kMax, kDefaultMax).toInt());
  SetStep(saved.value(kStep, kDefaultStep).toInt());
}

QVariantMap ProgressBar::WriteProperties() const {
  QVariantMap saved;
  if (m_smooth != kDefaultSmooth) saved.insert(kSmooth, m_smooth);
  if (m_orientation != kDefaultOrientation) saved.insert(kOrientation, m_orientation);
  if (m_borderStyle != kDefaultBorderStyle) saved.insert(kBorderStyle, m_borderStyle);
  if (m_foreColor != kDefaultForeColor) saved.insert(kForeColor, m_foreColor);
  if (m_backColor != kDefaultBackColor) saved.insert(kBackColor, m_backColor);
  if (m_min != kDefaultMin) saved.insert(kMin, m_min);
  if (m_max != kDefaultMax) saved.insert(kMax, m_max);
  if (m_step != kDefaultStep) saved.insert(kStep, m_step);
  return saved;
}

void ProgressBar::InitProperties() {
  SetSmooth(false);
  SetOrientation(0);
  CreateBarWindow();
  SetBorderStyle(1);
  const QWidget* container = parentWidget();
  SetBackColor(ColourValueOf(container ? container->palette().color(container->backgroundRole())
                                       : palette().color(QPalette::Window)));
}

}  // namespace fotavel
