// The windows around the photos: the splash and its timer, the about window's version and links,
// and the large-font adaptation on a faked screen, once.
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "dialogs/ModalDriver.h"
#include "shell/FormAide.h"
#include "shell/PoliceGdTaille.h"
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

using AboutWindow = ShellTest;

// The licence is looked for beside the program first, then in the installed documentation; when
// neither is there the message names the place beside the program.
TEST_F(AboutWindow, OpensFromTheMenuWithTheVersionAndItsLinksGoToTheDesktopOrSayWhyNot) {
  std::vector<QUrl> opened;
  WhenModal<FormAide>([&](FormAide* about) {
    EXPECT_EQ(about->lblVersion()->text(),
              QStringLiteral("Fotavel " FOTAVEL_VERSION " (Freeware)"));
    about->OpenUrl = [&](const QUrl& url) {
      opened.push_back(url);
      return true;
    };
    ui.Answer(MessageAnswer::Ok);
    emit about->Licence()->linkActivated(QStringLiteral("#"));
    emit about->GoSite()->linkActivated(QStringLiteral("#"));
    QTest::mouseClick(about->fermeraide(), Qt::LeftButton);
  });
  Trigger("mnuAide_0");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(ui.Messages()[0].text.contains(QCoreApplication::applicationDirPath()));
  EXPECT_EQ(opened, std::vector<QUrl>{QUrl(demarrage::kSite)});

  const QString bin = folder.filePath(QStringLiteral("prefix/bin"));
  const QString doc = folder.filePath(QStringLiteral("prefix/share/doc/fotavel"));
  ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(doc));
  Touch(doc + QStringLiteral("/Licence-freeware.txt"));
  EXPECT_EQ(FormAide::LicencePath(bin), doc + QStringLiteral("/Licence-freeware.txt"));
  Touch(bin + QStringLiteral("/Licence-freeware.txt"));
  EXPECT_EQ(FormAide::LicencePath(bin), bin + QStringLiteral("/Licence-freeware.txt"));
}

// On a faked 120 dpi screen the main window's controls take four fifths of their designed size
// at its first activation, and no more when it is activated again (a dialog closing over it).
TEST(LargeFonts, TheMainWindowAdaptsAtItsFirstActivationOnly) {
  SetScreenResolution([](const QWidget&) { return Resolution{120, 120}; });
  QTemporaryDir folder;
  ScriptedUiServices ui;
  const mfrmMain designed(ui, folder.path());
  mfrmMain window(ui, folder.path());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const auto width = [](const mfrmMain& w) { return w.Button("SauvPhoto")->width(); };
  const int adapted = width(window);
  EXPECT_NEAR(adapted, width(designed) * 96 / 120.0, 1);
  EXPECT_NE(window.Button("SauvPhoto")->Caption(), designed.Button("SauvPhoto")->Caption());
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QCoreApplication::processEvents();
  EXPECT_EQ(width(window), adapted);
  SetScreenResolution({});
}

}  // namespace
}  // namespace fotavel::testing
