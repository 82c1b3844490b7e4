// The splash window: its timer, a key or a click goes on to the main window.
#include <QPointer>
#include <QTimer>

#include "shell/ShellFixture.h"
#include "shell/demarrage.h"

namespace fotavel::testing {
namespace {

// The timer's tick, a key or a click goes on, once however often it comes; the splash then goes.
TEST(SplashWindow, TheTimerAKeyOrAClickGoesOnOnce) {
  const std::function<void(demarrage*)> ways[] = {
      [](demarrage* s) { QMetaObject::invokeMethod(s->TimerDemarrage(), "timeout"); },
      [](demarrage* s) { QTest::keyClick(s, Qt::Key_Space); },
      [](demarrage* s) { QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(5, 5)); }};
  for (const auto& way : ways) {
    int shown = 0;
    QPointer<demarrage> splash = new demarrage([&shown] { ++shown; });
    splash->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.data()));
    way(splash.data());
    way(splash.data());
    EXPECT_EQ(shown, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
  }
}

}  // namespace
}  // namespace fotavel::testing
