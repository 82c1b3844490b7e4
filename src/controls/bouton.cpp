// The toolbars' image button: properties, saved values, mouse and key handling.
#include "controls/bouton.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "controls/boutonAccessible.h"

namespace fotavel {

namespace {

const QString kKeyCaption = QStringLiteral("Caption");
const QString kKeyNormal = QStringLiteral("CouleurBtNormal");
const QString kKeyEnfonce = QStringLiteral("CouleurBtEnfoncé");
const QString kKeySurvol = QStringLiteral("CouleurBtSurvol");
const QString kKeyPosition = QStringLiteral("PositionFond");
const QString kKeyFont = QStringLiteral("Font");
const QString kKeyImage = QStringLiteral("BackImage");
const QString kKeyImageEnfoncee = QStringLiteral("BackImageEnfoncée");
const QString kKeyImageDessus = QStringLiteral("BackImageDessus");
const QString kKeyEnabled = QStringLiteral("Enabled");
const QString kKeyLegende = QStringLiteral("Légende");

constexpr ColourValue kDefaultNormal = 0x000000;
constexpr ColourValue kDefaultEnfonce = 0xFF0000;
constexpr ColourValue kDefaultSurvol = 0xC0C0C0;
constexpr std::int32_t kDefaultPosition = 3;

qint16 ButtonCode(Qt::MouseButtons buttons) {
  qint16 code = 0;
  if (buttons & Qt::LeftButton) code |= 1;
  if (buttons & Qt::RightButton) code |= 2;
  if (buttons & Qt::MiddleButton) code |= 4;
  return code;
}

qint16 ShiftCode(Qt::KeyboardModifiers modifiers) {
  qint16 code = 0;
  if (modifiers & Qt::ShiftModifier) code |= 1;
  if (modifiers & Qt::ControlModifier) code |= 2;
  if (modifiers & Qt::AltModifier) code |= 4;
  return code;
}

// Containers written against the button compare key codes with the desktop's
// virtual-key numbers; letters and digits already coincide with Qt's keys.
qint16 VirtualKey(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return static_cast<qint16>(key);
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<qint16>(0x70 + key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
      return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Shift:
      return 0x10;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Pause:
      return 0x13;
    case Qt::Key_CapsLock:
      return 0x14;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    default:
      return 0;
  }
}

// The keys that click a focused button, as they click a push button.
bool IsClickKey(const QKeyEvent& event) {
  const int key = event.key();
  return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
         (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

bouton::bouton(QWidget* parent) : QWidget(parent) {
  InstallBoutonAccessibility();
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // The surface is repainted whole from our own drawing; nothing below shows.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bouton::~bouton() = default;

void bouton::SetCaption(const QString& caption) {
  m_caption = caption;
  emit PropertyChanged(kKeyCaption);
  AnnounceTexts();
  DrawLook(Look::Normal);
}

void bouton::SetCouleurBtNormal(ColourValue colour) {
  m_couleurNormal = colour;
  emit PropertyChanged(kKeyNormal);
  DrawLook(Look::Normal);
}

void bouton::SetCouleurBtEnfonce(ColourValue colour) {
  m_couleurEnfonce = colour;
  emit PropertyChanged(kKeyEnfonce);
  DrawLook(Look::Normal);
}

void bouton::SetCouleurBtSurvol(ColourValue colour) {
  m_couleurSurvol = colour;
  emit PropertyChanged(kKeySurvol);
  DrawLook(Look::Normal);
}

void bouton::SetFont(const QFont& font) {
  m_selfChange = true;
  setFont(font);
  m_selfChange = false;
  emit PropertyChanged(kKeyFont);
  DrawLook(Look::Normal);
}

void bouton::SetEnabled(bool enabled) {
  m_selfChange = true;
  setEnabled(enabled);
  m_selfChange = false;
  emit PropertyChanged(kKeyEnabled);
  DrawLook(enabled ? Look::Normal : Look::Disabled);
}

void bouton::SetLegende(const QString& legende) {
  m_legende = legende;
  emit PropertyChanged(kKeyLegende);
  AnnounceTexts();
}

void bouton::SetPositionFond(std::int32_t position) {
  m_positionFond = position;
  emit PropertyChanged(kKeyPosition);
}

void bouton::SetBackImage(const QPixmap& picture) {
  m_imgFond = picture;
  emit PropertyChanged(kKeyImage);
}

void bouton::SetBackImageEnfoncee(const QPixmap& picture) {
  m_imgFdEnf = picture;
  emit PropertyChanged(kKeyImageEnfoncee);
}

void bouton::SetBackImageDessus(const QPixmap& picture) {
  m_imgFdDessus = picture;
  emit PropertyChanged(kKeyImageDessus);
}

void bouton::UserControl_Show() { DrawLook(isEnabled() ? Look::Normal : Look::Disabled); }

void bouton::ReadProperties(const QVariantMap& saved) {
  m_caption = saved.value(kKeyCaption, objectName()).toString();
  m_couleurNormal = saved.value(kKeyNormal, kDefaultNormal).toUInt();
  m_couleurEnfonce = saved.value(kKeyEnfonce, kDefaultEnfonce).toUInt();
  m_couleurSurvol = saved.value(kKeySurvol, kDefaultSurvol).toUInt();
  m_positionFond = saved.value(kKeyPosition, kDefaultPosition).toInt();
  m_selfChange = true;
  // Without a saved font the button keeps following its container's.
  if (saved.contains(kKeyFont)) setFont(saved.value(kKeyFont).value<QFont>());
  m_imgFond = saved.value(kKeyImage).value<QPixmap>();
  m_imgFdEnf = saved.value(kKeyImageEnfoncee).value<QPixmap>();
  m_imgFdDessus = saved.value(kKeyImageDessus).value<QPixmap>();
  setEnabled(saved.value(kKeyEnabled, true).toBool());
  m_selfChange = false;
  m_legende = saved.value(kKeyLegende).toString();
  AnnounceTexts();
  UserControl_Show();
}

QVariantMap bouton::WriteProperties() const {
  QVariantMap saved;
  if (m_caption != objectName()) saved.insert(kKeyCaption, m_caption);
  if (m_couleurNormal != kDefaultNormal) saved.insert(kKeyNormal, m_couleurNormal);
  if (m_couleurEnfonce != kDefaultEnfonce) saved.insert(kKeyEnfonce, m_couleurEnfonce);
  if (m_couleurSurvol != kDefaultSurvol) saved.insert(kKeySurvol, m_couleurSurvol);
  if (m_positionFond != kDefaultPosition) saved.insert(kKeyPosition, m_positionFond);
  if (testAttribute(Qt::WA_SetFont)) saved.insert(kKeyFont, font());
  if (!m_imgFond.isNull()) saved.insert(kKeyImage, m_imgFond);
  if (!m_imgFdEnf.isNull()) saved.insert(kKeyImageEnfoncee, m_imgFdEnf);
  if (!m_imgFdDessus.isNull()) saved.insert(kKeyImageDessus, m_imgFdDessus);
  if (testAttribute(Qt::WA_ForceDisabled)) saved.insert(kKeyEnabled, false);
  if (!m_legende.isEmpty()) saved.insert(kKeyLegende, m_legende);
  return saved;
}

void bouton::InitProperties() { ReadProperties({}); }

void bouton::AnnounceTexts() {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent name(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&name);
  QAccessibleEvent description(this, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&description);
}

void bouton::SetStatusLabel(QLabel* label) { m_statusLabel = label; }

QLabel* bouton::StatusLabel() const {
  if (m_statusLabel) return m_statusLabel;
  for (QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
    if (auto* label = ancestor->findChild<QLabel*>(QStringLiteral("lblStatus"))) return label;
  }
  return nullptr;
}

void bouton::WriteStatus(const QString& text) {
  if (QLabel* label = StatusLabel()) label->setText(text);
}

void bouton::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::EnabledChange:
      // A disabled window loses the mouse without hearing it leave.
      if (!isEnabled()) m_holdsMouse = false;
      // A change that comes from the container (its font, its enabled state)
      // redraws as showing the button would.
      if (!m_selfChange) UserControl_Show();
      break;
    default:
      break;
  }
  QWidget::changeEvent(event);
}

void bouton::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  UserControl_Show();
}

void bouton::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Every look is laid out from the size; a stretched old drawing would be wrong.
  UserControl_Show();
}

// The movement is judged from where the desktop says the cursor is, so that a
// window lying over the button (a menu, a dialog) counts as leaving it.
void bouton::mouseMoveEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  const QRect onScreen(mapToGlobal(QPoint(0, 0)), size());
  if (onScreen.contains(global) && QApplication::widgetAt(global) == this) {
    const QPointF at = event->position();
    const auto x = static_cast<float>(at.x() * TwipsPerPixelX(*this));
    const auto y = static_cast<float>(at.y() * TwipsPerPixelY(*this));
    const qint16 shift = ShiftCode(event->modifiers());
    if (event->buttons() != Qt::NoButton) {
      emit Mousemove(ButtonCode(event->buttons()), shift, x, y);
    } else {
      DrawLook(Look::Hover);
      emit MouseEnter(0, shift, x, y);
    }
    m_holdsMouse = true;
  } else if (m_holdsMouse) {
    LeaveButton();
  }
}

