// The large-font adaptation on a faked screen, once per window, and the about window's version and
// licence.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <cmath>
#include <vector>

#include "dialogs/ModalDriver.h"
#include "shell/FormAide.h"
#include "shell/PoliceGdTaille.h"
#include "shell/ShellFixture.h"
#include "shell/demarrage.h"

namespace fotavel::testing {
namespace {

// Every adaptation reads `dpi` while this lives.
struct FakeScreen {
  explicit FakeScreen(double dpi) {
    SetScreenResolution([dpi](const QWidget&) { return Resolution{dpi, dpi}; });
  }
  ~FakeScreen() { SetScreenResolution({}); }
};

// A window holding one of each kind the examples speak of, placed in pixels.
struct Sample {
  QWidget window;
  QLabel* label = new QLabel(QStringLiteral("Titre"), &window);
  QLabel* image = new QLabel(&window);
  QLabel* stretched = new QLabel(&window);
  bouton* button = new bouton(&window);

  Sample() {
    label->setGeometry(50, 30, 100, 20);
    QFont font = label->font();
    font.setPointSize(10);
    label->setFont(font);
    QPixmap picture(16, 16);
    picture.fill(Qt::blue);
    image->setPixmap(picture);
    image->setGeometry(10, 60, 40, 30);
    stretched->setPixmap(picture);
    stretched->setScaledContents(true);
    stretched->setGeometry(10, 100, 40, 30);
    button->setObjectName(QStringLiteral("SauvPhoto"));
    button->InitProperties();
    button->SetCaption(QStringLiteral("Enregistrer"));
    button->setGeometry(100, 60, 71, 58);
  }

  // Every place, font size and caption, to see whether anything moved.
  QStringList State() const {
    QStringList state;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
      state << QString::asprintf("%s %d,%d %dx%d %g", qPrintable(w->objectName()), w->x(), w->y(),
                                 w->width(), w->height(), w->font().pointSizeF());
    }
    return state << button->Caption();
  }
};

// At 120 dpi a pixel is 1440 / 120 = 12 twips.
constexpr int kTwipsPerPixel = 12;

TEST(LargeFonts, At120DpiControlsShrinkByFourFifthsAndLongCaptionsAreCut) {
  Sample sample;
  PoliceGdTaille(sample.window, QStringLiteral("LesControles"), Resolution{120, 120});
  // A label 1200 twips wide at left 600, in a 10-point font.
  EXPECT_EQ(sample.label->width() * kTwipsPerPixel, 960);
  EXPECT_EQ(sample.label->x() * kTwipsPerPixel, 480);
  EXPECT_DOUBLE_EQ(sample.label->font().pointSizeF(), 8.0);
  // A picture that does not stretch only moves; one that stretches shrinks too.
  EXPECT_EQ(sample.image->geometry(), QRect(8, 48, 40, 30));
  EXPECT_EQ(sample.stretched->geometry(), QRect(8, 80, 32, 24));
  // The button's 855 twips are 71¼ pixels; it holds 71. 96 × 11 = 1056 twips do not fit in
  // its new width, so it keeps int(96 × 11 / 120) = 8 characters.
  EXPECT_EQ(sample.button->width() * kTwipsPerPixel, 684);
  EXPECT_EQ(sample.button->Caption(), QStringLiteral("Enregistrer").left(8) + QLatin1Char('.'));
}

TEST(LargeFonts, NothingChangesAt96DpiOrForAnotherKey) {
  Sample sample;
  const QStringList before = sample.State();
  PoliceGdTaille(sample.window, QStringLiteral("LesControles"), Resolution{96, 96});
  EXPECT_EQ(sample.State(), before);
  PoliceGdTaille(sample.window, QStringLiteral("AutreChose"), Resolution{120, 120});
  EXPECT_EQ(sample.State(), before);
  // What the windows read when nothing is faked: offscreen, Qt's 96.
  PoliceGdTaille(sample.window, QStringLiteral("LesControles"));
  EXPECT_EQ(sample.State(), before);
}

// The main window is made on a faked 120 dpi screen.
class LargeFontWindow : public ShellTest {
 protected:
  void SetUp() override {
    screen = std::make_unique<FakeScreen>(120);
    ShellTest::SetUp();
  }
  void TearDown() override {
    ShellTest::TearDown();
    screen.reset();
  }
  std::unique_ptr<FakeScreen> screen;
};

// Adapted once: a dialog closing over the main window activates it again, and nothing shrinks.
TEST_F(LargeFontWindow, MainAndAboutWindowsAdaptOnceAtTheirFirstActivation) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  {
    // The same window as designed, never activated; gone before the about window opens.
    const mfrmMain designed(ui, folder.path());
    EXPECT_LT(window->Button("SauvPhoto")->width(), designed.Button("SauvPhoto")->width());
  }
  const auto toolbar = [this] {
    QStringList places;
    for (const bouton* b : window->BarreOutils()->findChildren<bouton*>()) {
      places << QStringLiteral("%1 %2 %3").arg(b->x()).arg(b->width()).arg(b->Caption());
    }
    return places;
  };
  const QStringList adapted = toolbar();

