// The splash window: its texts, its 5-second timer, and a key or a click that goes on at once.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "shell/demarrage.h"

namespace fotavel {
namespace {

struct Splash {
  int shown = 0;
  QPointer<demarrage> window = new demarrage([this] { ++shown; });
  Splash() {
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.data()));
  }
  ~Splash() { delete window.data(); }
};

TEST(SplashWindow, ShowsTheTitleVersionAndWaitsFiveSeconds) {
  QCoreApplication::setApplicationVersion(QStringLiteral("1.0.4"));
  Splash splash;
  EXPECT_TRUE(splash.window->windowTitle().startsWith(QStringLiteral("Fotavel de ")));
  EXPECT_EQ(splash.window->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
            QStringLiteral("Version 1.0.4"));
  EXPECT_EQ(splash.window->TimerDemarrage()->interval(), 5000);
  EXPECT_EQ(splash.shown, 0);
  // The timer's tick goes on, once.
  ASSERT_TRUE(QMetaObject::invokeMethod(splash.window->TimerDemarrage(), "timeout"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(splash.shown, 1);
  EXPECT_TRUE(splash.window.isNull());
}

// A key or a click goes on at once; the timer, a second click, go on no more.
TEST(SplashWindow, AKeyOrAClickGoesOnAtOnceAndOnlyOnce) {
  for (const bool key : {true, false}) {
    Splash splash;
    QTimer* timer = splash.window->TimerDemarrage();
    if (key) {
      QTest::keyClick(splash.window.data(), Qt::Key_Space);
    } else {
      QTest::mouseClick(splash.window.data(), Qt::LeftButton, {}, QPoint(5, 5));
      QTest::mouseClick(splash.window.data(), Qt::LeftButton, {}, QPoint(5, 5));
    }
    EXPECT_EQ(splash.shown, 1);
    EXPECT_FALSE(timer->isActive());
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    EXPECT_EQ(splash.shown, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.window.isNull());
  }
}

}  // namespace
}  // namespace fotavel