// Without a button held, leaving shows up as a leave event rather than as a
// movement outside; it ends the hover the same way.
void bouton::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (m_holdsMouse) LeaveButton();
}

void bouton::LeaveButton() {
  m_holdsMouse = false;
  DrawLook(Look::Normal);
  WriteStatus(QString());
  emit MouseLeave();
}

void bouton::mousePressEvent(QMouseEvent* event) {
  m_holdsMouse = true;
  m_inDoubleClick = false;
  DrawLook(Look::Pressed);
  emit MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                 static_cast<float>(event->position().x() * TwipsPerPixelX(*this)),
                 static_cast<float>(event->position().y() * TwipsPerPixelY(*this)));
}

void bouton::mouseReleaseEvent(QMouseEvent* event) {
  const bool endsDoubleClick = m_inDoubleClick;
  m_inDoubleClick = false;
  // Once the mouse has left while held, the button has let go of it: the
  // release belongs to wherever it happens, so no MouseUp and no Click.
  if (!m_holdsMouse) return;
  DrawLook(Look::Normal);
  emit MouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()),
               static_cast<float>(event->position().x() * TwipsPerPixelX(*this)),
               static_cast<float>(event->position().y() * TwipsPerPixelY(*this)));
  if (event->button() == Qt::LeftButton && !endsDoubleClick &&
      rect().contains(event->position().toPoint())) {
    emit Click();
  }
}

