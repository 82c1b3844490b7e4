// The image button driven with real mouse and key input.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <memory>
#include <tuple>

#include "controls/ControlsSupport.h"
#include "controls/bouton.h"

namespace fotavel::testing {
namespace {

constexpr std::uint32_t kEnfonce = 0x00FF00;
const QString kHelp = QStringLiteral("Fermer l'application");

class BoutonEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(300, 160);
    toolbar = new QWidget(&window);
    toolbar->setGeometry(0, 0, 300, 100);
    auto* statusArea = new QWidget(&window);  // the label sits apart from the toolbar
    statusArea->setGeometry(0, 120, 300, 40);
    status = new QLabel(statusArea);
    status->setObjectName(QStringLiteral("lblStatus"));
    status->setText(QStringLiteral("before"));
    button = new bouton(toolbar);
    button->setObjectName(QStringLiteral("QuitterComm"));
    button->setGeometry(20, 20, 48, 40);
    button->ReadProperties({{QStringLiteral("Caption"), QStringLiteral("Quitter")},
                            {QStringLiteral("CouleurBtEnfoncé"), kEnfonce},
                            {QStringLiteral("Légende"), kHelp}});
    log = std::make_unique<ButtonLog>(*button);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Move(QPoint(250, 90));  // a known place away from the button
    log->Take();
  }

  QPoint On(int x, int y) const { return button->mapTo(&window, QPoint(x, y)); }
  void Move(QPoint at) { QTest::mouseMove(window.windowHandle(), at); }
  void Press(QPoint at) { QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, at); }
  void Release(QPoint at) { QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, at); }
  void ClickAt(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseClick(window.windowHandle(), b, {}, at);
  }
  bool ShowsPressedFrame() { return At(Shot(*button), 0, 0) == Rgb(kEnfonce); }

  QWidget window;
  QWidget* toolbar = nullptr;
  QLabel* status = nullptr;
  bouton* button = nullptr;
  std::unique_ptr<ButtonLog> log;
};

TEST_F(BoutonEvents, HoverShowsTheHelpTextAndLeavingClearsItOnce) {
  Move(On(5, 6));
  EXPECT_EQ(status->text(), QStringLiteral(" ") + kHelp);
  EXPECT_EQ(log->Take(), QStringList{"MouseEnter 0"});
  EXPECT_EQ(std::pair(log->lastX, log->lastY), std::pair(75.0f, 90.0f));  // twips
  Move(On(7, 6));
  Move(QPoint(250, 80));
  EXPECT_EQ(status->text(), QString());
  Move(QPoint(5, 5));
  EXPECT_EQ(log->Take(), (QStringList{"MouseEnter 0", "MouseLeave"}))
      << "every movement over the button, one leave";

  // A label handed in takes the text instead.
  QLabel own(&window);
  button->SetStatusLabel(&own);
  Move(On(10, 10));
  EXPECT_EQ(own.text(), QStringLiteral(" ") + kHelp);
  EXPECT_EQ(status->text(), QString());
  Move(QPoint(250, 80));
  EXPECT_EQ(own.text(), QString());
}

TEST_F(BoutonEvents, ClicksRaiseTheirEventsOnce) {
  Move(On(10, 10));
  log->Take();
  ClickAt(On(10, 10));
  EXPECT_EQ(log->Take(), (QStringList{"MouseDown 1", "MouseUp 1", "Click"}));

  ClickAt(On(10, 10), Qt::RightButton);
  EXPECT_EQ(log->Take(), (QStringList{"MouseDown 2", "MouseUp 2"}));

  // The second press of a double click comes as the double click itself.
  QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  EXPECT_EQ(log->Take(),
            (QStringList{"MouseDown 1", "MouseUp 1", "Click", "DblClick", "MouseUp 1"}));
}

TEST_F(BoutonEvents, MovingWithAButtonHeldKeepsThePressedLookUntilItLeaves) {
  Move(On(10, 10));
  Press(On(10, 10));
  EXPECT_TRUE(ShowsPressedFrame());
  Move(On(12, 11));
  EXPECT_EQ(log->Take(), (QStringList{"MouseEnter 0", "MouseDown 1", "Mousemove 1"}));
  EXPECT_TRUE(ShowsPressedFrame());
  EXPECT_EQ(status->text(), QStringLiteral(" ") + kHelp);

  // Dragged off: the button lets the mouse go, so the release elsewhere is not its click.
  Move(QPoint(250, 80));
  EXPECT_FALSE(ShowsPressedFrame());
  EXPECT_EQ(status->text(), QString());
  Move(QPoint(255, 80));
  Release(QPoint(255, 80));
  EXPECT_EQ(log->Take(), QStringList{"MouseLeave"});
}

