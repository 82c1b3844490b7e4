// fotavel-bench-window: the real main window on a 6000 x 4000 JPEG, each toolbar command, each
// step of a crop drag, of an adjustment slider and each red eye clicked timed until the photo is
// repainted. Run by hand under a real display server:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/fotavel-bench-window [ROUNDS [PAUSE_MS]]
// PAUSE_MS: how long the window is left alone before each click, as a person
// looks at the photo between two commands (0: clicks back to back).
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpontaneKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "PhotoLike.h"
#include "controls/ProgressBar.h"
#include "controls/bouton.h"
#include "dialogs/QtUiServices.h"
#include "dialogs/frmReglages.h"
#include "io/PictureFiles.h"
#include "shell/AdjustPreview.h"
#include "shell/CropTool.h"
#include "shell/RedEyeTool.h"
#include "shell/StraightenTool.h"
#include "shell/WindowCommands.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel::bench {
namespace {

// Counts the paints a widget receives; `armed` keeps out those of the old
// picture drawn while a command is still running.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;
  bool armed = false;
  bool paintedSinceArmed = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      if (armed) paintedSinceArmed = true;
    }
    return false;
  }
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

struct Row {
  explicit Row(QString name) : what(std::move(name)) {}
  QString what;
  std::vector<double> wall;
  std::vector<double> reported;  // the "Réalisé en" figure, when there is one
  std::vector<double> photoPaints;
  std::vector<double> barPaints;
};

class Bench {
 public:
  Bench(mfrmMain& window, frmImage& document, int pauseMs)
      : m_pauseMs(pauseMs),
        m_window(window),
        m_document(document),
        m_photo(document.Image1()),
        m_bar(window.prgMain()->hwnd()) {}

  // Runs `action`, then lets the window work until the photo has been painted
  // after it, and records the milliseconds from the start of `action`.
  void Time(Row& row, const std::function<void()>& action) {
    if (m_pauseMs > 0) QTest::qWait(m_pauseMs);
    QCoreApplication::processEvents();
    m_photo.paints = m_bar.paints = 0;
    m_photo.armed = false;
    m_photo.paintedSinceArmed = false;
    m_window.lblStatus()->clear();
    QElapsedTimer clock;
    clock.start();
    action();
    m_photo.armed = true;
    while (!m_photo.paintedSinceArmed && clock.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    row.wall.push_back(clock.nsecsElapsed() / 1e6);
    row.photoPaints.push_back(m_photo.paints);
    row.barPaints.push_back(m_bar.paints);
    const QString status = m_window.lblStatus()->text().trimmed();
    const QString prefix = QStringLiteral("Réalisé en ");
    if (status.startsWith(prefix)) {
      row.reported.push_back(status.mid(prefix.size()).section(QLatin1Char(' '), 0, 0).toDouble());
    }
  }

  void Click(Row& row, const char* button) {
    bouton* b = m_window.Button(button);
    Time(row, [b] { QTest::mouseClick(b, Qt::LeftButton); });
  }

  frmImage& Document() { return m_document; }

 private:
  int m_pauseMs;
  mfrmMain& m_window;
  frmImage& m_document;
  PaintCounter m_photo;
  PaintCounter m_bar;
};

void Print(const std::vector<Row>& rows) {
  std::printf("%-22s %10s %10s %10s %12s %10s\n", "", "median ms", "max ms", "Réalisé",
              "photo paints", "bar paints");
  for (const Row& r : rows) {
    const double max = r.wall.empty() ? 0 : *std::max_element(r.wall.begin(), r.wall.end());
    std::printf("%-22s %10.1f %10.1f %10s %12.0f %10.0f\n", r.what.toUtf8().constData(),
                Median(r.wall), max,
                r.reported.empty() ? "" : QByteArray::number(Median(r.reported)).constData(),
                Median(r.photoPaints), Median(r.barPaints));
  }
}

}  // namespace
}  // namespace fotavel::bench