// One double click is one Click (on the first release) and one DblClick; the
// release that follows raises MouseUp only.
void bouton::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_inDoubleClick = true;
  emit DblClick();
}

void bouton::PerformClick() {
  if (isEnabled() && isVisible()) emit Click();
}

// Keys are passed on first, as they always were. Space and Enter then work
// the button as a push button's: pressed look while the key is down, the
// click on its release.
void bouton::keyPressEvent(QKeyEvent* event) {
  const QPointer<bouton> alive(this);
  emit KeyDown(VirtualKey(event->key()), ShiftCode(event->modifiers()));
  if (!event->text().isEmpty()) emit KeyPress(static_cast<qint16>(event->text().at(0).unicode()));
  if (!alive || event->isAutoRepeat() || !IsClickKey(*event)) return;
  m_clickKey = event->key();
  DrawLook(Look::Pressed);
}

void bouton::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  const QPointer<bouton> alive(this);
  emit KeyUp(VirtualKey(event->key()), ShiftCode(event->modifiers()));
  if (!alive || m_clickKey == 0 || event->key() != m_clickKey) return;
  m_clickKey = 0;
  DrawLook(Look::Normal);
  PerformClick();
}

// Focus that moves on while the key is held takes the click with it.
void bouton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (m_clickKey == 0) return;
  m_clickKey = 0;
  UserControl_Show();
}

}  // namespace fotavel