TEST_F(BoutonEvents, DisabledButtonIgnoresTheMouseAndKeepsItsLook) {
  QPalette palette = button->palette();
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
  button->setPalette(palette);
  button->SetEnabled(false);
  const QImage disabled = Shot(*button);
  ASSERT_FALSE(InkBox(disabled, qRgb(1, 2, 3)).isEmpty());

  Move(On(10, 10));
  ClickAt(On(10, 10));
  QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  Move(QPoint(250, 80));
  EXPECT_EQ(log->Take(), QStringList());
  EXPECT_EQ(status->text(), QStringLiteral("before"));
  EXPECT_EQ(Shot(*button), disabled);

  button->SetEnabled(true);
  Move(On(10, 10));
  ClickAt(On(10, 10));
  EXPECT_EQ(log->Take(), (QStringList{"MouseEnter 0", "MouseDown 1", "MouseUp 1", "Click"}));
}

// A command that disables its own button (undo with nothing left) leaves the
// help text: a disabled button never hears the mouse leave.
TEST_F(BoutonEvents, DisabledFromItsOwnClickKeepsTheHelpText) {
  QObject::connect(button, &bouton::Click, button, [this] { button->SetEnabled(false); });
  Move(On(10, 10));
  ClickAt(On(10, 10));
  Move(QPoint(250, 80));
  EXPECT_EQ(log->Take(), (QStringList{"MouseEnter 0", "MouseDown 1", "MouseUp 1", "Click"}));
  EXPECT_EQ(status->text(), QStringLiteral(" ") + kHelp);
}

// Space and Enter work the focused button as a push button's: pressed while down, Click on release.
TEST_F(BoutonEvents, SpaceAndEnterClickTheFocusedButton) {
  button->setFocus();
  QTest::keyPress(button, Qt::Key_Space);
  EXPECT_TRUE(ShowsPressedFrame());
  EXPECT_TRUE(log->Take().filter(QStringLiteral("Click")).isEmpty()) << "no click while held";
  QTest::keyRelease(button, Qt::Key_Space);
  EXPECT_FALSE(ShowsPressedFrame());
  EXPECT_EQ(log->Take().filter(QStringLiteral("Click")), QStringList{"Click"});

  QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(log->Take().filter(QStringLiteral("Click")), QStringList{"Click"});
  QTest::keyClick(button, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_TRUE(log->Take().filter(QStringLiteral("Click")).isEmpty()) << "Ctrl+Space is no click";

  // The focus leaving while the key is held takes the click away.
  QTest::keyPress(button, Qt::Key_Space);
  toolbar->setFocusPolicy(Qt::StrongFocus);
  toolbar->setFocus();
  EXPECT_FALSE(ShowsPressedFrame());
  QTest::keyRelease(button, Qt::Key_Space);
  EXPECT_TRUE(log->Take().filter(QStringLiteral("Click")).isEmpty());
}

// A screen reader sees a push button named by its caption, described by its help text, and
// pressing it raises Click as the mouse does, once the reader's request has been answered.
TEST_F(BoutonEvents, AssistiveToolsSeeANamedButtonAndPressIt) {
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(button);
  ASSERT_NE(access, nullptr);
  EXPECT_EQ(std::tuple(access->role(), access->text(QAccessible::Name),
                       access->text(QAccessible::Description), bool(access->state().focusable),
                       bool(access->state().disabled)),
            std::tuple(QAccessible::Button, QStringLiteral("Quitter"), kHelp, true, false));
  QAccessibleActionInterface* actions = access->actionInterface();
  ASSERT_NE(actions, nullptr);
  const QString press = QAccessibleActionInterface::pressAction();
  ASSERT_TRUE(actions->actionNames().contains(press));
  actions->doAction(press);
  EXPECT_EQ(log->Take(), QStringList());
  QCoreApplication::processEvents();
  EXPECT_EQ(log->Take(), QStringList{"Click"});

  button->SetCaption(QStringLiteral("Fermer"));
  EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("Fermer"));

  button->SetEnabled(false);
  EXPECT_TRUE(access->state().disabled);
  EXPECT_FALSE(actions->actionNames().contains(press));
  actions->doAction(press);
  QCoreApplication::processEvents();
  EXPECT_EQ(log->Take(), QStringList()) << "no more than the mouse can";
}

TEST(BoutonProperties, ANewButtonIsCaptionedWithItsName) {
  bouton fresh;
  fresh.setObjectName(QStringLiteral("Nette"));
  fresh.InitProperties();
  EXPECT_EQ(fresh.Caption(), QStringLiteral("Nette"));
  EXPECT_TRUE(fresh.WriteProperties().isEmpty());
}

}  // namespace
}  // namespace fotavel::testing
