// The windows around the photos: the splash and its timer, the about window's version and links,
// and the large-font adaptation on a faked screen, once per window.
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

// The timer's tick, a key or a click goes on, once; the splash then goes.
TEST(SplashWindow, TheTimerAKeyOrAClickGoesOnOnce) {
  QCoreApplication::setApplicationVersion(QStringLiteral("1.0.4"));
  const std::function<void(demarrage*)> ways[] = {
      [](demarrage* s) { ASSERT_TRUE(QMetaObject::invokeMethod(s->TimerDemarrage(), "timeout")); },
      [](demarrage* s) { QTest::keyClick(s, Qt::Key_Space); },
      [](demarrage* s) {
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(5, 5));
      }};
  for (const auto& way : ways) {
    int shown = 0;
    QPointer<demarrage> splash = new demarrage([&shown] { ++shown; });
    splash->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.data()));
    EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
              QStringLiteral("Version 1.0.4"));
    EXPECT_EQ(splash->TimerDemarrage()->interval(), 5000);
    EXPECT_EQ(shown, 0);
    way(splash.data());
    EXPECT_EQ(shown, 1);
    ASSERT_TRUE(QMetaObject::invokeMethod(splash->TimerDemarrage(), "timeout"));
    EXPECT_EQ(shown, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
    delete splash.data();
  }
}

using AboutWindow = ShellTest;

TEST_F(AboutWindow, OpensFromTheMenuWithTheVersionAndCloses) {
  bool shown = false;
  WhenModal<FormAide>([&](FormAide* about) {
    shown = true;
    EXPECT_EQ(about->lblVersion()->text(),
              QStringLiteral("Fotavel " FOTAVEL_VERSION " (Freeware)"));
    QTest::mouseClick(about->fermeraide(), Qt::LeftButton);
  });
  Trigger("mnuAide_0");
  EXPECT_TRUE(shown);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The licence is looked for beside the program first, then in the installed documentation.
TEST_F(AboutWindow, LinksGoToTheDesktopOrSayWhyNot) {
  const QString bin = folder.filePath(QStringLiteral("prefix/bin"));
  const QString doc = folder.filePath(QStringLiteral("prefix/share/doc/fotavel"));
  ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(doc));
  FormAide about(ui, bin);
  std::vector<QUrl> opened;
  about.OpenUrl = [&](const QUrl& url) {
    opened.push_back(url);
    return true;
  };
  const QString beside = bin + QStringLiteral("/Licence-freeware.txt");
  ui.Answer(MessageAnswer::Ok);
  emit about.Licence()->linkActivated(QStringLiteral("#"));
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(ui.Messages()[0].text.contains(beside));
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Exclamation);

  const QString installed = doc + QStringLiteral("/Licence-freeware.txt");
  Touch(installed);
  emit about.Licence()->linkActivated(QStringLiteral("#"));
  Touch(beside);
  emit about.Licence()->linkActivated(QStringLiteral("#"));
  emit about.GoSite()->linkActivated(QStringLiteral("#"));
  EXPECT_EQ(opened, (std::vector<QUrl>{QUrl::fromLocalFile(installed), QUrl::fromLocalFile(beside),
                                       QUrl(demarrage::kSite)}));
  EXPECT_EQ(MessageCount(), 1);
}

// Every adaptation reads `dpi` while this lives.
struct FakeScreen {
  explicit FakeScreen(double dpi) {
    SetScreenResolution([dpi](const QWidget&) { return Resolution{dpi, dpi}; });
  }
  ~FakeScreen() { SetScreenResolution({}); }
};

// At 120 dpi places, sizes and fonts take four fifths; a picture that does not stretch only moves;
// a caption too long for its button is cut. At 96 dpi, or for another key, nothing moves.
TEST(LargeFonts, At120DpiControlsShrinkByFourFifthsAndLongCaptionsAreCut) {
  QWidget window;
  auto* label = new QLabel(QStringLiteral("Titre"), &window);
  label->setGeometry(50, 30, 100, 20);
  QFont font = label->font();
  font.setPointSize(10);
  label->setFont(font);
  auto* image = new QLabel(&window);
  QPixmap picture(16, 16);
  picture.fill(Qt::blue);
  image->setPixmap(picture);
  image->setGeometry(10, 60, 40, 30);
  auto* button = new bouton(&window);
  button->setObjectName(QStringLiteral("SauvPhoto"));
  button->InitProperties();
  button->SetCaption(QStringLiteral("Enregistrer"));
  button->setGeometry(100, 60, 71, 58);

  PoliceGdTaille(window, QStringLiteral("LesControles"), Resolution{96, 96});
  PoliceGdTaille(window, QStringLiteral("AutreChose"), Resolution{120, 120});
  EXPECT_EQ(label->geometry(), QRect(50, 30, 100, 20));
  EXPECT_EQ(button->Caption(), QStringLiteral("Enregistrer"));

  PoliceGdTaille(window, QStringLiteral("LesControles"), Resolution{120, 120});
  EXPECT_EQ(label->geometry(), QRect(40, 24, 80, 16));
  EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 8.0);
  EXPECT_EQ(image->geometry(), QRect(8, 48, 40, 30));
  // 855 twips are 71¼ pixels at 96 dpi, so 57 at 120; 96 × 11 = 1056 twips of caption do not fit,
  // and it keeps int(96 × 11 / 120) = 8 characters.
  EXPECT_EQ(button->width(), 57);
  EXPECT_EQ(button->Caption(), QStringLiteral("Enregist."));
}

// Adapted once: activated again (a dialog closing over it), nothing shrinks further.
TEST(LargeFonts, TheMainWindowAdaptsAtItsFirstActivationOnly) {
  const FakeScreen screen(120);
  QTemporaryDir folder;
  ScriptedUiServices ui;
  const mfrmMain designed(ui, folder.path());
  mfrmMain window(ui, folder.path());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const int adapted = window.Button("SauvPhoto")->width();
  EXPECT_LT(adapted, designed.Button("SauvPhoto")->width());
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QCoreApplication::processEvents();
  EXPECT_EQ(window.Button("SauvPhoto")->width(), adapted);
}

}  // namespace
}  // namespace fotavel::testing
