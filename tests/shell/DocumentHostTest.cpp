// A document window alone, over a host of the test's own: what it reports, and what it asks of the
// window that holds it, with no main window anywhere.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "dialogs/ScriptedUiServices.h"
#include "document/AppServices.h"
#include "io/PictureFiles.h"
#include "shell/DocumentHost.h"
#include "shell/ShellFixture.h"
#include "shell/frmImage.h"

namespace fotavel::testing {
namespace {

struct Status {
  QString message, title, size;
  bool operator==(const Status&) const = default;
};

// Records everything a document window tells its host; the room it offers is set by the test.
class RecordingHost : public DocumentHost {
 public:
  explicit RecordingHost(const QString& folder) : services(folder) {}

  UiServices& Ui() override { return ui; }
  AppServices& Services() override { return services; }
  void SetStatus(const QString& m, const QString& t, const QString& s) override {
    status.push_back({m, t, s});
  }
  void ShowZoom(const QString& text) override { zoom = text; }
  // The bar's values are the engine's, pinned with the main window.
  void ProgressMax(std::int32_t) override {}
  void ProgressValue(std::int32_t) override {}
  void ShowProgress(bool visible) override { progressShown.push_back(visible); }
  void SetHourglass(bool b) override { busy = b; }
  void UndoState(bool u, bool r) override { undo = {u, r}; }
  view::Room RoomForPhoto() const override { return room; }
  bool sauvjpgFct(const QString& path, frmImage&) override {
    jpegs.push_back(path);
    return true;
  }
  bool EditorMode() const override { return editor; }
  bool RendrePhoto(frmImage&) override {
    ++handedBack;
    return true;
  }
  void DocumentClosing(frmImage&) override { ++closing; }

  ScriptedUiServices ui;
  AppServices services;
  view::Room room;
  bool editor = false;
  std::vector<Status> status;
  QString zoom;
  std::vector<bool> progressShown;
  bool busy = false;
  std::pair<bool, bool> undo{false, false};
  QStringList jpegs;
  int handedBack = 0;
  int closing = 0;
};

class DocumentAlone : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    // 8000 x 6000 twips less the margins: 480 x 300 pixels of room at 15 twips a pixel.
    host.room.mainWidth = 8000;
    host.room.mainHeight = 6000;
    path = folder.filePath(QStringLiteral("large.bmp"));
    io::WriteBmp(Pattern(960, 300), path);
  }
  void TearDown() override {
    EXPECT_TRUE(host.ui.Unexpected().isEmpty()) << host.ui.Unexpected().join(' ').toStdString();
    EXPECT_TRUE(host.ui.AllUsed());
  }

  QTemporaryDir folder;
  RecordingHost host{folder.path()};
  QString path;
};

// Twice as wide as the room, as high: it opens at 50 %, and a window of the size it asks for
// shows it whole. An effect shows and hides the progress bar and the hourglass, undo and redo their
// state.
TEST_F(DocumentAlone, OpensFittedToTheRoomItsHostOffersAndReportsEveryStep) {
  auto* document = new frmImage(host);
  ASSERT_TRUE(document->OpenFile(path));
  EXPECT_EQ(document->Zoom(), 50);
  EXPECT_EQ(host.zoom, QStringLiteral("Zoom: 50 %"));
  EXPECT_EQ(host.status.front(),
            (Status{QStringLiteral("Ouverture de ") + path + QStringLiteral("..."),
                    QStringLiteral("#"), QStringLiteral("#")}));
  EXPECT_EQ(host.status.back(), (Status{QStringLiteral("Ouvert ") + path,
                                        QStringLiteral("large.bmp"), QStringLiteral("960 x 300")}));
  document->resize(document->SizeShowingPhoto());
  document->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(document));
  EXPECT_EQ(document->Image1()->size(), QSize(480, 150));
  EXPECT_TRUE(document->hscScroll()->isHidden() && document->vscScroll()->isHidden());

  document->Document().Lighten();
  EXPECT_EQ(host.progressShown, (std::vector<bool>{true, false}));
  EXPECT_FALSE(host.busy);
  EXPECT_EQ(host.undo, std::pair(true, false));
  document->Document().Annuler();
  EXPECT_EQ(host.undo, std::pair(false, true));
  document->Document().Retablir();
  EXPECT_EQ(host.undo, std::pair(true, false));

  // A window smaller than the photo needs brings the zoom down until it shows the photo whole.
  document->FitZoomWithin(QSize(260, 200));
  EXPECT_EQ(document->Zoom(), 25) << "(260 - 20) / 960 is 25 %";
  EXPECT_EQ(host.zoom, QStringLiteral("Zoom: 25 %"));
  document->resize(260, 200);
  QCoreApplication::processEvents();
  EXPECT_TRUE(document->hscScroll()->isHidden() && document->vscScroll()->isHidden());
  document->Document().Propre();
  document->close();
  EXPECT_EQ(host.closing, 1);
}

// A panorama hundreds of times wider than the room would fit it at 0 %, and not show at all.
TEST_F(DocumentAlone, APhotoFarWiderThanTheRoomStillShows) {
  const QString panorama = folder.filePath(QStringLiteral("panorama.bmp"));
  io::WriteBmp(Pattern(200000, 2), panorama);
  frmImage document(host);
  ASSERT_TRUE(document.OpenFile(panorama));
  EXPECT_EQ(document.Zoom(), 1) << "480 / 200000 is 0.24 %";
  EXPECT_EQ(document.Image1()->width(), 2000);
}

// The close question: a JPEG name goes to the host's quality dialog; in the poster editor's
// hand-off Yes hands the photo back instead of saving it.
TEST_F(DocumentAlone, TheCloseQuestionSavesThroughItsHostOrHandsThePhotoBack) {
  auto* document = new frmImage(host);
  ASSERT_TRUE(document->OpenFile(path));
  document->show();
  document->Document().Piv_Drt();
  const QString jpeg = folder.filePath(QStringLiteral("tournee.JPG"));
  host.ui.Answer(MessageAnswer::Cancel).Answer(MessageAnswer::Yes).ChooseName(jpeg);
  EXPECT_FALSE(document->close());
  EXPECT_EQ(host.closing, 0);
  EXPECT_TRUE(document->close());
  EXPECT_EQ(host.jpegs, QStringList{jpeg});
  EXPECT_EQ(host.closing, 1);
  EXPECT_EQ(host.ui.Messages()[0].text,
            QStringLiteral("La photo 'large.bmp' a changé.\r\n\r\nVoulez vous la sauvegarder ?"));

  host.editor = true;
  auto* handed = new frmImage(host);
  ASSERT_TRUE(handed->OpenFile(path));
  handed->show();
  handed->Document().Piv_Gche();
  host.ui.Answer(MessageAnswer::Yes);
  EXPECT_TRUE(handed->close());
  EXPECT_EQ(host.handedBack, 1);
  EXPECT_EQ(host.ui.Messages()[2].text,
            QStringLiteral(
                "La photo 'large.bmp' a changé.\r\n\r\nVoulez vous l'importer dans l'éditeur ?"));
  EXPECT_EQ(host.ui.FileDialogs().size(), 1u);
}

}  // namespace
}  // namespace fotavel::testing
