// The image button driven with real mouse and key input and by assistive tools.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <ostream>
#include <tuple>
#include <utility>

#include "controls/bouton.h"

inline void PrintTo(const QStringList& texts, std::ostream* os) {
  *os << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace fotavel::testing {
namespace {

constexpr std::uint32_t kEnfonce = 0x00FF00;  // 0x00BBGGRR: green
const QString kHelp = QStringLiteral("Fermer l'application");

QImage Shot(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class BoutonEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(300, 160);
    status = new QLabel(QStringLiteral("before"), &window);
    status->setGeometry(0, 120, 300, 40);
    button = new bouton(&window);
    button->setGeometry(20, 20, 48, 40);
    button->ReadProperties({{QStringLiteral("Caption"), QStringLiteral("Quitter")},
                            {QStringLiteral("CouleurBtEnfoncé"), kEnfonce},
                            {QStringLiteral("Légende"), kHelp}});
    button->SetStatusLabel(status);
    // Every mouse signal in the order raised, with its button code.
    const auto mouse = [this](const char* name) {
      return [this, name](qint16 code) { events << QStringLiteral("%1 %2").arg(name).arg(code); };
    };
    QObject::connect(button, &bouton::MouseLeave, [this] { events << "MouseLeave"; });
    QObject::connect(button, &bouton::MouseEnter, mouse("MouseEnter"));
    QObject::connect(button, &bouton::Mousemove, mouse("Mousemove"));
    QObject::connect(button, &bouton::MouseDown, mouse("MouseDown"));
    QObject::connect(button, &bouton::MouseUp, mouse("MouseUp"));
    QObject::connect(button, &bouton::Click, [this] { events << "Click"; });
    QObject::connect(button, &bouton::DblClick, [this] { events << "DblClick"; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Move(QPoint(250, 90));  // a known place away from the button
    Take();
  }

  QStringList Take() { return std::exchange(events, {}); }
  QPoint On(int x, int y) const { return button->mapTo(&window, QPoint(x, y)); }
  void Move(QPoint at) { QTest::mouseMove(window.windowHandle(), at); }
  void ClickAt(QPoint at) { QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at); }
  // The pressed look is a frame of the pressed colour round the button.
  bool ShowsPressedFrame() { return Shot(*button).pixel(0, 0) == qRgb(0, 0xFF, 0); }

  QStringList events;  // outlives the button, which may signal as it goes
  QWidget window;
  QLabel* status = nullptr;
  bouton* button = nullptr;
};

// Every movement over the button says so and shows the help text; a click and a double click
// raise their events once; dragged off, the button lets the mouse go, so the release elsewhere is
// not its click, and it leaves once.
TEST_F(BoutonEvents, HoverClicksAndADragOffRaiseTheirEventsOnce) {
  Move(On(5, 6));
  EXPECT_EQ(status->text(), QStringLiteral(" ") + kHelp);
  Move(On(10, 10));
  ClickAt(On(10, 10));
  EXPECT_EQ(Take(),
            (QStringList{"MouseEnter 0", "MouseEnter 0", "MouseDown 1", "MouseUp 1", "Click"}));
  // The second press of a double click comes as the double click itself.
  QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  EXPECT_EQ(Take(), (QStringList{"MouseDown 1", "MouseUp 1", "Click", "DblClick", "MouseUp 1"}));

  QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  EXPECT_TRUE(ShowsPressedFrame());
  Move(On(12, 11));
  EXPECT_TRUE(ShowsPressedFrame());
  Move(QPoint(250, 80));
  EXPECT_FALSE(ShowsPressedFrame());
  EXPECT_EQ(status->text(), QString());
  Move(QPoint(255, 80));
  QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(255, 80));
  EXPECT_EQ(Take(), (QStringList{"MouseDown 1", "Mousemove 1", "MouseLeave"}));
}

TEST_F(BoutonEvents, DisabledButtonIgnoresTheMouseAndKeepsItsLook) {
  button->SetEnabled(false);
  const QImage disabled = Shot(*button);
  Move(On(10, 10));
  ClickAt(On(10, 10));
  Move(QPoint(250, 80));
  EXPECT_EQ(Take(), QStringList());
  EXPECT_EQ(status->text(), QStringLiteral("before"));
  EXPECT_EQ(Shot(*button), disabled);

  // A command that disables its own button (undo with nothing left) leaves the help text: a
  // disabled button never hears the mouse leave.
  button->SetEnabled(true);
  QObject::connect(button, &bouton::Click, button, [this] { button->SetEnabled(false); });
  Move(On(10, 10));
  ClickAt(On(10, 10));
  Move(QPoint(250, 80));
  EXPECT_EQ(Take(), (QStringList{"MouseEnter 0", "MouseDown 1", "MouseUp 1", "Click"}));
  EXPECT_EQ(status->text(), QStringLiteral(" ") + kHelp);
}

// Space and Enter work the focused button as a push button's: pressed while down, Click on release.
TEST_F(BoutonEvents, SpaceAndEnterClickTheFocusedButton) {
  const auto clicks = [&] { return Take().filter(QStringLiteral("Click")).size(); };
  button->setFocus();
  QTest::keyPress(button, Qt::Key_Space);
  EXPECT_TRUE(ShowsPressedFrame());
  EXPECT_EQ(clicks(), 0) << "no click while held";
  QTest::keyRelease(button, Qt::Key_Space);
  EXPECT_FALSE(ShowsPressedFrame());
  EXPECT_EQ(clicks(), 1);
  QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(clicks(), 1);
  QTest::keyClick(button, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(clicks(), 0) << "Ctrl+Space is no click";
}

// A screen reader sees a push button named by its caption, described by its help text, and
// pressing it raises Click as the mouse does, once the reader's request has been answered.
TEST_F(BoutonEvents, AssistiveToolsSeeANamedButtonAndPressIt) {
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(button);
  ASSERT_NE(access, nullptr);
  EXPECT_EQ(std::tuple(access->role(), access->text(QAccessible::Name),
                       access->text(QAccessible::Description)),
            std::tuple(QAccessible::Button, QStringLiteral("Quitter"), kHelp));
  QAccessibleActionInterface* actions = access->actionInterface();
  ASSERT_NE(actions, nullptr);
  const QString press = QAccessibleActionInterface::pressAction();
  actions->doAction(press);
  EXPECT_EQ(Take(), QStringList());
  QCoreApplication::processEvents();
  EXPECT_EQ(Take(), QStringList{"Click"});

  button->SetEnabled(false);
  EXPECT_TRUE(access->state().disabled);
  actions->doAction(press);
  QCoreApplication::processEvents();
  EXPECT_EQ(Take(), QStringList()) << "no more than the mouse can";
}

}  // namespace
}  // namespace fotavel::testing
