// The image button as assistive tools (screen readers, AT-SPI clients) see it.
#include "controls/boutonAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMetaObject>

#include "controls/bouton.h"

namespace fotavel {

namespace {

// The button draws its caption itself, so Qt alone would see an unnamed,
// role-less rectangle: the caption is its name, the help text it shows in the
// status label its description.
class BoutonAccessible : public QAccessibleWidget {
 public:
  explicit BoutonAccessible(bouton* button) : QAccessibleWidget(button, QAccessible::Button) {}

  QString text(QAccessible::Text t) const override {
    // A name or description set on the widget by a container comes first.
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty() &&
        !Button()->Caption().isEmpty()) {
      return Button()->Caption();
    }
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty() &&
        !Button()->Legende().isEmpty()) {
      return Button()->Legende();
    }
    return QAccessibleWidget::text(t);
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled()) names.prepend(pressAction());
    return names;
  }

  // The click runs once the tool's request has been answered: a command may
  // take seconds or open a dialog, and the tool would wait for it all that
  // time. The queued call is dropped if the button goes first.
  void doAction(const QString& name) override {
    if (name != pressAction()) {
      QAccessibleWidget::doAction(name);
      return;
    }
    QMetaObject::invokeMethod(Button(), &bouton::PerformClick, Qt::QueuedConnection);
  }

  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == pressAction()) return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(name);
  }

 private:
  bouton* Button() const { return static_cast<bouton*>(widget()); }
};

QAccessibleInterface* BoutonFactory(const QString& className, QObject* object) {
  if (className != QLatin1String(bouton::staticMetaObject.className())) return nullptr;
  auto* button = qobject_cast<bouton*>(object);
  return button != nullptr ? new BoutonAccessible(button) : nullptr;
}

}  // namespace

void InstallBoutonAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&BoutonFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace fotavel