int main(int argc, char* argv[]) {
  using namespace fotavel;
  using namespace fotavel::bench;
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  const int pauseMs = argc > 2 ? std::max(0, atoi(argv[2])) : 0;

  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("photo.jpg"));
  // A red pupil of radius 40, a flash's, at the middle of the photo for the red-eye mode.
  constexpr int kEyeX = 3000, kEyeY = 2000, kPupil = 40;
  try {
    cDIBSection photo = PhotoLike();
    for (int y = kEyeY - kPupil; y <= kEyeY + kPupil; ++y) {
      std::uint8_t* row = photo.row(photo.height() - 1 - y);
      for (int x = kEyeX - kPupil; x <= kEyeX + kPupil; ++x) {
        if ((x - kEyeX) * (x - kEyeX) + (y - kEyeY) * (y - kEyeY) > kPupil * kPupil) continue;
        row[3 * x] = 40, row[3 * x + 1] = 45, row[3 * x + 2] = 210;
      }
    }
    io::WriteJpeg(photo, path, 85);
  } catch (const io::FileError& failure) {
    std::fprintf(stderr, "photo not written: %s\n", qPrintable(failure.text()));
    return 1;
  }

  QtUiServices ui;
  mfrmMain window(ui, folder.path());
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  QTest::qWait(200);

  std::vector<Row> rows;
  Row open(QStringLiteral("open to first paint"));
  frmImage* document = nullptr;
  {
    // The photo's window is new: count its first paint once it exists.
    QElapsedTimer clock;
    clock.start();
    document = window.OpenPhoto(path);
    PaintCounter first(document->Image1());
    first.armed = true;
    while (!first.paintedSinceArmed && clock.elapsed() < 20000) QCoreApplication::processEvents();
    open.wall.push_back(clock.nsecsElapsed() / 1e6);
  }
  rows.push_back(open);
  Bench bench(window, *document, pauseMs);

  struct Command {
    const char* button;
    const char* caption;
  };
  const Command commands[] = {{"LumiereMoins", "Sombre"},
                              {"LumierePlus", "Clair"},
                              {"SaturationPlus", "Colorer"},
                              {"SaturationMoins", "Ternir"},
                              {"Nette", "Nette"},
                              {"Floue", "Floue"},
                              {"PivotGche", "Gauche"},
                              {"PivotDrt", "Droite"},
                              {"cielCmd", "Ciel"},
                              // Last: it leaves the photo at 100 %, and the undo after it too.
                              {"TaillWeb", "Format Web"}};
  Row undo(QStringLiteral("Annuler"));
  for (const Command& c : commands) {
    Row row(QString::fromUtf8(c.caption));
    for (int i = 0; i < rounds; ++i) {
      bench.Click(row, c.button);
      bench.Click(undo, "BtAnnuler");
    }
    rows.push_back(row);
  }
  rows.push_back(undo);

  // The view buttons and the zoom ticks, from the photo fitted to the window
  // (the web format left it at 100 %) up past half size, where the display
  // starts to need its full-size level, and back.
  frmImage& doc = bench.Document();
  Row fit(QStringLiteral("fit to the window"));
  bench.Time(fit, [&] { doc.fenetre_Click(); });
  rows.push_back(fit);
  Row zoomIn(QStringLiteral("zoom step in"));
  Row zoomOut(QStringLiteral("zoom step out"));
  for (int i = 0; i < 8; ++i) bench.Time(zoomIn, [&] { doc.TimerZoomPlus_Timer(); });
  for (int i = 0; i < 8; ++i) bench.Time(zoomOut, [&] { doc.TimerZoomMoins_Timer(); });
  rows.push_back(zoomIn);
  rows.push_back(zoomOut);
  Row actualSize(QStringLiteral("1:1"));
  bench.Time(actualSize, [&] { doc.TailleNormaleFct(); });
  rows.push_back(actualSize);

  // Ctrl and the wheel at the middle of the viewport, in and out, the bars
  // following; delivered as the platform delivers a wheel.
  Row wheel(QStringLiteral("Ctrl + wheel notch"));
  for (int i = 0; i < 8; ++i) {
    bench.Time(wheel, [&doc, i] {
      QWidget* image = doc.Image1();
      const QPoint at = image->mapFrom(doc.picScrollBox(), doc.picScrollBox()->rect().center());
      QWheelEvent event(at, image->mapToGlobal(at), QPoint(), QPoint(0, i < 4 ? 120 : -120),
                        Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
      QSpontaneKeyEvent::setSpontaneous(&event);
      qApp->notify(image, &event);
    });
  }
  rows.push_back(wheel);

  Row scroll(QStringLiteral("scroll step at 100 %"));
  for (int i = 0; i < 10; ++i) {
    QScrollBar* bar = i % 2 == 0 ? doc.hscScroll() : doc.vscScroll();
    bench.Time(scroll, [bar] { bar->setValue(bar->value() + bar->singleStep()); });
  }
  rows.push_back(scroll);

  // Straightening: each slider step repaints the turned preview from the
  // display copy (the overlay hides Image1, so its own paints are waited
  // for); then OK turns the whole photo once, and the undo after it.
  doc.Redresser_Click();
  QCoreApplication::processEvents();
  StraightenTool& tool = *doc.Straighten();
  auto* slider = tool.Strip()->findChild<QSlider*>(QStringLiteral("StraightenSlider"));
  PaintCounter preview(tool.Overlay());
  Row step(QStringLiteral("straighten slider step"));
  for (int i = 0; i < 30; ++i) {
    if (pauseMs > 0) QTest::qWait(pauseMs);
    QCoreApplication::processEvents();
    preview.paintedSinceArmed = false;
    preview.armed = true;
    QElapsedTimer clock;
    clock.start();
    slider->setValue(slider->value() + (i < 20 ? 1 : -1));
    while (!preview.paintedSinceArmed && clock.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    step.wall.push_back(clock.nsecsElapsed() / 1e6);
  }
  rows.push_back(step);
  // At 1.0 degree, cropped: the usual case of a slightly tilted horizon.
  slider->setValue(StraightenTool::kStepsPerDegree);
  Row apply(QStringLiteral("Redresser (OK)"));
  Row undoStraighten(QStringLiteral("Annuler Redresser"));
  auto* ok = tool.Strip()->findChild<QPushButton*>(QStringLiteral("StraightenApply"));
  for (int i = 0; i < rounds; ++i) {
    if (i > 0) {
      doc.Redresser_Click();
      slider->setValue(StraightenTool::kStepsPerDegree);
    }
    bench.Time(apply, [ok] { QTest::mouseClick(ok, Qt::LeftButton); });
    bench.Click(undoStraighten, "BtAnnuler");
  }
  rows.push_back(apply);
  rows.push_back(undoStraighten);

  // The adjustment window over the photo fitted, then at 1:1: each slider
  // step until the adjusted preview is painted, and the original shown on a
  // press of "Voir l'original" until Image1 is painted under it.
  for (const bool actual : {false, true}) {
    if (actual) {
      doc.TailleNormaleFct();
    } else {
      doc.fenetre_Click();
    }
    QCoreApplication::processEvents();
    const QString at = actual ? QStringLiteral(" 1:1") : QStringLiteral(" fitted");
    Row adjustStep(QStringLiteral("adjust step") + at);
    Row originalPress(QStringLiteral("original on press") + at);
    Row previewBack(QStringLiteral("preview on release") + at);
    QSize level;
    std::function<void()> drive = [&] {
      auto* dialog = qobject_cast<frmReglages*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) {
        QTimer::singleShot(10, drive);
        return;
      }
      auto* preview = doc.Image1()->findChild<AdjustPreview*>();
      PaintCounter previewPaints(preview);
      PaintCounter photoPaints(doc.Image1());
      const auto until = [](PaintCounter& counter, const std::function<void()>& act) {
        QCoreApplication::processEvents();
        counter.paintedSinceArmed = false;
        counter.armed = true;
        QElapsedTimer clock;
        clock.start();
        act();
        while (!counter.paintedSinceArmed && clock.elapsed() < 20000) {
          QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        counter.armed = false;
        return clock.nsecsElapsed() / 1e6;
      };
      QSlider* slider = dialog->Curseur(frmReglages::kLuminosite);
      for (int i = 0; i < 30; ++i) {
        if (pauseMs > 0) QTest::qWait(pauseMs);
        adjustStep.wall.push_back(
            until(previewPaints, [&] { slider->setValue(slider->value() + (i < 20 ? 2 : -2)); }));
      }
      for (int i = 0; i < 10; ++i) {
        originalPress.wall.push_back(
            until(photoPaints, [&] { QTest::mousePress(dialog->cmdOriginal(), Qt::LeftButton); }));
        previewBack.wall.push_back(until(
            previewPaints, [&] { QTest::mouseRelease(dialog->cmdOriginal(), Qt::LeftButton); }));
      }
      level = preview->Picture().size();
      dialog->reject();
    };
    QTimer::singleShot(0, drive);
    window.Action(commands::kReglages)->trigger();
    rows.push_back(adjustStep);
    rows.push_back(originalPress);
    rows.push_back(previewBack);
    std::printf("adjustment%s: the level on screen is %d x %d\n", qPrintable(at), level.width(),
                level.height());
  }

  // The crop mode on the photo fitted to the window: each step of a drag, a
  // new rectangle growing then the rectangle moved, until the photo under it
  // has been painted again; and, for comparison, a repaint of the whole view
  // with the dimming, which a step must not cost.
  doc.fenetre_Click();
  doc.Recadrer_Click();
  QWidget* overlay = doc.Crop()->Overlay();
  const QPoint origin(overlay->width() / 5, overlay->height() / 5);
  Row cropDraw(QStringLiteral("crop: drag a new rect"));
  QTest::mousePress(overlay, Qt::LeftButton, {}, origin);
  for (int i = 1; i <= 20; ++i) {
    bench.Time(cropDraw, [&, i] { QTest::mouseMove(overlay, origin + QPoint(i * 25, i * 16)); });
  }
  QTest::mouseRelease(overlay, Qt::LeftButton, {}, origin + QPoint(500, 320));
  rows.push_back(cropDraw);
  Row cropMove(QStringLiteral("crop: move the rect"));
  const QPoint inside = origin + QPoint(250, 160);
  QTest::mousePress(overlay, Qt::LeftButton, {}, inside);
  for (int i = 1; i <= 20; ++i) {
    bench.Time(cropMove, [&, i] { QTest::mouseMove(overlay, inside + QPoint(i * 6, i * 4)); });
  }
  QTest::mouseRelease(overlay, Qt::LeftButton, {}, inside + QPoint(120, 80));
  rows.push_back(cropMove);
  Row cropWhole(QStringLiteral("crop: whole view"));
  for (int i = 0; i < 10; ++i) bench.Time(cropWhole, [overlay] { overlay->update(); });
  rows.push_back(cropWhole);
  doc.Crop()->Leave();

  // The red-eye mode on the photo fitted to the window: a click on the pupil,
  // its correction (one undo copy of the photo) and the repaint; a click where
  // there is no red, which only searches and paints nothing, timed alone; the
  // undo of an eye.
  doc.YeuxRouges_Click();
  QWidget* eyes = doc.RedEyes()->Overlay();
  const auto onScreen = [&doc](int x, int y) {
    return QPoint(int(x * doc.Zoom() / 100), int(y * doc.Zoom() / 100));
  };
  Row redEye(QStringLiteral("red eye: click"));
  Row undoEye(QStringLiteral("Annuler Yeux rouges"));
  Row miss(QStringLiteral("red eye: click, none"));
  for (int i = 0; i < rounds; ++i) {
    bench.Time(redEye,
               [&] { QTest::mouseClick(eyes, Qt::LeftButton, {}, onScreen(kEyeX, kEyeY)); });
    bench.Click(undoEye, "BtAnnuler");
    const int undoSteps = doc.Document().UndoCount();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(eyes, Qt::LeftButton, {}, onScreen(kEyeX, kEyeY - 8 * kPupil));
    miss.wall.push_back(clock.nsecsElapsed() / 1e6);
    if (doc.Document().UndoCount() != undoSteps) {
      std::fprintf(stderr, "red found beside the eye\n");
      doc.Document().Annuler();
    }
  }
  rows.push_back(redEye);
  rows.push_back(undoEye);
  rows.push_back(miss);
  const int eyeRadius = int(std::ceil(RedEyeTool::kClickRadius * 100 / doc.Zoom()));
  doc.RedEyes()->Leave();

  Print(rows);
  std::printf("red-eye clicks search %d photo pixels around them\n", eyeRadius);
  std::printf("crop steps on the photo fitted at %.0f %%, %d x %d on screen\n", doc.Zoom(),
              overlay->width(), overlay->height());
  document->Document().Propre();
  window.close();
  return 0;
}