  double designedPoints = 0;
  {
    const FormAide designedAbout(ui, folder.path());
    designedPoints = designedAbout.lblVersion()->font().pointSizeF();
  }
  WhenModal<FormAide>([&](FormAide* about) {
    // Shown comes before active, and the adaptation waits for the activation.
    EXPECT_TRUE(QTest::qWaitForWindowActive(about));
    // This may run among the events the adaptation lets run before it scales: look once the
    // event loop has the hand again.
    QTimer::singleShot(10, about, [&, about] {
      EXPECT_DOUBLE_EQ(about->lblVersion()->font().pointSizeF(), designedPoints * 96 / 120);
      QTest::mouseClick(about->fermeraide(), Qt::LeftButton);
    });
  });
  Trigger("mnuAide_0");
  // Offscreen, nothing hands the activation back by itself.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(toolbar(), adapted);
}

using AboutWindow = ShellTest;

TEST_F(AboutWindow, OpensFromTheMenuWithTheVersionAndCloses) {
  bool shown = false;
  WhenModal<FormAide>([&](FormAide* about) {
    shown = true;
    EXPECT_EQ(about->windowTitle(), QStringLiteral(" A propos de ..."));
    EXPECT_EQ(about->lblVersion()->text(),
              QStringLiteral("Fotavel " FOTAVEL_VERSION " (Freeware)"));
    QTest::mouseClick(about->fermeraide(), Qt::LeftButton);
  });
  Trigger("mnuAide_0");
  EXPECT_TRUE(shown);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AboutWindow, LinksGoToTheDesktopOrSayWhyNot) {
  FormAide about(ui, folder.path());
  std::vector<QUrl> opened;
  bool desktopAccepts = true;
  about.OpenUrl = [&](const QUrl& url) {
    opened.push_back(url);
    return desktopAccepts;
  };
  const QString licence = QDir(folder.path()).filePath(QStringLiteral("Licence-freeware.txt"));

  // No licence beside the program: the user is told, nothing is opened.
  ui.Answer(MessageAnswer::Ok);
  emit about.Licence()->linkActivated(QStringLiteral("#"));
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(ui.Messages()[0].text.contains(licence));
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(opened.empty());

  // With it, its file URL goes to the desktop, silently.
  Touch(licence);
  emit about.Licence()->linkActivated(QStringLiteral("#"));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(licence));
  EXPECT_EQ(MessageCount(), 1);

  // A desktop with nothing to open it is said too.
  desktopAccepts = false;
  ui.Answer(MessageAnswer::Ok);
  emit about.Licence()->linkActivated(QStringLiteral("#"));
  EXPECT_EQ(MessageCount(), 2);

  emit about.GoSite()->linkActivated(QStringLiteral("#"));
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[2], QUrl(demarrage::kSite));
  EXPECT_EQ(MessageCount(), 2);
}

TEST_F(AboutWindow, AnInstalledProgramFindsTheLicenceInTheDocumentationFolder) {
  const QString bin = folder.filePath(QStringLiteral("prefix/bin"));
  const QString doc = folder.filePath(QStringLiteral("prefix/share/doc/fotavel"));
  ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(doc));
  const QString beside = bin + QStringLiteral("/Licence-freeware.txt");
  // Neither: the message names the place beside the program.
  EXPECT_EQ(FormAide::LicencePath(bin), beside);
  const QString installed = doc + QStringLiteral("/Licence-freeware.txt");
  Touch(installed);
  EXPECT_EQ(FormAide::LicencePath(bin), installed);
  // A copy beside the program (the build tree, a portable copy) comes first.
  Touch(beside);
  EXPECT_EQ(FormAide::LicencePath(bin), beside);
}

}  // namespace
}  // namespace fotavel::testing
