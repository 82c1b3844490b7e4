// The image button driven with real mouse and key input: events, help text, enabled state.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "controls/ControlsSupport.h"
#include "controls/bouton.h"

namespace fotavel::testing {
namespace {

constexpr std::uint32_t kEnfonce = 0x00FF00;
const QString kHelp = QStringLiteral("Fermer l'application");

// The main window's arrangement: the button sits on a toolbar, the status
// label on another part of the same window.
class BoutonEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(300, 160);
    toolbar = new QWidget(&window);
    toolbar->setGeometry(0, 0, 300, 100);
    QWidget* statusArea = new QWidget(&window);
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
  void Press(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(window.windowHandle(), b, {}, at);
  }
  void Release(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(window.windowHandle(), b, {}, at);
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
  EXPECT_FLOAT_EQ(log->lastX, 75);  // twips
  EXPECT_FLOAT_EQ(log->lastY, 90);
  Move(On(7, 6));
  EXPECT_EQ(log->Take(), QStringList{"MouseEnter 0"}) << "every movement over the button";

  Move(QPoint(250, 80));
  EXPECT_EQ(status->text(), QString());
  Move(QPoint(260, 85));
  Move(QPoint(5, 5));
  EXPECT_EQ(log->Take(), QStringList{"MouseLeave"});
}

TEST_F(BoutonEvents, ClicksRaiseTheirEventsOnce) {
  Move(On(10, 10));
  log->Take();
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  EXPECT_EQ(log->Take(), (QStringList{"MouseDown 1", "MouseUp 1", "Click"}));

  QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, On(10, 10));
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
  Move(On(14, 12));
  EXPECT_EQ(log->Take(),
            (QStringList{"MouseEnter 0", "MouseDown 1", "Mousemove 1", "Mousemove 1"}));
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
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  Move(QPoint(250, 80));
  EXPECT_EQ(log->Take(), QStringList());
  EXPECT_EQ(status->text(), QStringLiteral("before"));
  EXPECT_EQ(Shot(*button), disabled);

  button->SetEnabled(true);
  Move(On(10, 10));
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  EXPECT_EQ(log->Take(), (QStringList{"MouseEnter 0", "MouseDown 1", "MouseUp 1", "Click"}));
}

// A command that disables its own button (undo with nothing left) leaves the
// help text: a disabled button never hears the mouse leave.
TEST_F(BoutonEvents, DisabledFromItsOwnClickKeepsTheHelpText) {
  QObject::connect(button, &bouton::Click, button, [this] { button->SetEnabled(false); });
  Move(On(10, 10));
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, On(10, 10));
  Move(QPoint(250, 80));
  EXPECT_EQ(log->Take(), (QStringList{"MouseEnter 0", "MouseDown 1", "MouseUp 1", "Click"}));
  EXPECT_EQ(status->text(), QStringLiteral(" ") + kHelp);
}

TEST_F(BoutonEvents, HelpTextGoesToTheLabelHandedInOrNowhere) {
  QLabel own(&window);
  button->SetStatusLabel(&own);
  Move(On(10, 10));
  EXPECT_EQ(own.text(), QStringLiteral(" ") + kHelp);
  EXPECT_EQ(status->text(), QStringLiteral("before"));
  Move(QPoint(250, 80));
  EXPECT_EQ(own.text(), QString());

  QWidget lonely;
  lonely.resize(100, 80);
  auto* alone = new bouton(&lonely);
  alone->setGeometry(10, 10, 40, 40);
  alone->SetLegende(kHelp);
  ButtonLog aloneLog(*alone);
  lonely.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&lonely));
  EXPECT_EQ(alone->StatusLabel(), nullptr);
  QTest::mouseMove(lonely.windowHandle(), QPoint(20, 20));
  QTest::mouseMove(lonely.windowHandle(), QPoint(90, 70));
  EXPECT_EQ(aloneLog.Take(), (QStringList{"MouseEnter 0", "MouseLeave"}));
}

TEST_F(BoutonEvents, KeysArePassedOnWithTheirCodes) {
  button->setFocus();
  QTest::keyClick(button, Qt::Key_A);
  QTest::keyClick(button, 'A', Qt::ShiftModifier);
  QTest::keyClick(button, Qt::Key_Return);
  QTest::keyClick(button, Qt::Key_F2, Qt::ControlModifier);
  // The modifier keys come down and up around the key itself.
  EXPECT_EQ(log->Take(),
            (QStringList{"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0",  //
                         "KeyDown 16 1", "KeyDown 65 1", "KeyPress 65", "KeyUp 65 1",
                         "KeyUp 16 0",                                 //
                         "KeyDown 13 0", "KeyPress 13", "KeyUp 13 0",  //
                         "KeyDown 17 2", "KeyDown 113 2", "KeyUp 113 2", "KeyUp 17 0"}));
}

TEST_F(BoutonEvents, SavedPropertiesOmitDefaultsAndWritesAreReported) {
  bouton fresh;
  fresh.setObjectName(QStringLiteral("Nette"));
  fresh.InitProperties();
  EXPECT_EQ(fresh.Caption(), QStringLiteral("Nette")) << "no caption stored: the control's name";
  EXPECT_EQ(fresh.PositionFond(), 3);
  EXPECT_EQ(fresh.CouleurBtNormal(), 0x000000u);
  EXPECT_EQ(fresh.CouleurBtEnfonce(), 0xFF0000u);
  EXPECT_EQ(fresh.CouleurBtSurvol(), 0xC0C0C0u);
  EXPECT_TRUE(fresh.Enabled());
  EXPECT_TRUE(fresh.WriteProperties().isEmpty());

  const QVariantMap saved{{QStringLiteral("Caption"), QStringLiteral("Annuler")},
                          {QStringLiteral("CouleurBtEnfoncé"), 0x123456u},
                          {QStringLiteral("PositionFond"), 1},
                          {QStringLiteral("BackImageEnfoncée"), Solid(4, 4, 0xFF)},
                          {QStringLiteral("Enabled"), false},
                          {QStringLiteral("Légende"), QStringLiteral("Annuler une action")}};
  QSignalSpy changes(&fresh, &bouton::PropertyChanged);
  fresh.ReadProperties(saved);
  EXPECT_EQ(changes.count(), 0) << "reading is not writing";
  EXPECT_FALSE(fresh.Enabled());
  EXPECT_EQ(fresh.CouleurBtEnfonce(), 0x123456u);
  const QVariantMap written = fresh.WriteProperties();
  EXPECT_EQ(written.keys(), saved.keys());
  EXPECT_EQ(written.value(QStringLiteral("Légende")), saved.value(QStringLiteral("Légende")));

  fresh.SetLegende(QStringLiteral("x"));
  fresh.SetCouleurBtEnfonce(0x123456);
  fresh.SetCaption(QStringLiteral("Annuler"));
  EXPECT_EQ(changes.count(), 3) << "every write counts, even of the same value";
  EXPECT_EQ(changes.at(0).at(0).toString(), QStringLiteral("Légende"));
  EXPECT_EQ(changes.at(1).at(0).toString(), QStringLiteral("CouleurBtEnfoncé"));
}

}  // namespace
}  // namespace fotavel::testing
